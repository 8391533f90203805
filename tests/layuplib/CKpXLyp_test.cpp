#include "layuplib/CKpXLyp.h"

#include <gtest/gtest.h>

#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"

namespace {

// A ply of `id` with one contribution per element id, each `t` thick.
CKpXLypPly* Ply(CKpXLyp& x, int id, std::initializer_list<int> elems, double t) {
    CKpXLypPly* p = new CKpXLypPly(id);
    for (int e : elems) p->Contributions().Add(e, t);
    x.Plies().InsertLast(p);
    return p;
}

}  // namespace

TEST(CKpXLyp, ButtedPliesShareALayerAndTheThicknessFollowsTheMode) {
    CKpXLyp x(7);
    x.SetPlyContinuity(CKpXLyp::eContinuous);
    for (int e = 1; e <= 4; ++e) x.Elems().Add(e, 1.0);
    CKpXLypPly* p1 = Ply(x, 1, {1, 2}, 0.2);
    CKpXLypPly* p2 = Ply(x, 2, {3, 4}, 0.3);
    CKpXLypPly* p3 = Ply(x, 3, {1, 2, 3, 4}, 0.5);
    EXPECT_EQ(x.CompressButted(), 0);
    ASSERT_EQ(x.Plies().entries(), 2);
    EXPECT_EQ(x.Plies().First(), p1);
    EXPECT_EQ(x.Plies().Last(), p3);
    EXPECT_EQ(p1->GetNumButtedPlys(), 1);
    EXPECT_EQ(p1->GetButtedPlys()->First(), p2);
    EXPECT_EQ(p1->GetLypPlyId(3), 2);  // element 3 carries the butted ply
    EXPECT_EQ(p1->GetLypPlyId(1), 1);
    EXPECT_EQ(p1->GetLypPlyId(9), 1);
    EXPECT_DOUBLE_EQ(x.TotThick(), 0.3 + 0.5);

    // A ply sharing an element with the one directly below stays put.
    CKpXLyp y(8);
    y.SetPlyContinuity(CKpXLyp::eContinuous);
    Ply(y, 1, {1}, 0.1);
    Ply(y, 2, {1, 2}, 0.1);
    y.CompressButted();
    EXPECT_EQ(y.Plies().entries(), 2);

    // Mode 0 neither butts nor splits: T is the thickest element.
    CKpXLyp z(9);
    z.Elems().Add(1, 0.4);
    z.Elems().Add(2, 0.9);
    Ply(z, 1, {1}, 0.4);
    Ply(z, 2, {2}, 0.9)->SetSplit(1);
    z.CompressButted();
    EXPECT_EQ(z.Plies().entries(), 2);
    EXPECT_DOUBLE_EQ(z.TotThick(), 0.9);
    EXPECT_EQ(z.SetSplitRatios(nullptr), 0);
    EXPECT_EQ(z.GetSplitCount(), 0);
}

TEST(CKpXLyp, OffsetsAndFaces) {
    CKpXLyp x(1);
    EXPECT_EQ(x.SetOffset(0, 1.0), 0);
    EXPECT_EQ(x.SetOffset(0, 3.0), 0);
    EXPECT_DOUBLE_EQ(x.GetOffsetValue(), 2.0);
    EXPECT_EQ(x.SetOffset(1, 0.0), -1);
    EXPECT_DOUBLE_EQ(x.GetOffsetValue(), 2.0);
    EXPECT_EQ(x.GetOffsetCount(), 2);

    // T = 2 from the thickest element; the three reference positions.
    struct Case {
        int flag;
        double bottom, middle, top;
    } cases[] = {{1, 0.5, 1.5, 2.5}, {0, -0.5, 0.5, 1.5}, {-1, -1.5, -0.5, 0.5}};
    for (const Case& c : cases) {
        CKpXLyp s(2);
        s.Elems().Add(1, 2.0);
        s.SetOffset(c.flag, 0.5);
        EXPECT_DOUBLE_EQ(s.GetOffset(-1), c.bottom) << c.flag;
        EXPECT_DOUBLE_EQ(s.GetOffset(0), c.middle) << c.flag;
        EXPECT_DOUBLE_EQ(s.GetOffset(1), c.top) << c.flag;
    }
}

