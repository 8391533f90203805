#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacRef.h"
#include "layuplib/CKpFacRefStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/geom_util.h"
#include "layuplib/node_reref.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// Stores that delete their objects, a message log that reports to a
// recording host.
struct Mesh {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpMsg msg;
    RecordingGUI gui;
    Mesh() { msg.SetGUI(&gui); }
    ~Mesh() {
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
    CKpNode* node(int id, double x, double y, double z) {
        CKpNode* n = nodes.NewNode(id);
        n->setCKpPoint(x, y, z);
        n->setIncompleteFlag(0);
        nodes.insert(n);
        return n;
    }
    CKpElem* tria(int id, int a, int b, int c) {
        CKpElem* e = elems.NewElem(id, 11);
        const int ids[3] = {a, b, c};
        e->SetConnectivityKor(3, ids);
        elems.insert(e);
        return e;
    }
};

TEST(CKpNode, WriteNodeRecord) {
    CKpNode node(42);
    node.setCKpPoint(1.5, -2.0, 1.0 / 3.0);
    char buf[CKpNode::WRITE_MAX];
    const int len = node.write(buf, 7);
    EXPECT_EQ(std::string(buf), "100 NODE\n101 7 42\n102 1.5 -2 0.33333333\n");
    EXPECT_EQ(len, static_cast<int>(std::string(buf).size()));

    // A buffer that is too small is refused and left empty, never overrun.
    char small[12];
    EXPECT_EQ(node.write(small, sizeof small, 7), -1);
    EXPECT_STREQ(small, "");
}

TEST(CKpNodeStore, CreateCountAndExport) {
    Mesh m;
    int next = 10;
    CKpPoint p;
    p.Set(1.0, 2.0, 3.0);
    CKpNode* a = m.nodes.CreateNode(&p, &next);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->id() * 100 + next, 1011);
    m.nodes.insert(m.nodes.NewNode(5));  // not placed: not counted
    m.node(3, -1.0, 0.0, 4.0);
    m.node(7, 0.0, 0.0, 0.0)->setMerge(a);  // merged: not counted
    EXPECT_EQ(m.nodes.GetNumNodes(), 2);

    int ids[3] = {-9, -9, -9};
    double xyz[9] = {0};
    EXPECT_EQ(m.nodes.GetNodes(3, ids, xyz), 1);
    EXPECT_EQ(ids[0], -9);  // refused: nothing written

    ASSERT_EQ(m.nodes.GetNodes(2, ids, xyz), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 3), (std::vector<int>{3, 10, -9}));
    const double want[6] = {-1.0, 0.0, 4.0, 1.0, 2.0, 3.0};
    EXPECT_TRUE(NearArray(xyz, want, 6, tol::length));

    // Bounds over every node in the store, placed or not.
    double b[6], d = -1.0;
    ASSERT_EQ(m.nodes.GetBounds(&b[0], &b[1], &b[2], &b[3], &b[4], &b[5]), 0);
    const double wantB[6] = {-1.0, 1.0, 0.0, 2.0, 0.0, 4.0};
    EXPECT_TRUE(NearArray(b, wantB, 6, tol::length));
    ASSERT_EQ(m.nodes.GetBoundsDiagonal(&d), 0);
    EXPECT_TRUE(Near(d, std::sqrt(24.0), tol::length));
    CKpNodeStore empty;
    EXPECT_EQ(empty.GetBoundsDiagonal(&d), -1);
    EXPECT_EQ(d, 0.0);
}

TEST(CKpNodeStore, MergeAbsoluteTolerance) {
    Mesh m;
    m.node(1, 0.0, 0.0, 0.0);
    m.node(2, 0.0005, 0.0, 0.0);
    m.node(3, 1.0, 0.0, 0.0);
    m.node(4, 1.0, 0.001, 0.0);  // exactly the tolerance from node 3
    m.tria(1, 2, 3, 4);
    EXPECT_EQ(m.nodes.Merge(&m.msg, &m.elems, nullptr, 0.0), 0);
    EXPECT_EQ(m.nodes.entries(), 4);

    EXPECT_EQ(m.nodes.Merge(&m.msg, &m.elems, nullptr, 0.001), 1);
    EXPECT_TRUE(!m.nodes.find(2) && m.nodes.find(4));
    CKpElem* e = m.elems.find(1);
    EXPECT_EQ(e->getunid(0) * 10 + e->getunid(1), 13);
    EXPECT_EQ(e->getckpnodes(0), m.nodes.find(1));
    EXPECT_EQ(m.nodes.GetNumNodes(), 3);

    // With a subset only its nodes take part (an id of no node is ignored).
    m.node(5, 0.0, 0.0, 0.0);
    m.node(6, 1.0, 0.0, 0.0);
    CVekObjectStore<CVekObject> subset(64);
    for (int id : {3, 6, 77}) subset.insert(new CVekObject(id));
    EXPECT_EQ(m.nodes.Merge(&m.msg, &m.elems, &subset, 0.1), 1);
    EXPECT_TRUE(m.nodes.find(5) && !m.nodes.find(6));
    subset.eraseAllObjects();
}

