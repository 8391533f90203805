#include "layuplib/CreateSolidElements.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CKpSolidGenSet.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/add_layer.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// A shell model with plies laid directly, extruded through the model's
// solid generation settings.
class Extrude : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    IVekSolidGenSet* gen = nullptr;

    void Load(const meshgen::Mesh& m) {
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        gen = model->GetSolidGenSet();
        gen->Clear();
    }
    CKpMat* Material(const char* name, double t) {
        CKpMat* mat = new CKpMat(model->pMats()->maxId() + 1);
        mat->setMtrlnm(name), mat->setMtrlthck(t);
        model->pMats()->insert(mat);
        return mat;
    }
    // Ply `name` of material `mat` over `ids`, placed on top of the layup.
    void Lay(const char* name, CKpMat* mat, const std::vector<int>& ids) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name), pat->setStdn(1), pat->setSimResult(0);
        model->pPats()->insert(pat);
        for (int id : ids) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(model->pElems()->find(id)), pe->setStdn(1),
                pe->setDnfg(1);
            pat->PatElems()->InsertLast(pe);
        }
        model->pPlys()->insert(new CKpPly(model->pPlys()->maxId() + 1, name, 2, mat, pat));
        ASSERT_EQ(CreateLayupPly(model.get(), "", "", 2, name, 1, 0.0, 0.0, 0), 0);
    }
    int Run(int method, int elemOffset = 1, int nodeOffset = 1) {
        gen->SetElementIds(-1, nullptr);
        gen->SetExtrusionMethod(static_cast<EVekExtrusionMethod>(method));
        gen->SetNodeIdOffset(nodeOffset);
        gen->SetElementIdOffset(elemOffset);
        return gen->Run();
    }
    CKpSolidGenSet* set() { return model->pSolidGenSet(); }
    std::vector<CKpElem*> Solids() {
        std::vector<CKpElem*> out;
        CVekObjectStoreIterator<CKpElem> it(*set()->pSolidElems());
        while (++it) out.push_back(it.key());
        return out;
    }
    const CKpNode* Node(const CKpElem* e, int i) {
        return set()->pSolidNodes()->find(e->getunid(i));
    }
    // Volume of a brick (corner nodes 0-3 bottom, 4-7 top) as the
    // trilinear map's Jacobian integrated by 2 x 2 x 2 Gauss points, which
    // is exact for it.
    double PrismVolume(const CKpElem* e) {
        static const int sx[8] = {-1, 1, 1, -1, -1, 1, 1, -1};
        static const int sy[8] = {-1, -1, 1, 1, -1, -1, 1, 1};
        static const int sz[8] = {-1, -1, -1, -1, 1, 1, 1, 1};
        const double g = 1.0 / std::sqrt(3.0);
        double v = 0.0;
        for (int q = 0; q < 8; ++q) {
            const double xi = sx[q] * g, eta = sy[q] * g, zeta = sz[q] * g;
            double j[3][3] = {};
            for (int a = 0; a < 8; ++a) {
                const CKpNode* n = Node(e, a);
                const double p[3] = {n->getCKpPointX(), n->getCKpPointY(), n->getCKpPointZ()};
                const double d[3] = {sx[a] * (1 + sy[a] * eta) * (1 + sz[a] * zeta) / 8,
                                     sy[a] * (1 + sx[a] * xi) * (1 + sz[a] * zeta) / 8,
                                     sz[a] * (1 + sx[a] * xi) * (1 + sy[a] * eta) / 8};
                for (int r = 0; r < 3; ++r)
                    for (int c = 0; c < 3; ++c) j[r][c] += d[r] * p[c];
            }
            v += j[0][0] * (j[1][1] * j[2][2] - j[1][2] * j[2][1]) -
                 j[0][1] * (j[1][0] * j[2][2] - j[1][2] * j[2][0]) +
                 j[0][2] * (j[1][0] * j[2][1] - j[1][1] * j[2][0]);
        }
        return std::fabs(v);
    }
    // 2 x 1 plate of unit quads, plies of 0.5 and 0.25 on both.
    void TwoPlies(meshgen::Kind kind = meshgen::Kind::Quad4) {
        Load(meshgen::Plate(kind, 2, 1, 2.0, 1.0));
        Lay("A", Material("Carbon", 0.5), {1, 2});
        Lay("B", Material("Glass", 0.25), {1, 2});
    }
};

