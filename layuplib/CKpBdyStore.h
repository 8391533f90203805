#ifndef PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CVekObject.h"

class CKpElemStore;
class CKpFacetStore;
class CKpGra;
class CKpMsg;
class CKpPatStore;
class CKpPlyStore;

// CKpBdyStore: one connected region of the faceted surface: the closed
// rings of facet edges that bound it (one outer ring and any number of hole
// rings) and the ids of the elements along its boundary and of those it
// encloses. The model keeps one (id 0) for the region of the current ply
// simulation; the selection keeps one per connected group (ids 1, 2, ...).
// Rings count as the outer ring first, then holes 1..hole count.
//
// Ownership: the store owns its rings with their segments and point lists.
class CKpBdyStore : public CVekObject {
  public:
    // Store `id`: start facet -1, option 0, no rings, both id sets empty.
    explicit CKpBdyStore(int id);

    // Does what reinit does.
    ~CKpBdyStore() override;

    CKpBdyStore(const CKpBdyStore&) = delete;
    CKpBdyStore& operator=(const CKpBdyStore&) = delete;

    // Index of the facet from which the region was traced; -1 until set.
    int GetStartFacet() const { return m_startFacet; }
    // The option handed to the boundary calculation; 0 until set.
    int GetOption() const { return m_option; }

    // Number of rings: 0 without an outer ring, else hole count + 1.
    int GetNumBdys() const { return m_outer ? m_numHoles + 1 : 0; }

    // Ring i: 0 the outer ring, i >= 1 hole i; null when i is not in
    // 0..GetNumBdys()-1.
    CKpBdy* GetBdy(int i) const;

    // Hole ring i counted from 0; null outside 0..hole count-1.
    CKpBdy* pIntrBdy(int i) const;

    // Replaces the outer ring by `ring` (null: none); the old ring is
    // deleted unless it is `ring` itself. The store owns `ring` from then on.
    void SetBdy(CKpBdy* ring);

    // Appends `ring` to the holes after those already held; the store owns
    // it from then on. 0 (also for a null ring, which is not added); -1 when
    // the hole array cannot grow (the caller keeps the ring).
    int AddIntrBdy(CKpBdy* ring);

    // Number of segments of `ring` (following the next links until they
    // come back to it or end); 0 for a null ring.
    static int GetNumSegs(const CKpBdy* ring);

    // Number of segments of all rings.
    int GetNumAllSegs() const;

    // Number of points GetPoints writes: every segment plus one closing
    // point per ring.
    int GetNumPoints() const;

    // Sizes of the boundary and the interior element id sets.
    int GetNumElements() const { return m_elemIds.entries(); }
    int GetNumInteriorElements() const { return m_interiorIds.entries(); }

    // Write the boundary (interior) element ids in ascending order into
    // `ids` (n ints). 0; 1 without writing when n differs from the set's
    // size, or for a null `ids` with n above 0.
    int GetElementIds(int n, int* ids);
    int GetInteriorElementIds(int n, int* ids);

    // The rings as points, ring after ring in ring order (outer ring, then
    // holes 1..hole count). For ring r, when the array is not null:
    //   counts[r]  its segments + 1;
    //   xyz        3 doubles x, y, z per point, continuing across rings;
    //   ids        the node id per point, continuing across rings.
    // A ring's points are the start vertex (CKpBdy::vx0) of its first
    // segment, then the end vertex (vx1) of each segment in ring order, so
    // its last point repeats its first. The arrays must hold GetNumBdys()
    // counts and GetNumPoints() points. A segment whose facet or node is
    // missing gives the point (0, 0, 0) with id 0. 0; -1 for a null facet
    // store (nothing written).
    int GetPoints(const CKpFacetStore* facets, int* counts, double* xyz, int* ids) const;

    // Add an id to the boundary or the interior id set unless it is there.
    void AddElementId(int id) { m_elemIds.findOrCreate(id); }
    void AddInteriorElementId(int id) { m_interiorIds.findOrCreate(id); }

    // Records `startFacet` and `option` and traces the region around the
    // start facet into this store (CalcBoundary, CalcBoundary.h, with the
    // option as the start direction); returns its result (0 done).
    int CalculateBoundary(CKpMsg* msg, CKpFacetStore* facets, int startFacet, int option);

    // Traces the region of the ply named `plyName` (exact name) into this
    // store: the working surface is restored to the whole mesh, each
    // element of the ply is selected with its ply element's order, the
    // pattern's split edges are divided, the selection's links are rebuilt
    // (find_selected_neighbour), and the boundary around the start facet
    // seen from the pattern's eye point along its application direction
    // (CalcStart, no fallback) is traced with the start side as option.
    // When holes are found their elements are selected as interior
    // elements; if some cannot be, the warning "Could not select all
    // interior hole elements." (the result stays 0).
    // *nBdy, *nPts (each when given): number of rings and of their points
    // (GetNumPoints); both 0 when no ring was traced; untouched on -1.
    // 0 done; -1 after the error "Could not find ply '%s'.", "Could not
    // find pattern id %d", "Start facet not found." or "Cannot create
    // boundary." (each only when `msg` is given), and -1 without a message
    // for a null store or when restoring the surface or rebuilding the
    // links fails. The working selection stays as the ply's region (from
    // the selection step on, also on failure). `gra` may be null.
    int CreatePlyBoundary(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, CKpElemStore* elems,
                          CKpPlyStore* plies, CKpPatStore* pats, const char* plyName, int* nBdy,
                          int* nPts);

    // Fills the interior holes of the selection around the recorded start
    // facet (sel_interior_elem with the recorded start facet and option),
    // returning its result and its out flag in *result; 0 at once (nothing
    // written) when the interior id set is not empty.
    int SelectInteriorElements(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets,
                               int* result);

    // Clears the selected and the interior flag of every existing element
    // of the interior id set, then empties the set. 0 (also for a null
    // element store, which only empties the set). `facets` is not read.
    int DeselectInteriorElements(CKpElemStore* elems, CKpFacetStore* facets);

    // Whether the region around the recorded start facet still encloses a
    // hole: traces its ring again (CalcAllBoundary with the marks cleared
    // and the recorded option as direction). A ring with a segment whose
    // facet has an undivided neighbour across the segment's edge
    // (neighbour >= 0, code >= 0: the traced front met itself around a
    // hole) is drawn in graphics segment 6 (pen colour 4 on free edges,
    // 2 on divided ones, 6 on linked ones), the segment is then deleted in
    // the host, and `found` becomes 1; otherwise 0. The traced ring is
    // deleted. 0; 1 when tracing fails (`found` 0). `gra` may be null
    // (nothing drawn).
    int CheckForInteriorHoles(CKpMsg* msg, CKpGra* gra, CKpFacetStore* facets, int& found);

    // Draws the hole rings (colour 6 where free), then the outer ring
    // (colour 4 where free) in graphics segment 6 (PlotBoundary,
    // host/PlotRoutines.h). 0.
    int PlotAllBoundary(CKpGra* gra, CKpFacetStore* facets);

    // Deletes the outer ring and every hole ring (with their segments and
    // point lists), sets the hole count to 0 and empties both id sets. The
    // start facet and the option keep their values.
    void reinit();

  private:
    int m_startFacet;
    int m_option;
    CKpBdy* m_outer;
    int m_numHoles;
    CKpBdy** m_holes;
    CKpIdStore m_elemIds;
    CKpIdStore m_interiorIds;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H
