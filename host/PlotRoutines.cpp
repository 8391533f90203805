#include "host/PlotRoutines.h"

#include <cmath>

#include "host/CKpGra.h"
#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CalcMaxstrna.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

void report(CKpMsg* msg, const char* text) {
    if (msg) msg->Create(4, "%s", text);
}

int band(double x, const double limits[3]) {
    if (x < limits[0]) return 0;
    if (x < limits[1]) return 1;
    if (x < limits[2]) return 2;
    return 3;
}

const int kBandColour[4] = {1, 6, 4, 7};

// a + t (b - a)
CKpPoint lerp(const CKpPoint& a, const CKpPoint& b, double t) {
    CKpPoint q;
    q.Set(a.getx() + t * (b.getx() - a.getx()), a.gety() + t * (b.gety() - a.gety()),
          a.getz() + t * (b.getz() - a.getz()));
    return q;
}

// Where the fibre leaving `p` in direction d ends; its own position when
// it never ran out that way.
const CKpPoint& fibreEnd(const CKpDrapePt* p, int d) {
    return p->EndFracSet(d) ? p->GetEndPoint(d) : p->GetPoint();
}

// One grid line through `p` at (u, v) in direction d (0 +u, 1 +v), with its
// backward end when it is not joined backwards.
void drawGridLine(CKpGra* gra, CKpDrape* drape, const CKpDrapePt* p, int u, int v, int d,
                  const double limits[3]) {
    const double s = p->GetStrn();
    if (!p->GetJoined(d + 2))
        PlotDrapedPatternSeg(gra, &fibreEnd(p, d + 2), s, &p->GetPoint(), s, limits);
    const CKpDrapePt* next =
        p->GetJoined(d) ? drape->pDrapePt(u + (d == 0), v + (d == 1)) : nullptr;
    if (next)
        PlotDrapedPatternSeg(gra, &p->GetPoint(), s, &next->GetPoint(), next->GetStrn(), limits);
    else
        PlotDrapedPatternSeg(gra, &p->GetPoint(), s, &fibreEnd(p, d), s, limits);
}

// Shells (geometry types 1, 2, 11, 12) with every node linked.
bool drawable(const CKpElem* elem) {
    const int g = elem->getgmtp();
    if (g != 1 && g != 2 && g != 11 && g != 12) return false;
    const int n = elem->getnnod();
    if (n < 1 || n > 8) return false;
    for (int i = 0; i < n; ++i)
        if (!elem->getckpnodes(i)) return false;
    return true;
}

}  // namespace

int MaterialColour(int m) {
    // In 64 bits so that INT_MIN does not overflow.
    long long r = (static_cast<long long>(m) - 1) % 15;
    if (r < 0) r += 15;
    return static_cast<int>(r) + 1;
}

int PlotBoundary(CKpGra* gra, CKpFacetStore* facets, CKpBdy* ring, int colour) {
    if (!gra || !facets || !ring) return 0;
    gra->select_segment(6);
    const CKpBdy* seg = ring;
    do {
        const CKpFacet* facet = facets->pFac(seg->getFacet());
        if (facet) {
            const int e = seg->getEdge();
            int pen = colour;
            if (facet->getNeigh(e) != -1) pen = facet->getNedge(e) < 0 ? 2 : 6;
            gra->select_pen(pen, 0.0);
            gra->MoveTo3d(facet->getCKpPoint(seg->vx0()));
            gra->LineTo3d(facet->getCKpPoint(seg->vx1()));
        }
        seg = seg->Next();
    } while (seg && seg != ring);
    return 0;
}

int PlotInnerBoundaries(CKpGra* gra, CKpFacetStore* facets, CKpBdyStore* bdys) {
    if (!bdys) return 0;
    for (int i = 0; CKpBdy* ring = bdys->pIntrBdy(i); ++i) PlotBoundary(gra, facets, ring, 6);
    return 0;
}

int PlotDrapedPatternPen(CKpGra* gra, int mode, int colour, double value) {
    if (!gra) return 0;
    if (mode == 0) {
        const double r = std::fabs(value);
        gra->select_pen(r < 0.5 ? 1 : (r < 1.0 ? 6 : 4), 0.0);
    } else if (mode == 3) {
        gra->select_pen(colour, value);
    } else {
        gra->select_pen(colour, 0.0);
    }
    return 0;
}

