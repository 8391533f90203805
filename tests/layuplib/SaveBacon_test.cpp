// BACON and index listings of a layup with a repeated run, a separated run
// and a reversed placement, checked line by line against hand-worked text.

#include "layuplib/SaveBacon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPlyStore.h"
#include "tests/support/ExportRead.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/RecordingGUI.h"

namespace {

using exportread::TempPath;
using exportread::Text;

// Runs `write` on a fresh file and returns the text.
template <class F>
std::string Written(const char* tag, F write) {
    const std::string path = TempPath(tag);
    FILE* fp = std::fopen(path.c_str(), "w");
    EXPECT_NE(fp, nullptr);
    EXPECT_EQ(write(fp), 1);
    std::fclose(fp);
    const std::string text = Text(path);
    std::remove(path.c_str());
    return text;
}

struct Model {
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};

    // 4 x 1 plate; ply "A" (type 3, material 7) on elements 1-3, "B" (type
    // 2, material 8) on 2-4; element 3 has direction flag -1. Layup: A, A,
    // A, B, A reversed with angle offset 30 degrees, thickness 0.5.
    Model() {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 1, 4.0, 1.0);
        EXPECT_EQ(meshgen::LoadModel(model, m), 0);
        CKpMat* a = lyptest::AddMat(model, 7, 3, "Carbon");
        CKpMat* b = lyptest::AddMat(model, 8, 2, "Tape");
        b->setMtrlthck(0.125);
        lyptest::AddPly(model, 1, "A", 3, a, 1, 3);
        lyptest::AddPly(model, 2, "B", 2, b, 2, 4);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(CreateLayupPly(&model, nullptr, nullptr, 3, "A", 1, 0.0, 0.0, 0), 0);
        EXPECT_EQ(CreateLayupPly(&model, nullptr, nullptr, 2, "B", 1, 0.0, 0.0, 0), 0);
        EXPECT_EQ(
            CreateLayupPly(&model, nullptr, nullptr, 3, "A", -1, std::acos(-1.0) / 6.0, 0.5, 0), 0);
    }
    CKpLypPlyStore* lypPlys() { return &model.pLyp()->LypPlys(); }
};

TEST(SaveBacon, GroupsRunsSignsAndOffsets) {
    Model m;
    const std::string text = Written("bacon.txt", [&](FILE* fp) {
        return SaveBacon(m.model.pMsg(), m.model.pMats(), m.model.pPlys(), m.lypPlys(), fp, 1000);
    });
    EXPECT_EQ(text,
              "! BACON data produced by Plystrand\n"
              ".PLI\n"
              "     I 1 ANGLE 0 T 0.25 MAT 7\n"
              "     I 2 ANGLE 0 T 0.25 MAT 7\n"
              "     I 3 ANGLE 0 T 0.25 MAT 7\n"
              "     I 4 ANGLE 0 T 0.125 MAT 8\n"
              "     I 5 ANGLE -30 T 0.5 MAT 7\n"
              ".LAM\n"
              "     LAM 1 PLI 1 2 3\n"
              "     LAM 2 PLI 4\n"
              "     LAM 3 PLI 5\n"
              ".ETA\n"
              "     I 1001 LAM 1 ANGLE 5.79 DRAPE 0\n"
              "     I 1002 LAM 1 ANGLE 5.84 DRAPE 0\n"
              "     I 1003 LAM -1 ANGLE 5.9 DRAPE 0\n"
              "     I 1002 LAM 2 ANGLE 11.6 DRAPE 0\n"
              "     I 1003 LAM -2 ANGLE 11.6 DRAPE 0\n"
              "     I 1004 LAM 2 ANGLE 11.7 DRAPE 0\n"
              "     I 1001 LAM 3 ANGLE 5.79 DRAPE 0\n"
              "     I 1002 LAM 3 ANGLE 5.84 DRAPE 0\n"
              "     I 1003 LAM -3 ANGLE 5.9 DRAPE 0\n");
}

