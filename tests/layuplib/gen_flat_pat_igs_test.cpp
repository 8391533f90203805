#include "layuplib/gen_flat_pat_igs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/angle_util.h"
#include "tests/support/ExportRead.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// Appends an outline of (u, v, plot flag) points to `flats`.
CKpFlatPat* AddOutline(CKpFlatPatStore& flats, const std::vector<std::vector<double>>& pts) {
    CKpFlatPat* flat = new CKpFlatPat;
    CKpFlatPatPt* last = nullptr;
    for (const std::vector<double>& p : pts) {
        CKpFlatPatPt* q = new CKpFlatPatPt;
        q->SetUV(p[0], p[1]);
        q->setPlot(static_cast<int>(p[2]));
        flat->pPoints()->InsertAfter(last, q);
        last = q;
    }
    flats.InsertLast(flat);
    return flat;
}

// A drape point at (i, j) of `grid` at position (i, j, 0.1 j), with
// boundary crossings in the directions listed.
CKpDrapePt* AddPoint(CKpDrape& grid, int i, int j, std::vector<int> crossings = {}) {
    CKpDrapePt* p = new CKpDrapePt;
    CKpPoint pos;
    pos.Set(i, j, 0.1 * j);
    p->SetPoint(pos);
    p->SetFacet(0);
    for (int d : crossings) {
        CKpPoint end;
        const double du = d == 0   ? 0.5
                          : d == 2 ? -0.5
                                   : 0.0,
                     dv = d == 1   ? 0.5
                          : d == 3 ? -0.5
                                   : 0.0;
        end.Set(i + du, j + dv, 0.1 * (j + dv));
        p->SetEndFrac(d, 0.5);
        p->SetEndPoint(d, end);
    }
    EXPECT_EQ(grid.pDrapePt(i, j, p), 0);
    return p;
}

class IgesFileTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpMsg log;
    CKpFile file;
    std::string path = exportread::TempPath("pattern.igs");
    CKpPat pat{1};
    CKpFlatPatStore flats;

    void SetUp() override {
        log.SetGUI(&gui);
        file.SetName(path.c_str());
        pat.setStep(0.5);
        pat.setStwpwtang(kPi / 2);
    }
    void TearDown() override { std::remove(path.c_str()); }

    // The curves of the file's entities, each as its members' end points.
    static std::vector<std::vector<double>> Members(const exportread::Iges& iges,
                                                    const exportread::IgesEntity& curve) {
        std::vector<std::vector<double>> lines;
        for (size_t k = 2; k < curve.params.size(); ++k) {
            const exportread::IgesEntity* l = iges.at(std::atoi(curve.params[k].c_str()));
            EXPECT_TRUE(l && l->type == 110);
            if (l) lines.push_back(l->reals());
        }
        return lines;
    }
};

}  // namespace

TEST_F(IgesFileTest, FrameAroundAnEmptyFile) {
    AddOutline(flats, {{0, 0, 2}, {1, 0, 2}, {0, 0, 2}});
    ASSERT_EQ(gen_flat_pat_igs(&log, &file, &pat, &flats, 0), 0);
    const std::vector<std::string> lines = exportread::Lines(path);
    ASSERT_EQ(lines.size(), 5u);
    const std::string start = "IGES file containing flat pattern data from a drape analysis.";
    EXPECT_EQ(lines[0], start + std::string(72 - start.size(), ' ') + "S0000001");
    EXPECT_EQ(lines[1],
              ",,10H          ,10H          ,10H          ,10H          ,32,38,6,99,   G0000001");
    EXPECT_EQ(lines[2],
              "15,10H          ,1.0,2,2HMM,32767,1.0D0,10H          ,1.0D-8,           G0000002");
    EXPECT_EQ(lines[3],
              "10000.0,10H          ,10H          ,6,0;                                G0000003");
    EXPECT_EQ(lines[4], "S0000001G0000003D0000000P0000000" + std::string(40, ' ') + "T0000001");
}

