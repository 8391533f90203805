// Area selection, cutting, intersection and patch sets through CKpLayup,
// on plates of unit quads (element 1 + i + nx j covers [i, i+1] x [j, j+1];
// quad edges 1 bottom, 2 right, 3 top, 4 left).

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

class Area : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    CKpLayup* api() { return model.get(); }

    void Plate(int nx, int ny, std::vector<int> patches = {}) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
        patches.resize(m.numElems(), 0);
        ASSERT_EQ(api()->NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                                      m.elemIds.data(), patches.data(), m.topologies.data(),
                                      m.width, m.connectivity.data(), 0.0, 0.0),
                  0);
        gui.clear();
    }
    std::set<int> Selected() {
        std::set<int> ids;
        CVekObjectStoreIterator<CKpElem> it(*model->pElems());
        while (++it)
            if (it.key()->getSltd()) ids.insert(it.key()->id());
        return ids;
    }
    // The divided facet edges as (element id, facet edge).
    std::multiset<std::pair<int, int>> Divided() {
        std::multiset<std::pair<int, int>> out;
        CKpFacetStore* facets = model->pFacs();
        for (int i = 0; i < facets->entries(); ++i)
            for (int e = 0; e < 3; ++e)
                if (facets->pFac(i)->GetNeighDivided(e)) out.insert({facets->GetElemId(i), e});
        return out;
    }
};

TEST_F(Area, RestoreSelectAndAddToTheSelection) {
    Plate(3, 3);
    EXPECT_EQ(api()->RestoreAndSelectArea(-1, nullptr), 0);
    EXPECT_EQ(Selected().size(), 9u);

    const int centre[] = {5}, corner[] = {9, 42};  // 42 does not exist
    EXPECT_EQ(api()->RestoreAndSelectArea(1, centre), 0);
    EXPECT_EQ(Selected(), (std::set<int>{5}));
    EXPECT_EQ(Divided().size(), 8u);  // four sides, each divided on both facets
    EXPECT_EQ(api()->SelectAreaEID(2, corner, 4), 0);
    EXPECT_EQ(Selected(), (std::set<int>{5, 9}));
    EXPECT_EQ(model->pElems()->find(9)->getOrdr(), 4);

    EXPECT_EQ(api()->RestoreArea(), 0);
    EXPECT_TRUE(Selected().empty() && Divided().empty());
    EXPECT_EQ(api()->RestoreAndSelectArea(-2, centre), 3);
    EXPECT_TRUE(gui.messages.empty());
}

// Elements 1 | 2 | 3 in a row.
TEST_F(Area, CutAreaDividesTheNamedEdgesOnly) {
    Plate(3, 1);
    EXPECT_EQ(api()->CutAreaEID(0, nullptr, nullptr), 0);
    EXPECT_TRUE(gui.messages.empty());

    const int elems[] = {2, 1}, edges[] = {2, 1};
    EXPECT_EQ(api()->CutAreaEID(2, elems, edges), -1);
    // Element 2's right side is edge 1 of its first facet; element 3's left
    // side edge 1 of its second. The first cut stays.
    EXPECT_EQ(Divided(), (std::multiset<std::pair<int, int>>{{2, 1}, {3, 1}}));
    EXPECT_EQ(gui.texts(4), (std::vector<std::string>{"Element 1 edge 1 on boundary.",
                                                      "Could not cut area by element ID"}));
    EXPECT_EQ(api()->CutAreaEID(1, elems, nullptr), -1);
}

TEST_F(Area, ElemIntersectFindsThePointOfTheArea) {
    Plate(4, 4);
    const double eye[] = {1.5, 2.5, 10.0}, down[] = {0.0, 0.0, -2.0};
    int elem = 0;
    double point[3], normal[3];
    ASSERT_EQ(api()->GetElemIntersect(-1, nullptr, eye, down, &elem, point, normal), 0);
    EXPECT_EQ(elem, 10);
    // Moved a little towards the facet's centroid.
    EXPECT_TRUE(NearArray(point, std::vector<double>{1.5, 2.5}, 2, Tol{1e-3, 0}));
    EXPECT_TRUE(NearArray(normal, std::vector<double>{0, 0, 1}, 3, tol::length));

    // Only element 1 selected: the ray misses it; the selection stays.
    const int one[] = {1};
    EXPECT_EQ(api()->GetElemIntersect(1, one, eye, down, nullptr, point, normal), -1);
    EXPECT_EQ(Selected(), (std::set<int>{1}));
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{
                  "Starting point not found on or near selected region of surface."}));

    // A zero direction takes the nearest point of the area.
    const double above[] = {0.25, 0.5, 3.0}, none[] = {0.0, 0.0, 0.0};
    ASSERT_EQ(api()->GetElemIntersect(1, one, above, none, &elem, point, normal), 0);
    EXPECT_EQ(elem, 1);
    EXPECT_TRUE(NearArray(point, std::vector<double>{0.25, 0.5, 0.0}, 3, tol::length));
}

TEST_F(Area, PatchSetsFollowTheLargestSetId) {
    Plate(4, 1, {2, 0, 2, 5});
    CKpSetStore* sets = model->pSets();
    sets->insert(new CKpSet(7));
    ASSERT_EQ(api()->CreateSetsPatches(), 0);
    ASSERT_EQ(sets->entries(), 3);
    CKpSet *p2 = sets->find(8), *p5 = sets->find(11);
    ASSERT_TRUE(p2 && p5);
    EXPECT_EQ(std::string(p2->GetName()) + " " + p5->GetName(), "Patch.002 Patch.005");
    int ids[3] = {0, 0, 0};
    ASSERT_EQ(p2->GetIds(2, ids), 0);
    ASSERT_EQ(p5->GetIds(1, ids + 2), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 3), (std::vector<int>{1, 3, 4}));

    ASSERT_EQ(api()->CreateSetsPatches(), 0);  // again, under new ids
    EXPECT_EQ(std::string(sets->find(12)->GetName()) + " " + sets->find(15)->GetName(),
              "Patch.002 Patch.005");

    Plate(2, 2);  // no patch numbers
    EXPECT_EQ(api()->CreateSetsPatches(), 0);
    EXPECT_EQ(sets->entries(), 0);
}

}  // namespace