TEST(CKpNodeStore, MergeRelativeToleranceAndSurvivor) {
    Mesh m;
    // Diagonal 100 (a 60 x 80 box): -0.01 means 1.0.
    m.node(1, 0.0, 0.0, 0.0);
    m.node(2, 60.0, 80.0, 0.0);
    m.node(9, 30.0, 40.0, 0.0);
    m.node(8, 30.9, 40.0, 0.0);   // within 1.0 of node 9
    m.node(5, 30.0, 41.0, 0.0);   // 1.0 from node 9: stays
    m.node(4, 29.95, 40.0, 0.0);  // smallest x + y + z of the group
    EXPECT_EQ(m.nodes.Merge(&m.msg, &m.elems, nullptr, -0.01), 2);
    EXPECT_TRUE(m.nodes.find(4) && !m.nodes.find(8) && !m.nodes.find(9) && m.nodes.find(5));

    // Ties in x + y + z go to the smaller id.
    Mesh t;
    t.node(7, 1.0, 0.0, 0.0);
    t.node(6, 0.0, 1.0, 0.0);
    EXPECT_EQ(t.nodes.Merge(&t.msg, &t.elems, nullptr, 2.0), 1);
    EXPECT_NE(t.nodes.find(6), nullptr);

    CKpNodeStore empty;
    EXPECT_EQ(empty.Merge(nullptr, nullptr, nullptr, -0.01), -1);
}

// Random clusters: the window scan merges exactly what a greedy comparison
// of all later pairs in the same order merges.
TEST(CKpNodeStore, MergeLikeAllPairsReference) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Mesh m;
    std::vector<CKpNode*> all;
    for (int id = 1; id <= 400; ++id)
        all.push_back(m.node(id, std::floor(u(rng) * 20) + 0.03 * u(rng),
                             std::floor(u(rng) * 4) + 0.03 * u(rng), 0.03 * u(rng)));
    std::sort(all.begin(), all.end(), [](CKpNode* a, CKpNode* b) {
        return a->Pos() != b->Pos() ? a->Pos() < b->Pos() : a->id() < b->id();
    });
    std::vector<int> survivors;
    std::vector<bool> gone(all.size(), false);
    for (size_t i = 0; i < all.size(); ++i) {
        if (gone[i]) continue;
        survivors.push_back(all[i]->id());
        for (size_t j = i + 1; j < all.size(); ++j)
            if (nearby(all[i]->getCKpPoint(), all[j]->getCKpPoint(), 0.02)) gone[j] = true;
    }
    std::sort(survivors.begin(), survivors.end());
    EXPECT_EQ(m.nodes.Merge(&m.msg, &m.elems, nullptr, 0.02),
              static_cast<int>(all.size() - survivors.size()));
    std::vector<int> kept;
    CVekObjectStoreIterator<CKpNode> it(m.nodes);
    while (++it) kept.push_back(it.key()->id());
    EXPECT_EQ(kept, survivors);
}

TEST(node_reref, LinksNodesAndDeletesBrokenElements) {
    Mesh m;
    m.node(1, 0, 0, 0);
    m.node(2, 1, 0, 0);
    m.node(3, 0, 1, 0);
    m.tria(5, 1, 2, 3);
    m.tria(7, 99, 2, 98);
    m.tria(9, 3, 2, 1);
    EXPECT_EQ(node_reref(&m.msg, &m.nodes, &m.elems), 1);
    const std::vector<std::string> want = {"Missing node 1 id 99 on element id 7.",
                                           "Missing node 3 id 98 on element id 7.",
                                           "Deleting element id 7."};
    EXPECT_EQ(m.gui.texts(2), want);
    EXPECT_TRUE(m.elems.entries() == 2 && !m.elems.find(7));
    EXPECT_EQ(m.elems.find(9)->getckpnodes(0), m.nodes.find(3));
    EXPECT_EQ(m.elems.find(5)->getckpnodes(2), m.nodes.find(3));
}

