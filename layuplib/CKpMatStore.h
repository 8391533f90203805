#ifndef PLYSTRAND_LAYUPLIB_CKPMATSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPMATSTORE_H

#include "layuplib/CKpMat.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekMaterialStore.h"

class CKpLayup;

// CKpMatStore: materials by id. The model holds two: the layup's materials
// and the laminate materials (equivalent materials made from laminates). It
// derives from its interface first, so the store pointer is the interface
// pointer. It owns its materials and keeps a pointer back to the model,
// through which it reaches the message log and the ply and laminate stores.
class CKpMatStore : public IVekMaterialStore, public CVekObjectStore<CKpMat> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpMatStore(CKpLayup* layup);
    // Deletes every material.
    ~CKpMatStore() override;

    CKpMatStore(const CKpMatStore&) = delete;
    CKpMatStore& operator=(const CKpMatStore&) = delete;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `mat` and inserts it; the store then
    // deletes it. Null is ignored.
    void insert(CKpMat* mat);

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATSTORE_H
