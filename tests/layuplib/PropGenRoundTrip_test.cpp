// Property generation followed by the rebuild of the layup from the
// laminates it made: the rebuilt plies must give every element its stack.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpPropGenSet.h"
#include "layuplib/LayupFromLams.h"
#include "layuplib/add_layer.h"
#include "layuplib/make_facet.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = std::acos(-1.0) / 180.0;

struct Layer {
    int mid;
    double deg;
    double t;
};
using Stack = std::vector<Layer>;  // bottom first

void ExpectSameStack(const Stack& got, const Stack& want, int elemId) {
    SCOPED_TRACE(::testing::Message() << "element " << elemId);
    ASSERT_EQ(got.size(), want.size());
    for (size_t k = 0; k < got.size(); ++k) {
        EXPECT_EQ(got[k].mid, want[k].mid) << "layer " << k;
        EXPECT_TRUE(Near(got[k].deg, want[k].deg, Tol{1e-9, 1e-12})) << "layer " << k;
        EXPECT_TRUE(Near(got[k].t, want[k].t, tol::length)) << "layer " << k;
    }
}

}  // namespace

// A 4 x 2 plate (ids 1..4 along the bottom row, 5..8 above) under three
// simulated plies: P1 everywhere, P2 on the left half, P3 on the middle
// columns; four distinct stacks in all.
TEST(PropGenRoundTrip, LaminatesRebuildTheOriginalStacks) {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model(new CKpLayup(nullptr, &gui));
    const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 4.0, 2.0);
    ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
    ASSERT_EQ(make_facet(model->pMsg(), model->pNodes(), model->pElems(), model->pFacs()), 1);
    auto material = [&](int id, double t) {
        CKpMat* mat = new CKpMat(id);
        mat->setMtrlnm(id == 1 ? "Carbon" : "Glass"), mat->setMtrlthck(t), mat->setDir(1);
        mat->setEx(70e3), mat->setNuxy(0.3), mat->setDens(2.7e-9);
        model->pMats()->insert(mat);
        return mat;
    };
    CKpMat* carbon = material(1, 0.25);
    CKpMat* glass = material(2, 0.3);

    std::vector<Stack> want(9);
    auto lay = [&](const char* name, int gply, CKpMat* mat, double deg, std::vector<int> ids) {
        CKpPat* pat = new CKpPat(model->pPats()->maxId() + 1);
        pat->setLyrtp(2), pat->SetNameByPlyName(name), pat->setStdn(1), pat->setSimResult(0);
        model->pPats()->insert(pat);
        for (int id : ids) {
            CKpPatElem* pe = new CKpPatElem;
            pe->setElemId(id), pe->setPelem(model->pElems()->find(id)), pe->setStdn(1);
            pe->setDnfg(1), pe->setWarpAngle(deg * kDeg), pe->setWeftAngle(deg * kDeg);
            pe->setThickness(mat->mtrlthck());
            pat->PatElems()->InsertLast(pe);
            want[id].push_back({mat->id(), deg, mat->mtrlthck()});
        }
        model->pPlys()->insert(new CKpPly(model->pPlys()->maxId() + 1, name, 2, mat, pat));
        ASSERT_EQ(CreateLayupPly(model.get(), "", "", 2, name, 1, 0.0, 0.0, gply), 0);
    };
    lay("P1", 1, carbon, 0.0, {1, 2, 3, 4, 5, 6, 7, 8});
    lay("P2", 2, glass, 45.0, {1, 2, 5, 6});
    lay("P3", 3, carbon, -30.0, {2, 3, 6, 7});

    for (int id = 1; id <= 8; ++id) model->pElems()->find(id)->setSltd(1);
    CKpPropGenSet* set = model->pPropGenSet();
    set->Clear();
    set->SetName("L"), set->SetAngleTolerance(0.01), set->SetThicknessTolerance(5.0);
    set->SetFirstLamId(1), set->SetFirstPropId(1), set->SetPropertyMode(0);
    ASSERT_EQ(set->Run(), 0);

    // One laminate per distinct stack, shared by the two elements of a column.
    ASSERT_EQ(model->pLams()->entries(), 4);
    for (int id = 1; id <= 8; ++id) {
        CKpLam* lam = model->pLams()->find(model->pElems()->find(id)->pid());
        ASSERT_NE(lam, nullptr) << "element " << id;
        EXPECT_EQ(model->pElems()->find(id)->pid(),
                  model->pElems()->find(id > 4 ? id - 4 : id + 4)->pid());
        Stack layers;
        for (CKpLamLyr* l = lam->LamLyrs()->First(); l; l = lam->LamLyrs()->Next(l))
            layers.push_back({l->mid(), l->theta() / kDeg, l->t()});
        ExpectSameStack(layers, want[id], id);
    }

    gui.clear();
    ASSERT_EQ(CreateLayupLaminate(model.get()), 0);
    EXPECT_TRUE(gui.texts(2).empty());
    EXPECT_TRUE(gui.texts(4).empty());
    for (const char* name : {"gplyid.1", "gplyid.2", "gplyid.3"})
        EXPECT_NE(model->pPlys()->findByName(name), nullptr) << name;
    EXPECT_EQ(model->pLyp()->LypPlys().entries(), 3);  // the three plies, replaced
    for (int id = 1; id <= 8; ++id) {
        CKpElemLypPlyStore* plies = model->pElems()->find(id)->getElemLypPlies();
        Stack rebuilt;
        for (CKpElemLypPly* p = plies->First(); p; p = plies->Next(p))
            rebuilt.push_back({p->mtrl(), p->rotn() / kDeg, p->thck()});
        ExpectSameStack(rebuilt, want[id], id);
    }
}
