#include "layuplib/CKpSbdmnStore.h"

#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"

CKpSbdmnStore::CKpSbdmnStore() : CVekObjectStore<CKpSbdmn>(64) {}

CKpSbdmnStore::~CKpSbdmnStore() {
    eraseAllObjects();
}

int CKpSbdmnStore::Create(CKpMsg* msg, CKpFacetStore* facets) {
    if (!facets) return -1;
    const int n = facets->entries();

    // 1. The facet list (the walk's queue) and the direction found per facet.
    std::vector<int> list;
    std::vector<int> dnfg;
    try {
        list.resize(static_cast<size_t>(n));
        dnfg.resize(static_cast<size_t>(n));
    } catch (const std::exception&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        if (CKpFacet* f = facets->pFac(i)) {
            f->setPntd(0);
            f->setFacetDirection(0);
        }
    }

    // 2. Each facet not yet numbered opens the next subdomain; the region is
    // grown across every linked edge (neighbour and code both non-negative:
    // free, divided and branch edges stop it). A facet is marked before it
    // is queued, so the walk visits each facet once whatever the links say.
    int k = 0;
    for (int i = 0; i < n; ++i) {
        CKpFacet* start = facets->pFac(i);
        if (!start || start->getSbdmn() != 0) continue;
        ++k;
        int count = 0;
        start->setPntd(1);
        start->setFacetDirection(1);
        list[count] = i;
        dnfg[count++] = 1;
        for (int q = 0; q < count; ++q) {
            CKpFacet* f = facets->pFac(list[q]);
            for (int e = 0; e < 3; ++e) {
                const int g = f->getNeigh(e);
                const int code = f->getNedge(e);
                if (g < 0 || code < 0) continue;
                CKpFacet* other = facets->pFac(g);
                if (!other) {
                    if (msg)
                        msg->Create(4, "Facet %d edge %d links to facet %d, which does not exist.",
                                    list[q], e, g);
                    return -1;
                }
                if (other->getPntd()) continue;
                // Opposite senses (3..5): the normals agree, so the flag carries over.
                const int d = code >= 3 ? dnfg[q] : -dnfg[q];
                other->setPntd(1);
                other->setFacetDirection(d);
                list[count] = g;
                dnfg[count++] = d;
            }
        }
        double area = 0.0;
        for (int q = 0; q < count; ++q) {
            CKpFacet* f = facets->pFac(list[q]);
            f->setSbdmn(k);
            f->setSbdmndnfg(dnfg[q]);
            f->setPntd(0);
            area += f->Area();
        }
        CKpSbdmn* sbdmn = new (std::nothrow) CKpSbdmn(k, count, area);
        const int before = entries();
        if (sbdmn) insert(sbdmn);
        if (!sbdmn || entries() == before) {
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
        if (s) msg->Create(1, " subdomain %3d contains %6d facets of area %g", s->id(), s->NumFacs(),
                           s->Area());
    }
}
