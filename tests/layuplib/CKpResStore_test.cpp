#include "layuplib/CKpResStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/IVekResultStore.h"
#include "tests/support/RecordingGUI.h"

namespace {

// Everything a result hands back through its interface, as text and
// numbers, for comparing with what went in.
struct ReadBack {
    std::vector<int> ids, nInts, nFloats, ints;
    std::vector<float> floats;
};

ReadBack Read(IVekResult* r) {
    ReadBack b;
    const int n = r->GetNumElements();
    b.ids.resize(n);
    b.nInts.resize(n);
    b.nFloats.resize(n);
    EXPECT_EQ(r->GetElementIdsNums(n, b.ids.data(), b.nInts.data(), b.nFloats.data()), 0);
    int ni = 0, nf = 0;
    for (int i = 0; i < n; ++i) ni += b.nInts[i], nf += b.nFloats[i];
    b.ints.resize(ni);
    b.floats.resize(nf);
    EXPECT_EQ(r->GetElementResults(b.ints.data(), b.floats.data()), 0);
    return b;
}

}  // namespace

TEST(ResultStore, IdsPositionsAndDeletion) {
    RecordingGUI gui;
    CKpLayup model(nullptr, &gui);
    IVekResultStore* store = model.GetResultStore();
    ASSERT_NE(store, nullptr);
    EXPECT_EQ(store, model.GetResultStore());  // one store per model

    IVekResult* first = store->New();
    IVekResult* second = store->New();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(static_cast<CKpRes*>(first)->id(), 1);
    EXPECT_EQ(static_cast<CKpRes*>(second)->id(), 2);
    EXPECT_EQ(store->Count(), 2);
    EXPECT_EQ(store->Get(0), first);
    EXPECT_EQ(store->Get(2), nullptr);  // Get(Count())
    EXPECT_EQ(store->Get(-1), nullptr);
    EXPECT_EQ(store->GetId(2), second);
    EXPECT_EQ(store->GetId(3), nullptr);

    // Deleting the highest id frees it for the next New.
    EXPECT_EQ(store->Delete(second), 0);
    EXPECT_EQ(static_cast<CKpRes*>(store->New())->id(), 2);

    // Only results of this store are destroyed.
    CKpResStore other;
    IVekResult* foreign = other.New();
    EXPECT_EQ(store->Delete(foreign), -1);
    EXPECT_EQ(store->Delete(nullptr), -1);
    EXPECT_EQ(other.Count(), 1);

    EXPECT_EQ(store->DeleteAll(), 0);
    EXPECT_EQ(store->Count(), 0);
    EXPECT_EQ(static_cast<CKpRes*>(store->New())->id(), 1);

    // Sorting a model without elements is refused.
    const char* names[5] = {"", "", "", "", ""};
    int ids[2] = {0, 0};
    EXPECT_EQ(store->CreateResultsSortLaminate(names, ids), 1);
    EXPECT_EQ(gui.texts(4).back(), "There are no elements in the Layup model.");
    EXPECT_EQ(other.CreateResultsSortLaminate(names, ids), 1);  // no model
}

