#include "fileformats/read_korbdf.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "fileformats/CBDFParser.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/user_break.h"
#include "tests/support/BdfDeck.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

std::string DataFile(const std::string& name) {
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    return std::string(dir ? dir : "tests/data") + "/bdf/" + name;
}

std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "korbdf_" + name + "_" + std::to_string(::getpid()) + ".bdf";
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A model with its recording GUI; reads and writes through the dispatch.
struct Model {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};

    int Read(const std::string& path) {
        return model->Read(static_cast<ILayup::EFormat>(2), path.c_str(), 1, 0, "");
    }
    int Write(const std::string& path, int usePcompg = 0) {
        return model->Write(static_cast<ILayup::EFormat>(2), path.c_str(), 7, 0, usePcompg, 0);
    }
    // Reads `text`, given its ENDDATA when it has none.
    int ReadText(const std::string& text) {
        std::string path = TempPath("text");
        WriteAll(path, text.find("ENDDATA") == std::string::npos ? text + "\nENDDATA\n" : text);
        int status = Read(path);
        std::remove(path.c_str());
        return status;
    }
    // The text written for the model.
    std::string Written(int usePcompg = 0) {
        std::string path = TempPath("out");
        EXPECT_EQ(Write(path, usePcompg), 0);
        std::string text = ReadAll(path);
        std::remove(path.c_str());
        return text;
    }
    std::vector<std::string> errors() const { return gui.texts(4); }

    int nodes() { return model->pNodes()->entries(); }
    int elems(int gmtp) {
        int n = 0;
        CKpElemStore* e = model->pElems();
        for (int i = 0; i < e->entries(); ++i) n += (*e)[i]->getgmtp() == gmtp;
        return n;
    }
    CKpElem* elem(int id) { return model->pElems()->find(id); }
    CKpNode* node(int id) { return model->pNodes()->find(id); }
    CKpLam* lam(int id) { return model->pLams()->find(id); }
    CKpMat* mat(int id) { return model->pMats()->find(id); }
    std::vector<CKpLamLyr*> layers(int lamId) {
        std::vector<CKpLamLyr*> out;
        CKpLam* l = lam(lamId);
        if (!l) return out;
        for (CKpLamLyr* y = l->LamLyrs()->First(); y; y = l->LamLyrs()->Next(y)) out.push_back(y);
        return out;
    }
    // Number of elements per orientation name.
    std::map<std::string, int> orientations() {
        std::map<std::string, int> count;
        CKpElemStore* e = model->pElems();
        for (int i = 0; i < e->entries(); ++i) {
            CKpOrient* o = (*e)[i]->pOrient();
            ++count[o ? o->name() : "(none)"];
        }
        return count;
    }
};

const double kDeg = M_PI / 180.0;

// Counts a correct reader finds in the shared decks (their README), read
// without the completion step (which adds facet centre nodes and drops
// elements with blank mid-side nodes).
TEST(ReadKorbdf, RealDecksComeInWhole) {
    struct Deck {
        const char* name;
        int nodes, quad4, quad8, tria3, tria6, coords, mats, lams;
    } decks[] = {{"flat_plate_composite.bdf", 66, 23, 7, 0, 0, 3, 1, 2},
                 {"d200obus.bdf", 149, 3, 2, 2, 1, 3, 3, 1},
                 {"trncomp12.bdf", 14, 0, 1, 0, 2, 0, 1, 4},
                 {"pcomp_cquad4.bdf", 36, 25, 0, 0, 0, 0, 1, 1},
                 {"cqrcc128a.bdf", 54, 0, 2, 0, 1, 3, 2, 0},
                 {"test_mass.dat", 18, 3, 0, 3, 0, 0, 3, 1},
                 {"cquad4_pcomp_mat8_MACN.solver.bdf", 4, 1, 0, 0, 0, 0, 1, 1},
                 {"v10112.bdf", 4, 1, 0, 0, 0, 0, 1, 1},
                 {"cc188b.bdf", 17, 1, 0, 1, 0, 1, 6, 0},
                 {"loads.bdf", 15, 8, 0, 0, 0, 0, 1, 0},
                 {"conedg01e.bdf", 139, 0, 0, 0, 0, 1, 1, 0}};
    for (const Deck& d : decks) {
        SCOPED_TRACE(d.name);
        Model m;
        std::string path = DataFile(d.name);
        ASSERT_EQ(read_korbdf(&path[0], m.model.get()), 0);
        EXPECT_TRUE(m.errors().empty());
        EXPECT_EQ(m.nodes(), d.nodes);
        EXPECT_EQ(m.elems(1), d.quad4);
        EXPECT_EQ(m.elems(2), d.quad8);
        EXPECT_EQ(m.elems(11), d.tria3);
        EXPECT_EQ(m.elems(12), d.tria6);
        EXPECT_EQ(m.model->pCoords()->entries(), d.coords);
        EXPECT_EQ(m.model->pMats()->entries(), d.mats);
        EXPECT_EQ(m.model->pLams()->entries(), d.lams);
    }
}

TEST(ReadKorbdf, FlatPlateCompositeValues) {
    Model m;
    ASSERT_EQ(m.Read(DataFile("flat_plate_composite.bdf")), 0);
    EXPECT_TRUE(m.errors().empty());
    // Frames 1, 2, 100: cylindrical, spherical, rectangular.
    CKpCoordStore* coords = m.model->pCoords();
    ASSERT_NE(coords->find(1), nullptr);
    EXPECT_EQ(coords->find(1)->type(), 2);
    EXPECT_EQ(coords->find(2)->type(), 3);
    EXPECT_EQ(coords->find(100)->type(), 1);
    std::map<std::string, int> orient = m.orientations();
    EXPECT_EQ(orient["Coord.100"], 22);
    EXPECT_EQ(orient["Theta"], 8);
    EXPECT_EQ(m.model->pOrients()->findByName("Coord.100")->refId(), 100);
    EXPECT_TRUE(Near(m.elem(17)->theta(), -126.209 * kDeg, tol::angle));
    // The quad8 ring order G1 G5 G2 G6 G3 G7 G4 G8 (element 1: 14 26 28 15,
    // 49 61, 50 48).
    const int ring[] = {14, 49, 26, 61, 28, 50, 15, 48};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(m.elem(1)->getunid(i), ring[i]) << i;
    EXPECT_EQ(m.elem(1)->pid(), 2);
    EXPECT_EQ(m.elem(1)->geteltp(), 1);
    // Laminates: 7 and 12 layers, angles in radians, short-exponent reals.
    std::vector<CKpLamLyr*> l2 = m.layers(2);
    ASSERT_EQ(l2.size(), 7u);
    const double a2[] = {0, 45, -45, 90, -45, 45, 0};
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(Near(l2[i]->theta(), a2[i] * kDeg, tol::angle)) << i;
        EXPECT_EQ(l2[i]->t(), 1.25e-4);
        EXPECT_EQ(l2[i]->mid(), 1);
        EXPECT_EQ(l2[i]->sout(), 2);
    }
    EXPECT_EQ(m.layers(4).size(), 12u);
    EXPECT_STREQ(m.lam(2)->name(), "pcomp.2");
    EXPECT_EQ(m.lam(2)->z0_blank(), 1);  // Z0 blank: the default offset
    CKpMat* mat = m.mat(1);
    ASSERT_NE(mat, nullptr);
    EXPECT_STREQ(mat->GetName(), "mat8.1");
    EXPECT_EQ(mat->GetTropy(), 4);
    EXPECT_EQ(mat->GetEx(), 1.425e11);
    EXPECT_EQ(mat->GetEy(), 8.7e9);
    EXPECT_EQ(mat->GetNuxy(), 0.28);
    EXPECT_EQ(mat->GetGxy(), 5.1e9);
    EXPECT_EQ(mat->GetDensity(), 1300.0);
}

