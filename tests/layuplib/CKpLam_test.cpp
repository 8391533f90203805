#include "layuplib/CKpLam.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/angle_util.h"
#include "layuplib/cmpLam.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = kPi / 180.0;

struct Ply {
    int mid;
    double t;
    double deg;
    int gply;
};

CKpLamLyr* addLayer(CKpLam& lam, const Ply& p) {
    CKpLamLyr* lyr = lam.LamLyrs()->New();
    lyr->setMid(p.mid), lyr->setT(p.t), lyr->setTheta(p.deg * kDeg), lyr->setGplyid(p.gply);
    return lyr;
}

// z0 NaN: no offset given.
std::unique_ptr<CKpLam> makeLam(int id, std::initializer_list<Ply> plies, double z0 = NAN) {
    std::unique_ptr<CKpLam> lam(new CKpLam(id));
    for (const Ply& p : plies) addLayer(*lam, p);
    if (!std::isnan(z0)) lam->z0(z0);
    return lam;
}

// Layer i (0-based) as (material, thickness, degrees).
Ply layer(const CKpLam& lam, int i) {
    const CKpLamLyr* l = lam.LamLyrs()->GetIndex(i);
    return {l->mid(), l->t(), l->theta() / kDeg, l->gplyid()};
}

// Pointers to `lams` in a shuffled order.
std::vector<CKpLam*> shuffled(const std::vector<std::unique_ptr<CKpLam>>& lams, std::mt19937& rng) {
    std::vector<CKpLam*> out;
    for (auto& l : lams) out.push_back(l.get());
    std::shuffle(out.begin(), out.end(), rng);
    return out;
}

// The comparison tolerances are process-wide: every test sets its own.
class LamCompare : public ::testing::Test {
  protected:
    void TearDown() override { cmpLamSetTol(0.0, 0.0); }
    static int cmp(const CKpLam* a, const CKpLam* b) { return cmpLam(&a, &b); }
};

}  // namespace

TEST(CKpLam, OffsetsAndNodePositions) {
    CKpLam empty(1);
    empty.SetOffset(0.3);
    EXPECT_EQ(empty.GetKeyopt11(), -1);  // an offset with nothing to place

    auto lam = makeLam(2, {{1, 0.25, 0, 0}, {1, 0.75, 90, 0}});
    EXPECT_DOUBLE_EQ(lam->t(), 1.0);
    EXPECT_DOUBLE_EQ(lam->z0(), -0.5);  // centred when no offset is given
    const struct {
        double z0;
        int keyopt;
        bool top, mid, bot;
        double abaqus;
    } cases[] = {{-0.5, 0, false, true, false, 0.0},
                 {0.0, 1, false, false, true, -0.5},
                 {-1.0, 2, true, false, false, 0.5},
                 {0.2, -1, false, false, false, -0.7}};
    for (const auto& c : cases) {
        lam->z0(c.z0);
        EXPECT_EQ(lam->z0_blank(), 0);
        EXPECT_EQ(lam->GetKeyopt11(), c.keyopt) << c.z0;
        EXPECT_EQ((std::vector<bool>{lam->IsNodeTop(), lam->IsNodeMid(), lam->IsNodeBot()}),
                  (std::vector<bool>{c.top, c.mid, c.bot}))
            << c.z0;
        EXPECT_TRUE(Near(lam->GetOffsetAbaqus(), c.abaqus, tol::length)) << c.z0;
    }
}

