#include "op2reader/op2_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Op2Swap.h"
#include "tests/support/TestData.h"

namespace {

std::string DataFile(const std::string& name) {
    return TestDataFile("op2", name);
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Spit(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string TempPath(const char* stem) {
    return testing::TempDir() + stem + std::to_string(getpid()) + ".op2";
}

// The library's error stream, captured per test.
class Op2File : public testing::Test {
  protected:
    void SetUp() override {
        err_ = std::tmpfile();
        op2_Init(err_);
    }
    void TearDown() override {
        for (int id = 1; id <= 10; ++id) op2_CloseFile(id);
        op2_Init(nullptr);
        std::fclose(err_);
    }
    std::string Errors() {
        std::fflush(err_);
        std::rewind(err_);
        std::string text;
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, err_)) > 0) text.append(buf, n);
        std::rewind(err_);
        if (ftruncate(fileno(err_), 0) != 0) text += "(truncate failed)";
        return text;
    }
    FILE* err_ = nullptr;
};

int Name(const char* text, int which) {
    int w[2];
    char padded[8];
    std::memset(padded, ' ', 8);
    std::memcpy(padded, text, std::min<size_t>(8, std::strlen(text)));
    std::memcpy(w, padded, 8);
    return w[which];
}

// Writes: label "TESTLABL"; table "TAB1" with records {1..5} (one piece),
// {10..16} (pieces of 3 and 4), {} (no data); matrix "MAT1" of 6 rows, type
// 2, with a packed column and a row-list column with a gap.
std::string WriteSample(const std::string& path) {
    int id = op2_OpenFile(path.c_str(), 'W');
    EXPECT_GE(id, 1);
    int label[2] = {Name("TESTLABL", 0), Name("TESTLABL", 1)};
    EXPECT_EQ(op2_WriteLabel(id, label), 0);
    char name[9] = "TAB1";
    int trailer[6] = {7, 0, 0, 0, 0, 9};
    int eof = -1;
    EXPECT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), 0);
    EXPECT_EQ(eof, 0);
    int a[5] = {1, 2, 3, 4, 5};
    EXPECT_EQ(op2_WriteRecord(id, 5, 1, a), 0);
    int b[7] = {10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(op2_WriteRecord(id, 3, 0, b), 0);
    EXPECT_EQ(op2_WriteRecord(id, 4, 1, b + 3), 0);
    EXPECT_EQ(op2_WriteRecord(id, 0, 1, nullptr), 0);
    EXPECT_EQ(op2_CloseDatablk(id), 0);
    char mname[9] = "MAT1";
    int mtrailer[6] = {2, 6, 1, 2, 0, 0};
    EXPECT_EQ(op2_OpenDatablk(id, 0, mname, mtrailer, &eof), 0);
    int req[4] = {2, 2, 5, 1};
    double col[4] = {1.5, -2.25, 3.0, 4.125};
    EXPECT_EQ(op2_PackColumn(id, req, col), 0);
    int rows[4] = {1, 2, 5, 6};
    double vals[4] = {7.0, 8.0, 9.0, 10.0};
    EXPECT_EQ(op2_PackColumnI(id, 2, rows, 4, vals), 0);
    EXPECT_EQ(op2_CloseDatablk(id), 0);
    EXPECT_EQ(op2_CloseFile(id), 0);
    return Slurp(path);
}