TEST(ResultStore, NamesCodesAndLookupByName) {
    CKpResStore store;
    const char* a[5] = {"Load 1", "Static", "Stress Tensor", "", "Layer 2"};
    const char* b[5] = {"Load 1", "Static", "Stress Tensor", "", "Layer 3"};
    for (const char* const* names : {a, b, a}) store.New()->SetNames(names);
    EXPECT_EQ(store.findByName(a)->id(), 1);  // the first in id order
    EXPECT_EQ(store.findByName(b)->id(), 2);
    const char* none[5] = {"Load 1", "Static", "Stress Tensor", nullptr, "Layer 4"};
    EXPECT_EQ(store.findByName(none), nullptr);

    CKpRes* r = store.find(2);
    char n0[8], n1[8], n2[8], n3[8], n4[8];
    char* out[5] = {n0, n1, n2, n3, n4};
    ASSERT_EQ(r->GetNames(out, 6), 0);
    EXPECT_EQ(std::vector<std::string>(out, out + 5),
              (std::vector<std::string>{"Load ", "Stati", "Stres", "", "Layer"}));
    EXPECT_EQ(r->GetNames(nullptr, 6), 1);

    EXPECT_TRUE(r->IsStrainResult() == false);
    r->name(2, "Strain Tensor");
    EXPECT_TRUE(r->IsStrainResult());
    EXPECT_FALSE(r->SameName(b));

    // Values per element follow the type; unknown types have none.
    const int perType[5][2] = {{1, 1}, {2, 3}, {3, 6}, {0, 0}, {4, 0}};
    for (const auto& t : perType) {
        r->SetType(static_cast<IVekResult::EType>(t[0]));
        EXPECT_EQ(r->nvals(), t[1]) << "type " << t[0];
    }
    r->SetLocation(IVekResult::eNode);
    r->SetOrientation(static_cast<IVekResult::EOrientation>(-99));
    EXPECT_EQ(r->GetLocation() * 1000 + r->GetOrientation(), 2000 - 99);

    // Solver theory keywords become names; anything else stays.
    const char* theory[][2] = {{"TSAI-WU", "Tsai-Wu Stress"}, {"HILL", "Hill Stress"},
                               {"HOFFMAN", "Hoffman Stress"}, {"STRAIN", "Maximum Strain"},
                               {"Tsai-Wu", "Tsai-Wu"},        {"TSAI-WU ", "TSAI-WU "}};
    for (const auto& t : theory) {
        char buffer[15] = {};
        std::strncpy(buffer, t[0], sizeof(buffer) - 1);
        CKpRes::Theory(buffer);
        EXPECT_STREQ(buffer, t[1]);
    }
}

