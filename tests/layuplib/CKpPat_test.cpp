#include "layuplib/CKpPat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

CKpPatElem* AddPatElem(CKpPatElemStore& list, int id, double warp, double weft, double shear,
                       int stdn, int dnfg, int order, double thickness) {
    CKpPatElem* pe = new CKpPatElem;
    pe->setElemId(id);
    pe->setWarpAngle(warp);
    pe->setWeftAngle(weft);
    pe->setShear(shear);
    pe->setStdn(stdn);
    pe->setDnfg(dnfg);
    pe->SetOrder(order);
    pe->setThickness(thickness);
    list.InsertLast(pe);
    return pe;
}

std::vector<int> Ids(const CKpPatElemStore& list) {
    std::vector<int> ids(list.entries());
    list.GetElemIds(ids.data(), static_cast<int>(ids.size()));
    return ids;
}

TEST(CKpPat, Record430LinesOfPatternElements) {
    CKpPatElemStore list;
    CKpPatElem* plain = AddPatElem(list, 17, 0.5, -1.25, 0.125, 1, -1, 3, 0.0);
    CKpPatElem* thick = AddPatElem(list, 18, 1.0 / 3.0, 2.0, 0.0, -1, 1, 0, 0.25);
    char line[CKpPatElem::WRITE_MAX];

    const int n = plain->write(line);
    EXPECT_EQ(n, static_cast<int>(std::strlen(line)));
    EXPECT_STREQ(line, "430 0 17 -1 0.125 0.5 -1.25 1 3\n");
    thick->write(line);
    EXPECT_STREQ(line, "430 0 18 1 0 0.33333333 2 -1 0 0.25\n");

    // A negative thickness counts as "from the material": nine fields.
    thick->setThickness(-1.0);
    thick->write(line);
    EXPECT_STREQ(line, "430 0 18 1 0 0.33333333 2 -1 0\n");

    // The linked element's id wins over the stored one.
    CKpElem elem(99, 1);
    plain->setPelem(&elem);
    plain->write(line);
    EXPECT_STREQ(line, "430 0 99 -1 0.125 0.5 -1.25 1 3\n");

    // Too small a buffer: nothing but the terminator.
    char small[10] = "xxxxxxxxx";
    EXPECT_EQ(plain->write(small, sizeof small), -1);
    EXPECT_STREQ(small, "");
    EXPECT_EQ(plain->write(nullptr, 100), -1);
}

TEST(CKpPat, DefinitionAndConversion) {
    CKpPat pat(4);
    EXPECT_EQ(pat.SetNameByPlyName("Ply 7"), 0);
    EXPECT_STREQ(pat.pttrnnm(), "Ply 7_pattern");

    // Only a painted pattern converts.
    pat.setLyrtp(2);
    pat.setRefd(0.0, 1.0, 0.0);
    EXPECT_EQ(pat.ConvertPaintedToProjected(), 1);
    EXPECT_EQ(pat.refdy(), 1.0);
    pat.setLyrtp(1);
    pat.setRefang(0.4);
    pat.setAxstp(3);
    EXPECT_EQ(pat.ConvertPaintedToProjected(), 0);
    EXPECT_EQ((std::vector<double>{double(pat.lyrtp()), double(pat.axstp()), pat.refang(),
                                   pat.refdx(), pat.refdy()}),
              (std::vector<double>{2, 7, 0.0, 1.0, 0.0}));
}

TEST(CKpPat, CoordinateOrigin) {
    CKpPat pat(1);
    double xyz[3] = {-1, -1, -1};
    char name[8] = "unused";
    EXPECT_EQ(pat.GetCoordOriginName(xyz, name, sizeof name), 1);
    EXPECT_STREQ(name, "unused");

    const double origin[3] = {1.5, 2.5, 3.5};
    EXPECT_EQ(pat.SetCoordOriginName(origin, "CSYS-LONG"), 0);
    EXPECT_EQ(pat.SetCoordOriginName(origin, "CSYS-LONG"), 0);  // a second set counts
    EXPECT_EQ(pat.originSet(), 2);
    EXPECT_EQ(pat.GetCoordOriginName(xyz, nullptr, 8), 2);
    EXPECT_EQ(pat.GetCoordOriginName(xyz, name, 5), 0);
    EXPECT_STREQ(name, "CSYS");
    EXPECT_EQ(xyz[1], 2.5);
    // Size 0 writes no text at all.
    std::strcpy(name, "keep");
    EXPECT_EQ(pat.GetCoordOriginName(nullptr, name, 0), 0);
    EXPECT_STREQ(name, "keep");

    pat.Clear();
    EXPECT_EQ(pat.GetCoordOriginName(xyz, name, sizeof name), 1);
}

