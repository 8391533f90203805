#include "layuplib/pattern_pts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>

#include "host/CKpGra.h"
#include "host/PlotRoutines.h"
#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeBound.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOln.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/angle_util.h"

namespace {

const double kNoAngle = CKpDrapePt::kNoAngle;
// Below this |sin| of a closing angle the cell is degenerate: the update
// would divide by (almost) nothing.
const double kTinySin = 1e-9;

void report(CKpMsg* msg, int severity, const char* text) {
    if (msg) msg->Create(severity, "%s", text);
}

double dev(double r1, double r2) {
    return std::max(std::fabs(r1 - 1.0), std::fabs(r2 - 1.0));
}

// Segment A-B in graphics segment 0, coloured by shear band.
void drawSeg(CKpGra* gra, const CKpDrapePt& a, const CKpDrapePt& b, const double limits[3]) {
    if (!gra) return;
    gra->select_segment(0);
    PlotDrapedPatternSeg(gra, &a.GetPoint(), a.GetStrn(), &b.GetPoint(), b.GetStrn(), limits);
}

// A's fibre to its end, in the pen of A's strain against the warning limit.
void drawEnd(CKpGra* gra, const CKpDrapePt& a, const CKpPoint& end, const double limits[3]) {
    if (!gra) return;
    gra->select_segment(0);
    PlotDrapedPatternPen(gra, 0, 0, a.GetStrn() / limits[1]);
    gra->MoveTo3d(&a.GetPoint());
    gra->LineTo3d(&end);
}

// The direction of travel of a stored angle: d 0/1 as stored, 2/3 + pi.
double travelAng(const CKpDrapePt& p, int d) {
    const double a = p.GetSideAng(d);
    if (a == kNoAngle) return kNoAngle;
    return d >= 2 ? pi_pi(a + kPi) : a;
}

// The stored form of a direction of travel d.
double storedAng(double travel, int d) {
    return d >= 2 ? pi_pi(travel - kPi) : travel;
}

// End data of the fibre's last axis point.
void lastEnd(const CKpAxis& axis, int last, CKpPoint& endPt, CKpDirn& endDirn, int& endFacet,
             int& endEdge) {
    const CKpAxisPt* p = axis.pAxisPt(last);
    const CKpAxisPt* q = axis.pAxisPt(last - 1);
    endPt = p->getPosition();
    endDirn = CKpDirn();
    if (q) endDirn.set2pts(&q->getPosition(), &p->getPosition());
    endFacet = p->getFromFacet();
    endEdge = p->getEdge();
}

// A missing side angle of `p` (direction index d) estimated from three
// candidate neighbours; warp for d 0/2, weft for 1/3. 0; -1 with the message.
int fillSideAngle(CKpMsg* msg, CKpDrape* grid, int u, int v, int uo, int vo, int d) {
    CKpDrapePt* p = grid->pDrapePt(u, v);
    if (p->GetSideAng(d) != kNoAngle) return 0;
    const bool warp = d % 2 == 0;
    double a = kNoAngle;
    int ok = 0;
    if (warp) {
        const int cand[3][2] = {{2 * u - uo, v}, {u, v + 1}, {u, v - 1}};
        for (int k = 0; k < 3 && !ok; ++k)
            ok = est_wpang(msg, grid, cand[k][0], cand[k][1], u, v, a);
    } else {
        const int cand[3][2] = {{u, 2 * v - vo}, {u + 1, v}, {u - 1, v}};
        for (int k = 0; k < 3 && !ok; ++k)
            ok = est_wtang(msg, grid, cand[k][0], cand[k][1], u, v, a);
    }
    if (!ok) {
        report(msg, 4,
               warp ? "Could not estimate new warp angle." : "Could not estimate new weft angle.");
        return -1;
    }
    p->SetSideAng(d, a);
    return 0;
}

int estimate(const CKpDrape* grid, int ua, int va, int ub, int vb, bool warp, double& angle) {
    const CKpDrapePt* a = grid ? grid->pDrapePt(ua, va) : nullptr;
    const CKpDrapePt* b = grid ? grid->pDrapePt(ub, vb) : nullptr;
    if (!a || !b || a->GetDnfg() == 0 || b->GetDnfg() == 0) return 0;
    const double wpA = a->GetAveWarpAng(nullptr), wtA = a->GetAveWeftAng(nullptr);
    const double known = warp ? b->GetAveWeftAng(nullptr) : b->GetAveWarpAng(nullptr);
    if (wpA == kNoAngle || wtA == kNoAngle || known == kNoAngle) return 0;
    const double carried = static_cast<double>(b->GetDnfg() / a->GetDnfg()) * (wtA - wpA);
    angle = pi_pi(warp ? known - carried : known + carried);
    return 1;
}

// One-point step shared by the warp and the weft: `warp` picks the fields.
int pattern_1pt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                int va, int ub, int vb, double step, const double limits[3],
                const CKpDrapeBound* bound, double wwAngle, int side, bool warp) {
    CKpDrapePt* A = grid ? grid->pDrapePt(ua, va) : nullptr;
    if (!A || !limits) return 0;
    const int delta = warp ? ub - ua : vb - va;
    if ((warp ? vb != va : ub != ua) || (delta != 1 && delta != -1)) return 0;
    const int d = warp ? (delta > 0 ? 0 : 2) : (delta > 0 ? 1 : 3);

    // 1.-2.
    if (A->GetJoined(d) || A->EndFracSet(d)) return 0;
    double dist = CKpDrapeBound::kNoDist;
    if (bound && !bound->DstBound(ua, va, 2 * d, dist)) return 0;

    // 3.
    if (fillSideAngle(msg, grid, ua, va, ub, vb, d) < 0) return -1;

    // 4.-5.
    const double h = A->GetUpdatedHwt(step);
    CKpPoint newPt, endPt;
    CKpDirn endDirn;
    int newFacet, newDnfg, endFacet, endEdge;
    double arrival, ratio;
    const int rc = next_point(msg, facets, A->GetPoint(), A->GetFacet(), A->GetDnfg(),
                              travelAng(*A, d), h, dist, newPt, newFacet, newDnfg, arrival, ratio,
                              endPt, endDirn, endFacet, endEdge);
    if (rc < 0) {
        report(msg, 4,
               warp ? "Could not create next warp point." : "Could not create next weft point.");
        return -1;
    }

    // 6.
    if (rc == 1 && !grid->pDrapePt(ub, vb)) {
        CKpDrapePt* B = new (std::nothrow) CKpDrapePt;
        if (!B || grid->pDrapePt(ub, vb, B) != 0) {
            delete B;
            report(msg, 4, "Could not allocate memory.");
            return -1;
        }
        B->SetPoint(newPt);
        B->SetFacet(newFacet);
        B->SetDnfg(newDnfg);
        double other = kNoAngle;
        if (warp) {
            B->SetWarpAng(storedAng(arrival, d));
            if (est_wtang(msg, grid, ua, va, ub, vb, other)) B->SetWeftAng(other);
        } else {
            B->SetWeftAng(storedAng(arrival, d));
            if (est_wpang(msg, grid, ua, va, ub, vb, other)) B->SetWarpAng(other);
        }
        B->SetStrn(msg, wwAngle, side);
        grid->Join(ua, va, ub, vb);
        drawSeg(gra, *A, *B, limits);
        return 1;
    }

    // 7.
    A->SetEnd(d, ratio, endPt, endDirn, endFacet, endEdge);
    drawEnd(gra, *A, endPt, limits);
    return 0;
}

