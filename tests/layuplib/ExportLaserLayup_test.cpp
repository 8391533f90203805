#include "layuplib/ExportLaserLayup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlotPointStore.h"
#include "tests/support/DrapedModel.h"
#include "tests/support/ExportRead.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Six reals on a line.
bool SixReals(const std::string& line, double v[6]) {
    std::istringstream in(line);
    for (int k = 0; k < 6; ++k)
        if (!(in >> v[k])) return false;
    std::string rest;
    return !(in >> rest);
}

// The blocks of a VK file: name, and per "P" group its lines.
struct Block {
    std::string name;
    std::vector<std::vector<std::string>> groups;
};
std::vector<Block> Blocks(const std::vector<std::string>& lines) {
    std::vector<Block> blocks;
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::string& l = lines[k];
        if (l.rfind("START ", 0) == 0) {
            blocks.push_back({l.substr(6), {}});
        } else if (l.rfind("P ", 0) == 0 && !blocks.empty()) {
            const int n = std::atoi(l.c_str() + 2);
            blocks.back().groups.emplace_back(lines.begin() + k + 1, lines.begin() + k + 1 + n);
            k += n;
        }
    }
    return blocks;
}

// A 4 x 2 plate of unit quads with one ply draped over it: its boundary
// ring has 12 segments.
class LaserTest : public ::testing::Test {
  protected:
    drapedmodel::Model m{meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 4.0, 2.0)};
    CKpLayup& model = *m.model;
    CKpPly* plyP = m.Ply("P", 2.0, 1.0, 0.25);
    std::string path = exportread::TempPath("laser");

    void TearDown() override {
        for (const char* suffix : {"", ".cal", ".ply", ".txt"})
            std::remove((path + suffix).c_str());
    }

    // The VK ply block of the current drape written to `path` and read back.
    std::vector<std::string> Block(int minimise, double angTol, double distTol, int separate,
                                   int markers, int fibres, int draw = 0) {
        FILE* fp = std::fopen(path.c_str(), "w");
        EXPECT_EQ(ExportLaserPlyVKData(model.pMsg(), model.pGra(), fp, "A", 1, model.pFacs(),
                                       model.pBdys(), model.pDrapeSim(), nullptr, 0, minimise,
                                       angTol, distTol, 0, separate, "pre_", 0.5, markers, markers,
                                       fibres, fibres, draw),
                  0);
        std::fclose(fp);
        return exportread::Lines(path);
    }
};

}  // namespace

TEST_F(LaserTest, SetUpFilesOfTwoProjectors) {
    const int counts[2] = {2, 1};
    const double targets[9] = {1, 2, 3, 4.5, 5, 6, -7, 8, 1e-3};
    ASSERT_EQ(ExportLaserLayup(model.pMsg(), 3, path.c_str(), "PN-7", 2, 2, counts, targets), 0);
    EXPECT_EQ(exportread::Text(path + ".cal"),
              " 2\n         1          2          3\n       4.5          5          6\n"
              " 1\n        -7          8      0.001\n");
    std::ifstream ply(path + ".ply");
    EXPECT_TRUE(ply.good());
    EXPECT_EQ(exportread::Text(path + ".ply"), "");
    EXPECT_EQ(exportread::Text(path + ".txt"),
              "$*PARTNO PN-7\nUNITS MM\n$*SENSOR 1        1         2         3\n"
              "$*SENSOR 2      4.5         5         6\n$*SENSOR 3       -7         8     0.001\n");
    ASSERT_EQ(ExportLaserLayup(model.pMsg(), 2, path.c_str(), "", 1, 0, counts, targets), 0);
    EXPECT_EQ(exportread::Text(path + ".txt"), "$*PARTNO \nUNITS IN\n");

    // A writer that failed fails the set-up.
    EXPECT_EQ(ExportLaserLayup(model.pMsg(), 1, "/nonexistent-dir/x", "", 2, 2, counts, targets),
              -1);
    EXPECT_EQ(m.gui.texts(4).back(), "Could not open file '/nonexistent-dir/x.cal' for writing.");
}