TEST_F(Extrude, OneSolidPerShellSharesTheMidFaceNodes) {
    TwoPlies();
    ASSERT_EQ(Run(1), 0);
    int nodes = 0, elems = 0, width = 0;
    ASSERT_EQ(gen->GetMeshSizes(nodes, elems, width), 0);
    EXPECT_EQ(nodes, 12);
    EXPECT_EQ(elems, 2);
    EXPECT_EQ(width, 8);
    for (CKpElem* e : Solids()) {
        EXPECT_EQ(e->getgmtp(), 101);
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(Near(Node(e, i)->getCKpPointZ(), -0.375, tol::length));
            EXPECT_TRUE(Near(Node(e, 4 + i)->getCKpPointZ(), 0.375, tol::length));
        }
        EXPECT_TRUE(Near(PrismVolume(e), 0.75, tol::length));
    }
    EXPECT_EQ(Solids()[0]->id(), 1);
    EXPECT_EQ(Solids()[1]->id(), 2);

    // Bottom corners keep the shell's corner order: element 1 is (0,0),
    // (1,0), (1,1), (0,1).
    const CKpElem* first = Solids()[0];
    EXPECT_DOUBLE_EQ(Node(first, 1)->getCKpPointX(), 1.0);
    EXPECT_DOUBLE_EQ(Node(first, 2)->getCKpPointY(), 1.0);
    EXPECT_DOUBLE_EQ(Node(first, 3)->getCKpPointX(), 0.0);
}

TEST_F(Extrude, SolidIdsFollowTheOffset) {
    TwoPlies();
    ASSERT_EQ(Run(1, 0), 0);
    EXPECT_EQ(Solids()[0]->id(), 0);
    EXPECT_EQ(Solids()[1]->id(), 1);
    gen->Clear();
    ASSERT_EQ(Run(1, -1000), 0);
    EXPECT_EQ(Solids()[0]->id(), 1001);
    EXPECT_EQ(Solids()[1]->id(), 1002);
    gen->Clear();
    gui.clear();
    EXPECT_EQ(Run(3, 0), 7);
    EXPECT_EQ(gui.texts(4)[0], "Element id (0) must be positive.");
    gen->Clear();
    EXPECT_EQ(Run(2, 5, 0), 7);
    EXPECT_EQ(gui.texts(4)[2], "Node id (0) must be positive.");
    gen->Clear();
    EXPECT_EQ(Run(4), 7);
    EXPECT_EQ(gui.texts(4)[4], "Unsupported extrusion method 4.");

    // Ids run up to one below the largest int and no further, whichever way
    // they are counted: the run stops with a message instead of wrapping.
    const std::string noId = "No element id is left below 2147483647.";
    for (const auto& [method, offset, made] :
         {std::tuple<int, int, std::vector<int>>{1, INT_MAX - 1, {INT_MAX - 1}},
          {3, INT_MAX - 2, {INT_MAX - 2, INT_MAX - 1}},
          {1, -(INT_MAX - 2), {INT_MAX - 1}}}) {
        gen->Clear();
        gui.clear();
        EXPECT_EQ(Run(method, offset), 7) << method << " " << offset;
        ASSERT_FALSE(gui.texts(4).empty());
        EXPECT_EQ(gui.texts(4)[0], noId);
        std::vector<int> ids;
        for (const CKpElem* e : Solids()) ids.push_back(e->id());
        EXPECT_EQ(ids, made) << method << " " << offset;
    }
}

TEST_F(Extrude, OneSolidPerPlyMeetsAtThePlyInterface) {
    TwoPlies();
    ASSERT_EQ(Run(3, 10, 100), 0);
    std::vector<CKpElem*> s = Solids();
    ASSERT_EQ(s.size(), 4u);
    EXPECT_EQ(s[0]->id(), 10);
    const double levels[2][2] = {{-0.375, 0.125}, {0.125, 0.375}};
    for (int k = 0; k < 4; ++k) {
        const int ply = k % 2;  // solids alternate A, B per shell
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(Near(Node(s[k], i)->getCKpPointZ(), levels[ply][0], tol::length)) << k;
            EXPECT_TRUE(Near(Node(s[k], 4 + i)->getCKpPointZ(), levels[ply][1], tol::length));
        }
    }
    // The interface nodes are shared by the ply solids above and below.
    EXPECT_EQ(s[0]->getunid(4), s[1]->getunid(0));
    int nodes = 0, elems = 0, width = 0;
    gen->GetMeshSizes(nodes, elems, width);
    EXPECT_EQ(nodes, 18);
}

