#include "fileformats/CESAComp.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "fileformats/CESACompResults.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/ExchangeModel.h"

namespace {

std::string Row(const std::string& id, const std::string& value, const std::string& mode = "",
                const std::string& layer = "") {
    std::string s = "<tr><td>" + id + "</td><td>" + value + "</td>";
    if (!mode.empty() || !layer.empty()) s += "<td>" + mode + "</td><td>" + layer + "</td>";
    return s + "</tr>\n";
}

std::string Doc(const std::string& body) {
    return "<?xml version=\"1.0\"?>\n<OBJECT type=\"results\">\n" + body + "</OBJECT>\n";
}

// Reads `text` as a file through the reader; the status.
int ReadText(ExchangeModel& x, const std::string& name, const std::string& text) {
    const std::string path = xfiles::TempPath(name);
    xfiles::WriteAll(path, text);
    CESAComp reader;
    const int status = x.Read(reader, path, 0);
    std::remove(path.c_str());
    return status;
}

float Value(CKpRes* res, int elem) {
    CKpResElem* rec = res->ResElems()->find(elem);
    return rec ? rec->GetFloat(0) : -1.0f;
}

}  // namespace

TEST(ESAComp, ReadsPrettyPrintedTablesWithEntitiesIntoOneResult) {
    ExchangeModel x("esacomp_pretty");
    const std::string text =
        Doc("  <EVAR name=\"VRIM_Name\">\n    Wing &amp; flap\n  </EVAR>\n"
            "  <DTABLE name=\"First\">\n"
            "    <tr>\n      <td>\n        12\n      </td>\n      <td> 0.5 </td>\n"
            "      <td>Fibre &lt;tension&gt;</td>\n      <td>  Ply 3 </td>\n    </tr>\n"
            "    " +
            Row("7", "1.25") +
            "  </DTABLE>\n"
            "  <DTABLE>\n" +
            Row("99", "9.0") +
            "  </DTABLE>\n"
            "  <DTABLE name=\"Second\">\n" +
            Row("30", "2e-1", "Matrix", "Ply 1") + Row("0", "5") + Row("abc", "5") +
            Row("12", "0.75") + "  </DTABLE>\n");
    ASSERT_EQ(ReadText(x, "pretty.xml", text), 0);
    ASSERT_EQ(x.model.pRess()->entries(), 1);
    CKpRes* res = (*x.model.pRess())[0];
    EXPECT_EQ(res->id(), 1);
    EXPECT_STREQ(res->name(0), "Wing & flap");
    EXPECT_STREQ(res->name(1), "Subcase");
    EXPECT_STREQ(res->name(2), "ESAComp Result");
    EXPECT_STREQ(res->name(3), "invRF");
    EXPECT_STREQ(res->name(4), "Unlayered");
    EXPECT_EQ(res->orient(), 4);
    EXPECT_EQ(res->type(), 1);
    EXPECT_EQ(res->loc(), 1);
    // 12 (twice: the later value), 7, 30; the nameless table and the rows
    // without a positive id are left out.
    EXPECT_EQ(res->ResElems()->entries(), 3);
    EXPECT_FLOAT_EQ(Value(res, 12), 0.75f);
    EXPECT_FLOAT_EQ(Value(res, 7), 1.25f);
    EXPECT_FLOAT_EQ(Value(res, 30), 0.2f);
    EXPECT_EQ(Value(res, 99), -1.0f);
    const std::string log = x.Log();
    EXPECT_NE(log.find("Results Name: Wing & flap"), std::string::npos);
    EXPECT_NE(log.find("Table: First"), std::string::npos);
    EXPECT_NE(log.find("Table: Second"), std::string::npos);
    EXPECT_NE(log.find("12, 0.500000, Fibre <tension>, Ply 3"), std::string::npos);
    EXPECT_NE(log.find("7, 1.250000, , "), std::string::npos);
    EXPECT_NE(log.find("Element 12 given again"), std::string::npos);
    EXPECT_EQ(x.Count(2), 2);
    EXPECT_TRUE(x.Has(2, "Table Second, row 2: no positive element id, row skipped"));
    EXPECT_TRUE(x.Has(2, "Table Second, row 3: no positive element id, row skipped"));

    // A second file gets the next id and, without VRIM_Name, an empty name.
    ASSERT_EQ(ReadText(x, "noname.xml", Doc("<DTABLE name=\"T\">" + Row("3", "4") + "</DTABLE>")),
              0);
    ASSERT_EQ(x.model.pRess()->entries(), 2);
    CKpRes* second = (*x.model.pRess())[1];
    EXPECT_EQ(second->id(), 2);
    EXPECT_STREQ(second->name(0), "");
    EXPECT_FLOAT_EQ(Value(second, 3), 4.0f);
}

