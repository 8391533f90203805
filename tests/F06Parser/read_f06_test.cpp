#include "F06Parser/read_f06.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "F06Parser/CF06EchoBulk.h"
#include "F06Parser/CF06FileBuffer.h"
#include "F06Parser/CF06ForcesIn.h"
#include "fileformats/read_korbdf.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"
#include "op2reader/read_op2.h"
#include "tests/support/RecordingGUI.h"

namespace {

std::string DataFile(const std::string& dir, const std::string& name) {
    const char* env = std::getenv("PLYSTRAND_TEST_DATA");
    std::string root = env ? env : std::string(__FILE__);
    if (!env) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/" + dir + "/" + name;
}

std::string TempPath(const char* stem) {
    return testing::TempDir() + stem + std::to_string(getpid()) + ".f06";
}

CKpRes* Find(CKpLayup& model, const char* n0, const char* n1, const char* n2, const char* n3,
             const char* n4) {
    const char* names[5] = {n0, n1, n2, n3, n4};
    return model.pRess()->findByName(names);
}

// One page of printed output: carriage control "1", title, subtitle,
// label, a blank line, the page title and the given lines.
std::string Page(const std::string& subtitle, const std::string& label, const std::string& title,
                 const std::string& body) {
    return "1    TEST RUN                                   PAGE 1\n      " + subtitle + "\n0    " +
           label + "\n \n      " + title + "\n" + body;
}

const char* kFailure =
    "F A I L U R E   I N D I C E S   F O R   L A Y E R E D   C O M P O S I T E   E L E M E N T S   "
    "( Q U A D 4 )";
const char* kRatios =
    "S T R E N G T H   R A T I O S   F O R   L A Y E R E D   C O M P O S I T E   E L E M E N T S   "
    "( Q U A D 4 )";
const char* kForces4 =
    "F O R C E S   I N   Q U A D R I L A T E R A L   E L E M E N T S   ( Q U A D 4 )";
const char* kForcesR =
    "F O R C E S   I N   Q U A D R I L A T E R A L   E L E M E N T S   ( Q U A D R )";

const char* kFailureRows =
    "   ELEMENT  FAILURE    PLY   FP=\n     ID      THEORY     ID  (DIRECT\n"
    "        11   HILL        1        0.5000  -1\n"
    "                                               0.0100\n"
    "                         2        0.6000  -1\n"
    "                                               0.0200\n"
    "                         3        0.7000  -1\n"
    "                                                          0.7000 ***\n";

int ReadText(const std::string& text, CKpLayup& model, int flags = 7) {
    std::string path = TempPath("pages");
    std::ofstream(path, std::ios::binary) << text;
    int r = read_f06(path.c_str(), &model, 0, nullptr, flags);
    std::remove(path.c_str());
    return r;
}

}  // namespace

