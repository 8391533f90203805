#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "fileformats/CCDBParser.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = M_PI / 180.0;

// Layers of a laminate as (thickness, material, angle in degrees).
struct Layer {
    double t;
    int mid;
    double deg;
};

void ExpectLayers(CKpLam* lam, std::initializer_list<Layer> expected) {
    ASSERT_NE(lam, nullptr);
    ASSERT_EQ(lam->NumLayers(), static_cast<int>(expected.size())) << lam->name();
    CKpLamLyr* lyr = lam->LamLyrs()->First();
    int k = 0;
    for (const Layer& e : expected) {
        EXPECT_TRUE(Near(lyr->t(), e.t, tol::length)) << lam->name() << " layer " << k;
        EXPECT_EQ(lyr->mid(), e.mid) << lam->name() << " layer " << k;
        EXPECT_TRUE(Near(lyr->theta(), e.deg * kDeg, tol::angle)) << lam->name() << " layer " << k;
        lyr = lam->LamLyrs()->Next(lyr);
        ++k;
    }
}

int ReadCdb(ExchangeModel& m, const std::string& path) {
    CCDBParser parser;
    return m.Read(parser, path);
}

int ReadCdbText(ExchangeModel& m, const std::string& name, const std::string& text) {
    const std::string path = xfiles::TempPath(name);
    xfiles::WriteAll(path, text);
    const int status = ReadCdb(m, path);
    std::remove(path.c_str());
    return status;
}

