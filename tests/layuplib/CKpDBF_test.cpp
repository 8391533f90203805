#include "layuplib/CKpDBF.h"

#include <gtest/gtest.h>

#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"

namespace {

// The smallest concrete parser.
class NullParser : public CKpDBF {
  public:
    int Read() override { return 0; }
    int Write() override { return -1; }
};

TEST(CKpDBF, StartsEmptyAndTakesEveryStoreOfTheModel) {
    NullParser parser;
    EXPECT_STREQ(parser.name(), "");
    EXPECT_EQ(parser.type(), 0);
    EXPECT_EQ(parser.pRess(), nullptr);
    EXPECT_EQ(parser.pOrients(), nullptr);

    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    parser.SetStores(&model);
    EXPECT_EQ(parser.pMsg(), model.pMsg());
    EXPECT_EQ(parser.pAnsys(), model.pAnsys());
    EXPECT_EQ(parser.pNodes(), model.pNodes());
    EXPECT_EQ(parser.pElems(), model.pElems());
    EXPECT_EQ(parser.pFacs(), model.pFacs());
    EXPECT_EQ(parser.pMats(), model.pMats());
    EXPECT_EQ(parser.pLams(), model.pLams());
    EXPECT_EQ(parser.pOrients(), model.pOrients());
    EXPECT_EQ(parser.pCoords(), model.pCoords());
    ASSERT_NE(parser.pRess(), nullptr);
    EXPECT_EQ(parser.pRess(), model.pRess());

    parser.SetName("deck.bdf");
    parser.SetFlags(1, 6);
    parser.SetType(CKpDBF::eBinary);
    EXPECT_STREQ(parser.name(), "deck.bdf");
    EXPECT_EQ(parser.modelFlags(), 1);
    EXPECT_EQ(parser.resultFlags(), 6);
    EXPECT_EQ(parser.type(), 2);
}

}  // namespace
