#ifndef PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H

#include <vector>

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

class CKpDrape;
class CKpElemStore;
class CKpFacet;
class FacetPlan;
class CKpGra;
class CKpLayup;
class CKpMsg;
class CKpNode;
class CKpNodeStore;

// CKpFacetStore: the faceted surface of the model, the triangles every ply
// simulation, ray query and boundary search runs on. Facet i has id i and
// sits at position i of one pointer array; neighbour links are indices into
// that array, so the array can be rebuilt without touching them.
//
// The surface is built by make_facet (make_facet.h) through CreateFacets;
// its neighbour links by find_neigh (find_nei.h).
//
// Ownership: the store owns the array (from malloc/calloc, see
// alloc_pfacet) and every facet in it, together with the facets' neigha /
// nedgea partner arrays. It holds the model by pointer without owning it.
// It also remembers the centre nodes make_facet added to the node store and
// the vertex moves calc_facet_vertices applied, so that the next build can
// take them back (the nodes themselves belong to the node store).
//
// Angles are radians, lengths model units. "Selected" means the facet's
// element has a non-zero CKpElem::getSltd.
class CKpFacetStore {
  public:
    // An empty surface of the model `layup` (may be null; see SetLayup).
    explicit CKpFacetStore(CKpLayup* layup = nullptr);

    // Runs reinit.
    ~CKpFacetStore();

    CKpFacetStore(const CKpFacetStore&) = delete;
    CKpFacetStore& operator=(const CKpFacetStore&) = delete;

    // The owning model; null when none was given.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Number of facets (slots of the array).
    int entries() const { return m_count; }

    // The facet pointer array (entries() slots); null when empty. Valid
    // until the next setFacets or reinit.
    CKpFacet** ppFac() const { return m_ppFac; }

    // Replaces the surface by `array` of `count` slots: the old facets and
    // array are released first (as reinit). The store takes ownership of the
    // array, which must come from alloc_pfacet (or malloc/calloc), and of
    // every facet later put into it. A null array or a count below 1 leaves
    // the store empty (a non-null array is then freed).
    void setFacets(CKpFacet** array, int count);

    // Facet i; null when i is outside 0..entries()-1 or the slot is empty.
    CKpFacet* pFac(int i) const { return iOK(i) ? m_ppFac[i] : nullptr; }

    // Puts `facet` (may be null) into slot i, taking ownership of it; a
    // facet already in the slot is left to the caller. 0; -1 when i is
    // outside 0..entries()-1 (nothing stored, the caller keeps the facet).
    int pFac(int i, CKpFacet* facet);

    // Whether i is a valid facet index (0..entries()-1).
    bool iOK(int i) const { return i >= 0 && i < m_count; }

    // The id of facet i's element; -1 when the index, the facet or its
    // element is missing.
    int GetElemId(int i) const;

    // Builds the surface of the owning model: make_facet over the model's
    // message log, node store and element store (the model creates missing
    // stores). 2 when the surface was built, 0 when it was not (see
    // make_facet), 1 when the store has no model. Callers treat non-zero as
    // success.
    int CreateFacets();
    // The same with make_facet's pass over the elements made ahead by
    // `plan` (may be null; see FacetPlan in make_facet.h).
    int CreateFacets(FacetPlan* plan);

    // Empties the surface: deletes every facet after freeing its neigha and
    // nedgea arrays, frees the array; the count becomes 0. The model link
    // and the build records (centre nodes, vertex moves) stay.
    void reinit();

    // ---- Per-facet flags, whole store ----

    // Every facet: Pntd 0 and FacetDirection 0.
    void ReinitPntd();
    // Every facet: BdyStoreId 0.
    void ReinitBdyStoreId();
    // Every facet: its three boundary items null.
    void InitBdy();

    // ---- Areas and free edges ----

    // Sum of the areas of the selected facets (square model units); 0.0
    // when nothing is selected.
    double SelectedArea() const;

    // The default drape step: sqrt(SelectedArea()) × 7.5 / 200 (model
    // units); 0.0 when nothing is selected.
    double DefaultStep() const;

    // Number of free edges (neighn 0) on the facets of elements of geometry
    // type `gmtp` (CKpElem::getgmtp).
    int GetFreeEdgeNum(int gmtp) const;

    // Length of the shortest free edge on the facets of elements of type
    // `gmtp`; 1e12 when there is none.
    double GetFreeEdgeMinLen(int gmtp) const;

    // Adds to `ids` a plain CVekObject (owned by `ids`) keyed by the id of
    // each end node of every free edge of every facet, each id once (ids
    // already in `ids` are not added again). The integer argument has no
    // effect. 0; -1 for a null `ids` or when memory runs out (the ids added
    // so far stay).
    int GetFreeEdgeNodeIDs(int unused, CVekObjectStore<CVekObject>* ids) const;

    // ---- Neighbour links and the selection ----

    // Every edge with more than one partner (neighn > 1) loses its single
    // neighbour: neigh -1 and nedge -1 (the partner lists stay).
    void NeighClear();

