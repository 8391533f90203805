#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
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
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

class LayupLaminateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        model = static_cast<CKpLayup*>(LayupSlotModel());
        model->pGra()->SetGUI(&gui);
        // A 4 x 1 plate: elements 1 and 3 on laminate "A" (id 10, three
        // layers), 4 on "B" (id 20, one layer), 2 on none.
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 0);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        ASSERT_EQ(LayupNewLayupMesh(m.numNodes(), nodeIds.data(), xyz.data(), m.numElems(),
                                    elemIds.data(), values.data(), tops.data(), m.width,
                                    rows.data(), 0.0f, 0.0f),
                  0);
        AddLam(20, "B", {7});
        AddLam(10, "A", {101, 102, 103});
        const int pids[] = {10, 0, 10, 20};
        for (int e = 1; e <= 4; ++e) model->pElems()->find(e)->pid(pids[e - 1]);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }
    void AddLam(int id, const char* name, const std::vector<int>& gplies) {
        CKpLam* lam = model->pLams()->New(id);
        ASSERT_NE(lam, nullptr);
        lam->name(name);
        for (int g : gplies) {
            CKpLamLyr* lyr = lam->LamLyrs()->New();
            lyr->setT(0.1);
            lyr->setGplyid(g);
            lyr->setMid(5);
        }
    }

    CKpLayup* model = nullptr;
    RecordingGUI gui;
};

