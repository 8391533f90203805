#include "layuplib/CKpBlockPool.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define CKP_POOL_BYPASS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CKP_POOL_BYPASS 1
#endif
#endif
#ifndef CKP_POOL_BYPASS
#define CKP_POOL_BYPASS 0
#endif

namespace {

const size_t kBlockBytes = 256 * 1024;
// Once a pool holds this many bytes in small blocks it is a large mesh's:
// later blocks are 2 MiB, aligned to 2 MiB and offered to the kernel as
// huge pages, so that a million objects cost a few hundred page faults
// instead of a hundred thousand, and the scattered walks over them miss the
// TLB less.
const size_t kSmallBlocksBytes = 4 * 1024 * 1024;
const size_t kLargeBlockBytes = 2 * 1024 * 1024;
const size_t kAlign = 16;

// `bytes` (a multiple of kLargeBlockBytes) mapped at a multiple of
// kLargeBlockBytes and advised as huge pages where that is available; null
// when memory runs out.
void* mapHuge(size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // One page more mapped, the unaligned ends given back.
    const size_t span = bytes + kLargeBlockBytes;
    void* m = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m == MAP_FAILED) return nullptr;
    char* base = static_cast<char*>(m);
    const uintptr_t at = reinterpret_cast<uintptr_t>(base);
    char* p = base + ((kLargeBlockBytes - at % kLargeBlockBytes) % kLargeBlockBytes);
    if (p > base) munmap(base, static_cast<size_t>(p - base));
    char* end = p + bytes;
    if (end < base + span) munmap(end, static_cast<size_t>(base + span - end));
    madvise(p, bytes, MADV_HUGEPAGE);  // advice only: failure changes nothing
    return p;
#else
    return std::malloc(bytes);
#endif
}

void unmapHuge(void* p, size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    munmap(p, bytes);
#else
    (void)bytes;
    std::free(p);
#endif
}

// A large block of a pool.
void* largeBlock() noexcept {
    return mapHuge(kLargeBlockBytes);
}

// `align` a power of two.
size_t roundUp(size_t n, size_t align) {
    return (n + align - 1) & ~(align - 1);
}

size_t slotAlign(size_t align) {
    return align <= 8 ? 8 : 16;
}

}  // namespace

CKpBlockPool::CKpBlockPool(size_t slotSize, size_t align)
    : m_align(slotAlign(align)),
      m_slotSize(roundUp(slotSize < sizeof(Slot) ? sizeof(Slot) : slotSize, m_align)),
      m_slotsPerBlock((kBlockBytes - kAlign) / m_slotSize > 0 ? (kBlockBytes - kAlign) / m_slotSize
                                                              : 1) {}

void CKpBlockPool::lock() noexcept {
    while (m_lock.test_and_set(std::memory_order_acquire)) {
    }
}

void CKpBlockPool::unlock() noexcept {
    m_lock.clear(std::memory_order_release);
}


CKpBlockPool::Hold::Hold(CKpBlockPool& pool) noexcept : m_pool(nullptr) {
    if (CKP_POOL_BYPASS || pool.heldHere()) return;
    pool.lock();
    pool.m_holder.store(std::this_thread::get_id(), std::memory_order_relaxed);
    m_pool = &pool;
}

CKpBlockPool::Hold::~Hold() {
    if (!m_pool) return;
    m_pool->m_holder.store(std::thread::id(), std::memory_order_relaxed);
    m_pool->unlock();
}

void* CKpBlockPool::allocate(size_t size) noexcept {
    if (CKP_POOL_BYPASS || size == 0 || roundUp(size, m_align) != m_slotSize)
        return ::operator new(size, std::nothrow);
    if (heldHere()) return allocateHeld();
    lock();
    void* p = allocateHeld();
    unlock();
    return p;
}

void* CKpBlockPool::allocateHeld() noexcept {
    if (Slot* s = m_free) {
        m_free = s->next;
        ++m_live;
        return s;
    }
    void* p = m_next;
    if (m_next == m_end) {
        p = refill();
        if (!p) return nullptr;
    } else {
        m_next += m_slotSize;
    }
    ++m_live;
    return p;
}

