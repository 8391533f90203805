#ifndef PLYSTRAND_LAYUPLIB_CKPRESELEM_H
#define PLYSTRAND_LAYUPLIB_CKPRESELEM_H

#include <cstddef>
#include <cstdint>
#include <new>

#include "layuplib/CKpResElemBlocks.h"
#include "layuplib/CVekObject.h"

// CKpResElem: the values of one element in one result: the id is the
// element id, then up to 255 floats followed by up to 255 ints in one owned
// buffer of 4-byte cells. New cells are zero.
//
// The counts live in 8 bits, so a count outside 0..255 is refused: a
// constructor given one builds an empty record (no floats, no ints), as it
// does when memory runs out; callers that must know compare the counts.
// A null value pointer leaves the cells zero. Positions outside a record's
// range are caller errors: reads give 0, writes change nothing.
class CKpResElem final : public CVekObject {
  public:
    // Largest count of floats, and of ints.
    static constexpr int kMaxCount = 255;

    // An empty record of element `id`.
    explicit CKpResElem(int id);
    // A float record: nFloats values from `floats`.
    CKpResElem(int id, int nFloats, const float* floats);
    // An int record: nInts values from `ints`.
    CKpResElem(int id, int nInts, const int* ints);
    // nFloats floats, then nInts ints.
    CKpResElem(int id, int nFloats, const float* floats, int nInts, const int* ints);
    // Element `id` with the counts and values of `source`.
    CKpResElem(int id, const CKpResElem& source);
    // Id, counts and values of `other`.
    CKpResElem(const CKpResElem& other);
    CKpResElem& operator=(const CKpResElem&) = delete;
    ~CKpResElem() override;

    int GetNumFloats() const { return m_nFloats; }
    int GetNumInts() const { return m_nInts; }
    // The value at `pos`; 0 outside the range.
    float GetFloat(int pos) const;
    int GetInt(int pos) const;
    // Writes the value at `pos`; nothing outside the range.
    void SetFloat(int pos, float value);
    void SetInt(int pos, int value);
    // Copies the first `num` floats into `out` (written): 0; 1 with nothing
    // copied when `num` exceeds the float count or is negative, or `out` is
    // null.
    int GetFloats(int num, float* out) const;
    // Overwrite the first `num` floats (ints) from `values` (read): 0; 1
    // with nothing written when `num` exceeds the count or is negative, or
    // `values` is null.
    int SetFloats(int num, const float* values);
    int SetInts(int num, const int* values);
    // Overwrites the first nFloats floats when `floats` is given and nFloats
    // does not exceed the float count, and likewise the ints; a count above
    // the record's writes nothing of that kind.
    void SetRes(int nFloats, const float* floats, int nInts, const int* ints);
    // SetRes with the counts and values of `source`.
    void SetRes(const CKpResElem& source);

    // Counts and values side by side for the read-backs of a result.
    const float* Floats() const;
    const int* Ints() const;

    // Room for records: `new (blocks, std::nothrow) CKpResElem(...)` takes
    // it from the blocks of a result's store (see CKpResElemBlocks), a
    // plain new from the heap; delete gives back either kind.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void* operator new(std::size_t size, CKpResElemBlocks& blocks,
                              const std::nothrow_t&) noexcept;
    static void operator delete(void* object) noexcept;
    static void operator delete(void* object, const std::nothrow_t&) noexcept;
    static void operator delete(void* object, CKpResElemBlocks&, const std::nothrow_t&) noexcept;

  private:
    union Cell {
        float f;
        int i;
    };
    // Allocates zeroed cells for the counts; leaves the record empty when a
    // count is out of range or memory runs out.
    void Allocate(int nFloats, int nInts);

    // Records of up to six values (a tensor, a failure record) keep them
    // in the object itself: one allocation per record instead of two.
    static constexpr int kLocalCells = 6;

    // The counts first: they fill the room after the id.
    std::uint8_t m_nFloats;
    std::uint8_t m_nInts;
    Cell* m_cells;  // m_local, a heap array, or null for an empty record
    Cell m_local[kLocalCells];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESELEM_H
