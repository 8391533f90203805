#include "layuplib/CKpFacetStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/geom_util.h"
#include "layuplib/make_facet.h"

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

int CKpFacetStore::pFac(int i, CKpFacet* facet) {
    if (!iOK(i)) return -1;
    m_ppFac[i] = facet;
    return 0;
}

int CKpFacetStore::GetElemId(int i) const {
    const CKpFacet* facet = pFac(i);
    return facet ? facet->GetElemId() : -1;
}

int CKpFacetStore::CreateFacets() {
    return CreateFacets(nullptr);
}

int CKpFacetStore::CreateFacets(FacetPlan* plan) {
    if (!m_layup) return 1;
    return make_facet(m_layup->pMsg(), m_layup->pNodes(), m_layup->pElems(), this, plan) == 1 ? 2
                                                                                              : 0;
}

void CKpFacetStore::reinit() {
    CKpBlockPool& pool = CKpFacet::pool();
    CKpBlockPool::Hold hold(pool);
    size_t destroyed = 0;
    // With no partner arrays anywhere, destroying a facet only ends its
    // lifetime: its slot goes back without a read of the facet.
    const bool plain = CKpFacet::branchRecords() == 0;
    for (int i = 0; plain && i < m_count; ++i)
        if (m_ppFac[i]) ++destroyed;
    for (int i = 0; !plain && i < m_count; ++i) {
        CKpFacet* facet = m_ppFac[i];
        if (!facet) continue;
        // The partner arrays belong to the stored facet, not to its copies,
        // so they are released here rather than in the facet's destructor.
        // Only branch edges have them: the others cost no call.
        for (int e = 0; e < 3; ++e) {
            if (!facet->getNeigha(e) && !facet->getNedgea(e)) continue;
            std::free(facet->getNeigha(e));
            std::free(facet->getNedgea(e));
            facet->setNeigha(e, nullptr);
            facet->setNedgea(e, nullptr);
        }
        facet->~CKpFacet();
        ++destroyed;
    }
    // Facets come from the pool (CKpFacet is final: no other size). When
    // they are all the pool hands out, as with one model, the pool takes
    // them back at once; else each slot goes back on its own.
    if (!pool.releaseAllHeld(destroyed))
        for (int i = 0; i < m_count; ++i)
            if (CKpFacet* facet = m_ppFac[i]) CKpFacet::operator delete(facet, sizeof(CKpFacet));
    std::free(m_ppFac);
    m_ppFac = nullptr;
    m_count = 0;
}

void CKpFacetStore::ReinitPntd() {
    for (int i = 0; i < m_count; ++i) {
        // Written only where set, so that clean cache lines stay clean.
        if (CKpFacet* f = m_ppFac[i]) {
            if (f->getPntd() != 0) f->setPntd(0);
            if (f->getFacetDirection() != 0) f->setFacetDirection(0);
        }
    }
}

void CKpFacetStore::ReinitBdyStoreId() {
    for (int i = 0; i < m_count; ++i)
        if (CKpFacet* f = m_ppFac[i]) f->setBdyStoreId(0);
}

void CKpFacetStore::InitBdy() {
    for (int i = 0; i < m_count; ++i)
        if (CKpFacet* f = m_ppFac[i])
            for (int k = 0; k < 3; ++k) f->SetBdy(k, nullptr);
}

double CKpFacetStore::SelectedArea() const {
    double area = 0.0;
    for (int i = 0; i < m_count; ++i) {
        const CKpFacet* f = m_ppFac[i];
        if (f && f->getElement() && f->getElement()->getSltd()) area += f->Area();
    }
    return area;
}

double CKpFacetStore::DefaultStep() const {
    return std::sqrt(SelectedArea()) * 7.5 / 200.0;
}

int CKpFacetStore::GetFreeEdgeNum(int gmtp) const {
    int n = 0;
    for (int i = 0; i < m_count; ++i) {
        const CKpFacet* f = m_ppFac[i];
        if (!f || !f->getElement() || f->getElement()->getgmtp() != gmtp) continue;
        for (int e = 0; e < 3; ++e)
            if (f->getNeighn(e) == 0) ++n;
    }
    return n;
}

double CKpFacetStore::GetFreeEdgeMinLen(int gmtp) const {
    double shortest = 1e12;
    for (int i = 0; i < m_count; ++i) {
        const CKpFacet* f = m_ppFac[i];
        if (!f || !f->getElement() || f->getElement()->getgmtp() != gmtp) continue;
        for (int e = 0; e < 3; ++e) {
            const CKpPoint* a = f->getCKpPoint(e);
            const CKpPoint* b = f->getCKpPoint(CKpFacet::GetNextVertex(e));
            if (f->getNeighn(e) != 0 || !a || !b) continue;
            shortest = std::min(shortest, dist_2pt(a, b));
        }
    }
    return shortest;
}

int CKpFacetStore::GetFreeEdgeNodeIDs(int /*unused*/, CVekObjectStore<CVekObject>* ids) const {
    if (!ids) return -1;
    // Collect, sort and thin out first: inserting one by one with a lookup
    // per id would re-sort the store's pending buffer at every lookup.
    std::vector<int> found;
    try {
        for (int i = 0; i < m_count; ++i) {
            const CKpFacet* f = m_ppFac[i];
            if (!f) continue;
            for (int e = 0; e < 3; ++e) {
                if (f->getNeighn(e) != 0) continue;
                for (int k = 0; k < 2; ++k) {
                    const CKpNode* node = f->getCKpNode((e + k) % 3);
                    if (node) found.push_back(node->id());
                }
            }
        }
    } catch (const std::exception&) {
        return -1;
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    for (int id : found) {
        if (ids->find(id)) continue;
        CVekObject* obj = new (std::nothrow) CVekObject(id);
        if (!obj) return -1;
        if (ids->insert(obj) != 0) {
            delete obj;
            return -1;
        }
    }
    return 0;
}

CKpFacet** alloc_pfacet(int n) {
    if (n < 1) return nullptr;
    const size_t bytes = static_cast<size_t>(n) * sizeof(CKpFacet*);
    void* array = std::calloc(static_cast<size_t>(n), sizeof(CKpFacet*));
    CKpBlockPool::adviseLarge(array, bytes);  // a mesh's millions of facets: few page faults
    return static_cast<CKpFacet**>(array);
}
