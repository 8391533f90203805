#include "layuplib/CKpSelect.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"

namespace {
// Only the address is used: the objects under test keep it without calling it.
CKpLayup* fakeLayup() {
    static int token;
    return reinterpret_cast<CKpLayup*>(&token);
}

// A model with a mesh and its faceted surface; the selection is the
// model's own, reached through ILayup.
class CKpSelectModel : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    IVekSelect* Load(const meshgen::Mesh& m) {
        EXPECT_EQ(meshgen::LoadModel(*model, m), 0);
        EXPECT_NE(model->pFacs()->CreateFacets(), 0);
        gui.clear();
        return model->GetSelect();
    }
    int Groups(IVekSelect* sel) {
        int n = -1;
        EXPECT_EQ(sel->GetNumSelectionGroups(&n), 0);
        return n;
    }
    std::vector<int> Ids(IVekSelect* sel, int group, bool interior) {
        int nb = 0, ni = 0;
        EXPECT_EQ(sel->GetNumElements(group, &nb, &ni), 0);
        std::vector<int> b(nb), i(ni);
        EXPECT_EQ(sel->GetElementIds(group, nb, b.data(), ni, i.data()), 0);
        return interior ? i : b;
    }
};

}  // namespace

TEST(CKpSelect, SetLayupAndClear) {
    CKpSelect select;
    IVekSelect* iface = &select;
    EXPECT_EQ(static_cast<void*>(iface), static_cast<void*>(&select));
    // Without a model every operation but Clear answers 1.
    int n = -5, ids[] = {1};
    EXPECT_EQ(std::vector<int>({iface->SetElementIds(1, ids), iface->Run(),
                                iface->GetNumSelectionGroups(&n), iface->GetNumElements(0, &n, &n),
                                iface->GetElementIds(0, 0, nullptr, 0, nullptr),
                                iface->GetBoundarySizes(0, &n, &n),
                                iface->GetBoundary(0, 0, 0, nullptr, nullptr, nullptr)}),
              std::vector<int>(7, 1));
    EXPECT_EQ(n, -5);
    EXPECT_EQ(select.SetLayup(fakeLayup()), 0);
    EXPECT_EQ(select.SetLayup(nullptr), 1);  // keeps the model
    EXPECT_EQ(iface->Clear(), 0);
    EXPECT_EQ(select.ClearResults(), 0);
    EXPECT_EQ(select.GetLayup(), fakeLayup());
}

// A 5 x 2 plate: elements 1..5 along the bottom row, 6..10 above.
TEST_F(CKpSelectModel, ChoosingIdsAndGrouping) {
    IVekSelect* sel = Load(surfmesh::Plate(meshgen::Kind::Quad4, 5, 2, 5.0, 2.0));
    ASSERT_NE(sel, nullptr);
    EXPECT_TRUE(sel->Run() == 0 && Groups(sel) == 0);
    EXPECT_EQ(sel->SetElementIds(-1, nullptr), 0);
    EXPECT_TRUE(Groups(sel) == 1 && Ids(sel, 0, false).size() == 10u);
    int three[] = {1, 2, 3};
    EXPECT_EQ(sel->SetElementIds(3, three), 0);  // adds nothing
    EXPECT_EQ(Ids(sel, 0, false).size(), 10u);

    // A new choice without the unknown id 42; 1 and 3 lie apart. Each query
    // groups again after a change.
    EXPECT_EQ(sel->Clear(), 0);
    int apart[] = {3, 42, 1}, bridge[] = {2}, n = -1;
    EXPECT_EQ(sel->SetElementIds(3, apart), 0);
    EXPECT_EQ(Groups(sel), 2);
    EXPECT_TRUE(Ids(sel, 0, false) == std::vector<int>{1} &&
                Ids(sel, 1, false) == std::vector<int>{3});
    EXPECT_TRUE(sel->GetNumElements(2, &n, &n) == 3 && sel->GetNumElements(-1, &n, &n) == 3);
    EXPECT_EQ(sel->SetElementIds(1, bridge), 0);
    EXPECT_TRUE(Groups(sel) == 1 && Ids(sel, 0, false) == (std::vector<int>{1, 2, 3}));
    for (int id = 1; id <= 10; ++id)
        EXPECT_EQ(model->pElems()->find(id)->getSltd() != 0, id <= 3) << id;
    EXPECT_EQ(sel->SetElementIds(2, nullptr), -1);
    EXPECT_EQ(gui.texts(4).back(), "Invalid element id list.");

    // Without its centre element 5, a 3 x 3 block is filled with it as an
    // interior element; id lists are written only with their exact counts.
    sel = Load(surfmesh::Plate(meshgen::Kind::Quad4, 3, 3, 3.0, 3.0));
    int ring[] = {1, 2, 3, 4, 6, 7, 8, 9};
    ASSERT_EQ(sel->SetElementIds(8, ring), 0);
    std::vector<int> b(8, -7), i(2, -7);
    EXPECT_EQ(sel->GetElementIds(0, 7, b.data(), 1, i.data()), 0);
    EXPECT_TRUE(b == std::vector<int>(8, -7) && i == (std::vector<int>{5, -7}));
    EXPECT_EQ(sel->GetElementIds(0, 8, b.data(), 2, i.data()), 0);
    EXPECT_EQ(b, (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9}));
}

// The plate with a hole in the mesh: an outer ring of 16 segments and a
// hole of 8; the boundary goes only into arrays of the sizes it has.
TEST_F(CKpSelectModel, BoundaryRingsOfTheHoledPlate) {
    IVekSelect* sel = Load(surfmesh::PlateWithHole(meshgen::Kind::Quad4, 4, 4.0, 2));
    ASSERT_EQ(sel->SetElementIds(-1, nullptr), 0);
    int rings = -1, points = -1;
    ASSERT_EQ(sel->GetBoundarySizes(0, &rings, &points), 0);
    ASSERT_TRUE(rings == 2 && points == 26);
    std::vector<int> perRing(2, -7), ids(26, -7);
    std::vector<double> xyz(78, -7.0);
    EXPECT_EQ(sel->GetBoundary(0, 2, 25, perRing.data(), xyz.data(), ids.data()), 4);
    EXPECT_EQ(sel->GetBoundary(0, 3, 26, perRing.data(), xyz.data(), ids.data()), 4);
    EXPECT_TRUE(perRing == std::vector<int>(2, -7) && ids == std::vector<int>(26, -7) &&
                xyz == std::vector<double>(78, -7.0));
    EXPECT_EQ(
        gui.texts(4).back(),
        "Selection group 0 has 2 boundaries with 26 points, not 3 boundaries with 26 points.");
    EXPECT_EQ(sel->GetBoundary(1, 2, 26, perRing.data(), xyz.data(), ids.data()), 3);

    ASSERT_EQ(sel->GetBoundary(0, 2, 26, perRing.data(), xyz.data(), ids.data()), 0);
    EXPECT_TRUE(perRing == (std::vector<int>{17, 9}) && ids[0] == ids[16] && ids[17] == ids[25]);
    for (int p = 0; p < 26; ++p) {
        const double x = xyz[3 * p], y = xyz[3 * p + 1];
        const bool outer = x == 0.0 || x == 4.0 || y == 0.0 || y == 4.0;
        const bool hole = std::min(x, y) >= 1.0 && std::max(x, y) <= 3.0 &&
                          (x == 1.0 || x == 3.0 || y == 1.0 || y == 3.0);
        EXPECT_TRUE((p < 17 ? outer : hole) && xyz[3 * p + 2] == 0.0) << p;
    }
}
