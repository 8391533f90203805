#include "layuplib/projected_angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;
const double kDeg = kPi / 180.0;

CKpDirn Dn(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    return d;
}

// A surface whose facets are all painted with the direction flag `dnfg`,
// with a captured message log.
struct Painted : FacetSurface {
    MessageCapture cap;
    Painted(const meshgen::Mesh& mesh, const char* name, int dnfg = 1) : cap(name) {
        Build(mesh);
        for (int i = 0; i < facets.entries(); ++i) {
            facets.pFac(i)->setPntd(1);
            facets.pFac(i)->setFacetDirection(dnfg);
        }
    }
    int Run(int method, double theta, CKpDirn a = Dn(0, 0, -1), CKpDirn d = Dn(1, 0, 0),
            int start = 0) {
        return CalcPatternPR(&cap.log, &facets, a.getx(), a.gety(), a.getz(), d.getx(), d.gety(),
                             d.getz(), theta, method, start);
    }
    // The global direction of facet i's warp angle.
    CKpDirn Warp(int i) const { return facets.pFac(i)->GetDirn(facets.pFac(i)->getwpang()); }
    bool Has(const std::string& text) const { return cap.body().find(text) != std::string::npos; }
};

// The facet's own axes, from its vertices: x along vertex 0 -> 1, z the
// normal, y = z × x.
void Axes(const CKpFacet* f, CKpDirn* x, CKpDirn* y, CKpDirn* z) {
    x->set2pts(f->getCKpPoint(0), f->getCKpPoint(1));
    x->unitize();
    z->Set3Points(f->getCKpPoint(0), f->getCKpPoint(1), f->getCKpPoint(2));
    z->unitize();
    y->setCrossProduct(z, x);
}

TEST(ProjectedAngles, EachMethodOnAPlate) {
    // Every facet of the plate gets the global warp angle phi (degrees).
    struct Case {
        int method;
        CKpDirn d;
        double phi;
    } cases[] = {
        {0, Dn(1, 0, 0), 30},  {1, Dn(1, 0, 0), 30},    {2, Dn(1, 0, 0), 0},  {3, Dn(1, 0, 0), 90},
        {4, Dn(1, 0, 0), 30},  {5, Dn(1, 0, 0), 120},   {7, Dn(1, 1, 0), 75}, {8, Dn(1, 0, 0), 30},
        {8, Dn(0, 1, 0), 120}, {4, Dn(0, 0, 1e-7), 30},  // the reference direction is not used
    };
    Painted s(surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0), "proj_plate");
    ASSERT_EQ(s.facets.pFac(0)->getCKpPoint(1)->getx(), 1.0);  // the first facet's x is +x
    for (const Case& c : cases) {
        ASSERT_EQ(s.Run(c.method, 30 * kDeg, Dn(0, 0, -1), c.d), 0) << "method " << c.method;
        for (int i = 0; i < s.facets.entries(); ++i) {
            const CKpFacet* f = s.facets.pFac(i);
            const CKpDirn w = s.Warp(i);
            EXPECT_TRUE(Near(pi_pi(std::atan2(w.gety(), w.getx()) - c.phi * kDeg), 0.0, tol::angle))
                << "method " << c.method << " facet " << i;
            EXPECT_EQ(f->getwtang(), f->getwpang());
            EXPECT_EQ(f->getNrpat(), 1);
            EXPECT_EQ(f->getstrn(), 0.0);
        }
    }
    EXPECT_EQ(s.cap.body(), "");  // no warnings

    // A facet turned the other way takes the reference angle the other way.
    Painted r(surfmesh::Plate(Kind::Quad4, 2, 2, 4.0, 4.0), "proj_plate_neg", -1);
    r.facets.pFac(3)->setPntd(0);
    ASSERT_EQ(r.Run(4, 30 * kDeg), 0);
    const CKpDirn w = r.Warp(0);
    EXPECT_TRUE(Near(std::atan2(w.gety(), w.getx()), -30 * kDeg, tol::angle));
    EXPECT_EQ(r.facets.pFac(3)->getwpang(), -1000.0);  // not painted: untouched
    EXPECT_EQ(r.facets.pFac(3)->getNrpat(), 0);
}

