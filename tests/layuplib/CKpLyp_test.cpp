#include "layuplib/CKpLyp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/add_layer.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// A strip of twelve unit quad4 elements, ids 1..12 along x, normals +z,
// and plies made "simulated" the way a layup is rebuilt from laminates:
// pattern elements filled and linked, result 0.
class Layup : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpMat* mat = nullptr;

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 12, 1, 12.0, 1.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        mat = new CKpMat(1);
        mat->setMtrlnm("Carbon");
        mat->setMtrlthck(0.5);
        model->pMats()->insert(mat);
        gui.clear();
    }

    // A ply over elements [first, last] with the given flags; warp angle
    // `warp`, weft a quarter turn further.
    CKpPly* MakePly(const char* name, int type, int first, int last, int stdn = 1, int dnfg = 1,
                    double warp = 0.0, int simResult = 0) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(type);
        pat->SetNameByPlyName(name);
        pat->setStdn(stdn);
        pat->setSimResult(simResult);
        model->pPats()->insert(pat);
        for (int id = first; id <= last; ++id) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id);
            pe->setPelem(Elem(id));
            pe->setStdn(stdn);
            pe->setDnfg(dnfg);
            pe->setWarpAngle(warp);
            pe->setWeftAngle(warp + 0.5 * kPi);
            pat->PatElems()->InsertLast(pe);
        }
        CKpPly* ply = new CKpPly(model->pPlys()->maxId() + 1, name, type, mat, pat);
        model->pPlys()->insert(ply);
        return ply;
    }
    CKpElem* Elem(int id) { return model->pElems()->find(id); }
    CKpLyp* Lyp() { return model->pLyp(); }
    int Place(const char* name, int side = 1, double offset = 0.0, int type = 2) {
        return CreateLayupPly(model.get(), "grp", "seq", type, name, side, offset, 0.0, 0);
    }
    // The layup ply names of an element's stack, bottom first.
    std::vector<std::string> Stack(int id) {
        std::vector<std::string> names;
        const CKpElemLypPlyStore* s = Elem(id)->getElemLypPlies();
        for (const CKpElemLypPly* e = s->First(); e; e = s->Next(e))
            names.push_back(e->GetLayupPlyName());
        return names;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        IVekLayupPlyStore* store = Lyp()->GetLayupPlyStore();
        for (int i = 0; i < store->Count(); ++i) names.push_back(store->Get(i)->GetName());
        return names;
    }
};

