#include "layuplib/read_lyp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpElemAnsys.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpOffStore.h"
#include "layuplib/CKpOrientStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/CKpTolStore.h"
#include "layuplib/LayerRecreate.h"
#include "layuplib/add_layer.h"
#include "layuplib/read_lypgroup.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

std::string DataFile(const char* name) {
    // CTest names the folder; a direct run finds it beside this source.
    const char* dir = std::getenv("PLYSTRAND_TEST_DATA");
    std::string root = dir ? dir : std::string(__FILE__);
    if (!dir) root = root.substr(0, root.find_last_of('/')) + "/../data";
    return root + "/lyp/" + name;
}

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The bytes as a gzip stream of stored (uncompressed) deflate blocks: a
// valid stream for zlib's reader, made without linking zlib here.
std::string Gzip(const std::string& bytes) {
    uint32_t table[256];
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    crc ^= 0xFFFFFFFFu;
    auto le = [](std::string& out, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    std::string out("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\xff", 10);
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(bytes.size() - at, 65535);
        out += static_cast<char>(at + n == bytes.size() ? 1 : 0);  // final block flag
        le(out, static_cast<uint32_t>(n), 2);
        le(out, static_cast<uint32_t>(~n & 0xFFFF), 2);
        out.append(bytes, at, n);
        at += n;
    } while (at < bytes.size());
    le(out, crc, 4);
    le(out, static_cast<uint32_t>(bytes.size()), 4);
    return out;
}

// A model with its message file, so that information messages can be
// checked too.
class LypRead : public ::testing::Test {
  protected:
    RecordingGUI gui;
    MemoryDB db;
    std::unique_ptr<CKpLayup> model{new CKpLayup(&db, &gui)};
    std::string msgPath = ::testing::TempDir() + "read_lyp_" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".msg";
    std::vector<std::string> temps;

    void SetUp() override { ASSERT_EQ(model->OpenMessage(msgPath.c_str()), 0); }
    void TearDown() override {
        model->CloseMessage();
        std::remove(msgPath.c_str());
        for (const std::string& t : temps) std::remove(t.c_str());
    }
    std::string Log() const { return Slurp(msgPath); }
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
    // The lines appear in this order (others may stand between them).
    ::testing::AssertionResult LoggedInOrder(const std::vector<std::string>& lines) const {
        const std::string log = Log();
        size_t at = 0;
        for (const std::string& line : lines) {
            const size_t found = log.find("$# " + line + "\n", at);
            if (found == std::string::npos)
                return ::testing::AssertionFailure() << "no '" << line << "' in order in\n" << log;
            at = found;
        }
        return ::testing::AssertionSuccess();
    }
    // A file of the test's own (tests run in parallel processes).
    std::string Temp(const std::string& name, const std::string& bytes) {
        temps.push_back(::testing::TempDir() + "read_lyp_" +
                        ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
                        name);
        WriteFile(temps.back(), bytes);
        return temps.back();
    }
    int Read(const std::string& path, int compressed = 0) {
        model->pFile()->SetName(path.c_str());
        return read_lyp(model.get(), compressed);
    }
};

// ---------------------------------------------------------------- records

TEST_F(LypRead, EveryRecordOfAFullFile) {
    ASSERT_EQ(Read(DataFile("full.lyp")), 1);
    EXPECT_EQ(Log().find("ERROR"), std::string::npos) << Log();

    // Header: texts decoded, view, ANSYS element types with key options.
    EXPECT_STREQ(model->pFile()->GetName(), "model one.lyp");
    EXPECT_TRUE(Near(model->pView()->xfm(0, 1), std::sin(0.5), tol::angle));
    ASSERT_TRUE(model->pAnsys()->pEts()->find(2));
    EXPECT_EQ(model->pAnsys()->pEts()->find(2)->GetKeyopt(11), 2);

    // Ply, linked to its material and pattern, with its events.
    CKpPly* ply = model->pPlys()->find(1);
    ASSERT_TRUE(ply);
    EXPECT_EQ(ply->pMat(), model->pMats()->find(1));
    EXPECT_EQ(ply->pPat(), model->pPats()->find(1));
    EXPECT_EQ(ply->Events().Count(), 2);

    // Material: base set and one further state.
    CKpMat* mat = model->pMats()->find(1);
    EXPECT_STREQ(mat->extmtrlnm(), "GL-1");
    // One value from each stretch of the material records.
    EXPECT_EQ((std::vector<double>{mat->c16(), mat->nuzx(), mat->a6(), mat->f31(), mat->b3()}),
              (std::vector<double>{0.3, 0.31, 6e-05, -0.3, 0.6}));
    ASSERT_EQ(mat->MatStates()->entries(), 1);
    CKpMatProp* state = mat->MatStates()->First();
    EXPECT_DOUBLE_EQ(state->fyt(), 410);
    EXPECT_STREQ(state->extmtrlnm(), "GL-1 sheared");

    // Layup and its layup ply, linked to the ply.
    EXPECT_STREQ(model->pLyp()->name(), "My layup");
    CKpLypPly* lp = model->pLyp()->LypPlys().find(1);
    ASSERT_TRUE(lp);
    EXPECT_EQ(lp->pPly(), ply);
    EXPECT_EQ(lp->gplyid(), 7);
    EXPECT_STREQ(lp->sequence(), "seq1");

    // Nodes and elements, linked.
    EXPECT_DOUBLE_EQ(model->pNodes()->find(6)->getCKpPointX(), 2.0);
    CKpElem* e1 = model->pElems()->find(1);
    CKpElem* e2 = model->pElems()->find(2);
    ASSERT_TRUE(e1 && e2);
    EXPECT_EQ(e1->getckpnodes(2), model->pNodes()->find(5));
    ASSERT_TRUE(e1->pAnsys());
    EXPECT_EQ((std::vector<double>{1.0 * e2->gettpmd(), e2->getoff_val(),
                                   1.0 * e1->pAnsys()->Get(2), e1->theta()}),
              (std::vector<double>{181, 0.1, 1, 0.5}));
    // Element 2 had no orientation: it is given the default one.
    ASSERT_TRUE(e2->pOrient());
    EXPECT_STREQ(e2->pOrient()->name(), "Default");

    // Pattern.
    CKpPat* pat = model->pPats()->find(1);
    EXPECT_STREQ(pat->axsdn(), "45 deg");
    EXPECT_DOUBLE_EQ(pat->stx(), 0.5);  // from 405, not from the eye point
    EXPECT_EQ(pat->mid(), 100);         // kept as written
    EXPECT_STREQ(pat->originName(), "origin A");
    ASSERT_TRUE(pat->SeedCurve(1) && pat->SeedCurve(1)->First());
    EXPECT_EQ(pat->SeedCurve(1)->First()->Edge(), 3);
    ASSERT_EQ(pat->PatSplits()->entries(), 2);
    EXPECT_EQ(pat->PatSplits()->First()->flag(), 3);
    ASSERT_EQ(pat->PatElems()->entries(), 2);
    CKpPatElem* pe = pat->PatElems()->Last();
    EXPECT_EQ(pe->pelem(), e2);
    EXPECT_DOUBLE_EQ(pe->thickness(), 0.3);

    // Offsets: the named one keeps its id; the second is numbered and named
    // by the next id.
    CKpOff* off = model->pOffs()->find(3);
    ASSERT_TRUE(off);
    EXPECT_STREQ(off->originName(), "orig");
    EXPECT_EQ(off->Elems().entries(), 2);
    ASSERT_TRUE(model->pOffs()->find(4));
    EXPECT_STREQ(model->pOffs()->find(4)->name(), "4");

    // Tolerances.
    EXPECT_EQ(
        (std::vector<double>{model->pGTol()->getthktol(), model->pTols()->find(2)->getangtol(),
                             1.0 * model->pTols()->find(1)->pElems()->entries()}),
        (std::vector<double>{4.0, 0.3, 1}));

    // Sets: a run carried over onto the next 902 line.
    CKpSet* set = model->pSets()->find(4);
    ASSERT_TRUE(set);
    ASSERT_EQ(set->GetNumIds(), 23);
    std::vector<int> ids(23);
    set->GetIds(23, ids.data());
    EXPECT_EQ((std::vector<int>{ids[1], ids[21], ids[22]}), (std::vector<int>{3, 30, 40}));
    EXPECT_STREQ(model->pSets()->find(9)->name(), "");

    // Orientation.
    ASSERT_TRUE(model->pOrients()->find(1));
    EXPECT_EQ(e1->pOrient(), model->pOrients()->find(1));
}

