#include "host/LayupSolid.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
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
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpSolidGenSet.h"
#include "platform/MorvekStub.h"
#include "tests/support/LaidPlies.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

const double kPi = 3.14159265358979323846;

// The slot's model on a 3 x 1 plate of unit quads (elements 1-3).
class LayupSolidTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        model = static_cast<CKpLayup*>(LayupSlotModel());
        model->pGra()->SetGUI(&gui);
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 3, 1, 3.0, 1.0);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 0);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        ASSERT_EQ(LayupNewLayupMesh(m.numNodes(), nodeIds.data(), xyz.data(), m.numElems(),
                                    elemIds.data(), values.data(), tops.data(), m.width,
                                    rows.data(), 0.0f, 0.0f),
                  0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }

    // The settings every call below uses, with the snap nodes of each test.
    struct Settings {
        int elems[2] = {1, 2};
        int snap = 1;
        int nSnap = 2;
        int snapIds[2] = {5, 6};
        int snapCounts[2] = {1, 2};
        float snapValues[4] = {0.5f, 0.0f, -0.125f, 0.75f};
        int options[6] = {1, 2, 3, 4, 5, 6};
        float v1[3] = {1, 0, 0};
        float v2[3] = {0, 1, 0.5f};
        float switchAngle = 30.0f;
    };
    int Create(Settings& s, int* ids, int* counts, float* values) {
        return LayupCreateSolidModel(2, s.elems, "unused", 100, 200, 2, 3, 1, 1, "Resin", 1, 0.25f,
                                     s.snap, 0.05f, s.nSnap, ids, counts, values, "SOL", s.options,
                                     3, s.v1, s.v2, s.switchAngle, 2.5f, 5.0f, 7, 8, 9, 1, 0, 1);
    }
    int Create(Settings& s) { return Create(s, s.snapIds, s.snapCounts, s.snapValues); }

    std::vector<std::string> MessageLines(const std::string& path) {
        std::ifstream in(path);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        std::remove(path.c_str());
        return lines;
    }
    std::string LogPath(const char* tag) {
        return ::testing::TempDir() + tag + std::to_string(::getpid()) + ".msg";
    }

    CKpLayup* model = nullptr;
    RecordingGUI gui;
};

TEST_F(LayupSolidTest, SettingsAreLoggedInDegreesAndReachTheSettingsInRadians) {
    const std::string log = LogPath("solid_log_");
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);
    Settings s;
    EXPECT_EQ(Create(s), 0);
    ASSERT_EQ(LayupCloseMessage(), 0);
    const std::vector<std::string> lines = MessageLines(log);
    const std::vector<std::string> want = {
        "$# CreateSolidElements:",
        "$#  ext_mthd: 2",
        "$#  num_thru_elems: 3",
        "$#  enforce_contin: 1",
        "$#  fill_voids: 1",
        "$#  fill_voids_mat: Resin",
        "$#  smooth_faces: 1",
        "$#  smooth_faces_val: 0.25",
        "$#  snap_faces: 1",
        "$#  snap_faces_tol: 0.05",
        "$#  num_sel_nodes: 2",
        "$#  nodes id:      5 num_ints 1 int_vals          0.5            0",
        "$#  nodes id:      6 num_ints 2 int_vals       -0.125         0.75",
        "$#  prefix: SOL",
        "$#  ep_ids: 1 2 3 4 5 6",
        "$#  prop_mode: 3",
        "$#  vector_1: 1 0 0",
        "$#  vector_2: 0 1 0.5",
        "$#  switch_angle: 30",
        "$#  angtol: 2.5",
        "$#  thktol: 5",
        "$#  first_coord_id: 7",
        "$#  first_lam_id: 8",
        "$#  first_prop_id: 9",
        "$#  ignore_thick: 1",
        "$#  eql_spcd_vars: 0",
        "$#  shear_corr: 1",
    };
    const auto first = std::find(lines.begin(), lines.end(), want[0]);
    ASSERT_NE(first, lines.end());
    ASSERT_GE(lines.end() - first, static_cast<long>(want.size()));
    for (size_t k = 0; k < want.size(); ++k) EXPECT_EQ(*(first + k), want[k]) << k;

    const CKpSolidGenSet* set = model->pSolidGenSet();
    EXPECT_NEAR(set->GetSwitchAngle(), 30.0 * kPi / 180.0, 1e-7);
    EXPECT_NEAR(set->GetAngleTolerance(), 2.5 * kPi / 180.0, 1e-8);
    ASSERT_EQ(set->GetSnapCount(), 2);
    EXPECT_EQ(std::vector<double>(set->GetSnapValues(), set->GetSnapValues() + 4),
              (std::vector<double>{0.5, 0.0, -0.125, 0.75}));
    EXPECT_EQ(set->GetPropertyMode(), 3);
    EXPECT_EQ(set->GetExtrusionMethod(), 2);
    // Snapping writes the model's results to the host once.
    EXPECT_EQ(MorvekStubCallCount("ResUtlCClearResult"), 1);
}

