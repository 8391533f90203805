#ifndef PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESSTORE_H

#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekResultStore.h"

class CKpLayup;
class CKpRes;

// CKpResStore: the element results of the model by id (each one named
// quantity for one load case, subcase and layer), handed out to clients as
// IVekResultStore (the store pointer is the interface pointer). Owns its
// results; holds the model, which the failure run and the sorting need,
// without owning it.
class CKpResStore : public IVekResultStore, public CVekObjectStore<CKpRes> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpResStore(CKpLayup* layup = nullptr);

    // Deletes every result.
    ~CKpResStore() override;

    CKpResStore(const CKpResStore&) = delete;
    CKpResStore& operator=(const CKpResStore&) = delete;

    // The model; null until set.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

  private:
    CKpLayup* m_layup;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
