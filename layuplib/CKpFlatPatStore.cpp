#include "layuplib/CKpFlatPatStore.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpBdy.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPatPtBdyStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"
#include "layuplib/clear_pattern.h"

namespace {

// Below this a sine counts as zero: the fabric's two fibre families would
// run parallel and the flat coordinates would blow up.
const double kTinySine = 1e-9;

void report(CKpMsg* msg, int severity, const char* text) {
    if (msg) msg->Create(severity, "%s", text);
}

// Frees the outline on every path out of the cutout.
struct OutlineGuard {
    CKpOln* ring = nullptr;
    ~OutlineGuard() { DeleteOutline(ring); }
};

// Leaves no facet pointing at boundary segments that may be freed later.
struct FacetBdyGuard {
    CKpFacetStore* facets;
    ~FacetBdyGuard() { facets->InitBdy(); }
};

// The cutout point of drape point (i, j) in direction index d.
CKpFlatPatPt* cutoutPoint(const CKpDrapePt& pt, int i, int j, int d, double a, double r, double o) {
    CKpFlatPatPt* f = new (std::nothrow) CKpFlatPatPt;
    if (!f) return nullptr;
    // An unset end fraction means the fibre was not traced on from here: the
    // fabric ends at the point itself.
    const bool ended = pt.EndFracSet(d) != 0;
    const double e = ended ? pt.GetEndFrac(d) : 0.0;
    double p = i - o, q = j - o;
    switch (d) {
        case 0:
            p += e;
            break;
        case 1:
            q += e;
            break;
        case 2:
            p -= e;
            break;
        default:
            q -= e;
            break;
    }
    f->SetUV(p + std::cos(a) * q / r, std::sin(a) * q / r);
    if (ended) {
        f->SetPosition(pt.GetEndPoint(d));
        f->SetDirection(pt.GetEndDirn(d));
        f->SetFacet(pt.GetEndFacet(d));
        f->SetEdge(pt.GetEndEdge(d));
    } else {
        f->SetPosition(pt.GetPoint());
        f->SetFacet(pt.GetFacet());
    }
    f->SetShear(pt.GetStrn());
    f->SetExtension(d);
    return f;
}

// The angle (radians, facet frame) of the fibre leaving `pt` in direction
// index k; a side without its own angle takes the mean of the family.
// False when the family has no angle at all.
bool leavingAngle(const CKpDrapePt& pt, int k, double& angle) {
    if (pt.GetSideAng(k < 2 ? k + 2 : k - 2) != CKpDrapePt::kNoAngle) return pt.ang(k, angle) == 0;
    const double mean = (k % 2 == 0) ? pt.GetAveWarpAng(nullptr) : pt.GetAveWeftAng(nullptr);
    if (mean == CKpDrapePt::kNoAngle) return false;
    angle = k < 2 ? mean : pi_pi(kPi + mean);
    return true;
}

double distSq(const CKpPoint& a, const CKpPoint& b) {
    const double dx = b.getx() - a.getx(), dy = b.gety() - a.gety(), dz = b.getz() - a.getz();
    return dx * dx + dy * dy + dz * dz;
}

}  // namespace

