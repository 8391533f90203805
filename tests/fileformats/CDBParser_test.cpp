#include "fileformats/CDBParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fileformats/CDBCommand.h"
#include "fileformats/CDBFormatString.h"
#include "tests/support/ExchangeFiles.h"

namespace {

// Commands of a text as the parser gives them: name, arguments, rows.
struct Parsed {
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> args;
    std::vector<std::vector<std::vector<double>>> rows;
    std::vector<int> status;
    std::vector<std::string> errors;
    std::string lastError;
};

Parsed ParseText(const std::string& text) {
    const std::string path = xfiles::TempPath("cdbparse.cdb");
    xfiles::WriteAll(path, text);
    Parsed out;
    CDBParser parser;
    EXPECT_EQ(parser.OpenRead(path.c_str()), 0);
    CDBCommand cmd;
    for (;;) {
        const int status = parser.GetNextCommand(cmd);
        for (int i = 0; i < cmd.GetNumErrors(); ++i) out.errors.push_back(cmd.GetError(i));
        if (status == -1) break;
        out.status.push_back(status);
        out.names.push_back(static_cast<const char*>(cmd.Name()));
        std::vector<std::string> args;
        for (int i = 0; i < cmd.GetNumArguments(); ++i) args.push_back(cmd.GetArgumentText(i));
        out.args.push_back(args);
        std::vector<std::vector<double>> rows;
        for (int r = 0; r < cmd.GetNumRows(); ++r) {
            std::vector<double> row;
            for (int c = 0; c < cmd.GetRowSize(r); ++c) row.push_back(cmd.GetBlockValue(r, c));
            rows.push_back(row);
        }
        out.rows.push_back(rows);
        if (status != 0) break;
    }
    out.lastError = static_cast<const char*>(parser.m_lastError);
    std::remove(path.c_str());
    return out;
}

TEST(CDBParser, CommandLinesCommentsAndArguments) {
    Parsed p =
        ParseText("ET,1,181 !a comment, with a comma\n/PREP7\nN,R5.3,LOC,     -1,\nFINISH\n");
    ASSERT_EQ(p.names, (std::vector<std::string>{"ET", "/PREP7", "N", "FINISH"}));
    EXPECT_EQ(p.args[0], (std::vector<std::string>{"1", "181"}));
    EXPECT_TRUE(p.args[1].empty());
    EXPECT_EQ(p.args[2], (std::vector<std::string>{"R5.3", "LOC", "-1", ""}));
    // The last command of a file returns 1 and leaves the last error empty.
    EXPECT_EQ(p.status, (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(p.lastError, "");
}

TEST(CDBParser, FixedFormatBlocksEndAtTheLineOfTheNextCommand) {
    Parsed p = ParseText(
        "EBLOCK,19,SOLID\n(19i8)\n"
        "       1       1       1       1       0       0       0       0       4       0"
        "       1       1       2       3       4\n"
        "       1       1       1       1       0       0       0       0       4       0"
        "       2       2       5       3       3\n"
        "      -1\n"
        "NBLOCK,6,SOLID\n(3i8,6e16.9)\n"
        "       1       0       0     1.000000000     2.500000000\n"
        "N,R5.3,LOC,     -1,\n");
    ASSERT_EQ(p.names, (std::vector<std::string>{"EBLOCK", "NBLOCK", "N"}));
    ASSERT_EQ(p.rows[0].size(), 3u);
    EXPECT_EQ(p.rows[0][1].size(), 15u);
    EXPECT_EQ(p.rows[0][1][12], 5.0);
    EXPECT_EQ(p.rows[0][2], (std::vector<double>{-1}));
    ASSERT_EQ(p.rows[1].size(), 1u);
    EXPECT_EQ(p.rows[1][0], (std::vector<double>{1, 0, 0, 1.0, 2.5}));
    EXPECT_EQ(p.args[2].size(), 4u);
    EXPECT_TRUE(p.errors.empty());
}

TEST(CDBParser, RealConstantRowsChooseTheirFormatByTheFirstSixteenColumns) {
    Parsed p = ParseText(
        "RLBLOCK,       1,       7,       9,       7\n(2i8,6g16.9)\n(7g16.9)\n"
        "       7       9     1.000000000     2.000000000     3.000000000     4.000000000"
        "     5.000000000     6.000000000\n"
        "     0.000000000     8.000000000     9.000000000\n"
        "FINISH\n");
    ASSERT_EQ(p.rows[0].size(), 2u);
    EXPECT_EQ(p.rows[0][0], (std::vector<double>{7, 9, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(p.rows[0][1], (std::vector<double>{0, 8, 9}));
}

TEST(CDBParser, FreeRowsEmptyFieldsAndWhatEndsThem) {
    Parsed p = ParseText("SECBLOCK,2\n1.5, 2, , 3\n 4,5\n-1,2\n");
    ASSERT_EQ(p.names, (std::vector<std::string>{"SECBLOCK", "-1"}));
    EXPECT_EQ(p.rows[0][0], (std::vector<double>{1.5, 2, 0.0, 3}));
    EXPECT_EQ(p.rows[0][1], (std::vector<double>{4, 5}));
    // A "-" right after a command line (no format) is the next command.
    EXPECT_EQ(p.args[1], (std::vector<std::string>{"2"}));
}

TEST(CDBParser, ErrorsThatStopTheParse) {
    Parsed condensed = ParseText("/PREP7\nET,1,181 $ KEYOP,1,8,2\nFINISH\n");
    EXPECT_EQ(condensed.status.back(), 1);
    EXPECT_EQ(condensed.lastError, "This parser doesn't support condensed format");
    // "$" behind the comment mark is comment.
    EXPECT_EQ(ParseText("ET,1,181 ! costs $5\nFINISH\n").lastError, "");

    Parsed format = ParseText("/PREP7\nNBLOCK,6,SOLID\n(3i8,6e16.9)\n");
    EXPECT_EQ(format.status.back(), 1);
    EXPECT_EQ(format.lastError, "Was expecting a line after format on line 3");
}

TEST(CDBParser, RowsCutInsideAFieldOrHoldingANulAreDroppedWithTheirLine) {
    // Row 2 is cut in the middle of its x; row 3 leaves off whole fields and
    // carries trailing blanks; line 6 holds a NUL byte.
    std::string text =
        "NBLOCK,6,SOLID\n(3i8,6e16.9)\n"
        "       1       0       0     1.000000000\n"
        "       2       0       0     1.0000\n"
        "       3       0       0     3.000000000   \n"
        "       4       0       0     4.00";
    text += '\0';
    text += "0000000\nFINISH\n";
    Parsed p = ParseText(text);
    ASSERT_EQ(p.names, (std::vector<std::string>{"NBLOCK", "FINISH"}));
    ASSERT_EQ(p.rows[0].size(), 2u);
    EXPECT_EQ(p.rows[0][0][0], 1.0);
    EXPECT_EQ(p.rows[0][1][3], 3.0);
    ASSERT_EQ(p.errors.size(), 2u);
    EXPECT_NE(p.errors[0].find("Line 4 "), std::string::npos) << p.errors[0];
    EXPECT_NE(p.errors[1].find("Line 6 "), std::string::npos) << p.errors[1];
}

TEST(CDBParser, OpenFailures) {
    CDBParser parser;
    EXPECT_EQ(parser.OpenRead(nullptr), 1);
    EXPECT_STREQ(parser.m_lastError, "Wrong arguments");
    EXPECT_EQ(parser.OpenRead("/nonexistent/x.cdb"), 2);
    EXPECT_STREQ(parser.m_lastError, "Unable to open file /nonexistent/x.cdb");
}

TEST(CDBFormatString, ItemsAndRefusedLines) {
    struct Item {
        int count;
        char type;
        int width, precision;
    };
    struct Case {
        const char* text;
        int status;
        std::vector<Item> items;
    } cases[] = {
        {"(3i8,6e16.9)", 0, {{3, 'i', 8, 0}, {6, 'e', 16, 9}}},
        {"(3i9,6e21.13e3)", 0, {{3, 'i', 9, 0}, {6, 'e', 21, 13}}},
        {"(19i8)", 0, {{19, 'i', 8, 0}}},
        {"(7g16.9)", 0, {{7, 'g', 16, 9}}},
        {"(0i8)", 0, {{1, 'i', 8, 0}}},
        {"(", 0, {}},
        {"3i8", 1, {}},
        {"(3i0)", 2, {}},
        {"(3i)", 2, {}},
        {"(3i1001)", 2, {}},
        {"(1234567890i8)", 2, {}},
        {"(3i8.1234567890)", 2, {}},
    };
    for (const Case& c : cases) {
        CDBFormatString f;
        EXPECT_EQ(f.Parse(c.text), c.status) << c.text;
        ASSERT_EQ(f.GetNumFormats(), static_cast<int>(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            int count, width, precision;
            char type;
            f.GetFormat(static_cast<int>(i), count, type, width, precision);
            EXPECT_EQ(count, c.items[i].count) << c.text;
            EXPECT_EQ(type, c.items[i].type) << c.text;
            EXPECT_EQ(width, c.items[i].width) << c.text;
            EXPECT_EQ(precision, c.items[i].precision) << c.text;
        }
    }
    int v = 7;
    EXPECT_STREQ(GetNumber("12ab", v), "ab");
    EXPECT_EQ(v, 12);
    EXPECT_STREQ(GetNumber("x", v), "x");
    EXPECT_EQ(v, 0);
}

}  // namespace
