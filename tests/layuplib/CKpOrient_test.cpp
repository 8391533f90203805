#include "layuplib/CKpOrient.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// A 2 x 2 plate of unit quads in the xy plane (elements 1 2 along x, 3 4
// above them); every element's reference direction is +x, its normal +z.
class OrientTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 2.0, 2.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        gui.clear();
    }

    CKpOrientStore* orients() { return model->pOrients(); }
    CKpElem* elem(int id) { return model->pElems()->find(id); }

    CKpOrient* AddOrient(int id, const char* name, int type, double v0, double v1, double v2,
                         int refId = 0) {
        CKpOrient* o = new CKpOrient(id);
        o->setName(name);
        o->setType(type);
        o->setValues(v0, v1, v2);
        o->setRefId(refId);
        orients()->insert(o);
        return o;
    }

    void Link(int elemId, CKpOrient* o) {
        elem(elemId)->pOrient(o);
        elem(elemId)->orientId(o ? o->id() : 0);
    }
};

}  // namespace

TEST_F(OrientTest, OrientationAnglesMakeAThetaFieldAndLinkTheElements) {
    AddOrient(4, "Existing", CKpOrient::TypeAngle, 0.1, 0, 0);
    model->pFields()->insert(new CKpField(7));
    IVekOrientationStore* api = model->GetOrientationStore();

    const int ids[3] = {2, 99, 4};  // 99 is not in the mesh
    const double angles[3] = {0.25, 1.0, -0.5};
    EXPECT_EQ(api->SetOrientationAngles(3, ids, angles), 0);

    CKpField* field = model->pFields()->find(8);
    ASSERT_NE(field, nullptr);
    EXPECT_STREQ(field->GetName(), "Theta");
    CKpOrient* o = orients()->find(5);
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->type(), CKpOrient::TypeElemValues);
    EXPECT_EQ(o->refId(), 8);

    EXPECT_EQ(elem(2)->pOrient(), o);
    EXPECT_EQ(elem(2)->theta(), 0.25);
    EXPECT_EQ(elem(4)->theta(), -0.5);
    EXPECT_EQ(elem(1)->pOrient(), nullptr);

    // Bad arrays are refused before anything is made.
    EXPECT_EQ(api->SetOrientationAngles(1, nullptr, angles), -1);
    const double bad[1] = {std::numeric_limits<double>::quiet_NaN()};
    EXPECT_EQ(api->SetOrientationAngles(1, ids, bad), -1);
    EXPECT_EQ(gui.texts(4).size(), 2u);
    EXPECT_EQ(orients()->entries(), 2);
    EXPECT_EQ(model->pFields()->entries(), 2);
}

TEST_F(OrientTest, ThetaFollowsTheDefinitionType) {
    CKpOrient* constant = AddOrient(1, "Const", CKpOrient::TypeAngle, 0.5, 0, 0);
    CKpOrient* along = AddOrient(2, "Along", CKpOrient::TypeDirection, 1.0, 1.0, 3.0);
    CKpOrient* none = AddOrient(3, "Zero", CKpOrient::TypeDirection, 0.0, 0.0, 0.0);
    CKpOrient* plain = AddOrient(4, "Keep", CKpOrient::TypeDefault, 0.7, 0, 0);
    Link(1, constant);
    Link(2, along);
    Link(3, none);
    Link(4, plain);
    elem(3)->theta(9.0);
    elem(4)->theta(-0.3);

    EXPECT_EQ(orients()->SetElemTheta(model->pMsg()), 0);
    EXPECT_EQ(elem(1)->theta(), 0.5);
    // (1, 1, 3) lies at 45 degrees from +x once projected into the plane.
    EXPECT_TRUE(Near(elem(2)->theta(), kPi / 4, tol::angle));
    // A zero direction has no projection: 0, never the sentinel -1000.
    EXPECT_EQ(elem(3)->theta(), 0.0);
    EXPECT_EQ(elem(4)->theta(), -0.3);
    EXPECT_EQ(gui.texts(2), std::vector<std::string>{
                                "Could not project vector <0,0,0> from orientation 'Zero' onto "
                                "element 3, setting THETA=0"});
}

