#include "layuplib/CKpMsg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpMsgLineStore.h"
#include "layuplib/fortreal.h"
#include "tests/support/RecordingGUI.h"

namespace {

// A message file in the test's working directory, removed afterwards.
class MessageFile {
  public:
    explicit MessageFile(const std::string& name) : m_path("CKpMsg_test_" + name + ".msg") {}
    ~MessageFile() { std::remove(m_path.c_str()); }
    const char* path() const { return m_path.c_str(); }
    std::vector<std::string> lines() const {
        std::ifstream in(m_path);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }

  private:
    std::string m_path;
};

const char kHeader[] = "$# Layup Lib 20081110 API 20081003 File 20081003";

// Takes every line out of the log's store as "level:text".
std::vector<std::string> Drain(CKpMsg& log) {
    std::vector<std::string> out;
    char text[256];
    int level = 0;
    while (log.GetFirstMessageInStore(0.0, &level, text, sizeof(text)) == 0)
        out.push_back(std::to_string(level) + ":" + text);
    return out;
}

}  // namespace

TEST(CKpMsg, FileLinesAndRepeatFolding) {
    MessageFile file("fold");
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);
    ASSERT_EQ(log.FileOpen(file.path()), 0);
    for (int i = 0; i < 3; ++i) log.Create(2, "%s", "A");
    log.Create(1, "B");
    log.Create(2, "A");
    log.Create(4, "A");
    log.Create(4, "C %d", 7);
    log.Create(4, "C %d", 7);
    log.Create(2, "D");
    EXPECT_EQ(log.FileClose(), 0);

    EXPECT_EQ(
        file.lines(),
        (std::vector<std::string>{
            kHeader, "$# Message file opened", "$# WARNING: A", "$# (...repeated 3 times...)",
            "$# B", "$# WARNING: A", "$# ERROR: A", "$# ERROR: C 7",
            "$# WARNING: (...repeated 2 times...)", "$# WARNING: D", "$# Close message file"}));
    // Information stays out of the store and away from the host; a notice of
    // warning severity goes to both.
    EXPECT_EQ(Drain(log), (std::vector<std::string>{"2:A", "2:A", "4:A", "4:C 7",
                                                    "2:(...repeated 2 times...)", "2:D"}));
    ASSERT_EQ(gui.messages.size(), 6u);
    EXPECT_EQ(gui.messages[0].channel, 1);
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"A", "C 7"}));
    EXPECT_EQ(gui.texts(2).back(), "D");
}

// Messages held while work runs elsewhere reach nothing until they are
// issued, and then fold with what came before exactly as if issued directly.
TEST(CKpMsg, HeldMessagesIssuedLaterAreTheDirectLog) {
    auto issue = [](CKpMsg& log) {
        log.Create(2, "A");
        log.Create(2, "A");
        log.Create(1, "B %d", 3);
        log.Create(4, "C");
        log.Create(4, "C");
        log.Create(4, "C");
    };
    MessageFile direct("direct");
    MessageFile replayed("replayed");
    RecordingGUI directGui;
    RecordingGUI replayedGui;
    CKpMsg a;
    CKpMsg b;
    a.SetGUI(&directGui);
    b.SetGUI(&replayedGui);
    ASSERT_EQ(a.FileOpen(direct.path()), 0);
    ASSERT_EQ(b.FileOpen(replayed.path()), 0);
    a.Create(2, "A");
    b.Create(2, "A");
    issue(a);

    std::vector<std::pair<int, std::string>> held;
    CKpMsg elsewhere;
    elsewhere.HoldMessages(&held);
    issue(elsewhere);
    EXPECT_EQ(held.size(), 6u);  // unfolded
    EXPECT_EQ(held[2], (std::pair<int, std::string>(1, "B 3")));
    elsewhere.HoldMessages(nullptr);
    EXPECT_TRUE(Drain(elsewhere).empty());
    for (const auto& m : held) b.Create(m.first, "%s", m.second.c_str());

    a.Create(1, "D");
    b.Create(1, "D");
    EXPECT_EQ(a.FileClose(), 0);
    EXPECT_EQ(b.FileClose(), 0);
    EXPECT_EQ(replayed.lines(), direct.lines());
    EXPECT_EQ(Drain(b), Drain(a));
    EXPECT_EQ(replayedGui.texts(4), directGui.texts(4));
    EXPECT_EQ(replayedGui.texts(2), directGui.texts(2));
}

TEST(CKpMsg, WithoutFileOrGuiAndOverlong) {
    CKpMsg log;
    log.Create(2, "first");
    RecordingGUI gui;
    log.SetGUI(&gui);
    std::string longText(5000, 'x');
    log.Create(4, "%s!", longText.c_str());
    EXPECT_EQ(log.FileClose(), 0);
    // Cut to the formatting buffer.
    const std::string cut(CKpMsg::MESSAGE_LEN - 1, 'x');
    EXPECT_EQ(gui.texts(4), std::vector<std::string>{cut});
    EXPECT_EQ(Drain(log), (std::vector<std::string>{"2:first", "4:" + cut.substr(0, 255)}));
    log.Create(2, "x");
    log.FlushMessageStore();
    EXPECT_TRUE(Drain(log).empty());
    // A bounded store drops the oldest; a store bounded below 1 keeps nothing.
    log.SetMessageStoreParams(2, 0.0);
    for (const char* text : {"one", "two", "three"}) log.Create(2, "%s", text);
    EXPECT_EQ(Drain(log), (std::vector<std::string>{"2:two", "2:three"}));
    log.SetMessageStoreParams(0, 0.0);
    log.Create(2, "lost");
    EXPECT_TRUE(Drain(log).empty());
}

