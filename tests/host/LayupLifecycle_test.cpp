#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

const char* kMismatch =
    "The mesh in the opened Layup file differs from the mesh in the database. The free edges of "
    "the Layup file mesh are plotted in the current viewport. We recommend that you either 1) "
    "Create a new Layup file compatible with the database mesh, then import the plies from the "
    "original Layup file onto the new mesh, or 2) Import the model from the current Layup file "
    "into a new database. Do you wish to continue?";

class LayupLifecycleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        std::remove(path.c_str());
    }

    // A 2 x 1 plate of unit quads into the slot's model, from float arrays.
    int LoadPlate(double dz = 0.0) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 1);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        for (size_t i = 2; i < xyz.size(); i += 3) xyz[i] += static_cast<float>(dz);
        return LayupNewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                 static_cast<int>(elemIds.size()), elemIds.data(), values.data(),
                                 tops.data(), m.width, rows.data(), 0.0f, 0.0f);
    }
    // The same plate, lifted by dz, into the stand-in's database.
    static void OfferPlate(float dz) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
        for (size_t i = 0; i < m.nodeIds.size(); ++i)
            MorvekStubAddNode(m.nodeIds[i], static_cast<float>(m.xyz[3 * i]),
                              static_cast<float>(m.xyz[3 * i + 1]),
                              static_cast<float>(m.xyz[3 * i + 2]) + dz);
        for (size_t e = 0; e < m.elemIds.size(); ++e)
            MorvekStubAddElem(m.elemIds[e], 4, 4, &m.connectivity[e * m.width]);
    }
    static std::vector<morvekstub::Message> HostErrors() {
        std::vector<morvekstub::Message> out;
        for (const morvekstub::Message& m : morvekstub::Messages())
            if (m.severity == 4) out.push_back(m);
        return out;
    }
    static int Questions() {
        int n = 0;
        for (const morvekstub::Message& m : morvekstub::Messages()) n += m.code == 59300005;
        return n;
    }

    std::string path = ::testing::TempDir() + "lifecycle_" + std::to_string(::getpid()) + ".lyp";
};

}  // namespace

TEST_F(LayupLifecycleTest, SlotIsFilledOnceAndEveryFunctionNeedsIt) {
    int a = 0, b = 0, c = 0;
    char* files[1] = {nullptr};
    const std::vector<std::function<int()>> calls = {
        [] { return LayupDestruct(); },
        [] { return LayupOpenMessage("x.msg"); },
        [] { return LayupCloseMessage(); },
        [this] { return LoadPlate(); },
        [] { return LayupNewLayup(0.0f, 0.0f); },
        [] { return LayupOpenLayup("x.lyp", 0); },
        [] { return LayupOpenLayup2("x.lyp", 0, 0); },
        [] { return LayupSaveLayup("x.lyp", 0, 0); },
        [] { return LayupCloseLayup(); },
        [&] { return LayupGetVersions(&a, &b, &c); },
        [] { return LayupRead(2, "x", 0, 0); },
        [] { return LayupRead2(2, "x", 0, 0, nullptr); },
        [] { return LayupKorRead("x", 0); },
        [] { return LayupKorF06Read("x", 0, nullptr, 0); },
        [] { return LayupKorOp2Read("x", 0, 0); },
        [] { return LayupImportMorvek25("x"); },
        [] { return LayupFemapAccess(0, nullptr); },
        [] { return LayupWrite(2, "x", 0, 7); },
        [] { return LayupWrite2(2, "x", 0, 7, 0, 0); },
        [] { return LayupKorWrite("x", 0, 0); },
        [&] { return LayupImportPly(0, nullptr, 1, files, 0.0f, 0.0f, 0, 0, 0, 0, 0.0f); },
        [&] {
            return LayupImportPly2(0, nullptr, 1, files, 0.0f, 0.0f, 0, 0, 0, 0, 0.0f, nullptr,
                                   nullptr);
        },
        [&] {
            return LayupImportPly3(0, nullptr, 1, files, 0.0f, 0.0f, 0, 0, 0, 0, 0, 0.0f, nullptr,
                                   nullptr);
        },
    };
    for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i](), 1) << "call " << i;
    EXPECT_EQ(a, 0);

    EXPECT_EQ(LayupConstruct(1, "", ""), 2);
    EXPECT_EQ(LayupSlotModel(), nullptr);
    ASSERT_EQ(LayupConstruct(0, nullptr, nullptr), 0);
    ILayup* first = LayupSlotModel();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LayupConstruct(0, "", ""), 1);
    EXPECT_EQ(LayupSlotModel(), first);
    const std::vector<morvekstub::Message> errors = HostErrors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].code, 59200001);
    EXPECT_EQ(errors[0].text, "A Layup object cannot be created as one is already defined.");
    EXPECT_EQ(LayupGetVersions(&a, &b, &c), 0);
    EXPECT_EQ(c, 20081110);

    EXPECT_EQ(LayupDestruct(), 0);
    EXPECT_EQ(LayupSlotModel(), nullptr);
    EXPECT_EQ(LayupDestruct(), 1);
    EXPECT_EQ(LayupConstruct(0, "", ""), 0);
}

