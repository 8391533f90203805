#include "layuplib/CKpSbdmnStore.h"

#include <exception>
#include <new>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CalcBoundary.h"

CKpSbdmnStore::CKpSbdmnStore() : CVekObjectStore<CKpSbdmn>(64) {}

CKpSbdmnStore::~CKpSbdmnStore() {
    eraseAllObjects();
}

int CKpSbdmnStore::Create(CKpMsg* msg, CKpFacetStore* facets) {
    if (!facets) return -1;
    const int n = facets->entries();

    // 1. The facet list and the direction flags the region walk fills.
    std::vector<int> list;
    std::vector<int> dnfg;
    std::vector<double> areas;  // per facet, formed in index order
    try {
        list.resize(static_cast<size_t>(n));
        dnfg.resize(static_cast<size_t>(n));
        areas.resize(static_cast<size_t>(n));
    } catch (const std::exception&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    facets->ReinitPntd();
    for (int i = 0; i < n; ++i)
        if (const CKpFacet* f = facets->pFac(i)) areas[static_cast<size_t>(i)] = f->Area();

    // 2. Each facet not yet numbered opens the next subdomain. The walk
    // leaves the facets it collected painted; they are unpainted again so
    // that the marks are free for the next walk and for the caller.
    int k = 0;
    for (int i = 0; i < n; ++i) {
        CKpFacet* start = facets->pFac(i);
        if (!start || start->getSbdmn() != 0) continue;
        ++k;
        start->setSbdmndnfg(1);
        int count = 0;
        CKpBdy* ring = nullptr;
        if (CalcAllBoundary(msg, facets, 0, i, 1, ring, &count, list.data(), dnfg.data()) != 0)
            return -1;
        double area = 0.0;
        for (int q = 0; q < count; ++q) {
            CKpFacet* f = facets->pFac(list[q]);
            f->setSbdmn(k);
            f->setSbdmndnfg(dnfg[q]);
            f->setPntd(0);
            area += areas[static_cast<size_t>(list[q])];  // summed in walk order
        }
        DeleteBoundary(ring);
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, count, area);
        if (!sbdmn || insert(sbdmn) != 0) {
            delete sbdmn;
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
    }

    // 3.
    WriteMsg(msg);
    return 0;
}

int CKpSbdmnStore::GetSelected(CKpMsg* msg, CKpFacetStore* facets) {
    eraseAllObjects();
    if (!facets) return -1;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        if (!f || !f->getElement() || !f->getElement()->getSltd()) continue;
        CKpSbdmn* sbdmn = findOrCreate(f->getSbdmn());
        if (!sbdmn) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        sbdmn->AddNumFacs(1);
        sbdmn->AddArea(f->Area());
    }
    WriteMsg(msg);
    return 0;
}

double CKpSbdmnStore::GetArea(int id) {
    const CKpSbdmn* sbdmn = find(id);
    return sbdmn ? sbdmn->Area() : 0.0;
}

void CKpSbdmnStore::WriteMsg(CKpMsg* msg) {
    if (!msg || entries() == 0) return;
    msg->Create(1, "A total of %d subdomains were identified.", entries());
    for (int i = 0; i < entries(); ++i) {
        const CKpSbdmn* s = (*this)[i];
        if (s)
            msg->Create(1, " subdomain %3d contains %6d facets of area %g", s->id(), s->NumFacs(),
                        s->Area());
    }
}
