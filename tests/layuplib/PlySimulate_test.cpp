#include "layuplib/PlySimulate.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/VekTList.h"
#include "layuplib/angle_util.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = kPi / 180.0;

// A model built through ILayup from a test surface, with the material "CF"
// (thickness 0.25, warp/weft angle 90 degrees, shear limit 40 degrees). The
// message file is read back, since information never reaches the host.
class PlySimulateTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    // One file per test process: CTest runs the cases side by side.
    std::string msgPath =
        ::testing::TempDir() + "plysimulate_test_" + std::to_string(::getpid()) + ".msg";

    void TearDown() override {
        model->pMsg()->FileClose();
        std::remove(msgPath.c_str());
    }

    void Load(const surfmesh::Mesh& m) {
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        IVekMaterial* mat = model->GetMaterialStore()->New(1);
        ASSERT_EQ(mat->SetName("CF"), 0);
        mat->SetThickness(0.25);
        mat->SetWarpWeftAngle(kPi / 2.0);
        mat->SetMaximumStrain(40.0 * kDeg);
        ASSERT_EQ(model->pMsg()->FileOpen(msgPath.c_str()), 0);
    }

    // A ply over `ids` (none: the pattern lists no element) seen from
    // (x, y, z) looking down, fibres along x, step one reference step.
    IVekPly* NewPly(const char* name, EVekMaterialType type, const std::vector<int>& ids, double x,
                    double y, double z = 10.0) {
        IVekPly* ply = model->GetPlyStore()->New();
        EXPECT_EQ(ply->SetName(name), 0);
        EXPECT_EQ(ply->SetType(type), 0);
        EXPECT_EQ(ply->SetMaterialName("CF"), 0);
        if (!ids.empty())
            ply->SetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), nullptr);
        const double eye[3] = {x, y, z}, down[3] = {0.0, 0.0, -1.0}, ref[3] = {1.0, 0.0, 0.0};
        ply->SetSeedPoint(eye);
        ply->SetApplicationDirection(down);
        ply->SetReferenceDirection(ref);
        ply->SetProjectionMethod(type == EVekMaterialProjected ? 7 : 0);
        ply->SetStepLength(-1.0);
        ply->SetExtensionType(1);
        return ply;
    }

    CKpPat* pat(IVekPly* ply) { return static_cast<CKpPly*>(ply)->pPat(); }

    bool logged(const std::string& text) const {
        std::ostringstream out;
        out << std::ifstream(msgPath).rdbuf();
        return out.str().find(text) != std::string::npos;
    }
    bool reported(int severity, const std::string& text) const {
        for (const std::string& t : gui.texts(severity))
            if (t == text) return true;
        return false;
    }
    // The unit warp directions of the ply's elements, x y z each.
    std::vector<double> Warps(IVekPly* ply) {
        VekTList<int> ids;
        VekTList<double> mids, warps, wefts, sizes;
        EXPECT_EQ(ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
        return std::vector<double>(warps.GetData(), warps.GetData() + warps.GetSize());
    }
};

// Area enclosed by a flat pattern's ring (model units).
double FlatArea(const CKpFlatPat& flat, double step) {
    double twice = 0.0;
    for (const CKpFlatPatPt* p = flat.GetPoints().First(); p && p->getNext(); p = p->getNext())
        twice += p->getU() * p->getNext()->getV() - p->getNext()->getU() * p->getV();
    return 0.5 * twice * step * step;
}

TEST_F(PlySimulateTest, ProjectionWritesBackOnlyWithUpdateAndRecordsFailures) {
    Load(surfmesh::PlateWithHole(surfmesh::Kind::Quad4, 4, 4.0, 2));
    IVekPly* ply = NewPly("P", EVekMaterialProjected, {}, 0.5, 0.5);
    ply->SetMaximumStrain(0.5);
    ASSERT_EQ(ply->Simulate(), 0);
    EXPECT_TRUE(logged("Simulating ply 'P'"));
    EXPECT_TRUE(logged("No explicit element selection, assume all are selected."));
    EXPECT_TRUE(reported(2, "The selected area contains interior holes."));
    EXPECT_EQ(ply->GetMaximumStrain(), 0.0);  // a projection knows no shear
    ASSERT_EQ(ply->GetNumElements(), 12);
    const std::vector<double> warps = Warps(ply);
    for (size_t i = 0; i < warps.size(); i += 3)
        EXPECT_TRUE(Near(warps[i], 1.0, tol::loose)) << i / 3;
    EXPECT_EQ(pat(ply)->stdn(), 1);

    // Update 0 leaves the pattern elements alone.
    pat(ply)->PatElems()->First()->setWarpAngle(1.0);
    ASSERT_EQ(static_cast<CKpPly*>(ply)->Simulate(0), 0);
    EXPECT_EQ(pat(ply)->PatElems()->First()->warpAngle(), 1.0);

    // Over the hole there is no start: the failure is recorded.
    const double overHole[3] = {2.0, 2.0, 10.0};
    ply->SetSeedPoint(overHole);
    EXPECT_EQ(ply->Simulate(), -1);
    EXPECT_TRUE(reported(4, "Start facet not found."));
    EXPECT_EQ(ply->GetSimulationResult(), kSimFailed);
}

