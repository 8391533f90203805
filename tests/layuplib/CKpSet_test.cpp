#include "layuplib/CKpSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>
#include <vector>

#include "layuplib/CKpSetStore.h"

namespace {

// The ids as the set writes them (plain or compressed); one spare slot must
// stay untouched.
std::vector<int> read(CKpSet& set, bool compr) {
    const int n = compr ? set.GetNumComprIds() : set.GetNumIds();
    std::vector<int> out(n + 1, -1);
    EXPECT_EQ(compr ? set.GetComprIds(n, out.data()) : set.GetIds(n, out.data()), 0);
    EXPECT_EQ(out.back(), -1);
    out.pop_back();
    return out;
}
std::vector<int> ids(CKpSet& set) {
    return read(set, false);
}
std::vector<int> compressed(CKpSet& set) {
    return read(set, true);
}

}  // namespace

TEST(CKpSet, CompressesRunsOfPositiveIds) {
    CKpSet set(1);
    const int given[] = {10, 3, 7, 5, 9, 6, 0, -4};
    ASSERT_EQ(set.AddIds(8, given), 0);
    EXPECT_EQ(ids(set), (std::vector<int>{-4, 0, 3, 5, 6, 7, 9, 10}));  // held as given
    EXPECT_EQ(compressed(set), (std::vector<int>{3, 5, -7, 9, -10}));   // ids below 1 dropped

    std::vector<int> all(1000);
    for (int i = 0; i < 1000; ++i) all[i] = 1000 - i;
    ASSERT_EQ(set.SetIds(1000, all.data()), 0);
    EXPECT_EQ(compressed(set), (std::vector<int>{1, -1000}));
    set.SetIds(1, given);
    EXPECT_EQ(compressed(set), (std::vector<int>{10}));
    set.ClearIds();
    EXPECT_EQ(compressed(set), std::vector<int>{});

    // Count mismatches write nothing; a refused SetIds keeps the ids.
    set.AddIds(3, given);
    int out[4] = {-1, -1, -1, -1};
    EXPECT_EQ(set.GetIds(2, out) + set.GetIds(4, out) + set.GetComprIds(4, out), 3);
    EXPECT_EQ(set.GetIds(3, nullptr), 1);
    EXPECT_EQ(out[0], -1);
    EXPECT_EQ(set.SetIds(2, nullptr), 1);
    EXPECT_EQ(set.GetNumIds(), 3);
}

TEST(CKpSet, ReadsCompressedEntriesAcrossPieces) {
    CKpSet set(1);
    const int a[] = {4, -4}, b[] = {-3};
    EXPECT_EQ(set.AddComprIds(0, 2, a), 4);
    EXPECT_EQ(set.AddComprIds(0, 1, b), 0);
    EXPECT_EQ(ids(set), (std::vector<int>{1, 2, 3, 4}));

    // The previous id handed on lets a run continue on the next piece.
    set.ClearIds();
    const int first[] = {2, 5}, second[] = {-8, 10};
    EXPECT_EQ(set.AddComprIds(set.AddComprIds(0, 2, first), 2, second), 10);
    EXPECT_EQ(ids(set), (std::vector<int>{2, 5, 6, 7, 8, 10}));

    // Extreme entries stay within the int range.
    set.ClearIds();
    const int lowest[] = {INT_MIN};
    EXPECT_EQ(set.AddComprIds(INT_MAX - 2, 1, lowest), INT_MAX - 2);
    EXPECT_EQ(ids(set), (std::vector<int>{INT_MAX - 1, INT_MAX}));
    EXPECT_EQ(set.AddComprIds(3, 1, nullptr), 3);

    // What the runs would add, weighed before any is expanded.
    EXPECT_EQ(CKpSet::ComprRunIds(0, 2, a), 0);
    EXPECT_EQ(CKpSet::ComprRunIds(0, 1, b), 3);
    EXPECT_EQ(CKpSet::ComprRunIds(5, 2, second), 3);
    EXPECT_EQ(CKpSet::ComprRunIds(INT_MAX - 2, 1, lowest), 2);
    EXPECT_EQ(CKpSet::ComprRunIds(0, 1, lowest), INT_MAX);
    EXPECT_EQ(CKpSet::ComprRunIds(0, 1, nullptr), 0);

    // A run the set could not count in an int stops the reading there, as
    // memory running out does, before any id of it is made.
    // (Two ids held: a run of INT_MAX - 1 ids could not be counted.)
    const int beyond[] = {-INT_MAX, 7};
    EXPECT_EQ(set.AddComprIds(1, 2, beyond), 1);
    EXPECT_EQ(ids(set), (std::vector<int>{INT_MAX - 1, INT_MAX}));
}

// Write then read gives the same ids, duplicates included.
TEST(CKpSet, CompressedRoundTrip) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> pick(1, 300);
    for (int round = 0; round < 20; ++round) {
        std::vector<int> given(200);
        for (int& id : given) id = pick(rng);
        CKpSet a(1), b(2);
        a.AddIds(200, given.data());
        const std::vector<int> list = compressed(a);
        b.AddComprIds(0, static_cast<int>(list.size()), list.data());
        std::sort(given.begin(), given.end());
        EXPECT_EQ(ids(b), given);
    }
}

TEST(CKpSetStore, NamesAndLookups) {
    CKpSetStore store;
    for (int id : {5, 2, 8}) store.insert(new CKpSet(id));
    EXPECT_EQ(store.Get(0), static_cast<IVekSet*>(store.find(2)));
    EXPECT_EQ(store.find(8)->SetName("Patch") + store.find(5)->SetName("Patch"), 0);
    EXPECT_EQ(store.findByName("Patch"), store.find(5));  // the first in id order
    EXPECT_EQ(store.findByName("patch"), nullptr);
    EXPECT_EQ(store.findByName(nullptr), nullptr);
}