// One trial of the cell-closing solver.
struct Trial {
    double t1 = 0.0, t2 = 0.0, g = 0.0;
    double r1 = 1e12, r2 = 1e12;
    int found = 0, flag1 = 0, flag2 = 0;
};

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Whether the trace `axis` starts where make_axis from p at the angle with
// bits `angle` starts: point 0's position, facet, sense and angle.
bool startsAt(const CKpAxis& axis, const CKpDrapePt& p, std::uint64_t angle) {
    const CKpAxisPt* q = axis.pAxisPt(0);
    if (!q || q->getFacet() != p.GetFacet() || q->getSense() != p.GetDnfg()) return false;
    const double a = q->getAngle();
    std::uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const CKpPoint& x = q->getPosition();
    const CKpPoint& y = p.GetPoint();
    return bits == angle && sameBits(x.getx(), y.getx()) && sameBits(x.gety(), y.gety()) &&
           sameBits(x.getz(), y.getz());
}

// Fibres traced by the trials, kept with their direction (bits) and
// make_axis's answer. Within one cell a trace depends on its direction
// alone, and the bracket search tries the same 11 weft directions in each
// of its 11 rows of one warp direction: a trial whose direction is held, to
// the bit, reuses that trace. Slots are reused in turn.
template <int N>
struct Held {
    CKpAxis axis[N];
    std::uint64_t dir[N] = {};
    int rc[N] = {};
    bool valid[N] = {};
    int next = 0;

    // The held trace from p in direction `angle` (to the bit) cut as a new
    // trace of `len` would end (CKpAxis::cut_axis); null when none is held
    // or it would run further. *answer and *last as make_axis gives them.
    CKpAxis* reuse(const CKpDrapePt& p, double angle, double len, int* answer, int* last) {
        std::uint64_t bits;
        std::memcpy(&bits, &angle, sizeof bits);
        for (int k = 0; k < N; ++k) {
            if (!valid[k] || dir[k] != bits || rc[k] < 0 || !startsAt(axis[k], p, bits)) continue;
            const int r = axis[k].cut_axis(len, last);
            if (r < 0) return nullptr;
            // Cut: no longer the trace of its trial.
            valid[k] = false;
            *answer = r;
            return &axis[k];
        }
        return nullptr;
    }

    // Forgets every trace (a new cell).
    void clear() {
        for (bool& v : valid) v = false;
        next = 0;
    }
};

// The axes of one cell, kept from cell to cell so that their points are
// reused rather than allocated anew.
struct Traces {
    CKpAxis A, B;
    Held<1> warps;
    Held<11> wefts;

    static Traces& mine() {
        thread_local Traces traces;
        traces.warps.clear();
        traces.wefts.clear();
        return traces;
    }
};

// The corner problem of pattern_2pts: both parameters and their setting.
struct Cell {
    CKpMsg* msg;
    const CKpFacetStore* facets;
    const CKpDrape* grid;
    CKpAxis& A;
    CKpAxis& B;
    int ua, va, ub, vb;
    double ref1, ref2, s1, s2, a, b;
    Held<1>& warps;
    Held<11>& wefts;

    // The fibre from p in direction `dir` for `len`; its slot in `held` is
    // `slot`. make_axis's answer.
    template <int N>
    int trace(Held<N>& held, const CKpDrapePt& p, double dir, double len, int& slot) {
        std::uint64_t bits;
        std::memcpy(&bits, &dir, sizeof bits);
        for (int k = 0; k < N; ++k)
            if (held.valid[k] && held.dir[k] == bits) {
                slot = k;
                return held.rc[k];
            }
        slot = held.next;
        held.next = (held.next + 1) % N;
        held.valid[slot] = true;
        held.dir[slot] = bits;
        held.rc[slot] = held.axis[slot].make_axis(nullptr, facets, p.GetPoint(), p.GetFacet(),
                                                  p.GetDnfg(), dir, len);
        return held.rc[slot];
    }