TEST_F(PlySimulateTest, PaintedPliesAreProjectedAndUnknownTypesRefused) {
    Load(surfmesh::Plate(surfmesh::Kind::Quad4, 2, 2, 2.0, 2.0));
    IVekPly* painted = NewPly("Paint", EVekMaterialPainted, {1, 2, 3, 4}, 0.5, 0.5);
    ASSERT_EQ(painted->Simulate(), 0);
    EXPECT_EQ(painted->GetType(), EVekMaterialProjected);
    IVekPly* odd = NewPly("Odd", static_cast<EVekMaterialType>(7), {1}, 0.5, 0.5);
    EXPECT_EQ(odd->Simulate(), -1);
    EXPECT_TRUE(reported(4, "Ply 'Odd' has unknown ply simulation type 7"));
    EXPECT_EQ(odd->GetSimulationResult(), kSimFailed);
}

// Passing the checks reaches the drape, which succeeds on a flat plate.
TEST_F(PlySimulateTest, FabricSettingsAreCheckedAtTheirBounds) {
    Load(surfmesh::Plate(surfmesh::Kind::Quad4, 2, 2, 2.0, 2.0));
    IVekPly* ply = NewPly("D", EVekMaterialScissor, {1, 2, 3, 4}, 0.7, 0.6);
    ply->SetStepLength(1.0);  // coarse: extreme fabrics make many points
    for (double deg : {5.0, 175.0, 4.99}) {
        ply->SetWarpWeftAngle(deg * kDeg);
        EXPECT_EQ(ply->Simulate(), deg < 5.0 ? -1 : 0) << deg;
    }
    EXPECT_EQ(gui.texts(4).back(),
              "The warp/weft angle of 4.99 degrees is outside the allowable range of 5-175 "
              "degrees. Please define an acceptable warp/weft angle.");
    ply->SetWarpWeftAngle(0.0);  // the material's 90 degrees
    for (double ratio : {0.1, 10.0, 0.0999, std::nan("")}) {
        ply->SetWarpWeftRatio(ratio);
        EXPECT_EQ(ply->Simulate(), ratio >= 0.1 ? 0 : -1) << ratio;
    }
    EXPECT_EQ(ply->GetWarpWeftAngle(), kPi / 2.0);
    EXPECT_TRUE(reported(4,
                         "The warp/weft ratio of 0.0999 is outside the allowable range of "
                         "0.1-10. Please define an acceptable warp/weft ratio."));
    ply->SetWarpWeftRatio(1.0);
    // Without a shear limit of its own the ply takes the material's.
    ply->SetMaximumStrain(0.0);
    model->pMats()->find(1)->setMaxstrn(0.4 * kDeg);
    EXPECT_EQ(ply->Simulate(), -1);
    EXPECT_EQ(gui.texts(4).back(),
              "The maximum strain angle of 0.4 degrees is less than the minimum allowable value "
              "of 0.5 degrees. Please define an acceptable maximum strain angle.");
    EXPECT_EQ(ply->GetMaximumStrain(), 0.4 * kDeg);
    ply->SetMaximumStrain(kPi / 36.0 / 10.0);
    EXPECT_EQ(ply->Simulate(), 0);
}

