#include "layuplib/CKpDBF.h"

#include "layuplib/CKpLayup.h"

CKpDBF::CKpDBF()
    : m_name(""),
      m_type(0),
      m_modelFlags(0),
      m_resultFlags(0),
      m_msg(nullptr),
      m_ansys(nullptr),
      m_nodes(nullptr),
      m_elems(nullptr),
      m_facs(nullptr),
      m_mats(nullptr),
      m_lams(nullptr),
      m_orients(nullptr),
      m_coords(nullptr),
      m_ress(nullptr) {}

CKpDBF::~CKpDBF() = default;

void CKpDBF::SetStores(CKpLayup* model) {
    if (!model) return;
    model->init();
    m_msg = model->pMsg();
    m_ansys = model->pAnsys();
    m_nodes = model->pNodes();
    m_elems = model->pElems();
    m_facs = model->pFacs();
    m_mats = model->pMats();
    m_lams = model->pLams();
    m_orients = model->pOrients();
    m_coords = model->pCoords();
    m_ress = model->pRess();
}
