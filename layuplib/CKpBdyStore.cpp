#include "layuplib/CKpBdyStore.h"

#include <cstdlib>

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

void CKpBdyStore::SetBdy(CKpBdy* ring) {
    if (m_outer != ring) DeleteBoundary(m_outer);
    m_outer = ring;
}

int CKpBdyStore::AddIntrBdy(CKpBdy* ring) {
    if (!ring) return 0;
    void* grown = std::realloc(m_holes, sizeof(CKpBdy*) * (static_cast<size_t>(m_numHoles) + 1));
    if (!grown) return -1;
    m_holes = static_cast<CKpBdy**>(grown);
    m_holes[m_numHoles++] = ring;
    return 0;
}

void CKpBdyStore::reinit() {
    DeleteBoundary(m_outer);
    DeleteIntrBys(m_holes, m_numHoles);
    m_elemIds.eraseAllObjects();
    m_interiorIds.eraseAllObjects();
}