    // Narrows the branch edges (neighn >= 2) to the selection. *count (when
    // given) = 0 and `deselect` (when given) is emptied, its objects
    // deleted. For every selected facet f in index order and each branch
    // edge e, the partners whose elements are selected are collected:
    //   none         nothing changes;
    //   exactly one  neigh[e]/nedge[e] = that partner's facet and code;
    //   two or more  handled once, from the facet of lowest index among f
    //                and its selected partners: *count grows by 1; the
    //                entries (f and the selected partners, each with its
    //                element id and the area of its facet's subdomain
    //                within the selection) are sorted by ascending area,
    //                ties by ascending element id, and reported as the
    //                warning "The edge between nodes %d and %d borders %d
    //                selected elements with selected subdomain areas: "
    //                (node ids at f's vertices e and e+1, entry count)
    //                followed by one warning "   %6d %g" per entry (element
    //                id, area); the element ids of all entries but the last
    //                two are added to `deselect` (once each, as plain
    //                CVekObjects it owns); the edge is drawn in graphics
    //                segment 6 with pen 6 (when `gra` is given).
    // The selected subdomain areas come from a temporary CKpSbdmnStore
    // (GetSelected), computed when the first such edge is met.
    // 0; -1 when the subdomains cannot be computed, or with the error
    // "Could not allocate memory." when memory runs out.
    int NeighSet(CKpMsg* msg, CKpGra* gra, int* count, CVekObjectStore<CVekObject>* deselect);

    // Divides the selection's border: on every selected facet, each edge
    // with an undivided link (neigh not -1, code 0..5) to a facet whose
    // element is not selected gets SurfaceCreateDivision (surface_div.h).
    void NeighDivide();

    // ---- Drape results on the facets ----

    // Every facet: FacetDirection 0, wpang and wtang -1000.0, strn 0.0,
    // Nrpat 0. 0.
    int SimulationInitialise();
    // As SimulationInitialise without touching FacetDirection. 0.
    int SimulationInitialiseProjection();

    // Averages the points of the drape grid `drape` (read) into the facets
    // they lie on (FacetDirection, wpang, wtang, strn, Nrpat). 0.
    // Declared for the drape simulation, which defines it together with the
    // drape point's accessors.
    int SimulationTransfer(CKpMsg* msg, CKpDrape* drape);

    // Gives painted facets without drape data (Pntd set, Nrpat 0) the drape
    // result of their neighbours, in passes until a pass fills no facet. In
    // a pass, each such facet (index order) takes its edges 0, 1, 2 whose
    // link is undivided (code 0..5) to a facet with a non-zero
    // FacetDirection and Nrpat >= 1. The first edge taken gives the
    // neighbour's FacetDirection (negated for codes 0..2), its warp and weft
    // angles turned into this facet's axes (CalcAngleNeigh) and its strain;
    // each later edge of length L, with W the length taken so far, blends
    // in its values with weight L / (L + W):
    //   wpang = pi_pi(wpang + pi_pi(new - wpang) × w)
    //   wtang = pi_pi(wtang) + pi_pi(new - wtang) × w
    //   strn += (new strn - strn) × w.
    // A filled facet gets Nrpat 1 and may feed later facets of the same
    // pass. Painted facets that no chain of drape data reaches stay as they
    // are. 0.
    int SimulationInterpolate();

    // Converts an angle `a` given in the local axes of the neighbour g
    // across edge `e` of facet `f` into f's local axes (radians, -pi..pi):
    // with p, q the vertices e and e+1 of f, r = pi_pi(a - g.GetAngle(p,
    // q)), negated when f's code on e is 0..2 (the neighbour turned over);
    // *out = pi_pi(f.GetAngle(p, q) + r). 0; -1 when the edge has no single
    // neighbour (neigh -1) or its code is below 0 (a divided or free edge),
    // or for a bad index, edge or null `out` (*out not written).
    int CalcAngleNeigh(int f, int e, double a, double* out) const;

    // The point of the selected surface closest to `p` along the segment
    // from p to p + d (the length of d matters). Only facets whose unit
    // normal makes an angle of at most pi/4 with the axis of d (either
    // sense) are tried. Candidates: the foot of each vertex on the segment
    // (vertices whose foot lies outside the segment give none), and the
    // point of each edge closest to the line of d where the edge parameter
    // lies strictly between 0 and 1. The candidate strictly nearest to p
    // wins. Outputs (each written when its pointer is given): *facet its
    // facet (-1 when none), *point the candidate (not written when none),
    // *dnfg = -sign(d · facet normal) (0 when perpendicular or none). 0.
    int GetClosestPoint(CKpPoint p, CKpDirn d, int* facet, CKpPoint* point, int* dnfg) const;

    // Searches the fibre angle at p1 (on facet fac1) whose fibre axis passes
    // through p2 (on facet fac2), tracing fibre axes. Results 0 found
    // (length, angle1, angle2 updated), 1..6 the step that failed.
    // Declared for the drape simulation, which defines it together with the
    // axis tracing it needs.
    int JoinPoints(CKpMsg* msg, double& length, CKpPoint& p1, int fac1, int dnfg1, double& angle1,
                   CKpPoint& p2, int fac2, int dnfg2, double& angle2);

    // ---- Build records (kept for make_facet and calc_facet_vertices) ----

    // A vertex move made by calc_facet_vertices: node `id` at address
    // `node` (compared, never followed, until found again by id) was moved
    // by `delta` to `moved`.
    struct VertexMove {
        int id;
        const CKpNode* node;
        CKpPoint moved;
        CKpDirn delta;
    };
    // A centre node make_facet added (same identification).
    struct CentreNode {
        int id;
        const CKpNode* node;
    };

  private:
    friend int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems,
                          CKpFacetStore* facets);
    friend int make_facet(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems,
                          CKpFacetStore* facets, FacetPlan* plan);
    friend int calc_facet_vertices(CKpFacetStore* facets);

    CKpLayup* m_layup;
    int m_count;
    CKpFacet** m_ppFac;
    std::vector<CentreNode> m_centreNodes;
    std::vector<VertexMove> m_vertexMoves;
};

// A zeroed array of n facet pointers from calloc, for
// CKpFacetStore::setFacets; null when n is below 1 or memory runs out.
CKpFacet** alloc_pfacet(int n);

#endif  // PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H
