#include "layuplib/VerifyLaminate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/make_facet.h"
#include "layuplib/surface_div.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

const double kDeg = std::acos(-1.0) / 180.0;

// A strip of unit quads 1..n along x with its faceted surface; element 2's
// node order can be reversed so that its normal points down. Rule k draws
// in colour 10 + k with width 0.5 + k.
class VerifyLaminate : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};
    int tests[10] = {};
    int colours[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    float limits[20] = {};
    float widths[10] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f, 6.5f, 7.5f, 8.5f, 9.5f};
    float dirn[3] = {1.0f, 0.0f, 0.0f};

    void build(int n, bool flipSecond = false) {
        meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, n, 1, n, 1.0);
        if (flipSecond) std::swap(m.connectivity[5], m.connectivity[7]);
        const std::vector<int> patches(static_cast<size_t>(n), 0);
        ASSERT_EQ(model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                     m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                     m.connectivity.data(), 0.0, 0.0),
                  0);
        ASSERT_EQ(make_facet(model.pMsg(), model.pNodes(), model.pElems(), model.pFacs()), 1);
    }
    // Laminate `id` of layers {global ply id, degrees}, thickness 0.1 each,
    // material 1, on the elements `elems`.
    void lam(int id, std::vector<std::pair<int, double>> layers, std::vector<int> elems) {
        CKpLam* l = model.pLams()->New(id);
        for (const auto& s : layers) {
            CKpLamLyr* lyr = l->LamLyrs()->New();
            lyr->setGplyid(s.first);
            lyr->setMid(1);
            lyr->setT(0.1);
            lyr->setTheta(s.second * kDeg);
        }
        for (int e : elems) model.pElems()->find(e)->pid(id);
    }
    void on(std::vector<int> rules) {
        for (int k = 0; k < 10; ++k) tests[k] = 0;
        for (int k : rules) tests[k] = 1;
    }
    int verify(int n, const int* ids, int& size, int* summary) {
        return ::VerifyLaminate(&model, n, ids, dirn, 1.0 * kDeg, 0.5, tests, colours, limits,
                                widths, &size, summary);
    }
    // Verifies every element from a restored surface (capacity 11 per
    // element unless given); the summary, or {-1} when the call fails.
    std::vector<int> run(int capacity = 0) {
        gui.clear();
        surface_restore(model.pElems(), model.pFacs());
        if (capacity == 0) capacity = 11 * model.pElems()->entries();
        std::vector<int> summary(static_cast<size_t>(capacity > 0 ? capacity : 1), -7);
        int size = capacity;
        if (verify(-1, nullptr, size, summary.data()) != 0) return {-1};
        summary.resize(static_cast<size_t>(size));
        return summary;
    }
};

}  // namespace

// Rules that read one laminate each; tolB 0.5 serves as 0.5 % thickness
// tolerance and as balance ratio.
TEST_F(VerifyLaminate, SingleLaminateRules) {
    build(3);
    lam(1, {{1, 0}, {2, 45}, {3, -45}, {4, 90}, {5, 90}, {6, -45}, {7, 45}, {8, 0}}, {1});
    lam(2, {{1, 45}, {2, 45}, {3, 0}}, {2});
    lam(3, {{1, 90}}, {3});
    on({0, 1, 2, 3, 5, 8, 9});
    limits[4] = 10;     // every band at least 10 %
    limits[6] = 30;     // t0 at least 30 %
    limits[10] = 0.5;   // above T = 0.5 ...
    limits[11] = 30;    // ... every band at least 30 %
    limits[18] = 1;     // no more than 1 adjacent layer ...
    limits[19] = 0.15;  // ... above 0.15 thick
    EXPECT_EQ(run(), (std::vector<int>{1, 1, 1, 1, 2, 0, 2, 0, 0, 2, 2,  //
                                       2, 2, 2, 2, 1, 0, 1, 0, 0, 2, 2,  //
                                       3, 1, 1, 2, 2, 0, 1, 0, 0, 1, 1}));
    // One outline per failure: colour, then the polygon of the corners.
    const auto polys = gui.drawsOf("polygon");
    ASSERT_EQ(polys.size(), 11u);
    EXPECT_EQ(polys[0].colour, 13);
    EXPECT_FLOAT_EQ(polys[0].width, 3.5f);
    EXPECT_EQ(polys[0].points, (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));

    // The reference direction turns with the element's orientation angle.
    model.pElems()->find(3)->theta(90 * kDeg);
    on({8});
    const std::vector<int> s = run();
    ASSERT_EQ(s.size(), 33u);
    EXPECT_EQ(std::vector<int>(s.begin() + 22, s.end()),
              (std::vector<int>{3, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}));
}