TEST(CKpLam, TotalLayupAndSymmetry) {
    auto lam = makeLam(1, {{1, 0.2, 0, 7}, {2, 0.3, 45, 8}});
    lam->LamLyrs()->GetIndex(0)->SetLayupPlyName("P7");
    EXPECT_EQ(lam->CreateTotalLayup(), 0);  // option 1: unchanged
    EXPECT_EQ(lam->NumLayers(), 2);
    EXPECT_EQ(lam->TestSymmetry(0.01, 1.0), -1);

    lam->lamopt(2);
    EXPECT_EQ(lam->CreateTotalLayup(), 0);
    ASSERT_EQ(lam->NumLayers(), 4);
    std::vector<int> midsAndPlies;
    for (int i = 0; i < 4; ++i)
        midsAndPlies.push_back(layer(*lam, i).mid * 10 + layer(*lam, i).gply);
    EXPECT_EQ(midsAndPlies, (std::vector<int>{17, 28, 28, 17}));
    EXPECT_DOUBLE_EQ(lam->t(), 1.0);
    EXPECT_STREQ(lam->LamLyrs()->GetIndex(3)->GetLayupPlyName(), "");  // copies carry no name
    EXPECT_EQ(lam->LamLyrs()->GetIndex(3)->GetLamLyrStore(), lam->LamLyrs());
    EXPECT_EQ(lam->TestSymmetry(0.0, 0.0), 0);

    // A B A with the outer angles 89 and -89 degrees: the same axis within 3.
    auto aba = makeLam(2, {{1, 1.0, 89, 0}, {2, 0.5, 0, 0}, {1, 1.004, -89, 0}});
    EXPECT_EQ(aba->TestSymmetry(3 * kDeg, 1.0), 0);
    EXPECT_EQ(aba->TestSymmetry(1 * kDeg, 1.0), -1);  // 2 degrees apart
    EXPECT_EQ(aba->TestSymmetry(3 * kDeg, 0.1), -1);  // 0.4 % thicker
}

TEST(CKpLam, GlobalPlyIdsNameIdAndText) {
    CKpMsg msg;
    RecordingGUI gui;
    msg.SetGUI(&gui);
    auto lam = makeLam(5, {{1, 0.1, 0, 3}, {1, 0.1, 0, 3}, {1, 0.1, 0, 4}});
    lam->name("skin");
    EXPECT_EQ(lam->GPlyIdsOK(&msg), 0);
    ASSERT_EQ(gui.texts(2).size(), 1u);
    EXPECT_EQ(gui.texts(2)[0],
              "For lam 'skin', there are 3 layers but only 2 unique positive gPlyIds. Therefore, "
              "gPlyIds will be ignored.");
    lam->LamLyrs()->GetIndex(1)->setGplyid(1);
    EXPECT_EQ(lam->GPlyIdsOK(&msg), 1);
    for (int i = 0; i < 3; ++i) lam->LamLyrs()->GetIndex(i)->setGplyid(0);

    const std::pair<const char*, int> names[] = {
        {"skin", 0}, {"lam12", 12}, {"x99999999999999999999", INT_MAX}};
    for (const auto& c : names) {
        lam->name(c.first);
        EXPECT_EQ(lam->GetIdFromName(), c.second) << c.first;
    }

    lam->name("L");
    lam->LamLyrs()->GetIndex(0)->setGplyid(9);
    lam->LamLyrs()->GetIndex(2)->setTheta(0.5);
    lam->LamLyrs()->GetIndex(2)->setSttid(1);
    lam->nsm(0.5);
    CKpStr text;
    text = "old";
    ASSERT_EQ(lam->Write(&text), 0);
    EXPECT_STREQ(text,
                 "id:       5\nname:     L\nz0_blank: 1\nz0:       0\nnsm:      0.5\n"
                 "sb:       0\nft:       1\ntref:     0\nge:       0\nlamopt:   1\n"
                 "extId:    0\nnum lyrs: 3\n9 1 0.1 0 2 0\n0 1 0.1 0 2 0\n0 1 0.1 0.5 2 1\n");
    EXPECT_EQ(lam->Write(nullptr), -1);
}

TEST(CKpLam, ThicknessAtAngleAndAdjacentGroups) {
    // 0, 0, 44, -46, 90, 88, -90 degrees; thicknesses 1..7.
    const double angles[] = {0, 0, 44, -46, 90, 88, -90};
    auto lam = makeLam(1, {});
    for (int i = 0; i < 7; ++i) addLayer(*lam, {1, i + 1.0, angles[i], 0});
    EXPECT_DOUBLE_EQ(lam->GetThickAtAngle(0.0, 1 * kDeg), 3.0);
    EXPECT_DOUBLE_EQ(lam->GetThickAtAngle(90 * kDeg, 3 * kDeg), 18.0);  // -90 is the same axis
    EXPECT_DOUBLE_EQ(lam->GetOuterThickAtAngle(0.0, 1 * kDeg), 1.0);
    EXPECT_DOUBLE_EQ(lam->GetOuterThickAtAngle(-90 * kDeg, 1 * kDeg), 7.0);

    int count = -1;
    double thick = -1;
    EXPECT_EQ(lam->GetMaxAdjacent(0.0, 4, count, thick), 0);
    EXPECT_EQ(count, 3);  // 90, 88, -90
    EXPECT_DOUBLE_EQ(thick, 18.0);

    IVekMaterial* mat = nullptr;
    double bottom = 0, top = 0, angle = 0;
    lam->z0(-10.0);
    ASSERT_EQ(lam->GetLayerMaterialOffsetsRotation(3, mat, bottom, top, angle), 0);
    EXPECT_EQ((std::vector<double>{bottom, top, angle}),
              (std::vector<double>{-7.0, -4.0, 44 * kDeg}));
    EXPECT_EQ(lam->GetLayerMaterialOffsetsRotation(0, mat, bottom, top, angle), -1);
}

