#include "op2reader/read_op2.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

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
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/IVekResult.h"
#include "tests/support/Op2Swap.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/ResultsDigest.h"
#include "tests/support/TestData.h"

namespace {

std::string DataFile(const std::string& name) {
    return TestDataFile("op2", name);
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string TempPath(const char* stem) {
    return testing::TempDir() + stem + std::to_string(getpid()) + ".op2";
}

// Every result through the client interface: names, codes, records.
std::string Dump(CKpLayup& model) {
    std::ostringstream out;
    IVekResultStore* store = model.GetResultStore();
    for (int i = 0; i < store->Count(); ++i) {
        IVekResult* res = store->Get(i);
        char buf[5][512];
        char* names[5] = {buf[0], buf[1], buf[2], buf[3], buf[4]};
        res->GetNames(names, 512);
        out << names[0] << '|' << names[1] << '|' << names[2] << '|' << names[3] << '|' << names[4]
            << ' ' << res->GetOrientation() << res->GetType() << res->GetLocation();
        CKpRes* r = static_cast<CKpRes*>(res);
        for (int k = 0; k < r->ResElems()->entries(); ++k) {
            CKpResElem* e = (*r->ResElems())[k];
            out << ' ' << e->id() << ':';
            for (int v = 0; v < e->GetNumFloats(); ++v) out << e->GetFloat(v) << ',';
        }
        out << '\n';
    }
    return out.str();
}

CKpRes* FindResult(CKpLayup& model, const char* n0, const char* n1, const char* n2, const char* n3,
                   const char* n4) {
    const char* names[5] = {n0, n1, n2, n3, n4};
    return model.pRess()->findByName(names);
}

// Text words of identification records and failure entries stay as stored.
// Identification records come first, after the header record; the swapper
// counts a header record that holds more than the name as record 1.
Op2TextWord ResultText() {
    auto shift = std::make_shared<int>(0);
    return [shift](const std::string& datablock, int record, int word, const int* words) {
        if (datablock.rfind("OE", 0) != 0 || record < 1) return false;
        if (record == 1 && word == 0) *shift = std::memcmp(words, datablock.data(), 8) == 0;
        const int r = record - *shift;
        if (r < 1) return true;
        if (r % 2 == 1) return word >= 50 && word < 146;
        return datablock.rfind("OEFIT", 0) == 0 && (word % 9 == 1 || word % 9 == 2);
    };
}

}  // namespace

TEST(ReadOp2, RealFilesGiveTheirModelsAndResults) {
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &model, 7, 7), 0);
        EXPECT_EQ(model.pNodes()->entries(), 149);
        EXPECT_EQ(model.pElems()->entries(), 12);
        EXPECT_EQ(model.pMats()->entries(), 3);
        EXPECT_EQ(model.pLams()->entries(), 1);
        EXPECT_EQ(model.pRess()->entries(), 7);
        CKpRes* bond = FindResult(model, "STATIC LOAD", "SOLUTION 200  SUBCASE 1",
                                  "Failure Indices", "Maximum Strain", "Interface 1-2");
        ASSERT_NE(bond, nullptr);
        EXPECT_EQ(bond->orient(), 4);
        EXPECT_EQ(bond->type(), 1);
        ASSERT_NE(FindResult(model, "STATIC LOAD", "SOLUTION 200  SUBCASE 1", "Failure Indices",
                             "Maximum Strain", "Layer 2"),
                  nullptr);
        CKpRes* membrane = FindResult(model, "STATIC LOAD", "SOLUTION 200  SUBCASE 1",
                                      "Shell Forces", "Membrane Forces", "");
        ASSERT_NE(membrane, nullptr);
        EXPECT_EQ(membrane->GetNumElements(), 12);
        // The internal MAT2 entries (ids above 100000000) are passed over.
        for (int i = 0; i < model.pMats()->entries(); ++i)
            EXPECT_LT((*model.pMats())[i]->id(), 100000000);
    }
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile("trncomp12.op2").c_str(), &model, 7, 7), 0);
        EXPECT_EQ(model.pElems()->entries(), 6);
        EXPECT_EQ(model.pRess()->entries(), 210);
        EXPECT_NE(FindResult(model, "Default Loadcase", "Default Subcase:Time=0.05",
                             "Stress Tensor", "Fibre Directions", "Layer 3"),
                  nullptr);
        // Later plies of an element carry a blank criterion in the file.
        EXPECT_NE(FindResult(model, "Default Loadcase", "Default Subcase:Time=1", "Failure Indices",
                             "Maximum Strain", "Interface 2-3"),
                  nullptr);
        const char* empty[5] = {"Default Loadcase", "Default Subcase:Time=1", "Failure Indices", "",
                                "Layer 2"};
        EXPECT_EQ(model.pRess()->findByName(empty), nullptr);
    }
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile("extfib_fr1.op2").c_str(), &model, 7, 7), 0);
        EXPECT_EQ(model.pRess()->entries(), 0);  // complex layered results are not read
        ASSERT_EQ(model.pMats()->entries(), 3);
        EXPECT_EQ((*model.pMats())[0]->id(), 1);
        EXPECT_EQ((*model.pMats())[1]->id(), 3);
        EXPECT_EQ((*model.pMats())[2]->id(), 4);
        CKpLam* lam = model.pLams()->find(5);
        ASSERT_NE(lam, nullptr);
        int expect = 1;
        for (CKpLamLyr* l = lam->LamLyrs()->First(); l; l = lam->LamLyrs()->Next(l))
            EXPECT_EQ(l->gplyid(), expect++);
        EXPECT_EQ(expect, 4);
    }
    {
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile("flat_plate_tip_loads_mixed_2cases.op2").c_str(), &model, 7, 7),
                  0);
        EXPECT_EQ(model.pNodes()->entries(), 50);
        EXPECT_EQ(model.pElems()->entries(), 36);
        EXPECT_EQ(model.pMats()->entries(), 2);
        EXPECT_EQ(model.pLams()->entries(), 18);
        EXPECT_EQ(model.pRess()->entries(), 22);
        EXPECT_NE(FindResult(model, "Default Loadcase", "TIP LEISH LOAD  SUBCASE 2",
                             "Failure Indices", "Hill Stress", "Interface 3-4"),
                  nullptr);
    }
}

