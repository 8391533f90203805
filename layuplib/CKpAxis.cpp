#include "layuplib/CKpAxis.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {
constexpr int kInitialSlots = 512;
constexpr int kGrowth = 128;

// p = a + t (b - a).
CKpPoint lerp(const CKpPoint& a, const CKpPoint& b, double t) {
    CKpPoint p;
    for (int k = 0; k < 3; ++k) p.Set(k, a.Get(k) + t * (b.Get(k) - a.Get(k)));
    return p;
}

// The line through the end points of segment i (points i-1 and i) of an axis;
// false when either point is missing.
bool segmentLine(const CKpAxis& axis, int i, CKpLine* line) {
    const CKpAxisPt* a = axis.pAxisPt(i - 1);
    const CKpAxisPt* b = axis.pAxisPt(i);
    if (!a || !b) return false;
    line->Set2Points(&a->getPosition(), &b->getPosition());
    return true;
}

// Length along the axis at parameter s of segment i.
double lengthAt(const CKpAxis& axis, int i, double s) {
    const double l0 = axis.pAxisPt(i - 1)->getLength();
    return l0 + s * (axis.pAxisPt(i)->getLength() - l0);
}

// Closest approach of segment i of A and segment j of B, with every output
// of the intersection operations.
struct Approach {
    CKpPoint p;
    double sA = 0.0, sB = 0.0, dist = 1e12;
};

bool approach(const CKpAxis& A, int i, const CKpAxis& B, int j, Approach* out) {
    CKpLine la, lb;
    if (!segmentLine(A, i, &la) || !segmentLine(B, j, &lb)) return false;
    la.DistLine(lb, &out->sA, &out->sB, &out->p, nullptr, &out->dist);
    return true;
}

// Writes the outputs for the pair (i, j) of A and B.
void writeResult(const CKpAxis& A, const CKpAxis& B, int i, int j, const Approach& r,
                 CKpPoint* point, double* sA, double* sB, double* lA, double* lB, double* distance,
                 double* angle) {
    if (point) *point = r.p;
    if (sA) *sA = r.sA;
    if (sB) *sB = r.sB;
    if (lA) *lA = lengthAt(A, i, r.sA);
    if (lB) *lB = lengthAt(B, j, r.sB);
    if (distance) *distance = r.dist;
    if (angle)
        *angle = ang_4pts(&A.pAxisPt(i - 1)->getPosition(), &A.pAxisPt(i)->getPosition(),
                          &B.pAxisPt(j - 1)->getPosition(), &B.pAxisPt(j)->getPosition());
}

// Axis-aligned box of a segment grown by `pad` on every side. A segment
// with a missing point, a NaN coordinate or a NaN bound (infinite
// coordinates) gets the whole space: it is never found apart.
struct Box {
    double lo[3], hi[3];
};

// True when the boxes are apart in some coordinate.
bool apart(const Box& a, const Box& b) {
    for (int k = 0; k < 3; ++k)
        if (a.lo[k] > b.hi[k] || b.lo[k] > a.hi[k]) return true;
    return false;
}

// Every pair of A's segments 1..ia with B's segments 1..ib, in the order
// (1, 1), (1, 2), ..., (ia, ib); the first pair that crosses wins; false
// when none.
//
// A crossing needs the closest points of the two lines on both segments
// (parameters in [0, 1]) and less than `tol` apart, so the segments' boxes,
// each grown by half of `tol`, overlap. Pairs whose boxes do not are
// skipped without computing their approach: this keeps the search close to
// linear for long axes, and gives the pair the full search would give. The
// boxes are grown a little more than tol / 2 (by 1e-9 of the coordinates'
// magnitude), far beyond the rounding of the approach's points and
// distance, so that no pair the exact test accepts is ever skipped.
// The largest coordinate magnitude of points 0..n of an axis (as std::fmax:
// a NaN is passed over; missing points are too).
double largestCoordinate(const CKpAxis& axis, int n) {
    double m = 0.0;
    for (int i = 0; i <= n; ++i) {
        const CKpAxisPt* p = axis.pAxisPt(i);
        if (!p) continue;
        const CKpPoint& q = p->getPosition();
        const double a0 = std::fabs(q.getx()), a1 = std::fabs(q.gety()), a2 = std::fabs(q.getz());
        if (a0 > m) m = a0;
        if (a1 > m) m = a1;
        if (a2 > m) m = a2;
    }
    return m;
}

