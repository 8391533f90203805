#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "host/CMorvek.h"
#include "host/LayupOut.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/StubDatabase.h"

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180.0;

class CMorvekPropTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        MorvekStubOpenDatabase("prop.db");
    }
    void TearDown() override { MorvekStubReset(); }

    // An n x 1 plate of unit quads along x in the stand-in database, read
    // into `model` (elements 1 .. n).
    static void plate(CKpLayup& model, int n) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, n, 1, n, 1.0);
        for (int k = 0; k < m.numNodes(); ++k)
            MorvekStubAddNode(m.nodeIds[k], static_cast<float>(m.xyz[3 * k]),
                              static_cast<float>(m.xyz[3 * k + 1]),
                              static_cast<float>(m.xyz[3 * k + 2]));
        for (int e = 0; e < m.numElems(); ++e)
            MorvekStubAddElem(m.elemIds[e], m.topologies[e], m.width, m.row(e));
        ASSERT_EQ(model.NewLayup(0.0, 0.0), 0);
    }
    static CKpOrient* orient(CKpLayup& model, int id, const char* name, int type, double v0,
                             double v1 = 0, double v2 = 0, int ref = 0) {
        CKpOrient* o = new CKpOrient(id);
        o->setName(name);
        o->setType(type);
        o->setValues(v0, v1, v2);
        o->setRefId(ref);
        model.pOrients()->insert(o);
        return o;
    }
    static void lam(CKpLayup& model, int id, const char* name, int extId) {
        CKpLam* l = new CKpLam(id);
        l->name(name);
        l->SetExtId(extId);
        model.pLams()->insert(l);
    }
    static void give(CKpLayup& model, int elemId, int pid, CKpOrient* o) {
        CKpElem* e = model.pElems()->find(elemId);
        e->pid(pid);
        e->pOrient(o);
        e->orientId(o ? o->id() : 0);
    }
    static double thetaDeg(CKpLayup& model, int elemId) {
        return model.pElems()->find(elemId)->theta() / kDeg;
    }

    MessageCapture cap{"cmorvekprop"};
    StubDatabase stub{"cmorvekprop"};
};

}  // namespace

