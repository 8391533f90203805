#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

// A 3 x 2 plate of unit quad4 elements (ids 1..6) with its faceted surface.
class Offsets : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        ASSERT_NE(model->pFacs()->CreateFacets(), 0);
        gui.clear();
    }
    CKpOffStore* Store() { return model->pOffs(); }
    IVekOffsetStore* Api() { return model->GetOffsetStore(); }
    std::vector<int> Selected() {
        std::vector<int> ids;
        for (int id = 1; id <= 6; ++id)
            if (model->pElems()->find(id)->getSltd()) ids.push_back(id);
        return ids;
    }
};

TEST_F(Offsets, StoreKeepsDefinitionsById) {
    IVekOffset* a = Api()->New();
    IVekOffset* b = Api()->New();
    IVekOffset* c = Api()->New();
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->SetName("Skin"), 0);
    EXPECT_EQ(b->SetName("Skin"), -1);
    EXPECT_EQ(a->SetName("Skin"), -1);  // its own name counts too
    EXPECT_EQ(b->SetName("skin"), 0);
    EXPECT_EQ(Api()->Get("skin"), b);
    EXPECT_EQ(Api()->Get(3), nullptr);

    EXPECT_EQ(Api()->Delete(b), 0);
    EXPECT_EQ(Api()->Count(), 2);
    EXPECT_EQ(Api()->New()->GetId(), 4);  // highest id + 1, the gap stays
    CKpOff foreign(9);
    EXPECT_EQ(Api()->Delete(&foreign), -1);
    EXPECT_EQ(Api()->Count(), 3);
}

// A definition made with "highest id + 1" cannot be made once the highest
// id is INT_MAX: refused, and nothing else is made either.
TEST_F(Offsets, NoNewDefinitionsPastTheHighestId) {
    const int top = std::numeric_limits<int>::max();
    ASSERT_EQ(Store()->insert(new CKpOff(top)), 0);
    EXPECT_EQ(Api()->New(), nullptr);
    EXPECT_EQ(Api()->Count(), 1);

    ASSERT_EQ(model->pPats()->insert(new CKpPat(top)), 0);
    const int patterns = model->pPats()->entries();
    EXPECT_EQ(model->pPlys()->New(), nullptr);
    EXPECT_EQ(model->pPats()->entries(), patterns);
    EXPECT_EQ(model->pPlys()->entries(), 0);

    ASSERT_EQ(model->pOrients()->insert(new CKpOrient(top)), 0);
    const int fields = model->pFields()->entries();
    const int ids[1] = {1};
    const double angles[1] = {0.5};
    EXPECT_EQ(model->pOrients()->SetOrientationAngles(1, ids, angles), -1);
    EXPECT_EQ(model->pFields()->entries(), fields);
    EXPECT_EQ(model->pOrients()->entries(), 1);
    EXPECT_EQ(model->pOrients()->SetDefaultIfNeeded(), -1);
    EXPECT_EQ(model->pElems()->find(1)->pOrient(), nullptr);
}

TEST_F(Offsets, DefinitionValues) {
    IVekOffset* off = Api()->New();
    const int ids[] = {4, 2, 99};
    int out[3] = {0, 0, 0};
    EXPECT_EQ(off->SetElementIds(3, nullptr), 1);
    ASSERT_EQ(off->SetElementIds(3, ids), 0);
    ASSERT_EQ(off->SetElementIds(3, ids), 0);  // replaces, does not append
    EXPECT_EQ(off->GetElementIds(2, out), 1);
    ASSERT_EQ(off->GetElementIds(3, out), 0);
    EXPECT_EQ(out[2], 99);

    const double seed[3] = {1, 2, 3}, bad[3] = {0, std::nan(""), 0};
    double xyz[3];
    EXPECT_EQ(off->SetSeedPoint(seed), 0);
    EXPECT_EQ(off->SetSeedPoint(bad), -1);
    EXPECT_EQ(off->SetApplicationDirection(nullptr), -1);
    off->GetSeedPoint(xyz);
    EXPECT_EQ(xyz[1], 2.0);  // the non-finite point changed nothing
    EXPECT_EQ(off->SetOffsetValue(-0.25), 0);
    EXPECT_EQ(off->SetOffsetValue(std::numeric_limits<double>::infinity()), -1);
    EXPECT_EQ(off->GetOffsetValue(), -0.25);

    // The frame name is cut to the buffer.
    char name[6] = "same";
    EXPECT_EQ(off->SetCoordOriginName(seed, "Frame-12"), 0);
    EXPECT_EQ(off->GetCoordOriginName(xyz, name, 6), 0);
    EXPECT_STREQ(name, "Frame");
}

