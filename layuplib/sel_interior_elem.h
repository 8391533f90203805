#ifndef PLYSTRAND_LAYUPLIB_SEL_INTERIOR_ELEM_H
#define PLYSTRAND_LAYUPLIB_SEL_INTERIOR_ELEM_H

class CKpBdyStore;
class CKpElemStore;
class CKpFacetStore;
class CKpGra;
class CKpMsg;

// Fills the interior holes of an element selection so that a ply can be
// draped over them. `boundaries` holds the region traced from `startFacet`
// (CKpBdyStore::CalculateBoundary); `option` is its trace option.
//   1. information "Automatically selecting elements to fill interior hole
//      to enable draping.";
//   2. each hole ring k of n is copied into a working ring, the surface
//      division on each of its segments' facet edges is removed
//      (SurfaceDeleteDivision), and the ring is advanced over the surface
//      (CalcBoundaryAdvance), painting the facets it passes; information
//      "Interior boundary %3d of %3d resulted in %6d boundary changes."
//      (k from 1, n, changes);
//   3. when there were changes: information " selecting interior element:"
//      and, for each painted facet whose element is not selected, the
//      element becomes selected and interior, its id goes into the store's
//      interior elements, and the information "  %6d" (id);
//   4. when the store then holds interior elements, the selection's links
//      are rebuilt (find_selected_neighbour) and the region is checked for
//      holes still enclosed (CKpBdyStore::CheckForInteriorHoles).
// `result` (when not null) is set to 1 when a hole is still enclosed after
// step 4, else 0.
// 0; -1 when rebuilding the links fails, when a hole is still enclosed,
// for a null store, or with the error "Could not allocate memory." when
// memory runs out (elements selected before stay selected).
int sel_interior_elem(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets,
                      int startFacet, int option, CKpBdyStore* boundaries, int* result);

#endif  // PLYSTRAND_LAYUPLIB_SEL_INTERIOR_ELEM_H
