#include "layuplib/pattern_wf.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpOlnEdge.h"
#include "layuplib/CKpOlnEdgeStore.h"
#include "layuplib/CalcMaxstrna.h"
#include "layuplib/angle_util.h"
#include "layuplib/clear_pattern.h"
#include "layuplib/drape_inadmissible.h"
#include "layuplib/pattern_pts.h"
#include "layuplib/user_break.h"

namespace {

const double kMinStep = 1e-6;
const int kMaxIterations = 100;

void Report(CKpMsg* msg, int severity, const char* text) {
    if (msg) msg->Create(severity, "%s", text);
}

// The facet area, summed facet by facet in store order only as far as a
// question needs it. Every facet's area is >= 0 (or NaN), so a partial sum
// never exceeds the whole: in floating point too, adding a term >= 0 never
// lowers a sum, and a NaN stays NaN to the end.
class AreaSum {
  public:
    explicit AreaSum(const CKpFacetStore* facets = nullptr) : m_facets(facets) {}

    const CKpFacetStore* facets() const { return m_facets; }
    double sum() const { return m_sum; }
    bool complete() const { return !m_facets || m_next >= m_facets->entries(); }

    // Adds up to `n` more facets (all that are left when n is negative).
    void extend(int n) {
        if (!m_facets) return;
        const int entries = m_facets->entries();
        const int stop = n < 0 || n >= entries - m_next ? entries : m_next + n;
        for (; m_next < stop; ++m_next) {
            const CKpFacet* f = m_facets->pFac(m_next);
            if (f) m_sum += f->Area();
        }
    }

  private:
    const CKpFacetStore* m_facets;
    int m_next = 0;
    double m_sum = 0.0;
};

// The facet area of a whole drape, kept while it runs: it asks for the
// growth cap more than once on a surface that does not change meanwhile.
// The outermost scope on the thread holds it.
class AreaScope {
  public:
    explicit AreaScope(const CKpFacetStore* facets) {
        if (held || !facets) return;
        held = facets;
        area = AreaSum(facets);
        owner = true;
    }
    ~AreaScope() {
        if (owner) held = nullptr;
    }
    AreaScope(const AreaScope&) = delete;
    AreaScope& operator=(const AreaScope&) = delete;

    // The held sum of `facets`; null when another store (or none) is held.
    static AreaSum* of(const CKpFacetStore* facets) {
        return facets && facets == held ? &area : nullptr;
    }

  private:
    static thread_local const CKpFacetStore* held;
    static thread_local AreaSum area;
    bool owner = false;
};
thread_local const CKpFacetStore* AreaScope::held = nullptr;
thread_local AreaSum AreaScope::area;

// Largest number of grid points the surface can carry without the fabric
// lying on itself: the facet area over the smallest cell area a drape can
// reach (included angle 5 degrees, the hard shear limit), doubled, plus a
// margin for the points on the free edges. A closed surface with no grid
// bound would otherwise let the fibres wrap round and round without end.
// The cap only ever grows with the area, so a comparison that the area
// summed so far settles does not need the rest of the surface: a drape
// far from the cap sums a few facets, not all.
class GrowthCap {
  public:
    GrowthCap(const CKpFacetStore* facets, double step, double weftStep)
        : m_own(facets), m_cell(step * weftStep * std::sin(5.0 * kPi / 180.0)) {
        m_sum = AreaScope::of(facets);
        if (!m_sum) m_sum = &m_own;
        // A cell that is not a positive number does not make the cap grow
        // with the area: the whole sum is needed.
        if (!(m_cell > 0.0 && m_cell < HUGE_VAL)) m_sum->extend(-1);
    }
    GrowthCap(const GrowthCap&) = delete;
    GrowthCap& operator=(const GrowthCap&) = delete;

    // Whether x lies above the cap.
    bool exceededBy(double x) {
        for (;;) {
            const double cap = static_cast<double>(of(m_sum->sum()));
            if (m_sum->complete() || !(x > cap)) return x > cap;
            m_sum->extend(kChunk);
        }
    }

    // The cap (the whole area summed).
    long value() {
        m_sum->extend(-1);
        return of(m_sum->sum());
    }

  private:
    static constexpr int kChunk = 256;

    long of(double area) const {
        const double cap = 2.0 * area / m_cell + 1000.0;
        return cap < 2e9 ? static_cast<long>(cap) : 2000000000L;
    }