TEST_F(LypRead, IdClashRenumbersAndRelinks) {
    ASSERT_EQ(Read(DataFile("clash.lyp")), 1);

    // The second material of id 1 (type 2) takes the highest id + 1 = 4.
    CKpMat* carbon = model->pMats()->find(4);
    ASSERT_TRUE(carbon);
    EXPECT_EQ(carbon->oldid(), 1);
    EXPECT_STREQ(model->pPats()->find(2)->pttrnnm(), "projected_pattern");

    // The plies of type 2 follow the renumbered material and pattern; the
    // type-3 ply stays on the originals; ply 8 names material 3, no clash.
    CKpPly* draped = model->pPlys()->find(5);
    CKpPly* projected = model->pPlys()->find(6);
    CKpPly* other = model->pPlys()->find(8);
    ASSERT_TRUE(draped && projected && other);
    // {material, pattern} per ply; ply 8's pattern of id 1 and type 2 moved.
    EXPECT_EQ((std::vector<int>{draped->mtrlid(), draped->pttrnid(), projected->mtrlid(),
                                projected->pttrnid(), other->mtrlid(), other->pttrnid()}),
              (std::vector<int>{1, 1, 4, 2, 3, 2}));

    // Layup plies: the one naming ply 5 with type 2 moves to ply 6.
    CKpLypPlyStore& lps = model->pLyp()->LypPlys();
    EXPECT_EQ((std::vector<CKpPly*>{lps.find(1)->pPly(), lps.find(2)->pPly(), lps.find(3)->pPly()}),
              (std::vector<CKpPly*>{draped, projected, other}));
}

TEST_F(LypRead, EarlierVersionWithShortRecords) {
    ASSERT_EQ(Read(DataFile("old_version.lyp")), 1);
    EXPECT_TRUE(
        Logged("$# The selected layup file old.lyp of version 0 is earlier than the "
               "supported version 20081003. On saving, the file will be converted to the "
               "supported version using default values."))
        << Log();

    // Tail rules: absent leading values 0, trailing values only when given.
    CKpMat* painted = model->pMats()->find(1);
    EXPECT_EQ(painted->lyrtp(), 2);  // painted is stored as projected
    EXPECT_EQ(painted->dir(), 1);    // from the painted type of 501
    // thckmlt ex ey ez c25 (kept from the full record) alpy fyt fzt fs12
    EXPECT_EQ((std::vector<double>{painted->thckmlt(), painted->ex(), painted->ey(), painted->ez(),
                                   painted->c25(), painted->alpy(), painted->fyt(), painted->fzt(),
                                   painted->fs12()}),
              (std::vector<double>{1.0, 72000, 1, 0, 0.5, 2e-05, 20, 0, 50}));
    CKpMatProp* state = painted->MatStates()->First();
    ASSERT_TRUE(state);
    EXPECT_EQ((std::vector<double>{1.0 * state->dir(), state->ey(), state->fzt()}),
              (std::vector<double>{1, 12, 3}));
    EXPECT_EQ(model->pMats()->find(2)->dir(), 4);

    // Short 601 forms: global ply ids counted from 1001; groups empty.
    CKpLypPlyStore& lps = model->pLyp()->LypPlys();
    EXPECT_EQ(
        (std::vector<int>{lps.find(1)->gplyid(), lps.find(2)->gplyid(), lps.find(3)->gplyid()}),
        (std::vector<int>{1001, 1002, 55}));
    EXPECT_DOUBLE_EQ(lps.find(2)->thicknessOverride(), 0.1);
    EXPECT_STREQ(lps.find(4)->plyGroup(), "grp");
    EXPECT_STREQ(lps.find(4)->sequence(), "");
}