TEST(ReadKorbdf, StrainAllowablesTabsAndReplicationAfterSkippedCard) {
    Model d200;
    ASSERT_EQ(d200.Read(DataFile("d200obus.bdf")), 0);
    CKpMat* mat8 = d200.mat(3);
    ASSERT_NE(mat8, nullptr);
    EXPECT_EQ(mat8->GetBasis(), EVekMaterialFailureBasisStrain);
    EXPECT_TRUE(Near(mat8->GetFxt(), 1e-4 * 1e7, tol::stiffness));
    EXPECT_TRUE(Near(mat8->GetFyt(), 1e-3 * 1e7, tol::stiffness));
    EXPECT_TRUE(Near(mat8->GetFs12(), 1e-4 * 4e6, tol::stiffness));
    EXPECT_EQ(d200.mat(1)->GetGxy(), 0.8);
    EXPECT_EQ(d200.mat(1)->GetFxc(), 3.0);  // MAT1 SC on the continuation
    std::vector<CKpLamLyr*> plies = d200.layers(3321);
    ASSERT_EQ(plies.size(), 2u);
    EXPECT_EQ(plies[0]->t(), 0.5);
    EXPECT_EQ(d200.lam(3321)->sb(), 1.0);
    // The written strain allowables are the strains given.
    std::string text = d200.Written();
    EXPECT_NE(text.find("MAT8*   3               10000000.       10000000.       .25             \n"
                        "*       4000000.        4000000.        4000000.        1.              \n"
                        "        1.-6    2.-6    0.      .0001   .0001   .001    .001    .0001   \n"
                        "        0.      0.      1.      \n"),
              std::string::npos)
        << text;

    // PCOMP written with tabs: 4 plies of material 1, 0.1 thick, at 0.
    Model tabs;
    ASSERT_EQ(tabs.Read(DataFile("pcomp_cquad4.bdf")), 0);
    std::vector<CKpLamLyr*> t = tabs.layers(1);
    ASSERT_EQ(t.size(), 4u);
    for (CKpLamLyr* y : t) {
        EXPECT_EQ(y->mid(), 1);
        EXPECT_EQ(y->t(), 0.1);
        EXPECT_EQ(y->theta(), 0.0);
    }
    EXPECT_EQ(tabs.mat(1)->GetTropy(), 1);
}

