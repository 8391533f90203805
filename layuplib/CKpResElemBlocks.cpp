#include "layuplib/CKpResElemBlocks.h"

#include <atomic>
#include <cstdlib>
#include <new>

struct CKpResElemBlocks::Block {
    // Objects taken and not given back, plus kOwner while the owner takes
    // from the block (the owner counts what it takes and settles when it
    // lets go, so taking needs no atomic operation).
    std::atomic<long> holds;
};

namespace {

constexpr std::size_t kHeader = sizeof(void*);
constexpr std::size_t kLargestBlock = 64 * 1024;
constexpr long kOwner = 1L << 40;

std::size_t RoundUp(std::size_t size) {
    return (size + 7) & ~static_cast<std::size_t>(7);
}

}  // namespace

CKpResElemBlocks::~CKpResElemBlocks() {
    LetGo();
}

void CKpResElemBlocks::LetGo() noexcept {
    Drop(m_block, kOwner - m_taken);
    m_block = nullptr;
    m_taken = 0;
}

void CKpResElemBlocks::Drop(Block* block, long holds) noexcept {
    if (block && block->holds.fetch_sub(holds, std::memory_order_acq_rel) == holds) {
        block->~Block();
        std::free(block);
    }
}

void* CKpResElemBlocks::Take(std::size_t size) noexcept {
    const std::size_t slot = kHeader + RoundUp(size);
    if (!m_block || static_cast<std::size_t>(m_end - m_next) < slot) {
        const std::size_t first = RoundUp(sizeof(Block));
        std::size_t bytes = m_nextSize;
        while (bytes < first + slot) bytes *= 2;
        void* memory = std::malloc(bytes);
        if (!memory) return nullptr;
        LetGo();
        m_block = new (memory) Block{{kOwner}};
        m_next = static_cast<char*>(memory) + first;
        m_end = static_cast<char*>(memory) + bytes;
        if (m_nextSize < kLargestBlock) m_nextSize *= 4;
    }
    char* at = m_next;
    m_next += slot;
    ++m_taken;
    *reinterpret_cast<Block**>(at) = m_block;
    return at + kHeader;
}

void* CKpResElemBlocks::TakeLoose(std::size_t size) noexcept {
    char* at = static_cast<char*>(std::malloc(kHeader + RoundUp(size)));
    if (!at) return nullptr;
    *reinterpret_cast<Block**>(at) = nullptr;
    return at + kHeader;
}

void CKpResElemBlocks::Give(void* object) noexcept {
    if (!object) return;
    char* at = static_cast<char*>(object) - kHeader;
    Block* block = *reinterpret_cast<Block**>(at);
    if (block)
        Drop(block, 1);
    else
        std::free(at);
}

void CKpResElemBlocks::Giver::Give(void* object) noexcept {
    if (!object) return;
    char* at = static_cast<char*>(object) - kHeader;
    Block* block = *reinterpret_cast<Block**>(at);
    if (!block) {
        std::free(at);
        return;
    }
    if (block != m_block) {
        Flush();
        m_block = block;
    }
    ++m_count;
}

void CKpResElemBlocks::Giver::Flush() noexcept {
    if (m_count > 0) Drop(m_block, m_count);
    m_block = nullptr;
    m_count = 0;
}
