#include "layuplib/SaveLaminate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/add_layer.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/RefusingStore.h"
#include "tests/support/Tolerance.h"

namespace {

const int kOptions[6] = {1, 2, 3, 4, 5, 6};

CKpDirn Dir(double x, double y, double z) {
    CKpDirn d;
    d.Set(x, y, z);
    return d;
}

using AngleOf = std::function<double(int)>;  // element id -> degrees or thickness

// A row of unit quad4 elements along x (ids 1..n, normal +z, reference +x),
// all selected, with plies made "simulated" directly and placed in the
// layup: one entry per ply on each element it covers, bottom first.
class SaveLam : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpMat* carbon = nullptr;
    CKpMat* glass = nullptr;

    void Row(int n) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, n, 1, n, 1.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        for (int id = 1; id <= n; ++id) Elem(id)->setSltd(1);
        carbon = Material(1, "Carbon", 0.25);
        glass = Material(2, "Glass", 0.25);
        gui.clear();
    }
    CKpMat* Material(int id, const char* name, double t) {
        CKpMat* mat = new CKpMat(id);
        mat->setMtrlnm(name), mat->setMtrlthck(t);
        mat->setDir(1), mat->setEx(70e3), mat->setNuxy(0.3), mat->setDens(2.7e-9);
        model->pMats()->insert(mat);
        return mat;
    }
    // Ply `name` over `ids` with warp angle `warp` (degrees) and thickness
    // `thick` (0: the material's) per element, placed with global ply id.
    void Lay(const char* name, int gply, const std::vector<int>& ids, CKpMat* mat = nullptr,
             AngleOf warp = nullptr, AngleOf thick = nullptr) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name), pat->setStdn(1), pat->setSimResult(0);
        model->pPats()->insert(pat);
        for (int id : ids) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(Elem(id)), pe->setStdn(1), pe->setDnfg(1);
            pe->setWarpAngle(warp ? radians(warp(id)) : 0.0);
            pe->setThickness(thick ? thick(id) : 0.0);
            pat->PatElems()->InsertLast(pe);
        }
        model->pPlys()->insert(
            new CKpPly(model->pPlys()->maxId() + 1, name, 2, mat ? mat : carbon, pat));
        ASSERT_EQ(CreateLayupPly(model.get(), "", "", 2, name, 1, 0.0, 0.0, gply), 0);
    }
    int Save(int mode, double tolDeg = 1.0, double thkPct = 5.0, CKpDirn p = CKpDirn(),
             CKpDirn s = CKpDirn(), int equally = 0) {
        return SaveLaminate(model->pMsg(), "L", kOptions, model->pElems(), mode, 7, 8, p, s,
                            radians(10.0), radians(tolDeg), thkPct, 100, 5, 1, 1, 0, equally, 0,
                            model->pProps(), model->pLams(), model->pCoords(), model->pFields(),
                            model->pOrients());
    }
    CKpElem* Elem(int id) { return model->pElems()->find(id); }
    CKpProp* Prop(int i) { return (*model->pProps())[i]; }
    CKpLam* LamOf(int id) { return model->pLams()->find(Elem(id)->pid()); }
    int Props() { return model->pProps()->entries(); }
    int Lams() { return model->pLams()->entries(); }
    static std::vector<double> LayerAngles(CKpLam* lam) {
        std::vector<double> out;
        for (CKpLamLyr* l = lam->LamLyrs()->First(); l; l = lam->LamLyrs()->Next(l))
            out.push_back(degrees(l->theta()));
        return out;
    }
    // "id type value" per word, value without the padding of numbers.
    static std::vector<std::string> Words(CKpProp* p) {
        const int n = p->GetNumWords();
        std::vector<int> ids(n), types(n);
        std::vector<std::vector<char>> buf(n, std::vector<char>(IVekPropertySet::WORD_VALUE_LEN));
        std::vector<char*> values;
        for (auto& b : buf) values.push_back(b.data());
        EXPECT_EQ(p->GetWordIdsTypesValues(n, ids.data(), types.data(), values.data()), 0);
        std::vector<std::string> out;
        for (int k = 0; k < n; ++k) {
            std::string v = values[k];
            v.erase(0, v.find_first_not_of(' '));
            out.push_back(std::to_string(ids[k]) + " " + std::to_string(types[k]) + " " + v);
        }
        return out;
    }
};

}  // namespace