TEST_F(OrientTest, FrameDirectionsThenTheta) {
    // Frame 3: origin (5, 0, 0), local x along basic y.
    CKpCoord* frame = new CKpCoord(3);
    const double abc[9] = {5, 0, 0, 5, 0, 1, 5, 1, 0};
    for (int i = 0; i < 9; ++i) frame->setCoords(abc[i], i);
    model->pCoords()->insert(frame);

    CKpOrient* basic = AddOrient(1, "Basic", CKpOrient::TypeCoord, 0, 0, 7);
    CKpOrient* byFrame = AddOrient(2, "Frame", CKpOrient::TypeCoord, 0, 0, 0, 3);
    CKpOrient* lost = AddOrient(3, "Lost", CKpOrient::TypeCoord, 0, 1, 1, 9);
    CKpOrient* other = AddOrient(4, "Other", CKpOrient::TypeDirection, 0, 0, 5, 3);

    EXPECT_EQ(orients()->SetDirectionsByCoords(model->pMsg(), model->pCoords()), 0);
    const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, kept[3] = {0, 1, 1}, untouched[3] = {0, 0, 5};
    EXPECT_TRUE(NearArray(basic->values(), x, 3, tol::length));
    EXPECT_TRUE(NearArray(byFrame->values(), y, 3, tol::length));
    EXPECT_TRUE(NearArray(lost->values(), kept, 3, tol::length));
    EXPECT_TRUE(NearArray(other->values(), untouched, 3, tol::length));
    EXPECT_EQ(gui.texts(2), std::vector<std::string>{"Could not find Coord 9"});

    Link(1, byFrame);
    Link(2, basic);
    EXPECT_EQ(orients()->SetElemTheta(model->pMsg()), 0);
    EXPECT_TRUE(Near(elem(1)->theta(), kPi / 2, tol::angle));
    EXPECT_TRUE(Near(elem(2)->theta(), 0.0, tol::angle));
}

TEST_F(OrientTest, ReferencesAndTheDefaultDefinition) {
    CKpOrient* o = AddOrient(6, "Six", CKpOrient::TypeAngle, 0.2, 0, 0);
    elem(1)->orientId(6);
    elem(2)->orientId(8);  // no such definition
    elem(3)->pOrient(o);   // id 0: left alone
    EXPECT_EQ(orients()->SetElemReferences(), 0);
    EXPECT_EQ(elem(1)->pOrient(), o);
    EXPECT_EQ(elem(2)->pOrient(), nullptr);
    EXPECT_EQ(elem(3)->pOrient(), o);

    EXPECT_EQ(orients()->SetDefaultIfNeeded(), 0);
    CKpOrient* def = orients()->findByName("Default");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->id(), 7);
    EXPECT_EQ(elem(2)->pOrient(), def);
    EXPECT_EQ(elem(4)->orientId(), 7);
    EXPECT_EQ(elem(1)->pOrient(), o);

    // Every element has one now: nothing more is made.
    EXPECT_EQ(orients()->SetDefaultIfNeeded(), 0);
    EXPECT_EQ(orients()->entries(), 2);
}

TEST_F(OrientTest, ClearUnlinksElementsAndDeletesFrames) {
    model->pCoords()->insert(new CKpCoord(1));
    CKpOrient* o = AddOrient(1, "One", CKpOrient::TypeAngle, 0.5, 0, 0);
    Link(3, o);
    elem(3)->theta(0.5);
    EXPECT_EQ(orients()->Clear(), 0);
    EXPECT_EQ(orients()->entries(), 0);
    EXPECT_EQ(model->pCoords()->entries(), 0);
    EXPECT_EQ(elem(3)->pOrient(), nullptr);  // no dangling link
    EXPECT_EQ(elem(3)->theta(), 0.0);
}