TEST_F(LypRead, VersionRecordMessages) {
    // A later version warns at once, names the file of record 001 and reads on.
    const std::string later = Temp("later.lyp", "001 newer.lyp\n006 20991231\n101 0 4\n** END\n");
    ASSERT_EQ(Read(later), 1);
    EXPECT_TRUE(
        Logged("WARNING: The selected layup file newer.lyp of version 20991231 is later "
               "than the version 20081003 supported by this product."));
    EXPECT_TRUE(model->pNodes()->find(4));
    ASSERT_EQ(gui.texts(2).size(), 1u);

    // The current version gives no version message at all.
    model->reinit();
    gui.clear();
    ASSERT_EQ(Read(Temp("current.lyp", "006 20081003\n** END\n")), 1);
    EXPECT_EQ(gui.texts(2).size(), 0u);
}

TEST_F(LypRead, LegacyDrapeRecordsBindTheNextPattern) {
    ASSERT_EQ(Read(DataFile("legacy_drape.lyp")), 1);
    CKpDrape* drape = model->pDrapeSim()->pDrape();
    // Points at (2, 3) and (0, 0); the repeated 420 adds none, and the 420
    // after the binding is no longer taken.
    EXPECT_EQ(drape->GetCount(), 2);
    const CKpDrapePt* point = drape->pDrapePt(2, 3);
    ASSERT_TRUE(point && drape->pDrapePt(0, 0));
    EXPECT_DOUBLE_EQ(point->GetPoint().getz(), 3.0);  // the second 420 changed nothing
    EXPECT_DOUBLE_EQ(point->GetEndFrac(1), 0.5);
    EXPECT_EQ(point->GetEndFrac(0), CKpDrapePt::kNoEndFrac);  // corner 4 had no effect
    // The first pattern received no 417-419 or 430 record: the second is bound.
    EXPECT_EQ(model->pDrapeSim()->pPat(), model->pPats()->find(2));
    EXPECT_EQ(model->pDrapeSim()->patStored(), 1);
    // Emptying the model leaves the stored pattern to its store.
    model->reinit();
    EXPECT_EQ(model->pDrapeSim()->pPat(), nullptr);
}

// The drape grid is dense over the box of its points, so a point may widen
// it only as far as the bytes read so far back (64 cells each): a drape's
// own points, read outwards from the start point, all pass; a far index on
// a short line is ignored with a warning, and so are the corners after it.
TEST_F(LypRead, DrapePointsWidenTheGridOnlyAsTheFileBacksIt) {
    // 29 bytes asking for a grid of gigabytes: both points are ignored.
    const std::string far = Temp("far.lyp", "000\n420 1000000 0\n420 0 1000\n");
    EXPECT_EQ(Read(far), 0);  // no "** END" banner
    EXPECT_TRUE(Logged("WARNING: Drape point (1000000, 0) on line 2 of layup file '" + far +
                       "' would widen the drape grid to 201024321 cells, more than 64 for each "
                       "of the 18 bytes read; the point is ignored."))
        << Log();
    EXPECT_TRUE(Logged("WARNING: Drape point (0, 1000) on line 3 of layup file '" + far +
                       "' would widen the drape grid to 225321 cells, more than 64 for each of "
                       "the 29 bytes read; the point is ignored."))
        << Log();
    EXPECT_EQ(model->pDrapeSim()->pDrape()->GetCount(), 0);

    // A drape of 151 points read outwards from the start point.
    model->reinit();
    std::string text = "000\n";
    for (int u = 0; u <= 150; ++u) text += "420 " + std::to_string(u) + " 0 1.5 2.5 3.5\n";
    text += "420 -3000 0 1 1 1\n421 1 0.5 1 1 1\n420 149 0 7 7 7\n421 2 0.25 1 1 1\n** END\n";
    const std::string path = Temp("outwards.lyp", text);
    ASSERT_EQ(Read(path), 1) << Log();
    CKpDrape* drape = model->pDrapeSim()->pDrape();
    EXPECT_EQ(drape->GetCount(), 151);
    int umin = 1, umax = 0, vmin = 1, vmax = 0;
    drape->GetBounds(umin, umax, vmin, vmax);
    EXPECT_EQ((std::vector<int>{umin, umax, vmin, vmax}), (std::vector<int>{0, 150, 0, 0}));
    ASSERT_NE(drape->pDrapePt(150, 0), nullptr);
    EXPECT_DOUBLE_EQ(drape->pDrapePt(150, 0)->GetPoint().gety(), 2.5);
    // The point at u = -3000 would need a window of u -3020..163 and v
    // -100..100; 4 + 20 * 10 + 21 * 90 + 22 * 51 + 18 bytes were read.
    EXPECT_TRUE(Logged("WARNING: Drape point (-3000, 0) on line 153 of layup file '" + path +
                       "' would widen the drape grid to 639984 cells, more than 64 for each of "
                       "the 3234 bytes read; the point is ignored."))
        << Log();
    EXPECT_EQ(drape->pDrapePt(-3000, 0), nullptr);
    // The corners go to the point of the last 420 only when it exists.
    EXPECT_EQ(drape->pDrapePt(149, 0)->GetEndFrac(1), CKpDrapePt::kNoEndFrac);
    EXPECT_DOUBLE_EQ(drape->pDrapePt(149, 0)->GetEndFrac(2), 0.25);
    EXPECT_DOUBLE_EQ(drape->pDrapePt(149, 0)->GetPoint().getx(), 1.5);
}

