#include "layuplib/user_break.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/RecordingGUI.h"

namespace {

// The 1-based calls of `calls` calls with `every` on which the host was
// asked. The counter is process-wide, so the run starts with another
// interval, which restarts it.
std::vector<int> pollsOf(RecordingGUI& gui, int every, int calls) {
    user_break(&gui, every + 1000);
    std::vector<int> asked;
    for (int i = 1; i <= calls; ++i) {
        const int before = gui.abortPolls;
        user_break(&gui, every);
        if (gui.abortPolls != before) asked.push_back(i);
    }
    return asked;
}

}  // namespace

TEST(user_break, AsksEveryNthCallAfterARestart) {
    RecordingGUI gui;
    EXPECT_EQ(pollsOf(gui, 10, 30), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(pollsOf(gui, 3, 7), (std::vector<int>{3, 6}));
    // A period of 1 (or 0) asks on every call after the restarting one.
    EXPECT_EQ(pollsOf(gui, 1, 4), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(pollsOf(gui, 0, 3), (std::vector<int>{2, 3}));
}

TEST(user_break, ReturnsTheHostsAnswer) {
    RecordingGUI gui;
    gui.abortAfterPolls = 1;
    user_break(&gui, 5);
    user_break(&gui, 1);  // restart: not asked
    EXPECT_EQ(user_break(&gui, 1), 0);
    EXPECT_EQ(user_break(&gui, 1), 1);
    EXPECT_EQ(gui.abortPolls, 2);
    // Without a host nothing is asked and nothing stops.
    EXPECT_EQ(user_break(nullptr, 1), 0);
}
