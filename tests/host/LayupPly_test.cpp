#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"

namespace {

class LayupPlyTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        ASSERT_EQ(LayupOpenMessage(path.c_str()), 0);
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 4.0, 2.0);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 1);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        ids = m.elemIds;
        orders.assign(ids.size(), 0);
        ASSERT_EQ(LayupNewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                    static_cast<int>(elemIds.size()), elemIds.data(), values.data(),
                                    tops.data(), m.width, rows.data(), 0.0f, 0.0f),
                  0);
        IVekMaterial* mat = LayupSlotModel()->GetMaterialStore()->New(0);
        ASSERT_NE(mat, nullptr);
        mat->SetName("CF");
        mat->SetType(EVekMaterialScissor);
        mat->SetThickness(0.25);
    }
    void TearDown() override {
        LayupCloseMessage();
        LayupDestruct();
        MorvekStubReset();
        std::remove(path.c_str());
    }
    std::string Log() {
        std::ostringstream s;
        s << std::ifstream(path).rdbuf();
        const std::string all = s.str();
        const std::string fresh = all.substr(std::min(seen, all.size()));
        seen = all.size();
        return fresh;
    }
    int Create(const char* name, const char* material) {
        return LayupCreatePly4(3, name, material, 2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                               0.0f, 30.0f, 0, nullptr, nullptr, 90.0f, 1.0f, 45.0f, 0.25f, 0,
                               "Calc", nullptr, nullptr, nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f,
                               0.0f, static_cast<int>(ids.size()), ids.data(), orders.data(), 0,
                               nullptr, nullptr, nullptr);
    }
    int Modify(const char* name, const char* newName, const char* material) {
        return LayupModifyPly4(3, name, newName, material, 2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f,
                               0.0f, 0.0f, 0.0f, 0, nullptr, nullptr, 90.0f, 1.0f, 45.0f, 0.25f, 0,
                               "Calc", nullptr, nullptr, nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f,
                               0.0f, static_cast<int>(ids.size()), ids.data(), orders.data(), 0,
                               nullptr, nullptr, nullptr);
    }
    static IVekPlyStore* Plies() { return LayupSlotModel()->GetPlyStore(); }

    std::vector<int> ids, orders;
    std::string path = ::testing::TempDir() + "ply_" + std::to_string(::getpid()) + ".msg";
    size_t seen = 0;
};

}  // namespace

TEST_F(LayupPlyTest, CreateDrapesAndChecksNames) {
    ASSERT_EQ(Create("P1", "CF"), 0);
    std::string log = Log();
    EXPECT_NE(log.find("Ply 'P1' created."), std::string::npos) << log;
    EXPECT_EQ(log.find("Ply::"), std::string::npos) << log;
    IVekPly* ply = Plies()->Get("P1");
    ASSERT_NE(ply, nullptr);
    EXPECT_EQ(ply->GetSimulationResult(), 0);

    EXPECT_EQ(Create("P1", "CF"), -1);
    EXPECT_NE(Log().find("Ply name 'P1' already used."), std::string::npos);
    EXPECT_EQ(Create("", "CF"), -1);
    EXPECT_NE(Log().find("Cannot create a ply with no name."), std::string::npos);
    EXPECT_EQ(Plies()->Count(), 1);

    // A missing material: kept, with the simulation's warning.
    EXPECT_EQ(Create("P2", "none"), 0);
    log = Log();
    EXPECT_NE(log.find("Ply::Simulate(): "), std::string::npos) << log;
    EXPECT_NE(log.find("Ply 'P2' created."), std::string::npos);
    EXPECT_EQ(Plies()->Count(), 2);

    // The id is not read.
    EXPECT_EQ(LayupDeletePly(12345, "P2"), 0);
    EXPECT_NE(Log().find("Ply 'P2' deleted"), std::string::npos);
    EXPECT_EQ(LayupDeletePly(0, "P2"), -1);
    EXPECT_NE(Log().find("Could not find ply 'P2'"), std::string::npos);
}

