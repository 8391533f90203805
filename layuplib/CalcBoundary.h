#ifndef PLYSTRAND_LAYUPLIB_CALCBOUNDARY_H
#define PLYSTRAND_LAYUPLIB_CALCBOUNDARY_H

// Boundaries of regions of the faceted surface. A region is the connected
// set of facets reached from a start facet through the facets' neighbour
// links; free edges, divided edges (the border of a selection) and branch
// edges without a single neighbour are not crossed. Its boundary is traced
// as closed rings of segments (CKpBdy): facet edges with the facet's
// orientation relative to the start facet, running anticlockwise about the
// start facet's normal taken with the start direction.
//
// Tracing grows a ring from the start facet's three edges: each segment
// whose edge has an unpainted neighbour is replaced by the neighbour's two
// other edges (or, where those meet the ring, the ring closes over them),
// until a full pass changes nothing. Where the front meets itself, both
// sides of the meeting edge stay on the ring; CalcBoundary removes them and
// splits what is left into the outer ring and the holes.
//
// Facet marks written by tracing: CKpFacet::setPntd(1) for every region
// facet and setFacetDirection(+1/-1, its orientation relative to the start
// facet); CalcBoundary also sets setBdyStoreId.
//
// Messages go to `msg` when it is given (it may be null everywhere):
//   "Could not allocate memory."                  error, allocation failure
//   "Incorrect boundary pointers for byid %d"     error, a ring whose links
//                                                 disagree (segment number)
//   "Phantom split exists next." / "... prev."    information
//   "Phantom interior boundary deleted."          warning
//   "Invalid start facet %d."                     error (CalcBoundary)
//
// Caller's facet arrays: where a function takes `count`, `facetIds` and
// `facetDirs`, each facet painted by the call is written at position
// *count of both arrays (its index and its direction flag) and *count is
// raised; the arrays must have room for *count + facets->entries() ints
// (with count null nothing is recorded; a null array is skipped).

class CKpBdy;
class CKpBdyStore;
class CKpFacetStore;
class CKpMsg;

// Grows the region from `startFacet` and returns the ring that encloses it.
//   clearMarks  non-zero: every facet's painted flag and direction flag are
//               cleared first;
//   direction   the start facet's orientation: -1 for a negative value,
//               else +1;
//   ring        written: the ring (owned by the caller; DeleteBoundary), or
//               null when the region closed on itself (no boundary) or on
//               failure.
// 0; 1 when the start facet does not exist (nothing painted); -1 on
// allocation failure or a ring whose links disagree (the ring is deleted).
int CalcAllBoundary(CKpMsg* msg, CKpFacetStore* facets, int clearMarks, int startFacet,
                    int direction, CKpBdy*& ring, int* count, int* facetIds, int* facetDirs);

// One growth step at segment `current` of the ring headed by `ring`.
// `sense` +1 walks forward (the position after a change is the segment now
// standing where `current` stood, or the one after the segments removed),
// -1 backward (the segment before them). `ring` is updated when its head
// is removed and becomes null when the ring vanishes (as does `current`).
// 1 when the ring changed, 0 when not (a free edge, or an already painted
// neighbour), -1 on allocation failure (the ring is unchanged).
int CalcBoundaryEdge(CKpMsg* msg, CKpFacetStore* facets, CKpBdy*& ring, CKpBdy*& current, int sense,
                     int* count, int* facetIds, int* facetDirs);

// Repeats CalcBoundaryEdge (sense +1) around the ring from its head until
// a full pass changes nothing, renumbering the ring and verifying its links
// before the first and after every pass. *changes (when given) receives the
// total number of changes. 0; -1 on allocation failure or when the ring's
// links disagree (the ring is left as it is; nothing further is done).
int CalcBoundaryAdvance(CKpMsg* msg, CKpFacetStore* facets, CKpBdy*& ring, int* changes, int* count,
                        int* facetIds, int* facetDirs);

// The boundary of the region around `startFacet` into `store`: the store
// is emptied (CKpBdyStore::reinit), the region traced with marks cleared,
// every region facet gets the store's id as its boundary store id and its
// element's id goes into the store's element ids; segments lying between
// two region facets are removed and what is left is split into the outer
// ring and the holes (CalcInteriorBoundary).
// 0 done; 1 invalid start facet ("Invalid start facet %d.", also without a
// facet store); 2 tracing failed (or a null store); 3 hole separation
// failed; -1 allocation failure.
int CalcBoundary(CKpMsg* msg, CKpFacetStore* facets, int startFacet, int direction,
                 CKpBdyStore* store);

// Splits the store's outer ring, a chain of pieces that touch at vertices,
// into closed loops: a loop takes, in ring order, each later unused segment
// that continues it (its start node is the loop's end node) until it comes
// back to its first node. The longest loop (ties: the first) becomes the
// outer ring and the others are appended to the holes; the old ring is
// deleted. 0 (also without an outer ring); -1 on allocation failure (the
// store keeps its old outer ring and the holes appended before the
// failure; the other loops are deleted) or a ring whose links disagree
// (the store is left as it was).
int CalcInteriorBoundary(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* store);

// Interior angle (radians) of the region at the start vertex V of
// `segment`: the angles at V of the segment's facet and of the facets
// passed walking around V across the facets' other edges at V, until the
// walk reaches the facet and edge of the segment before it (pi at a
// straight boundary). The walk also stops at an edge without a single
// linked neighbour (free, divided or branch), when it comes back to the
// segment's facet, or after facets->entries() steps; the angles summed so
// far are the result. 0; -1 for a null argument (*angle not written).
int CalcBoundaryAngle(CKpFacetStore* facets, const CKpBdy* segment, double* angle);

// Numbers the ring 1..n from `ring` along its next links and checks that
// each segment is its predecessor's successor and its successor's
// predecessor. 0 (also for a null ring); -1 with "Incorrect boundary
// pointers for byid %d" (the number of the segment whose links disagree).
// Stops at the first disagreement, so a corrupt ring cannot loop it.
int UpdateBoundary(CKpMsg* msg, CKpBdy* ring);

// A zeroed array of n ring pointers (calloc; the caller frees it with
// free). Null when n is below 1 or memory runs out.
CKpBdy** newCKpBdyPtrA(int n);

#endif  // PLYSTRAND_LAYUPLIB_CALCBOUNDARY_H
