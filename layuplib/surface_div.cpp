#include "layuplib/surface_div.h"

#include <climits>
#include <new>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolElem.h"
#include "layuplib/CKpTolStore.h"

namespace {

// A divided code is the link's code minus 7.
const int kDivide = 7;

void setTolerances(CKpElemStore* elems, double angtol, double thktol) {
    for (int i = 0; i < elems->entries(); ++i) {
        if (CKpElem* e = (*elems)[i]) {
            e->setangtol(angtol);
            e->setthktol(thktol);
        }
    }
}

// The facet at `facet`, and for an edge in 0..2 its link: the neighbour
// facet *other and its edge *otherEdge, taken from the undivided code
// `code`. False when the index, the slot or the edge is bad, or when the
// neighbour does not link back to this facet with a code of the same state
// (divided or not) as `divided`.
bool linkedPair(CKpFacetStore* facets, int facet, int edge, bool divided, CKpFacet** self,
                CKpFacet** other, int* otherEdge) {
    if (!facets || edge < 0 || edge > 2) return false;
    CKpFacet* f = facets->pFac(facet);
    if (!f) return false;
    const int g = f->getNeigh(edge);
    const int raw = f->getNedge(edge);
    if (g < 0 || raw == -1) return false;  // free
    if (divided != (raw < -1)) return false;
    const int code = divided ? raw + kDivide : raw;
    if (code < 0 || code > 5) return false;
    const int h = code < 3 ? code : code - 3;
    if (g == facet && h == edge) return false;
    CKpFacet* n = facets->pFac(g);
    if (!n || n->getNeigh(h) != facet) return false;
    const int back = n->getNedge(h);
    const int backCode = divided ? back + kDivide : back;
    if ((back < -1) != divided || backCode < 0 || backCode > 5) return false;
    *self = f;
    *other = n;
    *otherEdge = h;
    return true;
}

int selectOrder(CKpElemStore* elems, CKpFacetStore* facets, int n, int* ids, int order) {
    if (!elems || !facets || n < 0 || (n > 0 && !ids)) return -1;
    for (int i = 0; i < n; ++i) {
        if (CKpElem* e = elems->find(ids[i])) surface_select_elem(e, facets, order);
    }
    return 0;
}

// Toggles the edges of every facet that belongs to `elem`. An element keeps
// facet index 0 in its list until facets are cut from it, so each index is
// checked to lead back to the element.
void toggleElem(CKpElem* elem, CKpFacetStore* facets) {
    for (int k = 0; k < elem->getnfac(); ++k) {
        const int index = elem->getfacs(k);
        const CKpFacet* f = facets->pFac(index);
        if (f && f->getElement() == elem) surface_select_ft_edgetoggle(facets, index);
    }
}

}  // namespace

// ---- Tolerance regions ----

int restore_tolerance(CKpElemStore* elems, double angtol, double thktol, CKpTol* global,
                      CKpTolStore* tols) {
    if (!elems || !global || !tols) return -1;
    global->setangtol(angtol);
    global->setthktol(thktol);
    tols->eraseAllObjects();
    setTolerances(elems, angtol, thktol);
    return 0;
}

