#include "layuplib/drape_inadmissible.h"

#include <cmath>
#include <new>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"
#include "layuplib/clear_pattern.h"
#include "layuplib/pattern_pts.h"
#include "layuplib/pattern_wf.h"
#include "layuplib/user_break.h"

namespace {

// Grid indices beyond this never hold a point (CKpDrape refuses them), so
// stepping from them cannot overflow.
const int kMaxIndex = 1000000;

int Turn(const CKpOln* e) {
    return dn_0_7(e->getLeaving() - e->getArriving());
}

// Grid step of a direction code (0..7, wrapped).
void Step(int code, int& du, int& dv) {
    du = 0;
    dv = 0;
    calc_dudv(dn_0_7(code), du, dv);
}

// 1 when the point at (u, v) is joined towards direction index d and the
// neighbour there exists; joined flags alone are not trusted for a walk.
bool JoinedTo(const CKpDrape* grid, int u, int v, int d) {
    const CKpDrapePt* p = grid->pDrapePt(u, v);
    if (!p || !p->GetJoined(d)) return false;
    int du = 0, dv = 0;
    Step(2 * d, du, dv);
    return grid->pDrapePt(u + du, v + dv) != nullptr;
}

// Number of entries of a closed ring whose links agree both ways; 0 for an
// empty, open or tangled ring.
int RingLength(const CKpOln* head) {
    if (!head) return 0;
    int n = 0;
    const CKpOln* e = head;
    do {
        const CKpOln* next = e->Next();
        if (!next || next->Prev() != e) return 0;
        ++n;
        e = next;
    } while (e != head);
    return n;
}

// Frees the entries strictly between `from` and `to` (following next) and
// links the two.
void FreeBetween(CKpOln* from, CKpOln* to) {
    for (CKpOln* e = from->Next(); e != to;) {
        CKpOln* next = e->Next();
        delete e;
        e = next;
    }
    from->SetNext(to);
    to->SetPrev(from);
}

// The entry at (u, v), searched from `head`; with `arriving` (`leaving`) not
// -1 the entry must also arrive (leave) by that direction. Null when none.
CKpOln* FindEntry(CKpOln* head, int u, int v, int arriving, int leaving) {
    CKpOln* e = head;
    do {
        if (e->getU() == u && e->getV() == v && (arriving < 0 || e->getArriving() == arriving) &&
            (leaving < 0 || e->getLeaving() == leaving))
            return e;
        e = e->Next();
    } while (e != head);
    return nullptr;
}

void Report(CKpMsg* msg, int severity, const char* format, int a, int b, int c, int d) {
    if (msg) msg->Create(severity, format, a, b, c, d);
}

// DeletePatternPoint counting the points it removes into *deleted.
int DeletePoint(CKpMsg* msg, CKpDrape* grid, int u, int v, int& deleted) {
    const int status = DeletePatternPoint(msg, grid, u, v);
    if (status == 0) ++deleted;
    return status;
}

// DeletePatternOutline counting the points it removes.
int DeleteOutlinePoints(CKpMsg* msg, CKpDrape* grid, CKpOln*& ring, int& deleted) {
    if (!grid) return -1;
    if (!ring) return 0;
    const int n = RingLength(ring);
    if (n == 0) {
        if (msg) msg->Create(4, "Outline ring is not closed.");
        return -1;
    }
    // 1. Peel convex corners inwards until nothing more goes; each pass
    //    deletes at least one point, so the passes end.
    for (int removed = 1; removed > 0;) {
        removed = 0;
        CKpOln* e = ring;
        for (int i = 0; i < n; ++i, e = e->Next()) {
            if (Turn(e) != 6 || DeletePoint(msg, grid, e->getU(), e->getV(), removed) != 0)
                continue;
            const int arriving = e->getArriving(), leaving = e->getLeaving();
            static const int kMoveU[4] = {1, 1, -1, -1}, kMoveV[4] = {-1, 1, 1, -1};
            const int k = dn_0_7_dn03(arriving);
            if (k >= 0) e->SetUV(e->getU() + kMoveU[k], e->getV() + kMoveV[k]);
            e->Prev()->SetLeaving(leaving);
            e->Next()->SetArriving(arriving);
            e->SetArriving(dn_0_7(leaving + 4));
            e->SetLeaving(dn_0_7(arriving + 4));
            UpdateOutline(msg, ring);
        }
        deleted += removed;
    }
    // 2. What the ring itself still covers.
    CKpOln* e = ring;
    for (int i = 0; i < n; ++i, e = e->Next())
        DeletePoint(msg, grid, e->getU(), e->getV(), deleted);
    DeleteOutline(ring);
    return 0;
}

// DeleteInadmissiblePoints counting the points it removes.
int DeleteStrip(CKpMsg* msg, CKpDrape* grid, int u, int v, int dn, int& deleted) {
    int ua = 0, va = 0, ub = 0, vb = 0;
    const int n = CalcInadmissiblePoints(grid, u, v, dn, ua, va, ub, vb);
    if (n < 1) {
        if (msg) msg->Create(4, "No drape points to delete beside %d %d.", u, v);
        return -1;
    }
    Report(msg, 1, "Deleting kinematically inadmissable points between %d %d and %d %d", ua, va, ub,
           vb);

    // 1. A ring of its own, so that the workspace's ring stays intact.
    CKpOln* ring = nullptr;
    CalcOutline(msg, grid, ring);
    if (!ring) return -1;  // CalcOutline has reported why

    // 2. Both strip ends on it. Where the two ends share a grid point the
    //    walk may pass it twice; the sides facing the strip tell the visits
    //    apart.
    const int left = dn_0_7(dn + 2);
    const bool pinch = n < 2 || (ua == ub && va == vb);
    //    Where the outline passes the second end more than once (a slit
    //    or a second layer of the grid beside the strip), the visit that
    //    the walk from the first end reaches first closes the region behind
    //    the strip; a later one would take in the rest of the drape too.
    CKpOln* first = FindEntry(ring, ua, va, pinch ? left : -1, -1);
    CKpOln* second = !first  ? nullptr
                     : pinch ? FindEntry(ring, ub, vb, -1, left)
                             : FindEntry(first, ub, vb, -1, -1);
    if (!first || !second) {
        if (msg) msg->Create(4, "Cannot find the outline points of the inadmissible region.");
        DeleteOutline(ring);
        return -1;
    }
    if (msg) {
        msg->Create(1, "StartOl: %3d u: %3d v:%3d apprdn: %d deptdn: %d", first->getNumber(),
                    first->getU(), first->getV(), first->getArriving(), first->getLeaving());
        msg->Create(1, "EndOl:   %3d u: %3d v:%3d apprdn: %d deptdn: %d", second->getNumber(),
                    second->getU(), second->getV(), second->getArriving(), second->getLeaving());
    }

    // 3. Keep the walk from the first end round the cut-off region to the
    //    second end.
    if (first == second) {
        FreeBetween(first, first);
        DeletePoint(msg, grid, first->getU(), first->getV(), deleted);
        DeleteOutline(first);
        return 0;
    }
    FreeBetween(second, first);

    if (pinch) {
        // 4. Both ends on one grid point: the first end takes the second's
        //    place.
        CKpOln* before = second->Prev();
        first->SetArriving(second->getArriving());
        before->SetNext(first);
        first->SetPrev(before);
        delete second;
    } else {
        // 5. Close the ring along the strip, from the second end back to the
        //    first; the ends turn along it so that the ring's directions
        //    agree everywhere.
        int du = 0, dv = 0;
        Step(dn, du, dv);
        second->SetLeaving(dn_0_7(dn + 4));
        first->SetArriving(dn_0_7(dn));
        CKpOln* last = second;
        for (int pu = ub - du, pv = vb - dv; pu != ua || pv != va; pu -= du, pv -= dv) {
            CKpOln* e = new (std::nothrow) CKpOln(0, pu, pv, dn_0_7(dn), dn_0_7(dn + 4));
            if (!e) {
                if (msg) msg->Create(4, "Could not allocate memory.");
                last->SetNext(first);
                first->SetPrev(last);
                DeleteOutline(first);
                return -1;
            }
            last->SetNext(e);
            e->SetPrev(last);
            last = e;
        }
        last->SetNext(first);
        first->SetPrev(last);
    }

    // 6. Everything in and on the closed ring goes.
    UpdateOutline(msg, first);
    return DeleteOutlinePoints(msg, grid, first, deleted);
}

// A new ring for the workspace after the grid changed; false when the grid
// has no outline any more.
bool Recompute(CKpMsg* msg, CKpDrapeSim* sim) {
    CKpOln* ring = sim->pfOln();
    CalcOutline(msg, sim->pDrape(), ring);
    sim->pfOln(ring);
    return ring != nullptr;
}

// 1 when `entry` lies strictly between `from` and `to` along the ring.
bool Between(const CKpOln* from, const CKpOln* to, const CKpOln* entry) {
    for (const CKpOln* e = from->Next(); e && e != to && e != from; e = e->Next())
        if (e == entry) return true;
    return false;
}

}  // namespace

