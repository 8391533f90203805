#include "layuplib/CKpLayup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpSubLypStore.h"
#include "layuplib/CKpTol.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/IVekAddinFailureLamina.h"
#include "tests/support/RecordingGUI.h"

namespace {

class LayupModel : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    ILayup* api() { return model.get(); }

    // One quad4 (element 1 over nodes 1..4, by default the unit square).
    double xyz[12] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    void OneQuad(ILayup* into) {
        const int ids[] = {1, 2, 3, 4};
        const int elem[] = {1}, patch[] = {0}, topo[] = {4}, conn[] = {1, 2, 3, 4};
        ASSERT_EQ(into->NewLayupMesh(4, ids, xyz, 1, elem, patch, topo, 4, conn, 0.0, 0.0), 0);
    }
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string CriterionName(void* p) {
    char name[64] = "";
    static_cast<IVekAddinFailureLamina*>(p)->GetName(name, sizeof(name));
    return name;
}

}  // namespace

TEST_F(LayupModel, MessageFileLinesAndVerbatimText) {
    const std::string path = ::testing::TempDir() + "layup_model_test.msg";
    ASSERT_EQ(api()->OpenMessage(path.c_str()), 0);
    api()->SetMessage(ILayup::eInformation, "progress 100%d %s");
    api()->SetMessage(ILayup::eWarning, "watch %d");
    api()->SetMessage(ILayup::eError, nullptr);
    EXPECT_EQ(api()->CloseMessage(), 0);
    const std::vector<std::string> lines = ReadLines(path);
    EXPECT_EQ(lines, (std::vector<std::string>{"$# Layup Lib 20081110 API 20081003 File 20081003",
                                               "$# Message file opened", "$# progress 100%d %s",
                                               "$# WARNING: watch %d",
                                               "$# ERROR: ", "$# Close message file"}));
    // Warnings and errors reach the host unchanged; information does not.
    ASSERT_EQ(gui.messages.size(), 2u);
    EXPECT_EQ(gui.messages[0].text, "watch %d");
    EXPECT_EQ(gui.messages[0].severity, 2);
    std::remove(path.c_str());

    EXPECT_EQ(api()->OpenMessage("/no/such/folder/x.msg"), -1);
}

TEST_F(LayupModel, MessageStoreReadsOldestFirst) {
    api()->SetMessage(ILayup::eWarning, "first");
    api()->SetMessage(ILayup::eError, "second");
    api()->SetMessage(ILayup::eInformation, "not stored");
    ILayup::EMsgTyp type = ILayup::eInformation;
    char text[64];
    EXPECT_EQ(api()->GetFirstMessageInStore(0.0, type, nullptr, 64), 1);
    EXPECT_EQ(api()->GetFirstMessageInStore(0.0, type, text, 0), 1);
    EXPECT_EQ(type, ILayup::eInformation);  // not written on failure
    char small[4];
    ASSERT_EQ(api()->GetFirstMessageInStore(0.0, type, small, sizeof(small)), 0);
    EXPECT_STREQ(small, "fir");
    EXPECT_EQ(type, ILayup::eWarning);
    ASSERT_EQ(api()->GetFirstMessageInStore(0.0, type, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "second");
    EXPECT_EQ(type, ILayup::eError);
    EXPECT_EQ(api()->GetFirstMessageInStore(0.0, type, text, sizeof(text)), 1);

    api()->SetMessage(ILayup::eWarning, "c");
    api()->FlushMessageStore();
    EXPECT_EQ(api()->GetFirstMessageInStore(0.0, type, text, sizeof(text)), 1);
}

TEST_F(LayupModel, ReinitEmptiesStoresAndKeepsGlobalTolerance) {
    OneQuad(api());
    CKpLayup& m = *model;
    m.pSets()->insert(new CKpSet(1));
    m.pMats()->insert(new CKpMat(1));
    m.pPats()->insert(new CKpPat(1));
    m.pPlys()->insert(new CKpPly(1));
    m.pOffs()->insert(new CKpOff(1));
    m.pTols()->insert(new CKpTol(1, 0.1, 2.0));
    m.pLamMats()->insert(new CKpMat(2));
    m.pFields()->insert(new CKpField(1));
    m.pSubLyps()->insert(new CKpSubLyp(1));
    m.pLyp()->setName("stack");
    m.pFile()->SetName("model.lyp");
    m.pView()->rot(0.1, 0.2, 0.3);
    m.pGTol()->setangtol(0.25);
    m.pGTol()->setthktol(7.5);
    CKpTol* gtol = m.pGTol();
    IVekPlyLayup* layup = api()->GetPlyLayup();

    EXPECT_EQ(api()->CloseLayup(), 0);
    int nodes = -1, elems = -1, width = -1;
    api()->GetMeshSizes(&nodes, &elems, &width);
    EXPECT_EQ(nodes + elems + width, 0);
    EXPECT_EQ(m.pNodes()->entries() + m.pElems()->entries() + m.pSets()->entries(), 0);
    EXPECT_EQ(m.pMats()->entries() + m.pPats()->entries() + m.pPlys()->entries(), 0);
    EXPECT_EQ(m.pOffs()->entries() + m.pTols()->entries() + m.pLamMats()->entries(), 0);
    EXPECT_EQ(m.pFields()->entries() + m.pSubLyps()->entries(), 0);
    EXPECT_STREQ(m.pLyp()->name(), "");
    EXPECT_STREQ(m.pFile()->GetName(), "");
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) EXPECT_EQ(m.pView()->xfm(i, j), i == j ? 1.0 : 0.0);
    EXPECT_EQ(m.pGTol(), gtol);
    EXPECT_EQ(gtol->getangtol(), 0.25);
    EXPECT_EQ(gtol->getthktol(), 7.5);
    EXPECT_EQ(api()->GetPlyLayup(), layup);
}

