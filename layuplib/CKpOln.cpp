#include "layuplib/CKpOln.h"

#include <cmath>
#include <new>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/angle_util.h"
#include "layuplib/clear_pattern.h"

namespace {
// Direction code 0, 2, 4, 6 of the 4-neighbour step (du, dv); -1 otherwise.
int gridDirection(int du, int dv) {
    if (dv == 0 && du == 1) return 0;
    if (du == 0 && dv == 1) return 2;
    if (dv == 0 && du == -1) return 4;
    if (du == 0 && dv == -1) return 6;
    return -1;
}

// Number of entries of a closed ring (stops at a link that is missing).
int ringSize(const CKpOln* head) {
    int n = 0;
    const CKpOln* e = head;
    do {
        ++n;
        e = e->Next();
    } while (e && e != head);
    return n;
}

void markLonely(CKpMsg* msg, CKpDrape* drape, const CKpOln* e) {
    if (msg) msg->Create(1, "Removing lonely point (%d,%d).", e->getU(), e->getV());
    if (drape)
        if (CKpDrapePt* p = drape->pDrapePt(e->getU(), e->getV())) p->SetIx(-1);
}
}  // namespace

int calc_dudv(int dir, int& du, int& dv) {
    static const int kDu[8] = {1, 1, 0, -1, -1, -1, 0, 1};
    static const int kDv[8] = {0, 1, 1, 1, 0, -1, -1, -1};
    if (dir < 0 || dir > 7) {
        du = dv = 0;
    } else {
        du = kDu[dir];
        dv = kDv[dir];
    }
    return 0;
}

int pattern_points_joined(const CKpDrape* drape, int u, int v, int du, int dv) {
    if (!drape) return 0;
    const int d = dn_0_7_dn03(gridDirection(du, dv));
    if (d < 0) return 0;
    const CKpDrapePt* p = drape->pDrapePt(u, v);
    if (!p || !drape->pDrapePt(u + du, v + dv)) return 0;
    return p->GetJoined(d) ? 1 : 0;
}

int calc_deptdn(const CKpDrape* drape, int u, int v, int arriving, int& leaving) {
    for (int k = 1; k <= 8; ++k) {
        const int dir = dn_0_7(arriving + k);
        if (dir % 2) continue;  // diagonals never continue the walk
        int du, dv;
        calc_dudv(dir, du, dv);
        if (pattern_points_joined(drape, u, v, du, dv)) {
            leaving = dir;
            return 0;
        }
    }
    leaving = -1;
    return -1;
}

int CalcOutline(CKpMsg* msg, CKpDrape* drape, CKpOln*& outline) {
    DeleteOutline(outline);
    // 1. First point in column order.
    int u0 = 0, v0 = 0;
    if (!drape || drape->GetFirstOl(u0, v0) != 0) {
        if (msg) msg->Create(4, "Pattern does not exist.");
        return -1;
    }
    // 2. Enter it as if coming up from the point below.
    int leave0 = -1;
    calc_deptdn(drape, u0, v0, 6, leave0);
    CKpOln* first = new (std::nothrow) CKpOln(1, u0, v0, 6, leave0);
    if (!first) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    if (leave0 < 0) {
        if (msg)
            msg->Create(2,
                        "Single outline point. This is probably due to the use of an overlong "
                        "steplength, and results in an inaccurate flat pattern.");
        first->SetArriving(4);
        first->SetLeaving(4);
        first->SetPrev(first);
        first->SetNext(first);
        outline = first;
        return 0;
    }
    // 3. Walk until the first entry comes round again with its leaving
    //    direction. A consistent grid visits each point at most once per
    //    joined direction, so a longer walk means joins that disagree
    //    between neighbours and a walk that would never close.
    int umin, umax, vmin, vmax;
    drape->GetBounds(umin, umax, vmin, vmax);
    const long long cells =
        (static_cast<long long>(umax) - umin + 1) * (static_cast<long long>(vmax) - vmin + 1);
    const long long limit = 4 * cells + 4;
    CKpOln* last = first;
    for (long long n = 1;; ++n) {
        int du, dv;
        calc_dudv(last->getLeaving(), du, dv);
        const int u = last->getU() + du, v = last->getV() + dv;
        const int arriving = dn_0_7(last->getLeaving() + 4);
        int leaving = -1;
        calc_deptdn(drape, u, v, arriving, leaving);
        if (u == u0 && v == v0 && leaving == leave0) {
            first->SetArriving(arriving);
            break;
        }
        CKpOln* e = nullptr;
        if (n < limit)
            e = new (std::nothrow) CKpOln(last->getNumber() + 1, u, v, arriving, leaving);
        if (!e || leaving < 0) {
            // leaving < 0 cannot happen on a consistent grid: the point was
            // entered through a join, so at least that join leads back.
            delete e;
            last->SetNext(nullptr);
            DeleteOutline(first);
            if (msg)
                msg->Create(4, n < limit && leaving >= 0 ? "Could not allocate memory."
                                                         : "Outline walk does not close.");
            return -1;
        }
        e->SetPrev(last);
        last->SetNext(e);
        last = e;
    }
    last->SetNext(first);
    first->SetPrev(last);
    outline = first;
    return 0;
}

