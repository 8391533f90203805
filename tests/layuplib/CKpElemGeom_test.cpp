#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/geom_util.h"
#include "layuplib/node_reref.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

::testing::AssertionResult SameXYZ(const CKpTriplet& a, double x, double y, double z,
                                   Tol t = tol::length) {
    const double got[3] = {a.getx(), a.gety(), a.getz()};
    const double want[3] = {x, y, z};
    return NearArray(got, want, 3, t);
}

// A small model: nodes and elements given inline, linked, with a recording
// host behind the message log and the graphics context.
struct Model {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpMsg msg;
    CKpGra gra;
    RecordingGUI gui;
    Model() {
        msg.SetGUI(&gui);
        gra.SetGUI(&gui);
    }
    ~Model() {
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
    // Placed nodes, one {id, x, y, z} each.
    void add(std::vector<std::array<double, 4>> rows) {
        for (const auto& r : rows) {
            CKpNode* n = nodes.NewNode(static_cast<int>(r[0]));
            n->setCKpPoint(r[1], r[2], r[3]);
            n->setIncompleteFlag(0);
            nodes.insert(n);
        }
    }
    // Element of `gmtp` with node ids in solver order; links the nodes.
    CKpElem* elem(int id, int gmtp, std::vector<int> ids) {
        CKpElem* e = elems.NewElem(id, gmtp);
        e->seteltp(1);
        e->SetConnectivityKor(static_cast<int>(ids.size()), ids.data());
        elems.insert(e);
        node_reref(&msg, &nodes, &elems);
        return e;
    }
};

// 2 x 2 square, counter-clockwise in the xy plane.
void square(Model& m, int gmtp = 1) {
    m.add({{1, 0, 0, 0}, {2, 2, 0, 0}, {3, 2, 2, 0}, {4, 0, 2, 0}});
    m.elem(1, gmtp, {1, 2, 3, 4});
}

TEST(CKpElemGeom, SquareBasics) {
    Model m;
    square(m);
    CKpElem* e = m.elems.find(1);
    double area = 0.0, off[12];
    CKpDirn n, r, d;
    CKpPoint mid;
    ASSERT_EQ(e->GetArea(&area) + e->GetNormal(&n) + e->GetReference(&r) + e->GetMidpt(&mid), 0);
    EXPECT_TRUE(Near(area, 4.0, tol::length) && SameXYZ(n, 0, 0, 1));
    EXPECT_TRUE(SameXYZ(r, 1, 0, 0) && SameXYZ(mid, 1, 1, 0));
    ASSERT_EQ(e->GetDirection(kPi / 2, d), 0);
    EXPECT_TRUE(SameXYZ(d, 0, 1, 0));  // along corner 1 -> corner 4
    ASSERT_EQ(e->GetOffsetSurface(-0.5, off), 0);
    EXPECT_TRUE(NearArray(off + 9, std::vector<double>{0, 2, -0.5}, 3, tol::length));
    ASSERT_EQ(e->GetOffsetMidpt(0.25, off), 0);
    EXPECT_TRUE(NearArray(off, std::vector<double>{1, 1, 0.25}, 3, tol::length));
    CKpDirn down;
    down.Set(0, 0.6, -0.8);
    EXPECT_TRUE(Near(e->DotNormal(&m.msg, &down), -0.8, tol::length));
    EXPECT_EQ(e->ModDirn(&m.msg, &down), -1);

    // Node directions count on the element's side; perpendicular ones not.
    m.nodes.find(1)->setCKpDirn(0, 0, 1);
    m.nodes.find(2)->setCKpDirn(0, 0, -1);
    m.nodes.find(3)->setCKpDirn(0.6, 0, 0.8);
    m.nodes.find(4)->setCKpDirn(1, 0, 0);
    ASSERT_EQ(e->GetAverageNormal(&n), 0);
    const double len = std::sqrt(0.36 + 2.8 * 2.8);
    EXPECT_TRUE(SameXYZ(n, 0.6 / len, 0, 2.8 / len));
}

// A warped quad has the normal of both triangles' cross products, (0, -1, 1)
// + (-1, 0, 1), not that of its first triangle. Quadratic elements with
// every midside raised by h have their centre at (1, 1, 2h).
TEST(CKpElemGeom, WarpedNormalAndQuadraticMidpoints) {
    Model m;
    m.add({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 1}, {4, 0, 1, 0}});
    CKpElem* e = m.elem(1, 1, {1, 2, 3, 4});
    CKpDirn n;
    double area = 0.0;
    ASSERT_EQ(e->GetNormal(&n) + e->GetArea(&area), 0);
    const double s = 1.0 / std::sqrt(6.0);
    EXPECT_TRUE(SameXYZ(n, -s, -s, 2 * s));
    EXPECT_TRUE(Near(area, std::sqrt(2.0), tol::length));