TEST(ESAComp, CellTextSurvivesPieceEdgesAndLongCellsAreCut) {
    ExchangeModel x("esacomp_edges");
    // Pad so that the value of the first row straddles the 4096-byte edge.
    const std::string head = Doc("").substr(0, Doc("").find("</OBJECT>"));
    std::string pad = "<!--";
    const std::string before = head + "<DTABLE name=\"T\"><tr><td>5</td><td>";
    pad += std::string(4096 - before.size() - pad.size() - 3 - 4, 'x') + "-->";
    const std::string text = head + pad +
                             "<DTABLE name=\"T\"><tr><td>5</td><td>123.456789</td>"
                             "<td>" +
                             std::string(300, 'm') + "</td></tr></DTABLE></OBJECT>\n";
    ASSERT_LT(text.find("123.456789"), 4096u);
    ASSERT_GT(text.find("123.456789") + 10, 4096u);
    ASSERT_EQ(ReadText(x, "edge.xml", text), 0);
    CKpRes* res = (*x.model.pRess())[0];
    EXPECT_FLOAT_EQ(Value(res, 5), 123.456789f);
    EXPECT_NE(x.Log().find("5, 123.456789, " + std::string(128, 'm') + ", \n"), std::string::npos);
}

TEST(ESAComp, ReportsFilesThatCannotBeLoaded) {
    ExchangeModel x("esacomp_errors");
    EXPECT_EQ(ReadText(x, "broken.xml", Doc("<DTABLE name=\"T\"><tr><td>1</td></DTABLE>")), 1);
    EXPECT_TRUE(x.Has(4, "broken.xml: Parse Error: mismatched tag at line 3")) << x.Log();
    EXPECT_EQ(ReadText(x, "empty.xml", ""), 1);
    EXPECT_TRUE(x.Has(4, "empty.xml is empty")) << x.Log();
    EXPECT_EQ(ReadText(x, "cut.xml", "<OBJECT>\n<DTABLE name=\"T\">"), 1);
    EXPECT_TRUE(x.Has(4, "cut.xml: Parse Error: the file ends early (no element found) at line 2"))
        << x.Log();
    CESAComp reader;
    EXPECT_EQ(x.Read(reader, "/nonexistent-dir/r.xml", 0), 1);
    EXPECT_TRUE(x.Has(4, "Unable to load results: /nonexistent-dir/r.xml does not exist"));
    EXPECT_EQ(x.model.pRess()->entries(), 0);
    EXPECT_EQ(reader.Write(), -1);

    const char* attrs[] = {"a", "1", "b", "2", "a", "3", nullptr};
    EXPECT_STREQ(CXMLParser::GetAttributeValue(attrs, "a"), "1");
    EXPECT_EQ(CXMLParser::GetAttributeValue(attrs, "c"), nullptr);
}

// Every spelling of ids and values a table may hold, read into results and
// information lines that must not change by one byte: the fingerprint was
// taken from a reader formatting its lines with printf and reading its
// numbers with strtol and strtod.
TEST(ESAComp, OddCellsKeepTheirResultsAndMessages) {
    ExchangeModel x("esacomp_odd");
    std::string body = "  <EVAR name=\"VRIM_Name\">Odd cells</EVAR>\n  <DTABLE name=\"T\">\n";
    const char* values[] = {"0.5",       "1.5E+01",  "-0",      "0.0078125", "1e-7",
                            "abc",       "7.25-02",  "",        "  3.25  ", "1e400",
                            "-1e-9",     "0x1p3",    "inf",     "4.9e-324", "123456789012.5",
                            "0.3333333333333333333"};
    const char* ids[] = {"1", "+2", "003", " 4 ", "5x", "-6", "2147483647", "2147483648", "9", "2"};
    for (int i = 0; i < 40; ++i) {
        const std::string id = i < 10 ? ids[i] : std::to_string(10 + i);
        body += Row(id, values[i % 16], i % 3 ? "Fibre tension" : "",
                    i % 5 ? "Ply " + std::to_string(i % 7) : "");
    }
    body += "  </DTABLE>\n";
    ASSERT_EQ(ReadText(x, "odd.xml", Doc(body)), 0);
    std::string log = x.Log();
    log = log.substr(log.find("Results Name"));
    unsigned long long h = 14695981039346656037ull;
    for (unsigned char c : log) h = (h ^ c) * 1099511628211ull;
    std::string dump;
    CKpRes* res = (*x.model.pRess())[0];
    ASSERT_NE(res, nullptr);
    for (int k = 0; k < res->ResElems()->entries(); ++k) {
        const CKpResElem* e = (*res->ResElems())[k];
        float f = e->GetFloat(0);
        unsigned bits;
        std::memcpy(&bits, &f, sizeof bits);
        dump += std::to_string(e->id()) + ":" + std::to_string(bits) + " ";
    }
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016llx", h);
    EXPECT_EQ(std::string(hash), "9f397aed3635b78a");
    EXPECT_EQ(dump,
              "1:1056964608 2:2139095040 3:2147483648 4:1006632960 9:1078984704 20:2961797215 "
              "21:1090519040 22:2139095040 23:0 24:1374024905 25:1051372203 26:1056964608 "
              "27:1097859072 28:2147483648 29:1006632960 30:869711765 31:0 32:1088946176 33:0 "
              "34:1078984704 35:2139095040 36:2961797215 37:1090519040 38:2139095040 39:0 "
              "40:1374024905 41:1051372203 42:1056964608 43:1097859072 44:2147483648 "
              "45:1006632960 46:869711765 47:0 48:1088946176 49:0 2147483647:1088946176 ");
}