TEST_F(CMorvekPropTest, OrientationsOfEveryTypeRoundTrip) {
    CMorvek db;
    CKpLayup out(&db, nullptr);
    plate(out, 5);
    // Frame 7: x axis at 30 degrees in the xy plane, origin (1, 2, 3).
    CKpCoord* frame = new CKpCoord(7);
    frame->setType(CKpCoordRectangular);
    const double a[9] = {1, 2, 3, 1, 2, 4, 1 + std::cos(30 * kDeg), 2 + std::sin(30 * kDeg), 3};
    for (int i = 0; i < 9; ++i) frame->setCoords(a[i], i);
    out.pCoords()->insert(frame);
    give(out, 1, 10, orient(out, 1, "ang", CKpOrient::TypeAngle, 30 * kDeg));
    give(out, 2, 11, orient(out, 2, "vec", CKpOrient::TypeDirection, 0, 1, 0));
    give(out, 3, 12, orient(out, 3, "frm", CKpOrient::TypeCoord, 0, 0, 0, 7));
    give(out, 4, 13, orient(out, 4, "fld", CKpOrient::TypeElemValues, 0));
    out.pElems()->find(4)->theta(20 * kDeg);
    give(out, 5, 99, nullptr);  // no laminate 99: written nowhere
    lam(out, 10, "LA", 100);
    lam(out, 11, "LB", 101);
    lam(out, 12, "LC", 102);
    lam(out, 13, "LD", 103);

    EXPECT_EQ(db.putProp(&cap.log, out.pElems(), out.pLams(), out.pOrients(), out.pCoords()), 0);
    EXPECT_EQ(cap.body(), "");
    EXPECT_EQ(stub.lines("frame"), "frame 7 1 1 2 3 0.866025388 0.5 -0 -0.5 0.866025388 0 0 0 1\n");
    EXPECT_EQ(frame->GetExtId(), 7);
    EXPECT_EQ(stub.lines("field"), "field 1 \"fld\" 4 20\n");
    EXPECT_EQ(stub.lines("region"),
              "region 10 \"LA\"\nregion 11 \"LB\"\nregion 12 \"LC\"\nregion 13 \"LD\"\n");
    // Degrees in the host.
    EXPECT_EQ(stub.lines("word"),
              "word 10 13 5 100 0 0 0 0 0\nword 10 20 1 0 30 0 0 0 0\n"
              "word 11 13 5 101 0 0 0 0 0\nword 11 20 2 0 0 1 0 0 0\n"
              "word 12 13 5 102 0 0 0 0 0\nword 12 20 9 0 0 0 0 7 0\n"
              "word 13 13 5 103 0 0 0 0 0\nword 13 20 -1 0 0 0 0 0 1\n");
    EXPECT_EQ(stub.lines("member"), "member 10 1\nmember 11 2\nmember 12 3\nmember 13 4\n");

    CKpLayup in(&db, nullptr);
    ASSERT_EQ(in.NewLayup(0.0, 0.0), 0);
    cap.reset();
    EXPECT_EQ(db.getProp(&cap.log, in.pElems(), in.pOrients(), in.pCoords()), 0);
    EXPECT_EQ(cap.body(), "");
    // Orientations by region id and name; radians in the model.
    std::string got;
    for (int k = 0; k < in.pOrients()->entries(); ++k) {
        const CKpOrient* o = (*in.pOrients())[k];
        got += std::to_string(o->id()) + ":" + o->name() + ":" + std::to_string(o->type()) + ":" +
               std::to_string(o->refId()) + " ";
    }
    EXPECT_EQ(got, "10:LA:3:0 11:LB:4:0 12:LC:1:7 13:LD:2:1 ");
    EXPECT_NEAR(in.pOrients()->find(10)->value(0), 30 * kDeg, 1e-7);
    const CKpCoord* readFrame = in.pCoords()->find(7);
    ASSERT_TRUE(readFrame);
    for (int i = 0; i < 9; ++i) EXPECT_NEAR(readFrame->coords(i), a[i], 1e-6) << i;
    EXPECT_NEAR(thetaDeg(in, 1), 30, 1e-5);
    EXPECT_NEAR(thetaDeg(in, 2), 90, 1e-5);
    EXPECT_NEAR(thetaDeg(in, 3), 30, 1e-5);
    EXPECT_NEAR(thetaDeg(in, 4), 20, 1e-5);
    EXPECT_EQ(in.pElems()->find(5)->pOrient(), nullptr);
    EXPECT_EQ(in.pElems()->find(4)->pOrient(), in.pOrients()->find(13));
}

TEST_F(CMorvekPropTest, LaterRunsOfALaminateAreRefusedAndReported) {
    CMorvek db;
    CKpLayup out(&db, nullptr);
    plate(out, 4);
    lam(out, 10, "L", 5);
    give(out, 4, 10, orient(out, 1, "first", CKpOrient::TypeAngle, 45 * kDeg));
    give(out, 2, 10, orient(out, 2, "second", CKpOrient::TypeAngle, 10 * kDeg));
    give(out, 3, 10, nullptr);
    give(out, 1, 10, out.pOrients()->find(1));

    EXPECT_EQ(db.putProp(&cap.log, out.pElems(), out.pLams(), out.pOrients(), out.pCoords()), 0);
    EXPECT_EQ(cap.body(),
              "$# ERROR:  DbFCreatePhysPropRegion: status 1 for region L_second\n"
              "$# ERROR:  DbFCreatePhysPropRegion: status 1 for region L_elem.3\n");
    // The first run's region is left as it was written.
    EXPECT_EQ(stub.lines("region"), "region 10 \"L\"\n");
    EXPECT_EQ(stub.lines("word 10 20"), "word 10 20 1 0 45 0 0 0 0\n");
    EXPECT_EQ(stub.lines("member"), "member 10 1 4\n");
}

