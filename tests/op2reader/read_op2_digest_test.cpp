// Every result of every file the binary output reader is given here, bit
// for bit, and its messages, against fingerprints taken from a reader known
// to be right: a faster way of filing records must not change one value,
// name, id or message.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "op2reader/read_op2.h"
#include "tests/support/Op2Layered.h"
#include "tests/support/ResultsDigest.h"
#include "tests/support/TestData.h"

namespace {

std::string DataFile(const std::string& name) {
    return TestDataFile("op2", name);
}

std::string Fingerprint(const std::vector<std::string>& paths, int modelFlags, int resultFlags) {
    CKpLayup model(nullptr, nullptr);
    std::string messages;
    for (const std::string& path : paths) {
        int status = -1;
        const std::string text = CaptureMessages(model, path, [&](CKpLayup& m) {
            status = read_op2(path.c_str(), &m, modelFlags, resultFlags);
        });
        messages += std::to_string(status) + text;
    }
    return ReadFingerprint(model, messages);
}

std::string Layered(const char* stem, const Op2LayeredRecipe& recipe) {
    const std::string path =
        testing::TempDir() + stem + std::to_string(getpid()) + ".op2";
    EXPECT_TRUE(WriteLayeredOp2(path, DataFile("flat_plate_composite.op2"), recipe));
    return path;
}

}  // namespace

TEST(ReadOp2Digest, SharedFilesGiveTheSameResultsAndMessages) {
    struct Case {
        const char* file;
        int modelFlags, resultFlags;
        const char* expected;
    };
    const Case cases[] = {
        {"flat_plate_composite.op2", 7, 7, "9 c2ec04abfc745d64/da4880f0cf916d49"},
        {"d200obus.op2", 7, 7, "7 3d32fb346002cb1b/c4d546886be2f642"},
        {"trncomp12.op2", 7, 7, "210 233f5911870b346f/4a47c5767296cae3"},
        {"extfib_fr1.op2", 7, 7, "0 cbf29ce484222325/115695c50a78eb83"},
        {"flat_plate_tip_loads_mixed_2cases.op2", 7, 7, "22 66fedb7d47c66c6a/9ac9670ba782eb41"},
        {"trncomp12.op2", 0, 4, "105 53d0a3b1482ef35e/4a47c5767296cae3"},
        {"trncomp12.op2", 0, 3, "105 690b5ab0a4b35b9e/4a47c5767296cae3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(Fingerprint({DataFile(c.file)}, c.modelFlags, c.resultFlags), c.expected);
    }
    // A second file's results continue the first's ids; equal names in a
    // second read make results of their own.
    EXPECT_EQ(Fingerprint({DataFile("flat_plate_tip_loads_mixed_2cases.op2"),
                           DataFile("d200obus.op2"),
                           DataFile("flat_plate_tip_loads_mixed_2cases.op2")},
                          7, 7),
              "51 2ccac323e2179503/b466e3ac91bb5544");
}

TEST(ReadOp2Digest, LayeredFilesInOrderScrambledAndRepeated) {
    Op2LayeredRecipe ordered;
    ordered.elements = 250;
    ordered.plies = 5;
    ordered.subcases = 2;
    ordered.perPiece = 40;
    Op2LayeredRecipe scrambled = ordered;
    scrambled.scrambled = true;
    Op2LayeredRecipe wide;
    wide.elements = 30;
    wide.plies = 40;
    const std::string a = Layered("digest_ordered", ordered);
    const std::string b = Layered("digest_scrambled", scrambled);
    const std::string c = Layered("digest_wide", wide);
    EXPECT_EQ(Fingerprint({a}, 7, 7), "28 a16ae3177a985359/d136df3ed94be38a");
    EXPECT_EQ(Fingerprint({b}, 7, 7), "28 4ed97591f36e2ab7/d136df3ed94be38a");
    EXPECT_EQ(Fingerprint({c}, 7, 6), "119 e9039dea9f441971/d136df3ed94be38a");
    EXPECT_EQ(Fingerprint({a, b}, 7, 7), "56 e40bfe68df65f450/b9756c127e8eff5f");
    std::remove(a.c_str());
    std::remove(b.c_str());
    std::remove(c.c_str());
}
