#ifndef PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H

// IVekSetStore: what outside clients see of the model's sets. The set store derives from it first,
// so a store pointer is also the interface pointer.
class IVekSetStore {
  public:
    virtual ~IVekSetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H
