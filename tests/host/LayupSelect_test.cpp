// Selection, mesh and area functions on the slot's model: values rounded
// to floats, outputs skipped when null, refusals that leave arrays alone.

#include "host/LayupSelect.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"

namespace {

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "plystrand_select_" + std::to_string(getpid()) + "_" + name;
}

class LayupSelectTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, nullptr, nullptr), 0);
        ASSERT_EQ(LayupOpenMessage(msgPath.c_str()), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(msgPath.c_str());
    }
    CKpLayup& model() { return *static_cast<CKpLayup*>(LayupSlotModel()); }
    // A plate of nx x ny unit quads: nodes row by row from 1, element k's
    // corners k, k+1, k+nx+2, k+nx+1 on the first row.
    void Plate(int nx, int ny) {
        ASSERT_EQ(meshgen::LoadModel(model(), meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny)),
                  0);
    }
    std::string Messages() {
        LayupCloseMessage();
        std::ifstream in(msgPath);
        std::ostringstream out;
        out << in.rdbuf();
        LayupOpenMessage(msgPath.c_str());
        return out.str();
    }
    std::string msgPath = Temp("log.msg");
};

TEST_F(LayupSelectTest, NodeBoundsOfEmptyAndFilledMesh) {
    int n = -1;
    float b[6] = {7, 7, 7, 7, 7, 7};
    ASSERT_EQ(LayupGetNodeBounds(&n, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]), 0);
    EXPECT_EQ(n, 0);
    for (float v : b) EXPECT_EQ(v, 7.0f);

    Plate(3, 2);
    ASSERT_EQ(LayupGetNodeBounds(&n, &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]), 0);
    EXPECT_EQ(n, 12);
    EXPECT_EQ(std::vector<float>(b, b + 6), (std::vector<float>{0, 3, 0, 2, 0, 0}));
    // Any bound may be skipped.
    float xmax = -1;
    EXPECT_EQ(LayupGetNodeBounds(nullptr, nullptr, &xmax, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(xmax, 3.0f);
}

TEST_F(LayupSelectTest, MeshInFloatsAndRefusalsKeepCoordinates) {
    Plate(2, 1);
    int nodes = 0, elems = 0, width = 0;
    ASSERT_EQ(LayupGetMeshSizes(&nodes, &elems, &width), 0);
    ASSERT_EQ(nodes, 6);
    ASSERT_EQ(elems, 2);
    ASSERT_EQ(width, 4);
    std::vector<int> ids(6), eids(2), vals(2), tops(2), rows(8);
    std::vector<float> xyz(18, -1.0f);
    ASSERT_EQ(LayupGetMesh(6, ids.data(), xyz.data(), 2, eids.data(), vals.data(), tops.data(), 4,
                           rows.data()),
              0);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(xyz, (std::vector<float>{0, 0, 0, 1, 0, 0, 2, 0, 0, 0, 1, 0, 1, 1, 0, 2, 1, 0}));
    EXPECT_EQ(eids, (std::vector<int>{1, 2}));
    EXPECT_EQ(tops, (std::vector<int>{4, 4}));
    EXPECT_EQ(rows, (std::vector<int>{1, 2, 5, 4, 2, 3, 6, 5}));

    // Counts that differ from the mesh: the caller's coordinates stay.
    std::vector<float> kept(18, -1.0f);
    EXPECT_EQ(LayupGetMesh(5, ids.data(), kept.data(), 2, eids.data(), vals.data(), tops.data(), 4,
                           rows.data()),
              1);
    EXPECT_EQ(LayupGetMesh(6, ids.data(), kept.data(), 3, eids.data(), vals.data(), tops.data(), 4,
                           rows.data()),
              2);
    EXPECT_EQ(LayupGetMesh(6, ids.data(), kept.data(), 2, eids.data(), vals.data(), tops.data(), 3,
                           rows.data()),
              2);
    for (float v : kept) EXPECT_EQ(v, -1.0f);

    // No solid generation has run: the set the model makes on first
    // access holds an empty mesh.
    int sn = -2, se = -2, sw = -2;
    EXPECT_EQ(LayupGetSolidMeshSizes(&sn, &se, &sw), 0);
    EXPECT_EQ(sn, 0);
    EXPECT_EQ(se, 0);
    EXPECT_EQ(LayupGetSolidMesh(0, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr), 0);
    EXPECT_EQ(LayupGetSolidMesh(1, ids.data(), kept.data(), 0, nullptr, nullptr, nullptr, 0,
                                nullptr),
              3);
    for (float v : kept) EXPECT_EQ(v, -1.0f);

    int count = 0;
    EXPECT_EQ(LayupGetNumElems(&count), 0);
    EXPECT_EQ(count, 2);
    std::vector<int> all(2, 0);
    EXPECT_EQ(LayupGetElemIds(2, all.data()), 0);
    EXPECT_EQ(all, (std::vector<int>{1, 2}));
}

// What LayupGetElem gives with every output: the reference for the null
// combinations.
struct ElemOut {
    int type = -9, ids[4] = {-9, -9, -9, -9}, offFlag = -9;
    float xyz[12], area = -9, normal[3] = {-9, -9, -9}, ref[3] = {-9, -9, -9}, matAngle = -9,
                   orient = -9, thick = -9, off = -9, lamThick = -9, lamPos = -9;
    ElemOut() {
        for (float& v : xyz) v = -9;
    }
};

int GetElem(int id, ElemOut& o, unsigned mask) {
    auto on = [mask](int bit) { return (mask >> bit) & 1u; };
    return LayupGetElem(id, on(0) ? &o.type : nullptr, on(1) ? o.ids : nullptr,
                        on(2) ? o.xyz : nullptr, on(3) ? &o.area : nullptr,
                        on(4) ? o.normal : nullptr, on(5) ? o.ref : nullptr,
                        on(6) ? &o.matAngle : nullptr, on(7) ? &o.orient : nullptr,
                        on(8) ? &o.thick : nullptr, on(9) ? &o.offFlag : nullptr,
                        on(10) ? &o.off : nullptr, on(11) ? &o.lamThick : nullptr,
                        on(12) ? &o.lamPos : nullptr);
}

TEST_F(LayupSelectTest, ElementWithEveryCombinationOfOutputs) {
    Plate(2, 1);
    CKpElem* e = model().pElems()->find(2);
    e->theta(0.5);
    e->setoff_fg(-1);
    e->setoff_val(0.125);
    CKpLam* lam = new CKpLam(3, "L3", -0.25);
    ASSERT_EQ(model().pLams()->insert(lam), 0);
    e->pid(3);

    ElemOut full;
    ASSERT_EQ(GetElem(2, full, 0x1FFF), 0);
    EXPECT_EQ(full.type, 1);
    EXPECT_EQ(std::vector<int>(full.ids, full.ids + 4), (std::vector<int>{2, 3, 6, 5}));
    EXPECT_EQ(std::vector<float>(full.xyz, full.xyz + 12),
              (std::vector<float>{1, 0, 0, 2, 0, 0, 2, 1, 0, 1, 1, 0}));
    EXPECT_FLOAT_EQ(full.area, 1.0f);
    EXPECT_EQ(std::vector<float>(full.normal, full.normal + 3), (std::vector<float>{0, 0, 1}));
    EXPECT_FLOAT_EQ(full.orient, 28.64789f);
    EXPECT_EQ(full.thick, 0.0f);
    EXPECT_EQ(full.offFlag, -1);
    EXPECT_EQ(full.off, 0.125f);
    EXPECT_EQ(full.lamThick, 0.0f);
    EXPECT_EQ(full.lamPos, -0.25f);

    // Every combination of null outputs: what is given equals the full
    // call; coordinates need the node-id array as well.
    for (unsigned mask = 0; mask < 0x2000; ++mask) {
        ElemOut o;
        ASSERT_EQ(GetElem(2, o, mask), 0) << mask;
        const bool ids = mask & 2u, xyz = mask & 4u;
        EXPECT_EQ(o.type, mask & 1u ? full.type : -9);
        EXPECT_EQ(o.ids[3], ids ? full.ids[3] : -9);
        EXPECT_EQ(o.xyz[3], ids && xyz ? full.xyz[3] : -9.0f) << mask;
        EXPECT_EQ(o.area, mask & 8u ? full.area : -9.0f);
        EXPECT_EQ(o.normal[2], mask & 16u ? full.normal[2] : -9.0f);
        EXPECT_EQ(o.ref[0], mask & 32u ? full.ref[0] : -9.0f);
        EXPECT_EQ(o.matAngle, mask & 64u ? full.matAngle : -9.0f);
        EXPECT_EQ(o.orient, mask & 128u ? full.orient : -9.0f);
        EXPECT_EQ(o.thick, mask & 256u ? full.thick : -9.0f);
        EXPECT_EQ(o.offFlag, mask & 512u ? full.offFlag : -9);
        EXPECT_EQ(o.off, mask & 1024u ? full.off : -9.0f);
        EXPECT_EQ(o.lamThick, mask & 2048u ? full.lamThick : -9.0f);
        EXPECT_EQ(o.lamPos, mask & 4096u ? full.lamPos : -9.0f);
        if (HasFailure()) break;
    }

    // Element 1 names no laminate: 0 for both laminate values.
    ElemOut other;
    ASSERT_EQ(GetElem(1, other, 0x1FFF), 0);
    EXPECT_EQ(other.lamThick, 0.0f);
    EXPECT_EQ(other.lamPos, 0.0f);
    ElemOut none;
    EXPECT_EQ(GetElem(99, none, 0x1FFF), -1);
    EXPECT_EQ(none.type, -9);
    EXPECT_EQ(none.ids[0], -9);
}

TEST_F(LayupSelectTest, SelectionGroupsAndBoundary) {
    Plate(3, 1);
    int picked[2] = {1, 2};
    ASSERT_EQ(LayupSelectSetElements(2, picked), 0);
    int groups = -1;
    ASSERT_EQ(LayupSelectGetNumSelectionGroups(&groups), 0);
    ASSERT_EQ(groups, 1);
    int nb = -1, ni = -1;
    ASSERT_EQ(LayupSelectGetNumElements(0, &nb, &ni), 0);
    EXPECT_EQ(nb, 2);
    EXPECT_EQ(ni, 0);
    int bids[2] = {0, 0};
    ASSERT_EQ(LayupSelectGetElementIds(0, 2, bids, 0, nullptr), 0);
    EXPECT_EQ(bids[0], 1);
    EXPECT_EQ(bids[1], 2);
    int rings = 0, points = 0;
    ASSERT_EQ(LayupSelectGetBoundaryNum(0, &rings, &points), 0);
    ASSERT_EQ(rings, 1);
    ASSERT_EQ(points, 7);  // six segments and the closing point
    std::vector<int> perRing(1, -1), ids(7, -1);
    std::vector<float> xyz(21, -1.0f);
    ASSERT_EQ(LayupSelectGetBoundary(0, 1, 7, perRing.data(), xyz.data(), ids.data()), 0);
    EXPECT_EQ(perRing[0], 7);
    EXPECT_EQ(ids.front(), ids.back());
    for (int p = 0; p < 7; ++p) {
        // Every point is a corner of the 2 x 1 rectangle's outline.
        const float x = xyz[3 * p], y = xyz[3 * p + 1];
        EXPECT_TRUE((x == 0 || x == 1 || x == 2) && (y == 0 || y == 1)) << p;
        EXPECT_EQ(xyz[3 * p + 2], 0.0f);
    }
    // Sizes that differ, or a group that is not there: 2, arrays untouched.
    std::vector<float> kept(21, -1.0f);
    std::vector<int> keptIds(7, -1);
    EXPECT_EQ(LayupSelectGetBoundary(0, 1, 6, perRing.data(), kept.data(), keptIds.data()), 2);
    EXPECT_EQ(LayupSelectGetBoundary(4, 1, 7, perRing.data(), kept.data(), keptIds.data()), 2);
    for (float v : kept) EXPECT_EQ(v, -1.0f);
    for (int v : keptIds) EXPECT_EQ(v, -1);

    ASSERT_EQ(LayupSelectClear(), 0);
    ASSERT_EQ(LayupSelectGetNumSelectionGroups(&groups), 0);
    EXPECT_EQ(groups, 0);
}

TEST_F(LayupSelectTest, AreaOperationsAndTheirMessages) {
    Plate(2, 2);
    int ids[2] = {1, 2};
    EXPECT_EQ(LayupSelectAreaEID(2, ids, 1), 0);
    EXPECT_EQ(model().pElems()->find(1)->getSltd() != 0, true);
    EXPECT_EQ(model().pElems()->find(4)->getSltd(), 0);
    // A cut between the two selected elements; one along the selection's
    // outline is the model's refusal.
    int edges[2] = {2, 1};
    EXPECT_EQ(LayupCutAreaEID(1, ids, edges), 0);
    EXPECT_EQ(LayupCutAreaEID(1, ids, edges + 1), -1);
    EXPECT_NE(Messages().find("Element 1 edge 1 on boundary."), std::string::npos);
    EXPECT_EQ(LayupRestoreArea(), 0);
    EXPECT_EQ(model().pElems()->find(1)->getSltd(), 0);
    EXPECT_NE(Messages().find("Area restored"), std::string::npos);
    // The merge's own results: nothing to do at 0; a quad mesh has no free
    // triangle edges to merge.
    EXPECT_EQ(LayupMergeFree(0.0f), 0);
    EXPECT_EQ(LayupSewFree(0.0f), 0);
    EXPECT_EQ(LayupMergeFree(0.001f), -1);
    EXPECT_NE(Messages().find("No free tria3 edges exist in model."), std::string::npos);

    // No node or element carries id 0: the outputs keep what they held.
    int node = -3, elem = -4;
    EXPECT_EQ(LayupGetMeshLowId(&node, &elem), 0);
    EXPECT_EQ(node, -3);
    EXPECT_EQ(elem, -4);
}

TEST_F(LayupSelectTest, EmptySlotGivesOne) {
    LayupDestruct();
    int n = 0;
    float f = 0;
    EXPECT_EQ(LayupSelectClear(), 1);
    EXPECT_EQ(LayupSelectGetNumSelectionGroups(&n), 1);
    EXPECT_EQ(LayupSelectGetBoundary(0, 0, 0, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(LayupMergeFree(0.1f), 1);
    EXPECT_EQ(LayupGetNodeBounds(&n, &f, &f, &f, &f, &f, &f), 1);
    EXPECT_EQ(LayupGetMesh(0, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr), 1);
    EXPECT_EQ(LayupGetElem(1, &n, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr, nullptr),
              1);
    EXPECT_EQ(LayupCutAreaEID(0, nullptr, nullptr), 1);
    EXPECT_EQ(LayupRestoreArea(), 1);
}

}  // namespace
