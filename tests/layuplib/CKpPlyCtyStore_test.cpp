#include "layuplib/CKpPlyCtyStore.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

// Laminates with layers of given global ply ids, bottom first; layer k
// (from 0) is 0.1 * (k + 1) thick.
class PlyCtyTest : public ::testing::Test {
  protected:
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};

    CKpLam* Lam(const char* name, std::initializer_list<int> ids) {
        CKpLam* lam = new CKpLam(model.pLams()->maxId() + 1);
        lam->SetName(name);
        model.pLams()->insert(lam);
        int k = 0;
        for (int id : ids) {
            CKpLamLyr* lyr = lam->LamLyrs()->New();
            lyr->setGplyid(id);
            lyr->SetThickness(0.1 * ++k);
        }
        return lam;
    }

    static std::vector<int> Ids(const CKpPlyCtyStore& store) {
        std::vector<int> out;
        for (const CKpPlyCty* c = store.First(); c; c = store.Next(c)) out.push_back(c->gplyid());
        return out;
    }
};

}  // namespace

TEST_F(PlyCtyTest, CommonIdsAndTheDroppedRun) {
    CKpLam* a = Lam("A", {1, 2, 3});
    CKpLam* b = Lam("B", {1, 3});
    CKpPlyCtyStore store;
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, b, 1), 0);
    EXPECT_EQ(Ids(store), (std::vector<int>{1, 3}));

    int count = -1;
    double thick = -1.0;
    EXPECT_EQ(store.GetMaxDropoff(model.pMsg(), a, count, thick), 0);
    EXPECT_EQ(count, 1);
    EXPECT_TRUE(Near(thick, 0.2, tol::length));  // the layer of id 2
    EXPECT_EQ(store.GetMaxDropoff(model.pMsg(), b, count, thick), 0);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(gui.messages.empty());
}

TEST_F(PlyCtyTest, RunsAreMeasuredEachOnItsOwn) {
    // Runs: ids 1, 2 below 4 (0.1 + 0.2), ids 5, 6 between 4 and 7 (0.4 + 0.5).
    CKpLam* a = Lam("A", {1, 2, 4, 5, 6, 7, 9});
    CKpLam* b = Lam("B", {4, 7});
    CKpPlyCtyStore store;
    ASSERT_EQ(store.SetCommonGplyId(nullptr, a, b, 1), 0);
    int count = 0;
    double thick = 0.0;
    EXPECT_EQ(store.GetMaxDropoff(nullptr, a, count, thick), 0);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(Near(thick, 0.4 + 0.5, tol::length));  // layer 9 above 7 forms no run

    // A common id the laminate lacks: the run reaches its top.
    CKpPlyCtyStore other;
    other.InsertLast(new CKpPlyCty(2));
    other.InsertLast(new CKpPlyCty(8));
    EXPECT_EQ(other.GetMaxDropoff(nullptr, a, count, thick), 0);
    EXPECT_EQ(count, 5);
    EXPECT_TRUE(Near(thick, 0.3 + 0.4 + 0.5 + 0.6 + 0.7, tol::length));

    EXPECT_EQ(store.GetMaxDropoff(model.pMsg(), nullptr, count, thick), -1);
    EXPECT_EQ(gui.texts(2).back(), "Null laminate passed to CKpPlyCtyStore::GetMaxDropoff().");
}

TEST_F(PlyCtyTest, CrossoversAreFoundBehindTheCursor) {
    CKpLam* a = Lam("A", {1, 2, 3});
    CKpPlyCtyStore store;
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, Lam("B", {3, 1}), 1), -1);
    EXPECT_EQ(Ids(store), (std::vector<int>{3}));  // kept from before the refusal
    EXPECT_EQ(gui.texts(2).back(), "GPlyIds 1 crossed over between laminates 'A' and 'B'.");

    // 3 matched at the top of A; 2 then lies behind the cursor.
    store.eraseAllObjects();
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, Lam("C", {3, 2}), 1), -1);
    EXPECT_EQ(gui.texts(2).back(), "GPlyIds 2 crossed over between laminates 'A' and 'C'.");
    int count = 0;
    double thick = 0.0;
    EXPECT_EQ(store.GetMaxDropoff(nullptr, a, count, thick), 0);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(Near(thick, 0.3, tol::length));

    // Read from the top, the same laminate stacks 1, 3 in order.
    store.eraseAllObjects();
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, Lam("D", {3, 1}), -1), 0);
    EXPECT_EQ(Ids(store), (std::vector<int>{1, 3}));

    // Ids not in A leave the cursor where it was.
    store.eraseAllObjects();
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, Lam("E", {5, 2, 6, 3}), 1), 0);
    EXPECT_EQ(Ids(store), (std::vector<int>{2, 3}));
}

TEST_F(PlyCtyTest, RefusalsBeforeAnyComparison) {
    CKpLam* a = Lam("A", {1, 2, 3});
    CKpPlyCtyStore store;
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, nullptr, 1), -1);
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), Lam("Twice", {1, 1, 3}), a, 1), -1);
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, Lam("Unset", {0, 0}), 1), -1);
    EXPECT_EQ(store.SetCommonGplyId(model.pMsg(), a, a, 0), -1);
    EXPECT_EQ(gui.texts(2),
              (std::vector<std::string>{
                  "Null laminates passed to CKpPlyCtyStore::SetCommonGplyId().",
                  "Laminate 'Twice' does not have uniquely defined global ply ids.",
                  "Laminate 'Unset' does not have uniquely defined global ply ids.",
                  "Zero direction flag passed to CKpPlyCtyStore::SetCommonGplyId()."}));
    EXPECT_EQ(store.entries(), 0);
}