    const double h = 0.3;
    // clang-format off
    m.add({{11, 0, 0, 0}, {12, 2, 0, 0}, {13, 2, 2, 0}, {14, 0, 2, 0},
           {15, 1, 0, h}, {16, 2, 1, h}, {17, 1, 2, h}, {18, 0, 1, h},
           {21, 0, 0, 0}, {22, 3, 0, 0}, {23, 0, 3, 0},
           {24, 1.5, 0, h}, {25, 1.5, 1.5, h}, {26, 0, 1.5, h}});
    // clang-format on
    CKpElem* q8 = m.elem(2, 2, {11, 12, 13, 14, 15, 16, 17, 18});
    CKpElem* t6 = m.elem(3, 12, {21, 22, 23, 24, 25, 26});
    CKpPoint p, corners[4];
    for (CKpElem* e : {q8, t6}) {
        ASSERT_EQ(e->GetMidpt(&p), 0);
        EXPECT_TRUE(SameXYZ(p, 1, 1, 2 * h)) << e->id();
    }
    t6->GetReference(&n);
    EXPECT_TRUE(SameXYZ(n, 1, 0, 0));  // to the second corner, not the midside
    ASSERT_EQ(q8->GetVertices(corners), 0);
    EXPECT_TRUE(SameXYZ(corners[3], 0, 2, 0));
}

