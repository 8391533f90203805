#ifndef PLYSTRAND_LAYUPLIB_IVEKLAM_H
#define PLYSTRAND_LAYUPLIB_IVEKLAM_H

// IVekLam: what outside clients see of one laminate. CKpLam derives from it first.
class IVekLam {
  public:
    virtual ~IVekLam() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAM_H
