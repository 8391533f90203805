#include "platform/MorvekStub.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

class MorvekStubTest : public ::testing::Test {
  protected:
    void SetUp() override { MorvekStubReset(); }
    void TearDown() override {
        MorvekStubReset();
        if (!path.empty()) std::remove(path.c_str());
    }
    // Writes `text` into a fixture file and returns its path.
    const char* fixture(const std::string& text) {
        path = ::testing::TempDir() + "stubdb_" + std::to_string(::getpid()) + ".txt";
        std::ofstream(path) << text;
        return path.c_str();
    }
    static std::vector<int> elem(int id, int* topology = nullptr) {
        int t = 0;
        std::vector<int> ids(8, -1);
        if (MorvekStubGetElem(id, &t, ids.data()) != 0) return {};
        if (topology) *topology = t;
        return ids;
    }
    std::string path;
};

}  // namespace

TEST_F(MorvekStubTest, LoadsFixturesWholeOrNotAtAll) {
    ASSERT_EQ(MorvekStubLoadDatabase(fixture("# a bar, a quad8 and a brick\n"
                                             "node 1 0 0 0\n"
                                             "\n"
                                             "node 2 1.5 -2 3e2\n"
                                             "elem 10 2 1 2\n"
                                             "elem 11 8  1 2 3 4 5 6 7 8\n"
                                             "elem 12 28 1 2 3 4 5 6 7 8\n")),
              0);
    EXPECT_EQ(morvekstub::NodeCount(), 2);
    EXPECT_EQ(morvekstub::ElemCount(), 3);
    float xyz[3];
    ASSERT_EQ(MorvekStubGetNode(2, xyz), 0);
    EXPECT_EQ(xyz[0], 1.5f);
    EXPECT_EQ(xyz[1], -2.0f);
    EXPECT_EQ(xyz[2], 300.0f);
    int topology = 0;
    EXPECT_EQ(elem(10, &topology), (std::vector<int>{1, 2, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(topology, 2);
    EXPECT_EQ(elem(11), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(MorvekStubGetNode(3, xyz), -1);
    EXPECT_TRUE(elem(13).empty());

    // Bad files change nothing.
    for (const char* bad : {"node 5 1 2\n", "node 5 1 2 x\n", "elem 20 4\n", "elem 20 4 1 2.5\n",
                            "face 1 2 3\n", "node 6 0 0 0\nnode 6 1 1 1\n", "elem 11 3 1 2 3\n"}) {
        EXPECT_EQ(MorvekStubLoadDatabase(fixture(std::string("node 7 0 0 0\n") + bad)), -1) << bad;
        EXPECT_EQ(morvekstub::NodeCount(), 2) << bad;
        EXPECT_EQ(morvekstub::ElemCount(), 3) << bad;
    }
    EXPECT_EQ(MorvekStubLoadDatabase("/nonexistent/db.txt"), -1);
    // Ids far from the usual range are held too.
    for (int id : {-5, 0, 2000000000}) {
        ASSERT_EQ(MorvekStubAddNode(id, 1.0f * id, 0, 0), 0) << id;
        ASSERT_EQ(MorvekStubGetNode(id, xyz), 0) << id;
        EXPECT_EQ(xyz[0], 1.0f * id);
        EXPECT_EQ(MorvekStubAddNode(id, 0, 0, 0), -1) << id;
    }
    EXPECT_EQ(MorvekStubGetNode(-6, xyz), -1);
    EXPECT_EQ(MorvekStubAddNode(1, 0, 0, 0), -1);
    const int row[2] = {1, 2};
    EXPECT_EQ(MorvekStubAddElem(10, 2, 2, row), -1);
    EXPECT_EQ(MorvekStubAddElem(30, 2, 0, row), -1);
}

TEST_F(MorvekStubTest, CreateFunctionsReadOnlyTheTopologysSlotsAndRefuseDuplicates) {
    float xyz[6] = {0, 0, 0, 1, 1, 1};
    int nodeIds[2] = {1, 2}, dup[2] = {3, 3}, out = -1;
    EXPECT_EQ(DbFCreateNodes(2, nullptr, nullptr, xyz, 0, nodeIds, &out), 0);
    EXPECT_EQ(DbFCreateNodes(2, nullptr, nullptr, xyz, 0, dup, &out), 1);
    EXPECT_EQ(DbFCreateNodes(-1, nullptr, nullptr, xyz, 0, nodeIds, &out), 2);
    EXPECT_EQ(morvekstub::NodeCount(), 2);

    // Rows 8 wide; the triangle's slots past 3 hold junk the host must not read.
    int topologies[2] = {3, 8}, ids[2] = {5, 6};
    int rows[16] = {1, 2, 3, 99, 99, 99, 99, 99, 1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(DbFCreateElems(2, 8, topologies, nullptr, nullptr, rows, 0, ids, &out), 0);
    EXPECT_EQ(elem(5), (std::vector<int>{1, 2, 3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(elem(6), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    // A repeated id, in the database or within the call: nothing is created.
    int again[2] = {7, 5};
    EXPECT_EQ(DbFCreateElems(2, 8, topologies, nullptr, nullptr, rows, 0, again, &out), 1);
    int twice[2] = {8, 8};
    EXPECT_EQ(DbFCreateElems(2, 8, topologies, nullptr, nullptr, rows, 0, twice, &out), 1);
    // A row narrower than its element.
    int fresh[2] = {9, 10};
    EXPECT_EQ(DbFCreateElems(2, 4, topologies, nullptr, nullptr, rows, 0, fresh, &out), 2);
    EXPECT_EQ(morvekstub::ElemCount(), 2);
}

TEST_F(MorvekStubTest, NameGetterFailuresAndReset) {
    char name[16] = "x";
    EXPECT_EQ(DbNameGet(15, name), 0);
    EXPECT_STREQ(name, "");
    MorvekStubOpenDatabase("a-rather-long-name.db");
    EXPECT_EQ(DbNameGet(6, name), 0);
    EXPECT_STREQ(name, "a-rath");

    MorvekHostTable table = nullptr;
    EXPECT_EQ(MorvekStubGetter(8, 6, &table), 0);
    EXPECT_NE(table, nullptr);
    EXPECT_EQ(MorvekStubGetter(8, 7, &table), 1);
    EXPECT_EQ(MorvekStubGetter(7, 3, &table), 1);
    EXPECT_EQ(MorvekStubGetter(8, 3, nullptr), 2);
    MorvekStubFail("MorvekStubGetter", 9);
    MorvekStubFail("MorvekStubGetter", 4);
    EXPECT_EQ(MorvekStubGetter(8, 3, &table), 9);  // queued failures in order
    EXPECT_EQ(MorvekStubGetter(8, 3, &table), 4);
    EXPECT_EQ(MorvekStubGetter(8, 3, &table), 0);

    // Graphics handles are never handed out twice, not even after a reset.
    int first = 0, second = 0;
    ASSERT_EQ(MorvekStubGetter(8, 6, &table), 0);
    const auto newHandle = reinterpret_cast<MorvekGraNewHandle>(table[1]);
    newHandle(&first);
    MorvekStubFail("DbNameGet", 3);
    MorvekStubAnswer(5);
    MorvekStubReset();
    newHandle(&second);
    EXPECT_GT(second, first);
    EXPECT_EQ(morvekstub::CreatedHandles(), std::vector<int>{second});
    EXPECT_EQ(DbNameGet(15, name), 0);  // the queued failure is gone
    EXPECT_STREQ(name, "");             // and so is the database
}