TEST_F(Op2File, WrittenFileReadsBack) {
    std::string path = TempPath("sample");
    std::string bytes = WriteSample(path);
    // The file starts with the label's first record [1] 3 and ends with the
    // end-of-file record [1] 0.
    ASSERT_GE(bytes.size(), 24u);
    int first[3];
    std::memcpy(first, bytes.data(), 12);
    EXPECT_EQ(first[0], 4);
    EXPECT_EQ(first[1], 3);
    EXPECT_EQ(first[2], 4);
    int last[3];
    std::memcpy(last, bytes.data() + bytes.size() - 12, 12);
    EXPECT_EQ(last[1], 0);

    int id = op2_OpenFile(path.c_str(), 'R');
    ASSERT_GE(id, 1);
    int date[3];
    char label[9], version[13];
    ASSERT_EQ(op2_ReadLabel2(id, date, label, version), 0);
    EXPECT_STREQ(label, "TESTLABL");
    EXPECT_STREQ(version, "");
    EXPECT_GE(date[0], 1);
    EXPECT_LE(date[0], 12);
    int swapped = -1;
    ASSERT_EQ(op2_GetSwapped(id, &swapped), 0);
    EXPECT_EQ(swapped, 0);

    char name[9];
    int trailer[6], eof = -1;
    ASSERT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), 0);
    EXPECT_EQ(eof, 0);
    EXPECT_STREQ(name, "TAB1    ");
    EXPECT_EQ(trailer[0], 7);
    EXPECT_EQ(trailer[5], 9);

    int buf[16] = {0}, got = -1, status = -1;
    // Asking for more than the record holds: what there is, status 1.
    ASSERT_EQ(op2_ReadRecord(id, 16, 0, &got, &status, buf), 0);
    EXPECT_EQ(got, 5);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(buf[4], 5);
    // Two pieces come as one stream; fewer words with advance 0 keep the rest.
    ASSERT_EQ(op2_ReadRecord(id, 2, 0, &got, &status, buf), 0);
    EXPECT_EQ(got, 2);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(op2_ReadRecord(id, 4, 0, &got, &status, buf + 2), 0);
    EXPECT_EQ(got, 4);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(op2_ReadRecord(id, 4, 0, &got, &status, buf + 6), 0);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(status, 1);
    for (int k = 0; k < 7; ++k) EXPECT_EQ(buf[k], 10 + k);
    // The empty record, then the datablock's end.
    ASSERT_EQ(op2_ReadRecord(id, 4, 0, &got, &status, buf), 0);
    EXPECT_EQ(got, 0);
    EXPECT_EQ(status, 1);
    ASSERT_EQ(op2_ReadRecord(id, 4, 0, &got, &status, buf), 0);
    EXPECT_EQ(status, 2);
    ASSERT_EQ(op2_CloseDatablk(id), 0);

    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    EXPECT_STREQ(name, "MAT1    ");
    EXPECT_EQ(trailer[1], 6);
    EXPECT_EQ(trailer[3], 2);
    int req[4] = {2, 1, 6, 1}, eom = -1;
    double col[6];
    ASSERT_EQ(op2_UnpackColumn(id, req, &got, col, &eom), 0);
    EXPECT_EQ(got, 6);
    EXPECT_EQ(eom, 0);
    const double want1[6] = {0, 1.5, -2.25, 3.0, 4.125, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(col[k], want1[k]) << k;
    // Narrowed to single precision, every second row.
    int reqf[4] = {1, 1, 6, 2};
    float colf[3];
    ASSERT_EQ(op2_UnpackColumn(id, reqf, &got, colf, &eom), 0);
    EXPECT_EQ(got, 3);
    EXPECT_EQ(colf[0], 7.0f);
    EXPECT_EQ(colf[1], 0.0f);  // row 3 is in the gap
    EXPECT_EQ(colf[2], 9.0f);
    // Complex from a real matrix delivers nothing.
    int reqc[4] = {3, 1, 6, 1};
    EXPECT_EQ(op2_UnpackColumn(id, reqc, &got, col, &eom), -24);
    EXPECT_EQ(got, 0);
    ASSERT_EQ(op2_UnpackColumn(id, req, &got, col, &eom), 0);
    EXPECT_EQ(eom, 1);
    ASSERT_EQ(op2_CloseDatablk(id), 0);
    ASSERT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), 0);
    EXPECT_EQ(eof, 1);
    EXPECT_EQ(op2_CloseFile(id), 0);
    std::remove(path.c_str());
}

TEST_F(Op2File, RowListWithGapsIsWrittenAsSeveralStrings) {
    std::string path = TempPath("gaps");
    std::string bytes = WriteSample(path);
    // The row-list column {1,2,5,6} of doubles: strings of 4 words at row 1
    // and 4 words at row 5. Find "[1] 4, [5 words] row 1" then row 5.
    std::vector<int> w(bytes.size() / 4);
    std::memcpy(w.data(), bytes.data(), w.size() * 4);
    int strings = 0;
    for (size_t k = 0; k + 6 < w.size(); ++k)
        if (w[k] == 4 && w[k + 1] == 4 && w[k + 2] == 4 && w[k + 3] == 20 &&
            (w[k + 4] == 1 || w[k + 4] == 5))
            ++strings;
    EXPECT_EQ(strings, 2);
    std::remove(path.c_str());
}