TEST_F(LayupSolidTest, WithoutSnapNodesTheCountLineStaysAndNothingGoesToTheHost) {
    const std::string log = LogPath("solid_nosnap_");
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);
    Settings s;
    s.snap = 0;
    s.nSnap = 0;
    EXPECT_EQ(Create(s, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(LayupCloseMessage(), 0);
    const std::vector<std::string> lines = MessageLines(log);
    const auto count = std::find(lines.begin(), lines.end(), "$#  num_sel_nodes: 0");
    ASSERT_NE(count, lines.end());
    ASSERT_NE(count + 1, lines.end());
    EXPECT_EQ(*(count + 1), "$#  prefix: SOL");
    EXPECT_EQ(model->pSolidGenSet()->GetSnapCount(), 0);
    EXPECT_EQ(MorvekStubCallCount("ResUtlCClearResult"), 0);
}

TEST_F(LayupSolidTest, SnapNodesWithoutTheirArraysAreRefusedBeforeAnySetting) {
    Settings s;
    ASSERT_EQ(Create(s), 0);
    const size_t before = morvekstub::Messages().size();
    const std::string log = LogPath("solid_refuse_");
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);
    s.switchAngle = 60.0f;
    EXPECT_EQ(Create(s, s.snapIds, nullptr, s.snapValues), -1);
    const std::vector<morvekstub::Message>& msgs = morvekstub::Messages();
    ASSERT_EQ(msgs.size(), before + 1);
    EXPECT_EQ(msgs.back().severity, 4);
    EXPECT_EQ(msgs.back().text,
              "CreateSolidElements: 2 snap nodes given without their ids, counts or values.");
    EXPECT_EQ(Create(s, s.snapIds, s.snapCounts, nullptr), -1);
    EXPECT_EQ(Create(s, nullptr, s.snapCounts, s.snapValues), -1);
    ASSERT_EQ(LayupCloseMessage(), 0);
    const std::vector<std::string> lines = MessageLines(log);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "$# CreateSolidElements:"), 0);
    EXPECT_EQ(std::count(lines.begin(), lines.end(),
                         "$# ERROR: CreateSolidElements: 2 snap nodes given without their ids, "
                         "counts or values."),
              1);  // the log folds the repeats
    // The settings of the first call stand.
    const CKpSolidGenSet* set = model->pSolidGenSet();
    EXPECT_NEAR(set->GetSwitchAngle(), 30.0 * kPi / 180.0, 1e-7);
    EXPECT_EQ(set->GetSnapCount(), 2);
    EXPECT_EQ(MorvekStubCallCount("ResUtlCClearResult"), 1);
}

