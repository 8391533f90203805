#include "layuplib/CKpSelect.h"

CKpSelect::CKpSelect()
    : m_layup(nullptr), m_layupSet(0), m_resultsValid(0), m_elemIds(), m_groups() {}

CKpSelect::~CKpSelect() = default;

int CKpSelect::Clear() {
    m_elemIds.eraseAllObjects();
    return ClearResults();
}

int CKpSelect::SetLayup(CKpLayup* layup) {
    if (!layup) return 1;
    m_layup = layup;
    m_layupSet = 1;
    return 0;
}

int CKpSelect::ClearResults() {
    m_groups.eraseAllObjects();
    m_resultsValid = 0;
    return 0;
}
