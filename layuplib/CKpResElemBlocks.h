#ifndef PLYSTRAND_LAYUPLIB_CKPRESELEMBLOCKS_H
#define PLYSTRAND_LAYUPLIB_CKPRESELEMBLOCKS_H

#include <cstddef>

// CKpResElemBlocks: memory for the element records of one result, carved
// from blocks instead of one heap allocation per record. A result of a
// million records then costs a few hundred allocations, and deleting it a
// few hundred frees.
//
// Every record carries one pointer in front of it: its block, or null for
// a record that came from the heap on its own. A block goes back to the
// heap when its last record is deleted and its owner has moved on to
// another block (or is destroyed); slots of deleted records are not reused
// before. Blocks grow from 1 KB to 64 KB, so a result of few records costs
// little.
//
// Not thread-safe for taking (like the store it belongs to); records may be
// deleted from any thread.
class CKpResElemBlocks {
    struct Block;

  public:
    CKpResElemBlocks() = default;
    // Drops this owner's hold on its current block.
    ~CKpResElemBlocks();
    CKpResElemBlocks(const CKpResElemBlocks&) = delete;
    CKpResElemBlocks& operator=(const CKpResElemBlocks&) = delete;

    // Room for an object of `size` bytes (aligned to 8) from the current
    // block, or a fresh one; null when memory runs out.
    void* Take(std::size_t size) noexcept;

    // Room for an object of `size` bytes straight from the heap, with a
    // null block pointer; null when memory runs out.
    static void* TakeLoose(std::size_t size) noexcept;

    // Gives back the room of an object from Take or TakeLoose (nothing for
    // null).
    static void Give(void* object) noexcept;

    // Gives back the room of many objects, settling each block's count once
    // per run of neighbours instead of once per object. Gives back whatever
    // is pending when destroyed.
    class Giver {
      public:
        Giver() = default;
        ~Giver() { Flush(); }
        Giver(const Giver&) = delete;
        Giver& operator=(const Giver&) = delete;
        void Give(void* object) noexcept;
        void Flush() noexcept;

      private:
        Block* m_block = nullptr;
        long m_count = 0;
    };

  private:
    // Takes `holds` off the block's count; the count reaching 0 frees it.
    static void Drop(Block* block, long holds) noexcept;
    // Leaves the current block (settling what was taken from it).
    void LetGo() noexcept;

    Block* m_block = nullptr;
    long m_taken = 0;  // objects taken from the current block
    char* m_next = nullptr;  // free room of the current block
    char* m_end = nullptr;
    std::size_t m_nextSize = 1024;  // the size of the next block
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESELEMBLOCKS_H
