#include "host/LayupPlot.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/add_layer.h"
#include "platform/MorvekStub.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MeshGen.h"

namespace {

using morvekstub::Drawing;

// Every segment the plots of this file draw into.
const int kSegments[] = {0,  1,  2,  3,  4,   5,   6,   7,   8,   9,   10,  21, 22,
                         23, 24, 25, 42, 501, 502, 503, 504, 701, 702, 703, 704};

class LayupPlotTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        // The segment handles live for the process: start without any.
        for (int segment : kSegments) LayupOutGraDeleteSegment(segment);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        m = static_cast<CKpLayup*>(LayupSlotModel());
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        if (!msgPath.empty()) std::remove(msgPath.c_str());
    }

    // An nx x ny plate of unit quads in the xy plane, normals +z, element 1
    // at the origin; every ply stack starts on the plate (offset 0 at the
    // bottom).
    void LoadPlate(int nx, int ny) {
        const meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
        ASSERT_EQ(meshgen::LoadModel(*m, mesh), 0);
        CVekObjectStoreIterator<CKpElem> it(*m->pElems());
        while (++it) it.key()->setoff_fg(1);
        MorvekStubReset();
    }
    // Places ply `id` of material `mat` over elements first..last as a
    // layup ply of thickness `t`.
    void Place(int id, CKpMat* mat, int first, int last, double t) {
        const std::string name = "P" + std::to_string(id);
        lyptest::AddPly(*m, id, name.c_str(), 3, mat, first, last);
        ASSERT_EQ(CreateLayupPly(m, nullptr, nullptr, 3, name.c_str(), 1, 0.0, t, 0), 0);
    }
    // Laminate `id` named `name` at z0 with layers (material id, thickness).
    CKpLam* Lam(int id, const char* name, double z0,
                const std::vector<std::pair<int, double>>& layers) {
        CKpLam* lam = new CKpLam(id, name, z0);
        EXPECT_EQ(m->pLams()->insert(lam), 0);
        for (const auto& l : layers) {
            CKpLamLyr* lyr = new CKpLamLyr;
            lyr->setMid(l.first);
            lyr->setT(l.second);
            lam->LamLyrs()->InsertLast(lyr);
        }
        return lam;
    }
    void SetPid(int pid) {
        CVekObjectStoreIterator<CKpElem> it(*m->pElems());
        while (++it) it.key()->pid(pid);
    }

    static std::vector<Drawing> Lines() {
        std::vector<Drawing> out;
        for (const Drawing& d : morvekstub::Drawings())
            if (d.kind == Drawing::Line) out.push_back(d);
        return out;
    }
    static std::set<int> Handles() {
        std::set<int> out;
        for (const Drawing& d : morvekstub::Drawings()) out.insert(d.handle);
        return out;
    }
    static std::vector<int> Colours(const std::vector<Drawing>& draws) {
        std::vector<int> out;
        for (const Drawing& d : draws) out.push_back(d.colour);
        return out;
    }
    static std::vector<std::string> Errors() {
        std::vector<std::string> out;
        for (const auto& msg : morvekstub::Messages())
            if (msg.severity == 4) out.push_back(msg.text);
        return out;
    }
    std::string MessageFile() {
        msgPath = ::testing::TempDir() + "layupplot_" + std::to_string(::getpid()) + ".msg";
        EXPECT_EQ(LayupOpenMessage(msgPath.c_str()), 0);
        return msgPath;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    CKpLayup* m = nullptr;
    std::string msgPath;
};

