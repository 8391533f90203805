#include "layuplib/LayupFromLams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/make_facet.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = std::acos(-1.0) / 180.0;

struct Layer {
    int gply;
    int mid;
    double t;
    double deg;
};

// A strip of unit quads 1..n along x (normals +z) with its faceted surface
// and materials 1 and 2.
class LayupFromLams : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};

    void build(int n) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, n, 1, n, 1.0);
        const std::vector<int> patches(static_cast<size_t>(n), 0);
        ASSERT_EQ(model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                     m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                     m.connectivity.data(), 0.0, 0.0),
                  0);
        ASSERT_EQ(make_facet(model.pMsg(), model.pNodes(), model.pElems(), model.pFacs()), 1);
        for (int id = 1; id <= 2; ++id) model.pMats()->insert(new CKpMat(id));
    }
    // Laminate `id` with `layers` (bottom first) on the elements `elems`.
    void lam(int id, std::vector<Layer> layers, std::vector<int> elems) {
        CKpLam* l = model.pLams()->New(id);
        l->name(("L" + std::to_string(id)).c_str());
        for (const Layer& s : layers) {
            CKpLamLyr* lyr = l->LamLyrs()->New();
            lyr->setGplyid(s.gply);
            lyr->setMid(s.mid);
            lyr->setT(s.t);
            lyr->setTheta(s.deg * kDeg);
        }
        for (int e : elems) model.pElems()->find(e)->pid(id);
    }
    CKpPly* ply(const char* name) { return model.pPlys()->findByName(name); }
    std::vector<int> patElemIds(const CKpPly* p) {
        std::vector<int> ids(static_cast<size_t>(p->pPat()->PatElems()->entries()));
        p->pPat()->PatElems()->GetElemIds(ids.data(), static_cast<int>(ids.size()));
        return ids;
    }
    std::vector<std::string> plyNames() {
        std::vector<std::string> names;
        for (int i = 0; i < model.pPlys()->Count(); ++i)
            names.push_back(static_cast<CKpPly*>(model.pPlys()->Get(i))->name());
        return names;
    }
};

}  // namespace

