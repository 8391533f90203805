#include "host/LayupOut.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/MorvekStub.h"

namespace {

using morvekstub::Drawing;

// The tables are taken once per process, so their protocol runs in a fresh
// child process: the getter below logs "tableId" per call, fails where the
// script says and otherwise hands out the stand-in's tables.
std::vector<int> g_failAt;  // table id per attempt at which to fail (0: none)
std::string g_log;

int loggingGetter(int version, int tableId, MorvekHostTable* slot) {
    g_log += std::to_string(version) + "." + std::to_string(tableId) + " ";
    if (!g_failAt.empty() && g_failAt.front() == tableId) return 40 + tableId;
    return MorvekStubGetter(version, tableId, slot);
}

// Runs in the child: prints one line per step and exits.
void runInitProtocol() {
    std::string out;
    // Without tables nothing reaches the host.
    float p[3] = {1, 2, 3};
    int count = 99;
    out += "before: draw " + std::to_string(LayupOutGraDrawLine(0, 0, 1, 0, p, p)) + " msg " +
           std::to_string(LayupOutMessage(1, 4, "x")) + " abort " +
           std::to_string(LayupOutUiAbort()) + " count " +
           std::to_string(LayupOutCountElems(&count)) + " delete " +
           std::to_string(LayupOutGraDeleteSegment(3)) + " recorded " +
           std::to_string(morvekstub::Drawings().size() + morvekstub::Messages().size() +
                          morvekstub::Refreshes()) +
           "\n";
    for (int failAt : {3, 6, 12, 13, 0, 0}) {
        g_failAt = {failAt};
        g_log.clear();
        const int status = VekApiInit(&loggingGetter);
        out += "init " + std::to_string(status) + ": " + g_log + "| count " +
               std::to_string(LayupOutCountElems(&count)) + "\n";
    }
    std::fputs(out.c_str(), stderr);
    std::exit(0);
}

class LayupOutTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        // The handle map and the draw counter live for the process: start
        // from known segments and a zero counter.
        for (int segment : {0, 1, 2, 25, 503, 801, 5000, -7}) LayupOutGraDeleteSegment(segment);
        MorvekStubReset();
    }
    void TearDown() override { MorvekStubReset(); }
};

std::vector<Drawing> linesOf(int handle) {
    std::vector<Drawing> lines;
    for (const Drawing& d : morvekstub::Drawings())
        if (d.kind == Drawing::Line && d.handle == handle) lines.push_back(d);
    return lines;
}

}  // namespace

TEST(VekApiInit, FetchesTablesInOrderRetriesAfterFailureAndLatchesOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process: no tables yet
    EXPECT_EXIT(runInitProtocol(), ::testing::ExitedWithCode(0),
                "before: draw 0 msg 0 abort 0 count -1 delete 0 recorded 0\n"
                "init 43: 8.3 \\| count -1\n"
                "init 46: 8.3 8.6 \\| count -1\n"
                "init 52: 8.3 8.6 8.12 \\| count -1\n"
                "init 53: 8.3 8.6 8.12 8.13 \\| count -1\n"
                "init 0: 8.3 8.6 8.12 8.13 \\| count 0\n"
                "init 0: \\| count 0\n");
}

TEST(LayupOutCLUT, MapsEveryRowOfTheTable) {
    const std::vector<std::pair<std::vector<int>, int>> rows = {{{0}, 0},
                                                                {{1, 9}, 4},
                                                                {{2, 10}, 2},
                                                                {{3, 11}, 6},
                                                                {{4, 12}, 1},
                                                                {{5, 13}, 5},
                                                                {{6, 14}, 3},
                                                                {{8, 101}, 8},
                                                                {{100}, 12},
                                                                {{102}, 15},
                                                                {{103}, 13},
                                                                {{104}, 9},
                                                                {{105}, 14},
                                                                {{-3}, 3},
                                                                {{-1000}, 1000},
                                                                {{7, 15, 16, 99, 106, 1 << 30}, 7},
                                                                {{-2147483647 - 1}, 7}};
    for (const auto& row : rows)
        for (int colour : row.first) EXPECT_EQ(LayupOutCLUT(colour), row.second) << colour;
}