TEST_F(CMorvekPropTest, GetPropReadsWhatTheRegionsHold) {
    CMorvek db;
    CKpLayup model(&db, nullptr);
    plate(model, 6);
    ASSERT_EQ(stub.load("frame 5 1 0 0 0 0 1 0 -1 0 0 0 0 1\n"
                        "field 3 \"F\" 6 12.5\n"
                        "region 1 \"plain\"\n"
                        "word 1 13 5 0 0 0 0 0 0\n"
                        "region 2 \"framed\"\n"
                        "word 2 20 9 0 0 0 0 5 0\n"
                        "region 3 \"also framed\"\n"
                        "word 3 20 9 0 0 0 0 5 0\n"
                        "region 4 \"odd\"\n"
                        "word 4 20 7 0 0 0 0 0 0\n"
                        "region 6 \"field\"\n"
                        "word 6 20 -1 0 0 0 0 0 3\n"
                        "member 1 1\nmember 2 2\nmember 3 3\nmember 4 4\nmember 6 6\n"),
              0);
    EXPECT_EQ(db.getProp(&cap.log, model.pElems(), model.pOrients(), model.pCoords()), 0);
    EXPECT_EQ(cap.body(), "$# ERROR:  Unrecognised datatype 7 for property word 20\n");
    EXPECT_EQ(MorvekStubCallCount("DbFGetCoordinateFrame"), 1);
    EXPECT_EQ(model.pOrients()->entries(), 3);
    EXPECT_EQ(model.pElems()->find(1)->pOrient(), nullptr);
    EXPECT_EQ(model.pElems()->find(4)->pOrient(), nullptr);
    EXPECT_EQ(model.pElems()->find(5)->pOrient(), nullptr);
    // Frame 5's x axis is the basic y axis.
    EXPECT_NEAR(thetaDeg(model, 2), 90, 1e-5);
    EXPECT_NEAR(thetaDeg(model, 3), 90, 1e-5);
    EXPECT_NEAR(thetaDeg(model, 6), 12.5, 1e-5);

    // A failing word list: reported, no orientation, the call goes on.
    CKpLayup again(&db, nullptr);
    ASSERT_EQ(again.NewLayup(0.0, 0.0), 0);
    cap.reset();
    MorvekStubFail("DbFGetPropsByRegion", 4);
    EXPECT_EQ(db.getProp(&cap.log, again.pElems(), again.pOrients(), again.pCoords()), 0);
    EXPECT_EQ(cap.body(),
              "$# ERROR:  DbFGetPropsByRegion: status 4 for region 1\n"
              "$# ERROR:  Unrecognised datatype 7 for property word 20\n");
    EXPECT_EQ(again.pOrients()->entries(), 3);

    // Every other failing host call ends the call with its message and -1.
    for (const char* fn : {"DbFGetRegionForElements", "DbFCountProps", "DbFGetPropValue",
                           "DbFGetRegionDefinition", "DbFGetCoordinateFrame", "GetFieldValues25"}) {
        CKpLayup fresh(&db, nullptr);
        ASSERT_EQ(fresh.NewLayup(0.0, 0.0), 0);
        cap.reset();
        MorvekStubFail(fn, 6);
        EXPECT_EQ(db.getProp(&cap.log, fresh.pElems(), fresh.pOrients(), fresh.pCoords()), -1)
            << fn;
        const std::string body = cap.body();
        EXPECT_EQ(body.substr(body.find(fn) - 2), std::string("  ") + fn + ": status 6\n");
    }
}

TEST_F(CMorvekPropTest, PutPropReportsEachFailureAndGoesOn) {
    CMorvek db;
    CKpLayup out(&db, nullptr);
    plate(out, 2);
    CKpCoord* frame = new CKpCoord(3);
    frame->setType(CKpCoordRectangular);
    const double a[9] = {0, 0, 0, 0, 0, 1, 1, 0, 0};
    for (int i = 0; i < 9; ++i) frame->setCoords(a[i], i);
    out.pCoords()->insert(frame);
    lam(out, 1, "L1", 0);
    give(out, 1, 1, orient(out, 1, "f", CKpOrient::TypeElemValues, 0));
    lam(out, 2, "L2", 0);
    give(out, 2, 2, orient(out, 2, "c", CKpOrient::TypeCoord, 0, 0, 0, 3));
    for (const char* fn : {"DbFCreateFieldLbc", "DbFCreateCoordinateFrame",
                           "DbFCreatePhysPropValue", "DbFAssociateElementToRegion"})
        MorvekStubFail(fn, 2);
    EXPECT_EQ(db.putProp(&cap.log, out.pElems(), out.pLams(), out.pOrients(), out.pCoords()), 0);
    EXPECT_EQ(cap.body(),
              "$# ERROR:  DbFCreateFieldLbc: status 2 for orient f\n"
              "$# ERROR:  DbFCreateCoordinateFrame: status 2 for coord 3\n"
              "$# ERROR:  DbFCreatePhysPropValue: status 2 for region L1 (material)\n"
              "$# ERROR:  DbFAssociateElementToRegion: status 2 for region L1\n");
    // Region 2 is whole; its frame was never created in the host.
    EXPECT_EQ(frame->GetExtId(), 0);
    EXPECT_EQ(stub.lines("word 2"), "word 2 13 5 0 0 0 0 0 0\nword 2 20 9 0 0 0 0 0 0\n");
    EXPECT_EQ(stub.lines("member"), "member 2 2\n");
}

