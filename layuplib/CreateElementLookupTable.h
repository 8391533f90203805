#ifndef PLYSTRAND_LAYUPLIB_CREATEELEMENTLOOKUPTABLE_H
#define PLYSTRAND_LAYUPLIB_CREATEELEMENTLOOKUPTABLE_H

// The element lookup between two meshes of one part, for the ply import:
// which source elements lie over each selected destination element. The
// table is kept on the source elements as references (CKpElem::pElemRefs,
// at most one per destination element) with a rotation angle (radians) and
// a direction flag (+1 normals the same way, -1 opposite). Identical
// elements are mapped (angle 0, flag +1); the rest are found by piercing a
// short line through each destination element's centre along its normal
// into the source facets.
//
// Messages go to `msg` (information 1, warning 2); progress lines only for
// element ids that are multiples of 1000.

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpPoint.h"

class CKpElem;
class CKpElemStore;
class CKpFacetIntPts;
class CKpFacetStore;
class CKpFacet;
class CKpMsg;
class CKpNodeStore;
class CKpSortStore;

namespace Layup {
class EntityGraphSearch;
}

// Builds the table. Mapping first: each selected destination element whose
// source element of the same id matches it (CheckElement, tolerance 0.001 x
// sqrt of the destination's average element area) is referenced and
// deselected; *unmatched counts the selected ones left. Then, when any is
// left, piercing with:
//   tolDistance  < 0: an absolute length (its negation); else a percentage
//                of the largest extent of the destination nodes' box;
//   tolAngle     radians, its absolute value, at most pi/2 (a larger one is
//                reduced with a warning);
//   normalCalc   0 the element's normal, 1 its averaged node normal, 2 the
//                area-weighted mean with its selected neighbours, 3 the mean
//                by graph distance; other non-zero codes act as 1;
//   splitWidth   > 0: lines offset by this much also bridge gaps.
// A zero distance or angle skips piercing with a warning.
// 0; -1 when piercing is needed and the destination nodes have no bounding
// box (the mapping's references stay). *unmatched is always set.
int CreateElementLookupTable(CKpMsg* msg, CKpNodeStore* dstNodes, CKpElemStore* dstElems,
                             CKpFacetStore* dstFacets, CKpNodeStore* srcNodes,
                             CKpElemStore* srcElems, CKpFacetStore* srcFacets, double tolDistance,
                             double tolAngle, int normalCalc, double splitWidth, int* unmatched);

// The piercing pass alone, with the distance (model length) and angle
// (radians) already resolved. Every source element is selected, then those
// already holding references are deselected. 0; -1 when a sort table cannot
// be created (references made so far stay).
int CreateElementLookupTablePiercing(CKpMsg* msg, CKpNodeStore* dstNodes, CKpElemStore* dstElems,
                                     CKpFacetStore* dstFacets, CKpNodeStore* srcNodes,
                                     CKpElemStore* srcElems, CKpFacetStore* srcFacets,
                                     double distance, double angle, int normalCalc,
                                     double splitWidth);

// 0 when the two elements match: same id, geometry type, element type and
// node count, and each node within `tol` of the node at the same position in
// the other (a box test). 1 otherwise (also for a null element).
int CheckElement(CKpMsg* msg, const CKpElem* dst, const CKpElem* src, double tol);

// The mean normal around element `elemId` by graph distance: its averaged
// node normal times its area, plus, when every selected neighbour lies within
// `distance` over the mesh (up to 100 element centres searched in `search`),
// each element found in its subdomain weighted by (1 - path/distance), the
// two subdomain direction flags and its area; unit length when non-zero.
// 0; 1 when the element does not exist or `normal` is null. A null search
// gives the element's own weighted normal.
int GetAverageNormalByDistance(CKpElemStore* elems, CKpFacetStore* facets,
                               Layup::EntityGraphSearch* search, double distance, int elemId,
                               CKpDirn* normal);

// Offset lines across a split: four offsets o of length |splitWidth|
// perpendicular to `normal`; a pair of lines through centre + o and
// centre - o that both hit the candidates (positions first .. first+count-1
// of `candidates`, or every facet for a null table) within [tmin, tmax]
// replaces `hits` when nearer than what it holds. `offset` and `line` are
// left at the last offset and line tried. 1 when splitWidth is 0 (nothing
// done), else 0.
int PierceSplitSides(CKpMsg* msg, CKpDirn normal, CKpDirn* offset, CKpFacetStore* facets,
                     double splitWidth, CKpLine* line, CKpPoint centre, double tmin, double tmax,
                     int all, CKpSortStore* candidates, int first, int count, CKpFacetIntPts& hits);

// The smallest (side 0) or largest (side 1) corner coordinate of the facet
// along axis 0 x, 1 y, 2 z; 0.0 for a null facet.
double GetValue(int axis, int side, const CKpFacet* facet);

// Splits positions [first, first + count) of an ascending table at `bound`:
// side 0 keeps the values <= bound (a run from `first`), side 1 the values
// >= bound (a run up to the end). The kept run and the rest go to the four
// outputs (first position and count each). 0.
int GetValid(const CKpSortStore* table, int first, int count, double bound, int side,
             int* validFirst, int* validCount, int* otherFirst, int* otherCount);

#endif  // PLYSTRAND_LAYUPLIB_CREATEELEMENTLOOKUPTABLE_H