TEST_F(LamCompare, TolerancesAndOrderOfTests) {
    auto a = makeLam(1, {{1, 1.000, 0, 0}, {2, 1.0, 45, 0}}, 0.0);
    auto b = makeLam(2, {{1, 1.005, 0, 0}, {2, 1.0, 45, 0}}, 0.0);  // 0.5 % thicker
    ASSERT_EQ(cmpLamSetTol(1.0, 0.01), 0);
    EXPECT_EQ(cmp(a.get(), b.get()), 0);
    const CKpLam *pa = a.get(), *pb = b.get();
    EXPECT_EQ(cmpLamId(&pa, &pb), -1);  // tie broken by id
    cmpLamSetTol(0.1, 0.01);
    EXPECT_EQ(cmp(a.get(), b.get()), -1);
    EXPECT_EQ(cmpLamSetTol(-1.0, 0.0), -1);
    EXPECT_EQ(cmpLamSetTol(NAN, 0.0), -1);
    EXPECT_EQ(cmp(a.get(), b.get()), -1);  // refused tolerances left unchanged
    // Each thickness may lie p/2 percent off the pair's mean: 1.5 % apart
    // is 0.75 % off the mean.
    b->LamLyrs()->First()->setT(1.015);
    cmpLamSetTol(1.0, 0.01);
    EXPECT_EQ(cmp(b.get(), a.get()), 1);
    cmpLamSetTol(2.0, 0.01);
    EXPECT_EQ(cmp(b.get(), a.get()), 0);

    // Materials are tested on all layers before thicknesses: c is thinner
    // in layer 1 but its larger material in layer 2 decides.
    cmpLamSetTol(1.0, 0.01);
    auto c = makeLam(3, {{1, 0.5, 0, 0}, {3, 1.0, 45, 0}}, 0.0);
    EXPECT_EQ(cmp(c.get(), a.get()), 1);
    // Angles after thicknesses, wrapped: 179 - (-179) is -2 degrees.
    auto d = makeLam(4, {{1, 1.0, 179, 0}, {2, 1.0, 45, 0}});
    auto e = makeLam(5, {{1, 1.0, -179, 0}, {2, 1.0, 45, 0}});
    cmpLamSetTol(1.0, 3 * kDeg);
    EXPECT_EQ(cmp(d.get(), e.get()), 0);
    cmpLamSetTol(1.0, 1 * kDeg);
    EXPECT_EQ(cmp(e.get(), d.get()), 1);

    // Offset flag, offsets (1 % of the mean thickness 2 is 0.02), layer
    // count, nulls.
    auto f = makeLam(6, {{1, 1.0, 0, 0}, {2, 1.0, 45, 0}}, -1.0);  // where d lies, but given
    EXPECT_EQ(cmp(d.get(), f.get()), 1);
    auto g = makeLam(7, {{1, 1.0, 0, 0}, {2, 1.0, 45, 0}}, -0.99);
    EXPECT_EQ(cmp(f.get(), g.get()), 0);
    g->z0(-0.9);
    EXPECT_EQ(cmp(g.get(), f.get()), 1);
    auto h = makeLam(8, {{1, 1.0, 0, 0}}, 0.0);
    EXPECT_EQ(cmp(h.get(), a.get()), -1);
    EXPECT_EQ(cmp(nullptr, a.get()), 1);
    EXPECT_EQ(cmp(nullptr, nullptr), 0);
}