TEST_F(LypRead, MalformedFieldOrUnreadableLineFails) {
    const std::string bad = Temp("bad.lyp", "101 0 1\n102 1.0 abc 3.0\n101 0 2\n");
    EXPECT_EQ(Read(bad), 0);
    EXPECT_TRUE(Logged("ERROR: Could not read record 102 on line 2 of layup file '" + bad +
                       "': field 2 'abc' is not a valid number."))
        << Log();
    EXPECT_FALSE(model->pNodes()->find(2));  // the read stopped there

    const char* cases[][3] = {
        {"nan.lyp", "101 0 1\n102 0 nan 0\n", "'nan' is not a valid finite number."},
        {"int.lyp", "901 1 s\n902 1 2.5\n", "'2.5' is not a valid integer."}};
    for (const auto& c : cases) {
        model->reinit();
        EXPECT_EQ(Read(Temp(c[0], c[1])), 0) << c[0];
        EXPECT_TRUE(Logged(std::string("field 2 ") + c[2])) << c[0];
    }

    // Short records and records without their current object pass silently.
    model->reinit();
    gui.clear();
    EXPECT_EQ(Read(Temp("short.lyp", "102 1 2 3\n302\n101 0\n204 1 2\n901\n902 4\n** END\n")), 1);
    EXPECT_EQ(gui.messages.size(), 0u);

    // Repeated ids: the first object stays, with a warning naming the line.
    model->reinit();
    const std::string dup = Temp("dup.lyp", "101 0 1\n102 1 0 0\n101 1 1\n102 9 9 9\n** END\n");
    EXPECT_EQ(Read(dup), 1);
    EXPECT_TRUE(
        Logged("WARNING: Duplicate node id 1 on line 3 of layup file '" + dup + "' ignored."));
    EXPECT_DOUBLE_EQ(model->pNodes()->find(1)->getCKpPointX(), 1.0);

    // A ply that never got its id record is dropped with a warning.
    model->reinit();
    EXPECT_EQ(Read(Temp("noid.lyp", "301 3\n303 lost\n** END\n")), 1);
    EXPECT_TRUE(Logged("WARNING: Ply opened on line 1 of layup file"));
    EXPECT_EQ(model->pPlys()->entries(), 0);
}

// An id the file gives twice takes the highest id + 1; when the highest is
// INT_MAX there is none: the read stops as for an object that cannot be
// made, and no object of a wrapped id is left.
TEST_F(LypRead, RepeatedIdAtTheHighestIsRefused) {
    const char* cases[][2] = {
        {"ply.lyp", "301 3\n302 2147483647\n301 3\n302 2147483647\n** END\n"},
        {"pattern.lyp", "401 3\n402 2147483647\n401 2\n402 2147483647\n** END\n"},
        {"material.lyp", "501 3\n502 2147483647\n501 3\n502 2147483647\n** END\n"},
        {"offset.lyp", "702 2147483647\n710 0 0 0\n702 2147483647\n710 1 1 1\n** END\n"},
        {"unnamed.lyp", "702 2147483647\n710 0 0 0\n710 1 1 1\n** END\n"}};
    for (const auto& c : cases) {
        model->reinit();
        EXPECT_EQ(Read(Temp(c[0], c[1])), 0) << c[0];
        EXPECT_TRUE(Logged("ERROR: Could not allocate memory.")) << c[0];
        // {entries, smallest id} of the store the file filled.
        const std::vector<int> held = {
            model->pPlys()->entries() + model->pPats()->entries() + model->pMats()->entries() +
                model->pOffs()->entries(),
            std::min({model->pPlys()->minId(), model->pPats()->minId(), model->pMats()->minId(),
                      model->pOffs()->minId()})};
        EXPECT_EQ(held, (std::vector<int>{1, 0})) << c[0];
    }
}

// Runs name at most one id for each byte read: a file's own sets pass, a
// line of a few bytes asking for billions of ids is ignored with the rest
// of its set, and the sets after it are read.
TEST_F(LypRead, SetRunsExpandToAtMost64IdsPerByteRead) {
    // 8 + 12 bytes by the end of line 2: a run of 1280 ids passes.
    ASSERT_EQ(Read(Temp("fits.lyp", "901 1 s\n902 1 -1281\n** END\n")), 1);
    EXPECT_EQ(model->pSets()->find(1)->GetNumIds(), 1281);

    const std::string text =
        "901 1 s\n902 1 -1282\n902 30\n901 2 t\n902 3 -6\n901 3 u\n902 1 -2000000000\n** END\n";
    for (int compressed = 0; compressed <= 1; ++compressed) {
        model->reinit();
        const std::string path = Temp("runs.lyp", compressed ? Gzip(text) : text);
        ASSERT_EQ(Read(path, compressed), 1) << Log();
        EXPECT_TRUE(Logged("WARNING: Set 1 on line 2 of layup file '" + path +
                           "' would bring the ids named by runs to 1281, more than 64 for each "
                           "of the 20 bytes read; the rest of the set is ignored."))
            << Log();
        // Runs counted over the file: 3 of set 2, then set 3's.
        EXPECT_TRUE(Logged("Set 3 on line 7 of layup file '" + path +
                           "' would bring the ids named by runs to 2000000002, more than 64 for "
                           "each of the 70 bytes read"))
            << Log();
        EXPECT_EQ((std::vector<int>{model->pSets()->find(1)->GetNumIds(),
                                    model->pSets()->find(2)->GetNumIds(),
                                    model->pSets()->find(3)->GetNumIds()}),
                  (std::vector<int>{0, 4, 0}));
    }
}

