#include "layuplib/CKpPropGenSet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/add_layer.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Four unit quad4 elements in a row (ids 1..4) carrying two simulated plies
// of an isotropic material; nothing selected.
class PropGen : public ::testing::Test {
  protected:
    std::unique_ptr<CKpMat> stray{new CKpMat(9)};  // in no store; outlives the model
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpPropGenSet* set = nullptr;

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        CKpMat* mat = new CKpMat(1);
        mat->setMtrlnm("Alu"), mat->setMtrlthck(0.5), mat->setDir(1), mat->setEx(70e3),
            mat->setNuxy(0.33), mat->setDens(2.7e-9);
        model->pMats()->insert(mat);
        stray->setMtrlthck(0.5);
        Lay("P1", mat, 1);
        Lay("P2", mat, 2);
        set = model->pPropGenSet();
        set->Clear();
        set->SetName("L"), set->SetAngleTolerance(0.01), set->SetThicknessTolerance(5.0);
        set->SetFirstLamId(1), set->SetFirstPropId(1);
        gui.clear();
    }
    void Lay(const char* name, CKpMat* mat, int gply) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name), pat->setStdn(1), pat->setSimResult(0);
        model->pPats()->insert(pat);
        for (int id = 1; id <= 4; ++id) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(Elem(id)), pe->setStdn(1), pe->setDnfg(1);
            pat->PatElems()->InsertLast(pe);
        }
        model->pPlys()->insert(new CKpPly(model->pPlys()->maxId() + 1, name, 2, mat, pat));
        ASSERT_EQ(CreateLayupPly(model.get(), "", "", 2, name, 1, 0.0, 0.0, gply), 0);
    }
    CKpElem* Elem(int id) { return model->pElems()->find(id); }
    std::vector<int> ListedIds() {
        int n = set->elementIds().entries();
        std::vector<int> ids(n);
        if (n > 0) set->elementIds().GetAllIds(n, ids.data());
        return ids;
    }
};

}  // namespace

TEST(PropGenSetSettings, ModeFromCodeAndOrientation) {
    CKpPropGenSet set;
    const struct {
        int code, orientation, mode;
    } table[] = {{21, 1, 7}, {21, 2, 6}, {31, 1, 4}, {31, 2, 6}, {22, 3, 13009}};
    for (const auto& row : table) {
        EXPECT_EQ(
            set.SetPropertyModeByCodeAndOrientation(static_cast<EVekCode>(row.code),
                                                    static_cast<EVekOrientation>(row.orientation)),
            0);
        EXPECT_EQ(set.propertyMode(), row.mode);
    }
    EXPECT_EQ(set.SetPropertyModeByCodeAndOrientation(eVekCode21, eVekOrientation3), 1);
    EXPECT_EQ(set.SetPropertyModeByCodeAndOrientation(eVekCode22, eVekOrientation1), 1);
    EXPECT_EQ(set.propertyMode(), 13009);  // unchanged

    // Without a model: no element list, no run.
    EXPECT_EQ(set.SetElementIds(-1, nullptr), 1);
    EXPECT_EQ(set.Run(), 1);
}

