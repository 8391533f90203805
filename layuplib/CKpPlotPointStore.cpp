#include "layuplib/CKpPlotPointStore.h"

#include <cmath>

#include "layuplib/CKpPoint.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

CKpPoint AsPoint(const CKpPlotPoint* p) {
    CKpPoint q;
    q.Set(p->getx(), p->gety(), p->getz());
    return q;
}

double Dist(const CKpPlotPoint* a, const CKpPlotPoint* b) {
    return std::sqrt((b->getx() - a->getx()) * (b->getx() - a->getx()) +
                     (b->gety() - a->gety()) * (b->gety() - a->gety()) +
                     (b->getz() - a->getz()) * (b->getz() - a->getz()));
}

}  // namespace

int CKpPlotPointStore::GetNumPlot() const {
    int n = 0;
    for (const CKpPlotPoint* p = First(); p; p = Next(p))
        if (p->getPlot() != 0) ++n;
    return n;
}

void CKpPlotPointStore::SetPlotAll(int flag) {
    for (CKpPlotPoint* p = First(); p; p = Next(p)) p->setPlot(flag);
}

int CKpPlotPointStore::Minimize(double angTol, double distTol) {
    SetPlotAll(0);
    CKpPlotPoint* a = First();
    if (!a) return 0;
    a->setPlot(2);
    while (CKpPlotPoint* c = Next(a)) {
        const CKpPoint pa = AsPoint(a);
        for (;; c = Next(c)) {
            CKpPlotPoint* n = Next(c);
            if (!n) {
                c->setPlot(2);
                break;
            }
            // Points crowding the anchor or their successor say nothing
            // reliable about the outline's direction.
            if (!(Dist(c, n) > distTol && Dist(c, a) > distTol)) continue;
            const CKpPoint pc = AsPoint(c), pn = AsPoint(n);
            const double turn = std::fabs(pi_pi(kPi - ang_3pts(&pc, &pn, &pa)));
            if (turn > angTol) {
                c->setPlot(2);
                break;
            }
            if (c == Next(a)) continue;
            // Would the chord a-n pass too far from the points skipped so far?
            double dev = -1.0;
            for (const CKpPlotPoint* p = Next(a);; p = Next(p)) {
                const CKpPoint pp = AsPoint(p);
                double d;
                if (dist_line_point(&pa, &pn, &pp, &d) == 0 && d > dev) dev = d;
                if (p == c) break;
            }
            if (dev > distTol) {
                c->setPlot(1);
                break;
            }
        }
        a = c;
    }
    return 0;
}
