#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H

// IVekLamStore: what outside clients see of the model's laminates. The laminate store derives from
// it first, so a store pointer is also the interface pointer.
class IVekLamStore {
  public:
    virtual ~IVekLamStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H
