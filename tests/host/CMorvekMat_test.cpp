#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "host/CMorvek.h"
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
#include "tests/support/MessageCapture.h"
#include "tests/support/RefusingStore.h"
#include "tests/support/StubDatabase.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

class CMorvekMatTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        MorvekStubOpenDatabase("mat.db");
    }
    void TearDown() override { MorvekStubReset(); }

    static CKpMat* addMat(CKpLayup& model, int id, const char* name, int dir) {
        CKpMat* m = new CKpMat(id);
        m->setMtrlnm(name);
        m->setDir(dir);
        model.pMats()->insert(m);
        return m;
    }
    // A laminate of layers (material, thickness, degrees, global ply id).
    struct Layer {
        int mid;
        double t, deg;
        int gply;
    };
    static CKpLam* addLam(CKpLayup& model, int id, const char* name, const std::vector<Layer>& ls,
                          bool offset, double z0 = 0.0) {
        CKpLam* lam = offset ? new CKpLam(id, name, z0) : new CKpLam(id);
        lam->name(name);
        for (const Layer& l : ls) {
            CKpLamLyr* lyr = lam->LamLyrs()->New();
            lyr->setMid(l.mid);
            lyr->setT(l.t);
            lyr->setTheta(l.deg * kPi / 180.0);
            lyr->setGplyid(l.gply);
        }
        model.pLams()->insert(lam);
        return lam;
    }
    // A 2 x 1 quad plate in the stand-in database and read into `model`.
    static void plate(CKpLayup& model) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
        for (int k = 0; k < m.numNodes(); ++k)
            MorvekStubAddNode(m.nodeIds[k], static_cast<float>(m.xyz[3 * k]),
                              static_cast<float>(m.xyz[3 * k + 1]),
                              static_cast<float>(m.xyz[3 * k + 2]));
        for (int e = 0; e < m.numElems(); ++e)
            MorvekStubAddElem(m.elemIds[e], m.topologies[e], m.width, m.row(e));
        ASSERT_EQ(model.NewLayup(0.0, 0.0), 0);
    }

    MessageCapture cap{"cmorvekmat"};
    StubDatabase stub{"cmorvekmat"};
};

// Every constant of a material state, as (getter, setter).
struct Field {
    const char* name;
    std::function<double(const CKpMatProp&)> get;
    std::function<void(CKpMatProp&, double)> set;
};
#define F(g, s)                                                                                 \
    Field {                                                                                     \
#g, [](const CKpMatProp& p) { return p.g(); }, [](CKpMatProp & p, double v) { p.s(v); } \
    }
const std::vector<Field>& fields() {
    static const std::vector<Field> all = {
        F(ex, setEx),      F(ey, setEy),     F(ez, setEz),     F(nuxy, setNuxy),  F(nuyz, setNuyz),
        F(nuzx, setNuzx),  F(gxy, setGxy),   F(gyz, setGyz),   F(gzx, setGzx),    F(c14, setC14),
        F(c15, setC15),    F(c16, setC16),   F(c24, setC24),   F(c25, setC25),    F(c26, setC26),
        F(c34, setC34),    F(c35, setC35),   F(c36, setC36),   F(c45, setC45),    F(c46, setC46),
        F(c56, setC56),    F(alpx, setAlpx), F(alpy, setAlpy), F(alpz, setAlpz),  F(a4, setA4),
        F(a5, setA5),      F(a6, setA6),     F(fxt, setFxt),   F(fytRaw, setFyt), F(fxcRaw, setFxc),
        F(fycRaw, setFyc), F(fs12, setFs12), F(fs23, setFs23), F(fs31, setFs31),  F(f12, setF12),
        F(f23, setF23),    F(f31, setF31),   F(dens, setDens), F(tref, setTref),  F(ge, setGe)};
    return all;
}
#undef F

}  // namespace