void CKpBlockPool::release(void* p, size_t size) noexcept {
    if (!p) return;
    if (CKP_POOL_BYPASS || size == 0 || roundUp(size, m_align) != m_slotSize) {
        ::operator delete(p);
        return;
    }
    if (heldHere()) return releaseHeld(p);
    lock();
    releaseHeld(p);
    unlock();
}

void CKpBlockPool::releaseHeld(void* p) noexcept {
    if (--m_live == 0) {
        // The last object is gone: the blocks are handed out afresh from
        // their starts, in address order within each, rather than through a
        // free list whose every step is a cache miss.
        m_free = nullptr;
        m_next = m_end = nullptr;
        if (m_blocks) {
            Block* last = m_blocks;
            while (last->next) last = last->next;
            last->next = m_spare;
            m_spare = m_blocks;
            m_blocks = nullptr;
        }
        return;
    }
    Slot* s = static_cast<Slot*>(p);
    s->next = m_free;
    m_free = s;
}

bool CKpBlockPool::releaseAllHeld(size_t n) noexcept {
    if (CKP_POOL_BYPASS || n == 0 || n != m_live || !heldHere()) return false;
    // The last release below empties the pool; the others would only link
    // slots into a free list that it drops.
    m_live = 1;
    releaseHeld(nullptr);
    return true;
}

void* CKpBlockPool::refill() noexcept {
    // The block's first 16 bytes link it into a list of blocks and say
    // where it ends; its slots follow. Called with the lock held.
    if (Block* block = m_spare) {
        m_spare = block->next;
        block->next = m_blocks;
        m_blocks = block;
        char* raw = reinterpret_cast<char*>(block);
        m_next = raw + kAlign + m_slotSize;
        m_end = block->end;
        return raw + kAlign;
    }
    size_t slots = m_slotsPerBlock;
    char* raw = nullptr;
    if (m_blockBytes >= kSmallBlocksBytes && m_slotSize <= (kLargeBlockBytes - kAlign) / 4) {
        raw = static_cast<char*>(largeBlock());
        slots = (kLargeBlockBytes - kAlign) / m_slotSize;
    }
    if (!raw) {
        slots = m_slotsPerBlock;
        raw = static_cast<char*>(std::malloc(kAlign + slots * m_slotSize));
    }
    if (!raw) return nullptr;
    m_blockBytes += kAlign + slots * m_slotSize;
    Block* block = reinterpret_cast<Block*>(raw);
    block->next = m_blocks;
    block->end = raw + kAlign + slots * m_slotSize;
    m_blocks = block;
    m_next = raw + kAlign + m_slotSize;
    m_end = block->end;
    return raw + kAlign;
}

void* CKpBlockPool::allocateLarge(size_t bytes) noexcept {
    if (bytes == 0) return nullptr;
    if (CKP_POOL_BYPASS || bytes < kLargeBytes) return std::malloc(bytes);
    if (bytes > SIZE_MAX - 2 * kLargeBlockBytes) return nullptr;
    return mapHuge(roundUp(bytes, kLargeBlockBytes));
}

void CKpBlockPool::adviseLarge(void* p, size_t bytes) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (CKP_POOL_BYPASS || !p || bytes < kLargeBytes) return;
    const uintptr_t from = roundUp(reinterpret_cast<uintptr_t>(p), kLargeBlockBytes);
    const uintptr_t to = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(kLargeBlockBytes - 1);
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#else
    (void)p;
    (void)bytes;
#endif
}

void CKpBlockPool::releaseLarge(void* p, size_t bytes) noexcept {
    if (!p) return;
    if (CKP_POOL_BYPASS || bytes < kLargeBytes) return std::free(p);
    unmapHuge(p, roundUp(bytes, kLargeBlockBytes));
}

bool CKpBlockPool::Pooling() noexcept {
    return !CKP_POOL_BYPASS;
}
