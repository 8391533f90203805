#ifndef PLYSTRAND_LAYUPLIB_IVEKRESULT_H
#define PLYSTRAND_LAYUPLIB_IVEKRESULT_H

// IVekResult: one result of the model's results store as clients see it: one
// named quantity for one load case, subcase and layer, with a record of
// values per element (up to 255 floats followed by up to 255 ints).
//
// Names, by index: 0 load case, 1 subcase (time step, frequency,
// iteration), 2 result type ("Stress Tensor", "Strain Tensor",
// "Failure Indices", "Shell Forces", ...), 3 component or failure theory,
// 4 layer ("Layer " and the layer number from 1; empty for an unlayered
// result). An unset name reads as "".
//
// The result belongs to its store: clients never delete it (use
// IVekResultStore::Delete). The operations keep this slot order; all return
// an int status, 0 for success, unless said otherwise.
class IVekResult {
  public:
    // Values per element: 1 scalar (1 value), 2 vector (3), 3 tensor (6).
    enum EType : int { eScalar = 1, eVector = 2, eTensor = 3 };
    // Where the values sit: 1 element centroid, 2 nodes (printed-output
    // force pages with corner output use 3).
    enum ELocation : int { eElement = 1, eNode = 2 };
    // Frame of the values, as a code: 1 shell forces and moments, 3 force
    // rows that begin with a text, 4 layered stresses, strains and failure
    // results, -99 results from the host database, 0 unset.
    enum EOrientation : int { eOrientationUnset = 0 };

    // Copies name i into names[i] (written), at most `len` bytes, the last
    // one always the terminator; a null names[i] is skipped. 1 for a null
    // array or len < 1 (nothing written).
    virtual int GetNames(char* names[5], int len) = 0;
    // The type, location and orientation codes.
    virtual int GetType() = 0;
    virtual int GetLocation() = 0;
    virtual int GetOrientation() = 0;
    // Number of element records.
    virtual int GetNumElements() = 0;
    // Fills, in ascending element id order, ids[i] and, where given,
    // nInts[i] and nFloats[i] (each n ints, written). 1 when n differs from
    // GetNumElements() and 2 for a null ids; nothing is written then.
    virtual int GetElementIdsNums(int n, int* ids, int* nInts, int* nFloats) = 0;
    // For each record in ascending element id order appends its ints to
    // `ints` and its floats to `floats` (written), each only if given. The
    // caller sizes them from the sums of GetElementIdsNums.
    virtual int GetElementResults(int* ints, float* floats) = 0;
    // Sets all five names (read; a null entry sets ""). 1 for a null array.
    virtual int SetNames(const char* const names[5]) = 0;
    // Store the code.
    virtual int SetType(EType type) = 0;
    virtual int SetLocation(ELocation location) = 0;
    virtual int SetOrientation(EOrientation orientation) = 0;
    // Files the records of n elements (all arrays read):
    //   ids[n]            element ids;
    //   nInts[n]          ints per element, or null for float records;
    //   nFloats[n]        floats per element, or null for int records;
    //   ints, floats      the values of all elements one after the other.
    // An element without a record gets one, with its values taken at the
    // running offsets (a null value array leaves zeros); an element that
    // has a record keeps it. Either way the offsets move past the element's
    // values. Returns 1 for a null ids; 0 with nothing done for n < 1 or
    // both count arrays null; 3 when any count lies outside 0..255 (nothing
    // created); 2 when memory runs out (the records created before stay);
    // else 0.
    virtual int SetElementResults(int n, const int* ids, const int* nInts, const int* nFloats,
                                  const int* ints, const float* floats) = 0;

  protected:
    ~IVekResult() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKRESULT_H
