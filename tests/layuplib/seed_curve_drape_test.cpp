// Draping a flat plate from two seed curves: the grid must be the unsheared
// fabric lattice wherever its points land, also exactly on facet edges, and
// at any step.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

// The seed-curve axis points sit a millionth of the way towards their
// facets' centroids; on a flat plate nothing else may move the lattice.
constexpr Tol kLattice{1e-5, 0.0};
constexpr Tol kShear{1e-6, 0.0};

class SeedCurveDrapeTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    std::string msgPath =
        ::testing::TempDir() + "seed_curve_drape_test_" + std::to_string(::getpid()) + ".msg";

    void TearDown() override {
        model->pMsg()->FileClose();
        std::remove(msgPath.c_str());
    }

    // A 4 x 2 plate of 4 x 2 quads with the material "CF" (90 degree
    // fabric, shear limit 40 degrees) and a ply draped from two seed curves
    // crossing at the seed point (2, 1): the warp curve along y = 1 (top
    // sides of elements 1..4), the weft curve along x = 2 (right sides of
    // elements 2 and 6). Each quad is two facets whose angle frames differ
    // by pi; with a square fabric and a step that divides the cells, the
    // bias points (1, 1), (-1, -1), ... lie exactly on the quads' diagonals.
    //
    //   y=2 +----+----+----+----+
    //       | 5  | 6  | 7  | 8  |
    //   y=1 +====+====*====+====+   warp curve ====, weft curve through *
    //       | 1  | 2  | 3  | 4  |
    //   y=0 +----+----+----+----+
    //      x=0                 x=4
    IVekPly* TwoCurvePly(double ratio) {
        const surfmesh::Mesh m = surfmesh::Plate(surfmesh::Kind::Quad4, 4, 2, 4.0, 2.0);
        EXPECT_EQ(meshgen::LoadModel(*model, m), 0);
        IVekMaterial* mat = model->GetMaterialStore()->New(1);
        EXPECT_EQ(mat->SetName("CF"), 0);
        mat->SetThickness(0.25);
        mat->SetWarpWeftAngle(kPi / 2.0);
        mat->SetMaximumStrain(40.0 * kPi / 180.0);
        EXPECT_EQ(model->pMsg()->FileOpen(msgPath.c_str()), 0);

        IVekPly* ply = model->GetPlyStore()->New();
        EXPECT_EQ(ply->SetName("X"), 0);
        EXPECT_EQ(ply->SetType(EVekMaterialScissor), 0);
        EXPECT_EQ(ply->SetMaterialName("CF"), 0);
        const double seed[3] = {2.0, 1.0, 0.0}, down[3] = {0.0, 0.0, -1.0},
                     ref[3] = {1.0, 0.0, 0.0};
        ply->SetSeedPoint(seed);
        ply->SetApplicationDirection(down);
        ply->SetReferenceDirection(ref);
        ply->SetStepLength(-1.0);
        ply->SetExtensionType(1);
        EXPECT_EQ(ply->SetWarpWeftRatio(ratio), 0);
        ply->SetSeedCurveType(3);
        const int warpIds[] = {1, 2, 3, 4}, warpSides[] = {3, 3, 3, 3};
        const int weftIds[] = {2, 6}, weftSides[] = {2, 2};
        EXPECT_EQ(ply->SetSeedCurveEdges(0, 4, warpIds, warpSides), 0);
        EXPECT_EQ(ply->SetSeedCurveEdges(1, 2, weftIds, weftSides), 0);
        return ply;
    }

    // The angle of the global direction (x, y, 0) in the frame of facet f.
    double Local(int f, double x, double y) {
        CKpDirn d;
        d.Set(x, y, 0.0);
        return model->pFacs()->pFac(f)->GetAngle(&d);
    }

    // Every grid point sits at seed + (u x step, v x step / ratio) with no
    // shear, every one of its four fibre angles runs along x (warp) or y
    // (weft) in its own facet's frame, and the grid covers the plate.
    void ExpectLattice(IVekPly* ply, double ratio) {
        const double step = static_cast<CKpPly*>(ply)->pPat()->stepUsed();
        ASSERT_GT(step, 0.0);
        const CKpDrape* grid = model->pDrapeSim()->pDrape();
        const CKpDrapePt* seed = grid->pDrapePt(0, 0);
        ASSERT_NE(seed, nullptr);
        EXPECT_TRUE(Near(seed->GetPoint().Get(0), 2.0, kLattice));
        EXPECT_TRUE(Near(seed->GetPoint().Get(1), 1.0, kLattice));
        int umin = 0, umax = 0, vmin = 0, vmax = 0;
        grid->GetBounds(umin, umax, vmin, vmax);
        EXPECT_LE(umin * step, -2.0 + step);
        EXPECT_GE(umax * step, 2.0 - step);
        EXPECT_LE(vmin * step / ratio, -1.0 + step / ratio);
        EXPECT_GE(vmax * step / ratio, 1.0 - step / ratio);
        int points = 0;
        for (int u = umin; u <= umax; ++u) {
            for (int v = vmin; v <= vmax; ++v) {
                const CKpDrapePt* q = grid->pDrapePt(u, v);
                if (!q) continue;
                ++points;
                const CKpPoint& p = q->GetPoint();
                const double x = seed->GetPoint().Get(0) + u * step;
                const double y = seed->GetPoint().Get(1) + v * step / ratio;
                EXPECT_TRUE(Near(q->GetStrn(), 0.0, kShear)) << u << " " << v;
                EXPECT_TRUE(Near(p.Get(0), x, kLattice) && Near(p.Get(1), y, kLattice) &&
                            Near(p.Get(2), 0.0, tol::length))
                    << u << " " << v;
                const double along[2] = {Local(q->GetFacet(), 1.0, 0.0),
                                         Local(q->GetFacet(), 0.0, 1.0)};
                for (int d = 0; d < 4; ++d)
                    EXPECT_TRUE(Near(pi_pi(q->GetSideAng(d) - along[d % 2]), 0.0, kShear))
                        << u << " " << v << " side " << d;
            }
        }
        EXPECT_GE(points, (umax - umin + 1) * (vmax - vmin + 1) / 2);
        EXPECT_TRUE(Near(static_cast<CKpPly*>(ply)->pPat()->maxstrnc(), 0.0, kShear));
    }
};

