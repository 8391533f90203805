#include "layuplib/save_lyp.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPlyStore.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/RecordingGUI.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The model of every kind of object (tests/support/LypTestModel.h); a
// "\xFE" "x" split keeps a hex digit out of the escape.
class SaveLyp : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    // One file per test and process: ctest runs tests side by side, and
    // other build folders may run the same test at the same time.
    std::string path = ::testing::TempDir() + "save_lyp_" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                       std::to_string(getpid()) + ".lyp";

    void SetUp() override { lyptest::Build(*model, "Ply one"); }
    void TearDown() override { std::remove(path.c_str()); }

    std::string Saved(CKpLayup& from, int detail) {
        EXPECT_EQ(from.SaveLayup(path.c_str(), detail, 0), 0);
        return Slurp(path);
    }
};

TEST_F(SaveLyp, EmptyModelGetsHeaderMeshBannersOffsetAndToleranceBlocks) {
    CKpLayup empty(nullptr, &gui);
    empty.pFile()->SetType("bdf");  // not carried: 002 and 003 are saved empty
    empty.pFile()->SetComment("old comment");
    EXPECT_EQ(Saved(empty, 0),
              "**\n** HEADER DATA\n**\n000 HEADER\n001 " + path +
                  "\n002 \xFE\n003 \xFE\n004 0 0 0\n005 0 0 0\n006 20081003\n"
                  "**\n** GLOBAL LAYER DATA\n**\n600 GLOBAL LAYER\n**\n** NODE DATA\n**\n**\n"
                  "** ELEMENT DATA\n**\n**\n** OFFSET DEFINITION DATA\n**\n"
                  "700 OFFSET DEFINITION\n**\n** TOLERANCE DEFINITION DATA\n**\n"
                  "800 TOLERANCE DEFINITION\n809 0.087266463 5\n**\n** END\n**\n");
}

TEST_F(SaveLyp, EveryRecordKindAtDetailOne) {
    model->pNodes()->insert(model->pNodes()->NewNode(50));  // never placed: left out
    CKpNode* node = model->pNodes()->NewNode(60);
    node->setCKpPoint(1.5, -2.0, 1e-9);
    node->setIncompleteFlag(0);
    model->pNodes()->insert(node);
    model->pOrients()->insert(new CKpOrient(3));  // type 0: not written
    model->pView()->rot(0.0, 1e-13, 0.3);         // about z; a tiny angle reads 0
    const std::string text = Saved(*model, 1);
    const std::vector<std::string> blocks = {
        "004 0 0 0.3\n005 0 0 0.3\n006 20081003\n009 1 181\n010 8 2\n**\n** LAYER DATA\n",
        "300 LAYER  \n301 3\n302 1\n303 Ply\xFEone\n304 0.25\n305 1\n306 1\n307 2\n308 1\n309 2\n"
        "310 0 1 1 0.2500075 0.101 1 0 1.501 1 1\n",
        "310 0 8 1 0.27 0.108 1 0 1.508 1 8\n**\n",
        "503 Woven\xFE"
        "carbon\n504 0.25\n505 0\n506 Woven\xFE"
        "carbon\n507 0\n508 1\n510 0 0 1 4 0 0 0\n511 70000 65000 0 0 0 0\n",
        "515 800 0 0\n516 0 0 0\n517 90 0 0\n",  // the base set as stored
        "520 1 0.2 1 4 0 0 0\n521 58000 0 0 0 0 0\n",
        "525 700 0 0\n526 700 0 0\n",  // a state: fxc falls back to fxt
        "530 Woven\xFEstate\n531 0\n520 2 0.4 1 4 0 0 0\n",
        "551 0 0 0\n552 0 0.2 0\n**\n",
        "600 GLOBAL LAYER\n601 1 gl1 3 1 Ply\xFEone 1 1 0 0 1 1001 Group\xFE"
        "A S1\n601 2 gl2 2 2 Ply\xFEtwo 1 1 0.5 0.3 1 1002\n"
        "601 3 gl3 3 1 Ply\xFEone -1 2 0 0 1 1003 \xFE S3\n"
        "601 4 gl4 4 3 Ply\xFEthree 1 1 0 0 1 1004\n602 1\n603 Main\xFElayup\n**\n** NODE DATA\n",
        "101 14 15\n102 4 2 0\n100 NODE\n101 16 60\n102 1.5 -2 1E-09\n**\n** ELEMENT DATA\n",
        "207 0 0\n208 1 2 3 4 5 6 7 8\n209 1 0.1\n210 3 1 2 0.2500075 0.101 1 0 1.501 1\n",
        "201 2 3 0 1\n202 1 1 0\n203 4\n204 3 4 9 8\n206 0.2 3\n207 0 0\n209 1 0.1\n"
        "210 2 2 1 0.3 -0.297 2 0 1.503 -1\n",
        "403 Ply\xFEone_pattern\n404 0 0 Bias\xFE"
        "45\n",
        "410 0 1 0 0.01\n411 102 105 100 100 100\n412 0.5 0.5 0\n"
        "413 0 0 0 0.5 0 0 Global\xFEorigin\n414 0 0 0 0\n415 0 0 0 0\n416 0 0 0 0\n417 3 2 1\n"
        "418 1 1\n418 2 1\n419 5 3\n430 0 1 1 0.01 0.101 1.602 1 1\n",
        "430 0 8 1 0.08 0.108 1.616 1 8 0.27\n**\n** PATTERN DATA\n",
        "404 0 0 Null\n405 0 0 0\n406 0 0 0\n407 0 0 0\n408 0 1 0\n409 0\n410 0 1\n"
        "411 0 0 0 0 0\n412 0.5 0.5 0\n413 0 0 0\n",
        "702 1\n703 Edge\xFEoffset\n710 0 0 0\n711 0 0 0 0.5 0 0 Off\xFEorigin\n712 1 0.1\n"
        "720 2\n721 1\n721 2\n",
        "809 0.087266463 5\n810 0.2 3\n820 2\n821 3\n821 4\n**\n** SET DEFINITION DATA\n**\n"
        "900 SET DEFINITION\n901 5 Scattered\xFEids\n902 1 3 -5 7 9 -10 12 14 16 18\n"
        "902 -20 22\n**\n** ORIENTATION DEFINITION DATA\n**\n220 1 By\xFE"
        "frame\xFEx 1 0 1 0 0\n220 2 Fixed\xFE"
        "angle 3 0 0.3 0 0\n**\n** END\n**\n"};
    for (const std::string& block : blocks) EXPECT_THAT(text, HasSubstr(block));
}