// Ids past the int range are written as the true sums, not wrapped.
TEST(SaveBacon, OffsetsAtTheIntLimits) {
    Model m;
    const std::string high = Written("bacon_high.txt", [&](FILE* fp) {
        return SaveBacon(m.model.pMsg(), m.model.pMats(), m.model.pPlys(), m.lypPlys(), fp,
                         2147483647);
    });
    EXPECT_NE(high.find("     I 2147483648 LAM 1 ANGLE"), std::string::npos);
    EXPECT_NE(high.find("     I 2147483651 LAM 2 ANGLE"), std::string::npos);
    const std::string low = Written("bacon_low.txt", [&](FILE* fp) {
        return SaveBacon(m.model.pMsg(), m.model.pMats(), m.model.pPlys(), m.lypPlys(), fp,
                         -2147483647 - 1);
    });
    EXPECT_NE(low.find("     I -2147483647 LAM 1 ANGLE"), std::string::npos);
}

TEST(SaveBacon, MissingPlyOrMaterialIsReportedAndLeftOut) {
    // The material leaves the store but outlives the model: its plies still
    // point at it.
    std::unique_ptr<CKpMat> tape;
    Model m;
    tape.reset(m.model.pMats()->find(8));
    m.model.pMats()->erase(tape.get());
    m.gui.messages.clear();
    const std::string text = Written("bacon_missing.txt", [&](FILE* fp) {
        return SaveBacon(m.model.pMsg(), m.model.pMats(), m.model.pPlys(), m.lypPlys(), fp, 0);
    });
    EXPECT_EQ(text.find("     I 4 ANGLE"), std::string::npos);
    EXPECT_NE(text.find("     LAM 2 PLI 4\n"), std::string::npos);
    EXPECT_NE(text.find("     I 4 LAM 2 ANGLE"), std::string::npos);  // elements still listed
    ASSERT_EQ(m.gui.messages.size(), 1u);
    EXPECT_EQ(m.gui.messages[0].severity, 4);
    EXPECT_EQ(m.gui.messages[0].text, "Could not find specified material.");
}

TEST(SaveBacon, EmptyLayup) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    EXPECT_EQ(Written("bacon_empty.txt",
                      [&](FILE* fp) {
                          return SaveBacon(model.pMsg(), model.pMats(), model.pPlys(),
                                           &model.pLyp()->LypPlys(), fp, 0);
                      }),
              "! BACON data produced by Plystrand\n\n");
    EXPECT_EQ(
        Written("index_empty.txt",
                [&](FILE* fp) { return SaveIndex(model.pElems(), &model.pLyp()->LypPlys(), fp); }),
        "     0\n     0\n     0\n");
}

TEST(SaveIndex, EntriesByLayupPlyWithStackPositions) {
    Model m;
    const std::string text = Written(
        "index.txt", [&](FILE* fp) { return SaveIndex(m.model.pElems(), m.lypPlys(), fp); });
    const std::string pad(72, ' ');
    // A placement on the other side of an element (reversed ply, or an
    // element whose direction flag is -1) goes under the stack: element 3
    // stacks B, A_3, A_2, A, A_4; element 2 A_4, A, A_2, A_3, B.
    EXPECT_EQ(text,
              "     5\n     3\n     5\n"
              "     1 A" +
                  pad +
                  "\n     3\n     1      2  1\n     2      2  1\n     3      4 -1\n"
                  "     2 A_2" +
                  pad.substr(2) +
                  "\n     3\n     1      3  1\n     2      3  1\n     3      3 -1\n"
                  "     3 A_3" +
                  pad.substr(2) +
                  "\n     3\n     1      4  1\n     2      4  1\n     3      2 -1\n"
                  "     4 B" +
                  pad +
                  "\n     3\n     2      5  1\n     3      1 -1\n     4      1  1\n"
                  "     5 A_4" +
                  pad.substr(2) +
                  "\n     3\n     1      1  1\n     2      1  1\n     3      5 -1\n");
}

TEST(SaveIndex, LongNameWidensItsLine) {
    Model m;
    const std::string longName(80, 'L');
    ASSERT_EQ(m.model.pPlys()->find(2)->SetName(longName.c_str()), 0);
    const std::string text = Written(
        "index_long.txt", [&](FILE* fp) { return SaveIndex(m.model.pElems(), m.lypPlys(), fp); });
    EXPECT_NE(text.find("\n     4 " + longName + "\n     3\n"), std::string::npos);
}

}  // namespace