TEST_F(CMorvekMatTest, MaterialDumpCarriesCodesModelsAndWordsInOrder) {
    CMorvek db;
    CKpLayup model(&db, nullptr);
    CKpMat* iso = addMat(model, 1, "Iso", 1);
    iso->setEx(70000);
    iso->setNuxy(0.25);
    iso->setGxy(26000);
    iso->setAlpx(0.125);
    iso->setFxt(500);  // Fyt falls back to it
    iso->setFxc(400);  // Fyc falls back to it
    iso->setFs12(1e-40);
    iso->setFs23(30);
    iso->setFs31(20);
    iso->setF12(1e-35);
    iso->setDens(0.5);
    iso->setTref(20);
    addMat(model, 2, "Ortho3D", 2)->setEz(3);
    addMat(model, 3, "Aniso3D", 3)->setC56(4);
    addMat(model, 4, "Ortho2D", 4)->setGzx(5);
    addMat(model, 5, "Aniso2D", 5)->setC24(6);
    addMat(model, 6, "NoDir", 0);
    addMat(model, 7, "Last", 1)->setEx(1);
    addLam(model, 1, "Lam", {{1, 0.5, 0, 0}, {7, 0.25, 90, 0}}, false);

    EXPECT_EQ(db.putMat(&cap.log, model.pMats()), 0);
    EXPECT_EQ(db.putLam(&cap.log, model.pMats(), model.pLams()), 0);
    EXPECT_EQ(cap.body(), "$# ERROR:  Unsupported directionality 0 for material 'NoDir'\n");

    const std::string d = " \"Imported via the Layup module.\" ";
    EXPECT_EQ(stub.lines("mat"), "mat 1 \"Iso\"" + d + "1 1 0\n" +          //
                                     "mat 2 \"Ortho3D\"" + d + "2 2 0\n" +  //
                                     "mat 3 \"Aniso3D\"" + d + "3 3 0\n" +  //
                                     "mat 4 \"Ortho2D\"" + d + "5 4 0\n" +  //
                                     "mat 5 \"Aniso2D\"" + d + "4 5 0\n" +  //
                                     "mat 6 \"Last\"" + d + "1 1 0\n" +     //
                                     "mat 7 \"Lam\"" + d + "6 5 1\n");
    const std::string all = stub.dump();
    EXPECT_NE(all.find("matmodel 1 1 1\nmatmodel 1 4 1\nmatmodel 2 1 1\n"), std::string::npos);
    // Fs12 1e-40 is not written, F12 1e-35 is 0, word 132 the smaller of
    // Fs23 and Fs31; the isotropic words follow the common ones.
    EXPECT_NE(all.find("matword 1 99 500\nmatword 1 102 500\nmatword 1 100 400\n"
                       "matword 1 103 400\nmatword 1 132 20\nmatword 1 133 0\n"
                       "matword 1 16 0.5\nmatword 1 1 20\nmatword 1 2 70000\n"
                       "matword 1 5 0.25\nmatword 1 8 26000\nmatword 1 24 0.125\nmatword 2 4 3\n"),
              std::string::npos)
        << all;
    EXPECT_NE(all.find("matword 3 64 4\n"), std::string::npos);
    EXPECT_NE(all.find("matword 4 10 5\n"), std::string::npos);
    EXPECT_NE(all.find("matword 5 79 6\n"), std::string::npos);
    // The laminate's layers name the host ids of their materials; word 40
    // holds the layer count; no global ply ids were given.
    EXPECT_EQ(stub.lines("matword 7"), "matword 7 40 2\n");
    EXPECT_EQ(stub.lines("lamlayer"), "lamlayer 7 1 0.5 0 0\nlamlayer 7 6 0.25 90 0\n");
    EXPECT_EQ(iso->extmtrlid(), 1);
    EXPECT_EQ(model.pLams()->find(1)->GetExtId(), 7);
}