    // Traces both fibres for (t1, t2) and intersects them, as
    // CKpAxis::UpdateAxes does (without messages) but with the traces
    // reused. 0 evaluated; -1 no crossing.
    int eval(double t1, double t2, Trial& out) {
        out.t1 = t1;
        out.t2 = t2;
        const CKpDrapePt* pa = grid->pDrapePt(ua, va);
        const CKpDrapePt* pb = grid->pDrapePt(ub, vb);
        if (!pa || !pb || !(a > 0.0) || !(b > 0.0)) return -1;
        int i = 0, j = 0;
        if (trace(warps, *pa, pi_pi(ref1 + s1 * t1), 2.0 * a, i) < 0 ||
            trace(wefts, *pb, pi_pi(ref2 - s2 * t2), 2.0 * b, j) < 0)
            return -1;
        const CKpAxis& A = warps.axis[i];
        const CKpAxis& B = wefts.axis[j];
        if (A.entries() < 2 || B.entries() < 2) return -1;
        int ia = A.entries() - 1, ib = B.entries() - 1;
        double lA = 0.0, lB = 0.0, g = 0.0;
        const int rc = CKpAxis::CalcIntPt(A, B, ia, ib, a, b, 1e-6, nullptr, nullptr, nullptr, &lA,
                                          &lB, nullptr, &g, nullptr);
        out.r1 = lA / a;
        out.r2 = lB / b;
        out.found = rc == 0 ? 1 : 0;
        out.flag1 = lA <= A.pAxisPt(ia)->getLength() ? 1 : 0;
        out.flag2 = lB <= B.pAxisPt(ib)->getLength() ? 1 : 0;
        out.g = g;
        return out.found || !out.flag1 || !out.flag2 ? 0 : -1;
    }
};

void reportTrial(CKpMsg* msg, const char* head, int k, const Trial& t) {
    if (!msg) return;
    msg->Create(1,
                "%s %3d wpang %12g wtang %12g wp1 %d wt1 %d IntPt %d wpnrmult %12g wtnrmult %12g",
                head, k, t.t1, t.t2, t.flag1, t.flag2, t.found, t.r1, t.r2);
}

// Every evaluated trial competes, also one whose fibres do not meet (the
// crossing lies beyond a fibre that stopped short): the final fibres decide
// whether the corner is made.
void keepBest(const Trial& t, Trial& best) {
    UpdateBest(t.t1, t.t2, t.g, t.r1, t.r2, t.found, best.t1, best.t2, best.g, best.r1, best.r2,
               best.found);
}

// Gradient iteration; true when accepted (best within 0.02). `ranToEnd` is
// set when all 41 iterations ran.
bool gradient(Cell& c, double t1, double t2, const double lo[2], const double hi[2], int u, int v,
              Trial& best, bool& ranToEnd) {
    Trial hist[41];
    int n = 0;
    ranToEnd = false;
    for (int k = 0; k <= 40; ++k) {
        Trial t;
        const int rc = c.eval(t1, t2, t);
        hist[n++] = t;
        if (rc < 0) break;
        keepBest(t, best);
        if (dev(t.r1, t.r2) < 0.001) return true;
        if (k == 40) {
            ranToEnd = true;
            break;
        }
        const double sg = std::sin(t.g);
        if (std::fabs(sg) < kTinySin) break;  // degenerate crossing: not converged
        const double e1 = (t.r1 - 1.0) * c.a, e2 = (t.r2 - 1.0) * c.b;
        t1 = pi_pi(t1 - std::atan((e2 - std::cos(t.g) * e1) / (sg * c.a)));
        t2 = pi_pi(t2 - std::atan((e1 - std::cos(t.g) * e2) / (sg * c.b)));
        t1 = std::min(std::max(t1, lo[0]), hi[0]);
        t2 = std::min(std::max(t2, lo[1]), hi[1]);
    }
    if (c.msg) {
        c.msg->Create(1, "u: %3d v: %3d - Maximum iterations, choosing best solution", u, v);
        for (int k = 0; k < n; ++k) reportTrial(c.msg, " Iter", k, hist[k]);
        c.msg->Create(1, "best iteration:");
        reportTrial(c.msg, " Iter", 0, best);
    }
    return dev(best.r1, best.r2) < 0.02;
}

// Bracket search: 11 x 11 trials per pass, the bracket shrinking to 0.512.
bool bracket(Cell& c, const double lo0[2], const double hi0[2], Trial& best) {
    double lo[2] = {lo0[0], lo0[1]}, hi[2] = {hi0[0], hi0[1]};
    for (int pass = 0; pass < 10; ++pass) {
        if (c.msg)
            c.msg->Create(1,
                          " Iter %3d  bounds are:  minwp    %12g maxwp    %12g minwt    %12g maxwt "
                          "   %12g",
                          pass, lo[0], hi[0], lo[1], hi[1]);
        for (int i = 0; i <= 10; ++i)
            for (int j = 0; j <= 10; ++j) {
                Trial t;
                if (c.eval(lo[0] + i / 10.0 * (hi[0] - lo[0]), lo[1] + j / 10.0 * (hi[1] - lo[1]),
                           t) < 0)
                    continue;
                if (UpdateBest(t.t1, t.t2, t.g, t.r1, t.r2, t.found, best.t1, best.t2, best.g,
                               best.r1, best.r2, best.found))
                    reportTrial(c.msg, " Updating", 0, best);
            }
        if (dev(best.r1, best.r2) < 0.001) break;
        const double at[2] = {best.t1, best.t2};
        for (int k = 0; k < 2; ++k) {
            const double w = 0.512 * (hi[k] - lo[k]);
            double l = std::max(at[k] - w / 2.0, lo[k]);
            double h = l + w;
            if (h > hi[k]) {
                h = hi[k];
                l = h - w;
            }
            lo[k] = l;
            hi[k] = h;
        }
    }
    return dev(best.r1, best.r2) < 0.04;
}

