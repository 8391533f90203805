// The model's read-out operations on plies and on the current drape: the
// boundary and holes of a named ply (each call traces the ply's region
// afresh into a temporary boundary store and leaves the working surface
// selected as that region), the drape grid as numbered points with their
// four neighbours, the flat pattern as point rings, and the mapping between
// flat-pattern positions (u, v) and the draped surface. The drape queries
// read the workspace as it stands; CKpPly makes it current first.
//
// Output arrays belong to the caller; every size the caller gives is
// checked before anything is written to them.

#include <cmath>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/clear_pattern.h"
#include "layuplib/facet_query.h"

namespace {

const double kRadToDeg = 180.0 / std::acos(-1.0);

// Grid steps of the direction indices 0 +i, 1 +j, 2 -i, 3 -j, and the index
// opposite each.
const int kStepI[4] = {1, 0, -1, 0};
const int kStepJ[4] = {0, 1, 0, -1};
int opposite(int d) {
    return (d + 2) % 4;
}

// Calls f(i, j, point) for every existing drape point, rows j from the lowest
// to the highest, within a row i upwards.
template <typename F>
void forEachPoint(const CKpDrape* grid, F f) {
    int imin = 0, imax = 0, jmin = 0, jmax = 0;
    grid->GetBounds(imin, imax, jmin, jmax);
    for (int j = jmin; j <= jmax; ++j)
        for (int i = imin; i <= imax; ++i)
            if (CKpDrapePt* pt = grid->pDrapePt(i, j)) f(i, j, pt);
}

// Number of end points a point emits with mode 0: one per direction in which
// it is not joined.
int numEnds(const CKpDrapePt* pt) {
    int n = 0;
    for (int d = 0; d < 4; ++d)
        if (pt->GetJoined(d) == 0) ++n;
    return n;
}

// Output number of the point at (i, j); -1 when it is missing or dropped.
int outputNumber(const CKpDrape* grid, int i, int j) {
    const CKpDrapePt* pt = grid->pDrapePt(i, j);
    return (pt && pt->GetIx() > -1) ? pt->GetIx() : -1;
}

// The element of facet f; 0 when there is none.
int elemOfFacet(const CKpFacetStore* facets, int f) {
    const int id = facets->GetElemId(f);
    return id < 0 ? 0 : id;
}

// The current pattern's step in use and weft step, both positive; false
// (with the error) when the fabric geometry cannot place points.
bool patternSteps(CKpMsg* msg, const CKpPat* pat, double& step, double& weftStep) {
    step = pat->stepUsed();
    const double ratio = pat->WarpWeftRatio();
    weftStep = ratio > 0.0 ? step / ratio : 0.0;
    if (!(step > 0.0) || !(weftStep > 0.0) || !std::isfinite(step) || !std::isfinite(weftStep)) {
        msg->Create(4,
                    "The current draping simulation has no valid step length (%g) or warp/weft "
                    "ratio (%g).",
                    step, ratio);
        return false;
    }
    return true;
}

double distance(const CKpPoint& a, const CKpPoint& b) {
    return PointDistance(a.getx(), a.gety(), a.getz(), b.getx(), b.gety(), b.getz());
}

// The point `length` along a fibre traced from drape point `pt` at `angle`
// (its facet's angle frame) and the facet it lies on. False when the fibre
// stops (free or divided edge) before it gets there.
bool pointAlongFibre(CKpMsg* msg, const CKpFacetStore* facets, const CKpDrapePt* pt, double angle,
                     double length, CKpPoint& found, int& facet) {
    if (length <= 0.0) {
        found = pt->GetPoint();
        facet = pt->GetFacet();
        return true;
    }
    CKpAxis axis;
    const int sense = pt->GetDnfg() < 0 ? -1 : 1;
    int last = 0;
    if (axis.make_axis(msg, facets, pt->GetPoint(), pt->GetFacet(), sense, angle, length, &last) !=
        1)
        return false;
    // The trace usually runs past `length`; take the segment holding it.
    for (int i = 1; i < axis.entries(); ++i) {
        const CKpAxisPt* end = axis.pAxisPt(i);
        if (end && end->getLength() >= length)
            return axis.GetPointFacet(length, i, &found, &facet) == 0;
    }
    return false;
}

}  // namespace

// ---- ply boundary and holes