TEST_F(LayupPlotTest, WithoutModelOnlyTheEmptyPlotsAnswer) {
    LayupDestruct();
    MorvekStubReset();
    float p[3] = {0, 0, 0}, d[3] = {1, 0, 0};
    int ids[1] = {1};
    char name[] = "x";
    char* names[1] = {name};
    const std::vector<std::function<int()>> calls = {
        LayupErasePlyDraping,
        LayupErasePlyDrapedPattern,
        LayupErasePlyFlatPattern,
        LayupErasePlyAngles,
        LayupEraseLayupSurfaceAngles,
        LayupErasePlyOutline,
        LayupErasePlyBoundary,
        LayupEraseLayupElement,
        LayupEraseLayupCrossSection,
        LayupEraseLayupSurface,
        LayupEraseLayupPly,
        LayupEraseLayupExploded,
        LayupEraseOrients,
        LayupEraseLamThicks,
        LayupEraseLamOrients,
        LayupEraseLayupSolid,
        LayupEraseLayupThick,
        LayupEraseLayupThicks,
        LayupEraseLayupOrients,
        LayupEraseLamSurface,
        LayupEraseLamSolid,
        LayupEraseLamThick,
        LayupEraseLamElement,
        LayupEraseElemEdges,
        [] { return LayupEraseElems(42); },
        [] { return LayupPlotPlyDrapedPattern("x", 0); },
        [] { return LayupPlotPlyFlatPattern("x"); },
        [] { return LayupPlotPlyOutline("x"); },
        [] { return LayupPlotPlyBoundary("x"); },
        [] { return LayupPlotPlyAngles(0, "x"); },
        LayupPlotLayupSurfaceAngles,
        [&] { return LayupPlotElems(1, ids, p, 7, 1, 42); },
        [] { return LayupPlotElemEdges(1); },
        [] { return LayupPlotLayupElement(1, 0, 1, 1, 1.0f, 0.0f); },
        [&] { return LayupPlotLayupCrossSection(p, d, 0.0f, 1.0f, 0.0f); },
        LayupPlotLayupSurface,
        [] { return LayupPlotLayupPly(1, 1); },
        [&] { return LayupPlotLayupExploded(1, p, 7, 1); },
        [&] { return LayupPlotOrients(1, names); },
        [] { return LayupPlotLayupThicks(1, 1, 0); },
        [] { return LayupPlotLayupOrients(1, 1); },
        [&] { return LayupPlotLamThicks(1, names, 1, ids, 1, 0); },
        [&] { return LayupPlotLamOrients(1, names, 1, ids, 1); },
        LayupPlotLamSurface,
        [] { return LayupPlotLamElement(1, 0, 1, 1, 1, 0); }};
    for (size_t k = 0; k < calls.size(); ++k) EXPECT_EQ(calls[k](), 1) << "call " << k;
    EXPECT_EQ(LayupPlotLayupSolid(), 0);
    EXPECT_EQ(LayupPlotLayupThick(), 0);
    EXPECT_EQ(LayupPlotLamSolid(), 0);
    EXPECT_EQ(LayupPlotLamThick(), 0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    EXPECT_TRUE(morvekstub::DeletedHandles().empty());
    EXPECT_EQ(morvekstub::Refreshes(), 0);
}

TEST_F(LayupPlotTest, ErasingAnEmptySegmentRefreshesOnce) {
    EXPECT_EQ(LayupEraseLayupSurface(), 0);
    EXPECT_EQ(morvekstub::Refreshes(), 1);
    EXPECT_TRUE(morvekstub::DeletedHandles().empty());
    // The plots that draw nothing leave every segment empty.
    EXPECT_EQ(
        LayupPlotLayupSolid() + LayupPlotLayupThick() + LayupPlotLamSolid() + LayupPlotLamThick(),
        0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
}

// Each plot draws into one handle, and its erase function deletes exactly
// that one.
TEST_F(LayupPlotTest, EachPlotGoesToTheHandleItsEraseDeletes) {
    LoadPlate(2, 1);
    CKpMat* a = lyptest::AddMat(*m, 1, 3, "A");
    Place(1, a, 1, 2, 1.0);
    lyptest::AddMat(*m, 5, 3, "L");
    Lam(3, "Lam", -0.5, {{5, 0.5}, {5, 0.5}});
    SetPid(3);
    for (int id : {1, 2}) {
        m->pOrients()->insert(new CKpOrient(id));
        m->pOrients()->find(id)->setName(id == 1 ? "O1" : "O2");
    }
    m->pElems()->find(1)->pOrient(m->pOrients()->find(1));
    MorvekStubReset();

    float point[3] = {0.5f, 0, 0}, dir[3] = {1, 0, 0}, off[3] = {0, 0, 1};
    int ids[2] = {1, 2};
    char lamName[] = "Lam", orientName[] = "O1";
    char* lams[1] = {lamName};
    char* orients[1] = {orientName};
    struct Case {
        const char* what;
        std::function<int()> plot;
        std::function<int()> erase;
    };
    const std::vector<Case> cases = {
        {"surface angles", LayupPlotLayupSurfaceAngles, LayupEraseLayupSurfaceAngles},
        {"elem edges", [] { return LayupPlotElemEdges(1); }, LayupEraseElemEdges},
        {"elems", [&] { return LayupPlotElems(2, ids, off, 11, 3, 42); },
         [] { return LayupEraseElems(42); }},
        {"layup element", [] { return LayupPlotLayupElement(2, 0, 1, 1, 1.0f, 0.2f); },
         LayupEraseLayupElement},
        {"cross-section", [&] { return LayupPlotLayupCrossSection(point, dir, 0, 1, 0); },
         LayupEraseLayupCrossSection},
        {"layup surface", LayupPlotLayupSurface, LayupEraseLayupSurface},
        {"layup ply", [] { return LayupPlotLayupPly(1, 2); }, LayupEraseLayupPly},
        {"exploded", [&] { return LayupPlotLayupExploded(1, off, 7, 2); }, LayupEraseLayupExploded},
        {"orients", [&] { return LayupPlotOrients(1, orients); }, LayupEraseOrients},
        {"lam thicks", [&] { return LayupPlotLamThicks(1, lams, 0, nullptr, 1, 0); },
         LayupEraseLamThicks},
        {"lam orients", [&] { return LayupPlotLamOrients(1, lams, 0, nullptr, 1); },
         LayupEraseLamOrients},
        {"layup thicks", [] { return LayupPlotLayupThicks(1, 1, 0); }, LayupEraseLayupThicks},
        {"layup orients", [] { return LayupPlotLayupOrients(1, 1); }, LayupEraseLayupOrients},
        {"lam surface", LayupPlotLamSurface, LayupEraseLamSurface},
        {"lam element", [] { return LayupPlotLamElement(1, 0, 1, 1, 1, 0); }, LayupEraseLamElement},
        {"ply angles", [] { return LayupPlotPlyAngles(0, "P1"); }, LayupErasePlyAngles}};
    std::set<int> seen;
    for (const Case& c : cases) {
        MorvekStubReset();
        EXPECT_EQ(c.plot(), 0) << c.what;
        const std::set<int> handles = Handles();
        ASSERT_EQ(handles.size(), 1u) << c.what;
        EXPECT_TRUE(seen.insert(*handles.begin()).second) << c.what << ": a shared handle";
        EXPECT_EQ(c.erase(), 0) << c.what;
        EXPECT_EQ(morvekstub::DeletedHandles(), std::vector<int>{*handles.begin()}) << c.what;
    }
}

TEST_F(LayupPlotTest, LaminateLayersMatchNumbersInOrderAndColourByMaterial) {
    LoadPlate(1, 1);
    for (int id : {16, 0, -1}) lyptest::AddMat(*m, id, 3, "M");
    Lam(7, "Stack", 0.0, {{16, 1.0}, {0, 1.0}, {-1, 1.0}, {-1, 1.0}});
    SetPid(7);
    char lamName[] = "Stack", unknown[] = "None";
    char* names[2] = {unknown, lamName};
    MorvekStubReset();

    // Colour 1, 15, 14 by material id 16, 0, -1: host indices 4, 7, 3. A
    // lone element has four free sides, one quadrilateral (4 lines) each.
    EXPECT_EQ(LayupPlotLamThicks(2, names, 0, nullptr, 1.0f, 0.0f), 0);
    std::vector<int> expected;
    for (int colour : {4, 7, 3, 3}) expected.insert(expected.end(), 16, colour);
    EXPECT_EQ(Colours(Lines()), expected);

    MorvekStubReset();
    int late[2] = {3, 1};
    EXPECT_EQ(LayupPlotLamThicks(2, names, 2, late, 1.0f, 0.0f), 0);
    EXPECT_EQ(Colours(Lines()), std::vector<int>(16, 3));
    // Layer 3 spans z 2..3 (scale 1, no gap).
    float lo = 1e9f, hi = -1e9f;
    for (const Drawing& d : Lines())
        for (int k : {2, 5}) {
            lo = std::min(lo, d.points[k]);
            hi = std::max(hi, d.points[k]);
        }
    EXPECT_FLOAT_EQ(lo, 2.0f);
    EXPECT_FLOAT_EQ(hi, 3.0f);

    MorvekStubReset();
    // Nothing is read past the last number, which has been matched.
    int ordered[3] = {1, 3, 4};
    EXPECT_EQ(LayupPlotLamThicks(2, names, 2, ordered, 1.0f, 0.0f), 0);
    expected.assign(16, 4);
    expected.insert(expected.end(), 16, 3);
    EXPECT_EQ(Colours(Lines()), expected);

    // A negative layer count draws nothing; missing layer numbers are
    // refused before anything is drawn.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLamThicks(2, names, -1, nullptr, 1.0f, 0.0f), 0);
    EXPECT_EQ(LayupPlotLamThicks(2, names, 2, nullptr, 1.0f, 0.0f), -1);
    EXPECT_EQ(LayupPlotLamOrients(2, names, 1, nullptr, 1.0f), -1);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    // (The log folds the repeated text.)
    EXPECT_EQ(Errors(), std::vector<std::string>{"Missing layer numbers."});

    // Orientations: one line per layer through the element middle at the
    // layer's mid-plane x scale.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLamOrients(1, names + 1, 0, nullptr, 2.0f), 0);
    const std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(Colours(lines), (std::vector<int>{4, 7, 3, 3}));
    for (int k = 0; k < 4; ++k) {
        EXPECT_FLOAT_EQ(lines[k].points[2], 2.0f * (k + 0.5f));
        EXPECT_FLOAT_EQ(0.5f * (lines[k].points[0] + lines[k].points[3]), 0.5f);
    }

    // A layer whose material is gone ends the call with the error.
    MorvekStubReset();
    m->pMats()->eraseObject(m->pMats()->find(0));
    EXPECT_EQ(LayupPlotLamThicks(1, names + 1, 0, nullptr, 1.0f, 0.0f), -1);
    EXPECT_EQ(Colours(Lines()), std::vector<int>(16, 4));
    const std::vector<std::string> errors = Errors();
    EXPECT_NE(std::find(errors.begin(), errors.end(), "Could not find laminate layer material"),
              errors.end());
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLamElement(1, 0, 0, 1, 1.0f, 0.0f), -1);
    EXPECT_EQ(LayupPlotLamElement(99, 0, 1, 1, 1.0f, 0.0f), -1);
}

TEST_F(LayupPlotTest, LaminateStackOfOneElement) {
    LoadPlate(2, 1);
    lyptest::AddMat(*m, 2, 3, "M");
    Lam(4, "", -1.0, {{2, 0.5}, {2, 1.5}});
    m->pElems()->find(2)->pid(4);
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLamElement(1, 0, 1, 1, 1.0f, 0.0f), -1);  // no laminate
    // Orientations at -0.75 and 0.25, then side walls of both layers.
    EXPECT_EQ(LayupPlotLamElement(2, 0, 1, 1, 1.0f, 0.5f), 0);
    const std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 2u + 2 * 16);
    EXPECT_FLOAT_EQ(lines[0].points[2], -0.75f);
    EXPECT_FLOAT_EQ(lines[1].points[2], 0.25f);
    // The second layer's wall: 0.25 -/+ 1.5 x 0.5 / 2.
    float lo = 1e9f, hi = -1e9f;
    for (size_t k = 18; k < lines.size(); ++k)
        for (int c : {2, 5}) {
            lo = std::min(lo, lines[k].points[c]);
            hi = std::max(hi, lines[k].points[c]);
        }
    EXPECT_FLOAT_EQ(lo, -0.125f);
    EXPECT_FLOAT_EQ(hi, 0.625f);
    for (const Drawing& d : lines) EXPECT_EQ(d.colour, 2);
}

