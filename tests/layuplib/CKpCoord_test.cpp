#include "layuplib/CKpCoord.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/angle_util.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// A frame of `type` defined in frame `rid` by A, B, C; inserted into `store`.
CKpCoord* addFrame(CKpCoordStore& store, int id, CKpCoordType type, int rid,
                   const double (&abc)[9]) {
    auto* c = new CKpCoord(id);
    c->setType(type);
    c->setRid(rid);
    for (int i = 0; i < 9; ++i) c->setCoords(abc[i], i);
    store.insert(c);
    return c;
}

::testing::AssertionResult PointNear(const CKpTriplet& p, double x, double y, double z) {
    const double got[3] = {p.getx(), p.gety(), p.getz()};
    const double want[3] = {x, y, z};
    return NearArray(got, want, 3, tol::loose);
}

::testing::AssertionResult CoordsNear(const CKpCoord& c, const double (&want)[9], Tol t) {
    double got[9];
    for (int i = 0; i < 9; ++i) got[i] = c.coords(i);
    return NearArray(got, want, 9, t);
}

CKpPoint pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

// Basic axes, origin at A.
const double kUnitAt0[9] = {0, 0, 0, 0, 0, 1, 1, 0, 0};
// Origin (10, 0, 0): local x along basic y, local y along basic -x.
const double kTurned[9] = {10, 0, 0, 10, 0, 1, 10, 1, 0};

}  // namespace

TEST(CKpCoord, DefiningPointsFromOriginAxesAndAngles) {
    CKpCoord c(1);
    c.setCoords(5.0, 9);  // outside 0..8: ignored
    c.setCoords(5.0, -1);
    EXPECT_EQ(c.coords(9), 0.0);
    const double origin[3] = {1, 2, 3};
    c.SetCoordsByOriginDefault(origin);
    EXPECT_TRUE(CoordsNear(c, {1, 2, 3, 1, 2, 4, 2, 2, 3}, tol::length));
    // Axes are normalised; a zero axis is used as it is.
    const double axes[9] = {0, 3, 0, 0, 0, 0, 0, 0, 0};
    c.SetCoordsByOriginAxes(origin, axes);
    EXPECT_TRUE(CoordsNear(c, {1, 2, 3, 1, 2, 3, 1, 3, 3}, tol::length));
    // A quarter turn about y takes z to x and x to -z.
    const double aboutY[3] = {0, 0, kPi / 2};
    c.SetCoordsByEulerAngles(aboutY);
    EXPECT_TRUE(CoordsNear(c, {1, 2, 3, 2, 2, 3, 1, 2, 2}, tol::loose));
}

TEST(CKpCoord, AxesOriginAndTransform) {
    CKpCoordStore store;
    CKpCoord* c = addFrame(store, 1, CKpCoordRectangular, 0, kTurned);

    CKpDirn ax[3];
    ASSERT_EQ(c->axes(nullptr, ax), 0);
    EXPECT_TRUE(PointNear(ax[0], 0, 1, 0));
    EXPECT_TRUE(PointNear(ax[1], -1, 0, 0));
    EXPECT_TRUE(PointNear(ax[2], 0, 0, 1));

    double d[3] = {9, 9, 9};
    EXPECT_EQ(
        c->GetAxisDirection(3, d) + c->GetAxisDirection(-1, d) + c->GetAxisDirection(0, nullptr),
        3);
    EXPECT_EQ(d[0], 9.0);
    ASSERT_EQ(c->GetOrigin(d), 0);
    EXPECT_TRUE(NearArray(d, std::vector<double>{10, 0, 0}, 3, tol::length));

    // Transform acts only with an external id.
    CKpPoint p = pt(10, 1, 0);
    CKpDirn dn;
    dn.Set(0, 1, 0);
    c->Transform(&p, &dn);
    EXPECT_TRUE(PointNear(p, 10, 1, 0));
    c->SetExtId(5);
    c->Transform(&p, &dn);
    EXPECT_TRUE(PointNear(p, 1, 0, 0) && PointNear(dn, 1, 0, 0));

    // Axes exist only for rectangular frames.
    c->setType(CKpCoordSpherical);
    EXPECT_EQ(c->axes(nullptr, ax), -1);
}

TEST(CKpCoord, ElementsOrientedByTheFrame) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CKpCoord* frame = addFrame(*model.pCoords(), 7, CKpCoordRectangular, 0, kUnitAt0);

    CKpOrient byFrame(1), byOther(2), byAngle(3);
    byFrame.setType(CKpOrient::TypeCoord);
    byFrame.setRefId(7);
    byOther.setType(CKpOrient::TypeCoord);
    byOther.setRefId(8);
    byAngle.setType(CKpOrient::TypeAngle);
    byAngle.setRefId(7);  // a type-3 reference id names no frame
    CKpOrient* orientOf[6] = {&byFrame, &byOther, &byFrame, nullptr, &byAngle, &byFrame};
    const int elemIds[6] = {30, 12, 5, 40, 7, 18};
    for (int i = 0; i < 6; ++i) {
        auto* elem = new CKpElem(elemIds[i], 1);
        elem->pOrient(orientOf[i]);
        model.pElems()->insert(elem);
    }

    ASSERT_EQ(frame->GetNumElements(), 3);
    int ids[3] = {0, 0, 0};
    EXPECT_EQ(frame->GetElementIds(2, ids) + frame->GetElementIds(3, nullptr), 2);
    ASSERT_EQ(frame->GetElementIds(3, ids), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 3), (std::vector<int>{5, 18, 30}));
    CKpCoord loose(3);  // in no model
    EXPECT_EQ(loose.GetNumElements() * 10 + loose.GetElementIds(0, ids), 2);
    // Elements point at the orientations on the stack: unlink them first.
    for (int id : elemIds) model.pElems()->find(id)->pOrient(nullptr);
}

