#include "layuplib/CKpSubLyp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpSubLypPlyStore.h"
#include "layuplib/CKpSubLypStore.h"
#include "layuplib/CreateSubLayups.h"
#include "layuplib/add_layer.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = kPi / 180.0;

// A field of `type` holding one record per entry of `values` (element ids
// 1, 2, ...; each record the values of its entry).
std::unique_ptr<CKpField> MakeField(EVekFieldType type,
                                    const std::vector<std::vector<double>>& values) {
    std::unique_ptr<CKpField> field(new CKpField(1));
    field->SetType(type);
    int id = 0;
    for (const std::vector<double>& v : values) {
        CKpFieldVal* val = new CKpFieldVal(++id);
        val->SetVals(static_cast<int>(v.size()), v.data());
        field->GetFieldVals()->insert(val);
    }
    return field;
}

// A model holding a 3 x 2 plate of unit quads (elements 1 2 3 along x, 4 5 6
// above them, normals +z), the material "CF" (thickness 0.25, external name
// "CF-EXT") and plies made as a successful simulation would leave them.
class SubLypTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        CKpMat* mat = new CKpMat(1);
        mat->setMtrlnm("CF");
        mat->setMtrlthck(0.25);
        mat->setExtmtrlnm("CF-EXT");
        model->pMats()->insert(mat);
    }

    // A ply named `name` covering `ids` with fibres at `warp`, direction
    // flags +1, simulation result 0.
    CKpPly* DrapedPly(const char* name, const std::vector<int>& ids, double warp) {
        CKpPly* ply = static_cast<CKpPly*>(model->pPlys()->New());
        EXPECT_EQ(ply->SetName(name) + ply->SetType(EVekMaterialProjected) +
                      ply->SetMaterialName("CF") +
                      ply->SetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), nullptr),
                  0);
        CKpPatElemStore* list = ply->pPat()->PatElems();
        for (CKpPatElem* pe = list->First(); pe; pe = list->Next(pe)) {
            pe->setPelem(model->pElems()->find(pe->elemId()));
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(warp);
            pe->setWeftAngle(warp);
        }
        ply->pPat()->setStdn(1);
        ply->pPat()->setSimResult(0);
        EXPECT_EQ(ply->UpdatePlyElems(), 0);
        return ply;
    }

    void Place(CKpPly* ply, int side) {
        ASSERT_EQ(CreateLayupPly(model.get(), nullptr, nullptr, ply->lyrtp(), ply->name(), side,
                                 0.0, 0.0, 0),
                  0);
    }

    void Select(const std::vector<int>& ids, int flag = 1) {
        for (int id : ids) model->pElems()->find(id)->setSltd(flag);
    }

    CKpSubLyp* SubLyp(int index) { return model->pSubLyps()->Get(index); }
};

}  // namespace

TEST(CKpField, ConstantCheckUsesTheTypeTolerance) {
    auto thick = MakeField(EVekFieldThickness, {{0.1}, {0.1 + 1e-13}});
    EXPECT_EQ(thick->IsConstantValue(), 1);
    EXPECT_TRUE(Near(thick->GetConstantValue(), 0.1 + 0.5e-13, tol::length));
    // A new record makes the check run again.
    const double v = 0.2;
    thick->GetFieldVals()->insert(new CKpFieldVal(9));
    thick->GetFieldVals()->find(9)->SetVals(1, &v);
    EXPECT_EQ(thick->IsConstantValue(), 0);
    EXPECT_EQ(thick->GetConstantValue(), 0.0);

    auto rot = MakeField(EVekFieldRotation, {{0.5}, {0.5 + 0.19 * kDeg}, {0.5 + 0.1 * kDeg}});
    EXPECT_EQ(rot->IsConstantValue(), 1);
    EXPECT_TRUE(Near(rot->GetConstantValue(), 0.5 + 0.095 * kDeg, tol::angle));
    EXPECT_EQ(MakeField(EVekFieldRotation, {{0.5}, {0.5 + 0.21 * kDeg}})->IsConstantValue(), 0);
    EXPECT_EQ(MakeField(EVekFieldThickness, {{1.0, 1.0}})->IsConstantValue(), 0);
}

