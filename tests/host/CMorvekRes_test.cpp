#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/CMorvek.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResElemStore.h"
#include "layuplib/CKpResStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/StubDatabase.h"

namespace {

// Two quads, a load case with two subcases (the second attached to a
// static one by its title) and four layers whose labels name layers 3, 2
// (by position), 2 and none.
const char* const kFixture =
    "node 1 0 0 0\nnode 2 1 0 0\nnode 3 1 1 0\nnode 4 0 1 0\nnode 5 2 0 0\nnode 6 2 1 0\n"
    "elem 1 4 1 2 3 4\nelem 2 4 2 5 6 3\n"
    "loadcase 1 \"LC\" \"\"\n"
    "subcase 1 1 \"SC\" \"\"\n"
    "subcase 1 2 \"Att\" \"A1:Static\"\n"
    "layer 1 \"Layer 3\" 0\n"
    "layer 2 \"\" 2\n"
    "layer 3 \"SECTION_POINT_5\" 0\n"
    "layer 4 \"SECTION_POINT_4\" 0\n"
    "layer 5 \"Layer 1\" 0\n"
    "result 1 1 \"Stress\" \"XX\" 1 \"STATIC extra\"\n"
    "value 1 1 \"Stress\" \"XX\" 1 C 1 1.5\n"
    "value 1 1 \"Stress\" \"XX\" 1 C 2 2.5\n"
    "value 1 1 \"Stress\" \"XX\" 2 C 1 3.5\n"
    "value 1 1 \"Stress\" \"XX\" 3 C 2 4.5\n"
    "value 1 1 \"Stress\" \"XX\" 4 C 2 5.5\n"
    "value 1 1 \"Stress\" \"XX\" 5 N 1 6.5 7.5 8.5 9.5\n"
    "result 1 1 \"Empty\" \"XX\" 2 \"\"\n";

class CMorvekResTest : public ::testing::Test {
  protected:
    void SetUp() override {
        MorvekStubReset();
        MorvekStubOpenDatabase("res.db");
        ASSERT_EQ(stub.load(kFixture), 0);
    }
    void TearDown() override { MorvekStubReset(); }

    // Five name buffers of 256 bytes.
    struct Names {
        char text[5][256] = {};
        char* ptr[5] = {text[0], text[1], text[2], text[3], text[4]};
        Names(const char* a, const char* b, const char* c, const char* d, const char* e = "") {
            const char* in[5] = {a, b, c, d, e};
            for (int k = 0; k < 5; ++k) std::strcpy(text[k], in[k]);
        }
    };
    static CKpRes* add(CKpResStore& store, const std::vector<std::string>& names, int type, int loc,
                       const std::vector<std::pair<int, std::vector<float>>>& values) {
        CKpRes* r = static_cast<CKpRes*>(store.New());
        for (int k = 0; k < 5; ++k) r->name(k, names[k].c_str());
        r->type(type);
        r->loc(loc);
        for (const auto& v : values)
            r->FindOrCreateResElem(v.first, static_cast<int>(v.second.size()), v.second.data(), 0,
                                   nullptr);
        return r;
    }
    // "name4:type:loc:id=v,v;id=v" per result, ascending id.
    static std::string describe(CKpResStore& store) {
        std::string s;
        for (int k = 0; k < store.entries(); ++k) {
            CKpRes* r = store[k];
            s += std::to_string(r->id()) + ":" + r->name(4) + ":" + std::to_string(r->type()) +
                 ":" + std::to_string(r->loc()) + ":";
            for (int e = 0; e < r->ResElems()->entries(); ++e) {
                const CKpResElem* rec = (*r->ResElems())[e];
                s += std::to_string(rec->id()) + "=";
                for (int v = 0; v < rec->GetNumFloats(); ++v)
                    s += (v ? "," : "") + std::to_string(rec->GetFloat(v)).substr(0, 3);
                s += ";";
            }
            s += " ";
        }
        return s;
    }

    MessageCapture cap{"cmorvekres"};
    StubDatabase stub{"cmorvekres"};
    int elems[2] = {1, 2};
};

}  // namespace

