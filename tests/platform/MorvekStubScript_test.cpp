#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "blt/lamlayup.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "platform/MorvekStub.h"

namespace {

class MorvekStubScriptTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        if (MorvekStubNumBuiltins() == 0) PlystrandBltInit();
    }
    void SetUp() override { MorvekStubReset(); }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(path.c_str());
    }
    // Runs `text` as a script; the number of failures.
    int run(const std::string& text) {
        std::ofstream(path) << text;
        return MorvekStubRunScript(path.c_str());
    }
    std::string path = ::testing::TempDir() + "script_" + std::to_string(::getpid()) + ".kps";
};

}  // namespace

TEST_F(MorvekStubScriptTest, ExpectationsHoldOrCountAsFailures) {
    // Values, arrays, texts and outputs as the built-ins see them.
    EXPECT_EQ(run("int a = -3   # a comment\n"
                  "real t = 0.5\n"
                  "string s[8] = \"abc\"\n"
                  "int ids[3] = 1 2 3\n"
                  "string names[2][4] = \"P1\" \"P2\"\n"
                  "expect a == -3\n"
                  "expect t == 0.5\n"
                  "expect s == \"abc\"\n"
                  "expect ids[3] == 3\n"
                  "expect names[2] == \"P2\"\n"
                  "expect names[1] != \"P2\"\n"
                  "kp_construct(0, \"\", \"\")\n"
                  "int v\n"
                  "kp_get_versions(v, v, v)\n"
                  "expect v == 20081110\n"
                  "kp_destruct(v)\n"
                  "expect error 103 7000018 0 1\n"
                  "answer 1\n"
                  "db open x\n"
                  "db close\n"),
              0);
    EXPECT_EQ(MorvekStubErrorCount(), 1);

    // Each failing line counts once: a wrong value, an index outside, an
    // error not raised, an unknown built-in or statement, a bad literal.
    EXPECT_EQ(run("int n = 2\n"
                  "expect n == 3\n"
                  "int ids[2]\n"
                  "expect ids[3] == 0\n"
                  "kp_destruct()\n"
                  "expect error 103 7000018 0 1\n"
                  "kp_nothing(1)\n"
                  "print n\n"
                  "int m = 1.5\n"
                  "db load /nonexistent/db.txt\n"),
              6 + 1);
    EXPECT_EQ(MorvekStubRunScript("/nonexistent/none.kps"), -1);
}
