#include "layuplib/CVekAddinFailureLaminaTemplate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CVekAddinFailureLaminaCowin.h"
#include "layuplib/CVekAddinFailureLaminaHankinson.h"
#include "layuplib/CVekAddinFailureLaminaHill.h"
#include "layuplib/CVekAddinFailureLaminaHoffman.h"
#include "layuplib/CVekAddinFailureLaminaMaximum.h"
#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"
#include "layuplib/CVekAddinFailureLaminaUser.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

using Lamina = IVekAddinFailureLamina;

// Holds one reference; the last Release deletes the criterion.
struct Ref {
    explicit Ref(CVekAddinFailureLaminaTemplate* p) : c(p) { c->AddRef(); }
    ~Ref() { c->Release(); }
    CVekAddinFailureLaminaTemplate* operator->() const { return c; }
    CVekAddinFailureLaminaTemplate* c;
};

std::string NewestMessage(Lamina* c) {
    char text[512] = "";
    Lamina::EMessageType type = Lamina::eInformation;
    EXPECT_EQ(c->GetMessageString(-1, type, text, sizeof(text)), 0);
    EXPECT_EQ(type, Lamina::eError);
    return text;
}

// Allowables Xt Xc Yt Yc S12 S23 S31 (F12).
void Prepare(Lamina* c, const std::vector<double>& allowables, const double loads[6]) {
    c->Clear();
    c->SetAllowables(static_cast<int>(allowables.size()), allowables.data());
    for (int d = 0; d < 6; ++d)
        c->SetLoadInDirection(static_cast<Lamina::ELoadDirection>(d), loads[d]);
}

struct Outcome {
    double margin, reserve, mode, index;
    int iMode;
};
Outcome Results(Lamina* c) {
    Outcome o{};
    c->GetdResult(0, 0, o.margin);
    c->GetdResult(1, 0, o.reserve);
    c->GetdResult(2, 0, o.mode);
    c->GetdResult(3, 0, o.index);
    c->GetiResult(1, 0, o.iMode);
    return o;
}

const std::vector<double> kAllow = {1000.0, 800.0, 50.0, 150.0, 70.0, 40.0, 30.0, 0.0};

}  // namespace

std::vector<std::string> Labels(Lamina* c, bool results) {
    int n = 0;
    results ? c->GetNumResults(n) : c->GetNumAllowables(n);
    std::vector<std::string> out;
    char buf[64];
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(results ? c->GetResultLabel(i, buf, sizeof(buf))
                          : c->GetAllowableLabel(i, buf, sizeof(buf)),
                  0);
        out.push_back(buf);
    }
    return out;
}

TEST(LaminaTemplate, LabelsAndName) {
    Ref c(new CVekAddinFailureLaminaTemplate);
    EXPECT_EQ(Labels(c.c, false),
              (std::vector<std::string>{"Xt", "Xc", "Yt", "Yc", "S12", "S23", "S31"}));
    EXPECT_EQ(Labels(c.c, true),
              (std::vector<std::string>{"Margins of Safety", "Reserve Factors",
                                        "Critical Components", "Failure Indices"}));
    char buf[8];
    EXPECT_EQ(c->GetName(buf, 4), 0);  // cut to len - 1 and terminated
    EXPECT_STREQ(buf, "Tem");
    EXPECT_EQ(c->GetName(nullptr, 8), 1);
    EXPECT_EQ(c->Run(), 1);
}

TEST(LaminaTemplate, IndexErrorsQueueMessages) {
    Ref c(new CVekAddinFailureLaminaTemplate);
    char buf[64];
    EXPECT_EQ(c->GetAllowableLabel(7, buf, sizeof(buf)), 1);
    EXPECT_EQ(NewestMessage(c.c), "Allowable index is beyond allowable range.");
    EXPECT_EQ(c->GetResultLabel(-1, buf, sizeof(buf)), 1);
    EXPECT_EQ(NewestMessage(c.c), "Result index is beyond allowable range.");
    double d = 0;
    EXPECT_EQ(c->GetdResult(4, 0, d), 1);
    EXPECT_EQ(c->GetdResult(0, 1, d), 2);
    EXPECT_EQ(NewestMessage(c.c), "Result value is beyond allowable range.");
    EXPECT_EQ(c->GetszResult(0, 0, buf, sizeof(buf)), 2);  // no text values
    EXPECT_EQ(c->SetLoadInDirection(static_cast<Lamina::ELoadDirection>(6), 5.0), 1);
    EXPECT_EQ(NewestMessage(c.c), "Load index is beyond allowable range.");

    int n = 0;
    c->GetNumMessages(n);
    EXPECT_EQ(n, 6);
    int len = 0;
    EXPECT_EQ(c->GetMessageLength(-1, len), 0);
    EXPECT_EQ(len, 38);  // "Load index is beyond allowable range." + terminator

    EXPECT_EQ(c->Clear(), 0);
    c->GetNumMessages(n);
    EXPECT_EQ(n, 0);
}

