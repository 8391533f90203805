// Export entry functions on the slot's model: the text pairs, refusals that
// create no file and call no writer, and the files they reach.

#include "host/LayupExport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"

namespace {

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "plystrand_export_" + std::to_string(getpid()) + "_" + name;
}

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool Exists(const std::string& path) {
    return std::ifstream(path).good();
}

class LayupExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, nullptr, nullptr), 0);
        ASSERT_EQ(LayupOpenMessage(msgPath.c_str()), 0);
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0);
        ASSERT_EQ(meshgen::LoadModel(*LayupSlotModel(), m), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        for (const std::string& p : {msgPath, outPath}) std::remove(p.c_str());
    }
    std::string Messages() {
        LayupCloseMessage();
        const std::string text = Text(msgPath);
        LayupOpenMessage(msgPath.c_str());
        return text;
    }
    std::string msgPath = Temp("log.msg");
    std::string outPath = Temp("out.txt");
};

TEST_F(LayupExportTest, WholeModelExportsReportTheirPair) {
    EXPECT_EQ(LayupExportBacon(outPath.c_str(), 0), 0);
    EXPECT_EQ(Text(outPath), "! BACON data produced by Plystrand\n\n");
    EXPECT_EQ(LayupSaveIndex(outPath.c_str()), 0);
    EXPECT_EQ(Text(outPath), "     0\n     0\n     0\n");
    EXPECT_EQ(LayupExportMorvek25(outPath.c_str()), 0);
    EXPECT_EQ(Text(outPath).compare(0, 2, "25"), 0);
    const std::string log = Messages();
    EXPECT_NE(log.find("BACON file exported"), std::string::npos);
    EXPECT_NE(log.find("Index saved"), std::string::npos);
    EXPECT_NE(log.find("MORVEK 2.5 file written"), std::string::npos);
}

TEST_F(LayupExportTest, RefusalsCreateNoFile) {
    const std::string bad = "/nonexistent-dir/x.txt";
    EXPECT_EQ(LayupExportBacon(bad.c_str(), 0), -1);
    EXPECT_EQ(LayupSaveIndex(bad.c_str()), -1);
    EXPECT_EQ(LayupExportMorvek25(bad.c_str()), -1);
    EXPECT_EQ(LayupExportPly3dVFP("Nope", outPath.c_str(), "S", 0), -1);
    EXPECT_EQ(LayupExportPly2dIGES("Nope", outPath.c_str(), 0), -1);
    EXPECT_FALSE(Exists(outPath));
    const std::string log = Messages();
    EXPECT_NE(log.find("Could not open file '/nonexistent-dir/x.txt' for writing."),
              std::string::npos);
    EXPECT_EQ(log.find("Could not save BACON file"), std::string::npos);  // no writer ran
    EXPECT_NE(log.find("Could not write MORVEK 2.5 file"), std::string::npos);
    EXPECT_NE(log.find("Ply name 'Nope' does not exist."), std::string::npos);
}

TEST_F(LayupExportTest, LaserLayupWidensEveryTarget) {
    const std::string base = Temp("laser");
    const int counts[2] = {3, 4};
    float xyz[21];
    for (int k = 0; k < 21; ++k) xyz[k] = 0.5f * static_cast<float>(k);
    ASSERT_EQ(LayupExportLaserLayup(1, base.c_str(), "PN", 0, 2, counts, xyz), 0);
    const std::string cal = Text(base + ".cal");
    EXPECT_NE(cal.find(" 3\n"), std::string::npos);
    EXPECT_NE(cal.find(" 4\n"), std::string::npos);
    EXPECT_NE(cal.find("         9        9.5         10\n"), std::string::npos);  // the 7th target
    std::remove((base + ".cal").c_str());
    std::remove((base + ".ply").c_str());

    // Refused before any file is written.
    const int negative[2] = {3, -1};
    EXPECT_EQ(LayupExportLaserLayup(1, base.c_str(), "PN", 0, -1, counts, xyz), -1);
    EXPECT_EQ(LayupExportLaserLayup(1, base.c_str(), "PN", 0, 2, nullptr, xyz), -1);
    EXPECT_EQ(LayupExportLaserLayup(1, base.c_str(), "PN", 0, 2, negative, xyz), -1);
    EXPECT_EQ(LayupExportLaserLayup(1, base.c_str(), "PN", 0, 2, counts, nullptr), -1);
    EXPECT_FALSE(Exists(base + ".cal"));
    EXPECT_NE(Messages().find("Could not export laser layup data"), std::string::npos);
}

TEST_F(LayupExportTest, LayupLaserPassesTheWritersRefusal) {
    const float origin[3] = {0.0f, 0.0f, 0.0f};
    const float axes[9] = {1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f};
    EXPECT_EQ(LayupExportLayupLaser(0, nullptr, 0, 1, origin, axes, 0, 0, 5.0f, 0.1f, 0, 0, "",
                                    1.0f, 0, 0, 0, 0, 0, "", outPath.c_str(), 0),
              -1);
    EXPECT_FALSE(Exists(outPath));
    EXPECT_NE(Messages().find("No layup plies selected."), std::string::npos);
}

TEST_F(LayupExportTest, EmptySlotGivesOne) {
    LayupDestruct();
    EXPECT_EQ(LayupExportBacon(outPath.c_str(), 0), 1);
    EXPECT_EQ(LayupExportPly3dDXF("P", outPath.c_str(), "L", 0), 1);
    EXPECT_EQ(LayupClearSolidModel(), 1);
    EXPECT_EQ(LayupEraseLayupLaser(), 1);
    EXPECT_EQ(LayupExportMouldSurfIGES(outPath.c_str()), 1);
    EXPECT_FALSE(Exists(outPath));
}

}  // namespace