TEST_F(SeedCurveDrapeTest, SquareFabricOnFacetDiagonalsIsUnsheared) {
    IVekPly* ply = TwoCurvePly(1.0);
    ASSERT_EQ(ply->Simulate(), 0);
    for (const std::string& t : gui.texts(4)) ADD_FAILURE() << t;
    EXPECT_EQ(ply->GetNumElements(), 8);
    ExpectLattice(ply, 1.0);
    // The reported case: bias points on the diagonals of elements 2 and 7.
    const double step = static_cast<CKpPly*>(ply)->pPat()->stepUsed();
    for (int k : {-1, 1, 4}) {
        const CKpDrapePt* q = model->pDrapeSim()->pDrape()->pDrapePt(k, k);
        ASSERT_NE(q, nullptr) << k;
        EXPECT_TRUE(Near(q->GetPoint().Get(0) - q->GetPoint().Get(1), 1.0, kLattice)) << k;
        EXPECT_TRUE(Near(q->GetPoint().Get(0), 2.0 + k * step, kLattice)) << k;
    }
}

// A stretched weft, with the default step and with 20 steps per element:
// the finer the step, the more grid points each curve segment carries, and
// any mismatch between the axes' lengths and their points adds up.
TEST_F(SeedCurveDrapeTest, StretchedFabricIsUnshearedAtAnyStep) {
    IVekPly* ply = TwoCurvePly(1.5);
    for (double step : {-1.0, 0.05}) {
        ply->SetStepLength(step);
        ASSERT_EQ(ply->Simulate(), 0) << step;
        for (const std::string& t : gui.texts(4)) ADD_FAILURE() << t;
        EXPECT_EQ(ply->GetNumElements(), 8);
        ExpectLattice(ply, 1.5);
    }
    EXPECT_TRUE(Near(static_cast<CKpPly*>(ply)->pPat()->stepUsed(), 0.05, tol::length));
}

}  // namespace