TEST(LaminaTemplate, SetAllowablesCopiesWhatFits) {
    Ref c(new CVekAddinFailureLaminaTemplate);
    const double many[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    c->SetAllowables(9, many);
    const double few[2] = {10, 20};
    c->SetAllowables(2, few);
    EXPECT_EQ(c->CheckAllowables(), 0);  // in-plane ok, S23 = 6, S31 = 7
    const double bad[5] = {10, 20, 3, 0, 5};
    c->SetAllowables(5, bad);
    EXPECT_EQ(c->CheckAllowables(), 1);
    EXPECT_EQ(NewestMessage(c.c),
              "One or more in-plane failure values are less than or equal to zero:\n Xt 10 Xc 20 "
              "Yt 3 Yc 0 S12 5");
    const double negShear[7] = {1, 1, 1, 1, 1, -2, 0};
    c->SetAllowables(7, negShear);
    EXPECT_EQ(c->CheckAllowables(), 2);
    EXPECT_EQ(NewestMessage(c.c),
              "One or more out-of-plane failure values are less than zero:\n S23 -2 S31 0");
    const double zeroShear[7] = {1, 1, 1, 1, 1, 0, 0};
    EXPECT_EQ((c->SetAllowables(7, zeroShear), c->CheckAllowables()), 0);
    EXPECT_EQ(c->SetAllowables(3, nullptr), 1);
}

TEST(LaminaCriteria, ZeroLoadsStartValuesAndFibreTensionAtStrength) {
    const double zero[6] = {0, 0, 0, 0, 0, 0};
    const double atXt[6] = {1000.0, 0, 0, 0, 0, 0};  // s1 = Xt
    CVekAddinFailureLaminaTemplate* all[] = {
        new CVekAddinFailureLaminaMaximum,   new CVekAddinFailureLaminaTsaiwu,
        new CVekAddinFailureLaminaHill,      new CVekAddinFailureLaminaHoffman,
        new CVekAddinFailureLaminaHankinson, new CVekAddinFailureLaminaCowin};
    for (auto* p : all) {
        Ref c(p);
        Prepare(p, kAllow, zero);
        ASSERT_EQ(c->Run(), 0);
        Outcome o = Results(p);
        EXPECT_EQ(std::vector<double>({o.margin, o.reserve, o.mode, o.index}),
                  std::vector<double>({1000.0, 1001.0, 0.0, 0.0}));
        if (p == all[0]) continue;  // the maximum criterion is checked by ratio below
        Prepare(p, kAllow, atXt);
        ASSERT_EQ(c->Run(), 0);
        o = Results(p);
        EXPECT_TRUE(Near(o.margin, 0.0, tol::loose));
        EXPECT_TRUE(Near(o.index, 1.0, tol::loose));
        EXPECT_EQ(o.mode, 1.0);
        EXPECT_EQ(o.iMode, 1);
    }
}

TEST(LaminaCriteria, MaximumRatios) {
    Ref c(new CVekAddinFailureLaminaMaximum);
    const double half[6] = {500.0, 0, 0, 0, 0, 0};
    Prepare(c.c, kAllow, half);
    ASSERT_EQ(c->Run(), 0);
    Outcome o = Results(c.c);
    EXPECT_EQ(o.index, 0.5);
    EXPECT_EQ(o.margin, 1.0);
    EXPECT_EQ(o.mode, 11.0);

    const double tie[6] = {500.0, 25.0, 0, 0, 0, 0};  // s1/Xt = s2/Yt
    Prepare(c.c, kAllow, tie);
    c->Run();
    EXPECT_EQ(Results(c.c).iMode, 11);

    std::vector<double> noS23 = kAllow;
    noS23[5] = 0.0;
    const double shear[6] = {0, 0, 0, 0, 100.0, 0};
    Prepare(c.c, noS23, shear);
    c->Run();
    EXPECT_EQ(Results(c.c).iMode, 0);  // t23 skipped when S23 = 0

    const double tiny[6] = {1e-6, 0, 0, 0, 0, 0};
    Prepare(c.c, kAllow, tiny);
    c->Run();
    o = Results(c.c);
    EXPECT_EQ(o.margin, 999999.0);
    EXPECT_EQ(o.reserve, 1000000.0);
}

TEST(LaminaCriteria, TransverseShearGoverns) {
    Ref c(new CVekAddinFailureLaminaHoffman);
    const double loads[6] = {10.0, 0, 0, 0, 80.0, 0};  // |t23| / S23 = 2
    Prepare(c.c, kAllow, loads);
    ASSERT_EQ(c->Run(), 0);
    Outcome o = Results(c.c);
    EXPECT_EQ(o.mode, 2.0);
    EXPECT_EQ(o.index, 2.0);
    EXPECT_EQ(o.margin, -0.5);
}

TEST(LaminaCriteria, HillPicksStrengthsBySign) {
    Ref c(new CVekAddinFailureLaminaHill);
    const double loads[6] = {-400.0, 25.0, 0, 0, 0, 0};
    Prepare(c.c, kAllow, loads);
    ASSERT_EQ(c->Run(), 0);
    // a = s1²/Xc² + s2²/Yt² - s1·s2/Xc² (s1·s2 < 0 takes Xc for the cross term).
    const double a = 400.0 * 400.0 / (800.0 * 800.0) + 0.25 + 400.0 * 25.0 / (800.0 * 800.0);
    Outcome o = Results(c.c);
    EXPECT_TRUE(Near(o.index, a, tol::loose));
    EXPECT_TRUE(Near(o.margin, 1.0 / std::sqrt(a) - 1.0, tol::loose));
}

TEST(LaminaCriteria, TsaiWuInteractionLimits) {
    Ref c(new CVekAddinFailureLaminaTsaiwu);
    EXPECT_EQ(Labels(c.c, false).back(), "F12");
    std::vector<double> a = kAllow;
    a[7] = 1.0;
    c->SetAllowables(8, a.data());
    EXPECT_EQ(c->CheckAllowables(), 3);
    EXPECT_EQ(NewestMessage(c.c),
              "One or more interaction failure values are outside the valid range between -1 "
              "and 1:\n F12 1");
    const double loads[6] = {0, 0, 0, 0, 0, 0};
    a[7] = 1.0;
    Prepare(c.c, a, loads);
    EXPECT_EQ(c->Run(), 1);
}

TEST(LaminaCriteria, UserAsksTheHost) {
    auto* user = new CVekAddinFailureLaminaUser;
    Ref c(user);
    EXPECT_EQ(c->Run(), 1);  // no GUI

    RecordingGUI gui;
    gui.failUserResults[0] = 0.25f;
    gui.failUserResults[1] = -11.7f;
    gui.failUserResults[2] = 0.8f;
    user->SetGUI(&gui);
    user->SetNumAllowables(0);
    EXPECT_EQ(c->Run(), 2);
    user->SetNumAllowables(3);
    ASSERT_EQ(c->Run(), 0);
    Outcome o = Results(c.c);
    EXPECT_EQ(o.margin, 0.25);
    EXPECT_EQ(o.reserve, 1.25);
    EXPECT_EQ(o.mode, -11.0);
    EXPECT_EQ(o.iMode, -11);
    EXPECT_TRUE(Near(o.index, 0.8, tol::loose));
    gui.failUserStatus = 7;
    EXPECT_EQ(c->Run(), 3);
}

TEST(LaminaCriteria, OneObjectFollowsEachNewSetOfAllowables) {
    // A criterion evaluated again and again must answer every set of
    // allowables as a new object would, whichever allowable changed (each
    // position in turn, a sign of zero) and when an earlier set returns.
    auto makers = std::vector<CVekAddinFailureLaminaTemplate* (*)()>{
        []() -> CVekAddinFailureLaminaTemplate* { return new CVekAddinFailureLaminaTsaiwu; },
        []() -> CVekAddinFailureLaminaTemplate* { return new CVekAddinFailureLaminaHill; },
        []() -> CVekAddinFailureLaminaTemplate* { return new CVekAddinFailureLaminaHoffman; },
        []() -> CVekAddinFailureLaminaTemplate* { return new CVekAddinFailureLaminaHankinson; },
        []() -> CVekAddinFailureLaminaTemplate* { return new CVekAddinFailureLaminaCowin; }};
    std::vector<std::vector<double>> sets = {kAllow};
    for (size_t i = 0; i < kAllow.size(); ++i) {
        std::vector<double> changed = kAllow;
        changed[i] = i == 7 ? 0.25 : changed[i] * 1.5;
        sets.push_back(changed);
        sets.push_back(kAllow);
    }
    sets.push_back({1000.0, 800.0, 50.0, 150.0, 70.0, 0.0, 30.0, -0.0});
    sets.push_back({1000.0, 800.0, 50.0, 150.0, 70.0, -0.0, 30.0, 0.0});
    // Loads the quadratic governs (mode 1), so every strength counts.
    const double loads[6] = {600.0, -45.0, 0.0, 30.0, 2.0, -3.0};
    for (auto make : makers) {
        Ref reused(make());
        char name[32] = "";
        reused->GetName(name, sizeof name);
        for (size_t s = 0; s < sets.size(); ++s) {
            Ref fresh(make());
            for (Lamina* c : {static_cast<Lamina*>(reused.c), static_cast<Lamina*>(fresh.c)}) {
                Prepare(c, sets[s], loads);
                ASSERT_EQ(c->Run(), 0) << name << " set " << s;
            }
            const Outcome a = Results(reused.c), b = Results(fresh.c);
            EXPECT_EQ(std::memcmp(&a.margin, &b.margin, sizeof(double)), 0) << name << " set " << s;
            EXPECT_EQ(std::memcmp(&a.index, &b.index, sizeof(double)), 0) << name << " set " << s;
            EXPECT_EQ(a.iMode, b.iMode) << name << " set " << s;
            EXPECT_EQ(b.iMode, 1) << name << " set " << s;
        }
    }
}