    AreaSum m_own;
    AreaSum* m_sum;
    double m_cell;
};

// Whether the grid holds more points than the cap allows; never without a
// cap (null).
bool OverCap(const CKpDrape* grid, GrowthCap* cap) {
    return cap && cap->exceededBy(grid->GetCount()) && cap->value() > 0;
}

void ReportCap(CKpMsg* msg, const CKpDrape* grid, GrowthCap& cap) {
    if (msg)
        msg->Create(2,
                    "The drape has made %d points, more than the surface can hold (%ld); draping "
                    "has been stopped. The fibres probably wrap around a closed surface: cut the "
                    "area or limit the pattern extent.",
                    grid->GetCount(), cap.value());
}

// Sets every point's thickness from its final strain: a point whose strain
// changed after a neighbouring cell closed must not keep the old value.
void RecomputeThickness(CKpDrape* grid, const CKpMat* mat) {
    int umin = 0, umax = 0, vmin = 0, vmax = 0;
    grid->GetBounds(umin, umax, vmin, vmax);
    for (int v = vmin; v <= vmax; ++v)
        for (int u = umin; u <= umax; ++u)
            if (CKpDrapePt* p = grid->pDrapePt(u, v)) p->SetThck(0.0);
    grid->CalculateThickness(mat);
}

// Step length and warp/weft ratio checks shared by both drivers.
int CheckStepRatio(CKpMsg* msg, double step, double ratio) {
    if (!(step >= kMinStep)) {
        if (msg)
            msg->Create(4,
                        "The step length of %g is smaller than the minimum allowable value of %g. "
                        "Please define a longer step length.",
                        step + 0.0, kMinStep);  // + 0.0: a zero step shows as 0, not -0
        return -1;
    }
    if (!(ratio >= 0.1 && ratio <= 10.0)) {
        if (msg)
            msg->Create(4,
                        "The Warp/Weft Ratio is %g, outside the allowable range of 0.1 to 10.0. "
                        "Please define a valid ratio.",
                        ratio);
        return -1;
    }
    return 0;
}

// Coordinate of an entry along an edge running along v (`alongV`) or u.
int Along(const CKpOln* e, bool alongV) {
    return alongV ? e->getV() : e->getU();
}

bool RunsAlongV(const CKpOln* start) {
    const int d = start->getLeaving();
    return d == 2 || d == 6;
}

// An entry is straight when the walk goes on in the direction it came.
bool Straight(const CKpOln* e) {
    return dn_0_7(e->getLeaving() - e->getArriving()) == 4;
}

int UpdateOutlineFirst(CKpMsg* msg, CKpOln* ring, CKpOln*& first) {
    if (!ring) return -1;
    Report(msg, 1, "Updating Outline");
    first = ring;
    for (CKpOln* e = ring->Next(); e && e != ring; e = e->Next()) {
        if (e->getU() < first->getU() || (e->getU() == first->getU() && e->getV() < first->getV()))
            first = e;
    }
    if (first != ring && msg)
        msg->Create(1, "First outline point moved from [%d][%d] to [%d][%d]", ring->getU(),
                    ring->getV(), first->getU(), first->getV());
    int number = 0;
    CKpOln* e = first;
    do {
        e->SetNumber(++number);
        const CKpOln* n = e->Next();
        if (!n) break;
        if (n->getArriving() != dn_0_7(e->getLeaving() + 4) && msg)
            msg->Create(
                1, "Outline points [%d][%d] %d and %d [%d][%d] have incompatible directions",
                e->getU(), e->getV(), e->getLeaving(), n->getArriving(), n->getU(), n->getV());
        e = e->Next();
    } while (e != first);
    return 0;
}

// What the extension passes share.
struct Pass {
    CKpMsg* msg;
    CKpGra* gra;
    CKpFacetStore* facets;
    CKpDrapeSim* sim;
    CKpDrape* grid;
    const CKpDrapeBound* bound;
    double wwAngle;
    const double* limits;
    double step;
    double weftStep;
    int side;
    GrowthCap* cap;  // none when null
};

int UniquePasses(const Pass& p, CKpGUI* gui) {
    CKpOln* first = p.sim->pfOln();
    if (!first) {
        Report(p.msg, 4, "Pattern does not exist.");
        return -1;
    }
    for (;;) {
        int counter = 0;
        // Forward and then backward: a filled corner makes the next entry in
        // the walk's sense a corner too, so each sense carries a staircase.
        for (int sense = 0; sense < 2; ++sense) {
            CKpOln* e = first;
            do {
                if (CalcPatternOutline2pts(p.msg, p.gra, p.facets, p.grid, p.step, p.weftStep,
                                           p.limits, p.wwAngle, p.bound, e, counter, p.side) < 0) {
                    Report(p.msg, 4, "Error in CalcPatternOutline2pts.");
                    return -1;
                }
                e = sense == 0 ? e->Next() : e->Prev();
            } while (e && e != first);
        }
        if (p.msg) p.msg->Create(1, "Number of new unique points: %d", counter);
        if (counter == 0 || OverCap(p.grid, p.cap) || user_break(gui, 1)) break;
    }
    p.sim->pfOln(first);
    return 0;
}

int ExtendEdgeImpl(const Pass& p, int dir, CKpOln* start, CKpOln* middle, CKpOln* end,
                   CKpOln*& outline, CKpOln*& first, CKpOln*& last, int& counter) {
    // One entry: fill its notch corner, else step out. `e` follows the ring:
    // after a step it designates the new spike tip, so the walk goes on to
    // the entry that now has the notch.
    auto visit = [&](CKpOln*& e, int after) -> int {
        const int r2 = CalcPatternOutline2pts(p.msg, p.gra, p.facets, p.grid, p.step, p.weftStep,
                                              p.limits, p.wwAngle, p.bound, e, counter, p.side);
        if (r2 < 0) {
            Report(p.msg, 4, "Error in CalcPatternOutline2pts.");
            return -1;
        }
        if (r2 > 0) return 0;
        CKpOln* at = e;
        const int r1 =
            CalcPatternOutline1pt(p.msg, p.gra, p.facets, p.grid, p.step, p.weftStep, p.limits,
                                  p.wwAngle, p.side, p.bound, e, dir, after, counter);
        if (r1 < 0) {
            Report(p.msg, 4, "Error in CalcPatternOutline1pt.");
            return -1;
        }
        if (r1 > 0) {
            // The visited entry was split in two; a reference to the
            // ring's first (last) visit of that point moves to the copy when
            // the copy took the earlier (later) part of the walk.
            if (after == 0) {
                CKpOln* copy = e->Prev();
                if (outline == at) outline = copy;
                if (first == at) first = copy;
            } else {
                CKpOln* copy = e->Next();
                if (last == at) last = copy;
            }
        }
        return 0;
    };

    // Forward from the middle to the end.
    CKpOln* e = middle;
    CKpOln* backFrom = nullptr;
    for (bool atMiddle = true;; atMiddle = false) {
        const bool atEnd = e == end;
        if (visit(e, 0) < 0) return -1;
        // The entry that stays at the middle position starts the backward
        // walk: the copy in front of a new spike, else the one before.
        if (atMiddle) backFrom = e->Prev();
        if (atEnd) break;
        e = e->Next();
        if (!e || e == backFrom) break;  // once round the ring
    }
    // Backward from the middle to the start.
    if (middle == start) return 0;
    for (e = backFrom; e;) {
        const bool atStart = e == start;
        if (visit(e, 1) < 0) return -1;
        if (atStart) break;
        e = e->Prev();
        if (!e || e == backFrom || e == middle) break;
    }
    return 0;
}

int ExtendInDirectionImpl(const Pass& p, int exttp, CKpOln*& outline, int dirn, int& counter) {
    CKpOln* head = nullptr;
    if (UpdateOutlineFirst(p.msg, outline, head) != 0) {
        Report(p.msg, 4, "Pattern does not exist.");
        return -1;
    }
    outline = head;
    CKpOlnEdgeStore edges;
    if (edges.Create(p.grid, outline) != 0) {
        Report(p.msg, 4, "Could not create outline edges.");
        return -1;
    }
    CKpOln* first = edges.First() ? edges.First()->GetStart() : nullptr;
    CKpOln* last = edges.Last() ? edges.Last()->GetEnd() : nullptr;
    for (CKpOlnEdge* edge = edges.First(); edge; edge = edges.Next(edge)) {
        if (!(edge->GetAbsMaxStrain() < p.limits[2]) || !edge->WeftExtend(dirn)) continue;
        const int dir = edge->GetDirection();
        if (edge->IsSpike()) {
            if (ExtendEdgeSpike(p.msg, p.gra, p.facets, p.grid, p.wwAngle, p.limits, p.step,
                                p.weftStep, p.side, dir, edge->GetStart(), outline, counter) < 0)
                Report(p.msg, 4, "Error in CalcPatternOutline1pt.");
            continue;
        }
        // The edge as the ring stands now: earlier edges may have moved its
        // corner entries, so its ends are found again from the ring.
        CKpOln* start = edge->GetStart();
        for (CKpOln* s = start->Prev(); Straight(start) && s && s != edge->GetStart();
             s = start->Prev())
            start = s;
        CKpOln* end = edge->GetEnd();
        for (CKpOln* s = end->Next(); Straight(end) && s && s != edge->GetEnd(); s = end->Next())
            end = s;
        CKpOln* middle = start;
        switch (exttp) {
            case 1:
                CalcMidGeodesic(start, middle);
                break;
            case 2:
                CalcMidEnergy(start, end, middle);
                ModifyDirnEnergy(p.grid, start, end, p.side);
                break;
            case 3:
                CalcMidEnergy(start, end, middle);
                ModifyDirnMaximum(p.grid, start, end, p.side);
                break;
            case 4:
                CalcMidTape(start, end, middle);
                if (ModifyDirnTape(p.msg, p.grid, start, end, p.side, p.wwAngle) != 0) return -1;
                break;
            default:
                if (p.msg)
                    p.msg->Create(
                        4,
                        "The extension type of %d is currently unsupported. Please select "
                        "another extension type.",
                        exttp);
                return -1;
        }
        if (ExtendEdgeImpl(p, dir, start, middle, end, outline, first, last, counter) < 0)
            return -1;
    }
    return 0;
}

int ExtendPasses(const Pass& p, CKpGUI* gui, int exttp) {
    CKpOln* first = p.sim->pfOln();
    if (!first) {
        Report(p.msg, 4, "Pattern does not exist.");
        return -1;
    }
    bool stop = false;
    for (;;) {
        int counter = 0;
        if (exttp != 4) {
            if (ExtendInDirectionImpl(p, exttp, first, 0, counter) < 0 ||
                ExtendInDirectionImpl(p, exttp, first, 1, counter) < 0) {
                p.sim->pfOln(first);
                return -1;
            }
        } else {
            // Tape: the warp rows are laid out as far as they go before the
            // weft closes them.
            for (;;) {
                const int before = counter;
                if (ExtendInDirectionImpl(p, exttp, first, 0, counter) < 0) {
                    p.sim->pfOln(first);
                    return -1;
                }
                if (counter == before || OverCap(p.grid, p.cap)) break;
                // Rows can run on for long: the host may stop them too.
                if (user_break(gui, 1)) {
                    stop = true;
                    break;
                }
            }
            if (ExtendInDirectionImpl(p, exttp, first, 1, counter) < 0) {
                p.sim->pfOln(first);
                return -1;
            }
        }
        if (p.msg) p.msg->Create(1, "Number of new edge points: %d", counter);
        if (stop || counter == 0 || OverCap(p.grid, p.cap) || user_break(gui, 1)) break;
    }
    p.sim->pfOln(first);
    return 0;
}

// One round of unique passes and then edge passes; a failure adds the
// error naming the pass.
int GrowPasses(CKpMsg* msg, const Pass& p, CKpGUI* gui, int exttp) {
    if (UniquePasses(p, gui) != 0) {
        Report(msg, 4, "Error in DrapeUnique.");
        return -1;
    }
    if (ExtendPasses(p, gui, exttp) != 0) {
        Report(msg, 4, "Error in DrapeExtend.");
        return -1;
    }
    return 0;
}

Pass MakePass(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpDrapeSim* sim, double wwAngle,
              const double limits[3], double step, double weftStep, int side, GrowthCap* cap) {
    return Pass{msg,     gra,    facets, sim,      sim->pDrape(), sim->pBound(),
                wwAngle, limits, step,   weftStep, side,          cap};
}

// Entries visited from `start` to `end` (both included), at most once round.
template <typename Fn>
void ForEdgeEntries(CKpOln* start, CKpOln* end, Fn fn) {
    CKpOln* e = start;
    do {
        fn(e);
        if (e == end) break;
        e = e->Next();
    } while (e && e != start);
}

// Turns the outward fibre of the entries strictly between start and end by
// the shear m (radians, signed).
void TurnOutward(CKpDrape* grid, CKpOln* start, CKpOln* end, int side, double m) {
    const int dep = start->getLeaving();
    for (CKpOln* e = start->Next(); e && e != end && e != start; e = e->Next()) {
        CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV());
        if (!q) continue;
        const double turn = q->GetDnfg() * m * side;
        double from = CKpDrapePt::kNoAngle;
        switch (dep) {
            case 2:
                from = q->GetWarpAngMinus();
                if (from != CKpDrapePt::kNoAngle) q->SetWarpAngPlus(pi_pi(from - turn));
                break;
            case 4:
                from = q->GetWeftAngMinus();
                if (from != CKpDrapePt::kNoAngle) q->SetWeftAngPlus(pi_pi(from + turn));
                break;
            case 6:
                from = q->GetWarpAngPlus();
                if (from != CKpDrapePt::kNoAngle) q->SetWarpAngMinus(pi_pi(from - turn));
                break;
            case 0:
            case 8:
                from = q->GetWeftAngPlus();
                if (from != CKpDrapePt::kNoAngle) q->SetWeftAngMinus(pi_pi(from + turn));
                break;
            default:
                break;
        }
    }
}

