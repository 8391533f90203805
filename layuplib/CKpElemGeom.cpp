// Geometry, neighbour and drawing operations of CKpElem.

#include <cmath>
#include <new>

#include "host/CKpGra.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/geom_util.h"

namespace {

// p + s·d.
CKpPoint moved(const CKpPoint& p, const CKpDirn& d, double s) {
    CKpPoint q;
    q.SetPointDirnValue(&p, &d, s);
    return q;
}

}  // namespace

int CKpElem::corners(CKpPoint* p) const {
    if (!isShell()) return 0;
    const int nv = GetNumVertices();
    for (int c = 0; c < nv; ++c) {
        const CKpNode* node = ckpnodes[cornerPos(c)];
        if (!node) return 0;
        p[c] = *node->getCKpPoint();
    }
    return nv;
}

bool CKpElem::nodesLinked() const {
    const int n = getnnod();
    for (int i = 0; i < n; ++i)
        if (!ckpnodes[i]) return false;
    return true;
}

const CKpFacet* CKpElem::facetAt(const CKpFacetStore* facets, int k) const {
    if (!facets || k < 0 || k >= getnfac()) return nullptr;
    return facets->pFac(facs()[k]);
}

int CKpElem::GetVertices(CKpPoint* out) const {
    if (!out) return -1;
    return corners(out) > 0 ? 0 : -1;
}

int CKpElem::GetMidpt(CKpPoint* midpt) const {
    if (!midpt || !isShell() || !nodesLinked()) return 1;
    const int n = getnnod();
    const int nv = GetNumVertices();
    // Linear: the mean of the corners. Quadratic: the centre of the
    // serendipity (quad8) or quadratic (tria6) interpolation, a weighted sum
    // of midsides and corners.
    double wCorner = 1.0 / nv;
    double wMid = 0.0;
    if (gmtp == 2) {
        wCorner = -0.25;
        wMid = 0.5;
    } else if (gmtp == 12) {
        wCorner = -1.0 / 3.0;
        wMid = 2.0 / 3.0;
    }
    const bool quadratic = (gmtp == 2 || gmtp == 12);
    CKpPoint sum;
    for (int i = 0; i < n; ++i) {
        const bool corner = !quadratic || i % 2 == 0;
        const CKpPoint* p = ckpnodes[i]->getCKpPoint();
        const double w = corner ? wCorner : wMid;
        sum.AddXYZ(w * p->getx(), w * p->gety(), w * p->getz());
    }
    *midpt = sum;
    return 0;
}

int CKpElem::GetNormal(CKpDirn* normal) const {
    if (!normal) return 1;
    CKpPoint p[4];
    const int nv = corners(p);
    if (nv == 0) return 1;
    CKpDirn n;
    n.Set3Points(&p[0], &p[1], &p[2]);
    if (nv == 4) {
        // Both triangles of the quad, so that a warped quad gets the mean
        // plane rather than that of its first triangle.
        CKpDirn second;
        second.Set3Points(&p[2], &p[3], &p[0]);
        n.Add(second);
    }
    n.unitize();
    *normal = n;
    return 0;
}

int CKpElem::GetAverageNormal(CKpDirn* normal) const {
    if (!normal) return 1;
    CKpDirn n;
    if (GetNormal(&n) != 0 || !nodesLinked()) return 1;
    CKpDirn sum;
    const int count = getnnod();
    for (int i = 0; i < count; ++i) {
        CKpDirn d = *ckpnodes[i]->getCKpDirn();
        d.Scale(d.DotProductInt(&n));
        sum.Add(d);
    }
    sum.unitize();
    *normal = sum;
    return 0;
}

int CKpElem::GetReference(CKpDirn* ref) const {
    if (!ref || !isShell()) return 1;
    const CKpNode* a = ckpnodes[0];
    const CKpNode* b = ckpnodes[cornerPos(1)];
    if (!a || !b) return 1;
    CKpDirn r;
    r.set2pts(a->getCKpPoint(), b->getCKpPoint());
    r.unitize();
    *ref = r;
    return 0;
}

int CKpElem::GetArea(double* area) const {
    if (!area) return 1;
    CKpPoint p[4];
    const int nv = corners(p);
    if (nv == 0) return 1;
    double a = calc_area(&p[0], &p[1], &p[2]);
    if (nv == 4) a += calc_area(&p[2], &p[3], &p[0]);
    *area = a;
    return 0;
}

double CKpElem::DotNormal(CKpMsg*, const CKpDirn* d) const {
    CKpDirn n;
    if (!d || GetNormal(&n) != 0) return 0.0;
    return n.DotProduct(d);
}

int CKpElem::ModDirn(CKpMsg* msg, const CKpDirn* d) const {
    return DotNormal(msg, d) < 0.0 ? -1 : 1;
}