TEST(ReadF06, RealFilesGiveTheirResults) {
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_f06(DataFile("f06", "d200obus.f06").c_str(), &model, 0, nullptr, 7), 0);
        EXPECT_EQ(model.pRess()->entries(), 7);
        CKpRes* forces = Find(model, "STATIC LOAD", "SOLUTION 200  SUBCASE 1:D 1", "Shell Forces",
                              "Membrane Forces", "");
        ASSERT_NE(forces, nullptr);
        EXPECT_EQ(forces->GetNumElements(), 12);
        for (int eid : {3301, 3313, 3321, 6401, 6413, 9901, 9913, 7451, 7460, 7501, 7051, 7060})
            EXPECT_NE(forces->ResElems()->find(eid), nullptr) << eid;
        CKpRes* bond = Find(model, "STATIC LOAD", "SOLUTION 200  SUBCASE 1:D 1", "Failure Indices",
                            "Maximum Strain", "Interface 1-2");
        ASSERT_NE(bond, nullptr);
        EXPECT_FLOAT_EQ(bond->ResElems()->find(3321)->GetFloat(0), 300.0f);
        // The binary output of the same run gives the same values.
        CKpLayup binary(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile("op2", "d200obus.op2").c_str(), &binary, 0, 7), 0);
        for (int i = 0; i < binary.pRess()->entries(); ++i) {
            CKpRes* b = (*binary.pRess())[i];
            std::string label = std::string(b->name(1)) + ":D 1";
            CKpRes* p = Find(model, b->name(0), label.c_str(), b->name(2), b->name(3), b->name(4));
            ASSERT_NE(p, nullptr) << b->name(2) << b->name(4);
            EXPECT_EQ(p->GetNumElements(), b->GetNumElements());
        }
    }
    {
        CKpLayup printed(nullptr, nullptr), binary(nullptr, nullptr);
        ASSERT_EQ(
            read_f06(DataFile("f06", "flat_plate_composite.f06").c_str(), &printed, 0, nullptr, 7),
            0);
        ASSERT_EQ(read_op2(DataFile("op2", "flat_plate_composite.op2").c_str(), &binary, 0, 2), 0);
        EXPECT_EQ(printed.pRess()->entries(), 9);
        ASSERT_EQ(binary.pRess()->entries(), 7);
        CKpRes* forces =
            Find(printed, "COMBINED LOADING", "SUBCASE 1", "Shell Forces", "Bending Moments", "");
        ASSERT_NE(forces, nullptr);
        EXPECT_EQ(forces->GetNumElements(), 30);
        EXPECT_EQ(forces->orient(), 3);  // material system pages
        int compared = 0;
        for (int i = 0; i < 7; ++i) {
            CKpRes* b = (*binary.pRess())[i];
            CKpRes* p = Find(printed, b->name(0), b->name(1), b->name(2), b->name(3), b->name(4));
            ASSERT_NE(p, nullptr);
            ASSERT_EQ(p->GetNumElements(), 30);
            for (int k = 0; k < 30; ++k) {
                CKpResElem* be = (*b->ResElems())[k];
                CKpResElem* pe = p->ResElems()->find(be->id());
                ASSERT_NE(pe, nullptr);
                for (int v = 0; v < 6; ++v) {
                    const double want = be->GetFloat(v), got = pe->GetFloat(v);
                    EXPECT_LE(std::fabs(got - want), 5e-6 * std::fabs(want) + 1e-3)
                        << be->id() << " " << v;
                    ++compared;
                }
            }
        }
        EXPECT_EQ(compared, 7 * 30 * 6);
    }
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(
            read_f06(DataFile("f06", "mode_solid_shell_bar.f06").c_str(), &model, 0, nullptr, 7),
            0);
        EXPECT_EQ(model.pRess()->entries(), 6);
        EXPECT_NE(Find(model, "DEFAULT", "SUBCASE 1:Freq.=75.9575", "Shell Forces",
                       "Membrane Forces", ""),
                  nullptr);
    }
}

TEST(ReadF06, FailurePagesGiveLayersInterfacesAndRatios) {
    CKpLayup model(nullptr, nullptr);
    std::string text = "START\n ^^^ ANALYSIS   DESIGN CYCLE NUMBER=   12\n" +
                       Page("SUB", "", kFailure, kFailureRows) +
                       Page("SUB", "", kRatios, kFailureRows);
    ASSERT_EQ(ReadText(text, model), 0);
    // 3 layers and 2 interfaces under each quantity.
    EXPECT_EQ(model.pRess()->entries(), 10);
    const char* label = "Default Subcase:D 12";
    CKpRes* l3 = Find(model, "SUB", label, "Failure Indices", "Hill Stress", "Layer 3");
    CKpRes* i23 = Find(model, "SUB", label, "Failure Indices", "Hill Stress", "Interface 2-3");
    ASSERT_TRUE(l3 && i23);
    EXPECT_FLOAT_EQ(l3->ResElems()->find(11)->GetFloat(0), 0.7f);
    EXPECT_FLOAT_EQ(i23->ResElems()->find(11)->GetFloat(0), 0.02f);
    EXPECT_EQ(Find(model, "SUB", label, "Failure Indices", "Hill Stress", "Interface 3-4"),
              nullptr);
    EXPECT_NE(Find(model, "SUB", label, "Reserve Factors", "Hill Stress", "Interface 1-2"),
              nullptr);
    EXPECT_EQ(l3->orient(), 4);
    EXPECT_EQ(l3->type(), 1);
}

