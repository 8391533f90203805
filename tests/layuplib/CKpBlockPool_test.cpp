#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpLargeAllocator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// Enough slots of 48 bytes to run well past the small blocks into the
// large ones (4 MiB of small blocks, then 2 MiB blocks).
const size_t kSlot = 48;
const size_t kMany = (12u * 1024 * 1024) / kSlot;

TEST(CKpBlockPool, SlotsAreAlignedDistinctAndKeepTheirBytesAcrossBlockSizes) {
    CKpBlockPool pool(kSlot);
    std::vector<unsigned char*> slots;
    slots.reserve(kMany);
    for (size_t i = 0; i < kMany; ++i) {
        unsigned char* p = static_cast<unsigned char*>(pool.allocate(kSlot));
        ASSERT_NE(p, nullptr) << i;
        ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u) << i;
        std::memset(p, static_cast<int>(i & 0xff), kSlot);
        slots.push_back(p);
    }
    // No two slots overlap: sorted, each starts at least a slot after the
    // one before.
    std::vector<unsigned char*> sorted(slots);
    std::sort(sorted.begin(), sorted.end());
    for (size_t i = 1; i < sorted.size(); ++i)
        ASSERT_GE(static_cast<size_t>(sorted[i] - sorted[i - 1]), kSlot) << i;
    // Every slot still holds what was written into it.
    for (size_t i = 0; i < slots.size(); ++i) {
        const unsigned char want = static_cast<unsigned char>(i & 0xff);
        ASSERT_EQ(slots[i][0], want) << i;
        ASSERT_EQ(slots[i][kSlot - 1], want) << i;
    }
    for (unsigned char* p : slots) pool.release(p, kSlot);
}

TEST(CKpBlockPool, ReleasedSlotsAreHandedOutAgainMostRecentFirst) {
    if (!CKpBlockPool::Pooling()) GTEST_SKIP() << "the heap serves every request here";
    CKpBlockPool pool(40);  // rounded up to 48
    void* keep = pool.allocate(40);
    void* a = pool.allocate(40);
    void* b = pool.allocate(40);
    ASSERT_NE(keep, nullptr);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_GE(static_cast<char*>(b) - static_cast<char*>(a), 48);
    pool.release(a, 40);
    pool.release(b, 40);
    EXPECT_EQ(pool.allocate(40), b);
    EXPECT_EQ(pool.allocate(40), a);
    pool.release(a, 40);
    pool.release(b, 40);
    pool.release(keep, 40);
    pool.release(nullptr, 40);  // nothing happens
}

TEST(CKpBlockPool, AnEmptiedPoolHandsOutItsBlocksAgainInAddressOrder) {
    if (!CKpBlockPool::Pooling()) GTEST_SKIP() << "the heap serves every request here";
    const size_t n = (8u * 1024 * 1024) / kSlot;  // small and large blocks
    CKpBlockPool pool(kSlot);
    std::vector<char*> first, second;
    for (size_t i = 0; i < n; ++i) first.push_back(static_cast<char*>(pool.allocate(kSlot)));
    // Released in an order of its own: the refill does not follow it.
    for (size_t i = 0; i < n; i += 2) pool.release(first[i], kSlot);
    for (size_t i = 1; i < n; i += 2) pool.release(first[i], kSlot);
    size_t ascending = 0;
    for (size_t i = 0; i < n; ++i) {
        char* p = static_cast<char*>(pool.allocate(kSlot));
        ASSERT_NE(p, nullptr) << i;
        if (!second.empty() && p == second.back() + kSlot) ++ascending;
        second.push_back(p);
    }
    // All but the first slot of each block follow the one before, and the
    // same memory is used again (the blocks come back newest first, so only
    // the part of a block the first round left unused differs).
    EXPECT_GT(ascending, n - n / 100);
    std::vector<char*> a(first);
    std::sort(a.begin(), a.end());
    size_t reused = 0;
    for (char* p : second) reused += std::binary_search(a.begin(), a.end(), p) ? 1 : 0;
    EXPECT_GT(reused, n - (2u * 1024 * 1024) / kSlot);
    for (char* p : second) pool.release(p, kSlot);
}