TEST(CKpPat, ElementListOperations) {
    CKpPatElemStore list;
    const int ids[] = {30, 10, 20}, orders[] = {1, 0, 1};
    EXPECT_EQ(list.SetElemIdsOrders(3, nullptr, orders), 1);
    EXPECT_EQ(list.SetElemIdsOrders(0, ids, orders), 0);
    EXPECT_EQ(list.GetMaxOrder(), 0);
    EXPECT_EQ(list.SetElemIdsOrders(3, ids, orders), 0);
    EXPECT_EQ(list.SetElemIdsOrders(3, ids, nullptr), 0);  // appended again, order 0
    EXPECT_EQ(Ids(list), (std::vector<int>{30, 10, 20, 30, 10, 20}));
    EXPECT_EQ(list.GetMaxOrder(), 1);

    int count = -1, some[1] = {0};
    list.GetElemIdsOrder(1, count, some, 1);  // room for one of two
    EXPECT_EQ(count, 2);
    EXPECT_EQ(some[0], 30);
    list.GetElemIdsOrder(0, count, nullptr, 0);
    EXPECT_EQ(count, 4);
    int two[2] = {0, 0};
    EXPECT_EQ(list.GetElemIds(two, 2), 2);

    // Ascending id; equal ids keep their order (first the order-1 copy).
    EXPECT_EQ(list.SortById(), 0);
    EXPECT_EQ(Ids(list), (std::vector<int>{10, 10, 20, 20, 30, 30}));
    EXPECT_EQ(list.Prev(list.Last())->order(), 1);

    CKpPatSplitStore splits;
    const int elems[] = {5, 6}, edges[] = {1, 3}, flags[] = {7, 8};
    EXPECT_EQ(splits.SetElemIdsEdgeIds(2, elems, edges, nullptr), 0);
    EXPECT_EQ(splits.SetElemIdsEdgeIds(1, elems, edges, flags), 0);
    EXPECT_EQ(splits.SetElemIdsEdgeIds(2, nullptr, edges, flags), 1);
    EXPECT_EQ(splits.entries(), 3);
    EXPECT_EQ(splits.Last()->flag(), 7);
    int e[2] = {0, 0}, g[2] = {0, 0};
    EXPECT_EQ(splits.GetElemIdsEdgeIds(2, e, g), 2);
    EXPECT_EQ(g[1], 3);
}

// Drape results on the two facets of a unit quad4 (facet 0: corners 0 1 2,
// x axis +x; facet 1: corners 2 3 0, x axis -x) become one pattern element.
class PatTransfer : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    void SetUp() override {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
        ASSERT_EQ(meshgen::LoadModel(*model, m), 0);
        ASSERT_NE(model->pFacs()->CreateFacets(), 0);
        model->pFacs()->SimulationInitialise();
    }
    CKpFacet* Facet(int elemId, int k) {
        return model->pFacs()->pFac(model->pElems()->find(elemId)->getfacs(k));
    }
    void Hit(int elemId, int k, int count, int dnfg, double warp, double weft, double strn) {
        CKpFacet* f = Facet(elemId, k);
        f->setNrpat(count);
        f->setFacetDirection(dnfg);
        f->setwpang(warp);
        f->setwtang(weft);
        f->setstrn(strn);
    }
};

TEST_F(PatTransfer, HitCountsWeightTheFacetMeans) {
    // Element 1: counts 1 and 3; the second facet's angles are measured
    // half a turn apart, so 0.5 - pi there is 0.5 on the first facet.
    Hit(1, 0, 1, 1, 0.1, 1.0, 0.2);
    Hit(1, 1, 3, -1, 0.5 - kPi, 1.4 - kPi, 0.6);
    model->pElems()->find(1)->setOrdr(2);
    CKpPatElemStore list;
    ASSERT_EQ(list.SimulationTransfer(model->pElems(), model->pFacs(), -1), 0);
    ASSERT_EQ(list.entries(), 1);  // element 2 was not reached
    const CKpPatElem* pe = list.First();
    EXPECT_EQ(pe->pelem(), model->pElems()->find(1));
    EXPECT_EQ(pe->dnfg(), -1);  // the last reached facet
    EXPECT_EQ(pe->order(), 2);
    EXPECT_TRUE(Near(pe->warpAngle(), 0.1 + 0.75 * 0.4, tol::loose));
    EXPECT_TRUE(Near(pe->weftAngle(), 1.0 + 0.75 * 0.4, tol::loose));
    EXPECT_TRUE(Near(pe->shear(), 0.5, tol::loose));
}

TEST_F(PatTransfer, MeansWrapAcrossHalfTurnAndInteriorIsSkipped) {
    Hit(1, 0, 1, 1, kPi - 0.1, 0.0, 0.0);
    Hit(1, 1, 3, 1, 0.1, 0.0, 0.0);  // -pi + 0.1 on facet 0
    Hit(2, 0, 2, 1, 0.3, 0.3, 0.0);
    model->pElems()->find(2)->setIntr(1);
    CKpPatElemStore list;
    ASSERT_EQ(list.SimulationTransfer(model->pElems(), model->pFacs(), 1), 0);
    ASSERT_EQ(list.entries(), 1);
    // Three quarters of the short way across +-pi.
    EXPECT_TRUE(Near(list.First()->warpAngle(), -kPi + 0.05, tol::loose));
    EXPECT_EQ(list.SimulationTransfer(nullptr, model->pFacs(), 1), -1);
}

TEST_F(PatTransfer, ProjectionFillsPaintedFacetsAndRebuildsTheList) {
    // One facet projected; the painted rest of the plate takes its
    // direction, which stays the same direction in space.
    for (int i = 0; i < model->pFacs()->entries(); ++i) model->pFacs()->pFac(i)->setPntd(1);
    Hit(1, 0, 1, 1, 0.1, 0.2, 0.0);
    CKpPatElemStore list;
    const int stale[] = {99};
    list.SetElemIdsOrders(1, stale, nullptr);
    ASSERT_EQ(list.UpdateFromProjection(model->pElems(), model->pFacs(), 1), 0);
    ASSERT_EQ(Ids(list), (std::vector<int>{1, 2}));
    for (const CKpPatElem* pe = list.First(); pe; pe = list.Next(pe)) {
        EXPECT_TRUE(Near(pe->warpAngle(), 0.1, tol::loose)) << pe->GetElemId();
        EXPECT_TRUE(Near(pe->weftAngle(), 0.2, tol::loose)) << pe->GetElemId();
        EXPECT_EQ(pe->dnfg(), 1);
    }
}

}  // namespace