// A bulk data deck read into a model with the database open, then written to
// the database whole: mesh, materials, laminates and their property regions,
// each as the deck gave it (host ids for the materials, the frame's axes from
// its three points, THETA as a field of degrees).
TEST_F(CMorvekPropTest, BulkDeckReadWithTheDatabaseOpenDumps) {
    const std::string deck = ::testing::TempDir() + "cmorvekprop_deck_" +
                             std::to_string(::getpid()) + ".bdf";
    std::ofstream(deck) << "BEGIN BULK\n"
                           "GRID    1               0.      0.      0.\n"
                           "GRID    2               1.      0.      0.\n"
                           "GRID    3               1.      1.      0.\n"
                           "GRID    4               0.      1.      0.\n"
                           "GRID    5               2.      0.      0.\n"
                           "GRID    6               2.      1.      0.\n"
                           "CORD2R  7               0.      0.      0.      0.      0.      1.\n"
                           "        0.      1.      0.\n"
                           "CQUAD4  1       20      1       2       3       4       30.\n"
                           "CQUAD4  2       21      2       5       6       3       7\n"
                           "MAT8    3       1.4+5   1.+4    .3      5.+3\n"
                           "MAT1    4       7.+4            .33\n"
                           "PCOMP   20      -.2\n"
                           "        3       .1      45.             4       .2      0.\n"
                           "PCOMP   21\n"
                           "        3       .125    -45.\n"
                           "ENDDATA\n";
    CMorvek db;
    CKpLayup model(&db, nullptr);
    ASSERT_EQ(model.Read(ILayup::eBulkData, deck.c_str(), 1, 0, ""), 0);
    std::remove(deck.c_str());
    ASSERT_EQ(model.Write(ILayup::eHostDatabase, nullptr, 7, 0, 0, 0), 0);
    // Z0 blank: the default offset, half the thickness below, flagged.
    EXPECT_EQ(stub.dump(),
              "node 1 0 0 0\n"
              "node 2 1 0 0\n"
              "node 3 1 1 0\n"
              "node 4 0 1 0\n"
              "node 5 2 0 0\n"
              "node 6 2 1 0\n"
              "elem 1 4 1 2 3 4\n"
              "elem 2 4 2 5 6 3\n"
              "frame 7 1 0 0 0 0 1 -0 -1 0 0 0 0 1\n"
              "field 1 \"Theta\" 1 30\n"
              "mat 1 \"mat8.3\" \"Imported via the Layup module.\" 5 4 0\n"
              "mat 2 \"mat1.4\" \"Imported via the Layup module.\" 1 1 0\n"
              "mat 3 \"pcomp.20\" \"Imported via the Layup module.\" 6 5 1\n"
              "mat 4 \"pcomp.21\" \"Imported via the Layup module.\" 6 5 1\n"
              "matmodel 1 1 1\n"
              "matmodel 1 4 1\n"
              "matmodel 2 1 1\n"
              "matmodel 2 4 1\n"
              "matword 1 2 140000\n"
              "matword 1 3 10000\n"
              "matword 1 5 0.300000012\n"
              "matword 1 8 5000\n"
              "matword 2 2 70000\n"
              "matword 2 5 0.330000013\n"
              "matword 2 8 26315.7891\n"  // G from E and NU: 7.+4 / (2 * 1.33)
              "matword 3 40 2\n"
              "matword 4 40 1\n"
              "lam 3 -0.2 0\n"
              "lam 4 -0.0625 1\n"
              "lamlayer 3 1 0.1 45 0\n"
              "lamlayer 3 2 0.2 0 0\n"
              "lamlayer 4 1 0.125 -45 0\n"
              "region 20 \"pcomp.20\"\n"
              "region 21 \"pcomp.21\"\n"
              "word 20 13 5 3 0 0 0 0 0\n"
              "word 20 20 -1 0 0 0 0 0 1\n"
              "word 21 13 5 4 0 0 0 0 0\n"
              "word 21 20 9 0 0 0 0 7 0\n"
              "member 20 1\n"
              "member 21 2\n");
}
