#ifndef PLYSTRAND_LAYUPLIB_IVEKSET_H
#define PLYSTRAND_LAYUPLIB_IVEKSET_H

// IVekSet: what outside clients see of one named set of ids. CKpSet derives from it first.
class IVekSet {
  public:
    virtual ~IVekSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSET_H
