#include "layuplib/CKpPly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSet.h"
#include "layuplib/VekTList.h"
#include "layuplib/add_layer.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

bool contains(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

// A model holding a 3 x 2 plate of unit quads (elements 1 2 3 along x, 4 5 6
// above them, normals +z) and the material "CF" of thickness 0.25.
class PlyTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void SetUp() override { LoadMesh(meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0)); }

    void LoadMesh(const meshgen::Mesh& m) {
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        CKpMat* mat = new CKpMat(1);
        mat->setMtrlnm("CF");
        mat->setMtrlthck(0.25);
        model->pMats()->insert(mat);
    }

    CKpPlyStore* plys() { return model->pPlys(); }

    CKpPly* NewPly(const char* name, EVekMaterialType type = EVekMaterialProjected) {
        CKpPly* ply = static_cast<CKpPly*>(plys()->New());
        EXPECT_NE(ply, nullptr);
        EXPECT_EQ(ply->SetName(name), 0);
        EXPECT_EQ(ply->SetType(type), 0);
        EXPECT_EQ(ply->SetMaterialName("CF"), 0);
        return ply;
    }

    // Covers `ids` as a successful simulation would leave the pattern:
    // elements linked, fibres at `warp`, direction flags +1, result 0.
    void Drape(CKpPly* ply, const std::vector<int>& ids, double warp) {
        ASSERT_EQ(ply->ClearElementIdsOrders(), 0);
        ASSERT_EQ(ply->SetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), nullptr), 0);
        CKpPat* pat = ply->pPat();
        CKpPatElemStore* list = pat->PatElems();
        for (CKpPatElem* pe = list->First(); pe; pe = list->Next(pe)) {
            pe->setPelem(model->pElems()->find(pe->elemId()));
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(warp);
            pe->setWeftAngle(warp);
        }
        pat->setStdn(1);
        pat->setSimResult(0);
        ASSERT_EQ(ply->UpdatePlyElems(), 0);
    }

    // Makes `ply` and its pattern the drape workspace's current ones.
    void MakeCurrent(CKpPly* ply) {
        model->pDrapeSim()->StorePly(ply);
        model->pDrapeSim()->plyStored(1);
        model->pDrapeSim()->StorePat(ply->pPat());
        model->pDrapeSim()->patStored(1);
    }

    int Place(CKpPly* ply) {
        return CreateLayupPly(model.get(), nullptr, nullptr, ply->lyrtp(), ply->name(), 1, 0.0, 0.0,
                              0);
    }

    // Every stack entry of the element points at a ply element of `ply`.
    ::testing::AssertionResult StackBelongsTo(int elemId, CKpPly* ply) {
        CKpElemLypPlyStore* stack = model->pElems()->find(elemId)->getElemLypPlies();
        if (stack->entries() == 0) return ::testing::AssertionFailure() << "empty stack";
        for (CKpElemLypPly* e = stack->First(); e; e = stack->Next(e)) {
            bool found = false;
            for (CKpPlyElem* pe = ply->PlyElems().First(); pe; pe = ply->PlyElems().Next(pe))
                found = found || pe == e->getPlyElem();
            if (!found) return ::testing::AssertionFailure() << "stale entry on " << elemId;
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(PlyTest, NewPlyKeepsEverySetting) {
    CKpPly* ply = NewPly("P1", EVekMaterialScissor);
    EXPECT_STREQ(ply->pPat()->pttrnnm(), "P1_pattern");
    EXPECT_EQ(ply->pPat()->lyrtp(), 3);
    EXPECT_EQ(ply->SetMaterialName("nope"), -1);
    EXPECT_STREQ(ply->GetMaterialName(), "CF");

    // Texts are cut to the caller's buffer.
    const double seed[3] = {1, 2, 3};
    EXPECT_EQ(ply->SetCoordOriginName(seed, "Frame7"), 0);
    double v[3];
    char name[4];
    EXPECT_EQ(ply->GetCoordOriginName(v, name, sizeof name), 0);
    EXPECT_STREQ(name, "Fra");

    // A split-edge count other than the stored one is refused.
    const int elems[] = {4, 2}, edges[] = {1, 3}, flags[] = {7, 0};
    EXPECT_EQ(ply->SetSplitEdges(2, elems, edges, flags), 0);
    int e[2], g[2], f[2];
    EXPECT_EQ(ply->GetSplitEdges(3, e, g, f), 2);

    char text[8];
    ASSERT_EQ(ply->lyrtp(text, sizeof text), 0);
    EXPECT_STREQ(text, "Scissor");
    ASSERT_EQ(ply->lyrtp(text, 4), 0);
    EXPECT_STREQ(text, "Sci");
    EXPECT_EQ(ply->lyrtp(text, 0), -1);
}

TEST(PlyWithoutPattern, SettersRefuseAndGettersGiveZero) {
    CKpPly ply(5);
    const double p[3] = {1, 2, 3};
    double out[3] = {9, 9, 9};
    EXPECT_EQ(ply.SetSeedPoint(p), -1);
    EXPECT_EQ(ply.GetSeedPoint(out), -1);
    EXPECT_EQ(ply.GetSeedCurveDirectionAngle(), nullptr);
    EXPECT_EQ(ply.GetElementIdsOrders(0, nullptr, nullptr), 2);
    EXPECT_EQ(ply.SetElementIdsOrders(-1, nullptr, nullptr), 1);
    EXPECT_EQ(ply.GetMaterialName(), nullptr);
    // Without store the forwards and the simulation give their no-model
    // results.
    EXPECT_EQ(ply.Simulate(), -1);
    EXPECT_EQ(ply.Export2dVirtek("x", 0), 1);
}

TEST_F(PlyTest, SeedCurveDirectionWordsAndAngles) {
    CKpPly* ply = NewPly("P");
    // An empty word is an explicit angle: the angle is stored as text.
    EXPECT_EQ(ply->SetSeedCurveAngle(22.5), 0);
    EXPECT_STREQ(ply->GetSeedCurveDirectionAngle(), "22.5");

    // A word refuses an angle; choosing "angle" again keeps the word.
    EXPECT_EQ(ply->SetSeedCurveDirection(EVekPlySeedCurveWarp), 0);
    EXPECT_EQ(ply->SetSeedCurveAngle(30.0), -1);
    EXPECT_EQ(ply->SetSeedCurveDirection(EVekPlySeedCurveAngle), 0);
    EXPECT_STREQ(ply->GetSeedCurveDirectionAngle(), "Warp");
    EXPECT_EQ(ply->GetSeedCurveAngle(), 0.0);

    // Words compare case-sensitively; a word that is no number reads as 0.
    EXPECT_EQ(ply->SetSeedCurveDirectionAngle("bias"), 0);
    EXPECT_EQ(ply->GetSeedCurveDirection(), EVekPlySeedCurveAngle);
    EXPECT_EQ(ply->GetSeedCurveAngle(), 0.0);
    EXPECT_EQ(ply->SetSeedCurveDirection(static_cast<EVekPlySeedCurveDirection>(9)), -1);
    EXPECT_STREQ(ply->GetSeedCurveDirectionAngle(), "bias");
}

TEST_F(PlyTest, SeedCurvesFillFromElementSidesAndReadBackTheirEnds) {
    CKpPly* ply = NewPly("P");
    const int ids[] = {1, 2}, edges[] = {1, 1};  // along the bottom of elements 1 and 2
    ASSERT_EQ(ply->SetSeedCurveEdges(0, 2, ids, edges), 0);
    EXPECT_EQ(ply->GetNumSeedCurveEdges(1), 0);
    EXPECT_EQ(ply->GetSeedCurveEdges(0, 1, nullptr, nullptr), 2);
    int gotIds[2] = {0, 0}, gotEdges[2] = {0, 0};
    double xyz[12];
    ASSERT_EQ(ply->GetSeedCurveEdges(0, 2, gotIds, gotEdges, xyz), 0);
    EXPECT_EQ((std::vector<int>{gotIds[0], gotIds[1], gotEdges[0], gotEdges[1]}),
              (std::vector<int>{1, 2, 1, 1}));
    const double ends[12] = {0, 0, 0, 1, 0, 0, 1, 0, 0, 2, 0, 0};
    EXPECT_TRUE(NearArray(xyz, ends, 12, tol::length));
    EXPECT_EQ(ply->SetSeedCurveEdges(1, 1, nullptr, edges), -1);
    EXPECT_EQ(ply->SetSeedCurveEdges(2, 1, ids, edges), -1);
}

TEST_F(PlyTest, NamesAreUniqueInTheStore) {
    CKpPly* p1 = NewPly("P1");
    CKpPly* p2 = NewPly("P2");
    EXPECT_EQ(p1->SetName("P1"), -1);  // its own name too
    EXPECT_EQ(p2->SetName("P1"), -1);
    EXPECT_STREQ(p2->GetName(), "P2");
    EXPECT_EQ(p2->SetName("p1"), 0);  // case matters
    EXPECT_STREQ(p2->pPat()->pttrnnm(), "p1_pattern");
    EXPECT_EQ(p2->SetName(nullptr), -1);
}

TEST_F(PlyTest, ElementRegionAndOrders) {
    CKpPly* ply = NewPly("P");
    ASSERT_EQ(ply->SetElementIdsOrders(-1, nullptr, nullptr), 0);
    std::vector<int> ids(6), orders(6, 9);
    EXPECT_EQ(ply->GetElementIdsOrders(5, ids.data(), orders.data()), 1);
    ASSERT_EQ(ply->GetElementIdsOrders(6, ids.data(), orders.data()), 0);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(orders, std::vector<int>(6, 0));
    ply->UpdatePlyElems();
    EXPECT_EQ(ply->GetNumOrders(), 1);

    const int more[] = {2, 5}, ord[] = {0, 3};
    ASSERT_EQ(ply->SetElementIdsOrders(2, more, ord), 0);  // appended, not replacing
    EXPECT_EQ(ply->GetNumElements(), 8);
    ply->UpdatePlyElems();
    EXPECT_EQ(ply->GetNumOrders(), 4);

    ASSERT_EQ(ply->ClearElementIdsOrders(), 0);
    EXPECT_EQ(ply->GetNumElements(), 0);
    EXPECT_EQ(ply->PlyElems().entries(), 0);  // no ply element left on a deleted pattern element
}

TEST_F(PlyTest, ReplaceTakesIdsNameAndLayupPlace) {
    CKpPly* oldPly = NewPly("A");
    CKpPly* other = NewPly("B");
    Drape(oldPly, {1, 2, 3}, 0.0);
    Drape(other, {1, 4}, 0.0);
    oldPly->AddEvent(5);
    oldPly->AddEvent(7);
    ASSERT_EQ(Place(oldPly), 0);
    ASSERT_EQ(Place(other), 0);
    const int oldPatId = oldPly->pttrnid();

    CKpPly* newPly = static_cast<CKpPly*>(plys()->New());
    newPly->SetType(EVekMaterialProjected);
    newPly->SetMaterialName("CF");
    Drape(newPly, {2, 3, 5}, 0.4);
    EXPECT_EQ(plys()->Replace(newPly, newPly, "A"), -1);
    ASSERT_EQ(plys()->Replace(oldPly, newPly, "A"), 0);

    EXPECT_EQ(plys()->Count(), 2);
    EXPECT_EQ(plys()->Get("A"), newPly);
    EXPECT_EQ(newPly->id(), 1);
    EXPECT_EQ(model->pPats()->find(oldPatId), newPly->pPat());
    EXPECT_EQ(model->pPats()->entries(), 2);
    // The old events, numbered in order, then the replacement's own.
    IVekEventStore* events = newPly->GetEventStore();
    ASSERT_EQ(events->Count(), 3);
    EXPECT_EQ((std::vector<int>{events->Get(0)->GetType(), events->Get(1)->GetType(),
                                events->Get(2)->GetType(), newPly->Events()[1]->id()}),
              (std::vector<int>{5, 7, 2, 2}));

    // The stacks were placed again: the new ply's region, in the old order.
    CKpLypPlyStore& lypPlys = model->pLyp()->LypPlys();
    ASSERT_EQ(lypPlys.entries(), 2);
    EXPECT_EQ(lypPlys[0]->pPly(), newPly);
    EXPECT_EQ(lypPlys[1]->pPly(), other);
    EXPECT_TRUE(StackBelongsTo(5, newPly));
    EXPECT_EQ(model->pElems()->find(1)->getElemLypPlies()->entries(), 1);  // the old region left
    EXPECT_TRUE(StackBelongsTo(4, other));
}

TEST_F(PlyTest, DeleteRefusesPlacedPliesAndSharedPatterns) {
    CKpPly* a = NewPly("A");
    CKpPly* b = NewPly("B");
    Drape(a, {1}, 0.0);
    ASSERT_EQ(Place(a), 0);
    EXPECT_EQ(plys()->Delete(a), -1);
    EXPECT_TRUE(contains(gui.texts(4), "Ply 'A' referenced by layup and cannot be deleted."));
    EXPECT_EQ(plys()->Count(), 2);

    // B shares A's pattern: B goes, the pattern stays.
    const int bPat = b->pttrnid();
    b->setPat(a->pPat());
    EXPECT_EQ(plys()->Delete(b), -1);
    EXPECT_TRUE(
        contains(gui.texts(2), "Pattern 'A_pattern' referenced by ply 'A' and cannot be deleted."));
    EXPECT_EQ(plys()->Count(), 1);
    EXPECT_NE(model->pPats()->find(a->pttrnid()), nullptr);
    EXPECT_NE(model->pPats()->find(bPat), nullptr);  // B's own pattern was never its by then

    CKpPly stranger(9);
    EXPECT_EQ(plys()->Delete(&stranger), -1);
}

TEST_F(PlyTest, DeletingTheSimulatedPlyEmptiesTheDrapeWorkspace) {
    CKpPly* ply = NewPly("A");
    MakeCurrent(ply);
    const int patId = ply->pttrnid();
    ASSERT_EQ(plys()->Delete(ply), 0);
    EXPECT_EQ(model->pDrapeSim()->pPly(), nullptr);
    EXPECT_EQ(model->pDrapeSim()->pPat(), nullptr);
    EXPECT_EQ(model->pPats()->find(patId), nullptr);
}

TEST_F(PlyTest, RebuildingPlyElementsOfAPlacedPlyRefreshesTheStacks) {
    CKpPly* ply = NewPly("A");
    Drape(ply, {1, 2}, 0.0);
    ASSERT_EQ(Place(ply), 0);
    ASSERT_EQ(ply->UpdatePlyElems(), 0);
    EXPECT_TRUE(StackBelongsTo(2, ply));
    ASSERT_EQ(ply->ClearElementIdsOrders(), 0);
    EXPECT_EQ(model->pElems()->find(1)->getElemLypPlies()->entries(), 0);
    EXPECT_EQ(model->pLyp()->LypPlys().entries(), 1);
}

TEST_F(PlyTest, OrientationsFollowTheFibreAngles) {
    CKpPly* ply = NewPly("A");
    Drape(ply, {5, 1}, 0.3);
    const int missing[] = {42};
    ply->SetElementIdsOrders(1, missing, nullptr);  // never linked to an element
    VekTList<int> ids;
    VekTList<double> mids, warps, wefts, sizes;
    ASSERT_EQ(ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
    ASSERT_EQ(ids.GetSize(), 3);
    ASSERT_EQ(mids.GetSize(), 9);
    EXPECT_EQ((std::vector<int>{ids[0], ids[1], ids[2]}), (std::vector<int>{5, 1, 0}));
    const double mid5[3] = {1.5, 1.5, 0.0}, dir[3] = {std::cos(0.3), std::sin(0.3), 0.0};
    EXPECT_TRUE(NearArray(mids.GetData(), mid5, 3, tol::length));
    EXPECT_TRUE(NearArray(warps.GetData() + 3, dir, 3, tol::length));
    EXPECT_TRUE(NearArray(wefts.GetData(), dir, 3, tol::length));
    EXPECT_TRUE(Near(sizes[0], 0.5, tol::length));
    // A second call replaces the lists' contents.
    ply->ClearElementIdsOrders();
    ASSERT_EQ(ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
    EXPECT_EQ(ids.GetSize() + mids.GetSize(), 0);
}

TEST_F(PlyTest, SeedPointQueries) {
    CKpPly* ply = NewPly("A");
    double dir[3] = {0, 0, -1}, p[3] = {0, 0, 0};
    EXPECT_EQ(ply->GetPossibleSeedPointByDirectionNormal(dir, p), 1);
    const int ids[] = {2, 6, 3}, orders[] = {1, 0, 0};
    ply->SetElementIdsOrders(3, ids, orders);
    // Both order-0 elements face along the direction; the first wins.
    ASSERT_EQ(ply->GetPossibleSeedPointByDirectionNormal(dir, p), 0);
    const double mid6[3] = {2.5, 1.5, 0.0};
    EXPECT_TRUE(NearArray(p, mid6, 3, tol::length));

    CKpPly* late = NewPly("B");
    const int only[] = {1}, one[] = {1};
    late->SetElementIdsOrders(1, only, one);
    EXPECT_EQ(late->GetPossibleSeedPointByOriginDirection(p, dir, p), 5);
}

TEST(PlySeedPoint, DirectionNormalPicksTheElementFacingTheDirection) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    // Half a cylinder of radius 1 in six quads: element k faces outward at
    // (k - 0.5) x 30 degrees.
    const meshgen::Mesh m = meshgen::Cylinder(meshgen::Kind::Quad4, 6, 1, 1.0, kPi, 2.0);
    ASSERT_EQ(meshgen::LoadModel(model, m), 0);
    CKpPly* ply = static_cast<CKpPly*>(model.pPlys()->New());
    ASSERT_EQ(ply->SetElementIdsOrders(-1, nullptr, nullptr), 0);
    const double a = 2.5 * kPi / 6.0;  // element 3
    // Either side counts: the inward direction finds the same element.
    const double dir[3] = {-std::cos(a), -std::sin(a), 0.1};
    double p[3];
    ASSERT_EQ(ply->GetPossibleSeedPointByDirectionNormal(dir, p), 0);
    CKpPoint mid;
    ASSERT_EQ(model.pElems()->find(3)->GetMidpt(&mid), 0);
    const double expected[3] = {mid.getx(), mid.gety(), 1.0};
    EXPECT_TRUE(NearArray(p, expected, 3, tol::length));
}

TEST_F(PlyTest, SelectedElementsGiveSideFieldsAndSets) {
    CKpPly* ply = NewPly("A");
    Drape(ply, {1, 2, 3}, 3.0);
    for (int id : {2, 3}) model->pElems()->find(id)->setSltd(1);
    model->pElems()->find(3)->theta(-0.5);  // 3.0 + 0.5 wraps past pi
    EXPECT_EQ(ply->GetSideOfSelectedElems(), 1);

    CKpSet set(1);
    set.Ids().findOrCreate(99);
    ASSERT_EQ(ply->SetSelectedElemIds(&set), 0);
    ASSERT_EQ(set.Ids().entries(), 2);
    EXPECT_EQ((std::vector<int>{set.Ids()[0]->id(), set.Ids()[1]->id()}), (std::vector<int>{2, 3}));

    CKpField thick(1), rot(2);
    ASSERT_EQ(ply->GetThicknessesAndRotations(0, &thick, &rot), 0);
    ASSERT_EQ(thick.GetFieldVals()->entries(), 2);
    EXPECT_TRUE(Near(thick.GetFieldVals()->find(2)->GetVal(0), 0.25, tol::length));
    EXPECT_TRUE(Near(rot.GetFieldVals()->find(2)->GetVal(0), 3.0, tol::angle));
    EXPECT_TRUE(Near(rot.GetFieldVals()->find(3)->GetVal(0), 3.5 - 2 * kPi, tol::angle));

    // Mixed sides give 0, as does an empty selection.
    ply->pPat()->PatElems()->Last()->setDnfg(-1);
    EXPECT_EQ(ply->GetSideOfSelectedElems(), 0);
    for (int id : {2, 3}) model->pElems()->find(id)->setSltd(0);
    EXPECT_EQ(ply->GetSideOfSelectedElems(), 0);
}

TEST_F(PlyTest, FlatPatternFrameFollowsTheDirections) {
    CKpPly* ply = NewPly("A");
    const double seed[3] = {1, 2, 0}, app[3] = {0, 0, -2}, ref[3] = {3, 0, 0};
    ply->SetSeedPoint(seed);
    ply->SetApplicationDirection(app);
    ply->SetReferenceDirection(ref);
    ply->SetReferenceAngle(kPi / 2);
    double origin[3], axes[9];
    ply->GetFlatPattern(0, 0, nullptr, nullptr, origin, axes);
    // axis 1 = y, axis 2 = -x, axis 3 = z; entry 3i + j is component i of
    // axis j.
    const double expected[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_TRUE(NearArray(axes, expected, 9, tol::length));
    EXPECT_TRUE(NearArray(origin, seed, 3, tol::length));
}

TEST_F(PlyTest, ExportsSimulateFirstAndReportFailures) {
    gui.clear();
    CKpPly* ply = static_cast<CKpPly*>(plys()->New());
    ply->SetName("Q");  // no material: the simulation before the export fails
    // Nothing of another ply's drape may be written under this one.
    EXPECT_EQ(ply->Export3dIGES("q.igs", 0), 2);
    const std::vector<std::string> errors = gui.texts(4);
    ASSERT_GE(errors.size(), 2u);
    EXPECT_EQ(errors[0], "Simulation failed as ply 'Q' does not reference a material.");
    EXPECT_EQ(errors.back(), "No drape simulation exists for ply 'Q'.");
    EXPECT_EQ(ply->Export2dIGES("q.igs", 0), 2);
    EXPECT_EQ(ply->Export3dDXF("q.dxf", "L", 1), 2);
    EXPECT_EQ(ply->Export2dDXF("q.dxf", "L", "SPLINE", 1), 2);
    EXPECT_EQ(ply->Export3dLaser(1, "q.ply", 1), 2);
    EXPECT_EQ(ply->Export2dVirtek("q.txt", 0), 2);
    EXPECT_EQ(gui.texts(4).back(), "No drape simulation exists for ply 'Q'.");
    for (const char* f : {"q.igs", "q.dxf", "q.ply", "q.txt"})
        EXPECT_FALSE(std::ifstream(f).good()) << f;

    // With this ply current no simulation runs; an unwritable file is
    // refused before anything is written.
    gui.clear();
    MakeCurrent(ply);
    EXPECT_EQ(ply->Export2dVirtek("/nonexistent-dir/q.txt", 0), -1);
    ASSERT_EQ(gui.texts(4).size(), 1u);
    EXPECT_EQ(gui.texts(4)[0], "Could not open file '/nonexistent-dir/q.txt' for writing.");
    EXPECT_EQ(ply->PlotBoundary(), 2);
}

TEST_F(PlyTest, PaintedPliesBecomeProjected) {
    CKpPly* a = NewPly("A", EVekMaterialPainted);
    CKpPly* b = NewPly("B", EVekMaterialPainted);
    NewPly("C", EVekMaterialScissor);
    EXPECT_EQ(a->ConvertPaintedToProjected(), 0);
    EXPECT_EQ(a->pPat()->lyrtp(), 2);
    EXPECT_EQ(a->GetProjectionMethod(), 7);
    b->pPat()->setLyrtp(2);  // a pattern that refuses keeps the ply painted
    EXPECT_EQ(b->ConvertPaintedToProjected(), 2);
    EXPECT_EQ(b->lyrtp(), 1);
    b->pPat()->setLyrtp(1);
    EXPECT_EQ(plys()->ConvertPaintedToProjected(), 1);
    EXPECT_EQ(b->lyrtp(), 2);
}

TEST_F(PlyTest, DeleteLayerAndMaterial) {
    CKpPly* a = NewPly("A");
    Drape(a, {1}, 0.0);
    ASSERT_EQ(Place(a), 0);
    CKpMsg* log = model->pMsg();
    CKpLypPlyStore* lyp = &model->pLyp()->LypPlys();
    EXPECT_EQ(DeleteLayer(log, lyp, plys(), model->pPats(), "nope"), -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not find specified layer.");
    EXPECT_EQ(DeleteLayer(log, lyp, plys(), model->pPats(), "A"), -1);
    EXPECT_EQ(gui.texts(4).back(), "Layer already used in layup.");

    EXPECT_EQ(DeleteMaterial(log, plys(), model->pMats(), "CF"), 0);
    EXPECT_EQ(gui.texts(4).back(), "Material already used in layer.");
    EXPECT_EQ(DeleteMaterial(log, plys(), model->pMats(), "XX"), 0);
    EXPECT_EQ(gui.texts(4).back(), "Could not find specified material.");

    ASSERT_EQ(model->pLyp()->Clear(), 0);
    EXPECT_EQ(DeleteLayer(log, lyp, plys(), model->pPats(), "A"), 0);
    EXPECT_EQ(plys()->Count(), 0);
    EXPECT_EQ(model->pPats()->entries(), 0);
    EXPECT_EQ(DeleteMaterial(log, plys(), model->pMats(), "CF"), 1);
    EXPECT_EQ(model->pMats()->entries(), 0);
}

}  // namespace
