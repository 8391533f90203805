#ifndef PLYSTRAND_LAYUPLIB_IVEKOFFSET_H
#define PLYSTRAND_LAYUPLIB_IVEKOFFSET_H

// Offset flag: which face of an element's ply stack the offset value
// locates (the element offset flag, CKpElem::getoff_fg). Any value other
// than top and middle counts as bottom.
enum EVekOffsetFlag : int { EVekOffsetTop = -1, EVekOffsetMiddle = 0, EVekOffsetBottom = 1 };

// IVekOffset: what outside clients see of one offset definition: a region of
// shell elements whose reference surface is shifted. CKpOff derives from it
// first. The definition belongs to its store: clients never delete it
// (IVekOffsetStore::Delete). Points and directions are 3 doubles in the
// basic frame, model length units.
class IVekOffset {
  public:
    virtual int GetId() = 0;
    // The name ("" when unset).
    virtual const char* GetName() = 0;
    // The number of element ids of the region.
    virtual int GetNumElements() = 0;
    // The element ids in the order given into `ids` (n ints, written). 0; 1
    // when n differs from GetNumElements(); 2 for a null `ids` with n above
    // 0.
    virtual int GetElementIds(int n, int* ids) = 0;
    // The seed (eye) point into `xyz` (written). 0; -1 for null.
    virtual int GetSeedPoint(double* xyz) = 0;
    // The coordinate origin: 1 when none was set; 2 for a null `buffer`;
    // otherwise its name into `buffer` (room for `size` bytes: at most
    // size - 1 characters and a terminator; no text for size below 1) and
    // its point into `xyz` (written; skipped when null), 0.
    virtual int GetCoordOriginName(double* xyz, char* buffer, int size) = 0;
    // The application (eye) direction into `xyz` (written). 0; -1 for null.
    virtual int GetApplicationDirection(double* xyz) = 0;
    virtual double GetOffsetValue() = 0;
    virtual EVekOffsetFlag GetOffsetFlag() = 0;
    // Size of the region's boundary: `contours` the number of rings, `points`
    // the number of ring points (each ring's segments + 1). Traced on a
    // temporary boundary store after selecting the region and finding its
    // start facet (Apply's steps 1 and 2; the working selection changes).
    // 0; 1 on any failure (both then 0).
    virtual int GetBoundarySizes(int& contours, int& points) = 0;
    // The same boundary: for each ring (outer ring first) `counts` its point
    // count, and per point (the start of the first segment, then the end of
    // each segment, closing the ring) `coords` 3 doubles and `ids` the node
    // id; any array may be null. `contours` and `points` are the room of
    // `counts` and of `ids` (`coords` 3 x points). 0; 1 without store or
    // model; 2 without faceted surface; 3 on failure or when the boundary
    // does not fit (nothing written).
    virtual int GetBoundary(int contours, int points, int* counts, double* coords, int* ids) = 0;

    // Stores the name. -1 for a null name or one that a definition of the
    // store already bears (this one included); else 0.
    virtual int SetName(const char* name) = 0;
    // Replaces the element ids by the n ids of `ids` (read). 1 for a null
    // `ids`; 0 (the list empty) for n below 1; 3 when memory runs out (the
    // ids appended so far stay); else 0.
    virtual int SetElementIds(int n, const int* ids) = 0;
    // Store 3 doubles (read). 0; -1 for null or a non-finite value
    // (unchanged).
    virtual int SetSeedPoint(const double* xyz) = 0;
    // Raises the origin flag and stores the point (read) and the name (null:
    // ""). 0; -1 for a null point (unchanged).
    virtual int SetCoordOriginName(const double* xyz, const char* name) = 0;
    virtual int SetApplicationDirection(const double* xyz) = 0;
    // 0; -1 for a non-finite value (unchanged).
    virtual int SetOffsetValue(double value) = 0;
    virtual int SetOffsetFlag(EVekOffsetFlag flag) = 0;

    // Applies the definition: selects its elements as the working surface
    // (ids without an element are skipped), finds the start facet and side
    // from the seed point and application direction, and writes the flag
    // and value into every element of the region traced from there (the
    // flag and value negated where the region's facets face the other way).
    // 0; 1 without store or model; 2 without element store or faceted
    // surface; 3 when selecting fails; 4 when no start facet is found; 5
    // when the offsets cannot be written.
    virtual int Apply() = 0;

  protected:
    ~IVekOffset() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKOFFSET_H
