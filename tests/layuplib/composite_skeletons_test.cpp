#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpPropGenSet.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/angle_util.h"
#include "tests/support/Tolerance.h"

namespace {

CKpPatElem makePatElem(double warp, double weft, int stdn, int dnfg) {
    CKpPatElem pe;
    pe.setWarpAngle(warp), pe.setWeftAngle(weft), pe.setStdn(stdn), pe.setDnfg(dnfg);
    return pe;
}

}  // namespace

TEST(CompositeSkeletons, PropGenSetClearRestoresDefaultsButKeepsVectors) {
    CKpPropGenSet set;
    EXPECT_EQ(set.SetLayup(nullptr), 1);
    EXPECT_EQ(set.hasLayup(), 0);

    const int options[6] = {1, 2, 3, 4, 5, 6};
    const double v[3] = {0.0, 1.0, 0.0};
    const double o[3] = {5.0, 6.0, 7.0};
    set.SetName("P"), set.SetPropertySetOptions(options), set.SetPropertyMode(13009);
    EXPECT_EQ(set.SetCoordId(1, 9), 0);
    EXPECT_EQ(set.SetCoordId(2, 9), 1);
    EXPECT_EQ(set.SetVectorDirection(0, v), 0);
    EXPECT_EQ(set.SetCoordOrigin(1, o), 0);
    set.SetAngleTolerance(0.01), set.SetFirstLamId(300), set.SetShearCorrection(1);
    set.elementIds().findOrCreate(3);

    EXPECT_EQ(set.Clear(), 0);  // no model: no store is touched
    EXPECT_STREQ(set.name(), "");
    EXPECT_EQ(set.elementIds().entries(), 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(set.option(i), 0) << "option " << i;
    EXPECT_EQ(set.angleTolerance(), 0.0);
    EXPECT_EQ((std::vector<int>{set.propertyMode(), set.coordId(1), set.firstLamId(),
                                set.shearCorrection()}),
              std::vector<int>(4, 0));
    // The vectors and origins survive a Clear.
    EXPECT_EQ((std::vector<double>{set.vectorDirection(0).Get(1), set.coordOrigin(1).Get(2)}),
              (std::vector<double>{1.0, 7.0}));
}

TEST(CompositeSkeletons, PropGenSetClearEmptiesGeneratedStoresOfItsModel) {
    CKpLayup model(nullptr, nullptr);
    CKpElem* elem = model.pElems()->NewElem(1, 11);
    model.pElems()->insert(elem);
    CKpOrient* orient = new CKpOrient(1);
    orient->setType(CKpOrient::TypeAngle);
    model.pOrients()->insert(orient);
    elem->pOrient(orient);
    elem->orientId(1);
    elem->pid(4);
    model.pLams()->insert(new CKpLam(4));
    model.pFields()->insert(new CKpField(2));
    model.pSets()->insert(new CKpSet(3));

    EXPECT_EQ(model.pPropGenSet()->Clear(), 0);
    EXPECT_EQ(model.pLams()->entries() + model.pOrients()->entries() + model.pFields()->entries(),
              0);
    EXPECT_EQ(elem->pOrient(), nullptr);  // no element points at a deleted orientation
    EXPECT_EQ(elem->pid(), 0);
    EXPECT_EQ(model.pSets()->entries(), 1);  // sets are not generated output
}

TEST(CompositeSkeletons, AddLypPlyIdsCollectsTheUnionOfStacks) {
    CKpLypPly lp1(1), lp2(2), lp3(3);
    CKpElemLypPlyStore a, b;
    a.InsertLast(new CKpElemLypPly(&lp2, nullptr));
    a.InsertLast(new CKpElemLypPly(&lp1, nullptr));
    a.InsertLast(new CKpElemLypPly(nullptr, nullptr));  // no layup ply: skipped
    b.InsertLast(new CKpElemLypPly(&lp3, nullptr));
    b.InsertLast(new CKpElemLypPly(&lp2, nullptr));

    CVekObjectStore<CVekObject> ids(64);
    EXPECT_EQ(a.AddLypPlyIds(ids), 0);
    EXPECT_EQ(b.AddLypPlyIds(ids), 0);
    ASSERT_EQ(ids.entries(), 3);
    int n = 3;
    std::vector<int> got(3);
    ids.GetAllIds(n, got.data());
    EXPECT_EQ(got, (std::vector<int>{1, 2, 3}));
    ids.eraseAllObjects();
}

TEST(CompositeSkeletons, LayupReinitEmptiesAndStaysUsable) {
    CKpLyp lyp;
    lyp.setId(1), lyp.setName("Layup");
    for (int id = 1; id <= 70; ++id) lyp.LypPlys().insert(new CKpLypPly(id));  // grows past 64

    lyp.reinit();
    EXPECT_EQ(lyp.id() + lyp.LypPlys().entries(), 0);
    EXPECT_STREQ(lyp.name(), "");
    EXPECT_EQ(lyp.LypPlys().capacity(), 64u);

    lyp.LypPlys().insert(new CKpLypPly(1));
    EXPECT_NE(lyp.LypPlys().find(1), nullptr);
}

TEST(CompositeSkeletons, FieldValueInsertionMarksTheConstantCheckStale) {
    CKpField field(1);
    ASSERT_NE(field.GetFieldVals(), nullptr);
    field.SetIsConstantValValid(1);

    const double dirs[6] = {1.0, 0.0, 0.0, 0.0, 1.0, 0.0};
    CKpFieldVal* val = new CKpFieldVal(42);
    EXPECT_EQ(val->SetVals(0, dirs), 1);
    EXPECT_EQ(val->SetVals(6, nullptr), 2);
    ASSERT_EQ(val->SetVals(6, dirs), 0);
    field.GetFieldVals()->insert(val);

    EXPECT_EQ(field.isConstantValValid(), 0);
    EXPECT_EQ(val->GetFieldValStore(), field.GetFieldVals());
    EXPECT_EQ(val->GetNumVals(), 6);
    // Indices out of range read 0.
    EXPECT_EQ((std::vector<double>{val->GetVal(4), val->GetVal(6), val->GetVal(-1)}),
              (std::vector<double>{1.0, 0.0, 0.0}));

    const double one = 0.25;
    CKpFieldVal* thin = new CKpFieldVal(7);
    thin->SetVals(1, &one);
    field.GetFieldVals()->insert(thin);
    EXPECT_EQ(field.GetFieldVals()->GetMaxNumVals(), 6);
    // The field deletes both records.
}

TEST(CompositeSkeletons, PlyElemWeftAngleFallsBackToThePerpendicular) {
    // Distinct warp and weft: the weft as stored.
    CKpPatElem draped = makePatElem(0.2, 1.5, 1, 1);
    CKpPlyElem pd(nullptr, &draped);
    const double got[3] = {pd.GetXMLWeftAngle(), pd.wpwtang(), pd.rotn()};
    EXPECT_TRUE(NearArray(got, std::vector<double>{1.5, 1.3, 0.2}, 3, tol::angle));

    // Weft on the warp, side +1, near +pi: warp + pi/2 wraps round.
    CKpPatElem upper = makePatElem(kPi - 0.1, kPi - 0.1, 1, 1);
    CKpPlyElem pu(nullptr, &upper);
    EXPECT_TRUE(Near(pu.GetXMLWeftAngle(), -0.5 * kPi - 0.1, tol::angle));

    // Side -1 (stdn -1, dnfg +1); the weft differs from the warp by a full
    // turn, which counts as coincident.
    CKpPatElem lower = makePatElem(0.3, 0.3 + 2.0 * kPi, -1, 1);
    CKpPlyElem pl(nullptr, &lower);
    EXPECT_EQ(pl.GetSide(), -1);
    EXPECT_TRUE(Near(pl.GetXMLWeftAngle(), 0.3 - 0.5 * kPi, tol::angle));

    // Weft minus warp exactly -pi reads +pi.
    CKpPatElem opposite = makePatElem(0.5 * kPi, -0.5 * kPi, 1, 1);
    EXPECT_TRUE(Near(CKpPlyElem(nullptr, &opposite).wpwtang(), kPi, tol::angle));
}

TEST(CompositeSkeletons, ElemLypPlyThicknessAndAngle) {
    CKpMat mat(3);
    mat.setMtrlthck(0.2);
    CKpPatElem pe = makePatElem(0.4, 0.4, 1, -1);
    pe.setShear(kPi / 3.0);  // 60 degrees, no thickness coefficients: t0 / cos
    CKpPlyElem plyElem(&mat, &pe);
    CKpLypPly lp(5);
    lp.setAngleOffset(0.1);

    CKpElemLypPly entry(&lp, &plyElem);
    EXPECT_TRUE(Near(entry.thck(), 0.4, tol::length));
    // Without a ply the layup ply's start-direction flag is 0: no offset.
    EXPECT_TRUE(Near(entry.rotn(), 0.4, tol::angle));

    // With a ply whose pattern starts at -1: 0.4 + dnfg (-1) x (0.1 x -1).
    CKpPat pat(1);
    pat.setStdn(-1);
    CKpPly ply(1);
    ply.setPat(&pat);
    lp.setPly(&ply);
    EXPECT_EQ(entry.GetElemDnfg(), 1);
    EXPECT_TRUE(Near(entry.rotn(), 0.5, tol::angle));

    lp.setThicknessOverride(0.15);
    EXPECT_TRUE(Near(entry.thck(), 0.15, tol::length));
}
