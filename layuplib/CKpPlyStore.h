#ifndef PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H

#include "layuplib/CKpPly.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekPlyStore.h"

class CKpLayup;

// CKpPlyStore: the model's plies by id. It derives from its interface first,
// so the store pointer is the interface pointer. It owns its plies and keeps
// a pointer back to the model, through which a ply reaches the message log,
// the mesh, the pattern store and the drape workspace.
class CKpPlyStore : public IVekPlyStore, public CVekObjectStore<CKpPly> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpPlyStore(CKpLayup* layup);
    // Deletes every ply.
    ~CKpPlyStore() override;

    CKpPlyStore(const CKpPlyStore&) = delete;
    CKpPlyStore& operator=(const CKpPlyStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `ply` and inserts it; the store then
    // deletes it. Null is ignored.
    void insert(CKpPly* ply);

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H
