#include "host/PlotRoutines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPoint.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

CKpPoint pt(double x, double y, double z) {
    CKpPoint p;
    p.Set(x, y, z);
    return p;
}

class PlotRoutinesTest : public ::testing::Test {
  protected:
    void SetUp() override { gra.SetGUI(&gui); }
    RecordingGUI gui;
    CKpGra gra;
    std::vector<RecordingGUI::DrawCall> lines() const { return gui.drawsOf("line"); }
};

}  // namespace

TEST_F(PlotRoutinesTest, SegmentIsCutAtTheShearLimits) {
    const double limits[3] = {0.2, 0.4, 1.5};
    const CKpPoint a = pt(0, 0, 0), b = pt(10, 0, 0);
    // Shears 0.1 .. 2.1 over 10 units: cuts where 0.2, 0.4, 1.5 are reached.
    gra.select_segment(0);
    ASSERT_EQ(PlotDrapedPatternSeg(&gra, &a, 0.1, &b, -2.1, limits), 0);
    const std::vector<RecordingGUI::DrawCall> pieces = lines();
    ASSERT_EQ(pieces.size(), 4u);
    const int colours[4] = {1, 6, 4, 7};
    const double cuts[5] = {0.0, 0.5, 1.5, 7.0, 10.0};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(pieces[i].colour, colours[i]) << i;
        EXPECT_FLOAT_EQ(pieces[i].points[0], static_cast<float>(cuts[i])) << i;
        EXPECT_FLOAT_EQ(pieces[i].points[3], static_cast<float>(cuts[i + 1])) << i;
    }
    // The end with the smaller |shear| is where drawing starts.
    gui.clear();
    PlotDrapedPatternSeg(&gra, &b, 0.3, &a, 0.1, limits);
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_FLOAT_EQ(lines()[0].points[0], 0.0f);
    EXPECT_FLOAT_EQ(lines()[0].points[3], 5.0f);
    EXPECT_EQ(lines()[1].colour, 6);
    // Equal shears: one piece in their band.
    gui.clear();
    PlotDrapedPatternSeg(&gra, &a, 0.3, &b, -0.3, limits);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0].colour, 6);
    // An unknown shear places no cut: one piece in colour 7.
    gui.clear();
    PlotDrapedPatternSeg(&gra, &a, std::numeric_limits<double>::quiet_NaN(), &b, 0.1, limits);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0].colour, 7);
    EXPECT_FLOAT_EQ(lines()[0].points[3], 10.0f);
    EXPECT_EQ(PlotDrapedPatternSeg(&gra, nullptr, 0.0, &b, 0.0, limits), -1);
}

TEST_F(PlotRoutinesTest, PensAndMaterialColours) {
    const CKpPoint a = pt(0, 0, 0), b = pt(1, 0, 0);
    struct Case {
        int mode, colour;
        double value;
        int wantColour;
        float wantWidth;
    } cases[] = {{0, 9, -0.7, 6, 0.0f},
                 {0, 9, 0.49, 1, 0.0f},
                 {0, 9, 1.0, 4, 0.0f},
                 {3, 9, 2.5, 9, 2.5f},
                 {5, 9, 2.5, 9, 0.0f}};
    for (const Case& c : cases) {
        gui.clear();
        EXPECT_EQ(PlotDrapedPatternPen(&gra, c.mode, c.colour, c.value), 0);
        gra.MoveTo3d(&a);
        gra.LineTo3d(&b);
        EXPECT_EQ(lines()[0].colour, c.wantColour) << c.mode << " " << c.value;
        EXPECT_EQ(lines()[0].width, c.wantWidth) << c.mode << " " << c.value;
    }
    EXPECT_EQ(MaterialColour(1), 1);
    EXPECT_EQ(MaterialColour(15), 15);
    EXPECT_EQ(MaterialColour(16), 1);
    EXPECT_EQ(MaterialColour(0), 15);
    EXPECT_EQ(MaterialColour(-1), 14);
    EXPECT_EQ(MaterialColour(std::numeric_limits<int>::min()), 7);
}