// The chord of one fibre: end points of fibres of length `len` for the
// parameter from hi down to lo in `segs` steps; each vertex keeps its
// parameter in the spare field. 0; -1 when a fibre cannot be traced.
int buildChord(Cell& c, bool warp, double lo, double hi, int segs, CKpAxis& chord) {
    chord.reinit();
    const CKpDrapePt* p = warp ? c.grid->pDrapePt(c.ua, c.va) : c.grid->pDrapePt(c.ub, c.vb);
    const double len = warp ? c.a : c.b;
    double along = 0.0;
    for (int k = 0; k <= segs; ++k) {
        const double t = hi - k * (hi - lo) / segs;
        const double dir = warp ? pi_pi(c.ref1 + c.s1 * t) : pi_pi(c.ref2 - c.s2 * t);
        CKpAxis& fibre = warp ? c.A : c.B;
        int last = 0;
        if (fibre.make_axis(nullptr, c.facets, p->GetPoint(), p->GetFacet(), p->GetDnfg(), dir, len,
                            &last) < 0 ||
            last < 1)
            return -1;
        CKpPoint end = fibre.pAxisPt(last)->getPosition();
        fibre.GetPointFacet(len, last, &end, nullptr);
        CKpAxisPt* q = new (std::nothrow) CKpAxisPt;
        if (!q) return -1;
        if (k > 0) {
            CKpDirn d;
            d.set2pts(&chord.pAxisPt(k - 1)->getPosition(), &end);
            along += d.mag();
        }
        q->setPosition(end);
        q->setSense(1);
        q->setLength(along);
        q->setSpare(t);
        if (chord.pAxisPt(k, q) != 0) {
            delete q;
            return -1;
        }
    }
    return 0;
}

// Chord method: intersect the chords of both fibres and try the 3 x 3
// parameter pairs around the crossing.
bool chords(Cell& c, CKpGra* gra, const double lo[2], const double hi[2], int u, int v,
            Trial& best) {
    int segs[2];
    for (int k = 0; k < 2; ++k)
        segs[k] = std::min(1023, std::max(1, static_cast<int>(std::ceil((hi[k] - lo[k]) / 0.005))));
    if (c.msg)
        c.msg->Create(1,
                      " minwpang %12g maxwpang %12g minwtang %12g maxwtang %12g wpchordsegs %3d "
                      "wtchordsegs %3d",
                      lo[0], hi[0], lo[1], hi[1], segs[0], segs[1]);
    CKpAxis cw, ct;
    if (buildChord(c, true, lo[0], hi[0], segs[0], cw) < 0 ||
        buildChord(c, false, lo[1], hi[1], segs[1], ct) < 0)
        return false;
    int ia = cw.entries() - 1, ib = ct.entries() - 1;
    double sA = 0.0, sB = 0.0;
    if (CKpAxis::CalcIntPt(cw, ct, ia, ib, 0.0, 0.0, 0.06 * c.a, nullptr, &sA, &sB, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != 0) {
        if (gra) {
            cw.PlotAxis(gra, 0, 7);
            ct.PlotAxis(gra, 0, 7);
        }
        if (c.msg)
            c.msg->Create(1, "u: %3d v: %3d - No direct intersection of warp and weft chords", u,
                          v);
        return false;
    }
    const double w0 = cw.pAxisPt(ia - 1)->getSpare(), w1 = cw.pAxisPt(ia)->getSpare();
    const double f0 = ct.pAxisPt(ib - 1)->getSpare(), f1 = ct.pAxisPt(ib)->getSpare();
    const double p1[3] = {w0 + sA * (w1 - w0), w0, w1};
    const double p2[3] = {f0 + sB * (f1 - f0), f0, f1};
    for (double x : p1)
        for (double y : p2) {
            Trial t;
            if (c.eval(x, y, t) < 0) continue;
            if (UpdateBest(t.t1, t.t2, t.g, t.r1, t.r2, t.found, best.t1, best.t2, best.g, best.r1,
                           best.r2, best.found))
                reportTrial(c.msg, " Updating", 0, best);
        }
    if (dev(best.r1, best.r2) < 0.06) return true;
    if (c.msg) c.msg->Create(1, "u: %3d v: %3d - Chord method unacceptable, no convergence", u, v);
    return false;
}

// What steps 2 to 10 of a pattern_2pts call that makes nothing read, and
// what they write, besides the facet store: 64-bit words (doubles by their
// bit pattern, so that equal words mean the very same values), compared by
// the memo of open cells (CKpDrape). Steps 2 to 10 read of P1 its facet,
// side flag, position, the side angles towards N, towards D and away from
// D, the join away from D and its step length as updated (GetUpdatedHwt,
// which carries the strain and the pattern's simulation type); the same of
// P2; of D its presence, side flag and the two side angles towards N; the
// warp/weft angle, the side and the bound's answers. They write only the
// fibre end towards N of P1 or P2, which is part of the words too, and
// fill a side angle towards N that is unset, which a call that went
// through step 2 has set. The step 1 tests are made afresh on every call.
struct Inputs {
    // Per neighbour: facet, side flag, position, 3 side angles, 1 join,
    // the end towards N (fraction, point, direction, facet, edge), the
    // updated step.
    static constexpr int kPerNeighbour = 2 + 3 + 3 + 1 + (1 + 3 + 3 + 1 + 1) + 1;
    // P1, P2; D (presence, side flag, 2 angles); 2 steps, 3 limits,
    // warp/weft angle, side, facet store; bound present and its 2 answers.
    static constexpr int kWords = 2 * kPerNeighbour + 4 + 8 + 5;

    std::uint64_t w[kWords];
    int n = 0;

    void word(std::uint64_t x) {
        if (n < kWords) w[n++] = x;
    }
    void num(double x) {
        std::uint64_t b;
        std::memcpy(&b, &x, sizeof b);
        word(b);
    }
    void whole(long long i) { word(static_cast<std::uint64_t>(i)); }
    void xyz(const CKpTriplet& t) {
        num(t.getx());
        num(t.gety());
        num(t.getz());
    }
    // Neighbour p with its direction index towards N, towards D and away
    // from D.
    void neighbour(const CKpDrapePt& p, int toN, int toD, int away, double hwt) {
        whole(p.GetFacet());
        whole(p.GetDnfg());
        xyz(p.GetPoint());
        num(p.GetSideAng(toN));
        num(p.GetSideAng(toD));
        num(p.GetSideAng(away));
        whole(p.GetJoined(away));
        num(p.GetEndFrac(toN));
        xyz(p.GetEndPoint(toN));
        xyz(p.GetEndDirn(toN));
        whole(p.GetEndFacet(toN));
        whole(p.GetEndEdge(toN));
        num(hwt);
    }
};

// The words of pattern_2pts for the cell N = (u, v) from P1 = (ua, va) and
// P2 = (ub, vb), both present; D = (ua, vb).
void gatherInputs(const CKpDrape* grid, const CKpFacetStore* facets, int ua, int va, int ub, int vb,
                  int u, int v, double step, double weftStep, const double limits[3],
                  double wwAngle, const CKpDrapeBound* bound, int side, Inputs& in) {
    const CKpDrapePt& P1 = *grid->pDrapePt(ua, va);
    const CKpDrapePt& P2 = *grid->pDrapePt(ub, vb);
    const int d1 = u > ua ? 0 : 2, d2 = v > vb ? 1 : 3;
    const int toD1 = vb > va ? 1 : 3, toD2 = ua > ub ? 0 : 2;
    in.neighbour(P1, d1, toD1, (toD1 + 2) % 4, P1.GetUpdatedHwt(step));
    in.neighbour(P2, d2, toD2, (toD2 + 2) % 4, P2.GetUpdatedHwt(weftStep));
    const CKpDrapePt* D = grid->pDrapePt(ua, vb);
    in.whole(D ? 1 : 0);
    in.whole(D ? D->GetDnfg() : 0);
    in.num(D ? D->GetSideAng(d2) : 0.0);
    in.num(D ? D->GetSideAng(d1) : 0.0);
    in.num(step);
    in.num(weftStep);
    for (int k = 0; k < 3; ++k) in.num(limits[k]);
    in.num(wwAngle);
    in.whole(side);
    in.word(static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(facets)));
    in.whole(bound ? 1 : 0);
    double dist1 = CKpDrapeBound::kNoDist, dist2 = CKpDrapeBound::kNoDist;
    in.whole(bound ? bound->DstBound(ua, va, 2 * d1, dist1) : 0);
    in.num(dist1);
    in.whole(bound ? bound->DstBound(ub, vb, 2 * d2, dist2) : 0);
    in.num(dist2);
}