TEST(CKpBlockPool, AllSlotsAreTakenBackAtOnceOnlyByTheHolderOfExactlyThatMany) {
    if (!CKpBlockPool::Pooling()) GTEST_SKIP() << "the heap serves every request here";
    CKpBlockPool pool(kSlot);
    std::vector<char*> slots;
    for (int i = 0; i < 1000; ++i) slots.push_back(static_cast<char*>(pool.allocate(kSlot)));
    // Not held: refused.
    EXPECT_FALSE(pool.releaseAllHeld(slots.size()));
    {
        CKpBlockPool::Hold hold(pool);
        // Another count than is handed out: refused, nothing changes.
        EXPECT_FALSE(pool.releaseAllHeld(slots.size() - 1));
        EXPECT_FALSE(pool.releaseAllHeld(slots.size() + 1));
        EXPECT_FALSE(pool.releaseAllHeld(0));
        // The refusals left the free list intact: a released slot comes
        // back first.
        char* last = slots.back();
        pool.release(last, kSlot);
        EXPECT_EQ(pool.allocate(kSlot), last);
        EXPECT_TRUE(pool.releaseAllHeld(slots.size()));
    }
    // Emptied: handed out again from the start of the first block, in
    // address order, no slot from a stale free list.
    std::vector<char*> sorted(slots);
    std::sort(sorted.begin(), sorted.end());
    char* p = static_cast<char*>(pool.allocate(kSlot));
    char* q = static_cast<char*>(pool.allocate(kSlot));
    EXPECT_EQ(p, sorted.front());
    EXPECT_EQ(q, p + kSlot);
    {
        CKpBlockPool::Hold hold(pool);
        EXPECT_TRUE(pool.releaseAllHeld(2));
        EXPECT_FALSE(pool.releaseAllHeld(1));  // nothing handed out now
    }
    EXPECT_EQ(pool.allocate(kSlot), p);
    pool.release(p, kSlot);
}

TEST(CKpBlockPool, OtherSizesGoToTheHeap) {
    CKpBlockPool pool(32);
    // A larger request (a derived class) gets memory of its own size.
    char* big = static_cast<char*>(pool.allocate(200));
    ASSERT_NE(big, nullptr);
    std::memset(big, 7, 200);
    char* slot = static_cast<char*>(pool.allocate(32));
    ASSERT_NE(slot, nullptr);
    EXPECT_TRUE(slot + 32 <= big || big + 200 <= slot);
    pool.release(big, 200);
    pool.release(slot, 32);
}

TEST(CKpBlockPool, EightByteAlignedSlotsArePackedAtTheirOwnSize) {
    if (!CKpBlockPool::Pooling()) GTEST_SKIP() << "the heap serves every request here";
    // 168 bytes at alignment 8 stay 168 (not 176); slots follow each other
    // at that distance, each 8-byte aligned, and keep their bytes.
    CKpBlockPool pool(168, 8);
    std::vector<unsigned char*> slots;
    for (int i = 0; i < 4000; ++i) {  // past the first 256 KiB block
        unsigned char* p = static_cast<unsigned char*>(pool.allocate(168));
        ASSERT_NE(p, nullptr) << i;
        ASSERT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u) << i;
        std::memset(p, i & 0xff, 168);
        slots.push_back(p);
    }
    EXPECT_EQ(slots[1] - slots[0], 168);
    EXPECT_EQ(slots[2] - slots[1], 168);
    for (size_t i = 0; i < slots.size(); ++i) {
        ASSERT_EQ(slots[i][0], static_cast<unsigned char>(i & 0xff)) << i;
        ASSERT_EQ(slots[i][167], static_cast<unsigned char>(i & 0xff)) << i;
    }
    // A size that rounds to another slot (176) is the heap's.
    void* other = pool.allocate(170);
    ASSERT_NE(other, nullptr);
    pool.release(other, 170);
    for (unsigned char* p : slots) pool.release(p, 168);
    // Emptied: the blocks are reused, not new memory taken.
    unsigned char* again = static_cast<unsigned char*>(pool.allocate(168));
    EXPECT_NE(std::find(slots.begin(), slots.end(), again), slots.end());
    pool.release(again, 168);
}

