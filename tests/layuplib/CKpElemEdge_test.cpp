#include "layuplib/CKpElemEdge.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "layuplib/CKpElemEdgeNodeList.h"
#include "layuplib/CKpElemEdgeNodeStore.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "tests/support/MessageCapture.h"

namespace {

// The ordering as the seed-curve arrangement runs it, over edges given as
// (element, side, node ids); facets are made up (element id, side).
struct Chain {
    MessageCapture cap;
    CKpElemEdgeStore edges, ordered;
    CKpElemEdgeNodeStore graph;
    CKpElemEdgeNodeList walk;

    explicit Chain(const char* name) : cap(name) {}
    void Add(int elem, int side, std::vector<int> nodes) {
        const int facets[2] = {elem, elem}, facetEdges[2] = {side, side};
        CKpElemEdge* edge = new CKpElemEdge(elem, side);
        edge->SetEdges(static_cast<int>(nodes.size()) - 1, facets, facetEdges, nodes.data());
        edges.InsertLast(edge);
    }
    int Arrange() {
        if (graph.AddElemEdges(&edges) != 0 || graph.CheckNeighNodes(&cap.log) != 0) return -1;
        if (graph.CreateEdgeLine(&walk) != 0) return -2;
        return walk.CreateOrderedElemEdges(&ordered);
    }
    std::vector<int> WalkIds() const {
        std::vector<int> ids;
        for (const CKpElemEdgeNode* n = walk.First(); n; n = walk.Next(n)) ids.push_back(n->id());
        return ids;
    }
    // "element:side:direction" per ordered edge.
    std::vector<std::string> Ordered() const {
        std::vector<std::string> out;
        for (const CKpElemEdge* e = ordered.First(); e; e = ordered.Next(e))
            out.push_back(std::to_string(e->Elem()) + ":" + std::to_string(e->Edge()) + ":" +
                          std::to_string(e->Dirn()));
        return out;
    }
};

// 10 - 11 - 12 - 13 given out of order and partly against the walk; and a
// chain whose lowest node id (5) lies inside it.
TEST(CKpElemEdgeNodeStore, OpenChainsAreWalkedFromAnEnd) {
    Chain c("open_chain");
    c.Add(3, 1, {13, 12});
    c.Add(1, 2, {10, 11});
    c.Add(2, 3, {12, 11});
    ASSERT_EQ(c.Arrange(), 0);
    EXPECT_EQ(c.cap.body(), "$# Node 10 has 1 neighbours\n$# Node 13 has 1 neighbours\n");
    EXPECT_EQ(c.WalkIds(), (std::vector<int>{10, 11, 12, 13}));
    EXPECT_EQ(c.Ordered(), (std::vector<std::string>{"1:2:1", "2:3:-1", "3:1:-1"}));

    Chain d("inner_start");
    for (auto [elem, a, b] : {std::array<int, 3>{1, 20, 5}, {2, 5, 21}, {3, 21, 22}})
        d.Add(elem, 1, {a, b});
    ASSERT_EQ(d.Arrange(), 0);
    EXPECT_EQ(d.WalkIds(), (std::vector<int>{20, 5, 21, 22}));
}

TEST(CKpElemEdgeNodeStore, BranchAndLooseEdgesAreRefused) {
    Chain t("t_junction");  // 1 - 2 - 3 with 4 on 2
    for (auto [elem, a, b] : {std::array<int, 3>{1, 1, 2}, {2, 2, 3}, {3, 2, 4}})
        t.Add(elem, 1, {a, b});
    EXPECT_EQ(t.Arrange(), -1);
    EXPECT_EQ(t.cap.body(),
              "$# Node 1 has 1 neighbours\n"
              "$# ERROR: Node 2 has 3 neighbours, only 2 are allowed.\n"
              "$# ERROR:  1\n$# ERROR:  3\n$# ERROR:  4\n"
              "$# Node 3 has 1 neighbours\n$# Node 4 has 1 neighbours\n"
              "$# ERROR: There are 3 end nodes, only 2 are allowed.\n");

    Chain loose("loose_edges");
    for (int k = 0; k < 4; ++k) loose.Add(k + 1, 1, {10 * k + 1, 10 * k + 2});
    EXPECT_EQ(loose.Arrange(), -1);
    EXPECT_NE(loose.cap.body().find("$# ERROR: There are 8 end nodes, only 2 are allowed.\n"),
              std::string::npos);
}

// Quadratic edges 1-(2)-3 and 5-(4)-3: midsides between their corners, each
// edge once though the walk passes it in two steps. Elements 4 and 6 share
// the side 7-1: element 4's is used.
TEST(CKpElemEdgeNodeStore, QuadraticAndSharedEdges) {
    Chain c("quadratic");
    c.Add(8, 2, {5, 4, 3});
    c.Add(9, 1, {1, 2, 3});
    c.Add(6, 3, {1, 7});
    c.Add(4, 1, {7, 1});
    ASSERT_EQ(c.Arrange(), 0);
    EXPECT_EQ(c.WalkIds(), (std::vector<int>{5, 4, 3, 2, 1, 7}));
    EXPECT_EQ(c.Ordered(), (std::vector<std::string>{"8:2:1", "9:1:-1", "4:1:-1"}));
    CKpElemEdgeNode* mid = c.graph.find(2);
    EXPECT_EQ(std::vector<int>({mid->GetNeighNode(0), mid->GetNeighNode(1), mid->GetNextNode(3)}),
              std::vector<int>({1, 3, 1}));
    EXPECT_EQ(mid->GetElemEdge(7), nullptr);
}

// A closed ring 1-2-3-4-1 has no end: the walk stops at its start and the
// ordered curve still holds every edge, end to end.
TEST(CKpElemEdgeNodeStore, ClosedChainEndsWhereItStarted) {
    Chain c("closed_chain");
    for (auto [elem, a, b] : {std::array<int, 3>{1, 1, 2}, {2, 3, 2}, {3, 3, 4}, {4, 1, 4}})
        c.Add(elem, 1, {a, b});
    ASSERT_EQ(c.Arrange(), 0);
    EXPECT_EQ(c.cap.body(), "");
    EXPECT_EQ(c.WalkIds(), (std::vector<int>{1, 2, 3, 4}));
    ASSERT_EQ(c.ordered.entries(), 4);
    int next = 1;
    for (const CKpElemEdge* e = c.ordered.First(); e; e = c.ordered.Next(e)) {
        EXPECT_EQ(e->GetFirstNode(), next);
        next = e->GetLastNode();
    }
    EXPECT_EQ(next, 1);
}

}  // namespace
