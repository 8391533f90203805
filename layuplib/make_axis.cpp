// Tracing fibre axes over the faceted surface (the tracing members of
// CKpAxis) and the four start axes of a drape (CalcAxes).

#include "layuplib/make_axis.h"

#include <climits>
#include <cstddef>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

void report(CKpMsg* msg, int severity, const char* text) {
    if (msg) msg->Create(severity, "%s", text);
}

thread_local long long crossingsTraced = 0;

void noMemory(CKpMsg* msg) {
    report(msg, 4, "Could not allocate memory.");
}

// The three vertex positions of a facet; false when a node is missing.
bool vertices(const CKpFacet* f, const CKpPoint* v[3]) {
    for (int k = 0; k < 3; ++k)
        if (!(v[k] = f->getCKpPoint(k))) return false;
    return true;
}

// pi_pi for the differences of the tracing, which nearly always lie in
// [-pi, pi] already: there pi_pi gives its argument back.
inline double wrap(double a) {
    return (a >= -kPi && a <= kPi) ? a : pi_pi(a);
}

// Vertex (or edge) k + 1 and k + 2 of a triangle, k in 0..2.
inline int next3(int k) {
    return k == 2 ? 0 : k + 1;
}
inline int prev3(int k) {
    return k == 0 ? 2 : k - 1;
}

// Whether direction theta leaves through the edge whose end points lie at
// the polar angles aStart and aEnd: the edge's start side inclusive.
inline bool leavesBetween(double theta, double aStart, double aEnd) {
    return wrap(aEnd - theta) > 0.0 && wrap(theta - aStart) >= 0.0;
}

// A polar angle with its cosine and sine (std::cos and std::sin of it).
struct Polar {
    double a, c, s;
};

// The sine and cosine of 0 and pi as the maths library gives them (a
// volatile argument keeps the compiler from folding them another way).
double libSin(double a) {
    volatile double v = a;
    return std::sin(v);
}
double libCos(double a) {
    volatile double v = a;
    return std::cos(v);
}
const Polar kAtZero = {0.0, libCos(0.0), libSin(0.0)};
const Polar kAtPi = {kPi, libCos(kPi), libSin(kPi)};

inline Polar polar(double a) {
    return {a, std::cos(a), std::sin(a)};
}

// tan(theta) as the crossing below needs it (0 stands in for theta = 0,
// where the crossing takes no tangent).
inline double tangentFor(double theta) {
    return theta == 0.0 ? 0.0 : std::tan(theta);
}

// Where direction theta (tangent tn = tangentFor(theta)) from the polar
// origin meets the edge from A to B, given in polar form (r, angle): the
// edge parameter t (kept off the vertices so that the next facet is always
// well defined) and the crossing angle, the angle of the axis from the edge
// direction B -> A. The edge's own polar angle (that of B -> A, which
// depends on the edge alone) is taken from *edge when `known` is given and
// true, and left there with *known set when `known` is given and false.
inline void crossEdge(double theta, double tn, double rA, const Polar& pA, double rB,
                      const Polar& pB, double* t, double* angle, double* edge = nullptr,
                      bool* known = nullptr) {
    const double ax = rA * pA.c, ay = rA * pA.s;
    const double bx = rB * pB.c, by = rB * pB.s;
    // The parameter has three cases: cos(theta) = 0, sin(theta) = 0, and
    // the rest. No double has a cosine of exactly 0, and only 0 itself has
    // a sine of exactly 0, so the first case never arises and the second is
    // theta = 0.
    double s;
    if (theta == 0.0)
        s = -ay / (by - ay);
    else
        s = (tn * ax - ay) / ((by - ay) - (bx - ax) * tn);
    if (!(s >= 1e-12)) s = 1e-12;  // NaN (a degenerate edge) included
    if (s > 0.999999999999) s = 0.999999999999;
    *t = s;
    double phi;
    if (known && *known) {
        phi = *edge;
    } else {
        phi = std::atan2(ay - by, ax - bx);
        if (known) {
            *edge = phi;
            *known = true;
        }
    }
    *angle = wrap(theta - phi);
}