TEST(ReadKorbdf, CardsInTheModel) {
    Model m;
    ASSERT_EQ(m.ReadText("BEGIN BULK\n"
                         "GRID    1               0.      0.      0.\n"
                         "GRID    2               1.      0.      0.\n"
                         "GRID    3               1.      1.      0.\n"
                         "GRID    4               0.      1.      0.\n"
                         "GRID    4               0.      2.      0.\n"
                         "CQUAD4  1       5       1       2       3       4       30.\n"
                         "CQUAD4  2               1       2       3       4       7\n"
                         "CTRIA3  3       5       1       2       3\n"
                         "MAT1    9       2.+5    8.+4    .3\n"
                         "MAT1    9       3.+5\n"
                         "MAT8    11              1.+4    .3      5.+3\n"
                         "        0.      0.      0.      1000.   1000.   100.    100.    50.\n"
                         "        0.      -5.-6\n"
                         "PCOMP   5                                                       SYM\n"
                         "        11      .1      45.     YES             .2\n"
                         "                        -30.    NO                              \n"
                         "        12      .3\n"
                         "$ continuation rows end at the next card\n"
                         "PCOMPG  6       -.5\n"
                         "        101     11      .1      0.\n"
                         "        102             .2      90.     YES\n"
                         "ENDDATA\n"
                         "GRID    50              0.      0.      0.\n"),
              0);
    // Two GRIDs of one id: one node, the later values.
    EXPECT_EQ(m.nodes(), 4);
    EXPECT_EQ(m.node(4)->getCKpPointY(), 2.0);
    EXPECT_EQ(m.node(50), nullptr);  // after ENDDATA
    // Orientations: Theta with the angle, Coord.<n> with the frame, Default.
    EXPECT_STREQ(m.elem(1)->pOrient()->name(), "Theta");
    EXPECT_EQ(m.elem(1)->pOrient()->type(), 2);
    EXPECT_TRUE(Near(m.elem(1)->theta(), 30.0 * kDeg, tol::angle));
    EXPECT_STREQ(m.elem(2)->pOrient()->name(), "Coord.7");
    EXPECT_EQ(m.elem(2)->pOrient()->type(), 1);
    EXPECT_EQ(m.elem(2)->pOrient()->refId(), 7);
    EXPECT_EQ(m.elem(2)->pid(), 0);
    EXPECT_EQ(m.elem(2)->geteltp(), 0);
    EXPECT_STREQ(m.elem(3)->pOrient()->name(), "Default");
    EXPECT_EQ(m.elem(3)->pOrient()->type(), 0);
    // Two MAT1 of one MID: two materials, both named for the MID.
    int mat1 = 0;
    for (int i = 0; i < m.model->pMats()->Count(); ++i) {
        CKpMat* mat = m.model->pMats()->Get(i);
        if (std::string(mat->GetName()) == "mat1.9") {
            ++mat1;
            EXPECT_EQ(mat->GetExternalId(), 9);
        }
    }
    EXPECT_EQ(mat1, 2);
    // MAT8: E1 blank gives -1; F12 times sqrt(Xt Xc Yt Yc).
    CKpMat* mat8 = m.mat(11);
    EXPECT_EQ(mat8->GetEx(), -1.0);
    EXPECT_EQ(mat8->GetEy(), 1e4);
    EXPECT_TRUE(Near(mat8->GetF12(), -0.5, tol::stiffness));
    // PCOMP: blank MID or T repeats the previous ply, a ply with only THETA
    // exists, a fully blank ply ends its row; SYM mirrors.
    std::vector<CKpLamLyr*> p = m.layers(5);
    ASSERT_EQ(p.size(), 8u);
    const int mids[] = {11, 11, 11, 12, 12, 11, 11, 11};
    const double ts[] = {.1, .2, .2, .3, .3, .2, .2, .1};
    const double angles[] = {45, 0, -30, 0, 0, -30, 0, 45};
    const int souts[] = {2, 0, 1, 0, 0, 1, 0, 2};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(p[i]->mid(), mids[i]) << i;
        EXPECT_EQ(p[i]->t(), ts[i]) << i;
        EXPECT_TRUE(Near(p[i]->theta(), angles[i] * kDeg, tol::angle)) << i;
        EXPECT_EQ(p[i]->sout(), souts[i]) << i;
    }
    EXPECT_EQ(m.lam(5)->lamopt(), 2);
    EXPECT_EQ(m.lam(5)->z0_blank(), 1);
    // PCOMPG: global ply ids, offset.
    std::vector<CKpLamLyr*> g = m.layers(6);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0]->gplyid(), 101);
    EXPECT_EQ(g[1]->gplyid(), 102);
    EXPECT_EQ(g[1]->mid(), 11);
    EXPECT_EQ(m.lam(6)->z0(), -0.5);
    EXPECT_STREQ(m.lam(6)->name(), "pcompg.6");

    // Written back: F12 normalised again, the symmetric laminate as its
    // half with SYM, the grouped one as PCOMPG when allowed.
    std::string text = m.Written(1);
    EXPECT_NE(text.find("        0.      -5.-6   \n"), std::string::npos) << text;
    EXPECT_NE(text.find("PCOMP   5                                                       SYM     \n"
                        "        11      .1      45.     YES     11      .2      0.              \n"
                        "        11      .2      -30.    NO      12      .3      0.              \n"
                        "PCOMPG  6       -.5                     \n"
                        "        101     11      .1      0.              \n"
                        "        102     11      .2      90.     YES     \n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("PCOMPG"), text.rfind("PCOMPG"));
    EXPECT_EQ(m.Written(0).find("PCOMPG"), std::string::npos);
}

// A deck that repeats a material id: every card keeps its MID, so the
// layers naming a later MID still reach that card's material; written and
// read back, all three survive.
// A second card of one property id becomes a laminate of the next free id;
// past the highest id there is none, and the card makes no laminate.
TEST(ReadKorbdf, SecondCardOfTheHighestPropertyIdMakesNoLaminate) {
    Model m;
    m.ReadText(
        "BEGIN BULK\n"
        "MAT1    7       2.+5            .3\n"
        "PCOMP,2147483647\n"
        ",7,.1,0.\n"
        "PCOMP,2147483647\n"
        ",7,.2,90.\n"
        "ENDDATA\n");
    CKpLamStore* lams = m.model->pLams();
    ASSERT_EQ(lams->Count(), 1);
    EXPECT_EQ(lams->Get(0)->id(), 2147483647);
    EXPECT_EQ(m.layers(2147483647).size(), 1u);
}

TEST(ReadKorbdf, RepeatedMaterialIdKeepsEveryCardsId) {
    const std::string deck =
        "BEGIN BULK\n"
        "MAT1    7       2.+5            .3\n"
        "MAT1    7       3.+5            .25\n"
        "MAT8    8       1.5+5   1.+4    .3      5.+3\n"
        "PCOMP   20\n"
        "        7       .1      0.              8       .2      90.\n"
        "GRID    1               0.      0.      0.\n"
        "GRID    2               1.      0.      0.\n"
        "GRID    3               1.      1.      0.\n"
        "GRID    4               0.      1.      0.\n"
        "CQUAD4  1       20      1       2       3       4\n"
        "ENDDATA\n";
    // Ids in store order and the Ex of each material of one id.
    auto check = [](Model& m, const std::string& path, int line) {
        CKpMatStore* mats = m.model->pMats();
        ASSERT_EQ(mats->Count(), 3);
        std::multiset<double> ex7;
        std::vector<int> ids;
        for (int i = 0; i < mats->Count(); ++i) {
            ids.push_back(mats->Get(i)->id());
            if (mats->Get(i)->id() == 7) {
                ex7.insert(mats->Get(i)->GetEx());
                EXPECT_STREQ(mats->Get(i)->GetName(), "mat1.7");
                EXPECT_EQ(mats->Get(i)->GetExternalId(), 7);
            }
        }
        EXPECT_EQ(ids, (std::vector<int>{7, 7, 8}));
        EXPECT_EQ(ex7, (std::multiset<double>{2e5, 3e5}));
        ASSERT_NE(m.mat(8), nullptr);
        EXPECT_STREQ(m.mat(8)->GetName(), "mat8.8");
        EXPECT_EQ(m.mat(8)->GetEx(), 1.5e5);
        std::vector<CKpLamLyr*> lyrs = m.layers(20);
        ASSERT_EQ(lyrs.size(), 2u);
        EXPECT_EQ(lyrs[0]->mid(), 7);
        EXPECT_EQ(lyrs[1]->mid(), 8);
        CKpMat* second = dynamic_cast<CKpMat*>(lyrs[1]->GetMaterial());
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->GetEx(), 1.5e5);
        EXPECT_EQ(lyrs[1]->GetExternalMaterialId(), 8);
        // One warning, for the second MAT1.
        std::vector<std::string> warnings = m.gui.texts(2);
        ASSERT_EQ(warnings.size(), 1u) << (warnings.empty() ? "" : warnings[0]);
        EXPECT_EQ(warnings[0], "MAT1 7 on line " + std::to_string(line) + " of '" + path +
                                   "' repeats a material id; it is added as a further "
                                   "material with id 7.");
        EXPECT_TRUE(m.errors().empty());
    };
    std::string path = TempPath("repeated_mid");
    WriteAll(path, deck);
    Model first;
    ASSERT_EQ(first.Read(path), 0);
    {
        SCOPED_TRACE("read");
        check(first, path, 3);
    }
    std::string written = first.Written();
    // The second MAT1 in either layout (a G of many digits makes it large).
    const size_t again = written.find("\nMAT1", written.find("\nMAT1") + 1);
    ASSERT_NE(again, std::string::npos) << written;
    EXPECT_NE(written.find("\nMAT8    8"), std::string::npos) << written;
    const int againLine =
        2 + static_cast<int>(std::count(written.begin(), written.begin() + again, '\n'));
    WriteAll(path, written);
    Model second;
    ASSERT_EQ(second.Read(path), 0);
    {
        SCOPED_TRACE("written and read back");
        check(second, path, againLine);
    }
    // The layup file keeps all three; having no external ids, it gives the
    // repeated id the next free one on reading, and the MAT8 the one after.
    std::string lyp = TempPath("repeated_lyp");
    ASSERT_EQ(second.model->SaveLayup(lyp.c_str(), 0, 0), 0);
    Model third;
    ASSERT_EQ(third.model->OpenLayup(lyp.c_str(), 0), 0);
    ASSERT_EQ(third.model->pMats()->Count(), 3);
    std::vector<std::string> names;
    std::multiset<double> ex;
    for (int i = 0; i < 3; ++i) {
        CKpMat* mat = third.model->pMats()->Get(i);
        EXPECT_EQ(mat->id(), 7 + i);
        names.push_back(mat->GetName());
        ex.insert(mat->GetEx());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"mat1.7", "mat1.7", "mat8.8"}));
    EXPECT_EQ(ex, (std::multiset<double>{2e5, 3e5, 1.5e5}));
    EXPECT_EQ(third.mat(9)->GetEx(), 1.5e5);
    std::remove(lyp.c_str());
    std::remove(path.c_str());
}

