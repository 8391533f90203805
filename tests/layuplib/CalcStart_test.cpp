#include "layuplib/CalcStart.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpPlane.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

CKpPoint Pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

CKpDirn Dn(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    return d;
}

// A surface with every element selected and a captured message log.
struct Selected : FacetSurface {
    MessageCapture cap;
    int facet = -1, side = 0;
    CKpPoint start;

    Selected(const meshgen::Mesh& mesh, const char* name) : cap(name) {
        Build(mesh);
        for (int i = 0; i < elems.entries(); ++i) elems[i]->setSltd(1);
    }
    int Start(CKpPoint p, CKpDirn d, int fallback = 0) {
        return CalcStart(&cap.log, &facets, p, d, fallback, facet, start, side);
    }
    // The warnings and errors written since the last reset.
    std::vector<std::string> Problems() const {
        std::vector<std::string> out;
        const std::string body = cap.body();
        for (size_t at = 0, nl; (nl = body.find('\n', at)) != std::string::npos; at = nl + 1)
            for (const std::string tag : {"$# WARNING: ", "$# ERROR: "})
                if (body.compare(at, tag.size(), tag) == 0)
                    out.push_back(body.substr(at + tag.size(), nl - at - tag.size()));
        return out;
    }
};

bool Holds(const CKpPlane& pl, const CKpPoint& p) {
    return std::fabs(pl.a * p.getx() + pl.b * p.gety() + pl.c * p.getz() + pl.d) < 1e-9;
}

}  // namespace

TEST(CalcStart, StartPointsOnAPlateAndAHemisphere) {
    Selected s(surfmesh::Plate(Kind::Quad4, 4, 3, 4.0, 3.0), "cs_plate");
    ASSERT_EQ(s.Start(Pt(2.3, 1.6, 10), Dn(0, 0, -2)), 0);
    EXPECT_TRUE(s.facets.GetElemId(s.facet) == 7 && s.side == 1);
    // 0.001 of the way to the centroid of the facet (3,2) (2,2) (2,1).
    const double got[2] = {s.start.getx(), s.start.gety()};
    const double want[2] = {0.999 * 2.3 + 0.001 * 7.0 / 3.0, 0.999 * 1.6 + 0.001 * 5.0 / 3.0};
    EXPECT_TRUE(NearArray(got, want, 2, tol::length));
    ASSERT_EQ(s.Start(Pt(0.5, 0.2, -1), Dn(0, 0, 1)), 0);
    EXPECT_EQ(s.side, -1);
    EXPECT_TRUE(s.Problems().empty());

    Selected h(surfmesh::Hemisphere(Kind::Quad4, 8, 4, 3.0), "cs_hemi");
    ASSERT_EQ(h.Start(Pt(0.1, 0.2, 10), Dn(0, 0, -1)), 0);
    EXPECT_TRUE(h.side == 1 && h.facets.pFac(h.facet)->getElement()->getgmtp() == 11);  // pole
    ASSERT_EQ(h.Start(Pt(0, 0, 0), Dn(2, 0, 0.5)), 0);
    EXPECT_TRUE(h.side == -1 && h.start.getx() > 2.5 && h.start.getx() < 3.0);
}

TEST(CalcStart, RefusalsAndTheClosestPointFallback) {
    Selected s(surfmesh::Plate(Kind::Quad4, 2, 2, 1.0, 1.0), "cs_refuse");
    s.facet = 5;
    EXPECT_EQ(s.Start(Pt(0.5, 0.5, 1), Dn(0, 0, -5e-7)), -1);
    EXPECT_EQ(s.Problems(),
              std::vector<std::string>{"The application direction vector has a magnitude which is "
                                       "smaller than the minimum allowable value of 1e-06. Please "
                                       "define the application direction more clearly."});
    EXPECT_EQ(s.facet, 5);
    s.cap.reset();
    CKpFacetStore empty;  // no size: a silent failure
    EXPECT_EQ(CalcStart(&s.cap.log, &empty, Pt(0, 0, 1), Dn(0, 0, -1), 1, s.facet, s.start, s.side),
              -1);
    EXPECT_EQ(s.cap.body(), "");

    // Beside the selection: a warning, unless the closest point may stand in.
    for (int id : {2, 4}) s.elems.find(id)->setSltd(0);
    EXPECT_EQ(s.Start(Pt(0.75, 0.5, 1), Dn(0, 0, -2)), -1);
    EXPECT_EQ(s.Problems(), std::vector<std::string>{
                                "Starting point not found on or near selected region of surface."});
    s.cap.reset();
    ASSERT_EQ(s.Start(Pt(0.75, 0.5, 1), Dn(0, 0, -2), 1), 0);
    EXPECT_TRUE(s.elems.find(s.facets.GetElemId(s.facet))->getSltd() && s.side == 1);
    EXPECT_TRUE(s.Problems().empty());
}