TEST_F(Layup, PlacingAPlyTwiceGivesInstances) {
    MakePly("P1", 2, 1, 3);
    ASSERT_EQ(Place("P1"), 0);
    ASSERT_EQ(Place("P1"), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P1_2"}));
    IVekLayupPly* second = Lyp()->GetLayupPlyStore()->Get(1);
    EXPECT_EQ(second->GetInstance(), 2);
    EXPECT_EQ(second->GetNumElements(), 3);
    EXPECT_STREQ(Lyp()->LypPlys().find(2)->defaultName(), "gl2");
    EXPECT_EQ(model->pPlys()->findByName("P1")->instances(), 2);
    EXPECT_EQ(Stack(2), (std::vector<std::string>{"P1", "P1_2"}));
    EXPECT_TRUE(Stack(4).empty());
    EXPECT_EQ(Elem(1)->getsidefg(), 1);
}

TEST_F(Layup, AngleOffsetsAndDirections) {
    MakePly("Paint", 1, 1, 2, 1, 1, 0.2);
    MakePly("Proj", 2, 1, 2, -1, 1, 0.2);
    ASSERT_EQ(Place("Paint", 1, 0.3, 1), 0);
    ASSERT_EQ(Place("Proj", 1, 0.3), 0);
    // A painted ply takes no angle offset.
    EXPECT_EQ(Lyp()->GetLayupPlyStore()->Get(0)->GetAngleOffset(), 0.0);

    // Proj lies with stdn -1 x dnfg 1 x side 1 = -1: at the bottom, and its
    // angle offset turns with the start direction.
    const CKpElemLypPlyStore* s = Elem(1)->getElemLypPlies();
    EXPECT_STREQ(s->First()->GetLayupPlyName(), "Proj");
    EXPECT_TRUE(Near(s->First()->rotn(), 0.2 - 0.3, tol::angle));
    EXPECT_TRUE(Near(s->Last()->rotn(), 0.2, tol::angle));
    EXPECT_EQ(Elem(1)->getsidefg(), 3);

    int count = 0, ids[2], pos[2], dirs[2];
    ASSERT_EQ(Lyp()->GetLayupPlyLayers(0, 2, 2, count, ids, pos, dirs), 0);
    EXPECT_EQ((std::vector<int>{count, ids[1], pos[0], dirs[0]}), (std::vector<int>{2, 2, 1, -1}));
    // Found two, room for one; Paint is on top.
    ASSERT_EQ(Lyp()->GetLayupPlyLayers(1, 1, 1, count, ids, pos, dirs), 0);
    EXPECT_EQ((std::vector<int>{count, pos[0], dirs[0]}), (std::vector<int>{2, 1, 1}));
    ASSERT_EQ(Lyp()->GetLayupPlyLayers(1, 7, 0, count, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(Layup, BothSidesAreReportedWithAtMostNineIds) {
    MakePly("Top", 2, 1, 12);
    MakePly("Under", 2, 1, 12);
    MakePly("Few", 2, 1, 3);
    ASSERT_EQ(Place("Top"), 0);
    ASSERT_EQ(Place("Under", -1), 0);
    ASSERT_EQ(gui.texts(2).size(), 1u);
    EXPECT_EQ(gui.texts(2)[0],
              "After adding ply Under, plies have been added to both sides of Elem: 1 2 3 4 5 6 7 "
              "8 9...");
    EXPECT_EQ(Stack(12), (std::vector<std::string>{"Under", "Top"}));
    EXPECT_EQ(Elem(12)->getsidefg(), 3);

    // Flag 3 stays 3 without a further warning; a fresh element set warns
    // with its own ids.
    ASSERT_EQ(Place("Few", -1), 0);
    EXPECT_EQ(gui.texts(2).size(), 1u);
    ASSERT_EQ(Lyp()->Clear(), 0);
    ASSERT_EQ(Place("Few"), 0);
    ASSERT_EQ(Place("Few", -1), 0);
    EXPECT_EQ(gui.texts(2).back(),
              "After adding ply Few, plies have been added to both sides of Elem: 1 2 3.");
}

TEST_F(Layup, RefusedPlacementsLeaveTheLayupAlone) {
    MakePly("Raw", 2, 1, 2, 1, 1, 0.0, -1);
    CKpPly* orphan = MakePly("Orphan", 2, 1, 2);
    model->pPats()->eraseObject(orphan->pPat());
    orphan->setPat(nullptr);
    EXPECT_EQ(Place("Missing"), -1);
    EXPECT_EQ(Place("Orphan"), -1);
    EXPECT_EQ(Place("Raw"), -1);
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{
                  "Could not find ply 'Missing', so cannot add it to layup.",
                  "Could not find pattern for ply 'Orphan', so cannot add it to layup.",
                  "Could not add ply 'Raw' to layup as the draping simulation was not "
                  "sucessful."}));
    EXPECT_EQ(Lyp()->GetNumLayupPlyIDs(), 0);
    EXPECT_TRUE(Stack(1).empty());
    EXPECT_EQ(add_layer(model->pMsg(), model->pPlys(), "Nope", 1, 0, 0, 0, &Lyp()->LypPlys(),
                        nullptr, nullptr),
              -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not find ply 'Nope'");

    // A pattern element not linked to the mesh is skipped.
    CKpPly* loose = MakePly("Loose", 2, 1, 2);
    loose->pPat()->PatElems()->First()->setPelem(nullptr);
    ASSERT_EQ(Place("Loose"), 0);
    EXPECT_TRUE(Stack(1).empty());
    EXPECT_EQ(Stack(2), (std::vector<std::string>{"Loose"}));
}

TEST_F(Layup, CreateAndQueries) {
    MakePly("A", 2, 1, 2);
    MakePly("B", 3, 2, 3);
    CKpMatProp* state = new CKpMatProp;
    state->setExtmtrlnm("T300/epoxy");
    mat->MatStates()->InsertLast(state);
    Lyp()->SetName("Wing");
    const char* groups[] = {"g1", "g2", "g3"};
    const char* plies[] = {"A", "Ghost", "B"};
    const int types[] = {2, 2, 3}, counts[] = {2, 1, 1}, sides[] = {1, 1, -1}, gply[] = {5, 6, 7};
    const double offsets[] = {0.1, 0.0, 0.2}, overrides[] = {0.0, 0.0, 0.75};
    ASSERT_EQ(
        Lyp()->Create(3, groups, nullptr, types, plies, counts, sides, offsets, overrides, gply),
        0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "A_2", "B"}));
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{
                  "Error adding ply Ghost to layup Wing.",
                  "After adding ply B, plies have been added to both sides of Elem: 2."}));
    EXPECT_EQ(Lyp()->GetLayupPlyStore()->Get(2)->GetGlobalPlyID(), 7);
    EXPECT_EQ(Lyp()->Create(-1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr),
              -1);

    // The stack of element 2: B (side -1) at the bottom, then A, A_2;
    // thickness override replaces the material's.
    EXPECT_EQ(Stack(2), (std::vector<std::string>{"B", "A", "A_2"}));
    EXPECT_EQ(Elem(2)->getElemLypPlies()->First()->thck(), 0.75);
    EXPECT_EQ(Elem(2)->getElemLypPlies()->Last()->thck(), 0.5);

    int ids[3] = {0, 0, 0};
    char n0[4], n1[4], n2[4], m0[8] = "", m1[8] = "", m2[8] = "";
    char* names[] = {n0, n1, n2};
    char* mats[] = {m0, m1, m2};
    double thick[3] = {-1, -1, -1};
    EXPECT_EQ(Lyp()->GetLayupPlyIDsNamesThicks(2, ids, names, mats, 4, thick), 1);
    Lyp()->LypPlys().find(3)->setPly(nullptr);  // no ply: material values untouched
    ASSERT_EQ(Lyp()->GetLayupPlyIDsNamesThicks(3, ids, names, mats, 4, thick), 0);
    EXPECT_EQ(ids[2], 3);
    EXPECT_EQ((std::vector<std::string>{n1, n2, m0, m2}),
              (std::vector<std::string>{"A_2", "gl3", "T30", ""}));
    EXPECT_EQ(thick[0], 0.5);
    EXPECT_EQ(thick[2], -1.0);
}

