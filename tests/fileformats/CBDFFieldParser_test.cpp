#include "fileformats/CBDFFieldParser.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "F06Parser/CF06FileBuffer.h"

namespace {

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "bdffields_" + name + "_" + std::to_string(::getpid());
}

// Parses the cards of `text` one after the other.
class Cards {
  public:
    explicit Cards(const std::string& text) : m_path(TempPath("cards")) {
        std::ofstream(m_path, std::ios::binary) << text;
        EXPECT_EQ(m_buffer.OpenRead(m_path.c_str(), 1), 0);
    }
    ~Cards() {
        m_buffer.Close();
        std::remove(m_path.c_str());
    }
    // The next card's table (empty for a comment or empty line).
    const CBDFFields& Next() {
        m_pos = m_parser.Parse(m_pos, m_buffer);
        return m_parser.GetFields();
    }
    bool AtEnd() { return m_buffer[m_pos] == '\0'; }
    CBDFFieldParser& parser() { return m_parser; }

  private:
    std::string m_path;
    CF06FileBuffer m_buffer;
    CBDFFieldParser m_parser;
    std::int64_t m_pos = 0;
};

// The text a table writes.
std::string Written(const CBDFFields& fields) {
    std::string path = TempPath("write");
    {
        CF06FileBuffer out;
        EXPECT_EQ(out.OpenWrite(path.c_str(), 1), 0);
        EXPECT_EQ(fields.Write(out), 0);
        EXPECT_EQ(out.Close(), 0);
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    std::remove(path.c_str());
    return s.str();
}

TEST(CBDFFieldParser, SmallFieldNumbersAndTexts) {
    Cards cards(
        "GRID           1       0     1.5   -2.-3      0.\n"
        "grid    2       +5      7.+2    1.-400  .5E1    abc def -\n");
    const CBDFFields& f = cards.Next();
    ASSERT_EQ(f.GetRows(), 1);
    EXPECT_STREQ(f.GetString(0, 0), "GRID");
    EXPECT_EQ(f.GetValue(0, 1)->GetType(), CF06FieldVariant::eInt);
    EXPECT_EQ(f.GetValue(0, 1, -1), 1);
    EXPECT_EQ(f.GetValue(0, 2)->GetType(), CF06FieldVariant::eInt);
    EXPECT_EQ(f.GetValue(0, 2, -1), 0);
    EXPECT_EQ(f.GetValue(0, 3, 0.0), 1.5);
    EXPECT_DOUBLE_EQ(f.GetValue(0, 4, 0.0), -0.002);
    EXPECT_EQ(f.GetValue(0, 5)->GetType(), CF06FieldVariant::eDouble);
    EXPECT_EQ(f.GetValue(0, 5, 9.0), 0.0);
    EXPECT_EQ(f.GetValue(0, 6), nullptr);   // past the line
    EXPECT_EQ(f.GetValue(0, 6, 4.5), 4.5);  // the default
    EXPECT_EQ(f.GetValue(9, 1, 3), 3);

    const CBDFFields& g = cards.Next();
    EXPECT_STREQ(g.GetString(0, 0), "GRID");  // names in any case
    EXPECT_EQ(g.GetValue(0, 2)->GetType(), CF06FieldVariant::eInt);
    EXPECT_EQ(g.GetValue(0, 2, -7), 5);  // "+" is the sign
    EXPECT_EQ(g.GetValue(0, 3, 0.0), 700.0);
    EXPECT_EQ(g.GetValue(0, 4, 1.0), 0.0);  // exponent below -390
    EXPECT_EQ(g.GetValue(0, 5, 0.0), 5.0);
    EXPECT_STREQ(g.GetString(0, 6), "ABCDEF");  // blanks dropped, upper case
    EXPECT_EQ(g.GetValue(0, 7)->GetType(), CF06FieldVariant::eInt);
    EXPECT_TRUE(cards.AtEnd());
}

TEST(CBDFFieldParser, TodReadsTheShortExponentForms) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"1.5-3", 1.5e-3},
                 {"7.+2", 700.0},
                 {"-2.-3", -2e-3},
                 {"1.425+11", 1.425e11},
                 {" 1.E+3", 1000.0},
                 {".5", 0.5},
                 {"1.0e-5", 1e-5},
                 {"-.25D0", -0.25},
                 {"1.-400", 0.0},
                 {"0.", 0.0},
                 {"3.14159265358979", 3.14159265358979},
                 {"123456789012345678901.", 1.2345678901234568e20}};
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(CBDFFieldParser::tod(c.text), c.value) << c.text;
    EXPECT_TRUE(std::isinf(CBDFFieldParser::tod("1.+999")));
}

