#ifndef PLYSTRAND_LAYUPLIB_IVEKSELECT_H
#define PLYSTRAND_LAYUPLIB_IVEKSELECT_H

// IVekSelect: element selection as clients see it: pick elements of the
// model by id and get back the connected groups they form, with their
// boundary and interior elements and boundary rings. The model owns the
// object and hands it out through ILayup::GetSelect; clients never delete
// it.
//
// Groups are addressed by an index from 0 in the order of their lowest
// facet. The results (the groups) are valid after a successful Run; every
// query first runs Run itself when they are not.
//
// Status codes of the queries (GetNumSelectionGroups .. GetBoundary):
//   0 success; 1 no model; 2 the results were not valid and the Run the
//   query started failed; 3 no group with that index; 4 the caller's
//   arguments do not fit (a null output, or sizes that differ from the
//   group's; nothing is written).
class IVekSelect {
  public:
    // Forgets the chosen ids and the groups; the results become invalid. 0.
    virtual int Clear() = 0;

    // Adds element ids to the choice (ids chosen before stay chosen): the
    // first n entries of `ids` (read) in array order, or every element of
    // the model for n = -1 (`ids` not read). Ids of elements that do not
    // exist, and ids already chosen, are skipped; n below 1 adds nothing.
    // Valid results become invalid. 0; 1 without model; -1 with the error
    // "Invalid element id list." for a null `ids` with n above 0 (nothing
    // changes).
    virtual int SetElementIds(int n, int* ids) = 0;

    // Writes the number of groups into *numGroups.
    virtual int GetNumSelectionGroups(int* numGroups) = 0;

    // Writes the numbers of boundary and interior elements of group
    // `group` into *numBoundary and *numInterior.
    virtual int GetNumElements(int group, int* numBoundary, int* numInterior) = 0;

    // Writes the ids of the group's boundary elements (ascending) into
    // `boundaryIds` when `numBoundary` equals their number, and of its
    // interior elements into `interiorIds` when `numInterior` equals theirs;
    // a list whose count does not match (or whose array is null with a
    // count above 0) is left untouched and the result is still 0.
    virtual int GetElementIds(int group, int numBoundary, int* boundaryIds, int numInterior,
                              int* interiorIds) = 0;

    // Writes the group's number of boundary rings (outer ring and holes)
    // into *numRings and its number of boundary points (segments plus one
    // closing point per ring) into *numPoints.
    virtual int GetBoundarySizes(int group, int* numRings, int* numPoints) = 0;

    // Writes the group's rings as points, outer ring first: `perRing`
    // (numRings ints) the points of each ring, `xyz` (3 x numPoints
    // doubles, x y z per point, model units) and `ids` (numPoints node ids);
    // each ring ends on its first point. A null array is skipped. numRings
    // and numPoints must equal the values of GetBoundarySizes: otherwise
    // nothing is written and the result is 4.
    virtual int GetBoundary(int group, int numRings, int numPoints, int* perRing, double* xyz,
                            int* ids) = 0;

    // Groups the chosen elements: the model's surface is restored, the
    // chosen elements are selected and one boundary store is built per
    // connected group. Changes the selection state of the model's elements
    // and facets. 0 (also when no id is chosen: no groups); 1 no model;
    // 2 no memory for the id list; 3 selecting the elements failed; 4 the
    // selection keeps shell branches; 5 building the groups failed.
    virtual int Run() = 0;

    virtual ~IVekSelect() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSELECT_H