TEST_F(Op2File, IdentifiersKeysAndSlotsAreChecked) {
    int dummy = 0, got, status, eof;
    char name[9];
    int trailer[6], req[4] = {1, 1, 1, 1};
    for (int id : {0, 11, -3}) {
        EXPECT_EQ(op2_CloseFile(id), -10);
        EXPECT_EQ(op2_GetSwapped(id, &dummy), -10);
        EXPECT_EQ(HandleSwapByte4Int(id, &dummy), -10);
        EXPECT_EQ(op2_ReadRecord(id, 1, 0, &got, &status, &dummy), -10);
        EXPECT_EQ(op2_WriteRecord(id, 1, 0, &dummy), -10);
        EXPECT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), -10);
        EXPECT_EQ(op2_CloseDatablk(id), -10);
        EXPECT_EQ(op2_UnpackColumn(id, req, &got, &dummy, &eof), -10);
        EXPECT_EQ(op2_PackColumn(id, req, &dummy), -10);
        EXPECT_EQ(op2_PackColumnI(id, 1, &dummy, 1, &dummy), -10);
    }
    std::string errors = Errors();
    EXPECT_NE(errors.find("\n*E* op2_CoseFile: Bad File Identifier, 0\n"), std::string::npos);
    EXPECT_NE(errors.find("\n*E* op2_UnpackColmn: Bad File Identifier, 11\n"), std::string::npos);

    EXPECT_EQ(op2_CloseFile(4), -11);
    EXPECT_EQ(Errors(), "\n*E* op2_CloseFile: File not open, File Identifier 4\n");
    std::string path = TempPath("slots");
    EXPECT_EQ(op2_OpenFile(path.c_str(), 'X'), -2);
    EXPECT_EQ(Errors(), "\n*E* op2_OpenFile: Wrong Access Key X\n");
    EXPECT_EQ(op2_OpenFile("/nonexistent/dir/file.op2", 'R'), -3);
    EXPECT_NE(Errors().find("Could not open file /nonexistent/dir/file.op2"), std::string::npos);

    std::vector<int> ids;
    for (int k = 0; k < 10; ++k) ids.push_back(op2_OpenFile(path.c_str(), 'W'));
    for (int k = 0; k < 10; ++k) EXPECT_EQ(ids[k], k + 1);
    EXPECT_EQ(op2_OpenFile(path.c_str(), 'W'), -1);
    EXPECT_EQ(Errors(), "\n*E* op2_OpenFile: Maximum Number of Open Files ( 10 ) reached\n");
    // A writer is not a reader.
    EXPECT_EQ(op2_GetSwapped(3, &dummy), -12);
    EXPECT_EQ(op2_ReadRecord(3, 1, 0, &got, &status, &dummy), -12);
    op2_End();
    EXPECT_NE(Errors().find("\n*E* op2_End: File with Identifier 10 not closed\n"),
              std::string::npos);
    for (int id : ids) EXPECT_EQ(op2_CloseFile(id), 0);
    EXPECT_EQ(op2_WriteRecord(1, -1, 0, &dummy), -11);
    std::remove(path.c_str());
}

TEST_F(Op2File, WriteArgumentsAreChecked) {
    std::string path = TempPath("args");
    int id = op2_OpenFile(path.c_str(), 'W');
    int dummy = 0;
    EXPECT_EQ(op2_WriteRecord(id, -1, 0, &dummy), -23);
    EXPECT_EQ(op2_WriteRecord(id, 1, 2, &dummy), -23);
    std::string errors = Errors();
    EXPECT_NE(errors.find("Bad Number of Words, -1"), std::string::npos);
    EXPECT_NE(errors.find("Bad Value of Advance Flag, 2"), std::string::npos);
    char name[9] = "M";
    int trailer[6] = {1, 4, 1, 3, 0, 0}, eof;
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    int bad[4] = {1, 0, 2, 1};
    EXPECT_EQ(op2_PackColumn(id, bad, &dummy), -23);
    int cplx[4] = {1, 1, 2, 1};
    EXPECT_EQ(op2_PackColumn(id, cplx, &dummy), -26);  // the matrix is complex
    int rows[2] = {1, 9};
    EXPECT_EQ(op2_PackColumnI(id, 1, rows, 5, &dummy), -23);
    EXPECT_NE(Errors().find("Illegal Length of Index Array (5)"), std::string::npos);
    EXPECT_EQ(op2_CloseFile(id), 0);
    std::remove(path.c_str());
}

