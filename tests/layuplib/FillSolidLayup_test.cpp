#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/FillSolidElements.h"
#include "layuplib/IVekLayupPly.h"
#include "layuplib/IVekLayupPlyStore.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyLayup.h"
#include "layuplib/IVekPlyStore.h"
#include "tests/support/BrickGen.h"
#include "tests/support/FillSolidHelpers.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/StackingFile.h"
#include "tests/support/Tolerance.h"

using namespace SolidElements;
using brickgen::Order;

namespace {

// What a model holds after CreateLayup, read through its interfaces.
struct ModelSummary {
    int nodes = 0, elems = 0;
    std::vector<std::string> materials;  // "name thickness"
    std::vector<std::string> plies;      // "name material"
    std::vector<std::string> layup;      // ply names, bottom first
    std::vector<int> sides;
};

ModelSummary Summarize(ILayup& model) {
    ModelSummary s;
    int width = 0;
    model.GetMeshSizes(&s.nodes, &s.elems, &width);
    IVekMaterialStore* mats = model.GetMaterialStore();
    for (int i = 0; i < mats->Count(); ++i)
        s.materials.push_back(std::string(mats->Get(i)->GetName()) + " " +
                              std::to_string(mats->Get(i)->GetThickness()));
    IVekPlyStore* plies = model.GetPlyStore();
    for (int i = 0; i < plies->Count(); ++i) {
        const char* mat = plies->Get(i)->GetMaterialName();
        s.plies.push_back(std::string(plies->Get(i)->GetName()) + " " + (mat ? mat : "-"));
    }
    IVekLayupPlyStore* layup = model.GetPlyLayup()->GetLayupPlyStore();
    for (int i = 0; i < layup->Count(); ++i) {
        s.layup.push_back(layup->Get(i)->GetPlyName());
        s.sides.push_back(layup->Get(i)->GetSide());
    }
    return s;
}

// A strip of five bricks, 1 thick at both ends and 0.6 in the middle
// (rooms 1, 0.8, 0.6, 0.8, 1), filled from the bottom.
fillsolid::Filler Strip(const std::vector<stackfile::Layer>& layers, IFillSolid::EStacking mode,
                        const double* zRef) {
    const double heights[6] = {1, 1, 0.6, 0.6, 1, 1};
    const brickgen::BrickMesh m =
        brickgen::Block(Order::Hex8, brickgen::Levels(5, 5), {0, 1}, {0, 1},
                        [&heights](double u, double v, double w, double* p) {
                            p[0] = u;
                            p[1] = v;
                            p[2] = w * heights[static_cast<int>(u + 0.5)];
                        });
    fillsolid::Filler f = fillsolid::Make();
    EXPECT_EQ(fillsolid::Load(*f, m), 0);
    EXPECT_EQ(fillsolid::Tubes(*f, m), 0);
    const double x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    EXPECT_EQ(f->CreateCSys(x, y, zRef, 0.01), 0);
    const std::string path = stackfile::Write(stackfile::TempPath("strip"), layers);
    EXPECT_EQ(f->ReadStacking(mode, path.c_str(), path.c_str()), 0);
    EXPECT_EQ(f->CreateSections("Resin", 0.0, 0.0), 0);
    return f;
}

}  // namespace

TEST(FillSolidLayup, PatchesMaterialsPliesAndLayup) {
    // P fits only at the thick ends: two patches. Q never fits anywhere: it
    // is resin in every brick.
    const std::vector<stackfile::Layer> layers = {{"B1", "UD1", 0.125, 0},
                                                  {"B2", "UD1", 0.25, 45},
                                                  {"B3", "UD1", 0.125, 90},
                                                  {"P", "UD1", 0.35, 0},
                                                  {"Q", "UD2", 0.5, 0}};
    const double up[3] = {0, 0, 1};
    fillsolid::Filler f = Strip(layers, IFillSolid::eFromBottom, up);
    EXPECT_EQ(fillsolid::LayersOf(*f, 3).back().name, "P_resin");
    EXPECT_EQ(fillsolid::LayersOf(*f, 1).back().name, "Q_resin");

    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    ASSERT_EQ(f->CreateLayup(&model), 0);
    const ModelSummary s = Summarize(model);
    EXPECT_EQ(s.nodes, 12);
    EXPECT_EQ(s.elems, 5);
    EXPECT_EQ(s.materials, std::vector<std::string>({"UD1_0.125 0.125000", "UD1_0.25 0.250000",
                                                     "UD1_0.35 0.350000", "UD2_0.5 0.500000"}));
    EXPECT_EQ(s.plies, std::vector<std::string>({"B1 UD1_0.125", "B2 UD1_0.25", "B3 UD1_0.125",
                                                 "P UD1_0.35", "P_2 UD1_0.35"}));
    EXPECT_EQ(s.layup, std::vector<std::string>({"B1", "B2", "B3", "P"}));
    EXPECT_EQ(s.sides, std::vector<int>(4, 1));

    IVekPly* p1 = model.GetPlyStore()->Get("P");
    IVekPly* p2 = model.GetPlyStore()->Get("P_2");
    ASSERT_TRUE(p1 && p2);
    std::vector<int> ids(1);
    ASSERT_EQ(p1->GetNumElements(), 1);
    p1->GetElementIdsOrders(1, ids.data(), nullptr);
    EXPECT_EQ(ids[0], 1);
    ASSERT_EQ(p2->GetNumElements(), 1);
    p2->GetElementIdsOrders(1, ids.data(), nullptr);
    EXPECT_EQ(ids[0], 5);
    double seed[3], app[3], ref[3];
    p2->GetSeedPoint(seed);
    p2->GetApplicationDirection(app);
    p2->GetReferenceDirection(ref);
    EXPECT_TRUE(NearArray(seed, std::vector<double>({4.5, 0.5, 0.5}), 3, tol::length));
    EXPECT_TRUE(NearArray(app, std::vector<double>({0, 0, -1}), 3, tol::length));
    EXPECT_TRUE(NearArray(ref, std::vector<double>({1, 0, 0}), 3, tol::length));
    EXPECT_TRUE(Near(model.GetPlyStore()->Get("B2")->GetReferenceAngle(), 45 * 0.0174532925199433,
                     tol::angle));

    // Saved and reopened, the model holds the same.
    const std::string path = stackfile::TempPath("filled") + ".lyp";
    ASSERT_EQ(model.SaveLayup(path.c_str(), 0, 0), 0);
    CKpLayup reopened(nullptr, &gui);
    ASSERT_EQ(reopened.OpenLayup(path.c_str(), 0), 0);
    const ModelSummary r = Summarize(reopened);
    EXPECT_EQ(r.elems, s.elems);
    EXPECT_EQ(r.materials, s.materials);
    EXPECT_EQ(r.plies, s.plies);
    EXPECT_EQ(r.layup, s.layup);
    std::remove(path.c_str());
}