int CKpLayup::GetPlyBoundaryNum(const char* plyName, int* contours, int* points) {
    CKpBdyStore bdys(0);
    // Failures are logged; the counts are then left as they were.
    bdys.CreatePlyBoundary(&m_msg, &m_gra, pFacs(), pElems(), pPlys(), pPats(), plyName, contours,
                           points);
    return 0;
}

int CKpLayup::GetPlyBoundary(const char* plyName, int contours, int points, int* pointCounts,
                             double* xyz, int* nodeIds) {
    CKpBdyStore bdys(0);
    int nBdy = 0;
    int nPts = 0;
    bdys.CreatePlyBoundary(&m_msg, &m_gra, pFacs(), pElems(), pPlys(), pPats(), plyName, &nBdy,
                           &nPts);
    if (nBdy < 1 || nPts < 1) {
        m_msg.Create(4, "LayupGetPlyBoundary: There are no contours and points defined.");
        return -1;
    }
    if (contours != nBdy) {
        m_msg.Create(4,
                     "LayupGetPlyBoundary: The allocated contour array size %d is not equal to "
                     "the number of contours %d.",
                     contours, nBdy);
        return -1;
    }
    if (points != nPts) {
        m_msg.Create(4,
                     "LayupGetPlyBoundary: The allocated point array size %d is not equal to the "
                     "number of points %d.",
                     points, nPts);
        return -1;
    }
    return bdys.GetPoints(pFacs(), pointCounts, xyz, nodeIds) == 0 ? 0 : -1;
}

int CKpLayup::GetPlyHolesNum(const char* plyName, int* count) {
    CKpBdyStore bdys(0);
    bdys.CreatePlyBoundary(&m_msg, &m_gra, pFacs(), pElems(), pPlys(), pPats(), plyName, nullptr,
                           nullptr);
    if (count) *count = bdys.GetNumBdys() > 1 ? bdys.GetNumInteriorElements() : 0;
    return 0;
}

int CKpLayup::GetPlyHoles(const char* plyName, int count, int* elemIds) {
    CKpBdyStore bdys(0);
    if (bdys.CreatePlyBoundary(&m_msg, &m_gra, pFacs(), pElems(), pPlys(), pPats(), plyName,
                               nullptr, nullptr) != 0)
        return 1;
    // Refuses a count other than the number of interior elements.
    if (bdys.GetInteriorElementIds(count, elemIds) != 0) return 2;
    return 0;
}

// ---- draped pattern

int CKpLayup::GetDrapedPatternSizes(int mode, int* count) {
    if (!count) {
        m_msg.Create(4, "GetDrapedPatternSizes: The point count argument is missing.");
        return -1;
    }
    CKpDrape* grid = m_drapeSim.pDrape();
    // 1. Every point is in use until the outline drops it.
    *count = 0;
    forEachPoint(grid, [](int, int, CKpDrapePt* pt) { pt->SetIx(0); });

    // 2. Points that hang on by one join only are dropped (output number -1).
    if (mode != 0) {
        CKpOln* outline = nullptr;
        CalcOutline(&m_msg, grid, outline);
        if (outline) RemoveLonelyPoints(&m_msg, grid, outline);
        DeleteOutline(outline);
    }

    // 3. Points in use, and with mode 0 an end point per open direction.
    int n = 0;
    forEachPoint(grid, [&](int, int, CKpDrapePt* pt) {
        if (pt->GetIx() <= -1) return;
        n += 1 + (mode == 0 ? numEnds(pt) : 0);
    });
    *count = n;
    return 0;
}

