#ifndef PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H

// IVekPlyStore: what outside clients see of the model's plies. The ply store derives from it first,
// so a store pointer is also the interface pointer.
class IVekPlyStore {
  public:
    virtual ~IVekPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLYSTORE_H