TEST(CBDFFieldParser, LargeFieldOverTwoLines) {
    Cards cards(
        "GRID*                 12               3            1.25          -2.5-2\n"
        "*                     4.\n"
        "CORD2R*                5               0\n"
        "*                    3.0\n"
        "CQUAD4         1       2\n");
    const CBDFFields& f = cards.Next();
    ASSERT_EQ(f.GetRows(), 1);
    EXPECT_STREQ(f.GetString(0, 0), "GRID");
    EXPECT_EQ(f.GetValue(0, 1, 0), 12);
    EXPECT_EQ(f.GetValue(0, 2, 0), 3);
    EXPECT_EQ(f.GetValue(0, 3, 0.0), 1.25);
    EXPECT_DOUBLE_EQ(f.GetValue(0, 4, 0.0), -0.025);
    EXPECT_EQ(f.GetValue(0, 5, 0.0), 4.0);
    // A first half shorter than its four fields keeps the second half's
    // columns.
    const CBDFFields& c = cards.Next();
    EXPECT_STREQ(c.GetString(0, 0), "CORD2R");
    EXPECT_EQ(c.GetValue(0, 1, 0), 5);
    EXPECT_EQ(c.GetValue(0, 5, 0.0), 3.0);
    EXPECT_STREQ(cards.Next().GetString(0, 0), "CQUAD4");
}

TEST(CBDFFieldParser, FreeFieldWithEmptyFieldsCommentsAndLongLines) {
    std::string longLine = "PARAM," + std::string(200, ' ') + "POST , -1 $ comment, 7\n";
    Cards cards("GRID,1,,2.5\n" + longLine +
                "MAT8,3,1.E+7,1.E+7,.25,4.E+6,4.E+6,4.E+6,1.0,1.-6,2.-6,,1.E-4,,1.E-3,,,1.E-4\n"
                "PCOMP,7,,,,,,,SYM\n,1,.1,0.,YES,,,45.\n");
    const CBDFFields& f = cards.Next();
    EXPECT_STREQ(f.GetString(0, 0), "GRID");
    EXPECT_EQ(f.GetValue(0, 1, 0), 1);
    EXPECT_EQ(f.GetValue(0, 2), nullptr);
    EXPECT_EQ(f.GetValue(0, 3, 0.0), 2.5);
    const CBDFFields& p = cards.Next();
    EXPECT_STREQ(p.GetString(0, 1), "POST");
    EXPECT_EQ(p.GetValue(0, 2, 0), -1);
    EXPECT_EQ(p.GetCols(0), 3);  // "$" ends the line
    // More than 9 fields on a line: the tenth is the continuation field,
    // the rest form the next row.
    const CBDFFields& m = cards.Next();
    ASSERT_EQ(m.GetRows(), 2);
    EXPECT_EQ(m.GetValue(0, 8, 0.0), 1.0);
    EXPECT_DOUBLE_EQ(m.GetValue(0, 9, 0.0), 1e-6);
    EXPECT_DOUBLE_EQ(m.GetValue(1, 0, 0.0), 2e-6);
    EXPECT_DOUBLE_EQ(m.GetValue(1, 2, 0.0), 1e-4);
    const CBDFFields& c = cards.Next();
    ASSERT_EQ(c.GetRows(), 2);
    EXPECT_STREQ(c.GetString(0, 8), "SYM");
    EXPECT_EQ(c.GetValue(1, 1, 0), 1);
    EXPECT_EQ(c.GetValue(1, 7, 0.0), 45.0);
    EXPECT_TRUE(cards.AtEnd());
}

