#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H

// IVekPropertySet: what outside clients see of one generated property set. CKpProp derives from it
// first.
class IVekPropertySet {
  public:
    virtual ~IVekPropertySet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPERTYSET_H
