#include "layuplib/CKpBdyStore.h"

CKpBdyStore::CKpBdyStore(int id)
    : CVekObject(id),
      m_startFacet(-1),
      m_option(0),
      m_outer(nullptr),
      m_numHoles(0),
      m_holes(nullptr),
      m_elemIds(),
      m_interiorIds() {}

CKpBdyStore::~CKpBdyStore() {
    reinit();
}

CKpBdy* CKpBdyStore::GetBdy(int i) const {
    if (i < 0 || i >= GetNumBdys()) return nullptr;
    return i == 0 ? m_outer : pIntrBdy(i - 1);
}

CKpBdy* CKpBdyStore::pIntrBdy(int i) const {
    return (m_holes && i >= 0 && i < m_numHoles) ? m_holes[i] : nullptr;
}

void CKpBdyStore::reinit() {
    DeleteBoundary(m_outer);
    DeleteIntrBys(m_holes, m_numHoles);
    m_elemIds.eraseAllObjects();
    m_interiorIds.eraseAllObjects();
}
