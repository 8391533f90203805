#ifndef PLYSTRAND_LAYUPLIB_CKPDBF_H
#define PLYSTRAND_LAYUPLIB_CKPDBF_H

#include "layuplib/CKpStr.h"

class CKpAnsys;
class CKpCoordStore;
class CKpElemStore;
class CKpFacetStore;
class CKpLamStore;
class CKpLayup;
class CKpMatStore;
class CKpMsg;
class CKpNodeStore;
class CKpOrientStore;
class CKpResStore;

// CKpDBF: abstract base of the parser objects that read an exchange file
// into the model and write the model out (STL, ANSYS CDB and binary
// results, ESAComp results). It carries the file name, the file type, two
// flag words and pointers to the model's message log and stores, so that a
// parser works on the model without knowing the model class.
//
// None of the pointers is owned. A new object has an empty name, type 0,
// both flag words 0 and every pointer null.
class CKpDBF {
  public:
    // File form: 1 text, 2 binary.
    enum EDbfType { eText = 1, eBinary = 2 };

    CKpDBF();
    // Releases the name only.
    virtual ~CKpDBF();
    CKpDBF(const CKpDBF&) = delete;
    CKpDBF& operator=(const CKpDBF&) = delete;

    // Reads the file `name` into the stores. 0 on success.
    virtual int Read() = 0;
    // Writes the stores to the file `name`. 0 on success; parsers that only
    // read return -1 and write nothing.
    virtual int Write() = 0;

    // Message log and ANSYS element types of `model`, and every store
    // pointer to the model's store; stores the model does not have yet are
    // created first (CKpLayup::init). A null model changes nothing.
    void SetStores(CKpLayup* model);

    // The file path (copied; null gives the empty text).
    void SetName(const char* name) { m_name = name ? name : ""; }
    // modelFlags: on reading, the switch that asks to clear the model first
    // (passed to the parsers as their model part flags); on writing, the
    // part mask (1 mesh, 2 materials and laminates, 4 properties, 8 element
    // modification only). resultFlags: on reading, the caller's result
    // selection bits; 0 on writing.
    void SetFlags(int modelFlags, int resultFlags) {
        m_modelFlags = modelFlags;
        m_resultFlags = resultFlags;
    }
    // 1 text (eText), 2 binary (eBinary).
    void SetType(int type) { m_type = type; }
    void SetMsg(CKpMsg* msg) { m_msg = msg; }
    void SetAnsys(CKpAnsys* ansys) { m_ansys = ansys; }
    void SetNodes(CKpNodeStore* nodes) { m_nodes = nodes; }
    void SetElems(CKpElemStore* elems) { m_elems = elems; }
    void SetFacs(CKpFacetStore* facs) { m_facs = facs; }
    void SetMats(CKpMatStore* mats) { m_mats = mats; }
    void SetLams(CKpLamStore* lams) { m_lams = lams; }
    void SetCoords(CKpCoordStore* coords) { m_coords = coords; }
    void SetRess(CKpResStore* ress) { m_ress = ress; }

    const char* name() const { return m_name; }
    int type() const { return m_type; }
    int modelFlags() const { return m_modelFlags; }
    int resultFlags() const { return m_resultFlags; }
    CKpMsg* pMsg() const { return m_msg; }
    CKpAnsys* pAnsys() const { return m_ansys; }
    CKpNodeStore* pNodes() const { return m_nodes; }
    CKpElemStore* pElems() const { return m_elems; }
    CKpFacetStore* pFacs() const { return m_facs; }
    CKpMatStore* pMats() const { return m_mats; }
    CKpLamStore* pLams() const { return m_lams; }
    CKpOrientStore* pOrients() const { return m_orients; }
    CKpCoordStore* pCoords() const { return m_coords; }
    CKpResStore* pRess() const { return m_ress; }

  protected:
    CKpStr m_name;
    int m_type;
    int m_modelFlags;
    int m_resultFlags;
    CKpMsg* m_msg;
    CKpAnsys* m_ansys;
    CKpNodeStore* m_nodes;
    CKpElemStore* m_elems;
    CKpFacetStore* m_facs;
    CKpMatStore* m_mats;
    CKpLamStore* m_lams;
    CKpOrientStore* m_orients;
    CKpCoordStore* m_coords;
    CKpResStore* m_ress;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDBF_H