TEST(CKpMsg, CreateDirectReturnsTheAnswer) {
    MessageFile file("direct");
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);
    ASSERT_EQ(log.FileOpen(file.path()), 0);
    log.Create(2, "A");
    gui.answers = {3, 0};
    EXPECT_EQ(log.CreateDirect(100005, 2, "Overwrite %s?", "ply"), 3);
    EXPECT_EQ(log.CreateDirect(100005, 1, "A"), 0);
    // The repeat state ignored the questions: this A is still a repeat.
    log.Create(2, "A");
    log.Create(1, "B");
    log.FileClose();
    EXPECT_EQ(file.lines(), (std::vector<std::string>{
                                kHeader, "$# Message file opened", "$# WARNING: A",
                                "$# WARNING: Overwrite ply?", "$# retval: 3", "$# A",
                                "$# (...repeated 2 times...)", "$# B", "$# Close message file"}));
    ASSERT_EQ(gui.messages.size(), 3u);
    EXPECT_EQ(gui.messages[1].channel, 100005);
    EXPECT_EQ(gui.texts(2), (std::vector<std::string>{"A", "Overwrite ply?"}));
    EXPECT_EQ(Drain(log), (std::vector<std::string>{"2:A"}));

    EXPECT_EQ(CKpMsg().CreateDirect(100005, 2, "Continue?"), 0);
}

TEST(CKpMsg, OpeningAndClosingFiles) {
    MessageFile first("first"), second("second");
    RecordingGUI gui;
    {
        CKpMsg log;
        log.SetGUI(&gui);
        ASSERT_EQ(log.FileOpen(first.path()), 0);
        log.Create(1, "in first");
        // Opening another file closes the first one properly.
        ASSERT_EQ(log.FileOpen(second.path()), 0);
        log.Create(1, "in second");
        EXPECT_EQ(log.FileOpen("no_such_dir/x.msg"), -1);
        EXPECT_EQ(
            gui.texts(4),
            (std::vector<std::string>{"Could not open file 'no_such_dir/x.msg' for writing."}));
        EXPECT_EQ(log.FileOpen(nullptr), -1);
        ASSERT_EQ(log.FileOpen(second.path()), 0);
        log.Create(1, "again");
    }  // The destructor closes the file.
    EXPECT_EQ(first.lines(), (std::vector<std::string>{kHeader, "$# Message file opened",
                                                       "$# in first", "$# Close message file"}));
    EXPECT_EQ(second.lines(), (std::vector<std::string>{kHeader, "$# Message file opened",
                                                        "$# again", "$# Close message file"}));
}

TEST(CKpMsgLineStore, GetFirstMessageBuffersAndAge) {
    CKpMsgLineStore store;
    char text[16] = "untouched";
    int level = 0;
    EXPECT_EQ(store.GetFirstMessage(0.0, &level, text, sizeof(text)), 1);

    store.AddMessage(2, "Warning");
    EXPECT_EQ(store.GetFirstMessage(0.0, &level, nullptr, 8), 1);
    EXPECT_EQ(store.GetFirstMessage(0.0, &level, text, 0), 1);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(store.GetFirstMessage(0.0, &level, text, 4), 0);
    EXPECT_STREQ(text, "War");
    EXPECT_EQ(level, 2);

    store.AddMessage(4, "E");
    EXPECT_EQ(store.GetFirstMessage(0.0, nullptr, text, 1), 0);
    EXPECT_STREQ(text, "");

    // Lines stamped in the past stand in for lines that have aged.
    const int64_t now = static_cast<int64_t>(std::time(nullptr));
    store.InsertLast(new CKpMsgLine(2, "old", now - 100));
    EXPECT_EQ(store.GetFirstMessage(10.0, &level, text, sizeof(text)), 2);
    EXPECT_EQ(store.entries(), 0);

    store.InsertLast(new CKpMsgLine(2, "old", now - 100));
    store.AddMessage(4, "fresh");
    EXPECT_EQ(store.GetFirstMessage(10.0, &level, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "fresh");
    // Without an age limit old lines are handed out like any other.
    store.InsertLast(new CKpMsgLine(2, "old", now - 100));
    EXPECT_EQ(store.GetFirstMessage(0.0, &level, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "old");
}

TEST(fortreal, MantissaExponentAndNonFinite) {
    EXPECT_STREQ(fortreal03(123.0), " 0.123E+03");
    EXPECT_STREQ(fortreal03(-0.5), "-0.500E+00");
    EXPECT_STREQ(fortreal06(0.0), " 0.000000E+00");
    EXPECT_STREQ(fortreal09(0.001), " 0.100000000E-02");
    EXPECT_STREQ(fortreal12(-2.5e-7), "-0.250000000000E-06");
    // Rounding up to 1.000 moves to the next exponent.
    EXPECT_STREQ(fortreal03(999.9996), " 0.100E+04");
    EXPECT_STREQ(fortreal03(-0.09999999), "-0.100E+00");
    // The ends of the double range.
    EXPECT_STREQ(fortreal03(std::numeric_limits<double>::max()), " 0.180E+309");
    EXPECT_STREQ(fortreal03(std::numeric_limits<double>::denorm_min()), " 0.494E-323");
    // Non-finite values keep the field width.
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_STREQ(fortreal03(inf), "       inf");
    EXPECT_STREQ(fortreal06(-inf), "         -inf");
    EXPECT_STREQ(fortreal09(std::nan("")), "             nan");
    EXPECT_STREQ(fortreal12(inf), "                inf");
    // Each function has its own buffer.
    char* a = fortreal03(1.0);
    fortreal06(2.0);
    EXPECT_STREQ(a, " 0.100E+01");
}