TEST_F(Op2File, BrokenFramingIsRefused) {
    std::string path = TempPath("frame");
    std::string bytes = WriteSample(path);
    // Trailing length of the first record changed: -14.
    std::string bad = bytes;
    int four = 8;
    std::memcpy(&bad[8], &four, 4);
    Spit(path, bad);
    int id = op2_OpenFile(path.c_str(), 'R');
    int date[3];
    char label[9], version[13];
    EXPECT_EQ(op2_ReadLabel2(id, date, label, version), -14);
    op2_CloseFile(id);
    // A length past the end of the file, negative or not a multiple of 4.
    for (int len : {1 << 20, -8, 6}) {
        bad = bytes;
        std::memcpy(&bad[0], &len, 4);
        Spit(path, bad);
        id = op2_OpenFile(path.c_str(), 'R');
        EXPECT_EQ(op2_ReadLabel2(id, date, label, version), -14) << len;
        op2_CloseFile(id);
    }
    // Every cut of the file fails cleanly somewhere and never reads past it.
    for (size_t cut = 0; cut < bytes.size(); cut += 3) {
        Spit(path, bytes.substr(0, cut));
        id = op2_OpenFile(path.c_str(), 'R');
        ASSERT_GE(id, 1);
        int r = op2_ReadLabel2(id, date, label, version);
        int got, status, eof = 0;
        char name[9];
        int trailer[6], buf[64];
        double col[8];
        int req[4] = {2, 1, 6, 1};
        int steps = 0;
        while (r == 0 && steps++ < 100) {
            r = op2_OpenDatablk(id, 1, name, trailer, &eof);
            if (r || eof) break;
            if (std::strncmp(name, "MAT1", 4) == 0) {
                int eom = 0;
                while (r == 0 && !eom) r = op2_UnpackColumn(id, req, &got, col, &eom);
            } else {
                status = 0;
                while (r == 0 && status != 2) r = op2_ReadRecord(id, 64, 1, &got, &status, buf);
            }
            if (r == 0) r = op2_CloseDatablk(id);
        }
        if (cut < bytes.size() - 12) {
            EXPECT_TRUE(r < 0 || eof) << cut;
        }
        EXPECT_TRUE(r == 0 || r == -14) << "cut " << cut << " gave " << r;
        EXPECT_EQ(op2_CloseFile(id), 0);
    }
    std::remove(path.c_str());
}

// Every datablock and record of a file, words as delivered (swapped back to
// this machine's order when the file is swapped), plus the label.
std::vector<std::string> Walk(const std::string& path, bool labelled) {
    std::vector<std::string> out;
    int id = op2_OpenFile(path.c_str(), 'R');
    if (id < 1) return {"open failed"};
    int date[3];
    char label[9], version[13];
    if (labelled) {
        int r = op2_ReadLabel2(id, date, label, version);
        out.push_back("label " + std::to_string(r) + " " + label + "|" + version);
        for (int& d : date) HandleSwapByte4Int(id, &d);
        out.push_back("date " + std::to_string(date[0]) + "/" + std::to_string(date[1]));
    }
    std::vector<int> buf(1 << 16);
    for (;;) {
        char name[9];
        int trailer[6], eof = 0;
        int r = op2_OpenDatablk(id, 1, name, trailer, &eof);
        if (r || eof) {
            out.push_back("end " + std::to_string(r) + " " + std::to_string(eof));
            break;
        }
        for (int& t : trailer) HandleSwapByte4Int(id, &t);
        std::string line = std::string("db ") + name;
        for (int t : trailer) line += " " + std::to_string(t);
        out.push_back(line);
        int status = 0;
        while (status != 2) {
            int got = 0;
            r = op2_ReadRecord(id, static_cast<int>(buf.size()), 1, &got, &status, buf.data());
            if (r) {
                out.push_back("record error " + std::to_string(r));
                break;
            }
            unsigned long long sum = 0;
            for (int k = 0; k < got; ++k) {
                int w = buf[k];
                HandleSwapByte4Int(id, &w);
                sum = sum * 31u + static_cast<unsigned>(w);
            }
            out.push_back("rec " + std::to_string(got) + " " + std::to_string(sum));
        }
        if (op2_CloseDatablk(id)) break;
    }
    op2_CloseFile(id);
    return out;
}