int set_tol_region_data(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, CKpTolStore* tols,
                        double angtol, double thktol, int n, int* ids) {
    if (!elems || !tols) return -1;
    if (n < 0 || (n > 0 && !ids)) {
        if (msg) msg->Create(4, "Invalid element count %d.", n);
        return -1;
    }
    // No id left above the highest is refused as a region that cannot be made.
    CKpTol* region = tols->maxId() < INT_MAX ? new (std::nothrow)
                                                   CKpTol(tols->maxId() + 1, angtol, thktol)
                                             : nullptr;
    bool ok = region != nullptr;
    for (int i = 0; ok && i < n; ++i) {
        if (ids[i] <= 0 || !elems->find(ids[i])) continue;
        CKpTolElem* item = new (std::nothrow) CKpTolElem(ids[i]);
        if (!item)
            ok = false;
        else
            region->pElems()->InsertLast(item);
    }
    if (ok) {
        ok = tols->insert(region) == 0;
    }
    if (!ok) {
        delete region;
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    set_tolerance_elems(elems, facets, region);
    return 0;
}

int set_tolerance_elems(CKpElemStore* elems, CKpFacetStore* /*facets*/, CKpTol* region) {
    if (!elems || !region) return -1;
    CVekList<CKpTolElem>* list = region->pElems();
    for (CKpTolElem* item = list->First(); item; item = list->Next(item)) {
        if (CKpElem* e = elems->find(item->getElemId())) {
            e->setangtol(region->getangtol());
            e->setthktol(region->getthktol());
        }
    }
    return 0;
}

int set_all_tolerances(CKpElemStore* elems, CKpFacetStore* facets, CKpTol* global,
                       CKpTolStore* tols) {
    if (!elems || !global || !tols) return -1;
    setTolerances(elems, global->getangtol(), global->getthktol());
    for (int i = 0; i < tols->entries(); ++i) {
        if (CKpTol* region = (*tols)[i]) set_tolerance_elems(elems, facets, region);
    }
    return 0;
}

// ---- Divisions ----

int SurfaceCreateDivision(CKpFacetStore* facets, int facet, int edge) {
    CKpFacet* f = nullptr;
    CKpFacet* g = nullptr;
    int h = -1;
    if (!linkedPair(facets, facet, edge, false, &f, &g, &h)) return -1;
    f->setNedge(edge, f->getNedge(edge) - kDivide);
    g->setNedge(h, g->getNedge(h) - kDivide);
    return 0;
}

int SurfaceDeleteDivision(CKpFacetStore* facets, int facet, int edge) {
    CKpFacet* f = nullptr;
    CKpFacet* g = nullptr;
    int h = -1;
    if (!linkedPair(facets, facet, edge, true, &f, &g, &h)) return -1;
    f->setNedge(edge, f->getNedge(edge) + kDivide);
    g->setNedge(h, g->getNedge(h) + kDivide);
    return 0;
}

int surface_select_ft_edgetoggle(CKpFacetStore* facets, int facet) {
    if (!facets) return 0;
    const CKpFacet* f = facets->pFac(facet);
    if (!f) return 0;
    for (int e = 0; e < 3; ++e) {
        const int code = f->getNedge(e);
        const CKpFacet* g = facets->pFac(f->getNeigh(e));
        if (!g || code == -1 || g->getElement() == f->getElement()) continue;
        if (code < -1)
            SurfaceDeleteDivision(facets, facet, e);
        else
            SurfaceCreateDivision(facets, facet, e);
    }
    return 0;
}

int surface_select_elem(CKpElem* elem, CKpFacetStore* facets, int order) {
    if (!elem || !facets) return -1;
    if (elem->getSltd()) return 0;
    elem->setSltd(1);
    elem->setOrdr(order);
    toggleElem(elem, facets);
    return 0;
}

int surface_unselect_elem(CKpElem* elem, CKpFacetStore* facets) {
    if (!elem || !facets) return -1;
    if (!elem->getSltd()) return 0;
    elem->setSltd(0);
    elem->setOrdr(0);
    toggleElem(elem, facets);
    return 0;
}

int surface_select_elements(CKpElemStore* elems, CKpFacetStore* facets, int n, int* ids) {
    return selectOrder(elems, facets, n, ids, 0);
}

int surface_select_elements_order(CKpElemStore* elems, CKpFacetStore* facets, int n, int* ids,
                                  int order) {
    return selectOrder(elems, facets, n, ids, order);
}

int surface_select_all(CKpElemStore* elems, CKpFacetStore* facets) {
    if (!elems || !facets) return -1;
    for (int i = 0; i < elems->entries(); ++i) {
        if (CKpElem* e = (*elems)[i]) surface_select_elem(e, facets, 0);
    }
    return 0;
}

int surface_divide_elementid(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, int elementId,
                             int edge) {
    if (!elems || !facets) return -1;
    CKpElem* elem = elems->find(elementId);
    if (!elem) {
        if (msg) msg->Create(4, "Element %d does not exist.", elementId);
        return -1;
    }
    int count = 0;
    int facetIds[2] = {0, 0};
    int facetEdges[2] = {0, 0};
    if (elem->GetFacEdges(msg, edge, &count, facetIds, facetEdges) != 0) return -1;
    int result = 0;
    for (int k = 0; k < count; ++k) {
        const CKpFacet* f = facets->pFac(facetIds[k]);
        if (!f) {
            if (msg) msg->Create(4, "Element %d edge %d on boundary.", elementId, edge);
            result = -1;
            continue;
        }
        const int e = facetEdges[k];
        const int code = f->getNedge(e);
        const CKpFacet* g = facets->pFac(f->getNeigh(e));
        if (!g || code == -1) {
            if (msg) msg->Create(4, "Element %d edge %d on boundary.", elementId, edge);
            result = -1;
        } else if (g->getElement() == f->getElement()) {
            if (msg) msg->Create(4, "Selected edge lies within an element.");
            result = -1;
        } else if (code >= 0 && SurfaceCreateDivision(facets, facetIds[k], e) != 0) {
            result = -1;
        }
    }
    return result;
}

int surface_restore(CKpElemStore* elems, CKpFacetStore* facets) {
    if (!elems || !facets) return -1;
    // 1.
    for (int i = 0; i < elems->entries(); ++i) {
        if (CKpElem* e = (*elems)[i]) {
            e->setSltd(0);
            e->setOrdr(0);
            e->setIntr(0);
        }
    }
    // 2. Branch edges lose the single partner a selection gave them.
    const int n = facets->entries();
    for (int i = 0; i < n; ++i) {
        CKpFacet* f = facets->pFac(i);
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            if (f->getNeighn(e) <= 1) continue;
            f->setNeigh(e, -1);
            f->setNedge(e, -1);
            if (CKpNode* a = f->getCKpNode(e)) a->setCKpDirn(0.0, 0.0, 0.0);
            if (CKpNode* b = f->getCKpNode(CKpFacet::GetNextVertex(e)))
                b->setCKpDirn(0.0, 0.0, 0.0);
        }
    }
    // 3.
    for (int i = 0; i < n; ++i) {
        CKpFacet* f = facets->pFac(i);
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            if (f->getNeigh(e) < 0 || f->getNedge(e) >= -1) continue;
            if (SurfaceDeleteDivision(facets, i, e) != 0) f->setNedge(e, f->getNedge(e) + kDivide);
        }
    }
    return 0;
}

