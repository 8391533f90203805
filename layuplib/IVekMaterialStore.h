#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H

#include "layuplib/IVekMaterial.h"

// IVekMaterialStore: what outside clients see of a material store. The
// material stores derive from it first, so a store pointer is also the
// interface pointer. The store belongs to the model: clients never delete it.
class IVekMaterialStore {
  public:
    // A new material with every default, owned by the store. `id` >= 1: that
    // id, null when a material already holds it; `id` < 1: the largest id in
    // the store + 1 (1 for an empty store). Null when memory runs out.
    virtual IVekMaterial* New(int id) = 0;

    // Deletes `material`, unless plies or laminates of the model still use
    // it. -1 for a null material; otherwise the result of
    // CKpMatStore::Delete: 0 deleted, 1 not a material of this store, 2 no
    // model, 3 no ply store, 4 used by plies, 5 no laminate store, 6 used by
    // laminates (4 and 6 log why).
    virtual int Delete(IVekMaterial* material) = 0;

    // Number of materials.
    virtual int Count() = 0;

    // The first material in ascending id order whose name equals `name`
    // exactly (case-sensitive); null when none does or `name` is null.
    virtual IVekMaterial* Get(const char* name) = 0;

    // The index-th material in ascending id order; null outside
    // 0 .. Count() - 1.
    virtual IVekMaterial* Get(int index) = 0;

  protected:
    ~IVekMaterialStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTORE_H