int CKpLayup::GetDrapedPattern(int mode, int size, int* minusI, int* plusI, int* minusJ, int* plusJ,
                               int* elemIds, double* xyz, double* shear) {
    CKpDrape* grid = m_drapeSim.pDrape();
    CKpFacetStore* facets = pFacs();

    // 1. Output numbers: each point in use, followed with mode 0 by its end
    //    points in the order +i, +j, -i, -j.
    int n = 0;
    forEachPoint(grid, [&](int, int, CKpDrapePt* pt) {
        if (pt->GetIx() <= -1) return;
        pt->SetIx(n);
        n += 1 + (mode == 0 ? numEnds(pt) : 0);
    });

    // 2. Nothing is written unless every array can hold all of them.
    if (n > size) {
        m_msg.Create(4, "Number of points %d must not be greater than array size %d.", n, size);
        return -1;
    }
    if (n > 0 && (!minusI || !plusI || !minusJ || !plusJ || !elemIds || !xyz || !shear)) {
        m_msg.Create(4, "GetDrapedPattern: An output array is missing.");
        return -1;
    }

    // 3. The points, their neighbours and their end points.
    int* neighbours[4] = {plusI, plusJ, minusI, minusJ};
    auto put = [&](int k, const CKpPoint& p, int facet, double strain) {
        p.Get(xyz + 3 * static_cast<size_t>(k));
        elemIds[k] = elemOfFacet(facets, facet);
        shear[k] = strain * kRadToDeg;
    };
    forEachPoint(grid, [&](int i, int j, CKpDrapePt* pt) {
        const int k = pt->GetIx();
        if (k <= -1) return;
        put(k, pt->GetPoint(), pt->GetFacet(), pt->GetStrn());
        int extra = k;
        for (int d = 0; d < 4; ++d) {
            if (pt->GetJoined(d) != 0) {
                neighbours[d][k] = outputNumber(grid, i + kStepI[d], j + kStepJ[d]);
                continue;
            }
            if (mode != 0) {
                neighbours[d][k] = -1;
                continue;
            }
            const int e = ++extra;
            neighbours[d][k] = e;
            // A fibre that never ran out in this direction has no end
            // position: the end point stays on the point itself.
            if (pt->EndFracSet(d))
                put(e, pt->GetEndPoint(d), pt->GetEndFacet(d), pt->GetStrn());
            else
                put(e, pt->GetPoint(), pt->GetFacet(), pt->GetStrn());
            for (int o = 0; o < 4; ++o) neighbours[o][e] = (o == opposite(d)) ? k : -1;
        }
    });
    return 0;
}

// ---- flat pattern

int CKpLayup::GetFlatPatternSizes(int* rings, int* points) {
    CKpFlatPatStore* flats = m_drapeSim.pFlatPats();
    if (flats->entries() < 1) return -1;
    int n = 0;
    for (CKpFlatPat* pat = flats->First(); pat; pat = flats->Next(pat))
        n += pat->pPoints()->GetNumPlotPoints();
    if (rings) *rings = flats->entries();
    if (points) *points = n;
    return 0;
}

int CKpLayup::GetFlatPattern(int rings, int size, int* counts, double* xyz) {
    CKpFlatPatStore* flats = m_drapeSim.pFlatPats();
    const CKpPat* current = m_drapeSim.pPat();
    if (flats->entries() < 1 || !current) return -1;
    if (rings < 0 || size < 0 || (rings > 0 && !counts) || (size > 0 && !xyz)) {
        m_msg.Create(4, "GetFlatPattern: Invalid ring count %d or array size %d.", rings, size);
        return -1;
    }
    const double step = current->stepUsed();
    int written = 0;
    int r = 0;
    for (CKpFlatPat* pat = flats->First(); pat && r < rings; pat = flats->Next(pat), ++r) {
        int inRing = 0;
        for (const CKpFlatPatPt* p = pat->pPoints()->First(); p && written < size;
             p = p->getNext()) {
            if (p->getPlot() == 0) continue;
            double* out = xyz + 3 * static_cast<size_t>(written);
            out[0] = step * p->getU();
            out[1] = step * p->getV();
            out[2] = 0.0;
            ++written;
            ++inRing;
        }
        counts[r] = inRing;
    }
    for (; r < rings; ++r) counts[r] = 0;
    return 0;
}

// ---- mapping between the flat pattern and the draped surface