int PlotDrapedPatternSeg(CKpGra* gra, const CKpPoint* p1, double s1, const CKpPoint* p2, double s2,
                         const double limits[3]) {
    if (!p1 || !p2 || !limits) return -1;
    if (!gra) return 0;
    if (!std::isfinite(s1) || !std::isfinite(s2)) {
        // No cut point can be placed on an unknown shear.
        gra->select_pen(7, 0.0);
        gra->MoveTo3d(p1);
        gra->LineTo3d(p2);
        return 0;
    }
    const bool swap = std::fabs(s1) > std::fabs(s2);
    const CKpPoint& a = swap ? *p2 : *p1;
    const CKpPoint& b = swap ? *p1 : *p2;
    const double lo = std::fabs(swap ? s2 : s1);
    const double hi = std::fabs(swap ? s1 : s2);
    const int first = band(lo, limits);
    int k = band(hi, limits) - first + 1;
    if (k < 1) k = 1;  // limits out of order
    gra->MoveTo3d(&a);
    for (int i = 0; i < k; ++i) {
        gra->select_pen(kBandColour[first + i], 0.0);
        if (i + 1 < k) {
            const CKpPoint q = lerp(a, b, (limits[first + i] - lo) / (hi - lo));
            gra->LineTo3d(&q);
        } else {
            gra->LineTo3d(&b);
        }
    }
    return 0;
}

int PlotDrapedPatternOld(CKpMsg* msg, CKpGra* gra, CKpDrape* drape, CKpPat* pat) {
    if (!pat) {
        report(msg, "No pattern data defined.");
        return -1;
    }
    const int type = pat->lyrtp();
    if (type != 3 && type != 4) {
        report(msg, "No draped pattern defined.");
        return -1;
    }
    if (!drape) return 0;
    double limits[3];
    CalcMaxstrna(pat->maxstrn(), limits);
    if (gra) gra->select_segment(1);
    int umin = 0, umax = -1, vmin = 0, vmax = -1;
    drape->GetBounds(umin, umax, vmin, vmax);
    for (int v = vmin; v <= vmax; ++v)
        for (int u = umin; u <= umax; ++u)
            if (const CKpDrapePt* p = drape->pDrapePt(u, v))
                drawGridLine(gra, drape, p, u, v, 0, limits);
    if (type == 3)
        for (int u = umin; u <= umax; ++u)
            for (int v = vmin; v <= vmax; ++v)
                if (const CKpDrapePt* p = drape->pDrapePt(u, v))
                    drawGridLine(gra, drape, p, u, v, 1, limits);
    return 0;
}

int PlotOutlineOld(CKpGra* gra, CKpDrape* drape, CKpOln* outline) {
    if (!outline || !drape) return -1;
    if (!gra) return 0;
    gra->select_segment(5);
    gra->select_pen(2, 0.0);
    const CKpDrapePt* start = drape->pDrapePt(outline->getU(), outline->getV());
    if (start) gra->MoveTo3d(&start->GetPoint());
    const CKpOln* entry = outline;
    do {
        if (const CKpDrapePt* p = drape->pDrapePt(entry->getU(), entry->getV()))
            gra->LineTo3d(&p->GetPoint());
        entry = entry->Next();
    } while (entry && entry != outline);
    if (start) gra->LineTo3d(&start->GetPoint());
    return 0;
}

int PlotFlatPatternMat(const CKpDirn& eye, const CKpDirn& ref, double angle, double matrix[3][3]) {
    CKpDirn w;
    w.Set(-eye.getx(), -eye.gety(), -eye.getz());
    w.unitize();
    CKpDirn r = ref;
    rotate_dirn_dirn(&w, &ref, angle, &r);
    CKpDirn e2;
    e2.setCrossProduct(&w, &r);
    e2.unitize();
    CKpDirn e1;
    e1.setCrossProduct(&e2, &w);
    e1.unitize();
    const CKpDirn* rows[3] = {&e1, &e2, &w};
    for (int i = 0; i < 3; ++i) {
        matrix[i][0] = rows[i]->getx();
        matrix[i][1] = rows[i]->gety();
        matrix[i][2] = rows[i]->getz();
    }
    return 0;
}

int PlotFlatPatternTrans(const double matrix[3][3], const CKpPoint* origin, CKpPoint* point) {
    if (!matrix || !origin || !point) return -1;
    const double p[3] = {point->getx(), point->gety(), point->getz()};
    double q[3];
    for (int j = 0; j < 3; ++j)
        q[j] = (j == 0   ? origin->getx()
                : j == 1 ? origin->gety()
                         : origin->getz()) +
               p[0] * matrix[0][j] + p[1] * matrix[1][j] + p[2] * matrix[2][j];
    point->Set(q[0], q[1], q[2]);
    return 0;
}