TEST_F(Offsets, ClearResetsEveryElement) {
    model->pElems()->find(5)->setoff_fg(-1);
    model->pElems()->find(5)->setoff_val(2.0);
    Api()->New();
    Api()->New();
    EXPECT_EQ(Api()->Clear(), 0);
    EXPECT_EQ(Api()->Count(), 0);
    EXPECT_EQ(model->pElems()->find(5)->getoff_fg(), 0);
    EXPECT_EQ(model->pElems()->find(5)->getoff_val(), 0.0);
}

TEST_F(Offsets, SelectingTheRegion) {
    CKpOff* off = static_cast<CKpOff*>(Api()->New());
    model->pElems()->find(6)->setSltd(1);  // an earlier selection is dropped
    const int ids[] = {2, 1, 42};
    off->SetElementIds(3, ids);
    EXPECT_EQ(off->SelectElements(), 0);  // 42 is skipped
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2}));

    // A new definition has no application direction, so no start facet is
    // found: the application stops at step 4, after selecting, and the store
    // stops at its first definition.
    EXPECT_EQ(off->Apply(), 4);
    EXPECT_EQ(gui.texts(4).back(),
              "The application direction vector has a magnitude which is smaller than the "
              "minimum allowable value of 1e-06. Please define the application direction more "
              "clearly.");
    EXPECT_EQ(Store()->Apply(), 1);
    int contours = -1, points = -1;
    EXPECT_EQ(off->GetBoundarySizes(contours, points), 1);
    EXPECT_EQ(contours, 0);
    EXPECT_EQ(off->GetBoundary(4, 40, nullptr, nullptr, nullptr), 3);

    CKpOff loose(1);  // outside any store: refused, not dereferenced
    EXPECT_EQ(loose.Apply(), 1);
    EXPECT_EQ(loose.GetBoundary(1, 1, nullptr, nullptr, nullptr), 1);
}

// Applying over a 3 x 2 plate whose element 5 is turned over: the listed
// elements take the flag and value, negated where their facets face away
// from the start; the other view swaps the signs; element 6 is not listed.
TEST(OffsetApply, WritesSignedOffsetsOverTheRegion) {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0);
    surfmesh::Flip(m, 4);
    ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
    ASSERT_NE(model->pFacs()->CreateFacets(), 0);
    IVekOffset* off = model->GetOffsetStore()->New();
    const int ids[] = {1, 2, 3, 4, 5};
    off->SetElementIds(5, ids);
    off->SetOffsetFlag(EVekOffsetBottom);
    off->SetOffsetValue(0.25);
    for (int view : {+1, -1}) {
        const double seed[3] = {1.5, 0.5, 5.0 * view}, dirn[3] = {0.0, 0.0, -1.0 * view};
        off->SetSeedPoint(seed);
        off->SetApplicationDirection(dirn);
        ASSERT_EQ(off->Apply(), 0);
        for (int id = 1; id <= 6; ++id) {
            const int sign = id == 6 ? 0 : (id == 5 ? -1 : 1) * view;
            EXPECT_EQ(model->pElems()->find(id)->getoff_fg(), sign) << id << " " << view;
            EXPECT_EQ(model->pElems()->find(id)->getoff_val(), 0.25 * sign) << id << " " << view;
        }
    }

    // A flag at the end of the int range: the turned element's mirror of it
    // is the other end, not an overflow.
    off->SetOffsetFlag(static_cast<EVekOffsetFlag>(INT_MIN));
    const double seed[3] = {1.5, 0.5, 5.0}, dirn[3] = {0.0, 0.0, -1.0};
    off->SetSeedPoint(seed);
    off->SetApplicationDirection(dirn);
    ASSERT_EQ(off->Apply(), 0);
    EXPECT_EQ(model->pElems()->find(4)->getoff_fg(), INT_MIN);
    EXPECT_EQ(model->pElems()->find(5)->getoff_fg(), INT_MAX);
}

}  // namespace