TEST_F(LayupOutTest, OneHandlePerSegmentAndPolygonLines) {
    float tri[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    // Three points: three lines, the last closing the polygon.
    EXPECT_EQ(LayupOutGraDrawPolygon(25, 7, 2, 3.0f, 3, tri), 0);
    ASSERT_EQ(morvekstub::CreatedHandles().size(), 1u);
    const int h25 = morvekstub::CreatedHandles()[0];
    const std::vector<Drawing> lines = linesOf(h25);
    ASSERT_EQ(lines.size(), 3u);
    const float expected[3][6] = {{0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 1, 0}, {0, 1, 0, 0, 0, 0}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(lines[k].colour, 2);  // library colour 2 is host index 2
        for (int c = 0; c < 6; ++c) EXPECT_EQ(lines[k].points[c], expected[k][c]) << k << " " << c;
    }
    // Two points: one line, no closing line; one point: none. Same handle.
    EXPECT_EQ(LayupOutGraDrawPolygon(25, 0, 1, 1.0f, 2, tri), 0);
    EXPECT_EQ(LayupOutGraDrawPolygon(25, 0, 1, 1.0f, 1, tri), 0);
    EXPECT_EQ(linesOf(h25).size(), 4u);
    EXPECT_EQ(linesOf(h25).back().colour, 4);
    EXPECT_EQ(morvekstub::CreatedHandles().size(), 1u);

    // Segments 0, 503, 801 and 5000 get handles of their own; deleting one
    // leaves the others.
    float a[3] = {1, 1, 1}, b[3] = {2, 2, 2};
    for (int segment : {0, 503, 801, 5000}) LayupOutGraDrawLine(segment, 0, 3, 1.0f, a, b);
    ASSERT_EQ(morvekstub::CreatedHandles().size(), 5u);
    const int h503 = morvekstub::CreatedHandles()[2];
    EXPECT_EQ(LayupOutGraDeleteSegment(503), 0);
    EXPECT_EQ(morvekstub::DeletedHandles(), std::vector<int>{h503});
    for (int segment : {25, 0, 801, 5000, 503}) LayupOutGraDrawLine(segment, 0, 3, 1.0f, a, b);
    // Only the deleted segment needs a new handle.
    ASSERT_EQ(morvekstub::CreatedHandles().size(), 6u);
    EXPECT_EQ(linesOf(h25).size(), 5u);
    EXPECT_EQ(linesOf(morvekstub::CreatedHandles()[5]).size(), 1u);
    // Deleting a segment that never drew still refreshes, deletes nothing.
    const int refreshes = morvekstub::Refreshes();
    EXPECT_EQ(LayupOutGraDeleteSegment(2), 0);
    EXPECT_EQ(morvekstub::Refreshes(), refreshes + 1);
    EXPECT_EQ(morvekstub::DeletedHandles().size(), 1u);
}

TEST_F(LayupOutTest, RefreshesEvery201DrawingCallsAndAtDeletion) {
    float p[3] = {0, 0, 0};
    float poly[6] = {0, 0, 0, 1, 1, 1};
    // Every kind of drawing counts once (a polygon once for all its lines).
    for (int k = 0; k < 200; ++k) {
        switch (k % 5) {
            case 0:
                LayupOutGraDrawLine(1, 0, 1, 1.0f, p, p);
                break;
            case 1:
                LayupOutGraDrawMarker(1, 0, 1, 1.0f, p, 1, 5);
                break;
            case 2:
                LayupOutGraDrawArrow(1, 0, 1, 1.0f, p, p, 2.0f);
                break;
            case 3:
                LayupOutGraDrawResultArrow(1, 0, 1, 1.0f, p, p, 1.0f, 3, "L");
                break;
            default:
                LayupOutGraDrawPolygon(1, 0, 1, 1.0f, 2, poly);
                break;
        }
    }
    EXPECT_EQ(morvekstub::Refreshes(), 0);
    LayupOutGraDrawLine(1, 0, 1, 1.0f, p, p);
    EXPECT_EQ(morvekstub::Refreshes(), 1);
    for (int k = 0; k < 150; ++k) LayupOutGraDrawLine(1, 0, 1, 1.0f, p, p);
    LayupOutGraDeleteSegment(1);  // refreshes and starts the count again
    EXPECT_EQ(morvekstub::Refreshes(), 2);
    for (int k = 0; k < 200; ++k) LayupOutGraDrawLine(2, 0, 1, 1.0f, p, p);
    EXPECT_EQ(morvekstub::Refreshes(), 2);
    LayupOutGraDrawLine(2, 0, 1, 1.0f, p, p);
    EXPECT_EQ(morvekstub::Refreshes(), 3);
    // Colour setting is not a drawing.
    EXPECT_EQ(LayupOutGraSetColor(3), -1);
}

TEST_F(LayupOutTest, MarkersAndArrowsReachTheHostWithMappedColours) {
    float base[3] = {1, 2, 3}, tip[3] = {4, 5, 6};
    LayupOutGraDrawMarker(801, 9, 100, 2.0f, base, 1, 5);
    LayupOutGraDrawArrow(801, 9, 103, 2.0f, base, tip, 0.25f);
    LayupOutGraDrawResultArrow(801, 9, -11, 2.0f, base, tip, 1.5f, 4, "max");
    const std::vector<Drawing>& d = morvekstub::Drawings();
    ASSERT_EQ(d.size(), 3u);
    const int handle = morvekstub::CreatedHandles().at(0);
    EXPECT_EQ(d[0].kind, Drawing::Marker);
    EXPECT_EQ(d[0].colour, 12);
    EXPECT_EQ(d[0].ints[0], 1);
    EXPECT_EQ(d[0].ints[1], 5);
    EXPECT_EQ(d[0].points[2], 3.0f);
    EXPECT_EQ(d[1].kind, Drawing::Arrow);
    EXPECT_EQ(d[1].colour, 13);
    EXPECT_EQ(d[1].size, 0.25f);
    EXPECT_EQ(d[1].points[3], 4.0f);
    EXPECT_EQ(d[2].kind, Drawing::ResultArrow);
    EXPECT_EQ(d[2].colour, 11);
    EXPECT_EQ(d[2].size, 1.5f);
    EXPECT_EQ(d[2].ints[0], 4);
    EXPECT_EQ(d[2].ints[1], 1);
    EXPECT_EQ(d[2].label, "max");
    for (const Drawing& x : d) EXPECT_EQ(x.handle, handle);
}

TEST_F(LayupOutTest, MessagesCarryCodeBaseAndTextAndReturnTheAnswer) {
    MorvekStubAnswer(7);
    EXPECT_EQ(LayupOutMessage(1, 4, "It failed"), 0);  // an error is no question
    EXPECT_EQ(LayupOutMessage(100005, 1029, "Go on?"), 7);
    EXPECT_EQ(LayupOutMessage(100005, 1029, "Again?"), 0);  // queue empty
    const auto& m = morvekstub::Messages();
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].code, 59200001);
    EXPECT_EQ(m[0].severity, 4);
    EXPECT_EQ(m[0].base, 59000000);
    EXPECT_EQ(m[0].text, "It failed");
    EXPECT_EQ(m[1].code, 59300005);
    EXPECT_EQ(m[1].severity, 1029);
    EXPECT_EQ(m[1].text, "Go on?");
}

TEST_F(LayupOutTest, UiAbortFollowsThePolls) {
    // message entry 1 answers nonzero: 0 (the stand-in's default)
    EXPECT_EQ(LayupOutUiAbort(), 0);
    // entry 1 zero, entry 0 nonzero: -1
    MorvekStubFail("message.1", 0);
    MorvekStubFail("message.0", 2);
    EXPECT_EQ(LayupOutUiAbort(), -1);
    // both zero, interface entry 3 nonzero: 0
    MorvekStubFail("message.1", 0);
    MorvekStubFail("message.0", 0);
    MorvekStubFail("interface.3", 1);
    EXPECT_EQ(LayupOutUiAbort(), 0);
    // all zero: -1
    MorvekStubFail("message.1", 0);
    MorvekStubFail("message.0", 0);
    MorvekStubFail("interface.3", 0);
    EXPECT_EQ(LayupOutUiAbort(), -1);
    // A stop request of the stand-in.
    MorvekStubRequestAbort(1);
    EXPECT_EQ(LayupOutUiAbort(), -1);
    MorvekStubRequestAbort(0);
    EXPECT_EQ(LayupOutUiAbort(), 0);
}