TEST_F(LayupLifecycleTest, ReadsAreRefusedOnAModelWithElementsAndFailAtTheRead) {
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    EXPECT_EQ(LayupFemapAccess(0, nullptr), 3);
    EXPECT_EQ(LayupImportMorvek25("model.neu"), 3);
    ASSERT_EQ(LoadPlate(), 0);
    EXPECT_EQ(LayupRead(2, "model.bdf", 1, 0), 2);
    EXPECT_EQ(HostErrors().back().text, "Cannot import model data as model already exists.");
    EXPECT_EQ(LayupKorRead("model.bdf", 0), 2);
    EXPECT_EQ(LayupFemapAccess(0, nullptr), 2);
    // Mask 0 skips the element check: the read itself fails.
    EXPECT_EQ(LayupRead(2, "model.bdf", 0, 0), 3);
    int n = 0;
    LayupSlotModel()->GetNumElems(&n);
    EXPECT_EQ(n, 2);
    // Any nonzero result of the model's Write is 2, -1 included.
    EXPECT_EQ(LayupWrite(2, "/nonexistent/out.bdf", 0, 7), 2);
    EXPECT_EQ(LayupWrite2(3, "out.f06", 0, 7, 1, 0), 2);
    EXPECT_EQ(LayupWrite(11, nullptr, 0, 1), 0);
}

TEST_F(LayupLifecycleTest, BulkDataIsReadIntoTheDatabaseAndWrittenFromIt) {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    ASSERT_NE(dir, nullptr);
    const std::string deck = std::string(dir) + "/bdf/pcomp_cquad4.bdf";
    MorvekStubOpenDatabase("deck.db");
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    // Read, then written back into the open database: its 36 grids and 25
    // quads.
    EXPECT_EQ(LayupKorRead(deck.c_str(), 0), 0);
    EXPECT_EQ(morvekstub::NodeCount(), 36);
    EXPECT_EQ(morvekstub::ElemCount(), 25);
    int n = 0;
    LayupSlotModel()->GetNumElems(&n);
    EXPECT_EQ(n, 25);

    // With a database open, the database's model is the one written.
    ASSERT_EQ(LayupCloseLayup(), 0);
    const std::string out = path + ".bdf";
    EXPECT_EQ(LayupKorWrite(out.c_str(), 0, 0), 0);
    std::ifstream in(out);
    std::string line;
    int quads = 0;
    while (std::getline(in, line)) quads += line.compare(0, 6, "CQUAD4") == 0;
    EXPECT_EQ(quads, 25);
    std::remove(out.c_str());
}