TEST(ReadOp2, FlagsChooseWhatIsReadAndIdsFollowTheStore) {
    CKpLayup model(nullptr, nullptr);
    ASSERT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &model, 0, 0), 0);
    EXPECT_EQ(model.pNodes()->entries(), 0);
    EXPECT_EQ(model.pRess()->entries(), 0);
    ASSERT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &model, 0, 1), 0);
    ASSERT_EQ(model.pRess()->entries(), 2);
    ASSERT_EQ(read_op2(DataFile("flat_plate_composite.op2").c_str(), &model, 0, 2), 0);
    ASSERT_EQ(model.pRess()->entries(), 9);
    // The second file's results continue the numbering.
    EXPECT_EQ((*model.pRess())[2]->id(), 3);
    EXPECT_EQ((*model.pRess())[8]->id(), 9);
    EXPECT_STREQ((*model.pRess())[8]->name(4), "Layer 7");
}

TEST(ReadOp2, SwappedFileReadsTheSame) {
    for (const char* file :
         {"trncomp12.op2", "d200obus.op2", "flat_plate_tip_loads_mixed_2cases.op2"}) {
        SCOPED_TRACE(file);
        CKpLayup plain(nullptr, nullptr);
        ASSERT_EQ(read_op2(DataFile(file).c_str(), &plain, 7, 7), 0);
        std::string path = TempPath("swapped_read");
        std::ofstream(path, std::ios::binary) << SwapOp2Bytes(Slurp(DataFile(file)), ResultText());
        CKpLayup swapped(nullptr, nullptr);
        EXPECT_EQ(read_op2(path.c_str(), &swapped, 7, 7), 0);
        std::remove(path.c_str());
        EXPECT_EQ(Dump(swapped), Dump(plain));
        EXPECT_EQ(swapped.pElems()->entries(), plain.pElems()->entries());
        EXPECT_EQ(swapped.pMats()->entries(), plain.pMats()->entries());
    }
}