TEST_F(LaserTest, PlyBlockListsTheRingOrItsTurns) {
    const CKpBdy* ring = model.pBdys()->GetBdy(0);
    ASSERT_EQ(CKpBdyStore::GetNumSegs(ring), 12);

    std::vector<std::string> lines = Block(0, 0.0, 0.0, 0, 0, 0);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], "START A");
    EXPECT_EQ(lines[1], "P 13");
    EXPECT_EQ(lines[2], lines[14]);  // the ring closes on its first point
    EXPECT_EQ(lines[15], "END A");
    for (int k = 2; k < 15; ++k) {
        double v[6];
        ASSERT_TRUE(SixReals(lines[k], v)) << lines[k];
        EXPECT_TRUE(v[0] == 0.0 || v[0] == 4.0 || v[1] == 0.0 || v[1] == 2.0) << lines[k];
        EXPECT_EQ(v[2], 0.0);
        EXPECT_EQ(std::fabs(v[5]), 1.0);
    }

    // With both tolerances 0 only the turning points stay: the corners and
    // the two ends (one more when the ring starts between corners).
    std::vector<double> xy;
    for (int k = 2; k < 15; ++k) {
        double v[6];
        SixReals(lines[k], v);
        xy.push_back(v[0]);
        xy.push_back(v[1]);
    }
    const bool startsAtCorner = (xy[0] == 0.0 || xy[0] == 4.0) && (xy[1] == 0.0 || xy[1] == 2.0);
    lines = Block(1, 0.0, 0.0, 0, 0, 0);
    EXPECT_EQ(lines[1], startsAtCorner ? "P 5" : "P 6");
    ASSERT_EQ(lines.size(), startsAtCorner ? 8u : 9u);
    for (size_t k = 3; k + 2 < lines.size(); ++k) {
        double v[6];
        SixReals(lines[k], v);
        EXPECT_TRUE((v[0] == 0.0 || v[0] == 4.0) && (v[1] == 0.0 || v[1] == 2.0)) << lines[k];
    }
}

TEST_F(LaserTest, SeparateApplicationBlockHoldsMarkersAndFibres) {
    m.gui.draws.clear();  // the simulation draws as well
    const std::vector<std::string> lines = Block(1, 0.1, 0.01, 1, 1, 1, 1);
    const std::vector<::Block> blocks = Blocks(lines);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].name, "A");
    EXPECT_EQ(blocks[1].name, "pre_A");
    ASSERT_GE(blocks[1].groups.size(), 4u);  // markers, then at least one block per fibre
    ASSERT_EQ(blocks[1].groups[0].size(), 9u);
    ASSERT_EQ(blocks[1].groups[1].size(), 2u);
    double a[6], b[6];
    // The square closes on its first corner; the reference marker is 3
    // sizes long from the start point.
    ASSERT_TRUE(SixReals(blocks[1].groups[0][0], a));
    ASSERT_TRUE(SixReals(blocks[1].groups[0][8], b));
    EXPECT_EQ(blocks[1].groups[0][0], blocks[1].groups[0][8]);
    ASSERT_TRUE(SixReals(blocks[1].groups[1][0], a));
    ASSERT_TRUE(SixReals(blocks[1].groups[1][1], b));
    EXPECT_NEAR(std::hypot(b[0] - a[0], b[1] - a[1]), 1.5, 1e-6);
    // Principal fibres lie on the lines y = y(start) and x = x(start), within
    // the plate; every line of every group has six reals.
    for (size_t g = 2; g < blocks[1].groups.size(); ++g)
        for (const std::string& l : blocks[1].groups[g]) {
            double v[6];
            ASSERT_TRUE(SixReals(l, v)) << l;
            EXPECT_TRUE(std::fabs(v[0] - a[0]) < 1e-5 || std::fabs(v[1] - a[1]) < 1e-5) << l;
            EXPECT_TRUE(v[0] > -1e-6 && v[0] < 4 + 1e-6 && v[1] > -1e-6 && v[1] < 2 + 1e-6) << l;
        }
    EXPECT_EQ(lines.back(), "END pre_A");
    // Drawn into segment 505 with pen colour 2.
    ASSERT_FALSE(m.gui.draws.empty());
    for (const RecordingGUI::DrawCall& d : m.gui.draws)
        if (d.kind == "line") {
            EXPECT_EQ(d.segment, 505);
            EXPECT_EQ(d.colour, 2);
        }
}

TEST_F(LaserTest, PlyFilesAppendVkAndAgBlocks) {
    ASSERT_EQ(model.Export3dLaser("P", 3, path.c_str(), 1), 0);
    ASSERT_EQ(model.Export3dLaser(nullptr, 1, path.c_str(), 1), 0);
    const std::vector<std::string> vk = exportread::Lines(path);
    ASSERT_EQ(vk.size(), 2u * (13 + 4));
    EXPECT_EQ(vk[0], "START P");
    EXPECT_EQ(vk[16], "EOD");
    EXPECT_EQ(vk[17], "START P");
    const std::vector<std::string> ag = exportread::Lines(path + ".txt");
    ASSERT_EQ(ag.size(), 1u + 1 + 1 + 1 + 12);
    EXPECT_EQ(ag[0], "$*PLY P");
    EXPECT_EQ(ag[1], "PENUP");
    EXPECT_EQ(ag[2].substr(0, 5), "GOTO ");
    EXPECT_EQ(ag[3], "PENDWN");
    EXPECT_EQ(ag[2], ag.back());

    EXPECT_EQ(model.Export3dLaser("P", 1, "/nonexistent-dir/x", 1), -1);
    EXPECT_EQ(m.gui.texts(4).back(), "Could not export laser ply data");
    // A full disk shows only at the close, and fails the export too.
    EXPECT_EQ(model.Export3dLaser("P", 1, "/dev/full", 1), -1);
    const std::vector<std::string> errors = m.gui.texts(4);
    EXPECT_EQ(errors[errors.size() - 2], "Could not close file.");
}

