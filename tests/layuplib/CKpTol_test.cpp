#include "layuplib/CKpTol.h"

#include <gtest/gtest.h>

#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/surface_div.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Elements 1..4 of a 2 x 2 plate; the global tolerance (0.05, 5).
struct CKpTolRegions : ::testing::Test {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpTolStore tols;
    CKpTol global{0, 0.05, 5.0};
    RecordingGUI gui;
    CKpMsg msg;

    CKpTolRegions() {
        meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 2.0, 2.0), nodes, elems);
        msg.SetGUI(&gui);
    }
    ~CKpTolRegions() override {
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
    int add(double ang, double thk, std::vector<int> ids) {
        return set_tol_region_data(&msg, &elems, nullptr, &tols, ang, thk,
                                   static_cast<int>(ids.size()), ids.data());
    }
    std::vector<int> listed(int region) {
        std::vector<int> ids;
        CVekList<CKpTolElem>* l = tols.find(region)->pElems();
        for (CKpTolElem* e = l->First(); e; e = l->Next(e)) ids.push_back(e->getElemId());
        return ids;
    }
    // Angle and thickness tolerance of elements 1..4.
    std::vector<double> onElements() {
        std::vector<double> v;
        for (int id = 1; id <= 4; ++id) {
            v.push_back(elems.find(id)->getangtol());
            v.push_back(elems.find(id)->getthktol());
        }
        return v;
    }
};

}  // namespace

TEST_F(CKpTolRegions, RegionsListValidElementsAndLaterIdsWin) {
    ASSERT_EQ(add(0.1, 2.0, {2, 3, 2, -1, 0, 99}), 0);
    ASSERT_EQ(add(0.2, 3.0, {1, 2}), 0);
    ASSERT_EQ(add(0.3, 4.0, {}), 0);
    EXPECT_EQ(listed(1), (std::vector<int>{2, 3, 2}));
    EXPECT_EQ(listed(2), (std::vector<int>{1, 2}));
    EXPECT_TRUE(listed(3).empty());

    for (int id = 1; id <= 4; ++id) elems.find(id)->setthktol(9.0);
    ASSERT_EQ(set_all_tolerances(&elems, nullptr, &global, &tols), 0);
    EXPECT_EQ(onElements(), (std::vector<double>{0.2, 3.0, 0.2, 3.0, 0.1, 2.0, 0.05, 5.0}));

    int ids[1] = {1};
    EXPECT_EQ(set_tol_region_data(&msg, &elems, nullptr, &tols, 0.3, 4.0, -1, ids), -1);
    EXPECT_EQ(set_tol_region_data(&msg, &elems, nullptr, &tols, 0.3, 4.0, 2, nullptr), -1);
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{"Invalid element count -1.", "Invalid element count 2."}));
    EXPECT_EQ(tols.entries(), 3);
    EXPECT_EQ(set_all_tolerances(&elems, nullptr, nullptr, &tols), -1);
}

TEST_F(CKpTolRegions, RestoreDropsRegionsAndRestartsNumbering) {
    add(0.1, 2.0, {1, 2});
    ASSERT_EQ(restore_tolerance(&elems, 0.07, 6.0, &global, &tols), 0);
    EXPECT_EQ(tols.entries(), 0);
    EXPECT_EQ(global.getangtol(), 0.07);
    EXPECT_EQ(global.getthktol(), 6.0);
    EXPECT_EQ(onElements(), (std::vector<double>{0.07, 6.0, 0.07, 6.0, 0.07, 6.0, 0.07, 6.0}));
    add(0.1, 2.0, {4});
    EXPECT_NE(tols.find(1), nullptr);
}
