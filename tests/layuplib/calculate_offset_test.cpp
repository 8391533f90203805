#include "layuplib/calculate_offset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

// A faceted model whose elements carry one ply of thickness t placed by an
// offset flag and value (surface type 0), node offsets computed.
struct Model : FacetSurface {
    MessageCapture cap;
    CKpLypPly ply{1};

    Model(const meshgen::Mesh& mesh, const char* name, double t, int flag, double value)
        : cap(name) {
        Build(mesh);
        ply.setThicknessOverride(t);
        for (CVekObjectStoreIterator<CKpElem> it(elems); ++it;) {
            it.key()->getElemLypPlies()->InsertLast(new CKpElemLypPly(&ply, nullptr));
            it.key()->setoff_fg(flag);
            it.key()->setoff_val(value);
        }
        calculate_offset(&cap.log, &nodes, &facets, 0, nullptr);
        cap.reset();
    }
    void zeroNormals() {
        for (CVekObjectStoreIterator<CKpNode> it(nodes); ++it;) it.key()->setCKpDirn(0, 0, 0);
    }
    CKpNode* node(int facet, int vertex) { return facets.pFac(facet)->getCKpNode(vertex); }
};

::testing::AssertionResult DirnNear(const CKpDirn& d, const double* e) {
    double got[3];
    d.Get(got);
    return NearArray(got, e, 3, tol::loose);
}

// CalcOffsetsFacNode at every facet vertex whose node `want` accepts
// (writing the expected direction), with the stored node normals and then
// through the fans: both directions as expected, faces at lo and hi.
template <class Want>
void checkVertices(Model& m, Want want, double lo, double hi) {
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) m.zeroNormals();
        for (int f = 0; f < m.facets.entries(); ++f)
            for (int v = 0; v < 3; ++v) {
                double e[3];
                CKpDirn dirs[2];
                double offs[2];
                if (!want(m.node(f, v), e)) continue;
                ASSERT_EQ(CalcOffsetsFacNode(nullptr, &m.facets, f, v, dirs, offs, 0, nullptr), 0);
                EXPECT_TRUE(DirnNear(dirs[0], e) && DirnNear(dirs[1], e)) << pass << " f" << f;
                EXPECT_TRUE(Near(offs[0], lo, tol::loose) && Near(offs[1], hi, tol::loose))
                    << "pass " << pass << " facet " << f;
            }
    }
}

bool alongZ(const CKpNode*, double* e) {
    e[0] = e[1] = 0.0, e[2] = 1.0;
    return true;
}

meshgen::Mesh triangles(std::vector<double> xyz, std::vector<int> rows) {
    meshgen::Mesh mesh;
    mesh.xyz = xyz;
    for (size_t i = 0; i < xyz.size() / 3; ++i) mesh.nodeIds.push_back(static_cast<int>(i) + 1);
    mesh.width = 3;
    mesh.connectivity = rows;
    for (size_t e = 0; e < rows.size() / 3; ++e) {
        mesh.elemIds.push_back(static_cast<int>(e) + 1);
        mesh.topologies.push_back(3);
    }
    return mesh;
}

}  // namespace