bool ShortEdge(const CKpOln* start, const CKpOln* end) {
    return std::abs((end->getV() - start->getV()) + (end->getU() - start->getU())) < 2;
}

}  // namespace

void ShearLimits(double maxstrn, double limits[3]) {
    CalcMaxstrna(maxstrn, limits);
}

int pattern_wf(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, const CKpMat* mat,
               int axstp, int exttp, CKpDrapeSim* sim, const CKpMatGeom& geom, double seedAngle,
               double maxstrn, double step, int side) {
    // 1. Limits and checks.
    double limits[3];
    ShearLimits(maxstrn, limits);
    if (!facets || !sim) {
        Report(msg, 4, "Pattern does not exist.");
        return -1;
    }
    const double ratio = geom.GetWarpWeftRatio();
    if (CheckStepRatio(msg, step, ratio) != 0) return -1;

    // 2. Fresh grid and facet results.
    const AreaScope areaOnce(facets);
    const double weftStep = step / ratio;
    const double wwAngle = geom.GetWarpWeftAngle();
    CKpDrape* grid = sim->pDrape();
    facets->SimulationInitialise();
    CKpOln* ring = sim->pfOln();
    DeleteOutline(ring);
    sim->pfOln(nullptr);
    grid->reinit();

    // 3. Seed at the first point of axis 0.
    const CKpAxis* ax0 = sim->pAxis(0);
    const CKpAxis* ax1 = sim->pAxis(1);
    const CKpAxisPt* a0 = ax0->pAxisPt(0);
    const CKpAxisPt* b0 = ax1->pAxisPt(0);
    const bool fromCurves = axstp == 3 || axstp == 4;
    if (!a0 || !b0 || (!fromCurves && (ax0->entries() < 2 || ax1->entries() < 2))) {
        Report(msg, 4, "The fibre axes of the drape are missing.");
        return -1;
    }
    const CKpFacet* seedFacet = facets->pFac(a0->getFacet());
    if (!seedFacet) {
        Report(msg, 4, "No start facet specified.");
        return -1;
    }
    CKpDrapePt* seed = new (std::nothrow) CKpDrapePt;
    if (!seed) {
        Report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    seed->SetFacet(a0->getFacet());
    seed->SetDnfg(1);
    double warp = 0.0, weft = 0.0;
    if (fromCurves) {
        warp = a0->getAngle();
        weft = b0->getAngle();
    } else {
        warp = seedFacet->GetAngle(&a0->getPosition(), &ax0->pAxisPt(1)->getPosition());
        weft = seedFacet->GetAngle(&b0->getPosition(), &ax1->pAxisPt(1)->getPosition());
    }
    seed->SetWarpAngMinus(warp);
    seed->SetWarpAngPlus(warp);
    seed->SetWeftAngMinus(weft);
    seed->SetWeftAngPlus(weft);
    seed->SetStrn(msg, wwAngle, side);
    seed->SetPoint(a0->getPosition());
    if (grid->pDrapePt(0, 0, seed) != 0) {
        delete seed;
        Report(msg, 4, "Could not allocate memory.");
        return -1;
    }

    // 4. Points along the axes. A failed step leaves that arm short; the
    // extension below still grows the drape from what exists.
    const CKpDrapeBound* bound = sim->pBound();
    if (axstp == 0) {
        pattern_wppt(msg, gra, facets, grid, 0, 0, 1, 0, step, limits, bound, wwAngle, side);
        pattern_wppt(msg, gra, facets, grid, 0, 0, -1, 0, step, limits, bound, wwAngle, side);
        pattern_wtpt(msg, gra, facets, grid, 0, 0, 0, 1, weftStep, limits, bound, wwAngle, side);
        pattern_wtpt(msg, gra, facets, grid, 0, 0, 0, -1, weftStep, limits, bound, wwAngle, side);
    } else {
        CreatePatternAxes(msg, gra, facets, axstp, sim, geom, limits, seedAngle, step, side);
    }

    // 5. Alternate unique and edge points until no fibre end is open.
    GrowthCap cap(facets, step, weftStep);
    const Pass pass = MakePass(msg, gra, facets, sim, wwAngle, limits, step, weftStep, side, &cap);
    for (int i = 1;; ++i) {
        ring = sim->pfOln();
        const int rc = CalcOutline(msg, grid, ring);
        sim->pfOln(ring);
        if (rc != 0) return -1;
        if (GrowPasses(msg, pass, gui, exttp) != 0) return -1;
        int unjoined = 0;
        CKpOln* first = sim->pfOln();
        CKpOln* e = first;
        do {
            const CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV());
            for (int d = 0; q && d < 4; ++d) {
                if (q->GetJoined(d) == 0 && !q->EndFracSet(d) &&
                    std::fabs(q->GetStrn()) <= limits[2]) {
                    if (msg)
                        msg->Create(1, "Unjoined u: %3d v: %3d dn: %1d", e->getU(), e->getV(), d);
                    ++unjoined;
                }
            }
            e = e->Next();
        } while (e && e != first);
        if (msg) msg->Create(1, "Number of unjoined points: %d", unjoined);
        if (OverCap(grid, &cap)) {
            ReportCap(msg, grid, cap);
            break;
        }
        if (i >= kMaxIterations) {
            if (msg) msg->Create(2, "Extension iteration limit of %d steps reached.", i);
            break;
        }
        if (unjoined == 0 || user_break(gui, 1)) break;
    }

    // 6. Final outline.
    ring = sim->pfOln();
    DeleteOutline(ring);
    sim->pfOln(nullptr);
    const int rc = CalcOutline(msg, grid, ring);
    sim->pfOln(ring);
    if (rc != 0) return -1;
    int umin = 0, umax = 0, vmin = 0, vmax = 0;
    grid->GetBounds(umin, umax, vmin, vmax);
    if (msg) msg->Create(1, "Pattern bounds: %3d %3d %3d %3d %3d", umin, umax, vmin, vmax, 0);

    // 7, 8. Thickness and the shear check.
    RecomputeThickness(grid, mat);
    const double m = grid->GetMaximumAbsoluteStrain();
    const double toDeg = 180.0 / kPi;
    if (m > limits[2]) {
        if (msg)
            msg->Create(4,
                        "The calculated maximum shear strain of %g degrees exceeds the allowable "
                        "limit shear strain of %g degrees. Further draping has been stopped on all "
                        "edges where this limit has been exceeded. Shearing can be reduced by "
                        "draping a smaller area, moving the start point, or defining different "
                        "Axis and Extension types.",
                        m * toDeg, limits[2] * toDeg);
        return -1;
    }
    if (m > limits[1] && msg)
        msg->Create(2,
                    "The calculated maximum shear strain of %g degrees exceeds the allowable "
                    "maximum shear strain of %g degrees. Shearing can be reduced by draping a "
                    "smaller area, moving the start point, or defining different Axis and "
                    "Extension types.",
                    m * toDeg, limits[1] * toDeg);
    return 0;
}

