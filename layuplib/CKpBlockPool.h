#ifndef PLYSTRAND_LAYUPLIB_CKPBLOCKPOOL_H
#define PLYSTRAND_LAYUPLIB_CKPBLOCKPOOL_H

#include <atomic>
#include <cstddef>
#include <thread>

// CKpBlockPool: memory for many objects of one size, carved from large
// blocks. The model's mesh objects (nodes, elements, facets) come by the
// million; taking each from the heap on its own costs a header per object
// and a call into the allocator per object both ways. A class routes its
// operator new and delete here (see CKP_BLOCK_POOLED below).
//
// Slots of `slotSize` bytes (rounded up to a multiple of the alignment: 16,
// or the one given, a power of two of at least 8) are handed out
// from blocks of about 256 KiB, and once the pool holds 4 MiB from blocks of
// 2 MiB (aligned to 2 MiB and advised as huge pages on Linux). A released
// slot goes onto a free list and is the next one handed out, until the last
// slot is released: then the blocks are handed out afresh from their starts,
// so a new mesh after the old one was deleted gets its memory in address
// order. Blocks are kept for the pool's lifetime (the next mesh reuses
// them); the pools of the mesh classes live as long as the process. A
// request of another size (a derived class) goes to the global heap and so
// does its release.
//
// Thread-safe: a spin lock guards each pool (held for a few instructions per
// request, or for the whole loop of a Hold, while other threads spin).
// Its atomic exchange waits for the thread's pending stores, which costs
// more than the rest of a request while a loop fills freshly made objects;
// a loop that makes or deletes many objects of one class holds the pool
// for its length instead (CKpBlockPool::Hold) and so pays it once.
// Under AddressSanitizer every request goes to the global heap, so that the
// sanitizer still sees each object.
class CKpBlockPool {
  public:
    // Slots of `slotSize` bytes at `align` (a power of two, 8 or more;
    // smaller values count as 8, and more than 16 as 16).
    explicit CKpBlockPool(size_t slotSize, size_t align = 16);
    CKpBlockPool(const CKpBlockPool&) = delete;
    CKpBlockPool& operator=(const CKpBlockPool&) = delete;

    // A slot for an object of `size` bytes; null when memory runs out.
    void* allocate(size_t size) noexcept;
    // Gives back what `allocate` returned for the same `size`; null does
    // nothing.
    void release(void* p, size_t size) noexcept;
    // False under AddressSanitizer, where every request goes to the heap.
    static bool Pooling() noexcept;

    // Takes back all slots at once when exactly `n` are handed out: for a
    // caller that holds the pool (Hold) and has destroyed `n` objects in
    // distinct slots of it, so that these are all of them. True when they
    // were taken back (they must not be released again); false, changing
    // nothing, when another count is handed out, the pool is not held by
    // this thread, or under AddressSanitizer: the caller then releases each.
    bool releaseAllHeld(size_t n) noexcept;

    // Memory for a large scratch array of `bytes` bytes, 16-byte aligned,
    // not cleared; null when memory runs out (or for 0 bytes). From
    // kLargeBytes on it is mapped on its own in whole 2 MiB pages, aligned
    // to 2 MiB and advised as huge pages on Linux: a fresh array of tens of
    // megabytes then costs a few dozen page faults instead of thousands.
    // Smaller requests go to the heap. Given back by releaseLarge with the
    // same `bytes`. Thread-safe (no pool involved).
    static void* allocateLarge(size_t bytes) noexcept;
    static void releaseLarge(void* p, size_t bytes) noexcept;
    static constexpr size_t kLargeBytes = 4 * 1024 * 1024;
    // Advises the whole 2 MiB pages inside `bytes` bytes at `p` (from any
    // allocator) as huge pages when `bytes` is kLargeBytes or more, so that
    // a large heap array not yet written costs few page faults. Advice
    // only: nothing changes for the caller.
    static void adviseLarge(void* p, size_t bytes) noexcept;

    // Holds `pool`'s lock for its scope: the holding thread's allocate and
    // release in between skip the lock, other threads wait. Holding a pool
    // the thread already holds does nothing. Hold a pool only around loops
    // that make or delete its objects (and at most take other pools'
    // locks briefly), never while waiting for a pool another thread may
    // hold.
    class Hold {
      public:
        explicit Hold(CKpBlockPool& pool) noexcept;
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

      private:
        CKpBlockPool* m_pool;  // null when the hold was already there
    };

  private:
    struct Slot {
        Slot* next;
    };
    struct Block {
        Block* next;
        char* end;  // past the block's last slot
    };
    void* refill() noexcept;
    void* allocateHeld() noexcept;
    void releaseHeld(void* p) noexcept;
    // Inline: called for every object made or deleted.
    bool heldHere() const noexcept {
        return m_holder.load(std::memory_order_relaxed) == std::this_thread::get_id();
    }
    void lock() noexcept;
    void unlock() noexcept;

    const size_t m_align;
    const size_t m_slotSize;
    const size_t m_slotsPerBlock;
    std::atomic_flag m_lock = ATOMIC_FLAG_INIT;
    // The thread inside a Hold; only that thread ever finds its own id here.
    std::atomic<std::thread::id> m_holder{std::thread::id()};
    Slot* m_free = nullptr;     // released slots, most recent first
    char* m_next = nullptr;     // next untouched slot of the newest block
    char* m_end = nullptr;      // end of the newest block
    Block* m_blocks = nullptr;  // blocks handed out from since the pool was last empty
    Block* m_spare = nullptr;   // blocks not handed out from since then
    size_t m_blockBytes = 0;    // bytes in all blocks
    size_t m_live = 0;          // slots handed out and not released
};

// Declares a class's operator new and delete (plain and nothrow) taking
// their memory from the block pool `pool()` of the class. The slots are
// aligned as the class needs (at least 8), so a class of 8-byte alignment
// costs its own size rounded to 8, not to 16.
#define CKP_BLOCK_POOLED                                                     \
    static CKpBlockPool& pool();                                             \
    static void* operator new(size_t size);                                  \
    static void* operator new(size_t size, const std::nothrow_t&) noexcept { \
        return pool().allocate(size);                                        \
    }                                                                        \
    static void operator delete(void* p, size_t size) noexcept {             \
        pool().release(p, size);                                             \
    }                                                                        \
    static void operator delete(void* p, const std::nothrow_t&) noexcept;

// Defines what CKP_BLOCK_POOLED declares for class `T` (in one source).
#define CKP_BLOCK_POOLED_DEFINE(T)                                     \
    static_assert(alignof(T) <= 16, "pool slots are at most 16-byte aligned"); \
    CKpBlockPool& T::pool() {                                          \
        /* Never destroyed: objects may outlive static destruction. */ \
        static CKpBlockPool* const p = new CKpBlockPool(sizeof(T), alignof(T)); \
        return *p;                                                     \
    }                                                                  \
    void* T::operator new(size_t size) {                               \
        void* p = pool().allocate(size);                               \
        if (!p) throw std::bad_alloc();                                \
        return p;                                                      \
    }                                                                  \
    void T::operator delete(void* p, const std::nothrow_t&) noexcept { \
        pool().release(p, sizeof(T));                                  \
    }

#endif  // PLYSTRAND_LAYUPLIB_CKPBLOCKPOOL_H