TEST(CBDFFieldParser, ContinuationsTabsCommentsAndLongFixedLines) {
    std::string tail(90, 'x');
    Cards cards(
        "PCOMP\t1\n\t1\t0.1\n$ a comment inside the card\n\t2\t0.2\n"
        "TLOAD2        10      10                      0.      5.     10.        +T12\n"
        "$ comment between a card and its continuation\n"
        "+T12         -1.\n"
        "CQUAD4         5       1       1       2       3       4      7." +
        tail + "\nGRID           9\n\nGRID          10\r\n");
    const CBDFFields& p = cards.Next();
    ASSERT_EQ(p.GetRows(), 3);
    EXPECT_EQ(p.GetValue(0, 1, 0), 1);
    EXPECT_EQ(p.GetValue(1, 1, 0), 1);
    EXPECT_EQ(p.GetValue(1, 2, 0.0), 0.1);
    EXPECT_EQ(p.GetValue(2, 1, 0), 2);
    const CBDFFields& t = cards.Next();
    ASSERT_EQ(t.GetRows(), 2);
    EXPECT_STREQ(t.GetString(0, 9), "+T12");
    EXPECT_EQ(t.GetValue(1, 1, 0.0), -1.0);
    // A fixed line longer than 130 characters: its tail is not a card.
    const CBDFFields& q = cards.Next();
    EXPECT_EQ(q.GetValue(0, 7, 0.0), 7.0);
    EXPECT_EQ(q.GetValue(0, 1, 0), 5);
    EXPECT_EQ(cards.Next().GetValue(0, 1, 0), 9);
    EXPECT_EQ(cards.Next().GetRows(), 0);  // the empty line
    EXPECT_EQ(cards.Next().GetValue(0, 1, 0), 10);
    EXPECT_TRUE(cards.AtEnd());
}

TEST(CBDFFieldParser, NumbersOutOfRangeAreReported) {
    Cards cards("GRID    99999999999     1.+999\nGRID    1\n");
    cards.Next();
    EXPECT_EQ(cards.parser().GetError(), 1);
    EXPECT_STREQ(cards.parser().GetErrorText(), "1.+999");
    EXPECT_EQ(cards.parser().GetCardLine(), 1);
    cards.Next();
    EXPECT_EQ(cards.parser().GetError(), 0);
    EXPECT_EQ(cards.parser().GetCardLine(), 2);
}

TEST(CBDFFields, FormatsNumbersInTheShortForms) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {{1.0, "1."},
                 {0.5, ".5"},
                 {-0.5, "-.5"},
                 {1.0e-5, "1.-5"},
                 {0.0, "0."},
                 {-5.0e-6, "-5.-6"},
                 {1.2345678901234, "1.2345678901234"},
                 {123456.789, "123456.789"},
                 {1.5e20, "1.5+20"},
                 {-1.2345678901234e-200, "-1.234567890-200"},
                 {0.001, ".001"},
                 {100.0, "100."}};
    char text[32];
    for (const Case& c : cases) {
        CBDFFields::FormatDouble(c.value, text);
        EXPECT_STREQ(text, c.text) << c.value;
        // The reader gives the value back (to the digits kept).
        EXPECT_NEAR(CBDFFieldParser::tod(text), c.value, std::fabs(c.value) * 1e-8) << text;
    }
}