TEST(ReadF06, ForcePagesCentreOnlyAndCornerRows) {
    EXPECT_EQ(CF06ForcesIn::GetNrOfVectorsFromHeader(kForcesR), 5);
    EXPECT_EQ(CF06ForcesIn::GetNrOfVectorsFromHeader("( T R I A R )"), 4);
    EXPECT_EQ(CF06ForcesIn::GetNrOfVectorsFromHeader("( T R I A 3 )"), 1);
    CKpLayup model(nullptr, nullptr);
    const std::string head = " \n    ELEMENT   - MEMBRANE  FORCES -\n      ID    FX\n";
    const std::string centre = head +
                               "0      101   1.0  2.0  3.0  4.0  5.0  6.0  7.0  8.0\n"
                               "0      102   1.5  2.0  3.0  4.0  5.0  6.0  7.0  8.0\n";
    const std::string corner = head +
                               "0      201  CEN/4  1.0  2.0  3.0  4.0  5.0  6.0  7.0  8.0\n"
                               "          21  9.0  9.0  9.0  9.0  9.0  9.0  9.0  9.0\n"
                               "          22  9.0  9.0  9.0  9.0  9.0  9.0  9.0  9.0\n"
                               "          23  9.0  9.0  9.0  9.0  9.0  9.0  9.0  9.0\n"
                               "          24  9.0  9.0  9.0  9.0  9.0  9.0  9.0  9.0\n"
                               "0      202  CEN/4  2.0  2.0  3.0  4.0  5.0  6.0  7.0  8.0\n"
                               "          21  9.0  9.0  9.0  9.0  9.0  9.0  9.0  9.0\n";
    ASSERT_EQ(
        ReadText("START\n" + Page("S", "L", kForces4, centre) + Page("S", "L", kForcesR, corner),
                 model),
        0);
    ASSERT_EQ(model.pRess()->entries(), 2);
    CKpRes* membrane = Find(model, "S", "L", "Shell Forces", "Membrane Forces", "");
    ASSERT_NE(membrane, nullptr);
    EXPECT_EQ(membrane->GetNumElements(), 4);  // corner rows are no elements
    const float want[6] = {1.5f, 2.0f, 0.0f, 3.0f, 8.0f, 7.0f};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(membrane->ResElems()->find(102)->GetFloat(k), want[k]);
    EXPECT_EQ(membrane->ResElems()->find(202)->GetFloat(0), 2.0f);
    EXPECT_EQ(membrane->ResElems()->find(21), nullptr);
    EXPECT_EQ(membrane->orient(), 1);
}