TEST_F(LayupPlotTest, ListedElementsAsFacesOrOutlines) {
    LoadPlate(2, 1);
    int ids[1] = {2};
    float up[3] = {0, 0, 1};
    EXPECT_EQ(LayupPlotElems(1, ids, up, 11, 2, 42), 0);
    // One polygon of element 2 (four lines), lifted by 1, colour 2.
    std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (const Drawing& d : lines) {
        EXPECT_EQ(d.colour, 2);
        EXPECT_FLOAT_EQ(d.points[2], 1.0f);
        EXPECT_GE(d.points[0], 1.0f);
    }
    // No offset leaves the element in place; outlines close back on node 0.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotElems(1, ids, nullptr, 7, 1, 42), 0);
    lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].points[3], lines[0].points[0]);
    for (const Drawing& d : lines) EXPECT_EQ(d.points[2], 0.0f);

    MorvekStubReset();
    EXPECT_EQ(LayupPlotElems(1, ids, up, 5, 1, 42), 0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    EXPECT_EQ(Errors(), std::vector<std::string>{"Unsupported mode."});
    // A selection that cannot be made draws nothing.
    EXPECT_EQ(LayupPlotElems(2, nullptr, up, 7, 1, 42), -1);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    // Erasing deletes whatever segment it is given.
    EXPECT_EQ(LayupEraseElems(-17), 0);
    EXPECT_EQ(morvekstub::Refreshes(), 1);
}

