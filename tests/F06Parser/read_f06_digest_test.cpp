// Every result of the printed-output files read here, bit for bit, and the
// messages of each read, against fingerprints taken from a reader known to
// be right: faster number parsing or filing must not change one of them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "F06Parser/read_f06.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpResStore.h"
#include "tests/support/ResultsDigest.h"
#include "tests/support/TestData.h"

namespace {

std::string DataFile(const std::string& name) {
    return TestDataFile("f06", name);
}

std::string Fingerprint(const std::string& path, int flags) {
    CKpLayup model(nullptr, nullptr);
    int status = -1;
    const std::string messages = CaptureMessages(
        model, path, [&](CKpLayup& m) { status = read_f06(path.c_str(), &m, 0, nullptr, flags); });
    return ReadFingerprint(model, std::to_string(status) + messages);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

std::string Write(const char* stem, const std::string& text) {
    const std::string path = testing::TempDir() + stem + std::to_string(getpid()) + ".f06";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// The sample's result pages again with the ids of element-starting rows
// raised by k * 1000, so that every copy files new records.
std::string Repeated(int copies) {
    std::ifstream in(DataFile("flat_plate_composite.f06"), std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    const std::string sample = all.str();
    const size_t first = sample.rfind("\n1", sample.find("F O R C E S"));
    std::string out = sample.substr(0, first + 1);
    const std::string pages = sample.substr(first + 1);
    for (int k = 0; k < copies; ++k) {
        std::istringstream lines(pages);
        for (std::string line; std::getline(lines, line);) {
            if (k > 0 && line.size() > 10 && line[0] == '0') {
                const size_t a = line.find_first_not_of(' ', 1);
                const size_t b = a == std::string::npos ? a : line.find(' ', a);
                if (b != std::string::npos && line.find_first_not_of("0123456789", a) == b) {
                    const std::string id = std::to_string(std::atol(line.c_str() + a) + k * 1000);
                    if (id.size() < b) line.replace(b - id.size(), id.size(), id);
                }
            }
            out += line + '\n';
        }
    }
    return out;
}

}  // namespace

TEST(ReadF06Digest, SharedFilesGiveTheSameResultsAndMessages) {
    EXPECT_EQ(Fingerprint(DataFile("flat_plate_composite.f06"), 7),
              "9 a6458a6458367fd2/204a808b99dd7505");
    EXPECT_EQ(Fingerprint(DataFile("flat_plate_composite.f06"), 2),
              "7 84371f39b7522cec/204a808b99dd7505");
    EXPECT_EQ(Fingerprint(DataFile("d200obus.f06"), 7), "7 83fb2301a882d705/204a808b99dd7505");
    EXPECT_EQ(Fingerprint(DataFile("d200obus_unsorted_echo.f06"), 7),
              "0 cbf29ce484222325/8318282d8acf8d85");
    EXPECT_EQ(Fingerprint(DataFile("mode_solid_shell_bar.f06"), 7),
              "6 284fd8fb60dc865a/204a808b99dd7505");
}

TEST(ReadF06Digest, RepeatedPagesAndOddNumbers) {
    const std::string repeated = Write("digest_repeated", Repeated(4));
    EXPECT_EQ(Fingerprint(repeated, 7), "9 52c2586374d0f8d1/204a808b99dd7505");
    std::remove(repeated.c_str());
    // Numbers in every spelling a report may hold: exponents with and
    // without sign, a leading point, trailing garbage read as its prefix,
    // long digit runs, ints too large for an int.
    const std::string page =
        "1    TEST RUN                                   PAGE 1\n"
        "      ODD NUMBERS\n0    SUBCASE 1\n \n"
        "      F A I L U R E   I N D I C E S   F O R   L A Y E R E D   C O M P O S I T E   "
        "E L E M E N T S   ( Q U A D 4 )\n"
        "   ELEMENT  FAILURE    PLY   FP=\n     ID      THEORY     ID  (DIRECT\n"
        "        11   HILL        1        1.5E+01  -1\n"
        "                                               1.E-3\n"
        "                         2        0.12345678901234567890  -1\n"
        "                                               3.4028236E+38\n"
        "                         3        7.25-02  -1\n"
        "                                               0.7000***\n"
        "                         4        4.9406564584124654E-324  -1\n"
        "                                               2.2250738585072011e-308\n"
        "                         5        123456789012.5\n"
        "        12   HILL        1        -0.0\n"
        "        99999999999   HILL        1        0.5\n";
    const std::string odd = Write("digest_odd", page);
    EXPECT_EQ(Fingerprint(odd, 7), "7 f1b63bc01dabd087/204a808b99dd7505");
    std::remove(odd.c_str());
}

TEST(ReadF06Digest, ALastLineWithoutItsLineEndReadsAsTheFileWithIt) {
    // Real files whose last line is complete: without the line end they
    // give the same results, status and messages.
    for (const char* name : {"d200obus.f06", "mode_solid_shell_bar.f06"}) {
        SCOPED_TRACE(name);
        const std::string whole = ReadText(DataFile(name));
        ASSERT_EQ(whole.back(), '\n');
        const std::string open = Write("digest_open", whole.substr(0, whole.size() - 1));
        EXPECT_EQ(Fingerprint(open, 7), Fingerprint(DataFile(name), 7));
        std::remove(open.c_str());
    }
    EXPECT_EQ(Fingerprint(DataFile("d200obus.f06"), 7), "7 83fb2301a882d705/204a808b99dd7505");

    // flat_plate_composite.f06 ending on a layered stress row (line 628):
    // the whole row reads the same with or without its line end; the row
    // cut inside a number or short of its fields is refused, the rows
    // before it read.
    const std::string text = ReadText(DataFile("flat_plate_composite.f06"));
    const std::string row =
        "0       14    4   1.22791E+06 -8.01463E+04  8.03946E+03    1.47554E+06  7.51240E+06    "
        "0.35  1.22796E+06 -8.01957E+04  6.54080E+05";
    const size_t at = text.find(row);
    ASSERT_NE(at, std::string::npos);
    ASSERT_EQ(text[at + row.size()], '\n');
    ASSERT_EQ(std::count(text.begin(), text.begin() + at, '\n'), 627);
    const std::string ended = Write("digest_ended", text.substr(0, at + row.size() + 1));
    const std::string ending = Fingerprint(ended, 7);
    std::remove(ended.c_str());
    EXPECT_EQ(ending.substr(0, 2), "9 ");
    const std::string open = Write("digest_open", text.substr(0, at + row.size()));
    EXPECT_EQ(Fingerprint(open, 7), ending);
    std::remove(open.c_str());
    for (const size_t keep :
         {row.size() - 1, row.size() - 3, row.size() - 4, row.size() - 6, row.find("  6.54"),
          row.find("0.35") + 2, row.find("14") + 1, size_t(4), size_t(1)}) {
        SCOPED_TRACE(row.substr(0, keep));
        CKpLayup model(nullptr, nullptr);
        const std::string path = Write("digest_cut", text.substr(0, at + keep));
        const std::string messages = CaptureMessages(model, path, [&](CKpLayup& m) {
            EXPECT_EQ(read_f06(path.c_str(), &m, 0, nullptr, 7), 1);
        });
        std::remove(path.c_str());
        EXPECT_NE(messages.find("Printed output file '<path>' ends early inside line 628; the "
                                "results before it were read."),
                  std::string::npos)
            << messages;
        EXPECT_EQ(model.pRess()->entries(), 9);
    }
}