// Memo key of the cell (u, v) closed from the warp neighbour (ua, v) and the
// weft neighbour (u, vb); grid indices stay within +-1,000,001.
std::uint64_t cellKey(int u, int v, int ua, int vb) {
    const long long off = 1LL << 21;
    return (static_cast<std::uint64_t>(u + off) << 24) |
           (static_cast<std::uint64_t>(v + off) << 2) | (ua > u ? 1u : 0u) | (vb > v ? 2u : 0u);
}

}  // namespace

int next_point(CKpMsg* msg, const CKpFacetStore* facets, const CKpPoint& from, int facet, int dnfg,
               double angle, double step, double bound, CKpPoint& newPt, int& newFacet,
               int& newDnfg, double& arrival, double& ratio, CKpPoint& endPt, CKpDirn& endDirn,
               int& endFacet, int& endEdge) {
    newPt = CKpPoint();
    newFacet = -1;
    newDnfg = 0;
    arrival = kNoAngle;
    ratio = 0.0;
    endPt = CKpPoint();
    endDirn = CKpDirn();
    endFacet = -1;
    endEdge = -1;

    // 1. The axis is kept from call to call: its points are reused.
    thread_local CKpAxis axis;
    int last = 0;
    const int rc = axis.make_axis(msg, facets, from, facet, dnfg, angle, step, &last);
    if (rc < 0 || last < 1 || !(step > 0.0)) {
        report(msg, 4, "Could not create axis.");
        return -1;
    }
    lastEnd(axis, last, endPt, endDirn, endFacet, endEdge);
    const double traced = axis.pAxisPt(last)->getLength();

    // 2. The bound is nearer than a step: cut there.
    if (bound >= 0.0 && bound < 1.0) {
        double steps = 0.0;
        axis.CalcEdgepoint(last, step, bound, &endPt, &steps);
        ratio = steps;
        return 0;
    }

    // 3.-4.
    ratio = traced / step;
    if (rc != 1) return 0;
    const CKpAxisPt* q = axis.pAxisPt(last - 1);
    const CKpFacet* f = facets->pFac(q->getFacet());
    if (!f || axis.GetPointFacet(step, last, &newPt, nullptr) != 0) {
        newPt = CKpPoint();
        return 0;
    }
    newFacet = q->getFacet();
    newDnfg = q->getSense();
    arrival = f->GetAngle(&q->getPosition(), &axis.pAxisPt(last)->getPosition());
    return 1;
}

int est_wpang(CKpMsg*, const CKpDrape* grid, int ua, int va, int ub, int vb, double& angle) {
    return estimate(grid, ua, va, ub, vb, true, angle);
}

int est_wtang(CKpMsg*, const CKpDrape* grid, int ua, int va, int ub, int vb, double& angle) {
    return estimate(grid, ua, va, ub, vb, false, angle);
}

