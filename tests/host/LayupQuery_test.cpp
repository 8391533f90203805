// Set, generated-data, layup index, curve and orientation queries on the
// slot's model: results, messages and the arrays refusals leave alone.

#include "host/LayupQuery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupExport.h"
#include "host/LayupOut.h"
#include "layuplib/CKpCoord.h"
#include "layuplib/CKpCoordStore.h"
#include "layuplib/CKpCurve.h"
#include "layuplib/CKpCurveStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpProp.h"
#include "layuplib/CKpPropElem.h"
#include "layuplib/CKpPropElemStore.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/CKpSet.h"
#include "layuplib/CKpSetStore.h"
#include "layuplib/IVekSolidGenSet.h"
#include "platform/MorvekStub.h"
#include "tests/support/LypTestModel.h"
#include "tests/support/MeshGen.h"

namespace {

const double kPi = std::acos(-1.0);

std::string Temp(const std::string& name) {
    return ::testing::TempDir() + "plystrand_query_" + std::to_string(getpid()) + "_" + name;
}

std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// Text buffers the way a host hands them over: one slot per entry.
struct Names {
    explicit Names(int n, int size = 64)
        : storage(static_cast<size_t>(n), std::string(static_cast<size_t>(size), '#')) {
        for (std::string& s : storage) ptrs.push_back(&s[0]);
    }
    std::string at(int k) const { return std::string(ptrs[static_cast<size_t>(k)]); }
    std::vector<std::string> storage;
    std::vector<char*> ptrs;
};

class LayupQueryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, nullptr, nullptr), 0);
        ASSERT_EQ(LayupOpenMessage(msgPath.c_str()), 0);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
        for (const std::string& p : {msgPath, indexPath}) std::remove(p.c_str());
    }
    CKpLayup& model() { return *static_cast<CKpLayup*>(LayupSlotModel()); }
    void Plate(int nx, int ny) {
        ASSERT_EQ(meshgen::LoadModel(model(), meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny)),
                  0);
    }
    // What the message file got since the last call.
    std::string Messages() {
        LayupCloseMessage();
        const std::string text = Text(msgPath);
        LayupOpenMessage(msgPath.c_str());  // a fresh file
        return text;
    }
    bool Logged(const std::string& text) { return Messages().find(text) != std::string::npos; }

    std::string msgPath = Temp("log.msg");
    std::string indexPath = Temp("index.txt");
};

int SetId(const char* name) {
    int size = -7, id = -7;
    EXPECT_EQ(LayupGetSetSize(name, &size, &id), 0) << name;
    return id;
}

std::vector<int> SetIds(int id, int count) {
    std::vector<int> ids(static_cast<size_t>(count), -5);
    EXPECT_EQ(LayupGetSet(id, count, ids.data()), 0);
    return ids;
}

