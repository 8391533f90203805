#include "layuplib/CKpLypPly.h"

#include "layuplib/CKpPly.h"

CKpLypPly::CKpLypPly(int id)
    : CVekObject(id),
      m_plyType(0),
      m_plyId(0),
      m_ply(nullptr),
      m_instance(0),
      m_side(0),
      m_thckOverride(0.0),
      m_angleOffset(0.0),
      m_gplyid(0) {}

CKpLypPly::~CKpLypPly() = default;

void CKpLypPly::setPly(CKpPly* ply) {
    m_ply = ply;
    if (!ply) return;
    m_plyType = ply->lyrtp();
    m_plyId = ply->id();
}

int CKpLypPly::lyrtp() const {
    return m_ply ? m_ply->lyrtp() : m_plyType;
}

int CKpLypPly::lyrid() const {
    return m_ply ? m_ply->id() : m_plyId;
}

const char* CKpLypPly::lyrnm() const {
    return m_ply ? m_ply->name() : "";
}

int CKpLypPly::stdn() const {
    return m_ply ? m_ply->stdn() : 0;
}