TEST_F(LaserTest, LayupLaserFileRefusesBadArgumentsBeforeAnyFile) {
    const int ids[1] = {1};
    EXPECT_EQ(ExportLayupLaser(&model, 0, ids, nullptr, 0, 0, 0, 0, 0, 0, "", 1, 0, 0, 0, 0, 0, "",
                               path.c_str(), 0),
              -1);
    EXPECT_EQ(m.gui.texts(4).back(), "No layup plies selected.");
    EXPECT_EQ(ExportLayupLaser(&model, 1, ids, nullptr, 0, 0, 0, 0, 0, 1, "", 1, 0, 0, 0, 0, 0, "",
                               path.c_str(), 0),
              -1);
    EXPECT_EQ(m.gui.texts(4).back(), "Prefix for separate application ply '' is invalid.");
    EXPECT_EQ(ExportLayupLaser(&model, 1, ids, nullptr, 0, 0, 0, 0, 0, 0, "", 0.0, 0, 1, 0, 0, 0,
                               "", path.c_str(), 0),
              -1);
    EXPECT_EQ(m.gui.texts(4).back(),
              "Marker size must be positive if start or reference markers are required.");
    EXPECT_FALSE(std::ifstream(path).good());
}

TEST_F(LaserTest, LayupLaserFileHoldsAPlyBlockPerLayupPly) {
    m.Ply("Q", 1.0, 1.0, 0.25);
    const char* names[2] = {"P", "Q"};
    const int types[2] = {3, 3}, counts[2] = {2, 1}, sides[2] = {1, 1}, gids[2] = {0, 0};
    const double offsets[2] = {0, 0}, thick[2] = {0, 0};
    model.pLyp()->SetName("Stack");
    ASSERT_EQ(model.pLyp()->Create(2, nullptr, nullptr, types, names, counts, sides, offsets, thick,
                                   gids),
              0);
    const int ids[4] = {3, 1, 99, 2};  // order given; 99 does not exist
    ASSERT_EQ(ExportLayupLaser(&model, 4, ids, nullptr, 0, 1, -1.0, -2.0, 0, 0, "", 0.0, 0, 0, 0, 0,
                               1, "flat_", path.c_str(), 0),
              0);
    EXPECT_EQ(m.gui.texts(2).back(), "Distance tolerance negative, reset from -2 to 0.");
    const std::vector<std::string> lines = exportread::Lines(path);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "LAYER START Stack");
    EXPECT_EQ(lines[lines.size() - 2], "LAYER END Stack");
    EXPECT_EQ(lines.back(), "EOD");
    const std::vector<::Block> blocks = Blocks(lines);
    ASSERT_EQ(blocks.size(), 6u);
    EXPECT_EQ(blocks[0].name, "Q_1");
    EXPECT_EQ(blocks[1].name, "flat_Q_1");
    EXPECT_EQ(blocks[2].name, "P_1");
    EXPECT_EQ(blocks[4].name, "P_2");
    // A flat outline lies in z = 0 with normal +z, closed.
    for (const std::string& l : blocks[1].groups.at(0)) {
        double v[6];
        ASSERT_TRUE(SixReals(l, v)) << l;
        EXPECT_EQ(v[2], 0.0);
        EXPECT_EQ(v[5], 1.0);
    }
    EXPECT_EQ(blocks[1].groups[0].front(), blocks[1].groups[0].back());

    // A ply whose simulation fails leaves nothing under its name (the
    // workspace still holds Q's drape).
    plyP->setMat(nullptr);
    ASSERT_EQ(ExportLayupLaser(&model, 4, ids, nullptr, 0, 0, 0, 0, 0, 0, "", 0.0, 0, 0, 0, 0, 0,
                               "", path.c_str(), 0),
              0);
    EXPECT_EQ(m.gui.texts(2).back(), "No drape simulation exists for ply 'P'.");
    ASSERT_EQ(Blocks(exportread::Lines(path)).size(), 1u);
    EXPECT_EQ(Blocks(exportread::Lines(path))[0].name, "Q_1");

    // An empty path draws every ply into segment 505 and writes nothing.
    m.gui.draws.clear();
    ASSERT_EQ(ExportLayupLaser(&model, 1, ids, nullptr, 0, 0, 0, 0, 0, 0, "", 0.0, 0, 0, 0, 0, 0,
                               "", "", 1),
              0);
    int lines505 = 0;
    for (const RecordingGUI::DrawCall& d : m.gui.draws)
        lines505 += d.kind == "line" && d.segment == 505;
    EXPECT_EQ(lines505, 12);
}