TEST_F(CMorvekResTest, LayersAreNumberedByLabelPositionOrSectionPoint) {
    CMorvek db;
    CKpResStore store;
    Names names("LC", "SC", "Stress", "XX");
    int maxLayer = 1;
    EXPECT_EQ(db.getRes(&cap.log, &store, names.ptr, 2, elems, &maxLayer), 0);
    // Layer 4 (SECTION_POINT_4) is skipped; the nodal layer 1 keeps each
    // element's first point; ids follow the largest in the store.
    EXPECT_EQ(describe(store),
              "1:Layer 3:1:1:1=1.5;2=2.5; 2:Layer 2:1:1:1=3.5; "
              "3:Layer 2:1:1:2=4.5; 4:Layer 1:1:2:1=6.5; ");
    EXPECT_EQ(maxLayer, 3);
    EXPECT_STREQ(names.text[4], "Layer 1");
    EXPECT_EQ(std::string(store[0]->name(2)), "Stress");
    EXPECT_EQ(store[0]->orient(), -99);
    EXPECT_EQ(cap.body(),
              "$# Extracted result: 'LC' 'SC' 'Stress' 'XX' 'Layer 3'\n"
              "$# Extracted result: 'LC' 'SC' 'Stress' 'XX' 'Layer 2'\n"
              "$# (...repeated 2 times...)\n"
              "$# Extracted result: 'LC' 'SC' 'Stress' 'XX' 'Layer 1'\n");

    // The ids of a name: the last layer whose label begins with name 4.
    int ids[5], count = 0;
    Names prefix("LC", "SC", "Stress", "XX", "SECTION");
    EXPECT_EQ(db.ResNamesToIds(&cap.log, prefix.ptr, ids, &count), 0);
    EXPECT_EQ(std::vector<int>(ids, ids + 5), (std::vector<int>{1, 1, 1, 1, 4}));
    EXPECT_EQ(count, 5);
}

TEST_F(CMorvekResTest, MissingLayersAndFailingCalls) {
    CMorvek db;
    CKpResStore store;
    Names empty("LC", "SC", "Empty", "XX");
    int maxLayer = 0;
    EXPECT_EQ(db.getRes(&cap.log, &store, empty.ptr, 2, elems, &maxLayer), 0);
    EXPECT_EQ(cap.body(), "$# WARNING: Result LC,SC,Empty,XX has no layers defined\n");
    EXPECT_EQ(store.entries(), 0);

    Names names("LC", "SC", "Stress", "XX");
    for (const char* fn : {"DbFPostResultsLoad", "DbGetLoadCaseId", "ResUtlCGetResultLayers",
                           "ResUtlCGetResultInfo", "ResUtlCExtractElemResults"}) {
        cap.reset();
        MorvekStubFail(fn, 7);
        EXPECT_EQ(db.getRes(&cap.log, &store, names.ptr, 2, elems, &maxLayer), 7) << fn;
        EXPECT_EQ(cap.body(), std::string("$# ERROR:  ") + fn + ": status 7\n");
    }
    EXPECT_EQ(store.entries(), 0);
    // An unknown load case is the host's status, unchanged.
    Names unknown("Nope", "SC", "Stress", "XX");
    EXPECT_EQ(db.getRes(nullptr, &store, unknown.ptr, 2, elems, &maxLayer), 1);
}