TEST(CKpField, ValuesAndDefaultsAreHandedOutByShape) {
    auto field = MakeField(EVekFieldOrientation, {{1, 2, 3}, {4}, {5, 6}});
    EXPECT_EQ(field->GetNumValuesPerElem(), 3);

    int ids[3] = {0, 0, 0};
    double values[9];
    // Too few records, too few values per record, no buffer.
    EXPECT_EQ((std::vector<int>{field->GetElemIdsAndValues(2, 3, ids, values),
                                field->GetElemIdsAndValues(3, 2, ids, values),
                                field->GetElemIdsAndValues(3, 3, ids, nullptr)}),
              (std::vector<int>{1, 2, 4}));
    ASSERT_EQ(field->GetElemIdsAndValues(3, 3, ids, values), 0);
    EXPECT_EQ(ids[2], 3);
    const double expected[9] = {1, 2, 3, 4, 0, 0, 5, 6, 0};  // short records padded with 0
    EXPECT_TRUE(NearArray(values, expected, 9, tol::length));

    double defaults[3] = {-1, -1, -1};
    EXPECT_EQ(field->GetDefaultValues(3, defaults), 4);  // no defaults yet
    const double d[3] = {7, 8, 9};
    EXPECT_EQ(field->SetDefaultValues(0, d), 2);
    EXPECT_EQ(field->SetDefaultValues(3, d), 0);
    ASSERT_EQ(field->GetDefaultValues(3, defaults), 0);
    EXPECT_TRUE(NearArray(defaults, d, 3, tol::length));
}

TEST_F(SubLypTest, PliesStackNegativeSidesFirstAndShareTheirPlyFields) {
    CKpPly* a = DrapedPly("A", {1, 2, 3}, 0.3);
    CKpPly* b = DrapedPly("B", {1, 2, 3, 4}, 0.6);
    for (int i = 0; i < 2; ++i) {  // layup plies 1 and 3 are A, 2 and 4 are B
        Place(a, 1);
        Place(b, -1);
    }
    Select({1, 2});
    model->pElems()->find(3)->theta(0.9);  // not selected: kept
    gui.clear();                           // placing on both sides warned

    ASSERT_EQ(CreateSubLayups("S", 0, model.get()), 0);
    ASSERT_EQ(model->pSubLyps()->Count(), 1);
    IVekSubLayup* sub = model->pSubLyps()->Get(0);

    // Bottom first: negative sides in reverse id order, then positive ones.
    IVekSubLayupPlyStore* plies = sub->GetSubLayupPlyStore();
    std::vector<std::string> got;
    for (int i = 0; i < plies->Count(); ++i)
        got.push_back(std::string(plies->Get(i)->GetName()) + " " +
                      plies->Get(i)->GetExternalMaterialName());
    EXPECT_EQ(got, (std::vector<std::string>{"B_2 CF-EXT", "B CF-EXT", "A CF-EXT", "A_2 CF-EXT"}));

    // Fields: the orientation first, then per ply in ply id order.
    CKpFieldStore* fields = model->pFields();
    got.clear();
    for (int i = 0; i < fields->Count(); ++i)
        got.push_back(fields->Get(i)->GetName() + std::to_string(fields->Get(i)->GetType()));
    EXPECT_EQ(got, (std::vector<std::string>{"S_Orientation3", "S_A_Thickness1", "S_A_Rotation4",
                                             "S_B_Thickness1", "S_B_Rotation4"}));

    // The orientation: the directions of the bottom ply (B at 0.6).
    int ids[2];
    double dirs[12];
    ASSERT_EQ(fields->Get(0)->GetElemIdsAndValues(2, 6, ids, dirs), 0);
    const double w = 0.6, t = 0.6 + kPi / 2;
    const double first[6] = {std::cos(w), std::sin(w), 0, std::cos(t), std::sin(t), 0};
    EXPECT_TRUE(NearArray(dirs, first, 6, tol::loose));
    EXPECT_EQ(model->pElems()->find(3)->theta(), 0.9);

    // A's thickness and rotation (relative to theta 0.6) on the selection.
    CKpField* aThick = fields->Get(1);
    CKpField* aRot = fields->Get(2);
    EXPECT_TRUE(Near(aThick->GetConstantValue(), 0.25, tol::length));
    EXPECT_TRUE(Near(aRot->GetConstantValue(), -0.3, tol::angle));

    // Both placements of A share its fields and its region.
    IVekSubLayupPly* a1 = plies->Get(2);
    IVekSubLayupPly* a2 = plies->Get(3);
    EXPECT_EQ(a1->GetRotationField(), static_cast<IVekField*>(aRot));
    EXPECT_EQ(a2->GetThicknessField(), static_cast<IVekField*>(aThick));
    ASSERT_NE(a1->GetRegion(), nullptr);
    EXPECT_EQ(a1->GetRegion(), a2->GetRegion());
    std::vector<int> region(2);
    ASSERT_EQ(a1->GetRegion()->GetIds(2, region.data()), 0);
    EXPECT_EQ(region, (std::vector<int>{1, 2}));
    EXPECT_EQ(model->pSets()->Count(), 2);
    EXPECT_TRUE(gui.texts(2).empty());
}

