#include "layuplib/EntityGraphSearch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/surface_div.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

using Layup::EntityGraphSearch;

//  4-----5-----6      unit quads: 10 = 1 2 5 4, 20 = 2 3 6 5
//  | 10  | 20  |      nodes 1 (0,0) .. 6 (2,1)
//  1-----2-----3
struct TwoQuads {
    int nodeIds[6] = {1, 2, 3, 4, 5, 6};
    double xyz[18] = {0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0};
    int elemIds[2] = {10, 20};
    int counts[2] = {4, 4};
    int rows[8] = {1, 2, 5, 4, 2, 3, 6, 5};
    EntityGraphSearch search;
    TwoQuads() { EXPECT_EQ(search.SetMesh(6, nodeIds, xyz, 2, elemIds, counts, 4, rows), 0); }
};

TEST(EntityGraphSearch, PathsRunThroughTheMesh) {
    TwoQuads m;
    std::vector<int> ids;
    std::vector<double> d;
    // Centre to centre through a shared node: 2 x sqrt(0.5).
    EXPECT_EQ(m.search.GetElemCentroidsFromElemCentroid(10, 2.0, 0, ids, d), 0);
    ASSERT_EQ(ids, std::vector<int>{20});
    EXPECT_NEAR(d[0], std::sqrt(2.0), 1e-12);
    // Not within 1.4: nothing, and the outputs keep what they held.
    EXPECT_EQ(m.search.GetElemCentroidsFromElemCentroid(10, 1.4, 0, ids, d), 0);
    EXPECT_EQ(ids.size(), 1u);
    ids.clear(), d.clear();
    // The four corners of element 10 at the half diagonal, in vertex order.
    EXPECT_EQ(m.search.GetNodeIDsFromElemCentroid(10, 1.0, 0, ids, d), 0);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 4, 5}));
    for (double x : d) EXPECT_NEAR(x, std::sqrt(0.5), 1e-12);
    // Repeatable: the graph is at rest after every search.
    std::vector<int> again;
    std::vector<double> dAgain;
    m.search.GetNodeIDsFromElemCentroid(10, 1.0, 0, again, dAgain);
    EXPECT_EQ(again, ids);
    EXPECT_EQ(dAgain, d);
    // The count limit ends at the first vertex found.
    ids.clear(), d.clear();
    m.search.GetNodeIDsFromElemCentroid(20, 5.0, 1, ids, d);
    ASSERT_EQ(ids.size(), 1u);
    EXPECT_EQ(ids[0], 2);
    EXPECT_NEAR(d[0], std::sqrt(0.5), 1e-12);
    // Shortest paths win over first-found ones: node 3 from element 10 is
    // reached over 2 (centre-2-3 = 0.707 + 1), not through element 20.
    ids.clear(), d.clear();
    m.search.GetNodeIDsFromElemCentroid(10, 10.0, 0, ids, d);
    ASSERT_EQ(ids.size(), 6u);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 4, 5, 3, 6}));
    EXPECT_NEAR(d[4], std::sqrt(0.5) + 1.0, 1e-12);
}

TEST(EntityGraphSearch, LookupsAndRefusals) {
    TwoQuads m;
    ASSERT_NE(m.search.GetNode(5), nullptr);
    EXPECT_EQ(m.search.GetNode(5)->GetId(), 5);
    EXPECT_EQ(m.search.GetNode(7), nullptr);
    EXPECT_EQ(m.search.GetElement(15), nullptr);
    EXPECT_EQ(m.search.GetElement(20)->GetType(), Layup::GraphNode::Element);
    std::vector<int> ids;
    std::vector<double> d;
    EXPECT_EQ(m.search.GetElemCentroidsFromElemCentroid(15, 9.0, 0, ids, d), 1);
    EXPECT_TRUE(ids.empty());
    // Edges are stored once on both ends: node 5 touches 2, 4, 6 and both
    // centres.
    EXPECT_EQ(m.search.GetNode(5)->Relations().size(), 5u);

    EntityGraphSearch empty;
    EXPECT_EQ(empty.SetMesh(0, m.nodeIds, m.xyz, 2, m.elemIds, m.counts, 4, m.rows), 1);
    EXPECT_EQ(empty.SetMesh(6, m.nodeIds, m.xyz, 0, m.elemIds, m.counts, 4, m.rows), 1);
    EXPECT_EQ(empty.SetMesh(6, m.nodeIds, nullptr, 2, m.elemIds, m.counts, 4, m.rows), 1);
    int unsorted[2] = {20, 10};
    EXPECT_EQ(empty.SetMesh(6, m.nodeIds, m.xyz, 2, unsorted, m.counts, 4, m.rows), 1);
    EXPECT_EQ(empty.GetNode(1), nullptr);
    // An element naming an unknown node, or of 5 nodes, stays out.
    int rows[8] = {1, 2, 5, 99, 2, 3, 6, 5};
    EXPECT_EQ(empty.SetMesh(6, m.nodeIds, m.xyz, 2, m.elemIds, m.counts, 4, rows), 0);
    EXPECT_EQ(empty.GetElement(10), nullptr);
    EXPECT_NE(empty.GetElement(20), nullptr);
}

