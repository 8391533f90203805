#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fileformats/CCDBEblock.h"
#include "fileformats/CCDBMat.h"
#include "fileformats/CCDBNblock.h"
#include "fileformats/CCDBParser.h"
#include "fileformats/CCDBSec.h"
#include "fileformats/CDBNumber.h"
#include "fileformats/CRcLam.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/ExchangeModel.h"
#include "tests/support/MeshGen.h"
#include "tests/support/Tolerance.h"

namespace {

const double kDeg = M_PI / 180.0;

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

CKpLam* AddLam(CKpLayup& model, int id, const char* name, std::vector<std::vector<double>> layers) {
    CKpLam* lam = new CKpLam(id);
    lam->name(name);
    for (const auto& l : layers) {
        CKpLamLyr* lyr = new CKpLamLyr;
        lyr->setMid(static_cast<int>(l[0]));
        lyr->setTheta(l[1] * kDeg);
        lyr->setT(l[2]);
        lam->LamLyrs()->InsertLast(lyr);
    }
    model.pLams()->insert(lam);
    return lam;
}

std::string WriteCdb(ExchangeModel& m, int what, int* status = nullptr) {
    const std::string path = xfiles::TempPath("w.cdb");
    std::remove(path.c_str());
    CCDBParser parser;
    const int s = m.Write(parser, path, what);
    if (status) *status = s;
    std::string text = xfiles::ReadAll(path);
    std::remove(path.c_str());
    return text;
}

TEST(CDBNumber, FixedColumnsKeepTheirWidthAndEveryValueReadsBack) {
    const double values[] = {0.0,        1.0,    -99999.999, 999999.0,    -1.234567e6,
                             1.234567e6, 1e6,    -1e5,       2.5e-7,      -1.234567e-7,
                             1e-300,     -1e300, 0.01,       0.009876543, 123.456789012};
    for (double v : values) {
        char buf[40];
        EXPECT_EQ(CdbFormatF16(buf, v), 16) << v;
        EXPECT_TRUE(Near(std::atof(buf), v, Tol{0.0, 1e-7})) << v << " as '" << buf << "'";
    }
    char buf[40];
    CdbFormatF16(buf, 1.0);
    EXPECT_STREQ(buf, "     1.000000000");
    CdbFormatF16(buf, -1.5);
    EXPECT_STREQ(buf, "    -1.500000000");
    for (double v : {0.25, 2.5e-7, -1.234567e6, 45.0, 1e-12}) {
        CdbFormatSec(buf, v);
        EXPECT_TRUE(Near(std::atof(buf), v, Tol{0.0, 1e-6})) << v << " as '" << buf << "'";
        CdbFormatOffset(buf, v);
        EXPECT_TRUE(Near(std::atof(buf), v, Tol{0.0, 1e-6})) << v << " as '" << buf << "'";
    }
    CdbFormatSec(buf, 0.25);
    EXPECT_STREQ(buf, "     0.250000");
    CdbFormatOffset(buf, -1.0);
    EXPECT_STREQ(buf, "-1.00000");
    int i = 0;
    EXPECT_FALSE(CdbToInt(3e9, i));
    EXPECT_FALSE(CdbToInt(NAN, i));
    EXPECT_TRUE(CdbToInt(-7.9, i));
    EXPECT_EQ(i, -7);
}

TEST(CDBLineFormatters, NodeAndElementLines) {
    CKpNode node(1);
    CCDBNblock nb;
    std::string lines;
    CKpStr line;
    for (auto xyz : {std::vector<double>{1, 0, 0}, {0, 0, 5}, {0, 2, 0}}) {
        node.setCKpPoint(xyz[0], xyz[1], xyz[2]);
        nb.Set(&node);
        nb.Get(line);
        lines += static_cast<const char*>(line);
    }
    EXPECT_EQ(lines,
              "       1       0       0     1.000000000\n"
              "       1       0       0     0.000000000     0.000000000     5.000000000\n"
              "       1       0       0     0.000000000     2.000000000\n");

    CKpMat mat(1);
    CKpElem tria(1, 11);
    for (int k = 0; k < 3; ++k) tria.setunid(k, 11 + k);
    tria.pid(5);
    tria.CreateAnsys()->Set(1, 1);
    long long f[19];
    ASSERT_EQ(CCDBEblock::Fields(&tria, &mat, f), 15);
    EXPECT_EQ(std::vector<long long>(f, f + 15),
              (std::vector<long long>{1, 1, 0, 5, 0, 0, 0, 0, 4, 0, 1, 11, 12, 13, 13}));
    CKpElem quad8(2, 2), tria6(3, 12);
    for (int k = 0; k < 8; ++k) quad8.setunid(k, k + 1);
    for (int k = 0; k < 6; ++k) tria6.setunid(k, k + 1);
    quad8.pid(5);  // not a section of a SHELL99 element
    ASSERT_EQ(CCDBEblock::Fields(&quad8, nullptr, f), 19);
    EXPECT_EQ(f[3], 0);
    EXPECT_EQ(f[8], 8);
    EXPECT_EQ(std::vector<long long>(f + 11, f + 19),
              (std::vector<long long>{1, 3, 5, 7, 2, 4, 6, 8}));
    ASSERT_EQ(CCDBEblock::Fields(&tria6, nullptr, f), 19);
    EXPECT_EQ(std::vector<long long>(f + 11, f + 19),
              (std::vector<long long>{1, 3, 5, 5, 2, 4, 5, 6}));
    CCDBEblock::SetGet(&tria, &mat, line);
    EXPECT_STREQ(line,
                 "       1       1       0       5       0       0       0       0       4       0"
                 "       1      11      12      13      13\n");
}

TEST(CDBLineFormatters, MaterialLinesWriteNegativeValues) {
    CKpMat iso(1);
    iso.setDir(1);
    iso.setEx(70000);
    iso.setNuxy(0.3);
    iso.setDens(2.7e-9);
    CKpStr lines;
    CCDBMat::SetGet(&iso, lines);
    EXPECT_STREQ(lines,
                 "MPDATA,R5.0, 1,EX  ,       1, 1,70000,\n"
                 "MPDATA,R5.0, 1,NUXY,       1, 1,0.3,\n");

    CKpMat ortho(2);
    ortho.setDir(2);
    ortho.setEx(123340);
    ortho.setGxy(5000);
    ortho.setAlpx(-4.5e-7);
    ortho.setNuyz(-0.1);
    CCDBMat::SetGet(&ortho, lines);
    EXPECT_STREQ(lines,
                 "MPDATA,R5.0, 1,EX  ,       2, 1,123340,\n"
                 "MPDATA,R5.0, 1,GXY ,       2, 1,5000,\n"
                 "MPDATA,R5.0, 1,ALPX,       2, 1,-4.5E-07,\n"
                 "MPDATA,R5.0, 1,PRYZ,       2, 1,-0.1,\n");

    ortho.setFxt(1632);
    ortho.setFxc(704);
    ortho.setF12(-1);
    CCDBMat::SetGetFC(&ortho, lines);
    EXPECT_STREQ(lines,
                 "FC,       2,S,XTEN,1632,  0.0000    ,  0.0000    ,  0.0000    ,  0.0000    ,  "
                 "0.0000\n"
                 "FC,       2,S,XCMP,-704,  0.0000    ,  0.0000    ,  0.0000    ,  0.0000    ,  "
                 "0.0000\n"
                 "FC,       2,S,XYCP,-1, -1.0000    , -1.0000    , -1.0000    , -1.0000    , "
                 "-1.0000\n");
}

TEST(CDBLineFormatters, SectionLines) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    CKpLam* user = AddLam(model, 4, "user", {{3, 45, 0.25}, {3, -45, 3.75}});
    user->z0(-1.0);  // nodes neither at a surface nor mid: t 4, offset -(-1) - 2
    CCDBSec sec;
    sec.Set(user);
    CKpStr lines;
    sec.Get(lines);
    EXPECT_STREQ(lines,
                 "SECTYPE,      4,SHELL,,        \n"
                 "SECOFFSET,USER,-1.00000\n"
                 "SECBLOCK,      2\n"
                 "     0.250000,         3,    45.000000,         3\n"
                 "     3.750000,         3,   -45.000000,         3\n");
    CKpLam* thin = AddLam(model, 5, "thin", {{1, 0, 2.5e-7}});
    thin->z0(0.0);
    sec.Set(thin);
    sec.Get(lines);
    EXPECT_TRUE(Contains(static_cast<const char*>(lines), "SECOFFSET,BOT\n"));
    const char* row = std::strstr(lines, "SECBLOCK,      1\n") + 17;
    EXPECT_TRUE(Near(std::atof(row), 2.5e-7, Tol{0, 1e-6})) << row;

