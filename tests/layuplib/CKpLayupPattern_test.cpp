#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/GetOldPlyPat.h"
#include "layuplib/angle_util.h"
#include "layuplib/facet_query.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

bool has(const std::vector<std::string>& texts, const std::string& text) {
    for (const std::string& t : texts)
        if (t == text) return true;
    return false;
}

// A model on an n x n plate of 4 x 4 (optionally with the centred 2 x 2
// cells left out) with material "CF" and ply "P" over `elems`, seen from
// (0.5, 0.5, 1) straight down.
class LayupPatternTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void Build(const meshgen::Mesh& m, const std::vector<int>& elems) {
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        CKpMat* mat = new CKpMat(1);
        mat->setMtrlnm("CF");
        model->pMats()->insert(mat);
        CKpPly* ply = static_cast<CKpPly*>(model->pPlys()->New());
        ASSERT_EQ(ply->SetName("P"), 0);
        ASSERT_EQ(ply->SetMaterialName("CF"), 0);
        ASSERT_EQ(ply->SetElementIdsOrders(static_cast<int>(elems.size()), elems.data(), nullptr),
                  0);
        ASSERT_EQ(ply->UpdatePlyElems(), 0);
        const double eye[3] = {0.5, 0.5, 1.0}, down[3] = {0.0, 0.0, -1.0};
        ply->SetSeedPoint(eye);
        ply->SetApplicationDirection(down);
    }
    CKpPat* pattern() { return model->pPlys()->findByName("P")->pPat(); }
};

