#include "layuplib/FillSolidStacking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CSVParser.h"
#include "layuplib/FillSolidElements.h"
#include "layuplib/Messages.h"
#include "tests/support/FillSolidHelpers.h"
#include "tests/support/StackingFile.h"
#include "tests/support/Tolerance.h"

using namespace SolidElements;
using Lines = std::vector<std::vector<std::string>>;

namespace {

// Every logical line of `bytes` as the parser splits it.
Lines Split(const std::string& bytes) {
    const std::string path = stackfile::WriteText(stackfile::TempPath("split"), bytes);
    CSVParser parser;
    EXPECT_EQ(parser.Open(path.c_str()), 0);
    Lines lines;
    std::vector<std::string> fields;
    while (parser.ReadNextLine(fields) == 0) lines.push_back(fields);
    EXPECT_TRUE(fields.empty());
    return lines;
}

struct ReadResult {
    int status;
    std::vector<std::string> messages;
    int layers;
};

ReadResult Read(const std::string& bytes, FillSolidStacking* into = nullptr) {
    const std::string path = stackfile::WriteText(stackfile::TempPath("read"), bytes);
    FillSolidStacking local;
    FillSolidStacking& st = into ? *into : local;
    Messages messages;
    ReadResult r{st.Read(path.c_str(), messages), {}, 0};
    for (int i = 0; i < messages.GetNumMessages(); ++i) {
        std::string text = messages.GetMessage(i);
        const size_t at = text.find(path);
        if (at != std::string::npos) text.replace(at, path.size(), "<f>");
        r.messages.push_back(text);
    }
    r.layers = st.NumLayers();
    return r;
}

}  // namespace

TEST(CSVParser, LineSplittingRules) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    };
    const std::vector<Case> cases = {
        {"plain", "a,b,c,d\n", {{"a", "b", "c", "d"}}},
        {"blanks stay, last line without feed", " a , b,c,d", {{" a ", " b", "c", "d"}}},
        {"quoted comma and doubled quote",
         "\"x,y\",\"say \"\"hi\"\"\",1,2\n",
         {{"x,y", "say \"hi\"", "1", "2"}}},
        {"quotes in the middle of a field", "a\"b,c\"d,e\n", {{"ab,cd", "e"}}},
        {"empty line", "\n", {{""}}},
        {"empty fields", ",,\n", {{"", "", ""}}},
        {"comments, also after blanks", "# c\n  \t# c2\na,b\n#last", {{"a", "b"}}},
        {"only comments", "#one\n#two\n", {}},
        {"a hash after text is text", "a#b,#\n", {{"a#b", "#"}}},
        {"quoted hash is text", "\"#x\",y\n", {{"#x", "y"}}},
        {"carriage returns dropped", "a,b\r\nc\r\n", {{"a", "b"}, {"c"}}},
        {"unterminated quote ends at the line feed", "\"open,\nb\n", {{"open,"}, {"b"}}},
        {"unterminated quote at the end", "a,\"b", {{"a", "b"}}},
        {"NUL bytes kept", std::string("a\0b,c\n", 6), {{std::string("a\0b", 3), "c"}}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Split(c.bytes), c.lines);
    }
}

TEST(CSVParser, OpenAndReadStatuses) {
    CSVParser parser;
    std::vector<std::string> fields = {"stale"};
    EXPECT_EQ(parser.ReadNextLine(fields), 1);
    EXPECT_TRUE(fields.empty());
    EXPECT_EQ(parser.Open(nullptr), 1);
    EXPECT_EQ(parser.Open("/no/such/dir/file.csv"), 2);
    // A very long line is read whole.
    const std::string longName(200000, 'n');
    EXPECT_EQ(Split(longName + ",m,1,2\n"), Lines({{longName, "m", "1", "2"}}));
}

