#ifndef PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H

#include "layuplib/IVekLayupPly.h"

// IVekLayupPlyStore: what outside clients see of the layup plies of the
// layup. The layup ply store derives from it first, so a store pointer is
// also the interface pointer. The store belongs to the layup: clients never
// delete it.
class IVekLayupPlyStore {
  public:
    // The number of layup plies.
    virtual int Count() = 0;
    // The layup ply at `index` (0-based) in ascending id (placement) order;
    // null outside 0 .. Count() - 1.
    virtual IVekLayupPly* Get(int index) = 0;

  protected:
    ~IVekLayupPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAYUPPLYSTORE_H
