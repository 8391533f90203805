#ifndef PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H

#include "layuplib/IVekEvent.h"

// IVekEventStore: what outside clients see of the events recorded on a ply,
// in ascending event id (the order in which they were added). The store
// belongs to the ply: clients never delete it.
class IVekEventStore {
  public:
    // The number of events.
    virtual int Count() = 0;

    // The event at `index` (0-based) in ascending id order; null when the
    // index is negative or not below Count(). Owned by the store.
    virtual IVekEvent* Get(int index) = 0;

  protected:
    ~IVekEventStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKEVENTSTORE_H