int CKpElem::GetDirection(double angle, CKpDirn& out) const {
    if (!isShell()) return 2;
    CKpDirn n;
    CKpDirn r;
    if (GetNormal(&n) != 0 || GetReference(&r) != 0) return 1;
    CKpDirn y;
    y.setCrossProduct(&n, &r);
    y.unitize();
    r.Scale(std::cos(angle));
    y.Scale(std::sin(angle));
    r.Add(y);
    out = r;
    return 0;
}

int CKpElem::GetDirection(double angle, double* out) const {
    if (!out) return 1;
    CKpDirn d;
    const int status = GetDirection(angle, d);
    if (status == 0) d.Get(out);
    return status;
}

int CKpElem::GetOffsetSurface(double d, double* out) const {
    if (!out) return -1;
    CKpPoint p[4];
    CKpDirn n;
    const int nv = corners(p);
    if (nv == 0 || GetNormal(&n) != 0) return -1;
    for (int c = 0; c < nv; ++c) moved(p[c], n, d).Get(out + 3 * c);
    return 0;
}

int CKpElem::GetOffsetMidpt(double d, double* out) const {
    if (!out) return -1;
    CKpPoint m;
    CKpDirn n;
    if (GetMidpt(&m) != 0 || GetNormal(&n) != 0) return -1;
    moved(m, n, d).Get(out);
    return 0;
}

int CKpElem::GetSubdomain(CKpFacetStore* facets, int* sbdmn, int* dnfg) const {
    if (sbdmn) *sbdmn = 0;
    if (dnfg) *dnfg = 0;
    if (!sbdmn || !dnfg) return -1;
    if (!facets) return 1;
    const CKpFacet* f = facetAt(facets, 0);
    if (!f) return 2;
    *sbdmn = f->getSbdmn();
    *dnfg = f->getSbdmndnfg();
    return 0;
}

int CKpElem::GetSelNeigh(CKpFacetStore* facets, CVekObjectStore<CVekObject>& ids) const {
    if (!facets) return 1;
    const int nfac = getnfac();
    for (int k = 0; k < nfac; ++k) {
        const CKpFacet* f = facetAt(facets, k);
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            const CKpFacet* g = facets->pFac(f->getNeigh(e));
            const CKpElem* el = g ? g->getElement() : nullptr;
            if (!el || el == this || !el->getSltd() || ids.find(el->id())) continue;
            CVekObject* obj = new (std::nothrow) CVekObject(el->id());
            if (!obj) return -1;
            if (ids.insert(obj) != 0) {
                delete obj;
                return -1;
            }
        }
    }
    return 0;
}

int CKpElem::GetSelectedNeigh(CKpMsg*, CKpFacetStore* facets, int* n, int ids[8], int edges[8],
                              int dnfgs[8], int pids[8]) const {
    if (!n || !ids || !edges || !dnfgs || !pids) return 1;
    for (int i = 0; i < 8; ++i) {
        ids[i] = 0;
        edges[i] = 0;
        dnfgs[i] = 0;
        pids[i] = 0;
    }
    *n = 0;
    // Only shells have edges; each has at most 8 perimeter segments.
    if (!isShell() || !facets) return 1;
    *n = getnnod();
    for (int i = 0; i < *n; ++i) {
        int k = -1;
        int fe = -1;
        GetFacOnEdge(i, k, fe);
        const CKpFacet* f = facetAt(facets, k);
        if (!f) continue;
        const CKpFacet* g = facets->pFac(f->getNeigh(fe));
        const int ge = f->GetNeighEdge(fe);
        if (!g || ge < 0) continue;
        CKpElem* el = nullptr;
        int elEdge = -1;
        g->GetElemOnEdge(ge, &el, elEdge);
        if (!el) continue;
        ids[i] = el->id();
        edges[i] = elEdge;
        dnfgs[i] = f->GetNeighDnfg(fe);
        pids[i] = el->pid();
    }
    return 0;
}

int CKpElem::GetSelNeighAverageNormal(CKpFacetStore* facets, CKpDirn* normal) const {
    if (!facets || !normal) return 1;
    double area = 0.0;
    CKpDirn sum;
    if (GetArea(&area) != 0 || GetAverageNormal(&sum) != 0) return 1;
    sum.Scale(area);

    // Each facet has three links, so at most 3 x 8 neighbours.
    const CKpElem* counted[24];
    int nCounted = 0;
    const int nfac = getnfac();
    for (int k = 0; k < nfac; ++k) {
        const CKpFacet* f = facetAt(facets, k);
        if (!f) continue;
        for (int e = 0; e < 3; ++e) {
            const CKpFacet* g = facets->pFac(f->getNeigh(e));
            const CKpElem* el = g ? g->getElement() : nullptr;
            if (!el || el == this || !el->getSltd()) continue;
            bool seen = false;
            for (int c = 0; c < nCounted && !seen; ++c) seen = (counted[c] == el);
            if (seen) continue;
            counted[nCounted++] = el;
            double ag = 0.0;
            CKpDirn ng;
            if (el->GetArea(&ag) != 0 || el->GetAverageNormal(&ng) != 0) continue;
            ng.Scale(f->GetNeighDnfg(e) * 0.5 * ag);
            sum.Add(ng);
        }
    }
    sum.unitize();
    *normal = sum;
    return 0;
}

