#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H

// IVekMaterialStore: what outside clients see of a material store. The material stores derive from
// it first, so a store pointer is also the interface pointer.
class IVekMaterialStore {
  public:
    virtual ~IVekMaterialStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H