TEST(ReadOp2, DamagedFilesFailAndKeepWhatWasRead) {
    EXPECT_EQ(read_op2("/nonexistent/dir/none.op2", nullptr, 7, 7), 1);
    {
        CKpLayup model(nullptr, nullptr);
        EXPECT_EQ(read_op2("/nonexistent/dir/none.op2", &model, 7, 7), 1);
    }
    const std::string bytes = Slurp(DataFile("d200obus.op2"));
    std::string path = TempPath("damaged");
    // Cuts inside the label, inside records and before the end-of-file record.
    for (size_t cut : {size_t(10), size_t(30000), size_t(60001), bytes.size() - 4}) {
        SCOPED_TRACE(cut);
        std::ofstream(path, std::ios::binary) << bytes.substr(0, cut);
        CKpLayup model(nullptr, nullptr);
        EXPECT_EQ(read_op2(path.c_str(), &model, 7, 7), 1);
        if (cut > 30000) {
            EXPECT_EQ(model.pNodes()->entries(), 149);
        }
    }
    // A length word flipped to a huge count.
    std::string flipped = bytes;
    size_t at = 0;
    for (int len = 0; at < 40000; at += 8 + static_cast<size_t>(len))
        std::memcpy(&len, bytes.data() + at, 4);
    flipped[at + 3] = '\x7f';
    std::ofstream(path, std::ios::binary) << flipped;
    CKpLayup model(nullptr, nullptr);
    EXPECT_NE(read_op2(path.c_str(), &model, 7, 7), 0);
    std::remove(path.c_str());
}

TEST(ReadOp2, ElementOrientationsFromAngleOrFrameCode) {
    CKpLayup model(nullptr, nullptr);
    CKpElem* a = model.pElems()->NewElem(1, 1);
    CKpElem* b = model.pElems()->NewElem(2, 1);
    CKpElem* c = model.pElems()->NewElem(3, 1);
    ASSERT_EQ(CreateElemOrient(&model, a, 30.0f), 0);
    ASSERT_EQ(CreateElemOrient(&model, b, 1536.0f), 0);
    ASSERT_EQ(CreateElemOrient(&model, c, 700.0f), 0);
    EXPECT_STREQ(a->pOrient()->name(), "Theta");
    EXPECT_NEAR(a->theta(), M_PI / 6.0, 1e-7);
    EXPECT_STREQ(b->pOrient()->name(), "Coord.2");
    EXPECT_EQ(b->pOrient()->type(), 1);
    EXPECT_EQ(b->pOrient()->refId(), 2);
    EXPECT_EQ(b->theta(), 0.0);
    EXPECT_EQ(c->pOrient(), a->pOrient());
    // A frame code past any frame id is taken as an angle.
    ASSERT_EQ(CreateElemOrient(&model, c, 512.0f * 4e11f), 0);
    EXPECT_STREQ(c->pOrient()->name(), "Theta");
    ASSERT_EQ(CreateElemOrient(&model, c, 700.0f), 0);
    EXPECT_NEAR(c->theta(), 700.0 * M_PI / 180.0, 1e-6);
    delete a;
    delete b;
    delete c;
}

TEST(ReadOp2, WordHelpers) {
    int key[3] = {0};
    EXPECT_EQ(IsComplex(1004), 1);
    EXPECT_EQ(IsComplex(2004), 0);
    EXPECT_EQ(GetEidEkey(33215), 3321);
    EXPECT_EQ(GetInt(1, 0x01000000), 1);
    EXPECT_FLOAT_EQ(GetFloat(1, SwapByte4Int(0x3f800000)), 1.0f);
    const char text[] = "  HILL      STRESS  ";
    int words[5];
    std::memcpy(words, text, 20);
    char buffer[32];
    EXPECT_STREQ(GetString(words, 1, 5, buffer), "HILL  STRESS");
    (void)key;
}