// ---- Picking ----

int select_facet_vector(CKpMsg* /*msg*/, CKpFacetStore* facets, double px, double py, double pz,
                        double dx, double dy, double dz, int* facet, int* edge, int* sense) {
    if (!facets) return 0;
    CKpPoint p;
    p.Set(px, py, pz);
    CKpDirn d;
    d.Set(dx, dy, dz);

    int best = -1;
    CKpPoint bestX;
    double bestDist[3] = {0.0, 0.0, 0.0};
    CKpDirn bestNormal;
    for (int i = 0; i < facets->entries(); ++i) {
        // 1.
        const CKpFacet* f = facets->pFac(i);
        if (!f || f->getHidden()) continue;
        const CKpPoint* v[3] = {f->getCKpPoint(0), f->getCKpPoint(1), f->getCKpPoint(2)};
        if (!v[0] || !v[1] || !v[2]) continue;
        CKpDirn normal;
        normal.Set3Points(v[0], v[1], v[2]);
        if (normal.mag() <= 0.0) continue;
        normal.unitize();
        const double denom = normal.DotProduct(&d);
        if (denom == 0.0) continue;
        CKpDirn toPlane;
        toPlane.set2pts(&p, v[0]);
        CKpPoint x;
        x.SetPointDirnValue(&p, &d, normal.DotProduct(&toPlane) / denom);

        // 2. In-plane edge normals n × (B - A) point towards the opposite
        // vertex of an anticlockwise triangle.
        double dist[3];
        bool inside = true;
        for (int k = 0; k < 3 && inside; ++k) {
            CKpDirn along;
            along.set2pts(v[k], v[(k + 1) % 3]);
            CKpDirn inward;
            inward.setCrossProduct(&normal, &along);
            inward.unitize();
            CKpDirn rel;
            rel.set2pts(v[k], &x);
            dist[k] = inward.DotProduct(&rel);
            inside = dist[k] >= 0.0;
        }
        if (!inside) continue;

        // 3.
        CKpDirn back;
        back.set2pts(&x, &p);
        if (!(back.DotProduct(&d) < 1e-6)) continue;
        if (best >= 0) {
            CKpDirn ahead;
            ahead.set2pts(&bestX, &x);
            if (!(ahead.DotProduct(&d) < 0.0)) continue;
        }
        best = i;
        bestX = x;
        bestNormal = normal;
        for (int k = 0; k < 3; ++k) bestDist[k] = dist[k];
    }

    // 4.
    if (best < 0) return 0;
    int nearest = 0;
    if (bestDist[1] < bestDist[nearest]) nearest = 1;
    if (bestDist[2] < bestDist[nearest]) nearest = 2;
    if (facet) *facet = best;
    if (edge) *edge = nearest;
    if (sense) *sense = bestNormal.DotProduct(&d) < 0.0 ? 1 : -1;
    return 1;
}