int pattern_wppt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, double step, const double limits[3],
                 const CKpDrapeBound* bound, double wwAngle, int side) {
    return pattern_1pt(msg, gra, facets, grid, ua, va, ub, vb, step, limits, bound, wwAngle, side,
                       true);
}

int pattern_wtpt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, double step, const double limits[3],
                 const CKpDrapeBound* bound, double wwAngle, int side) {
    return pattern_1pt(msg, gra, facets, grid, ua, va, ub, vb, step, limits, bound, wwAngle, side,
                       false);
}

int UpdateBest(double a, double b, double c, double r1, double r2, int flag, double& bestA,
               double& bestB, double& bestC, double& bestR1, double& bestR2, int& bestFlag) {
    if (!(dev(bestR1, bestR2) > dev(r1, r2))) return 0;
    bestA = a;
    bestB = b;
    bestC = c;
    bestR1 = r1;
    bestR2 = r2;
    bestFlag = flag;
    return 1;
}

int UpdateBounds(int flag, double r1, double a, double r2, double b, double& amin, double& amax,
                 double& bmin, double& bmax) {
    if (flag == 0) return 0;
    if (r1 >= 1.05 && r2 >= 1.05 && a > amin && b > bmin) {
        amax = std::min(amax, a);
        bmax = std::min(bmax, b);
    } else if (r1 > 0.0 && r1 <= 0.95 && r2 > 0.0 && r2 <= 0.95 && a < amax && b < bmax) {
        amin = std::max(amin, a);
        bmin = std::max(bmin, b);
    }
    return 0;
}

