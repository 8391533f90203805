// Export entry functions on the slot's model: the text pairs, refusals that
// create no file and call no writer, and the files they reach.

#include "host/LayupExport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/IVekMaterialStore.h"
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

std::vector<std::string> Lines(const std::string& path) {
    std::istringstream in(Text(path));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The six reals of a laser vertex line "x y z nx ny nz", each printed with
// six decimals; empty when the line is not one.
std::vector<double> Vertex(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> v;
    for (std::string field; in >> field;) {
        const size_t dot = field.find('.');
        if (dot == std::string::npos || field.size() - dot != 7) return {};
        v.push_back(std::stod(field));
    }
    return v.size() == 6 ? v : std::vector<double>{};
}

// The ply's 3D laser data: the kind picks the files (1 the file itself, 2
// the file + ".txt"), the last flag whether the ply is written at all.
TEST_F(LayupExportTest, Ply3dLaserWritesTheOutlineOfTheNamedPly) {
    IVekMaterial* mat = LayupSlotModel()->GetMaterialStore()->New(0);
    ASSERT_NE(mat, nullptr);
    mat->SetName("CF");
    mat->SetType(EVekMaterialScissor);
    mat->SetThickness(0.25);
    const int ids[2] = {1, 2}, orders[2] = {0, 0};
    ASSERT_EQ(LayupCreatePly4(3, "Skin", "CF", 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, -1.0f, 1.0f, 0.0f,
                              0.0f, 0.0f, 0, nullptr, nullptr, 90.0f, 1.0f, 45.0f, 0.25f, 0, "Calc",
                              nullptr, nullptr, nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 2, ids,
                              orders, 0, nullptr, nullptr, nullptr),
              0);
    // A second ply over element 1 alone, simulated last.
    ASSERT_EQ(LayupCreatePly4(3, "Patch", "CF", 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, -1.0f, 1.0f, 0.0f,
                              0.0f, 0.0f, 0, nullptr, nullptr, 90.0f, 1.0f, 45.0f, 0.25f, 0, "Calc",
                              nullptr, nullptr, nullptr, 1, 0, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1, ids,
                              orders, 0, nullptr, nullptr, nullptr),
              0);
    Messages();
    const std::string ag = outPath + ".txt";

    ASSERT_EQ(LayupExportPly3dLaser("Skin", 3, outPath.c_str(), 1), 0);
    EXPECT_NE(Messages().find("Laser ply data exported"), std::string::npos);
    // The outline of the 2 x 1 plate: six corners, the first again at the
    // end, every normal along z.
    const std::vector<std::string> vk = Lines(outPath);
    ASSERT_EQ(vk.size(), 11u) << Text(outPath);
    EXPECT_EQ(vk[0], "START Skin");
    EXPECT_EQ(vk[1], "P 7");
    EXPECT_EQ(vk[9], "END Skin");
    EXPECT_EQ(vk[10], "EOD");
    EXPECT_EQ(vk[2], vk[8]);
    std::set<std::vector<double>> corners;
    for (int k = 2; k < 8; ++k) {
        const std::vector<double> v = Vertex(vk[k]);
        ASSERT_EQ(v.size(), 6u) << vk[k];
        corners.insert({v[0], v[1], v[2]});
        EXPECT_EQ(v[3], 0.0) << vk[k];
        EXPECT_EQ(v[4], 0.0) << vk[k];
        EXPECT_EQ(std::fabs(v[5]), 1.0) << vk[k];
    }
    EXPECT_EQ(corners, (std::set<std::vector<double>>{
                           {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}}));
    const std::vector<std::string> agLines = Lines(ag);
    ASSERT_EQ(agLines.size(), 10u) << Text(ag);
    EXPECT_EQ(agLines[0], "$*PLY Skin");
    EXPECT_EQ(agLines[1], "PENUP");
    EXPECT_EQ(agLines[3], "PENDWN");
    // The same ring, point for point.
    EXPECT_EQ(agLines[2], "GOTO " + vk[2]);
    for (int k = 4; k < 10; ++k) EXPECT_EQ(agLines[k], "GOTO " + vk[k - 1]) << k;

    // Kind 1 appends a second block to the file alone.
    ASSERT_EQ(LayupExportPly3dLaser("Skin", 1, outPath.c_str(), 1), 0);
    const std::vector<std::string> twice = Lines(outPath);
    ASSERT_EQ(twice.size(), 22u);
    EXPECT_EQ(std::vector<std::string>(twice.begin() + 11, twice.end()), vk);
    EXPECT_EQ(Lines(ag).size(), 10u);
    std::remove(outPath.c_str());
    std::remove(ag.c_str());

    // The other ply: the outline of element 1.
    ASSERT_EQ(LayupExportPly3dLaser("Patch", 1, outPath.c_str(), 1), 0);
    const std::vector<std::string> patch = Lines(outPath);
    ASSERT_EQ(patch.size(), 9u) << Text(outPath);
    EXPECT_EQ(patch[0], "START Patch");
    EXPECT_EQ(patch[1], "P 5");
    std::set<std::vector<double>> patchCorners;
    for (int k = 2; k < 7; ++k) {
        const std::vector<double> v = Vertex(patch[k]);
        ASSERT_EQ(v.size(), 6u) << patch[k];
        patchCorners.insert({v[0], v[1], v[2]});
    }
    EXPECT_EQ(patchCorners,
              (std::set<std::vector<double>>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
    std::remove(outPath.c_str());

    // Kind 2: the ".txt" file only; flag 0: the file is made, nothing in it.
    ASSERT_EQ(LayupExportPly3dLaser("Skin", 2, outPath.c_str(), 1), 0);
    EXPECT_FALSE(Exists(outPath));
    EXPECT_EQ(Lines(ag), agLines);
    std::remove(ag.c_str());
    ASSERT_EQ(LayupExportPly3dLaser("Skin", 1, outPath.c_str(), 0), 0);
    EXPECT_EQ(Text(outPath), "");
    EXPECT_FALSE(Exists(ag));
    std::remove(outPath.c_str());

    // An unknown ply or a folder that does not exist: -1 with its message.
    Messages();
    EXPECT_EQ(LayupExportPly3dLaser("Core", 3, outPath.c_str(), 1), -1);
    EXPECT_FALSE(Exists(outPath));
    EXPECT_FALSE(Exists(ag));
    EXPECT_NE(Messages().find("Ply name 'Core' does not exist."), std::string::npos);
    EXPECT_EQ(LayupExportPly3dLaser("Skin", 1, "/nonexistent-dir/x.vk", 1), -1);
    const std::string log = Messages();
    EXPECT_NE(log.find("Could not open file '/nonexistent-dir/x.vk' for writing."),
              std::string::npos);
    EXPECT_NE(log.find("Could not export laser ply data"), std::string::npos);
}

TEST_F(LayupExportTest, EmptySlotGivesOne) {
    LayupDestruct();
    EXPECT_EQ(LayupExportBacon(outPath.c_str(), 0), 1);
    EXPECT_EQ(LayupExportPly3dDXF("P", outPath.c_str(), "L", 0), 1);
    EXPECT_EQ(LayupExportPly3dLaser("P", 1, outPath.c_str(), 1), 1);
    EXPECT_EQ(LayupClearSolidModel(), 1);
    EXPECT_EQ(LayupEraseLayupLaser(), 1);
    EXPECT_EQ(LayupExportMouldSurfIGES(outPath.c_str()), 1);
    EXPECT_FALSE(Exists(outPath));
}

}  // namespace
