#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H

// IVekPropertySetStore: what outside clients see of the model's property sets. The property-set
// store derives from it first, so a store pointer is also the interface pointer.
class IVekPropertySetStore {
  public:
    virtual ~IVekPropertySetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H