TEST(ReadKorbdf, WriterOrderSymmetryAndLeftOutNodes) {
    Model m;
    ASSERT_EQ(m.ReadText("BEGIN BULK\n"
                         "CORD2S  3       0       0.      0.      0.      0.      0.      1.\n"
                         "        1.      0.      0.\n"
                         "CORD2C  2       0       0.      0.      0.      0.      0.      1.\n"
                         "        1.      0.      0.\n"
                         "CORD2R  1       0       0.      0.      0.      0.      0.      1.\n"
                         "        1.      0.      0.\n"
                         "CTRIA3  8       1       1       2       3\n"
                         "CQUAD4  9       1       1       2       3       4\n"
                         "GRID    1               0.      0.      0.\n"
                         "GRID    2               1.      0.      0.\n"
                         "GRID    3               1.      1.      0.\n"
                         "GRID    4               0.      1.      0.\n"
                         "PCOMPG  1\n"
                         "        7       1       .1      0.\n"
                         "        7       1       .1      90.\n"
                         "MAT1    1       1.+5\n"),
              0);
    // A node never placed by a GRID card is not written.
    CKpNode* loose = m.model->pNodes()->NewNode(99);
    m.model->pNodes()->insert(loose);
    // Three layers marked symmetric are not a mirror: all of them, no SYM.
    CKpLam* lam = m.lam(1);
    lam->lamopt(2);
    CKpLamLyr* extra = new CKpLamLyr();
    extra->setMid(1);
    extra->setT(0.3);
    lam->LamLyrs()->InsertLast(extra);
    std::string text = m.Written(1);
    size_t r = text.find("CORD2R"), c = text.find("CORD2C"), s = text.find("CORD2S");
    size_t q4 = text.find("CQUAD4"), t3 = text.find("CTRIA3"), grid = text.find("GRID");
    size_t mat = text.find("MAT1"), pcomp = text.find("PCOMP "), end = text.find("ENDDATA");
    EXPECT_EQ(text.find("BEGIN BULK\n"), 0u);
    EXPECT_TRUE(r < c && c < s && s < q4 && q4 < t3 && t3 < grid && grid < mat && mat < pcomp &&
                pcomp < end)
        << text;
    EXPECT_EQ(text.find("GRID    99"), std::string::npos);
    // A repeated global ply id is written as PCOMP, with the warning.
    EXPECT_EQ(text.find("PCOMPG"), std::string::npos);
    EXPECT_NE(text.find("PCOMP   1                               \n"
                        "        1       .1      0.              1       .1      90.             \n"
                        "        1       .3      0.      YES     \n"),
              std::string::npos)
        << text;
    std::vector<std::string> warnings = m.gui.texts(2);
    ASSERT_GE(warnings.size(), 2u);
    EXPECT_NE(warnings[warnings.size() - 2].find("gPlyIds will be ignored"), std::string::npos);
    EXPECT_EQ(warnings.back(),
              "Laminate 'pcompg.1' is symmetric but its 3 layers do not mirror; all layers are "
              "written without SYM.");
}