TEST_F(PlotRoutinesTest, ElementsAsOutlinesOrFacesAndFreeEdges) {
    CKpLayup model(nullptr, &gui);
    ASSERT_EQ(meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0)), 0);
    model.pElems()->find(2)->setSltd(1);
    const double shift[3] = {0.0, 0.0, 1.0};

    // Mode 7, selected only: element 2's closed outline, shifted.
    EXPECT_EQ(PlotElems(model.pMsg(), &gra, model.pElems(), model.pFacs(), 0, shift, 7, 3, 44), 0);
    ASSERT_EQ(lines().size(), 4u);
    for (const RecordingGUI::DrawCall& d : lines()) {
        EXPECT_TRUE(d.segment == 44 && d.colour == 3);
        EXPECT_GE(d.points[0], 1.0f);
        EXPECT_EQ(d.points[2], 1.0f);
    }
    EXPECT_EQ(lines()[3].points[3], lines()[0].points[0]);
    EXPECT_EQ(lines()[3].points[4], lines()[0].points[1]);

    // Mode 11, all: one polygon per element with the element id.
    gui.clear();
    EXPECT_EQ(PlotElems(model.pMsg(), &gra, model.pElems(), model.pFacs(), 1, nullptr, 11, 5, 9),
              0);
    const std::vector<RecordingGUI::DrawCall> faces = gui.drawsOf("polygon");
    ASSERT_EQ(faces.size(), 2u);
    EXPECT_EQ(faces[0].id, 1);
    EXPECT_EQ(faces[1].id, 2);
    EXPECT_EQ(faces[1].points.size(), 12u);
    EXPECT_TRUE(faces[0].segment == 9 && faces[0].colour == 5);

    gui.clear();
    EXPECT_EQ(PlotElems(model.pMsg(), &gra, model.pElems(), model.pFacs(), 1, nullptr, 8, 5, 9),
              -1);
    EXPECT_TRUE(gui.draws.empty());
    EXPECT_EQ(gui.texts(4).back(), "Unsupported mode.");

    // The free edges: the plate's six outer edges, colour 4 in segment 6.
    gui.clear();
    EXPECT_EQ(PlotFacets(&gra, model.pFacs()), 0);
    double length = 0.0;
    for (const RecordingGUI::DrawCall& d : lines()) {
        EXPECT_TRUE(d.segment == 6 && d.colour == 4);
        length += std::hypot(d.points[3] - d.points[0], d.points[4] - d.points[1]);
    }
    EXPECT_NEAR(length, 6.0, 1e-6);
}