int DrapeInadmissible(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets,
                      CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                      double weftStep, int side, int mode, double tol) {
    if (!sim) {
        if (msg) msg->Create(4, "No drape workspace.");
        return -1;
    }
    CKpDrape* grid = sim->pDrape();
    CKpOln* first = sim->pfOln();
    if (!first) return 0;
    int n = RingLength(first);
    if (n == 0) {
        if (msg) msg->Create(4, "Outline ring is not closed.");
        return -1;
    }

    CKpOln* e = first;
    for (;;) {
        CKpOln* next = e->Next();
        if (Turn(e) == 2) {
            // 1. A slot: notch corner A, straight entries, notch corner B. A
            //    straight entry whose fibre into the slot ended at the edge
            //    of the selection leaves the slot alone.
            CKpOln* A = e;
            const int dep = A->getLeaving();
            const int outward = dn_0_7_dn03(dn_0_7(dep - 2));
            int atEdge = 0, walked = 0;
            CKpOln* B = A->Next();
            for (; B != A && Turn(B) == 4 && walked < n; B = B->Next(), ++walked) {
                const CKpDrapePt* p = grid->pDrapePt(B->getU(), B->getV());
                if (p && p->EndFracSet(outward)) ++atEdge;
            }
            if (B != A && Turn(B) == 2 && atEdge == 0) {
                Report(msg, 1, "Kinematically inadmissable line between %d %d and %d %d", A->getU(),
                       A->getV(), B->getU(), B->getV());
                bool changed = false;
                if (mode == 0) {
                    // 2. Delete behind the corner with the shorter strip.
                    int ua, va, ub, vb;
                    const int countA =
                        CalcInadmissiblePoints(grid, A->getU(), A->getV(), dep, ua, va, ub, vb);
                    const int countB =
                        CalcInadmissiblePoints(grid, B->getU(), B->getV(), dep, ua, va, ub, vb);
                    if (msg)
                        msg->Create(1, "Kinematically inadmissable points %d and %d", countA,
                                    countB);
                    const int au = A->getU(), av = A->getV(), bu = B->getU(), bv = B->getV();
                    int deleted = 0;
                    bool failed =
                        countB >= countA && DeleteStrip(msg, grid, au, av, dep, deleted) != 0;
                    // With equal strips B's may have gone with A's region.
                    if (!failed && countB <= countA &&
                        (countB < countA ||
                         CalcInadmissiblePoints(grid, bu, bv, dep, ua, va, ub, vb) > 0))
                        failed = DeleteStrip(msg, grid, bu, bv, dep, deleted) != 0;
                    if (failed) {
                        if (msg) msg->Create(4, "Error in DeleteInadmissiblePoints.");
                        return -1;
                    }
                    changed = deleted > 0;
                } else if (mode == 1) {
                    // 3. Cut across the slot.
                    const int status =
                        DrapeInadmissibleCut(msg, gui, gra, facets, sim, wwAngle, limits, step,
                                             weftStep, side, tol, A, B);
                    if (status < 0) return -1;
                    changed = status == 0;
                } else {
                    if (msg) msg->Create(4, "Unsupported inadmissible mode %d", mode);
                    return -1;
                }
                if (changed) {
                    // 4. The grid changed: scan the new ring from its start.
                    if (!Recompute(msg, sim)) return 0;
                    first = e = sim->pfOln();
                    n = RingLength(first);
                    if (n == 0) return 0;
                    continue;
                }
            }
        }
        e = next;
        if (e == first) return 0;
    }
}

