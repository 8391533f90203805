#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H

#include "layuplib/IVekSubLayupPly.h"

// IVekSubLayupPlyStore: what outside clients see of the plies of one
// sub-layup. The store derives from it first, so a store pointer is also the
// interface pointer. The sub-layup owns the store and its plies: clients
// never delete either. The operations keep this slot order.
class IVekSubLayupPlyStore {
  public:
    // The number of plies.
    virtual int Count() = 0;
    // The ply at `index` (0-based) in ascending id order, the bottom ply
    // first; null outside 0..Count()-1.
    virtual IVekSubLayupPly* Get(int index) = 0;

  protected:
    ~IVekSubLayupPlyStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLYSTORE_H
