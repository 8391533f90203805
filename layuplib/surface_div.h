#ifndef PLYSTRAND_LAYUPLIB_SURFACE_DIV_H
#define PLYSTRAND_LAYUPLIB_SURFACE_DIV_H

// Surface divisions, element selection on the faceted surface, tolerance
// regions, and the ray pick of a facet edge.
//
// Divisions. A divided facet edge is one across which draping does not
// continue: its neighbour edge code (CKpFacet::getNedge) holds the code of
// the link minus 7 (-7..-2), on both facets, while the neighbour index
// stays. Selecting or unselecting an element toggles the division of every
// edge its facets share with facets of other elements, so the divided edges
// are always the borders between selected and unselected elements (plus
// edges divided by hand).
//
// Facets are addressed by index in the facet store, facet edges by 0..2
// (edge k runs from vertex k to vertex (k + 1) mod 3). Stores and elements
// are read and written in place; nothing here takes ownership.

class CKpElem;
class CKpElemStore;
class CKpFacetStore;
class CKpMsg;
class CKpTol;
class CKpTolStore;

// ---- Tolerance regions ----
// Angle tolerances in radians; thickness tolerances as the caller gives
// them. `facets` is accepted for symmetry with the callers and not used.

// Sets the global tolerance (`global`, id 0) to (angtol, thktol), deletes
// every region of `tols`, and gives every element of `elems` the two
// values. 0; -1 when a pointer is null (nothing changes).
int restore_tolerance(CKpElemStore* elems, double angtol, double thktol, CKpTol* global,
                      CKpTolStore* tols);

// Creates a region with id tols->maxId() + 1 and (angtol, thktol), lists in
// it each of the n ids of `ids` (read) that is above 0 and names an element
// of `elems` (in the given order; a repeated id is listed again), gives
// each listed element the region's tolerances and inserts the region (also
// when it lists no element). 0. -1 with the error "Invalid element count
// <n>." for n below 0 or a null `ids` with n above 0, and -1 with the error
// "Could not allocate memory." when memory runs out or the highest id is
// INT_MAX (nothing changes then);
// -1 without a message for a null store.
int set_tol_region_data(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, CKpTolStore* tols,
                        double angtol, double thktol, int n, int* ids);

// Gives every listed element of `region` that exists the region's
// tolerances. 0; -1 for a null store or region.
int set_tolerance_elems(CKpElemStore* elems, CKpFacetStore* facets, CKpTol* region);

// Gives every element the global tolerances, then applies the regions in
// ascending id order, so a later region wins over an earlier one for an
// element listed in both. 0; -1 for a null pointer (nothing changes).
int set_all_tolerances(CKpElemStore* elems, CKpFacetStore* facets, CKpTol* global,
                       CKpTolStore* tols);

// ---- Divisions ----

// Divides edge `edge` of facet `facet`: subtracts 7 from its code and from
// the matching code on the neighbour facet (the neighbour's edge is the
// code, less 3 for codes 3..5). 0. -1 with nothing changed for a null
// store, a facet index outside the store or an empty slot, an edge outside
// 0..2, a free edge (no neighbour or code -1), an edge already divided, or
// links that do not agree (the neighbour missing, or its edge not linked
// back to this facet by an undivided code).
int SurfaceCreateDivision(CKpFacetStore* facets, int facet, int edge);

// Removes the division of edge `edge` of facet `facet`: adds 7 to both
// codes. 0. -1 with nothing changed for the bad arguments above, a free
// edge, an edge that is not divided, or links that do not agree.
int SurfaceDeleteDivision(CKpFacetStore* facets, int facet, int edge);

// For each edge of facet `facet` that has a neighbour facet of another
// element and is not free: divides it when undivided, removes the division
// when divided. 0; nothing for a null or empty store or an index outside
// the store.
int surface_select_ft_edgetoggle(CKpFacetStore* facets, int facet);

// Nothing when `elem` is already selected (getSltd non-zero); otherwise
// sets its selected flag to 1 and its selection order to `order`, and
// toggles (surface_select_ft_edgetoggle) the edges of each of its facets.
// Only facets that belong to the element are touched (an element without
// facets just changes its flags). 0; -1 for a null element or store.
int surface_select_elem(CKpElem* elem, CKpFacetStore* facets, int order);

// Nothing when `elem` is not selected; otherwise clears its selected flag
// and selection order and toggles the same edges. 0; -1 for a null element
// or store.
int surface_unselect_elem(CKpElem* elem, CKpFacetStore* facets);

// surface_select_elem, with order 0 or `order`, on each element of the n
// ids (read) that exists; other ids are skipped. 0; -1 for a null store, n
// below 0, or a null `ids` with n above 0 (nothing selected).
int surface_select_elements(CKpElemStore* elems, CKpFacetStore* facets, int n, int* ids);
int surface_select_elements_order(CKpElemStore* elems, CKpFacetStore* facets, int n, int* ids,
                                  int order);

// surface_select_elem with order 0 on every element. 0; -1 for a null store.
int surface_select_all(CKpElemStore* elems, CKpFacetStore* facets);

// Divides the surface along edge `edge` of element `elementId` (edges
// numbered from 1, corner to corner; a quadratic side covers two facet
// edges, CKpElem::GetFacEdges). For each facet edge on it:
//   - a free edge (no neighbour, code -1; also a shell-branch edge): the
//     error "Element <id> edge <edge> on boundary.";
//   - an edge to a facet of the same element: the error "Selected edge lies
//     within an element.";
//   - an undivided edge to another element is divided; a divided one is
//     left as it is.
// 0 when no error was issued; -1 after any of the errors above (the other
// facet edges of the side are still handled), with the errors of
// GetFacEdges for an edge number outside the element or a non-shell type,
// with the error "Element <id> does not exist." for an unknown id, and
// without a message for a null store.
int surface_divide_elementid(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, int elementId,
                             int edge);

// Restores the whole surface:
//   1. every element loses its selected flag, selection order and interior
//      flag;
//   2. every facet edge shared by more than two facets (neighbour count
//      above 1) becomes free on that facet (neighbour -1, code -1) and the
//      nodes at both its ends get the direction (0, 0, 0);
//   3. every divided edge with a neighbour loses its division on both
//      facets (a division left on one side only by inconsistent links is
//      removed there too).
// 0; -1 for a null store.
int surface_restore(CKpElemStore* elems, CKpFacetStore* facets);

// ---- Picking ----

// The first facet met by the ray from P = (px, py, pz) along d = (dx, dy,
// dz) (model units, basic frame). Hidden facets, degenerate facets and
// facets whose plane is parallel to d are skipped. A facet counts when the
// ray's line meets its plane at X inside the triangle (the signed distances
// of X from the lines of edges 0, 1, 2 towards the opposite vertices are
// all 0 or more) and (P - X)·d is below 1e-6 (X ahead of P); among those the
// one nearest along d wins.
// On a hit, writes (each when its pointer is not null) *facet its index,
// *edge the edge nearest to X (ties: edge 0, then 1), and *sense 1 when the
// facet normal points against d (n·d < 0), else -1; returns 1. Returns 0
// when no facet is met (or for a null store), writing nothing. `msg` is
// not used.
int select_facet_vector(CKpMsg* msg, CKpFacetStore* facets, double px, double py, double pz,
                        double dx, double dy, double dz, int* facet, int* edge, int* sense);

#endif  // PLYSTRAND_LAYUPLIB_SURFACE_DIV_H