TEST_F(LayupLifecycleTest, NewMeshWidensFloatsAndLeavesBadArraysToTheModel) {
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    ASSERT_EQ(LoadPlate(0.1), 0);
    int sizes[3] = {0, 0, 0};
    ILayup* model = LayupSlotModel();
    model->GetMeshSizes(&sizes[0], &sizes[1], &sizes[2]);
    ASSERT_EQ(sizes[0], 6);
    std::vector<int> ids(6), eids(2), pids(2), tops(2), rows(2 * sizes[2]);
    std::vector<double> xyz(18);
    ASSERT_EQ(model->GetMesh(6, ids.data(), xyz.data(), 2, eids.data(), pids.data(), tops.data(),
                             sizes[2], rows.data()),
              0);
    EXPECT_EQ(xyz[2], static_cast<double>(0.1f));

    int id = 1;
    EXPECT_EQ(
        LayupNewLayupMesh(-1, &id, nullptr, 0, nullptr, nullptr, nullptr, 4, nullptr, 0.0f, 0.0f),
        -1);
    EXPECT_EQ(HostErrors().back().text, "NewLayupMesh: negative node count -1 or element count 0.");
    EXPECT_EQ(
        LayupNewLayupMesh(1, &id, nullptr, 0, nullptr, nullptr, nullptr, 4, nullptr, 0.0f, 0.0f),
        -1);
    EXPECT_EQ(HostErrors().back().text, "NewLayupMesh: a node or element array is missing.");
    model->GetMeshSizes(&sizes[0], &sizes[1], &sizes[2]);
    EXPECT_EQ(sizes[1], 2);  // refused before the model was emptied
}

TEST_F(LayupLifecycleTest, ReopeningComparesWithTheDatabaseMesh) {
    MorvekStubOpenDatabase("plate.db");
    OfferPlate(0.0f);
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    ASSERT_EQ(LoadPlate(), 0);
    ASSERT_EQ(LayupSaveLayup(path.c_str(), 0, 1), 0);
    EXPECT_EQ(LayupOpenLayup(path.c_str(), 1), 0);
    EXPECT_EQ(Questions(), 0);
    EXPECT_TRUE(morvekstub::Drawings().empty());
    EXPECT_EQ(LayupOpenLayup2("/nonexistent/plate.lyp", 1, 1), 2);
    EXPECT_EQ(LayupCloseLayup(), 0);

    // A database mesh lifted by 1: the question, with the free edges drawn
    // and erased whatever the answer.
    MorvekStubReset();
    MorvekStubOpenDatabase("plate.db");
    OfferPlate(1.0f);
    for (int answer : {1, 0, 2}) {
        MorvekStubAnswer(answer);
        const size_t drawn = morvekstub::Drawings().size();
        EXPECT_EQ(LayupOpenLayup2(path.c_str(), 1, 1), answer == 1 ? 0 : 100005) << answer;
        const morvekstub::Message& q = morvekstub::Messages().back();
        EXPECT_EQ(q.code, 59300005);
        EXPECT_EQ(q.severity, 1029);
        EXPECT_EQ(q.text, kMismatch);
        // The six free edges of the plate, in one handle that is then deleted.
        const std::vector<morvekstub::Drawing>& d = morvekstub::Drawings();
        ASSERT_EQ(d.size() - drawn, 6u);
        EXPECT_EQ(d.back().colour, 1);  // library colour 4
        ASSERT_FALSE(morvekstub::DeletedHandles().empty());
        EXPECT_EQ(morvekstub::DeletedHandles().back(), d.back().handle);
        int n = 0;
        LayupSlotModel()->GetNumElems(&n);
        EXPECT_EQ(n, 2);  // the file stays open either way
    }
    EXPECT_EQ(Questions(), 3);
    // Check flag 0: the database is not asked (a failure queued for its
    // element count stays queued), no question.
    MorvekStubFail("mesh.0", 7);
    EXPECT_EQ(LayupOpenLayup2(path.c_str(), 1, 0), 0);
    EXPECT_EQ(Questions(), 3);
    int count = 0;
    EXPECT_EQ(LayupOutCountElems(&count), 7);
}

TEST_F(LayupLifecycleTest, ClientModelsLiveOutsideTheSlot) {
    RecordingGUI gui;
    ILayup* model = nullptr;
    EXPECT_EQ(CreateLayupApp(nullptr, &gui, nullptr), -1);
    ASSERT_EQ(CreateLayupApp(nullptr, &gui, &model), 0);
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(LayupSlotModel(), nullptr);
    EXPECT_EQ(LayupDestruct(), 1);
    model->SetMessage(ILayup::eError, "client");
    EXPECT_EQ(gui.texts(4).back(), "client");
    EXPECT_EQ(DeleteLayupApp(model), 0);
    EXPECT_EQ(DeleteLayupApp(nullptr), -1);
}