TEST(CBDFFields, WritesSmallAndLargeRows) {
    CBDFFields f;
    f.AddNewRow();
    f.Add("GRID");
    f.Add(1);
    f.Add();
    f.Add(1.0);
    f.Add(0.5);
    f.Add(1.0e-5);
    EXPECT_EQ(Written(f), "GRID    1               1.      .5      1.-5    \n");

    f.Reset();
    f.AddNewRow();
    f.Add("GRID");
    f.Add(2);
    f.Add();
    f.Add(123456.789);
    f.Add(1.2345678901234);
    f.Add(0.0);
    EXPECT_EQ(Written(f),
              "GRID*   2                               123456.789      1.2345678901234 \n"
              "*       0.              \n");
    // A last large row of fewer than 6 fields gets the closing line.
    f.Reset();
    f.AddNewRow();
    f.Add("CORD2R");
    f.Add(1);
    f.AddNewRow();
    f.Add();
    f.Add(1.0);
    f.Add(0.123456789);
    std::string text = Written(f);
    EXPECT_EQ(text,
              "CORD2R  1       \n"
              "*       1.              .123456789      \n"
              "*       \n");
    // And the reader takes all of it back as one card.
    Cards back(text);
    const CBDFFields& r = back.Next();
    ASSERT_EQ(r.GetRows(), 2);
    EXPECT_EQ(r.GetValue(1, 2, 0.0), 0.123456789);
    EXPECT_TRUE(back.AtEnd());
}

// A leading "+" before a digit is a number's sign and an exponent without
// a point makes a real, in every layout; continuation marks (a row's first
// field, the field after column 72, the tenth free field) stay as written.
TEST(CBDFFieldParser, SignedNumbersAndRealsWithoutPointButMarksStayTexts) {
    Cards cards(
        "GRID    3303            20.     +7.5    5.              16              +1\n"
        "+1      +90.    1e7     +.5     +       +P1A    1E+2    +12     -5e-1\n"
        "GRID*   7                               +7.5            1e-3            +G7\n"
        "*G7     +3              +P              -1e1                            +8\n"
        "MAT1,10000,1e7,,+0.3,,,,,+C1\n"
        "+C1,+1.,+2,+M,,,,,,+9,+3.\n");
    const CBDFFields& f = cards.Next();
    ASSERT_EQ(f.GetRows(), 2);
    EXPECT_EQ(f.GetValue(0, 4)->GetType(), CF06FieldVariant::eDouble);
    EXPECT_EQ(f.GetValue(0, 4, 0.0), 7.5);
    EXPECT_STREQ(f.GetString(0, 9), "+1");  // the mark after column 72
    EXPECT_STREQ(f.GetString(1, 0), "+1");
    EXPECT_EQ(f.GetValue(1, 1, 0.0), 90.0);
    EXPECT_EQ(f.GetValue(1, 2)->GetType(), CF06FieldVariant::eDouble);
    EXPECT_EQ(f.GetValue(1, 2, 0.0), 1e7);
    EXPECT_EQ(f.GetValue(1, 3, 0.0), 0.5);
    EXPECT_STREQ(f.GetString(1, 4), "+");  // no digit: a text
    EXPECT_STREQ(f.GetString(1, 5), "+P1A");
    EXPECT_EQ(f.GetValue(1, 6, 0.0), 100.0);
    EXPECT_EQ(f.GetValue(1, 7)->GetType(), CF06FieldVariant::eInt);
    EXPECT_EQ(f.GetValue(1, 7, 0), 12);
    EXPECT_EQ(f.GetValue(1, 8)->GetType(), CF06FieldVariant::eDouble);
    EXPECT_EQ(f.GetValue(1, 8, 0.0), -0.5);

    const CBDFFields& g = cards.Next();
    ASSERT_EQ(g.GetRows(), 1);  // both lines of a large-field row
    EXPECT_EQ(g.GetValue(0, 3, 0.0), 7.5);
    EXPECT_EQ(g.GetValue(0, 4)->GetType(), CF06FieldVariant::eDouble);
    EXPECT_EQ(g.GetValue(0, 4, 0.0), 1e-3);
    EXPECT_EQ(g.GetValue(0, 5, 0), 3);
    EXPECT_STREQ(g.GetString(0, 6), "+P");
    EXPECT_EQ(g.GetValue(0, 7, 0.0), -10.0);
    EXPECT_STREQ(g.GetString(0, 9), "+8");  // the second line's mark

    const CBDFFields& m = cards.Next();
    ASSERT_EQ(m.GetRows(), 3);
    EXPECT_EQ(m.GetValue(0, 2, 0.0), 1e7);
    EXPECT_EQ(m.GetValue(0, 4, 0.0), 0.3);
    EXPECT_STREQ(m.GetString(0, 9), "+C1");
    EXPECT_STREQ(m.GetString(1, 0), "+C1");
    EXPECT_EQ(m.GetValue(1, 1, 0.0), 1.0);
    EXPECT_EQ(m.GetValue(1, 2)->GetType(), CF06FieldVariant::eInt);
    EXPECT_EQ(m.GetValue(1, 2, 0), 2);
    EXPECT_STREQ(m.GetString(1, 3), "+M");
    EXPECT_STREQ(m.GetString(1, 9), "+9");   // tenth free field
    EXPECT_STREQ(m.GetString(2, 0), "+3.");  // a wrapped row's first field
    EXPECT_TRUE(cards.AtEnd());
}