TEST(CCDBParserRead, SectionSampleGivesItsNodesElementsMaterialsLaminatesAndOrientations) {
    const std::string path = xfiles::SampleFile("cdb/linear_shell_with_MAPDL_sections.cdb");
    ExchangeModel m("cdbsec");
    ASSERT_EQ(ReadCdb(m, path), 0) << m.Log();
    EXPECT_EQ(m.Count(2), 0);
    EXPECT_EQ(m.Count(4), 0);

    CKpNodeStore* nodes = m.model.pNodes();
    ASSERT_EQ(nodes->entries(), 6);
    const double xyz[6][3] = {{0, 0, 0}, {1, 0, 0},   {1, 1, 0},
                              {0, 1, 0}, {2, 0.5, 0}, {0.5, -0.5, 0}};
    for (int i = 0; i < 6; ++i) {
        CKpNode* n = nodes->find(i + 1);
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->incomplete(), 0);
        double p[3];
        n->getCKpPoint()->Get(p);
        EXPECT_TRUE(NearArray(p, xyz[i], 3, tol::length)) << "node " << i + 1;
    }

    CKpAnsysEtStore* ets = m.model.pAnsys()->pEts();
    ASSERT_EQ(ets->entries(), 1);
    ASSERT_NE(ets->find(181), nullptr);
    EXPECT_EQ(ets->find(181)->Val(), 181);
    EXPECT_EQ(ets->find(181)->GetKeyopt(8), 2);

    struct ElemCase {
        int id, gmtp, pid, esys;
        std::vector<int> nodes;
    } elems[] = {{1, 1, 3, 12, {1, 2, 3, 4}}, {2, 11, 1, 11, {2, 5, 3}}, {3, 11, 2, 11, {1, 2, 6}}};
    ASSERT_EQ(m.model.pElems()->entries(), 3);
    for (const ElemCase& c : elems) {
        CKpElem* e = m.model.pElems()->find(c.id);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->getgmtp(), c.gmtp) << c.id;
        EXPECT_EQ(e->pid(), c.pid) << c.id;
        EXPECT_EQ(e->gettpmd(), 181);
        EXPECT_EQ(e->geteltp(), 1);
        for (size_t k = 0; k < c.nodes.size(); ++k) EXPECT_EQ(e->getunid(k), c.nodes[k]) << c.id;
        ASSERT_NE(e->pAnsys(), nullptr);
        EXPECT_EQ(e->pAnsys()->Get(3), c.esys);
        ASSERT_NE(e->pOrient(), nullptr);
        EXPECT_EQ(std::string(e->pOrient()->name()), "Coord." + std::to_string(c.esys));
    }
    const int ansys1[8] = {1, 181, 1, 12, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m.model.pElems()->find(1)->pAnsys()->Get(i), ansys1[i]);

    CKpMatStore* mats = m.model.pMats();
    ASSERT_EQ(mats->entries(), 4);
    CKpMat* m1 = mats->find(1);
    EXPECT_STREQ(m1->mtrlnm(), "MAT.1");
    EXPECT_STREQ(m1->extmtrlnm(), "MAT.1");
    EXPECT_EQ(m1->extmtrlid(), 1);
    const double got1[] = {
        m1->ex(),   m1->ey(),     m1->ez(),     m1->nuxy(),   m1->nuyz(), m1->nuzx(), m1->gxy(),
        m1->gyz(),  m1->gzx(),    m1->alpx(),   m1->alpy(),   m1->alpz(), m1->dens(), m1->tref(),
        m1->fxt(),  m1->fxcRaw(), m1->fytRaw(), m1->fycRaw(), m1->fzt(),  m1->fzc(),  m1->fs12(),
        m1->fs23(), m1->fs31(),   m1->f12(),    m1->f23(),    m1->f31()};
    const double want1[] = {123340,   7780,  7780,  0.27,      0.42, 0.27, 5000, 3080, 5000,
                            -4.5e-07, 3e-05, 3e-05, 1.518e-09, 20,   1632, 704,  34,   68,
                            34,       68,    80,    55,        80,   -1,   -1,   -1};
    EXPECT_TRUE(NearArray(got1, want1, sizeof want1 / sizeof *want1, tol::loose));
    CKpMat* m2 = mats->find(2);
    const double got2[] = {m2->ex(),     m2->ey(),     m2->ez(),     m2->nuxy(), m2->fxt(),
                           m2->fxcRaw(), m2->fytRaw(), m2->fycRaw(), m2->fzt(),  m2->fzc(),
                           m2->fs12(),   m2->fs23(),   m2->fs31()};
    const double want2[] = {61340, 61340, 6900, 0.04, 805, 509, 805, 509, 50, 170, 125, 65, 65};
    EXPECT_TRUE(NearArray(got2, want2, sizeof want2 / sizeof *want2, tol::loose));
    EXPECT_TRUE(Near(mats->find(3)->nuxy(), 0.27, tol::loose));
    EXPECT_TRUE(Near(mats->find(3)->alpx(), -4.5e-07, tol::loose));

    CKpLamStore* lams = m.model.pLams();
    ASSERT_EQ(lams->entries(), 3);
    ExpectLayers(lams->find(1), {{0.15, 2, 45}, {0.1, 1, 0}, {0.15, 2, 90}});
    EXPECT_STREQ(lams->find(1)->name(), "Sec.1");
    EXPECT_EQ(lams->find(1)->z0_blank(), 0);
    EXPECT_TRUE(Near(lams->find(1)->z0(), 0.0, tol::length));
    ExpectLayers(lams->find(2), {{0.2, 0, 25}});
    EXPECT_EQ(lams->find(2)->z0_blank(), 1);
    ExpectLayers(
        lams->find(3),
        {{0.2, 3, 30}, {0.2, 3, 60}, {0.25, 4, 0}, {0.25, 4, 0}, {0.2, 3, -60}, {0.2, 3, 30}});
    EXPECT_TRUE(Near(lams->find(3)->t(), 1.3, tol::length));
    EXPECT_EQ(lams->find(3)->z0_blank(), 0);

    // Frames 11 and 12 reach the model because elements use them.
    CKpCoordStore* coords = m.model.pCoords();
    ASSERT_EQ(coords->entries(), 2);
    for (int id : {11, 12}) {
        CKpCoord* c = coords->find(id);
        ASSERT_NE(c, nullptr);
        const double expected[9] = {0.5, 0.5, 0, 0.5, 0.5, 1, 1.5, 0.5, 0};
        for (int i = 0; i < 9; ++i) EXPECT_TRUE(Near(c->coords(i), expected[i], tol::length)) << id;
    }
    CKpOrientStore* orients = m.model.pOrients();
    ASSERT_EQ(orients->entries(), 2);
    EXPECT_STREQ(orients->find(1)->name(), "Coord.12");
    EXPECT_STREQ(orients->find(2)->name(), "Coord.11");
    EXPECT_EQ(orients->findByName("Default(ANSYS)"), nullptr);
}