TEST(CKpXLyp, SnapValuesMoveTheNearerFace) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CKpXLyp x(5);
    x.Elems().Add(1, 2.0);
    x.SetOffset(0, 0.0);
    const double values[2] = {1.05, -0.9};
    EXPECT_EQ(x.SetSnap(model.pMsg(), 0.1, 2, values), 0);
    EXPECT_EQ(x.GetSnapCount(), 2);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(-1), -0.9);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(1), 1.05);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(0), 0.075);
    EXPECT_DOUBLE_EQ(x.GetSnapRatio(), 0.975);
    EXPECT_DOUBLE_EQ(x.GetOffset(1), 1.0);  // the unsnapped faces stay

    // Relative tolerance 0.1 of T = 2 reaches 0.2 from the face.
    const double far[1] = {1.15};
    EXPECT_EQ(x.SetSnap(model.pMsg(), -0.1, 1, far), 0);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(1), 1.15);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(-1), -1.0);
    const double tooFar[1] = {1.25};
    EXPECT_EQ(x.SetSnap(model.pMsg(), -0.1, 1, tooFar), 0);
    EXPECT_EQ(x.GetSnapCount(), 0);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(1), 1.0);

    // Two values for the top: the closer one stays.
    const double twoTop[2] = {1.08, 0.98};
    EXPECT_EQ(x.SetSnap(model.pMsg(), 0.1, 2, twoTop), 0);
    EXPECT_DOUBLE_EQ(x.GetSnapOffset(1), 0.98);

    const double three[3] = {0, 0, 0};
    EXPECT_EQ(x.SetSnap(model.pMsg(), 0.1, 3, three), -1);
    ASSERT_EQ(gui.texts(4).size(), 1u);
    EXPECT_EQ(gui.texts(4)[0], " Only two snap values can be defined, but node 5 has 3 values.");

    // A stack without thickness keeps its ratio instead of dividing by 0.
    CKpXLyp thin(6);
    thin.Elems().Add(1, 0.0);
    const double one[1] = {0.05};
    EXPECT_EQ(thin.SetSnap(nullptr, 0.1, 1, one), 0);
    EXPECT_DOUBLE_EQ(thin.GetSnapRatio(), 1.0);
}

TEST(CKpXLyp, SplitRatiosByMode) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    // Mode 2: running sums of AveThick, the split ply's own included.
    CKpXLyp c(3);
    c.SetPlyContinuity(CKpXLyp::eContinuous);
    c.Elems().Add(1, 1.0);
    Ply(c, 1, {1}, 0.25);
    Ply(c, 9, {1}, 0.0)->SetSplit(1);
    Ply(c, 2, {1}, 0.75);
    ASSERT_EQ(c.SetSplitRatios(model.pMsg()), 0);
    double r = -1.0;
    EXPECT_EQ(c.GetSplitRatio(model.pMsg(), 1, 9, r), 0);
    EXPECT_DOUBLE_EQ(r, 0.25);
    EXPECT_EQ(c.GetSplitRatio(model.pMsg(), -1, 9, r), 0);
    EXPECT_DOUBLE_EQ(r, 0.75);
    EXPECT_EQ(c.GetSplitRatio(model.pMsg(), 1, 4, r), -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not find split ply with layup ply id 4 on node 3");

    // Ratios next to the ends are clamped onto them.
    CKpXLyp e(4);
    e.SetPlyContinuity(CKpXLyp::eContinuous);
    e.Elems().Add(1, 1.0);
    Ply(e, 1, {1}, 1e-13);
    Ply(e, 8, {1}, 0.0)->SetSplit(1);
    Ply(e, 2, {1}, 1.0);
    Ply(e, 9, {1}, 0.0)->SetSplit(1);
    Ply(e, 3, {1}, 5e-13);
    ASSERT_EQ(e.SetSplitRatios(model.pMsg()), 0);
    EXPECT_EQ(e.GetSplitRatio(nullptr, 0, 8, r), 0);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(e.GetSplitRatio(nullptr, 0, 9, r), 0);
    EXPECT_EQ(r, 1.0);

    // Mode 1: per-element runs; element 2 is thicker below the split.
    CKpXLyp m(5);
    m.SetPlyContinuity(CKpXLyp::eSplit);
    m.Elems().Add(1, 1.0);
    m.Elems().Add(2, 1.0);
    Ply(m, 1, {1}, 0.2);
    Ply(m, 2, {2}, 0.6);
    Ply(m, 9, {1, 2}, 0.0)->SetSplit(1);
    Ply(m, 3, {1, 2}, 0.4);
    EXPECT_DOUBLE_EQ(m.TotThick(), 1.0);
    ASSERT_EQ(m.SetSplitRatios(model.pMsg()), 0);
    EXPECT_EQ(m.GetSplitRatio(nullptr, 0, 9, r), 0);
    EXPECT_DOUBLE_EQ(r, 0.6);

    // A split ply must cover every element of the node.
    CKpXLyp bad(6);
    bad.SetPlyContinuity(CKpXLyp::eSplit);
    bad.Elems().Add(1, 1.0);
    bad.Elems().Add(2, 1.0);
    Ply(bad, 9, {1}, 0.0)->SetSplit(1);
    EXPECT_EQ(bad.SetSplitRatios(model.pMsg()), -1);
    EXPECT_EQ(gui.texts(4).back(),
              "Split defined by layup ply 9 only covers 1 of 2 elements referenced by node 6");
}