TEST_F(SubLypTest, ASecondRunReusesRegionsButNotOldFields) {
    CKpPly* a = DrapedPly("A", {1, 2, 3}, 0.3);
    Place(a, 1);
    Select({1, 2});
    ASSERT_EQ(CreateSubLayups("S", 0, model.get()), 0);
    Select({1, 2}, 0);
    Select({3});
    ASSERT_EQ(CreateSubLayups("S", 1, model.get()), 0);

    ASSERT_EQ(model->pSubLyps()->Count(), 2);
    CKpSubLyp* second = SubLyp(1);
    EXPECT_EQ(second->pOrientation()->id(), 4);
    CKpSubLypPly* sp = second->GetSubLypPlys()->Get(0);
    ASSERT_NE(sp, nullptr);
    // The region set of the same name is reused as it stands.
    EXPECT_EQ(sp->pSet(), SubLyp(0)->GetSubLypPlys()->Get(0)->pSet());
    EXPECT_EQ(model->pSets()->Count(), 1);
    // The fields are this run's own, holding element 3.
    ASSERT_NE(sp->pFieldThick(), nullptr);
    EXPECT_EQ(sp->pFieldThick()->id(), 5);
    EXPECT_NE(sp->pFieldThick()->GetFieldVals()->find(3), nullptr);
    EXPECT_EQ(sp->pFieldRotn()->id(), 6);
}

TEST_F(SubLypTest, InconsistentSidesFailTheWholeRun) {
    CKpPly* a = DrapedPly("A", {1, 2, 3}, 0.3);
    CKpPly* b = DrapedPly("B", {1, 2, 3}, 0.0);
    Place(a, 1);
    Place(b, 1);
    a->pPat()->PatElems()->Last()->setDnfg(-1);  // element 3 from the other side
    Select({2, 3});
    EXPECT_EQ(CreateSubLayups("S", 0, model.get()), 2);
    EXPECT_EQ(gui.texts(2).back(),
              "Layup ply 1 referencing ply A instance 1 has inconsistent directions on selected "
              "elements and cannot be added to sublayup.");
    EXPECT_EQ(gui.texts(4).back(),
              "1 layup plies have inconsistent dirctions on selected elements.");
    EXPECT_EQ(model->pFields()->Count() + model->pSubLyps()->Count(), 0);
}

TEST_F(SubLypTest, NothingOnTheSelectionMakesNothing) {
    Place(DrapedPly("A", {1, 2}, 0.3), 1);
    Select({5});
    EXPECT_EQ(CreateSubLayups("S", 0, model.get()), 0);
    EXPECT_EQ(gui.texts(2).back(), "No acceptable layup plies on selected area.");
    EXPECT_EQ(model->pFields()->Count() + model->pSubLyps()->Count(), 0);
    EXPECT_EQ(CreateSubLayups("S", 0, nullptr), 1);
}

// A store already holding the highest id (a layup file may give one) has
// no id for what the run makes in it: the run stops there with that
// object's status, keeps what it made before, and makes nothing of a
// wrapped id.
TEST_F(SubLypTest, NoFieldSubLayupOrSetPastTheHighestId) {
    const int top = 2147483647;
    Place(DrapedPly("A", {1, 2, 3}, 0.3), 1);
    Select({1, 2});
    gui.clear();
    auto ids = [](auto* store) {
        std::vector<int> out;
        for (int i = 0; i < store->entries(); ++i) out.push_back((*store)[i]->id());
        return out;
    };

    // No field id: nothing made.
    CKpField* topField = new CKpField(top);
    ASSERT_EQ(model->pFields()->insert(topField), 0);
    EXPECT_EQ(CreateSubLayups("S", 0, model.get()), -1);
    EXPECT_EQ(ids(model->pFields()), (std::vector<int>{top}));
    EXPECT_EQ(model->pSubLyps()->entries() + model->pSets()->entries(), 0);
    model->pFields()->eraseObject(topField);

    // No sub-layup id: the three fields stay, no sub-layup or set is made.
    CKpSubLyp* topSub = new CKpSubLyp(top);
    ASSERT_EQ(model->pSubLyps()->insert(topSub), 0);
    EXPECT_EQ(CreateSubLayups("S", 0, model.get()), 3);
    EXPECT_EQ(ids(model->pFields()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ids(model->pSubLyps()), (std::vector<int>{top}));
    EXPECT_EQ(model->pSets()->entries(), 0);
    model->pSubLyps()->eraseObject(topSub);

    // No set id: the sub-layup and its ply stay, the ply without region.
    ASSERT_EQ(model->pSets()->insert(new CKpSet(top)), 0);
    EXPECT_EQ(CreateSubLayups("T", 0, model.get()), 5);
    EXPECT_EQ(ids(model->pFields()), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ids(model->pSets()), (std::vector<int>{top}));
    ASSERT_EQ(ids(model->pSubLyps()), (std::vector<int>{1}));
    CKpSubLypPlyStore* plies = SubLyp(0)->GetSubLypPlys();
    EXPECT_EQ(ids(plies), (std::vector<int>{1}));
    EXPECT_EQ(plies->Get(0)->pSet(), nullptr);
    EXPECT_STREQ(SubLyp(0)->pOrientation()->GetName(), "T_Orientation");
    EXPECT_TRUE(gui.texts(4).empty());
}