TEST(CCDBParserRead, SolidBeamSampleKeepsNodesAndMaterialAndSkipsTwentyNodeBricks) {
    ExchangeModel m("cdbhex");
    ASSERT_EQ(ReadCdb(m, xfiles::SampleFile("cdb/HexBeam.cdb")), 0) << m.Log();
    EXPECT_EQ(m.model.pNodes()->entries(), 321);
    EXPECT_EQ(m.model.pElems()->entries(), 0);
    EXPECT_EQ(m.model.pAnsys()->pEts()->entries(), 0);
    ASSERT_EQ(m.model.pMats()->entries(), 1);
    CKpMat* mat = m.model.pMats()->find(1);
    EXPECT_TRUE(Near(mat->ex(), 7e10, tol::loose));
    EXPECT_TRUE(Near(mat->nuxy(), 0.35, tol::loose));
    EXPECT_TRUE(Near(mat->dens(), 2700, tol::loose));
}

// An 8-column row of ints.
std::string I8(std::initializer_list<int> values) {
    std::string row;
    char buf[16];
    for (int v : values) {
        std::snprintf(buf, sizeof buf, "%8d", v);
        row += buf;
    }
    return row + "\n";
}

// A SHELL181 quad element row (19i8 layout) of `id` on section `sec`.
std::string Quad181(int type, int sec, int id, int a, int b, int c, int d) {
    return I8({1, type, 1, sec, 0, 0, 0, 0, 4, 0, id, a, b, c, d});
}

const char* kFourNodes =
    "NBLOCK,6,SOLID\n(3i8,6e16.9)\n"
    "       1       0       0     0.000000000\n"
    "       2       0       0     1.000000000\n"
    "       3       0       0     1.000000000     1.000000000\n"
    "       4       0       0     0.000000000     1.000000000\n"
    "       5       0       0     2.000000000\n"
    "       6       0       0     2.000000000     1.000000000\n"
    "       7       0       0     3.000000000\n"
    "N,R5.3,LOC,     -1,\n";

TEST(CCDBParserRead, RealConstantSetsBecomeLaminatesPerNodeLocation) {
    // Set 7 is used by SHELL99 types of KEYOPT(11) 0 and 1; the model already
    // holds laminate 2500.
    ExchangeModel m("cdbrc");
    m.model.pLams()->insert(new CKpLam(2500));
    std::string text = std::string("ET,1,99\nET,2,99\nKEYOP,2,11,1\n") +
                       "RLBLOCK,       1,       7,      18,       7\n(2i8,6g16.9)\n(7g16.9)\n"
                       "       7      18     2.000000000     0.000000000     1.000000000"
                       "     2.000000000     0.000000000     0.000000000\n"
                       "     0.000000000     0.000000000     0.000000000     0.000000000"
                       "     0.000000000     0.000000000     3.000000000\n"
                       "    45.000000000     0.250000000     3.000000000   -45.000000000"
                       "     0.250000000\n" +
                       kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                       I8({1, 1, 7, 0, 0, 0, 0, 0, 8, 0, 10, 1, 2, 3, 4, 5, 6, 7, 1}) +
                       I8({1, 2, 7, 0, 0, 0, 0, 0, 8, 0, 11, 1, 2, 3, 4, 5, 6, 7, 1}) +
                       "      -1\nFINISH\n";
    ASSERT_EQ(ReadCdbText(m, "rc.cdb", text), 0) << m.Log();
    CKpLam* mid = m.model.pLams()->find(3001);
    CKpLam* bot = m.model.pLams()->find(3002);
    ASSERT_NE(mid, nullptr);
    ASSERT_NE(bot, nullptr);
    EXPECT_STREQ(mid->name(), "RC(0).7");
    EXPECT_STREQ(bot->name(), "RC(1).7");
    ExpectLayers(mid, {{0.25, 3, 45}, {0.25, 3, -45}});
    EXPECT_EQ(mid->z0_blank(), 1);
    EXPECT_EQ(bot->z0_blank(), 0);
    EXPECT_TRUE(Near(bot->z0(), 0.0, tol::length));
    // Elements take the laminate of their set and node location.
    EXPECT_EQ(m.model.pElems()->find(10)->pid(), 3001);
    EXPECT_EQ(m.model.pElems()->find(11)->pid(), 3002);
    EXPECT_EQ(m.model.pElems()->find(10)->pAnsys()->Get(2), 0);
    EXPECT_EQ(m.model.pElems()->find(10)->getgmtp(), 2);
    EXPECT_EQ(m.model.pElems()->find(10)->getunid(1), 5);  // perimeter order: corner, midside
}