TEST(CKpBlockPool, AHeldPoolServesItsHolderAndMakesOtherThreadsWait) {
    if (!CKpBlockPool::Pooling()) GTEST_SKIP() << "the heap serves every request here";
    CKpBlockPool pool(64);
    std::atomic<bool> done{false};
    void* fromOther = nullptr;
    std::thread other;
    void* a = nullptr;
    {
        CKpBlockPool::Hold hold(pool);
        CKpBlockPool::Hold again(pool);  // already held: nothing happens
        a = pool.allocate(64);
        void* b = pool.allocate(64);
        ASSERT_TRUE(a && b && a != b);
        pool.release(b, 64);
        EXPECT_EQ(pool.allocate(64), b);  // the released slot comes back first
        pool.release(b, 64);
        other = std::thread([&] {
            fromOther = pool.allocate(64);
            done = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_FALSE(done.load());  // still waiting for the hold to end
    }
    other.join();
    EXPECT_TRUE(done.load());
    ASSERT_NE(fromOther, nullptr);
    EXPECT_NE(fromOther, a);
    pool.release(fromOther, 64);
    pool.release(a, 64);
}

// Scratch arrays on both sides of the huge-page threshold: aligned, every
// byte writable and kept, and a vector growing across the threshold keeps
// its elements.
TEST(CKpBlockPool, LargeScratchArraysKeepTheirBytesOnBothSidesOfTheThreshold) {
    EXPECT_EQ(CKpBlockPool::allocateLarge(0), nullptr);
    CKpBlockPool::releaseLarge(nullptr, 0);  // nothing to do
    for (size_t bytes : {size_t{24}, CKpBlockPool::kLargeBytes - 8, CKpBlockPool::kLargeBytes,
                         CKpBlockPool::kLargeBytes + 4096 + 8}) {
        unsigned char* p = static_cast<unsigned char*>(CKpBlockPool::allocateLarge(bytes));
        ASSERT_NE(p, nullptr) << bytes;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u) << bytes;
        for (size_t i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(i * 7 + 1);
        size_t wrong = 0;
        for (size_t i = 0; i < bytes; ++i) wrong += p[i] != static_cast<unsigned char>(i * 7 + 1);
        EXPECT_EQ(wrong, 0u) << bytes;
        CKpBlockPool::releaseLarge(p, bytes);
    }

    std::vector<int, CKpLargeAllocator<int>> grown;
    const int n = static_cast<int>(CKpBlockPool::kLargeBytes / sizeof(int)) + 1000;
    for (int i = 0; i < n; ++i) grown.push_back(i ^ 0x5a5a);
    int wrong = 0;
    for (int i = 0; i < n; ++i) wrong += grown[static_cast<size_t>(i)] != (i ^ 0x5a5a);
    EXPECT_EQ(wrong, 0);
    std::vector<int, CKpLargeAllocator<int>>().swap(grown);
    EXPECT_TRUE(grown.empty());
}

// Huge-page advice on heap arrays, small and large, at any alignment:
// what they hold stays, and they stay writable.
TEST(CKpBlockPool, AdvisedHeapArraysKeepTheirBytes) {
    CKpBlockPool::adviseLarge(nullptr, CKpBlockPool::kLargeBytes);  // nothing to do
    for (size_t bytes : {size_t{4096}, CKpBlockPool::kLargeBytes + 24, 3 * CKpBlockPool::kLargeBytes}) {
        std::vector<unsigned char> data(bytes);
        for (size_t i = 0; i < bytes; ++i) data[i] = static_cast<unsigned char>(i % 251 + 1);
        CKpBlockPool::adviseLarge(data.data() + 8, bytes - 8);
        size_t wrong = 0;
        for (size_t i = 0; i < bytes; ++i) wrong += data[i] != static_cast<unsigned char>(i % 251 + 1);
        EXPECT_EQ(wrong, 0u) << bytes;
        for (size_t i = 0; i < bytes; i += 4096) data[i] = 0;
        size_t written = 0;
        for (size_t i = 0; i < bytes; i += 4096) written += data[i] == 0;
        EXPECT_EQ(written, (bytes + 4095) / 4096) << bytes;
    }
}

}  // namespace