TEST_F(LayupSolidTest, GeneratedSolidLaminatesAreListedAsSourceThree) {
    CKpMat* mat = laidplies::Material(*model, "Carbon", 0.5);
    ASSERT_EQ(laidplies::Lay(*model, "A", mat, {1, 2, 3}, 41), 0);
    ASSERT_EQ(
        laidplies::Lay(*model, "B", laidplies::Material(*model, "Glass", 0.25), {1, 2, 3}, 42), 0);
    Settings s;
    s.snap = 0;
    s.nSnap = 0;
    const int all = -1;
    EXPECT_EQ(LayupCreateSolidModel(all, nullptr, "", 1, 1, 3, 1, 0, 0, "", 0, 0.0f, 0, 0.0f, 0,
                                    nullptr, nullptr, nullptr, "S", s.options, 3, s.v1, s.v2, 0.0f,
                                    0.0f, 0.0f, 1, 1, 1, 0, 0, 0),
              0);
    int nodes = 0, solids = 0, width = 0;
    ASSERT_EQ(model->GetSolidGenSet()->GetMeshSizes(nodes, solids, width), 0);
    ASSERT_EQ(solids, 6);  // one per ply and shell

    // Every solid holds one ply: laminates of one layer, 0.5 or 0.25 thick.
    int lams = 0, layers = 0;
    ASSERT_EQ(LayupGetNumLams2(3, &lams, &layers), 0);
    ASSERT_GE(lams, 2);
    EXPECT_EQ(layers, lams);
    std::vector<std::vector<char>> text(static_cast<size_t>(6 * lams), std::vector<char>(64));
    std::vector<char*> p;
    for (auto& t : text) p.push_back(t.data());
    std::vector<int> flags(lams), counts(lams), gply(lams);
    std::vector<float> thick(lams), angle(lams);
    char** names = &p[0];
    char** mats = &p[static_cast<size_t>(lams)];
    EXPECT_EQ(LayupGetLams2(3, 0, 0, names, &p[2 * static_cast<size_t>(lams)], flags.data(),
                            counts.data(), mats, &p[3 * static_cast<size_t>(lams)], thick.data(),
                            angle.data(), gply.data(), &p[4 * static_cast<size_t>(lams)],
                            &p[5 * static_cast<size_t>(lams)]),
              0);
    std::set<std::string> matNames;
    for (int k = 0; k < lams; ++k) {
        EXPECT_EQ(counts[k], 1);
        EXPECT_TRUE(thick[k] == 0.5f || thick[k] == 0.25f) << thick[k];
        EXPECT_STREQ(mats[k], thick[k] == 0.5f ? "Carbon" : "Glass");
        EXPECT_EQ(gply[k], thick[k] == 0.5f ? 41 : 42);
        matNames.insert(mats[k]);
    }
    EXPECT_EQ(matNames.size(), 2u);
    // The shells' own laminate store is not the solids'.
    int shellLams = -1;
    ASSERT_EQ(LayupGetNumLams2(2, &shellLams, nullptr), 0);
    EXPECT_EQ(shellLams, 0);
}