// A free-field line ending with a comma after its continuation mark keeps
// the mark and continues on the next line; other trailing commas still give
// their empty fields.
TEST(CBDFFieldParser, FreeFieldCommaAfterTheMarkKeepsTheContinuation) {
    Cards cards(
        "CORD2R, 5, , 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, +C1,$\n"
        "+C1, 0.0, 1.0, 1.0$\n"
        "CORD2R,6,,0.,0.,0.,0.,0.,1.,+C2,\n"
        "+C2,2.,3.,4.\n"
        "GRID,7,,1.,2.,\n");
    for (int id : {5, 6}) {
        SCOPED_TRACE(id);
        const CBDFFields& c = cards.Next();
        ASSERT_EQ(c.GetRows(), 2);
        EXPECT_EQ(c.GetValue(0, 1, 0), id);
        EXPECT_EQ(c.GetValue(0, 8, 0.0), 1.0);
        EXPECT_NE(c.GetString(0, 9), nullptr);
        EXPECT_EQ(c.GetString(0, 9), std::string(id == 5 ? "+C1" : "+C2"));
        EXPECT_EQ(c.GetString(1, 0), std::string(id == 5 ? "+C1" : "+C2"));
        EXPECT_EQ(c.GetValue(1, 1, -1.0), id == 5 ? 0.0 : 2.0);
        EXPECT_EQ(c.GetValue(1, 3, -1.0), id == 5 ? 1.0 : 4.0);
    }
    const CBDFFields& g = cards.Next();
    ASSERT_EQ(g.GetRows(), 1);
    EXPECT_EQ(g.GetCols(0), 6);
    EXPECT_EQ(g.GetValue(0, 4, 0.0), 2.0);
    EXPECT_TRUE(cards.AtEnd());
}

// Where the file's last line, without its line end, stops inside a
// number's exponent (the sign to the reader that the file was cut there);
// the same line with its line end is complete.
TEST(CBDFFieldParser, LineEndingInsideANumberIsNoticed) {
    struct Case {
        const char* line;
        bool inside;
    } cases[] = {{"GRID    1               1.5E", true},
                 {"GRID    1               1.5E-", true},
                 {"GRID    1               7.+", true},
                 {"GRID,1,,0.,1e", true},
                 {"GRID    1               1.5E    ", false},  // the field ends
                 {"GRID    1               1.5E+3", false},
                 {"GRID    1               1.5", false},
                 {"GRID    1               -", false},
                 {"GRID    1               ONE", false},
                 {"GRID,1,,0.,7.+$", false},  // a comment follows
                 {"GRID    1       2.      3.      4.      5.      6.      7.            8.+",
                  false},  // "+" is the mark after column 72
                 {"GRID    1       2.      3.      4.      5.      6.      7.      8.+", true},
                 {"GRID    1", false}};
    for (const Case& c : cases) {
        {
            Cards cards(c.line);
            cards.Next();
            EXPECT_EQ(cards.parser().EndsInsideNumber(), c.inside) << c.line;
        }
        Cards ended(std::string(c.line) + "\n");
        ended.Next();
        EXPECT_FALSE(ended.parser().EndsInsideNumber()) << c.line;
    }
}

}  // namespace
