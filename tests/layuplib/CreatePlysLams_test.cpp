#include "layuplib/CreatePlysLams.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpEventStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/IVekEvent.h"
#include "tests/support/RecordingGUI.h"

namespace {

const double kDeg = 3.14159265358979323846 / 180.0;

// Three unit CQUAD4s in a row: 1 on the 4-layer laminate 10 turned by
// THETA 30, 2 on the 3-layer laminate 20, 3 on laminate 10; `extra` adds
// cards (an element 4, say).
std::string Deck(const std::string& extra = "") {
    std::string d = "BEGIN BULK\n";
    for (int i = 0; i <= 3; ++i) {
        d += "GRID," + std::to_string(i + 1) + ",," + std::to_string(i) + ".,0.,0.\n";
        d += "GRID," + std::to_string(i + 11) + ",," + std::to_string(i) + ".,1.,0.\n";
    }
    d += "MAT8,1,1.4+11,9.+9,.3,5.+9\n";
    d += "MAT8,2,1.4+11,9.+9,.3,5.+9\n";
    d += "PCOMP,10,,,,,,,\n,1,.1,0.,YES,1,.2,90.,YES\n,2,.3,45.,YES,2,.4,-45.,YES\n";
    d += "PCOMP,20,,,,,,,\n,1,.1,0.,YES,1,.2,60.,YES\n,1,.5,30.,YES\n";
    d += "CQUAD4,1,10,1,2,12,11,30.\n";
    d += "CQUAD4,2,20,2,3,13,12\n";
    d += "CQUAD4,3,10,3,4,14,13\n";
    d += extra;
    d += "ENDDATA\n";
    return d;
}

struct BdfModel {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    int Read(const std::string& text) {
        std::string path = ::testing::TempDir() + "plylams_" + std::to_string(::getpid()) + ".bdf";
        std::ofstream(path) << text;
        int status = model->Read(static_cast<ILayup::EFormat>(2), path.c_str(), 1, 0, "");
        std::remove(path.c_str());
        return status;
    }
    CKpPly* ply(const char* name) { return model->pPlys()->findByName(name); }
};

struct Row {
    int id;
    double warpDeg, weftDeg;
};

std::vector<Row> Rows(CKpPat* pat) {
    std::vector<Row> out;
    for (CKpPatElem* pe = pat->PatElems()->First(); pe; pe = pat->PatElems()->Next(pe)) {
        EXPECT_EQ(pe->stdn(), 1);
        EXPECT_EQ(pe->dnfg(), 1);
        out.push_back({pe->GetElemId(), pe->warpAngle() / kDeg, pe->weftAngle() / kDeg});
    }
    return out;
}

void ExpectRows(const std::vector<Row>& got, const std::vector<Row>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].id, want[i].id);
        EXPECT_NEAR(got[i].warpDeg, want[i].warpDeg, 1e-6) << "element " << got[i].id;
        EXPECT_NEAR(got[i].weftDeg, want[i].weftDeg, 1e-6) << "element " << got[i].id;
    }
}

}  // namespace

TEST(CreatePlysLams, LayerPairsBecomeWovenPlies) {
    BdfModel m;
    ASSERT_EQ(m.Read(Deck()), 0);
    ASSERT_EQ(CreatePlysLams(m.model.get(), "-bdfwpwt", "skin"), 0);
    ASSERT_EQ(m.model->pPlys()->entries(), 2);
    CKpPly* p1 = m.ply("skin.1");
    CKpPly* p2 = m.ply("skin.2");
    ASSERT_TRUE(p1 && p2);
    EXPECT_EQ(std::string(p1->pPat()->pttrnnm()), "skin.1_pattern");
    EXPECT_EQ(std::string(p2->pPat()->pttrnnm()), "skin.2_pattern");
    EXPECT_EQ(p1->lyrtp(), 3);
    EXPECT_EQ(p1->pPat()->lyrtp(), 3);
    // The 3-layer laminate only has a first pair; its last layer is unused.
    ExpectRows(Rows(p1->pPat()), {{1, 30.0, 120.0}, {2, 0.0, 60.0}, {3, 0.0, 90.0}});
    ExpectRows(Rows(p2->pPat()), {{1, 75.0, -15.0}, {3, 45.0, -45.0}});
    // Seeded at the first element against its normal, reference angle its warp.
    EXPECT_NEAR(p1->pPat()->eyex(), 0.5, 1e-9);
    EXPECT_NEAR(p1->pPat()->eyey(), 0.5, 1e-9);
    EXPECT_NEAR(std::fabs(p1->pPat()->eyedz()), 1.0, 1e-9);
    EXPECT_NEAR(p1->pPat()->refang(), 30.0 * kDeg, 1e-9);
    // The materials are draped with the thickness of the first pair naming them.
    ASSERT_TRUE(p1->pMat() && p2->pMat());
    EXPECT_EQ(p1->pMat()->id(), 1);
    EXPECT_EQ(p2->pMat()->id(), 2);
    EXPECT_EQ(p1->pMat()->lyrtp(), 3);
    EXPECT_NEAR(p1->pMat()->mtrlthck(), 0.3, 1e-12);
    EXPECT_NEAR(p2->pMat()->mtrlthck(), 0.7, 1e-12);
    // Event 5 marks plies made from laminates.
    ASSERT_EQ(p1->GetEventStore()->Count(), 1);
    EXPECT_EQ(p1->GetEventStore()->Get(0)->GetType(), 5);
}