// A parallelogram and a trapezoid turned by an arbitrary rotation in space:
// the angles are measured in the element plane, so they are those of the
// flat shapes.
TEST(CKpElemGeom, MaterialAnglesOnRotatedElements) {
    CKpPoint a0, a1;
    a0.Set(0.3, -0.2, 0.1);
    a1.Set(1.0, 2.0, 0.5);
    auto turned = [&](double x, double y) {
        CKpPoint p, q;
        p.Set(x, y, 0.0);
        rotate_axis(&a0, &a1, &p, &q, 0.7);
        return q;
    };
    Model m;
    const double flat[12][3] = {{1, 0, 0},  {2, 2, 0},     {3, 3, 1},  {4, 1, 1},
                                {5, 1, 0},  {6, 2.5, 0.5}, {7, 2, 1},  {8, 0.5, 0.5},
                                {11, 0, 0}, {12, 2, 0},    {13, 2, 2}, {14, 0, 1}};
    for (const auto& f : flat) {
        const CKpPoint q = turned(f[1], f[2]);
        m.add({{f[0], q.getx(), q.gety(), q.getz()}});
    }
    CKpElem* par = m.elem(1, 1, {1, 2, 3, 4});
    CKpElem* par8 = m.elem(2, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    CKpElem* trap = m.elem(3, 1, {11, 12, 13, 14});

    // Diagonals (3, 1) at atan(1/3) and (1, -1) at -45 degrees.
    const double kor = (std::atan(1.0 / 3.0) - kPi / 4) / 2;
    EXPECT_TRUE(Near(par->thetaKor(&m.msg), kor, tol::angle) &&
                Near(par8->thetaKor(&m.msg), kor, tol::angle));
    EXPECT_TRUE(Near(trap->GetThetaAnsys(&m.msg), std::atan2(0.5, 2.0), tol::angle));
    EXPECT_EQ(par8->GetThetaAnsys(&m.msg), 0.0);

    // A direction at 30 degrees in the plane, and the same reversed.
    CKpDirn d;
    const CKpPoint q0 = turned(0, 0), q1 = turned(std::cos(kPi / 6), std::sin(kPi / 6));
    d.set2pts(&q0, &q1);
    double ang = 0.0;
    ASSERT_EQ(par->GetProjectedAngle(&m.msg, d, &ang), 0);
    EXPECT_TRUE(Near(ang, kPi / 6, tol::angle));
    EXPECT_EQ(par->GetProjectedAngle(nullptr, CKpDirn(), &ang), -1);
    EXPECT_TRUE(m.gui.messages.empty());
}

// Solids and elements whose nodes were never linked fail cleanly.
TEST(CKpElemGeom, FailuresWithoutGeometry) {
    Model m;
    CKpElem* solid = m.elems.NewElem(5, 101);
    CKpElem* loose = m.elems.NewElem(6, 1);
    m.elems.insert(solid);
    m.elems.insert(loose);
    CKpPoint p[4];
    CKpDirn d;
    double a = 0.0, out[12];
    for (CKpElem* e : {solid, loose}) {
        EXPECT_EQ(e->GetVertices(p) + e->GetOffsetSurface(1.0, out) +
                      e->GetProjectedAngle(nullptr, d, &a) + e->PlotEdge(&m.msg, &m.gra, 1, 1, 0),
                  -4);
        EXPECT_EQ(e->GetNormal(&d) + e->GetArea(&a) + e->GetMidpt(p) + e->GetAverageNormal(&d) +
                      e->plotOrient(&m.msg, &m.gra, 1, 1, 0.0, 1, 0.0, 0.0),
                  5);
        EXPECT_EQ(e->DotNormal(nullptr, &d), 0.0);
    }
    EXPECT_EQ(solid->GetDirection(0.0, d) * 10 + loose->GetDirection(0.0, d), 21);
    EXPECT_EQ(loose->GetThetaAnsys(&m.msg) + solid->thetaKor(&m.msg), 0.0);
    EXPECT_EQ(CKpElem(8, 112).GetThetaAnsys(&m.msg), 0.0);
    EXPECT_EQ(m.gui.texts(2),
              std::vector<std::string>{"GetThetaAnsys() on element 6 failed as node "
                                       "pointers have not been set."});
    const std::vector<std::string> errors = {"Element 5 unsupported element geometry type 101.",
                                             "Element 8 unsupported element geometry type 112."};
    EXPECT_EQ(m.gui.texts(4), errors);
    EXPECT_TRUE(m.gui.draws.empty());
    EXPECT_EQ(m.elems.GetArea(&m.msg, &a), 1);
}

// Two unit quads folded along x = 1 (the second rises at 45 degrees):
//
//   4 ---- 5 ---- 6        e1 = 1 2 5 4 in z = 0
//   |  e1  |  e2  |        e2 = 2 3 6 5, normal (-1, 0, 1)/sqrt2
//   1 ---- 2 ---- 3
TEST(CKpElemGeom, NeighboursThroughFacets) {
    meshgen::Mesh fold;
    fold.nodeIds = {1, 2, 3, 4, 5, 6};
    fold.xyz = {0, 0, 0, 1, 0, 0, 2, 0, 1, 0, 1, 0, 1, 1, 0, 2, 1, 1};
    fold.elemIds = {1, 2};
    fold.topologies = {4, 4};
    fold.width = 4;
    fold.connectivity = {1, 2, 5, 4, 2, 3, 6, 5};
    surfmesh::Faceted b("fold", fold);
    CKpMsg* msg = &b.cap.log;
    CKpElem *e1 = b.s.elems.find(1), *e2 = b.s.elems.find(2);
    e2->pid(6);
    int n = 0, ids[8], edges[8], dnfgs[8], pids[8];
    ASSERT_EQ(e1->GetSelectedNeigh(msg, &b.s.facets, &n, ids, edges, dnfgs, pids), 0);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(std::vector<int>(ids, ids + 8), (std::vector<int>{0, 2, 0, 0, 0, 0, 0, 0}));
    // Across edge 1 lies e2's edge 3 (node 5 -> node 2), normals agreeing.
    EXPECT_EQ((std::vector<int>{edges[1], dnfgs[1], pids[1]}), (std::vector<int>{3, 1, 6}));

    int sb = 9, dn = 9;
    EXPECT_EQ(e1->GetSubdomain(nullptr, &sb, &dn) * 10 + sb, 10);

    // Node directions: angle-weighted facet normals (90 degrees of facets
    // of each element meet at node 2); a set direction stays.
    e2->setSltd(1);
    b.s.nodes.find(4)->setCKpDirn(1, 0, 0);
    e1->setSltd(1);
    CKpRefStore refs;
    ASSERT_EQ(b.s.nodes.CreateSelNodeElemRef(msg, &b.s.elems, &refs), 0);
    ASSERT_EQ(b.s.nodes.CreateSelNodeNormals(msg, &refs, &b.s.elems, &b.s.facets), 0);
    const double s = 1.0 / std::sqrt(2.0);
    const double len = std::sqrt(s * s + (1 + s) * (1 + s));
    EXPECT_TRUE(SameXYZ(*b.s.nodes.find(2)->getCKpDirn(), -s / len, 0, (1 + s) / len));
    EXPECT_TRUE(SameXYZ(*b.s.nodes.find(6)->getCKpDirn(), -s, 0, s));
    EXPECT_TRUE(SameXYZ(*b.s.nodes.find(4)->getCKpDirn(), 1, 0, 0));

    // Area-weighted normal over e1 (area 1) and half of its selected
    // neighbour e2 (area sqrt 2, dnfg +1).
    b.s.nodes.find(4)->setCKpDirn(0, 0, 1);
    CKpDirn n1, want, got;
    e1->GetAverageNormal(&n1);
    e2->GetAverageNormal(&want);
    ASSERT_EQ(e1->GetSelNeighAverageNormal(&b.s.facets, &got), 0);
    want.Scale(0.5 * std::sqrt(2.0));
    want.Add(n1);
    want.unitize();
    EXPECT_TRUE(SameXYZ(got, want.getx(), want.gety(), want.getz()));
}

TEST(CKpElemStore, AreasAndOrientationFromFirstLayer) {
    Model m;
    meshgen::Load(meshgen::Cylinder(meshgen::Kind::Quad4, 8, 2, 2.0, kPi / 2, 3.0), m.nodes,
                  m.elems);
    node_reref(&m.msg, &m.nodes, &m.elems);
    double area = 0.0;
    ASSERT_EQ(m.elems.GetArea(&m.msg, &area), 0);
    // Eight flat strips of chord 2 r sin(pi/32), height 3.
    const double want = 8 * 2 * 2.0 * std::sin(kPi / 32) * 3.0;
    EXPECT_TRUE(Near(area, want, tol::loose));
    EXPECT_TRUE(Near(m.elems.GetAverageArea(&m.msg), want / 16, tol::loose));

    CKpPatElem pe;
    pe.setWarpAngle(0.3);
    pe.setWeftAngle(0.3 + kPi / 2);
    CKpPlyElem plyElem(nullptr, &pe);
    CKpLypPly lp(1);
    CKpElem* e = m.elems.find(3);
    e->getElemLypPlies()->InsertLast(new CKpElemLypPly(&lp, &plyElem));
    for (int id : {3, 4, 5}) m.elems.find(id)->theta(2.0);
    e->setSltd(1);
    m.elems.find(4)->setSltd(1);  // selected, no ply: theta 0, no value
    CKpField field(1);
    ASSERT_EQ(m.elems.GetOrientationFromFirstLayer(&field), 0);
    EXPECT_EQ((std::vector<double>{e->theta(), m.elems.find(4)->theta(), m.elems.find(5)->theta()}),
              (std::vector<double>{0.3, 0.0, 2.0}));
    const CKpFieldVal* val = field.GetFieldVals()->find(3);
    ASSERT_TRUE(field.GetFieldVals()->entries() == 1 && val);
    double warpWeft[6];
    e->GetDirection(0.3, warpWeft);
    e->GetDirection(0.3 + kPi / 2, warpWeft + 3);
    std::vector<double> stored(6);
    for (int i = 0; i < 6; ++i) stored[i] = val->GetVal(i);
    EXPECT_TRUE(NearArray(stored, warpWeft, 6, tol::length));
}

}  // namespace
