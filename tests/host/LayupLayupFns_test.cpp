#include "host/LayupLayupFns.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "host/CMorvek.h"
#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/StubDatabase.h"

namespace {

const double kPi = std::acos(-1.0);

// A strip of four unit quads (ids 1..4, normals +z) and simulated plies.
class LayupFnsTest : public ::testing::Test {
  protected:
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, nullptr)};
    CKpMat* mat = nullptr;

    void SetUp() override {
        ASSERT_EQ(meshgen::LoadModel(*model, meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0)),
                  0);
        mat = new CKpMat(1);
        mat->setMtrlnm("Carbon");
        mat->setExtmtrlnm("T300");
        mat->setMtrlthck(0.5);
        model->pMats()->insert(mat);
        model->pMsg()->FileOpen(cap.c_str());
    }
    void TearDown() override {
        model->pMsg()->FileClose();
        std::remove(cap.c_str());
    }
    // The message file's lines after its opening lines.
    std::string log() {
        model->pMsg()->FileClose();
        std::ifstream in(cap);
        std::string line, out;
        while (std::getline(in, line))
            if (line.rfind("$# ", 0) == 0 && line.find("Message file") == std::string::npos)
                out += line + "\n";
        model->pMsg()->FileOpen(cap.c_str());
        return out;
    }
    CKpPly* MakePly(const char* name, int first, int last, double warp = 0.0) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2);
        pat->SetNameByPlyName(name);
        pat->setStdn(1);
        pat->setSimResult(0);
        model->pPats()->insert(pat);
        for (int id = first; id <= last; ++id) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id);
            pe->setPelem(model->pElems()->find(id));
            pe->setStdn(1);
            pe->setDnfg(1);
            pe->setWarpAngle(warp);
            pe->setWeftAngle(warp + 0.5 * kPi);
            pat->PatElems()->InsertLast(pe);
        }
        CKpPly* ply = new CKpPly(model->pPlys()->maxId() + 1, name, 2, mat, pat);
        model->pPlys()->insert(ply);
        return ply;
    }

    std::string cap = ::testing::TempDir() + "layupfns_" + std::to_string(::getpid()) + ".msg";
};

}  // namespace

TEST_F(LayupFnsTest, CreateAddsAndGetReadsBack) {
    MakePly("P1", 1, 4);
    MakePly("P2", 1, 2);
    // Count 0 names the layup and adds nothing.
    EXPECT_EQ(layupfns::CreateLayup2(model.get(), "L", 0, nullptr, nullptr, nullptr, nullptr,
                                     nullptr, nullptr, nullptr, nullptr, nullptr),
              0);
    int count = -1;
    EXPECT_EQ(layupfns::GetLayupSizes(model.get(), &count), 0);
    EXPECT_EQ(count, 0);
    EXPECT_NE(log().find("Layup 'L' created"), std::string::npos);

    const char* names[] = {"P1"};
    const int types[] = {2}, instances[] = {3}, sides[] = {-1}, gply[] = {7};
    const float offsets[] = {30.0f}, thick[] = {0.25f};
    EXPECT_EQ(layupfns::CreateLayup2(model.get(), "L", 1, nullptr, nullptr, types, names, instances,
                                     sides, offsets, thick, gply),
              0);
    const char* names2[] = {"P2"};
    const int one[] = {1}, up[] = {1}, noGply[] = {0};
    const float zero[] = {0.0f};
    EXPECT_EQ(layupfns::CreateLayup2(model.get(), "L2", 1, nullptr, nullptr, types, names2, one, up,
                                     zero, zero, noGply),
              0);
    // A missing array: refused before anything is made.
    EXPECT_EQ(layupfns::CreateLayup2(model.get(), "L3", 1, nullptr, nullptr, types, names2, one, up,
                                     zero, nullptr, noGply),
              -1);
    EXPECT_NE(log().find("$# ERROR: Missing layup arrays for 1 entries."), std::string::npos);
    EXPECT_EQ(layupfns::GetLayupSizes(model.get(), &count), 0);
    ASSERT_EQ(count, 4);

    char name[64] = "untouched";
    char plyBuf[4][32];
    char* plyNames[4] = {plyBuf[0], plyBuf[1], plyBuf[2], plyBuf[3]};
    int outInst[4], outSide[4], outGply[4];
    float outOff[4];
    EXPECT_EQ(layupfns::GetLayup2(model.get(), name, 3, nullptr, nullptr, nullptr, plyNames,
                                  outInst, outSide, outOff, outGply, 64),
              3);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(layupfns::GetLayup2(model.get(), name, 4, nullptr, nullptr, nullptr, plyNames,
                                  outInst, outSide, outOff, outGply, 32),
              0);
    EXPECT_STREQ(name, "L2");
    std::string got;
    for (int i = 0; i < 4; ++i)
        got += std::string(plyNames[i]) + "/" + std::to_string(outInst[i]) + "/" +
               std::to_string(outSide[i]) + "/" + std::to_string(std::lround(outOff[i])) + "/" +
               std::to_string(outGply[i]) + " ";
    EXPECT_EQ(got, "P1/1/-1/30/7 P1/2/-1/30/7 P1/3/-1/30/7 P2/1/1/0/0 ");

    EXPECT_EQ(layupfns::DeleteLayup(model.get()), 0);
    EXPECT_EQ(layupfns::GetLayupSizes(model.get(), &count), 0);
    EXPECT_EQ(count, 0);
}