TEST(CCDBParserRead, RealConstantBlocksReadEverySetAndSayWhenValuesAreMissing) {
    // Set 1: 9 values (6 on its first row, 3 on a continuation row); set 2: 1
    // value; set 3 announces 20 values and the block ends.
    ExchangeModel m("cdbrlsets");
    std::string text = std::string("ET,1,99\n") +
                       "RLBLOCK,       3,       3,      20,       7\n(2i8,6g16.9)\n(7g16.9)\n"
                       "       1       9     1.000000000     0.000000000     1.000000000"
                       "     1.000000000     0.000000000     0.000000000\n"
                       "     0.000000000     0.000000000     0.000000000\n"
                       "       2       1     0.000000000\n"
                       "       3      20     1.000000000\n" +
                       kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                       I8({1, 1, 1, 0, 0, 0, 0, 0, 8, 0, 10, 1, 2, 3, 4, 5, 6, 7, 1}) +
                       I8({1, 1, 2, 0, 0, 0, 0, 0, 8, 0, 11, 1, 2, 3, 4, 5, 6, 7, 1}) +
                       "      -1\nFINISH\n";
    ASSERT_EQ(ReadCdbText(m, "rlsets.cdb", text), 0) << m.Log();
    EXPECT_TRUE(m.Has(4, "Not all real values read from RLBLOCK."));
    // Both complete sets made their laminate (no layers: fewer than 13 values).
    EXPECT_STREQ(m.model.pLams()->find(m.model.pElems()->find(10)->pid())->name(), "RC(0).1");
    EXPECT_STREQ(m.model.pLams()->find(m.model.pElems()->find(11)->pid())->name(), "RC(0).2");
}

TEST(CCDBParserRead, SectionOffsetsStrengthsAndDegenerateQuads) {
    ExchangeModel m("cdbsecoff");
    std::string text = std::string("ET,1,181\n") + kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                       Quad181(1, 5, 1, 1, 2, 3, 4) + Quad181(1, 6, 2, 5, 6, 7, 7) +
                       "      -1\n"
                       "MPDATA,R5.0, 1,EX  ,       1, 1,70000,\n"
                       "FC,1,S,XCMP,-600\nFC,1,S,XTEN,500\nFC,9,S,XTEN,1\n"
                       "SECTYPE,5,SHELL\nSECOFFSET,USER,0.5\nSECBLOCK,2\n1.5,1,0\n0.5,1,90\n"
                       "SECTYPE,6,SHELL\nSECBLOCK,1\n2.0,1,30\n"
                       "SECTYPE,7,SHELL\nSECOFFSET,TOP\nSECBLOCK,1\n2.0,1,30\n"
                       "FINISH\n";
    ASSERT_EQ(ReadCdbText(m, "secoff.cdb", text), 0) << m.Log();
    EXPECT_TRUE(Near(m.model.pLams()->find(5)->z0(), -1.5, tol::length));
    // A second section without its own SECOFFSET keeps the setting.
    EXPECT_TRUE(Near(m.model.pLams()->find(6)->z0(), -1.5, tol::length));
    EXPECT_TRUE(Near(m.model.pLams()->find(7)->z0(), -2.0, tol::length));
    EXPECT_TRUE(Near(m.model.pMats()->find(1)->fxcRaw(), 600, tol::loose));
    EXPECT_EQ(m.model.pMats()->find(9), nullptr);  // FC never makes a material
    CKpElem* tria = m.model.pElems()->find(2);
    ASSERT_NE(tria, nullptr);
    EXPECT_EQ(tria->getgmtp(), 11);
    EXPECT_EQ(tria->getunid(0), 5);
    EXPECT_EQ(tria->getunid(1), 6);
    EXPECT_EQ(tria->getunid(2), 7);
    // Without an element coordinate system: the ANSYS default orientation.
    ASSERT_NE(tria->pOrient(), nullptr);
    EXPECT_STREQ(tria->pOrient()->name(), "Default(ANSYS)");
}