int CKpElem::plotOrient(CKpMsg*, CKpGra* gra, int dotColour, int colour1, double angle1,
                        int colour2, double angle2, double offset) const {
    if (!gra) return 1;
    CKpPoint mid;
    CKpDirn n;
    double area = 0.0;
    if (GetMidpt(&mid) != 0 || GetNormal(&n) != 0 || GetArea(&area) != 0) return 1;
    const CKpPoint c = moved(mid, n, offset);
    const double s = std::sqrt(area);
    if (dotColour != 0) {
        gra->select_pen(dotColour, 0.0);
        gra->SetPixel3d(&c);
    }
    const int colours[2] = {colour1, colour2};
    const double angles[2] = {angle1, angle2};
    const double halfLengths[2] = {0.25 * s, 0.125 * s};
    for (int k = 0; k < 2; ++k) {
        if (colours[k] == 0) continue;
        CKpDirn u;
        if (GetDirection(angles[k], u) != 0) return 1;
        const CKpPoint a = moved(c, u, -halfLengths[k]);
        const CKpPoint b = moved(c, u, halfLengths[k]);
        gra->select_pen(colours[k], 0.0);
        gra->MoveTo3d(&a);
        gra->LineTo3d(&b);
    }
    return 0;
}

int CKpElem::PlotEdge(CKpMsg*, CKpGra* gra, int segment, int colour, double shrink) const {
    if (!gra) return -1;
    CKpPoint p[4];
    CKpPoint mid;
    const int nv = corners(p);
    if (nv == 0 || GetMidpt(&mid) != 0) return -1;
    float points[12];
    for (int c = 0; c < nv; ++c) {
        CKpPoint q = mid;
        q.Scale(shrink);
        CKpPoint corner = p[c];
        corner.Scale(1.0 - shrink);
        q.Add(corner);
        q.fvals(points + 3 * c);
    }
    gra->GraSetColor(colour);
    gra->GraDrawPolygon(segment, 0, colour, 0.0f, nv, points);
    return 0;
}

int CKpElem::PlotEdgeThick(CKpMsg*, CKpGra* gra, int mode, int segment, int colour,
                           CKpFacetStore* facets, double offset, double thickness) const {
    if (!gra) return 1;
    CKpPoint p[4];
    CKpDirn n;
    const int nv = corners(p);
    if (nv == 0 || GetNormal(&n) != 0) return 1;
    if (mode != 0 && (mode != 1 || !facets)) return 0;

    CKpPoint bottom[4];
    CKpPoint top[4];
    for (int c = 0; c < nv; ++c) {
        const CKpPoint q = moved(p[c], n, offset);
        bottom[c] = moved(q, n, -thickness / 2.0);
        top[c] = moved(q, n, thickness / 2.0);
    }
    const bool quadratic = (gmtp == 2 || gmtp == 12);
    for (int i = 0; i < nv; ++i) {
        if (mode == 1) {
            // The side's first perimeter segment decides: inside a region of
            // one laminate the band is not drawn.
            int k = -1;
            int fe = -1;
            GetFacOnEdge(quadratic ? 2 * i : i, k, fe);
            const CKpFacet* f = facetAt(facets, k);
            bool draw = true;
            if (f && f->getNeighn(fe) == 1) {
                const CKpFacet* g = facets->pFac(f->getNeigh(fe));
                const CKpElem* el = g ? g->getElement() : nullptr;
                draw = !el || el->pid() != m_pid;
            }
            if (!draw) continue;
        }
        const int j = (i + 1) % nv;
        float points[12];
        bottom[i].fvals(points);
        bottom[j].fvals(points + 3);
        top[j].fvals(points + 6);
        top[i].fvals(points + 9);
        gra->GraSetColor(colour);
        gra->GraDrawPolygon(segment, 0, colour, 0.0f, 4, points);
    }
    return 0;
}

int CKpElem::PlotPlyOrient(CKpMsg* msg, CKpGra* gra, const CKpElemLypPly* ply, double offset,
                           int colour) const {
    if (!ply || !gra) return 1;
    switch (ply->lyrtp()) {
        case 1:
            return plotOrient(msg, gra, colour, 0, 0.0, 0, 0.0, offset);
        case 2:
        case 4:
            return plotOrient(msg, gra, 0, colour, ply->rotn(), 0, 0.0, offset);
        case 3:
        case 5:
            return plotOrient(msg, gra, 0, colour, ply->rotn(), colour,
                              ply->rotn() + ply->wpwtang(), offset);
        default:
            return 0;
    }
}