TEST(ReadKorbdf, FailuresSayWhy) {
    struct Case {
        const char* deck;
        const char* error;
        int nodes;  // what was read before the failure
    } cases[] = {
        {"BEGIN BULK\nGRID    1\nGRID    2               1.+999\n",
         "Number '1.+999' of card GRID on line 3 of '%s' is out of range.", 1},
        {"BEGIN BULK\nGRID    1\nGRID,99999999999\n",
         "Number '99999999999' of card GRID on line 3 of '%s' is out of range.", 1},
        {"begin bulk\nGRID,1,,0.,0.,0.\n=,*(1),,=,=,=\n",
         "Replicated card on line 3 of '%s' is not supported.", 1},
        {"BEGIN BULK\nGRID    1\nCQUAD4  1       1       1       1       1       1\n"
         "CTRIA3  1       1       1       1       1\n",
         "Could not store CTRIA3 1 on line 4 of '%s'.", 1},
        {"BEGIN BULK\nGRID    0\n", "Could not store GRID 0 on line 2 of '%s'.", 0},
        {"BEGIN BULK\nGRID    1\n\nGRID    2\n",
         "Zero byte on line 4 of '%s'; the rest of the file is not read.", 2},
        {"no bulk here\n", "No BEGIN BULK in file '%s'.", 0},
        // The last line, without its line end, cut inside a number or
        // before the data of a card that then fails.
        {"BEGIN BULK\nGRID    1\nGRID    2               1.5E",
         "Bulk data file '%s' ends early inside line 3 (card GRID); the cards before it were "
         "read.",
         1},
        {"BEGIN BULK\nGRID    1\nGRID    ",
         "Bulk data file '%s' ends early inside line 3 (card GRID); the cards before it were "
         "read.",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        std::string deck = c.deck;
        if (std::string(c.error).find("Zero") == 0)  // the text goes on after the 0 byte
            deck += std::string("\0GRID    3\n", 11);
        std::string path = TempPath("fail");
        WriteAll(path, deck);
        Model m;
        std::string name = path;
        EXPECT_EQ(read_korbdf(&name[0], m.model.get()), 1);
        char expected[512];
        std::snprintf(expected, sizeof expected, c.error, path.c_str());
        ASSERT_EQ(m.errors().size(), 1u);
        EXPECT_EQ(m.errors()[0], expected);
        EXPECT_EQ(m.nodes(), c.nodes);
        std::remove(path.c_str());
    }
    // Through the dispatch: the reason, then "Read failed.".
    Model m;
    std::string missing = TempPath("missing");
    EXPECT_EQ(m.Read(missing), -1);
    ASSERT_EQ(m.errors().size(), 2u);
    EXPECT_EQ(m.errors()[0],
              "Could not open file '" + missing + "' for reading. The file does not exist.");
    EXPECT_EQ(m.errors()[1], "Read failed.");
    // Writing: a file that cannot be created or a full disk.
    EXPECT_EQ(m.Write("/nonexistent-dir/x.bdf"), 1);
    EXPECT_EQ(m.errors().back(), "Could not write file '/nonexistent-dir/x.bdf'.");
    ASSERT_EQ(m.ReadText(bdfdeck::Plate(40, 40, bdfdeck::Layout::Small)), 0);
    EXPECT_EQ(m.Write("/dev/full"), 1);
    EXPECT_EQ(m.errors().back(), "Could not write file '/dev/full'.");
}

TEST(ReadKorbdf, ReplicationAfterSkippedCardAndMissingEnddata) {
    Model m;
    const std::string path = TempPath("noend");
    WriteAll(path,
             "BEGIN BULK\nDEFORM,4,101,.05 $\n=,=,107,= $\n=(2)\n"
             "GRID    1               0.      0.      0.\n"
             "GRID    2               0.      0.      1.");
    std::string name = path;
    // The replication lines after the skipped card pass; without ENDDATA
    // the deck is read to its end, its last line too.
    ASSERT_EQ(read_korbdf(&name[0], m.model.get()), 0);
    EXPECT_TRUE(m.errors().empty()) << m.errors()[0];
    EXPECT_EQ(m.nodes(), 2);
    EXPECT_EQ(m.node(2)->getCKpPointZ(), 1.0);
    std::remove(path.c_str());
}

TEST(ReadKorbdf, UserAbortKeepsWhatWasRead) {
    Model m;
    m.gui.abortAfterPolls = 0;
    user_break(nullptr, 1);  // the poll counter is global: start it afresh
    std::string path = TempPath("abort");
    ASSERT_TRUE(bdfdeck::WritePlate(path, 100, 100, bdfdeck::Layout::Small));
    ASSERT_EQ(read_korbdf(&path[0], m.model.get()), 0);
    std::remove(path.c_str());
    EXPECT_EQ(m.gui.abortPolls, 1);
    EXPECT_EQ(m.nodes(), 0);
    // Stopped at the 5,000th card: the elements come first.
    EXPECT_GT(m.elems(1), 4000);
    EXPECT_LT(m.elems(1), 10000);
    EXPECT_TRUE(m.errors().empty());
}

// Counts, positions, layers and orientations of two models.
void ExpectSameModel(Model& a, Model& b) {
    ASSERT_EQ(a.nodes(), b.nodes());
    ASSERT_EQ(a.elems(1), b.elems(1));
    CKpNodeStore* na = a.model->pNodes();
    CKpNodeStore* nb = b.model->pNodes();
    for (int i = 0; i < na->entries(); ++i) {
        ASSERT_EQ((*na)[i]->id(), (*nb)[i]->id());
        EXPECT_EQ((*na)[i]->getCKpPointX(), (*nb)[i]->getCKpPointX());
        EXPECT_EQ((*na)[i]->getCKpPointY(), (*nb)[i]->getCKpPointY());
    }
    CKpElemStore* ea = a.model->pElems();
    CKpElemStore* eb = b.model->pElems();
    for (int i = 0; i < ea->entries(); ++i) {
        CKpElem* x = (*ea)[i];
        CKpElem* y = (*eb)[i];
        ASSERT_EQ(x->id(), y->id());
        EXPECT_STREQ(x->pOrient()->name(), y->pOrient()->name());
        EXPECT_TRUE(Near(x->theta(), y->theta(), tol::angle));
        for (int k = 0; k < 4; ++k) EXPECT_EQ(x->getunid(k), y->getunid(k));
    }
    std::vector<CKpLamLyr*> la = a.layers(10), lb = b.layers(10);
    ASSERT_EQ(la.size(), lb.size());
    for (size_t k = 0; k < la.size(); ++k) {
        EXPECT_EQ(la[k]->theta(), lb[k]->theta());
        EXPECT_EQ(la[k]->t(), lb[k]->t());
    }
}

TEST(ReadKorbdf, RoundTripGivesTheSameBytesAndModel) {
    for (bdfdeck::Layout layout :
         {bdfdeck::Layout::Small, bdfdeck::Layout::Large, bdfdeck::Layout::Free}) {
        SCOPED_TRACE(static_cast<int>(layout));
        Model first;
        ASSERT_EQ(first.ReadText(bdfdeck::Plate(7, 5, layout)), 0);
        EXPECT_TRUE(first.errors().empty());
        EXPECT_EQ(first.elems(1), 35);
        EXPECT_EQ(first.layers(10).size(), 4u);
        std::map<std::string, int> orient = first.orientations();
        EXPECT_EQ(orient["Theta"], 12);
        EXPECT_EQ(orient["Coord.7"], 12);
        EXPECT_EQ(orient["Default"], 11);
        std::string a = first.Written();
        Model second;
        ASSERT_EQ(second.ReadText(a), 0);
        std::string b = second.Written();
        EXPECT_EQ(a, b);
        ExpectSameModel(first, second);
    }
}

// The real decks, read (without the completion step), written, read and
// written again: the same bytes.
TEST(ReadKorbdf, RealDecksWriteStably) {
    for (const char* deck :
         {"flat_plate_composite.bdf", "d200obus.bdf", "trncomp12.bdf", "pcomp_cquad4.bdf",
          "cqrcc128a.bdf", "test_mass.dat", "cquad4_pcomp_mat8_MACN.solver.bdf", "v10112.bdf",
          "cc188b.bdf", "loads.bdf", "conedg01e.bdf"}) {
        SCOPED_TRACE(deck);
        std::string in = DataFile(deck), a = TempPath("stable_a"), b = TempPath("stable_b");
        Model first, second;
        ASSERT_EQ(read_korbdf(&in[0], first.model.get()), 0);
        ASSERT_EQ(write_korbdf(&a[0], first.model.get(), 1), 0);
        ASSERT_EQ(read_korbdf(&a[0], second.model.get()), 0);
        ASSERT_EQ(write_korbdf(&b[0], second.model.get(), 1), 0);
        EXPECT_EQ(ReadAll(a), ReadAll(b));
        EXPECT_EQ(first.nodes(), second.nodes());
        std::remove(a.c_str());
        std::remove(b.c_str());
    }
}

// Every prefix of a small real deck, random bytes after the bulk header,
// NUL bytes and a 10 MB line: a status and a message, never a crash.
TEST(ReadKorbdf, MalformedInputEndsCleanly) {
    std::string deck = ReadAll(DataFile("trncomp12.bdf"));
    ASSERT_EQ(deck.size(), 3109u);
    std::string path = TempPath("prefix");
    for (size_t n = 0; n <= deck.size(); ++n) {
        WriteAll(path, deck.substr(0, n));
        Model m;
        std::string name = path;
        int status = read_korbdf(&name[0], m.model.get());
        // Before the header there is no bulk data; after it a prefix is a
        // deck without ENDDATA, read to its end, unless it cuts a card
        // before its id ("GRID" alone cannot be stored).
        bool header = deck.substr(0, n).find("BEGIN BULK") != std::string::npos;
        if (!header) {
            ASSERT_EQ(status, 1) << n;
        }
        ASSERT_TRUE(status == 0 || status == 1) << n;
        ASSERT_EQ(m.errors().size(), status == 0 ? 0u : 1u) << n;
    }
    std::srand(17);
    for (int round = 0; round < 200; ++round) {
        std::string noise = "BEGIN BULK\n";
        int len = std::rand() % 400;
        for (int k = 0; k < len; ++k) noise += static_cast<char>(std::rand() % 256);
        WriteAll(path, noise);
        Model m;
        std::string name = path;
        int status = read_korbdf(&name[0], m.model.get());
        ASSERT_TRUE(status == 0 || status == 1);
        ASSERT_EQ(m.errors().empty(), status == 0) << round;
        // Whatever was read can be written.
        std::string out = TempPath("noise_out");
        EXPECT_EQ(write_korbdf(&out[0], m.model.get(), 1), 0);
        std::remove(out.c_str());
    }
    // A 10 MB line in fixed and in free field between two good cards.
    for (const char* lead : {"GRID    1", "GRID,1,,"}) {
        std::string text = "BEGIN BULK\n" + std::string(lead) + std::string(10 << 20, 'x') +
                           "\nGRID    2               0.      0.      1.\nENDDATA\n";
        WriteAll(path, text);
        Model m;
        std::string name = path;
        EXPECT_EQ(read_korbdf(&name[0], m.model.get()), 0);
        EXPECT_EQ(m.nodes(), 2);
        EXPECT_EQ(m.node(2)->getCKpPointZ(), 1.0);
    }
    std::remove(path.c_str());
}

// Decks whose bulk section ends without ENDDATA, as users and other
// readers leave them: read to the end of the file, the last card too.
TEST(ReadKorbdf, DecksWithoutEnddataAreReadToTheirEnd) {
    Model mass;
    ASSERT_EQ(mass.Read(DataFile("test_mass.dat")), 0);
    EXPECT_TRUE(mass.errors().empty()) << mass.errors()[0];
    EXPECT_EQ(mass.nodes(), 18);
    // The last GRID before the CPENTA that ends the file.
    ASSERT_NE(mass.node(26), nullptr);
    EXPECT_EQ(mass.node(26)->getCKpPointX(), 1.0);
    EXPECT_EQ(mass.node(26)->getCKpPointZ(), 2.0);
    EXPECT_EQ(mass.elems(1), 3);
    EXPECT_EQ(mass.elems(11), 3);
    EXPECT_STREQ(mass.mat(1)->GetName(), "mat8.1");
    EXPECT_STREQ(mass.mat(10)->GetName(), "mat8.10");
    EXPECT_STREQ(mass.mat(2)->GetName(), "mat1.2");
    EXPECT_EQ(mass.mat(2)->GetNuxy(), 3.0);
    std::vector<CKpLamLyr*> plies = mass.layers(1);
    ASSERT_EQ(plies.size(), 3u);
    const int mids[] = {1, 10, 1};
    const double ts[] = {.1, .5, .1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plies[i]->mid(), mids[i]) << i;
        EXPECT_EQ(plies[i]->t(), ts[i]) << i;
        EXPECT_EQ(plies[i]->theta(), 0.0) << i;
    }

    Model macn;
    ASSERT_EQ(macn.Read(DataFile("cquad4_pcomp_mat8_MACN.solver.bdf")), 0);
    EXPECT_TRUE(macn.errors().empty()) << macn.errors()[0];
    EXPECT_EQ(macn.nodes(), 4);
    EXPECT_EQ(macn.node(3)->getCKpPointZ(), 2.0);
    EXPECT_EQ(macn.elems(1), 1);
    EXPECT_EQ(macn.mat(3)->GetEx(), 1.4e7);
    EXPECT_EQ(macn.mat(3)->GetEy(), 1e6);
    std::vector<CKpLamLyr*> four = macn.layers(1);
    ASSERT_EQ(four.size(), 4u);
    const double angles[] = {0, 45, -45, 90};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(four[i]->mid(), 3) << i;
        EXPECT_EQ(four[i]->t(), .075) << i;
        EXPECT_TRUE(Near(four[i]->theta(), angles[i] * kDeg, tol::angle)) << i;
    }
}