TEST(ReadF06, CutAndMissingFilesKeepWhatWasRead) {
    CKpLayup model(nullptr, nullptr);
    EXPECT_EQ(read_f06("/nonexistent/none.f06", &model, 0, nullptr, 7), 1);
    EXPECT_EQ(read_f06("/nonexistent/none.f06", nullptr, 0, nullptr, 7), 1);
    std::ifstream in(DataFile("f06", "flat_plate_composite.f06"), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    const size_t cut = text.find("S T R E S S E S") + 2000;  // inside the first stress page
    // The cut is an error naming the line, and what was read stays.
    ASSERT_EQ(ReadText(text.substr(0, cut), model), 1);
    EXPECT_EQ(model.pRess()->entries(), 9);  // forces, and the plies of the rows read
    CKpRes* l7 = Find(model, "COMBINED LOADING", "SUBCASE 1", "Stress Tensor", "Fibre Directions",
                      "Layer 7");
    ASSERT_NE(l7, nullptr);
    EXPECT_LT(l7->GetNumElements(), 30);
    // Read through the model's dispatch with only the stress switch.
    CKpLayup viaRead(nullptr, nullptr);
    ASSERT_EQ(viaRead.Read(static_cast<ILayup::EFormat>(3),
                           DataFile("f06", "flat_plate_composite.f06").c_str(), 0, 2, nullptr),
              0);
    EXPECT_EQ(viaRead.pRess()->entries(), 7);
    ASSERT_EQ(viaRead.Read(static_cast<ILayup::EFormat>(4),
                           DataFile("op2", "trncomp12.op2").c_str(), 0, 1, nullptr),
              0);
    EXPECT_EQ(viaRead.pRess()->entries(), 7 + 42);
}

TEST(ReadF06, EchoPagesAreCopiedToTheEchoFile) {
    const std::string echo = TempPath("echo");
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_f06(DataFile("f06", "d200obus.f06").c_str(), &model, 1, echo.c_str(), 7), 0);
        EXPECT_EQ(model.pRess()->entries(), 7);  // results are read as before
        std::ifstream in(echo, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_NE(text.str().find("\nELFORCE = ALL"), std::string::npos);
        EXPECT_EQ(text.str().rfind("TITLE    = STATIC LOAD", 0), 0u) << text.str().substr(0, 80);
        EXPECT_EQ(text.str().find("COMMAND"), std::string::npos);
        // The unsorted bulk echo, read from the ruler's column over its pages,
        // gives the model of the bulk data file of the same run.
        EXPECT_NE(text.str().find("\r\nENDDATA\r\n"), std::string::npos);
        EXPECT_NE(text.str().find("\nPARAM,  BAILOUT,-1 $ CONTINUE IF BADLY CONDITIONED\r\n"
                                  "PARAM,  LSTRN,  1\r\n"),
                  std::string::npos);
        CKpLayup deck(nullptr, nullptr);
        ASSERT_EQ(read_korbdf(const_cast<char*>(DataFile("bdf", "d200obus.bdf").c_str()), &deck),
                  0);
        EXPECT_EQ(model.pNodes()->entries(), 149);
        EXPECT_EQ(model.pNodes()->entries(), deck.pNodes()->entries());
        EXPECT_EQ(model.pElems()->entries(), deck.pElems()->entries());
        EXPECT_EQ(model.pMats()->entries(), deck.pMats()->entries());
        EXPECT_EQ(model.pLams()->entries(), deck.pLams()->entries());
    }
    {
        // The file/system echo is named in the label line.
        CKpLayup model(nullptr, nullptr);
        const std::string title =
            "K O R B E L D    F I L E    A N D    S Y S T E M    P A R A M E T E R    E C H O";
        const std::string page = "1    RUN                     PAGE     1\n      \n0   " + title +
                                 "\n \n      NASTRAN SYSTEM(1)=2\n" + "      BUFFSIZE=8193\n";
        const std::string path = TempPath("sys");
        std::ofstream(path, std::ios::binary) << "X\n" + page + page;
        ASSERT_EQ(read_f06(path.c_str(), &model, 1, echo.c_str(), 7), 0);
        std::ifstream in(echo, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str(),
                  "NASTRAN SYSTEM(1)=2\r\n      BUFFSIZE=8193\nNASTRAN SYSTEM(1)=2\r\n"
                  "      BUFFSIZE=8193\n");
        std::remove(path.c_str());
    }
    std::remove(echo.c_str());
    CKpLayup model(nullptr, nullptr);
    EXPECT_EQ(read_f06(DataFile("f06", "d200obus.f06").c_str(), &model, 1, "/nonexistent/e.txt", 7),
              1);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The unsorted bulk echo pages of a real run alone: the cards stand in
// column 30 under the ruler ".   1  ..   2  ..", the first card holds a "-",
// and the pages carry no entry counts.
TEST(ReadF06, UnsortedBulkEchoOfARealRun) {
    const std::string source = DataFile("f06", "d200obus_unsorted_echo.f06");
    const std::string echo = TempPath("unsorted");
    CKpLayup model(nullptr, nullptr);
    ASSERT_EQ(read_f06(source.c_str(), &model, 1, echo.c_str(), 7), 0);
    // Counted in the file: 149 GRID; CQUAD4 3, CQUAD8 2, CTRIA3 2, CTRIA6 1;
    // MAT1 2, MAT8 1; PCOMP 1; CORD2C, CORD2R, CORD2S one each.
    EXPECT_EQ(model.pNodes()->entries(), 149);
    EXPECT_EQ(model.pElems()->entries(), 8);
    EXPECT_EQ(model.pMats()->entries(), 3);
    EXPECT_EQ(model.pLams()->entries(), 1);
    EXPECT_EQ(model.pCoords()->entries(), 3);
    ASSERT_NE(model.pMats()->find(2), nullptr);
    EXPECT_EQ(model.pMats()->find(2)->GetEx(), 1.0e7);
    ASSERT_NE(model.pMats()->find(3), nullptr);
    EXPECT_EQ(model.pMats()->find(3)->GetEy(), 1.0e7);
    EXPECT_EQ(model.pMats()->find(3)->GetNuxy(), 0.25);
    ASSERT_NE(model.pNodes()->find(102), nullptr);
    EXPECT_EQ(model.pNodes()->find(102)->getCKpPointX(), 1.0);
    // The same model as the bulk data file of the run.
    CKpLayup deck(nullptr, nullptr);
    ASSERT_EQ(read_korbdf(const_cast<char*>(DataFile("bdf", "d200obus.bdf").c_str()), &deck), 0);
    EXPECT_EQ(model.pNodes()->entries(), deck.pNodes()->entries());
    EXPECT_EQ(model.pElems()->entries(), deck.pElems()->entries());
    EXPECT_EQ(model.pMats()->entries(), deck.pMats()->entries());
    EXPECT_EQ(model.pLams()->entries(), deck.pLams()->entries());

    // The echo file holds the card lines and nothing else: every line after
    // a page's six header lines, from column 30, without trailing blanks,
    // up to ENDDATA.
    std::istringstream in(ReadAll(source));
    std::string expected, line;
    int header = 0, cards = 0;
    while (std::getline(in, line)) {
        if (line.rfind("1 ", 0) == 0) header = 6;
        if (header > 0) {
            --header;
            continue;
        }
        std::string card = line.size() > 30 ? line.substr(30) : "";
        while (!card.empty() && card.back() == ' ') card.pop_back();
        if (card.empty()) continue;
        expected += card + "\r\n";
        ++cards;
        if (card == "ENDDATA") break;
    }
    EXPECT_EQ(cards, 655);  // the run's "INPUT BULK DATA ENTRY COUNT =     655"
    const std::string text = ReadAll(echo);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(text.rfind("PARAM,  BAILOUT,-1 $ CONTINUE IF BADLY CONDITIONED\r\n", 0), 0u)
        << text.substr(0, 80);
    std::remove(echo.c_str());
}

// Hand-made unsorted echo pages: the ruler's first "." gives the card
// column however the ruler is spaced; a "-" in the first card does not.
TEST(ReadF06, UnsortedBulkEchoRulerSpacing) {
    const char* kTitle = "I N P U T   B U L K   D A T A   E C H O";
    struct Case {
        const char* ruler;
        int column;
    };
    for (const Case& c : {Case{".   1  ..   2  ..   3  ..   4  ..   5  ..", 30},
                          Case{". 1 .. 2 .. 3 .. 4 .. 5 ..", 8}}) {
        SCOPED_TRACE(c.ruler);
        const std::string pad(c.column, ' ');
        const std::vector<std::string> cards = {
            "GRID    1               0.      -1.5    0.",
            "GRID    2               2.      -1.5    0.",
            "GRID    3               2.      1.      .5",
            "CTRIA3  7       0       1       2       3",
            "ENDDATA"};
        std::string body = " \n" + pad + c.ruler + "\n";
        for (const std::string& card : cards) body += pad + card + "\n";
        const std::string path = TempPath("ruler");
        const std::string echo = TempPath("ruler_echo");
        std::ofstream(path, std::ios::binary) << Page("RUN", "SOLUTION 1", kTitle, body);
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_f06(path.c_str(), &model, 1, echo.c_str(), 7), 0);
        EXPECT_EQ(model.pNodes()->entries(), 3);
        EXPECT_EQ(model.pElems()->entries(), 1);
        ASSERT_NE(model.pNodes()->find(2), nullptr);
        EXPECT_EQ(model.pNodes()->find(2)->getCKpPointX(), 2.0);
        EXPECT_EQ(model.pNodes()->find(2)->getCKpPointY(), -1.5);
        ASSERT_NE(model.pNodes()->find(3), nullptr);
        EXPECT_EQ(model.pNodes()->find(3)->getCKpPointZ(), 0.5);
        std::string expected;
        for (const std::string& card : cards) expected += card + "\r\n";
        EXPECT_EQ(ReadAll(echo), expected);
        std::remove(path.c_str());
        std::remove(echo.c_str());
    }
}