// Elements 1, 2: global plies 1 2 3; element 3 drops ply 2 (slope 0.1).
TEST_F(VerifyLaminate, NeighbourRules) {
    build(3);
    lam(1, {{1, 0}, {2, 0}, {3, 0}}, {1, 2});
    lam(2, {{1, 0}, {3, 0}}, {3});
    on({4, 6, 7});
    limits[8] = 20;  // slope along the direction at most 1/20
    limits[9] = 5;   // across it at most 1/5
    limits[13] = 100;
    EXPECT_EQ(run(), (std::vector<int>{2, 0, 0, 0, 0, 2, 0, 2, 1, 0, 0,  //
                                       3, 0, 0, 0, 0, 2, 0, 1, 1, 0, 0}));
    EXPECT_EQ(gui.drawsOf("polygon").size(), 1u);  // the slope draws nothing

    dirn[0] = 0.0f;
    dirn[1] = 1.0f;     // neighbours now lie across the direction
    limits[12] = 1.0f;  // one dropped ply is allowed ...
    limits[13] = 20;    // ... but not 0.1 of T = 0.3
    EXPECT_EQ(run(), (std::vector<int>{2, 0, 0, 0, 0, 1, 0, 2, 1, 0, 0}));

    // Outer plies differ; a laminate without layers has none.
    const std::vector<int> outer{2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0,  //
                                 3, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0};
    lam(3, {{2, 0}, {3, 0}}, {3});
    on({7});
    EXPECT_EQ(run(), outer);
    lam(4, {}, {3});
    EXPECT_EQ(run(), outer);
}

// Layers on the band edges count once each, so T is the stack thickness
// (a slope against the same laminate of at most 1e-9 holds).
TEST_F(VerifyLaminate, BandEdgeLayersCountOnce) {
    build(2);
    lam(1, {}, {1, 2});
    // theta_ref 1.3 rad: some of these layers fall into no band or two
    // by rounding alone.
    for (int k = -16; k <= 16; ++k) {
        CKpLamLyr* lyr = model.pLams()->find(1)->LamLyrs()->New();
        lyr->setT(0.1);
        lyr->setTheta(1.3 + 22.5 * k * kDeg);
    }
    model.pElems()->find(1)->theta(-1.3);
    model.pElems()->find(2)->theta(-1.3);
    on({4});
    limits[8] = limits[9] = 1e9f;
    EXPECT_EQ(run(), (std::vector<int>{}));
}

// A neighbour of opposite normal is read top first.
TEST_F(VerifyLaminate, ReversedNeighbour) {
    build(2, true);
    lam(1, {{1, 0}, {2, 45}, {3, 0}}, {1});
    lam(2, {{3, 0}, {2, -45}, {1, 0}}, {2});
    on({6, 7});
    EXPECT_EQ(run(), (std::vector<int>{}));
    model.pElems()->find(2)->pid(1);
    EXPECT_EQ(run(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0,  //
                                       2, 0, 0, 0, 0, 0, 0, 2, 2, 0, 0}));
}

TEST_F(VerifyLaminate, SkippedElementsAndSummaryLimits) {
    build(3);
    lam(1, {{1, 0}}, {1, 2});
    on({8});
    EXPECT_EQ(run(), (std::vector<int>{1, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0,  //
                                       2, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0}));
    EXPECT_EQ(gui.texts(2), (std::vector<std::string>{
                                "Element 3 does not reference a laminate. Skipping tests on "
                                "this element."}));

    on({7, 8});  // element 3 has no laminate: its neighbour 2 is skipped
    EXPECT_EQ(run().size(), 11u);
    EXPECT_EQ(gui.texts(2)[0],
              "The neighbours of element 2 cannot be determined correctly. Skipping tests on "
              "this element.");

    on({8});
    EXPECT_EQ(run(15).size(), 11u);
    EXPECT_EQ(gui.texts(2)[0],
              "Failure summary for element 2 cannot be returned as the array size is too small.");
    EXPECT_EQ(gui.drawsOf("polygon").size(), 2u);

    dirn[0] = 0.0f;
    EXPECT_EQ(run().size(), 0u);
    EXPECT_EQ(gui.texts(2)[0],
              "Direction <0,0,0> cannot be projected onto element 1. Skipping tests on this "
              "element.");

    // Only listed (selected) elements are neighbours: 1 and 2 pass against
    // each other. No ids writes no summary; missing arrays are refused.
    dirn[0] = 1.0f;
    on({7});
    surface_restore(model.pElems(), model.pFacs());
    const int ids[] = {1, 1, 2, -4};
    int summary[22];
    int size = 22;
    EXPECT_EQ(verify(4, ids, size, summary), 0);
    EXPECT_EQ(size, 0);
    size = 22;
    EXPECT_EQ(verify(4, nullptr, size, summary), -1);
    EXPECT_EQ(gui.texts(4).size(), 1u);
}
