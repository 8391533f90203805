#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H

#include "layuplib/IVekSubLayup.h"

// IVekSubLayupStore: what outside clients see of the model's sub-layups. The
// sub-layup store derives from it first, so a store pointer is also the
// interface pointer. The model owns the store and the store its sub-layups:
// clients never delete either. The operations keep this slot order.
class IVekSubLayupStore {
  public:
    // The number of sub-layups.
    virtual int Count() = 0;
    // The sub-layup at `index` (0-based) in ascending id order; null outside
    // 0..Count()-1.
    virtual IVekSubLayup* Get(int index) = 0;

  protected:
    ~IVekSubLayupStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPSTORE_H
