#include "layuplib/CreateResultsSort.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/add_layer.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Plies A, B, C of material "M1" (0.2 thick) on a 2 x 1 plate (C on
// element 1 only), in layup "LYP", and the layer stresses of one load case:
// element e, layer n holds (100 e + n, 0, 0, 1, 2, 3).
class Sort : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    const char* names[5] = {"LC", "SC", "Stress Tensor", "", ""};

    void SetUp() override {
        ASSERT_EQ(meshgen::LoadModel(*model, meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2, 1)), 0);
        CKpMat* mat = new CKpMat(1);
        mat->setMtrlnm("M1"), mat->setMtrlthck(0.2);
        model->pMats()->insert(mat);
        Lay("A", {1, 2});
        Lay("B", {1, 2});
        Lay("C", {1});
        model->pLyp()->setName("LYP");
        for (int n = 1; n <= 3; ++n) {
            std::vector<std::pair<int, int>> recs = {{1, n}};
            if (n < 3) recs.push_back({2, n});
            Layer("Layer " + std::to_string(n), recs);
        }
    }
    void Lay(const char* name, const std::vector<int>& ids) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name), pat->setStdn(1), pat->setSimResult(0);
        pat->setRefang(std::acos(-1.0) / 2);
        model->pPats()->insert(pat);
        for (int id : ids) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(model->pElems()->find(id)), pe->setStdn(1),
                pe->setDnfg(1);
            pat->PatElems()->InsertLast(pe);
        }
        model->pPlys()->insert(
            new CKpPly(model->pPlys()->maxId() + 1, name, 2, model->pMats()->find(1), pat));
        ASSERT_EQ(CreateLayupPly(model.get(), "", "", 2, name, 1, 0.0, 0.0, 0), 0);
    }
    void Layer(const std::string& layer, const std::vector<std::pair<int, int>>& recs) {
        const char* nm[5] = {"LC", "SC", "Stress Tensor", "", layer.c_str()};
        CKpRes* r = new CKpRes(model->pRess()->maxId() + 1, nm, 1, 3, 1);
        for (const auto& rec : recs) {
            const float v[6] = {100.0f * rec.first + rec.second, 0, 0, 1, 2, 3};
            r->FindOrCreateResElem(rec.first, 6, v, 0, nullptr);
        }
        model->pRess()->insert(r);
    }
    float First(int resId, int elem) {
        CKpRes* r = model->pRess()->find(resId);
        return r && r->ResElems()->find(elem) ? r->ResElems()->find(elem)->GetFloat(0) : -1.0f;
    }
};

TEST_F(Sort, ByLayupPlyWithSectionNames) {
    const int flags[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    const char* seps[8] = {"|", ":", ":", ":", "/", "/", "/", "never"};
    int ids[2] = {0, 0};
    ASSERT_EQ(model->GetResultStore()->CreateResultsSortLayup(names, flags, seps, 0, ids), 0);
    EXPECT_EQ(ids[0], 4);
    EXPECT_EQ(ids[1], 7);
    CKpRes* a = model->pRess()->find(4);
    EXPECT_STREQ(a->name(3), "(Sort-Layup)");
    EXPECT_STREQ(a->name(4), "LYP|1:A:M1:0.2/90./Project/Original");
    EXPECT_STREQ(model->pRess()->find(6)->name(4), "LYP|3:C:M1:0.2/90./Project/Original");
    EXPECT_EQ(a->type(), 3);
    // Each ply's result holds its layer's records on the elements it covers.
    EXPECT_EQ(First(4, 1), 101.0f);
    EXPECT_EQ(First(4, 2), 201.0f);
    EXPECT_EQ(First(5, 2), 202.0f);
    EXPECT_EQ(First(6, 1), 103.0f);
    EXPECT_EQ(model->pRess()->find(6)->GetNumElements(), 1);

    // Numbered from the top of each stack: element 2's top layer is B.
    const int none[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    names[3] = "";
    ASSERT_EQ(model->GetResultStore()->CreateResultsSortLayup(names, none, seps, 1, ids), 0);
    EXPECT_STREQ(model->pRess()->find(7)->name(4), "");
    EXPECT_EQ(First(7, 1), 103.0f);  // A is layer 3 from the top of element 1
    EXPECT_EQ(First(8, 2), 201.0f);  // B is layer 1 from the top of element 2
}

TEST_F(Sort, NamePartsAndPadding) {
    EXPECT_EQ(GetPaddedStrInt(1, 10), "01");
    EXPECT_EQ(GetPaddedStrInt(10, 10), "10");
    EXPECT_EQ(GetPaddedStrInt(7, 100), "007");
    EXPECT_EQ(GetPaddedStrInt(7, 99), "07");
    EXPECT_EQ(GetPaddedStrInt(3, 9), "3");
    const int flags[8] = {1, 0, 0, 0, 0, 0, 0, 1};
    const char* seps[8] = {"-", "x", "x", "x", "x", "x", "x", "never"};
    CKpLypPly* lp = model->pLyp()->LypPlys().find(1);
    EXPECT_EQ(SetResultSectionName(flags, seps, "L", 1, 3, lp), "L-Original");
    lp->setSide(-1);
    EXPECT_EQ(SetResultSectionName(flags, seps, "L", 1, 3, lp), "L-Reversed");
}

TEST_F(Sort, LongTextsAreCut) {
    const std::string longName(300, 'n');
    model->pLyp()->setName(longName.c_str());
    const int flags[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    const char* seps[8] = {"-", "", "", "", "", "", "", ""};
    int ids[2] = {0, 0};
    ASSERT_EQ(model->GetResultStore()->CreateResultsSortLayup(names, flags, seps, 0, ids), 0);
    CKpRes* a = model->pRess()->find(ids[0]);
    EXPECT_EQ(std::string(a->name(4)), longName.substr(0, 255));
}

TEST_F(Sort, ByGlobalPlyAndRefusals) {
    CKpLam* lam = new CKpLam(1);
    for (int k = 0; k < 3; ++k) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(1), lyr->setT(0.2), lyr->setGplyid(101 + k);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model->pLams()->insert(lam);
    model->pElems()->find(1)->pid(1);
    int ids[2] = {0, 0};
    ASSERT_EQ(model->GetResultStore()->CreateResultsSortLaminate(names, ids), 0);
    EXPECT_EQ(ids[1] - ids[0], 3);
    EXPECT_STREQ(model->pRess()->find(ids[0])->name(3), "(Sort-GPlyID)");
    EXPECT_STREQ(model->pRess()->find(ids[0] + 2)->name(4), "Layer 103");
    EXPECT_EQ(First(ids[0] + 1, 1), 102.0f);

    // The sorted results are global layers: sorting them again is refused.
    const char* sorted[5] = {"LC", "SC", "Stress Tensor", "(Sort-GPlyID)", ""};
    EXPECT_EQ(model->GetResultStore()->CreateResultsSortLaminate(sorted, ids), 1);
    EXPECT_EQ(gui.texts(4).back(),
              "Global layer results selected - these are already sorted on the basis of global "
              "plies.");
    const char* missing[5] = {"Nothing", "", "", "", ""};
    EXPECT_EQ(model->GetResultStore()->CreateResultsSortLaminate(missing, ids), 1);
    EXPECT_EQ(gui.texts(4).back(), "No layer results exist");
}

}  // namespace