int CKpLayup::Get3DFrom2D(const double* uv, double* xyz, int* elemId) {
    // 1. The current drape.
    const CKpPat* pat = m_drapeSim.pPat();
    if (!pat) {
        m_msg.Create(4, "No current draping simulation.");
        return -1;
    }
    if (!uv || !xyz) {
        m_msg.Create(4, "Get3DFrom2D: A point argument is missing.");
        return -1;
    }
    double step = 0.0, weftStep = 0.0;
    if (!patternSteps(&m_msg, pat, step, weftStep)) return -1;

    // 2. Fractional grid position of the flat point.
    const CKpMatGeom geom(pat->stwpwtang(), pat->WarpWeftRatio(), step);
    double fu = 0.0, fv = 0.0;
    if (geom.GetFuFv(uv[0], uv[1], &fu, &fv) != 0 || !std::isfinite(fu) || !std::isfinite(fv) ||
        std::fabs(fu) > 1e6 || std::fabs(fv) > 1e6)
        return -1;
    const int i0 = static_cast<int>(std::floor(fu));
    const int j0 = static_cast<int>(std::floor(fv));

    // 3. From each corner of the fabric cell, the fibre path to the point.
    const CKpDrape* grid = m_drapeSim.pDrape();
    CKpFacetStore* facets = pFacs();
    const int corners[4][2] = {{i0, j0}, {i0, j0 + 1}, {i0 + 1, j0}, {i0 + 1, j0 + 1}};
    CKpPoint found[4];
    int foundFacet[4] = {-1, -1, -1, -1};
    int nFound = 0;
    for (const auto& c : corners) {
        const CKpDrapePt* pt = grid->pDrapePt(c[0], c[1]);
        const CKpFacet* facet = pt ? facets->pFac(pt->GetFacet()) : nullptr;
        if (!facet) continue;
        double angle = 0.0, length = 0.0;
        if (pt->GetAxisAngleLength(facet, (fu - c[0]) * step, (fv - c[1]) * weftStep, angle,
                                   length) != 0)
            continue;
        if (pointAlongFibre(&m_msg, facets, pt, angle, length, found[nFound], foundFacet[nFound]))
            ++nFound;
    }

    // 4. Their mean, on the element of the one nearest to it.
    if (nFound == 0) return -1;
    CKpPoint mean;
    for (int k = 0; k < nFound; ++k) mean.Add(found[k]);
    mean.Scale(1.0 / nFound);
    mean.Get(xyz);
    if (elemId) {
        int nearest = 0;
        for (int k = 1; k < nFound; ++k)
            if (distance(found[k], mean) < distance(found[nearest], mean)) nearest = k;
        *elemId = elemOfFacet(facets, foundFacet[nearest]);
    }
    return 0;
}

int CKpLayup::Get2DFrom3D(const double* xyz, double tolerance, double* uv) {
    // 1. The current drape.
    const CKpPat* pat = m_drapeSim.pPat();
    if (!pat) {
        m_msg.Create(4, "No current draping simulation.");
        return -1;
    }
    if (!xyz || !uv) {
        m_msg.Create(4, "Get2DFrom3D: A point argument is missing.");
        return -1;
    }
    double step = 0.0, weftStep = 0.0;
    if (!patternSteps(&m_msg, pat, step, weftStep)) return -1;

    // 2. The point on the selected surface.
    CKpFacetStore* facets = pFacs();
    CKpPoint given;
    given.Set(xyz);
    CKpPoint p;
    int facet = -1;
    if (CalcPointFacetsPointWobble(&m_msg, facets, given, facet, p) != 0) {
        m_msg.Create(4, "Cannot project 3D point onto selected surface.");
        return -1;
    }
    const double off = distance(given, p);
    if (off > tolerance) {
        m_msg.Create(4, "The projection distance of %g is greater than the distance tolerance %g.",
                     off, tolerance);
        return -1;
    }

    // 3. Every nearby drape point whose fabric cell holds p places it.
    const double a = pat->stwpwtang();
    const double r = step + weftStep;
    double sumU = 0.0, sumV = 0.0;
    int n = 0;
    forEachPoint(m_drapeSim.pDrape(), [&](int i, int j, CKpDrapePt* pt) {
        const double dist = distance(pt->GetPoint(), p);
        if (dist > r) return;
        double s = 0.0, t = 0.0;
        if (dist > 0.0) {
            const CKpFacet* f = facets->pFac(pt->GetFacet());
            double cw = 0.0, ct = 0.0;
            if (!f ||
                pt->GetWarpWeftComponents(&m_msg, f->GetAngle(&pt->GetPoint(), &p), cw, ct) != 0)
                return;
            s = cw * dist / step;
            t = ct * dist / weftStep;
        }
        if (std::fabs(s) > 1.0 || std::fabs(t) > 1.0) return;
        sumU += (i + s) * step + std::cos(a) * (j + t) * weftStep;
        sumV += std::sin(a) * (j + t) * weftStep;
        ++n;
    });

    // 4. Their mean.
    if (n == 0) return -1;
    uv[0] = sumU / n;
    uv[1] = sumV / n;
    return 0;
}