int CreatePatternAxes(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, int axstp, CKpDrapeSim* sim,
                      const CKpMatGeom& geom, const double limits[3], double seedAngle, double step,
                      int side) {
    if (!facets || !sim) return -1;
    CKpDrape* grid = sim->pDrape();
    const CKpDrapeBound* bound = sim->pBound();
    const double wwAngle = geom.GetWarpWeftAngle();
    const double ratio = geom.GetWarpWeftRatio();
    const double weftStep = ratio != 0.0 ? step / ratio : 0.0;

    // 1. The axes to walk and their grid rows.
    int nAxes = 4;
    int snapped = 0;
    if (axstp == 4) {
        double angle = seedAngle;
        snapped = geom.SnapToAxis(angle, 1.0);
        if (snapped < 0) {
            Report(msg, 4, "The seed curve must currently lie close to a material axis.");
            return -1;
        }
        nAxes = 2;
    }
    // The grid stores its points densely over the box of used indices: axes
    // that wrap round a closed surface again and again would make that box
    // (and each of its regrowths) huge long before the point count reaches
    // the growth cap, so all axes are shortened alike to keep it within.
    double scale = 1.0;
    {
        double lo[2] = {0.0, 0.0}, hi[2] = {0.0, 0.0};
        for (int k = 0; k < nAxes; ++k) {
            const CKpAxis* axis = sim->pAxis(axstp == 4 ? 2 * k : k);
            double offset = 0.0, len = 0.0;
            int du = 0, dv = 0;
            const int row = (snapped + 4 * k) % 8;
            const int rc =
                axstp == 4
                    ? CKpAxis::GetStepSingle(geom, step, row % 2, row / 2, &offset, &du, &dv, &len)
                    : CKpAxis::GetStepDouble(geom, step, k, &offset, &du, &dv, &len);
            const int n = axis->entries();
            if (rc != 0 || n < 2 || !(len > 0.0)) continue;
            const double steps = std::floor(axis->pAxisPt(n - 1)->getLength() / len);
            lo[0] = std::min(lo[0], steps * du), hi[0] = std::max(hi[0], steps * du);
            lo[1] = std::min(lo[1], steps * dv), hi[1] = std::max(hi[1], steps * dv);
        }
        const double box = (hi[0] - lo[0] + 1.0) * (hi[1] - lo[1] + 1.0);
        GrowthCap cap(facets, step, weftStep);
        if (cap.exceededBy(box)) {
            scale = std::sqrt(static_cast<double>(cap.value()) / box);
            if (msg)
                msg->Create(1,
                            "Axes shortened to %g of their length: the grid would outgrow "
                            "the surface.",
                            scale);
        }
    }
    for (int k = 0; k < nAxes; ++k) {
        const int axisIndex = axstp == 4 ? 2 * k : k;
        const CKpAxis* axis = sim->pAxis(axisIndex);
        double offset = 0.0, len = 0.0;
        int du = 0, dv = 0;
        int rc = 0;
        if (axstp == 4) {
            const int row = (snapped + 4 * k) % 8;
            rc = CKpAxis::GetStepSingle(geom, step, row % 2, row / 2, &offset, &du, &dv, &len);
        } else {
            rc = CKpAxis::GetStepDouble(geom, step, k, &offset, &du, &dv, &len);
        }
        const int n = axis->entries();
        if (rc != 0 || n < 2 || !(len > 0.0)) continue;
        const double total = axis->pAxisPt(n - 1)->getLength();
        const double reach = std::floor(total / len) * scale;

        // 2, 3. A point at every whole step along the axis.
        int seg = 1;
        for (int i = 1; i * len <= total; ++i) {
            const int u = i * du, v = i * dv;
            if (!bound->InBound(u, v) || grid->pDrapePt(u, v) || i > reach) break;
            const double at = i * len;
            while (seg < n - 1 && axis->pAxisPt(seg)->getLength() < at) ++seg;
            CKpPoint pos;
            int facet = -1;
            if (axis->GetPointFacet(at, seg, &pos, &facet) != 0) return -1;
            const CKpFacet* f = facets->pFac(facet);
            if (!f) return -1;
            CKpDrapePt* q = new (std::nothrow) CKpDrapePt;
            if (!q) {
                Report(msg, 4, "Could not allocate memory.");
                return -1;
            }
            const int dnfg = axis->pAxisPt(seg - 1)->getSense();
            const double segAngle = f->GetAngle(&axis->pAxisPt(seg - 1)->getPosition(),
                                                &axis->pAxisPt(seg)->getPosition());
            q->SetPoint(pos);
            q->SetFacet(facet);
            q->SetDnfg(dnfg);
            q->SetWarpAng(segAngle - dnfg * side * offset);
            q->SetWeftAng(q->GetWarpAngMinus() + wwAngle * dnfg * side);
            q->SetStrn(msg, wwAngle, side);
            if (grid->pDrapePt(u, v, q) != 0) {
                delete q;
                Report(msg, 4, "Could not allocate memory.");
                return -1;
            }
            const int pu = u - du, pv = v - dv;
            grid->Join(pu, pv, u, v);
            if (du != 0 && dv != 0) {
                int a[2], b[2], c[2], d[2], e[2], ff[2];
                if (CKpDrape::GetBiasJoinPoints(pu, pv, u, v, a, b, c, d, e, ff) == 0)
                    for (int j = 0; j < 2; ++j)
                        pattern_2pts(msg, gra, facets, grid, a[j], b[j], c[j], d[j], e[j], ff[j],
                                     step, weftStep, limits, wwAngle, bound, side);
            }
        }

        // 4. The fibre end past the last whole step: the length reached
        // beyond step n, as a fraction of a step, on the point of step n
        // (the seed for n = 0). When the walk stopped before step n (the
        // bound, a point already there) that point is not the fibre's last
        // and gets nothing.
        if (axstp == 4 && snapped % 2 != 0) continue;
        const double steps = std::floor(total / len);
        if (!(steps < 1e9)) continue;  // no grid reaches so far
        int whole = static_cast<int>(steps);
        while (whole > 0 && whole * len > total) --whole;
        while ((whole + 1) * len <= total) ++whole;
        const int lu = whole * du, lv = whole * dv;
        CKpDrapePt* lastPt = grid->pDrapePt(lu, lv);
        const int dirIndex = dn_0_7_dn03(du > 0 ? 0 : dv > 0 ? 2 : du < 0 ? 4 : 6);
        if (!lastPt || !bound->InBound(lu, lv) || dirIndex < 0) continue;
        const CKpAxisPt* endPt = axis->pAxisPt(n - 1);
        CKpDirn dirn;
        dirn.set2pts(&axis->pAxisPt(n - 2)->getPosition(), &endPt->getPosition());
        dirn.unitize();
        lastPt->SetEnd(dirIndex, (total - whole * len) / len, endPt->getPosition(), dirn,
                       endPt->getFromFacet(), endPt->getEdge());
    }
    return 0;
}