TEST_F(PlySimulateTest, DrapedRectangleFlattensToItselfAndWritesTheStart) {
    const double w = 4.0, h = 3.0;
    Load(surfmesh::Plate(surfmesh::Kind::Quad4, 8, 6, w, h));
    IVekPly* ply = NewPly("D", EVekMaterialScissor, {}, 1.7, 1.3);
    // Update 0: start and results written, the pattern elements not.
    ASSERT_EQ(static_cast<CKpPly*>(ply)->Simulate(0), 0);
    EXPECT_EQ(ply->GetNumElements(), 0);
    CKpPat* p = pat(ply);
    EXPECT_EQ(p->SimResult(), 0);
    EXPECT_GE(p->stft(), 0);
    EXPECT_EQ(p->stdn(), 1);  // looking down onto +z normals
    EXPECT_TRUE(Near(p->stx(), 1.7, Tol{1e-2, 0.0}) && Near(p->sty(), 1.3, Tol{1e-2, 0.0}));
    EXPECT_TRUE(p->stwpdx() > 0.0 && p->stwtdy() > 0.0);
    EXPECT_TRUE(Near(p->stwpdy(), 0.0, tol::loose) && Near(p->stwtdx(), 0.0, tol::loose));
    EXPECT_TRUE(Near(p->refStep(), model->pFacs()->DefaultStep(), tol::loose));
    EXPECT_TRUE(p->minu() < 0 && p->maxu() > 0);
    EXPECT_TRUE(Near(p->maxstrnc(), 0.0, tol::loose) && Near(p->minthck(), 0.25, tol::loose));
    EXPECT_FALSE(logged("Extending ply for order"));

    ASSERT_EQ(ply->Simulate(), 0);
    ASSERT_EQ(ply->GetNumElements(), 48);
    // The flat pattern of a flat rectangle is the rectangle.
    CKpFlatPatStore* flats = model->pDrapeSim()->pFlatPats();
    ASSERT_GE(flats->entries(), 1);
    double umin, umax, vmin, vmax;
    ASSERT_EQ(flats->First()->GetPoints().GetBounds(umin, umax, vmin, vmax), 0);
    const double step = p->stepUsed();
    EXPECT_TRUE(Near((umax - umin) * step, w, tol::loose));
    EXPECT_TRUE(Near((vmax - vmin) * step, h, tol::loose));
    EXPECT_TRUE(Near(FlatArea(*flats->First(), step), w * h, tol::loose));
    // The ply's boundary: the rectangle's free edges in segment 6, colour 4.
    gui.clear();
    EXPECT_EQ(ply->PlotBoundary(), 0);
    double perimeter = 0.0;
    for (const RecordingGUI::DrawCall& d : gui.drawsOf("line")) {
        EXPECT_EQ(d.segment, 6);
        EXPECT_EQ(d.colour, 4);
        perimeter += std::hypot(d.points[3] - d.points[0], d.points[4] - d.points[1]);
    }
    EXPECT_TRUE(Near(perimeter, 2.0 * (w + h), tol::loose));

    // A flat sheet drapes without shear: the grid in colour 1, warp and weft.
    gui.clear();
    EXPECT_EQ(ply->PlotDrapedPattern(0), 0);
    int warpLines = 0, weftLines = 0;
    for (const RecordingGUI::DrawCall& d : gui.drawsOf("line")) {
        EXPECT_TRUE(d.segment == 1 && d.colour == 1);
        warpLines += std::fabs(d.points[4] - d.points[1]) < 1e-6 && d.points[3] != d.points[0];
        weftLines += std::fabs(d.points[3] - d.points[0]) < 1e-6 && d.points[4] != d.points[1];
    }
    EXPECT_GT(warpLines, 0);
    EXPECT_GT(weftLines, 0);

    // Fibre marks: warp and weft line per element, material 1's colour.
    gui.clear();
    EXPECT_EQ(ply->PlotAngles(), 0);
    ASSERT_EQ(gui.drawsOf("line").size(), 2u * 48u);
    for (const RecordingGUI::DrawCall& d : gui.drawsOf("line"))
        EXPECT_TRUE(d.segment == 3 && d.colour == 1);

    // Outline (segment 5, colour 2, closed) and flat pattern (segment 2).
    gui.clear();
    EXPECT_EQ(ply->PlotOutline(), 0);
    const std::vector<RecordingGUI::DrawCall> ring = gui.drawsOf("line");
    ASSERT_GE(ring.size(), 4u);
    for (const RecordingGUI::DrawCall& d : ring) EXPECT_TRUE(d.segment == 5 && d.colour == 2);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(ring.back().points[3 + k], ring.front().points[k]);
    gui.clear();
    EXPECT_EQ(ply->PlotFlatPattern(), 0);
    const std::vector<RecordingGUI::DrawCall> flat = gui.drawsOf("line");
    ASSERT_GE(flat.size(), 3u);
    EXPECT_EQ(flat[0].colour, 7);  // warp axis
    EXPECT_EQ(flat[1].colour, 7);  // weft axis
    double flatLength = 0.0;
    for (size_t i = 2; i < flat.size(); ++i) {
        EXPECT_TRUE(flat[i].segment == 2 && flat[i].colour == 6);
        flatLength += std::hypot(flat[i].points[3] - flat[i].points[0],
                                 flat[i].points[4] - flat[i].points[1]);
    }
    EXPECT_TRUE(Near(flatLength, 2.0 * (w + h), tol::loose));

    // A ply that cannot be simulated has nothing to draw.
    IVekPly* bare = model->GetPlyStore()->New();
    ASSERT_EQ(bare->SetName("Bare"), 0);
    gui.clear();
    EXPECT_EQ(bare->PlotOutline(), 2);
    EXPECT_EQ(gui.texts(4).back(), "No drape simulation exists for ply 'Bare'.");
    EXPECT_TRUE(gui.drawsOf("line").empty());
}