    CRcLam rc(7);
    rc.SetKeyopt11(3);
    rc.SetKeyopt11(-1);
    EXPECT_EQ(rc.Used(0) + rc.Used(1) + rc.Used(2), 0);
}

// A plate of 2 x 1 quad4 on laminate 5 (nodes at the bottom) beside a plate
// of 2 x 1 quad8 on laminate "12" (nodes at the top).
void BuildMixedModel(ExchangeModel& m, bool withQuad8 = true) {
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 2.0, 1.0), *m.model.pNodes(),
                  *m.model.pElems());
    CVekObjectStoreIterator<CKpElem> it(*m.model.pElems());
    while (++it) it.key()->pid(5);
    AddLam(m.model, 5, "Bottom", {{1, 0, 0.5}})->z0(0.0);
    if (withQuad8) {
        meshgen::Numbering num;
        num.firstNode = 100;
        num.firstElem = 100;
        meshgen::Load(meshgen::Plate(meshgen::Kind::Quad8, 2, 1, 2.0, 1.0, num), *m.model.pNodes(),
                      *m.model.pElems());
        for (int id = 100; id <= 101; ++id) m.model.pElems()->find(id)->pid(12);
        CKpLam* top = AddLam(m.model, 12, "12", {{3, 45, 0.25}, {3, -45, 0.25}});
        top->z0(-0.5);
    }
    CKpMat* mat = new CKpMat(3);
    mat->setDir(1);
    mat->setEx(70000);
    m.model.pMats()->insert(mat);
}

