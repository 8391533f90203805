#include "host/CKpGra.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "layuplib/CKpPoint.h"
#include "tests/support/RecordingGUI.h"

namespace {

CKpPoint pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

// One drawing call as "kind seg/id/colour/width: points | extra", floats in
// full precision so that the float rounding shows.
std::string desc(const RecordingGUI::DrawCall& c) {
    std::ostringstream s;
    s.precision(9);
    s << c.kind << " " << c.segment << "/" << c.id << "/" << c.colour << "/" << c.width << ":";
    for (float f : c.points) s << " " << f;
    if (!c.extra.empty()) s << " |";
    for (double e : c.extra) s << " " << e;
    return s.str();
}

class CKpGraTest : public ::testing::Test {
  protected:
    void SetUp() override { gra.SetGUI(&gui); }
    RecordingGUI gui;
    CKpGra gra;
};

}  // namespace

TEST_F(CKpGraTest, PolylineJoinsAndRoundsToFloat) {
    gra.select_segment(3);
    gra.select_pen(2, 0.1);
    const CKpPoint a = pt(0.1, 0.2, 0.3), b = pt(1, 2, 3), c = pt(1e-3, 4.0 / 3.0, -7);
    EXPECT_EQ(gra.MoveTo3d(&a), 0);
    EXPECT_TRUE(gui.draws.empty());  // a move draws nothing
    EXPECT_EQ(gra.LineTo3d(&b), 0);
    EXPECT_EQ(gra.LineTo3d(&c), 0);
    ASSERT_EQ(gui.draws.size(), 2u);
    EXPECT_EQ(desc(gui.draws[0]),
              "line 3/0/2/0.100000001: 0.100000001 0.200000003 0.300000012 1 2 3");
    // The second line starts where the first ended.
    EXPECT_EQ(desc(gui.draws[1]), "line 3/0/2/0.100000001: 1 2 3 0.00100000005 1.33333337 -7");
}

TEST_F(CKpGraTest, DeleteSegmentLeavesSegmentZeroAndKeepsPen) {
    gra.select_segment(6);
    gra.select_pen(5, 2.0);
    const CKpPoint a = pt(0, 0, 0), b = pt(1, 1, 1);
    gra.MoveTo3d(&a);
    EXPECT_EQ(gra.delete_segment(6), 0);
    gra.LineTo3d(&b);
    ASSERT_EQ(gui.draws.size(), 2u);
    EXPECT_EQ(desc(gui.draws[0]), "deleteSegment 6/0/0/0:");
    EXPECT_EQ(desc(gui.draws[1]), "line 0/0/5/2: 0 0 0 1 1 1");
}

TEST_F(CKpGraTest, PixelIsMarkerOneFive) {
    gra.select_segment(2);
    gra.select_pen(4, 0.0);
    const CKpPoint p = pt(1.5, -2.5, 1e20);
    EXPECT_EQ(gra.SetPixel3d(&p), 0);
    ASSERT_EQ(gui.draws.size(), 1u);
    EXPECT_EQ(desc(gui.draws[0]), "marker 2/0/4/0: 1.5 -2.5 1.00000002e+20 | 1 5");
}

TEST_F(CKpGraTest, NullPointsChangeNothing) {
    const CKpPoint a = pt(1, 2, 3), b = pt(4, 5, 6);
    gra.MoveTo3d(&a);
    EXPECT_EQ(gra.MoveTo3d(nullptr), -1);
    EXPECT_EQ(gra.LineTo3d(nullptr), -1);
    EXPECT_EQ(gra.SetPixel3d(nullptr), -1);
    EXPECT_TRUE(gui.draws.empty());
    gra.LineTo3d(&b);  // still from the last good point
    ASSERT_EQ(gui.draws.size(), 1u);
    EXPECT_EQ(desc(gui.draws[0]), "line 0/0/0/0: 1 2 3 4 5 6");
}

TEST_F(CKpGraTest, ForwardersPassArgumentsNotPenState) {
    gra.select_segment(9);
    gra.select_pen(1, 1.0);
    float poly[6] = {0, 0, 0, 1, 0, 0};
    EXPECT_EQ(gra.GraDrawPolygon(7, 3, 8, 0.25f, 2, poly), 0);
    ASSERT_EQ(gui.draws.size(), 1u);
    EXPECT_EQ(desc(gui.draws[0]), "polygon 7/3/8/0.25: 0 0 0 1 0 0");
    // Without a GUI the pen still works, nothing is drawn, forwarders refuse.
    CKpGra bare;
    const CKpPoint a = pt(1, 1, 1);
    EXPECT_EQ(bare.LineTo3d(&a), 0);
    EXPECT_EQ(bare.delete_segment(1), 0);
    EXPECT_EQ(bare.GraSetColor(1), -1);
}
