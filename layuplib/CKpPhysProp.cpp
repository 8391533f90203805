#include "layuplib/CKpPhysProp.h"

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/geom_util.h"

CKpPhysProp::CKpPhysProp() : m_values{} {}

namespace {

// Area, first moments and the six second-moment integrals of one element's
// surface.
struct Surface {
    double area = 0.0;
    double first[3] = {0.0, 0.0, 0.0};
    double J[6] = {0.0, 0.0, 0.0, 0.0, 0.0, 0.0};  // Jxx Jyy Jzz Jxy Jyz Jzx
};

// Integral of u v over the triangle (exact for linear u, v).
double product(double A, const double* u, const double* v) {
    return A / 6.0 *
           (u[0] * v[0] + u[1] * v[1] + u[2] * v[2] +
            (u[0] * v[1] + u[0] * v[2] + u[1] * v[0] + u[1] * v[2] + u[2] * v[0] + u[2] * v[1]) /
                2.0);
}

void addTriangle(Surface& s, const CKpPoint* p0, const CKpPoint* p1, const CKpPoint* p2) {
    const double A = calc_area(p0, p1, p2);
    const double x[3] = {p0->getx(), p1->getx(), p2->getx()};
    const double y[3] = {p0->gety(), p1->gety(), p2->gety()};
    const double z[3] = {p0->getz(), p1->getz(), p2->getz()};
    s.area += A;
    s.first[0] += A * (x[0] + x[1] + x[2]) / 3.0;
    s.first[1] += A * (y[0] + y[1] + y[2]) / 3.0;
    s.first[2] += A * (z[0] + z[1] + z[2]) / 3.0;
    const double xx = product(A, x, x), yy = product(A, y, y), zz = product(A, z, z);
    s.J[0] += yy + zz;
    s.J[1] += zz + xx;
    s.J[2] += xx + yy;
    s.J[3] += product(A, x, y);
    s.J[4] += product(A, y, z);
    s.J[5] += product(A, z, x);
}

}  // namespace

int CKpPhysProp::Calc(CKpElemStore* elems, const CKpFacetStore* facets) {
    for (double& v : m_values) v = 0.0;
    if (!elems || !facets) return 0;
    double* total = m_values;  // area, volume, mass
    double moment[3] = {0.0, 0.0, 0.0};
    double* I = m_values + 6;

    const int n = elems->entries();
    for (int e = 0; e < n; ++e) {
        const CKpElem* elem = (*elems)[e];
        if (!elem) continue;

        // 1. The element's surface from its facets.
        Surface s;
        for (int f = 0; f < elem->getnfac(); ++f) {
            const CKpFacet* facet = facets->pFac(elem->getfacs(f));
            if (!facet) continue;
            const CKpPoint* p0 = facet->getCKpPoint(0);
            const CKpPoint* p1 = facet->getCKpPoint(1);
            const CKpPoint* p2 = facet->getCKpPoint(2);
            if (p0 && p1 && p2) addTriangle(s, p0, p1, p2);
        }
        if (!(s.area > 0.0)) continue;

        // 2. Volume and mass from the ply stack.
        double Ve = 0.0, me = 0.0;
        if (const CKpElemLypPlyStore* plies = elem->getElemLypPlies())
            for (const CKpElemLypPly* ply = plies->First(); ply; ply = plies->Next(ply)) {
                const double t = ply->thck();
                Ve += t * s.area;
                me += ply->dens() * t * s.area;
            }

        // 3. Totals, the element's mass at its centroid.
        total[0] += s.area;
        total[1] += Ve;
        total[2] += me;
        for (int i = 0; i < 3; ++i) moment[i] += me * s.first[i] / s.area;
        for (int i = 0; i < 6; ++i) I[i] += me * s.J[i] / s.area;
    }

    // 4. Centre of gravity, inertia moved to it.
    double* cg = m_values + 3;
    const double mass = total[2];
    if (mass > 0.0)
        for (int i = 0; i < 3; ++i) cg[i] = moment[i] / mass;
    I[0] -= (cg[1] * cg[1] + cg[2] * cg[2]) * mass;
    I[1] -= (cg[0] * cg[0] + cg[2] * cg[2]) * mass;
    I[2] -= (cg[0] * cg[0] + cg[1] * cg[1]) * mass;
    I[3] -= cg[0] * cg[1] * mass;
    I[4] -= cg[1] * cg[2] * mass;
    I[5] -= cg[0] * cg[2] * mass;
    return 1;
}