int DrapeInadmissibleCut(CKpMsg* msg, CKpGUI* gui, CKpGra* gra, CKpFacetStore* facets,
                         CKpDrapeSim* sim, double wwAngle, const double limits[3], double step,
                         double weftStep, int side, double tol, CKpOln* A, CKpOln* B) {
    if (!sim || !A || !B || !A->Next() || !B->Prev()) {
        if (msg) msg->Create(4, "Cannot cut the inadmissible region: no outline.");
        return -1;
    }
    CKpDrape* grid = sim->pDrape();

    // 1. How far the joining fibre may differ from one step.
    double distance = 0.0;
    if (tol > 0.0) {
        if (A->getV() != B->getV()) {
            if (A->getU() != B->getU()) return 1;
            distance = std::abs(A->getV() - B->getV()) * tol / 100.0 * weftStep;
        } else {
            distance = std::abs(A->getU() - B->getU()) * tol / 100.0 * step;
        }
    }

    // 2. Fill the notch corners from both ends of the slot towards each
    //    other; each side stops at its first miss.
    CKpOln* a = A;
    CKpOln* b = B;
    if (B != A->Next()) {
        bool aOn = true, bOn = true;
        for (;;) {
            int counter = 0;
            if (aOn) {
                const int r = CalcPatternOutline2pts(msg, gra, facets, grid, step, weftStep, limits,
                                                     wwAngle, sim->pBound(), a, counter, side);
                if (r < 0) {
                    if (msg) msg->Create(4, "Error in CalcPatternOutline2pts.");
                    return 2;
                }
                if (r > 0)
                    a = a->Next();
                else
                    aOn = false;
            }
            if (bOn) {
                const int r = CalcPatternOutline2pts(msg, gra, facets, grid, step, weftStep, limits,
                                                     wwAngle, sim->pBound(), b, counter, side);
                if (r < 0) {
                    if (msg) msg->Create(4, "Error in CalcPatternOutline2pts.");
                    return 3;
                }
                if (r > 0)
                    b = b->Prev();
                else
                    bOn = false;
            }
            if (msg) msg->Create(1, "Number of new unique points: %d", counter);
            if (counter == 0 || user_break(gui, 1)) break;
        }
    }

    // 3. Once the two sides meet, join across the mouth of what is left.
    if (a->Next() != b) return 4;
    CKpOln* from = a->Prev();
    CKpOln* to = b->Next();
    const bool headGoes = Between(from, to, sim->pfOln());
    if (CKpOln::JoinPoints(msg, facets, grid, step, weftStep, distance, from, to) != 0) {
        Report(msg, 1, "Unable to join points [%d,%d] and [%d,%d].", from->getU(), from->getV(),
               to->getU(), to->getV());
        return 4;
    }
    // The short-cut freed the entries between; the workspace must not keep
    // one of them.
    if (headGoes) sim->pfOln(from);
    Report(msg, 1, "Joined points [%d,%d] and [%d,%d].", from->getU(), from->getV(), to->getU(),
           to->getV());
    return 0;
}