int ExtendPlyL(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, const CKpMat* mat,
               int exttp, CKpDrapeSim* sim, double wwAngle, double ratio, double maxstrn,
               double step, int side, int inadmMode, double inadmTol) {
    // 1. Limits, weft step, outline.
    double limits[3];
    ShearLimits(maxstrn, limits);
    if (!facets || !sim) {
        Report(msg, 4, "Pattern does not exist.");
        return -1;
    }
    // The new order selects other facets: cells that could not be closed
    // under the old selection are solved afresh.
    sim->pDrape()->ClearOpenCells();
    if (CheckStepRatio(msg, step, ratio) != 0) return -1;
    const double weftStep = step / ratio;
    CKpDrape* grid = sim->pDrape();
    CKpOln* ring = sim->pfOln();
    const int rc = CalcOutline(msg, grid, ring);
    sim->pfOln(ring);
    if (rc != 0) return -1;

    // 2. Reopen fibres that stopped at an edge the new order now crosses.
    // Only facet edges 0..2 lead anywhere: an end without a facet edge (a
    // seed-curve end, or the grid bound) has no neighbour to test.
    CKpOln* e = ring;
    do {
        CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV());
        for (int d = 0; q && d < 4; ++d) {
            if (q->GetJoined(d) != 0) continue;
            const int edge = q->GetEndEdge(d);
            const CKpFacet* f = facets->pFac(q->GetEndFacet(d));
            if (f && edge >= 0 && edge <= 2 && f->GetNeighConnected(edge))
                q->SetEndFrac(d, CKpDrapePt::kNoEndFrac);
        }
        e = e->Next();
    } while (e && e != ring);

    // 3. Inadmissible regions, then fill and extend.
    if (DrapeInadmissible(msg, gui, gra, facets, sim, wwAngle, limits, step, weftStep, side,
                          inadmMode, inadmTol) != 0) {
        Report(msg, 4, "Error in DrapeInadmissible.");
        return -1;
    }
    GrowthCap cap(facets, step, weftStep);
    const Pass pass = MakePass(msg, gra, facets, sim, wwAngle, limits, step, weftStep, side, &cap);
    if (GrowPasses(msg, pass, gui, exttp) != 0) return -1;
    if (OverCap(grid, &cap)) ReportCap(msg, grid, cap);
    RecomputeThickness(grid, mat);
    return 0;
}

