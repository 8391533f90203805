// MergeFree and SewFree through ILayup, on small inline meshes of tria3
// elements in the plane z = 0.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

using Tri = std::array<int, 3>;
using Nodes = std::vector<std::array<double, 3>>;  // id, x, y
using Trias = std::vector<std::array<int, 4>>;     // id, three node ids

class MeshRepair : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    ILayup* api() { return model.get(); }
    std::string path = ::testing::TempDir() + "mesh_repair_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".msg";
    size_t mark = 0;

    void SetUp() override { ASSERT_EQ(model->pMsg()->FileOpen(path.c_str()), 0); }
    void TearDown() override {
        model.reset();
        std::remove(path.c_str());
    }
    void Load(const Nodes& nodes, const Trias& trias) {
        meshgen::Mesh m;
        m.width = 3;
        for (const auto& n : nodes) {
            m.nodeIds.push_back(static_cast<int>(n[0]));
            m.xyz.insert(m.xyz.end(), {n[1], n[2], 0.0});
        }
        for (const auto& t : trias) {
            m.elemIds.push_back(t[0]);
            m.topologies.push_back(3);
            m.connectivity.insert(m.connectivity.end(), {t[1], t[2], t[3]});
        }
        LoadMesh(m);
    }
    void LoadMesh(const meshgen::Mesh& m) {
        std::vector<int> patches(m.numElems(), 0);
        ASSERT_EQ(api()->NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                      m.elemIds.data(), patches.data(), m.topologies.data(),
                                      m.width, m.connectivity.data(), 0.0, 0.0),
                  0);
        gui.clear();
        mark = 0;  // Log() reads from the mark
        mark = Log().size();
    }
    std::map<int, Tri> Elements() {
        std::map<int, Tri> out;
        CVekObjectStoreIterator<CKpElem> it(*model->pElems());
        for (CKpElem* e; ++it && (e = it.key());)
            out[e->id()] = {e->getunid(0), e->getunid(1), e->getunid(2)};
        return out;
    }
    // The message file since the mesh was loaded.
    std::string Log() {
        std::ifstream in(path);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str().substr(std::min(mark, out.str().size()));
    }
    bool Logged(const std::string& line) { return Log().find(line + "\n") != std::string::npos; }
    int FreeEdges() { return model->pFacs()->GetFreeEdgeNum(11); }
};

// The T-junction strip: E1 (1 3 2) below y = 0; its free edge 2 -> 1 passes
// through node 4, a corner of E2, E3 and E4 above.
//   5 ------- 6
//   | E2 / E4 | E3      (E2 = 1 4 5, E4 = 4 6 5, E3 = 4 2 6)
//   1 -- 4 -- 2
//      E1 3
const Nodes kStrip = {{1, 0, 0}, {2, 2, 0}, {3, 1, -1}, {4, 1, 0}, {5, 0.5, 1}, {6, 1.5, 1}};
const Trias kStripElems = {{1, 1, 3, 2}, {2, 1, 4, 5}, {3, 4, 2, 6}, {4, 4, 6, 5}};

TEST_F(MeshRepair, SewFreeClosesATJunction) {
    Load(kStrip, kStripElems);
    ASSERT_EQ(api()->SewFree(0.01), 0);
    const std::map<int, Tri> expected = {
        {2, {1, 4, 5}}, {3, {4, 2, 6}}, {4, {4, 6, 5}}, {5, {2, 4, 3}}, {6, {4, 1, 3}}};
    EXPECT_EQ(Elements(), expected);
    EXPECT_EQ(FreeEdges(), 5);  // the surface was rebuilt
    EXPECT_TRUE(Logged("$# Free TRIA3 edges: 8")) << Log();
    EXPECT_TRUE(Logged("$# Elem:      1 Edge: 2 Node:      4 Ratio:      0.5 Dist:        0"));
    EXPECT_TRUE(gui.messages.empty());
}

// Node 5 lies 0.0005 from corner 2 of E1, within the tolerance of both E1
// edges that meet there (0.00035 from 3 -> 2, 0.0005 from 2 -> 1). It is
// sewn into the nearer edge only, so no triangle uses it twice. E2 (5 8 7),
// whose edges point away from node 2, stays.
TEST_F(MeshRepair, SewFreeTakesANodeNearACornerOnce) {
    Load({{1, 0, 0}, {2, 2, 0}, {3, 1, -1}, {5, 1.999, -0.0005}, {7, 1.5, -1.5}, {8, 0.8, -1.5}},
         {{1, 1, 3, 2}, {2, 5, 8, 7}});
    ASSERT_EQ(api()->SewFree(0.01), 0);
    const std::map<int, Tri> expected = {{2, {5, 8, 7}}, {3, {3, 5, 1}}, {4, {5, 2, 1}}};
    EXPECT_EQ(Elements(), expected);
    EXPECT_TRUE(Logged("$# Elem:      1 Edge: 1 Node:      5 Ratio:  0.99925 Dist: 0.000353553"))
        << Log();
}

// E1 (1 2 3) and E2 (4 5 6) side by side; 4 and 6 lie within 1e-4 of 2
// and 3.
TEST_F(MeshRepair, MergeFreeJoinsCoincidentFreeNodes) {
    Load({{1, 0, 0}, {2, 1, 0}, {3, 1, 1}, {4, 1.0001, 0}, {5, 2, 0}, {6, 1.00005, 1.00002}},
         {{1, 1, 2, 3}, {2, 4, 5, 6}});
    ASSERT_EQ(api()->MergeFree(1e-3), 0);
    EXPECT_EQ(Elements().at(2), (Tri{2, 5, 3}));
    EXPECT_EQ(FreeEdges(), 4);
    // Then the rebuilt surface's report.
    EXPECT_EQ(Log().find("$# MergeFree: mergeTolerance        0.001\n"
                         "$# Minimum free edge length: 0.9999\n"
                         "$# Num merged nodes: 2\n$# A total of 1 subdomains"),
              0u)
        << Log();
}

TEST_F(MeshRepair, RefusalsAndNothingToDo) {
    LoadMesh(meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 120.0, 160.0));  // diagonal 200
    EXPECT_EQ(api()->MergeFree(0.0), 0);
    EXPECT_EQ(api()->SewFree(0.0), 0);
    EXPECT_EQ(api()->SewFree(-0.01), 0);
    EXPECT_EQ(Log(),
              "$# MergeFree: mergeTolerance            0\n"
              "$# SewFree: sewTolerance            0\n"
              "$# SewFree: sewTolerance        -0.01\n"
              "$#  Updated    : sewTolerance            2\n"
              "$# Free TRIA3 edges: 0\n");
    EXPECT_EQ(api()->MergeFree(-0.01), -1);
    EXPECT_TRUE(Logged("$#  Updated    : mergeTolerance            2"));
    EXPECT_TRUE(Logged("$# ERROR: No free tria3 edges exist in model."));
    EXPECT_EQ(api()->MergeFree(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(gui.texts(4).back(), "MergeFree: the tolerance is not a finite number.");

    ASSERT_NE(api()->GetMaterialStore()->New(1), nullptr);
    gui.clear();
    EXPECT_EQ(api()->MergeFree(1.0), -1);
    EXPECT_EQ(api()->SewFree(0.0), -1);
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{
                  "Merging only possible if nodes and elements alone exist in model.",
                  "Sewing only possible if nodes and elements alone exist in model."}));
}

}  // namespace