TEST_F(Op2File, RealFilesWalkTheSameInEitherByteOrder) {
    struct Case {
        const char* file;
        bool labelled;
        const char* someDatablock;
        const char* label;
    } cases[] = {
        {"flat_plate_composite.op2", true, "OES1C", nullptr},
        {"d200obus.op2", true, "GEOM1", nullptr},
        {"trncomp12.op2", true, "OEFIT", "NX2019.2"},
        {"extfib_fr1.op2", true, "PCOMPT", nullptr},
        {"flat_plate_tip_loads_mixed_2cases.op2", false, "OES1C", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = DataFile(c.file);
        std::vector<std::string> plain = Walk(path, c.labelled);
        ASSERT_GT(plain.size(), 3u);
        EXPECT_EQ(plain.back(), "end 0 1");
        bool found = false;
        for (const auto& line : plain) {
            EXPECT_EQ(line.find("error"), std::string::npos) << line;
            if (line.rfind(std::string("db ") + c.someDatablock, 0) == 0) found = true;
        }
        EXPECT_TRUE(found);
        if (c.labelled) {
            EXPECT_EQ(plain[0].rfind("label 0 ", 0), 0u) << plain[0];
            if (c.label) {
                EXPECT_NE(plain[0].find(std::string(" ") + c.label), std::string::npos) << plain[0];
            }
        }
        std::string swappedPath = TempPath("swapped");
        Spit(swappedPath, SwapOp2Bytes(Slurp(path)));
        int id = op2_OpenFile(swappedPath.c_str(), 'R');
        int swapped = 0;
        if (c.labelled) {
            int date[3];
            char label[9], version[13];
            op2_ReadLabel2(id, date, label, version);
        } else {
            char name[9];
            int trailer[6], eof;
            op2_OpenDatablk(id, 1, name, trailer, &eof);
        }
        op2_GetSwapped(id, &swapped);
        op2_CloseFile(id);
        EXPECT_EQ(swapped, 1);
        EXPECT_EQ(Walk(swappedPath, c.labelled), plain);
        std::remove(swappedPath.c_str());
    }
}

TEST_F(Op2File, FileWithoutLabelIsRefusedAsLabel) {
    int id = op2_OpenFile(DataFile("flat_plate_tip_loads_mixed_2cases.op2").c_str(), 'R');
    int date[3];
    char label[9], version[13];
    EXPECT_EQ(op2_ReadLabel2(id, date, label, version), -14);
    op2_CloseFile(id);
}

// A file written with 64-bit words has the label's records at twice their
// length: the label check refuses it, and so does the header check that a
// label-less file is read by.
TEST_F(Op2File, FileOfSixtyFourBitWordsIsRefusedAtItsLabel) {
    const std::string file = DataFile("z402cdamp1_04.op2");
    int id = op2_OpenFile(file.c_str(), 'R');
    ASSERT_GE(id, 1);
    int date[3];
    char label[9], version[13], name[9];
    EXPECT_EQ(op2_ReadLabel2(id, date, label, version), -14);
    op2_CloseFile(id);
    id = op2_OpenFile(file.c_str(), 'R');
    int trailer[6], eof = 0;
    EXPECT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), -14);
    EXPECT_EQ(eof, 0);
    op2_CloseFile(id);

    // One label record of the right value at the wrong length is enough:
    // the date record [3] written as [4].
    std::string path = TempPath("label_len");
    std::string bytes = WriteSample(path);
    int words = 4 * 4;
    std::string longer = bytes.substr(0, 12);
    longer.append(reinterpret_cast<const char*>(&words), 4);
    longer.append(bytes.substr(16, 12));
    longer.append(4, '\0');
    longer.append(reinterpret_cast<const char*>(&words), 4);
    longer.append(bytes.substr(32));
    Spit(path, longer);
    id = op2_OpenFile(path.c_str(), 'R');
    EXPECT_EQ(op2_ReadLabel2(id, date, label, version), -14);
    op2_CloseFile(id);
    std::remove(path.c_str());
}