TEST(CCDBParserRead, OtherElementTypesAreSkippedWithTheirContinuationRows) {
    ExchangeModel m("cdb281");
    std::string brick = I8({1, 2, 1, 0, 0, 0, 0, 0, 20, 0, 5, 1, 2, 3, 4, 5, 6, 7, 1}) +
                        I8({1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5, 6, 7, 1, 2, 3, 4, 5});
    std::string text = std::string("ET,1,181\nET,2,281\nKEYOP,2,8,1\n") + kFourNodes +
                       "EBLOCK,19,SOLID\n(19i8)\n" + brick + Quad181(1, 0, 1, 1, 2, 3, 4) +
                       "      -1\nFINISH\n";
    ASSERT_EQ(ReadCdbText(m, "et281.cdb", text), 0) << m.Log();
    EXPECT_EQ(m.model.pAnsys()->pEts()->entries(), 1);
    EXPECT_NE(m.Log().find("ET 2 referenced by KEYOP does not exist. This may reference an "
                           "unsupported element type."),
              std::string::npos);
    // Only the quad: the continuation row of the brick was not taken as one.
    ASSERT_EQ(m.model.pElems()->entries(), 1);
    EXPECT_NE(m.model.pElems()->find(1), nullptr);
}

TEST(CCDBParserRead, AFileEndingInsideItsElementBlockKeepsTheElementsAndSaysItWasCut) {
    // The terminator row is whole with or without its line end; a row cut
    // inside its field is not.
    for (const char* tail : {"      -1\n", "      -1", "", "      -"}) {
        ExchangeModel m("cdbtail");
        std::string text = std::string("ET,1,181\n") + kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                           Quad181(1, 0, 1, 1, 2, 3, 4) + tail;
        const bool ended = std::string(tail).find("-1") != std::string::npos;
        EXPECT_EQ(ReadCdbText(m, "tail.cdb", text), ended ? 0 : -1) << m.Log();
        EXPECT_EQ(m.model.pElems()->entries(), 1) << "tail '" << tail << "'";
        EXPECT_EQ(m.Has(4, "ends early at line 14 inside the EBLOCK block"), tail[0] == '\0')
            << m.Log();
        EXPECT_EQ(m.Has(4, "Line 15 ends inside a field at column 1"), !ended && tail[0] != '\0')
            << m.Log();
        EXPECT_EQ(m.Count(4), ended ? 0 : 1) << m.Log();
    }
}

// The messages of a read with the file's path made neutral.
std::vector<std::string> Messages(const ExchangeModel& m, const std::string& path) {
    std::vector<std::string> out;
    for (const auto& msg : m.gui.messages) {
        std::string text = msg.text;
        for (size_t at; (at = text.find(path)) != std::string::npos;)
            text.replace(at, path.size(), "<path>");
        out.push_back(std::to_string(msg.severity) + " " + text);
    }
    return out;
}

