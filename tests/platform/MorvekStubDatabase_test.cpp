#include <gtest/gtest.h>

#include <string>

#include "host/MorvekHost.h"
#include "platform/MorvekStub.h"
#include "tests/support/StubDatabase.h"

namespace {

// One record of every kind, in dump order.
const char* const kEvery =
    "node 1 0 0 0\n"
    "node 2 1.5 0 0\n"
    "node 3 1.5 1 0\n"
    "elem 1 3 1 2 3\n"
    "elem 2 2 1 3\n"
    "frame 4 1 1 2 3 1 0 0 0 1 0 0 0 1\n"
    "field 2 \"Theta field\" 1 12.5 2 -3\n"
    "mat 1 \"Ply\" \"a ply\" 5 4 0\n"
    "mat 2 \"Lam\" \"\" 6 5 1\n"
    "matmodel 1 1 1\n"
    "matmodel 1 4 0\n"
    "matword 1 2 135000\n"
    "matword 1 99 1.00000001e-10\n"
    "matword 2 40 2\n"
    "lam 2 -0.25 0\n"
    "lamlayer 2 1 0.125 45 7\n"
    "lamlayer 2 1 0.125 -45 0\n"
    "region 3 \"R 3\"\n"
    "word 3 13 5 2 0 0 0 0 0\n"
    "word 3 20 1 0 30 0 0 0 0\n"
    "member 3 1 2\n"
    "loadcase 1 \"LC\" \"desc\"\n"
    "subcase 1 1 \"SC\" \"A1:Static\"\n"
    "layer 1 \"Layer 1\" 0\n"
    "layer 2 \"\" 2\n"
    "result 1 1 \"Stress\" \"Vec\" 2 \"STATIC\"\n"
    "value 1 1 \"Stress\" \"Vec\" 1 C 1 1 2 3\n"
    "value 1 1 \"Stress\" \"Vec\" 2 N 2 1 2 3 4 5 6\n";

class MorvekStubDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override { MorvekStubReset(); }
    void TearDown() override { MorvekStubReset(); }
    StubDatabase stub{"stubdbtest"};
};

}  // namespace

TEST_F(MorvekStubDatabaseTest, EveryRecordLoadsAndDumpsAsWritten) {
    ASSERT_EQ(stub.load(kEvery), 0);
    EXPECT_EQ(stub.dump(), kEvery);
    // The dump loads into an empty database as the same database.
    const std::string first = stub.dump();
    MorvekStubReset();
    ASSERT_EQ(stub.load(first), 0);
    EXPECT_EQ(stub.dump(), first);
    // Records out of order come back in dump order; trailing blanks of a
    // layer label go.
    MorvekStubReset();
    ASSERT_EQ(stub.load("layer 5 \"b  \" 1\n# comment\n\nlayer 3 \"a\" 0\nnode 9 0 0 0\n"), 0);
    EXPECT_EQ(stub.dump(), "node 9 0 0 0\nlayer 3 \"a\" 0\nlayer 5 \"b\" 1\n");
    // NUL bytes and carriage returns in texts become blanks, so that the
    // dump loads again and dumps the same.
    MorvekStubReset();
    const std::string odd("mat 4 \"a\0b\r\" \"\0\" 1 1 0\nlayer 2 \"L\0\0x\0\" 1\n", 41);
    ASSERT_EQ(stub.load(odd), 0);
    const std::string cleaned = "mat 4 \"a b \" \" \" 1 1 0\nlayer 2 \"L  x\" 1\n";
    EXPECT_EQ(stub.dump(), cleaned);
    MorvekStubReset();
    ASSERT_EQ(stub.load(cleaned), 0);
    EXPECT_EQ(stub.dump(), cleaned);
}

TEST_F(MorvekStubDatabaseTest, BadFixturesChangeNothing) {
    ASSERT_EQ(stub.load(kEvery), 0);
    const std::string before = stub.dump();
    for (const char* bad : {
             "mat 7 \"unclosed \"\" 1 1 0\n",
             "mat 7 \"X\" \"\" 1 1\n",
             "matword 9 2 1\n",                               // unknown material
             "mat 7 \"X\" \"\" 1 1 0\nlamlayer 7 1 1 0 0\n",  // before its lam
             "region 3 \"again\"\n",                          // id taken
             "member 3 99\n",                                 // unknown element
             "word 8 13 5 2 0 0 0 0 0\n",                     // unknown region
             "subcase 5 1 \"S\" \"\"\n",                      // unknown load case
             "result 1 1 \"P\" \"S\" 4 \"\"\n",               // type 4
             "value 1 1 \"Stress\" \"Vec\" 1 C 1 1 2\n",      // not a whole point
             "value 1 1 \"Stress\" \"Vec\" 1 X 1 1 2 3\n",    // location
             "value 1 1 \"Stress\" \"Vec\" 9 C 1 1 2 3\n",    // unknown layer
             "field 3 \"F\" 1\n",                             // a lone element id
             "frame 5 1 0 0 0\n",
             "\"node\" 5 0 0 0\n",
             "lamina 1\n",
         }) {
        EXPECT_EQ(stub.load(std::string("node 50 0 0 0\n") + bad), -1) << bad;
        EXPECT_EQ(stub.dump(), before) << bad;
    }
}

TEST_F(MorvekStubDatabaseTest, HostFunctionsCountCallsAndKeepIds) {
    ASSERT_EQ(stub.load(kEvery), 0);
    float origin[3] = {0, 0, 0}, axes[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    int id = 9, out = 0;
    EXPECT_EQ(DbFCreateCoordinateFrame(&id, 1, origin, axes, &out), 0);
    EXPECT_EQ(id, 9);  // free: kept
    id = 4;
    EXPECT_EQ(DbFCreateCoordinateFrame(&id, 1, origin, axes, &out), 0);
    EXPECT_EQ(id, 10);  // taken: the next one
    EXPECT_EQ(DbFCreatePhysPropRegion(3, "again", 51, 25, 35, 1, 3, 20), 1);
    EXPECT_EQ(DbFAssociateElementToRegion(99, 3), 1);
    EXPECT_EQ(DbFAssociateElementToRegion(1, 8), 1);
    char name[32];
    int o[10] = {0};
    EXPECT_EQ(DbFGetRegionDefinition(3, name, &o[0], &o[1], &o[2], &o[3], &o[4], &o[5], &o[6],
                                     &o[7], &o[8], &o[9]),
              0);
    EXPECT_STREQ(name, "R 3");
    EXPECT_EQ(o[5], 3);  // kind: a laminate material on word 13
    EXPECT_EQ(o[7], 2);
    char title[256];
    EXPECT_EQ(DbGetSubcaseTitle(1, 1, title), 0);
    EXPECT_STREQ(title, "A1:Static");
    EXPECT_EQ(DbGetSubcaseTitle(1, 2, title), -1);

    EXPECT_EQ(MorvekStubCallCount("DbFCreateCoordinateFrame"), 2);
    EXPECT_EQ(MorvekStubCallCount("DbFAssociateElementToRegion"), 2);
    EXPECT_EQ(MorvekStubCallCount("DbFCountProps"), 0);
    MorvekStubFail("DbGetSubcaseTitle", 42);
    EXPECT_EQ(DbGetSubcaseTitle(1, 1, title), 42);
    EXPECT_EQ(MorvekStubCallCount("DbGetSubcaseTitle"), 3);
    MorvekStubReset();
    EXPECT_EQ(MorvekStubCallCount("DbGetSubcaseTitle"), 0);
}