TEST_F(IgesFileTest, FlatPatternOutlinesAndAxes) {
    // A 2 x 1 rectangle (one dropped point on its lower side) and a hole
    // outline with a single plotted point.
    AddOutline(flats, {{0, 0, 2}, {1, 0, 0}, {2, 0, 2}, {2, 1, 2}, {0, 1, 2}, {0, 0, 2}});
    AddOutline(flats, {{0.5, 0.5, 2}, {1, 0.5, 0}});
    ASSERT_EQ(gen_flat_pat_igs(&log, &file, &pat, &flats, 1 | 32 | 2 | 4), 0);
    const exportread::Iges iges = exportread::ReadIges(path);
    EXPECT_TRUE(iges.wellFormed);
    EXPECT_EQ(exportread::Lines(path)[0].substr(0, 35), "IGES file containing flat pattern d");
    // Four lines, the outer curve, the two axes; the hole adds nothing.
    ASSERT_EQ(iges.entities.size(), 7u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(iges.entities[k].type, 110);
        EXPECT_EQ(iges.entities[k].level, "1");
        EXPECT_EQ(iges.entities[k].status, "00010000");
    }
    const exportread::IgesEntity& curve = iges.entities[4];
    EXPECT_EQ(curve.type, 102);
    EXPECT_EQ(curve.level, "1");
    EXPECT_EQ(curve.status, "00000001");
    EXPECT_EQ(curve.params[1], "4");
    const std::vector<std::vector<double>> sides = Members(iges, curve);
    ASSERT_EQ(sides.size(), 4u);
    // Model units: steps of 0.5, the dropped point skipped, closed.
    const double first[6] = {0, 0, 0, 1, 0, 0}, last[6] = {0, 0.5, 0, 0, 0, 0};
    EXPECT_TRUE(NearArray(sides[0], first, 6, tol::length));
    EXPECT_TRUE(NearArray(sides[3], last, 6, tol::length));

    const exportread::IgesEntity& warp = iges.entities[5];
    const exportread::IgesEntity& fill = iges.entities[6];
    EXPECT_EQ(warp.level, "2");
    EXPECT_EQ(warp.status, "00000000");
    EXPECT_EQ(fill.level, "3");
    const double warpLine[6] = {0, 0, 0, 1, 0, 0};
    EXPECT_TRUE(NearArray(warp.reals(), warpLine, 6, tol::length));
    // At 90 degrees the fill axis is the y axis (x zero up to rounding).
    const std::vector<double> f = fill.reals();
    EXPECT_LT(std::fabs(f[0]) + std::fabs(f[3]), 1e-15);
    EXPECT_DOUBLE_EQ(f[4], 0.5);
}

