#ifndef PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H

#include "layuplib/IVekPropertySet.h"

// IVekPropertySetStore: what outside clients see of the model's property
// sets. The property-set store derives from it first, so a store pointer is
// also the interface pointer. The store belongs to the model: clients never
// delete it.
class IVekPropertySetStore {
  public:
    // The number of property sets.
    virtual int Count() = 0;

    // The i-th property set in ascending id order; null when i is negative
    // or not below Count(). Owned by the store.
    virtual IVekPropertySet* Get(int i) = 0;

  protected:
    ~IVekPropertySetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPROPERTYSETSTORE_H