TEST_F(Extrude, SplitPlyCutsTheStack) {
    Load(meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0));
    Lay("A", Material("Carbon", 0.5), {1, 2});
    Lay("cut", Material("split marker", 0.0), {1, 2});
    Lay("B", Material("Glass", 0.25), {1, 2});
    Lay("C", model->pMats()->find(3), {1, 2});
    ASSERT_EQ(Run(2), 0);
    std::vector<CKpElem*> s = Solids();
    ASSERT_EQ(s.size(), 4u);  // two per shell: A, then B + C
    EXPECT_TRUE(Near(Node(s[0], 0)->getCKpPointZ(), -0.5, tol::length));
    EXPECT_TRUE(Near(Node(s[0], 4)->getCKpPointZ(), 0.0, tol::length));
    EXPECT_TRUE(Near(Node(s[1], 4)->getCKpPointZ(), 0.5, tol::length));
}

TEST_F(Extrude, PlyEndingAtAnEdgeTapers) {
    Load(meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0));
    Lay("A", Material("Carbon", 0.5), {1, 2});
    Lay("B", Material("Glass", 0.25), {1});
    ASSERT_EQ(Run(3), 0);
    std::vector<CKpElem*> s = Solids();
    ASSERT_EQ(s.size(), 4u);
    // Element 2's B solid: full height at x = 1 (shared with element 1),
    // none at x = 2 where the ply is absent.
    const CKpElem* b2 = s[3];
    for (int i = 0; i < 4; ++i) {
        const double h = Node(b2, 4 + i)->getCKpPointZ() - Node(b2, i)->getCKpPointZ();
        const bool atEnd = Node(b2, i)->getCKpPointX() > 1.5;
        EXPECT_NEAR(h, atEnd ? 0.0 : 0.25, 1e-12) << i;
    }
}

TEST_F(Extrude, Quad8GivesABrickWithMidsideNodesOnEdgeMidpoints) {
    TwoPlies(meshgen::Kind::Quad8);
    ASSERT_EQ(Run(1), 0);
    const CKpElem* e = Solids()[0];
    ASSERT_EQ(e->getgmtp(), 102);
    static const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 5},
                                     {2, 6}, {3, 7}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
    for (int m = 0; m < 12; ++m) {
        const CKpNode* a = Node(e, edges[m][0]);
        const CKpNode* b = Node(e, edges[m][1]);
        const CKpNode* mid = Node(e, 8 + m);
        ASSERT_TRUE(mid);
        EXPECT_DOUBLE_EQ(mid->getCKpPointX(), (a->getCKpPointX() + b->getCKpPointX()) / 2) << m;
        EXPECT_DOUBLE_EQ(mid->getCKpPointZ(), (a->getCKpPointZ() + b->getCKpPointZ()) / 2) << m;
    }
    // Corners come from the shell's corners: the solid spans x 0..1.
    EXPECT_DOUBLE_EQ(Node(e, 1)->getCKpPointX(), 1.0);
    EXPECT_TRUE(Near(PrismVolume(e), 0.75, tol::length));
}

TEST_F(Extrude, CylinderSectorKeepsThePlyThickness) {
    const double kPi = std::acos(-1.0);
    const double cell = 15.0 * kPi / 180.0;
    Load(meshgen::Cylinder(meshgen::Kind::Quad4, 4, 1, 2.0, 4 * cell, 1.0));
    Lay("A", Material("Carbon", 0.4), {1, 2, 3, 4});
    ASSERT_EQ(Run(1), 0);
    const double half = 0.2 / std::cos(cell / 2);
    for (CKpElem* e : Solids()) {
        const double shellArea = 2 * 2.0 * std::sin(cell / 2) * 1.0;
        EXPECT_TRUE(Near(PrismVolume(e), shellArea * 0.4, Tol{1e-12, 1e-12})) << e->id();
        for (int i = 0; i < 8; ++i) {
            const CKpNode* n = Node(e, i);
            const double r = std::hypot(n->getCKpPointX(), n->getCKpPointY());
            const double angle = std::atan2(n->getCKpPointY(), n->getCKpPointX());
            // Edge nodes move along their one shell's normal, 0.2 off its
            // plane; interior ones radially by 0.2 / cos 7.5 degrees.
            const double edge = angle < 0.05 ? 0.0 : angle > 4 * cell - 0.05 ? 4 * cell : -1.0;
            if (edge < 0.0) {
                EXPECT_TRUE(Near(std::fabs(r - 2.0), half, Tol{1e-12, 1e-12})) << i;
            } else {
                const double dx = n->getCKpPointX() - 2.0 * std::cos(edge);
                const double dy = n->getCKpPointY() - 2.0 * std::sin(edge);
                EXPECT_TRUE(Near(std::hypot(dx, dy), 0.2, Tol{1e-12, 1e-12})) << i;
            }
        }
    }
}