// Objects read at the highest id leave none for what later operations
// make: placing a ply beside a layup ply of id INT_MAX is refused and
// changes nothing.
TEST_F(LypRead, NoLayupPlyPastTheHighestIdOfAFile) {
    ASSERT_EQ(Read(Temp("top.lyp",
                        "301 3\n302 5\n303 draped\n"
                        "601 2147483647 gl 3 5 draped 1 1 0 0 1 1\n** END\n")),
              1)
        << Log();
    CKpLypPlyStore& lps = model->pLyp()->LypPlys();
    ASSERT_EQ(lps.entries(), 1);
    const int instances = model->pPlys()->find(5)->instances();
    EXPECT_EQ(
        add_layer(model->pMsg(), model->pPlys(), "draped", 1, 0.0, 0.0, 0, &lps, nullptr, nullptr),
        -1);
    EXPECT_TRUE(Logged("ERROR: Could not allocate memory.")) << Log();
    EXPECT_EQ(lps.entries(), 1);
    EXPECT_EQ(lps.minId(), 2147483647);
    EXPECT_EQ(model->pPlys()->find(5)->instances(), instances);
}

TEST_F(LypRead, ReopeningReplacesTheElementTypes) {
    // The element types outlive the emptying of the model: a second open
    // replaces them by those of the file instead of adding them again.
    for (int i = 0; i < 2; ++i) ASSERT_EQ(model->OpenLayup(DataFile("full.lyp").c_str(), 0), 0);
    EXPECT_EQ(model->pAnsys()->pEts()->entries(), 2);
}

TEST_F(LypRead, UserBreakKeepsWhatWasRead) {
    std::string text =
        "101 0 1\n102 0 0 0\n101 0 2\n102 1 0 0\n101 0 3\n102 0 1 0\n"
        "200 ELEMENT\n201 0 1 0\n202 1 11 0\n204 1 2 3\n";
    for (int i = 10; i < 15000; ++i) text += "101 0 " + std::to_string(i) + "\n";
    gui.abortAfterPolls = 0;
    ASSERT_EQ(Read(Temp("break.lyp", text)), 1);
    EXPECT_GT(gui.abortPolls, 0);
    const int nodes = model->pNodes()->entries();
    EXPECT_GT(nodes, 3);
    EXPECT_LT(nodes, 14990 + 3);
    // The post-read steps ran: the element is linked and has an orientation.
    EXPECT_TRUE(model->pElems()->find(1)->getckpnodes(2));
    EXPECT_TRUE(model->pElems()->find(1)->pOrient());
}

// ---------------------------------------------------------------- lines

TEST_F(LypRead, LinesOfAnyLengthAndALastLineWithoutLineFeed) {
    const std::string name(1100, 'n');
    const std::string text = "301 3\n302 1\n303 " + name + "\n901 1 s\n902 5 -9\n** END";
    for (int compressed = 0; compressed <= 1; ++compressed) {
        model->reinit();
        const std::string path =
            Temp("long.lyp", compressed ? Gzip(text) : text);  // the END line without a line feed
        ASSERT_EQ(Read(path, compressed), 1) << Log();
        ASSERT_TRUE(model->pPlys()->find(1) && model->pSets()->find(1));
        EXPECT_EQ(model->pPlys()->find(1)->name(), name);
        EXPECT_EQ(model->pSets()->find(1)->GetNumIds(), 5) << "compressed " << compressed;
        EXPECT_EQ(model->pLyp()->LypPlys().entries(), 0);  // no stray records from pieces
    }
}

// The records read most often go through their own field parser for lines
// under 64 bytes and the general one for longer lines; lines that lie
// across the reader's 64 KiB blocks are copied together. Wherever a line
// lies and however it is spaced, the model holds the same bits, the
// decimal value of each text.
TEST_F(LypRead, FrequentRecordsReadAlikeWhereverTheirLinesLie) {
    const int kNodes = 3000, kElems = 1500;
    // Field texts of the writer's kinds, a few the fast paths leave to the
    // general parser.
    const char* reals[] = {"0",           "-0",         "1.5707963",
                           "0.087266463", "1E-05",      "-1.2345678E+12",
                           "0.0007",      "12345678.9", "1.7976931348623157e308",
                           "+2.5",        "0x1p-3",     "123456789012345678",
                           ".5",          "7."};
    const int kReals = static_cast<int>(sizeof reals / sizeof reals[0]);
    auto real = [&](int i) { return std::string(reals[i % kReals]); };
    // The spacings: single blanks; tabs, blanks and a carriage return that
    // take every line past 64 bytes.
    for (int wide = 0; wide <= 1; ++wide) {
        for (int compressed = 0; compressed <= 1; ++compressed) {
            const std::string gap = wide ? std::string(" \t", 2) + std::string(9, ' ') : " ";
            const std::string end = wide ? std::string(40, ' ') + "\r" : "";
            auto line = [&](std::vector<std::string> fields) {
                std::string text = fields[0];
                for (size_t i = 1; i < fields.size(); ++i) text += gap + fields[i];
                return text + end + "\n";
            };
            // A banner of a length that moves every later line against the
            // block edges.
            std::string text = "** " + std::string(static_cast<size_t>(17 + 29 * wide), '*') + "\n";
            for (int n = 1; n <= kNodes; ++n) {
                text += line({"101", "0", std::to_string(n)});
                text += line({"102", real(n), real(n + 1), real(n + 2)});
            }
            for (int e = 1; e <= kElems; ++e) {
                text += line({"201", "0", std::to_string(e), "1", std::to_string(e % 7)});
                text += line({"202", "1", "1", "0"});
                text += line({"204", std::to_string(e), std::to_string(e + 1),
                              std::to_string(e + 2), std::to_string(e + 3)});
                text += line({"206", real(e), real(e + 3)});
                text += line({"207", std::to_string(e % 3), real(e + 5)});
            }
            text += line({"401", "3"}) + line({"402", "1"});
            for (int e = 1; e <= kElems; ++e)
                text += line({"430", "0", std::to_string(e), "1", real(e), real(e + 1), real(e + 2),
                              std::to_string(e % 2), std::to_string(e), real(e + 4)});
            text += "** END\n";
            model->reinit();
            const std::string path = Temp("frequent.lyp", compressed ? Gzip(text) : text);
            ASSERT_EQ(Read(path, compressed), 1) << Log();
            SCOPED_TRACE("wide " + std::to_string(wide) + " compressed " +
                         std::to_string(compressed));

            auto same = [&](double got, int i) {
                const double want = std::strtod(reals[i % kReals], nullptr);
                return std::memcmp(&got, &want, sizeof got) == 0;
            };
            ASSERT_EQ(model->pNodes()->entries(), kNodes);
            for (int n = 1; n <= kNodes; ++n) {
                const CKpNode* node = model->pNodes()->find(n);
                ASSERT_TRUE(node);
                ASSERT_TRUE(same(node->getCKpPointX(), n) && same(node->getCKpPointY(), n + 1) &&
                            same(node->getCKpPointZ(), n + 2))
                    << "node " << n;
            }
            ASSERT_EQ(model->pElems()->entries(), kElems);
            for (int e = 1; e <= kElems; ++e) {
                const CKpElem* elem = model->pElems()->find(e);
                ASSERT_TRUE(elem);
                ASSERT_EQ(elem->GetPatchID(), e % 7);
                for (int i = 0; i < 4; ++i) ASSERT_EQ(elem->getunid(i), e + i) << "element " << e;
                ASSERT_TRUE(same(elem->getangtol(), e) && same(elem->getthktol(), e + 3) &&
                            same(elem->getoff_val(), e + 5))
                    << "element " << e;
                ASSERT_EQ(elem->getoff_fg(), e % 3);
            }
            const CKpPat* pat = model->pPats()->find(1);
            ASSERT_TRUE(pat);
            ASSERT_EQ(pat->PatElems()->entries(), kElems);
            int e = 1;
            for (const CKpPatElem* pe = pat->PatElems()->First(); pe;
                 pe = pat->PatElems()->Next(pe), ++e) {
                ASSERT_EQ(pe->GetElemId(), e);
                ASSERT_TRUE(same(pe->shear(), e) && same(pe->warpAngle(), e + 1) &&
                            same(pe->weftAngle(), e + 2) && same(pe->thickness(), e + 4))
                    << "pattern element " << e;
            }
        }
    }
}