TEST_F(LayupModel, AddinsCountAndInstantiateInOrder) {
    int count = 0;
    EXPECT_EQ(api()->GetAddins(&count, "IVekAddinFailureLamina", nullptr), 0);
    EXPECT_EQ(count, 7);

    void* slots[5] = {nullptr, nullptr, nullptr, nullptr, nullptr};
    count = 3;
    ASSERT_EQ(api()->GetAddins(&count, "IVekAddinFailureLamina", slots), 0);
    EXPECT_EQ(count, 3);
    ASSERT_NE(slots[2], nullptr);
    EXPECT_EQ((std::vector<std::string>{CriterionName(slots[0]), CriterionName(slots[1]),
                                        CriterionName(slots[2])}),
              (std::vector<std::string>{"TsaiWu", "Maximum", "Hill"}));
    EXPECT_EQ(slots[3], nullptr);
    for (int i = 0; i < 3; ++i) static_cast<IVekAddinFailureLamina*>(slots[i])->Release();

    count = 0;
    EXPECT_EQ(api()->GetAddins(&count, "IVekSomethingElse", nullptr), 0);
    EXPECT_EQ(count, 0);

    // Bad arguments are refused.
    EXPECT_EQ(api()->GetAddins(nullptr, "IVekAddinFailureLamina", nullptr), 1);
    count = -1;
    EXPECT_EQ(api()->GetAddins(&count, "IVekAddinFailureLamina", nullptr), 1);
    count = 0;
    EXPECT_EQ(api()->GetAddins(&count, nullptr, nullptr), 1);
    count = 2;
    EXPECT_EQ(api()->GetAddins(&count, "IVekAddinFailureLamina", nullptr), 1);
    EXPECT_EQ(count, 2);
}

TEST_F(LayupModel, CheckMatchComparesTheMeshes) {
    CKpLayup other(nullptr, &gui);
    EXPECT_EQ(api()->CheckMatch(nullptr), 0);
    EXPECT_EQ(api()->CheckMatch(&other), 0);  // no elements: information only
    EXPECT_TRUE(gui.messages.empty());

    // The same unit quad matches; a node moved by more than the tolerance,
    // 0.001 * sqrt(average area) = 0.001, does not.
    OneQuad(api());
    for (double dy : {0.0, 0.0005, 0.002}) {  // node 3, y: the last beyond the tolerance
        xyz[7] += dy;
        OneQuad(&other);
        EXPECT_EQ(api()->CheckMatch(&other), dy > 0.001 ? 1 : 0) << dy;
    }
}

TEST(LayupView, RotationIsOrthonormal) {
    CKpView view;
    view.rot(0.3, -0.7, 1.1);
    EXPECT_NEAR(view.xfm(0, 2), -std::sin(-0.7), 1e-15);
    EXPECT_NEAR(view.xfm(1, 2), std::sin(0.3) * std::cos(-0.7), 1e-15);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double dot = 0.0;
            for (int k = 0; k < 3; ++k) dot += view.xfm(i, k) * view.xfm(j, k);
            EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-14) << "rows " << i << ", " << j;
        }
}

TEST(LayupModelLifetime, DeletedThroughTheInterface) {
    RecordingGUI gui;
    ILayup* model = new CKpLayup(nullptr, &gui);
    const std::string path = ::testing::TempDir() + "layup_lifetime.msg";
    ASSERT_EQ(model->OpenMessage(path.c_str()), 0);
    delete model;  // closes the message file (ASan checks that nothing leaks)
    const std::vector<std::string> lines = ReadLines(path);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "$# Close message file");
    std::remove(path.c_str());
}
