#ifndef PLYSTRAND_LAYUPLIB_CKPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPPLY_H

#include "layuplib/CKpEventStore.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekPly.h"

class CKpMat;
class CKpPat;
class CKpPlyStore;

// CKpPly: one piece of fabric of one material laid over a region of the
// shell mesh: its identity (id, name, type), its material, its pattern (the
// drape definition and the result of its last simulation, owned by the
// pattern store), the events recorded on it, and one ply element per element
// it covers. The ply store owns the ply; through the store the ply reaches
// the model.
class CKpPly : public IVekPly, public CVekObject {
  public:
    // A ply with the given id: no store, empty name, type 0, no material or
    // pattern (ids 0), no instances, no ply elements, no events.
    explicit CKpPly(int id);
    // Deletes the ply elements and the events; the material and the pattern
    // belong to their stores.
    ~CKpPly() override;

    CKpPly(const CKpPly&) = delete;
    CKpPly& operator=(const CKpPly&) = delete;

    // The owning store (set when the store inserts the ply).
    CKpPlyStore* GetPlyStore() const { return m_store; }
    void SetPlyStore(CKpPlyStore* store) { m_store = store; }

    // The name ("" when unset); setname stores it as given (no check of
    // uniqueness, the pattern's name is not touched).
    const char* name() const { return m_name; }
    void setname(const char* name) { m_name = name ? name : ""; }

    // Ply type (EVekMaterialType): 1 painted, 2 projected, 3 draped
    // ("Scissor"), 4 draped with warp and weft held at 90 degrees ("Slide").
    int lyrtp() const { return m_type; }
    void setLyrtp(int type) { m_type = type; }

    // Material and pattern: the linked objects (not owned, null when not
    // linked) and their ids (read from the linked object, else the stored
    // id). setMat and setPat link the object and copy its id (a null object
    // unlinks and keeps the stored id).
    CKpMat* pMat() const { return m_mat; }
    CKpPat* pPat() const { return m_pat; }
    void setMat(CKpMat* mat);
    void setPat(CKpPat* pat);
    int mtrlid() const;
    int pttrnid() const;
    void setMtrlid(int id) { m_mtrlid = id; }
    void setPttrnid(int id) { m_pttrnid = id; }

    // The pattern's start-direction flag (+1 or -1; 0 without pattern).
    int stdn() const;
    // The material's nominal thickness (0.0 without material).
    double lyrthck() const;

    // Number of layup plies made from this ply.
    int instances() const { return m_instances; }
    void setInstances(int n) { m_instances = n; }

    // One ply element per pattern element, in the pattern's element order;
    // owned by the ply.
    CVekList<CKpPlyElem>& PlyElems() { return m_plyElems; }
    const CVekList<CKpPlyElem>& PlyElems() const { return m_plyElems; }

    // The events recorded on the ply.
    CKpEventStore& Events() { return m_events; }

  private:
    CKpPlyStore* m_store;  // owner; the way to the model
    CKpStr m_name;
    int m_type;
    int m_mtrlid;
    CKpMat* m_mat;  // not owned
    int m_pttrnid;
    CKpPat* m_pat;  // owned by the pattern store
    int m_instances;
    CVekList<CKpPlyElem> m_plyElems;  // owned items
    CKpEventStore m_events;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLY_H
