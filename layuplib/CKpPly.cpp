#include "layuplib/CKpPly.h"

#include "layuplib/CKpMat.h"
#include "layuplib/CKpPat.h"

CKpPly::CKpPly(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_type(0),
      m_mtrlid(0),
      m_mat(nullptr),
      m_pttrnid(0),
      m_pat(nullptr),
      m_instances(0) {}

CKpPly::~CKpPly() {
    m_plyElems.eraseAllObjects();
}

void CKpPly::setMat(CKpMat* mat) {
    m_mat = mat;
    if (mat) m_mtrlid = mat->id();
}

void CKpPly::setPat(CKpPat* pat) {
    m_pat = pat;
    if (pat) m_pttrnid = pat->id();
}

int CKpPly::mtrlid() const {
    return m_mat ? m_mat->id() : m_mtrlid;
}

int CKpPly::pttrnid() const {
    return m_pat ? m_pat->id() : m_pttrnid;
}

int CKpPly::stdn() const {
    return m_pat ? m_pat->stdn() : 0;
}

double CKpPly::lyrthck() const {
    return m_mat ? m_mat->mtrlthck() : 0.0;
}