TEST_F(CMorvekMatTest, PutMatValRule) {
    CMorvek db;
    ASSERT_EQ(stub.load("mat 3 \"M\" \"\" 1 1 0\n"), 0);
    EXPECT_EQ(db.putMatVal(&cap.log, 3, 1, 5e-36), 0);
    EXPECT_EQ(db.putMatVal(&cap.log, 3, 2, -1.4e-35), 0);
    EXPECT_EQ(db.putMatVal(&cap.log, 3, 3, -2.5), 0);
    EXPECT_EQ(stub.lines("matword"), "matword 3 2 0\nmatword 3 3 -2.5\n");
    EXPECT_EQ(db.putMatVal(&cap.log, 99, 3, 1.0), -1);
    EXPECT_EQ(cap.body(), "$# ERROR:  DbCreateMaterialPropValue: status 1\n");
}

TEST_F(CMorvekMatTest, FailedCreationsWriteNothingForTheirObject) {
    CMorvek db;
    CKpLayup model(&db, nullptr);
    CKpMat* a = addMat(model, 1, "A", 1);
    a->setExtmtrlid(0);
    a->setEx(1);
    addMat(model, 2, "B", 1)->setEx(2);
    addLam(model, 1, "LA", {{1, 1, 0, 0}}, false);
    addLam(model, 2, "LB", {{2, 1, 0, 0}}, false);
    addLam(model, 3, "LC", {{2, 1, 0, 0}}, false);

    MorvekStubFail("DbFCreateMaterial", 9);  // material A
    EXPECT_EQ(db.putMat(&cap.log, model.pMats()), 0);
    EXPECT_EQ(a->extmtrlid(), 0);
    EXPECT_EQ(MorvekStubCallCount("DbCreateMatlConstModelDefn"), 1);  // B only
    MorvekStubFail("DbFCreateMaterial", 8);                           // laminate LB
    EXPECT_EQ(db.putLam(&cap.log, model.pMats(), model.pLams()), 0);
    EXPECT_EQ(cap.body(),
              "$# ERROR:  DbFCreateMaterial: status 9 for mat A\n"
              "$# ERROR:  No host material for lam 'LA'\n"
              "$# ERROR:  DbFCreateMaterial: status 8 for lam 'LB'\n");
    EXPECT_EQ(model.pLams()->find(2)->GetExtId(), 0);
    EXPECT_EQ(stub.lines("mat"),
              "mat 1 \"B\" \"Imported via the Layup module.\" 1 1 0\n"
              "mat 2 \"LC\" \"Imported via the Layup module.\" 6 5 1\n");
    EXPECT_EQ(stub.lines("lamlayer"), "lamlayer 2 1 1 0 0\n");

    // A failing layer count ends the call.
    cap.reset();
    MorvekStubFail("DbCreateMaterialPropValue", 4);
    EXPECT_EQ(db.putLam(&cap.log, model.pMats(), model.pLams()), -1);
    EXPECT_NE(cap.body().find(" DbCreateMaterialPropValue: status 4\n"), std::string::npos);
    EXPECT_EQ(MorvekStubCallCount("DbSetCompLamById2"), 2);  // LC, then LB of the second call
}