TEST(CheckLamDn, OrderOfGlobalPlyIds) {
    auto order = [](std::vector<int> gplys) {
        CKpLam lam(1);
        for (int g : gplys) lam.LamLyrs()->New()->setGplyid(g);
        return CheckLamDn(lam.LamLyrs());
    };
    EXPECT_EQ((std::vector<int>{order({1, 2, 5}), order({5, 2, 1}), order({1, 1}), order({1, 3, 2}),
                                order({3}), order({}), CheckLamDn(nullptr)}),
              (std::vector<int>{1, -1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(CreateLayupLaminate(nullptr), -1);
}

// Global ply 1 covers elements 1, 2 and 4 (two pieces), global ply 2
// elements 1 and 2; element 3 has no laminate, element 5 a missing one.
TEST_F(LayupFromLams, PiecesBecomeProjectedPliesInTheLayup) {
    build(5);
    lam(1, {{1, 1, 0.2, 0.0}, {2, 1, 0.3, 45.0}, {0, 2, 0.5, 90.0}}, {1, 2});
    lam(2, {{1, 1, 0.25, 30.0}}, {4});
    model.pElems()->find(5)->pid(9);
    model.pElems()->find(2)->theta(0.1);

    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    EXPECT_EQ(plyNames(), (std::vector<std::string>{"gplyid.1", "gplyid.1.2", "gplyid.2"}));
    CKpPly* a = ply("gplyid.1");
    CKpPly* b = ply("gplyid.1.2");
    CKpPly* c = ply("gplyid.2");
    ASSERT_TRUE(a && b && c);
    EXPECT_STREQ(a->pPat()->pttrnnm(), "gplyid.1_pattern");
    EXPECT_EQ(a->pPat()->SimResult(), 0);
    EXPECT_EQ(patElemIds(a), (std::vector<int>{1, 2}));
    EXPECT_EQ(patElemIds(b), (std::vector<int>{4}));
    EXPECT_EQ(patElemIds(c), (std::vector<int>{1, 2}));

    // Angles are element orientation + layer angle; thickness the layer's.
    const CKpPatElem* second = a->pPat()->PatElems()->Last();
    EXPECT_TRUE(Near(second->warpAngle(), 0.1, tol::angle));
    EXPECT_TRUE(Near(c->pPat()->PatElems()->First()->thickness(), 0.3, tol::length));
    EXPECT_TRUE(Near(b->pPat()->refang(), 30.0 * kDeg, tol::angle));
    // Increasing ids and consistent normals: stdn +1, applied against +z.
    EXPECT_EQ(second->stdn(), 1);
    EXPECT_EQ(second->dnfg(), 1);
    EXPECT_TRUE(Near(a->pPat()->eyedz(), -1.0, tol::length));

    CKpLyp* lyp = model.pLyp();
    EXPECT_STREQ(lyp->name(), "gplyids");
    ASSERT_EQ(lyp->LypPlys().entries(), 3);
    EXPECT_EQ(lyp->LypPlys()[0]->pPly(), a);
    EXPECT_EQ(lyp->LypPlys()[2]->gplyid(), 2);
    EXPECT_EQ(model.pElems()->find(1)->getElemLypPlies()->entries(), 2);
    EXPECT_TRUE(gui.texts(4).empty());
}

TEST_F(LayupFromLams, MaterialConflictsAndMissingMaterials) {
    build(3);
    model.pLyp()->setName("mine");
    EXPECT_EQ(CreateLayupLaminate(&model), 0);  // no laminate referenced
    EXPECT_STREQ(model.pLyp()->name(), "mine");
    lam(1, {{1, 1, 0.2, 0.0}, {5, 7, 0.2, 0.0}}, {1});
    lam(2, {{1, 2, 0.2, 0.0}}, {2});  // global ply 1 took material 1 first
    lam(3, {{1, 1, 0.2, 0.0}}, {3});
    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{
                  "  The material ID of 2 associated with gply 1 on laminate L2 is different to "
                  "the material ID of 1 used previously. Elements referencing this laminate will "
                  "not be added to the global ply.",
                  "Cannot find material 7 referenced by gply 5"}));
    // Without element 2, elements 1 and 3 are two pieces.
    EXPECT_EQ(plyNames(), (std::vector<std::string>{"gplyid.1", "gplyid.1.2"}));
    EXPECT_EQ(patElemIds(ply("gplyid.1.2")), (std::vector<int>{3}));
}

// s = dnfg x laminate direction decides each piece's stdn; a tie gives +1.
TEST_F(LayupFromLams, StackingDirectionByMajority) {
    build(3);
    lam(1, {{2, 1, 0.2, 10.0}, {1, 1, 0.2, 20.0}}, {1, 2});  // decreasing
    lam(2, {{1, 1, 0.2, 20.0}, {3, 1, 0.2, 0.0}}, {3});      // increasing
    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    const CKpPat* pat = ply("gplyid.1")->pPat();
    EXPECT_EQ(pat->PatElems()->First()->stdn(), -1);
    EXPECT_TRUE(Near(pat->eyedz(), 1.0, tol::length));
    EXPECT_TRUE(Near(pat->refang(), -20.0 * kDeg, tol::angle));

    lam(3, {{1, 1, 0.2, 20.0}, {3, 1, 0.2, 0.0}}, {2});  // element 2 now increasing
    model.pElems()->find(3)->pid(0);                     // piece {1, 2}: one of each
    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    EXPECT_EQ(ply("gplyid.1")->pPat()->PatElems()->First()->stdn(), 1);
}

TEST_F(LayupFromLams, RerunReplacesThePliesOfTheEarlierRun) {
    build(3);
    lam(1, {{1, 1, 0.2, 0.0}, {2, 1, 0.2, 0.0}}, {1, 3});
    CKpPat* own = new CKpPat(50);
    model.pPats()->insert(own);
    model.pPlys()->insert(new CKpPly(50, "gplyid.x", 2, model.pMats()->find(1), own));

    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    ASSERT_EQ(plyNames().size(), 5u);  // two global plies in two pieces each
    lam(2, {{2, 1, 0.2, 0.0}}, {2});   // element 2 joins the pieces of gply 2
    ASSERT_EQ(CreateLayupLaminate(&model), 0);
    EXPECT_EQ(plyNames(),
              (std::vector<std::string>{"gplyid.x", "gplyid.1", "gplyid.1.2", "gplyid.2"}));
    EXPECT_EQ(model.pPats()->entries(), 4);
    EXPECT_EQ(model.pLyp()->LypPlys().entries(), 3);
    EXPECT_EQ(patElemIds(ply("gplyid.2")), (std::vector<int>{1, 2, 3}));
}

// A pattern or ply store already holding the highest id (a layup file may
// give one) has no id for a piece's pattern or ply: the run fails with its
// error, the pieces made before stay whole, and nothing of a wrapped id or
// a pattern without its ply is made.
TEST_F(LayupFromLams, NoPatternOrPlyPastTheHighestId) {
    const int top = 2147483647;
    build(3);
    lam(1, {{1, 1, 0.2, 0.0}, {2, 1, 0.3, 45.0}}, {1, 2, 3});
    auto ids = [](auto* store) {
        std::vector<int> out;
        for (int i = 0; i < store->entries(); ++i) out.push_back((*store)[i]->id());
        return out;
    };

    // No ply id: nothing made.
    CKpPly* own = new CKpPly(top);
    ASSERT_EQ(model.pPlys()->insert(own), 0);
    EXPECT_EQ(CreateLayupLaminate(&model), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Could not allocate memory."}));
    EXPECT_EQ(model.pPats()->entries(), 0);
    EXPECT_EQ(ids(model.pPlys()), (std::vector<int>{top}));
    EXPECT_EQ(model.pLyp()->LypPlys().entries(), 0);
    model.pPlys()->eraseObject(own);

    // One pattern id left: global ply 1 takes it, global ply 2 finds none.
    gui.clear();
    ASSERT_EQ(model.pPats()->insert(new CKpPat(top - 1)), 0);
    EXPECT_EQ(CreateLayupLaminate(&model), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Could not allocate memory."}));
    EXPECT_EQ(ids(model.pPats()), (std::vector<int>{top - 1, top}));
    EXPECT_EQ(plyNames(), (std::vector<std::string>{"gplyid.1"}));
    EXPECT_EQ(ply("gplyid.1")->pPat()->id(), top);
    EXPECT_EQ(patElemIds(ply("gplyid.1")), (std::vector<int>{1, 2, 3}));
}
