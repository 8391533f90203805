#include "op2reader/read_op2.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOrient.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/IVekResult.h"
#include "tests/support/Op2Swap.h"
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