// Thicknesses that creep by 0.6 % per laminate, with a tolerance of 1 %:
// each is equal to its neighbours but not to the one after next, so the
// comparator is not transitive. The sort must stay a permutation, and the
// grouping compares with the group head only.
TEST_F(LamCompare, SortIsSafeWithNonTransitiveComparator) {
    cmpLamSetTol(1.0, 0.01);
    const int n = 300;
    std::vector<std::unique_ptr<CKpLam>> lams;
    for (int i = 0; i < n; ++i)
        lams.push_back(makeLam(i + 1, {{1, std::pow(1.006, i % 60), 0.0, 0}}));
    std::mt19937 rng(7);
    std::vector<CKpLam*> order = shuffled(lams, rng);
    order.insert(order.begin() + 10, nullptr);
    ASSERT_EQ(sortLamsId(order.data(), n + 1), 0);
    EXPECT_EQ(order.back(), nullptr);  // nulls last
    std::vector<int> ids, all;
    for (int i = 0; i < n; ++i) ids.push_back(order[i]->id()), all.push_back(i + 1);
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, all);  // a permutation

    std::vector<int> heads(n);
    const int groups = groupLams(order.data(), n, heads.data());
    EXPECT_GT(groups, 1);
    for (int i = 0; i < n; ++i) {  // every member equals its head
        const CKpLam* head = lams[heads[i] - 1].get();
        EXPECT_EQ(cmp(head, order[i]), 0) << i;
    }
    EXPECT_EQ(sortLamsId(nullptr, 3), -1);
}

// Distinct stacks, each repeated with perturbations well inside the
// tolerances: the groups found must be exactly the stacks, each headed by
// its smallest id, whatever the input order.
TEST_F(LamCompare, CompressionFindsTheDistinctStacks) {
    cmpLamSetTol(2.0, 1 * kDeg);
    const int stacks = 12, copies = 25;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> wobble(-0.002, 0.002);
    std::vector<std::unique_ptr<CKpLam>> lams;
    std::vector<int> stackOf, firstId(stacks, INT_MAX);
    for (int c = 0; c < copies; ++c)
        for (int s = 0; s < stacks; ++s) {
            const int id = static_cast<int>(lams.size()) + 1;
            auto lam = makeLam(id, {});
            for (int k = 0; k < 3 + s % 3; ++k)
                addLayer(*lam, {1 + (s + k) % 2, 0.1 * (1 + s % 4) * (1 + wobble(rng)),
                                (s % 5 == 0 ? 45.0 : -45.0) * k + wobble(rng), 0});
            lams.push_back(std::move(lam));
            stackOf.push_back(s);
            firstId[s] = std::min(firstId[s], id);
        }
    std::vector<CKpLam*> order = shuffled(lams, rng);
    ASSERT_EQ(sortLamsId(order.data(), static_cast<int>(order.size())), 0);
    std::vector<int> heads(order.size());
    EXPECT_EQ(groupLams(order.data(), static_cast<int>(order.size()), heads.data()), stacks);
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(heads[i], firstId[stackOf[order[i]->id() - 1]]) << order[i]->id();
}

namespace {

// A model with a 3 x 1 plate of unit quads (elements 1..3) and materials 1
// and 2 ("M1", thickness 0.2; "M2", thickness 0.3, external name "EXT2" and
// an added state "EXT2s").
class LamModel : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpLamStore* lams = nullptr;

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 3, 1, 3.0, 1.0);
        ASSERT_EQ(
            model->NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                m.elemIds.data(), std::vector<int>(3, 0).data(),
                                m.topologies.data(), m.width, m.connectivity.data(), 0.0, 0.0),
            0);
        for (int id = 1; id <= 2; ++id) {
            CKpMat* mat = new CKpMat(id);
            mat->setMtrlnm(id == 1 ? "M1" : "M2"), mat->setMtrlthck(0.1 + 0.1 * id);
            model->pMats()->insert(mat);
        }
        CKpMat* m2 = model->pMats()->find(2);
        m2->setExtmtrlnm("EXT2"), m2->setExtmtrlid(22);
        CKpMatProp* state = new CKpMatProp();
        state->setExtmtrlnm("EXT2s");
        m2->MatStates()->InsertLast(state);
        lams = model->pLams();
    }
};

}  // namespace