TEST_F(IgesFileTest, BadInputIsRefusedWithoutAFile) {
    EXPECT_EQ(gen_flat_pat_igs(&log, &file, nullptr, &flats, 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "No pattern data defined.");
    EXPECT_EQ(gen_flat_pat_igs(&log, &file, &pat, &flats, 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "No flat pattern defined.");
    EXPECT_FALSE(std::ifstream(path).good());

    // A fill axis without sine is left out, never written as inf or nan.
    AddOutline(flats, {{0, 0, 2}, {1, 1, 2}});
    pat.setStwpwtang(0.0);
    ASSERT_EQ(gen_flat_pat_igs(&log, &file, &pat, &flats, 4), 0);
    EXPECT_EQ(gui.texts(2).back(), "Fill axis skipped: warp/weft angle 0 degrees.");
    EXPECT_TRUE(exportread::ReadIges(path).entities.empty());

    CKpFile nowhere;
    nowhere.SetName("/nonexistent-dir/p.igs");
    EXPECT_EQ(gen_flat_pat_igs(&log, &nowhere, &pat, &flats, 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not open file '/nonexistent-dir/p.igs' for writing.");
    // A full disk shows only at the close.
    CKpFile full;
    full.SetName("/dev/full");
    EXPECT_EQ(gen_flat_pat_igs(&log, &full, &pat, &flats, 1), -1);
    EXPECT_EQ(gui.texts(4).back(), "Could not close file.");
}

// The drape grid, by hand (positions (i, j, 0.1 j); "x" a boundary
// crossing, "-" no point):
//   j = 1:        (0,1) (1,1) (2,1)             no crossing at either end
//   j = 0:  x (-2,0) (-1,0) (0,0)  -  (2,0) (3,0) x
TEST_F(IgesFileTest, DrapedFibresSplitAtMissingPoints) {
    CKpDrape grid;
    AddPoint(grid, -2, 0, {2});
    AddPoint(grid, -1, 0);
    AddPoint(grid, 0, 0);
    AddPoint(grid, 2, 0);
    AddPoint(grid, 3, 0, {0});
    AddPoint(grid, 0, 1);
    AddPoint(grid, 1, 1);
    AddPoint(grid, 2, 1);

    ASSERT_EQ(gen_draped_pat_igs(&log, &file, nullptr, nullptr, &grid, 2), 0);
    exportread::Iges iges = exportread::ReadIges(path);
    EXPECT_TRUE(iges.wellFormed);
    std::vector<const exportread::IgesEntity*> curves;
    for (const exportread::IgesEntity& e : iges.entities) {
        if (e.type == 102) curves.push_back(&e);
    }
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0]->level, "2");
    std::vector<std::vector<double>> a = Members(iges, *curves[0]);
    std::vector<std::vector<double>> b = Members(iges, *curves[1]);
    ASSERT_EQ(a.size(), 3u);  // crossing, -2, -1, 0
    ASSERT_EQ(b.size(), 2u);  // 2, 3, crossing
    EXPECT_DOUBLE_EQ(a[0][0], -2.5);
    EXPECT_DOUBLE_EQ(a[2][3], 0.0);
    EXPECT_DOUBLE_EQ(b[0][0], 2.0);
    EXPECT_DOUBLE_EQ(b[1][3], 3.5);
    for (const exportread::IgesEntity& e : iges.entities) {
        if (e.type == 110) {
            EXPECT_EQ(e.status, "00010000");
        }
    }

    // Options 8: the other warp fibres only; the row j = 1 ends inside the
    // range without crossing and is still written as a curve.
    ASSERT_EQ(gen_draped_pat_igs(&log, &file, nullptr, nullptr, &grid, 8), 0);
    iges = exportread::ReadIges(path);
    ASSERT_EQ(iges.entities.size(), 3u);
    EXPECT_EQ(iges.entities[2].type, 102);
    EXPECT_EQ(iges.entities[2].level, "4");
    EXPECT_EQ(Members(iges, iges.entities[2]).size(), 2u);
    EXPECT_DOUBLE_EQ(iges.entities[0].reals()[1], 1.0);

    // Options 4: the principal fill fibre, (0,0)-(0,1); options 16 the
    // columns i != 0: (2,0)-(2,1) is a curve, while columns of one point
    // (i = -2, -1, 1, 3) give no line and so no curve.
    ASSERT_EQ(gen_draped_pat_igs(&log, &file, nullptr, nullptr, &grid, 4 | 16), 0);
    iges = exportread::ReadIges(path);
    ASSERT_EQ(iges.entities.size(), 4u);
    EXPECT_EQ(iges.entities[1].level, "3");
    EXPECT_EQ(iges.entities[3].level, "5");
    EXPECT_DOUBLE_EQ(iges.entities[2].reals()[0], 2.0);
    const double fill[6] = {0, 0, 0, 0, 1, 0.1};
    EXPECT_TRUE(NearArray(iges.entities[0].reals(), fill, 6, tol::length));
}

// The mould surface of a 2 x 2 plate of quads (8 facets): every facet a
// ruled surface on each offset surface, shared edges written once.
TEST(MouldSurfaceIges, CountsAndRuledSurfacesSpanTheirFacets) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    ASSERT_EQ(meshgen::LoadModel(model, meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 2.0, 2.0)), 0);
    if (model.pFacs()->entries() == 0) {
        ASSERT_EQ(model.pFacs()->CreateFacets(), 0);
    }
    CKpFacetStore* facets = model.pFacs();
    const int nf = facets->entries();
    ASSERT_GT(nf, 0);
    // Distinct edges among edges 1 and 2 of the facets, by node pair.
    std::set<std::pair<int, int>> edges;
    for (int f = 0; f < nf; ++f)
        for (int k = 1; k <= 2; ++k) {
            const int a = facets->pFac(f)->getCKpNode(k)->id();
            const int b = facets->pFac(f)->getCKpNode((k + 1) % 3)->id();
            edges.insert({std::min(a, b), std::max(a, b)});
        }
    const int nl = static_cast<int>(edges.size());

    CKpFile file;
    const std::string path = exportread::TempPath("mould.igs");
    file.SetName(path.c_str());
    ASSERT_EQ(gen_mould_surf_igs(model.pMsg(), model.pNodes(), facets, &file), 0);
    const exportread::Iges iges = exportread::ReadIges(path);
    std::remove(path.c_str());
    EXPECT_TRUE(iges.wellFormed);
    EXPECT_EQ(iges.lines[0].substr(0, 68),
              "IGES file containing lines and ruled surfaces defining mould shapes.");
    EXPECT_EQ(iges.sectionLines.at('D'), 4 * nl + 4 * nf);
    EXPECT_EQ(iges.sectionLines.at('P'), 4 * nl + 2 * nf);
    ASSERT_EQ(static_cast<int>(iges.entities.size()), 2 * nl + 2 * nf);
    for (int k = 0; k < 2 * nl + 2 * nf; ++k) {
        const exportread::IgesEntity& e = iges.entities[k];
        EXPECT_EQ(e.type, k < 2 * nl ? 110 : 118);
        EXPECT_EQ(e.level, (k < nl || (k >= 2 * nl && k < 2 * nl + nf)) ? "1" : "2");
        EXPECT_EQ(e.status, "00000000");
    }
    // Each ruled surface joins two lines of its own level that meet at one
    // end: with flag 1 the first end of one to the last end of the other,
    // with flag 0 first to first. One joined pair is that common point, the
    // other spans the facet's third side.
    auto same = [](const double* a, const double* b) {
        return std::fabs(a[0] - b[0]) + std::fabs(a[1] - b[1]) + std::fabs(a[2] - b[2]) < 1e-12;
    };
    for (int k = 2 * nl; k < 2 * nl + 2 * nf; ++k) {
        const exportread::IgesEntity& r = iges.entities[k];
        ASSERT_EQ(r.params.size(), 5u);
        const exportread::IgesEntity* c1 = iges.at(std::atoi(r.params[1].c_str()));
        const exportread::IgesEntity* c2 = iges.at(std::atoi(r.params[2].c_str()));
        ASSERT_TRUE(c1 && c2 && c1->type == 110 && c2->type == 110);
        EXPECT_EQ(c1->level, r.level);
        EXPECT_EQ(c2->level, r.level);
        const std::vector<double> p = c1->reals(), q = c2->reals();
        const int flag = std::atoi(r.params[3].c_str());
        ASSERT_TRUE(flag == 0 || flag == 1);
        const double* q0 = flag ? &q[3] : &q[0];
        const double* q1 = flag ? &q[0] : &q[3];
        EXPECT_NE(same(&p[0], q0), same(&p[3], q1)) << "surface " << k;
        EXPECT_EQ(r.params[4], "0");
    }
}