TEST(elem_reref, LinksPatternElementsAndDropsMissingOnes) {
    Mesh m;
    m.tria(4, 1, 2, 3);
    m.tria(6, 1, 2, 3);
    CKpPatStore patterns;
    CKpPat* pat = new CKpPat(1);
    pat->setPttrnnm("top_pattern");
    patterns.insert(pat);
    for (int id : {4, 0, 5, 6, 700}) {
        CKpPatElem* pe = new CKpPatElem();
        pe->setElemId(id);
        pat->PatElems()->InsertLast(pe);
    }
    EXPECT_EQ(elem_reref(&m.msg, &m.elems, &patterns), 0);
    const char* tail =
        " referenced by pattern top_pattern does not exist, deleting the pattern "
        "element data.";
    const std::vector<std::string> want = {std::string("Element 0") + tail,
                                           std::string("Element 5") + tail,
                                           std::string("Element 700") + tail};
    EXPECT_EQ(m.gui.texts(2), want);
    ASSERT_EQ(pat->PatElems()->entries(), 2);
    EXPECT_EQ(pat->PatElems()->First()->pelem(), m.elems.find(4));
    EXPECT_EQ(pat->PatElems()->Last()->pelem(), m.elems.find(6));
}

TEST(CKpNodeStore, SelectedNodeElementReferences) {
    Mesh m;
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 3, 1, 3.0, 1.0), m.nodes, m.elems);
    m.elems.find(1)->setSltd(1);
    m.elems.find(2)->setSltd(1);
    CKpRefStore refs;
    EXPECT_EQ(m.nodes.CreateSelNodeElemRef(&m.msg, &m.elems, &refs), 0);
    EXPECT_EQ(refs.entries(), 6);
    EXPECT_EQ(refs.find(2)->GetElems().entries(), 2);  // shared by both
    EXPECT_EQ(refs.find(4), nullptr);                  // only on the unselected element
}

// A node class of its own of the same size, whose destructor counts.
int g_countedNodesGone = 0;
struct CountedNode : CKpNode {
    using CKpNode::CKpNode;
    ~CountedNode() override { ++g_countedNodesGone; }
};

// Emptying a store gives back exactly its nodes, also while another store
// holds nodes of the same pool (ids inserted out of order too, so that some
// wait in the pending buffer), and still destroys the nodes whose
// destructors do something: one of another class, one with facet
// references.
TEST(CKpNodeStore, EmptyingGivesBackItsNodesAndDestroysThoseThatNeedIt) {
    static_assert(sizeof(CountedNode) == sizeof(CKpNode), "same pool slots");
    CKpNodeStore kept, emptied;
    for (int i = 1; i <= 300; ++i) {
        CKpNode* node = kept.NewNode(i);
        node->setCKpPoint(i, 2.0 * i, 3.0);
        ASSERT_EQ(kept.insert(node), 0);
    }
    for (int i = 500; i >= 1; --i) ASSERT_EQ(emptied.insert(emptied.NewNode(i)), 0);
    emptied.eraseAllObjects();
    EXPECT_EQ(emptied.entries(), 0);
    // The slots handed out again are not those of the nodes kept.
    std::vector<CKpNode*> fresh;
    for (int i = 0; i < 800; ++i) {
        fresh.push_back(new CKpNode(1000 + i));
        fresh.back()->setCKpPoint(-1.0, -1.0, -1.0);
    }
    int wrong = 0;
    for (int i = 1; i <= 300; ++i) {
        const CKpNode* node = kept.find(i);
        wrong += !node || node->id() != i || node->getCKpPointX() != i ||
                 node->getCKpPointY() != 2.0 * i || node->getCKpPointZ() != 3.0;
    }
    EXPECT_EQ(wrong, 0);
    for (CKpNode* node : fresh) delete node;

    g_countedNodesGone = 0;
    CKpNodeStore mixed;
    ASSERT_EQ(mixed.insert(mixed.NewNode(6)), 0);
    ASSERT_EQ(mixed.insert(new CountedNode(7)), 0);
    mixed.eraseAllObjects();
    EXPECT_EQ(g_countedNodesGone, 1);
    EXPECT_EQ(mixed.entries(), 0);
    CKpNode* referenced = mixed.NewNode(8);
    ASSERT_NE(referenced->FacRefs(), nullptr);
    referenced->FacRefs()->InsertLast(new CKpFacRef(0, 0, 9, 10));
    ASSERT_EQ(mixed.insert(referenced), 0);
    ASSERT_EQ(mixed.insert(new CountedNode(9)), 0);
    mixed.eraseAllObjects();  // the references go with their node
    EXPECT_EQ(g_countedNodesGone, 2);
    EXPECT_EQ(mixed.entries(), 0);
    // Alone in the pool: its nodes all go back at once, and the store takes
    // nodes again.
    kept.eraseAllObjects();
    ASSERT_EQ(kept.insert(kept.NewNode(5)), 0);
    EXPECT_EQ(kept.entries(), 1);
    kept.eraseAllObjects();
}

}  // namespace