TEST_F(PlotRoutinesTest, FlatPatternFrameAxesAndRefusals) {
    double m[3][3];
    CKpDirn down, x;
    down.Set(0, 0, -2);
    x.Set(3, 0, 0);
    PlotFlatPatternMat(down, x, std::acos(-1.0) / 2.0, m);
    const double want[3][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_NEAR(m[i][j], want[i][j], 1e-12) << i << j;
    CKpPoint origin = pt(1, 1, 1), p = pt(2, 3, 4);
    PlotFlatPatternTrans(m, &origin, &p);
    EXPECT_NEAR(p.getx(), -2.0, 1e-12);
    EXPECT_NEAR(p.gety(), 3.0, 1e-12);
    EXPECT_NEAR(p.getz(), 5.0, 1e-12);
    CKpPoint out = pt(9, 9, 9);
    const double shift[3] = {1, 2, 3};
    EXPECT_EQ(PointTrans(&origin, nullptr, &out).getx(), 1.0);
    EXPECT_EQ(out.getx(), 9.0);
    EXPECT_EQ(PointTrans(&origin, shift, &out).getz(), 4.0);

    // A square pattern with step 0.5, looking down, warp along x.
    CKpMsg msg;
    msg.SetGUI(&gui);
    CKpPat pat(1);
    pat.setLyrtp(3);
    pat.setEye(0, 0, 0);
    pat.setEyed(0, 0, -1);
    pat.setRefd(1, 0, 0);
    pat.setStep(0.5);
    pat.setStwpwtang(std::acos(-1.0) / 2.0);
    CKpFlatPatStore flats;
    EXPECT_EQ(PlotFlatPatternL(&msg, &gra, &pat, &flats), -1);
    EXPECT_EQ(gui.texts(4).back(), "No flat pattern defined.");
    CKpFlatPat* flat = new CKpFlatPat;
    const double uv[5][2] = {{0, 0}, {4, 0}, {2, 1}, {4, 2}, {0, 2}};
    CKpFlatPatPt* last = nullptr;
    for (int k = 0; k < 5; ++k) {
        CKpFlatPatPt* q = new CKpFlatPatPt;
        q->SetUV(uv[k][0], uv[k][1]);
        q->setPlot(k == 2 ? 0 : 1);  // a thinned point is left out
        flat->pPoints()->InsertAfter(last, q);
        last = q;
    }
    flats.InsertLast(flat);
    EXPECT_EQ(PlotFlatPatternL(&msg, &gra, &pat, &flats), 0);
    std::vector<RecordingGUI::DrawCall> l = lines();
    ASSERT_EQ(l.size(), 5u);  // two axes, three pattern lines
    EXPECT_TRUE(l[0].segment == 2 && l[0].colour == 7);
    EXPECT_FLOAT_EQ(l[0].points[3], 2.0f);  // u 4 x step 0.5
    EXPECT_FLOAT_EQ(l[1].points[4], 1.0f);  // v 2 x step 0.5
    EXPECT_NEAR(l[1].points[3], 0.0f, 1e-6);
    EXPECT_EQ(l[3].colour, 6);
    EXPECT_FLOAT_EQ(l[3].points[0], 2.0f);  // (4, 0) straight on to (4, 2)
    EXPECT_FLOAT_EQ(l[3].points[4], 1.0f);

    // A warp-weft angle of 0 has no weft axis: skipped with a warning.
    gui.clear();
    pat.setStwpwtang(0.0);
    EXPECT_EQ(PlotFlatPatternL(&msg, &gra, &pat, &flats), 0);
    EXPECT_EQ(lines().size(), 4u);
    EXPECT_EQ(gui.texts(2).size(), 1u);
    pat.setLyrtp(2);
    EXPECT_EQ(PlotFlatPatternL(&msg, &gra, &pat, &flats), -1);
    EXPECT_EQ(gui.texts(4).back(), "No flat pattern for ply type 2.");
    EXPECT_EQ(PlotFlatPatternL(&msg, &gra, nullptr, &flats), -1);
    EXPECT_EQ(gui.texts(4).back(), "No pattern data defined.");
    EXPECT_EQ(PlotDrapedPatternOld(&msg, &gra, nullptr, &pat), -1);
    EXPECT_EQ(gui.texts(4).back(), "No draped pattern defined.");
}

TEST_F(PlotRoutinesTest, PlyStacksAreDrawnInTheirMaterialColours) {
    CKpLayup model(nullptr, &gui);
    lyptest::Build(model, "Ply one");
    // Material ids 0 and 18 draw in colours 15 and 3.
    model.pMats()->find(1)->setId(0);
    model.pMats()->find(2)->setId(18);
    gui.clear();
    // Lines a ply's orientation takes by its type; its expected colour.
    auto linesOf = [](const CKpElemLypPly* p) {
        const int t = p->lyrtp();
        return t == 3 || t == 5 ? 2 : (t == 2 || t == 4 ? 1 : 0);
    };
    auto colourOf = [](const CKpElemLypPly* p) { return p->mtrl() == 0 ? 15 : 3; };

    // Bottom and top ply of every element, in segment 4.
    EXPECT_EQ(PlotSurfaceAngles(model.pMsg(), &gra, model.pElems()), 0);
    std::vector<int> want;
    for (int id = 1; id <= 8; ++id) {
        const CKpElemLypPlyStore* stack = model.pElems()->find(id)->getElemLypPlies();
        for (const CKpElemLypPly* p : {stack->First(), stack->Last()})
            want.insert(want.end(), static_cast<size_t>(linesOf(p)), colourOf(p));
    }
    std::vector<int> got;
    for (const RecordingGUI::DrawCall& d : lines()) {
        EXPECT_EQ(d.segment, 4);
        got.push_back(d.colour);
    }
    EXPECT_EQ(got, want);

    // Element 1's stack: orientations at each ply's mid-height x scale, and
    // four side walls per ply of thickness t x scale x (1 - gap).
    gui.clear();
    CKpElem* elem = model.pElems()->find(1);
    ASSERT_EQ(PlotLayupElement(model.pMsg(), &gra, elem, 1, 1, 2.0, 0.5), 0);
    std::vector<int> wantLines, wantWalls;
    std::vector<double> mids, thicks;
    double z = elem->off();
    for (const CKpElemLypPly* p = elem->getElemLypPlies()->First(); p;
         p = elem->getElemLypPlies()->Next(p)) {
        wantLines.insert(wantLines.end(), static_cast<size_t>(linesOf(p)), colourOf(p));
        wantWalls.insert(wantWalls.end(), 4, colourOf(p));
        mids.push_back(z + p->thck() / 2);
        thicks.push_back(p->thck());
        z += p->thck();
    }
    ASSERT_EQ(mids.size(), 3u);
    EXPECT_NE(std::count(wantLines.begin(), wantLines.end(), 3), 0);
    got.clear();
    for (const RecordingGUI::DrawCall& d : lines()) {
        EXPECT_EQ(d.segment, 8);
        got.push_back(d.colour);
    }
    EXPECT_EQ(got, wantLines);
    const std::vector<RecordingGUI::DrawCall> walls = gui.drawsOf("polygon");
    got.clear();
    for (size_t i = 0; i < walls.size(); ++i) {
        const size_t ply = i / 4;
        EXPECT_EQ(walls[i].segment, 8);
        got.push_back(walls[i].colour);
        float lo = 1e9f, hi = -1e9f;
        for (size_t k = 2; k < walls[i].points.size(); k += 3) {
            lo = std::min(lo, walls[i].points[k]);
            hi = std::max(hi, walls[i].points[k]);
        }
        if (ply >= mids.size()) continue;
        EXPECT_NEAR(hi - lo, thicks[ply] * 2.0 * 0.5, 1e-5) << i;
        EXPECT_NEAR((hi + lo) / 2, 2.0 * mids[ply], 1e-5) << i;
    }
    EXPECT_EQ(got, wantWalls);
    EXPECT_EQ(PlotLayupElement(model.pMsg(), &gra, nullptr, 1, 1, 1.0, 0.0), -1);
}