TEST_F(Layup, ThicknessesAndOrientationsOnTheStack) {
    MakePly("Low", 2, 1, 2);
    MakePly("High", 2, 1, 2, 1, -1, 0.5 * kPi);
    ASSERT_EQ(Place("Low"), 0);
    ASSERT_EQ(Place("High", -1), 0);  // s = 1 x -1 x -1: on top
    IVekLayupPly* high = Lyp()->GetLayupPlyStore()->Get(1);
    int nv[2];
    double low[24], mid[24], up[24], centre[6], warp[6], weft[6], size[2];
    EXPECT_EQ(high->GetThicksOrients(3, nv, low, mid, up, centre, warp, weft, size), 1);
    ASSERT_EQ(high->GetThicksOrients(2, nv, low, mid, up, centre, warp, weft, size), 0);
    // Stack of two 0.5 plies about the middle (offset flag 0): High spans
    // z 0 .. 0.5, turned over (dnfg -1), so its lower surface is the top.
    EXPECT_EQ(nv[1], 4);
    EXPECT_TRUE(Near(low[2], 0.5, tol::length));
    EXPECT_TRUE(Near(mid[14], 0.25, tol::length));  // element 2, corner 0
    EXPECT_TRUE(Near(up[23], 0.0, tol::length));
    EXPECT_TRUE(NearArray(centre + 3, std::vector<double>{1.5, 0.5, 0.25}, 3, tol::length));
    EXPECT_TRUE(NearArray(warp, std::vector<double>{0, 1, 0}, 3, tol::length));
    EXPECT_TRUE(NearArray(weft, std::vector<double>{-1, 0, 0}, 3, tol::length));
    EXPECT_EQ(size[0], 0.5);

    // Elements that lost the ply from their stack are skipped: no room taken.
    Elem(1)->getElemLypPlies()->eraseAllObjects();
    double low2[24] = {0};
    nv[0] = -7;
    ASSERT_EQ(
        high->GetThicksOrients(2, nv, low2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        0);
    EXPECT_EQ(nv[0], -7);
    EXPECT_TRUE(Near(low2[0], 1.0, tol::length));  // element 2's corner 0 first
}

TEST_F(Layup, RecreateRenumbersAndDropsWhatCannotBePlaced) {
    MakePly("A", 2, 1, 4);
    CKpPly* b = MakePly("B", 2, 1, 4);
    MakePly("C", 2, 3, 6);
    Lyp()->SetName("L");
    Lyp()->setId(1);
    ASSERT_EQ(Place("A"), 0);
    ASSERT_EQ(Place("B"), 0);
    ASSERT_EQ(Place("C"), 0);
    ASSERT_EQ(Place("A", -1), 0);
    b->pPat()->setSimResult(3);  // B no longer simulated successfully
    gui.clear();
    ASSERT_EQ(model->LayupRecreate(model->pMsg(), model->pElems(), model->pPlys(), Lyp()), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "C", "A_2"}));
    EXPECT_EQ(Lyp()->LypPlys().find(3)->GetSide(), -1);
    EXPECT_STREQ(Lyp()->name(), "L");
    EXPECT_EQ(b->instances(), 0);
    EXPECT_EQ(Stack(3), (std::vector<std::string>{"A_2", "A", "C"}));
    EXPECT_EQ(gui.texts(4).back(),
              "Could not add ply 'B' to layup as the draping simulation was not sucessful.");

    // A ply deleted behind the layup's back is dropped without being read.
    CKpPly* c = model->pPlys()->findByName("C");
    model->pPlys()->CVekObjectStore<CKpPly>::eraseObject(c);
    ASSERT_EQ(model->LayupRecreate(nullptr, model->pElems(), model->pPlys(), Lyp()), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"A", "A_2"}));
    EXPECT_EQ(gui.texts(4).back(), "Could not find ply '', so cannot add it to layup.");
    EXPECT_EQ(Stack(5), std::vector<std::string>{});
}

TEST_F(Layup, ClearAndNameChecks) {
    MakePly("A", 2, 1, 3);
    ASSERT_EQ(Place("A"), 0);
    ASSERT_EQ(Place("A", -1), 0);
    ASSERT_EQ(Lyp()->Clear(), 0);
    EXPECT_EQ(model->pPlys()->findByName("A")->instances(), 0);
    EXPECT_TRUE(Stack(2).empty());
    EXPECT_EQ(Elem(2)->getsidefg(), 0);

    gui.clear();
    EXPECT_EQ(CheckPlyName(model.get(), "A"), -1);
    EXPECT_EQ(CheckPlyName(model.get(), "a"), 0);
    model->pPats()->find(1)->setPttrnnm("Z_pattern");
    EXPECT_EQ(CheckPlyName(model.get(), "Z"), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Ply name 'A' already used.",
                                                      "Pattern name 'Z_pattern' already used."}));
    EXPECT_EQ(CheckPlyName(model.get(), std::string(5000, 'x').c_str()), 0);
}

}  // namespace
