#include "layuplib/CKpElemLypPly.h"

#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpPlyElem.h"

CKpElemLypPly::CKpElemLypPly(CKpLypPly* lypPly, CKpPlyElem* plyElem)
    : m_lypPly(lypPly), m_plyElem(plyElem) {}

// The copy starts unlinked: an entry lies in one stack only.
CKpElemLypPly::CKpElemLypPly(const CKpElemLypPly& other)
    : CVekListItem(), m_lypPly(other.m_lypPly), m_plyElem(other.m_plyElem) {}

CKpElemLypPly::~CKpElemLypPly() {
    m_lypPly = nullptr;
    m_plyElem = nullptr;
}

int CKpElemLypPly::getLypPlyId() const {
    return m_lypPly ? m_lypPly->id() : 0;
}

int CKpElemLypPly::lyrtp() const {
    return m_lypPly ? m_lypPly->lyrtp() : 0;
}

int CKpElemLypPly::lyrid() const {
    return m_lypPly ? m_lypPly->lyrid() : 0;
}

int CKpElemLypPly::instance() const {
    return m_lypPly ? m_lypPly->instance() : 0;
}

int CKpElemLypPly::gplyid() const {
    return m_lypPly ? m_lypPly->gplyid() : 0;
}

const char* CKpElemLypPly::GetLayupPlyName() const {
    return m_lypPly ? m_lypPly->GetPlyNameInstance() : "";
}

int CKpElemLypPly::dnfg() const {
    return m_plyElem ? m_plyElem->dnfg() : 0;
}

int CKpElemLypPly::mtrl() const {
    return m_plyElem ? m_plyElem->mtrl() : 0;
}

double CKpElemLypPly::mtrlthck() const {
    return m_plyElem ? m_plyElem->mtrlthck() : 0.0;
}

int CKpElemLypPly::sttid() const {
    return m_plyElem ? m_plyElem->sttid() : 0;
}

double CKpElemLypPly::dens() const {
    return m_plyElem ? m_plyElem->dens() : 0.0;
}

double CKpElemLypPly::wpwtang() const {
    return m_plyElem ? m_plyElem->wpwtang() : 0.0;
}

int CKpElemLypPly::GetElemDnfg() const {
    const int stdn = m_lypPly ? m_lypPly->stdn() : 0;
    return stdn * dnfg();
}

double CKpElemLypPly::thck() const {
    if (m_lypPly && m_lypPly->thicknessOverride() > 0.0) return m_lypPly->thicknessOverride();
    return m_plyElem ? m_plyElem->thck() : 0.0;
}

double CKpElemLypPly::rotn() const {
    if (!m_plyElem) return 0.0;
    const double offset = m_lypPly ? m_lypPly->angleOffset() * m_lypPly->stdn() : 0.0;
    return m_plyElem->rotn() + m_plyElem->dnfg() * offset;
}
