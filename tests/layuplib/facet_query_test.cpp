#include "layuplib/facet_query.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetIntPts.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/geom_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;
const double kFar = 1e12;

CKpPoint Pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

CKpLine Ray(CKpPoint p, double dx, double dy, double dz) {
    CKpLine l;
    l.P = p;
    l.u.Set(dx, dy, dz);
    return l;
}

CKpLine Down(double x, double y, double z = 5) {
    return Ray(Pt(x, y, z), 0, 0, -1);
}

bool Same(const CKpPoint& a, const CKpPoint& b) {
    return dist_2pt(&a, &b) < 1e-9;
}

bool Hits(const CKpFacet* f, CKpLine line, double tmin = -kFar, double tmax = kFar) {
    CKpPoint hit;
    return CalcPointFacetLine(nullptr, f, line, tmin, tmax, hit) == 0;
}

std::vector<int> Facets(const CKpFacetIntPts& hits) {
    std::vector<int> out(hits.GetNumPts());
    for (int i = 0; i < hits.GetNumPts(); ++i) hits.GetPt(i, &out[i], nullptr);
    return out;
}

// The message file's lines without their "$# " prefix.
std::vector<std::string> Lines(const MessageCapture& cap) {
    std::vector<std::string> out;
    const std::string body = cap.body();
    for (size_t at = 0, nl; (nl = body.find('\n', at)) != std::string::npos; at = nl + 1)
        out.push_back(body.substr(at + 3, nl - at - 3));
    return out;
}

struct Surface : FacetSurface {
    explicit Surface(const meshgen::Mesh& m, int selected = 0) {
        Build(m);
        for (int i = 0; i < elems.entries(); ++i) elems[i]->setSltd(selected);
    }
};

}  // namespace

// Unit quad: facet 0 = (0,0) (1,0) (1,1), facet 1 = (1,1) (0,1) (0,0).
TEST(FacetQuery, LineFacetHitsEdgesAndVerticesAndMissesParallels) {
    Surface s(surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0));
    const CKpFacet* lower = s.facets.pFac(0);
    const CKpFacet* upper = s.facets.pFac(1);
    CKpPoint hit;
    ASSERT_EQ(CalcPointFacetLine(nullptr, lower, Ray(Pt(.75, .25, 5), 0, 0, -9), 0, kFar, hit), 0);
    EXPECT_TRUE(Same(hit, Pt(0.75, 0.25, 0)));
    EXPECT_FALSE(Hits(upper, Down(0.75, 0.25)));
    EXPECT_TRUE(Hits(lower, Down(1, 0)) && Hits(upper, Ray(Pt(-1, 2, 1), 1, -1, -1)));  // vertices
    EXPECT_TRUE(Hits(lower, Down(0.5, 0)));                                   // an outer edge
    EXPECT_TRUE(Hits(lower, Down(0.3, 0.3)) && Hits(upper, Down(0.3, 0.3)));  // the shared one
    EXPECT_FALSE(Hits(lower, Ray(Pt(-1, 0, 0), 1, 0, 0)) || Hits(lower, Ray(Pt(0, 0, 1), 1, 1, 0)));
    EXPECT_FALSE(Hits(lower, Ray(Pt(0.5, 0.2, 1), 0, 0, 0)) || Hits(nullptr, Down(1, 0)));
    // The range holds its bounds; t is a distance whatever |u|.
    const CKpLine down = Ray(Pt(0.75, 0.25, 5), 0, 0, -3);
    EXPECT_TRUE(Hits(lower, down, 0.0, 5.0) && Hits(lower, down, 5.0, 6.0));
    EXPECT_FALSE(Hits(lower, down, 0.0, 4.999) || Hits(lower, down, 5.001, 9.0));
}

// A quad in general position far from the origin: rays through points of
// the edge its two facets share hit both, though the hits are rounded.
TEST(FacetQuery, RaysThroughASharedEdgeHitBothFacetsDespiteRounding) {
    meshgen::Mesh m = surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0);
    const double corners[4][3] = {
        {0.1234, 0.2345, 0.3456}, {1.1111, 0.3333, 0.7777}, {1.3, 1.17, 0.91}, {0.2, 1.05, 0.5}};
    for (int n = 0; n < 4; ++n)
        for (int k = 0; k < 3; ++k) m.xyz[3 * n + k] = corners[n][k] + (k == 0 ? 1000.0 : -20.0);
    Surface s(m);
    const CKpPoint a = *s.facets.pFac(0)->getCKpPoint(0), c = *s.facets.pFac(0)->getCKpPoint(2);
    int both = 0;
    for (int i = 1; i < 200; ++i) {
        const double t = i / 200.0;
        CKpPoint p = a;
        p.AddXYZ(t * (c.getx() - a.getx()) + 0.3, t * (c.gety() - a.gety()) - 0.2,
                 t * (c.getz() - a.getz()) + 1.0);
        both += Hits(s.facets.pFac(0), Ray(p, -0.3, 0.2, -1)) &&
                Hits(s.facets.pFac(1), Ray(p, -0.3, 0.2, -1));
    }
    EXPECT_EQ(both, 199);
}