int DrapeUnique(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, CKpDrapeSim* sim,
                double wwAngle, const double limits[3], double step, double weftStep, int side) {
    if (!facets || !sim || !(step > 0.0) || !(weftStep > 0.0)) {
        Report(msg, 4, "Pattern does not exist.");
        return -1;
    }
    GrowthCap cap(facets, step, weftStep);
    return UniquePasses(
        MakePass(msg, gra, facets, sim, wwAngle, limits, step, weftStep, side, &cap), gui);
}

int DrapeExtend(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets, int exttp,
                CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                double weftStep, int side) {
    if (!facets || !sim || !(step > 0.0) || !(weftStep > 0.0)) {
        Report(msg, 4, "Pattern does not exist.");
        return -1;
    }
    GrowthCap cap(facets, step, weftStep);
    return ExtendPasses(
        MakePass(msg, gra, facets, sim, wwAngle, limits, step, weftStep, side, &cap), gui, exttp);
}

int ExtendInDirection(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, int exttp, CKpDrapeSim* sim,
                      double wwAngle, const double limits[3], double step, double weftStep,
                      int side, CKpOln*& outline, int dirn, int& counter) {
    if (!facets || !sim) {
        Report(msg, 4, "Pattern does not exist.");
        return -1;
    }
    return ExtendInDirectionImpl(
        MakePass(msg, gra, facets, sim, wwAngle, limits, step, weftStep, side, nullptr), exttp,
        outline, dirn, counter);
}

