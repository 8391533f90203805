#ifndef PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H

// IVekOrientationStore: what outside clients see of the model's orientation
// definitions. The orientation store derives from it first, so a store
// pointer is also the interface pointer.
class IVekOrientationStore {
  public:
    virtual ~IVekOrientationStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKORIENTATIONSTORE_H
