#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "layuplib/CPLBuffer.h"
#include "layuplib/CPLCFile.h"
#include "layuplib/CPLCFileStream.h"
#include "layuplib/CPLCTextFile.h"
#include "layuplib/CPLString.h"

namespace {

// A fresh directory per test, removed afterwards.
class CPLFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string tmpl = ::testing::TempDir() + "cplfile_XXXXXX";
        ASSERT_NE(mkdtemp(&tmpl[0]), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::string Write(const char* name, const std::string& bytes) {
        std::string path = dir + "/" + name;
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return path;
    }

    std::string dir;
};

}  // namespace

TEST(CPLBuffer, RoundTripOfIntsCharsAndTexts) {
    CPLBuffer b;
    b << 123456 << 'q' << "first" << static_cast<const char*>(nullptr) << -7;
    int i = 0, j = 0;
    char c = 0;
    char text[16];
    CPLString s("old");
    b >> i >> c >> text >> s >> j;
    EXPECT_EQ(
        std::to_string(i) + c + text + "|" + static_cast<const char*>(s) + "|" + std::to_string(j),
        "123456qfirst||-7");
    EXPECT_EQ(b.Size(), 0);
    EXPECT_EQ(b[100], 0);
}

TEST(CPLBuffer, TruncatedExtractionTakesNothing) {
    CPLBuffer b;
    b += "ab";  // no terminator, only 2 bytes
    int i = 99;
    char text[8] = "keep";
    CPLString s("keep");
    b >> i >> text >> s;
    EXPECT_EQ(i, 99);
    EXPECT_STREQ(text, "keep");
    EXPECT_STREQ(s, "keep");
    EXPECT_EQ(b.Size(), 2);
    char c[3] = {0, 0, 'z'};
    b >> c[0] >> c[1] >> c[2];
    EXPECT_EQ(std::string(c, 3), "abz");  // nothing left for the third
}

TEST(CPLBuffer, SetAddExtractAndSizes) {
    CPLBuffer a, b;
    EXPECT_EQ(a.SetData(nullptr, 3), 1);
    ASSERT_EQ(a.SetData("hello world", 11), 0);
    char c;
    a >> c >> c;  // read past "he"
    b = a;        // takes the unread bytes only
    b += b;       // appending to itself
    EXPECT_EQ(b.Size(), 18);
    b.MakeString();
    EXPECT_STREQ(b.GetBuffer(), "llo worldllo world");

    CPLBuffer part;
    EXPECT_EQ(a.Extract(6, 11, part), 0);
    EXPECT_EQ(std::string(part.GetBuffer(), part.Size()), "world");
    EXPECT_EQ(a.Extract(6, 12, part), 1);
    EXPECT_EQ(a.Extract(5, 4, part), 1);
    EXPECT_EQ(a.Extract(2, 5, a), 0);  // into itself
    EXPECT_EQ(std::string(a.GetBuffer(), a.Size()), "llo");
}

TEST_F(CPLFileTest, PlainFileAndStreamOperators) {
    std::string path = dir + "/bin";
    CPLCFileStream out;
    EXPECT_EQ(out.Write("x", 1), -1);
    ASSERT_EQ(out.OpenWrite(path.c_str()), 0);
    CPLBuffer payload;
    payload << 5 << "ab";
    out << 42 << 'c' << "text" << payload;
    EXPECT_EQ(out.Tell(), 4 + 1 + 4 + 7);
    EXPECT_EQ(out.Close(), 0);

    CPLCFileStream in;
    ASSERT_EQ(in.OpenRead(path.c_str()), 0);
    int v = 0;
    char ch = 0;
    in >> v >> ch;
    EXPECT_EQ(std::to_string(v) + ch, "42c");
    std::int64_t pos = 0;
    ASSERT_EQ(in.Tell(&pos), 0);
    EXPECT_EQ(pos, 5);
    ASSERT_EQ(in.Seek(&pos), 0);
    CPLBuffer four;
    four.Size(4);
    EXPECT_EQ(in.Read(four), 4);
    EXPECT_EQ(std::string(four.GetBuffer(), 4), "text");
    ASSERT_EQ(in.Seek(-2L, CPLCFile::eSeekEnd), 0);
    v = -1;
    EXPECT_EQ(in.Read(v), 1);  // only 2 bytes left
    EXPECT_EQ(v, -1);
    EXPECT_EQ(in.IsEOF(), 1);
}

TEST_F(CPLFileTest, ReadLineHandlesLineEndsLongLinesAndLastLine) {
    std::string l200(200, 'a'), l5000(5000, 'b');
    // Line ends: LF, CRLF, CR split from LF at the 126-byte piece border.
    std::string border(125, 'c');
    std::string bytes = "one\r\n" + l200 + "\n\n" + border + "\r\n" + l5000 + "\nlast";
    std::string path = Write("lines.txt", bytes);
    const std::string expected[] = {"one", l200, "", border, l5000, "last"};

    CPLCTextFile f;
    CPLString line;
    EXPECT_EQ(f.ReadLine(line), 1);  // not open
    for (bool binary : {false, true}) {
        ASSERT_EQ(f.OpenRead(path.c_str()), 0);
        for (const std::string& e : expected) {
            ASSERT_EQ(binary ? f.ReadLineBinary(line) : f.ReadLine(line), 0);
            EXPECT_EQ(std::string(line), e) << (binary ? "binary" : "text");
        }
        EXPECT_EQ(binary ? f.ReadLineBinary(line) : f.ReadLine(line), 1);
    }
}

TEST_F(CPLFileTest, ReadLineBinaryAcrossManyChunks) {
    std::string bytes;
    for (int i = 0; i < 3000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    CPLCTextFile f;
    ASSERT_EQ(f.OpenRead(Write("many.txt", bytes).c_str()), 0);
    CPLString line;
    int n = 0;
    while (f.ReadLineBinary(line) == 0) {
        ASSERT_EQ(std::string(line), "line " + std::to_string(n));
        ++n;
    }
    EXPECT_EQ(n, 3000);
}

TEST_F(CPLFileTest, IsDOSTextAndWriting) {
    std::string path = dir + "/out.txt";
    CPLCTextFile w;
    EXPECT_EQ(w.WriteLine("x", 0), 1);  // not open
    ASSERT_EQ(w.OpenWrite(path.c_str()), 0);
    CPLString s("dos");
    w.WriteLine(s, 1);
    w.WriteLine("unix", 0);
    w << "a" << CPLString("b") << endl;
    w.Close();

    FILE* f = std::fopen(path.c_str(), "rb");
    char got[32] = {0};
    size_t n = std::fread(got, 1, sizeof got - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(got, n), "dos\r\nunix\nab\n");

    // A first line longer than one chunk is still judged by its line end.
    const std::pair<std::string, int> cases[] = {
        {"dos\r\n", 1}, {"a\r b\nc\r\n", 0}, {std::string(6000, 'x') + "\r\n", 1}, {"", 0}};
    CPLCTextFile r;
    for (const auto& c : cases) {
        ASSERT_EQ(r.OpenRead(Write("in.txt", c.first).c_str()), 0);
        EXPECT_EQ(r.IsDOSText(), c.second) << c.first.substr(0, 12);
    }
}
