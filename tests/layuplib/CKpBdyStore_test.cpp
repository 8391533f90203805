#include "layuplib/CKpBdyStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpBdyStoreGroup.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFlatPatPtBdyStore.h"
#include "layuplib/find_nei.h"
#include "layuplib/surface_div.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/RecordingGUI.h"

TEST(CKpBdyStore, ReinitEmptiesRingsAndIdSets) {
    CKpBdyStore bdys(0);
    EXPECT_EQ(bdys.GetBdy(0), nullptr);
    for (int id : {4, 4, 2}) bdys.AddElementId(id);
    bdys.AddInteriorElementId(9);
    EXPECT_EQ(bdys.GetNumElements(), 2);  // a set: the repeat is not added
    bdys.reinit();
    EXPECT_EQ(std::make_pair(bdys.GetNumElements(), bdys.GetNumInteriorElements()),
              std::make_pair(0, 0));

    // A ring of three segments with a point list, deleted as a whole.
    CKpBdy* ring = new CKpBdy();
    CKpBdy* s2 = new CKpBdy();
    CKpBdy* s3 = new CKpBdy();
    ring->SetNext(s2);
    s2->SetNext(s3);
    s3->SetNext(ring);
    ASSERT_NE(s2->pFlatPatPts(), nullptr);
    s2->pFlatPatPts()->InsertLast(new CKpFlatPatPtBdy());
    EXPECT_EQ(DeleteBoundary(ring), 0);
    EXPECT_EQ(ring, nullptr);
    EXPECT_EQ(DeleteBoundary(ring), 0);

    CKpBdy seg;
    seg.setEdge(2);
    seg.setDirn(1);
    EXPECT_EQ(std::make_pair(seg.vx0(), seg.vx1()), std::make_pair(2, 0));
    seg.setDirn(-1);
    EXPECT_EQ(std::make_pair(seg.vx0(), seg.vx1()), std::make_pair(0, 2));
}

namespace {

using meshgen::Kind;

// A surface with the elements `ids` (all when empty) selected and the
// selection's links built, as the selection leaves them.
struct Region : FacetSurface {
    MessageCapture cap;
    RecordingGUI gui;
    CKpGra gra;

    Region(const meshgen::Mesh& mesh, std::vector<int> ids, const char* name) : cap(name) {
        gra.SetGUI(&gui);
        Build(mesh);
        for (int i = 0; ids.empty() && i < elems.entries(); ++i) elems[i]->setSltd(1);
        surface_select_elements(&elems, &facets, static_cast<int>(ids.size()), ids.data());
        EXPECT_EQ(find_selected_neighbour(&cap.log, &gra, &facets, &elems), 0);
    }
};

std::vector<int> Ids(CKpBdyStore* store, bool interior) {
    std::vector<int> ids(interior ? store->GetNumInteriorElements() : store->GetNumElements());
    const int n = static_cast<int>(ids.size());
    EXPECT_EQ(interior ? store->GetInteriorElementIds(n, ids.data())
                       : store->GetElementIds(n, ids.data()),
              0);
    return ids;
}

}  // namespace

// Plate of 4 x 3 unit quads, node id 5j + i + 1 at (i, j); elements 2, 3,
// 6, 7 selected give one ring of 8 segments: 2 3 4 9 14 13 12 7.
TEST(CKpBdyStore, RingPointsAndElementIds) {
    Region r(surfmesh::Plate(Kind::Quad4, 4, 3, 4.0, 3.0), {2, 3, 6, 7}, "bdys_rect");
    CKpBdyStore store(1);
    ASSERT_EQ(store.CalculateBoundary(&r.cap.log, &r.facets, 2, 1), 0);
    ASSERT_EQ(store.GetNumBdys(), 1);
    ASSERT_EQ(store.GetNumPoints(), 9);
    int counts[1] = {0}, ids[9];
    double xyz[27];
    ASSERT_EQ(store.GetPoints(&r.facets, counts, xyz, ids), 0);
    EXPECT_EQ(counts[0], 9);
    std::vector<int> ring(ids, ids + 9);
    std::rotate(ring.begin(), std::find(ring.begin(), ring.end() - 1, 2), ring.end() - 1);
    EXPECT_EQ(ring, (std::vector<int>{2, 3, 4, 9, 14, 13, 12, 7, ids[0]}));
    for (int p = 0; p < 9; ++p)
        EXPECT_TRUE(xyz[3 * p] == (ids[p] - 1) % 5 && xyz[3 * p + 1] == (ids[p] - 1) / 5) << p;

    EXPECT_EQ(Ids(&store, false), (std::vector<int>{2, 3, 6, 7}));
    int three[3] = {-1, -1, -1};
    EXPECT_TRUE(store.GetElementIds(3, three) == 1 && three[0] == -1);
    EXPECT_EQ(store.GetElementIds(4, nullptr), 1);
}