TEST_F(CMorvekMatTest, MaterialsAndLaminatesRoundTrip) {
    CMorvek db;
    CKpLayup out(&db, nullptr);
    plate(out);
    // Every constant distinct and exact in float.
    for (int dir = 1; dir <= 5; ++dir) {
        CKpMat* m = addMat(out, dir, ("M" + std::to_string(dir)).c_str(), dir);
        for (size_t k = 0; k < fields().size(); ++k) fields()[k].set(*m, 10.0 * dir + k + 0.5);
    }
    addLam(out, 20, "Off", {{1, 0.25, 45, 3}, {3, 0.5, -45, 4}, {5, 0.125, 90, 5}}, true, -0.5);
    addLam(out, 21, "NoOff", {{2, 0.5, 0, 0}, {4, 0.5, 30, 0}}, false);
    addLam(out, 22, "Dup", {{2, 0.5, 0, 7}, {4, 0.5, 30, 7}}, false);
    out.pElems()->find(1)->pid(20);
    out.pElems()->find(2)->pid(21);

    EXPECT_EQ(db.putMat(&cap.log, out.pMats()), 0);
    EXPECT_EQ(db.putLam(&cap.log, out.pMats(), out.pLams()), 0);
    EXPECT_EQ(db.putProp(&cap.log, out.pElems(), out.pLams(), out.pOrients(), out.pCoords()), 0);
    EXPECT_EQ(cap.body(),
              "$# WARNING: For lam 'Dup', there are 2 layers but only 1 unique positive gPlyIds. "
              "Therefore, gPlyIds will be ignored.\n");
    EXPECT_EQ(stub.lines("lamlayer 8"), "lamlayer 8 2 0.5 0 0\nlamlayer 8 4 0.5 30 0\n");

    CKpLayup in(&db, nullptr);
    ASSERT_EQ(in.NewLayup(0.0, 0.0), 0);
    cap.reset();
    EXPECT_EQ(db.getLam(&cap.log, in.pElems(), in.pLams()), 0);
    EXPECT_EQ(db.getMat(&cap.log, in.pLams(), in.pMats()), 0);
    EXPECT_EQ(cap.body(), "");

    // Laminates get the host ids (materials 1-5, laminates 6 and 7); the
    // elements' pids follow; only laminates in use are read.
    ASSERT_EQ(in.pLams()->entries(), 2);
    const CKpLam* off = in.pLams()->find(6);
    const CKpLam* noOff = in.pLams()->find(7);
    ASSERT_TRUE(off && noOff);
    EXPECT_STREQ(off->name(), "Off");
    EXPECT_EQ(off->z0_blank(), 0);
    EXPECT_DOUBLE_EQ(off->z0(), -0.5);
    EXPECT_EQ(noOff->z0_blank(), 1);
    EXPECT_EQ(in.pElems()->find(1)->pid(), 6);
    EXPECT_EQ(in.pElems()->find(2)->pid(), 7);
    std::string stack;
    for (const CKpLam* lam : {off, noOff})
        for (int k = 0; k < lam->NumLayers(); ++k) {
            const CKpLamLyr* l = lam->LamLyrs()->Get(k);
            stack += std::to_string(l->mid()) + "/" + std::to_string(l->t()) + "/" +
                     std::to_string(std::lround(l->theta() * 180.0 / kPi)) + "/" +
                     std::to_string(l->gplyid()) + " ";
        }
    EXPECT_EQ(stack,
              "1/0.250000/45/3 3/0.500000/-45/4 5/0.125000/90/5 2/0.500000/0/0 4/0.500000/30/0 ");

    // Each directionality keeps the constants its words carry; the others
    // stay 0. Word 132 carries min(Fs23, Fs31) into both.
    const std::vector<std::vector<std::string>> carried = {
        {"ex", "nuxy", "gxy", "alpx"},
        {"ex", "ey", "ez", "nuxy", "nuyz", "nuzx", "gxy", "gyz", "gzx", "alpx", "alpy", "alpz"},
        {"ex",  "ey",  "ez",  "nuxy", "nuyz", "nuzx", "gxy", "gyz", "gzx",
         "c14", "c15", "c16", "c24",  "c25",  "c26",  "c34", "c35", "c36",
         "c45", "c46", "c56", "alpx", "alpy", "alpz", "a4",  "a5",  "a6"},
        {"ex", "ey", "nuxy", "gxy", "gyz", "gzx", "alpx", "alpy"},
        {"ex", "ey", "nuxy", "gxy", "c14", "c24", "alpx", "alpy", "a4"}};
    const std::vector<std::string> common = {"fxt", "fytRaw", "fxcRaw", "fycRaw", "fs12", "f12",
                                             "f23", "f31",    "dens",   "tref",   "ge"};
    ASSERT_EQ(in.pMats()->entries(), 5);
    for (int dir = 1; dir <= 5; ++dir) {
        const CKpMat* m = in.pMats()->find(dir);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->dir(), dir);
        EXPECT_STREQ(m->mtrlnm(), ("M" + std::to_string(dir)).c_str());
        EXPECT_STREQ(m->extmtrlnm(), m->mtrlnm());
        EXPECT_EQ(m->extmtrlid(), dir);
        for (size_t k = 0; k < fields().size(); ++k) {
            const Field& f = fields()[k];
            const auto& mine = carried[dir - 1];
            const bool kept = std::find(mine.begin(), mine.end(), f.name) != mine.end() ||
                              std::find(common.begin(), common.end(), f.name) != common.end();
            double expected = kept ? 10.0 * dir + k + 0.5 : 0.0;
            if (std::string(f.name) == "fs23" || std::string(f.name) == "fs31")
                expected = 10.0 * dir + 32 + 0.5;  // the smaller, Fs23
            EXPECT_EQ(f.get(*m), expected) << "dir " << dir << " " << f.name;
        }
    }
}

