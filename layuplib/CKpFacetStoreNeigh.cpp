// CKpFacetStore: narrowing the neighbour links to the element selection.

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpSbdmnStore.h"
#include "layuplib/surface_div.h"

namespace {

bool selected(const CKpFacet* f) {
    return f && f->getElement() && f->getElement()->getSltd();
}

// One facet at a branch edge: its element id and its selected subdomain area.
struct BranchEntry {
    int elemId;
    double area;
};

}  // namespace

void CKpFacetStore::NeighClear() {
    for (int i = 0; i < m_count; ++i) {
        CKpFacet* f = m_ppFac[i];
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            if (f->getNeighn(e) <= 1) continue;
            f->setNeigh(e, -1);
            f->setNedge(e, -1);
        }
    }
}

int CKpFacetStore::NeighSet(CKpMsg* msg, CKpGra* gra, int* count,
                            CVekObjectStore<CVekObject>* deselect) {
    if (count) *count = 0;
    if (deselect) deselect->eraseAllObjects();
    std::unique_ptr<CKpSbdmnStore> sbdmns;
    try {
        std::vector<int> partners;  // selected partners of one edge: facet, code
        std::vector<BranchEntry> entries;
        for (int i = 0; i < m_count; ++i) {
            CKpFacet* f = m_ppFac[i];
            if (!selected(f)) continue;
            for (int e = 0; e < 3; ++e) {
                const int n = f->getNeighn(e);
                const int* facets = f->getNeigha(e);
                const int* codes = f->getNedgea(e);
                if (n < 2 || !facets || !codes) continue;

                // 1. The selected partners.
                partners.clear();
                for (int k = 0; k < n; ++k) {
                    if (!selected(pFac(facets[k]))) continue;
                    partners.push_back(facets[k]);
                    partners.push_back(codes[k]);
                }
                const int nsel = static_cast<int>(partners.size() / 2);
                if (nsel == 0) continue;
                if (nsel == 1) {
                    f->setNeigh(e, partners[0]);
                    f->setNedge(e, partners[1]);
                    continue;
                }

                // 2. A branch inside the selection, handled from its facet
                //    of lowest index.
                bool lowest = true;
                for (int k = 0; k < nsel; ++k)
                    if (partners[2 * k] < i) lowest = false;
                if (!lowest) continue;
                if (count) ++*count;
                if (!sbdmns) {
                    sbdmns.reset(new CKpSbdmnStore());
                    if (sbdmns->GetSelected(msg, this) != 0) return -1;
                }
                entries.clear();
                entries.push_back({f->GetElemId(), sbdmns->GetArea(f->getSbdmn())});
                for (int k = 0; k < nsel; ++k) {
                    const CKpFacet* g = pFac(partners[2 * k]);
                    entries.push_back({g->GetElemId(), sbdmns->GetArea(g->getSbdmn())});
                }
                std::sort(entries.begin(), entries.end(),
                          [](const BranchEntry& a, const BranchEntry& b) {
                              if (a.area != b.area) return a.area < b.area;
                              return a.elemId < b.elemId;
                          });

                // 3. Report, keep the two largest, draw the edge.
                const CKpNode* from = f->getCKpNode(e);
                const CKpNode* to = f->getCKpNode(CKpFacet::GetNextVertex(e));
                if (msg) {
                    msg->Create(2,
                                "The edge between nodes %d and %d borders %d selected elements "
                                "with selected subdomain areas: ",
                                from ? from->id() : 0, to ? to->id() : 0,
                                static_cast<int>(entries.size()));
                    for (const BranchEntry& entry : entries)
                        msg->Create(2, "   %6d %g", entry.elemId, entry.area);
                }
                for (size_t k = 0; deselect && k + 2 < entries.size(); ++k) {
                    if (deselect->find(entries[k].elemId)) continue;
                    CVekObject* obj = new CVekObject(entries[k].elemId);
                    if (deselect->insert(obj) != 0) {
                        delete obj;
                        throw std::bad_alloc();
                    }
                }
                if (gra && from && to) {
                    gra->select_segment(6);
                    gra->select_pen(6, 0.0);
                    gra->MoveTo3d(from->getCKpPoint());
                    gra->LineTo3d(to->getCKpPoint());
                }
            }
        }
    } catch (const std::exception&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}

void CKpFacetStore::NeighDivide() {
    for (int i = 0; i < m_count; ++i) {
        const CKpFacet* f = m_ppFac[i];
        if (!selected(f)) continue;
        for (int e = 0; e < 3; ++e) {
            const int code = f->getNedge(e);
            const CKpFacet* g = pFac(f->getNeigh(e));
            if (f->getNeigh(e) == -1 || code < 0 || !g || selected(g)) continue;
            SurfaceCreateDivision(this, i, e);
        }
    }
}