// Linking after the read: shape failures are dropped first (highest id
// first), then elements with missing nodes (ascending id, each missing
// position named), then the pattern elements of dropped elements; the
// elements left point at the nodes of their ids. Records out of id order and
// a repeated node id on the way.
TEST_F(LypRead, ShapeFailuresThenMissingNodesThenPatternElements) {
    std::string text = "** mesh\n";
    for (int n : {3, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}) {
        text += "101 0 " + std::to_string(n) + "\n";
        text += "102 " + std::to_string(n % 3) + " " + std::to_string(n / 3) + " 0\n";
    }
    text += "101 0 4\n102 9 9 9\n";  // a repeat: ignored with a warning
    const std::vector<std::pair<int, std::string>> elems = {
        {2, "2 3 6 5"},   {1, "1 2 5 4"},  {3, "1 1 2 3"},    {4, "4 5 8 7"},   {5, "5 99 9 8"},
        {6, "7 8 11 10"}, {7, "0 8 9 12"}, {8, "98 9 12 97"}, {9, "99 99 3 4"}, {10, "8 9 12 11"},
    };
    for (const auto& e : elems)
        text += "201 0 " + std::to_string(e.first) + " 1 0\n202 1 1 0\n204 " + e.second + "\n";
    text += "401 3\n402 1\n403 P\n";
    for (int e = 1; e <= 10; ++e)
        text += "430 0 " + std::to_string(e) + " 1 0 0.5 2 1 " + std::to_string(e) + "\n";
    text += "** END\n";
    ASSERT_EQ(Read(Temp("links.lyp", text)), 1) << Log();

    EXPECT_TRUE(LoggedInOrder({
        "WARNING: Duplicate node id 4 on line 26 of layup file '" + temps.back() + "' ignored.",
        "WARNING: Shape check failed for element 9, deleting from the element store.",
        "WARNING: Shape check failed for element 7, deleting from the element store.",
        "WARNING: Shape check failed for element 3, deleting from the element store.",
        "WARNING: Missing node 2 id 99 on element id 5.",
        "WARNING: Deleting element id 5.",
        "WARNING: Missing node 1 id 98 on element id 8.",
        "WARNING: Missing node 4 id 97 on element id 8.",
        "WARNING: Deleting element id 8.",
        "WARNING: Element 3 referenced by pattern P does not exist, deleting the pattern element "
        "data.",
        "WARNING: Element 5 referenced by pattern P does not exist, deleting the pattern element "
        "data.",
        "WARNING: Element 7 referenced by pattern P does not exist, deleting the pattern element "
        "data.",
        "WARNING: Element 8 referenced by pattern P does not exist, deleting the pattern element "
        "data.",
        "WARNING: Element 9 referenced by pattern P does not exist, deleting the pattern element "
        "data.",
    }));
    // An element dropped for its shape draws no missing-node message.
    EXPECT_FALSE(Logged("on element id 9."));
    EXPECT_FALSE(Logged("on element id 7."));
    EXPECT_FALSE(Logged("Deleting element id 3."));

    CKpNodeStore* nodes = model->pNodes();
    CKpElemStore* store = model->pElems();
    ASSERT_EQ(nodes->entries(), 12);
    EXPECT_EQ(nodes->find(4)->getCKpPointX(), 1.0);  // the first node 4 stays
    const std::vector<int> kept = {1, 2, 4, 6, 10};
    ASSERT_EQ(store->entries(), static_cast<int>(kept.size()));
    for (int id : kept) {
        const CKpElem* e = store->find(id);
        ASSERT_TRUE(e) << id;
        for (int i = 0; i < 4; ++i) {
            ASSERT_TRUE(e->getckpnodes(i)) << "element " << id << " node " << i;
            EXPECT_EQ(e->getckpnodes(i), nodes->find(e->getunid(i)));
        }
    }
    const CKpPat* pat = model->pPats()->find(1);
    ASSERT_TRUE(pat);
    ASSERT_EQ(pat->PatElems()->entries(), static_cast<int>(kept.size()));
    size_t k = 0;
    for (const CKpPatElem* pe = pat->PatElems()->First(); pe; pe = pat->PatElems()->Next(pe), ++k) {
        EXPECT_EQ(pe->elemId(), kept[k]);
        EXPECT_EQ(pe->pelem(), store->find(kept[k]));
        EXPECT_EQ(pe->order(), kept[k]);
    }
}

