#ifndef PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H

// IVekLayupPly: what outside clients see of one placement of a ply in the layup. CKpLypPly derives
// from it first.
class IVekLayupPly {
  public:
    virtual ~IVekLayupPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAYUPPLY_H