TEST_F(PlySimulateTest, SlideDrapesAtNinetyDegreesOrderByOrder) {
    Load(surfmesh::Plate(surfmesh::Kind::Quad4, 4, 2, 4.0, 2.0));
    IVekPly* ply = NewPly("S", EVekMaterialSlide, {}, 0.5, 0.5);
    const int ids[] = {1, 2, 3, 4, 5, 6, 7, 8}, orders[] = {0, 0, 1, 2, 1, 1, 1, 1};
    ply->SetElementIdsOrders(8, ids, orders);  // row 1..4 in orders 0 0 1 2, row 5..8 in 1
    ply->SetWarpWeftAngle(30.0 * kDeg);
    ASSERT_EQ(ply->Simulate(), 0);
    EXPECT_EQ(ply->GetWarpWeftAngle(), kPi / 2.0);
    EXPECT_TRUE(logged("Extending ply for order 1 of 2."));
    EXPECT_TRUE(logged("Extending ply for order 2 of 2."));
    EXPECT_EQ(ply->GetNumElements(), 8);  // every order reached
    EXPECT_EQ(ply->GetNumOrders(), 3);

    // A slide ply's drawn grid has warp lines only (along x here).
    gui.clear();
    EXPECT_EQ(ply->PlotDrapedPattern(0), 0);
    const std::vector<RecordingGUI::DrawCall> lines = gui.drawsOf("line");
    ASSERT_FALSE(lines.empty());
    for (const RecordingGUI::DrawCall& d : lines) {
        EXPECT_EQ(d.segment, 1);
        EXPECT_NEAR(d.points[4], d.points[1], 1e-6);
    }
}

// Seed curve 0 along y = 1 (top sides of elements 1..4 of a 4 x 2 plate).
TEST_F(PlySimulateTest, SeedCurvesGiveTheStartAndTheWarp) {
    Load(surfmesh::Plate(surfmesh::Kind::Quad4, 4, 2, 4.0, 2.0));
    const int warpIds[] = {1, 2, 3, 4}, warpSides[] = {3, 3, 3, 3};
    // "Warp" lays the warp along the curve whatever the reference direction
    // said; the reference angle takes the correction.
    IVekPly* one = NewPly("One", EVekMaterialScissor, {}, 1.5, 1.0, 0.0);
    const double diagonal[3] = {1.0, 1.0, 0.0};
    one->SetReferenceDirection(diagonal);
    one->SetSeedCurveType(4);
    one->SetSeedCurveDirection(EVekPlySeedCurveWarp);
    ASSERT_EQ(one->SetSeedCurveEdges(0, 4, warpIds, warpSides), 0);
    ASSERT_EQ(one->Simulate(), 0);
    for (const std::string& t : gui.texts(2))  // the word is the ply's, not its name
        EXPECT_EQ(t.find("orientation option"), std::string::npos) << t;
    EXPECT_TRUE(Near(pat(one)->stwpdy(), 0.0, tol::loose));
    EXPECT_TRUE(Near(std::fabs(one->GetReferenceAngle()), 45.0 * kDeg, tol::loose));
    EXPECT_EQ(one->GetNumElements(), 8);
}