TEST_F(Extrude, SlantedElementIsScaledByTwo) {
    // Two shells meeting at 140 degrees: each is 70 degrees off the mean
    // node direction at the shared edge.
    const double kPi = std::acos(-1.0);
    meshgen::Mesh m;
    const double a = 20.0 * kPi / 180.0;  // shells 70 degrees off the horizontal
    m.nodeIds = {1, 2, 3, 4, 5, 6};
    m.xyz = {-std::sin(a), 0, -std::cos(a), 0, 0, 0, std::sin(a), 0, -std::cos(a),
             -std::sin(a), 1, -std::cos(a), 0, 1, 0, std::sin(a), 1, -std::cos(a)};
    m.elemIds = {1, 2};
    m.topologies = {4, 4};
    m.width = 4;
    m.connectivity = {1, 2, 5, 4, 2, 3, 6, 5};
    Load(m);
    Lay("A", Material("Carbon", 0.1), {1, 2});
    ASSERT_EQ(Run(1), 0);
    const CKpElem* e = Solids()[0];
    const CKpNode* top = Node(e, 5);  // above shell node 2 on the ridge
    const CKpNode* bottom = Node(e, 1);
    EXPECT_TRUE(Near(top->getCKpPointZ() - bottom->getCKpPointZ(), 0.2, tol::length));
}

TEST_F(Extrude, SnapMovesTheFacesAndAddsThreeResults) {
    Load(meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0));
    Lay("A", Material("Carbon", 2.0), {1});
    const int ids[4] = {1, 2, 3, 4};
    const int counts[4] = {2, 2, 2, 2};
    const double values[8] = {1.05, -0.9, 1.05, -0.9, 1.05, -0.9, 1.05, -0.9};
    ASSERT_EQ(gen->SetSnapToSurface(1, 0.1, 4, ids, counts, values), 0);
    ASSERT_EQ(Run(1), 0);
    const CKpElem* e = Solids()[0];
    EXPECT_TRUE(Near(Node(e, 0)->getCKpPointZ(), -0.9, tol::length));
    EXPECT_TRUE(Near(Node(e, 4)->getCKpPointZ(), 1.05, tol::length));
    CKpResStore* res = model->pRess();
    ASSERT_EQ(res->entries(), 3);
    const char* names[3] = {"Original Thickness", "Snap Scale", "Final Thickness"};
    const float expected[3] = {2.0f, 0.975f, 1.95f};
    for (int r = 0; r < 3; ++r) {
        CKpRes* result = (*res)[r];
        EXPECT_STREQ(result->name(0), "Create Solid Element");
        EXPECT_STREQ(result->name(1), "Extrusion");
        EXPECT_STREQ(result->name(2), names[r]);
        EXPECT_EQ(result->type(), 1);
        EXPECT_EQ(result->loc(), 1);
        ASSERT_TRUE(result->ResElems()->find(1));
        EXPECT_FLOAT_EQ(result->ResElems()->find(1)->GetFloat(0), expected[r]);
    }
    EXPECT_EQ(gen->SetSnapToSurface(1, 0.1, 0, nullptr, nullptr, nullptr), 1);
}

TEST_F(Extrude, BadInputStopsWithAMessage) {
    TwoPlies();
    // Three snap values on one node.
    const int ids[1] = {1};
    const int counts[1] = {3};
    const double values[2] = {0.0, 0.0};
    ASSERT_EQ(gen->SetSnapToSurface(1, 0.1, 1, ids, counts, values), 0);
    EXPECT_EQ(Run(1), 0);  // the node keeps its faces; the run goes on
    EXPECT_EQ(gui.texts(4)[0], " Only two snap values can be defined, but node 1 has 3 values.");

    // A node whose facet normals cancel has no direction to extrude along.
    gen->Clear();
    gui.clear();
    model->pNodes()->find(2)->setCKpDirn(0, 0, 0);
    gen->SetExtrusionMethod(eExtrudeShell);
    gen->SetNodeIdOffset(1);
    gen->SetElementIdOffset(1);
    EXPECT_EQ(gen->Run(), 7);  // the model's selection and directions
    ASSERT_GE(gui.texts(4).size(), 2u);
    EXPECT_EQ(gui.texts(4)[0], "Node 2 has no extrusion direction.");
    EXPECT_EQ(gui.texts(4)[1], "Could not create solid elements");
}