int pattern_2pts(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid, int ua,
                 int va, int ub, int vb, int u, int v, double step, double weftStep,
                 const double limits[3], double wwAngle, const CKpDrapeBound* bound, int side) {
    // 1. Preconditions.
    if (!grid || !limits || va != v || ub != u || std::abs(ua - u) != 1 || std::abs(vb - v) != 1)
        return 0;
    CKpDrapePt* P1 = grid->pDrapePt(ua, va);
    CKpDrapePt* P2 = grid->pDrapePt(ub, vb);
    if (!P1 || !P2 || grid->pDrapePt(u, v)) return 0;
    if (std::fabs(P1->GetStrn()) > limits[2] && std::fabs(P2->GetStrn()) > limits[2]) return 0;
    const int d1 = u > ua ? 0 : 2, d2 = v > vb ? 1 : 3;
    if (P1->GetJoined(d1) || P2->GetJoined(d2)) return 0;
    if (P1->EndFracSet(d1) && P2->EndFracSet(d2)) return 0;

    // 1a. A cell already solved without success, whose inputs are all as
    // that call left them, would fail the same way again and only rewrite
    // the fibre end it recorded: answer from the memo.
    const std::uint64_t key = cellKey(u, v, ua, vb);
    {
        Inputs in;
        gatherInputs(grid, facets, ua, va, ub, vb, u, v, step, weftStep, limits, wwAngle, bound,
                     side, in);
        if (grid->SameOpenCell(key, in.w, static_cast<std::size_t>(in.n))) return 0;
    }
    // Every "not made" from here on keeps its inputs, taken after its own
    // writes.
    auto notMade = [&]() {
        Inputs in;
        gatherInputs(grid, facets, ua, va, ub, vb, u, v, step, weftStep, limits, wwAngle, bound,
                     side, in);
        grid->KeepOpenCell(key, in.w, static_cast<std::size_t>(in.n));
        return 0;
    };

    // 2.
    if (fillSideAngle(msg, grid, ua, va, u, v, d1) < 0) return -1;
    if (fillSideAngle(msg, grid, ub, vb, u, v, d2) < 0) return -1;

    // 3. Parameters: the cell angle at each neighbour, measured from the
    // fibre towards the fourth corner D = (ua, vb).
    Traces& traces = Traces::mine();
    Cell c{msg, facets, grid, traces.A, traces.B, ua, va,           ub,          vb,
           0,   0,      0,    0,        0,        0,  traces.warps, traces.wefts};
    const int toD1 = vb > va ? 1 : 3, toD2 = ua > ub ? 0 : 2;
    c.ref1 = travelAng(*P1, toD1);
    c.ref2 = travelAng(*P2, toD2);
    if (c.ref1 == kNoAngle || c.ref2 == kNoAngle) return 0;
    c.s1 = P1->GetDnfg() * (v - vb) * (u - ua) * side < 1 ? -1.0 : 1.0;
    c.s2 = P2->GetDnfg() * (v - vb) * (u - ua) * side < 1 ? -1.0 : 1.0;
    double t1 = ang0_lt2pi((travelAng(*P1, d1) - c.ref1) / c.s1);
    double t2 = ang0_lt2pi(-(travelAng(*P2, d2) - c.ref2) / c.s2);

    // 4. Lengths and brackets.
    c.a = P1->GetUpdatedHwt(step);
    c.b = P2->GetUpdatedHwt(weftStep);
    if (!(c.a > 0.0) || !(c.b > 0.0)) return 0;
    double x = wwAngle;
    if (const CKpDrapePt* D = grid->pDrapePt(ua, vb)) {
        const double wt = travelAng(*D, v > vb ? 1 : 3), wp = travelAng(*D, u > ua ? 0 : 2);
        if (wt != kNoAngle && wp != kNoAngle)
            x = pi_pi(D->GetDnfg() * side * (u - ua) * (v - vb) * (wt - wp));
    }
    const double chord = std::sqrt(c.a * c.a + c.b * c.b - 2.0 * c.a * c.b * std::cos(x));
    const bool degenerate = std::fabs(std::sin(x)) < kTinySin || chord < kTinySin * (c.a + c.b);
    double lo[2] = {0.0, 0.0}, hi[2] = {kPi, kPi};
    if (!degenerate) {
        lo[0] = std::asin(std::min(1.0, std::sin(x) * c.a / chord));
        lo[1] = std::asin(std::min(1.0, std::sin(x) * c.b / chord));
    }
    const int away1 = toD1 == 1 ? 3 : 1, away2 = toD2 == 0 ? 2 : 0;
    if (P1->GetJoined(away1) && travelAng(*P1, away1) != kNoAngle)
        hi[0] = ang0_lt2pi((travelAng(*P1, away1) - c.ref1) / c.s1);
    if (P2->GetJoined(away2) && travelAng(*P2, away2) != kNoAngle)
        hi[1] = ang0_lt2pi(-(travelAng(*P2, away2) - c.ref2) / c.s2);

    // 5.-7. Solve; a degenerate cell (sine of its closing angle near zero)
    // is not converged rather than divided by.
    Trial best;
    best.t1 = t1;
    best.t2 = t2;
    bool accepted = false, ranToEnd = false;
    if (!degenerate) {
        accepted = gradient(c, t1, t2, lo, hi, u, v, best, ranToEnd);
        if (!accepted) {
            if (msg)
                msg->Create(1,
                            "u: %3d v: %3d - Gradient iteration method unacceptable, using bound "
                            "iteration method",
                            u, v);
            accepted = bracket(c, lo, hi, best);
        }
        if (!accepted) {
            if (msg)
                msg->Create(1,
                            "u: %3d v: %3d - Bound iteration method unacceptable, using chord "
                            "method",
                            u, v);
            accepted = chords(c, gra, lo, hi, u, v, best);
        }
    }

    // 8. Final fibres.
    const double la = accepted ? c.a * best.r1 : c.a, lb = accepted ? c.b * best.r2 : c.b;
    const double dir1 = pi_pi(c.ref1 + c.s1 * best.t1), dir2 = pi_pi(c.ref2 - c.s2 * best.t2);
    // The winning trials traced these fibres already, mostly at least as
    // far: their traces are cut rather than traced again.
    int last1 = 0, last2 = 0, rc1 = -1, rc2 = -1;
    CKpAxis* held1 = c.warps.reuse(*P1, dir1, la, &rc1, &last1);
    if (!held1)
        rc1 = c.A.make_axis(msg, facets, P1->GetPoint(), P1->GetFacet(), P1->GetDnfg(), dir1, la,
                            &last1);
    CKpAxis* held2 = rc1 < 0 ? nullptr : c.wefts.reuse(*P2, dir2, lb, &rc2, &last2);
    if (rc1 >= 0 && !held2)
        rc2 = c.B.make_axis(msg, facets, P2->GetPoint(), P2->GetFacet(), P2->GetDnfg(), dir2, lb,
                            &last2);
    CKpAxis& A = held1 ? *held1 : c.A;
    CKpAxis& B = held2 ? *held2 : c.B;
    if (rc1 < 0 || rc2 < 0 || last1 < 1 || last2 < 1) {
        report(msg, 4, "Could not create axis.");
        return -1;
    }
    double dist1 = CKpDrapeBound::kNoDist, dist2 = CKpDrapeBound::kNoDist;
    if (bound &&
        (!bound->DstBound(ua, va, 2 * d1, dist1) || !bound->DstBound(ub, vb, 2 * d2, dist2)))
        return notMade();
    double reach1 = std::min(A.pAxisPt(last1)->getLength(), la);
    double reach2 = std::min(B.pAxisPt(last2)->getLength(), lb);
    CKpPoint end1, end2;
    CKpDirn dirn1, dirn2;
    int facet1, edge1, facet2, edge2;
    lastEnd(A, last1, end1, dirn1, facet1, edge1);
    lastEnd(B, last2, end2, dirn2, facet2, edge2);
    if (dist1 >= 0.0 && dist1 < 1.0 && dist1 * c.a < reach1) {
        double steps;
        A.CalcEdgepoint(last1, c.a, dist1, &end1, &steps);
        reach1 = dist1 * c.a;
    }
    if (dist2 >= 0.0 && dist2 < 1.0 && dist2 * c.b < reach2) {
        double steps;
        B.CalcEdgepoint(last2, c.b, dist2, &end2, &steps);
        reach2 = dist2 * c.b;
    }
    const bool full1 = rc1 == 1 && reach1 >= la, full2 = rc2 == 1 && reach2 >= lb;

    // 9. The corner: both fibres at full length, and meeting.
    bool meet = false;
    if (accepted && full1 && full2) {
        int ia = last1, ib = last2;
        meet = CKpAxis::CalcIntPtAnylength(A, B, ia, ib, 1e-6, nullptr, nullptr, nullptr, nullptr,
                                           nullptr, nullptr, nullptr, nullptr) == 0;
    }
    if (meet) {
        const CKpAxisPt* q1 = A.pAxisPt(last1 - 1);
        const CKpAxisPt* q2 = B.pAxisPt(last2 - 1);
        const CKpFacet* f1 = facets->pFac(q1->getFacet());
        const CKpFacet* f2 = facets->pFac(q2->getFacet());
        CKpPoint pos;
        if (!f1 || !f2 || A.GetPointFacet(la, last1, &pos, nullptr) != 0) return notMade();
        CKpDrapePt* N = new (std::nothrow) CKpDrapePt;
        if (!N || grid->pDrapePt(u, v, N) != 0) {
            delete N;
            report(msg, 4, "Could not allocate memory.");
            return -1;
        }
        N->SetPoint(pos);
        N->SetFacet(q1->getFacet());
        N->SetDnfg(q1->getSense());
        N->SetWarpAng(
            storedAng(f1->GetAngle(&q1->getPosition(), &A.pAxisPt(last1)->getPosition()), d1));
        // Every angle of N is in the frame of N's facet (the warp fibre's
        // last one): when N lies on a facet edge the weft fibre arrives
        // through the neighbouring facet, whose frame may be turned.
        N->SetWeftAng(
            storedAng(f1->GetAngle(&q2->getPosition(), &B.pAxisPt(last2)->getPosition()), d2));
        N->SetStrn(msg, wwAngle, side);
        P1->SetSideAng(d1, storedAng(dir1, d1));
        P2->SetSideAng(d2, storedAng(dir2, d2));
        P1->SetStrn(msg, wwAngle, side);
        P2->SetStrn(msg, wwAngle, side);
        grid->Join(ua, va, u, v);
        grid->Join(ub, vb, u, v);
        drawSeg(gra, *P1, *N, limits);
        drawSeg(gra, *P2, *N, limits);
        return 1;
    }

    // 10. Not made: record where a fibre stopped short.
    if (!full1) {
        P1->SetEnd(d1, reach1 / c.a, end1, dirn1, facet1, edge1);
        if (!ranToEnd) drawEnd(gra, *P1, end1, limits);
    } else if (!full2) {
        P2->SetEnd(d2, reach2 / c.b, end2, dirn2, facet2, edge2);
        if (!ranToEnd) drawEnd(gra, *P2, end2, limits);
    } else if (msg) {
        msg->Create(1, "u: %3d v: %3d - No 2pt convergence", u, v);
    }
    return notMade();
}