TEST_F(LayupSolidTest, NodesOfASelectionInIdOrderWithUnitNormals) {
    int ids[2] = {1, 2};
    int count = -1;
    ASSERT_EQ(LayupGetNumSelNodes(2, ids, &count), 0);
    EXPECT_EQ(count, 6);  // two quads sharing an edge

    // The reference: the selected elements' node ids, lowest first.
    std::set<int> want;
    for (int e : {1, 2}) {
        const CKpElem* elem = model->pElems()->find(e);
        for (int i = 0; i < elem->getnnod(); ++i) want.insert(elem->getunid(i));
    }
    ASSERT_EQ(want.size(), 6u);
    int nodeIds[4] = {-7, -7, -7, -7};
    std::vector<float> pos(12, -7.0f), normal(12, -7.0f);
    ASSERT_EQ(LayupGetSelNodeData(3, nodeIds, pos.data(), normal.data()), 0);
    auto id = want.begin();
    for (int k = 0; k < 3; ++k, ++id) {
        EXPECT_EQ(nodeIds[k], *id);
        const CKpNode* node = model->pNodes()->find(*id);
        ASSERT_NE(node, nullptr);
        EXPECT_FLOAT_EQ(pos[3 * k], static_cast<float>(node->getCKpPointX()));
        EXPECT_FLOAT_EQ(pos[3 * k + 1], static_cast<float>(node->getCKpPointY()));
        EXPECT_FLOAT_EQ(pos[3 * k + 2], static_cast<float>(node->getCKpPointZ()));
        const float* n = &normal[3 * k];
        EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0, 1e-6);
        EXPECT_NEAR(std::fabs(n[2]), 1.0, 1e-6);  // the plate lies in z = 0
    }
    EXPECT_EQ(nodeIds[3], -7);
    EXPECT_EQ(pos[9], -7.0f);
    EXPECT_EQ(normal[9], -7.0f);

    // The whole selection with room to spare; nothing past it is touched.
    int all[8];
    std::fill(all, all + 8, -7);
    std::vector<float> pos8(24, -7.0f), normal8(24, -7.0f);
    ASSERT_EQ(LayupGetSelNodeData(8, all, pos8.data(), normal8.data()), 0);
    EXPECT_EQ(std::vector<int>(all, all + 6), std::vector<int>(want.begin(), want.end()));
    EXPECT_EQ(all[6], -7);
    EXPECT_EQ(pos8[18], -7.0f);
}

TEST_F(LayupSolidTest, ShellsOfPointsWithinTheirPlyStack) {
    CKpMat* mat = laidplies::Material(*model, "Carbon", 0.1);
    ASSERT_EQ(laidplies::Lay(*model, "A", mat, {1}), 0);
    ASSERT_EQ(laidplies::Lay(*model, "B", mat, {1}), 0);
    // Element 1: stack 0.2 about its mid surface, -0.1 to 0.1; element 2
    // has no plies.
    ASSERT_NEAR(model->pElems()->find(1)->off(), -0.1, 1e-12);
    const std::vector<float> points = {
        0.5f, 0.5f, 0.0f,    // on the reference surface
        0.5f, 0.5f, 0.09f,   // inside, above
        0.5f, 0.5f, -0.09f,  // inside, below
        0.5f, 0.5f, 0.11f,   // beyond offset + thickness
        0.5f, 0.5f, -0.11f,  // below the offset
        1.5f, 0.5f, 0.0f,    // element 2, no plies
        9.0f, 0.5f, 0.0f,    // off the surface
    };
    std::vector<int> ids(7, -3);
    EXPECT_EQ(LayupGetSolidShells(7, const_cast<float*>(points.data()), ids.data()), 0);
    EXPECT_EQ(ids, (std::vector<int>{1, 1, 1, -3, -3, -3, -3}));

    // An offset of 0 at the bottom face: the stack runs 0 to 0.2.
    model->pElems()->find(1)->setoff_fg(1);
    std::vector<int> again(7, -3);
    EXPECT_EQ(LayupGetSolidShells(7, const_cast<float*>(points.data()), again.data()), 0);
    EXPECT_EQ(again, (std::vector<int>{1, 1, -3, 1, -3, -3, -3}));
}

TEST_F(LayupSolidTest, EmptySlotDoesNothing) {
    LayupDestruct();
    Settings s;
    int count = -5, ids[1] = {-5};
    float xyz[3] = {0, 0, 0};
    EXPECT_EQ(Create(s), 1);
    EXPECT_EQ(LayupGetNumSelNodes(1, ids, &count), 1);
    EXPECT_EQ(LayupGetSelNodeData(1, ids, xyz, xyz), 1);
    EXPECT_EQ(LayupGetSolidShells(1, xyz, ids), 1);
    EXPECT_EQ(count, -5);
    EXPECT_EQ(ids[0], -5);
}

}  // namespace