TEST_F(LayupPlotTest, ExplodedPly) {
    LoadPlate(2, 1);
    CKpMat* a = lyptest::AddMat(*m, 1, 3, "A");
    Place(1, a, 2, 2, 1.0);
    MorvekStubReset();
    float off[3] = {0, 0, 5};
    EXPECT_EQ(LayupPlotLayupExploded(1, off, 11, 4), 0);
    std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (const Drawing& d : lines) {
        EXPECT_EQ(d.colour, 1);  // colour 4
        EXPECT_FLOAT_EQ(d.points[5], 5.0f);
    }
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupExploded(1, nullptr, 7, 4), 0);
    for (const Drawing& d : Lines()) EXPECT_EQ(d.points[5], 0.0f);

    EXPECT_EQ(LayupPlotLayupExploded(9, off, 7, 4), -1);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Could not find specified layup ply."});

    // A layup ply whose ply has no elements, and one whose ply is gone.
    CKpPat* pat = new CKpPat(2);
    m->pPats()->insert(pat);
    m->pPlys()->insert(new CKpPly(2, "Empty", 3, a, pat));
    for (int id : {2, 3}) {
        CKpLypPly* lp = new CKpLypPly(id);
        lp->setLyrid(id);
        m->pLyp()->LypPlys().insert(lp);
    }
    const std::string log = MessageFile();
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupExploded(2, off, 7, 4), 0);
    EXPECT_NE(Read(log).find("$# Ply has no elements."), std::string::npos);
    EXPECT_EQ(LayupPlotLayupExploded(3, off, 7, 4), -1);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Could not find specified ply."});
    EXPECT_TRUE(morvekstub::Drawings().empty());
}