TEST(ReadLypGroup, CodesLineNumbersAndTheLineCap) {
    const std::string path = ::testing::TempDir() + "read_lypgroup.lyp";
    WriteFile(path, "**\n006 20081003\r\n\n12\nabc\n" + std::string(LYP_MAX_LINE + 1, 'x') +
                        "\n101 0 1\n");
    LypStream in;
    ASSERT_EQ(in.Open(path.c_str(), 0), 0);
    LypGroup g;
    const int codes[] = {0, 6, 0, 12, 0};
    for (int expected : codes) {
        ASSERT_EQ(read_lypgroup(in, g), 1);
        EXPECT_EQ(g.code, expected) << g.text;
    }
    EXPECT_EQ(g.line, 5);
    EXPECT_EQ(read_lypgroup(in, g), -1);
    EXPECT_EQ(g.line, 6);
    EXPECT_NE(std::string(in.Error()).find("longer than"), std::string::npos);
    EXPECT_EQ(read_lypgroup(in, g), -1);  // a failed stream stays failed
    EXPECT_EQ(in.Close(), 0);
    std::remove(path.c_str());

    EXPECT_EQ(in.Open(nullptr, 0), -1);
    EXPECT_EQ(read_lypgroup(in, g), -1);
}

TEST_F(LypRead, TruncatedGzipStreamIsAnError) {
    std::string text;
    for (int i = 1; i <= 2000; ++i)
        text += "101 0 " + std::to_string(i) + "\n102 " + std::to_string(i) + " 0 0\n";
    const std::string whole = Gzip(text);
    const std::string cut = Temp("cut.lyp.gz", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(Read(cut, 1), 0);
    EXPECT_TRUE(Logged("of layup file '" + cut + "': the compressed data is corrupt or ends early"))
        << Log();
    EXPECT_FALSE(Logged("Could not close file."));

    // Through OpenLayup the failure is reported as such.
    EXPECT_EQ(model->OpenLayup(cut.c_str(), 1), -1);
}

// A gzip stream many read blocks long (it inflates ahead of the lines handed
// out) gives the plain file's lines, codes and line numbers; its end stays
// the end; a stream closed or reopened part way does not wait for the rest;
// a cut stream fails at a line past every whole block before the cut.
TEST_F(LypRead, LongGzipStreamReadsLikeThePlainFile) {
    std::string text;
    for (int i = 1; i <= 60000; ++i)
        text += "101 0 " + std::to_string(i) + "\n102 " + std::to_string(i % 977) + ".25 0 -1\n";
    text += "** END";  // a last line without line feed
    const std::string plain = Temp("long.lyp", text);
    const std::string whole = Gzip(text);
    const std::string packed = Temp("long.lyp.gz", whole);

    LypStream a, b;
    ASSERT_EQ(a.Open(plain.c_str(), 0), 0);
    ASSERT_EQ(b.Open(packed.c_str(), 1), 0);
    EXPECT_EQ(b.Compressed(), 1);
    LypGroup ga, gb;
    long lines = 0;
    for (;;) {
        const int ra = read_lypgroup(a, ga);
        const int rb = read_lypgroup(b, gb);
        ASSERT_EQ(ra, rb) << "line " << ga.line;
        if (ra != 1) break;
        ++lines;
        ASSERT_EQ(ga.text, gb.text);
        ASSERT_EQ(ga.code, gb.code);
        ASSERT_EQ(ga.line, gb.line);
    }
    EXPECT_EQ(lines, 120001);
    EXPECT_EQ(gb.text, "");
    EXPECT_EQ(read_lypgroup(b, gb), 0);  // the end is read again as the end
    EXPECT_EQ(b.Close(), 0);
    EXPECT_EQ(a.Close(), 0);

    // Closed, then reopened, after a few lines.
    ASSERT_EQ(b.Open(packed.c_str(), 1), 0);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(read_lypgroup(b, gb), 1);
    EXPECT_EQ(gb.text, "101 0 2");
    ASSERT_EQ(b.Open(packed.c_str(), 1), 0);
    ASSERT_EQ(read_lypgroup(b, gb), 1);
    EXPECT_EQ(gb.text, "101 0 1");
    EXPECT_EQ(gb.line, 1);
    EXPECT_EQ(b.Close(), 0);

    // Cut in the middle: every line before the damage reads, then the
    // failure, which stays.
    const std::string cut = Temp("long_cut.lyp.gz", whole.substr(0, whole.size() / 2));
    ASSERT_EQ(b.Open(cut.c_str(), 1), 0);
    int got = 0;
    while ((got = read_lypgroup(b, gb)) == 1) {
    }
    EXPECT_EQ(got, -1);
    EXPECT_GT(gb.line, 1000);
    EXPECT_LT(gb.line, 120001);
    EXPECT_NE(std::string(b.Error()).find("corrupt or ends early"), std::string::npos) << b.Error();
    EXPECT_EQ(read_lypgroup(b, gb), -1);
    b.Close();

    // A plain file opened as compressed reads as it is.
    ASSERT_EQ(b.Open(plain.c_str(), 1), 0);
    ASSERT_EQ(read_lypgroup(b, gb), 1);
    EXPECT_EQ(gb.text, "101 0 1");
    EXPECT_EQ(gb.code, 101);
}

// ---------------------------------------------------------------- lifecycle

TEST_F(LypRead, OpenLayupOfAMissingFileKeepsTheModel) {
    ASSERT_EQ(model->OpenLayup(DataFile("full.lyp").c_str(), 0), 0);
    const int elems = model->pElems()->entries(), nodes = model->pNodes()->entries(),
              plies = model->pPlys()->entries();
    ASSERT_GT(elems, 0);

    const std::string path = ::testing::TempDir() + "no_such_dir/none.lyp";
    EXPECT_EQ(model->OpenLayup(path.c_str(), 0), -1);
    EXPECT_TRUE(Logged("ERROR: Could not open file '" + path +
                       "' for reading. The file does not exist.\n$# ERROR: Could "
                       "not read layup file '" +
                       path + "'\n"))
        << Log();
    EXPECT_EQ(model->pElems()->entries(), elems);
    EXPECT_EQ(model->pNodes()->entries(), nodes);
    EXPECT_EQ(model->pPlys()->entries(), plies);
    EXPECT_EQ(model->OpenLayup(nullptr, 0), -1);
    EXPECT_EQ(model->pElems()->entries(), elems);
}

TEST_F(LypRead, OpenLayupBuildsTheModelAndDropsPliesWithoutMaterialOrPattern) {
    ASSERT_EQ(model->OpenLayup(DataFile("missing_refs.lyp").c_str(), 0), 0) << Log();
    EXPECT_TRUE(LoggedInOrder(
        {"Reinitialisation completed", "Layup file opened", "Facets created",
         "ERROR: Could not find material id 9 referenced by ply 'no material'. Ply will be "
         "deleted.",
         "ERROR: Could not find pattern id 9 referenced by ply 'no pattern'. Ply will be deleted.",
         "offset set to elements", "tolerance set to elements"}));

    // Only the good ply stays, rebuilt on its pattern's elements; the
    // layup keeps only its placement, and every element carries it.
    CKpPly* good = model->pPlys()->find(3);
    ASSERT_TRUE(good && model->pPlys()->entries() == 1);
    EXPECT_EQ(good->PlyElems().entries(), 2);
    EXPECT_EQ(model->pLyp()->LypPlys().entries(), 1);
    EXPECT_EQ(model->pLyp()->LypPlys().find(1)->pPly(), good);
    EXPECT_EQ(model->pElems()->find(2)->getElemLypPlies()->entries(), 1);

    // Rebuilding the plies of a placed layup places it again: the stacks
    // point at the new ply elements, or are emptied with the ply.
    LayerRecreate(model->pMsg(), model->pMats(), model->pPats(), model->pPlys());
    const CKpElemLypPly* entry = model->pElems()->find(2)->getElemLypPlies()->First();
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->getPlyElem(), good->PlyElems().Last());
    good->setMat(nullptr);
    good->setMtrlid(99);
    LayerRecreate(model->pMsg(), model->pMats(), model->pPats(), model->pPlys());
    EXPECT_EQ(model->pPlys()->entries(), 0);
    EXPECT_EQ(model->pElems()->find(2)->getElemLypPlies()->entries(), 0);
}

