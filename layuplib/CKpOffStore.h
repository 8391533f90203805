#ifndef PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H

#include "layuplib/CKpOff.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekOffsetStore.h"

class CKpLayup;

// CKpOffStore: the model's offset definitions by id. It derives from its
// interface first, so the store pointer is the interface pointer. It owns
// its definitions and keeps a pointer back to the model, through which a
// definition reaches the elements and the faceted surface.
class CKpOffStore : public IVekOffsetStore, public CVekObjectStore<CKpOff> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpOffStore(CKpLayup* layup);
    // Deletes every definition.
    ~CKpOffStore() override;

    CKpOffStore(const CKpOffStore&) = delete;
    CKpOffStore& operator=(const CKpOffStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `off` and inserts it; the store then
    // deletes it. Null is ignored.
    void insert(CKpOff* off);

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOFFSTORE_H