TEST(SaveLaminateHelpers, EquallySpacedValuesSnapToWholeSteps) {
    // Tolerance 5 degrees: steps of 5 degrees; fractions of one half round up.
    const double snaps[4][2] = {{12.0, 10.0}, {12.5, 15.0}, {-12.5, -10.0}, {-13.0, -15.0}};
    for (const auto& c : snaps)
        EXPECT_TRUE(Near(degrees(eql_spcd_vars_ang(radians(5.0), radians(c[0]))), c[1], tol::loose))
            << c[0];
    EXPECT_TRUE(Near(eql_spcd_vars_ang(radians(5.0), -kPi), kPi, tol::angle));  // -pi as pi
    EXPECT_TRUE(Near(eql_spcd_vars_thck(5.0, 0.2, 0.2149), 0.21, tol::length));
    EXPECT_TRUE(Near(eql_spcd_vars_thck(5.0, 0.2, 0.185), 0.18, tol::length));
    // No nominal thickness: no step to snap to, the thickness stays.
    EXPECT_EQ(eql_spcd_vars_thck(5.0, 0.0, 0.31), 0.31);
}

TEST(SaveLaminateHelpers, ArcsAndProjections) {
    // Ends included; the long way round; across pi; an arc of no width holds nothing.
    const double arcs[5][4] = {{0.1, 0.3, 0.1, 1},
                               {0.1, 0.3, 0.3, 1},
                               {0.3, 0.1, 0.2, 0},
                               {3, -3, kPi, 1},
                               {0.2, 0.2, 0.2, 0}};
    for (const auto& a : arcs)
        EXPECT_EQ(SaveLaminateMatchAng(a[0], a[1], a[2]), a[3])
            << a[0] << " " << a[1] << " " << a[2];

    const CKpDirn N = Dir(0, 0, 1), R = Dir(1, 0, 0);
    CKpDirn v;
    double a = 0.0;
    v.Set(0, 2, 0.1);
    ASSERT_EQ(SaveLaminateMatchProjVector(nullptr, N, R, v, radians(10.0), a), 1);
    EXPECT_TRUE(Near(a, kPi / 2, tol::angle));
    v.Set(0.1, 0, -1);  // within the switch angle of -N
    EXPECT_EQ(SaveLaminateMatchProjVector(nullptr, N, R, v, radians(10.0), a), 0);
    v.Set(0, 0, 0);  // no direction: "succeeds" with the unset angle
    ASSERT_EQ(SaveLaminateMatchProjVector(nullptr, N, R, v, radians(10.0), a), 1);
    EXPECT_EQ(a, -1000.0);
}

// A frame made for an element away from the origin keeps B and C relative
// to its origin, and matching reads the arc in the frame's own axes.
TEST(SaveLaminateHelpers, FrameIsBuiltAtItsOriginAndMatchedByAxisAndDistance) {
    CKpCoordStore coords;
    CKpPoint P;
    P.Set(1, 2, 3);
    const CKpDirn N = Dir(0, 0, 1), R = Dir(1, 0, 0);
    CKpCoord* f = nullptr;
    int counter = 40;
    ASSERT_EQ(SaveLaminateCreateCoord(nullptr, P, N, R, kPi / 2, kPi / 2, f, counter, &coords), 0);
    EXPECT_EQ(f->id() * 100 + counter, 4041);
    std::vector<double> abc;
    for (int i = 0; i < 9; ++i) abc.push_back(f->coords(i));
    EXPECT_TRUE(NearArray(abc, std::vector<double>{1, 2, 3, 1, 2, 4, 1, 3, 3}, 9, tol::length));

    double c0 = 0, c1 = 0;
    ASSERT_EQ(SaveLaminateMatchCoord(P, N, R, 0.1, 0.2, f, 0.01, 0.5, c0, c1), 1);
    EXPECT_TRUE(NearArray(std::vector<double>{c0, c1},
                          std::vector<double>{0.1 - kPi / 2, 0.2 - kPi / 2}, 2, tol::loose));
    CKpPoint far;
    far.Set(1, 2, 4);
    EXPECT_EQ(SaveLaminateMatchCoord(far, N, R, 0.1, 0.2, f, 0.01, 0.5, c0, c1), 0);
    coords.eraseAllObjects();
}

