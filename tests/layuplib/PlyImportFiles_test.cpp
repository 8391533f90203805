// Ply import from files: bulk-data decks and saved layup files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/PlyImport.h"
#include "tests/support/DrapedModel.h"
#include "tests/support/MeshGen.h"

namespace {

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "plyimp_" + std::to_string(::getpid()) + "_" + name;
}

// Three unit CQUAD4s in a row over 3 x 1: elements 1 and 3 on a 4-layer
// laminate, 2 on a 3-layer one.
std::string Deck() {
    std::string d = "BEGIN BULK\n";
    for (int i = 0; i <= 3; ++i) {
        d += "GRID," + std::to_string(i + 1) + ",," + std::to_string(i) + ".,0.,0.\n";
        d += "GRID," + std::to_string(i + 11) + ",," + std::to_string(i) + ".,1.,0.\n";
    }
    d += "MAT8,1,1.4+11,9.+9,.3,5.+9\n";
    d += "PCOMP,10,,,,,,,\n,1,.1,0.,YES,1,.2,90.,YES\n,1,.3,45.,YES,1,.4,-45.,YES\n";
    d += "PCOMP,20,,,,,,,\n,1,.1,0.,YES,1,.2,60.,YES\n,1,.5,30.,YES\n";
    d += "CQUAD4,1,10,1,2,12,11\nCQUAD4,2,20,2,3,13,12\nCQUAD4,3,10,3,4,14,13\nENDDATA\n";
    return d;
}

std::vector<int> AllIds(CKpLayup& m) {
    std::vector<int> ids;
    for (int i = 0; i < m.pElems()->entries(); ++i) ids.push_back((*m.pElems())[i]->id());
    return ids;
}

int ImportFiles(CKpLayup& target, const std::vector<int>& area,
                const std::vector<std::string>& entries, std::vector<int>* uncovered) {
    std::vector<const char*> files;
    for (const std::string& e : entries) files.push_back(e.c_str());
    std::vector<int> out(area.size());
    int n = -1;
    const int status = ImportMultipleLayups(
        &target, static_cast<int>(area.size()), area.data(), static_cast<int>(files.size()),
        files.data(), 0.5, 5.0, 0, 0, 0, 0, 0, 0.0, uncovered ? &n : nullptr, out.data());
    if (uncovered) uncovered->assign(out.begin(), out.begin() + std::max(n, 0));
    return status;
}

int PatternSize(CKpPly* ply) {
    return ply && ply->pPat() ? ply->pPat()->PatElems()->entries() : -1;
}

}  // namespace

TEST(PlyImportFiles, BulkDataLaminatesOntoFinerMesh) {
    const std::string deck = Temp("panel.bdf");
    std::ofstream(deck) << Deck();
    // Target: 6 x 2 over the same 3 x 1 strip, plus a column beyond it.
    drapedmodel::Model dst(meshgen::Plate(meshgen::Kind::Quad4, 8, 2, 4.0, 1.0, {1, 101}));
    std::vector<int> uncovered;
    ASSERT_EQ(ImportFiles(*dst.model, AllIds(*dst.model), {deck + " -bdfwpwt skin"}, &uncovered),
              0);
    CKpPly* p1 = dst.model->pPlys()->findByName("skin.1");
    CKpPly* p2 = dst.model->pPlys()->findByName("skin.2");
    ASSERT_TRUE(p1 && p2);
    EXPECT_EQ(PatternSize(p1), 12);
    EXPECT_EQ(PatternSize(p2), 8);  // not over the 3-layer element
    // The last column (x from 3 to 4) lies beyond the deck's elements.
    std::vector<int> want;
    for (int id : AllIds(*dst.model)) {
        double mid = 0.0;
        CKpElem* e = dst.model->pElems()->find(id);
        CKpPoint c;
        e->GetMidpt(&c);
        mid = c.getx();
        if (mid > 3.0) want.push_back(id);
    }
    EXPECT_EQ(uncovered, want);

    // "-bdf" alone is refused and the file skipped; a path holding "-bdf"
    // inside a word is a layup file (which cannot be read here).
    dst.gui.messages.clear();
    ASSERT_EQ(ImportFiles(*dst.model, AllIds(*dst.model),
                          {deck + " -bdf skin", Temp("wing-bdf") + "/skin.lyp"}, nullptr),
              0);
    std::vector<std::string> errors = dst.gui.texts(4);
    auto has = [&](const std::string& t) {
        return std::find(errors.begin(), errors.end(), t) != errors.end();
    };
    EXPECT_TRUE(has("Unsupported switch: '-bdf'"));
    EXPECT_TRUE(has("Could not create plies from lams"));
    EXPECT_TRUE(has("Could not read layup file '" + Temp("wing-bdf") + "/skin.lyp'"));
    EXPECT_EQ(dst.model->pPlys()->entries(), 2);
    std::remove(deck.c_str());
}

TEST(PlyImportFiles, SavedLayupImportedTwiceAndReopened) {
    drapedmodel::Model src(meshgen::Plate(meshgen::Kind::Quad4, 4, 4, 4.0, 4.0));
    ASSERT_TRUE(src.Ply("P", 1.5, 1.5, 0.25));
    const std::string lyp = Temp("src.lyp");
    ASSERT_EQ(src.model->SaveLayup(lyp.c_str(), 1, 0), 0);

    drapedmodel::Model dst(meshgen::Plate(meshgen::Kind::Quad4, 8, 8, 4.0, 4.0, {1, 1001}));
    dst.gui.answers = {1};  // the name question of the second file
    ASSERT_EQ(ImportFiles(*dst.model, AllIds(*dst.model), {lyp, lyp}, nullptr), 0);
    CKpPly* p = dst.model->pPlys()->findByName("P");
    CKpPly* p1 = dst.model->pPlys()->findByName("P1");
    ASSERT_TRUE(p && p1);
    EXPECT_EQ(PatternSize(p), 64);
    EXPECT_EQ(std::string(p1->pPat()->pttrnnm()), "P1_pattern");

    // Saved and reopened, the target answers as before.
    const std::string saved = Temp("dst.lyp");
    ASSERT_EQ(dst.model->SaveLayup(saved.c_str(), 1, 0), 0);
    drapedmodel::Model again(meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0));
    ASSERT_EQ(again.model->OpenLayup(saved.c_str(), 0), 0);
    CKpPly* r = again.model->pPlys()->findByName("P1");
    ASSERT_TRUE(r);
    EXPECT_EQ(PatternSize(r), 64);
    EXPECT_EQ(std::string(r->pPat()->pttrnnm()), "P1_pattern");
    std::remove(lyp.c_str());
    std::remove(saved.c_str());
}
