// Damaged copies of the sample files: cut, with flipped bytes, with a NUL.
// What was read stays, the damage is an error with a non-zero status, and
// nothing reads outside its buffers (run under the sanitizers in CI).
#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "fileformats/CCDBParser.h"
#include "fileformats/CSTLParser.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"

namespace {

template <class Parser>
int ReadBytes(ExchangeModel& m, const std::string& bytes) {
    const std::string path = xfiles::TempPath("damaged");
    xfiles::WriteAll(path, bytes);
    Parser parser;
    const int status = m.Read(parser, path);
    std::remove(path.c_str());
    return status;
}

const char* kCdbSample = "cdb/linear_shell_with_MAPDL_sections.cdb";

TEST(ExchangeMalformed, CdbCutInsideARowOrHoldingANulFailsAndKeepsTheRest) {
    const std::string full = xfiles::ReadAll(xfiles::SampleFile(kCdbSample));
    ASSERT_FALSE(full.empty());
    {
        // Cut in the middle of node 3's x.
        const size_t at = full.find("        3        0        0 1.00000") + 33;
        ExchangeModel m("cdbcutrow");
        EXPECT_EQ(ReadBytes<CCDBParser>(m, full.substr(0, at)), -1);
        EXPECT_EQ(m.model.pNodes()->entries(), 2);
        EXPECT_TRUE(m.Has(4, "Line 37 ends inside a field")) << m.Log();
    }
    {
        // Cut in the middle of the second element row.
        const size_t at = full.find("         1       181         1         1        11") + 18;
        ExchangeModel m("cdbcutelem");
        EXPECT_EQ(ReadBytes<CCDBParser>(m, full.substr(0, at)), -1);
        EXPECT_EQ(m.model.pElems()->entries(), 1);
    }
    {
        // A NUL in an MPDATA line: that line goes, everything after it stays.
        std::string bytes = full;
        bytes[full.find("MPDATA,UNBL, 1,EY  ,       1")] = '\0';
        ExchangeModel m("cdbnul");
        EXPECT_EQ(ReadBytes<CCDBParser>(m, bytes), -1);
        EXPECT_EQ(m.model.pMats()->find(1)->ey(), 0.0);
        EXPECT_EQ(m.model.pLams()->entries(), 3);
        EXPECT_EQ(m.model.pElems()->entries(), 3);
    }
}

TEST(ExchangeMalformed, EveryCutOfTheSamplesReadsWhatPrecedesIt) {
    const std::string cdb = xfiles::ReadAll(xfiles::SampleFile(kCdbSample));
    for (size_t cut = 0; cut < cdb.size(); cut += 61) {
        ExchangeModel m("cdbcuts");
        const int status = ReadBytes<CCDBParser>(m, cdb.substr(0, cut));
        EXPECT_TRUE(status == 0 || status == -1) << cut;
        EXPECT_LE(m.model.pNodes()->entries(), 6) << cut;
    }
    const std::string bin = xfiles::ReadAll(xfiles::SampleFile("stl/HalfDonut_binary.stl"));
    for (size_t cut = 84; cut < bin.size(); cut += 37) {
        ExchangeModel m("stlcuts");
        const int status = ReadBytes<CSTLParser>(m, bin.substr(0, cut));
        const int complete = static_cast<int>((cut - 84) / 50);
        EXPECT_EQ(status, complete < 288 ? -1 : 0) << cut;
        EXPECT_EQ(m.model.pElems()->entries(), complete) << cut;
    }
    const std::string ascii = xfiles::ReadAll(xfiles::SampleFile("stl/HalfDonut_ascii.stl"));
    std::string lower = ascii;
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const size_t lastEnd = lower.rfind("endsolid");
    ASSERT_NE(lastEnd, std::string::npos);
    for (size_t cut = 200; cut < ascii.size(); cut += 53) {
        ExchangeModel m("stlasciicuts");
        const int status = ReadBytes<CSTLParser>(m, ascii.substr(0, cut));
        const std::string part = lower.substr(0, cut);
        int ends = 0;
        for (size_t p = part.find("endfacet"); p != std::string::npos;
             p = part.find("endfacet", p + 1))
            ++ends;
        EXPECT_EQ(m.model.pElems()->entries(), ends) << cut;
        if (cut < lastEnd) {
            EXPECT_EQ(status, -1) << cut;
        }
    }
}

TEST(ExchangeMalformed, FlippedBytesNeverCrash) {
    std::mt19937 rng(7);
    for (const char* file : {kCdbSample, "stl/HalfDonut_ascii.stl", "stl/triamid.stl"}) {
        const std::string full = xfiles::ReadAll(xfiles::SampleFile(file));
        const bool cdb = std::string(file).find("cdb") != std::string::npos;
        for (int round = 0; round < 40; ++round) {
            std::string bytes = full;
            for (int k = 0; k < 8; ++k)
                bytes[rng() % bytes.size()] = static_cast<char>(rng() % 256);
            ExchangeModel m("flip");
            const int status =
                cdb ? ReadBytes<CCDBParser>(m, bytes) : ReadBytes<CSTLParser>(m, bytes);
            EXPECT_GE(status, -1) << file;
            EXPECT_LE(status, 1) << file;
        }
    }
}

}  // namespace
