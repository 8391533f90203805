#include "F06Parser/CF06FileBuffer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "F06Parser/CF06TextBuffer.h"
#include "layuplib/CKpStr.h"

namespace {

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "f06buf_" + name + "_" + std::to_string(::getpid());
}

// A file holding `bytes`, removed with the object.
struct TempFile {
    std::string path;
    TempFile(const std::string& name, const std::string& bytes) : path(TempPath(name)) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    ~TempFile() { std::remove(path.c_str()); }
};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

long long SizeOnDisk(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

// Byte k of the patterned test files.
char Pattern(long long k) {
    return static_cast<char>('a' + (k * 7 + k / 4093) % 26);
}

TEST(CF06FileBuffer, EndOfFileReadsZeroAndStaysThere) {
    TempFile f("eof", "abc");
    CF06FileBuffer buf;
    ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
    EXPECT_EQ(buf[2], 'c');
    EXPECT_EQ(buf[3], '\0');
    EXPECT_EQ(buf[4], '\0');
    EXPECT_EQ(buf[-1], '\0');
    EXPECT_FALSE(buf.InWindow(3));
    EXPECT_EQ(buf[0], 'a');  // stepping back after the end rereads
    EXPECT_EQ(buf.GetFileSize(), 3);
}

TEST(CF06FileBuffer, MissingFileOrNullPathFailsToOpen) {
    CF06FileBuffer buf;
    EXPECT_EQ(buf.OpenRead(TempPath("absent").c_str(), 1), 1);
    EXPECT_EQ(buf.OpenRead(nullptr, 1), 1);
    EXPECT_EQ(buf[0], '\0');
    EXPECT_EQ(buf.Seek(0), -1);
    EXPECT_EQ(buf.GetFileSize(), -1);
}

TEST(CF06FileBuffer, GetLineHandlesLineEndsAndLimit) {
    std::string longLine(200, 'x');
    for (int i = 0; i < 200; ++i) longLine[i] = Pattern(i);
    TempFile f("lines", "abc\r\nde\n\n" + longLine + "\nlast");
    CF06FileBuffer buf;
    ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
    char line[134];
    std::int64_t pos = buf.GetLine(0, line, 133);
    EXPECT_STREQ(line, "abc");
    EXPECT_EQ(pos, 5);  // after the LF of CR LF
    pos = buf.GetLine(pos, line, 133);
    EXPECT_STREQ(line, "de");
    EXPECT_EQ(pos, 8);
    // The line feed of the empty line reads as left over from "de": the
    // empty line is passed over.
    std::int64_t start = pos + 1;
    pos = buf.GetLine(pos, line, 133);
    EXPECT_EQ(std::string(line), longLine.substr(0, 133));
    EXPECT_EQ(pos, start + 134);  // the 134th character was read and dropped
    pos = buf.NextLine(pos);
    pos = buf.GetLine(pos, line, 133);
    EXPECT_STREQ(line, "last");
    EXPECT_EQ(buf[pos], '\0');
}

TEST(CF06FileBuffer, NextLineFindsLineFeedsAcrossWindows) {
    std::string text = std::string(5000, 'a') + "\nB\n" + std::string(10, 'c');
    TempFile f("next", text);
    CF06FileBuffer buf;  // 4096-byte window: the first line feed lies in the second
    ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
    EXPECT_EQ(buf.NextLine(0), 5001);
    EXPECT_EQ(buf.NextLine(5000), 5003);  // a line feed at pos belongs to the previous line
    EXPECT_EQ(buf.NextLine(5001), 5003);
    EXPECT_EQ(buf.NextLine(5003), static_cast<std::int64_t>(text.size()));  // end of file
}

TEST(CF06FileBuffer, WindowStepsBackAndJumpsAhead) {
    const long long n = 7 * 1024 * 1024 + 17;
    std::string bytes(static_cast<size_t>(n), ' ');
    for (long long k = 0; k < n; ++k) bytes[static_cast<size_t>(k)] = Pattern(k);
    TempFile f("window", bytes);
    CF06FileBuffer buf;
    ASSERT_EQ(buf.SetBufferSize(2097152, 512), 0);
    ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
    // Forward one window at a time, back to the start, then jumps of more
    // than a window (seeks) and the last bytes.
    for (long long k :
         {0LL, 1000LL, 2097151LL, 2097152LL, 3000000LL, 10LL, 6500000LL, 100LL, n - 1}) {
        EXPECT_EQ(buf[k], Pattern(k)) << "position " << k;
    }
    EXPECT_EQ(buf[n], '\0');
    char dest[5000];
    std::int64_t end = buf.ReadIntoBuffer(2097152 - 2500, dest, 5000);
    EXPECT_EQ(end, 2097152 - 2500 + 5000);
    EXPECT_EQ(std::string(dest, 5000), bytes.substr(2097152 - 2500, 5000));
    EXPECT_EQ(buf.ReadIntoBuffer(n - 3, dest, 10), n);  // the file ends first
}

TEST(CF06FileBuffer, PositionsBeyondFourGigabytes) {
    const std::string path = TempPath("sparse");
    const long long where = 3000000123LL;
    FILE* fp = std::fopen(path.c_str(), "wb");
    ASSERT_NE(fp, nullptr);
    ASSERT_EQ(fseeko(fp, where, SEEK_SET), 0);
    std::fputs("Z\nBEGIN", fp);
    std::fclose(fp);
    {
        CF06FileBuffer buf;
        ASSERT_EQ(buf.SetBufferSize(1048576, 512), 0);
        ASSERT_EQ(buf.OpenRead(path.c_str(), 1), 0);
        EXPECT_EQ(buf.GetFileSize(), where + 7);
        EXPECT_EQ(buf[where], 'Z');
        EXPECT_EQ(buf[where - 1], '\0');  // a hole reads as zero bytes
        EXPECT_EQ(buf.NextLine(where), where + 2);
        EXPECT_EQ(buf.FindString(where, "BEGIN", 0), where + 2);
        EXPECT_EQ(buf[where + 7], '\0');
    }
    std::remove(path.c_str());
}

TEST(CF06FileBuffer, FindStringStaysOnItsLineWhenAsked) {
    TempFile f("find", "alpha beta\ngamma BEGIN bulk\n");
    CF06FileBuffer buf;
    ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
    EXPECT_EQ(buf.FindString(0, "beta", 1), 6);
    EXPECT_EQ(buf.FindString(0, "BEGIN", 1), -1);
    EXPECT_EQ(buf.FindString(0, "BEGIN", 0), 17);
    EXPECT_EQ(buf.FindString(0, "begin", 0), -1);
    EXPECT_EQ(buf.FindiString(0, "begin BULK", 0), 17);
    EXPECT_EQ(buf.FindString(0, "bulkx", 0), -1);  // partial match at the end of file
    EXPECT_EQ(buf.FindString(0, "", 0), -1);
}

TEST(CF06FileBuffer, BufferedWriteGoesOutInWholeBlocks) {
    const std::string path = TempPath("write");
    std::string data(5000, ' ');
    for (int k = 0; k < 5000; ++k) data[k] = Pattern(k);
    {
        CF06FileBuffer buf;
        ASSERT_EQ(buf.OpenWrite(path.c_str(), 1), 0);
        EXPECT_EQ(buf.Write(data.data(), 5000), 0);
        buf.Flush();
        EXPECT_EQ(SizeOnDisk(path), 4096);  // one full block at once
        EXPECT_EQ(buf.Close(), 0);
        EXPECT_EQ(ReadAll(path), data);  // the 904 waiting bytes at close
        // Larger than two buffers in one call; the destructor writes the rest.
        ASSERT_EQ(buf.OpenWrite(path.c_str(), 1), 0);
        std::string big = data + data;
        EXPECT_EQ(buf.Write("x", 1), 0);
        EXPECT_EQ(buf.Write(big.data(), static_cast<int>(big.size())), 0);
        EXPECT_EQ(buf.Write(nullptr, 5), 0);
    }
    EXPECT_EQ(ReadAll(path), "x" + data + data);
    std::remove(path.c_str());
}

TEST(CF06FileBuffer, FullDeviceIsReportedAtCloseOrWrite) {
    CF06FileBuffer buf;
    ASSERT_EQ(buf.OpenWrite("/dev/full", 1), 0);
    std::string data(10000, 'q');
    buf.Write(data.data(), 100);
    buf.Write(data.data(), 10000);
    EXPECT_EQ(buf.Close(), -1);
}

TEST(CF06FileBuffer, AttachKeepsCallerStreamOpenAndOpenOwnsTheNext) {
    TempFile f("attach", "hello\n");
    FILE* fp = std::fopen(f.path.c_str(), "rb");
    ASSERT_NE(fp, nullptr);
    {
        CF06FileBuffer buf;
        buf.Attach(fp);
        EXPECT_EQ(buf[1], 'e');
        EXPECT_EQ(buf.Close(), 0);
        // The adopted stream is still usable by its owner.
        EXPECT_EQ(std::fseek(fp, 0, SEEK_SET), 0);
        EXPECT_EQ(std::fgetc(fp), 'h');
        buf.Attach(fp);
        EXPECT_EQ(buf[4], 'o');
        // Opening a file after Attach owns it: the destructor closes it,
        // the adopted stream stays open.
        ASSERT_EQ(buf.OpenRead(f.path.c_str(), 1), 0);
        EXPECT_EQ(buf[0], 'h');
    }
    ASSERT_EQ(std::fseek(fp, 1, SEEK_SET), 0);
    EXPECT_EQ(std::fgetc(fp), 'e');
    std::fclose(fp);
}

TEST(CF06TextBuffer, DeliversLinesOfEveryEndingAndCountsThem) {
    std::string longLine(10000, 'L');
    TempFile f("text", "one\r\ntwo\n\n" + longLine + "\nlast");
    CF06TextBuffer text;
    ASSERT_EQ(text.OpenRead(f.path.c_str()), 0);
    CKpStr line;
    std::vector<std::string> got;
    while (text.GetNextLine(line) == 0) got.push_back(std::string(line));
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], "one");
    EXPECT_EQ(got[1], "two");
    EXPECT_EQ(got[2], "");
    EXPECT_EQ(got[3], longLine);
    EXPECT_EQ(got[4], "last");
    EXPECT_EQ(text.GetLineCount(), 5);
    EXPECT_EQ(std::string(line), "");
    EXPECT_EQ(text.GetNextLine(line), 1);
    EXPECT_EQ(text.Close(), 0);
    EXPECT_EQ(text.GetLineCount(), 0);
    EXPECT_EQ(text.OpenRead(TempPath("nothing").c_str()), 1);
}

TEST(CF06TextBuffer, WritesThroughItsBuffer) {
    const std::string path = TempPath("textw");
    CF06TextBuffer text;
    ASSERT_EQ(text.OpenWrite(path.c_str(), 0), 0);
    EXPECT_EQ(text.Write("ab\n", 3), 0);
    EXPECT_EQ(text.Close(), 0);
    EXPECT_EQ(ReadAll(path), "ab\n");
    std::remove(path.c_str());
}

}  // namespace