// What point 1 of a trace needs of its start point and facet whatever the
// trace's direction: each vertex's distance and polar angle seen from the
// start point in the facet's local axes, their cosines and sines, and the
// polar angle of each edge. A cell's trials leave the same two grid points
// in many directions; their traces share these values. Each is filled when
// first needed, by the expression a trace of its own would use, and an
// entry is used only for the same start point and vertex positions to the
// bit.
struct StartView {
    std::uint64_t key[12];  // the start point, then vertices 0, 1, 2
    bool filled = false;
    bool vertexKnown[3];
    bool polarKnown[3];
    bool edgeKnown[3];
    double r[3];
    Polar a[3];
    double edge[3];

    void reset() {
        for (int k = 0; k < 3; ++k) vertexKnown[k] = polarKnown[k] = edgeKnown[k] = false;
    }
};

// The key of a start point and its facet's vertices.
inline void startKey(const CKpPoint& P, const CKpPoint* const v[3], std::uint64_t key[12]) {
    double d[12];
    P.Get(d);
    v[0]->Get(d + 3);
    v[1]->Get(d + 6);
    v[2]->Get(d + 9);
    std::memcpy(key, d, sizeof d);
}

// Non-zero when the coordinates of p differ from key[0..2] in any bit.
inline std::uint64_t bitsDiffer(const CKpPoint& p, const double key[3]) {
    const double a[3] = {p.getx(), p.gety(), p.getz()};
    std::uint64_t u[3], w[3];
    std::memcpy(u, a, sizeof u);
    std::memcpy(w, key, sizeof w);
    return (u[0] ^ w[0]) | (u[1] ^ w[1]) | (u[2] ^ w[2]);
}

// The local axes x, y of triangles (those of SetAxes3Points), kept for the
// triangles traced through again and again: a drape traces its fibres over
// the same few facets many times. Slot by facet and first vertex; an entry
// is used only when the three vertex positions it was built from are the
// same to the bit, so that it is exactly what SetAxes3Points would give.
class Frames {
  public:
    // The axes of facet `facet` seen from vertex e, whose vertices e, e + 1
    // and e + 2 are p0, p1, p2: those held when held for these positions,
    // else made and held. They stay in the table, valid until the next
    // lookup.
    __attribute__((always_inline)) void find(int facet, int e, const CKpPoint* p0,
                                             const CKpPoint* p1, const CKpPoint* p2,
                                             const CKpDirn** x, const CKpDirn** y) {
        Slot& s = slots[(3u * static_cast<unsigned>(facet) + static_cast<unsigned>(e)) % kSlots];
        // All nine words at once: nearly every lookup compares them all.
        const std::uint64_t differ = (bitsDiffer(*p0, s.key) | bitsDiffer(*p1, s.key + 3)) |
                                     bitsDiffer(*p2, s.key + 6);
        if (!s.filled || differ != 0) {
            CKpDirn z;
            SetAxes3Points(p0, p1, p2, &s.x, &s.y, &z);
            p0->Get(s.key);
            p1->Get(s.key + 3);
            p2->Get(s.key + 6);
            s.filled = true;
        }
        *x = &s.x;
        *y = &s.y;
    }

    // The start view of P on the triangle v: a held one with the same key,
    // else a slot emptied for it.
    StartView* startView(const CKpPoint& P, const CKpPoint* const v[3]) {
        std::uint64_t key[12];
        startKey(P, v, key);
        for (StartView& sv : starts) {
            // Held start points nearly always differ in x already.
            if (!sv.filled || sv.key[0] != key[0]) continue;
            std::uint64_t differ = 0;
            for (int k = 0; k < 12; ++k) differ |= key[k] ^ sv.key[k];
            if (differ == 0) return &sv;
        }
        StartView& sv = starts[nextStart];
        nextStart = (nextStart + 1) % kStarts;
        std::memcpy(sv.key, key, sizeof key);
        sv.filled = true;
        sv.reset();
        return &sv;
    }

    // The calling thread's table; null when it cannot be allocated.
    static Frames* mine() {
        thread_local std::unique_ptr<Frames> table(new (std::nothrow) Frames());
        return table.get();
    }

  private:
    static constexpr unsigned kSlots = 8192;
    struct Slot {
        double key[9];
        CKpDirn x, y;
        bool filled = false;
    };
    Slot slots[kSlots];
    // A cell's warp and weft trials start at two grid points; the final
    // fibres and the neighbouring cells at a few more.
    static constexpr int kStarts = 8;
    StartView starts[kStarts];
    int nextStart = 0;
};