int ExtendEdge(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpDrape* grid, double wwAngle,
               const double limits[3], double step, double weftStep, int side, int dir,
               CKpOln* start, CKpOln* middle, CKpOln* end, CKpOln*& outline, CKpOln*& first,
               CKpOln*& last, int& counter) {
    if (!grid || !start || !middle || !end) return -1;
    CKpDrapeSim* sim = grid->GetDrapeSim();
    const Pass p{msg,     gra,    facets, sim,      grid, sim ? sim->pBound() : nullptr,
                 wwAngle, limits, step,   weftStep, side, nullptr};
    return ExtendEdgeImpl(p, dir, start, middle, end, outline, first, last, counter);
}

int ExtendEdgeSpike(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpDrape* grid, double wwAngle,
                    const double limits[3], double step, double weftStep, int side, int dir,
                    CKpOln* entry, CKpOln*& outline, int& counter) {
    if (!grid || !entry) return -1;
    CKpDrapeSim* sim = grid->GetDrapeSim();
    const CKpDrapeBound* bound = sim ? sim->pBound() : nullptr;
    CKpOln* e = entry;
    const int r = CalcPatternOutline1pt(msg, gra, facets, grid, step, weftStep, limits, wwAngle,
                                        side, bound, e, dir, 1, counter);
    if (r > 0 && outline == e->Prev()) outline = e;
    return r;
}