// An orientation of the highest id in the model (a layup file may give one)
// leaves no id for a new one: an existing orientation by name still serves,
// a missing one is refused and the element keeps what it had; reading a
// file into such a model makes nothing of a wrapped id.
TEST(ReadOp2, NoOrientationPastTheHighestIdOfTheModel) {
    const int top = 2147483647;
    CKpLayup model(nullptr, nullptr);
    CKpOrient* theta = new CKpOrient(top);
    theta->setName("Theta");
    ASSERT_EQ(model.pOrients()->insert(theta), 0);
    CKpElem* elem = model.pElems()->NewElem(1, 1);
    ASSERT_EQ(CreateElemOrient(&model, elem, 30.0f), 0);
    EXPECT_EQ(elem->pOrient(), theta);
    EXPECT_EQ(elem->orientId(), top);
    EXPECT_EQ(CreateElemOrient(&model, elem, 1536.0f), -1);
    EXPECT_EQ(elem->pOrient(), theta);
    EXPECT_NEAR(elem->theta(), M_PI / 6.0, 1e-7);
    delete elem;

    // The file's elements, all given by angle, share the model's "Theta".
    ASSERT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &model, 1, 0), 0);
    ASSERT_EQ(model.pElems()->entries(), 12);
    ASSERT_EQ(model.pOrients()->entries(), 1);
    for (int i = 0; i < model.pElems()->entries(); ++i) {
        EXPECT_EQ((*model.pElems())[i]->pOrient(), theta) << (*model.pElems())[i]->id();
        EXPECT_EQ((*model.pElems())[i]->orientId(), top) << (*model.pElems())[i]->id();
    }

    // With another orientation at the top, "Theta" cannot be made: the
    // elements are read without orientation, and the log says so once.
    CKpLayup other(nullptr, nullptr);
    CKpOrient* last = new CKpOrient(top);
    last->setName("Last");
    ASSERT_EQ(other.pOrients()->insert(last), 0);
    const std::string log = ::testing::TempDir() + "op2_no_orient_" + std::to_string(::getpid());
    ASSERT_EQ(other.pMsg()->FileOpen(log.c_str()), 0);
    EXPECT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &other, 1, 0), 0);
    other.pMsg()->FileClose();
    ASSERT_EQ(other.pElems()->entries(), 12);
    EXPECT_EQ(other.pOrients()->entries(), 1);
    for (int i = 0; i < other.pElems()->entries(); ++i)
        EXPECT_EQ((*other.pElems())[i]->pOrient(), nullptr) << (*other.pElems())[i]->id();
    std::ifstream in(log);
    std::string line;
    int errors = 0;
    while (std::getline(in, line))
        if (line.find("Could not allocate memory.") != std::string::npos) ++errors;
    EXPECT_EQ(errors, 1);
    std::remove(log.c_str());
}

namespace {

// The messages of one read of `file` (path shown as "<path>") and its status.
std::string ReadWithMessages(CKpLayup& model, const std::string& file, int* status) {
    const std::string path = DataFile(file);
    return CaptureMessages(model, path,
                           [&](CKpLayup& m) { *status = read_op2(path.c_str(), &m, 7, 7); });
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// Writes a file of a label and the one datablock `block` (trailer word 0
// `trailer0`), each of `records` a logical record of its own.
void WriteDatablock(const std::string& path, const char* block, int trailer0,
                    const std::vector<std::vector<int>>& records) {
    op2_Init(nullptr);
    int id = op2_OpenFile(path.c_str(), 'W');
    ASSERT_GE(id, 1);
    int label[2];
    std::memcpy(label, "TESTLABL", 8);
    ASSERT_EQ(op2_WriteLabel(id, label), 0);
    char name[9];
    std::snprintf(name, sizeof name, "%-8s", block);
    int trailer[6] = {trailer0, 0, 0, 0, 0, 0}, eof = 0;
    ASSERT_EQ(op2_OpenDatablk(id, 1, name, trailer, &eof), 0);
    for (const std::vector<int>& r : records)
        ASSERT_EQ(op2_WriteRecord(id, static_cast<int>(r.size()), 1, r.data()), 0);
    ASSERT_EQ(op2_CloseDatablk(id), 0);
    ASSERT_EQ(op2_CloseFile(id), 0);
}

// The node's position to `rel` of its size (the real files' solver wrote
// some coordinates rounded to single precision).
void ExpectNode(CKpLayup& model, int id, double x, double y, double z, double rel = 1e-6) {
    CKpNode* node = model.pNodes()->find(id);
    ASSERT_NE(node, nullptr) << id;
    const double tol = rel * std::max({1.0, std::fabs(x), std::fabs(y), std::fabs(z)});
    EXPECT_NEAR(node->getCKpPointX(), x, tol) << id;
    EXPECT_NEAR(node->getCKpPointY(), y, tol) << id;
    EXPECT_NEAR(node->getCKpPoint()->getz(), z, tol) << id;
}

}  // namespace

// A file written with 64-bit words is refused with the label error and
// status 1, not read as an empty model with success.
TEST(ReadOp2, FileOfSixtyFourBitWordsIsRefusedWithTheLabelError) {
    CKpLayup model(nullptr, nullptr);
    int status = -1;
    const std::string log = ReadWithMessages(model, "z402cdamp1_04.op2", &status);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Count(log, "The op2 file '<path>' cannot be read successfully."), 1) << log;
    EXPECT_EQ(Count(log, "ends early"), 0) << log;
    EXPECT_EQ(model.pNodes()->entries(), 0);
    EXPECT_EQ(model.pRess()->entries(), 0);
}

