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
#include "layuplib/IVekCoordStore.h"
#include "layuplib/IVekField.h"
#include "layuplib/IVekFieldStore.h"
#include "layuplib/IVekMaterialState.h"
#include "layuplib/IVekMaterialStateStore.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPropGenSet.h"
#include "layuplib/IVekPropertySet.h"
#include "layuplib/IVekPropertySetStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/LaidPlies.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

class LayupLaminateTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        Build();
    }
    // The slot's model (the database adapter takes the database open now).
    void Build() {
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

// The version without a source reads the model's own laminates (the solid
// generation has none here), layer by layer as the numbered one does.
TEST_F(LayupLaminateTest, GetLamsWithoutSourceReadsTheModelsLaminates) {
    CKpMat* mat = model->pMats()->New(5);
    ASSERT_NE(mat, nullptr);
    mat->SetName("Carbon");
    mat->setExtmtrlnm("T300");
    const double rad = 3.14159265358979323846 / 180.0;
    CKpLam* a = model->pLams()->find(10);
    a->LamLyrs()->Get(0)->setTheta(30 * rad);
    a->LamLyrs()->Get(1)->setT(0.2);
    a->LamLyrs()->Get(2)->setTheta(-60 * rad);
    model->pLams()->find(20)->LamLyrs()->Get(0)->setTheta(90 * rad);
    model->pLams()->find(20)->z0(-0.25);

    struct Out {
        std::vector<std::vector<char>> store =
            std::vector<std::vector<char>>(4 * 2 + 2 * 4, std::vector<char>(32, '#'));
        std::vector<char*> p;
        int flags[2] = {-1, -1}, counts[2] = {-1, -1}, gply[4] = {-1, -1, -1, -1};
        float thick[4] = {-1, -1, -1, -1}, angle[4] = {-1, -1, -1, -1};
        Out() {
            for (auto& s : store) p.push_back(s.data());
        }
        char** names() { return &p[0]; }
        char** descs() { return &p[2]; }
        char** offsets() { return &p[4]; }
        char** actions() { return &p[6]; }
        char** mats() { return &p[8]; }
        char** ext() { return &p[12]; }
    };
    Out old, two;
    // The two int arguments are not read.
    ASSERT_EQ(LayupGetLams(-7, 99, old.names(), old.descs(), old.flags, old.counts, old.mats(),
                           old.ext(), old.thick, old.angle, old.gply, old.offsets(), old.actions()),
              0);
    EXPECT_STREQ(old.names()[0], "A");
    EXPECT_STREQ(old.names()[1], "B");
    EXPECT_STREQ(old.descs()[0], "generated by Plystrand");
    EXPECT_STREQ(old.actions()[1], "Create");
    EXPECT_EQ(std::vector<int>(old.flags, old.flags + 2), (std::vector<int>{1, 1}));
    EXPECT_EQ(std::vector<int>(old.counts, old.counts + 2), (std::vector<int>{3, 1}));
    EXPECT_EQ(std::vector<int>(old.gply, old.gply + 4), (std::vector<int>{101, 102, 103, 7}));
    EXPECT_EQ(std::vector<float>(old.thick, old.thick + 4),
              (std::vector<float>{0.1f, 0.2f, 0.1f, 0.1f}));
    EXPECT_NEAR(old.angle[0], 30.0f, 1e-4);
    EXPECT_NEAR(old.angle[1], 0.0f, 1e-4);
    EXPECT_NEAR(old.angle[2], -60.0f, 1e-4);
    EXPECT_NEAR(old.angle[3], 90.0f, 1e-4);
    for (int k = 0; k < 4; ++k) {
        EXPECT_STREQ(old.mats()[k], "Carbon") << k;
        EXPECT_STREQ(old.ext()[k], "T300") << k;
    }
    // "A" without an offset: minus half its 0.4 thickness.
    EXPECT_EQ(std::string(old.offsets()[0]), std::string(12, ' ') + "-0.2");
    EXPECT_EQ(std::string(old.offsets()[1]), std::string(11, ' ') + "-0.25");

    // Entry for entry what the numbered version gives for source 2.
    ASSERT_EQ(
        LayupGetLams2(2, 0, 0, two.names(), two.descs(), two.flags, two.counts, two.mats(),
                      two.ext(), two.thick, two.angle, two.gply, two.offsets(), two.actions()),
        0);
    for (size_t k = 0; k < old.store.size(); ++k) EXPECT_STREQ(old.p[k], two.p[k]) << k;
    EXPECT_EQ(std::vector<float>(old.angle, old.angle + 4),
              std::vector<float>(two.angle, two.angle + 4));

    LayupDestruct();
    Out none;
    EXPECT_EQ(
        LayupGetLams(0, 0, none.names(), none.descs(), none.flags, none.counts, none.mats(),
                     none.ext(), none.thick, none.angle, none.gply, none.offsets(), none.actions()),
        1);
    EXPECT_EQ(none.counts[0], -1);
    EXPECT_EQ(none.names()[0][0], '#');
}

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

namespace {

// A stand-in database holding the fixture's four elements, with laminates
// of one Carbon layer of the given thicknesses: laminate 11 + k on element
// 1 + k (element 4 stays without one).
std::string CompressionFixture(const std::vector<double>& thicknesses) {
    const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0);
    std::string text;
    char line[256];
    for (int n = 0; n < m.numNodes(); ++n) {
        std::snprintf(line, sizeof line, "node %d %g %g %g\n", m.nodeIds[n], m.xyz[3 * n],
                      m.xyz[3 * n + 1], m.xyz[3 * n + 2]);
        text += line;
    }
    for (int e = 0; e < m.numElems(); ++e) {
        std::snprintf(line, sizeof line, "elem %d 4", m.elemIds[e]);
        text += line;
        for (int i = 0; i < 4; ++i) text += " " + std::to_string(m.connectivity[m.width * e + i]);
        text += "\n";
    }
    text += "mat 1 \"Carbon\" \"\" 5 4 0\n";
    for (size_t k = 0; k < thicknesses.size(); ++k) {
        const int id = 11 + static_cast<int>(k);
        std::snprintf(line, sizeof line,
                      "mat %d \"L%d\" \"\" 6 5 1\nmatword %d 40 1\nlam %d 0 1\n"
                      "lamlayer %d 1 %.9g 0 1\nregion %d \"L%d\"\n"
                      "word %d 13 5 %d 0 0 0 0 0\nmember %d %d\n",
                      id, id, id, id, id, thicknesses[k], id, id, id, id, id,
                      static_cast<int>(k) + 1);
        text += line;
    }
    return text;
}

class LayupCompressTest : public LayupLaminateTest {
  protected:
    void Load(const std::vector<double>& thicknesses) {
        const std::string path =
            ::testing::TempDir() + "compress_" + std::to_string(::getpid()) + ".db";
        {
            std::ofstream out(path);
            out << CompressionFixture(thicknesses);
        }
        LayupDestruct();
        MorvekStubOpenDatabase("compress.db");
        ASSERT_EQ(MorvekStubLoadDatabase(path.c_str()), 0);
        std::remove(path.c_str());
        Build();
        ASSERT_EQ(model->pLams()->entries(), 2);
    }
    // The model keeps no laminate and no element refers to one.
    void ExpectNoLaminates() {
        EXPECT_EQ(model->pLams()->entries(), 0);
        for (int e = 1; e <= 4; ++e) EXPECT_EQ(model->pElems()->find(e)->pid(), 0) << e;
    }
};

TEST_F(LayupCompressTest, EachLaminateMapsToTheHeadOfItsGroup) {
    // 0.104 is within 5 % of 0.100, and 0.108 of 0.104 but not of 0.100:
    // each laminate is compared with its group's head only.
    Load({0.100, 0.104, 0.108});
    int count = -1, ids[3] = {}, heads[3] = {};
    EXPECT_EQ(LayupCompressLaminate(5.0f, 1.0f, &count, ids, heads), 0);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(std::vector<int>(ids, ids + 3), (std::vector<int>{11, 12, 13}));
    EXPECT_EQ(std::vector<int>(heads, heads + 3), (std::vector<int>{11, 11, 13}));
    ExpectNoLaminates();

    // Within 3 % none are equal.
    EXPECT_EQ(LayupCompressLaminate(3.0f, 1.0f, &count, ids, heads), 0);
    EXPECT_EQ(std::vector<int>(heads, heads + 3), (std::vector<int>{11, 12, 13}));
    // Within 10 % all three are.
    EXPECT_EQ(LayupCompressLaminate(10.0f, 1.0f, &count, ids, heads), 0);
    EXPECT_EQ(std::vector<int>(heads, heads + 3), (std::vector<int>{11, 11, 11}));
    ExpectNoLaminates();
}

TEST_F(LayupCompressTest, ALoneLaminateMapsToItself) {
    Load({0.25});
    int count = -1, ids[1] = {-1}, heads[1] = {-1};
    EXPECT_EQ(LayupCompressLaminate(5.0f, 1.0f, &count, ids, heads), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ids[0], 11);
    EXPECT_EQ(heads[0], 11);
    ExpectNoLaminates();
}

TEST_F(LayupCompressTest, ADatabaseWithoutLaminatesEmptiesTheModelsAll) {
    Load({});
    int count = -1, ids[1] = {-1}, heads[1] = {-1};
    EXPECT_EQ(LayupCompressLaminate(5.0f, 1.0f, &count, ids, heads), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ids[0], -1);
    ExpectNoLaminates();
}

}  // namespace

