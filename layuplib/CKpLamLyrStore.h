#ifndef PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H

#include "layuplib/CKpLamLyr.h"
#include "layuplib/CVekList.h"
#include "layuplib/IVekLamLayerStore.h"

class CKpLam;
class CKpLayup;

// CKpLamLyrStore: the layers of one laminate, bottom first (count, first,
// last), with a pointer back to the laminate. The list owns its layers and
// deletes them when it is destroyed.
class CKpLamLyrStore : public IVekLamLayerStore, public CVekList<CKpLamLyr> {
  public:
    // An empty list belonging to `lam` (may be null).
    explicit CKpLamLyrStore(CKpLam* lam);
    // Deletes every layer.
    ~CKpLamLyrStore() override;

    CKpLamLyrStore(const CKpLamLyrStore&) = delete;
    CKpLamLyrStore& operator=(const CKpLamLyrStore&) = delete;

    // ---- IVekLamLayerStore (see there) ----
    CKpLamLyr* New() override;
    int Count() override { return entries(); }
    CKpLamLyr* Get(int index) override { return GetIndex(index); }

    // The laminate, and the model reached through it (null when missing).
    CKpLam* GetLam() const { return m_lam; }
    void SetLam(CKpLam* lam) { m_lam = lam; }
    CKpLayup* GetLayup() const;

    // Link a layer (not null, in no list) at the top, at the bottom, or just
    // below `before` (see CVekList::Insert), and make this list its owner.
    void InsertLast(CKpLamLyr* lyr);
    void InsertFirst(CKpLamLyr* lyr);
    void Insert(CKpLamLyr* before, CKpLamLyr* lyr);

    // The number of layers whose material id is `mid`.
    int GetReferencesOfMaterial(int mid) const;

  private:
    CKpLam* m_lam;  // the laminate owning this list
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H