// A raw box grown by `pad`; the whole space when its bounds are then not
// in order.
inline Box grown(const Box& box, double pad) {
    const double inf = std::numeric_limits<double>::infinity();
    const Box g = {{box.lo[0] - pad, box.lo[1] - pad, box.lo[2] - pad},
                   {box.hi[0] + pad, box.hi[1] + pad, box.hi[2] + pad}};
    const bool ordered = (g.lo[0] <= g.hi[0]) & (g.lo[1] <= g.hi[1]) & (g.lo[2] <= g.hi[2]);
    return ordered ? g : Box{{-inf, -inf, -inf}, {inf, inf, inf}};
}

// The boxes of an axis' segments in turn, each grown by `pad`: the whole
// space for a segment with a missing point or a NaN coordinate. Each point
// is read once.
class SegmentBoxes {
  public:
    SegmentBoxes(const CKpAxis& axis, double pad) : m_axis(axis), m_pad(pad) { read(0); }

    // The box of segment i (points i - 1 and i); i = 1, 2, ... in turn.
    __attribute__((always_inline)) Box next(int i) {
        const double inf = std::numeric_limits<double>::infinity();
        const double x0 = m_c[0], x1 = m_c[1], x2 = m_c[2];
        const bool had = m_have;
        read(i);
        const double y0 = m_c[0], y1 = m_c[1], y2 = m_c[2];
        // Every test evaluated: the branches are not worth their misses.
        const int nan = int{std::isnan(x0)} | int{std::isnan(y0)} | int{std::isnan(x1)} |
                        int{std::isnan(y1)} | int{std::isnan(x2)} | int{std::isnan(y2)};
        if (!had || !m_have || nan != 0) return Box{{-inf, -inf, -inf}, {inf, inf, inf}};
        return grown({{std::min(x0, y0), std::min(x1, y1), std::min(x2, y2)},
                      {std::max(x0, y0), std::max(x1, y1), std::max(x2, y2)}},
                     m_pad);
    }

  private:
    void read(int i) {
        const CKpAxisPt* p = m_axis.pAxisPt(i);
        m_have = p != nullptr;
        if (p) p->getPosition().Get(m_c);
    }

    const CKpAxis& m_axis;
    double m_pad;
    double m_c[3] = {0.0, 0.0, 0.0};
    bool m_have = false;
};

bool firstCrossing(const CKpAxis& A, const CKpAxis& B, int ia, int ib, double tol, int* fi, int* fj,
                   Approach* out) {
    auto test = [&](int i, int j) {
        Approach r;
        if (!approach(A, i, B, j, &r)) return false;
        if (r.sA < 0.0 || r.sA > 1.0 || r.sB < 0.0 || r.sB > 1.0 || !(r.dist < tol)) return false;
        *fi = i;
        *fj = j;
        *out = r;
        return true;
    };
    // B's boxes (segment j at j - 1), then one box over each block of
    // kBlock of them; each of A's boxes is made when its turn comes.
    constexpr int kBlock = 16;
    const int nBlocks = (ib + kBlock - 1) / kBlock;
    // The boxes live on between calls: intersections come by the thousand.
    thread_local std::vector<Box> boxes;
    try {
        boxes.resize(static_cast<size_t>(ib) + static_cast<size_t>(nBlocks));
    } catch (const std::bad_alloc&) {
        // No room for the boxes: every pair the long way.
        for (int i = 1; i <= ia; ++i)
            for (int j = 1; j <= ib; ++j)
                if (test(i, j)) return true;
        return false;
    }
    Box* const boxB = boxes.data();
    Box* const blocks = boxB + ib;
    const double largestA = largestCoordinate(A, ia), largestB = largestCoordinate(B, ib);
    const double pad = 0.5 * tol + 1e-9 * (std::fabs(tol) + largestA + largestB);
    const double inf = std::numeric_limits<double>::infinity();
    SegmentBoxes alongB(B, pad);
    for (int b = 0; b < nBlocks; ++b) {
        Box& block = blocks[b];
        block = {{inf, inf, inf}, {-inf, -inf, -inf}};
        for (int j = b * kBlock + 1; j <= std::min(ib, (b + 1) * kBlock); ++j) {
            Box& box = boxB[j - 1];
            box = alongB.next(j);
            for (int k = 0; k < 3; ++k) {
                block.lo[k] = std::min(block.lo[k], box.lo[k]);
                block.hi[k] = std::max(block.hi[k], box.hi[k]);
            }
        }
    }
    SegmentBoxes alongA(A, pad);
    for (int i = 1; i <= ia; ++i) {
        const Box a = alongA.next(i);
        for (int b = 0; b < nBlocks; ++b) {
            if (apart(a, blocks[b])) continue;
            for (int j = b * kBlock + 1; j <= std::min(ib, (b + 1) * kBlock); ++j) {
                if (apart(a, boxB[j - 1])) continue;
                if (test(i, j)) return true;
            }
        }
    }
    return false;
}