// A 3 x 3 plate without its centre element 5: a ring of 8 elements around
// a hole, found, filled with element 5 as an interior element, released.
TEST(CKpBdyStore, InteriorHoleFoundFilledAndReleased) {
    Region r(surfmesh::Plate(Kind::Quad4, 3, 3, 3.0, 3.0), {1, 2, 3, 4, 6, 7, 8, 9}, "bdys_hole");
    CKpBdyStore store(1);
    ASSERT_EQ(store.CalculateBoundary(&r.cap.log, &r.facets, 0, 1), 0);
    ASSERT_EQ(store.GetNumBdys(), 2);
    EXPECT_EQ(CKpBdyStore::GetNumSegs(store.pIntrBdy(0)), 4);
    int found = -1, leftOut = -1;
    r.gui.clear();
    ASSERT_EQ(store.CheckForInteriorHoles(&r.cap.log, &r.gra, &r.facets, found), 0);
    EXPECT_EQ(found, 1);
    ASSERT_FALSE(r.gui.drawsOf("line").empty());
    EXPECT_EQ(r.gui.drawsOf("line")[0].segment, 6);
    EXPECT_TRUE(r.gui.draws.back().kind == "deleteSegment" && r.gui.draws.back().segment == 6);

    r.cap.reset();
    ASSERT_EQ(store.SelectInteriorElements(&r.cap.log, &r.gra, &r.elems, &r.facets, &leftOut), 0);
    EXPECT_EQ(leftOut, 0);
    EXPECT_EQ(Ids(&store, true), std::vector<int>{5});
    EXPECT_TRUE(r.elems.find(5)->getSltd() == 1 && r.elems.find(5)->getIntr() == 1);
    EXPECT_NE(r.cap.body().find("$#  selecting interior element:\n$#        5\n"),
              std::string::npos);
    ASSERT_EQ(store.CheckForInteriorHoles(&r.cap.log, &r.gra, &r.facets, found), 0);
    EXPECT_EQ(found, 0);

    store.AddInteriorElementId(77);  // no such element
    EXPECT_EQ(store.DeselectInteriorElements(&r.elems, &r.facets), 0);
    EXPECT_EQ(store.GetNumInteriorElements(), 0);
    EXPECT_TRUE(r.elems.find(5)->getSltd() == 0 && r.elems.find(5)->getIntr() == 0);
}

// Two areas that share no edge make groups 1 and 2 in facet order; a hole
// of unselected elements is filled, a hole in the mesh stays a ring.
TEST(CKpBdyStore, GroupsFromTheSelection) {
    Region two(surfmesh::Plate(Kind::Quad4, 5, 1, 5.0, 1.0), {5, 4, 1, 2}, "bdys_two");
    CKpBdyStoreGroup g;
    ASSERT_EQ(g.CreateFromSelection(&two.cap.log, &two.gra, &two.elems, &two.facets), 0);
    ASSERT_TRUE(g.entries() == 2 && g.find(1) && g.find(2));
    EXPECT_TRUE(g.find(1)->GetStartFacet() == 0 && g.find(2)->GetStartFacet() == 6);
    EXPECT_TRUE(Ids(g.find(1), false) == (std::vector<int>{1, 2}) &&
                Ids(g.find(2), false) == (std::vector<int>{4, 5}));
    for (int f = 0; f < two.facets.entries(); ++f)
        EXPECT_EQ(two.facets.pFac(f)->getBdyStoreId(), f < 4 ? 1 : (f < 6 ? 0 : 2)) << f;

    Region filled(surfmesh::Plate(Kind::Quad4, 3, 3, 3.0, 3.0), {1, 2, 3, 4, 6, 7, 8, 9}, "bdys_f");
    CKpBdyStoreGroup one;
    ASSERT_EQ(one.CreateFromSelection(&filled.cap.log, &filled.gra, &filled.elems, &filled.facets),
              0);
    EXPECT_TRUE(one.entries() == 1 && Ids(one.find(1), true) == std::vector<int>{5});

    Region holed(surfmesh::PlateWithHole(Kind::Quad4, 4, 4.0, 2), {}, "bdys_holed");
    CKpBdyStoreGroup rings;
    ASSERT_EQ(rings.CreateFromSelection(&holed.cap.log, &holed.gra, &holed.elems, &holed.facets),
              0);
    ASSERT_EQ(rings.entries(), 1);
    EXPECT_EQ(CKpBdyStore::GetNumSegs(rings.find(1)->GetBdy(0)), 16);
    EXPECT_EQ(CKpBdyStore::GetNumSegs(rings.find(1)->GetBdy(1)), 8);
}
