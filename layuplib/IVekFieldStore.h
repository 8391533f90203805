#ifndef PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H

#include "layuplib/IVekField.h"

// IVekFieldStore: what outside clients see of the model's fields. The field
// store derives from it first, so a store pointer is also the interface
// pointer. The store belongs to the model and owns its fields: clients never
// delete either. The operations keep this slot order.
class IVekFieldStore {
  public:
    // The number of fields.
    virtual int Count() = 0;
    // The field at `index` (0-based) in ascending id order; null outside
    // 0..Count()-1.
    virtual IVekField* Get(int index) = 0;

  protected:
    ~IVekFieldStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKFIELDSTORE_H
