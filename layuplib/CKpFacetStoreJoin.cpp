// CKpFacetStore: joining two surface points by a fibre axis.

#include <cmath>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/angle_util.h"

namespace {

// One attempt of the search: the angle tried at p1, whether the axes
// crossed (0) or not (-1), and the lengths along both axes to the crossing.
struct iterVal {
    double angle;
    int status;
    double lA;
    double lB;
};

// Whether A and B cross; the lengths along both, the crossing angle and the
// crossing's sense.
bool crossing(const CKpAxis& A, const CKpAxis& B, double* lA, double* lB, double* x, int* sense) {
    int ia = A.entries() - 1, ib = B.entries() - 1;
    return CKpAxis::CalcIntPtAnylength(A, B, ia, ib, 1e-6, nullptr, nullptr, nullptr, lA, lB,
                                       nullptr, x, sense) == 0;
}

}  // namespace

int CKpFacetStore::JoinPoints(CKpMsg* msg, double& length, CKpPoint& p1, int fac1, int dnfg1,
                              double& angle1, CKpPoint& p2, int fac2, int dnfg2, double& angle2) {
    // 1. Senses.
    const int sense1 = dnfg1 == 0 ? 1 : dnfg1;
    const int sense2 = dnfg2 == 0 ? 1 : dnfg2;
    const int product = dnfg1 * dnfg2;

    // 2.-4. Turn the angle at p1 until its axis passes through p2: B runs
    // across the wanted fibre at p2, so lB is how far the axis misses p2.
    CKpAxis A, B;
    iterVal best{angle1, -1, 0.0, 1e12};
    double a = angle1;
    for (int k = 0; k < 40; ++k) {
        iterVal it{a, -1, 0.0, 1e12};
        if (A.make_axis(msg, this, p1, fac1, sense1, a, 2.0 * length) < 0) return 1;
        if (B.make_axis(msg, this, p2, fac2, sense2, pi_pi(angle2 + kPi / 2.0), length) < 0)
            return 2;
        double lA = 0.0, lB = 0.0, x = 0.0;
        int crossSense = 0, side = 1;
        bool crossed = crossing(A, B, &lA, &lB, &x, &crossSense);
        if (!crossed) {
            if (B.make_axis(msg, this, p2, fac2, sense2, pi_pi(angle2 - kPi / 2.0), length) < 0)
                return 3;
            crossed = crossing(A, B, &lA, &lB, &x, &crossSense);
            side = -1;
        }
        if (!crossed) break;
        it.status = 0;
        it.lA = lA;
        it.lB = lB;
        if (it.lB < best.lB) best = it;
        if (lB <= length * 1e-6) break;

        const int s = (product != 0 ? product : crossSense) * side;
        const double num = std::sin(x) * lB;
        const double den = lA - std::cos(x) * lB;
        const double turn =
            den != 0.0 ? std::atan(num / den) : (num == 0.0 ? 0.0 : std::copysign(kPi / 2.0, num));
        a = pi_pi(a - turn * s);
    }

    // 5. The best attempt, traced again to find the direction at p2.
    if (!(best.lB <= length * 0.001)) return 4;
    if (A.make_axis(msg, this, p1, fac1, sense1, best.angle, best.lA) < 0) return 5;
    const int n = A.entries();
    const CKpAxisPt* last = A.pAxisPt(n - 1);
    const CKpAxisPt* before = A.pAxisPt(n - 2);
    const CKpFacet* f = last ? pFac(last->getFromFacet()) : nullptr;
    if (n < 2 || !before || !f) return 6;
    angle2 = f->GetAngle(&before->getPosition(), &last->getPosition());
    angle1 = best.angle;
    length = best.lA;
    return 0;
}
