#include "layuplib/CreateElems.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "layuplib/CKpBdyNodeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/Tolerance.h"

namespace {

using Tri = std::array<int, 3>;

struct Loop : ::testing::Test {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpBdyNodeStore loop;

    ~Loop() override {
        loop.eraseAllObjects();
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
    // Adds node `id` at (x, y) to the loop on `edge` at `ratio`.
    CKpNode* Add(int id, double x, double y, int edge, double ratio) {
        CKpNode* n = nodes.NewNode(id);
        n->setCKpPoint(x, y, 0.0);
        n->setIncompleteFlag(0);
        nodes.insert(n);
        loop.InsertLast(new CKpBdyNode(n, edge, ratio));
        return n;
    }
    std::vector<Tri> Triangles() {
        std::vector<Tri> out;
        CVekObjectStoreIterator<CKpElem> it(elems);
        while (++it)
            out.push_back({it.key()->getunid(0), it.key()->getunid(1), it.key()->getunid(2)});
        return out;
    }
};

// R(3) above P(1); M(4) halfway from P to Q(2); given out of order.
TEST_F(Loop, EarCuttingAfterSorting) {
    elems.insert(elems.NewElem(40, 11));
    Add(3, 0, 2, 2, 0.0);
    CKpNode* m = Add(4, 1, 0, 0, 0.5);
    Add(2, 2, 0, 1, 0.0);
    Add(1, 0, 0, 0, 0.0);
    EXPECT_EQ(loop.NumVertices(), 3);
    ASSERT_EQ(loop.SortEdgeRatio(), 0);
    EXPECT_EQ(loop.First()->getNode()->id(), 1);
    EXPECT_EQ(loop.Last()->EdgeRatio(), 2.0);
    ASSERT_EQ(loop.CreateElems(&nodes, &elems), 0);
    EXPECT_EQ(Triangles(), (std::vector<Tri>{{0, 0, 0}, {1, 4, 3}, {4, 2, 3}}));
    EXPECT_EQ(elems.find(41)->getckpnodes(1), m);  // pointers linked as well as ids
}

TEST_F(Loop, CornersOnlyAndRefusals) {
    Add(1, 0, 0, 0, 0.0);
    Add(2, 1, 0, 1, 0.0);
    EXPECT_EQ(loop.CreateElems(&nodes, &elems), -1);  // two items
    Add(3, 0, 1, 2, 0.0);
    ASSERT_EQ(loop.CreateElems(&nodes, &elems), 0);
    EXPECT_EQ(Triangles(), (std::vector<Tri>{{1, 2, 3}}));  // first id of an empty store: 1
    Add(4, 1, 1, 3, 0.0);
    EXPECT_EQ(loop.CreateElems(&nodes, &elems), -1);  // four corners
    EXPECT_EQ(elems.entries(), 1);
}

// Past the highest id there is no id for a new element or node: refused,
// nothing inserted.
TEST_F(Loop, NoNewIdsPastTheHighest) {
    CKpNode* a = Add(1, 0, 0, 0, 0.0);
    CKpNode* b = Add(2, 1, 0, 1, 0.0);
    CKpNode* c = Add(2147483647, 0, 1, 2, 0.0);
    ASSERT_EQ(CreateTria3Elem(&elems, a, b, c), 0);
    CKpElem* top = elems.NewElem(2147483647, 11);
    ASSERT_NE(top, nullptr);
    ASSERT_EQ(elems.insert(top), 0);
    EXPECT_EQ(CreateTria3Elem(&elems, a, b, c), -1);
    EXPECT_EQ(elems.entries(), 2);

    CKpNodeStore made;
    const CKpPoint at;
    int next = 2147483647;
    CKpNode* last = made.CreateNode(&at, &next);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->id(), 2147483647);
    EXPECT_EQ(next, 0);  // none left
    EXPECT_EQ(made.CreateNode(&at, &next), nullptr);
    EXPECT_EQ(next, 0);
    EXPECT_EQ(made.entries(), 1);
    made.eraseAllObjects();
}

// Nodes on all three edges: the pieces tile the triangle (their areas add
// up and each keeps the orientation, so none uses a node twice).
TEST_F(Loop, PiecesTileTheTriangle) {
    Add(3, 0, 4, 2, 0.0);
    Add(10, 1, 0, 0, 0.25);
    Add(11, 0, 2, 2, 0.5);
    Add(12, 3, 1, 1, 0.25);
    Add(1, 0, 0, 0, 0.0);
    Add(13, 3, 0, 0, 0.75);
    Add(2, 4, 0, 1, 0.0);
    Add(14, 1, 3, 1, 0.75);
    ASSERT_EQ(loop.SortEdgeRatio(), 0);
    ASSERT_EQ(loop.CreateElems(&nodes, &elems), 0);
    EXPECT_EQ(elems.entries(), 6);
    double total = 0.0;
    CVekObjectStoreIterator<CKpElem> it(elems);
    while (++it) {
        const CKpElem* e = it.key();
        double area = 0.0;
        ASSERT_EQ(e->GetArea(&area), 0);
        CKpDirn n;
        e->GetNormal(&n);
        EXPECT_TRUE(Near(n.getz(), 1.0, tol::length)) << "element " << e->id();
        total += area;
    }
    EXPECT_TRUE(Near(total, 8.0, tol::length));
}

}  // namespace