TEST(FacetQuery, AllHitsOfARayBySelectionHiddenFlagAndSortStore) {
    Surface s(surfmesh::Sphere(Kind::Quad4, 8, 6, 2.0));
    CKpFacetIntPts hits;
    const CKpLine line = Ray(Pt(0.31, 0.17, 10), 0.05, -0.02, -1);
    auto all = [&](int every, double tmax, const CKpSortStore* sort = nullptr, int first = 0,
                   int count = 0) {
        return CalcAllPointsFacetsRay(nullptr, &s.facets, line, -kFar, tmax, every, sort, first,
                                      count, hits);
    };
    EXPECT_EQ(all(0, kFar), -1);  // nothing selected
    ASSERT_EQ(all(1, kFar), 0);
    ASSERT_EQ(hits.GetNumPts(), 2);  // in at the top, out at the bottom
    const int top = Facets(hits)[0], bottom = Facets(hits)[1];
    EXPECT_TRUE(hits.GetDist(0) < hits.GetDist(1) && Same(hits.GetOrigin(), line.P));
    EXPECT_TRUE(all(1, 9.0) == 0 && Facets(hits) == std::vector<int>{top});
    s.facets.pFac(bottom)->getElement()->setSltd(1);
    EXPECT_TRUE(all(0, kFar) == 0 && Facets(hits) == std::vector<int>{bottom});

    // A hidden facet leaves a scan, not a sort store's candidates, which
    // are the positions first .. first + count - 1 within the table.
    s.facets.pFac(top)->setHidden(1);
    EXPECT_TRUE(all(1, kFar) == 0 && Facets(hits) == std::vector<int>{bottom});
    CKpSortStore sort;
    ASSERT_EQ(sort.Create(4), 0);
    const int order[] = {bottom, 0, top, bottom};
    for (int i = 0; i < 4; ++i) sort.SetIndex(i, order[i]);
    EXPECT_TRUE(all(1, kFar, &sort, 1, 2) == 0 && Facets(hits) == std::vector<int>{top});
    EXPECT_EQ(all(1, kFar, &sort, 1, 1), -1);
    EXPECT_TRUE(all(1, kFar, &sort, -5, 100) == 0 && hits.GetNumPts() == 3);
    int f = -7;
    CKpPoint p;
    EXPECT_EQ(
        CalcClosestPointFacetsRay(nullptr, &s.facets, line, -kFar, kFar, 1, &sort, 0, 4, f, p), 0);
    EXPECT_EQ(f, top);
}

TEST(FacetQuery, ViewSearchStopsAtADirectHitAndWobblesOntoNearMisses) {
    MessageCapture cap("fq_view");
    Surface s(surfmesh::Plate(Kind::Quad4, 2, 1, 2.0, 1.0), 1);
    int f = -1, side = 0;
    CKpPoint p;
    auto view = [&](const FacetSurface& on, CKpLine line, int all = 0) {
        return CalcPointFacetsView(&cap.log, &on.facets, line, -kFar, kFar, 0.1, all, f, p, side);
    };
    ASSERT_EQ(view(s, Ray(Pt(1.5, 0.25, 5), 0, 0, -2)), 0);
    EXPECT_TRUE(Same(p, Pt(1.5, 0.25, 0)) && side == 1);
    EXPECT_EQ(Lines(cap),
              (std::vector<std::string>{"Start point [1.5,0.25,5] direction <0,0,-2> wobble 0.1",
                                        " iter  0 point [1.5,0.25,0] on elem 2 at dist 5 chosen"}));

    // Just beside the plate a later, wider step finds it; further off not.
    cap.reset();
    ASSERT_EQ(view(s, Down(2.02, 0.5)), 0);
    EXPECT_TRUE(p.getx() <= 2.0 && p.getx() > 1.9);
    ASSERT_GE(Lines(cap).size(), 2u);
    EXPECT_EQ(Lines(cap)[1].find(" iter  0"), std::string::npos);
    EXPECT_EQ(view(s, Down(2.2, 0.5)), -1);
    s.elems.find(2)->setSltd(0);
    EXPECT_TRUE(view(s, Down(1.5, 0.25)) == -1 && view(s, Down(1.5, 0.25), 1) == 0);
}

TEST(FacetQuery, PointQueriesAndSurfaceSize) {
    MessageCapture cap("fq_point");
    Surface s(surfmesh::Plate(Kind::Quad4, 4, 3, 4.0, 3.0));
    EXPECT_TRUE(Near(CalcDiagonalFacets(&s.facets), 5.0, tol::length));
    int f = -1;
    CKpPoint p;
    EXPECT_EQ(CalcPointFacetsPoint(nullptr, &s.facets, Pt(2.3, 1.6, 2), f, p, 0), -1);
    ASSERT_EQ(CalcPointFacetsPoint(nullptr, &s.facets, Pt(2.3, 1.6, 2), f, p, 1), 0);
    EXPECT_TRUE(Same(p, Pt(2.3, 1.6, 0)) && s.facets.GetElemId(f) == 7);

    // Straight above a selected facet the wobble stops at once; beside it a
    // later step finds it; far from it nothing does.
    s.elems.find(7)->setSltd(1);
    ASSERT_EQ(CalcPointFacetsPointWobble(&cap.log, &s.facets, Pt(2.3, 1.6, 2), f, p), 0);
    EXPECT_EQ(Lines(cap),
              (std::vector<std::string>{"Start point [2.3,1.6,2] wobble 0.01",
                                        " iter  0 point [2.3,1.6,0] on elem 7 at dist 2 chosen"}));
    cap.reset();
    ASSERT_EQ(CalcPointFacetsPointWobble(&cap.log, &s.facets, Pt(3.005, 1.5, 0.5), f, p), 0);
    EXPECT_TRUE(s.facets.GetElemId(f) == 7 && p.getx() <= 3.0 && Lines(cap).size() > 1);
    cap.reset();
    EXPECT_EQ(CalcPointFacetsPointWobble(&cap.log, &s.facets, Pt(0.5, 0.5, 1), f, p), -1);
    EXPECT_EQ(Lines(cap).back(), "View point cannot be projected onto selected region of surface.");
}
