#ifndef PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H

// IVekLayupPlyStore: what outside clients see of the layup plies of the layup. The layup ply store
// derives from it first, so a store pointer is also the interface pointer.
class IVekLayupPlyStore {
  public:
    virtual ~IVekLayupPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H