int make_cutout(CKpMsg* msg, CKpDrape* grid, double a, double r, double o, CKpFlatPatStore* pats) {
    if (!pats) {
        report(msg, 4, "No flat pattern store for the cutout.");
        return -1;
    }
    pats->eraseAllObjects();
    if (!std::isfinite(a) || !std::isfinite(r) || !std::isfinite(o) || !(r > 0.0) ||
        std::fabs(std::sin(a)) < kTinySine) {
        if (msg) msg->Create(4, "Invalid warp-weft angle %g or ratio %g for the cutout.", a, r);
        return -1;
    }

    // 1. The outline of the joined grid.
    OutlineGuard outline;
    CalcOutline(msg, grid, outline.ring);
    if (!outline.ring) return -1;

    CKpFlatPat* pat = new (std::nothrow) CKpFlatPat;
    if (!pat) {
        report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    CKpFlatPatPtStore* chain = pat->pPoints();
    CKpFlatPatPt* tail = nullptr;
    int firstI = 0, firstJ = 0, firstD = -1;
    bool closed = false;

    // 2.-4. Sweep each entry's outer directions, chaining their points.
    const CKpOln* entry = outline.ring;
    do {
        const int i = entry->getU(), j = entry->getV();
        const CKpDrapePt* pt = grid->pDrapePt(i, j);
        const int d0 = entry->getArriving();
        int n = entry->getLeaving() - d0;
        if (n < 1) n += 8;
        for (int k = d0; pt && k <= d0 + n && !closed; ++k) {
            if (k % 2 != 0) continue;  // diagonals give no point
            const int d = (k % 8) / 2;
            if (pt->GetJoined(d)) continue;
            // Back at the first point: the loop is closed. Compared by the
            // point's source rather than by (u, v) alone, because two
            // unended directions of one corner share their (u, v).
            if (firstD == d && firstI == i && firstJ == j) {
                closed = true;
                break;
            }
            CKpFlatPatPt* f = cutoutPoint(*pt, i, j, d, a, r, o);
            if (!f) {
                delete pat;
                report(msg, 4, "Could not allocate memory.");
                return -1;
            }
            chain->InsertAfter(tail, f);
            tail = f;
            if (firstD < 0) {
                firstI = i;
                firstJ = j;
                firstD = d;
            }
        }
        entry = entry->Next();
    } while (!closed && entry && entry != outline.ring);

    // 5. Close the chain with a copy of its first point.
    if (!tail) {
        delete pat;
        report(msg, 4, "The drape outline gives no cutout point.");
        return -1;
    }
    CKpFlatPatPt* copy = new (std::nothrow) CKpFlatPatPt(*chain->First());
    if (!copy) {
        delete pat;
        report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    chain->InsertAfter(tail, copy);
    pats->InsertLast(pat);
    return 0;
}

int CKpFlatPatStore::Create(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrape* grid,
                            double wwAngle, double ratio, double mid, double step) {
    if (make_cutout(msg, grid, wwAngle, ratio, mid, this) != 0) {
        report(msg, 4, "Could not generate cutout");
        return -1;
    }
    CKpBdy* outer = bdys ? bdys->GetBdy(0) : nullptr;
    if (RefineFlatPattern(msg, facets, outer, First(), wwAngle, step) != 0) {
        report(msg, 4, "Could not refine flat pattern.");
        return -1;
    }
    if (MinimiseFlatPattern(First(), kPi / 36.0, 0.001) != 0) {
        report(msg, 4, "Could not minimize flat pattern.");
        return -1;
    }
    if (bdys && bdys->GetNumBdys() > 1 &&
        CreateInterior(msg, facets, bdys, grid, wwAngle, ratio, step) != 0) {
        report(msg, 2, "Could not create interior flat patterns.");
        return -1;
    }
    return 0;
}

int CKpFlatPatStore::CreateInterior(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys,
                                    CKpDrape* grid, double a, double r, double step) {
    if (!facets || !bdys || !grid) {
        report(msg, 4, "No surface, boundary or drape for interior flat patterns.");
        return -1;
    }
    if (!(r > 0.0) || !(step > 0.0) || !std::isfinite(r) || !std::isfinite(step) ||
        !std::isfinite(a)) {
        if (msg) msg->Create(4, "Invalid ratio %g or step %g for interior flat patterns.", r, step);
        return -1;
    }
    FacetBdyGuard clearLinks{facets};
    try {
        int umin, umax, vmin, vmax;
        grid->GetBounds(umin, umax, vmin, vmax);
        CKpAxis axis;  // one trace at a time, reused
        std::vector<CKpFlatPatPtBdy*> sorted;
        for (int h = 0; h < bdys->GetNumBdys() - 1; ++h) {
            CKpBdy* ring = bdys->pIntrBdy(h);
            const int nSeg = CKpBdyStore::GetNumSegs(ring);

            // 1. Link the hole's segments to their facet edges; points of
            // an earlier run would be found twice, so they go first.
            facets->InitBdy();
            CKpBdy* s = ring;
            for (int k = 0; k < nSeg; ++k, s = s->Next()) {
                if (CKpFlatPatPtBdyStore* pts = s->pFlatPatPts()) pts->eraseAllObjects();
                if (CKpFacet* f = facets->pFac(s->getFacet())) f->SetBdy(s->getEdge(), s);
            }

            // 2. One step from every drape point in each direction.
            for (int j = vmin; j <= vmax; ++j) {
                for (int i = umin; i <= umax; ++i) {
                    const CKpDrapePt* pt = grid->pDrapePt(i, j);
                    if (!pt || !facets->pFac(pt->GetFacet())) continue;
                    for (int k = 0; k < 4; ++k) {
                        double angle;
                        if (!leavingAngle(*pt, k, angle)) continue;
                        const double len = (k % 2 == 0) ? step : step / r;
                        // A trace that fails keeps the points it reached.
                        axis.make_axis(nullptr, facets, pt->GetPoint(), pt->GetFacet(),
                                       pt->GetDnfg() < 0 ? -1 : 1, angle, len);
                        for (int c = 1; c < axis.entries(); ++c) {
                            const CKpAxisPt* ap = axis.pAxisPt(c);
                            if (ap->getLength() > len * (1.0 + 1e-9)) break;
                            const CKpFacet* from = facets->pFac(ap->getFromFacet());
                            const int e = ap->getEdge();
                            CKpBdy* seg = (from && e >= 0 && e <= 2) ? from->GetBdy(e) : nullptr;
                            if (!seg) continue;
                            CKpFlatPatPtBdyStore* list = seg->pFlatPatPts();
                            CKpFlatPatPtBdy* f = new (std::nothrow) CKpFlatPatPtBdy;
                            if (!list || !f) {
                                delete f;
                                report(msg, 4, "Could not allocate memory.");
                                return -1;
                            }
                            const double du = CKpDrapePt::du(k, ap->getLength(), step);
                            const double dv = CKpDrapePt::dv(k, ap->getLength(), step / r);
                            f->SetUV(du + i + std::cos(a) * (dv + j) / r,
                                     std::sin(a) * (dv + j) / r);
                            CKpDirn dirn;
                            dirn.set2pts(&axis.pAxisPt(c - 1)->getPosition(), &ap->getPosition());
                            f->SetPosition(ap->getPosition());
                            f->SetDirection(dirn);
                            f->SetFacet(ap->getFromFacet());
                            f->SetEdge(e);
                            f->SetExtension(k);
                            f->SetShear(pt->GetStrn());
                            list->InsertLast(f);
                        }
                    }
                }
            }

            // 3.-4. Sort each segment's points along it and chain copies of
            // them in ring order.
            CKpFlatPat* pat = new (std::nothrow) CKpFlatPat;
            if (!pat) {
                report(msg, 4, "Could not allocate memory.");
                return -1;
            }
            InsertLast(pat);
            CKpFlatPatPtStore* chain = pat->pPoints();
            CKpFlatPatPt* tail = nullptr;
            s = ring;
            for (int k = 0; k < nSeg; ++k, s = s->Next()) {
                CKpFlatPatPtBdyStore* list = s->pFlatPatPts();
                const CKpFacet* f = facets->pFac(s->getFacet());
                const CKpPoint* start = f ? f->getCKpPoint(s->vx0()) : nullptr;
                if (!list || list->entries() == 0) continue;
                sorted.clear();
                while (CKpFlatPatPtBdy* p = list->DeleteFirst()) sorted.push_back(p);
                if (start)
                    std::stable_sort(sorted.begin(), sorted.end(),
                                     [start](const CKpFlatPatPtBdy* x, const CKpFlatPatPtBdy* y) {
                                         return distSq(*start, x->GetPosition()) <
                                                distSq(*start, y->GetPosition());
                                     });
                for (CKpFlatPatPtBdy* p : sorted) list->InsertLast(p);
                for (CKpFlatPatPtBdy* p : sorted) {
                    CKpFlatPatPt* copy = new (std::nothrow) CKpFlatPatPt(*p);
                    if (!copy) {
                        report(msg, 4, "Could not allocate memory.");
                        return -1;
                    }
                    chain->InsertAfter(tail, copy);
                    tail = copy;
                }
            }
            if (tail) {
                CKpFlatPatPt* copy = new (std::nothrow) CKpFlatPatPt(*chain->First());
                if (!copy) {
                    report(msg, 4, "Could not allocate memory.");
                    return -1;
                }
                chain->InsertAfter(tail, copy);
            }

            // 5. Refine and thin as the outer pattern.
            if (RefineFlatPattern(msg, facets, ring, pat, a, step) != 0) {
                report(msg, 2, "Could not refine flat pattern.");
                return -1;
            }
            if (MinimiseFlatPattern(pat, kPi / 36.0, 0.001) != 0) {
                report(msg, 2, "Could not minimize flat pattern.");
                return -1;
            }
        }
    } catch (const std::bad_alloc&) {
        report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}