// GRID (key 4501, 45, 1120001: 11 words) and CORD2R (2101, 21, 2220008: 22
// words) records in double precision are read in their own layout; the
// length of cantilevered_plate_3d's GRID record is also a multiple of the
// single-precision entry, so the key, not the length, decides.
TEST(ReadOp2, DoublePrecisionGridsAndFramesAreReadInTheirLayout) {
    {
        CKpLayup model(nullptr, nullptr);
        int status = -1;
        const std::string log =
            ReadWithMessages(model, "laminate_elstrn_fiber_center.op2", &status);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(Count(log, "skipped"), 0) << log;
        EXPECT_EQ(model.pNodes()->entries(), 9);
        ExpectNode(model, 1, 10.0, 0.0, 12.5);
        ExpectNode(model, 9, 20.0, 0.0, 25.0);
        EXPECT_EQ(model.pElems()->entries(), 4);
        EXPECT_EQ(model.pRess()->entries(), 31);
    }
    {
        CKpLayup model(nullptr, nullptr);
        int status = -1;
        ReadWithMessages(model, "cantilevered_plate_3d.op2", &status);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(model.pNodes()->entries(), 312);
        ExpectNode(model, 2, 200.0, 0.0, 0.0);
        ExpectNode(model, 312, 5000.0, 1000.0, -10.0);
        EXPECT_EQ(model.pElems()->entries(), 0);  // CHEXA only
    }
    {
        CKpLayup model(nullptr, nullptr);
        int status = -1;
        ReadWithMessages(model, "cbush_test.op2", &status);
        EXPECT_EQ(status, 0);
        EXPECT_EQ(model.pNodes()->entries(), 252);
        ExpectNode(model, 1, 0.2, 0.0, 0.4625313);
        ASSERT_EQ(model.pCoords()->entries(), 3);
        // A at the origin; B and C on the axes the file gives.
        const double points[3][9] = {{0, 0, 0, 0, -1, 0, 0, 0, -1},
                                     {0, 0, 0, -1, 0, 0, 0, 0, -1},
                                     {0, 0, 0, -1, 0, 0, 0, 0, -1}};
        for (int i = 0; i < 3; ++i) {
            CKpCoord* frame = model.pCoords()->find(3 + i);
            ASSERT_NE(frame, nullptr) << 3 + i;
            EXPECT_EQ(static_cast<int>(frame->type()), 1);
            EXPECT_EQ(frame->rid(), 0);
            for (int k = 0; k < 9; ++k) EXPECT_EQ(frame->coords(k), points[i][k]) << 3 + i << k;
        }
    }
}