TEST_F(PlySimulateTest, SlowHemisphereFlattensToNoLessThanItsDrapedArea) {
    Load(surfmesh::Hemisphere(surfmesh::Kind::Quad4, 32, 12, 1.0));
    IVekPly* ply = NewPly("H", EVekMaterialScissor, {}, 0.0, 0.0, 5.0);
    ply->SetMaximumStrain(80.0 * kDeg);
    ASSERT_EQ(ply->Simulate(), 0);
    VekTList<int> ids;
    VekTList<double> mids, warps, wefts, sizes;
    ASSERT_EQ(ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
    double drapedArea = 0.0;  // sizes are half the root of each element's area
    for (int i = 0; i < sizes.GetSize(); ++i) drapedArea += 4.0 * sizes[i] * sizes[i];
    EXPECT_GT(drapedArea, kPi);  // more than half the cap
    const CKpFlatPatStore* flats = model->pDrapeSim()->pFlatPats();
    ASSERT_GE(flats->entries(), 1);
    EXPECT_GE(FlatArea(*flats->First(), pat(ply)->stepUsed()), drapedArea * (1.0 - 1e-3));
}

}  // namespace

namespace {

// A quarter cylinder (radius 1, 16 facets around, length 2 along z) seen
// from outside, warp along the axis: the flat pattern is the development
// of the faceted surface, and a flat point mapped onto the drape maps back.
TEST_F(PlySimulateTest, CylinderFlattensToItsDevelopmentAndMapsBothWays) {
    const int around = 16;
    const double sweep = kPi / 2.0, length = 2.0;
    Load(meshgen::Cylinder(meshgen::Kind::Quad4, around, 8, 1.0, sweep, length));
    IVekPly* ply = NewPly("C", EVekMaterialScissor, {}, 0.0, 0.0);
    const double c = std::cos(kPi / 4.0), eye[3] = {5.0 * c, 5.0 * c, 1.0};
    const double in[3] = {-c, -c, 0.0}, axis[3] = {0.0, 0.0, 1.0};
    ply->SetSeedPoint(eye);
    ply->SetApplicationDirection(in);
    ply->SetReferenceDirection(axis);
    ASSERT_EQ(ply->Simulate(), 0);
    EXPECT_TRUE(Near(pat(ply)->maxstrnc(), 0.0, tol::loose));

    int rings = 0, points = 0;
    ASSERT_EQ(ply->GetFlatPatternSizes(&rings, &points), 0);
    ASSERT_EQ(rings, 1);
    std::vector<int> counts(1);
    std::vector<double> flat(3 * static_cast<size_t>(points));
    double origin[3], axes[9];
    ASSERT_EQ(ply->GetFlatPattern(1, points, counts.data(), flat.data(), origin, axes), 0);
    double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
    for (int k = 0; k < counts[0]; ++k)
        for (int d = 0; d < 2; ++d) {
            lo[d] = std::min(lo[d], flat[3 * k + d]);
            hi[d] = std::max(hi[d], flat[3 * k + d]);
        }
    const double developed = around * 2.0 * std::sin(sweep / (2.0 * around));  // polygon arc
    EXPECT_TRUE(Near(hi[0] - lo[0], length, Tol{0.0, 1e-3})) << hi[0] - lo[0];
    EXPECT_TRUE(Near(hi[1] - lo[1], developed, Tol{0.0, 1e-3})) << hi[1] - lo[1];

    // Flat -> draped -> flat, at points inside the pattern. The way back
    // places the point by its straight distance from nearby drape points,
    // so a cell folded over a facet edge costs a little (chord for arc).
    for (const double f : {0.3, 0.5, 0.8}) {
        const double uv[2] = {lo[0] + f * (hi[0] - lo[0]), lo[1] + (1.0 - f) * (hi[1] - lo[1])};
        double xyz[3], back[2];
        int elem = 0;
        ASSERT_EQ(ply->Get3DFrom2D(uv, xyz, &elem), 0) << f;
        EXPECT_GT(elem, 0);
        EXPECT_TRUE(Near(std::hypot(xyz[0], xyz[1]), 1.0, Tol{2e-3, 0.0}));  // on the facets
        ASSERT_EQ(ply->Get2DFrom3D(xyz, 1e-3, back), 0) << f;
        EXPECT_TRUE(Near(back[0], uv[0], Tol{1e-4, 0.0}) && Near(back[1], uv[1], Tol{1e-4, 0.0}))
            << back[0] << " " << back[1] << " vs " << uv[0] << " " << uv[1];
    }
}

}  // namespace