TEST_F(LayupPlotTest, LayupPlyFacesSitOnTheirMidPlane) {
    LoadPlate(2, 1);
    CKpMat* a = lyptest::AddMat(*m, 1, 3, "A");
    CKpMat* b = lyptest::AddMat(*m, 2, 3, "B");
    Place(1, a, 1, 2, 1.0);
    Place(2, b, 2, 2, 2.0);
    MorvekStubReset();
    // Ply 2 lies on element 2 only, above ply 1: mid-plane 1 + 2/2.
    EXPECT_EQ(LayupPlotLayupPly(2, 5), 0);
    std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 4u);
    for (const Drawing& d : lines) {
        EXPECT_EQ(d.colour, 5);
        EXPECT_FLOAT_EQ(d.points[2], 2.0f);
        EXPECT_GE(d.points[0], 1.0f);
    }
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupPly(1, 5), 0);
    lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    for (const Drawing& d : lines) EXPECT_FLOAT_EQ(d.points[2], 0.5f);
    EXPECT_EQ(LayupPlotLayupPly(3, 5), -1);
    EXPECT_EQ(Errors(), std::vector<std::string>{"Could not find specified layup ply."});

    // Thickness and orientation of one layup ply, in its material colour.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupThicks(2, 2.0f, 0.5f), 0);
    lines = Lines();
    ASSERT_EQ(lines.size(), 16u);  // four walls of element 2
    float lo = 1e9f, hi = -1e9f;
    for (const Drawing& d : lines) {
        EXPECT_EQ(d.colour, 2);
        for (int c : {2, 5}) {
            lo = std::min(lo, d.points[c]);
            hi = std::max(hi, d.points[c]);
        }
    }
    EXPECT_FLOAT_EQ(lo, 4.0f - 1.0f);  // mid 2 x 2, wall 2 x 2 x 0.5
    EXPECT_FLOAT_EQ(hi, 4.0f + 1.0f);
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupOrients(1, 3.0f), 0);
    lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    for (const Drawing& d : lines) EXPECT_FLOAT_EQ(d.points[2], 1.5f);
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupThicks(9, 1.0f, 0.0f), 0);
    EXPECT_EQ(LayupPlotLayupOrients(9, 1.0f), 0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
}