TEST_F(PropGen, ElementIdsAccumulateExistingIdsOnce) {
    const int some[3] = {3, 99, 3};
    EXPECT_EQ(set->SetElementIds(3, some), 0);
    EXPECT_EQ(ListedIds(), (std::vector<int>{3}));  // 99 names no element
    const int more[2] = {1, 3};
    EXPECT_EQ(set->SetElementIds(2, more), 0);
    EXPECT_EQ(ListedIds(), (std::vector<int>{1, 3}));

    model->pElems()->insert(model->pElems()->NewElem(7, 11));  // added after the first calls
    EXPECT_EQ(set->SetElementIds(-1, nullptr), 0);
    EXPECT_EQ(ListedIds(), (std::vector<int>{1, 2, 3, 4, 7}));

    EXPECT_EQ(set->SetElementIds(-2, nullptr), -1);
    EXPECT_EQ(set->SetElementIds(2, nullptr), -1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Invalid element id list."}));  // folded
    EXPECT_EQ(set->SetElementIds(0, nullptr), 0);
}

TEST_F(PropGen, RunTakesTheCurrentSelectionWithoutIds) {
    Elem(2)->setSltd(1), Elem(3)->setSltd(1);
    set->SetPropertyMode(3);
    ASSERT_EQ(set->Run(), 0);
    EXPECT_EQ(set->resultsValid(), 1);
    ASSERT_EQ(model->pProps()->entries(), 1);
    EXPECT_EQ((*model->pProps())[0]->GetNumElems(), 2);
    EXPECT_EQ((std::vector<int>{Elem(1)->pid(), Elem(2)->pid()}), (std::vector<int>{0, 1}));

    set->SetPropertyMode(107);  // not a laminate mode of a run
    EXPECT_EQ(set->Run(), -1);
    EXPECT_EQ(set->resultsValid(), 0);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Unsupported property mode.",
                                                      "Could not save laminate data"}));

    EXPECT_EQ(set->Clear(), 0);
    EXPECT_EQ(model->pProps()->entries() + model->pLams()->entries() + Elem(2)->pid(), 0);
}

TEST_F(PropGen, RunWithIdsSelectsThemFirst) {
    const int ids[2] = {4, 1};
    ASSERT_EQ(set->SetElementIds(2, ids), 0);
    set->SetPropertyMode(0);
    const int sorted[2] = {1, 4};
    const int selected = model->RestoreAndSelectArea(2, sorted);
    if (selected != 0) {  // the surface cannot select them: nothing else happens
        gui.clear();
        EXPECT_EQ(set->Run(), 3);
        EXPECT_EQ(set->resultsValid(), 0);
        return;
    }
    Elem(2)->setSltd(1);  // replaced by the listed elements
    ASSERT_EQ(set->Run(), 0);
    EXPECT_EQ((std::vector<int>{Elem(1)->pid(), Elem(2)->pid(), Elem(4)->pid()}),
              (std::vector<int>{1, 0, 1}));
}

// The equivalent materials come after "Laminate saved"; a laminate whose
// material is missing makes the run fail after it.
TEST_F(PropGen, Mode118MakesEquivalentMaterialsAfterSaving) {
    for (int id = 1; id <= 4; ++id) Elem(id)->setSltd(1);
    const double v[3] = {1.0, 0.0, 0.0}, w[3] = {0.0, 1.0, 0.0};
    set->SetVectorDirection(0, v), set->SetVectorDirection(1, w), set->SetSwitchAngle(0.1);
    set->SetFirstCoordId(50), set->SetPropertyMode(118);
    ASSERT_EQ(set->Run(), 0);
    EXPECT_EQ(model->pLams()->entries(), 0);  // turned into materials
    ASSERT_EQ(model->pLamMats()->entries(), 1);
    EXPECT_STREQ((*model->pLamMats())[0]->mtrlnm(), "L1");
    CKpProp* prop = (*model->pProps())[0];
    EXPECT_STREQ(prop->matName(), "L1");
    EXPECT_EQ(prop->GetNumElems() * 100 + prop->GetCoordID(), 450);

    const std::string path = ::testing::TempDir() + "propgen_118.msg";
    ASSERT_EQ(model->OpenMessage(path.c_str()), 0);
    stray->setMtrlnm("Stray");
    Lay("P3", stray.get(), 3);
    EXPECT_EQ(set->Run(), -1);
    EXPECT_EQ(set->resultsValid(), 0);
    ASSERT_EQ(model->CloseMessage(), 0);
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    const size_t saved = text.str().find("$# Laminate saved\n");
    const size_t missing = text.str().find("references material 9, which does not exist.");
    ASSERT_NE(saved, std::string::npos);
    ASSERT_NE(missing, std::string::npos);
    EXPECT_LT(saved, missing);
}

TEST_F(PropGen, Mode13009BuildsSubLayupsInstead) {
    set->SetPropertyMode(13009);
    EXPECT_EQ(set->Run(), 0);  // nothing selected: no acceptable layup plies
    EXPECT_EQ(set->resultsValid(), 1);
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{"No acceptable layup plies on selected area."}));
    EXPECT_EQ(model->pLams()->entries(), 0);
}