TEST(EntityGraphSearch, QuadraticElementsWalkThroughMidsideNodes) {
    // One quad8 of 2 x 2: corners 1-4, midsides 5-8; its boundary edges run
    // corner-midside-corner, so corner to corner is never a direct edge.
    int nodeIds[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    double xyz[24] = {0, 0, 0, 2, 0, 0, 2, 2, 0, 0, 2, 0, 1, 0, 0, 2, 1, 0, 1, 2, 0, 0, 1, 0};
    int elemIds[1] = {1};
    int counts[1] = {8};
    int rows[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EntityGraphSearch s;
    ASSERT_EQ(s.SetMesh(8, nodeIds, xyz, 1, elemIds, counts, 8, rows), 0);
    const auto& rel = s.GetNode(1)->Relations();
    ASSERT_EQ(rel.size(), 3u);  // 5, 8 and the centre
    EXPECT_EQ(s.GetNode(1)->Relations()[0].first, 4);
    EXPECT_EQ(s.GetNode(1)->Relations()[1].first, 7);
    // Tria6: 1-4-2-5-3-6.
    int tIds[6] = {1, 2, 3, 4, 5, 6};
    double txyz[18] = {0, 0, 0, 2, 0, 0, 0, 2, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    int tc[1] = {6};
    int trow[6] = {1, 2, 3, 4, 5, 6};
    EntityGraphSearch t;
    ASSERT_EQ(t.SetMesh(6, tIds, txyz, 1, elemIds, tc, 6, trow), 0);
    EXPECT_EQ(t.GetNode(2)->Relations().size(), 3u);  // 4, 5 and the centre
    // The parametric centres.
    double c[3] = {9, 9, 9};
    EntityGraphSearch::CalculateMidPoint(8, xyz, c);
    EXPECT_NEAR(c[0], 1.0, 1e-15);
    EXPECT_NEAR(c[1], 1.0, 1e-15);
    EntityGraphSearch::CalculateMidPoint(6, txyz, c);
    EXPECT_NEAR(c[0], 2.0 / 3.0, 1e-15);
    EXPECT_NEAR(c[1], 2.0 / 3.0, 1e-15);
    c[0] = 7;
    EntityGraphSearch::CalculateMidPoint(5, txyz, c);
    EXPECT_EQ(c[0], 7);
}

TEST(EntityGraphSearch, ZeroLengthEdgesEnd) {
    // Two coincident nodes shared by a collapsed quad: zero-length edges
    // must not re-queue vertices without end.
    int nodeIds[5] = {1, 2, 3, 4, 5};
    double xyz[15] = {0, 0, 0, 1, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    int elemIds[2] = {1, 2};
    int counts[2] = {4, 3};
    int rows[8] = {1, 2, 3, 4, 3, 4, 5, 0};
    EntityGraphSearch s;
    ASSERT_EQ(s.SetMesh(5, nodeIds, xyz, 2, elemIds, counts, 4, rows), 0);
    auto t0 = std::chrono::steady_clock::now();
    std::vector<int> ids;
    std::vector<double> d;
    EXPECT_EQ(s.GetNodeIDsFromElemCentroid(1, 100.0, 0, ids, d), 0);
    EXPECT_EQ(ids.size(), 5u);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
}

TEST(EntityGraphSearch, SetupFromTheModelTakesSelectedElements) {
    MemoryDB db;
    RecordingGUI gui;
    CKpLayup model(&db, &gui);
    meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, 3, 1, 3.0, 1.0);
    ASSERT_EQ(meshgen::LoadModel(model, mesh), 0);
    EntityGraphSearch s;
    for (int k = 0; k < model.pElems()->entries(); ++k) (*model.pElems())[k]->setSltd(0);
    EXPECT_EQ(SetupSearch(model.pNodes(), model.pElems(), &s), 2);
    surface_select_all(model.pElems(), model.pFacs());
    EXPECT_EQ(SetupSearch(model.pNodes(), model.pElems(), &s), 0);
    std::vector<int> ids;
    std::vector<double> d;
    s.GetElemCentroidsFromElemCentroid(1, 10.0, 0, ids, d);
    EXPECT_EQ(ids, (std::vector<int>{2, 3}));
    EXPECT_NEAR(d[1], std::sqrt(2.0) + 1.0, 1e-12);  // centre, two nodes, centre
    EXPECT_EQ(SetupSearch(model.pNodes(), nullptr, &s), 1);
}

}  // namespace