// Three elements in a row with the ply stack's top, middle and bottom at
// 0.5 (t = 2): faces [-1.5, 0.5], [-0.5, 1.5], [0.5, 2.5]; a node takes the
// extremes of the elements that meet at it. Surface type 1 reads the
// property's laminate instead (none: 0); type 2 is refused everywhere.
TEST(CalculateOffset, OffsetFlagsLaminatesAndSurfaceTypes) {
    Model m(surfmesh::Plate(Kind::Quad4, 3, 1, 3.0, 1.0), "offset_flags", 2.0, 0, 0.5);
    m.elems.find(1)->setoff_fg(-1);
    m.elems.find(3)->setoff_fg(1);
    ASSERT_EQ(calculate_offset(nullptr, &m.nodes, &m.facets, 0, nullptr), 0);
    const double lows[4] = {-1.5, -1.5, -0.5, 0.5}, highs[4] = {0.5, 1.5, 2.5, 2.5};
    CKpDirn dirs[2];
    double offs[2], t, bottom, top;
    for (int i = 0; i < 4; ++i) {  // nodes 1..4 along y = 0
        CKpElem* elem = m.elems.find(i < 3 ? i + 1 : 3);
        ASSERT_EQ(CalcOffsetsElemNode(nullptr, elem, &m.facets, i / 3, dirs, offs, 0, nullptr), 0);
        EXPECT_TRUE(Near(offs[0], lows[i], tol::length)) << i;
        EXPECT_TRUE(Near(offs[1], highs[i], tol::length)) << i;
    }
    CKpLamStore lams(nullptr);
    CKpLam* lam = new CKpLam(7);
    lam->LamLyrs()->New()->setT(3.0);
    lam->z0(-2.0);
    lams.insert(lam);
    m.elems.find(2)->pid(7);
    ASSERT_EQ(calculate_offset(nullptr, &m.nodes, &m.facets, 1, &lams), 0);
    EXPECT_EQ(m.nodes.find(2)->getmin_off(), -2.0);
    EXPECT_EQ(m.nodes.find(1)->getmax_off(), 0.0);

    CKpMsg* log = &m.cap.log;
    EXPECT_EQ((std::vector<int>{
                  CalcFtThck(log, m.facets.pFac(0), 2, nullptr, t, bottom, top),
                  calculate_offset(log, &m.nodes, &m.facets, 2, nullptr),
                  CalcOffsetsNode(log, &m.facets, m.node(0, 0), 0, 0, dirs, offs, 2, nullptr),
                  CalcOffsetsElemNode(log, m.elems.find(1), &m.facets, 0, dirs, offs, 2, nullptr),
                  CalcOffsetsFacNode(log, &m.facets, 0, 0, dirs, offs, 2, nullptr)}),
              std::vector<int>(5, -1));
    EXPECT_EQ(t + bottom + top + offs[0] + offs[1], 0.0);
    log->Create(1, "end");  // closes the run of folded repeats
    EXPECT_EQ(m.cap.body(),
              "$# ERROR: Unsupported surface type.\n$# (...repeated 5 times...)\n$# end\n");
    EXPECT_EQ(CalcOffsetsElemNode(nullptr, m.elems.find(1), &m.facets, 9, dirs, offs, 0, nullptr),
              -1);
}

// A triangle at 70 degrees to the node normal +z (d = 0.34 counts as 0.5),
// faces at -0.5 and 1.5: offsets 3 and -1; turned over (d = -0.5) 1 and -3.
// A stored normal seen from a facet with a negative direction flag comes
// back negated with negated, swapped offsets.
TEST(CalculateOffset, SteepFacetsAndDirectionFlag) {
    const double c = std::cos(70 * kPi / 180), s = std::sin(70 * kPi / 180);
    Model m(triangles({0, 0, 0, 1, 0, 0, 0, c, s, 1, c, s}, {1, 2, 3}), "offset_steep", 2, 1, -0.5);
    for (int turn = 0; turn < 2; ++turn) {
        for (int id = 1; id <= 3; ++id) m.nodes.find(id)->setCKpDirn(0.0, 0.0, 1.0);
        ASSERT_EQ(calculate_offset(nullptr, &m.nodes, &m.facets, 0, nullptr), 0);
        EXPECT_TRUE(Near(m.nodes.find(1)->getmax_off(), turn ? 1.0 : 3.0, tol::length)) << turn;
        EXPECT_TRUE(Near(m.nodes.find(1)->getmin_off(), turn ? -3.0 : -1.0, tol::length)) << turn;
        m.facets.pFac(0)->setCKpNode(1, m.nodes.find(3));  // (1, 3, 2): turned over
        m.facets.pFac(0)->setCKpNode(2, m.nodes.find(2));
    }
    EXPECT_TRUE(m.nodes.find(4)->getmax_off() == -1e12 &&
                m.nodes.find(4)->getmin_off() == 1e12);  // touched by no facet
    m.facets.pFac(0)->setSbdmndnfg(-1);
    CKpDirn dirs[2];
    double offs[2];
    const double down[3] = {0, 0, -1};
    ASSERT_EQ(CalcOffsetsFacNode(nullptr, &m.facets, 0, 0, dirs, offs, 0, nullptr), 0);
    EXPECT_TRUE(DirnNear(dirs[0], down) && DirnNear(dirs[1], down) && offs[0] == -1 &&
                offs[1] == 3);
}