namespace {

// Three quads on three composite properties read from a bulk-data deck:
// PCOMP 1 with an offset of 0.5 and plies at 100 and -135 degrees, PCOMP 2
// without an offset, PCOMP 3 on a material the deck does not define.
const char kDeck[] =
    "BEGIN BULK\n"
    "GRID\t1\t\t0.\t0.\t0.\n"
    "GRID\t2\t\t1.\t0.\t0.\n"
    "GRID\t3\t\t2.\t0.\t0.\n"
    "GRID\t4\t\t3.\t0.\t0.\n"
    "GRID\t5\t\t0.\t1.\t0.\n"
    "GRID\t6\t\t1.\t1.\t0.\n"
    "GRID\t7\t\t2.\t1.\t0.\n"
    "GRID\t8\t\t3.\t1.\t0.\n"
    "CQUAD4\t1\t1\t1\t2\t6\t5\n"
    "CQUAD4\t2\t2\t2\t3\t7\t6\n"
    "CQUAD4\t3\t3\t3\t4\t8\t7\n"
    "MAT8\t1\t140000.\t10000.\t.3\t5000.\n"
    "PCOMP\t1\t0.5\n"
    "\t1\t0.1\t100.\t\t1\t0.2\t-135.\n"
    "PCOMP\t2\n"
    "\t1\t0.25\t0.\n"
    "PCOMP\t3\n"
    "\t9\t0.1\t0.\n"
    "ENDDATA\n";

class LayupDeckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        const std::string tag = std::to_string(::getpid());
        deck = ::testing::TempDir() + "lams_" + tag + ".bdf";
        log = ::testing::TempDir() + "lams_" + tag + ".msg";
        std::ofstream(deck) << kDeck;
        ASSERT_EQ(LayupKorRead(deck.c_str(), 0), 0);
        ASSERT_EQ(LayupOpenMessage(log.c_str()), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(deck.c_str());
        std::remove(log.c_str());
    }
    std::string Log() {
        LayupCloseMessage();
        std::ifstream in(log);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    std::string deck, log;
};

TEST_F(LayupDeckTest, LaminatesOfTheDeckFlat) {
    int n = 0, layers = 0;
    ASSERT_EQ(LayupGetNumLams2(2, &n, &layers), 0);
    ASSERT_EQ(n, 3);
    ASSERT_EQ(layers, 4);
    std::vector<std::vector<char>> store(6 * 3 + 2 * 4, std::vector<char>(40, '#'));
    std::vector<char*> p;
    for (auto& s : store) p.push_back(s.data());
    char** names = &p[0];
    char** descs = &p[3];
    char** offsets = &p[6];
    char** actions = &p[9];
    char** mats = &p[18];
    char** ext = &p[22];
    int flags[3] = {}, counts[3] = {}, gply[4] = {};
    float thick[4] = {}, angle[4] = {};
    // The reader names every material externally after itself; without
    // that name the material's own stands in, with a note.
    CKpMat* carbon = static_cast<CKpLayup*>(LayupSlotModel())->pMats()->find(1);
    ASSERT_NE(carbon, nullptr);
    ASSERT_STREQ(carbon->extmtrlnm(), carbon->mtrlnm());
    carbon->setExtmtrlnm("");
    ASSERT_EQ(LayupGetLams2(2, 0, 0, names, descs, flags, counts, mats, ext, thick, angle, gply,
                            offsets, actions),
              0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(descs[i], "generated by Plystrand");
        EXPECT_EQ(flags[i], 1);
        EXPECT_STREQ(actions[i], "Create");
    }
    EXPECT_EQ(std::vector<int>(counts, counts + 3), (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(std::vector<float>(thick, thick + 4), (std::vector<float>{0.1f, 0.2f, 0.25f, 0.1f}));
    EXPECT_EQ(std::vector<float>(angle, angle + 4), (std::vector<float>{-80, 45, 0, 0}));
    EXPECT_EQ(std::string(offsets[0]), std::string(13, ' ') + "0.5");
    EXPECT_EQ(std::string(offsets[1]), std::string(10, ' ') + "-0.125");  // minus half of 0.25
    EXPECT_STREQ(mats[3], "NO MAT REF");
    EXPECT_STREQ(ext[3], "NO MAT REF");
    EXPECT_STREQ(mats[0], mats[2]);
    EXPECT_STREQ(mats[0], carbon->mtrlnm());
    EXPECT_STREQ(ext[0], mats[0]);
    const std::string note = "$# The external material name for material " + std::string(mats[0]) +
                             " is not set, using material name.";
    const std::string text = Log();
    EXPECT_NE(text.find(note), std::string::npos) << text;
}

TEST_F(LayupDeckTest, LaminateQueriesByNameAndElement) {
    char name[40] = "nowhere";
    float offset = 9;
    int n = 9;
    EXPECT_EQ(LayupGetLam(name, &offset, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n,
                          nullptr, nullptr, nullptr, nullptr, nullptr),
              -1);
    EXPECT_EQ(offset, 0.0f);
    EXPECT_EQ(n, 0);

    // Element 1 lies on the first property: its two plies, unfolded angles.
    float normal[3] = {}, thick[2] = {}, angle[2] = {};
    char lam[40] = "junk";
    int gply[2] = {-1, -1};
    EXPECT_EQ(LayupGetLamElem(1, normal, &offset, lam, &n, nullptr, nullptr, thick, angle, gply),
              0);
    EXPECT_EQ(std::vector<float>(normal, normal + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_FLOAT_EQ(offset, 0.5f);
    EXPECT_EQ(n, 2);
    EXPECT_FLOAT_EQ(angle[0], 100.0f);
    EXPECT_FLOAT_EQ(angle[1], -135.0f);
    EXPECT_EQ(LayupGetLamElemGPlyId(1, 2), 0);  // at the layer count

    // The name round-trips through LayupGetLam.
    float thick2[2] = {};
    EXPECT_EQ(LayupGetLam(lam, &offset, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n,
                          nullptr, nullptr, thick2, nullptr, nullptr),
              0);
    EXPECT_EQ(std::vector<float>(thick2, thick2 + 2), std::vector<float>(thick, thick + 2));

    // The third property's layer has no material.
    EXPECT_EQ(
        LayupGetLamElem(3, normal, &offset, lam, &n, nullptr, nullptr, thick, nullptr, nullptr),
        -1);
    EXPECT_EQ(n, 1);
    char* names[] = {lam, lam};
    int lamCounts[2] = {-1, -1}, ids[2] = {};
    EXPECT_EQ(LayupGetLamsElems(2, names, lamCounts, ids), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 2), (std::vector<int>{3, 3}));
}

}  // namespace

namespace {

// Every count against what the property-generation set holds after the run,
// on a layup: ply A over elements 1-4, ply B over 1-2 (two laminates, three
// layers), with an orientation field (mode 9) and with equivalent materials
// (mode 118).
TEST_F(LayupLaminateTest, CreateLaminateOnALayupCountsEachStore) {
    CKpMat* carbon = laidplies::Material(*model, "Carbon", 0.1);
    // Stiff enough for equivalent materials: E1 E2 E3, nu, G; no C terms,
    // expansions or allowables; density, reference temperature.
    const double z = 0.0;
    carbon->setMatVal(2, "Carbon", 0.1, 0.0, 0.0, "Carbon", 1, 2, 140000, 10000, 10000, 0.3, 0.3,
                      0.3, 5000, 4000, 5000, z, z, z, z, z, z, z, z, z, z, z, z, z, z, z, z, z, z,
                      z, z, z, z, z, z, z, z, z, z, z, z, 1.6e-9, 20, z, z, z, z, z, z, z);
    ASSERT_EQ(laidplies::Lay(*model, "A", carbon, {1, 2, 3, 4}), 0);
    ASSERT_EQ(laidplies::Lay(*model, "B", carbon, {1, 2}), 0);
    IVekPropGenSet* set = model->GetPropGenSet();
    for (int mode : {9, 118}) {
        SCOPED_TRACE(mode);
        int options[6] = {1, 0, 0, 0, 0, 0};
        float v0[3] = {1, 0, 0}, v1[3] = {0, 1, 0}, sw = 45, tol = 1, thick = 5;
        char name[] = "gen";
        int out[9];
        for (int& o : out) o = -7;
        ASSERT_EQ(LayupCreateLaminate(-1, nullptr, name, options, mode, 0, 0, v0, v1, &sw, &tol,
                                      &thick, 1, 1, 1, 1, 0, 0, 0, &out[0], &out[1], &out[2],
                                      &out[3], &out[4], &out[5], &out[6], &out[7], &out[8]),
                  0);
        int lams = -1, layers = -1;
        ASSERT_EQ(LayupGetNumLams2(2, &lams, &layers), 0);
        EXPECT_EQ(out[4], lams);
        EXPECT_EQ(out[5], layers);
        IVekCoordStore* coords = set->GetCoordStore();
        ASSERT_NE(coords, nullptr);
        EXPECT_EQ(out[0], coords->Count());
        IVekFieldStore* fields = set->GetFieldStore();
        ASSERT_NE(fields, nullptr);
        int fieldElems = 0;
        for (int i = 0; i < fields->Count(); ++i) fieldElems += fields->Get(i)->GetNumElems();
        EXPECT_EQ(out[1], fields->Count());
        EXPECT_EQ(out[2], fieldElems);
        EXPECT_EQ(out[3], set->GetGeneratedMaterialStore()->Count());
        IVekPropertySetStore* props = set->GetPropertySetStore();
        ASSERT_NE(props, nullptr);
        int words = 0, elems = 0;
        for (int i = 0; i < props->Count(); ++i) {
            words += props->Get(i)->GetNumWords();
            elems += props->Get(i)->GetNumElems();
        }
        EXPECT_EQ(out[6], props->Count());
        EXPECT_EQ(out[7], words);
        EXPECT_EQ(out[8], elems);
        EXPECT_EQ(elems, 4);   // every element in one property set
        EXPECT_EQ(out[6], 2);  // a property set per laminate
        if (mode == 9) {
            // Two laminates of three layers, an orientation field over all.
            EXPECT_EQ(std::vector<int>(out, out + 6), (std::vector<int>{0, 1, 4, 0, 2, 3}));
        } else {
            // A frame, and a material in place of each laminate.
            EXPECT_EQ(std::vector<int>(out, out + 6), (std::vector<int>{1, 0, 0, 2, 0, 0}));
        }
    }
}

// The generated materials with their base-state values, each array its own
// value: Ex of material i is 100 i + 1, Ey 100 i + 2, ..., density 100 i + 28.
TEST_F(LayupLaminateTest, GeneratedMaterialsInIdOrderValueByValue) {
    IVekMaterialStore* store = model->GetPropGenSet()->GetGeneratedMaterialStore();
    ASSERT_NE(store, nullptr);
    void (*const setters[28])(IVekMaterialState*, double) = {
        [](IVekMaterialState* s, double v) { s->SetEx(v); },
        [](IVekMaterialState* s, double v) { s->SetEy(v); },
        [](IVekMaterialState* s, double v) { s->SetEz(v); },
        [](IVekMaterialState* s, double v) { s->SetNuxy(v); },
        [](IVekMaterialState* s, double v) { s->SetNuyz(v); },
        [](IVekMaterialState* s, double v) { s->SetNuzx(v); },
        [](IVekMaterialState* s, double v) { s->SetGxy(v); },
        [](IVekMaterialState* s, double v) { s->SetGyz(v); },
        [](IVekMaterialState* s, double v) { s->SetGzx(v); },
        [](IVekMaterialState* s, double v) { s->SetC14(v); },
        [](IVekMaterialState* s, double v) { s->SetC15(v); },
        [](IVekMaterialState* s, double v) { s->SetC16(v); },
        [](IVekMaterialState* s, double v) { s->SetC24(v); },
        [](IVekMaterialState* s, double v) { s->SetC25(v); },
        [](IVekMaterialState* s, double v) { s->SetC26(v); },
        [](IVekMaterialState* s, double v) { s->SetC34(v); },
        [](IVekMaterialState* s, double v) { s->SetC35(v); },
        [](IVekMaterialState* s, double v) { s->SetC36(v); },
        [](IVekMaterialState* s, double v) { s->SetC45(v); },
        [](IVekMaterialState* s, double v) { s->SetC46(v); },
        [](IVekMaterialState* s, double v) { s->SetC56(v); },
        [](IVekMaterialState* s, double v) { s->SetAlpx(v); },
        [](IVekMaterialState* s, double v) { s->SetAlpy(v); },
        [](IVekMaterialState* s, double v) { s->SetAlpz(v); },
        [](IVekMaterialState* s, double v) { s->SetA4(v); },
        [](IVekMaterialState* s, double v) { s->SetA5(v); },
        [](IVekMaterialState* s, double v) { s->SetA6(v); },
        [](IVekMaterialState* s, double v) { s->SetDensity(v); },
    };
    // Made in descending id order: the output follows the ids.
    for (int id : {30, 20}) {
        IVekMaterial* mat = store->New(id);
        ASSERT_NE(mat, nullptr);
        mat->SetName(id == 20 ? "LAM_20" : "LAM_30");
        IVekMaterialState* base = mat->GetMaterialStateStore()->Get(0);
        const int i = id == 20 ? 0 : 1;
        for (int k = 0; k < 28; ++k) setters[k](base, 100.0 * i + k + 1);
        base->SetFxt(-1.0);  // allowables are not handed out
        base->SetTropy(id == 20 ? EVekMaterialTropy(2) : EVekMaterialTropy(4));
    }
    int n = 0;
    ASSERT_EQ(LayupGetNumMats(&n), 0);
    ASSERT_EQ(n, 2);
    char a[16], b[16];
    char* names[] = {a, b};
    int dirs[2] = {};
    std::vector<std::vector<float>> v(28, std::vector<float>(2, -1.0f));
    std::vector<float*> p;
    for (auto& x : v) p.push_back(x.data());
    ASSERT_EQ(LayupGetMats(0, names, dirs, p[0], p[1], p[2], p[3], p[4], p[5], p[6], p[7], p[8],
                           p[9], p[10], p[11], p[12], p[13], p[14], p[15], p[16], p[17], p[18],
                           p[19], p[20], p[21], p[22], p[23], p[24], p[25], p[26], p[27]),
              0);
    EXPECT_STREQ(a, "LAM_20");
    EXPECT_STREQ(b, "LAM_30");
    EXPECT_EQ(dirs[0], 2);
    EXPECT_EQ(dirs[1], 4);
    for (int k = 0; k < 28; ++k)
        for (int i = 0; i < 2; ++i) EXPECT_EQ(v[k][i], 100.0f * i + k + 1) << k << " " << i;

    // Any array may be left out.
    float density[2] = {};
    ASSERT_EQ(LayupGetMats(0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, density),
              0);
    EXPECT_EQ(density[1], 128.0f);
}

}  // namespace

namespace {

// Laminates only (mode 0): the property sets carry no words, so the count
// stops there with its error; the three property counts read 0, not what
// the caller's variables held, and the counts before stand.
TEST_F(LayupLaminateTest, PropertySetsWithoutWordsLeaveZeroCounts) {
    CKpMat* carbon = laidplies::Material(*model, "Carbon", 0.1);
    ASSERT_EQ(laidplies::Lay(*model, "A", carbon, {1, 2, 3, 4}), 0);
    ASSERT_EQ(laidplies::Lay(*model, "B", carbon, {1, 2}), 0);
    int options[6] = {1, 0, 0, 0, 0, 0};
    float v0[3] = {1, 0, 0}, v1[3] = {0, 1, 0}, sw = 45, tol = 1, thick = 5;
    char name[] = "gen";
    int out[9];
    for (int& o : out) o = -7;
    const size_t before = morvekstub::Messages().size();
    ASSERT_EQ(LayupCreateLaminate(-1, nullptr, name, options, 0, 0, 0, v0, v1, &sw, &tol, &thick, 1,
                                  1, 1, 1, 0, 0, 0, &out[0], &out[1], &out[2], &out[3], &out[4],
                                  &out[5], &out[6], &out[7], &out[8]),
              0);
    ASSERT_EQ(morvekstub::Messages().size(), before + 1);
    EXPECT_EQ(morvekstub::Messages().back().severity, 4);
    EXPECT_EQ(morvekstub::Messages().back().text, "LayupGetNumProps(): No property words defined.");
    EXPECT_EQ(std::vector<int>(out, out + 9), (std::vector<int>{0, 0, 0, 0, 2, 3, 0, 0, 0}));
}

}  // namespace

namespace {

// Many names at once go through a name index: it must answer as the store's
// own lookup does, a name borne twice meaning its lowest id.
TEST_F(LayupLaminateTest, ManyNamesAnswerAsFewDo) {
    AddLam(30, "A", {9});  // a second "A": never chosen
    model->pElems()->find(2)->pid(30);
    char a[] = "A", b[] = "B", none[] = "none";
    std::vector<char*> names;
    for (int k = 0; k < 7; ++k) names.insert(names.end(), {a, none, b});
    std::vector<int> counts(names.size(), -1), ids(40, -9);
    ASSERT_EQ(
        LayupGetLamsElems(static_cast<int>(names.size()), names.data(), counts.data(), ids.data()),
        0);
    for (size_t k = 0; k < names.size(); ++k)
        EXPECT_EQ(counts[k], (std::vector<int>{2, 0, 1})[k % 3]) << k;
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(std::vector<int>(ids.begin() + 3 * k, ids.begin() + 3 * k + 3),
                  (std::vector<int>{1, 3, 4}))
            << k;
    EXPECT_EQ(ids[21], -9);

    std::vector<int> few(3, -1);
    ASSERT_EQ(LayupGetLamsElems(3, names.data(), few.data(), ids.data()), 0);
    EXPECT_EQ(few, (std::vector<int>{2, 0, 1}));
}

}  // namespace