TEST(CCDBParserWrite, FullModelWithSectionsAndRealConstantSets) {
    ExchangeModel m("cdbw");
    BuildMixedModel(m);
    // The model's only SHELL99 type is type 1 without KEYOPT(11).
    m.model.pAnsys()->pEts()->insert(new CKpAnsysEt(1, 99));
    for (int id = 100; id <= 101; ++id) m.model.pElems()->find(id)->CreateAnsys()->Set(1, 1);
    int status = -1;
    const std::string text = WriteCdb(m, 7, &status);
    ASSERT_EQ(status, 0) << m.Log();
    EXPECT_EQ(text.compare(0, 7, "/PREP7\n"), 0);
    // SHELL181 made for the quads; the quad8 move to the variant of KEYOPT(11) 2.
    EXPECT_TRUE(Contains(text, "ET,       2,181\n"));
    EXPECT_TRUE(Contains(text, "ET,   12001, 99\nKEYOP,   12001,11,        2\n"));
    CKpAnsysEt* variant = m.model.pAnsys()->pEts()->find(12001);
    ASSERT_NE(variant, nullptr);
    EXPECT_EQ(variant->GetKeyopt(11), 2);
    EXPECT_EQ(m.model.pElems()->find(100)->pAnsys()->Get(1), 12001);
    EXPECT_EQ(m.model.pElems()->find(100)->pAnsys()->Get(2), 12);
    EXPECT_TRUE(Contains(text,
                         "RLBLOCK,       1,      12,      18,       7\n(2i8,6g16.9)\n(7g16.9)\n"
                         "      12      18     2.000000000     0.000000000     1.000000000"
                         "     2.000000000     0.000000000     0.000000000\n"
                         "     0.000000000     0.000000000     0.000000000     0.000000000"
                         "     0.000000000     0.000000000     3.000000000\n"
                         "    45.000000000     0.250000000     3.000000000   -45.000000000"
                         "     0.250000000\n"));
    EXPECT_TRUE(
        Contains(text, "SECTYPE,      5,SHELL,,        \nSECOFFSET,BOT\nSECBLOCK,      1\n"));
    EXPECT_TRUE(Contains(text, "EBLOCK,19,SOLID,       4\n(19i8)\n"));
    // Quad 1: default material 3, type 2, section 5.
    EXPECT_TRUE(Contains(text,
                         "       3       2       0       5       0       0       0       0"
                         "       4       0       1"));
    EXPECT_TRUE(Contains(text, "MPDATA,R5.0, 1,EX  ,       3, 1,70000,\n"));
    EXPECT_EQ(text.substr(text.size() - 13), "/GOPR\nFINISH\n");
}

TEST(CCDBParserWrite, DuplicateSetNumbersAndTrailingZeros) {
    ExchangeModel m("cdbdupset");
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad8, 2, 1, 2.0, 1.0), *m.model.pNodes(),
                  *m.model.pElems());
    m.model.pElems()->find(1)->pid(1);
    m.model.pElems()->find(2)->pid(2);
    AddLam(m.model, 1, "7", {{3, 45, 0.25}, {3, 0, 0.0}});
    AddLam(m.model, 2, "RC(1).7", {{3, 45, 0.25}});
    int status = -1;
    const std::string text = WriteCdb(m, 7, &status);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(m.Has(2, "Duplicate real constanst set: 7"));
    // Set 7 from laminate 1: its last layer's angle and thickness, both 0, go.
    EXPECT_TRUE(Contains(text, "RLBLOCK,       1,       7,      16,       7\n"));
}