// The local axes of the triangle p0, p1, p2 (vertices e, e + 1, e + 2 of
// facet `facet`), from `frames` when given.
inline void axesOf(Frames* frames, int facet, int e, const CKpPoint* p0, const CKpPoint* p1,
                   const CKpPoint* p2, CKpDirn* x, CKpDirn* y) {
    if (frames) {
        const CKpDirn *hx, *hy;
        frames->find(facet, e, p0, p1, p2, &hx, &hy);
        *x = *hx;
        *y = *hy;
    } else {
        CKpDirn z;
        SetAxes3Points(p0, p1, p2, x, y, &z);
    }
}

// Starts fetching what the trace reads of facet g: the lines of the facet
// itself (its links and node pointers lie in its first 112 bytes).
inline void prefetchFacet(const CKpFacet* g) {
    constexpr std::size_t kSpan = sizeof(CKpFacet) < 112 ? sizeof(CKpFacet) : 112;
    const char* b = reinterpret_cast<const char*>(g);
    __builtin_prefetch(b);
    if (kSpan > 64) __builtin_prefetch(b + 64);
    __builtin_prefetch(b + (kSpan - 1));
}

// Starts fetching, one crossing ahead, what the next step reads: the
// vertex positions of facet g (entered with edge code `code`, whose own
// line was asked for a crossing earlier) and the two facets beyond its
// other edges. On a large surface each crossing otherwise waits for memory
// in turn for a facet, then its new vertex.
inline void prefetchAhead(const CKpFacetStore* facets, int g, int code) {
    const int n = facets->entries();
    if (g < 0 || g >= n || code < 0 || code > 5) return;
    CKpFacet* const* all = facets->ppFac();
    const CKpFacet* G = all[g];
    if (!G) return;
    for (int k = 0; k < 3; ++k)
        if (const CKpPoint* q = G->getCKpPoint(k)) {
            __builtin_prefetch(q);
            __builtin_prefetch(reinterpret_cast<const char*>(q + 1) - 1);
        }
    const int e = code >= 3 ? code - 3 : code;
    for (const int k : {next3(e), prev3(e)}) {
        const int h = G->getNeigh(k);
        if (h >= 0 && h < n && all[h]) prefetchFacet(all[h]);
    }
}

inline CKpPoint lerp(const CKpPoint* a, const CKpPoint* b, double t) {
    CKpPoint p;
    p.Set(a->getx() + t * (b->getx() - a->getx()), a->gety() + t * (b->gety() - a->gety()),
          a->getz() + t * (b->getz() - a->getz()));
    return p;
}

}  // namespace

// The tracing steps, with access to the axis' kept points. Used in this
// file alone: hidden, so that its calls bind here rather than through the
// library's symbol table.
class __attribute__((visibility("hidden"))) CKpAxis::Trace {
  public:
    // Adds point i on edge k of facet F (index f) at `pos`, after point
    // `prev`. 1; -1 when memory runs out.
    __attribute__((always_inline)) static int addCrossing(CKpAxis& axis, int i,
                                                          const CKpFacet* F, int f, int k,
                                                          const CKpPoint& pos, double angle,
                                                          const CKpAxisPt& prev) {
        // Every field is written below: a kept point needs no reset first.
        CKpAxisPt* p = axis.spareCount > 0 ? axis.spare[--axis.spareCount] : axis.newPoint();
        if (!p) return -1;
        const int code = F->getNedge(k);
        p->setSpare(0.0);
        p->setPosition(pos);
        p->setFromFacet(f);
        p->setFacet(F->getNeigh(k));
        p->setEdge(k);
        p->setEdgeCode(code);
        p->setSense(code > 2 ? prev.getSense() : -prev.getSense());
        p->setLength(prev.getLength() + dist_2pt(&prev.getPosition(), &pos));
        p->setAngle(angle);
        if (axis.pAxisPt(i, p) != 0) {
            axis.keep(p);
            return -1;
        }
        return 1;
    }