int UpdateOutline(CKpMsg* msg, CKpOln* ring) {
    CKpOln* first = nullptr;
    return UpdateOutlineFirst(msg, ring, first);
}

void CalcMidGeodesic(CKpOln* start, CKpOln*& middle) {
    if (!start) return;
    const int d = start->getLeaving();
    if (d != 0 && d != 2 && d != 4 && d != 6 && d != 8) return;
    const bool alongV = RunsAlongV(start);
    CKpOln* c = start;
    for (CKpOln* n = c->Next();
         n && n != start && std::abs(Along(n, alongV)) < std::abs(Along(c, alongV)); n = c->Next())
        c = n;
    middle = c;
}

void CalcMidEnergy(CKpOln* start, CKpOln* end, CKpOln*& middle) {
    if (!start || !end) return;
    const bool alongV = RunsAlongV(start);
    const int s = Along(start, alongV), e = Along(end, alongV);
    CKpOln* c = start;
    while (c != end && std::abs(Along(c, alongV) - s) < std::abs(e - Along(c, alongV)) - 1) {
        CKpOln* n = c->Next();
        if (!n || n == start) break;
        c = n;
    }
    middle = c;
}

void CalcMidTape(CKpOln* start, CKpOln* end, CKpOln*& middle) {
    if (!start || !end) return;
    if (RunsAlongV(start)) {
        CalcMidGeodesic(start, middle);
        return;
    }
    CKpOln* c = start;
    for (CKpOln* n = c->Next(); n && n != start && c->getU() > n->getU(); n = c->Next()) c = n;
    middle = c;
}

void ModifyDirnEnergy(CKpDrape* grid, CKpOln* start, CKpOln* end, int side) {
    if (!grid || !start || !end || ShortEdge(start, end)) return;
    double sum = 0.0;
    int n = 0;
    ForEdgeEntries(start, end, [&](CKpOln* e) {
        if (const CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV())) {
            sum += std::fabs(q->GetStrn()) * q->GetStrn();
            ++n;
        }
    });
    if (n > 0) TurnOutward(grid, start, end, side, sum / n);
}

void ModifyDirnMaximum(CKpDrape* grid, CKpOln* start, CKpOln* end, int side) {
    if (!grid || !start || !end || ShortEdge(start, end)) return;
    double hi = 0.0, lo = 0.0;
    ForEdgeEntries(start, end, [&](CKpOln* e) {
        if (const CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV())) {
            hi = std::fmax(hi, q->GetStrn());
            lo = std::fmin(lo, q->GetStrn());
        }
    });
    TurnOutward(grid, start, end, side, (hi + lo) / 2.0);
}

int ModifyDirnTape(CKpMsg* msg, CKpDrape* grid, CKpOln* start, CKpOln* end, int side,
                   double wwAngle) {
    if (!grid || !start || !end) return -1;
    const int dep = start->getLeaving();
    if ((dep != 0 && dep != 4 && dep != 8) || start == end->Next()) return 0;
    int rc = 0;
    ForEdgeEntries(start, end, [&](CKpOln* e) {
        if (rc != 0) return;
        CKpDrapePt* q = grid->pDrapePt(e->getU(), e->getV());
        const double w = q ? q->GetAveWarpAng(msg) : CKpDrapePt::kNoAngle;
        if (w == CKpDrapePt::kNoAngle) {
            rc = -1;
            return;
        }
        const double weft = pi_pi(q->GetDnfg() * side * wwAngle + w);
        if (dep == 4)
            q->SetWeftAngPlus(weft);
        else
            q->SetWeftAngMinus(weft);
    });
    return rc;
}