TEST(CCDBParserRead, ALastLineWithoutItsLineEndReadsAsTheFileWithIt) {
    // HexBeam.cdb ends with the line FINISH; without its line end the file
    // gives the same model, status and messages.
    const std::string whole = xfiles::ReadAll(xfiles::SampleFile("cdb/HexBeam.cdb"));
    ASSERT_EQ(whole.substr(whole.size() - 8), "\nFINISH\n");
    struct Read {
        int status;
        std::vector<std::string> messages;
        std::string saved;
        int nodes;
    };
    auto read = [](const std::string& name, const std::string& text) {
        ExchangeModel m(name);
        const std::string path = xfiles::TempPath(name + ".cdb");
        xfiles::WriteAll(path, text);
        Read r;
        r.status = ReadCdb(m, path);
        r.messages = Messages(m, path);
        const std::string saved = xfiles::TempPath(name + ".lyp");
        EXPECT_EQ(m.model.SaveLayup(saved.c_str(), 0, 0), 0);
        // The layup file names itself.
        r.saved = xfiles::ReadAll(saved);
        for (size_t at; (at = r.saved.find(saved)) != std::string::npos;)
            r.saved.replace(at, saved.size(), "<path>");
        r.nodes = m.model.pNodes()->entries();
        return r;
    };
    const Read original = read("hexwhole", whole);
    ASSERT_EQ(original.status, 0);
    const Read open = read("hexopen", whole.substr(0, whole.size() - 1));
    EXPECT_EQ(open.status, 0);
    EXPECT_EQ(open.messages, original.messages);
    EXPECT_EQ(original.nodes, 321);
    EXPECT_TRUE(open.saved == original.saved);

    // Line 465 (MPDATA EX of material 1) as the last line: cut inside its
    // number or short of its value it is refused; whole, with or without
    // the comma after the value, it reads Ex.
    const size_t at = whole.find("MPDATA,R5.0, 1,EX  ,");
    ASSERT_NE(at, std::string::npos);
    const std::string head = whole.substr(0, at);
    const std::string line = "MPDATA,R5.0, 1,EX  ,       1, 1, 7.000000000E+10,";
    ASSERT_EQ(whole.compare(at, line.size(), line), 0);
    const struct {
        size_t keep;  // characters of the line kept
        bool cut;
    } cases[] = {{line.size(), false},       {line.size() - 1, false},     {line.size() - 3, true},
                 {line.size() - 4, true},    {line.find("7.0") - 1, true}, {line.find("7.0"), true},
                 {line.find("1, 7.0"), true}};
    for (const auto& c : cases) {
        const std::string last = line.substr(0, c.keep);
        SCOPED_TRACE(last);
        ExchangeModel m("cdbcutline");
        EXPECT_EQ(ReadCdbText(m, "cutline.cdb", head + last), c.cut ? -1 : 0) << m.Log();
        EXPECT_EQ(m.Has(4, "ends early inside line 465; the commands before it were read."), c.cut)
            << m.Log();
        EXPECT_EQ(m.Count(4), c.cut ? 1 : 0) << m.Log();
        EXPECT_EQ(m.model.pNodes()->entries(), 321);
        if (c.cut) continue;
        CKpMat* mat = m.model.pMats()->find(1);
        ASSERT_NE(mat, nullptr);
        EXPECT_TRUE(Near(mat->ex(), 7e10, tol::loose));
    }

    // Commands short of the arguments they take, as the last line.
    for (const char* last : {"ET,1", "ET,1,", "KEYOP,1,8", "SECOFFSET,USER", "FC,1,S,XTEN",
                             "LOCAL,R5.0,LOC,11,0,0.5,0.5", "SECTYPE,1", "MPTEMP,R5.0,1,1,-0.5E"}) {
        SCOPED_TRACE(last);
        ExchangeModel m("cdbshort");
        EXPECT_EQ(ReadCdbText(m, "short.cdb", std::string("/PREP7\n") + last), -1) << m.Log();
        EXPECT_TRUE(m.Has(4, "ends early inside line 2")) << m.Log();
    }
    // Whole ones, and commands the reader passes over, read as they stand.
    for (const char* last :
         {"ET,1,181", "KEYOP,1,8,2", "SECOFFSET,MID", "SECOFFSET,USER,0.5", "FC,1,S,XTEN,100",
          "LOCAL,R5.0,PRM,12,0", "/GO", "N,R5.3,LOC,     -1,", "MPTEMP,R5.0,1,1,1e5"}) {
        SCOPED_TRACE(last);
        ExchangeModel m("cdbwhole");
        EXPECT_EQ(ReadCdbText(m, "whole.cdb", std::string("/PREP7\n") + last), 0) << m.Log();
        EXPECT_EQ(m.Count(4), 0) << m.Log();
    }
}