    // Point 0 of a trace. 1; -1 when memory runs out.
    static int addStart(CKpAxis& axis, const CKpPoint& start, int facet, int sense, double angle) {
        CKpAxisPt* p0 = axis.freshPoint();
        if (!p0 || axis.pAxisPt(0, p0) != 0) {
            if (p0) axis.keep(p0);
            return -1;
        }
        p0->setPosition(start);
        p0->setFromFacet(facet);
        p0->setFacet(facet);
        p0->setEdge(0);
        p0->setEdgeCode(0);
        p0->setSense(sense);
        p0->setAngle(angle);
        p0->setLength(0.0);
        p0->setSpare(0.0);
        return 1;
    }

    // Point 1 from point 0 (get_firstaxispt): 1 found, 0 not, -1 no memory.
    static int firstPoint(CKpAxis& axis, const CKpFacetStore* facets, Frames* frames) {
        if (!facets || axis.entries() != 1) return 0;
        const CKpAxisPt* p0 = axis.pAxisPt(0);
        const CKpFacet* F = p0 ? facets->pFac(p0->getFacet()) : nullptr;
        const CKpPoint* v[3];
        if (!F || !vertices(F, v)) return 0;
        const CKpPoint& P = p0->getPosition();
        const double theta = p0->getAngle();
        StartView own;
        StartView* sv = frames ? frames->startView(P, v) : nullptr;
        if (!sv) {
            own.reset();
            sv = &own;
        }
        // The facet's local axes (those of CKpFacet::GetAngle), built once
        // for the three vertices when a vertex is first needed.
        CKpDirn ex, ey;
        bool haveAxes = false;
        // Distance and polar angle of each vertex, found when first needed
        // (an edge qualifying early spares the third).
        auto vertex = [&](int k) {
            if (sv->vertexKnown[k]) return;
            if (!haveAxes) {
                axesOf(frames, p0->getFacet(), 0, v[0], v[1], v[2], &ex, &ey);
                haveAxes = true;
            }
            CKpDirn d;
            d.set2pts(&P, v[k]);
            sv->r[k] = d.mag();
            sv->a[k].a = std::atan2(d.DotProduct(&ey), d.DotProduct(&ex));
            sv->vertexKnown[k] = true;
        };
        auto withPolar = [&](int k) {
            if (sv->polarKnown[k]) return;
            sv->a[k] = polar(sv->a[k].a);
            sv->polarKnown[k] = true;
        };
        for (int k = 0; k < 3; ++k) {
            const int k1 = (k + 1) % 3;
            vertex(k);
            vertex(k1);
            if (!leavesBetween(theta, sv->a[k].a, sv->a[k1].a)) continue;
            withPolar(k);
            withPolar(k1);
            double t, angle;
            crossEdge(theta, tangentFor(theta), sv->r[k], sv->a[k], sv->r[k1], sv->a[k1], &t,
                      &angle, &sv->edge[k], &sv->edgeKnown[k]);
            return addCrossing(axis, 1, F, p0->getFacet(), k, lerp(v[k], v[k1], t), angle, *p0);
        }
        return 0;
    }