TEST(ProjectedAngles, FailuresLeaveFacetsUnset) {
    Painted s(surfmesh::Plate(Kind::Quad4, 2, 2, 4.0, 4.0), "proj_fail");
    // Along Z every facet fails; the start facet exists, so the run stands,
    // but no facet is marked as carrying an angle.
    ASSERT_EQ(s.Run(6, 0.0), 0);
    EXPECT_TRUE(
        s.Has("WARNING: Direction not calculated as element 1 is perpendicular to the "
              "projection vector."));
    for (int i = 0; i < s.facets.entries(); ++i) {
        EXPECT_EQ(s.facets.pFac(i)->getwpang(), -1000.0);
        EXPECT_EQ(s.facets.pFac(i)->getNrpat(), 0);
    }
    s.cap.reset();
    EXPECT_EQ(s.Run(6, 0.0, Dn(0, 0, -1), Dn(1, 0, 0), 99), -1);
    EXPECT_TRUE(s.Has("ERROR: Cannot find start facet."));

    EXPECT_EQ(s.Run(7, 0.0, Dn(0, 0, -1), Dn(1e-7, 0, 0)), -1);
    EXPECT_TRUE(
        s.Has("ERROR: The reference direction vector has a magnitude of 1e-07 which is "
              "smaller than the minimum allowable value of 1e-06. Please define the "
              "reference direction more clearly."));

    // A plate standing in the XZ plane lies in the plane of method 1 at 0.
    meshgen::Mesh m = surfmesh::Plate(Kind::Quad4, 1, 1, 2.0, 2.0);
    for (size_t i = 0; i < m.xyz.size(); i += 3) std::swap(m.xyz[i + 1], m.xyz[i + 2]);
    Painted xz(m, "proj_xz");
    double angle = 0.0;
    EXPECT_EQ(CalcWpangOnFac(&xz.cap.log, &xz.facets, 1, Dn(0, 0, -1), Dn(1, 0, 0), 0.0, 1, &angle),
              -1);
    EXPECT_TRUE(xz.Has("WARNING: Direction not calculated as element 1 lies in reference plane."));
}

TEST(ProjectedAngles, MethodsOnAHemisphere) {
    Painted s(surfmesh::Hemisphere(Kind::Quad4, 16, 6, 5.0), "proj_hemi");
    const double theta = 20 * kDeg;
    const int n = s.facets.entries();

    // Projections: p projected onto the (planar) cell, turned by theta.
    const CKpDirn ps[4] = {Dn(1, 0, 0), Dn(0, 1, 0), Dn(0, 0, 1), Dn(1, 2, 3)};
    for (int k = 0; k < 4; ++k) {
        ASSERT_EQ(s.Run(4 + k, theta, Dn(0, 0, -1), ps[k]), 0);
        for (int i = 0; i < n; ++i) {
            CKpDirn x, y, z;
            Axes(s.facets.pFac(i), &x, &y, &z);
            const CKpDirn& p = ps[k];
            const double pn = p.DotProduct(&z);
            const CKpDirn v =
                Dn(p.getx() - pn * z.getx(), p.gety() - pn * z.gety(), p.getz() - pn * z.getz());
            const double want = pi_pi(std::atan2(v.DotProduct(&y), v.DotProduct(&x)) + theta);
            EXPECT_TRUE(Near(pi_pi(s.facets.pFac(i)->getwpang() - want), 0.0, tol::loose))
                << "method " << 4 + k << " facet " << i;
        }
    }

    // Planes: the warp lies in the reference plane and along its reference.
    const double c = std::cos(theta), sn = std::sin(theta);
    const CKpDirn normals[3] = {Dn(-sn, c, 0), Dn(0, -sn, c), Dn(c, 0, -sn)};
    const CKpDirn refs[3] = {Dn(c, sn, 0), Dn(0, c, sn), Dn(sn, 0, c)};
    double planeZ[512];
    ASSERT_LE(n, 512);
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(s.Run(1 + k, theta), 0);
        for (int i = 0; i < n; ++i) {
            const CKpDirn w = s.Warp(i);
            EXPECT_LT(std::fabs(w.DotProduct(&normals[k])), 1e-12) << "method " << 1 + k;
            EXPECT_GT(w.DotProduct(&refs[k]), 0.0) << "method " << 1 + k;
            if (k == 0) planeZ[i] = s.facets.pFac(i)->getwpang();
        }
    }
    // The plane of -Z and X turned by theta about -Z is that of method 1.
    ASSERT_EQ(s.Run(8, theta, Dn(0, 0, -1), Dn(1, 0, 0)), 0);
    for (int i = 0; i < n; ++i)
        EXPECT_TRUE(Near(pi_pi(s.facets.pFac(i)->getwpang() - planeZ[i]), 0.0, tol::loose));
}

}  // namespace