TEST_F(LypRead, LayerRecreateKeepsGoingAfterDeletedPlies) {
    // Plies 1 and 2 both lack their material; ply 3 is updated.
    CKpMatStore* mats = model->pMats();
    CKpPatStore* pats = model->pPats();
    CKpPlyStore* plys = model->pPlys();
    mats->New(1);
    pats->insert(new CKpPat(1));
    for (int id = 1; id <= 3; ++id) {
        CKpPly* ply = new CKpPly(id);
        ply->setname(("p" + std::to_string(id)).c_str());
        ply->setMtrlid(id == 3 ? 1 : 7);
        ply->setPttrnid(1);
        plys->insert(ply);
    }
    CKpLypPly* lp = new CKpLypPly(1);
    lp->setPly(plys->find(2));
    model->pLyp()->LypPlys().insert(lp);

    EXPECT_EQ(LayerRecreate(model->pMsg(), mats, pats, plys), 0);
    EXPECT_TRUE(Logged("Could not find material id 7 referenced by ply 'p1'."));
    EXPECT_TRUE(Logged("Could not find material id 7 referenced by ply 'p2'."));
    EXPECT_EQ(plys->entries(), 1);
    EXPECT_EQ(plys->find(3)->pPat(), pats->find(1));
    EXPECT_EQ(lp->pPly(), nullptr);  // no link to the deleted ply remains
    EXPECT_EQ(lp->lyrid(), 2);
}

TEST_F(LypRead, NewLayupTakesTheHostMesh) {
    db.mesh = meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0);
    ASSERT_EQ(model->NewLayup(0.0, 0.0), 0);
    EXPECT_EQ(model->pElems()->entries(), 6);
    EXPECT_EQ(model->pFacs()->entries(), 12);
    EXPECT_TRUE(
        LoggedInOrder({"Reinitialisation completed", "New Layup file created", "Facets created"}));

    // Coincident nodes merge only with a positive tolerance.
    meshgen::Mesh twice = db.mesh;
    twice.nodeIds.push_back(100);
    twice.xyz.insert(twice.xyz.end(), {0.0, 0.0, 0.0});
    db.mesh = twice;
    ASSERT_EQ(model->NewLayup(0.0, 0.0), 0);
    EXPECT_EQ(model->pNodes()->entries(), 13);
    ASSERT_EQ(model->NewLayup(1e-6, 0.0), 0);
    EXPECT_EQ(model->pNodes()->entries(), 12);

    // A failing host empties the model and says so.
    db.getMeshStatus = -1;
    EXPECT_EQ(model->NewLayup(0.0, 0.0), -1);
    EXPECT_TRUE(Logged("ERROR: Could not create new layup file"));
    EXPECT_EQ(model->pElems()->entries(), 0);
}

}  // namespace