    // Point i from point i-1 (get_nextaxispt): 1 found, 0 not, -1 no
    // memory.
    static int nextPoint(CKpAxis& axis, const CKpFacetStore* facets, int i, Frames* frames) {
        if (!facets || i < 1 || i != axis.entries()) return 0;
        const CKpAxisPt* prev = axis.pAxisPt(i - 1);
        if (!prev) return 0;
        int c = prev->getEdgeCode();
        const int f = prev->getFacet();
        const CKpFacet* F = facets->pFac(f);
        const CKpPoint* v[3];
        if (c < 0 || c > 5 || !F || !vertices(F, v)) return 0;

        // 1. Direction in the entered facet, measured from its entry edge:
        // a neighbour running the same way along the edge is turned over.
        double theta;
        if (c < 3) {
            theta = wrap(kPi - prev->getAngle());
        } else {
            theta = prev->getAngle();
            c -= 3;
        }
        const int e = c, e1 = next3(e), e2 = prev3(e);
        // The next facet is one of the neighbours across the other two
        // edges: start fetching both while this one is worked out.
        {
            const int n = facets->entries();
            CKpFacet* const* all = facets->ppFac();
            const int g1 = F->getNeigh(e1), g2 = F->getNeigh(e2);
            if (g1 >= 0 && g1 < n && all[g1]) prefetchFacet(all[g1]);
            if (g2 >= 0 && g2 < n && all[g2]) prefetchFacet(all[g2]);
        }
        // Whichever edge the axis leaves by, the crossing takes this
        // tangent: started here, it runs beside the polar frame below.
        const double tn = tangentFor(theta);

        // 2. Polar frame at the entry point along the entry edge: V(e) lies
        // at pi, V(e+1) at 0.
        const CKpPoint& P = prev->getPosition();
        // The angle of P -> V(e+2) in the axes of V(e), V(e+1), V(e+2)
        // (ang_fac).
        CKpDirn ownX, ownY, toV;
        const CKpDirn* ex = &ownX;
        const CKpDirn* ey = &ownY;
        if (frames) {
            frames->find(f, e, v[e], v[e1], v[e2], &ex, &ey);
        } else {
            CKpDirn z;
            SetAxes3Points(v[e], v[e1], v[e2], &ownX, &ownY, &z);
        }
        toV.set2pts(&P, v[e2]);
        const double a2 = std::atan2(ey->DotProduct(&toV), ex->DotProduct(&toV));
        // Both exit edges end at V(e+2): its cosine, sine and distance are
        // taken before the choice.
        const Polar p2 = polar(a2);
        const double r2 = dist_2pt(&P, v[e2]);

        // 3.-5. The exit edge among the other two: e+1 (from V(e+1) at 0 to
        // V(e+2)) or e+2 (from V(e+2) to V(e) at pi).
        int k;
        double t, angle;
        if (leavesBetween(theta, kAtZero.a, a2)) {
            k = e1;
            prefetchAhead(facets, F->getNeigh(k), F->getNedge(k));
            crossEdge(theta, tn, dist_2pt(&P, v[e1]), kAtZero, r2, p2, &t, &angle);
        } else if (leavesBetween(theta, a2, kAtPi.a)) {
            k = e2;
            prefetchAhead(facets, F->getNeigh(k), F->getNedge(k));
            crossEdge(theta, tn, r2, p2, dist_2pt(&P, v[e]), kAtPi, &t, &angle);
        } else {
            return 0;
        }
        return addCrossing(axis, i, F, f, k, lerp(v[k], v[next3(k)], t), angle, *prev);
    }

    // Point i from point i-1 of a plane section: in the facet entered at point
    // i-1 the edges other than the entry edge are cut with `plane`. 1 found, 0
    // not, -1 no memory.
    static int planePoint(CKpAxis& axis, const CKpFacetStore* facets, int i,
                          const CKpPlane& plane) {
        if (!facets || i < 1 || i != axis.entries()) return 0;
        const CKpAxisPt* prev = axis.pAxisPt(i - 1);
        if (!prev) return 0;
        const int c = prev->getEdgeCode();
        const int f = prev->getFacet();
        const CKpFacet* F = facets->pFac(f);
        const CKpPoint* v[3];
        if (c < 0 || c > 5 || !F || !vertices(F, v)) return 0;
        const int e = c >= 3 ? c - 3 : c;
        for (const int k : {(e + 1) % 3, (e + 2) % 3}) {
            const int k1 = (k + 1) % 3;
            CKpLine line;
            line.Set2Points(v[k], v[k1]);
            CKpPoint x;
            if (int_line_edge(line, plane, &x) != 1) continue;
            double angle = 0.0;
            calc_angle(&x, v[k1], &prev->getPosition(), &angle);
            return addCrossing(axis, i, F, f, k, x, angle, *prev);
        }
        return 0;
    }
};

namespace {

// The plane with the normal of `plane` through `p`.
CKpPlane planeThrough(const CKpPlane& plane, const CKpPoint& p) {
    CKpPlane out = plane;
    out.d = -(plane.a * p.getx() + plane.b * p.gety() + plane.c * p.getz());
    return out;
}

}  // namespace