TEST_F(LayupQueryTest, SetsAreNumberedNamedAndRefusedWhole) {
    Plate(2, 2);
    int n = -1;
    ASSERT_EQ(LayupGetNumSets(&n), 0);
    ASSERT_EQ(n, 0);
    int ab[2] = {4, 2};
    EXPECT_EQ(LayupCreateSet("A", 2, ab), 0);
    EXPECT_EQ(LayupCreateSet("B", 1, ab), 0);
    EXPECT_EQ(LayupCreateSet("C", 0, nullptr), 0);
    EXPECT_EQ(SetId("A"), 1);
    EXPECT_EQ(SetId("B"), 2);
    EXPECT_EQ(SetId("C"), 3);
    EXPECT_EQ(SetIds(1, 2), (std::vector<int>{2, 4}));

    // A duplicate name: refused, one set of that name.
    Messages();
    EXPECT_EQ(LayupCreateSet("B", 2, ab), -1);
    EXPECT_TRUE(Logged("Set name 'B' already used."));
    LayupGetNumSets(&n);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(SetIds(2, 1), (std::vector<int>{4}));

    // Names: a count one too large is refused with both numbers.
    Names names(4);
    EXPECT_EQ(LayupGetSetNames(4, names.ptrs.data()), 1);
    EXPECT_TRUE(Logged(
        "LayupGetSetNames: The set name array size 4 is not equal to the number of sets 3."));
    EXPECT_EQ(names.at(0).substr(0, 3), "###");
    EXPECT_EQ(LayupGetSetNames(3, names.ptrs.data()), 0);
    EXPECT_EQ(names.at(0), "A");
    EXPECT_EQ(names.at(1), "B");
    EXPECT_EQ(names.at(2), "C");

    // Copies of the wrong size or a missing set write nothing.
    std::vector<int> out(3, -5);
    EXPECT_EQ(LayupGetSet(1, 3, out.data()), 1);
    EXPECT_EQ(LayupGetSet(9, 2, out.data()), -1);
    EXPECT_EQ(out, (std::vector<int>{-5, -5, -5}));
    int size = -3, id = -3;
    EXPECT_EQ(LayupGetSetSize("Z", &size, &id), -1);
    EXPECT_EQ(size, -3);

    // A negative count or null ids never reach a set.
    Messages();
    EXPECT_EQ(LayupCreateSet("D", -1, ab), -1);
    EXPECT_TRUE(Logged("Invalid id list for set 'D'."));
    EXPECT_EQ(LayupCreateSet("D", 2, nullptr), -1);
    EXPECT_EQ(LayupModifySet("A", -2, ab), -1);
    EXPECT_EQ(LayupModifySet("A", 1, nullptr), -1);
    LayupGetNumSets(&n);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(SetIds(1, 2), (std::vector<int>{2, 4}));

    int three[3] = {7, 5, 6};
    EXPECT_EQ(LayupModifySet("A", 3, three), 0);
    EXPECT_EQ(SetIds(1, 3), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(LayupModifySet("Z", 3, three), -1);

    // After a deletion the next set takes one above the highest id left.
    EXPECT_EQ(LayupDeleteSet("B"), 0);
    EXPECT_EQ(LayupDeleteSet("B"), -1);
    EXPECT_EQ(LayupCreateSet("D", 1, three), 0);
    EXPECT_EQ(SetId("D"), 4);
    EXPECT_EQ(LayupDeleteSet("D"), 0);
    EXPECT_EQ(LayupDeleteSet("C"), 0);
    EXPECT_EQ(LayupCreateSet("E", 0, nullptr), 0);
    EXPECT_EQ(SetId("E"), 2);
}

// A set of the highest id (a layup file may give one) leaves no id for a
// new set: refused, nothing created.
TEST_F(LayupQueryTest, NoNewSetPastTheHighestId) {
    Plate(2, 2);
    ASSERT_EQ(model().pSets()->insert(new CKpSet(2147483647)), 0);
    int ab[2] = {4, 2};
    EXPECT_EQ(LayupCreateSet("A", 2, ab), -1);
    int n = -1;
    ASSERT_EQ(LayupGetNumSets(&n), 0);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(model().pSets()->minId(), 2147483647);
}

// Two plies over a strip of four quads: "P1" on 1-3, "P2" on 2-4, laid
// P1, P2 (reversed), P1 again.
void StripLayup(CKpLayup& m) {
    CKpMat* mat = lyptest::AddMat(m, 1, 2, "Tape");
    lyptest::AddPly(m, 1, "P1", 2, mat, 1, 3);
    lyptest::AddPly(m, 2, "P2", 2, mat, 2, 4);
    ASSERT_EQ(CreateLayupPly(&m, nullptr, nullptr, 2, "P1", 1, 0, 0, 1), 0);
    ASSERT_EQ(CreateLayupPly(&m, nullptr, nullptr, 2, "P2", -1, 0, 0, 2), 0);
    ASSERT_EQ(CreateLayupPly(&m, nullptr, nullptr, 2, "P1", 1, 0, 0, 3), 0);
}

// The index file's entries, layup ply by layup ply.
struct IndexFile {
    std::vector<int> ids, counts, entries;
    int plies = 0, largest = 0;
};
IndexFile ReadIndex(const std::string& path) {
    IndexFile f;
    std::ifstream in(path);
    std::string line;
    auto next = [&]() {
        std::getline(in, line);
        return std::atoi(line.c_str());
    };
    f.plies = next();
    f.largest = next();
    next();  // the widest stack
    for (int k = 0; k < f.plies; ++k) {
        f.ids.push_back(next());  // "<id> <name, 73 columns>"
        const int n = next();
        f.counts.push_back(n);
        for (int j = 0; j < n; ++j) {
            std::getline(in, line);
            std::istringstream entry(line);
            for (int v = 0, c = 0; c < 3 && entry >> v; ++c) f.entries.push_back(v);
        }
    }
    return f;
}

TEST_F(LayupQueryTest, IndexAgreesWithTheIndexFileAtAnyStride) {
    Plate(4, 1);
    StripLayup(model());
    int plies = -1, largest = -1;
    ASSERT_EQ(LayupGetIndexSizes(&plies, &largest), 0);
    EXPECT_EQ(plies, 3);
    EXPECT_EQ(largest, 3);

    // Packed (stride = largest), entry by entry the index file.
    std::vector<int> ids(3, -9), counts(3, -9), packed(3 * 3 * 3, -9);
    ASSERT_EQ(LayupGetIndex(3, 3, ids.data(), counts.data(), packed.data()), 0);
    ASSERT_EQ(LayupSaveIndex(indexPath.c_str()), 0);
    const IndexFile file = ReadIndex(indexPath);
    EXPECT_EQ(file.plies, plies);
    EXPECT_EQ(file.largest, largest);
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(counts, (std::vector<int>{3, 3, 3}));
    EXPECT_EQ(file.ids, ids);
    EXPECT_EQ(file.counts, counts);
    EXPECT_EQ(file.entries, packed);
    // Elements in ascending id; element 3's entry of the first ply is
    // reversed (its direction flag), the second ply's only on element 4.
    EXPECT_EQ((std::vector<int>{packed[0], packed[3], packed[6]}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ((std::vector<int>{packed[2], packed[5], packed[8]}), (std::vector<int>{1, 1, -1}));
    EXPECT_EQ((std::vector<int>{packed[9], packed[12], packed[15]}), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ((std::vector<int>{packed[11], packed[14], packed[17]}), (std::vector<int>{1, -1, 1}));
    for (int k = 0; k < 9; ++k) EXPECT_GE(packed[3 * k + 1], 1);

    // Stride 5: the second layup ply's entries from entry 5 onward, the
    // third's from entry 10; the entries between are not written.
    std::vector<int> wide(3 * 5 * 3, -9);
    ASSERT_EQ(LayupGetIndex(3, 5, ids.data(), counts.data(), wide.data()), 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(std::vector<int>(wide.begin() + 15 * k, wide.begin() + 15 * k + 9),
                  std::vector<int>(packed.begin() + 9 * k, packed.begin() + 9 * k + 9))
            << k;
        for (int j = 15 * k + 9; j < 15 * k + 15; ++j) EXPECT_EQ(wide[j], -9) << j;
    }
}

TEST_F(LayupQueryTest, IndexOfRepeatedAndReversedPliesMatchesTheFile) {
    lyptest::Build(model(), "Ply one");
    int plies = 0, largest = 0;
    ASSERT_EQ(LayupGetIndexSizes(&plies, &largest), 0);
    ASSERT_EQ(plies, 4);
    ASSERT_EQ(largest, 8);
    std::vector<int> ids(4), counts(4), entries(3 * 8 * 4, 0);
    ASSERT_EQ(LayupGetIndex(4, 8, ids.data(), counts.data(), entries.data()), 0);
    ASSERT_EQ(LayupSaveIndex(indexPath.c_str()), 0);
    const IndexFile file = ReadIndex(indexPath);
    EXPECT_EQ(file.ids, ids);
    EXPECT_EQ(counts, (std::vector<int>{8, 4, 8, 4}));
    EXPECT_EQ(file.counts, counts);
    // Counts differ per ply, so compare ply by ply.
    size_t at = 0;
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 3 * counts[k]; ++j)
            EXPECT_EQ(entries[3 * 8 * k + j], file.entries[at++]) << k << " " << j;
}

TEST_F(LayupQueryTest, IndexRefusalsWriteNothing) {
    Plate(4, 1);
    StripLayup(model());
    std::vector<int> ids(4, -9), counts(4, -9), entries(60, -9);
    Messages();
    EXPECT_EQ(LayupGetIndex(4, 5, ids.data(), counts.data(), entries.data()), 1);
    EXPECT_TRUE(Logged(
        "LayupGetIndex: The layup ply array size 4 is not equal to the number of layup plies 3."));
    // A stride below the largest count would overlap the plies' entries.
    EXPECT_EQ(LayupGetIndex(3, 2, ids.data(), counts.data(), entries.data()), 1);
    EXPECT_TRUE(
        Logged("LayupGetIndex: The stride 2 is less than the largest number of elements 3."));
    for (int v : ids) EXPECT_EQ(v, -9);
    for (int v : counts) EXPECT_EQ(v, -9);
    for (int v : entries) EXPECT_EQ(v, -9);

    // No layup at all: nothing to index.
    LayupCloseLayup();
    int plies = -1, largest = -1;
    EXPECT_EQ(LayupGetIndexSizes(&plies, &largest), 0);
    EXPECT_EQ(plies, 0);
    EXPECT_EQ(largest, 0);
    EXPECT_EQ(LayupGetIndex(0, 0, nullptr, nullptr, nullptr), 0);
}

TEST_F(LayupQueryTest, FieldsGiveDegreesAtTheirRunningPosition) {
    Plate(2, 1);
    int nf = -1, nv = -1;
    ASSERT_EQ(LayupGetNumFields(&nf, &nv), 0);
    EXPECT_EQ(nf, 0);
    EXPECT_EQ(nv, 0);
    const double values[2][2] = {{kPi / 2, -kPi / 4}, {kPi / 6, 0.0}};
    for (int f = 0; f < 2; ++f) {
        CKpField* field = new CKpField(f + 1);
        field->setName(f == 0 ? "Theta" : "Rot");
        field->SetType(EVekFieldRotation);
        for (int e = 0; e < 2 - f; ++e) {
            CKpFieldVal* v = new CKpFieldVal(e + 1);
            v->SetVals(1, &values[f][e]);
            field->GetFieldVals()->insert(v);
        }
        ASSERT_EQ(model().pFields()->insert(field), 0);
    }
    ASSERT_EQ(LayupGetNumFields(&nf, &nv), 0);
    EXPECT_EQ(nf, 2);
    EXPECT_EQ(nv, 3);
    Names names(2);
    std::vector<int> counts(2, -1), ids(3, -1);
    std::vector<float> vals(3, -1.0f);
    ASSERT_EQ(LayupGetFields(2, 3, names.ptrs.data(), counts.data(), ids.data(), vals.data()), 0);
    EXPECT_EQ(names.at(0), "Theta");
    EXPECT_EQ(names.at(1), "Rot");
    EXPECT_EQ(counts, (std::vector<int>{2, 1}));
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 1}));
    EXPECT_FLOAT_EQ(vals[0], 90.0f);
    EXPECT_FLOAT_EQ(vals[1], -45.0f);
    EXPECT_FLOAT_EQ(vals[2], 30.0f);

    // A field of six values per element cannot give one: 3, the first
    // field's entries stay written.
    CKpField* six = new CKpField(3);
    six->SetType(EVekFieldOrientation);
    const double dirs[6] = {1, 0, 0, 0, 1, 0};
    CKpFieldVal* v = new CKpFieldVal(1);
    v->SetVals(6, dirs);
    six->GetFieldVals()->insert(v);
    model().pFields()->insert(six);
    Names names3(3);
    std::vector<int> counts3(3, -1), ids4(4, -1);
    std::vector<float> vals4(4, -1.0f);
    EXPECT_EQ(
        LayupGetFields(3, 4, names3.ptrs.data(), counts3.data(), ids4.data(), vals4.data()), 3);
    EXPECT_EQ(ids4[0], 1);
    EXPECT_EQ(ids4[3], -1);
}

