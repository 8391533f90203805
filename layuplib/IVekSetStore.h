#ifndef PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H

#include "layuplib/IVekSet.h"

// IVekSetStore: what outside clients see of the model's sets. The set store
// derives from it first, so a store pointer is also the interface pointer.
// The store belongs to the model: clients never delete it.
class IVekSetStore {
  public:
    // The number of sets.
    virtual int Count() = 0;

    // The i-th set in ascending id order; null when i is negative or not
    // below Count(). Owned by the store.
    virtual IVekSet* Get(int i) = 0;

  protected:
    ~IVekSetStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSETSTORE_H