TEST_F(LayupLaminateTest, CountsBySource) {
    int count = -5, layers = -5;
    EXPECT_EQ(LayupGetNumLams2(2, &count, &layers), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(layers, 4);
    EXPECT_EQ(LayupGetNumLams2(2, nullptr, nullptr), 0);
    for (int source : {1, 4}) {
        count = layers = -5;
        EXPECT_EQ(LayupGetNumLams2(source, &count, &layers), 1);
        EXPECT_EQ(count, -5);
        EXPECT_EQ(layers, -5);
    }
    count = layers = 0;
    EXPECT_EQ(LayupGetNumLams(&count, &layers), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(layers, 4);
    int largest = -1;
    EXPECT_EQ(LayupGetLamElemSize(&largest), 0);
    EXPECT_EQ(largest, 3);
}

TEST_F(LayupLaminateTest, ElementQueries) {
    EXPECT_EQ(LayupGetLamElemGPlyId(3, 0), 101);
    EXPECT_EQ(LayupGetLamElemGPlyId(3, 2), 103);
    EXPECT_EQ(LayupGetLamElemGPlyId(3, 3), 0);  // at the layer count
    EXPECT_EQ(LayupGetLamElemGPlyId(3, -1), 0);
    EXPECT_EQ(LayupGetLamElemGPlyId(4, 0), 7);
    EXPECT_EQ(LayupGetLamElemGPlyId(2, 0), 0);   // no laminate
    EXPECT_EQ(LayupGetLamElemGPlyId(99, 0), 0);  // no element

    // A name twice, an unknown one: one running position over all.
    char a[] = "A", b[] = "B", none[] = "none";
    char* names[] = {b, a, none, a};
    int counts[4] = {-1, -1, -1, -1};
    int ids[6] = {0, 0, 0, 0, 0, -7};
    EXPECT_EQ(LayupGetLamsElems(4, names, counts, ids), 0);
    EXPECT_EQ(std::vector<int>(counts, counts + 4), (std::vector<int>{1, 2, 0, 2}));
    EXPECT_EQ(std::vector<int>(ids, ids + 6), (std::vector<int>{4, 1, 3, 1, 3, -7}));
}

TEST_F(LayupLaminateTest, ResetClearAndEmptySlot) {
    EXPECT_EQ(LayupVerifyLaminateReset(), 0);
    EXPECT_EQ(LayupVerifyLaminateReset(), 0);
    ASSERT_EQ(gui.drawsOf("deleteSegment").size(), 2u);
    EXPECT_EQ(gui.drawsOf("deleteSegment")[0].segment, 705);
    EXPECT_EQ(LayupClearLaminate(), 0);

    LayupDestruct();
    int n = -3, largest = -3, counts[1] = {-3};
    EXPECT_EQ(LayupClearLaminate(), 1);
    EXPECT_EQ(LayupGetNumLams2(2, &n, &n), 1);
    EXPECT_EQ(LayupGetLamElemGPlyId(1, 0), 1);
    EXPECT_EQ(LayupGetLamElemSize(&largest), 1);
    EXPECT_EQ(LayupGetLamsElems(1, nullptr, counts, nullptr), 1);
    EXPECT_EQ(LayupVerifyLaminateReset(), 1);
    EXPECT_EQ(n, -3);
    EXPECT_EQ(largest, -3);
    EXPECT_EQ(counts[0], -3);
}

}  // namespace

namespace {

TEST_F(LayupLaminateTest, LaminateWithItsLayers) {
    CKpMat* mat = model->pMats()->New(5);
    ASSERT_NE(mat, nullptr);
    mat->SetName("Carbon");
    mat->setExtmtrlnm("T300");
    CKpLam* a = model->pLams()->find(10);
    a->LamLyrs()->Get(1)->setTheta(-3.14159265358979323846 / 4);
    a->nsm(0.25);
    a->lamopt(3);

    char name[16] = "A";
    char m0[16], m1[16], m2[16], e0[16], e1[16], e2[16];
    char* mats[] = {m0, m1, m2};
    char* ext[] = {e0, e1, e2};
    float offset = 9, nsm = 0, thick[3] = {}, angle[3] = {9, 9, 9};
    int n = 0, opt = 0, gply[3] = {};
    EXPECT_EQ(LayupGetLam(name, &offset, &nsm, nullptr, nullptr, nullptr, nullptr, &opt, &n, mats,
                          ext, thick, angle, gply),
              0);
    EXPECT_STREQ(name, "A");
    EXPECT_FLOAT_EQ(offset, -0.15f);  // no offset given: minus half of 0.3
    EXPECT_FLOAT_EQ(nsm, 0.25f);
    EXPECT_EQ(opt, 3);
    EXPECT_EQ(n, 3);
    EXPECT_STREQ(m2, "Carbon");
    EXPECT_STREQ(e1, "T300");
    EXPECT_FLOAT_EQ(thick[0], 0.1f);
    EXPECT_FLOAT_EQ(angle[1], -45.0f);
    EXPECT_EQ(gply[2], 103);

    char unknown[16] = "Z";
    offset = 9;
    n = 9;
    EXPECT_EQ(LayupGetLam(unknown, &offset, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          &n, nullptr, nullptr, nullptr, nullptr, nullptr),
              -1);
    EXPECT_EQ(offset, 0.0f);
    EXPECT_EQ(n, 0);

    // Element 2 has no laminate: its normal, an empty name.
    float normal[3] = {9, 9, 9};
    char lamName[16] = "junk";
    EXPECT_EQ(LayupGetLamElem(2, normal, &offset, lamName, &n, nullptr, nullptr, nullptr, nullptr,
                              nullptr),
              -1);
    EXPECT_EQ(std::vector<float>(normal, normal + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_STREQ(lamName, "");
    EXPECT_EQ(LayupGetLamElem(4, normal, &offset, lamName, &n, nullptr, ext, nullptr, angle, gply),
              0);
    EXPECT_STREQ(lamName, "B");
    EXPECT_EQ(n, 1);
    EXPECT_STREQ(e0, "T300");
    EXPECT_EQ(gply[0], 7);
    EXPECT_EQ(LayupGetLamElem(99, normal, &offset, lamName, &n, nullptr, nullptr, nullptr, nullptr,
                              nullptr),
              -1);
    EXPECT_EQ(normal[2], 0.0f);
}

TEST_F(LayupLaminateTest, MissingLayerMaterialStopsAtThatLayer) {
    CKpMat* mat = model->pMats()->New(5);
    ASSERT_NE(mat, nullptr);
    mat->SetName("Carbon");
    model->pLams()->find(10)->LamLyrs()->Get(1)->setMid(6);
    char name[16] = "A";
    float thick[3] = {-1, -1, -1};
    int n = 0;
    EXPECT_EQ(LayupGetLam(name, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n,
                          nullptr, nullptr, thick, nullptr, nullptr),
              -1);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::vector<float>(thick, thick + 3), (std::vector<float>{0.1f, -1, -1}));
}

}  // namespace

namespace {

TEST_F(LayupLaminateTest, AllLaminatesFlatWithFoldedAngles) {
    CKpMat* mat = model->pMats()->New(5);
    ASSERT_NE(mat, nullptr);
    mat->SetName("Carbon");  // no external name
    const double rad = 3.14159265358979323846 / 180.0;
    CKpLam* a = model->pLams()->find(10);
    a->LamLyrs()->Get(0)->setTheta(100 * rad);
    a->LamLyrs()->Get(1)->setTheta(-135 * rad);
    a->LamLyrs()->Get(2)->setMid(0);  // no material
    model->pLams()->find(20)->z0(0.5);
    const std::string log = ::testing::TempDir() + "lams_" + std::to_string(::getpid()) + ".msg";
    ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);

    std::vector<std::vector<char>> store(2 * 4 + 2 * 4 + 4 * 2, std::vector<char>(32, '#'));
    std::vector<char*> p;
    for (auto& s : store) p.push_back(s.data());
    char** names = &p[0];
    char** descs = &p[2];
    char** offsets = &p[4];
    char** actions = &p[6];
    char** mats = &p[8];
    char** ext = &p[12];
    int flags[2] = {}, counts[2] = {}, gply[4] = {};
    float thick[4] = {}, angle[4] = {};
    EXPECT_EQ(LayupGetLams2(2, 0, 0, names, descs, flags, counts, mats, ext, thick, angle, gply,
                            offsets, actions),
              0);
    // Ascending id: "A" (10) first.
    EXPECT_STREQ(names[0], "A");
    EXPECT_STREQ(names[1], "B");
    EXPECT_STREQ(descs[1], "generated by Plystrand");
    EXPECT_STREQ(actions[0], "Create");
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(std::vector<int>(counts, counts + 2), (std::vector<int>{3, 1}));
    EXPECT_FLOAT_EQ(angle[0], -80.0f);
    EXPECT_FLOAT_EQ(angle[1], 45.0f);
    EXPECT_STREQ(mats[2], "NO MAT REF");
    EXPECT_STREQ(ext[2], "NO MAT REF");
    EXPECT_STREQ(mats[3], "Carbon");
    EXPECT_STREQ(ext[0], "Carbon");
    EXPECT_EQ(std::vector<int>(gply, gply + 4), (std::vector<int>{101, 102, 103, 7}));
    EXPECT_EQ(std::string(offsets[1]), std::string(13, ' ') + "0.5");
    EXPECT_EQ(std::string(offsets[0]), std::string(11, ' ') + "-0.15");
    ASSERT_EQ(LayupCloseMessage(), 0);
    std::ifstream in(log);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(log.c_str());
    size_t notes = 0;
    const std::string note =
        "The external material name for material Carbon is not set, using material name.";
    for (size_t at = text.find(note); at != std::string::npos; at = text.find(note, at + 1))
        ++notes;
    EXPECT_GE(notes, 1u);  // the log folds the repeats

    // No solids generated: the solid generation's store is empty.
    int n = -1, layers = -1;
    EXPECT_EQ(LayupGetNumLams2(3, &n, &layers), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(layers, 0);
    names[0][0] = '#';
    EXPECT_EQ(LayupGetLams2(3, 0, 0, names, descs, flags, counts, mats, ext, thick, angle, gply,
                            offsets, actions),
              0);
    EXPECT_EQ(names[0][0], '#');
}

}  // namespace

namespace {

TEST_F(LayupLaminateTest, VerificationDrawsAndSummarises) {
    // Only the rule "no 0-degree layers": every layer here lies at 0.
    int tests[10] = {}, colours[10] = {};
    float limits[20] = {}, widths[10] = {};
    tests[8] = 1;
    colours[8] = 3;
    float direction[3] = {1, 0, 0};
    int size = 0;
    std::vector<int> results(33, -9);
    EXPECT_EQ(LayupVerifyLaminate(-1, nullptr, direction, 5.0f, 5.0f, tests, colours, limits,
                                  widths, &size, results.data()),
              0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(results[0], -9);
    // One outline per element with a laminate (2 has none).
    const std::vector<RecordingGUI::DrawCall> outlines = gui.drawsOf("polygon");
    EXPECT_EQ(outlines.size(), 3u);
    for (const RecordingGUI::DrawCall& d : outlines) {
        EXPECT_EQ(d.segment, 705);
        EXPECT_EQ(d.colour, 3);
    }

    size = 10;  // not room for one record
    EXPECT_EQ(LayupVerifyLaminate(-1, nullptr, direction, 5.0f, 5.0f, tests, colours, limits,
                                  widths, &size, results.data()),
              0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(results[0], -9);

    size = 33;
    EXPECT_EQ(LayupVerifyLaminate(-1, nullptr, direction, 5.0f, 5.0f, tests, colours, limits,
                                  widths, &size, results.data()),
              0);
    ASSERT_EQ(size, 33);
    for (int r = 0; r < 3; ++r) {
        EXPECT_EQ(results[11 * r], (std::vector<int>{1, 3, 4})[r]);
        for (int k = 0; k < 10; ++k) EXPECT_EQ(results[11 * r + 1 + k], k == 8 ? 2 : 0);
    }
}

}  // namespace

namespace {

TEST_F(LayupLaminateTest, CreateLaminateCountsWhatTheSetHolds) {
    int options[6] = {1, 0, 0, 0, 0, 0};
    float v0[3] = {1, 0, 0}, v1[3] = {0, 1, 0}, sw = 45, tol = 1, thick = 5;
    char name[] = "gen";
    int out[9];
    for (int& o : out) o = -7;
    const int rc = LayupCreateLaminate(-1, nullptr, name, options, 0, 0, 0, v0, v1, &sw, &tol,
                                       &thick, 1, 1, 1, 1, 0, 0, 0, &out[0], &out[1], &out[2],
                                       &out[3], &out[4], &out[5], &out[6], &out[7], &out[8]);
    ASSERT_EQ(rc, 0);
    int lams = -1, layers = -1, mats = -1;
    EXPECT_EQ(LayupGetNumLams(&lams, &layers), 0);
    EXPECT_EQ(LayupGetNumMats(&mats), 0);
    EXPECT_EQ(out[3], mats);
    EXPECT_EQ(out[4], lams);
    EXPECT_EQ(out[5], layers);
    for (int k = 6; k < 9; ++k) EXPECT_GE(out[k], 0);  // never left unset
}

}  // namespace

namespace {

TEST_F(LayupLaminateTest, CompressionNeedsADatabase) {
    int count = -4, ids[2] = {-4, -4}, heads[2] = {-4, -4};
    EXPECT_EQ(LayupCompressLaminate(5.0f, 1.0f, &count, ids, heads), -1);
    int errors = 0;
    for (const morvekstub::Message& m : morvekstub::Messages())
        errors += m.severity == 4 &&
                  m.text == "LayupCompressLaminate() only usable with attached database.";
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(count, -4);
    EXPECT_EQ(ids[0], -4);
    // The model keeps its laminates and references.
    int lams = 0, layers = 0;
    EXPECT_EQ(LayupGetNumLams(&lams, &layers), 0);
    EXPECT_EQ(lams, 2);
    EXPECT_EQ(LayupGetLamElemGPlyId(4, 0), 7);
}

}  // namespace