TEST_F(LayupPatternTest, BoundaryOfHoledPlateHasOuterAndHoleRing) {
    Build(surfmesh::PlateWithHole(meshgen::Kind::Quad4, 4, 4.0, 2),
          {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    int contours = -7, points = -7;
    EXPECT_EQ(model->GetPlyBoundaryNum("Nope", &contours, &points), 0);
    EXPECT_TRUE(contours == -7 && has(gui.texts(4), "Could not find ply 'Nope'."));
    ASSERT_EQ(model->GetPlyBoundaryNum("P", &contours, &points), 0);
    ASSERT_EQ(contours * 100 + points, 2 * 100 + 17 + 9);  // 16 + 8 edges, rings closed

    std::vector<int> counts(2, -1), ids(26, -1);
    std::vector<double> xyz(78, -1.0);
    // The contour count is compared first; nothing is written on refusal.
    EXPECT_EQ(model->GetPlyBoundary("P", 3, 25, counts.data(), xyz.data(), ids.data()), -1);
    EXPECT_TRUE(has(gui.texts(4),
                    "LayupGetPlyBoundary: The allocated contour array size 3 is not "
                    "equal to the number of contours 2."));
    EXPECT_EQ(model->GetPlyBoundary("P", 2, 25, counts.data(), xyz.data(), ids.data()), -1);
    EXPECT_TRUE(has(gui.texts(4),
                    "LayupGetPlyBoundary: The allocated point array size 25 is not "
                    "equal to the number of points 26."));
    EXPECT_EQ(counts[0], -1);

    ASSERT_EQ(model->GetPlyBoundary("P", 2, 26, counts.data(), xyz.data(), ids.data()), 0);
    EXPECT_EQ(counts, (std::vector<int>{17, 9}));
    for (int k = 0; k < 26; ++k) {
        // Chebyshev distance from the centre: 2 on the outer ring, 1 on the hole.
        const double d = std::max(std::fabs(xyz[3 * k] - 2.0), std::fabs(xyz[3 * k + 1] - 2.0));
        EXPECT_TRUE(Near(d, k < 17 ? 2.0 : 1.0, tol::length)) << "point " << k;
        EXPECT_GT(ids[k], 0);
    }
    EXPECT_TRUE(ids[0] == ids[16] && ids[17] == ids[25]);
}

TEST_F(LayupPatternTest, HolesOfPlyAreTheElementsItLeavesOut) {
    // A full 4 x 4 plate; the ply leaves out the centre elements 6 7 10 11.
    Build(surfmesh::Plate(meshgen::Kind::Quad4, 4, 4, 4.0, 4.0),
          {1, 2, 3, 4, 5, 8, 9, 12, 13, 14, 15, 16});
    int count = 0;
    std::vector<int> ids(4, -1);
    ASSERT_EQ(model->GetPlyHolesNum("P", &count), 0);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(model->GetPlyHoles("P", 3, ids.data()) * 10 + ids[0], 20 - 1);
    EXPECT_EQ(model->GetPlyHoles("Nope", 4, ids.data()), 1);
    ASSERT_EQ(model->GetPlyHoles("P", 4, ids.data()), 0);
    EXPECT_EQ(ids, (std::vector<int>{6, 7, 10, 11}));
    // The working selection stays the ply's region with its holes filled.
    EXPECT_TRUE(model->pElems()->find(1)->getSltd() && model->pElems()->find(6)->getSltd());

    CKpPly* ply = nullptr;
    CKpPat* pat = nullptr;
    EXPECT_EQ(GetOldPlyPat(model.get(), "Q", &ply, &pat), -1);
    EXPECT_TRUE(has(gui.texts(4), "Could not find ply 'Q' to modify."));
    EXPECT_TRUE(GetOldPlyPat(model.get(), "P", &ply, &pat) == 0 && pat == pattern());
}

// A drape over the 4 x 4 plate, built by hand: grid point (i, j) at
// origin + i step (1, 0) + j weftStep (cos a, sin a), fibres undistorted.
class HandDrapeTest : public LayupPatternTest {
  protected:
    const double a = 80.0 * kPi / 180.0, ratio = 1.25, step = 0.5;
    const double origin[2] = {2.02, 1.97};

    void SetUp() override {
        Build(surfmesh::Plate(meshgen::Kind::Quad4, 4, 4, 4.0, 4.0), {1});
        CKpPat* pat = pattern();
        pat->setStwpwtang(a);
        pat->setWarpWeftRatio(ratio);
        pat->setStep(step);
        model->pDrapeSim()->StorePat(pat);
        model->pDrapeSim()->patStored(1);
        ASSERT_EQ(model->SelectAreaEID(-1, nullptr, 0), 0);
    }
    // Adds point (i, j), joined to its existing 4-neighbours.
    CKpDrapePt* Add(int i, int j, double strain = 0.0) {
        CKpPoint p, warp, weft;
        const double w = step / ratio;
        p.Set(origin[0] + i * step + j * w * std::cos(a), origin[1] + j * w * std::sin(a), 0.0);
        warp.Set(p.getx() + 1.0, p.gety(), 0.0);
        weft.Set(p.getx() + std::cos(a), p.gety() + std::sin(a), 0.0);
        int f = -1;
        CKpPoint hit;
        EXPECT_EQ(CalcPointFacetsPoint(nullptr, model->pFacs(), p, f, hit, 1), 0);
        const CKpFacet* facet = model->pFacs()->pFac(f);
        CKpDrapePt* pt = new CKpDrapePt;
        pt->SetFacet(f);
        pt->SetDnfg(1);
        pt->SetPoint(p);
        pt->SetWarpAng(facet->GetAngle(&p, &warp));
        pt->SetWeftAng(facet->GetAngle(&p, &weft));
        pt->SetStrn(strain);
        CKpDrape* grid = model->pDrapeSim()->pDrape();
        EXPECT_EQ(grid->pDrapePt(i, j, pt), 0);
        for (int d = 0; d < 4; ++d)
            grid->Join(i, j, i + (d == 0) - (d == 2), j + (d == 1) - (d == 3));
        return pt;
    }
};

TEST_F(HandDrapeTest, DrapedPatternNumbersPointsNeighboursAndEnds) {
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) Add(i, j, 0.01 * (i + 3 * j));
    CKpPoint end;
    end.Set(9.0, 8.0, 7.0);
    model->pDrapeSim()->pDrape()->pDrapePt(1, 1)->SetEnd(0, 0.4, end, CKpDirn(), 0, 1);
    std::vector<int> mi(21), pi(21), mj(21), pj(21), el(21);
    std::vector<double> xyz(63), sh(21);
    auto get = [&](int mode, int size) {
        return model->GetDrapedPattern(mode, size, mi.data(), pi.data(), mj.data(), pj.data(),
                                       el.data(), xyz.data(), sh.data());
    };
    int n = 0;
    ASSERT_EQ(model->GetDrapedPatternSizes(0, &n), 0);
    ASSERT_EQ(n, 21);  // 9 points and 12 open directions
    EXPECT_EQ(get(0, 20), -1);
    EXPECT_TRUE(has(gui.texts(4), "Number of points 21 must not be greater than array size 20."));
    ASSERT_EQ(get(0, 21), 0);
    // (-1,-1) is 0, its ends -i 1 and -j 2 (order +i +j -i -j); (0,-1) is 3.
    EXPECT_EQ(pi[0] * 100 + mi[0] * 10 + mj[0], 312);
    EXPECT_EQ(pi[1], 0);  // the -i end leads back along +i
    EXPECT_EQ(mi[1] + pj[1] + mj[1], -3);
    EXPECT_TRUE(NearArray(&xyz[3], &xyz[0], 3, tol::length));  // end never reached: own position
    EXPECT_TRUE(Near(sh[0], -0.04 * 180.0 / kPi, tol::angle));
    EXPECT_EQ(sh[1], sh[0]);
    // The last point (1, 1), number 18, has its +i end at the recorded end.
    EXPECT_EQ(pi[18], 19);
    EXPECT_EQ(xyz[3 * 19], 9.0);
    EXPECT_EQ(el[19], model->pFacs()->GetElemId(0));
    int ends = 0;
    for (int k = 0; k < 21; ++k) {
        const int links = (mi[k] >= 0) + (pi[k] >= 0) + (mj[k] >= 0) + (pj[k] >= 0);
        ends += links == 1;
        EXPECT_TRUE(links == 1 || pi[k] < 0 || mi[pi[k]] < 0 || mi[pi[k]] == k) << k;
    }
    EXPECT_EQ(ends, 12);

    // Mode 1 drops (2, 1), which hangs on (1, 1) alone.
    Add(2, 1);
    ASSERT_EQ(model->GetDrapedPatternSizes(1, &n), 0);
    ASSERT_EQ(n, 9);
    ASSERT_EQ(get(1, 9), 0);
    EXPECT_EQ(pi[8], -1);
    EXPECT_EQ(pj[4] * 10 + mi[4], 73);
}

TEST_F(HandDrapeTest, FlatAndDrapedPositionsMapBothWays) {
    for (int j = -2; j <= 2; ++j)
        for (int i = -2; i <= 2; ++i) Add(i, j);
    const double flat[2][2] = {{0.13, 0.21}, {-0.61, -0.47}};
    for (const double* uv : flat) {
        double xyz[3] = {0, 0, 0}, back[2] = {0, 0};
        int elem = -1;
        ASSERT_EQ(model->Get3DFrom2D(uv, xyz, &elem), 0);
        const double expected[3] = {origin[0] + uv[0], origin[1] + uv[1], 0.0};
        EXPECT_TRUE(NearArray(xyz, expected, 3, tol::loose));
        EXPECT_EQ(elem, 1 + static_cast<int>(xyz[0]) + 4 * static_cast<int>(xyz[1]));
        ASSERT_EQ(model->Get2DFrom3D(xyz, 1e-6, back), 0);
        EXPECT_TRUE(NearArray(back, uv, 2, tol::loose));
    }
    const double above[3] = {2.0, 2.0, 0.2}, far[2] = {30.0, 0.0};
    double uv[2] = {7.0, 7.0}, xyz[3];
    EXPECT_EQ(model->Get3DFrom2D(far, xyz, nullptr), -1);
    EXPECT_EQ(model->Get2DFrom3D(above, 0.1, uv), -1);
    EXPECT_TRUE(has(gui.texts(4),
                    "The projection distance of 0.2 is greater than the distance tolerance 0.1."));
    EXPECT_EQ(uv[0], 7.0);
    model->pDrapeSim()->StorePat(nullptr);
    EXPECT_EQ(model->Get3DFrom2D(uv, xyz, nullptr), -1);
    EXPECT_TRUE(has(gui.texts(4), "No current draping simulation."));
}

TEST_F(HandDrapeTest, FlatPatternRingsKeepPlottedPoints) {
    int rings = -1, points = -1;
    EXPECT_EQ(model->GetFlatPatternSizes(&rings, &points), -1);
    // Ring 0: a unit square in steps, all 5 points kept; ring 1: 3 points,
    // the middle one dropped by thinning.
    const double uv[8][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}, {.2, .2}, {.4, .2}, {.2, .2}};
    for (int r = 0; r < 2; ++r) {
        CKpFlatPat* pat = new CKpFlatPat;
        CKpFlatPatPt* prev = nullptr;
        for (int k = 5 * r; k < 5 + 3 * r; ++k) {
            CKpFlatPatPt* p = new CKpFlatPatPt;
            p->SetUV(uv[k][0], uv[k][1]);
            p->setPlot(k == 6 ? 0 : 1);
            pat->pPoints()->InsertAfter(prev, p);
            prev = p;
        }
        model->pDrapeSim()->pFlatPats()->InsertLast(pat);
    }
    ASSERT_EQ(model->GetFlatPatternSizes(&rings, &points), 0);
    EXPECT_EQ(rings * 10 + points, 27);
    int counts[3] = {-1, -1, -1};
    double xyz[21];
    ASSERT_EQ(model->GetFlatPattern(3, 7, counts, xyz), 0);
    EXPECT_EQ(counts[0] * 100 + counts[1] * 10 + counts[2], 520);
    const double expected[6] = {0.5, 0.5, 0.0, 0.1, 0.1, 0.0};  // step 0.5
    EXPECT_TRUE(NearArray(&xyz[6], expected, 3, tol::length));
    EXPECT_TRUE(NearArray(&xyz[15], &expected[3], 3, tol::length));
    // A short array stops the writing; a negative size is refused.
    ASSERT_EQ(model->GetFlatPattern(2, 3, counts, xyz), 0);
    EXPECT_EQ(counts[0] * 10 + counts[1], 30);
    EXPECT_EQ(model->GetFlatPattern(2, -1, counts, xyz), -1);
}

}  // namespace