// Plate of 2 x 1 unit quads, each cut into two facets by its diagonal from
// (0, 0) to (1, 1); the plane x = 0.5 cuts both facets of element 1.
TEST_F(LayupPlotTest, CrossSectionOfAPlate) {
    LoadPlate(2, 1);
    CKpMat* a = lyptest::AddMat(*m, 1, 3, "A");
    CKpMat* b = lyptest::AddMat(*m, 2, 3, "B");
    Place(1, a, 1, 2, 1.0);
    Place(2, b, 1, 2, 2.0);
    MorvekStubReset();
    // The direction is made unit and the plane moved along it.
    float point[3] = {0, 0, 0}, dir[3] = {2, 0, 0};
    EXPECT_EQ(LayupPlotLayupCrossSection(point, dir, 0.5f, 2.0f, 0.2f), 0);
    std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 10u);  // per facet: section + 2 lines per ply
    std::vector<float> heights;
    for (size_t k = 0; k < lines.size(); ++k) {
        const Drawing& d = lines[k];
        EXPECT_FLOAT_EQ(d.points[0], 0.5f);
        EXPECT_FLOAT_EQ(d.points[3], 0.5f);
        EXPECT_FLOAT_EQ(d.points[2], d.points[5]);
        if (k % 5 == 0)
            EXPECT_EQ(d.colour, 7);
        else
            heights.push_back(d.points[2]);
    }
    EXPECT_EQ(Colours(lines), (std::vector<int>{7, 4, 4, 2, 2, 7, 4, 4, 2, 2}));
    // Ply 1: mid 0.5 x 2 -/+ 1 x 2 x 0.8 / 2; ply 2: mid 2 x 2 -/+ 1.6.
    const std::vector<float> expected = {0.2f, 1.8f, 2.4f, 5.6f};
    for (size_t k = 0; k < heights.size(); ++k) EXPECT_NEAR(heights[k], expected[k % 4], 1e-6) << k;
    // The section lines run from the bottom edge or the diagonal.
    std::multiset<float> ys;
    for (size_t k : {0u, 5u}) {
        ys.insert(lines[k].points[1]);
        ys.insert(lines[k].points[4]);
    }
    EXPECT_EQ(ys, (std::multiset<float>{0.0f, 0.5f, 0.5f, 1.0f}));

    // Gap 1 puts both lines of a ply on its mid-plane.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotLayupCrossSection(point, dir, 0.5f, 1.0f, 1.0f), 0);
    lines = Lines();
    ASSERT_EQ(lines.size(), 10u);
    const float mids[5] = {0.0f, 0.5f, 0.5f, 2.0f, 2.0f};
    for (size_t k = 0; k < lines.size(); ++k) EXPECT_FLOAT_EQ(lines[k].points[2], mids[k % 5]);

    // A zero direction draws nothing, with a warning; missing input is refused.
    MorvekStubReset();
    float zero[3] = {0, 0, 0};
    EXPECT_EQ(LayupPlotLayupCrossSection(point, zero, 0.5f, 1.0f, 0.0f), 0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    ASSERT_EQ(morvekstub::Messages().size(), 1u);
    EXPECT_EQ(morvekstub::Messages()[0].severity, 2);
    EXPECT_EQ(morvekstub::Messages()[0].text, "Cross-section direction is zero.");
    EXPECT_EQ(LayupPlotLayupCrossSection(nullptr, dir, 0.5f, 1.0f, 0.0f), -1);
    EXPECT_EQ(LayupPlotLayupCrossSection(point, nullptr, 0.5f, 1.0f, 0.0f), -1);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    EXPECT_EQ(Errors(), std::vector<std::string>{"Missing cross-section point or direction."});
}

