#ifndef PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H

#include "layuplib/CKpLam.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekLamStore.h"

class CKpLayup;

// CKpLamStore: the model's laminates by id. It derives from its interface
// first, so the store pointer is the interface pointer. It owns its
// laminates and keeps a pointer back to the model, through which laminates
// reach the elements and materials.
class CKpLamStore : public IVekLamStore, public CVekObjectStore<CKpLam> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpLamStore(CKpLayup* layup);
    // Deletes every laminate.
    ~CKpLamStore() override;

    CKpLamStore(const CKpLamStore&) = delete;
    CKpLamStore& operator=(const CKpLamStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `lam` and inserts it; the store then
    // deletes it. Null is ignored.
    void insert(CKpLam* lam);

    // Deletes every laminate after resetting the property id of every
    // element of the model to 0 (no element refers to a deleted laminate).
    // 1 without model, 2 when the element store cannot be created, 3 when
    // resetting the elements fails (nothing is deleted then), else 0.
    int Clear();

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H
