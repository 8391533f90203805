#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/elem_sort.h"
#include "layuplib/node_reref.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

struct Model {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpMsg msg;
    RecordingGUI gui;
    Model() { msg.SetGUI(&gui); }
    ~Model() {
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
};

CKpElem* withIds(CKpElemStore& store, int id, int gmtp, std::vector<int> ids) {
    CKpElem* e = store.NewElem(id, gmtp);
    for (size_t i = 0; i < ids.size(); ++i) e->setunid(static_cast<int>(i), ids[i]);
    store.insert(e);
    return e;
}

// Solver order in, perimeter order stored, solver order back out, for all
// four shells on a shuffled plate.
TEST(CKpElem, ConnectivityRoundTrip) {
    CKpElem q8(1, 2);
    const int solver[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_EQ(q8.SetConnectivityKor(8, solver), 0);
    std::vector<int> stored(8);
    for (int i = 0; i < 8; ++i) stored[i] = q8.getunid(i);
    EXPECT_EQ(stored, (std::vector<int>{1, 5, 2, 6, 3, 7, 4, 8}));

    using meshgen::Kind;
    for (Kind kind : {Kind::Quad4, Kind::Quad8, Kind::Tria3, Kind::Tria6}) {
        Model m;
        const meshgen::Mesh mesh = meshgen::Plate(kind, 3, 2, 3.0, 2.0, {5, 20, 99});
        meshgen::Load(mesh, m.nodes, m.elems);
        ASSERT_EQ(node_reref(&m.msg, &m.nodes, &m.elems), 1);

        const int n = mesh.numElems();
        const int w = mesh.width + 1;  // one spare column, left untouched
        std::vector<int> ids(n), patches(n), topo(n), rows(n * w, -7);
        ASSERT_EQ(m.elems.GetElements(n, ids.data(), patches.data(), topo.data(), w, rows.data()),
                  0);
        EXPECT_TRUE(std::is_sorted(ids.begin(), ids.end()));
        for (int k = 0; k < n; ++k) {
            const int src = static_cast<int>(
                std::find(mesh.elemIds.begin(), mesh.elemIds.end(), ids[k]) - mesh.elemIds.begin());
            ASSERT_LT(src, n);
            EXPECT_EQ(topo[k], mesh.topologies[src]);
            std::vector<int> want(mesh.row(src), mesh.row(src) + mesh.width);
            want.push_back(-7);
            EXPECT_EQ(std::vector<int>(rows.begin() + k * w, rows.begin() + (k + 1) * w), want);
            // Stored order walks the perimeter: each midside node lies
            // halfway between its stored neighbours.
            const CKpElem* e = m.elems.find(ids[k]);
            const int nn = e->getnnod();
            for (int i = 1; (nn == 6 || nn == 8) && i < nn; i += 2) {
                const int j = (i + 1) % nn;
                EXPECT_TRUE(Near(2 * (e->getckpnodesX(i) + e->getckpnodesY(i)),
                                 e->getckpnodesX(i - 1) + e->getckpnodesX(j) +
                                     e->getckpnodesY(i - 1) + e->getckpnodesY(j),
                                 tol::length));
            }
        }
    }
}

TEST(CKpElem, BadIndicesAndConnectivityAreRefused) {
    Model m;
    CKpElem e(3, 2), solid(4, 101);
    const int ids[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(e.SetConnectivityKor(6, ids) + e.SetConnectivityKor(8, nullptr) +
                  solid.SetConnectivityKor(8, ids),
              -3);
    EXPECT_EQ(solid.getunid(0), 0);

    e.SetConnectivityKor(8, ids);
    EXPECT_TRUE(!e.getckpnodes(-1) && !e.getckpnodes(8) && e.getckpnodesX(9) == 0.0);
    EXPECT_EQ(e.getunid(-1) + e.getunid(8) + e.GetUnidKor(-3) + e.GetUnidKor(8), 0);
    EXPECT_TRUE(!e.GetNodeKor(&m.msg, 8) && !e.GetNodeKor(&m.msg, -1));
    EXPECT_EQ(m.gui.texts(4), (std::vector<std::string>{"Attempt to access element node 9 of 8",
                                                        "Attempt to access element node 0 of 8"}));

    // Out-of-range writes stop at the assertion in a debug build and are
    // ignored in a release build.
    EXPECT_DEBUG_DEATH(e.setunid(8, 77), "");
    EXPECT_DEBUG_DEATH(solid.setfacs(0, 77), "");
    EXPECT_EQ(e.getunid(7), 8);
}

TEST(CKpElem, WriteElementRecord) {
    CKpElem e(12, 1);
    const int ids[4] = {1, 2, 3, 4};
    e.SetConnectivityKor(4, ids);
    e.seteltp(1);
    e.settpmd(181);
    e.setpart(2);
    char buf[CKpElem::WRITE_MAX];
    const std::string first = "200 ELEMENT\n201 3 12 2\n202 1 1 181\n203 4\n204 1 2 3 4\n";
    const int len = e.write(buf, 3);
    EXPECT_EQ(len, static_cast<int>(std::strlen(buf)));
    EXPECT_EQ(std::string(buf), first + "206 0.087266463 5\n207 0 0\n");

    e.SetPatchID(3);
    e.setoff_fg(-1);
    e.setoff_val(-0.125);
    e.CreateAnsys();
    for (int i = 0; i < 8; ++i) e.pAnsys()->Set(i, 10 + i);
    CKpOrient orient(7);
    e.pOrient(&orient);
    e.theta(0.5);
    e.write(buf, 0);
    std::string want =
        "200 ELEMENT\n201 0 12 2 3\n202 1 1 181\n203 4\n204 1 2 3 4\n"
        "206 0.087266463 5\n207 -1 -0.125\n208 10 11 12 13 14 15 16 17\n";
    EXPECT_EQ(std::string(buf), want);  // orientation of type 0: no 209
    orient.setType(3);
    e.write(buf, 0);
    EXPECT_EQ(std::string(buf), want + "209 7 0.5\n");

    // A full 20-node solid fits WRITE_MAX; a short buffer is refused
    // without overrun.
    CKpElem solid(2000000000, 102);
    for (int i = 0; i < 20; ++i) solid.setunid(i, -2000000000 + i);
    solid.SetPatchID(2000000000);
    solid.setoff_val(-1.2345678e-300);
    ASSERT_GT(solid.write(buf, 2000000000), 0);
    EXPECT_NE(std::string(buf).find(" -1999999981\n206"), std::string::npos);
    char small[40];
    EXPECT_EQ(solid.write(small, sizeof small, 0), -1);
    EXPECT_STREQ(small, "");
}

TEST(CKpElem, CheckShape) {
    Model m;
    withIds(m.elems, 1, 1, {1, 2, 3, 4});
    withIds(m.elems, 2, 1, {1, 2, 3, 1});  // repeated node
    withIds(m.elems, 3, 11, {5, 0, 6});    // id below 1
    withIds(m.elems, 4, 12, {1, 2, 3, 4, 5, 6});
    EXPECT_EQ(CKpElem(9, 55).CheckShape(), 0);
    EXPECT_EQ(m.elems.CheckShape(&m.msg), 2);
    EXPECT_EQ(m.gui.texts(2),
              (std::vector<std::string>{
                  "Shape check failed for element 3, deleting from the element store.",
                  "Shape check failed for element 2, deleting from the element store."}));
    EXPECT_TRUE(m.elems.entries() == 2 && m.elems.find(4));
}

TEST(CKpElemStore, ExportRefusesWrongSizes) {
    Model m;
    withIds(m.elems, 3, 2, {1, 2, 3, 4, 5, 6, 7, 8});
    withIds(m.elems, 1, 11, {1, 3, 5})->setSltd(1);
    int ids[2] = {-1, -1}, patch[2] = {-1, -1}, topo[2] = {-1, -1}, rows[16];
    std::fill(rows, rows + 16, -1);
    EXPECT_EQ(m.elems.GetElements(3, ids, patch, topo, 8, rows), 1);
    EXPECT_EQ(m.elems.GetElements(2, ids, patch, topo, 7, rows), 1);  // 8 nodes won't fit
    EXPECT_EQ(ids[0] + rows[0], -2);                                  // nothing written
    EXPECT_EQ(m.elems.GetSelectedElements(1, ids, patch, topo, 8, rows), 1);
    ASSERT_EQ(m.elems.GetSelectedElements(1, ids, patch, topo, 3, rows), 0);
    EXPECT_EQ((std::vector<int>{ids[0], topo[0], rows[2], rows[3]}),
              (std::vector<int>{1, 3, 5, -1}));
}

TEST(CKpElem, FacetsAlongEdges) {
    Model m;
    CKpElem q4(1, 1), t3(2, 11), q8(3, 2), solid(9, 111);
    auto on = [](const CKpElem& e, int edge) {
        int f = 0, fe = 0;
        e.GetFacOnEdge(edge, f, fe);
        return 10 * f + fe;
    };
    EXPECT_EQ((std::vector<int>{on(q4, 2), on(q4, 4), on(t3, 2), on(q8, 7), on(q8, 8), on(q8, -1)}),
              (std::vector<int>{10, -11, 2, 70, -11, -11}));

    for (int i = 0; i < 8; ++i) q8.setfacs(i, 100 + i);
    int count = 0, facets[2], edges[2];
    ASSERT_EQ(q8.GetFacEdges(&m.msg, 2, &count, facets, edges), 0);
    EXPECT_EQ((std::vector<int>{count, facets[0], edges[0], facets[1], edges[1]}),
              (std::vector<int>{2, 102, 0, 103, 0}));
    EXPECT_EQ(q8.GetFacEdges(&m.msg, 5, &count, facets, edges), -1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(solid.GetFacEdges(&m.msg, 1, &count, facets, edges), -1);
    EXPECT_EQ(m.gui.texts(4),
              (std::vector<std::string>{"Element 3 edge 5 undefined.",
                                        "Element 9 unsupported geometry type 111."}));
}

TEST(CKpElem, PlyStackOffsets) {
    CKpLypPly lower(4), upper(9);
    lower.setThicknessOverride(0.25);
    upper.setThicknessOverride(0.75);
    CKpElem e(1, 1);
    e.getElemLypPlies()->InsertLast(new CKpElemLypPly(&lower, nullptr));
    e.getElemLypPlies()->InsertLast(new CKpElemLypPly(&upper, nullptr));
    EXPECT_DOUBLE_EQ(e.thck(), 1.0);
    e.setoff_val(2.0);
    std::vector<double> offs;
    for (int fg : {1, 0, -1}) e.setoff_fg(fg), offs.push_back(e.off());
    EXPECT_EQ(offs, (std::vector<double>{2.0, 1.5, 1.0}));

    double z[3];
    CKpElemLypPly* ply = nullptr;
    ASSERT_EQ(e.GetLypPlyOffsets(9, z, &ply), 0);
    EXPECT_EQ(std::vector<double>(z, z + 3), (std::vector<double>{1.25, 1.625, 2.0}));
    EXPECT_EQ(ply, e.getElemLypPlies()->Last());
    EXPECT_EQ(e.GetLypPlyOffset(4, 1) * 10 + e.GetLypPlyOffset(4, 0), 13.5);
    EXPECT_EQ(e.GetLypPlyOffsets(5, z, nullptr), 3);
    e.getElemLypPlies()->InsertFirst(new CKpElemLypPly(nullptr, nullptr));
    EXPECT_EQ(e.GetLypPlyOffsets(9, z, nullptr), 2);
}

TEST(elem_sort, Keys) {
    CKpOrient o1(1), o2(2);
    CKpElem a(10, 1), b(11, 1), c(12, 1), d(13, 1), e(14, 1);
    for (CKpElem* x : {&b, &c, &d, &e}) x->pid(1);
    a.pid(2);
    b.pOrient(&o2);
    d.pOrient(&o1);
    e.pOrient(&o2);
    auto order = [](std::vector<CKpElem*> v, int (*cmp)(const void*, const void*)) {
        std::qsort(v.data(), v.size(), sizeof(CKpElem*), cmp);
        std::vector<int> ids;
        for (CKpElem* p : v) ids.push_back(p ? p->id() : 0);
        return ids;
    };
    const std::vector<CKpElem*> in = {&e, nullptr, &a, &d, &c, &b};
    EXPECT_EQ(order(in, cmpElemPidId), (std::vector<int>{11, 12, 13, 14, 10, 0}));
    EXPECT_EQ(order(in, cmpElemPidOrientId), (std::vector<int>{13, 11, 14, 12, 10, 0}));
}

// An element class of its own of the same size, and a ply stack entry,
// whose destructors count.
int g_countedGone = 0;
struct CountedElem : CKpElem {
    using CKpElem::CKpElem;
    ~CountedElem() override { ++g_countedGone; }
};
struct CountedPly : CKpElemLypPly {
    CountedPly() : CKpElemLypPly(nullptr, nullptr) {}
    ~CountedPly() override { ++g_countedGone; }
};

// Emptying a store gives back exactly its elements with their node arrays
// and ply stacks, also while another store holds elements of the same
// pools (ids inserted out of order too, so that some wait in the pending
// buffer), and still destroys what needs its destructor: an element of
// another class, a ply stack entry, ANSYS data.
TEST(CKpElemStore, EmptyingGivesBackItsElementsAndDestroysWhatNeedsIt) {
    static_assert(sizeof(CountedElem) == sizeof(CKpElem), "same pool slots");
    CKpElemStore kept, emptied;
    for (int i = 1; i <= 200; ++i) withIds(kept, i, 1, {i, i + 1, i + 2, i + 3});
    for (int i = 400; i >= 1; --i) ASSERT_EQ(emptied.insert(emptied.NewElem(i, i % 2 ? 1 : 11)), 0);
    emptied.eraseAllObjects();
    EXPECT_EQ(emptied.entries(), 0);
    // The slots handed out again are not those of the elements kept.
    std::vector<CKpElem*> fresh;
    for (int i = 0; i < 600; ++i) {
        fresh.push_back(new CKpElem(1000 + i, 1));
        for (int k = 0; k < 4; ++k) fresh.back()->setunid(k, -7);
    }
    int wrong = 0;
    for (int i = 1; i <= 200; ++i) {
        const CKpElem* e = kept.find(i);
        wrong += !e || e->id() != i || e->getnnod() != 4 || !e->getElemLypPlies();
        for (int k = 0; e && k < 4; ++k) wrong += e->getunid(k) != i + k;
    }
    EXPECT_EQ(wrong, 0);
    for (CKpElem* e : fresh) delete e;

    g_countedGone = 0;
    CKpElemStore mixed;
    ASSERT_EQ(mixed.insert(mixed.NewElem(1, 1)), 0);
    ASSERT_EQ(mixed.insert(new CountedElem(2, 11)), 0);
    mixed.eraseAllObjects();
    EXPECT_EQ(g_countedGone, 1);
    EXPECT_EQ(mixed.entries(), 0);
    g_countedGone = 0;
    CKpElem* stacked = mixed.NewElem(2, 11);
    stacked->getElemLypPlies()->InsertLast(new CountedPly());
    ASSERT_EQ(mixed.insert(stacked), 0);
    CKpElem* ansys = mixed.NewElem(3, 1);
    ASSERT_NE(ansys->CreateAnsys(), nullptr);
    ASSERT_EQ(mixed.insert(ansys), 0);
    ASSERT_EQ(mixed.insert(new CountedElem(4, 1)), 0);
    mixed.eraseAllObjects();  // the ANSYS data goes with its element
    EXPECT_EQ(g_countedGone, 2);
    EXPECT_EQ(mixed.entries(), 0);
    // Alone in the pools: everything goes back at once, and the store takes
    // elements again.
    kept.eraseAllObjects();
    withIds(kept, 9, 11, {1, 2, 3});
    EXPECT_EQ(kept.entries(), 1);
    EXPECT_EQ(kept.find(9)->getunid(2), 3);
    kept.eraseAllObjects();
}

}  // namespace
