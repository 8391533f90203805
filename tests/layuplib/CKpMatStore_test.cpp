#include "layuplib/CKpMatStore.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPlyStore.h"
#include "tests/support/RecordingGUI.h"

namespace {

class MatStore : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};
    CKpMatStore& mats() { return *model.pMats(); }

    CKpMat* named(int id, const char* name) {
        CKpMat* m = mats().New(id);
        if (m) m->SetName(name);
        return m;
    }
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace

TEST_F(MatStore, NewIdsLookupsAndNames) {
    CKpMat* a = named(0, "glass");  // empty store: id 1
    CKpMat* b = named(5, "carbon");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->id(), 1);
    EXPECT_EQ(mats().New(5), nullptr);  // id taken
    CKpMat* c = named(-2, "Glass");     // largest + 1
    ASSERT_TRUE(c);
    EXPECT_EQ(c->id(), 6);
    EXPECT_EQ(model.GetMaterialStore()->Get("Glass"), static_cast<IVekMaterial*>(c));
    EXPECT_EQ(mats().findByName("glass"), a);  // case-sensitive
    EXPECT_EQ(mats().findByName(nullptr), nullptr);

    // A name held by any material of the store, its own included, is refused.
    for (const char* name : {"carbon", "glass", static_cast<const char*>(nullptr)})
        EXPECT_EQ(b->SetName(name), -1) << (name ? name : "null");
    EXPECT_STREQ(b->GetName(), "carbon");
    EXPECT_EQ(b->SetName("aramid"), 0);
    // Outside a store nothing is compared.
    CKpMat loose(9);
    EXPECT_EQ(loose.SetName("glass"), 0);
}

TEST_F(MatStore, DeleteRefusedWhileUsed) {
    CKpMat* used = named(1, "used");
    CKpMat* inLam = named(2, "inLam");
    CKpMat* freeMat = named(3, "free");
    ASSERT_TRUE(used && inLam && freeMat);

    for (int id : {1, 2}) {
        CKpPly* ply = new CKpPly(id);
        ply->setMtrlid(1);
        model.pPlys()->insert(ply);
    }
    CKpLam* lam = new CKpLam(1);
    for (int mid : {3, 2, 2}) {  // one laminate, two layers of material 2
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(mid);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model.pLams()->insert(lam);
    model.pLams()->insert(new CKpLam(2));  // no layers

    EXPECT_EQ(mats().Delete(used), 4);
    EXPECT_EQ(gui.texts(4).back(),
              "Material 'used' is referenced by 2 plies and cannot be deleted.");
    EXPECT_EQ(mats().Delete(inLam), 6);
    EXPECT_EQ(gui.texts(4).back(),
              "Material 'inLam' is referenced by 1 laminates and cannot be deleted.");
    EXPECT_EQ(mats().Count(), 3);

    // Material 3 is used by a laminate as well; free the laminate first.
    EXPECT_EQ(mats().Delete(freeMat), 6);
    model.pLams()->eraseAllObjects();
    EXPECT_EQ(model.GetMaterialStore()->Delete(freeMat), 0);
    EXPECT_EQ(mats().Count(), 2);
    EXPECT_EQ(model.GetMaterialStore()->Delete(nullptr), -1);
    EXPECT_EQ(mats().Delete(static_cast<CKpMat*>(nullptr)), 1);

    // A material of another store is not this store's to delete.
    CKpMat* lamMat = model.pLamMats()->New(0);
    ASSERT_TRUE(lamMat);
    EXPECT_EQ(mats().Delete(lamMat), 1);
    EXPECT_EQ(model.pLamMats()->Count(), 1);

    // Without a model nothing can be checked.
    CKpMatStore orphan(nullptr);
    CKpMat* m = orphan.New(0);
    EXPECT_EQ(orphan.Delete(m), 2);
    EXPECT_EQ(orphan.Count(), 1);
}

TEST_F(MatStore, PaintedBecomesProjected) {
    const std::string path = ::testing::TempDir() + "plystrand_mats_painted.msg";
    ASSERT_EQ(model.pMsg()->FileOpen(path.c_str()), 0);
    CKpMat* mat = named(1, "paint");
    ASSERT_TRUE(mat);
    static_cast<IVekMaterial*>(mat)->SetType(EVekMaterialPainted);
    EXPECT_EQ(mat->GetType(), EVekMaterialProjected);
    EXPECT_EQ(mat->ConvertPaintedToProjected(), 1);
    EXPECT_EQ(mats().ConvertPaintedToProjected(), 0);  // nothing painted is ever kept
    // A material built outside the store converts silently.
    CKpMat* built = new CKpMat(2, 1, "built", 0.1, 0, 0, "", 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                               0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    mats().insert(built);
    EXPECT_EQ(built->lyrtp(), 2);
    model.pMsg()->FileClose();

    int converted = 0;
    for (const std::string& line : ReadLines(path))
        if (line.find("has been converted from 'Painted' to 'Projected' type.") !=
            std::string::npos) {
            EXPECT_NE(line.find("Material 'paint'"), std::string::npos) << line;
            ++converted;
        }
    EXPECT_EQ(converted, 1);
    EXPECT_TRUE(gui.texts(4).empty());
    std::remove(path.c_str());
}

TEST_F(MatStore, DefaultsAndDirectionalityOfAll) {
    CKpMat* a = named(3, "a");
    CKpMat* b = named(4, "b");
    ASSERT_TRUE(a && b);
    b->setExtmtrlnm("mat8.4"), b->setExtmtrlid(80);
    a->setEy(2.0);
    a->Add(0.2)->setC15(1.0);
    EXPECT_EQ(mats().SetDefaultExternalNameAndId(), 0);  // only where none is set
    EXPECT_EQ((std::vector<std::string>{a->extmtrlnm(), b->extmtrlnm()}),
              (std::vector<std::string>{"a", "mat8.4"}));
    EXPECT_EQ((std::vector<int>{a->extmtrlid(), b->extmtrlid()}), (std::vector<int>{3, 80}));

    EXPECT_EQ(mats().SetDirAuto(), 0);
    EXPECT_EQ((std::vector<int>{a->dir(), a->Get(1)->dir(), b->dir()}),
              (std::vector<int>{4, 3, 1}));
}