TEST_F(LayupFnsTest, ElementStacksWithTheirStatuses) {
    CKpPly* p1 = MakePly("P1", 1, 4, 10 * kPi / 180);
    CKpPly* p2 = MakePly("P2", 1, 2);
    const char* names[] = {"P1", "P2"};
    const int types[] = {2, 2}, instances[] = {1, 1}, sides[] = {-1, 1}, gply[] = {3, 4};
    const float offsets[] = {45.0f, 0.0f}, thick[] = {0.0f, 0.75f};
    ASSERT_EQ(layupfns::CreateLayup2(model.get(), "L", 2, nullptr, nullptr, types, names, instances,
                                     sides, offsets, thick, gply),
              0);
    int count = 0;
    EXPECT_EQ(layupfns::GetLayupElementSize(model.get(), 1, &count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(layupfns::GetLayupElementSize(model.get(), 3, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(layupfns::GetLayupElementSize(model.get(), 99, &count), -1);
    EXPECT_EQ(layupfns::GetLayupElemGPlyID(model.get(), 1, 1), 4);
    EXPECT_EQ(layupfns::GetLayupElemGPlyID(model.get(), 1, 2), 0);
    EXPECT_EQ(layupfns::GetLayupElemGPlyID(model.get(), 99, 0), 0);

    float normal[3] = {0, 0, 0};
    char b[4][2][32];
    char* plyNames[2] = {b[0][0], b[0][1]};
    char* matNames[2] = {b[1][0], b[1][1]};
    char* extNames[2] = {b[2][0], b[2][1]};
    int outTypes[2], outInst[2], dirs[2], outGply[2];
    float th[2], ref[2], rot[2];
    EXPECT_EQ(layupfns::GetLayupElement(model.get(), 99, normal, 2, plyNames, outTypes, outInst,
                                        dirs, matNames, extNames, th, ref, rot, outGply, 32),
              1);
    EXPECT_EQ(layupfns::GetLayupElement(model.get(), 1, normal, 3, plyNames, outTypes, outInst,
                                        dirs, matNames, extNames, th, ref, rot, outGply, 32),
              2);
    EXPECT_NE(log().find("LayupGetLayupElement: The array size 3 is not equal to the number of "
                         "layers 2."),
              std::string::npos);
    ASSERT_EQ(layupfns::GetLayupElement(model.get(), 1, normal, 2, plyNames, outTypes, outInst,
                                        dirs, matNames, extNames, th, ref, rot, outGply, 32),
              0);
    EXPECT_FLOAT_EQ(normal[2], 1.0f);
    EXPECT_STREQ(plyNames[0], "P1");
    EXPECT_STREQ(matNames[1], "Carbon");
    EXPECT_STREQ(extNames[1], "T300");
    // Side -1 turns the direction and the offset; the override replaces the
    // material thickness.
    EXPECT_EQ(dirs[0], -1);
    EXPECT_EQ(dirs[1], 1);
    EXPECT_FLOAT_EQ(th[0], 0.5f);
    EXPECT_FLOAT_EQ(th[1], 0.75f);
    // The rotation: the ply element's angle plus the offset (the side
    // shows in the direction only).
    EXPECT_NEAR(rot[0], 10.0f + 45.0f, 1e-4);
    EXPECT_NEAR(rot[1], 0.0f, 1e-4);
    EXPECT_EQ(outGply[0], 3);

    // A stack entry whose layup ply names a ply the store does not hold (as
    // a layup file's dangling reference leaves it): 3, the entries before
    // it written.
    CKpLypPly* second = nullptr;
    for (int i = 0; i < model->pLyp()->LypPlys().entries(); ++i)
        if (model->pLyp()->LypPlys()[i]->lyrid() == p2->id()) second = model->pLyp()->LypPlys()[i];
    ASSERT_NE(second, nullptr);
    second->setPly(nullptr);
    second->setLyrid(77);
    std::snprintf(plyNames[0], 32, "-");
    std::snprintf(plyNames[1], 32, "-");
    EXPECT_EQ(layupfns::GetLayupElement(model.get(), 1, normal, 2, plyNames, outTypes, outInst,
                                        dirs, matNames, extNames, th, ref, rot, outGply, 32),
              3);
    EXPECT_STREQ(plyNames[0], "P1");
    EXPECT_STREQ(plyNames[1], "-");
    EXPECT_NE(log().find("$# ERROR: Could not find specified ply."), std::string::npos);

    // A missing pattern, then material.
    p1->setPat(nullptr);
    p1->setPttrnid(999);
    EXPECT_EQ(
        layupfns::GetLayupElement(model.get(), 3, nullptr, 1, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 32),
        4);
    p1->setPttrnid(1);
    p1->setMat(nullptr);
    p1->setMtrlid(999);
    EXPECT_EQ(
        layupfns::GetLayupElement(model.get(), 3, nullptr, 1, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, 32),
        5);
    const std::string messages = log();
    EXPECT_NE(messages.find("Could not find specified pattern 4"), std::string::npos);
    EXPECT_NE(messages.find("Could not find specified material."), std::string::npos);
}

TEST(LayupFnsHostTest, LayupFromTheHostsLaminates) {
    ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
    MorvekStubReset();
    MorvekStubOpenDatabase("lam.db");
    StubDatabase stub{"layupfns"};
    ASSERT_EQ(stub.load("node 1 0 0 0\nnode 2 1 0 0\nnode 3 2 0 0\n"
                        "node 4 0 1 0\nnode 5 1 1 0\nnode 6 2 1 0\n"
                        "elem 1 4 1 2 5 4\nelem 2 4 2 3 6 5\n"
                        "mat 1 \"Carbon\" \"\" 5 4 0\nmat 2 \"Glass\" \"\" 1 1 0\n"
                        "mat 3 \"LamA\" \"\" 6 5 1\nmat 4 \"LamB\" \"\" 6 5 1\n"
                        "matword 3 40 2\nmatword 4 40 1\n"
                        "lam 3 0 1\nlamlayer 3 1 0.25 0 1\nlamlayer 3 2 0.5 90 2\n"
                        "lam 4 0 1\nlamlayer 4 1 0.25 0 1\n"
                        "region 3 \"LamA\"\nword 3 13 5 3 0 0 0 0 0\n"
                        "region 4 \"LamB\"\nword 4 13 5 4 0 0 0 0 0\n"
                        "member 3 1\nmember 4 2\n"),
              0);
    CMorvek db;
    CKpLayup model(&db, nullptr);
    ASSERT_EQ(model.NewLayup(0.0, 0.0), 0);
    EXPECT_EQ(layupfns::CreateLayupLaminate(&model), 0);
    // The laminate and orientation stores are emptied again.
    EXPECT_EQ(model.pLams()->entries(), 0);
    int count = 0;
    EXPECT_EQ(layupfns::GetLayupElementSize(&model, 1, &count), 0);
    ASSERT_EQ(count, 2);
    char b[2][32];
    char* matNames[2] = {b[0], b[1]};
    ASSERT_EQ(layupfns::GetLayupElement(&model, 1, nullptr, 2, nullptr, nullptr, nullptr, nullptr,
                                        matNames, nullptr, nullptr, nullptr, nullptr, nullptr, 32),
              0);
    EXPECT_STREQ(matNames[0], "Carbon");
    EXPECT_STREQ(matNames[1], "Glass");
    EXPECT_EQ(layupfns::GetLayupElementSize(&model, 2, &count), 0);
    EXPECT_EQ(count, 1);
    // Once layup plies exist: -1.
    EXPECT_EQ(layupfns::CreateLayupLaminate(&model), -1);
    MorvekStubReset();
}

namespace {

// The exported layup functions on the slot's model: a strip of four unit
// quads, "P1" over elements 1-4 and "P2" over 1-2, both simulated.
class LayupSlotLayupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        CKpLayup& m = *static_cast<CKpLayup*>(LayupSlotModel());
        ASSERT_EQ(meshgen::LoadModel(m, meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0)), 0);
        CKpMat* mat = lyptest::AddMat(m, 1, 2, "Tape");
        lyptest::AddPly(m, 1, "P1", 2, mat, 1, 4);
        lyptest::AddPly(m, 2, "P2", 2, mat, 1, 2);
        ASSERT_EQ(LayupOpenMessage(cap.c_str()), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(cap.c_str());
    }
    std::string log() {
        LayupCloseMessage();
        std::ifstream in(cap);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        LayupOpenMessage(cap.c_str());
        return text;
    }
    // The global ply ids of the element's layers, as the element query gives them.
    static std::vector<int> StackIds(int elemId) {
        int n = 0;
        EXPECT_EQ(LayupGetLayupElementSize(elemId, &n), 0);
        std::vector<int> ids(static_cast<size_t>(n), -1);
        EXPECT_EQ(LayupGetLayupElement(elemId, nullptr, n, nullptr, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr, nullptr, ids.data()),
                  0);
        return ids;
    }

    std::string cap = ::testing::TempDir() + "slotlayup_" + std::to_string(::getpid()) + ".msg";
};

struct LayupOut {
    char name[32] = "untouched";
    char buf[4][32] = {"-", "-", "-", "-"};
    char* plyNames[4] = {buf[0], buf[1], buf[2], buf[3]};
    int types[4] = {-1, -1, -1, -1}, instances[4] = {-1, -1, -1, -1}, sides[4] = {9, 9, 9, 9},
        gply[4] = {-1, -1, -1, -1};
    float offsets[4] = {-1, -1, -1, -1};
    int get(int count) {
        return LayupGetLayup(name, count, types, plyNames, instances, sides, offsets, gply);
    }
    // "ply/instance/side/offset/global id/type" per layup ply.
    std::string rows(int count) const {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += std::string(plyNames[i]) + "/" + std::to_string(instances[i]) + "/" +
                   std::to_string(sides[i]) + "/" + std::to_string(std::lround(offsets[i])) + "/" +
                   std::to_string(gply[i]) + "/" + std::to_string(types[i]) + " ";
        return out;
    }
};

}  // namespace

TEST_F(LayupSlotLayupTest, CreateThenGetGivesTheLayupBackInOrder) {
    char p1[] = "P1", p2[] = "P2";
    char* names[] = {p1, p2};
    int types[] = {2, 2}, instances[] = {2, 1}, sides[] = {1, -1}, gply[] = {11, 12};
    float offsets[] = {30.0f, -45.0f}, thick[] = {0.0f, 0.75f};
    ASSERT_EQ(LayupCreateLayup("Stack", 2, types, names, instances, sides, offsets, thick, gply),
              0);
    EXPECT_NE(log().find("Layup 'Stack' created"), std::string::npos);
    int count = -1;
    ASSERT_EQ(LayupGetLayupSizes(&count), 0);
    ASSERT_EQ(count, 3);

    LayupOut out;
    ASSERT_EQ(out.get(3), 0);
    EXPECT_STREQ(out.name, "Stack");
    EXPECT_EQ(out.rows(3), "P1/1/1/30/11/2 P1/2/1/30/11/2 P2/1/-1/-45/12/2 ");
    EXPECT_STREQ(out.plyNames[3], "-");
    // No ply groups or sequences were given: both empty.
    char g[3][16], q[3][16];
    char* groups[3] = {g[0], g[1], g[2]};
    char* sequences[3] = {q[0], q[1], q[2]};
    for (int i = 0; i < 3; ++i) g[i][0] = q[i][0] = '#';
    ASSERT_EQ(LayupGetLayup2(out.name, 3, groups, sequences, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr),
              0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_STREQ(groups[i], "") << i;
        EXPECT_STREQ(sequences[i], "") << i;
    }

    // A count that is not the layup's: 3, nothing written, not even the name.
    LayupOut wrong;
    EXPECT_EQ(wrong.get(2), 3);
    EXPECT_EQ(wrong.get(4), 3);
    EXPECT_STREQ(wrong.name, "untouched");
    EXPECT_STREQ(wrong.plyNames[0], "-");
    EXPECT_EQ(wrong.gply[0], -1);

    // A second call adds after the first under the new name; a ply the
    // model does not hold is skipped with a warning.
    char nope[] = "Nope";
    char* more[] = {nope, p2};
    int moreTypes[] = {2, 2}, one[] = {1, 1}, up[] = {1, 1}, moreGply[] = {13, 14};
    float zero[] = {0.0f, 0.0f};
    ASSERT_EQ(LayupCreateLayup("Stack2", 2, moreTypes, more, one, up, zero, zero, moreGply), 0);
    const std::string messages = log();
    EXPECT_NE(messages.find("Error adding ply Nope to layup Stack2."), std::string::npos)
        << messages;
    ASSERT_EQ(LayupGetLayupSizes(&count), 0);
    ASSERT_EQ(count, 4);
    LayupOut all;
    ASSERT_EQ(all.get(4), 0);
    EXPECT_STREQ(all.name, "Stack2");
    // P2 placed again: its next instance.
    EXPECT_EQ(all.rows(4), "P1/1/1/30/11/2 P1/2/1/30/11/2 P2/1/-1/-45/12/2 P2/2/1/0/14/2 ");

    // Count 0 names the layup and adds nothing.
    ASSERT_EQ(LayupCreateLayup("Renamed", 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr),
              0);
    ASSERT_EQ(all.get(4), 0);
    EXPECT_STREQ(all.name, "Renamed");
}

TEST_F(LayupSlotLayupTest, ElementGlobalPlyIdsLayerByLayer) {
    char p1[] = "P1", p2[] = "P2";
    char* names[] = {p2, p1, p2};
    int types[] = {2, 2, 2}, instances[] = {1, 1, 2}, sides[] = {1, -1, 1}, gply[] = {21, 22, 23};
    float offsets[] = {0.0f, 90.0f, 0.0f}, thick[] = {0.0f, 0.0f, 0.0f};
    ASSERT_EQ(LayupCreateLayup("Stack", 3, types, names, instances, sides, offsets, thick, gply),
              0);
    // Elements 1 and 2 carry P2, P1 and P2 twice more; P1, laid on the
    // negative side, goes to the bottom of their stacks. 3 and 4 carry P1.
    for (int e : {1, 2}) {
        EXPECT_EQ(StackIds(e), (std::vector<int>{22, 21, 23, 23})) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 0), 22) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 1), 21) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 2), 23) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 3), 23) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 4), 0) << e;
    }
    for (int e : {3, 4}) {
        EXPECT_EQ(StackIds(e), (std::vector<int>{22})) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 0), 22) << e;
        EXPECT_EQ(LayupGetLayupElemGPlyID(e, 1), 0) << e;
    }
    EXPECT_EQ(LayupGetLayupElemGPlyID(1, -1), 0);
    EXPECT_EQ(LayupGetLayupElemGPlyID(99, 0), 0);
    EXPECT_EQ(LayupGetLayupElemGPlyID(0, 0), 0);

    // An emptied layup leaves no stacks.
    ASSERT_EQ(LayupDeleteLayup(0), 0);
    EXPECT_EQ(LayupGetLayupElemGPlyID(1, 0), 0);
}

TEST_F(LayupSlotLayupTest, EmptySlotGivesOne) {
    LayupDestruct();
    char p1[] = "P1";
    char* names[] = {p1};
    int types[] = {2}, one[] = {1}, gply[] = {1};
    float zero[] = {0.0f};
    EXPECT_EQ(LayupCreateLayup("L", 1, types, names, one, one, zero, zero, gply), 1);
    LayupOut out;
    EXPECT_EQ(out.get(0), 1);
    EXPECT_STREQ(out.name, "untouched");
    EXPECT_EQ(LayupGetLayupElemGPlyID(1, 0), 1);
}