int CalcPatternOutline2pts(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid,
                           double step, double weftStep, const double limits[3], double wwAngle,
                           const CKpDrapeBound* bound, CKpOln* entry, int& counter, int side) {
    // 1.-2.
    if (!entry || !grid || dn_0_7(entry->getLeaving() - entry->getArriving()) != 2) return 0;
    int du = 0, dv = 0;
    switch (entry->getLeaving()) {
        case 0:
        case 8:
            du = 1, dv = -1;
            break;
        case 2:
            du = 1, dv = 1;
            break;
        case 4:
            du = -1, dv = 1;
            break;
        case 6:
            du = -1, dv = -1;
            break;
        default:
            return 0;
    }
    const int u = entry->getU(), v = entry->getV();
    if (grid->pDrapePt(u + du, v + dv)) return 0;

    // 3.
    const int rc = pattern_2pts(msg, gra, facets, grid, u, v + dv, u + du, v, u + du, v + dv, step,
                                weftStep, limits, wwAngle, bound, side);
    if (rc < 0) {
        report(msg, 4, "Could not create next 2 point pattern.");
        return -1;
    }
    if (rc == 0) return 0;

    // 4.
    ++counter;
    const int oldA = entry->getArriving(), oldD = entry->getLeaving();
    entry->SetUV(u + du, v + dv);
    if (entry->Prev()) entry->Prev()->SetLeaving(oldD);
    if (entry->Next()) entry->Next()->SetArriving(oldA);
    entry->SetArriving(dn_0_7(oldD + 4));
    entry->SetLeaving(dn_0_7(oldA + 4));
    return 1;
}

int CalcPatternOutline1pt(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, CKpDrape* grid,
                          double step, double weftStep, const double limits[3], double wwAngle,
                          int side, const CKpDrapeBound* bound, CKpOln*& entry, int dir, int after,
                          int& counter) {
    // 1.
    CKpOln* E = entry;
    if (!E || !grid || dn_0_7(E->getLeaving() - E->getArriving()) == 2) return 0;

    // 2.
    const int u = E->getU(), v = E->getV();
    int nu = u, nv = v, rc = 0;
    switch (dir) {
        case 0:
            nv = v - 1;
            break;
        case 2:
            nu = u + 1;
            break;
        case 4:
            nv = v + 1;
            break;
        case 6:
            nu = u - 1;
            break;
        default:
            return 0;
    }
    const bool warp = dir == 2 || dir == 6;
    rc = warp ? pattern_wppt(msg, gra, facets, grid, u, v, nu, nv, step, limits, bound, wwAngle,
                             side)
              : pattern_wtpt(msg, gra, facets, grid, u, v, nu, nv, weftStep, limits, bound, wwAngle,
                             side);
    if (rc < 0) {
        report(msg, 4, "Could not create next warp/weft pattern.");
        return -1;
    }
    if (rc == 0) return 0;

    // 3. A spike out to the new point and back.
    ++counter;
    const int out = dn_0_7(dir - 2), back = dn_0_7(dir + 2);
    CKpOln* tip = new (std::nothrow) CKpOln(E->getNumber(), nu, nv, back, back);
    const bool alone = E->Next() == E || !E->Next();
    CKpOln* copy = alone ? nullptr : new (std::nothrow) CKpOln(E->getNumber(), u, v, 0, 0);
    if (!tip || (!alone && !copy)) {
        delete tip;
        delete copy;
        report(msg, 4, "Could not allocate memory.");
        return -1;
    }
    auto link = [](CKpOln* a, CKpOln* b) {
        a->SetNext(b);
        b->SetPrev(a);
    };
    if (alone) {
        E->SetArriving(out);
        E->SetLeaving(out);
        link(E, tip);
        link(tip, E);
    } else if (after == 0) {
        CKpOln* before = E->Prev();
        copy->SetArriving(E->getArriving());
        copy->SetLeaving(out);
        E->SetArriving(out);
        link(before, copy);
        link(copy, tip);
        link(tip, E);
    } else {
        CKpOln* next = E->Next();
        copy->SetArriving(out);
        copy->SetLeaving(E->getLeaving());
        E->SetLeaving(out);
        link(E, tip);
        link(tip, copy);
        link(copy, next);
    }
    entry = tip;
    return 1;
}