TEST_F(LayupQueryTest, CoordsAndPropertySetsOfPropertyGeneration) {
    Plate(2, 1);
    int n = -1;
    EXPECT_EQ(LayupGetNumCoords2(1, &n), 1);
    EXPECT_EQ(n, -1);
    ASSERT_EQ(LayupGetNumCoords2(2, &n), 0);
    EXPECT_EQ(n, 0);

    CKpCoord* c = new CKpCoord(7);
    c->setType(CKpCoordRectangular);
    const double origin[3] = {1.0, 2.0, 3.0};
    const double axes[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    c->SetCoordsByOriginAxes(origin, axes);
    ASSERT_EQ(model().pCoords()->insert(c), 0);
    ASSERT_EQ(LayupGetNumCoords(&n), 0);
    ASSERT_EQ(n, 1);
    int id = 0, type = 0;
    float o[3] = {0, 0, 0}, ax[9] = {0};
    ASSERT_EQ(LayupGetCoords(1, &id, &type, o, ax), 0);
    EXPECT_EQ(id, 7);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(std::vector<float>(o, o + 3), (std::vector<float>{1, 2, 3}));
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(ax[k], axes[k], 1e-6) << k;

    // A property set in mode 3: two words (material, angle).
    const int opts[6] = {1, 2, 3, 4, 5, 6};
    CKpProp* p = new CKpProp(4, "P", 3, nullptr, nullptr, kPi / 6, CKpDirn(), 0, opts);
    for (int e : {2, 1}) p->pPropElems().insert(new CKpPropElem(e));
    ASSERT_EQ(model().pProps()->insert(p), 0);
    int sets = -1, words = -1, elems = -1;
    ASSERT_EQ(LayupGetNumProps(&sets, &words, &elems), 0);
    EXPECT_EQ(sets, 1);
    EXPECT_EQ(words, 2);
    EXPECT_EQ(elems, 2);
    // Buffers shorter than the set's own word buffers are filled whole.
    Names names(1), values(2, 24);
    int options[6] = {0}, wc = 0, wid[2] = {0}, wt[2] = {0}, ec = 0, eids[2] = {0};
    ASSERT_EQ(LayupGetProps2(0, 0, 0, names.ptrs.data(), options, &wc, wid, wt,
                             values.ptrs.data(), &ec, eids),
              0);
    EXPECT_EQ(names.at(0), "P4");
    EXPECT_EQ(std::vector<int>(options, options + 6), std::vector<int>(opts, opts + 6));
    EXPECT_EQ(wc, 2);
    EXPECT_EQ(wid[0], 13);
    EXPECT_EQ(wt[0], 5);
    EXPECT_EQ(values.at(0), "m:P0");
    EXPECT_EQ(wid[1], 20);
    EXPECT_EQ(wt[1], 1);
    EXPECT_EQ(std::stod(values.at(1)), 30.0);
    EXPECT_EQ(ec, 2);
    EXPECT_EQ(eids[0], 1);
    EXPECT_EQ(eids[1], 2);

    // A property set without words stops the counting.
    model().pProps()->insert(new CKpProp(5));
    Messages();
    EXPECT_EQ(LayupGetNumProps2(2, &sets, &words, &elems), 1);
    EXPECT_TRUE(Logged("LayupGetNumProps(): No property words defined."));
    EXPECT_EQ(LayupGetNumProps2(4, &sets, &words, &elems), 1);
}

// A frame of the given id and type at `origin` with the x, y, z axes `axes`.
CKpCoord* Frame(int id, CKpCoordType type, const double* origin, const double* axes) {
    CKpCoord* c = new CKpCoord(id);
    c->setType(type);
    c->SetCoordsByOriginAxes(origin, axes);
    return c;
}

// Each generation source reads its own frame store, frame by frame at its
// own position of the four arrays, whatever the second argument says.
TEST_F(LayupQueryTest, CoordsOfEachSourceAtTheirPositions) {
    Plate(2, 1);
    const double c30 = std::cos(kPi / 6), s30 = std::sin(kPi / 6);
    // Frame 9 turned 30 degrees about z; frame 3 cylindrical (no axes of
    // its own); frame 4 of the solid generation turned 90 degrees about x.
    const double o9[3] = {1.5, -2.0, 0.25}, ax9[9] = {c30, s30, 0, -s30, c30, 0, 0, 0, 1};
    const double o3[3] = {-4.0, 5.0, 6.0}, ax3[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double o4[3] = {7.0, 8.0, -9.0}, ax4[9] = {1, 0, 0, 0, 0, 1, 0, -1, 0};
    ASSERT_EQ(model().pCoords()->insert(Frame(9, CKpCoordRectangular, o9, ax9)), 0);
    ASSERT_EQ(model().pCoords()->insert(Frame(3, CKpCoordCylindrical, o3, ax3)), 0);
    CKpCoordStore* solid = static_cast<CKpCoordStore*>(model().GetSolidGenSet()->GetCoordStore());
    ASSERT_NE(solid, nullptr);
    ASSERT_EQ(solid->insert(Frame(4, CKpCoordRectangular, o4, ax4)), 0);

    int n = -1;
    ASSERT_EQ(LayupGetNumCoords2(2, &n), 0);
    ASSERT_EQ(n, 2);
    std::vector<int> ids(2, -5), types(2, -5);
    std::vector<float> origins(6, -5.0f), axes(18, -5.0f);
    ASSERT_EQ(LayupGetCoords2(2, 12345, ids.data(), types.data(), origins.data(), axes.data()), 0);
    // Ascending id: the cylindrical frame 3 first.
    EXPECT_EQ(ids, (std::vector<int>{3, 9}));
    EXPECT_EQ(types, (std::vector<int>{2, 1}));
    EXPECT_EQ(origins, (std::vector<float>{-4, 5, 6, 1.5f, -2, 0.25f}));
    for (int k = 0; k < 9; ++k) {
        EXPECT_EQ(axes[k], 0.0f) << k;  // not rectangular: zero axes
        EXPECT_NEAR(axes[9 + k], ax9[k], 1e-6) << k;
    }

    // The solid generation's frames only.
    ASSERT_EQ(LayupGetNumCoords2(3, &n), 0);
    ASSERT_EQ(n, 1);
    std::vector<int> sid(2, -5), stype(2, -5);
    std::vector<float> sorigin(6, -5.0f), saxes(18, -5.0f);
    ASSERT_EQ(LayupGetCoords2(3, 0, sid.data(), stype.data(), sorigin.data(), saxes.data()), 0);
    EXPECT_EQ(sid, (std::vector<int>{4, -5}));
    EXPECT_EQ(stype, (std::vector<int>{1, -5}));
    EXPECT_EQ(sorigin, (std::vector<float>{7, 8, -9, -5, -5, -5}));
    for (int k = 0; k < 9; ++k) EXPECT_NEAR(saxes[k], ax4[k], 1e-6) << k;
    EXPECT_EQ(saxes[9], -5.0f);

    // Another source: 1, nothing written.
    EXPECT_EQ(LayupGetCoords2(1, 0, sid.data(), stype.data(), sorigin.data(), saxes.data()), 1);
    EXPECT_EQ(LayupGetCoords2(4, 0, sid.data(), stype.data(), sorigin.data(), saxes.data()), 1);
    EXPECT_EQ(sid, (std::vector<int>{4, -5}));
    EXPECT_EQ(sorigin[0], 7.0f);

    LayupDestruct();
    EXPECT_EQ(LayupGetCoords2(2, 0, sid.data(), stype.data(), sorigin.data(), saxes.data()), 1);
}

TEST_F(LayupQueryTest, CurvesAndOrientationNames) {
    Plate(2, 1);
    int n = -1, points = -1;
    ASSERT_EQ(LayupGetNumCurves(&n, &points), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(points, 0);
    CKpCurve* a = new CKpCurve(3, "Outline", 2, 2);
    for (int k = 0; k < 6; ++k) a->coord(k, 0.5 * k);
    model().pCurves()->insert(a);
    model().pCurves()->insert(new CKpCurve(1, nullptr, 5, 1));
    ASSERT_EQ(LayupGetNumCurves(&n, &points), 0);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(points, 3);
    Names names(2);
    int types[2] = {0, 0}, counts[2] = {0, 0};
    std::vector<float> xyz(9, -1.0f);
    ASSERT_EQ(LayupGetCurves(2, 3, names.ptrs.data(), types, counts, xyz.data()), 0);
    EXPECT_EQ(names.at(0), "");
    EXPECT_EQ(names.at(1), "Outline");
    EXPECT_EQ(types[0], 5);
    EXPECT_EQ(types[1], 2);
    EXPECT_EQ(counts[0], 1);
    EXPECT_EQ(counts[1], 2);
    EXPECT_EQ(xyz, (std::vector<float>{0, 0, 0, 0, 0.5f, 1, 1.5f, 2, 2.5f}));

    lyptest::Build(model(), "Ply one");
    ASSERT_EQ(LayupGetNumOrients(&n), 0);
    ASSERT_EQ(n, 2);
    Names orients(2);
    ASSERT_EQ(LayupGetOrients(0, orients.ptrs.data()), 0);
    EXPECT_EQ(orients.at(0), "By frame x");
    EXPECT_EQ(orients.at(1), "Fixed angle");
}

TEST_F(LayupQueryTest, EmptySlotGivesOne) {
    LayupDestruct();
    int n = 0;
    EXPECT_EQ(LayupCreateSet("A", 0, nullptr), 1);
    EXPECT_EQ(LayupGetNumSets(&n), 1);
    EXPECT_EQ(LayupGetNumCoords(&n), 1);
    EXPECT_EQ(LayupGetNumFields(&n, &n), 1);
    EXPECT_EQ(LayupGetNumProps(&n, &n, &n), 1);
    EXPECT_EQ(LayupGetIndexSizes(&n, &n), 1);
    EXPECT_EQ(LayupGetNumCurves(&n, &n), 1);
    EXPECT_EQ(LayupGetOrients(0, nullptr), 1);
}

}  // namespace