CKpPoint PointTrans(const CKpPoint* point, const double* shift, CKpPoint* out) {
    if (!point) return CKpPoint();
    if (!shift || !out) return *point;
    out->Set(point->getx() + shift[0], point->gety() + shift[1], point->getz() + shift[2]);
    return *out;
}

int PlotFlatPatternL(CKpMsg* msg, CKpGra* gra, CKpPat* pat, CKpFlatPatStore* flats) {
    if (!flats || !flats->First()) {
        report(msg, "No flat pattern defined.");
        return -1;
    }
    if (!pat) {
        report(msg, "No pattern data defined.");
        return -1;
    }
    if (pat->lyrtp() != 3 && pat->lyrtp() != 4) {
        if (msg) msg->Create(4, "No flat pattern for ply type %d.", pat->lyrtp());
        return -1;
    }
    CKpPoint origin;
    origin.Set(pat->eyex(), pat->eyey(), pat->eyez());
    CKpDirn eye, ref;
    eye.Set(pat->eyedx(), pat->eyedy(), pat->eyedz());
    ref.Set(pat->refdx(), pat->refdy(), pat->refdz());
    double m[3][3];
    PlotFlatPatternMat(eye, ref, pat->refang(), m);
    const double h = pat->stepUsed();
    // Grid point (u, v) in model space.
    auto at = [&](double u, double v) {
        CKpPoint p;
        p.Set(h * u, h * v, 0.0);
        PlotFlatPatternTrans(m, &origin, &p);
        return p;
    };
    if (!gra) return 0;

    double umin = 0.0, umax = 0.0, vmin = 0.0, vmax = 0.0;
    flats->First()->GetPoints().GetBounds(umin, umax, vmin, vmax);
    gra->select_segment(2);
    gra->select_pen(7, 0.0);
    CKpPoint a = at(umin, 0.0), b = at(umax, 0.0);
    gra->MoveTo3d(&a);
    gra->LineTo3d(&b);
    const double wwAngle = pat->stwpwtang();
    const double sinb = std::sin(wwAngle);
    if (std::fabs(sinb) < 1e-9) {
        // A pattern read from a file may carry any angle: no weft direction.
        if (msg)
            msg->Create(2, "Warp-weft angle %g gives no weft axis; it is not drawn.",
                        degrees(wwAngle));
    } else {
        const double cotb = std::cos(wwAngle) / sinb;
        a = at(vmin * cotb, vmin);
        b = at(vmax * cotb, vmax);
        gra->MoveTo3d(&a);
        gra->LineTo3d(&b);
    }
    gra->select_pen(6, 0.0);
    for (CKpFlatPat* flat = flats->First(); flat; flat = flats->Next(flat)) {
        bool first = true;
        for (const CKpFlatPatPt* p = flat->GetPoints().First(); p; p = p->getNext()) {
            if (p->getPlot() == 0) continue;
            const CKpPoint q = at(p->getU(), p->getV());
            if (first)
                gra->MoveTo3d(&q);
            else
                gra->LineTo3d(&q);
            first = false;
        }
    }
    return 0;
}

int PlotElems(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore*, int all,
              const double* offset, int mode, int colour, int segment) {
    if (mode != 7 && mode != 11) {
        report(msg, "Unsupported mode.");
        return -1;
    }
    if (!elems || !gra) return 0;
    if (mode == 7) {
        gra->select_segment(segment);
        gra->select_pen(colour, 0.0);
    }
    float xyz[3 * 8];
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* elem = it.key();
        if (!elem || (all == 0 && elem->getSltd() == 0) || !drawable(elem)) continue;
        const int n = elem->getnnod();
        CKpPoint pts[8];
        for (int i = 0; i < n; ++i) {
            CKpPoint shifted;
            pts[i] = PointTrans(elem->getckpnodes(i)->getCKpPoint(), offset, &shifted);
        }
        if (mode == 7) {
            gra->MoveTo3d(&pts[0]);
            for (int i = 1; i < n; ++i) gra->LineTo3d(&pts[i]);
            gra->LineTo3d(&pts[0]);
        } else {
            for (int i = 0; i < n; ++i) pts[i].fvals(xyz + 3 * i);
            gra->GraDrawPolygon(segment, elem->id(), colour, 0.0f, n, xyz);
        }
    }
    return 0;
}