TEST(CKpCoordStore, InterfacePositionsAreChecked) {
    CKpCoordStore store;
    IVekCoordStore* iface = &store;
    addFrame(store, 9, CKpCoordRectangular, 0, kUnitAt0);
    addFrame(store, 2, CKpCoordSpherical, 0, kUnitAt0);
    store.insert(nullptr);
    EXPECT_EQ(iface->Count(), 2);
    CKpCoord copy(*store.find(9));
    EXPECT_EQ(copy.GetCoordStore(), nullptr);                 // a copy belongs to no store
    EXPECT_EQ(iface->Get(0)->GetType(), EVekCoordSpherical);  // ordered by id
    EXPECT_TRUE(!iface->Get(2) && !iface->Get(-1));
}

TEST(CKpCoordStore, BasicCoordsOfSingleFrames) {
    CKpCoordStore store;
    addFrame(store, 1, CKpCoordRectangular, 0, kUnitAt0);
    addFrame(store, 2, CKpCoordCylindrical, 0, kUnitAt0);
    addFrame(store, 3, CKpCoordRectangular, 0, kTurned);
    const double shifted[9] = {1, 2, 3, 1, 2, 4, 2, 2, 3};
    addFrame(store, 4, CKpCoordSpherical, 0, shifted);
    // B not at unit distance, C off the x axis: x runs along basic y.
    const double skew[9] = {0, 0, 0, 0, 0, 2, 0, 3, 0};
    addFrame(store, 5, CKpCoordCylindrical, 0, skew);

    // frame, local point, basic point
    const double cases[][7] = {
        {1, 1.5, -2, 7, 1.5, -2, 7}, {2, 2, 90, 5, 0, 2, 5}, {3, 1, 0, 0, 10, 1, 0},
        {4, 2, 90, 180, -1, 2, 3},  // r 2 in the -x direction of the local xy plane
        {4, 3, 0, 45, 1, 2, 6},     // theta 0: on the local z axis
        {5, 1, 90, 4, -1, 0, 4}};
    for (const auto& c : cases) {
        CKpPoint p = pt(c[1], c[2], c[3]);
        EXPECT_EQ(store.GetBasicCoords(static_cast<int>(c[0]), &p), 0) << c[0];
        EXPECT_TRUE(PointNear(p, c[4], c[5], c[6])) << "frame " << c[0] << " " << c[3];
    }
}

TEST(CKpCoordStore, ChainedFramesResolveThroughEveryReference) {
    CKpCoordStore store;
    addFrame(store, 1, CKpCoordCylindrical, 0, kUnitAt0);
    // Given in the cylindrical frame 1: A (0, 5, 0), B (0, 5, 1), C (5, 5, 0)
    // in basic terms, a pure shift by (0, 5, 0).
    const double inCyl[9] = {5, 90, 0, 5, 90, 1, 5 * std::sqrt(2.0), 45, 0};
    addFrame(store, 2, CKpCoordRectangular, 1, inCyl);
    addFrame(store, 3, CKpCoordRectangular, 2, kUnitAt0);
    // Frame 4 in frame 2: origin (1, 0, 0), local x along y, local y along -x.
    const double turnedInTwo[9] = {1, 0, 0, 1, 0, 1, 1, 1, 0};
    addFrame(store, 4, CKpCoordRectangular, 2, turnedInTwo);

    CKpPoint p = pt(1, 2, 3);
    EXPECT_EQ(store.GetBasicCoords(2, &p), 0);
    EXPECT_TRUE(PointNear(p, 1, 7, 3));
    // Frame 4: (a, b, c) in 4 is (1 - b, a, c) in 2, so (0.5 - 2 + 3) is (3, 5.5, 3).
    p = pt(0.5, -2, 3);
    ASSERT_EQ(store.GetBasicCoords(4, &p), 0);
    EXPECT_TRUE(PointNear(p, 3, 5.5, 3));
}

TEST(CKpCoordStore, LongChainResolvesInLinearTime) {
    // Each frame shifts the one below by (1, 0, 0). Resolving each defining
    // point recursively would cost 3^n lookups here.
    CKpCoordStore store;
    const int n = 400;
    const double shift[9] = {1, 0, 0, 1, 0, 1, 2, 0, 0};
    for (int id = 1; id <= n; ++id) addFrame(store, id, CKpCoordRectangular, id - 1, shift);
    CKpPoint p = pt(0, 0, 0);
    ASSERT_EQ(store.GetBasicCoords(n, &p), 0);
    EXPECT_TRUE(PointNear(p, n, 0, 0));
}

TEST(CKpCoordStore, BadIdsAndLoopsFailWithoutTouchingThePoint) {
    CKpCoordStore store;
    addFrame(store, 1, CKpCoordRectangular, 1, kTurned);  // refers to itself
    addFrame(store, 2, CKpCoordRectangular, 3, kTurned);  // 2 -> 3 -> 2
    addFrame(store, 3, CKpCoordCylindrical, 2, kTurned);
    addFrame(store, 4, CKpCoordRectangular, 2, kTurned);  // runs into the loop
    addFrame(store, 5, CKpCoordRectangular, 8, kTurned);  // reference missing
    addFrame(store, 6, CKpCoordRectangular, -2, kTurned);

    for (int id : {1, 2, 3, 4, 5, 6, 7, -1}) {
        CKpPoint p = pt(1, 2, 3);
        EXPECT_EQ(store.GetBasicCoords(id, &p), -1) << id;
        EXPECT_TRUE(PointNear(p, 1, 2, 3)) << id;
    }
    EXPECT_EQ(store.GetBasicCoords(0, nullptr), -1);
}
