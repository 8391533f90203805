#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H

// IVekSubLayupPly: what outside clients see of one ply of a sub-layup. CKpSubLypPly derives from it
// first.
class IVekSubLayupPly {
  public:
    virtual ~IVekSubLayupPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H