// Three triangles cut by x = 1:
//   10: (0,0) (2,0) (1,1)  the plane passes through its top vertex and
//       meets it in three edge points: skipped;
//   20: (0,2) (2,2) (0,3)  a clean cut from (1,2) to (1,2.5);
//   30: (0,4) (2,4) (3,4)  cut at two edge points, but degenerate (no
//       normal): skipped.
TEST_F(LayupPlotTest, CrossSectionSkipsVertexHitsAndFacetsWithoutNormal) {
    int nodeIds[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    float xyz[27] = {0, 0, 0, 2, 0, 0, 1, 1, 0, 0, 2, 0, 2, 2,
                     0, 0, 3, 0, 0, 4, 0, 2, 4, 0, 3, 4, 0};
    int elemIds[3] = {10, 20, 30}, values[3] = {0, 0, 0}, tops[3] = {3, 3, 3};
    int rows[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(LayupNewLayupMesh(9, nodeIds, xyz, 3, elemIds, values, tops, 3, rows, 0.0f, 0.0f), 0);
    MorvekStubReset();
    float point[3] = {1, 0, 0}, dir[3] = {1, 0, 0};
    EXPECT_EQ(LayupPlotLayupCrossSection(point, dir, 0.0f, 1.0f, 0.0f), 0);
    const std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].colour, 7);
    std::vector<float> ys = {lines[0].points[1], lines[0].points[4]};
    std::sort(ys.begin(), ys.end());
    EXPECT_EQ(ys, (std::vector<float>{2.0f, 2.5f}));
    for (float v : lines[0].points) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(LayupPlotTest, LayupAndLaminateSurfaces) {
    LoadPlate(1, 1);
    CKpMat* a = lyptest::AddMat(*m, 1, 3, "A");
    Place(1, a, 1, 1, 0.5);
    lyptest::AddMat(*m, 3, 3, "L");
    Lam(2, "Lam", -1.0, {{3, 0.75}});
    SetPid(2);
    MorvekStubReset();
    // Bottom ring at the stack bottom, then the top ring, each closed.
    EXPECT_EQ(LayupPlotLayupSurface(), 0);
    std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    for (size_t k = 0; k < lines.size(); ++k) {
        EXPECT_EQ(lines[k].colour, 4);
        EXPECT_NEAR(lines[k].points[2], k < 4 ? 0.0 : 0.5, 1e-6);
    }
    EXPECT_EQ(lines[3].points[3], lines[0].points[0]);
    EXPECT_EQ(lines[3].points[4], lines[0].points[1]);

    MorvekStubReset();
    EXPECT_EQ(LayupPlotLamSurface(), 0);
    lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    for (size_t k = 0; k < lines.size(); ++k)
        EXPECT_NEAR(lines[k].points[2], k < 4 ? -1.0 : -0.25, 1e-6);
}

TEST_F(LayupPlotTest, NamedOrientationsAndElementStacks) {
    LoadPlate(2, 1);
    CKpOrient* o = new CKpOrient(1);
    o->setName("Fixed");
    m->pOrients()->insert(o);
    CKpElem* second = m->pElems()->find(2);
    second->pOrient(o);
    second->theta(std::acos(-1.0) / 2.0);
    char fixed[] = "Fixed", none[] = "None";
    char* names[2] = {none, fixed};
    MorvekStubReset();
    EXPECT_EQ(LayupPlotOrients(2, names), 0);
    const std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 1u);  // along y through the middle of element 2
    EXPECT_EQ(lines[0].colour, 4);
    EXPECT_NEAR(lines[0].points[0], 1.5, 1e-6);
    EXPECT_NEAR(lines[0].points[3], 1.5, 1e-6);
    EXPECT_NEAR(std::fabs(lines[0].points[4] - lines[0].points[1]), 0.5, 1e-6);
    EXPECT_EQ(LayupPlotOrients(0, names), 0);
    EXPECT_EQ(LayupPlotOrients(2, nullptr), 0);
    EXPECT_EQ(Lines().size(), 1u);

    EXPECT_EQ(LayupPlotLayupElement(99, 0, 1, 1, 1.0f, 0.0f), -1);
    EXPECT_TRUE(Errors().empty());
}