TEST_F(CMorvekResTest, PutResMakesWhatIsMissing) {
    CMorvek db;
    CKpResStore store;
    add(store, {"New", "", "Fail", "Index", "Layer 2"}, 1, 1, {{2, {0.5f}}, {1, {0.25f}}});
    add(store, {"New", "", "Fail", "Vec", "SECTION_POINT_5"}, 2, 3, {{1, {1, 2, 3, 9, 9, 9}}});
    add(store, {"New", "", "Nodal", "Only", "Layer 1"}, 1, 2, {{1, {4, 5, 6, 7}}});
    add(store, {"LC", "Att", "Fail", "Index", "Layer 1"}, 1, 1, {{1, {8}}});
    add(store, {"LC", "SC", "Out", "OfRange", "Layer 1"}, 1, 1, {{1, {8}}});
    EXPECT_EQ(db.putRes(&cap.log, &store, 1, 4), 0);
    EXPECT_EQ(cap.body(),
              "$# Stored result: 'New' 'Default Subcase' 'Fail' 'Index' 'Layer 2'\n"
              "$# Stored result: 'New' 'Default Subcase' 'Fail' 'Vec' 'SECTION_POINT_5'\n"
              "$# WARNING: The selected results appear to be in an attached subcase. The "
              "generated results will be placed in the subcase 'a1_Static'\n"
              "$# Stored result: 'LC' 'Att' 'Fail' 'Index' 'Layer 1'\n");
    EXPECT_EQ(stub.lines("loadcase"),
              "loadcase 1 \"LC\" \"\"\nloadcase 2 \"New\" \"Created by KP\"\n");
    EXPECT_EQ(stub.lines("subcase"),
              "subcase 1 1 \"SC\" \"\"\nsubcase 1 2 \"Att\" \"A1:Static\"\n"
              "subcase 1 3 \"a1_Static\" \"\"\nsubcase 2 1 \"Default Subcase\" \"\"\n");
    // " " becomes an empty label at the layer number; another name its own
    // label at position 0; a layer of that label and position is the
    // host's own (layers 2 and 3); a new one is made once.
    EXPECT_EQ(stub.lines("layer 6"), "layer 6 \"\" 1\n");
    EXPECT_EQ(stub.lines("layer 7"), "");
    EXPECT_EQ(stub.lines("value 2"),
              "value 2 1 \"Fail\" \"Index\" 2 C 1 0.25\n"
              "value 2 1 \"Fail\" \"Index\" 2 C 2 0.5\n"
              "value 2 1 \"Fail\" \"Vec\" 3 C 1 1 2 3\n");
    EXPECT_EQ(stub.lines("result 2"),
              "result 2 1 \"Fail\" \"Index\" 1 \"\"\nresult 2 1 \"Fail\" \"Vec\" 2 \"\"\n");
    // Nothing nodal; a result of the attached subcase in the new one.
    EXPECT_EQ(stub.dump().find("Nodal\" \"Only\" "), std::string::npos);
    EXPECT_EQ(stub.lines("value 1 3"), "value 1 3 \"Fail\" \"Index\" 6 C 1 8\n");
    EXPECT_EQ(stub.dump().find("OfRange"), std::string::npos);
}

TEST_F(CMorvekResTest, ReadResultsWriteBackToTheSameValues) {
    CMorvek db;
    CKpResStore store;
    Names names("LC", "SC", "Stress", "XX");
    int maxLayer = 0;
    ASSERT_EQ(db.getRes(&cap.log, &store, names.ptr, 2, elems, &maxLayer), 0);
    const std::string before = stub.lines("value 1 1");

    // A fresh database holding only the mesh and the load case.
    MorvekStubReset();
    ASSERT_EQ(stub.load(std::string(kFixture).substr(0, std::string(kFixture).find("layer"))), 0);
    EXPECT_EQ(db.putRes(&cap.log, &store), 0);
    std::string after = stub.lines("value 1 1");
    // Layers are renumbered in the new database: compare by layer number.
    EXPECT_EQ(stub.lines("layer"), "layer 1 \"\" 3\nlayer 2 \"\" 2\nlayer 3 \"\" 1\n");
    EXPECT_EQ(after,
              "value 1 1 \"Stress\" \"XX\" 1 C 1 1.5\n"
              "value 1 1 \"Stress\" \"XX\" 1 C 2 2.5\n"
              "value 1 1 \"Stress\" \"XX\" 2 C 1 3.5\n"
              "value 1 1 \"Stress\" \"XX\" 2 C 2 4.5\n");
    EXPECT_NE(before.find("value 1 1 \"Stress\" \"XX\" 1 C 1 1.5\n"), std::string::npos);
}