// Ends traces that would never end by themselves. A trace is determined by
// its last crossing, so a crossing that repeats an earlier one (facets,
// edge, sense, position and angle) starts a loop; Brent's cycle search
// finds such a repeat without keeping a table, and the axis is then cut
// back to the first crossing that repeats. The crossing bound catches what
// is not periodic within the tolerance (a helix of tiny pitch, say).
class __attribute__((visibility("hidden"))) CKpAxis::Guard {
  public:
    Guard(CKpMsg* msg, const CKpFacetStore* facets) : m_msg(msg), m_facets(facets) {
        const long long n = facets ? facets->entries() : 0;
        const long long limit = 16 * n + 1024;
        m_limit = limit < INT_MAX / 2 ? static_cast<int>(limit) : INT_MAX / 2;
    }

    // Call after point i (>= 1) was added. 0 go on; 1 the axis ends, now at
    // its last point (cut back, or at the bound), with a warning.
    int check(CKpAxis& axis, int i) {
        if (i >= m_limit) return atBound(i);
        // Crossings into different facets differ: the full comparison only
        // for the same facet.
        if (m_saved >= 1 && sameFacet(axis, m_saved, i) && same(axis, m_saved, i))
            return closes(axis, i);
        if (m_saved < 1 || ++m_lag >= m_power) {
            m_saved = i;
            m_power = m_power < INT_MAX / 2 ? 2 * m_power : m_power;
            m_lag = 0;
        }
        return 0;
    }

  private:
    // The trace has crossed the bound of edges (i of them). 1.
    __attribute__((noinline)) int atBound(int i) {
        if (m_msg)
            m_msg->Create(2,
                          "Fibre axis crossed %d facet edges without ending; the axis ends "
                          "there.",
                          i);
        return 1;
    }

    // Crossing i repeats the saved one: the axis is cut back to the first
    // crossing that repeats. 1.
    __attribute__((noinline)) int closes(CKpAxis& axis, int i) {
        const int period = i - m_saved;
        int end = i;
        for (int j = 1; j + period <= i; ++j) {
            if (same(axis, j, j + period)) {
                end = j + period;
                break;
            }
        }
        axis.truncate(end + 1);
        if (m_msg)
            m_msg->Create(2, "Fibre axis closes on itself at facet %d; the axis ends there.",
                          axis.pAxisPt(end)->getFacet());
        return 1;
    }

    static bool sameFacet(const CKpAxis& axis, int j, int k) {
        const CKpAxisPt* a = axis.pAxisPt(j);
        const CKpAxisPt* b = axis.pAxisPt(k);
        return !a || !b || a->getFacet() == b->getFacet();
    }
    __attribute__((noinline)) bool same(const CKpAxis& axis, int j, int k) const {
        const CKpAxisPt* a = axis.pAxisPt(j);
        const CKpAxisPt* b = axis.pAxisPt(k);
        if (!a || !b || a->getFacet() != b->getFacet() || a->getFromFacet() != b->getFromFacet() ||
            a->getEdge() != b->getEdge() || a->getEdgeCode() != b->getEdgeCode() ||
            a->getSense() != b->getSense())
            return false;
        if (std::fabs(pi_pi(a->getAngle() - b->getAngle())) > 1e-9) return false;
        const CKpFacet* F = m_facets ? m_facets->pFac(a->getFromFacet()) : nullptr;
        const int e = a->getEdge();
        const CKpPoint* p = F ? F->getCKpPoint(e) : nullptr;
        const CKpPoint* q = F ? F->getCKpPoint((e + 1) % 3) : nullptr;
        if (!p || !q) return false;
        return dist_2pt(&a->getPosition(), &b->getPosition()) <= 1e-9 * dist_2pt(p, q);
    }

    CKpMsg* m_msg;
    const CKpFacetStore* m_facets;
    int m_limit = 0;
    int m_saved = -1;
    int m_power = 1;
    int m_lag = 0;
};

int CKpAxis::get_firstaxispt(CKpMsg* msg, const CKpFacetStore* facets) {
    const int r = Trace::firstPoint(*this, facets, Frames::mine());
    if (r < 0) noMemory(msg);
    return r > 0 ? 1 : 0;
}

int CKpAxis::get_nextaxispt(CKpMsg* msg, const CKpFacetStore* facets, int i) {
    const int r = Trace::nextPoint(*this, facets, i, Frames::mine());
    if (r < 0) noMemory(msg);
    return r > 0 ? 1 : 0;
}