TEST(FillSolidLayup, StackingOrderFollowsTheMode) {
    const std::vector<stackfile::Layer> layers = {
        {"L1", "UD", 0.1, 0}, {"L2", "UD", 0.1, 0}, {"L3", "UD", 0.1, 0}};
    struct Case {
        IFillSolid::EStacking mode;
        std::vector<std::string> layup;
    };
    // Both files are the same: A and B each hold L1 L2 L3.
    const std::vector<Case> cases = {
        {IFillSolid::eFromBottom, {"L1", "L2", "L3"}},
        {IFillSolid::eFromTop, {"L3", "L2", "L1"}},
        {IFillSolid::eBottomAndTop, {"L1", "L2", "L3", "L3", "L2", "L1"}},
        {IFillSolid::eFromMidplane, {"L3", "L2", "L1", "L1", "L2", "L3"}},
    };
    const double down[3] = {0, 0, -1};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.mode));
        fillsolid::Filler f = Strip(layers, c.mode, down);
        RecordingGUI gui;
        CKpLayup model(nullptr, &gui);
        ASSERT_EQ(f->CreateLayup(&model), 0);
        const ModelSummary s = Summarize(model);
        EXPECT_EQ(s.layup, c.layup);
        // The column normals point up, against the reference z.
        EXPECT_EQ(s.sides, std::vector<int>(c.layup.size(), -1));
    }
}

TEST(FillSolidLayup, FailuresLeaveTheModelAlone) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    fillsolid::Filler f = fillsolid::Make();
    EXPECT_EQ(f->CreateLayup(nullptr), 3);
    EXPECT_EQ(fillsolid::LastMessage(*f), "CreateLayup: no layup model given");
    EXPECT_EQ(f->CreateLayup(&model), 1);
    EXPECT_EQ(fillsolid::LastMessage(*f), "Midplane has not been contstructed");
    int elems = -1;
    model.GetNumElems(&elems);
    EXPECT_EQ(elems, 0);
}

namespace {

// A layup model that refuses every new mesh, as one that cannot take the
// mid-surface would; everything else is the real model.
class RefusingLayup : public CKpLayup {
  public:
    using CKpLayup::CKpLayup;
    int NewLayupMesh(int, const int*, const double*, int, const int*, const int*, const int*, int,
                     const int*, double, double) override {
        ++calls;
        return -1;
    }
    int calls = 0;
};

}  // namespace

TEST(FillSolidLayup, RefusedMeshWritesNothing) {
    const std::vector<stackfile::Layer> layers = {{"B1", "UD1", 0.125, 0},
                                                  {"B2", "UD1", 0.25, 45}};
    const double up[3] = {0, 0, 1};
    fillsolid::Filler f = Strip(layers, IFillSolid::eFromBottom, up);
    RecordingGUI gui;
    RefusingLayup model(nullptr, &gui);
    EXPECT_EQ(f->CreateLayup(&model), 2);
    EXPECT_EQ(model.calls, 1);
    EXPECT_EQ(fillsolid::LastMessage(*f), "Could not create the layup mesh");
    // Nothing of the layup was made: no materials, plies or layup plies.
    const ModelSummary s = Summarize(model);
    EXPECT_EQ(s.elems, 0);
    EXPECT_TRUE(s.materials.empty());
    EXPECT_TRUE(s.plies.empty());
    EXPECT_TRUE(s.layup.empty());
    // The same filler makes the layup in a model that takes the mesh.
    CKpLayup accepting(nullptr, &gui);
    ASSERT_EQ(f->CreateLayup(&accepting), 0);
    EXPECT_EQ(Summarize(accepting).layup.size(), 2u);
}