TEST(CreatePlysLams, OnlyTheFullSwitchIsAccepted) {
    BdfModel m;
    ASSERT_EQ(m.Read(Deck()), 0);
    EXPECT_EQ(CreatePlysLams(m.model.get(), "-bdf", "skin"), -1);
    EXPECT_EQ(CreatePlysLams(m.model.get(), "-bdfwpwtx", "skin"), -1);
    EXPECT_EQ(m.model->pPlys()->entries(), 0);
    EXPECT_EQ(m.model->pPats()->entries(), 0);
    std::vector<std::string> errors = m.gui.texts(4);
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors[0], "Unsupported switch: '-bdf'");
}

TEST(CreatePlysLams, MissingMaterialOnLastElementEndsConversion) {
    BdfModel m;
    // Element 4 comes last and its laminate's second layer names material 99.
    ASSERT_EQ(m.Read(Deck("PCOMP,30,,,,,,,\n,1,.1,0.,YES,99,.2,90.,YES\n"
                          "CQUAD4,4,30,1,2,12,11\n")),
              0);
    if (!m.model->pElems()->find(4)) GTEST_SKIP() << "reader dropped the element";
    ASSERT_EQ(CreatePlysLams(m.model.get(), "-bdfwpwt", "skin"), 0);
    // The first pass keeps its pattern without a ply; no further pair is made.
    EXPECT_EQ(m.model->pPlys()->entries(), 0);
    ASSERT_EQ(m.model->pPats()->entries(), 1);
    std::vector<std::string> warnings = m.gui.texts(2);
    bool named = false;
    for (const std::string& w : warnings)
        named |= w.find("laminate 30") != std::string::npos &&
                 w.find("material 99") != std::string::npos;
    EXPECT_TRUE(named);
}

// A pattern or ply store already holding the highest id (a layup file may
// give one) has no id for a pass's pattern or ply: the conversion stops
// there, the passes before it stay whole, and nothing of a wrapped id or a
// pattern without its ply is made.
TEST(CreatePlysLams, NoPatternOrPlyPastTheHighestId) {
    const int top = 2147483647;
    auto ids = [](auto* store) {
        std::vector<int> out;
        for (int i = 0; i < store->entries(); ++i) out.push_back((*store)[i]->id());
        return out;
    };
    {
        // One pattern id left: the first pass takes it, the second stops.
        BdfModel m;
        ASSERT_EQ(m.Read(Deck()), 0);
        ASSERT_EQ(m.model->pPats()->insert(new CKpPat(top - 1)), 0);
        EXPECT_EQ(CreatePlysLams(m.model.get(), "-bdfwpwt", "skin"), -1);
        EXPECT_EQ(m.gui.texts(4), (std::vector<std::string>{"Could not allocate memory."}));
        EXPECT_EQ(ids(m.model->pPats()), (std::vector<int>{top - 1, top}));
        ASSERT_EQ(ids(m.model->pPlys()), (std::vector<int>{1}));
        CKpPly* first = m.ply("skin.2147483647");
        ASSERT_TRUE(first);
        EXPECT_EQ(first->pPat()->id(), top);
        ExpectRows(Rows(first->pPat()), {{1, 30.0, 120.0}, {2, 0.0, 60.0}, {3, 0.0, 90.0}});
    }
    {
        // No ply id: not even the first pass's pattern is made.
        BdfModel m;
        ASSERT_EQ(m.Read(Deck()), 0);
        ASSERT_EQ(m.model->pPlys()->insert(new CKpPly(top)), 0);
        EXPECT_EQ(CreatePlysLams(m.model.get(), "-bdfwpwt", "skin"), -1);
        EXPECT_EQ(m.gui.texts(4), (std::vector<std::string>{"Could not allocate memory."}));
        EXPECT_EQ(m.model->pPats()->entries(), 0);
        EXPECT_EQ(ids(m.model->pPlys()), (std::vector<int>{top}));
    }
}
