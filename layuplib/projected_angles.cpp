#include "layuplib/projected_angles.h"

#include <cmath>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CalcElementData2.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"

namespace {

const double kMinRefLength = 1e-6;

// Whether u and v lie within 0.1 degree of one axis (either sense); a zero
// vector gives the angle 0 and so counts as parallel.
bool nearlyParallel(const CKpDirn& u, const CKpDirn& v) {
    return std::fabs(std::cos(u.Angle(&v))) >= std::cos(kPi / 1800.0);
}

CKpDirn dirn(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    return d;
}

}  // namespace

int CalcWpangOnFacPlane(CKpMsg* msg, const CKpFacet* facet, const CKpDirn& n, const CKpDirn& r,
                        double* angle) {
    if (!facet || !angle) return -1;
    CKpDirn N;
    facet->GetNormal(&N);
    if (nearlyParallel(n, N)) {
        if (msg)
            msg->Create(2, "Direction not calculated as element %d lies in reference plane.",
                        facet->GetElemId());
        return -1;
    }
    CKpDirn w;
    w.setCrossProduct(&n, &N);
    const double a = facet->GetAngle(&w);
    *angle = w.DotProduct(&r) > 0.0 ? a : pi_pi(a + kPi);
    return 0;
}

int CalcWpangOnFacProject(CKpMsg* msg, const CKpFacet* facet, const CKpDirn& p, double theta,
                          double* angle) {
    if (!facet || !angle) return -1;
    const CKpElem* elem = facet->getElement();
    if (!elem) return -1;
    CKpPoint mid;
    CKpDirn N, ref;
    double area = 0.0;
    if (CalcElementData2(msg, elem, &mid, &N, &ref, &area) != 0) return -1;
    if (nearlyParallel(p, N)) {
        if (msg)
            msg->Create(2,
                        "Direction not calculated as element %d is perpendicular to the "
                        "projection vector.",
                        elem->id());
        return -1;
    }
    double onElem = 0.0;
    if (elem->GetProjectedAngle(msg, p, &onElem) != 0) return -1;
    CKpDirn d;
    if (elem->GetDirection(onElem, d) != 0) return -1;
    *angle = pi_pi(facet->GetAngle(&d) + facet->getFacetDirection() * theta);
    return 0;
}

int CalcWpangOnFac(CKpMsg* msg, const CKpFacetStore* facets, int facet, const CKpDirn& a,
                   const CKpDirn& d, double theta, int method, double* angle) {
    const CKpFacet* f = facets ? facets->pFac(facet) : nullptr;
    if (!f || !angle) return -1;
    const double c = std::cos(theta), s = std::sin(theta);
    switch (method) {
        case 0: {
            const CKpElem* elem = f->getElement();
            const CKpFacet* first =
                elem && elem->getnfac() > 0 ? facets->pFac(elem->getfacs(0)) : nullptr;
            if (!first) return -1;
            const CKpDirn w = first->GetDirn(theta);
            *angle = f->GetAngle(&w);
            return 0;
        }
        case 1:
            return CalcWpangOnFacPlane(msg, f, dirn(-s, c, 0.0), dirn(c, s, 0.0), angle);
        case 2:
            return CalcWpangOnFacPlane(msg, f, dirn(0.0, -s, c), dirn(0.0, c, s), angle);
        case 3:
            return CalcWpangOnFacPlane(msg, f, dirn(c, 0.0, -s), dirn(s, 0.0, c), angle);
        case 4:
            return CalcWpangOnFacProject(msg, f, dirn(1.0, 0.0, 0.0), theta, angle);
        case 5:
            return CalcWpangOnFacProject(msg, f, dirn(0.0, 1.0, 0.0), theta, angle);
        case 6:
            return CalcWpangOnFacProject(msg, f, dirn(0.0, 0.0, 1.0), theta, angle);
        case 7:
            return CalcWpangOnFacProject(msg, f, d, theta, angle);
        case 8: {
            // The plane holding a and d, turned about a by the reference
            // angle; at theta = 0 it cuts a surface facing a along d.
            CKpDirn m;
            m.setCrossProduct(&a, &d);
            CKpDirn normal = m, reference = d;
            rotate_dirn_dirn(&a, &m, -theta, &normal);
            rotate_dirn_dirn(&a, &d, -theta, &reference);
            return CalcWpangOnFacPlane(msg, f, normal, reference, angle);
        }
        default:
            if (msg) msg->Create(2, "Unsupported projection method.");
            return -1;
    }
}

int CalcPatternPR(CKpMsg* msg, CKpFacetStore* facets, double ax, double ay, double az, double dx,
                  double dy, double dz, double theta, int method, int startFacet) {
    // 1.-2.
    if (!facets || facets->SimulationInitialiseProjection() != 0) return -1;
    const CKpDirn a = dirn(ax, ay, az);
    const CKpDirn d = dirn(dx, dy, dz);
    if ((method == 7 || method == 8) && !(d.mag() >= kMinRefLength)) {
        if (msg)
            msg->Create(4,
                        "The reference direction vector has a magnitude of %g which is smaller "
                        "than the minimum allowable value of %g. Please define the reference "
                        "direction more clearly.",
                        d.mag(), kMinRefLength);
        return -1;
    }

    // 3. Every painted facet.
    int set = 0;
    for (int i = 0; i < facets->entries(); ++i) {
        CKpFacet* f = facets->pFac(i);
        if (!f || !f->getPntd()) continue;
        double angle = 0.0;
        if (CalcWpangOnFac(msg, facets, i, a, d, theta, method, &angle) != 0) continue;
        f->setwpang(angle);
        f->setwtang(angle);
        f->setstrn(0.0);
        f->setNrpat(1);
        ++set;
    }

    // 4. Without a single angle the start facet is left unset too: marking it
    // simulated would carry the unset angle into the pattern elements.
    if (set > 0) return 0;
    if (!facets->pFac(startFacet)) {
        if (msg) msg->Create(4, "Cannot find start facet.");
        return -1;
    }
    return 0;
}
