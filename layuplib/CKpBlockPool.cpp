#include "layuplib/CKpBlockPool.h"

#include <cstdlib>
#include <new>

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
const size_t kAlign = 16;

size_t roundUp(size_t n) {
    return (n + kAlign - 1) / kAlign * kAlign;
}

// Holds a spin lock for its scope.
class Lock {
  public:
    explicit Lock(std::atomic_flag& flag) : m_flag(flag) {
        while (m_flag.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Lock() { m_flag.clear(std::memory_order_release); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    std::atomic_flag& m_flag;
};

}  // namespace

CKpBlockPool::CKpBlockPool(size_t slotSize)
    : m_slotSize(roundUp(slotSize < sizeof(Slot) ? sizeof(Slot) : slotSize)),
      m_slotsPerBlock((kBlockBytes - kAlign) / m_slotSize > 0 ? (kBlockBytes - kAlign) / m_slotSize
                                                              : 1) {}

void* CKpBlockPool::allocate(size_t size) noexcept {
    if (CKP_POOL_BYPASS || size == 0 || roundUp(size) != m_slotSize)
        return ::operator new(size, std::nothrow);
    Lock lock(m_lock);
    if (Slot* s = m_free) {
        m_free = s->next;
        return s;
    }
    if (m_next == m_end) return refill();
    void* p = m_next;
    m_next += m_slotSize;
    return p;
}

void CKpBlockPool::release(void* p, size_t size) noexcept {
    if (!p) return;
    if (CKP_POOL_BYPASS || size == 0 || roundUp(size) != m_slotSize) {
        ::operator delete(p);
        return;
    }
    Lock lock(m_lock);
    Slot* s = static_cast<Slot*>(p);
    s->next = m_free;
    m_free = s;
}

void* CKpBlockPool::refill() noexcept {
    // The block's first 16 bytes link it into the list of blocks; its slots
    // follow. Called with the lock held.
    char* raw = static_cast<char*>(std::malloc(kAlign + m_slotsPerBlock * m_slotSize));
    if (!raw) return nullptr;
    Block* block = reinterpret_cast<Block*>(raw);
    block->next = m_blocks;
    m_blocks = block;
    m_next = raw + kAlign + m_slotSize;
    m_end = raw + kAlign + m_slotsPerBlock * m_slotSize;
    return raw + kAlign;
}
