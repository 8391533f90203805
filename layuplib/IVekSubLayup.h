#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H

// IVekSubLayup: what outside clients see of one sub-layup. CKpSubLyp derives from it first.
class IVekSubLayup {
  public:
    virtual ~IVekSubLayup() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H