TEST_F(Extrude, SettingsAndExport) {
    TwoPlies();
    EXPECT_EQ(gen->SetPropertyModeByCodeAndOrientation(eVekCode31, eVekOrientation2), 0);
    EXPECT_EQ(set()->GetPropertyMode(), 108);
    EXPECT_EQ(gen->SetPropertyModeByCodeAndOrientation(eVekCode21, eVekOrientation3), 1);
    EXPECT_EQ(set()->GetPropertyMode(), 108);
    EXPECT_EQ(gen->SetCoordId(2, 1), 1);
    EXPECT_EQ(gen->SetCoordId(-1, 1), 1);
    gen->SetPropertyMode(0);
    gen->SetExtrusionMethod(eExtrudePly);
    gen->Clear();  // keeps the method
    EXPECT_EQ(set()->GetExtrusionMethod(), 3);
    const int missing[2] = {1, 99};
    EXPECT_EQ(gen->SetElementIds(2, missing), 0);

    EXPECT_EQ(gen->ExportSolidElements(""), 0);
    ASSERT_EQ(Run(1), 0);
    EXPECT_EQ(set()->IsGenerated(), 1);
    int nodes = 0, elems = 0, width = 0;
    gen->GetMeshSizes(nodes, elems, width);
    std::vector<int> nodeIds(nodes), elemIds(elems), patches(elems), tops(elems),
        conn(elems * width);
    std::vector<double> xyz(3 * nodes);
    EXPECT_EQ(gen->GetMesh(nodes, nodeIds.data(), xyz.data(), elems, elemIds.data(), patches.data(),
                           tops.data(), width, conn.data()),
              0);
    EXPECT_EQ(gen->GetMesh(nodes + 1, nodeIds.data(), xyz.data(), elems, elemIds.data(),
                           patches.data(), tops.data(), width, conn.data()),
              3);
    EXPECT_EQ(tops[0], 28);

    const std::string path = ::testing::TempDir() + "solid_export.neu";
    ASSERT_EQ(gen->ExportSolidElements(path.c_str()), 0);
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 4u + 12 * 3 + 2 * 3 + 1);
    EXPECT_EQ(lines[0], "25       0       0       1       0       0       0       0       0");
    EXPECT_EQ(lines[2], "26       0       0       1      12       2       0       0       0");
    EXPECT_EQ(lines[4], " 1       1       0       2       0       0       0       0       0");
    EXPECT_EQ(lines[5], " 0.000000000E+00 0.000000000E+00-0.375000000E+00");
    EXPECT_EQ(lines[6], "0G");
    const size_t el = 4 + 36;
    EXPECT_EQ(lines[el], " 2       1       8       2       0       0       0       0       0");
    EXPECT_EQ(lines[el + 1],
              "       8       0       0       0 0.000000000E+00 0.000000000E+00 0.000000000E+00");
    EXPECT_EQ(lines.back(), "99       0       0       1       0       0       0       0       0");
    std::remove(path.c_str());
    EXPECT_EQ(gen->ExportSolidElements("/nonexistent-dir/x.neu"), 2);
}

}  // namespace

namespace {

TEST_F(Extrude, EachPlySolidGetsALaminateOfItsPly) {
    TwoPlies();
    gen->SetName("S");
    gen->SetPropertyMode(3);
    gen->SetFirstLamId(1);
    gen->SetFirstPropId(1);
    ASSERT_EQ(Run(3), 0) << (gui.texts(4).empty() ? "" : gui.texts(4).back());
    CKpLamStore* lams = static_cast<CKpLamStore*>(gen->GetLamStore());
    ASSERT_GE(lams->entries(), 2);
    // Solids alternate ply A (0.5) and ply B (0.25): each laminate holds
    // just the solid's own ply.
    std::vector<CKpElem*> s = Solids();
    for (size_t k = 0; k < s.size(); ++k) {
        CKpLam* lam = lams->find(s[k]->pid());
        ASSERT_NE(lam, nullptr) << s[k]->id();
        ASSERT_EQ(lam->LamLyrs()->entries(), 1);
        EXPECT_DOUBLE_EQ(lam->LamLyrs()->First()->t(), k % 2 ? 0.25 : 0.5) << k;
    }
}

}  // namespace
