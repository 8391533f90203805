#ifndef PLYSTRAND_LAYUPLIB_CKPEVENTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPEVENTSTORE_H

#include "layuplib/CKpEvent.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekEventStore.h"

// CKpEventStore: the events recorded on one ply, by id. It derives from its
// interface first, so the store pointer is the interface pointer. It owns
// its events.
class CKpEventStore : public IVekEventStore, public CVekObjectStore<CKpEvent> {
  public:
    // An empty store of capacity 64.
    CKpEventStore();
    // Deletes every event.
    ~CKpEventStore() override;

    CKpEventStore(const CKpEventStore&) = delete;
    CKpEventStore& operator=(const CKpEventStore&) = delete;

    // ---- IVekEventStore
    // The number of events.
    int Count() override;
    // The event at `index` in ascending id order; null outside
    // 0..Count()-1.
    IVekEvent* Get(int index) override;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPEVENTSTORE_H
