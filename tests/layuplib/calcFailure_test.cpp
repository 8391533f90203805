#include "layuplib/calcFailure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "layuplib/CKpMsg.h"
#include "tests/support/RecordingGUI.h"

namespace {

struct CalcFailure : ::testing::Test {
    RecordingGUI gui;
    CKpMsg msg;
    float out[3] = {-7.0f, -7.0f, -7.0f};
    // Xt Xc Yt Yc S12 S23 S31 F12*.
    float square[8] = {1000, 1000, 100, 100, 50, 40, 60, 0};
    CalcFailure() { msg.SetGUI(&gui); }
    int Calc(int criterion, std::vector<float> loads, float* allowables = nullptr) {
        return calcFailure(&msg, &gui, criterion, nullptr, loads.data(),
                           allowables ? allowables : square, out);
    }
    std::vector<float> Out() const { return {out[0], out[1], out[2]}; }
};

}  // namespace

TEST_F(CalcFailure, EvaluatesTheBuiltinFormulas) {
    ASSERT_EQ(Calc(1, {500, 50, 0, 25, 0, 0}), 0);
    EXPECT_EQ(Out(), (std::vector<float>{0.15470053837925146f, 1.0f, 0.75f}));
    ASSERT_EQ(Calc(2, {500, 50, 0, 25, 0, 0}), 0);
    EXPECT_EQ(Out(), (std::vector<float>{1.0f, 11.0f, 0.5f}));
    ASSERT_EQ(Calc(5, {500, -50, 0, 25, 0, 0}), 0);
    EXPECT_EQ(Out(), (std::vector<float>{-0.6876524762227878f, 1.0f, 10.25f}));
    // No load: the margin starts at 1.0e12 and is clamped.
    for (int criterion = 1; criterion <= 6; ++criterion) {
        ASSERT_EQ(Calc(criterion, {0, 0, 0, 0, 0, 0}), 0);
        EXPECT_EQ(Out(), (std::vector<float>{999999.0f, 0.0f, 0.0f})) << criterion;
    }
    // A transverse-shear ratio governs any ratio against that start.
    ASSERT_EQ(Calc(3, {0, 0, 0, 0, 4, 0}), 0);
    EXPECT_EQ(Out(), (std::vector<float>{9.0f, 2.0f, 0.1f}));
    EXPECT_TRUE(gui.messages.empty());

    // The user criterion is the host's.
    gui.failUserResults[0] = 2.5e6f;
    gui.failUserResults[1] = 22.0f;
    gui.failUserResults[2] = 0.125f;
    ASSERT_EQ(Calc(7, {1, 2, 3, 4, 5, 6}), 0);
    EXPECT_EQ(Out(), (std::vector<float>{999999.0f, 22.0f, 0.125f}));
}

TEST_F(CalcFailure, ReportsWhatItRefuses) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    float xt0[8] = {0, 1000, 100, 100, 50, 0, 0, 0};
    float s23[8] = {1000, 1000, 100, 100, 50, -1, 0, 0};
    float f12[8] = {1000, 1000, 100, 100, 50, 0, 0, 1};
    struct Row {
        int criterion;
        std::vector<float> loads;
        float* allowables;
        std::vector<std::string> errors;
    } rows[] = {
        {1,
         {1, 0, 0, 0, 0, 0},
         xt0,
         {"One or more in-plane failure values are less than or equal to zero:\n fxt 0 fxc 1000 "
          "fyt 100 fyc 100 fs12 50",
          "Error calculating failure according to Tsaiwu"}},
        {2,
         {1, 0, 0, 0, 0, 0},
         s23,
         {"One or more out-of-plane failure values are less than zero:\n fs23 -1 fs31 0",
          "Error calculating failure according to Maximum"}},
        {1,
         {1, 0, 0, 0, 0, 0},
         f12,
         {"One or more interaction failure values are outside the valid range between -1 and "
          "1:\n f12i 1",
          "Error calculating failure according to Tsaiwu"}},
        {4, {1, 0, 0, 0, 0, 0}, f12, {}},  // only Tsai-Wu reads F12*
        {6,
         {500, 50, 0, 25, 0, 0},
         nullptr,
         {"Imaginary root for failure calculation:\n b*b - 4*a*c = -35",
          "Error calculating failure according to Cowin"}},
        {3,
         {nan, 0, 0, 0, 0, 0},
         nullptr,
         {"Failure calculation gave a non-finite value.",
          "Error calculating failure according to Hill"}},
        {9, {1, 0, 0, 0, 0, 0}, nullptr, {"Unsupported failure criterion."}},
        {0, {1, 0, 0, 0, 0, 0}, nullptr, {"Unsupported failure criterion."}},
        {8, {1, 0, 0, 0, 0, 0}, nullptr, {}},
    };
    for (const Row& r : rows) {
        gui.clear();
        msg.Create(1, "criterion %d", r.criterion);  // no repeats folded across rows
        const int status = Calc(r.criterion, r.loads, r.allowables);
        EXPECT_EQ(status, r.errors.empty() && r.criterion != 8 ? 0 : 1) << r.criterion;
        EXPECT_EQ(gui.texts(4), r.errors) << r.criterion;
    }

    gui.clear();
    gui.failUserStatus = 3;
    out[0] = -7.0f;
    EXPECT_EQ(Calc(7, {1, 0, 0, 0, 0, 0}), 1);
    msg.Create(1, "no host");
    EXPECT_EQ(calcFailure(&msg, nullptr, 7, nullptr, square, square, out), 1);
    EXPECT_EQ(gui.texts(4),
              std::vector<std::string>(2, "Error calculating failure according to User"));
    EXPECT_EQ(out[0], -7.0f);  // untouched on failure
}