// A file whose last line has no line end reads as the same file with it;
// the line counts as cut only where its text is incomplete.
TEST(ReadKorbdf, LastLineWithoutItsLineEndReadsAsWithIt) {
    const std::string path = TempPath("lastline");
    // A complete last card that fails says why, with or without its line
    // end; a last line cut inside a number or before a failing card's data
    // says the file ends early, while with a line end the same text is read
    // as it stands.
    struct Case {
        const char* deck;
        const char* withEnd;     // error with the line end ("" none)
        const char* withoutEnd;  // error without it
    } cases[] = {
        {"BEGIN BULK\nGRID    1\nGRID    0", "Could not store GRID 0 on line 3 of '%s'.",
         "Could not store GRID 0 on line 3 of '%s'."},
        {"BEGIN BULK\nGRID    1\nGRID    2       1.+999",
         "Number '1.+999' of card GRID on line 3 of '%s' is out of range.",
         "Number '1.+999' of card GRID on line 3 of '%s' is out of range."},
        {"BEGIN BULK\nGRID    1\nGRID,2,,0.,0.,7.+", "",
         "Bulk data file '%s' ends early inside line 3 (card GRID); the cards before it were "
         "read."},
        {"BEGIN BULK\nGRID    1\nGRID", "Could not store GRID 0 on line 3 of '%s'.",
         "Bulk data file '%s' ends early inside line 3 (card GRID); the cards before it were "
         "read."},
        // A card outside the set is skipped, cut or not.
        {"BEGIN BULK\nGRID    1\nFORCE   2       1.5E", "", ""},
    };
    for (const Case& c : cases) {
        for (bool end : {true, false}) {
            SCOPED_TRACE(std::string(c.deck) + (end ? " + line end" : ""));
            WriteAll(path, std::string(c.deck) + (end ? "\n" : ""));
            Model m;
            std::string name = path;
            const char* error = end ? c.withEnd : c.withoutEnd;
            EXPECT_EQ(read_korbdf(&name[0], m.model.get()), error[0] ? 1 : 0);
            char expected[512];
            std::snprintf(expected, sizeof expected, error, path.c_str());
            EXPECT_EQ(m.errors(),
                      error[0] ? std::vector<std::string>{expected} : std::vector<std::string>{});
            EXPECT_NE(m.node(1), nullptr);
        }
    }
    for (const char* deck : {"test_mass.dat", "cquad4_pcomp_mat8_MACN.solver.bdf", "loads.bdf"}) {
        SCOPED_TRACE(deck);
        const std::string whole = ReadAll(DataFile(deck));
        ASSERT_EQ(whole.back(), '\n');
        WriteAll(path, whole.substr(0, whole.size() - 1));
        Model with, without;
        ASSERT_EQ(with.Read(DataFile(deck)), 0);
        EXPECT_EQ(without.Read(path), 0);
        EXPECT_TRUE(without.errors().empty()) << without.errors()[0];
        EXPECT_EQ(with.nodes(), without.nodes());
        EXPECT_EQ(with.Written(), without.Written());
    }
    // A real deck cut inside its last number: "1.4+4" of the MAT8 row
    // before ENDDATA, cut after its "+".
    const std::string deck = ReadAll(DataFile("trncomp12.bdf"));
    const size_t cut = deck.rfind("1.4+4") + 4;
    WriteAll(path, deck.substr(0, cut));
    Model m;
    std::string name = path;
    EXPECT_EQ(read_korbdf(&name[0], m.model.get()), 1);
    ASSERT_EQ(m.errors().size(), 1u);
    EXPECT_NE(m.errors()[0].find("ends early inside line"), std::string::npos) << m.errors()[0];
    EXPECT_NE(m.errors()[0].find("(card MAT8)"), std::string::npos) << m.errors()[0];
    EXPECT_EQ(m.nodes(), 14);
    std::remove(path.c_str());
}