// A frame the coordinate store cannot take is not handed out: the caller gets
// the allocation error, no frame and its counter unchanged.
TEST(SaveLaminateHelpers, FrameTheStoreRefusesIsAFailure) {
    MessageCapture cap("savelam_refused_frame");
    RefusingStore<CKpCoordStore> coords;
    CKpPoint P;
    P.Set(1, 2, 3);
    const CKpDirn N = Dir(0, 0, 1), R = Dir(1, 0, 0);
    CKpCoord* frame = nullptr;
    int counter = 40;
    EXPECT_EQ(SaveLaminateCreateCoord(&cap.log, P, N, R, 0.0, 0.0, frame, counter, &coords), -1);
    EXPECT_EQ(coords.refused, 1);
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(counter, 40);
    EXPECT_EQ(coords.entries(), 0);
    EXPECT_EQ(cap.body(), "$# ERROR: Could not allocate memory.\n");
}

TEST_F(SaveLam, MatchingStacksShareOneLaminateAndPropertySet) {
    Row(5);
    Lay("P1", 11, {1, 2, 3, 4}, carbon, [](int) { return 45.0; });
    Lay("P2", 12, {1, 2, 3, 4}, glass, [](int) { return -45.0; });
    ASSERT_EQ(Save(3), 0);

    ASSERT_EQ(Props() * 10 + Lams(), 11);
    CKpLam* lam = LamOf(1);
    ASSERT_NE(lam, nullptr);
    EXPECT_STREQ(lam->name(), "L1");
    EXPECT_TRUE(Near(lam->z0(), -0.25, tol::length));  // off flag 0: centred on the surface
    EXPECT_TRUE(NearArray(LayerAngles(lam), std::vector<double>{0.0, -90.0}, 2, tol::loose));
    CKpLamLyr* top = lam->LamLyrs()->Last();
    EXPECT_EQ(top->gplyid() * 10 + top->mid(), 122);

    CKpProp* p = Prop(0);
    EXPECT_EQ((std::vector<int>{p->id(), p->GetNumElems(), p->epOpts(5)}),
              (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(Words(p), (std::vector<std::string>{"13 5 m:L1", "20 1 45"}));
    for (int id = 1; id <= 4; ++id) EXPECT_EQ(Elem(id)->pid(), lam->id());
    EXPECT_EQ(Elem(5)->pid(), 0);  // no plies: no property, no error
}

// Angles within / beyond the tolerance, thicknesses within / beyond the
// percentage, offsets and the exactly compared fields.
TEST_F(SaveLam, TolerancesSplitOrJoinGroups) {
    Row(8);
    const std::vector<int> all{1, 2, 3, 4, 5, 6, 7, 8};
    // 2: both plies turned by 0.5 degree, 3: by 3 degrees, 4: the plies
    // 3 degrees apart, 5: 4% thicker, 6: 8% thicker, 7: offset, 8: glass.
    Lay(
        "P1", 1, {1, 2, 3, 4, 5, 6, 7}, carbon,
        [](int id) { return id == 2   ? 0.5
                            : id == 3 ? 3.0
                                      : 0.0; },
        [](int id) { return id == 5   ? 0.26
                            : id == 6 ? 0.27
                                      : 0.0; });
    Lay("P1b", 1, {8}, glass);
    Lay("P2", 2, all, carbon, [](int id) {
        return id == 2 ? 0.5 : (id == 3 || id == 4) ? 3.0 : 0.0;
    });
    Elem(7)->setoff_val(0.1);
    ASSERT_EQ(Save(3), 0);

    EXPECT_EQ(LamOf(2), LamOf(1));  // common rotation within tolerance
    EXPECT_EQ(LamOf(3), LamOf(1));  // same laminate, turned: its own angle
    EXPECT_EQ(LamOf(5), LamOf(1));  // 4% < 5%
    for (int id : {4, 6, 7, 8}) EXPECT_NE(LamOf(id), LamOf(1)) << id;
    EXPECT_EQ(Lams() * 10 + Props(), 56);  // elements 1, 2 and 5 share the first property
    EXPECT_EQ(Words(Prop(1)), (std::vector<std::string>{"13 5 m:L1", "20 1 3"}));

    // With no angle tolerance nothing is ever shared.
    ASSERT_EQ(Save(3, 0.0), 0);
    EXPECT_EQ(Lams() * 10 + Props(), 88);
}

// Laminates of different stacks keep the layup's global ply ids, so that a
// global ply can be followed from laminate to laminate.
TEST_F(SaveLam, GlobalPlyNumbersAgreeAcrossLaminates) {
    Row(4);
    Lay("P1", 1, {1, 2, 3, 4});
    Lay("P2", 2, {1, 2});
    Lay("P3", 3, {1, 2, 3, 4});
    ASSERT_EQ(Save(0), 0);
    ASSERT_EQ(Lams(), 2);
    int count = 0, elems[4], layers[4];
    ASSERT_EQ(model->pLams()->GetGlobalPlyLayers(3, 4, count, elems, layers), 0);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(std::vector<int>(layers, layers + 4), (std::vector<int>{3, 3, 2, 2}));
}

// Each property mode: its words, and what it writes on the elements.
TEST_F(SaveLam, EveryModeWritesItsWordsAndOrientation) {
    Row(2);
    Lay("P1", 1, {1, 2}, carbon, [](int) { return 45.0; });
    Lay("P2", 2, {1, 2}, carbon, [](int) { return -45.0; });
    const CKpDirn p = Dir(1, 1, 0), s = Dir(0, 1, 0);
    struct Case {
        int mode;
        std::vector<std::string> words;
        double thetaDeg;
    };
    const std::vector<Case> cases{
        {0, {}, 17.0},
        {1, {"13 5 m:L1", "21 9 Coord7", "1079 3 3"}, 0.0},
        {2, {"13 5 m:L1", "21 9 Coord100", "20 1 0"}, 0.0},
        {3, {"13 5 m:L1", "20 1 45"}, 0.0},
        {4, {"13 5 m:L1"}, 0.0},
        {5, {"13 5 m:L1", "20 2 <1,1,0>"}, 45.0},
        {6, {"13 5 m:L1", "20 9 Coord7"}, 45.0},
        {7, {"13 5 m:L1"}, 0.0},
        {8, {"13 5 m:L1", "20 9 Coord100"}, 45.0},
        {9, {"13 5 m:L1", "20 1 f:L5"}, 45.0},
        {118, {"13 5 m:", "21 9 Coord100"}, 45.0},
        {2004, {"13 5 m:L1"}, degrees(Elem(1)->GetThetaAnsys(nullptr))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        for (int id = 1; id <= 2; ++id) Elem(id)->theta(radians(17.0));
        ASSERT_EQ(Save(c.mode, 1.0, 5.0, p, s), 0);
        ASSERT_EQ(Props(), 1);
        EXPECT_EQ(Prop(0)->GetNumElems(), 2);
        EXPECT_EQ(Words(Prop(0)), c.words);
        for (int id = 1; id <= 2; ++id)
            EXPECT_TRUE(Near(degrees(Elem(id)->theta()), c.thetaDeg, tol::loose)) << id;
        // The laminate is turned back by its reference angle.
        const int m = c.mode;
        const double ref = m == 0 ? 17.0 : m == 1 ? 45.0 : (m == 2 || m == 3) ? 45.0 : c.thetaDeg;
        EXPECT_TRUE(Near(LayerAngles(LamOf(1))[0], 45.0 - ref, tol::loose));
        const CKpOrient* o = Elem(1)->pOrient();
        if (c.mode == 4 || c.mode == 9 || c.mode == 2004) {
            ASSERT_NE(o, nullptr);
            EXPECT_STREQ(o->name(), c.mode == 4   ? "Default"
                                    : c.mode == 9 ? "L5"
                                                  : "Default(ANSYS)");
            EXPECT_EQ(o->type(), c.mode == 4 ? 0 : c.mode == 9 ? 2 : 10);
        }
        if (c.mode == 9) {
            CKpField* f = model->pFields()->find(o->refId());
            ASSERT_NE(f, nullptr);
            ASSERT_EQ(f->GetFieldVals()->entries(), 2);
            EXPECT_TRUE(Near(f->GetFieldVals()->find(2)->GetVal(0), radians(45.0), tol::angle));
        }
        if (c.mode == 1 || c.mode == 6) {  // the process-wide frames, in no store
            EXPECT_EQ(model->pCoords()->entries(), 0);
            CKpDirn ax[3];
            ASSERT_EQ(Prop(0)->pCoord()->axes(nullptr, ax), 0);
            EXPECT_TRUE(Near(ax[2].getz(), 1.0, tol::loose));
            EXPECT_TRUE(Near(ax[0].getx(), std::sqrt(0.5), tol::loose));
        }
    }
}

TEST_F(SaveLam, ModeOneTakesTheNormalVectorWhenThePrimaryIsRefused) {
    Row(2);
    Lay("P1", 1, {1, 2}, carbon, [](int) { return 30.0; });
    CKpDirn p = Dir(0, 0, 1), s = Dir(1, 0, 0);  // primary along the element normal
    ASSERT_EQ(Save(1, 1.0, 5.0, p, s), 0);
    // primary x secondary = +y lies at 90 degrees on the elements: the
    // reference angle, recorded as the secondary.
    EXPECT_TRUE(Near(LayerAngles(LamOf(1))[0], -60.0, tol::loose));
    EXPECT_EQ(Words(Prop(0)).back(), "1079 3 2");

    // Primary refused and no normal vector: a failure, never an unset angle.
    s.Set(0, 0, 2);
    EXPECT_EQ(Save(1, 1.0, 5.0, p, s), -1);
    EXPECT_EQ(gui.texts(4).back(),
              "Could not project the primary or the normal vector onto element 1.");
}

TEST_F(SaveLam, SetUpChecksModeAndVectors) {
    Row(1);
    Lay("P1", 1, {1});
    const CKpDirn zero, p = Dir(1, 0, 0), s = Dir(1, 0.01, 0);
    EXPECT_EQ(Save(107, 1.0, 5.0, p, s), -1);  // solid generation's mode only
    EXPECT_EQ(Save(5, 1.0, 5.0, zero, s), -1);
    EXPECT_EQ(Save(6, 1.0, 5.0, p, s), -1);
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{
                  "Unsupported property mode.", "Primary vector <0,0,0> has null length.",
                  "Coordinate axes <1,0,0> and <1,0.01,0> separated by less than "
                  "switch angle 0.174533."}));
    EXPECT_EQ(SaveLaminate(model->pMsg(), "L", kOptions, model->pElems(), 5, 0, 0, p, zero, 0.0,
                           0.1, 5.0, 1, 1, 1, 1, 0, 0, 0, model->pProps(), model->pLams(),
                           model->pCoords(), model->pFields(), model->pOrients()),
              0);
    EXPECT_EQ(gui.texts(2).back(),
              "Secondary vector <0,0,0> has null length, setting switch angle to zero.");
}

TEST_F(SaveLam, EquallySpacedLayersAndShearStates) {
    Row(1);
    Lay(
        "P1", 1, {1}, carbon, [](int) { return 12.0; }, [](int) { return 0.2614; });
    ASSERT_EQ(Save(0, 5.0, 5.0, CKpDirn(), CKpDirn(), 1), 0);
    CKpLamLyr* l = LamOf(1)->LamLyrs()->First();
    EXPECT_TRUE(Near(degrees(l->theta()), 10.0, tol::loose));
    EXPECT_TRUE(Near(l->t(), 0.2625, tol::length));  // steps of 5% of 0.25

    // The material state takes part only with shear correction 1.
    l->setSttid(3);
    int n = 0;
    double T = 0, z0 = 0, a0 = 0, a1 = 0;
    CKpElemLypPlyStore* plies = Elem(1)->getElemLypPlies();
    SaveLaminateCalcData(plies, 0, 0.0, 0, n, T, z0);
    l->setT(0.2614);
    EXPECT_EQ(SaveLaminateMatchLam(plies, n, T, z0, LamOf(1), radians(5.0), 5.0, 0, 0, a0, a1), 1);
    EXPECT_EQ(SaveLaminateMatchLam(plies, n, T, z0, LamOf(1), radians(5.0), 5.0, 0, 1, a0, a1), 0);
}

// The indexed run groups exactly as the element-by-element search of the
// whole stores does.
TEST_F(SaveLam, IndexedRunAgreesWithFullSearch) {
    const int n = 60;
    Row(n);
    std::mt19937 rng(7);
    std::vector<int> variant(n + 1), tilt(n + 1);
    for (int id = 1; id <= n; ++id) variant[id] = rng() % 3, tilt[id] = rng() % 5;
    auto warp = [&](int id) { return 0.6 * tilt[id]; };
    auto thick = [&](int id) { return 0.25 + 0.004 * (variant[id] + tilt[id]); };
    for (int v = 0; v < 3; ++v) {
        std::vector<int> ids;
        for (int id = 1; id <= n; ++id)
            if (variant[id] == v) ids.push_back(id);
        Lay(("A" + std::to_string(v)).c_str(), 1, ids, v == 2 ? glass : carbon, warp, thick);
    }
    std::vector<int> all;
    for (int id = 1; id <= n; ++id) all.push_back(id);
    Lay("B", 2, all, carbon, [&](int id) { return 0.4 * tilt[id]; });
    for (int mode : {0, 3, 8}) {
        SCOPED_TRACE(mode);
        const CKpDirn p = Dir(1, 1, 0), s = Dir(0, 1, 0);
        ASSERT_EQ(Save(mode, 1.0, 5.0, p, s), 0);
        std::vector<int> pids(n + 1);
        for (int id = 1; id <= n; ++id) pids[id] = Elem(id)->pid();
        const int props = Props();

        model->pProps()->eraseAllObjects();
        model->pLams()->Clear();
        int coordCounter = 100, lamCounter = 1, propCounter = 1;
        for (int id = 1; id <= n; ++id)
            ASSERT_EQ(SaveLaminateElem(nullptr, "L", kOptions, mode, CKpPoint(), CKpPoint(), p, s,
                                       CKpDirn(), nullptr, nullptr, radians(10.0), radians(1.0),
                                       5.0, 0, 0, 0, coordCounter, nullptr, nullptr, "", lamCounter,
                                       propCounter, model->pCoords(), model->pFields(),
                                       model->pOrients(), model->pLams(), model->pProps(), Elem(id),
                                       Elem(id)->getElemLypPlies(), 0, 0.0, Elem(id)),
                      0);
        EXPECT_EQ(Props(), props);
        EXPECT_GT(props, 3);
        for (int id = 1; id <= n; ++id) EXPECT_EQ(Elem(id)->pid(), pids[id]) << id;
    }
}