int CalcInadmissiblePoints(const CKpDrape* grid, int u, int v, int dn, int& ua, int& va, int& ub,
                           int& vb) {
    const int forward = dn_0_7_dn03(dn_0_7(dn));
    if (!grid || forward < 0 || std::abs(u) > kMaxIndex || std::abs(v) > kMaxIndex) return 0;
    const int backward = dn_0_7_dn03(dn_0_7(dn + 4));
    const int left = dn_0_7_dn03(dn_0_7(dn + 2));
    int du = 0, dv = 0, ru = 0, rv = 0;
    Step(dn, du, dv);
    Step(dn - 2, ru, rv);
    const int su = u + ru, sv = v + rv;
    if (!grid->pDrapePt(su, sv)) return 0;

    // 1. Length of the strip through S along the direction.
    int count = 1;
    for (int pu = su, pv = sv; JoinedTo(grid, pu, pv, backward); pu -= du, pv -= dv) ++count;
    for (int pu = su, pv = sv; JoinedTo(grid, pu, pv, forward); pu += du, pv += dv) ++count;

    // 2. Its ends: as far as the strip stays joined to the left.
    ua = su;
    va = sv;
    while (JoinedTo(grid, ua, va, backward) && JoinedTo(grid, ua, va, left)) {
        ua -= du;
        va -= dv;
    }
    ub = su;
    vb = sv;
    while (JoinedTo(grid, ub, vb, forward) && JoinedTo(grid, ub, vb, left)) {
        ub += du;
        vb += dv;
    }
    return count;
}

int DeleteInadmissiblePoints(CKpMsg* msg, CKpDrape* grid, int u, int v, int dn) {
    int deleted = 0;
    return DeleteStrip(msg, grid, u, v, dn, deleted);
}

int DeletePatternOutline(CKpMsg* msg, CKpDrape* grid, CKpOln*& ring) {
    int deleted = 0;
    return DeleteOutlinePoints(msg, grid, ring, deleted);
}

int DeletePatternPoint(CKpMsg* msg, CKpDrape* grid, int u, int v) {
    CKpDrapePt* p = grid ? grid->pDrapePt(u, v) : nullptr;
    if (!p) return -1;
    if (msg) msg->Create(1, "Deleting pattern point %d %d", u, v);
    for (int d = 0; d < 4; ++d) {
        if (!p->GetJoined(d)) continue;
        int du = 0, dv = 0;
        Step(2 * d, du, dv);
        if (CKpDrapePt* n = grid->pDrapePt(u + du, v + dv)) n->SetJoined((d + 2) % 4, 0);
    }
    grid->pDrapePt(u, v, nullptr);
    delete p;
    return 0;
}