TEST_F(LamModel, StoreCreationNamesAndMaterials) {
    CKpLam* a = lams->New(0);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->id(), 1);
    EXPECT_EQ(lams->New(1), nullptr);  // taken
    EXPECT_EQ(lams->New(-3)->id(), 2);
    EXPECT_EQ(a->SetName("A"), 0);
    EXPECT_EQ(a->SetName("A"), -1);  // its own name too

    IVekLamLayer* l1 = a->GetLamLayerStore()->New();
    IVekLamLayer* l2 = a->GetLamLayerStore()->New();
    CKpMat* m1 = model->pMats()->find(1);
    CKpMat* m2 = model->pMats()->find(2);
    EXPECT_EQ(l1->SetMaterial(nullptr), 1);
    CKpMat stray(2);
    EXPECT_EQ(l1->SetMaterial(&stray), 4);  // not the store's material 2
    EXPECT_EQ(l1->SetMaterial(m1) + l2->SetMaterial(m2), 0);
    EXPECT_STREQ(l2->GetExternalMaterialName(), "EXT2");
    static_cast<CKpLamLyr*>(l2)->setSttid(1);
    EXPECT_STREQ(l2->GetExternalMaterialName(), "EXT2s");
    static_cast<CKpLamLyr*>(l2)->setSttid(2);
    EXPECT_EQ(l2->GetExternalMaterialName(), nullptr);  // no such state

    EXPECT_EQ(lams->GetReferencesOfMaterial(1) * 10 + lams->GetReferencesOfMaterial(3), 10);
    EXPECT_EQ(lams->GetMaxNumLayers(), 2);
}

TEST_F(LamModel, ElementsAndReferencedMaterials) {
    CKpLam* a = lams->New(1);
    CKpLam* b = lams->New(2);
    addLayer(*a, {2, 0.1, 0, 0});
    addLayer(*b, {1, 0.1, 0, 0});
    addLayer(*b, {9, 0.1, 0, 0});  // no such material
    const int ids[] = {3, 1, 77};
    EXPECT_EQ(a->SetElementIds(3, ids), 0);
    EXPECT_EQ(a->GetNumElements(), 2);
    int out[3] = {0, 0, -5};
    EXPECT_EQ(a->GetElementIds(3, out), 1);
    ASSERT_EQ(a->GetElementIds(2, out), 0);
    EXPECT_EQ(std::vector<int>(out, out + 3), (std::vector<int>{1, 3, -5}));
    b->SetElementIds(1, &ids[0]);  // element 3 moves to b

    IVekMaterial* mats[2] = {nullptr, nullptr};
    int count = -1;
    EXPECT_EQ(lams->GetReferencedMaterials(-1, nullptr, 3, count, mats), 4);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(mats[0], nullptr);  // nothing written
    ASSERT_EQ(lams->GetReferencedMaterials(-1, nullptr, 2, count, mats), 0);
    ASSERT_EQ(count, 2);
    IVekMaterial* const m1 = model->pMats()->find(1);
    IVekMaterial* const m2 = model->pMats()->find(2);
    EXPECT_EQ(std::vector<IVekMaterial*>(mats, mats + 2), (std::vector<IVekMaterial*>{m1, m2}));
    const int only1[] = {1};
    ASSERT_EQ(lams->GetReferencedMaterials(1, only1, 2, count, mats), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(mats[0], m2);
    EXPECT_EQ(lams->GetReferencedMaterials(2, nullptr, 2, count, mats), -1);

    EXPECT_EQ(lams->Clear(), 0);
    EXPECT_EQ(model->pElems()->find(1)->pid(), 0);
}

TEST_F(LamModel, GlobalPlies) {
    CKpLam* a = lams->New(1);
    CKpLam* b = lams->New(2);
    addLayer(*a, {1, 0.1, 0, 20})->SetLayupPlyName("first-of-20");
    addLayer(*a, {2, 0.1, 0, 0});
    addLayer(*b, {2, 0.1, 0, 20})->SetLayupPlyName("second-of-20");
    addLayer(*b, {2, 0.1, 0, 10})->SetLayupPlyName("a-long-ply-name");
    EXPECT_EQ(lams->GetNumGlobalPlyIDs(), 2);

    int ids[2] = {0, 0};
    double thicks[2] = {0, 0};
    char n0[8] = "", n1[8] = "", m0[8] = "", m1[8] = "";
    char* names[] = {n0, n1};
    char* matNames[] = {m0, m1};
    EXPECT_EQ(lams->GetGlobalPlyIDsNamesThicks(3, ids, names, matNames, 8, thicks), 1);
    ASSERT_EQ(lams->GetGlobalPlyIDsNamesThicks(2, ids, names, matNames, 8, thicks), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 2), (std::vector<int>{10, 20}));
    // Names cut to len - 1; the first layer met defines the ply.
    EXPECT_EQ((std::vector<std::string>{n0, n1, m0, m1}),
              (std::vector<std::string>{"a-long-", "first-o", "EXT2", ""}));
    EXPECT_DOUBLE_EQ(thicks[0], 0.3);
    EXPECT_DOUBLE_EQ(thicks[1], 0.2);

    const int e12[] = {1, 2}, e3[] = {3};
    a->SetElementIds(2, e12);
    b->SetElementIds(1, e3);
    int elems[3] = {0, 0, 0}, layers[3] = {0, 0, 0}, count = -1;
    ASSERT_EQ(lams->GetGlobalPlyLayers(10, 3, count, elems, layers), 0);
    EXPECT_EQ((std::vector<int>{count, elems[0], layers[0]}), (std::vector<int>{1, 3, 2}));
    elems[2] = -7;
    ASSERT_EQ(lams->GetGlobalPlyLayers(20, 2, count, elems, layers), 0);
    // Capacity 2 of the three elements; beyond it nothing written.
    EXPECT_EQ((std::vector<int>{count, elems[1], elems[2]}), (std::vector<int>{2, 2, -7}));
}