TEST(ReadF06, BulkEchoColumnAfterTheFirstDash) {
    const std::string path = TempPath("col");
    std::ofstream(path, std::ios::binary) << "    ENTRY  -   GRID    1\n       no dash here\n";
    CF06FileBuffer buffer;
    ASSERT_EQ(buffer.OpenRead(path.c_str(), 1), 0);
    EXPECT_EQ(CF06EchoBulk::FindColPos(buffer, 0, 24), 15);
    EXPECT_EQ(CF06EchoBulk::FindColPos(buffer, 25, 45), 0);
    buffer.Close();
    std::remove(path.c_str());
}

namespace {

// Printed output read through its entry: the echo switch, an echo file that
// cannot be opened, and a model that has no result store yet.
TEST(ReadF06, EchoSwitchEchoFailureAndResultStore) {
    const std::string f06 = DataFile("f06", "flat_plate_composite.f06");
    const std::string echo = TempPath("echo_off");
    std::remove(echo.c_str());
    {
        // Switch 0: no echo file, whatever name is given; results read.
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_f06(f06.c_str(), &model, 0, echo.c_str(), 7), 0);
        std::ifstream probe(echo);
        EXPECT_FALSE(probe.good());
        ASSERT_NE(model.pRess(), nullptr);
        EXPECT_GT(model.pRess()->entries(), 0);
    }
    {
        // An echo file that cannot be opened ends the call before the
        // results file is looked at: a missing one goes unmentioned.
        RecordingGUI gui;
        CKpLayup model(nullptr, &gui);
        EXPECT_EQ(read_f06("/nonexistent/none.f06", &model, 1, "/nonexistent/dir/echo.txt", 7), 1);
        for (const auto& m : gui.messages)
            EXPECT_EQ(m.text.find("none.f06"), std::string::npos) << m.text;
        EXPECT_EQ(model.pRess()->entries(), 0);
        // Without an echo file name the switch alone does not stop the read.
        CKpLayup other(nullptr, nullptr);
        EXPECT_EQ(read_f06(f06.c_str(), &other, 1, nullptr, 7), 0);
        EXPECT_GT(other.pRess()->entries(), 0);
    }
}

}  // namespace