// A card outside the set is skipped whatever its fields hold: numbers
// beyond the int or double range are checked only in cards that are read.
TEST(ReadKorbdf, CardsOutsideTheSetAreSkippedWhateverTheyHold) {
    // The real deck gets past its DAREA* (line 59, 80000000100) and stops
    // at its first GRID, whose id is itself beyond an int.
    const std::string path = DataFile("sdr11se_s2dclg.bdf");
    Model real;
    std::string name = path;
    EXPECT_EQ(read_korbdf(&name[0], real.model.get()), 1);
    EXPECT_EQ(real.errors(),
              std::vector<std::string>{"Number '80000000001' of card GRID on line 96 of '" + path +
                                       "' is out of range."});
    EXPECT_EQ(real.nodes(), 0);

    Model m;
    ASSERT_EQ(
        m.ReadText("BEGIN BULK\n"
                   "DAREA*  61              80000000100     1               1.+6            +\n"
                   "*                                                                       \n"
                   "SPOINT,99999999999\n"
                   "FORCE   1       2       0       1.+999\n"
                   "GRID    1               0.      0.      7.\n"
                   "ENDDATA\n"),
        0);
    EXPECT_TRUE(m.errors().empty()) << m.errors()[0];
    ASSERT_EQ(m.nodes(), 1);
    EXPECT_EQ(m.node(1)->getCKpPointZ(), 7.0);
}

// A leading "+" is a number's sign and "1e7" a real, on real decks.
TEST(ReadKorbdf, SignedNumbersAndRealsWithoutPointOnRealDecks) {
    Model v;
    ASSERT_EQ(v.Read(DataFile("v10112.bdf")), 0);
    std::vector<CKpLamLyr*> plies = v.layers(101);
    ASSERT_EQ(plies.size(), 3u);
    const double angles[] = {0, 90, 0};
    const double ts[] = {1, 10, 1};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(plies[i]->theta(), angles[i] * kDeg, tol::angle)) << i;
        EXPECT_EQ(plies[i]->t(), ts[i]) << i;
        EXPECT_EQ(plies[i]->sout(), 2) << i;  // "YES" after each angle
    }

    Model cc;
    ASSERT_EQ(cc.Read(DataFile("cc188b.bdf")), 0);
    struct Grid {
        int id;
        double x, y, z;
    } grids[] = {{3303, 20, 7.5, 5}, {3304, 0, 7.5, 0}, {7403, 0, 7.5, 0}, {3302, 20, -7.5, 5}};
    for (const Grid& g : grids) {
        SCOPED_TRACE(g.id);
        CKpNode* n = cc.node(g.id);
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->getCKpPointX(), g.x);
        EXPECT_EQ(n->getCKpPointY(), g.y);
        EXPECT_EQ(n->getCKpPointZ(), g.z);
    }

    // The same spelling in a deck of many other cards.
    Model d200;
    ASSERT_EQ(d200.Read(DataFile("d200obus.bdf")), 0);
    EXPECT_EQ(d200.node(7701)->getCKpPointY(), 93.0);
    EXPECT_EQ(d200.node(7702)->getCKpPointY(), 93.0);
    EXPECT_EQ(d200.node(7702)->getCKpPointX(), 190.0);

    Model loads;
    ASSERT_EQ(loads.Read(DataFile("loads.bdf")), 0);
    ASSERT_NE(loads.mat(10000), nullptr);
    EXPECT_EQ(loads.mat(10000)->GetEx(), 1e7);
    EXPECT_EQ(loads.mat(10000)->GetNuxy(), 0.3);
}