TEST_F(CMorvekMatTest, GetLamSkipsMaterialsWithoutAUsableLayerCount) {
    CMorvek db;
    CKpLayup model(&db, nullptr);
    plate(model);
    // Element 1: a laminate whose word 40 is far beyond int range; element
    // 2: a plain material region.
    ASSERT_EQ(stub.load("mat 1 \"Ply\" \"\" 1 1 0\n"
                        "mat 2 \"Big\" \"\" 6 5 1\n"
                        "matword 2 40 1e20\n"
                        "lam 2 0 1\n"
                        "region 5 \"R5\"\n"
                        "word 5 13 5 2 0 0 0 0 0\n"
                        "region 6 \"R6\"\n"
                        "word 6 13 5 1 0 0 0 0 0\n"
                        "member 5 1\n"
                        "member 6 2\n"),
              0);
    EXPECT_EQ(db.getLam(&cap.log, model.pElems(), model.pLams()), 0);
    EXPECT_EQ(cap.body(), "$# WARNING:  Invalid layer count 1e+20 for laminate material 2\n");
    EXPECT_EQ(model.pLams()->entries(), 0);
    EXPECT_EQ(model.pElems()->find(1)->pid(), 0);

    // Each failing host call: its message and -1.
    for (const char* fn : {"DbFGetRegionForElements", "DbFGetRegionDefinition",
                           "DbGetMaterialPropValueCount", "DbGetMaterialPropValue"}) {
        cap.reset();
        MorvekStubFail(fn, 3);
        EXPECT_EQ(db.getLam(&cap.log, model.pElems(), model.pLams()), -1) << fn;
        EXPECT_EQ(cap.body(), std::string("$# ERROR:  ") + fn + ": status 3\n");
    }
}

// A material the store cannot take is freed and the read fails, naming it.
TEST_F(CMorvekMatTest, GetMatFailsWhenTheStoreRefusesAMaterial) {
    CMorvek db;
    CKpLayup model(&db, nullptr);
    ASSERT_EQ(model.NewLayup(0.0, 0.0), 0);
    ASSERT_EQ(stub.load("mat 1 \"Ply\" \"\" 1 1 0\n"), 0);
    addLam(model, 30, "L", {{1, 0.5, 0, 0}}, false);

    RefusingStore<CKpMatStore> mats(&model);
    EXPECT_EQ(db.getMat(&cap.log, model.pLams(), &mats), -1);
    EXPECT_EQ(mats.refused, 1);
    EXPECT_EQ(mats.entries(), 0);
    EXPECT_EQ(cap.body(), "$# ERROR: Could not store material 1.\n");

    // The model's own store takes it.
    cap.reset();
    EXPECT_EQ(db.getMat(&cap.log, model.pLams(), model.pMats()), 0);
    ASSERT_NE(model.pMats()->find(1), nullptr);
    EXPECT_STREQ(model.pMats()->find(1)->mtrlnm(), "Ply");
}
