#include "fileformats/CXMLLightWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/support/ExchangeFiles.h"

namespace {

// Where written documents go: PLYSTRAND_EXPORT_DIR when set (the
// well-formedness check reads them there), else the test temp folder.
std::string XmlPath(const std::string& name) {
    const char* dir = std::getenv("PLYSTRAND_EXPORT_DIR");
    if (dir && *dir) return std::string(dir) + "/" + name + ".xml";
    return xfiles::TempPath(name + ".xml");
}

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string Escaped(const char* text) {
    CKpStr out;
    CXMLLightWriter::ReplaceInvalidCharacters(text, out);
    return std::string(out);
}

}  // namespace

TEST(XmlLightWriter, WritesElementsTextAndAttributesByteForByte) {
    const std::string path = XmlPath("writer_sequences");
    {
        CXMLLightWriter w;
        ASSERT_EQ(w.Open(path.c_str()), 0);
        w.Begin("Doc");
        w.Begin("A");
        w.Attribute("n", 2);
        w.Begin("B");
        w.End();
        w.Data("x");
        w.End();
        w.Begin("C");
        w.Attribute("s", "a<b");
        w.Attribute("t", "plain words");
        w.Attribute("h", 0.5);
        w.Attribute("e", 1e-07);
        w.Begin("X");
        w.End();
        w.Begin("D");
        w.Begin("E");
        w.Attribute("q", "\"it's\" & more");
        w.End();
        w.End();
        w.Data("caf\xC3\xA9\tok");
        w.BeginEnd("R");
        w.Comment(" note ");
        w.End();
        w.End();
        EXPECT_EQ(w.PoolSize(), 4);
        EXPECT_EQ(w.Close(), 0);
    }
    EXPECT_EQ(xfiles::ReadAll(path),
              kDecl +
                  "<Doc>\n"
                  "<A n=\"2\">\n"
                  "<B/>\n"
                  "x</A>\n"
                  "<C s=\"a&#060;b\" t=\"plain words\" h=\"0.5\" e=\"1e-07\">\n"
                  "<X/>\n"
                  "<D>\n"
                  "<E q=\"&#034;it&#039;s&#034; &#038; more\"/>\n"
                  "</D>\n"
                  "caf\xC3\xA9\tok<R/>\n"
                  "<!-- note -->\n"
                  "</C>\n"
                  "</Doc>\n");
}

TEST(XmlLightWriter, EscapesOnlyWhatXmlCannotCarry) {
    EXPECT_EQ(Escaped("plain"), "plain");
    EXPECT_EQ(Escaped("a<b>&c"), "a&#060;b&#062;&#038;c");
    // Valid UTF-8 of 2, 3 and 4 bytes passes unchanged next to an escape.
    EXPECT_EQ(Escaped("\xC3\xA9<\xE2\x82\xAC\xF0\x9F\x98\x80"),
              "\xC3\xA9&#060;\xE2\x82\xAC\xF0\x9F\x98\x80");
    // Latin-1 bytes, a cut sequence, an overlong form and a surrogate keep
    // byte references.
    EXPECT_EQ(Escaped("caf\xE9"), "caf&#233;");
    EXPECT_EQ(Escaped("x\xC3"), "x&#195;");
    EXPECT_EQ(Escaped("\xC0\xAF"), "&#192;&#175;");
    EXPECT_EQ(Escaped("\xED\xA0\x80"), "&#237;&#160;&#128;");
    // Controls XML forbids become U+FFFD; tab, CR and LF stay.
    EXPECT_EQ(Escaped("a\x07"
                      "b\t\r\n"),
              "a\xEF\xBF\xBD"
              "b\t\r\n");

    EXPECT_EQ(CXMLLightWriter::ContainsInvalidCharacter("a b\tc"), 0);
    EXPECT_EQ(CXMLLightWriter::ContainsInvalidCharacter("a'b"), 1);
    EXPECT_EQ(CXMLLightWriter::ContainsInvalidCharacter("\xC3\xA9"), 1);
    EXPECT_EQ(CXMLLightWriter::IsCharacter('\x7f'), 1);
    EXPECT_EQ(CXMLLightWriter::IsCharacter('\x1f'), 0);
}

TEST(XmlLightWriter, ReportsOpenAndWriteFailures) {
    CXMLLightWriter w;
    EXPECT_EQ(w.Open(nullptr), 1);
    EXPECT_EQ(w.Open("/nonexistent-dir/x.xml"), 2);
    // Calls without an open element or stream do nothing.
    w.End();
    w.Data("x");
    EXPECT_EQ(w.Close(), 0);
    // A full device accepts the open but not the data.
    ASSERT_EQ(w.Open("/dev/full"), 0);
    w.Begin("A");
    for (int i = 0; i < 2000; ++i) w.Data("0123456789");
    w.End();
    EXPECT_EQ(w.Close(), 1);
}