bool countsOK(const CKpAxis& A, const CKpAxis& B, int ia, int ib) {
    return ia >= 1 && ib >= 1 && ia < A.entries() && ib < B.entries();
}

// The segment among 1..n that holds length L, else n.
int segmentHolding(const CKpAxis& axis, int n, double L) {
    for (int i = 1; i <= n; ++i) {
        const CKpAxisPt* a = axis.pAxisPt(i - 1);
        const CKpAxisPt* b = axis.pAxisPt(i);
        if (a && b && a->getLength() <= L && L <= b->getLength()) return i;
    }
    return n;
}

}  // namespace

CKpAxis::CKpAxis() : points(nullptr), capacity(0), count(0) {
    points = static_cast<CKpAxisPt**>(std::calloc(kInitialSlots, sizeof(CKpAxisPt*)));
    if (points) capacity = kInitialSlots;
}

CKpAxis::~CKpAxis() {
    for (int i = 0; i < count; ++i) delete points[i];
    for (int i = 0; i < spareCount; ++i) delete spare[i];
    std::free(points);
    std::free(spare);
}

int CKpAxis::storeGrowing(int i, CKpAxisPt* point) {
    if (i < 0 || i > kMaxSlot) return -1;
    if (i >= capacity) {
        const int grown = i + kGrowth;
        auto* array =
            static_cast<CKpAxisPt**>(std::calloc(static_cast<size_t>(grown), sizeof(CKpAxisPt*)));
        if (!array) return -1;
        if (points) std::memcpy(array, points, static_cast<size_t>(capacity) * sizeof(CKpAxisPt*));
        std::free(points);
        points = array;
        capacity = grown;
    }
    if (points[i]) return -1;  // a slot is written only while empty
    points[i] = point;
    if (i + 1 > count) count = i + 1;
    return 0;
}

void CKpAxis::reinit() {
    truncate(0);
}

void CKpAxis::truncate(int n) {
    if (n < 0) n = 0;
    int i = n;
    // While the spares have room for every point left, what keep does
    // without a test per point (an empty slot adds nothing).
    if (count - n <= spareCapacity - spareCount) {
        for (; i < count; ++i) {
            CKpAxisPt* p = points[i];
            points[i] = nullptr;
            spare[spareCount] = p;
            spareCount += p != nullptr;
        }
    }
    for (; i < count; ++i) {
        CKpAxisPt* p = points[i];
        points[i] = nullptr;
        if (!p) continue;
        if (spareCount < spareCapacity)  // what keep does when there is room
            spare[spareCount++] = p;
        else
            keep(p);
    }
    if (n < count) count = n;
}

CKpAxisPt* CKpAxis::newPoint() {
    return new (std::nothrow) CKpAxisPt;
}

void CKpAxis::keep(CKpAxisPt* p) {
    // No trace takes more points than the axis has slots.
    if (spareCount >= capacity) {
        delete p;
        return;
    }
    if (spareCount == spareCapacity) {
        auto* array = static_cast<CKpAxisPt**>(
            std::realloc(spare, static_cast<size_t>(capacity) * sizeof(CKpAxisPt*)));
        if (!array) {
            delete p;
            return;
        }
        spare = array;
        spareCapacity = capacity;
    }
    spare[spareCount++] = p;
}

int CKpAxis::GetPointFacet(double length, int i, CKpPoint* point, int* facet) const {
    const CKpAxisPt* a = pAxisPt(i - 1);
    const CKpAxisPt* b = pAxisPt(i);
    if (i < 1 || !a || !b) return -1;
    const double span = b->getLength() - a->getLength();
    double t;
    if (span != 0.0)
        t = (length - a->getLength()) / span;
    else if (length == a->getLength())
        t = 0.0;
    else
        return -1;
    if (!(t >= 0.0 && t <= 1.0)) return -1;
    if (point) *point = lerp(a->getPosition(), b->getPosition(), t);
    if (facet) *facet = a->getFacet();
    return 0;
}