int CKpAxis::make_axis(CKpMsg* msg, const CKpFacetStore* facets, const CKpPoint& start,
                       int startFacet, int sense, double angle, double length, int* last) {
    // 1.-2. Point 0.
    reinit();
    if (last) *last = 0;
    if (!facets || startFacet < 0) {
        report(msg, 4, "No start facet specified.");
        return -1;
    }
    if (Trace::addStart(*this, start, startFacet, sense, angle) < 0) {
        noMemory(msg);
        return -1;
    }

    // 3. Point 1.
    Frames* frames = Frames::mine();
    int r = Trace::firstPoint(*this, facets, frames);
    if (r <= 0) {
        if (r < 0)
            noMemory(msg);
        else
            report(msg, 4, "Could not find first axis point.");
        return -1;
    }

    // 4. Facet by facet up to a free edge or the length.
    Guard guard(msg, facets);
    int i = 1;
    for (;;) {
        const CKpAxisPt* p = pAxisPt(i);
        if (p->getEdgeCode() < 0 || !(p->getLength() < length)) break;
        if (guard.check(*this, i)) {
            i = count - 1;
            break;
        }
        r = Trace::nextPoint(*this, facets, i + 1, frames);
        if (r <= 0) {
            if (last) *last = i;
            if (r < 0)
                noMemory(msg);
            else
                report(msg, 4, "Could not find next axis point.");
            return -1;
        }
        ++i;
    }

    // 5.
    if (last) *last = i;
    crossingsTraced += count - 1;
    const CKpAxisPt* p = pAxisPt(i);
    return p && p->getLength() >= length ? 1 : 0;
}

int CKpAxis::cut_axis(double length, int* last) {
    // make_axis stops at the first point from 1 on that ends the trace; the
    // points before it passed its crossing guard when they were traced (the
    // trace went on past them), and pass it again in the same order.
    for (int i = 1; i < count; ++i) {
        const CKpAxisPt* p = points[i];
        if (!p) return -2;  // an empty slot: not a trace of make_axis
        if (p->getEdgeCode() >= 0 && p->getLength() < length) continue;
        truncate(i + 1);
        if (last) *last = i;
        crossingsTraced += i;
        return p->getLength() >= length ? 1 : 0;
    }
    return -2;
}

int CKpAxis::UpdateAxes(CKpMsg* msg, const CKpFacetStore* facets, const CKpDrape* drape, CKpAxis& A,
                        CKpAxis& B, int ua, int va, double a, double b, double c, double warpStep,
                        int ub, int vb, double d, double e, double f, double weftStep, double& r1,
                        double& r2, int& found, int& flagA, int& flagB, double& angle) {
    const CKpDrapePt* pa = drape ? drape->pDrapePt(ua, va) : nullptr;
    const CKpDrapePt* pb = drape ? drape->pDrapePt(ub, vb) : nullptr;
    if (!pa || !pb || !(warpStep > 0.0) || !(weftStep > 0.0)) return -1;
    if (A.make_axis(msg, facets, pa->GetPoint(), pa->GetFacet(), pa->GetDnfg(), pi_pi(a + b * c),
                    2.0 * warpStep) < 0 ||
        B.make_axis(msg, facets, pb->GetPoint(), pb->GetFacet(), pb->GetDnfg(), pi_pi(d - e * f),
                    2.0 * weftStep) < 0) {
        report(msg, 4, "Could not create axis.");
        return -1;
    }
    if (A.entries() < 2 || B.entries() < 2) return -1;
    int ia = A.entries() - 1, ib = B.entries() - 1;
    double lA = 0.0, lB = 0.0, g = 0.0;
    const int rc = CalcIntPt(A, B, ia, ib, warpStep, weftStep, 1e-6, nullptr, nullptr, nullptr, &lA,
                             &lB, nullptr, &g, nullptr);
    r1 = lA / warpStep;
    r2 = lB / weftStep;
    found = rc == 0 ? 1 : 0;
    flagA = lA <= A.pAxisPt(ia)->getLength() ? 1 : 0;
    flagB = lB <= B.pAxisPt(ib)->getLength() ? 1 : 0;
    angle = g;
    if (found || !flagA || !flagB) return 0;
    return -1;
}

long long axis_crossings_traced() {
    return crossingsTraced;
}