TEST(FillSolidStacking, ReadsLayersAndStopsAtTheFirstBadLine) {
    FillSolidStacking st;
    const ReadResult ok = Read(
        "# name,material,thickness,angle\n"
        "Ply 1,\"UD, 300g\",0.25,45\n"
        "\n# another comment\n",
        &st);
    // The blank line after the layer is data line 2.
    EXPECT_EQ(ok.status, 3);
    EXPECT_EQ(ok.messages, std::vector<std::string>({"File <f>, line 2 should have 4 fields"}));
    ASSERT_EQ(st.NumLayers(), 1);
    EXPECT_EQ(st.Layer(0).GetName(), "Ply 1");
    EXPECT_EQ(st.Layer(0).GetMaterial(), "UD, 300g");
    EXPECT_EQ(st.Layer(0).GetThickness(), 0.25);
    EXPECT_TRUE(Near(st.Layer(0).GetAngle(), 0.7853981633974483, tol::angle));
    EXPECT_EQ(st.Layer(0).GetPlyMaterial(), "UD, 300g_0.25");

    struct Case {
        const char* what;
        std::string bytes;
        int status;
        const char* message;
        int layers;
    };
    const std::string good = "a,m,0.5,0\n#c\nb,m, 0.25 ,-30\n";  // two data lines
    const std::vector<Case> cases = {
        {"all good, no final feed", "a,m,0.5,0\nb,m,1e-1,90", 0, nullptr, 2},
        {"only comments", "#x\n#y\n", 0, nullptr, 0},
        {"five fields", good + "c,m,1,2,3\n", 3, "File <f>, line 3 should have 4 fields", 2},
        {"empty field", good + "c,,1,2\n", 4, "File <f>, line 3 has empty fields", 2},
        {"unit after number", good + "c,m,1.5mm,0\n", 5, "File <f>, line 3 has an invalid number",
         2},
        {"angle text", good + "c,m,1,45deg\n", 5, "File <f>, line 3 has an invalid number", 2},
        {"blank number", good + "c,m, ,0\n", 5, "File <f>, line 3 has an invalid number", 2},
        {"negative thickness", good + "c,m,-0.1,0\n", 5, "File <f>, line 3 has an invalid number",
         2},
        {"not a number", good + "c,m,nan,0\n", 5, "File <f>, line 3 has an invalid number", 2},
        {"infinite angle", good + "c,m,1,inf\n", 5, "File <f>, line 3 has an invalid number", 2},
        {"NUL in a number", good + std::string("c,m,1\0,0\n", 9), 5,
         "File <f>, line 3 has an invalid number", 2},
        {"huge exponent", good + "c,m,1e999,0\n", 5, "File <f>, line 3 has an invalid number", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ReadResult r = Read(c.bytes);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.layers, c.layers);
        EXPECT_EQ(r.messages,
                  c.message ? std::vector<std::string>({c.message}) : std::vector<std::string>());
    }

    Messages messages;
    EXPECT_EQ(st.Read(nullptr, messages), 1);
    EXPECT_EQ(messages.GetNumMessages(), 0);
    EXPECT_EQ(st.Read("/no/such/stack.csv", messages), 2);
    EXPECT_STREQ(messages.GetMessage(0), "Unable to open file /no/such/stack.csv");
    // A second read appends.
    EXPECT_EQ(Read("z,m,1,0\n", &st).status, 0);
    EXPECT_EQ(st.NumLayers(), 2);
    EXPECT_EQ(st.Layer(1).GetName(), "z");
}

TEST(FillSolidStacking, ReadStackingCodesName) {
    const std::string good = stackfile::Write(stackfile::TempPath("good"), {{"a", "m", 0.1, 0}});
    const std::string bad = stackfile::WriteText(stackfile::TempPath("bad"), "a,m,x,0\n");
    struct Case {
        IFillSolid::EStacking mode;
        std::string file1, file2;
        int status;
        int layersA, layersB;
    };
    const std::vector<Case> cases = {
        {IFillSolid::eBottomAndTop, good, good, 0, 1, 1},
        {IFillSolid::eBottomAndTop, bad, good, 1, 0, 0},
        {IFillSolid::eFromMidplane, good, bad, 2, 1, 0},
        {IFillSolid::eFromTop, bad, good, 0, 1, 0},
        {IFillSolid::eFromTop, good, bad, 3, 0, 0},
        {IFillSolid::eFromBottom, bad, good, 4, 0, 0},
        {IFillSolid::eFromBottom, good, "", 0, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(f->ReadStacking(c.mode, c.file1.c_str(), c.file2.c_str()), c.status);
        EXPECT_EQ(f->StackingA().NumLayers(), c.layersA);
        EXPECT_EQ(f->StackingB().NumLayers(), c.layersB);
        if (c.status != 0) {
            EXPECT_EQ(fillsolid::LastMessage(*f), "File " + bad + ", line 1 has an invalid number");
        }
    }
}