// Ply plots reach the ply's own plot operations; unknown plies are
// refused with their messages and statuses.
TEST_F(LayupPlotTest, PlyPlotsByName) {
    LoadPlate(2, 2);
    IVekMaterial* mat = m->GetMaterialStore()->New(1);
    mat->SetName("CF");
    mat->SetThickness(0.25);
    mat->SetWarpWeftAngle(std::acos(-1.0) / 2.0);
    mat->SetMaximumStrain(std::acos(-1.0) / 3.0);
    IVekPly* ply = m->GetPlyStore()->New();
    ply->SetName("Draped");
    ply->SetType(EVekMaterialScissor);
    ply->SetMaterialName("CF");
    const double eye[3] = {1.0, 1.0, 10.0}, down[3] = {0, 0, -1}, ref[3] = {1, 0, 0};
    ply->SetSeedPoint(eye);
    ply->SetApplicationDirection(down);
    ply->SetReferenceDirection(ref);
    ply->SetProjectionMethod(0);
    ply->SetStepLength(0.25);
    ply->SetExtensionType(1);
    ASSERT_EQ(ply->Simulate(), 0);

    struct Case {
        const char* what;
        std::function<int(const char*)> plot;
        std::function<int()> erase;
    };
    const std::vector<Case> cases = {
        {"draped", [](const char* n) { return LayupPlotPlyDrapedPattern(n, 3); },
         LayupErasePlyDrapedPattern},
        {"flat", LayupPlotPlyFlatPattern, LayupErasePlyFlatPattern},
        {"outline", LayupPlotPlyOutline, LayupErasePlyOutline},
        {"boundary", LayupPlotPlyBoundary, LayupErasePlyBoundary},
        {"angles", [](const char* n) { return LayupPlotPlyAngles(0, n); }, LayupErasePlyAngles}};
    for (const Case& c : cases) {
        MorvekStubReset();
        EXPECT_EQ(c.plot("Draped"), 0) << c.what;
        const std::set<int> handles = Handles();
        ASSERT_EQ(handles.size(), 1u) << c.what;
        EXPECT_EQ(c.erase(), 0);
        EXPECT_EQ(morvekstub::DeletedHandles(), std::vector<int>{*handles.begin()}) << c.what;
        MorvekStubReset();
        const std::string unknown = std::string("No ") + c.what;
        EXPECT_EQ(c.plot(unknown.c_str()), c.what == std::string("angles") ? 2 : -1) << c.what;
        EXPECT_EQ(Errors(), std::vector<std::string>{"Ply name '" + unknown + "' does not exist."});
        EXPECT_TRUE(morvekstub::Drawings().empty());
    }

    // Fibre marks of a draped ply: per element a warp line (colour 1) of
    // half the square root of its area, and a weft line (colour 4) of half
    // that; the draped fibres run along x.
    MorvekStubReset();
    EXPECT_EQ(LayupPlotPlyAngles(0, "Draped"), 0);
    const std::vector<Drawing> lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    for (size_t k = 0; k < lines.size(); ++k) {
        const Drawing& d = lines[k];
        const float len = std::hypot(d.points[3] - d.points[0], d.points[4] - d.points[1]);
        EXPECT_EQ(d.colour, k % 2 == 0 ? 4 : 1);
        EXPECT_NEAR(len, k % 2 == 0 ? 0.5 : 0.25, 1e-5) << k;
    }
    EXPECT_NEAR(lines[0].points[1], lines[0].points[4], 1e-5);
}

}  // namespace