TEST(CCDBParserRead, ExistingIdsStayAndEachBlockSaysHowManyWerePassedOver) {
    ExchangeModel m("cdbdup");
    CKpNode* first = new CKpNode(1);
    first->setCKpPoint(9, 9, 9);
    first->setIncompleteFlag(0);
    m.model.pNodes()->insert(first);
    std::string text = std::string("ET,1,181\n") + kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                       Quad181(1, 0, 1, 1, 2, 3, 4) + Quad181(1, 0, 1, 4, 3, 2, 1) +
                       "      -1\nFINISH\n";
    ASSERT_EQ(ReadCdbText(m, "dup.cdb", text), 0) << m.Log();
    EXPECT_EQ(m.model.pNodes()->entries(), 7);
    EXPECT_EQ(m.model.pNodes()->find(1)->getCKpPointX(), 9.0);
    EXPECT_EQ(m.model.pElems()->find(1)->getunid(0), 1);
    EXPECT_TRUE(m.Has(2, "1 nodes whose ids exist already were not added"));
    EXPECT_TRUE(m.Has(2, "1 elements whose ids exist already were not added"));
}

TEST(CCDBParserRead, UnsafeNumbersAreRefusedAndTheReadFails) {
    struct Case {
        const char* what;
        std::string text;
        int nodes;
    } cases[] = {
        {"node id beyond int",
         std::string("NBLOCK,6,SOLID\n(3i8,6e16.9)\n") +
             "   1e+20       0       0     1.000000000\n" +
             "       2       0       0     1.000000000\nFINISH\n",
         1},
        {"coordinate not finite",
         std::string("NBLOCK,6,SOLID\n(3i8,6e16.9)\n") +
             "       1       0       0             inf\n" +
             "       2       0       0     1.000000000\nFINISH\n",
         1},
        {"element type id beyond int", "ET,1e12,181\nFINISH\n", 0},
        {"refused format", "NBLOCK,6,SOLID\n(3i0,6e16.9)\n       1       0       0\nFINISH\n", 0},
    };
    for (const Case& c : cases) {
        ExchangeModel m("cdbunsafe");
        EXPECT_EQ(ReadCdbText(m, "unsafe.cdb", c.text), -1) << c.what;
        EXPECT_GE(m.Count(4), 1) << c.what;
        EXPECT_EQ(m.model.pNodes()->entries(), c.nodes) << c.what;
    }
}

TEST(CCDBParserRead, OnlyCommandsWithoutModelDataGiveAnEmptyModel) {
    ExchangeModel m("cdbempty");
    EXPECT_EQ(ReadCdbText(m, "empty.cdb", "/PREP7\nFINISH\n"), 0);
    EXPECT_EQ(m.model.pNodes()->entries() + m.model.pElems()->entries(), 0);
    CCDBParser parser;
    EXPECT_EQ(m.Read(parser, "/nonexistent/none.cdb"), -1);
    EXPECT_TRUE(m.Has(4, "Unable to open file"));
}

}  // namespace

// An orientation of the highest id in the model read into (a layup file may
// give one) leaves no id for "Default(ANSYS)": the elements are read but
// stay without orientation, the read fails with one error, and nothing of a
// wrapped id is made.
TEST(CCDBParserRead, NoOrientationPastTheHighestIdOfTheModel) {
    ExchangeModel m("cdbtoporient");
    ASSERT_EQ(m.model.pOrients()->insert(new CKpOrient(2147483647)), 0);
    std::string text = std::string("ET,1,181\n") + kFourNodes + "EBLOCK,19,SOLID\n(19i8)\n" +
                       Quad181(1, 0, 1, 1, 2, 3, 4) + Quad181(1, 0, 2, 2, 5, 6, 3) +
                       "      -1\nFINISH\n";
    EXPECT_EQ(ReadCdbText(m, "toporient.cdb", text), -1);
    EXPECT_EQ(m.Count(4), 1) << m.Log();
    EXPECT_TRUE(m.Has(4, "Could not allocate memory.")) << m.Log();
    ASSERT_EQ(m.model.pElems()->entries(), 2);
    EXPECT_EQ(m.model.pElems()->find(1)->pOrient(), nullptr);
    EXPECT_EQ(m.model.pElems()->find(2)->pOrient(), nullptr);
    ASSERT_EQ(m.model.pOrients()->entries(), 1);
    EXPECT_EQ(m.model.pOrients()->minId(), 2147483647);
}