int PlotFacets(CKpGra* gra, CKpFacetStore* facets) {
    if (!gra || !facets) return 0;
    gra->select_segment(6);
    gra->select_pen(4, 0.0);
    for (int f = 0; f < facets->entries(); ++f) {
        const CKpFacet* facet = facets->pFac(f);
        if (!facet) continue;
        for (int e = 0; e < 3; ++e) {
            if (facet->getNedge(e) != -1) continue;
            const CKpPoint* a = facet->getCKpPoint(e);
            const CKpPoint* b = facet->getCKpPoint((e + 1) % 3);
            if (!a || !b) continue;
            gra->MoveTo3d(a);
            gra->LineTo3d(b);
        }
    }
    return 0;
}

int PlotPlyElemAngles(CKpMsg* msg, CKpGra* gra, CKpPatElemStore* patElems, int type, int colour) {
    if (!gra || !patElems) return 0;
    gra->select_segment(3);
    for (CKpPatElem* pe = patElems->First(); pe; pe = patElems->Next(pe)) {
        const CKpElem* elem = pe->pelem();
        if (!elem) continue;
        switch (type) {
            case 1:
                elem->plotOrient(msg, gra, colour, 0, 0.0, 0, 0.0, 0.0);
                break;
            case 2:
            case 4:
                elem->plotOrient(msg, gra, 0, colour, pe->warpAngle(), 0, 0.0, 0.0);
                break;
            case 3:
            case 5:
                elem->plotOrient(msg, gra, 0, colour, pe->warpAngle(), colour, pe->weftAngle(),
                                 0.0);
                break;
            default:
                break;
        }
    }
    return 0;
}

int PlotPlyAngles(CKpMsg* msg, CKpGra* gra, CKpPatStore* pats, CKpPlyStore* plies,
                  const char* plyName) {
    CKpPly* ply = plies && plyName ? plies->findByName(plyName) : nullptr;
    if (!ply) {
        report(msg, "Could not find specified layer.");
        return -1;
    }
    CKpPat* pat = pats ? pats->find(ply->pttrnid()) : nullptr;
    if (!pat) {
        report(msg, "Could not find specified pattern 7");
        return -1;
    }
    const int colour = ply->pMat() ? MaterialColour(ply->pMat()->id()) : 1;
    PlotPlyElemAngles(msg, gra, pat->PatElems(), pat->lyrtp(), colour);
    return 0;
}

int PlotSurfaceAngles(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems) {
    if (!gra || !elems) return 0;
    gra->select_segment(4);
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        const CKpElem* elem = it.key();
        const CKpElemLypPlyStore* stack = elem ? elem->getElemLypPlies() : nullptr;
        if (!stack || !stack->First()) continue;
        const CKpElemLypPly* bottom = stack->First();
        const CKpElemLypPly* top = stack->Last();
        elem->PlotPlyOrient(msg, gra, bottom, elem->off(), MaterialColour(bottom->mtrl()));
        elem->PlotPlyOrient(msg, gra, top, elem->off() + elem->thck(), MaterialColour(top->mtrl()));
    }
    return 0;
}

int PlotLayupElement(CKpMsg* msg, CKpGra* gra, CKpElem* elem, int orients, int thicks, double scale,
                     double gap) {
    if (!elem) return -1;
    if (!gra) return 0;
    gra->select_segment(8);
    const CKpElemLypPlyStore* stack = elem->getElemLypPlies();
    if (!stack || !stack->First()) return 0;
    if (orients) {
        double z = elem->off();
        for (const CKpElemLypPly* p = stack->First(); p; p = stack->Next(p)) {
            const double t = p->thck();
            const double mid = z + t / 2.0;
            elem->PlotPlyOrient(msg, gra, p, mid * scale, MaterialColour(p->mtrl()));
            z = mid + t / 2.0;
        }
    }
    if (thicks) {
        double z = elem->off();
        for (const CKpElemLypPly* p = stack->First(); p; p = stack->Next(p)) {
            const double t = p->thck();
            const double mid = z + t / 2.0;
            elem->PlotEdgeThick(msg, gra, 0, 8, MaterialColour(p->mtrl()), nullptr, mid * scale,
                                t * scale * (1.0 - gap));
            z = mid + t / 2.0;
        }
    }
    return 0;
}