// Three facets by hand (no elements, so both offset surfaces are the mesh):
//   facet 0 (D, P2, P1): its edge 1 runs P2 -> P1;
//   facet 1 (P2, E, P0): its edge 2 runs P0 -> P2;
//   facet 2 (P0, P1, P2): edges 1 and 2 run the other way along those two,
//   neighbour codes 4 and 5, so its direction flag flips twice, back to 1.
TEST(MouldSurfaceIges, TwoReversedSharedEdgesLeaveTheFlagAtOne) {
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);
    // The store links its nodes but leaves deleting them to its owner.
    struct Nodes : CKpNodeStore {
        ~Nodes() { eraseAllObjects(); }
    } nodes;
    const double xyz[5][3] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}, {-1, 0.5, 0}};
    CKpNode* n[5];
    for (int k = 0; k < 5; ++k) {
        n[k] = new CKpNode(k + 1);
        n[k]->getCKpPoint()->Set(xyz[k][0], xyz[k][1], xyz[k][2]);
        nodes.insert(n[k]);
    }
    CKpNode *p0 = n[0], *p1 = n[1], *p2 = n[2], *d = n[3], *e = n[4];
    CKpFacetStore facets;
    facets.setFacets(alloc_pfacet(3), 3);
    CKpNode* const corners[3][3] = {{d, p2, p1}, {p2, e, p0}, {p0, p1, p2}};
    for (int f = 0; f < 3; ++f) {
        CKpFacet* fac = new CKpFacet(f);
        for (int v = 0; v < 3; ++v) fac->setCKpNode(v, corners[f][v]);
        ASSERT_EQ(facets.pFac(f, fac), 0);
    }
    facets.pFac(0)->setNeigh(1, 2);
    facets.pFac(0)->setNedge(1, 4);
    facets.pFac(1)->setNeigh(2, 2);
    facets.pFac(1)->setNedge(2, 5);
    facets.pFac(2)->setNeigh(1, 0);
    facets.pFac(2)->setNedge(1, 4);
    facets.pFac(2)->setNeigh(2, 1);
    facets.pFac(2)->setNedge(2, 5);

    CKpFile file;
    const std::string path = exportread::TempPath("fan.igs");
    file.SetName(path.c_str());
    ASSERT_EQ(gen_mould_surf_igs(&log, &nodes, &facets, &file), 0);
    const exportread::Iges iges = exportread::ReadIges(path);
    std::remove(path.c_str());
    // L = 4 lines (facet 2 makes none), F = 3.
    EXPECT_EQ(iges.sectionLines.at('D'), 4 * 4 + 4 * 3);
    EXPECT_EQ(iges.sectionLines.at('P'), 4 * 4 + 2 * 3);
    // Facet 2 on level 1: facet 0's first line (pointer 1) and facet 1's
    // second line (pointer 7); on level 2 the same lines 4 entities on.
    const exportread::IgesEntity& level1 = iges.entities[8 + 2];
    const exportread::IgesEntity& level2 = iges.entities[8 + 3 + 2];
    EXPECT_EQ(level1.params, (std::vector<std::string>{"118", "1", "7", "1", "0"}));
    EXPECT_EQ(level2.params, (std::vector<std::string>{"118", "9", "15", "1", "0"}));
    EXPECT_EQ(level2.level, "2");
}