int CKpAxis::CalcEdgepoint(int i, double step, double n, CKpPoint* point, double* steps) const {
    const CKpAxisPt* last = pAxisPt(i);
    const CKpAxisPt* first = pAxisPt(0);
    if (!last || !first || !point || !steps) return -1;
    const double L = step * n;
    if (L > last->getLength()) {
        *point = last->getPosition();
        *steps = step != 0.0 ? last->getLength() / step : 0.0;
        return 0;
    }
    if (L <= 0.0) {
        *point = first->getPosition();
        *steps = 0.0;
        return 0;
    }
    // Walk to the segment that holds L rather than extrapolating the last
    // one backwards off the surface.
    for (int j = 1; j <= i; ++j) {
        const CKpAxisPt* a = pAxisPt(j - 1);
        const CKpAxisPt* b = pAxisPt(j);
        if (!a || !b) return -1;
        if (b->getLength() < L) continue;
        const double span = b->getLength() - a->getLength();
        const double t = span > 0.0 ? (L - a->getLength()) / span : 0.0;
        *point = lerp(a->getPosition(), b->getPosition(), t);
        *steps = n;
        return 0;
    }
    return -1;  // not reached: L <= length(i)
}

int CKpAxis::PlotAxis(CKpGra* gra, int segment, int pen) const {
    const CKpAxisPt* first = pAxisPt(0);
    if (!gra || !first) return -1;
    gra->select_segment(segment);
    gra->select_pen(pen, 0.0);
    gra->MoveTo3d(&first->getPosition());
    for (int i = 1; i < count; ++i)
        if (const CKpAxisPt* p = points[i]) gra->LineTo3d(&p->getPosition());
    return 0;
}

int CKpAxis::GetStepSingle(const CKpMatGeom& geom, double step, int k, int m, double* angle,
                           int* du, int* dv, double* length) {
    if (k < 0 || k > 1 || m < 0 || m > 3 || !angle || !du || !dv || !length) return -1;
    const int row = k + 2 * m;
    const double a = geom.GetWarpWeftAngle();
    const double b1 = geom.GetWarpBiasAngle();
    const double b2 = geom.GetWarpBias2Angle();
    double ratio = 1.0;
    switch (row % 4) {
        case 1:
            ratio = geom.GetWarpBiasRatio();
            break;
        case 2:
            ratio = geom.GetWarpWeftRatio();
            break;
        case 3:
            ratio = geom.GetWarpBias2Ratio();
            break;
        default:
            break;
    }
    if (ratio == 0.0) return -1;
    static const int kDu[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static const int kDv[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    const double kAngle[8] = {0.0, b1, a, pi_pi(b2 + kPi), kPi, pi_pi(b1 + kPi), pi_pi(a + kPi),
                              b2};
    *angle = kAngle[row];
    *du = kDu[row];
    *dv = kDv[row];
    *length = step / ratio;
    return 0;
}

int CKpAxis::GetStepDouble(const CKpMatGeom& geom, double step, int k, double* angle, int* du,
                           int* dv, double* length) {
    if (k < 0 || k > 3) return -1;
    return GetStepSingle(geom, step, 0, k, angle, du, dv, length);
}

int CKpAxis::CalcIntPtAnylength(const CKpAxis& A, const CKpAxis& B, int& ia, int& ib, double tol,
                                CKpPoint* point, double* sA, double* sB, double* lA, double* lB,
                                double* distance, double* angle, int* sense) {
    if (!countsOK(A, B, ia, ib)) return -1;
    int i = 0, j = 0;
    Approach r;
    if (!firstCrossing(A, B, ia, ib, tol, &i, &j, &r)) return -1;
    ia = i;
    ib = j;
    writeResult(A, B, i, j, r, point, sA, sB, lA, lB, distance, angle);
    if (sense) *sense = A.pAxisPt(i - 1)->getSense() * B.pAxisPt(j - 1)->getSense();
    return 0;
}

int CKpAxis::CalcIntPt(const CKpAxis& A, const CKpAxis& B, int& ia, int& ib, double lengthA,
                       double lengthB, double tol, CKpPoint* point, double* sA, double* sB,
                       double* lA, double* lB, double* distance, double* angle, int* sense) {
    if (!countsOK(A, B, ia, ib)) {
        if (distance) *distance = 1e12;
        return -1;
    }
    int i = 0, j = 0;
    Approach r;
    if (firstCrossing(A, B, ia, ib, tol, &i, &j, &r)) {
        ia = i;
        ib = j;
        writeResult(A, B, i, j, r, point, sA, sB, lA, lB, distance, angle);
        if (sense) *sense = A.pAxisPt(i - 1)->getSense() * B.pAxisPt(j - 1)->getSense();
        return 0;
    }
    // Fallback: the closest approach around the wanted lengths, so that the
    // caller can still steer towards a crossing.
    i = segmentHolding(A, ia, lengthA);
    j = segmentHolding(B, ib, lengthB);
    if (!approach(A, i, B, j, &r)) {
        if (distance) *distance = 1e12;
        return -1;
    }
    ia = i;
    ib = j;
    writeResult(A, B, i, j, r, point, sA, sB, lA, lB, distance, angle);
    if (sense) *sense = 0;
    return -1;
}
