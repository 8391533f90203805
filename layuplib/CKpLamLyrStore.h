#ifndef PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H

#include "layuplib/CKpLamLyr.h"
#include "layuplib/CVekList.h"
#include "layuplib/IVekLamLayerStore.h"

class CKpLam;

// CKpLamLyrStore: the layers of one laminate, bottom first (count, first,
// last), with a pointer back to the laminate. The list owns its layers and
// deletes them when it is destroyed.
class CKpLamLyrStore : public IVekLamLayerStore, public CVekList<CKpLamLyr> {
  public:
    // An empty list belonging to `lam` (may be null).
    explicit CKpLamLyrStore(CKpLam* lam);
    // Deletes every layer.
    ~CKpLamLyrStore() override;

    // The laminate.
    CKpLam* GetLam() const { return m_lam; }
    void SetLam(CKpLam* lam) { m_lam = lam; }

    // Link a layer (not null, in no list) at the top, at the bottom, or just
    // below `before` (see CVekList::Insert), and make this list its owner.
    void InsertLast(CKpLamLyr* lyr);
    void InsertFirst(CKpLamLyr* lyr);
    void Insert(CKpLamLyr* before, CKpLamLyr* lyr);

  private:
    CKpLam* m_lam;  // the laminate owning this list
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLAMLYRSTORE_H
