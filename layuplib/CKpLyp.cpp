#include "layuplib/CKpLyp.h"

CKpLyp::CKpLyp() : m_layup(nullptr), m_id(0) {}

CKpLyp::~CKpLyp() {
    m_lypPlys.eraseAllObjects();
}

void CKpLyp::reinit() {
    m_id = 0;
    m_name.Clear();
    m_lypPlys.eraseAllObjects();
}