TEST_F(LamModel, LayerDrawingData) {
    CKpLam* a = lams->New(1);
    addLayer(*a, {1, 0.2, 0, 0});
    addLayer(*a, {2, 0.4, 30, 5});
    a->z0(1.0);
    const int e13[] = {1, 3};
    a->SetElementIds(2, e13);
    model->pElems()->find(3)->theta(60 * kDeg);  // material angle of element 3

    const int cap = 2;
    IVekMaterial* mats[cap];
    int nverts[cap], count = -1;
    double bot[12 * cap], mid[12 * cap], top[12 * cap], midPts[3 * cap], fib[3 * cap], tra[3 * cap],
        sizes[cap];
    EXPECT_EQ(
        lams->GetLayerMatsThicksOrients(static_cast<IVekLamStore::ELayerType>(2), 1, cap, count,
                                        mats, nverts, bot, mid, top, midPts, fib, tra, sizes),
        -1);
    ASSERT_EQ(lams->GetLayerMatsThicksOrients(IVekLamStore::eLayerGlobalPly, 5, cap, count, mats,
                                              nverts, bot, mid, top, midPts, fib, tra, sizes),
              0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(mats[1], static_cast<IVekMaterial*>(model->pMats()->find(2)));
    for (int v = 0; v < 8; ++v) {  // plate normal +z: layer 2 from 1.2 to 1.6
        const double z[3] = {bot[3 * v + 2], mid[3 * v + 2], top[3 * v + 2]};
        EXPECT_TRUE(NearArray(z, std::vector<double>{1.2, 1.4, 1.6}, 3, tol::length)) << v;
    }
    const double mid3[] = {2.5, 0.5, 1.4};
    EXPECT_TRUE(NearArray(midPts + 3, mid3, 3, tol::length));
    const double fib3[] = {0.0, 1.0, 0.0}, tra3[] = {-1.0, 0.0, 0.0};
    EXPECT_TRUE(NearArray(fib + 3, fib3, 3, tol::loose));  // 30 + 60 degrees
    EXPECT_TRUE(NearArray(tra + 3, tra3, 3, tol::loose));
    EXPECT_DOUBLE_EQ(sizes[0], 0.5);

    ASSERT_EQ(
        lams->GetLayerMatsThicksOrients(IVekLamStore::eLayerPosition, 1, 1, count, nullptr, nullptr,
                                        bot, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
        0);
    EXPECT_EQ(count, 1);  // capacity 1
    EXPECT_TRUE(Near(bot[2], 1.0, tol::length));
}