int CalcAxes(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, int axisType, int startFacet,
             const CKpPoint& startPoint, double warpAngle, double weftAngle,
             const CKpPlane& warpPlane, const CKpPlane& weftPlane, CKpDrapeSim* sim) {
    if (!sim) return -1;
    CKpAxis* axes[4];
    for (int k = 0; k < 4; ++k) {
        axes[k] = sim->pAxis(k);
        axes[k]->reinit();
    }
    if (!facets || !facets->pFac(startFacet)) {
        report(msg, 4, "No start facet specified.");
        return -1;
    }

    // 1. Point 0 of each axis.
    const double angles[4] = {warpAngle, weftAngle, pi_pi(kPi + warpAngle), pi_pi(kPi + weftAngle)};
    for (int k = 0; k < 4; ++k) {
        CKpAxisPt* p0 = new (std::nothrow) CKpAxisPt;
        if (!p0 || axes[k]->pAxisPt(0, p0) != 0) {
            delete p0;
            noMemory(msg);
            return -1;
        }
        p0->setPosition(startPoint);
        p0->setFromFacet(startFacet);
        p0->setFacet(startFacet);
        p0->setEdge(0);
        p0->setEdgeCode(0);
        p0->setSense(1);
        p0->setAngle(angles[k]);
        p0->setLength(0.0);
    }
    if (axisType < 0 || axisType > 4) {
        if (msg)
            msg->Create(4,
                        "The axis type of %d is currently unsupported. Please select another axis "
                        "type.",
                        axisType);
        return -1;
    }

    // First points by direction: every axis, or the forward two of the
    // plane sections.
    const int nFirst = axisType == 2 ? 2 : 4;
    for (int k = 0; k < nFirst; ++k) {
        const int r = CKpAxis::Trace::firstPoint(*axes[k], facets, Frames::mine());
        if (r <= 0) {
            if (r < 0)
                noMemory(msg);
            else
                report(msg, 4, "Could not find first axis point.");
            return -1;
        }
    }

    Frames* frames = Frames::mine();
    if (axisType == 1) {
        // 3. Geodesics to a free edge.
        for (int k = 0; k < 4; ++k) {
            CKpAxis& axis = *axes[k];
            CKpAxis::Guard guard(msg, facets);
            for (int i = 1; axis.pAxisPt(i)->getEdgeCode() >= 0; ++i) {
                if (guard.check(axis, i)) break;
                const int r = CKpAxis::Trace::nextPoint(axis, facets, i + 1, frames);
                if (r <= 0) {
                    if (r < 0)
                        noMemory(msg);
                    else
                        report(msg, 4, "Could not find next axis point.");
                    return -1;
                }
            }
        }
    } else if (axisType == 2) {
        // 4. Plane sections. The reverse axes leave the start facet by the
        // other edge that the plane cuts.
        const CKpPlane planes[2] = {planeThrough(warpPlane, axes[0]->pAxisPt(1)->getPosition()),
                                    planeThrough(weftPlane, axes[1]->pAxisPt(1)->getPosition())};
        axes[2]->pAxisPt(0)->setEdgeCode(axes[0]->pAxisPt(1)->getEdge());
        axes[3]->pAxisPt(0)->setEdgeCode(axes[1]->pAxisPt(1)->getEdge());
        for (int k = 0; k < 4; ++k) {
            CKpAxis& axis = *axes[k];
            const CKpPlane& plane = planes[k % 2];
            CKpAxis::Guard guard(msg, facets);
            for (int i = axis.entries() - 1; axis.pAxisPt(i)->getEdgeCode() >= 0; ++i) {
                if (i > 0 && guard.check(axis, i)) break;
                const int r = CKpAxis::Trace::planePoint(axis, facets, i + 1, plane);
                if (r < 0) {
                    noMemory(msg);
                    return -1;
                }
                if (r == 0) {
                    if (msg)
                        msg->Create(2,
                                    "Fibre axis %d does not leave facet %d in its plane; the axis "
                                    "ends there.",
                                    k, axis.pAxisPt(i)->getFacet());
                    break;
                }
            }
        }
    }

    // 2.-4. Drawing.
    if (gra)
        for (CKpAxis* axis : axes) axis->PlotAxis(gra, 0, 7);
    return 0;
}
