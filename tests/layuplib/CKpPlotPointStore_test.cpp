#include "layuplib/CKpPlotPointStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "layuplib/angle_util.h"

namespace {

// Points held in a vector and linked into a store (which owns nothing).
struct Polyline {
    std::vector<CKpPlotPoint> pts;
    CKpPlotPointStore store;

    explicit Polyline(const std::vector<std::pair<double, double>>& xy) {
        pts.reserve(xy.size());
        for (const auto& p : xy) pts.emplace_back(p.first, p.second, 0.0);
        for (CKpPlotPoint& p : pts) store.InsertLast(&p);
    }
    std::vector<int> flags(double angTol, double distTol) {
        EXPECT_EQ(store.Minimize(angTol, distTol), 0);
        std::vector<int> f;
        for (const CKpPlotPoint& p : pts) f.push_back(p.getPlot());
        return f;
    }
};

// The square (0,0) (4,0) (4,4) (0,4) traced with unit steps, closed.
std::vector<std::pair<double, double>> square() {
    std::vector<std::pair<double, double>> xy;
    const int dx[4] = {1, 0, -1, 0}, dy[4] = {0, 1, 0, -1};
    double x = 0, y = 0;
    for (int side = 0; side < 4; ++side)
        for (int k = 0; k < 4; ++k, x += dx[side], y += dy[side]) xy.push_back({x, y});
    xy.push_back({0, 0});
    return xy;
}

}  // namespace

TEST(CKpPlotPointStore, LineKeepsEndsAndSquareKeepsCorners) {
    Polyline line({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}});
    EXPECT_EQ(line.flags(0.1, 0.01), (std::vector<int>{2, 0, 0, 0, 0, 2}));
    EXPECT_EQ(line.store.GetNumPlot(), 2);

    Polyline sq(square());
    const std::vector<int> corners = {2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 2};
    EXPECT_EQ(sq.flags(kPi / 36, 0.01), corners);
    // With both tolerances 0 the turns are still the only corners.
    EXPECT_EQ(sq.flags(0.0, 0.0), corners);
    // No corners at an angle tolerance of pi: the chord rule keeps each
    // corner with 1, as the chord past it leaves the side by 4/sqrt(17).
    std::vector<int> chord = corners;
    for (int k : {4, 8, 12}) chord[k] = 1;
    EXPECT_EQ(sq.flags(kPi, 0.5), chord);
    // Above that deviation the chord rule lets corners go as well.
    EXPECT_EQ(sq.flags(kPi, 1.0)[4], 0);

    sq.store.SetPlotAll(2);
    EXPECT_EQ(sq.store.GetNumPlot(), 17);
}

TEST(CKpPlotPointStore, CrowdedPointsAreDroppedEvenAtSharpTurns) {
    // A 90 degree kink 0.05 long inside a straight run, then a last point
    // close to its predecessor: only the last is kept of the crowded ones.
    Polyline p({{0, 0}, {1, 0}, {1, 0.05}, {2, 0.05}, {3, 0.05}, {3.02, 0.05}});
    EXPECT_EQ(p.flags(kPi / 36, 0.1), (std::vector<int>{2, 0, 0, 0, 0, 2}));
    EXPECT_EQ(p.flags(kPi / 36, 0.01), (std::vector<int>{2, 2, 2, 0, 0, 2}));
}

// A quarter circle of 91 points turning 1 degree each. The turn is taken
// against the anchor, so it grows along the arc: with 5 degrees every 9th
// or 10th point is a corner. With 45 degrees the chord rule keeps points
// first, and between consecutive kept points no dropped point strays
// farther than the tolerance from their chord (checked by brute force).
TEST(CKpPlotPointStore, ArcKeepsChordWithinTolerance) {
    std::vector<std::pair<double, double>> xy;
    for (int k = 0; k <= 90; ++k)
        xy.push_back({10 * std::cos(k * kPi / 180), 10 * std::sin(k * kPi / 180)});
    Polyline arc(xy);
    const double tol = 0.05;
    EXPECT_EQ(arc.flags(kPi / 36, tol)[9], 2);
    EXPECT_EQ(arc.store.GetNumPlot(), 11);
    const std::vector<int> f = arc.flags(kPi / 4, tol);
    int kept = 0, prev = 0;
    for (int k = 1; k <= 90; ++k) {
        EXPECT_EQ(f[k] == 2, k == 90) << k;  // only the last is a corner
        if (f[k] == 0) continue;
        ++kept;
        const double ax = xy[prev].first, ay = xy[prev].second;
        const double ex = xy[k].first - ax, ey = xy[k].second - ay, len = std::hypot(ex, ey);
        for (int m = prev + 1; m < k; ++m)
            EXPECT_LE(std::fabs((xy[m].first - ax) * ey - (xy[m].second - ay) * ex) / len, tol);
        prev = k;
    }
    EXPECT_GT(kept, 3);
    EXPECT_LT(kept, 20);
}
