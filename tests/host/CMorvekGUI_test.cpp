#include "host/CMorvekGUI.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/LayupOut.h"
#include "platform/MorvekStub.h"

using morvekstub::Drawing;

// Every operation reaches the host through the callbacks (seen in the
// stand-in's recorders) and gives back the callee's result.
TEST(CMorvekGUI, ForwardsEveryOperation) {
    ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
    LayupOutGraDeleteSegment(4);
    MorvekStubReset();
    CMorvekGUI concrete;
    CKpGUI& gui = concrete;

    EXPECT_EQ(gui.UiAbort(), 0);
    MorvekStubRequestAbort(1);
    EXPECT_EQ(gui.UiAbort(), -1);
    MorvekStubAnswer(3);
    EXPECT_EQ(gui.Message(100005, 1029, "Sure?"), 3);
    ASSERT_EQ(morvekstub::Messages().size(), 1u);
    EXPECT_EQ(morvekstub::Messages()[0].code, 59300005);

    float p[9] = {0, 0, 0, 1, 0, 0, 1, 1, 0};
    EXPECT_EQ(gui.GraSetColor(2), -1);
    EXPECT_EQ(gui.GraDrawPolygon(4, 0, 1, 1.0f, 3, p), 0);
    EXPECT_EQ(gui.GraDrawLine(4, 0, 2, 1.0f, p, p + 3), 0);
    EXPECT_EQ(gui.GraDrawMarker(4, 0, 3, 1.0f, p, 1, 5), 0);
    EXPECT_EQ(gui.GraDrawArrow(4, 0, 4, 1.0f, p, p + 3, 0.5f), 0);
    EXPECT_EQ(gui.GraDrawResultArrow(4, 0, 5, 1.0f, p, p + 3, 2.0f, 1, "s"), 0);
    EXPECT_EQ(gui.GraDeleteSegment(4), 0);
    std::string kinds;
    for (const Drawing& d : morvekstub::Drawings()) kinds += "LMAR"[d.kind];
    EXPECT_EQ(kinds, "LLLLMAR");
    EXPECT_EQ(morvekstub::CreatedHandles().size(), 1u);
    EXPECT_EQ(morvekstub::DeletedHandles(), morvekstub::CreatedHandles());

    // No user failure criterion: the name is refused and left untouched.
    char name[8] = "keep";
    EXPECT_EQ(gui.FailUserName(name), -1);
    EXPECT_EQ(MAT_LamCalcFailUserName(name), -1);
    EXPECT_STREQ(name, "keep");
    // FailUser gives the host routine's result.
    float loads[6] = {}, allow[9] = {}, results[3] = {};
    EXPECT_EQ(gui.FailUser(loads, allow, results), 1);
    MorvekStubFail("MAT_LamCalcFailUser", 0);
    EXPECT_EQ(gui.FailUser(loads, allow, results), 0);
    MorvekStubReset();
}