TEST_F(LayupPlyTest, ModifyKeepsAGoodPlyWhenTheNewOneFails) {
    ASSERT_EQ(Create("P1", "CF"), 0);
    ASSERT_EQ(Create("P2", "CF"), 0);
    Log();
    EXPECT_EQ(Modify("P1", "P1", "CF"), 0);  // its own name is not "used"
    EXPECT_NE(Log().find("Ply 'P1' modified."), std::string::npos);
    EXPECT_EQ(Modify("P1", "P2", "CF"), -1);
    EXPECT_NE(Log().find("Ply name 'P2' already used."), std::string::npos);
    EXPECT_EQ(Modify("P9", "P3", "CF"), -1);
    EXPECT_NE(Log().find("Ply name 'P9' does not exist."), std::string::npos);

    EXPECT_EQ(Modify("P1", "P1b", "none"), -1);
    EXPECT_NE(Log().find("The draping simulation for ply 'P1b' has failed. The existing ply will "
                         "be retained."),
              std::string::npos);
    EXPECT_EQ(Plies()->Count(), 2);
    ASSERT_NE(Plies()->Get("P1"), nullptr);
    EXPECT_EQ(Plies()->Get("P1")->GetSimulationResult(), 0);

    ASSERT_EQ(Modify("P1", "P1c", "CF"), 0);
    EXPECT_EQ(Plies()->Get("P1"), nullptr);
    EXPECT_NE(Plies()->Get("P1c"), nullptr);
    EXPECT_EQ(Plies()->Count(), 2);
}

TEST_F(LayupPlyTest, OlderVersionsForwardEveryArgument) {
    // The reference angle lands where the newest function expects it.
    ASSERT_EQ(LayupCreatePly(3, "Old", "CF", 2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f,
                             30.0f, 90.0f, 1.0f, 45.0f, 0.25f, 0, "Calc", nullptr, nullptr, nullptr,
                             1, 0.0f, 0.0f, 0.0f, 0.0f, static_cast<int>(ids.size()), ids.data(),
                             orders.data(), 0, nullptr, nullptr),
              0);
    ASSERT_NE(Plies()->Get("Old"), nullptr);
    EXPECT_EQ(Plies()->Get("Old")->GetSimulationResult(), 0);
    EXPECT_EQ(
        LayupModifyPly(3, "Old", "Older", "CF", 2.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f,
                       0.0f, 0.0f, 90.0f, 1.0f, 45.0f, 0.25f, 0, "Calc", nullptr, nullptr, nullptr,
                       1, 0.0f, 0.0f, 0.0f, 0.0f, static_cast<int>(ids.size()), ids.data(),
                       orders.data(), 0, nullptr, nullptr),
        0);
    EXPECT_NE(Log().find("Ply 'Older' modified."), std::string::npos);
    EXPECT_EQ(Plies()->Count(), 1);
}

TEST_F(LayupPlyTest, CountsNamesAndSizes) {
    ASSERT_EQ(Create("P1", "CF"), 0);
    ASSERT_EQ(Create("P2", "none"), 0);  // kept with its failed drape
    int n = -1;
    ASSERT_EQ(LayupGetNumPlies(0, &n), 0);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(LayupGetNumPlies(2, &n), 0);
    EXPECT_EQ(n, 0);

    char a[8] = "old", b[8] = "old";
    char* names[2] = {a, b};
    int results[2] = {-7, -7};
    EXPECT_EQ(LayupGetPlyNames(0, 1, names, results), -1);
    EXPECT_NE(Log().find("LayupGetPlyNames: The ply name array size 1 is not equal to the number "
                         "of matching plies 2."),
              std::string::npos);
    EXPECT_STREQ(a, "old");
    EXPECT_EQ(results[0], -7);
    ASSERT_EQ(LayupGetPlyNames(3, 2, names, results), 0);
    EXPECT_STREQ(a, "P1");
    EXPECT_STREQ(b, "P2");
    EXPECT_EQ(results[0], 0);
    EXPECT_NE(results[1], 0);

    int elems = -1, splits = -1, curves[2] = {-1, -1};
    ASSERT_EQ(LayupGetPlySizes(0, "P1", &elems, &splits, curves), 0);
    EXPECT_EQ(elems, 8);
    EXPECT_EQ(splits, 0);
    EXPECT_EQ(curves[0], 0);
    EXPECT_EQ(curves[1], 0);
    EXPECT_EQ(LayupGetPlySizes(4, "P1", &elems, &splits, curves), -1);
    EXPECT_NE(Log().find("Ply not of specified type."), std::string::npos);
    EXPECT_EQ(LayupGetPlySizes(0, "P9", &elems, &splits, curves), -1);
    EXPECT_NE(Log().find("Could not find specified ply."), std::string::npos);
}