// t = 2 centred. A flat plate: every face along +z at -1 and +1, at
// interior, edge and corner nodes alike. Hemisphere pole (8 facets) and half
// cylinder (8 x 3 quads): by symmetry every direction is the surface normal
// and every facet meets it at the same angle a, so the faces lie at
// -1 / cos a and +1 / cos a. Pole: tan a = (r - h) / (rho cos(pi / 8)) for
// the first ring at height h, radius rho; cylinder: a = half a column's sweep.
TEST(CalculateOffset, FacesAlongTheSurfaceNormal) {
    Model plate(surfmesh::Plate(Kind::Quad4, 3, 2, 3.0, 2.0), "offset_plate", 2.0, 0, 0.0);
    checkVertices(plate, alongZ, -1.0, 1.0);

    const double r = 2.0, h = r * std::cos(kPi / 6), rho = r * std::sin(kPi / 6);
    const double d = std::cos(std::atan((r - h) / (rho * std::cos(kPi / 8))));
    Model pole(surfmesh::Hemisphere(Kind::Quad4, 8, 3, r), "offset_pole", 2.0, 0, 0.0);
    int seen = 0;
    auto atPole = [&](const CKpNode* n, double* e) {
        return n->getCKpPointZ() > r - 1e-9 && ++seen && alongZ(n, e);
    };
    checkVertices(pole, atPole, -1.0 / d, 1.0 / d);
    EXPECT_EQ(seen, 16);

    Model cyl(meshgen::Cylinder(Kind::Quad4, 8, 3, r, kPi, 3.0), "offset_cyl", 2.0, 0, 0.0);
    auto radial = [r](const CKpNode* n, double* e) {
        e[0] = n->getCKpPointX() / r, e[1] = n->getCKpPointY() / r, e[2] = 0.0;
        return e[1] > 1e-9;  // not on the two straight sides
    };
    checkVertices(cyl, radial, -1.0 / std::cos(kPi / 16), 1.0 / std::cos(kPi / 16));
}

// Twelve triangles round node 1 (facet k = (1, k + 2, k + 3)): the walk
// gives up after ten steps and lists the fan (facets 1..10 were found
// turning back from facet 0); eleven still close normally.
TEST(CalculateOffset, TooManyFacetsAtNode) {
    for (int n : {11, 12}) {
        std::vector<double> xyz = {0, 0, 0};
        std::vector<int> rows;
        for (int k = 0; k < n; ++k) {
            xyz.insert(xyz.end(), {std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n), 0});
            rows.insert(rows.end(), {1, k + 2, (k + 1) % n + 2});
        }
        Model m(triangles(xyz, rows), "offset_fan", 2.0, 0, 0.0);
        m.zeroNormals();
        CKpDirn dirs[2];
        double offs[2];
        ASSERT_EQ(CalcOffsetsFacNode(&m.cap.log, &m.facets, 0, 0, dirs, offs, 0, nullptr), 0);
        EXPECT_TRUE(Near(offs[1], 1.0, tol::length));
        std::string expected;
        char line[80];
        for (int upper = -1; upper <= 1 && n == 12; upper += 2) {
            std::snprintf(line, sizeof line,
                          "$# CalcFtdn: Too many facets at node (upper %2d clock -1)\n", upper);
            expected += line;
            for (int f = 10; f >= 0; --f) {
                std::snprintf(line, sizeof line, "$#  ueid %6d unid %6d ft %6d vx 0\n", f + 1, 1,
                              f);
                expected += line;
            }
        }
        EXPECT_EQ(m.cap.body(), expected) << n << " facets";
    }
}

// A shell branch: A (y < 0) and B (y > 0) flat, fin C standing on their
// common edge 1-2. The lower face follows the flat continuation B, the
// upper face turns up into the fin:
//        5 (z)
//        | C
//   4 -- 1 -- 3      edge 1-2 runs along x; A = (1, 3, 2), B = (1, 2, 4),
//   B    2    A      C = (1, 5, 2); partners of A's edge 2: B, then C.
TEST(CalculateOffset, BranchEdgeSplitsLowerAndUpperFans) {
    Model m(triangles({0, 0, 0, 1, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 1}, {1, 3, 2, 1, 2, 4, 1, 5, 2}),
            "offset_branch", 2.0, 0, 0.0);
    m.zeroNormals();
    ASSERT_TRUE(m.facets.pFac(0)->getNeighn(2) == 2 && m.facets.pFac(0)->getNeigha(2)[0] == 1);
    CKpDirn dirs[2];
    double offs[2];
    ASSERT_EQ(CalcOffsetsFacNode(nullptr, &m.facets, 0, 0, dirs, offs, 0, nullptr), 0);
    const double lower[3] = {0, 0, 1}, upper[3] = {0, -std::sqrt(0.5), std::sqrt(0.5)};
    EXPECT_TRUE(DirnNear(dirs[0], lower) && DirnNear(dirs[1], upper));
    EXPECT_TRUE(Near(offs[0], -1.0, tol::length));
    EXPECT_TRUE(Near(offs[1], std::sqrt(2.0), tol::loose));
}