TEST(CalcStartDirn, AxisTypesOnFlatAndTiltedFacets) {
    Selected s(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0), "csd_flat");
    const CKpFacet* f = s.facets.pFac(0);  // (0,0) (1,0) (1,1): local x along +x
    const CKpPoint P = Pt(0.6, 0.3, 0);
    const double a = kPi / 6, b = kPi / 2;
    double warp = 0, weft = 0;
    CKpPlane wp, tp;
    // Seen from above the angles turn positively about the normal; on a
    // facet square to the view every axis type agrees.
    for (int axstp : {0, 1, 2}) {
        ASSERT_EQ(CalcStartDirn(&s.cap.log, f, P, Dn(0, 0, -1), Dn(2, 0, 0), a, axstp, b, warp,
                                weft, &wp, &tp),
                  0);
        EXPECT_TRUE(Near(warp, a, tol::angle) && Near(weft, a + b, tol::angle)) << axstp;
        EXPECT_TRUE(Holds(wp, P) && Holds(wp, Pt(0.6 + std::cos(a), 0.3 + std::sin(a), 0)));
        EXPECT_TRUE(Holds(tp, Pt(0.6 + std::cos(a + b), 0.3 + std::sin(a + b), 5)));
        ASSERT_EQ(CalcStartDirn(nullptr, f, P, Dn(0, 0, 3), Dn(1, 0, 0), a, axstp, b, warp, weft,
                                nullptr, nullptr),
                  0);
        EXPECT_TRUE(Near(warp, -a, tol::angle) && Near(weft, -a - b, tol::angle)) << axstp;
    }

    // On the plane z = x, axis type 2 turns about the view and projects
    // along it: x turned by 90 degrees is +y (in the plane); the weft, 90
    // degrees on, is -x projected to (-1, 0, -1). Axis type 0 turns in the
    // facet's plane.
    meshgen::Mesh m = surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0);
    for (int n = 0; n < m.numNodes(); ++n) m.xyz[3 * n + 2] = m.xyz[3 * n];
    Selected t(m, "csd_tilt");
    const CKpFacet* g = t.facets.pFac(0);
    const CKpPoint Q = Pt(0.6, 0.3, 0.6), Qy = Pt(0.6, 1.3, 0.6), Qmx = Pt(-0.4, 0.3, -0.4);
    ASSERT_EQ(CalcStartDirn(nullptr, g, Q, Dn(0, 0, -1), Dn(1, 0, 0), b, 2, b, warp, weft, nullptr,
                            nullptr),
              0);
    EXPECT_TRUE(Near(warp, g->GetAngle(&Q, &Qy), tol::angle));
    EXPECT_TRUE(Near(weft, g->GetAngle(&Q, &Qmx), tol::angle));
    ASSERT_EQ(CalcStartDirn(nullptr, g, Q, Dn(0, 0, -1), Dn(1, 0, 1), 0.0, 0, b, warp, weft,
                            nullptr, nullptr),
              0);
    EXPECT_TRUE(Near(warp, 0.0, tol::angle) && Near(weft, b, tol::angle));
}

TEST(CalcStartDirn, Refusals) {
    Selected s(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0), "csd_refuse");
    const CKpFacet* f = s.facets.pFac(0);
    const CKpPoint P = Pt(0.6, 0.3, 0);
    double w = 0, t = 0;
    auto dirn = [&](const CKpFacet* facet, CKpDirn appl, CKpDirn ref, int axstp) {
        return CalcStartDirn(&s.cap.log, facet, P, appl, ref, 0.0, axstp, 1.0, w, t, 0, 0);
    };
    EXPECT_EQ(dirn(nullptr, Dn(0, 0, -1), Dn(1, 0, 0), 0), -1);
    EXPECT_EQ(dirn(f, Dn(0, 0, -1), Dn(5e-7, 0, 0), 0), -1);
    EXPECT_EQ(dirn(f, Dn(0, 0, -1), Dn(1, 0, 0), 3), -1);
    EXPECT_EQ(dirn(f, Dn(1, 1, 0), Dn(1, 0, 0), 0), -1);  // a view along the facet
    EXPECT_EQ(s.Problems(),
              (std::vector<std::string>{
                  "The reference direction vector has a magnitude which is smaller than the "
                  "minimum allowable value of 1e-06. Please define the reference direction more "
                  "clearly.",
                  "The axis type of 3 is currently unsupported. Please select another axis "
                  "type."}));
}