// A matrix whose trailer declares 2^31 - 1 complex double rows: a column
// read for rows 1..3 takes memory for those rows, not for 32 GiB, and gives
// the values of its strings.
TEST_F(Op2File, ColumnMemoryFollowsTheRowsAskedFor) {
    std::string path = TempPath("huge_rows");
    int id = op2_OpenFile(path.c_str(), 'W');
    ASSERT_GE(id, 1);
    int label[2] = {Name("TESTLABL", 0), Name("TESTLABL", 1)};
    ASSERT_EQ(op2_WriteLabel(id, label), 0);
    char name[9] = "BIG";
    int trailer[6] = {1, 3, 0, 4, 0, 0};  // 3 rows of complex doubles
    int eof = 0;
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    ASSERT_EQ(op2_CloseDatablk(id), 0);
    ASSERT_EQ(op2_CloseFile(id), 0);
    // The column by hand: [1] 1, [1] 1, [1] 4, [5] row 2 and one complex
    // double (4 words), [1] -3; then the datablock's end.
    std::string bytes = Slurp(path);
    auto record = [](std::initializer_list<int> w) {
        std::string r;
        int len = static_cast<int>(w.size()) * 4;
        r.append(reinterpret_cast<const char*>(&len), 4);
        for (int v : w) r.append(reinterpret_cast<const char*>(&v), 4);
        r.append(reinterpret_cast<const char*>(&len), 4);
        return r;
    };
    const double value[2] = {1.5, -2.5};
    int vw[4];
    std::memcpy(vw, value, sizeof vw);
    std::string column = record({1}) + record({1}) + record({4}) +
                         record({2, vw[0], vw[1], vw[2], vw[3]}) + record({-3});
    // Before the end of the datablock ([1] 1 [1] 0 [1] 0) and of the file.
    const size_t end = bytes.size() - 4 * 12;
    bytes.insert(end, column);
    // The trailer's row count (word 2 of the [7] record) raised to INT_MAX.
    const int three[7] = {101, 1, 3, 0, 4, 0, 0};
    const size_t at = bytes.find(std::string(reinterpret_cast<const char*>(three), 28));
    ASSERT_NE(at, std::string::npos);
    const int rows = 2147483647;
    std::memcpy(&bytes[at + 8], &rows, 4);
    Spit(path, bytes);

    id = op2_OpenFile(path.c_str(), 'R');
    int date[3];
    char lab[9], version[13];
    ASSERT_EQ(op2_ReadLabel2(id, date, lab, version), 0);
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    int req[4] = {4, 1, 3, 1}, got = 0, eom = 0;
    double out[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(op2_UnpackColumn(id, req, &got, out, &eom), 0) << Errors();
    EXPECT_EQ(got, 3);
    const double expect[6] = {0, 0, 1.5, -2.5, 0, 0};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(out[k], expect[k]) << k;
    // Rows 2..2 alone, as complex singles.
    op2_CloseFile(id);
    id = op2_OpenFile(path.c_str(), 'R');
    ASSERT_EQ(op2_ReadLabel2(id, date, lab, version), 0);
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    int req2[4] = {3, 2, 2, 1};
    float single[2] = {9, 9};
    EXPECT_EQ(op2_UnpackColumn(id, req2, &got, single, &eom), 0);
    EXPECT_EQ(got, 1);
    EXPECT_EQ(single[0], 1.5f);
    EXPECT_EQ(single[1], -2.5f);
    EXPECT_EQ(op2_UnpackColumn(id, req2, &got, single, &eom), 0);
    EXPECT_EQ(eom, 1);
    op2_CloseFile(id);
    std::remove(path.c_str());
}

TEST_F(Op2File, SkipDatablkGivesTheLongestRecord) {
    std::string path = TempPath("skip");
    WriteSample(path);
    int id = op2_OpenFile(path.c_str(), 'R');
    int date[3];
    char label[9], version[13], name[9];
    ASSERT_EQ(op2_ReadLabel2(id, date, label, version), 0);
    int trailer[6], maxlen = -1, eof = -1;
    ASSERT_EQ(op2_SkipDatablk(id, name, trailer, &maxlen, &eof), 0);
    EXPECT_STREQ(name, "TAB1    ");
    EXPECT_EQ(maxlen, 7);  // the header record (2 words) and {1..5} are shorter
    EXPECT_EQ(eof, 0);
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    EXPECT_STREQ(name, "MAT1    ");
    EXPECT_EQ(op2_CloseDatablk(id), 0);  // skips both columns
    ASSERT_EQ(op2_OpenDatablk(id, 0, name, trailer, &eof), 0);
    EXPECT_EQ(eof, 1);
    op2_CloseFile(id);
    std::remove(path.c_str());
}

TEST(Op2Swap, SwapByteReversesWords) {
    EXPECT_EQ(SwapByte4Int(0x01020304), 0x04030201);
    EXPECT_EQ(SwapByte4Int(SwapByte4Int(-12345)), -12345);
}

}  // namespace
