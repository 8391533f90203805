// The model of every kind of object (tests/support/LypTestModel.h) saved,
// opened into a fresh model and saved again: the files are byte-identical
// and the reopened model answers as the original.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/LypTestModel.h"
#include "tests/support/RecordingGUI.h"

namespace {

class LypRoundTrip : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    // One file per test and process: ctest runs tests side by side, and
    // other build folders may run the same test at the same time.
    std::string path = ::testing::TempDir() + "lyp_roundtrip_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                       std::to_string(getpid()) + ".lyp";
    std::string longName = "Ply one " + std::string(2000, 'n') + " end";

    void SetUp() override { lyptest::Build(*model, longName); }
    void TearDown() override {
        std::remove(path.c_str());
        std::remove((path + ".gz").c_str());
    }
    std::string Saved(CKpLayup& from, int detail = 0) {
        EXPECT_EQ(from.SaveLayup(path.c_str(), detail, 0), 0);
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
};

TEST_F(LypRoundTrip, SaveOpenSaveIsByteIdenticalPlainGzipAndFromDetailOne) {
    const std::string original = Saved(*model);
    ASSERT_NE(original.find("\n902 -20 22\n"), std::string::npos);
    const std::string packed = path + ".gz";
    ASSERT_EQ(model->SaveLayup(packed.c_str(), 0, 9), 0);
    for (int variant = 0; variant < 3; ++variant) {
        SCOPED_TRACE(variant);
        if (variant == 2) Saved(*model, 1);  // the derived records are not read back
        CKpLayup reopened(nullptr, &gui);
        ASSERT_EQ(reopened.OpenLayup(variant == 1 ? packed.c_str() : path.c_str(), variant == 1),
                  0);
        EXPECT_EQ(Saved(reopened), original);  // 001 names the path of this save
    }
}

TEST_F(LypRoundTrip, ReopenedModelAnswersAsTheOriginal) {
    Saved(*model);
    CKpLayup copy(nullptr, &gui);
    ASSERT_EQ(copy.OpenLayup(path.c_str(), 0), 0);
    for (CKpLayup* m : {model.get(), &copy}) {
        SCOPED_TRACE(m == &copy ? "reopened" : "original");
        EXPECT_NEAR(m->pView()->xfm(0, 2), std::sin(0.1), 1e-8);
        EXPECT_EQ(m->pElems()->find(1)->pAnsys()->Get(7), 8);
        EXPECT_DOUBLE_EQ(m->pElems()->find(6)->theta(), 0.2);
        EXPECT_DOUBLE_EQ(m->pElems()->find(3)->getangtol(), 0.2);
        CKpMat* woven = m->pMats()->find(1);
        ASSERT_NE(woven, nullptr);
        EXPECT_EQ(woven->Count(), 3);
        EXPECT_EQ(woven->GetBasis(), 2);
        EXPECT_DOUBLE_EQ(woven->Get(2)->GetEx(), 56000.0);
        CKpPly* ply = m->pPlys()->find(1);
        ASSERT_TRUE(ply && ply->pPat());
        EXPECT_EQ(std::string(ply->GetName()), longName);
        EXPECT_EQ(ply->GetNumElements(), 8);
        EXPECT_STREQ(ply->pPat()->axsdn(), "Bias 45");
        EXPECT_STREQ(ply->pPat()->originName(), "Global origin");
        std::vector<std::vector<int>> curves(2);
        for (int i = 0; i < 2; ++i)
            for (const CKpElemEdge* e = ply->pPat()->SeedCurve(i)->First(); e;
                 e = ply->pPat()->SeedCurve(i)->Next(e))
                curves[i].insert(curves[i].end(), {e->Elem(), e->Edge()});
        EXPECT_EQ(curves[0],
                  (std::vector<int>{lyptest::kSeedCurve0[0][0], lyptest::kSeedCurve0[0][1],
                                    lyptest::kSeedCurve0[1][0], lyptest::kSeedCurve0[1][1]}));
        EXPECT_EQ(curves[1], (std::vector<int>{lyptest::kSeedCurve1[0], lyptest::kSeedCurve1[1]}));
        CKpLyp* lyp = m->pLyp();
        EXPECT_STREQ(lyp->GetName(), "Main layup");
        ASSERT_EQ(lyp->GetNumLayupPlyIDs(), 4);
        EXPECT_EQ(std::string(lyp->LypPlys().find(3)->GetName()), longName + "_2");
        int count = 0, elemIds[8], layers[8], dirs[8];
        EXPECT_EQ(lyp->GetLayupPlyLayers(0, 3, 8, count, elemIds, layers, dirs), 0);
        EXPECT_EQ(count, 8);
        EXPECT_STREQ(m->pOffs()->find(1)->originName(), "Off origin");
        std::vector<int> ids(lyptest::kSetIds.size());
        ASSERT_NE(m->pSets()->find(5), nullptr);
        EXPECT_EQ(m->pSets()->find(5)->GetIds(static_cast<int>(ids.size()), ids.data()), 0);
        EXPECT_EQ(ids, lyptest::kSetIds);
        EXPECT_STREQ(m->pOrients()->find(1)->name(), "By frame x");
    }
}

}  // namespace