// Double-precision records written by hand: one in a byte-swapped file
// reads the same, one whose length fits no double layout is skipped with
// the warning (never read as single precision), and another card in double
// precision likewise.
TEST(ReadOp2, DoublePrecisionRecordsSwappedOrUnfitting) {
    // One keyed record (k1, k2, k3) of `entries` in datablock `block`.
    auto write = [](const std::string& path, int k3, const std::vector<int>& entries,
                    const char* block, int k1, int k2) {
        std::vector<int> record = {k1, k2, k3};
        record.insert(record.end(), entries.begin(), entries.end());
        WriteDatablock(path, block, 7, {record});
    };
    // Two nodes: 7 at (1.25, -2, 1e-300) and 8 at (3, 4, 5), in frame 2.
    auto grid = [](int nid, double x, double y, double z, bool exchanged) {
        std::vector<int> w = {nid, 2};
        for (double v : {x, y, z}) {
            int two[2];
            std::memcpy(two, &v, 8);
            // The swapper reverses each word: words given in exchanged order
            // come out as the whole 8 bytes reversed, as a big-endian file.
            if (exchanged) std::swap(two[0], two[1]);
            w.push_back(two[0]);
            w.push_back(two[1]);
        }
        w.insert(w.end(), {0, 0, 0});
        return w;
    };
    const std::string path = TempPath("double_grid");
    for (bool swapped : {false, true}) {
        SCOPED_TRACE(swapped);
        std::vector<int> entries = grid(7, 1.25, -2.0, 1e-300, swapped);
        std::vector<int> second = grid(8, 3.0, 4.0, 5.0, swapped);
        entries.insert(entries.end(), second.begin(), second.end());
        write(path, 1120001, entries, "GEOM1", 4501, 45);
        if (swapped) {
            const std::string plain = Slurp(path);
            std::ofstream(path, std::ios::binary | std::ios::trunc) << SwapOp2Bytes(
                plain, [](const std::string&, int, int, const int*) { return false; });
        }
        CKpLayup model(nullptr, nullptr);
        ASSERT_EQ(read_op2(path.c_str(), &model, 1, 0), 0);
        ASSERT_EQ(model.pNodes()->entries(), 2);
        // Exactly the 8-byte reals written.
        ExpectNode(model, 7, 1.25, -2.0, 1e-300, 0.0);
        ExpectNode(model, 8, 3.0, 4.0, 5.0, 0.0);
        EXPECT_EQ(model.pNodes()->find(7)->GetCp(), 2);
    }
    // 16 words: two single-precision GRID entries, but no double one.
    // The file read with `modelFlags` into `model`: status 0, the messages.
    auto read = [&path](CKpLayup& model, int modelFlags) {
        int status = -1;
        const std::string log = CaptureMessages(
            model, path, [&](CKpLayup& m) { status = read_op2(path.c_str(), &m, modelFlags, 0); });
        EXPECT_EQ(status, 0);
        return log;
    };
    write(path, 1120001, std::vector<int>(16, 0x3f800000), "GEOM1", 4501, 45);
    {
        CKpLayup model(nullptr, nullptr);
        const std::string log = read(model, 1);
        EXPECT_EQ(model.pNodes()->entries(), 0);
        EXPECT_EQ(Count(log,
                        "GRID record of datablock GEOM1    skipped: its length fits no entry "
                        "layout"),
                  1)
            << log;
    }
    // A MAT1 in double precision has no layout read here.
    write(path, 1000077, std::vector<int>(24, 0), "MPT", 103, 1);
    {
        CKpLayup model(nullptr, nullptr);
        const std::string log = read(model, 2);
        EXPECT_EQ(model.pMats()->entries(), 0);
        EXPECT_EQ(Count(log, "MAT1 record of datablock MPT      skipped"), 1) << log;
    }
    std::remove(path.c_str());
}

