#ifndef PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H

// IVekFieldStore: what outside clients see of the model's fields. The field store derives from it
// first, so a store pointer is also the interface pointer.
class IVekFieldStore {
  public:
    virtual ~IVekFieldStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H