TEST(ResultRecords, SetElementResultsOffsetsAndReadBack) {
    CKpRes r(1);
    // Element 7 already has a record: it keeps its values, but the offsets
    // still move past the values given for it.
    const float old7[2] = {70.0f, 71.0f};
    ASSERT_NE(r.FindOrCreateResElem(7, 2, old7, 0, nullptr), nullptr);

    const int ids[3] = {9, 7, 3};
    const int nInts[3] = {1, 2, 0};
    const int nFloats[3] = {2, 1, 3};
    const int ints[3] = {90, 700, 701};
    const float floats[6] = {9.0f, 9.5f, 7.0f, 3.0f, 3.25f, 3.5f};
    ASSERT_EQ(r.SetElementResults(3, ids, nInts, nFloats, ints, floats), 0);

    ReadBack b = Read(&r);
    EXPECT_EQ(b.ids, (std::vector<int>{3, 7, 9}));
    EXPECT_EQ(b.nInts, (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(b.nFloats, (std::vector<int>{3, 2, 2}));
    EXPECT_EQ(b.ints, (std::vector<int>{90}));
    EXPECT_EQ(b.floats, (std::vector<float>{3.0f, 3.25f, 3.5f, 70.0f, 71.0f, 9.0f, 9.5f}));

    // One kind of count only: records of that kind; a null value array
    // leaves zeros.
    CKpRes onlyInts(2);
    const int two[2] = {4, 5};
    const int counts[2] = {2, 1};
    ASSERT_EQ(onlyInts.SetElementResults(2, two, counts, nullptr, nullptr, floats), 0);
    b = Read(&onlyInts);
    EXPECT_EQ(b.nFloats, (std::vector<int>{0, 0}));
    EXPECT_EQ(b.ints, (std::vector<int>{0, 0, 0}));

    // What is refused, and that nothing is created then.
    CKpRes empty(3);
    const int tooMany[2] = {255, 256};
    const int negative[2] = {1, -1};
    EXPECT_EQ(empty.SetElementResults(2, nullptr, counts, nullptr, ints, nullptr), 1);
    EXPECT_EQ(empty.SetElementResults(2, two, nullptr, nullptr, ints, floats), 0);
    EXPECT_EQ(empty.SetElementResults(0, two, counts, nullptr, ints, floats), 0);
    EXPECT_EQ(empty.SetElementResults(2, two, tooMany, nullptr, nullptr, nullptr), 3);
    EXPECT_EQ(empty.SetElementResults(2, two, nullptr, negative, nullptr, nullptr), 3);
    EXPECT_EQ(empty.GetNumElements(), 0);
    EXPECT_EQ(empty.SetElementResults(1, two, nullptr, tooMany, nullptr, nullptr), 0);
    EXPECT_EQ(Read(&empty).nFloats, (std::vector<int>{255}));

    // Read-backs that are asked wrongly write nothing.
    int keep[3] = {-1, -1, -1};
    EXPECT_EQ(r.GetElementIdsNums(2, keep, keep, keep), 1);
    EXPECT_EQ(r.GetElementIdsNums(3, nullptr, keep, keep), 2);
    EXPECT_EQ(std::vector<int>(keep, keep + 3), (std::vector<int>{-1, -1, -1}));
}

TEST(ResultRecords, RecordRangesAndOverwrites) {
    const float f[3] = {1.0f, 2.0f, 3.0f};
    const int i[2] = {10, 20};
    CKpResElem rec(5, 3, f, 2, i);
    EXPECT_EQ(rec.GetFloat(2) + rec.GetInt(1), 23.0f);
    EXPECT_EQ(rec.GetFloat(3) + rec.GetInt(-1) + rec.GetInt(2), 0.0f);  // outside: 0
    rec.SetFloat(3, 9.0f);
    rec.SetInt(2, 9);
    const float more[4] = {5.0f, 6.0f, 7.0f, 8.0f};
    const int ints1[1] = {-4};
    rec.SetRes(4, more, 1, ints1);  // too many floats: only the ints change
    float out[3] = {0, 0, 0};
    EXPECT_EQ(rec.GetFloats(4, out), 1);
    ASSERT_EQ(rec.GetFloats(3, out), 0);
    EXPECT_EQ(std::vector<float>(out, out + 3), (std::vector<float>{1.0f, 2.0f, 3.0f}));
    EXPECT_EQ(rec.GetInt(0) * 100 + rec.GetInt(1), -400 + 20);

    // Copies keep counts and values; out-of-range counts give empty records.
    CKpResElem copy(8, rec);
    EXPECT_EQ(copy.id(), 8);
    EXPECT_EQ(copy.GetNumFloats() * 10 + copy.GetNumInts(), 32);
    EXPECT_EQ(copy.GetInt(0), -4);
    CKpResElem refused(1, 256, f);
    EXPECT_EQ(refused.GetNumFloats() + refused.GetNumInts(), 0);
    CKpResElem zeros(1, 0, nullptr, 2, nullptr);
    EXPECT_EQ(zeros.GetNumInts(), 2);
    EXPECT_EQ(zeros.GetInt(1), 0);

    // FindOrCreateResElem overwrites the first values of an existing record
    // and refuses counts the record cannot hold.
    CKpRes r(1);
    ASSERT_NE(r.FindOrCreateResElem(4, rec), nullptr);
    const float one[1] = {-1.0f};
    CKpResElem* again = r.FindOrCreateResElem(4, 1, one, 0, nullptr);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->GetFloat(0) + again->GetFloat(1), 1.0f);
    EXPECT_EQ(r.FindOrCreateResElem(5, 256, nullptr, 0, nullptr), nullptr);
    EXPECT_EQ(r.FindOrCreateResElem(5, 0, nullptr, -1, nullptr), nullptr);
    EXPECT_EQ(r.GetNumElements(), 1);
}
