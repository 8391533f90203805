#ifndef PLYSTRAND_TESTS_SUPPORT_RSTWRITER_H
#define PLYSTRAND_TESTS_SUPPORT_RSTWRITER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Synthetic ANSYS results files in the external (big-endian) form, laid out
// as the solver lays them out, for the results reader's tests, fuzz seeds
// and benchmark.
//
// Layout: standard header (100 ints; word 1 the format word, word 9 the
// release characters), results header (80 ints, 40 below release 10), then
// with the model part: degree-of-freedom list, nodal and element
// equivalence tables, data-set index (DSI), times (TIM), load steps (LSP),
// transformation records (TRAN), geometry header (GEO, 80 ints; 40 below
// release 10), element type, real constant and coordinate system indexes
// (entry j non-zero for even j) each followed by a record per non-zero
// entry, one record of 7 doubles per node, the element index (from release
// 10 two words per element, the offset from the index's own position; below
// 10 the absolute position) followed by one record per element, and the
// mass table; without the model part only the element equivalence table and
// the DSI. Then per set: the solution header (ints; 1 element count, 3
// result mask, 4 load step, 5 iteration, 11 position of the element
// solution index relative to the set), a record of doubles, the element
// solution index (two words per element from release 10, p relative to the
// index; below 10 one word, p relative to the set), and per element with an
// index entry its index record (25 ints, word 0 the pointer q: from release
// 10 relative to this record, below 10 relative to the set) and its
// miscellaneous values record (Fx, Fy, Fxy, Mx, My, Mxy, Qx, Qy, then two
// more values; doubles, or floats with flag 0x40000000).
//
// Record lengths count 4-byte words from release 10, below it the data
// bytes + 4. Positions count 4-byte words from the file start.
namespace rstfile {

// One element of one set (element index k = its place in Set::elements).
struct Element {
    // Fx, Fy, Fxy, Mx, My, Mxy, Qx, Qy.
    double v[8] = {};
    // false: index entry p = 0 (nothing else written for the element).
    bool indexed = true;
    // false: the element's index record holds q = 0 (no values record).
    bool hasValues = true;
    // Values in the miscellaneous record (8 meaningful + extra zeros).
    int nValues = 10;
};

struct Set {
    int loadStep = 1;
    int iteration = 1;
    int mask = 0x800;
    // Element count in the solution header; -1: elements.size().
    int nelm = -1;
    std::vector<Element> elements;
};

struct Recipe {
    // Four characters (shorter ones padded with blanks).
    std::string release = "18.2";
    int formatWord = 1;
    // Values records in single precision (flag 0x40000000).
    bool single = false;
    bool modelPart = true;
    int nodes = 4;
    int dof = 6;
    int maxSets = 10;
    int transforms = 1;
    // Entries of the element type, real constant and coordinate system
    // indexes (0: no index record).
    int elementTypes = 2;
    int realConstants = 3;
    int coordSystems = 1;
    bool massTable = true;
    // The element equivalence table in file order.
    std::vector<int> ids;
    std::vector<Set> sets;
};

// One record as written: the block name the reader gives when it reads it,
// the byte range from header to footer, how far a full read (model part and
// results) reads into it (the end for records read whole; element-level
// records of a set are read only up to the values used), and whether the
// reader checks its footer.
struct RecordInfo {
    std::string block;
    size_t start = 0;
    size_t end = 0;
    size_t readEnd = 0;
    bool framed = true;
};

struct File {
    std::string bytes;
    std::vector<RecordInfo> records;
    // Index in `records` of the first record of `block`; -1 when none.
    int Find(const std::string& block) const;
};

File Write(const Recipe& recipe);

// Element values of a simple pattern for element index k of set `set`:
// Fx = 100 set + k + 0.5, Fy = Fx + 0.25, Fxy = -Fx, Mx = 10 Fx, My = 20 Fx,
// Mxy = 30 Fx, Qx = 1 + k, Qy = 2 + k.
Element Pattern(int set, int k);

// Big-endian int at byte `offset` of `bytes` (read or written).
int32_t GetInt(const std::string& bytes, size_t offset);
void PutInt(std::string& bytes, size_t offset, int32_t value);

}  // namespace rstfile

#endif  // PLYSTRAND_TESTS_SUPPORT_RSTWRITER_H