TEST_F(SaveLyp, DetailZeroLeavesOutDerivedRecordsAndLayupIdZeroItsName) {
    model->pLyp()->setId(0);
    const std::string text = Saved(*model, 0);
    for (const char* code : {"\n304 ", "\n307 ", "\n308 ", "\n310 ", "\n210 ", "\n602 "})
        EXPECT_THAT(text, Not(HasSubstr(code))) << code;
    EXPECT_THAT(text, HasSubstr("303 Ply\xFEone\n305 1\n306 1\n309 2\n**\n"));
    EXPECT_THAT(text, HasSubstr("1 1004\n**\n** NODE DATA\n"));
}

TEST_F(SaveLyp, LongNamesWithBlanksAndBreaksStayOneToken) {
    std::string name(3000, 'x');
    name.replace(100, 1, " ").replace(2000, 1, "\t").replace(2500, 1, "\n");
    model->pPlys()->find(1)->setname(name.c_str());
    std::string token = name;
    token[100] = token[2000] = token[2500] = '\xFE';
    const std::string text = Saved(*model, 0);
    EXPECT_THAT(text, HasSubstr("\n303 " + token + "\n305 1\n"));
    EXPECT_THAT(text, HasSubstr("\n601 1 gl1 3 1 " + token + " 1 1 0 0 1 1001 "));
}

TEST_F(SaveLyp, GzipHoldsThePlainBytes) {
    const std::string plain = Saved(*model, 1);
    ASSERT_EQ(model->SaveLayup(path.c_str(), 1, 6), 0);
    EXPECT_EQ(Slurp(path).substr(0, 2), "\x1f\x8b");
    FILE* pipe = popen(("gzip -dc '" + path + "' 2>/dev/null").c_str(), "r");
    if (!pipe) GTEST_SKIP() << "no gzip tool";
    std::string unpacked;
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;) unpacked.append(block, n);
    if (pclose(pipe) != 0) GTEST_SKIP() << "no gzip tool";
    EXPECT_EQ(unpacked, plain);
}

TEST_F(SaveLyp, FailuresAreReportedNeverSaved) {
    // A small file fails when it is flushed at the close, a long line at once.
    CKpLayup empty(nullptr, &gui);
    for (int compress : {0, 1}) {
        gui.messages.clear();
        EXPECT_EQ(empty.SaveLayup("/dev/full", 0, compress), -1) << compress;
        EXPECT_THAT(gui.texts(4), ElementsAre("Could not close file.", "Could not save Layup file"))
            << compress;
    }
    model->pPlys()->find(1)->setname(std::string(1 << 20, 'x').c_str());
    gui.messages.clear();
    EXPECT_EQ(model->SaveLayup("/dev/full", 0, 0), -1);
    EXPECT_THAT(gui.texts(4), testing::Contains("Could not write file '/dev/full'."));
    EXPECT_EQ(gui.texts(4).back(), "Could not save Layup file");
    // Text that does not compress away fails while it is compressed, on the
    // compressing thread, not only at the close.
    std::string noise(1 << 22, 'x');
    unsigned state = 12345;
    for (char& c : noise) c = static_cast<char>('!' + (state = state * 1103515245u + 12345u) % 90);
    model->pPlys()->find(1)->setname(noise.c_str());
    gui.messages.clear();
    EXPECT_EQ(model->SaveLayup("/dev/full", 0, 1), -1);
    EXPECT_THAT(gui.texts(4), testing::Contains("Could not write file '/dev/full'."));

    gui.messages.clear();
    EXPECT_EQ(model->SaveLayup("/nonexistent-dir/x.lyp", 0, 0), -1);
    EXPECT_THAT(gui.texts(4),
                ElementsAre("Could not open file '/nonexistent-dir/x.lyp' for writing.",
                            "Could not save Layup file"));
    gui.messages.clear();
    EXPECT_EQ(model->SaveLayup(path.c_str(), 0, 10), -1);
    EXPECT_THAT(gui.texts(4),
                ElementsAre("Unsupported compression level 10.", "Could not save Layup file"));
}

}  // namespace
