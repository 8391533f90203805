#include "layuplib/CKpFacetStore.h"

#include <cstdlib>

#include "layuplib/CKpFacet.h"

CKpFacetStore::CKpFacetStore(CKpLayup* layup) : m_layup(layup), m_count(0), m_ppFac(nullptr) {}

CKpFacetStore::~CKpFacetStore() {
    reinit();
}

void CKpFacetStore::setFacets(CKpFacet** array, int count) {
    reinit();
    if (!array) return;
    if (count < 1) {
        std::free(array);
        return;
    }
    m_ppFac = array;
    m_count = count;
}

CKpFacet* CKpFacetStore::pFac(int i) const {
    return iOK(i) ? m_ppFac[i] : nullptr;
}

int CKpFacetStore::pFac(int i, CKpFacet* facet) {
    if (!iOK(i)) return -1;
    m_ppFac[i] = facet;
    return 0;
}

int CKpFacetStore::GetElemId(int i) const {
    const CKpFacet* facet = pFac(i);
    return facet ? facet->GetElemId() : -1;
}

void CKpFacetStore::reinit() {
    for (int i = 0; i < m_count; ++i) {
        CKpFacet* facet = m_ppFac[i];
        if (!facet) continue;
        // The partner arrays belong to the stored facet, not to its copies,
        // so they are released here rather than in the facet's destructor.
        for (int e = 0; e < 3; ++e) {
            std::free(facet->getNeigha(e));
            std::free(facet->getNedgea(e));
            facet->setNeigha(e, nullptr);
            facet->setNedgea(e, nullptr);
        }
        delete facet;
    }
    std::free(m_ppFac);
    m_ppFac = nullptr;
    m_count = 0;
}

CKpFacet** alloc_pfacet(int n) {
    if (n < 1) return nullptr;
    return static_cast<CKpFacet**>(std::calloc(static_cast<size_t>(n), sizeof(CKpFacet*)));
}