// modes_elements.op2: modes 1 and 3 have one frequency. Mode 1 keeps the
// names every other reader gives; mode 3's results are named apart, once
// said, and hold mode 3's own values.
TEST(ReadOp2, ModesOfOneFrequencyKeepTheirOwnResults) {
    CKpLayup model(nullptr, nullptr);
    int status = -1;
    const std::string log = ReadWithMessages(model, "modes_elements.op2", &status);
    ASSERT_EQ(status, 0);
    const char* first = "SUBCASE 1:Freq.=1.48225E-10";
    const char* third = "SUBCASE 1:Freq.=1.48225E-10 Mode 3";
    EXPECT_EQ(Count(log, std::string("'DEFAULT' / '") + third + "': '" + first +
                             "' is taken by an earlier subcase."),
              1)
        << log;
    EXPECT_EQ(model.pRess()->entries(), 21);  // 3 modes x (5 layers + 2 force results)
    for (const char* n4 : {"Layer 1", "Layer 5"}) {
        SCOPED_TRACE(n4);
        CKpRes* a = FindResult(model, "DEFAULT", first, "Stress Tensor", "Fibre Directions", n4);
        CKpRes* c = FindResult(model, "DEFAULT", third, "Stress Tensor", "Fibre Directions", n4);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(a->GetNumElements(), c->GetNumElements());
        // The modes differ in shape: their values are not one another's.
        int differ = 0;
        for (int k = 0; k < a->ResElems()->entries(); ++k) {
            CKpResElem* ea = (*a->ResElems())[k];
            CKpResElem* ec = c->ResElems()->find(ea->id());
            ASSERT_NE(ec, nullptr) << ea->id();
            for (int v = 0; v < ea->GetNumFloats(); ++v)
                differ += ea->GetFloat(v) != ec->GetFloat(v);
        }
        EXPECT_GT(differ, 0);
    }
    EXPECT_NE(FindResult(model, "DEFAULT", third, "Shell Forces", "Bending Moments", ""), nullptr);
    EXPECT_NE(FindResult(model, "DEFAULT", "SUBCASE 1:Freq.=3.35394E-09", "Shell Forces",
                         "Membrane Forces", ""),
              nullptr);
    // A second read into the same model names its own results as the first
    // read did: the names told apart are those of one read.
    CKpLayup again(nullptr, nullptr);
    ASSERT_EQ(read_op2(DataFile("modes_elements.op2").c_str(), &again, 7, 7), 0);
    ASSERT_EQ(read_op2(DataFile("modes_elements.op2").c_str(), &again, 7, 7), 0);
    EXPECT_EQ(again.pRess()->entries(), 42);
    for (int i = 0; i < 21; ++i)
        EXPECT_STREQ((*again.pRess())[21 + i]->name(1), (*model.pRess())[i]->name(1)) << i;
}

namespace {

long PeakKilobytes() {
    struct rusage usage;
    return getrusage(RUSAGE_SELF, &usage) == 0 ? usage.ru_maxrss : -1;
}

int OpenDescriptors() {
    int n = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++n;
        closedir(dir);
    }
    return n;
}

// A host whose abort poll throws, as a container inside the host's code
// would when asked for more than it can hold.
class ThrowingGUI : public RecordingGUI {
  public:
    int UiAbort() override { throw std::length_error("vector::_M_default_append"); }
};

}  // namespace

// A PCOMPT datablock whose range record declares 2^28 global ply ids while
// its id record holds 3: the ids are read and reported as before, and the
// array takes what the record holds, not the 1 GiB the count asks for.
TEST(ReadOp2, GlobalPlyIdCountIsBoundByItsRecord) {
    const std::string path = TempPath("pcompt_count");
    WriteDatablock(path, "PCOMPT", 0,
                   {{5, 1, 0},        // laminate 5, solver option 1
                    {5, 1 << 28, 0},  // 2^28 ids from index 0
                    {11, 12, 13}});   // the ids
    EXPECT_LT(Slurp(path).size(), 1000u);

    CKpLayup model(nullptr, nullptr);
    int status = -1;
    const long before = PeakKilobytes();
    const std::string log = CaptureMessages(
        model, path, [&](CKpLayup& m) { status = read_op2(path.c_str(), &m, 4, 0); });
    const long grown = PeakKilobytes() - before;
    std::remove(path.c_str());
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Count(log, "PCOMPT table: 3 gplyids were read but 268435456 were expected"), 1)
        << log;
    EXPECT_LT(grown, 64L * 1024) << "kilobytes taken by a file of under a kilobyte";
}

// An exception inside the import (here from the host's abort poll) ends
// read_op2 with 1 and the error naming it, closes the file, keeps what was
// read; the next read runs to its end.
TEST(ReadOp2, ExceptionInsideEndsTheReadWithItsFailure) {
    ThrowingGUI gui;
    CKpLayup model(nullptr, &gui);
    const int descriptors = OpenDescriptors();
    int status = -1;
    std::string log;
    EXPECT_NO_THROW(log = ReadWithMessages(model, "d200obus.op2", &status));
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Count(log, "read_op2 could not complete: vector::_M_default_append."), 1) << log;
    EXPECT_EQ(OpenDescriptors(), descriptors);
    // The datablocks before the poll that threw stay read.
    EXPECT_LE(model.pNodes()->entries(), 149);

    CKpLayup plain(nullptr, nullptr);
    EXPECT_EQ(read_op2(DataFile("d200obus.op2").c_str(), &plain, 7, 7), 0);
    EXPECT_EQ(plain.pNodes()->entries(), 149);
}
