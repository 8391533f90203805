#ifndef PLYSTRAND_TESTS_SUPPORT_LYPTESTMODEL_H
#define PLYSTRAND_TESTS_SUPPORT_LYPTESTMODEL_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpOff.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/add_layer.h"
#include "layuplib/surface_div.h"
#include "tests/support/MeshGen.h"

// A model with one or more objects of every kind the layup file holds, in
// the state opening a layup file leaves (materials with external names and
// ids, tolerances set onto the elements), on a 4 x 2 plate of unit quads:
//   | 5 | 6 | 7 | 8 |     patch 2, orientation 2 "Fixed angle" (type 3)
//   | 1 | 2 | 3 | 4 |     patch 1, orientation 1 "By frame x" (type 1)
// - ANSYS element type 1 (181, keyopt 8 = 2); element 1 has ANSYS data 1..8;
// - material 1 "Woven carbon" (type 3) with states at 0.2 and 0.4,
//   material 2 "UD tape" (type 2);
// - ply 1 `plyOneName` (draped, elements 1-8; its pattern has a split edge
//   and both seed curves, kSeedCurve0/1), ply 2 "Ply two" (projected,
//   1-4), ply 3 "Ply three" (type 4, 5-8), each with a simulated pattern;
// - layup "Main layup" (id 1): ply 1, ply 2, ply 1 again (side -1), ply 3;
// - offset "Edge offset", tolerance region 1 (elements 3, 4), set 5
//   "Scattered ids" (kSetIds).
namespace lyptest {

// The set's ids: the run 18-20 crosses from the first 902 line to the next.
const std::vector<int> kSetIds = {1, 3, 4, 5, 7, 9, 10, 12, 14, 16, 18, 19, 20, 22};
// Pattern 1's seed curves as (element id, edge) pairs: curve 0 along the
// bottom of elements 1 and 2, curve 1 the top of element 5.
const int kSeedCurve0[2][2] = {{1, 1}, {2, 1}};
const int kSeedCurve1[2] = {5, 3};

inline CKpMat* AddMat(CKpLayup& model, int id, int type, const char* name) {
    CKpMat* mat = new CKpMat(id);
    mat->setLyrtp(type);
    mat->setMtrlnm(name);
    mat->setExtmtrlnm(name);
    mat->setExtmtrlid(id);
    mat->setMtrlthck(0.25);
    mat->setDir(4);
    mat->setE(70000.0, 65000.0, 0.0);
    mat->setFcFt(800.0, 0.0, 90.0);
    model.pMats()->insert(mat);
    return mat;
}

// A ply "simulated" over elements [first, last]: pattern elements filled
// and linked, result 0.
inline CKpPly* AddPly(CKpLayup& model, int id, const char* name, int type, CKpMat* mat, int first,
                      int last) {
    CKpPat* pat = new CKpPat(id);
    pat->setLyrtp(type);
    pat->SetNameByPlyName(name);
    pat->setStdn(1);
    pat->setSimResult(0);
    pat->setEye(0.5, 0.5, 0.0);
    for (int e = first; e <= last; ++e) {
        CKpPatElem* pe = new CKpPatElem;
        pe->setElemId(e);
        pe->setPelem(model.pElems()->find(e));
        pe->setStdn(1);
        pe->setDnfg(e % 3 == 0 ? -1 : 1);
        pe->setShear(0.01 * e);
        pe->setWarpAngle(0.1 * id + 0.001 * e);
        pe->setWeftAngle(0.1 * id + 1.5 + 0.002 * e);
        pe->setThickness(e == last ? 0.27 : 0.0);
        pe->SetOrder(e - first + 1);
        pat->PatElems()->InsertLast(pe);
    }
    model.pPats()->insert(pat);
    CKpPly* ply = new CKpPly(id, name, type, mat, pat);
    model.pPlys()->insert(ply);
    return ply;
}

inline void Build(CKpLayup& model, const std::string& plyOneName) {
    const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 4.0, 2.0);
    const std::vector<int> patches = {1, 1, 1, 1, 2, 2, 2, 2};
    ASSERT_EQ(model.NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                 m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                                 m.connectivity.data(), 0.0, 0.0),
              0);
    model.pView()->rot(0.2, -0.1, 0.7);
    CKpAnsysEt* et = new CKpAnsysEt(1, 181);
    et->SetKeyopt(8, 2);
    model.pAnsys()->pEts()->insert(et);
    for (int i = 0; i < 8; ++i) model.pElems()->find(1)->CreateAnsys()->Set(i, i + 1);

    CKpMat* woven = AddMat(model, 1, 3, "Woven carbon");
    woven->setStrnallow(1);
    woven->setB(0.0, 0.2, 0.0);
    for (double strain : {0.2, 0.4}) {
        CKpMatProp* state = woven->Add(strain);
        state->setDir(4);
        state->setEx(60000.0 - 1e4 * strain);
        state->setFxt(700.0);
        state->setExtmtrlnm("Woven state");
    }
    const char* one = plyOneName.c_str();
    AddPly(model, 1, one, 3, woven, 1, 8)->AddEvent(2);
    AddPly(model, 2, "Ply two", 2, AddMat(model, 2, 2, "UD tape"), 1, 4);
    AddPly(model, 3, "Ply three", 4, woven, 5, 8);
    CKpPat* pat = model.pPats()->find(1);
    pat->setAxsdn("Bias 45");
    pat->setMid(0, 2, 5, 0, 0);
    pat->setInadmissibleTolerance(0.01);
    const double origin[3] = {0.5, 0.0, 0.0};
    pat->SetCoordOriginName(origin, "Global origin");
    const int split[3] = {3, 2, 1};
    pat->PatSplits()->SetElemIdsEdgeIds(1, split, split + 1, split + 2);
    for (const int* edge : {kSeedCurve0[0], kSeedCurve0[1]})
        pat->SeedCurve(0)->InsertLast(new CKpElemEdge(edge[0], edge[1]));
    pat->SeedCurve(1)->InsertLast(new CKpElemEdge(kSeedCurve1[0], kSeedCurve1[1]));
    ASSERT_EQ(CreateLayupPly(&model, "Group A", "S1", 3, one, 1, 0, 0, 1001), 0);
    ASSERT_EQ(CreateLayupPly(&model, nullptr, nullptr, 2, "Ply two", 1, 0.5, 0.3, 1002), 0);
    ASSERT_EQ(CreateLayupPly(&model, nullptr, "S3", 3, one, -1, 0, 0, 1003), 0);
    ASSERT_EQ(CreateLayupPly(&model, nullptr, nullptr, 4, "Ply three", 1, 0, 0, 1004), 0);
    model.pLyp()->setId(1);
    model.pLyp()->setName("Main layup");

    CKpOff* off = static_cast<CKpOff*>(model.pOffs()->New());
    off->SetName("Edge offset");
    off->SetElementIds(2, std::vector<int>{1, 2}.data());
    off->SetOffsetValue(0.1);
    off->SetOffsetFlag(EVekOffsetBottom);
    off->SetCoordOriginName(origin, "Off origin");
    CKpTol* tol = new CKpTol(1, 0.2, 3.0);
    for (int id : {3, 4}) tol->pElems()->InsertLast(new CKpTolElem(id));
    model.pTols()->insert(tol);
    CKpSet* set = new CKpSet(5);
    set->setName("Scattered ids");
    set->SetIds(static_cast<int>(kSetIds.size()), kSetIds.data());
    model.pSets()->insert(set);
    for (int id = 1; id <= 2; ++id) {
        CKpOrient* orient = new CKpOrient(id);
        orient->setName(id == 1 ? "By frame x" : "Fixed angle");
        orient->setType(id == 1 ? 1 : 3);
        orient->setValues(id == 1 ? 1.0 : 0.3, 0.0, 0.0);
        model.pOrients()->insert(orient);
        for (int e = 4 * id - 3; e <= 4 * id; ++e) {
            CKpElem* elem = model.pElems()->find(e);
            elem->pOrient(orient);
            elem->orientId(id);
            elem->theta(0.1 * id);
        }
    }
    ASSERT_NE(model.pFacs()->CreateFacets(), 0);
    ASSERT_EQ(set_all_tolerances(model.pElems(), model.pFacs(), model.pGTol(), model.pTols()), 0);
}

}  // namespace lyptest

#endif  // PLYSTRAND_TESTS_SUPPORT_LYPTESTMODEL_H