int RemoveLonelyPoints(CKpMsg* msg, CKpDrape* drape, CKpOln*& outline) {
    if (!outline) return -1;
    for (bool removed = true; removed && outline;) {
        removed = false;
        int todo = ringSize(outline);
        CKpOln* e = outline;
        while (todo > 0 && outline) {
            if (!e->IsSpikeTip()) {
                e = e->Next();
                --todo;
                continue;
            }
            // A ring of one or two entries is nothing but lonely points:
            // report and mark each, then free the ring.
            if (ringSize(outline) <= 2) {
                CKpOln* tip = e;
                do {
                    markLonely(msg, drape, e);
                    e = e->Next();
                } while (e != tip);
                DeleteOutline(outline);
                return 0;
            }
            // The tip T and the entry after it N (back at the point before
            // it) go; the entry before P takes N's leaving direction.
            markLonely(msg, drape, e);
            CKpOln* prev = e->Prev();
            CKpOln* after = e->Next();
            CKpOln* rest = after->Next();
            prev->SetLeaving(after->getLeaving());
            prev->SetNext(rest);
            rest->SetPrev(prev);
            if (outline == e || outline == after) outline = prev;
            delete e;
            delete after;
            removed = true;
            todo -= 2;
            e = rest;
        }
    }
    return 0;
}

int CKpOln::DeleteLoop(CKpOln* B) {
    if (!B || B == this) return -1;
    const int dir = gridDirection(B->u - u, B->v - v);
    if (dir < 0) return -1;
    // B must lie ahead along the ring; otherwise the walk would free the
    // whole ring.
    CKpOln* e = next;
    while (e && e != B && e != this) e = e->next;
    if (e != B) return -1;
    for (e = next; e != B;) {
        CKpOln* after = e->next;
        delete e;
        e = after;
    }
    next = B;
    B->prev = this;
    leaving = dir;
    B->arriving = dn_0_7(dir + 4);
    return 0;
}

int CKpOln::JoinPoints(CKpMsg* msg, CKpFacetStore* facets, CKpDrape* drape, double wpStep,
                       double wtStep, double lenTol, CKpOln* A, CKpOln* B) {
    if (!facets || !drape || !A || !B) return 1;
    CKpDrapePt* pa = drape->pDrapePt(A->u, A->v);
    CKpDrapePt* pb = drape->pDrapePt(B->u, B->v);
    if (!pa || !pb) return 2;
    // 1. Nominal length and starting angles, pointing from A towards B.
    const int du = B->u - A->u, dv = B->v - A->v;
    const bool row = dv == 0;
    if (row && std::abs(du) != 1) return 3;
    if (du == 0 && std::abs(dv) != 1) return 4;
    if (!row && du != 0) return 5;
    const int step = row ? du : dv;  // +1: B on A's plus side
    double nominal = row ? wpStep : wtStep;
    double angA = row ? pa->GetAveWarpAng(msg) : pa->GetAveWeftAng(msg);
    double angB = row ? pb->GetAveWarpAng(msg) : pb->GetAveWeftAng(msg);
    if (angA == CKpDrapePt::kNoAngle || angB == CKpDrapePt::kNoAngle) return 6;
    if (step < 0) {
        angA = pi_pi(angA + kPi);
        angB = pi_pi(angB + kPi);
    }
    // 2. Fibre path over the surface from A to B.
    double length = nominal;
    CKpPoint posA = pa->GetPoint(), posB = pb->GetPoint();
    if (facets->JoinPoints(msg, length, posA, pa->GetFacet(), pa->GetDnfg(), angA, posB,
                           pb->GetFacet(), pb->GetDnfg(), angB) != 0)
        return 6;
    // 3. Accept a path close enough to the nominal step.
    const double deviation = std::fabs(nominal - length);
    if (deviation > nominal / 2.0) return 7;
    if (deviation > lenTol) return 8;
    if (A->DeleteLoop(B) != 0) return 9;
    // 4. The adjusted directions belong to the sides that face each other,
    //    stored oriented towards +u (+v).
    const int dA = row ? (step > 0 ? 0 : 2) : (step > 0 ? 1 : 3);
    const int dB = (dA + 2) % 4;
    pa->SetSideAng(dA, step > 0 ? angA : pi_pi(kPi + angA));
    pb->SetSideAng(dB, step > 0 ? angB : pi_pi(kPi + angB));
    drape->Join(A->u, A->v, B->u, B->v);
    return 0;
}