// MAT1 with one of E, G, NU blank takes it from the other two.
TEST(ReadKorbdf, Mat1TakesOneBlankOfEGNuFromTheOtherTwo) {
    Model loads;
    ASSERT_EQ(loads.Read(DataFile("loads.bdf")), 0);
    EXPECT_NEAR(loads.mat(10000)->GetGxy(), 3846153.846, 1e-3);
    Model cc;
    ASSERT_EQ(cc.Read(DataFile("cc188b.bdf")), 0);
    EXPECT_NEAR(cc.mat(74)->GetGxy(), 1e6 / 2.6, 1e-6);

    Model m;
    ASSERT_EQ(m.ReadText("BEGIN BULK\n"
                         "MAT1    1       2.6+5   1.+5\n"
                         "MAT1    2               1.+5    .25\n"
                         "MAT1    3       2.+5\n"
                         "MAT1    4       2.+5            -1.\n"
                         "MAT1    5       2.+5    0.\n"
                         "MAT1    6       2.+5    8.+4    .2\n"),
              0);
    struct Want {
        int mid;
        double e, g, nu;
    } want[] = {{1, 2.6e5, 1e5, 0.3}, {2, 2.5e5, 1e5, 0.25}, {3, 2e5, 0, 0},
                {4, 2e5, 0, -1},      {5, 2e5, 0, 0},        {6, 2e5, 8e4, 0.2}};
    for (const Want& w : want) {
        SCOPED_TRACE(w.mid);
        CKpMat* mat = m.mat(w.mid);
        ASSERT_NE(mat, nullptr);
        EXPECT_NEAR(mat->GetEx(), w.e, 1e-9 * w.e);
        EXPECT_NEAR(mat->GetGxy(), w.g, 1e-9 * w.e);
        EXPECT_NEAR(mat->GetNuxy(), w.nu, 1e-12);
    }
}

// A free-field row whose continuation mark is followed by a comma keeps
// its continuation row.
TEST(ReadKorbdf, FreeFieldMarkFollowedByACommaKeepsItsContinuation) {
    Model m;
    ASSERT_EQ(m.Read(DataFile("conedg01e.bdf")), 0);
    EXPECT_TRUE(m.errors().empty()) << m.errors()[0];
    CKpCoord* c = m.model->pCoords()->find(5);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type(), 1);
    const double want[] = {0, 0, 0, 0, 0, 1, 0, 1, 1};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(c->coords(k), want[k]) << k;
}

// A file without BEGIN BULK (the control part of a real deck) is refused
// with what is missing, and the model is left as it was.
TEST(ReadKorbdf, NoBeginBulkSaysWhatIsMissing) {
    const std::string deck = ReadAll(DataFile("test_mass.dat"));
    const std::string path = TempPath("nobulk");
    WriteAll(path, deck.substr(0, deck.find("BEGIN BULK")));
    Model m;
    std::string name = path;
    EXPECT_EQ(read_korbdf(&name[0], m.model.get()), 1);
    EXPECT_EQ(m.errors(), std::vector<std::string>{"No BEGIN BULK in file '" + path + "'."});
    EXPECT_EQ(m.nodes(), 0);
    std::remove(path.c_str());
}

}  // namespace

// MAT2, anisotropic in the plane: no public deck here holds one, so a deck
// of our own gives every field a distinct value (G11 G12 G13 G22 G23 G33
// RHO, then A1 A2 A3 TREF GE ST SC SS) and the written card reads back the
// same.
TEST(ReadKorbdf, Mat2FieldsAndRoundTrip) {
    Model m;
    ASSERT_EQ(m.ReadText("BEGIN BULK\n"
                         "MAT2    21      1.2+5   3.+3    7.      9.+3    8.      5.+3    1.6-9\n"
                         "        -1.-6   2.5-5   3.-7    20.     .02     1500.   1200.   80.\n"),
              0)
        << ::testing::PrintToString(m.errors());
    auto check = [](CKpMat* mat) {
        ASSERT_NE(mat, nullptr);
        EXPECT_STREQ(mat->GetName(), "mat2.21");
        EXPECT_EQ(mat->GetExternalId(), 21);
        const double want[] = {1.2e5,  3e3,  7.0,  9e3,  8.0,  5e3,    1.6e-9, -1e-6,
                               2.5e-5, 3e-7, 20.0, 0.02, 1500, 1200.0, 80.0};
        const double got[] = {mat->GetEx(),   mat->GetNuxy(), mat->GetC14(),     mat->GetEy(),
                              mat->GetC24(),  mat->GetGxy(),  mat->GetDensity(), mat->GetAlpx(),
                              mat->GetAlpy(), mat->GetA4(),   mat->GetTref(),    mat->GetGe(),
                              mat->GetFxt(),  mat->GetFxc(),  mat->GetFs12()};
        for (int k = 0; k < 15; ++k) EXPECT_TRUE(Near(got[k], want[k], tol::stiffness)) << k;
    };
    check(m.mat(21));
    const std::string written = m.Written();
    EXPECT_NE(written.find("\nMAT2    21"), std::string::npos) << written;
    Model back;
    ASSERT_EQ(back.ReadText(written), 0);
    check(back.mat(21));
}

// An orientation of the highest id in the model read into (a layup file may
// give one) leaves no id for an orientation a card needs: an existing one
// by name still serves, the card needing a new one is refused whole and the
// read fails; nothing of a wrapped id is made.
TEST(ReadKorbdf, NoOrientationPastTheHighestIdOfTheModel) {
    const int top = 2147483647;
    Model m;
    CKpOrient* theta = new CKpOrient(top);
    theta->setName("Theta");
    theta->setType(2);
    ASSERT_EQ(m.model->pOrients()->insert(theta), 0);
    const std::string path = TempPath("toporient");
    WriteAll(path,
             "BEGIN BULK\n"
             "GRID,1,,0.,0.,0.\nGRID,2,,1.,0.,0.\nGRID,3,,1.,1.,0.\nGRID,4,,0.,1.,0.\n"
             "CQUAD4,1,10,1,2,3,4,30.\n"
             "CQUAD4,2,10,1,2,3,4\n"
             "ENDDATA\n");
    EXPECT_EQ(m.model->Read(static_cast<ILayup::EFormat>(2), path.c_str(), 0, 0, ""), -1);
    std::remove(path.c_str());
    EXPECT_EQ(m.errors(),
              (std::vector<std::string>{"Could not store CQUAD4 2 on line 7 of '" + path + "'.",
                                        "Read failed."}));
    ASSERT_EQ(m.model->pOrients()->entries(), 1);
    EXPECT_EQ((*m.model->pOrients())[0], theta);
    ASSERT_EQ(m.model->pElems()->entries(), 1);
    EXPECT_EQ(m.elem(1)->pOrient(), theta);
    EXPECT_EQ(m.elem(1)->orientId(), top);
    EXPECT_NEAR(m.elem(1)->theta(), 30.0 * kDeg, 1e-12);
}