TEST(CCDBParserWrite, ElementModificationOnlyAttachesExistingElements) {
    ExchangeModel m("cdbemod");
    BuildMixedModel(m);
    int status = -1;
    WriteCdb(m, 7, &status);  // gives every element its type and set
    ASSERT_EQ(status, 0);
    // A quad8 that never had ANSYS data gets no line and a warning.
    meshgen::Numbering num;
    num.firstNode = 200;
    num.firstElem = 200;
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad8, 1, 1, 1.0, 1.0, num), *m.model.pNodes(),
                  *m.model.pElems());
    m.model.pElems()->find(200)->pid(12);
    const std::string text = WriteCdb(m, 8 + 2, &status);
    EXPECT_EQ(status, 0) << m.Log();
    EXPECT_EQ(text.compare(0, 7, "/PREP7\n"), 0);
    EXPECT_FALSE(Contains(text, "/NOPR"));
    EXPECT_FALSE(Contains(text, "FINISH"));
    EXPECT_TRUE(Contains(text,
                         "/COM,EMODIF data, used where a model already exists.\n"
                         "EMODIF,1,SECNUM,5\nEMODIF,2,SECNUM,5\n"
                         "EMODIF,100,REAL,12\nEMODIF,101,REAL,12\n"));
    EXPECT_FALSE(Contains(text, "EMODIF,200"));
    EXPECT_TRUE(m.Has(2, "Element 200"));

    // With properties a new element type would be needed: refused.
    WriteCdb(m, 8 + 4, &status);
    EXPECT_EQ(status, -1);
    EXPECT_TRUE(m.Has(2, "1 new ANSYS element type/s has/have been created"));
}

TEST(CCDBParserWrite, RefusedModelsLeaveNoFileAndFailedWritesAreFailures) {
    ExchangeModel m("cdbwide");
    BuildMixedModel(m, false);
    CKpNode* far = new CKpNode(123456789);
    far->setIncompleteFlag(0);
    m.model.pNodes()->insert(far);
    CKpNode* unplaced = new CKpNode(99);
    m.model.pNodes()->insert(unplaced);
    const std::string path = xfiles::TempPath("wide.cdb");
    std::remove(path.c_str());
    CCDBParser parser;
    EXPECT_EQ(m.Write(parser, path, 7), -1);
    EXPECT_FALSE(xfiles::Exists(path));
    EXPECT_TRUE(m.Has(4, "Node id 123456789 does not fit an 8-column field"));

    m.model.pNodes()->eraseObject(far);
    int status = -1;
    const std::string text = WriteCdb(m, 1, &status);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(Contains(text, "      99       0       0"));  // an unplaced node is not written
    EXPECT_TRUE(Contains(text, "N,R5.3,LOC,     -1,\n"));

    CCDBParser full;
    EXPECT_EQ(m.Write(full, "/dev/full", 7), -1);
    EXPECT_TRUE(m.Has(4, "Could not write file '/dev/full'."));
    CCDBParser nowhere;
    EXPECT_EQ(m.Write(nowhere, "/nonexistent/dir/x.cdb", 7), -1);
    EXPECT_TRUE(m.Has(4, "Unable to open file"));
}

}  // namespace

// An element type of the highest id (a CDB file may give one) leaves no id
// for the types the elements need: the write is refused before any element
// takes ANSYS data or the file is opened; nothing of a wrapped id is made.
TEST(CCDBParserWrite, NoElementTypePastTheHighestId) {
    ExchangeModel m("cdbtopet");
    BuildMixedModel(m);
    ASSERT_EQ(m.model.pAnsys()->pEts()->insert(new CKpAnsysEt(2147483647, 99)), 0);
    const std::string path = xfiles::TempPath("topet.cdb");
    std::remove(path.c_str());
    CCDBParser parser;
    EXPECT_EQ(m.Write(parser, path, 7), -1);
    EXPECT_FALSE(xfiles::Exists(path));
    EXPECT_TRUE(m.Has(4, "Could not allocate memory.")) << m.Log();
    ASSERT_EQ(m.model.pAnsys()->pEts()->entries(), 1);
    EXPECT_EQ(m.model.pAnsys()->pEts()->minId(), 2147483647);
    CVekObjectStoreIterator<CKpElem> it(*m.model.pElems());
    while (++it) EXPECT_EQ(it.key()->pAnsys(), nullptr) << it.key()->id();
}
