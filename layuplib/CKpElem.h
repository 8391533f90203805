#ifndef PLYSTRAND_LAYUPLIB_CKPELEM_H
#define PLYSTRAND_LAYUPLIB_CKPELEM_H

#include <cassert>
#include <climits>
#include <cstddef>
#include <new>

#include "layuplib/CKpBlockPool.h"
#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObject.h"
#include "layuplib/CVekObjectStore.h"

class CKpElemAnsys;
class CKpElemLypPly;
class CKpElemLypPlyStore;
class CKpElemRefStore;
class CKpFacet;
class CKpFacetStore;
class CKpGra;
class CKpMsg;
class CKpNode;
class CKpOrient;

// CKpElem: one element of the layup mesh, held by id in the model's
// CKpElemStore (its CVekObject id is the element id).
//
// Geometry types (`gmtp`) and what they fix:
//
//   gmtp  element            nodes  facets  corners  host topology
//   1     quad4                4      2       4        4
//   2     quad8                8      8       4        8
//   11    tria3                3      1       3        3
//   12    tria6                6      6       3        6
//   101   solid of 8 nodes     8      0       0        28
//   102   solid of 20 nodes   20      0       0        20
//   111   solid of 6 nodes     6      0       0        26
//   112   solid of 15 nodes   15      0       0        25
//   other none                 0      0       0        0
//
// The four shell types (1, 2, 11, 12) are cut into facets when `eltp` is 1;
// solids never are.
//
// Node order. The element keeps its nodes in perimeter order: corner 1,
// midside 1-2, corner 2, midside 2-3, corner 3, [midside 3-4, corner 4,]
// closing midside. Solver files and the host list corners first, then
// midsides ("solver order", the ...Kor operations). Solver position k is
// stored position 0, 2, 4, 6, 1, 3, 5, 7 (quad8) or 0, 2, 4, 1, 3, 5 (tria6);
// linear types use one order for both. Corners are stored positions
// 0, 1, 2 (, 3) of the linear types and 0, 2, 4 (, 6) of the quadratic ones.
//
// Geometry (the shell types only): corners P0..P3 are the positions of the
// corner nodes; the reference direction r is unit(node 1 - node 0) for quad4
// and tria3 and unit(node 2 - node 0) for quad8 and tria6 (stored positions;
// a zero vector stays zero). Angles are radians about the element normal n,
// from r toward y = unit(n x r). Geometry needs linked node pointers
// (node_reref): an operation that meets a null node pointer fails with its
// failure status, like an operation on a type without geometry.
//
// Ownership: the element owns its node-pointer, node-id and facet-index
// arrays, its ply stack and the entries in it, its element references and
// its ANSYS data. Nodes, the orientation and facets belong to their stores.
class CKpElem : public CVekObject {
  public:
    // Mesh objects come by the million: they live in blocks (CKpBlockPool).
    CKP_BLOCK_POOLED

    // Holds, for its scope, the pools of elements, of their node and facet
    // arrays and of their ply stacks (CKpBlockPool::Hold), around a loop
    // that makes or deletes many elements.
    class PoolHold {
      public:
        PoolHold() noexcept;
        PoolHold(const PoolHold&) = delete;
        PoolHold& operator=(const PoolHold&) = delete;

      private:
        CKpBlockPool::Hold m_elems;
        CKpBlockPool::Hold m_stacks;
        CKpBlockPool::Hold m_arrays[8];
    };

    // Largest text `write` produces, terminator included.
    enum { WRITE_MAX = 1024 };

    // An element of `id` and geometry type `gmtp`: node pointers null, node
    // ids 0 and facet indices 0 for the types of the table (no arrays for
    // other codes, no facet array for solids), an empty ply stack, and the
    // defaults eltp 0, tpmd 0, part 0, PatchID 0, etdnfg 0, angtol pi/36,
    // thktol 5.0, off_fg 0, off_val 0.0, pid 0, no orientation, orientId 0,
    // theta 0.0, sidefg 0, Sltd 0, Ordr 0, Intr 0, no element references, no
    // ANSYS data. When an array cannot be allocated the element has none and
    // counts 0 nodes and 0 facets.
    CKpElem(int id, int gmtp);
    // Frees the arrays, deletes the ply stack with its entries, the element
    // references and the ANSYS data.
    ~CKpElem() override;

    // Deletes the elements of both arrays (`a`, na entries, and `b`, nb; no
    // null, no element twice, each made by new) as `delete` of each would,
    // when every one is of this very class with no element references, no
    // ANSYS data and an empty ply stack: their destructors would then only
    // give back their memory, which happens here without a call or a write
    // per element (at once for each pool whose objects they all are). The
    // caller holds the pools (PoolHold). False, changing nothing, when an
    // element is not such an element.
    static bool DeletePlain(CVekObject* const* a, size_t na, CVekObject* const* b,
                            size_t nb) noexcept;
    CKpElem(const CKpElem&) = delete;
    CKpElem& operator=(const CKpElem&) = delete;

    // ---- Type table ----

    // Node, facet and corner counts of the element (table above; 0 for the
    // types outside the table).
    // Inline: asked for on every node and facet access.
    int getnnod() const { return ckpnodes ? NnodOfGmtp(gmtp) : 0; }
    int getnfac() const { return ckpnodes ? NfacOfGmtp(gmtp) : 0; }
    int GetNumVertices() const;

    // Host topologies 3, 4, 6 and 8 are the supported shells.
    static bool IsSupportedTopology(int topology);
    // `topology` for a supported topology, else 0.
    static int GetNumNodesForTopology(int topology);
    // 3 -> 11, 6 -> 12, 4 -> 1, 8 -> 2; anything else 0.
    static int GetGmtpForTopology(int topology);
    // Host topology of a geometry type (last column of the table).
    static int GetTopologyForGmtp(int gmtp);

    // ---- Members ----

    int getgmtp() const { return gmtp; }
    // Element type; 1 = shell.
    int geteltp() const { return eltp; }
    void seteltp(int v) { eltp = v; }
    // Type modifier, carried through the layup file.
    int gettpmd() const { return tpmd; }
    void settpmd(int v) { tpmd = v; }
    // Part number; facets of different parts never become neighbours.
    int getpart() const { return part; }
    void setpart(int v) { part = v; }
    // Patch number (0 none).
    int GetPatchID() const { return PatchID; }
    void SetPatchID(int v) { PatchID = v; }
    // Element direction flag: the subdomain direction flag of the first
    // facet, set when neighbours are found.
    int getetdnfg() const { return etdnfg; }
    void setetdnfg(int v) { etdnfg = v; }
    // Angle tolerance (radians) and thickness tolerance.
    double getangtol() const { return angtol; }
    void setangtol(double v) { angtol = v; }
    double getthktol() const { return thktol; }
    void setthktol(double v) { thktol = v; }
    // Which face of the ply stack off_val locates: -1 top, 0 middle, other
    // values bottom (see off()); the offset value (model length units).
    int getoff_fg() const { return off_fg; }
    void setoff_fg(int v) { off_fg = v; }
    double getoff_val() const { return off_val; }
    void setoff_val(double v) { off_val = v; }
    // Property (laminate) id.
    int pid() const { return m_pid; }
    void pid(int v) { m_pid = v; }
    // Orientation definition (not owned; null none) and orientation id.
    CKpOrient* pOrient() const { return m_pOrient; }
    void pOrient(CKpOrient* orient) { m_pOrient = orient; }
    int orientId() const { return m_orientId; }
    void orientId(int v) { m_orientId = v; }
    // Material angle, radians.
    double theta() const { return m_theta; }
    void theta(double v) { m_theta = v; }
    int getsidefg() const { return sidefg; }
    void setsidefg(int v) { sidefg = v; }
    // Selection flag; non-zero = selected.
    int getSltd() const { return Sltd; }
    void setSltd(int v) { Sltd = v; }
    int getOrdr() const { return Ordr; }
    void setOrdr(int v) { Ordr = v; }
    int getIntr() const { return Intr; }
    void setIntr(int v) { Intr = v; }

    // The ply stack, bottom first; owned by the element. Null only when it
    // could not be allocated.
    CKpElemLypPlyStore* getElemLypPlies() const { return lypPlies; }
    // ANSYS data; null until CreateAnsys.
    CKpElemAnsys* pAnsys() const { return m_pAnsys; }
    // Creates the zeroed ANSYS data on the first call; returns it (null only
    // when it cannot be allocated).
    CKpElemAnsys* CreateAnsys();
    // The store of references to elements of another mesh, created (capacity
    // 64) on the first call; owned by the element. Null only when it cannot
    // be allocated.
    CKpElemRefStore* pElemRefs();
    // Number of references held; 0 without a store (none is created).
    int GetNumElemRefs() const;
    // Deletes the references and the store; the pointer becomes null.
    void DeleteElemRefs();

    // ---- Nodes (stored, perimeter order) ----

    // The node at stored position i; null when i is outside 0..getnnod()-1
    // or the pointer is not linked yet.
    CKpNode* getckpnodes(int i) const {
        return i >= 0 && i < getnnod() ? ckpnodes[i] : nullptr;
    }
    // That node's coordinate; 0.0 outside the range or without a node.
    double getckpnodesX(int i) const;
    double getckpnodesY(int i) const;
    double getckpnodesZ(int i) const;
    // The node id at stored position i; 0 outside 0..getnnod()-1.
    int getunid(int i) const { return i >= 0 && i < getnnod() ? unid()[i] : 0; }
    // i must lie in 0..getnnod()-1: asserted; a release build ignores a call
    // outside the range. Inline: called per node while a mesh is read and
    // linked.
    void setckpnodes(int i, CKpNode* node) {
        assert(i >= 0 && i < getnnod());
        if (i < 0 || i >= getnnod()) return;
        ckpnodes[i] = node;
    }
    void setunid(int i, int id) {
        assert(i >= 0 && i < getnnod());
        if (i < 0 || i >= getnnod()) return;
        unid()[i] = id;
    }

    // Facet index of the element's i-th facet (in the model's facet store).
    // i must lie in 0..getnfac()-1: asserted; a release build gives -1 (no
    // facet) and ignores the setter outside the range.
    int getfacs(int i) const {
        assert(i >= 0 && i < getnfac());
        return i >= 0 && i < getnfac() ? facs()[i] : -1;
    }
    void setfacs(int i, int index);

    // ---- Nodes in solver order ----

    // The node at solver position i. Outside 0..getnnod()-1: the error
    // "Attempt to access element node <i+1> of <getnnod()>" (when `msg` is
    // given) and null.
    CKpNode* GetNodeKor(CKpMsg* msg, int i) const;
    // The node id at solver position i; 0 outside 0..getnnod()-1.
    int GetUnidKor(int i) const;
    // Stores `n` node ids given in solver order (`ids`, read) in perimeter
    // order. 0; -1 when `ids` is null, n differs from getnnod() or the type
    // is not a shell type (nothing changes). Node pointers are not touched.
    int SetConnectivityKor(int n, const int* ids);

    // ---- Facets along edges ----

    // For 0-based element edge `edge` (perimeter segment node edge to node
    // edge+1): `facet` = position within the element's facet list and
    // `facetEdge` = the facet's edge along it. quad4 edges 0..3 -> (0, 0),
    // (0, 1), (1, 0), (1, 1); tria3 e -> (0, e); quad8 and tria6 e -> (e, 0)
    // for e below getnfac(). Otherwise both -1.
    void GetFacOnEdge(int edge, int& facet, int& facetEdge) const;

    // For 1-based solver edge `edge` (corner to corner): writes into *count
    // the number of facet edges along it and into `facets`/`facetEdges` (at
    // least 2 ints each) the facet indices and their edges: quad4 and tria3
    // one each, quad8 and tria6 two. 0. An edge number outside 1..corners:
    // error "Element <id> edge <edge> undefined.", -1; a type other than the
    // four shells: error "Element <id> unsupported geometry type <gmtp>.",
    // -1; null outputs: -1. *count is 0 on every failure (when given).
    int GetFacEdges(CKpMsg* msg, int edge, int* count, int* facets, int* facetEdges) const;

    // ---- Ply stack ----

    // Sum of the thicknesses of the plies on the element (model length
    // units); 0.0 without plies.
    double thck() const;
    // Position of the bottom of the ply stack along the normal: off_val -
    // thck() when off_fg is -1, off_val - thck()/2 when off_fg is 0, off_val
    // otherwise.
    double off() const;
    // Walks the plies from the bottom, starting at off(). For the ply whose
    // layup ply has id `lypPlyId`: z[0] its bottom, z[1] its middle, z[2] its
    // top (3 doubles, written), *ply its entry (when `ply` is given). 0;
    // 1 without a ply stack, 2 when an entry below it has no layup ply, 3
    // when the id is not found; -1 for a null z.
    int GetLypPlyOffsets(int lypPlyId, double* z, CKpElemLypPly** ply) const;
    // The ply's top (top > 0) or bottom; 0.0 when not found.
    double GetLypPlyOffset(int lypPlyId, int top) const;

    // ---- Checks and angles ----

    // 1 when some node id is below 1 or two node ids are equal; else 0 (also
    // for types with fewer than two nodes).
    int CheckShape() const;

    // Material angle for the Korbeld solver, radians: quad4 and quad8 the
    // mean of the projected angles of the corner diagonals (corner 3 - corner
    // 1 and corner 2 - corner 4, solver numbering); 0.0 when either fails.
    // tria3 and tria6: 0.0. Other types: error "Element <id> unsupported
    // element geometry type <gmtp>." (when `msg` is given), 0.0.
    double thetaKor(CKpMsg* msg) const;
    // Material angle for ANSYS, radians: quad4 only, the projected angle of
    // mid(corner 2, corner 3) - mid(corner 4, corner 1). Unlinked nodes: the
    // warning "GetThetaAnsys() on element <id> failed as node pointers have
    // not been set." and 0.0; a failed projection 0.0. quad8, tria3, tria6:
    // 0.0. Other types: the error of thetaKor, 0.0.
    double GetThetaAnsys(CKpMsg* msg) const;
    // The angle (radians, -pi..pi) of `d` about the element normal from the
    // reference direction: *angle = atan2(d·y, d·x) with x = r, y = n x r.
    // 0; -1 when the element has no normal, `angle` is null, or the angle
    // cannot be formed (`d` or n x r zero; *angle then holds -1000.0).
    int GetProjectedAngle(CKpMsg* msg, const CKpDirn& d, double* angle) const;

    // ---- Layup file ----

    // Formats the ELEMENT record into `buffer` (content replaced), lines
    // ended by '\n':
    //   200 ELEMENT
    //   201 <index> <id> <part>[ <PatchID>]     PatchID only when >= 1
    //   202 <eltp> <gmtp> <tpmd>
    //   203 <getnnod()>
    //   204[ <node id>...]                       stored (perimeter) order
    //   206 <angtol> <thktol>                    "%.8G"
    //   207 <off_fg> <off_val>
    //   208 <eight ANSYS values>                 only with ANSYS data
    //   209 <orientation id> <theta>             only when the orientation
    //                                            is set and its type is not 0
    // `index` is the element's 0-based position among the stored elements in
    // ascending id order. `size` is the capacity of `buffer` in bytes;
    // WRITE_MAX always suffices (an element of 20 nodes included). Returns
    // the length written (terminator excluded); -1 when `buffer` is null or
    // `size` is too small (then `buffer` holds "" when size > 0).
    int write(char* buffer, size_t size, int index) const;
    // As above with a buffer of at least WRITE_MAX bytes.
    int write(char* buffer, int index) const { return write(buffer, WRITE_MAX, index); }

    // ---- Geometry (shell types; see the class comment) ----
    // Status 0 success; 1 for a type without the operation, unlinked nodes
    // or a null output, unless stated otherwise.

    // Writes the 3 or 4 corner positions into `corners` (room for 4). 0; -1
    // for a null array, a non-shell type or an unlinked corner.
    int GetVertices(CKpPoint* corners) const;
    // Midpoint: quad4/tria3 the mean of the corners; quad8 0.5 x (sum of the
    // midsides) - 0.25 x (sum of the corners); tria6 (2/3) x (sum of the
    // midsides) - (1/3) x (sum of the corners).
    int GetMidpt(CKpPoint* midpt) const;
    // Unit normal: quad4/quad8 (P1 - P0) x (P2 - P0) + (P3 - P2) x (P0 - P2);
    // tria3/tria6 (P1 - P0) x (P2 - P0); left unnormalised when its length
    // is 0.
    int GetNormal(CKpDirn* normal) const;
    // Sum over the element's nodes of node direction x sign(node direction ·
    // n) (sign 0 when perpendicular), normalised when its length is above
    // 0. 1 for a null output, a type without a normal or unlinked nodes.
    int GetAverageNormal(CKpDirn* normal) const;
    // The reference direction r.
    int GetReference(CKpDirn* ref) const;
    // quad4/quad8 area(P0, P1, P2) + area(P2, P3, P0); tria3/tria6
    // area(P0, P1, P2). Square model units.
    int GetArea(double* area) const;
    // n · d; 0.0 without a normal or for a null d.
    double DotNormal(CKpMsg* msg, const CKpDirn* d) const;
    // -1 when n · d is negative, else 1.
    int ModDirn(CKpMsg* msg, const CKpDirn* d) const;
    // cos(angle) x r + sin(angle) x unit(n x r): the in-plane direction at
    // `angle` (radians). 0; 2 for a type other than the four shells; 1 when
    // the normal fails.
    int GetDirection(double angle, CKpDirn& out) const;
    // The same into 3 doubles x, y, z (written); 1 also for a null out.
    int GetDirection(double angle, double* out) const;
    // Each corner moved by n x d: 3 doubles per corner (9 or 12, written).
    // 0; -1 when the corners or the normal fail or out is null.
    int GetOffsetSurface(double d, double* out) const;
    // The midpoint moved by n x d (3 doubles, written). 0; -1 on failure.
    int GetOffsetMidpt(double d, double* out) const;

    // ---- Neighbours through the facets ----

    // Subdomain number and direction flag of the element's first facet. Both
    // set to 0 first. 0; 1 without a facet store, 2 when the element has no
    // facet or its first facet is missing; -1 for a null output.
    int GetSubdomain(CKpFacetStore* facets, int* sbdmn, int* dnfg) const;
    // Adds to `ids` (once each, as new CVekObjects owned by `ids`) the id of
    // every selected element other than this one that lies across one of
    // the `neigh` links of the element's facets. 0; 1 without a facet store;
    // -1 when an id cannot be allocated.
    int GetSelNeigh(CKpFacetStore* facets, CVekObjectStore<CVekObject>& ids) const;
    // The neighbours across the element's edges. The four arrays (8 ints
    // each) are zeroed, *n = getnnod(); for each 0-based element edge i
    // below it with a neighbouring element: ids[i] its id, edges[i] its
    // 0-based edge, dnfgs[i] the facet edge's neighbour direction
    // (CKpFacet::GetNeighDnfg), pids[i] its pid. 0; 1 for a non-shell type
    // (the arrays zeroed, *n 0), without a facet store or for a null
    // argument.
    int GetSelectedNeigh(CKpMsg* msg, CKpFacetStore* facets, int* n, int ids[8], int edges[8],
                         int dnfgs[8], int pids[8]) const;
    // Area-weighted average normal over the element and its selected
    // neighbours: S = A x N, plus for each selected neighbour across a
    // facet `neigh` link, counted once, (dnfg x 0.5 x A_g) x N_g (N the
    // average normals); unit(S), or S when its length is 0. 1 for a null
    // argument or when this element's own area or normal fails; neighbours
    // whose geometry fails are skipped.
    int GetSelNeighAverageNormal(CKpFacetStore* facets, CKpDirn* normal) const;

    // ---- Plots (through the graphics context; lengths in model units) ----

    // Orientation marks at c = midpoint + n x offset, s = sqrt(area), in the
    // context's current segment: a marker in `dotColour` (pen width 0) when
    // it is not 0; a line c -/+ 0.25 s x dir(angle1) in `colour1` when it is
    // not 0; a line c -/+ 0.125 s x dir(angle2) in `colour2` when it is not
    // 0. 0; 1 when the geometry fails or `gra` is null (nothing drawn).
    int plotOrient(CKpMsg* msg, CKpGra* gra, int dotColour, int colour1, double angle1, int colour2,
                   double angle2, double offset) const;
    // The outline: sets the colour, pulls each corner toward the midpoint
    // (q = shrink x midpoint + (1 - shrink) x corner) and draws the 3 or 4
    // points as one polygon in `segment`. 0; -1 when the corners or the
    // midpoint fail or `gra` is null.
    int PlotEdge(CKpMsg* msg, CKpGra* gra, int segment, int colour, double shrink) const;
    // The thickness band: corners moved by n x offset, each side drawn as the
    // quadrilateral (bottom i, bottom i+1, top i+1, top i) with bottom/top
    // = corner -/+ n x thickness/2. `mode` 0 draws every side; `mode` 1 (with
    // a facet store) only the sides on a free, divided or branch edge
    // (neighn not 1) or next to an element of another pid; other modes draw
    // nothing. 0; 1 when the geometry fails or `gra` is null.
    int PlotEdgeThick(CKpMsg* msg, CKpGra* gra, int mode, int segment, int colour,
                      CKpFacetStore* facets, double offset, double thickness) const;
    // The ply's orientation marks in `colour` by the ply type (lyrtp): 1 a
    // marker; 2 and 4 a line at rotn; 3 and 5 a line at rotn and a shorter
    // one at rotn + wpwtang; other types nothing. 0; 1 for a null ply or
    // `gra`, or when the geometry fails.
    int PlotPlyOrient(CKpMsg* msg, CKpGra* gra, const CKpElemLypPly* ply, double offset,
                      int colour) const;

    // Node and facet counts of the geometry types of the type table; 0 for
    // any other.
    static constexpr int NnodOfGmtp(int type) {
        switch (type) {
            case 1: return 4;
            case 2: return 8;
            case 11: return 3;
            case 12: return 6;
            case 101: return 8;
            case 102: return 20;
            case 111: return 6;
            case 112: return 15;
            default: return 0;
        }
    }
    static constexpr int NfacOfGmtp(int type) {
        switch (type) {
            case 1: return 2;
            case 2: return 8;
            case 11: return 1;
            case 12: return 6;
            default: return 0;
        }
    }

  private:
    // Whether gmtp is one of the four shell types.
    bool isShell() const;
    // Stored position of solver position k (k within 0..getnnod()-1).
    int storedPos(int k) const;
    // Stored position of corner c (0..GetNumVertices()-1).
    int cornerPos(int c) const;
    // The corner positions into p (room for 4); the corner count, or 0 for a
    // non-shell type or an unlinked corner.
    int corners(CKpPoint* p) const;
    // Whether every node pointer is linked.
    bool nodesLinked() const;
    // The facet of the element's facet list position k; null when missing.
    const CKpFacet* facetAt(const CKpFacetStore* facets, int k) const;

    // Grouped by size so that a million elements carry no padding.
    int gmtp;
    int eltp;
    int tpmd;
    int part;
    int PatchID;
    int etdnfg;
    int off_fg;
    int m_pid;
    int m_orientId;
    int sidefg;
    int Sltd;
    int Ordr;
    int Intr;
    // One block of getnnod() node pointers, then as many node ids, then
    // getnfac() facet indices, all in perimeter order; null for a type
    // outside the table (or when the block could not be allocated). The two
    // int arrays are found from the counts rather than kept as pointers.
    CKpNode** ckpnodes;
    int* unid() const { return reinterpret_cast<int*>(ckpnodes + NnodOfGmtp(gmtp)); }
    int* facs() const { return unid() + NnodOfGmtp(gmtp); }
    CKpOrient* m_pOrient;
    CKpElemRefStore* elemRefs;
    CKpElemLypPlyStore* lypPlies;
    CKpElemAnsys* m_pAnsys;
    double angtol;
    double thktol;
    double off_val;
    double m_theta;
};

// The offset flag seen from the stack's other side: -flag. INT_MIN, whose
// negation an int cannot hold, gives INT_MAX, a bottom flag as its negation
// would be.
inline int MirroredOffsetFlag(int flag) {
    return flag == INT_MIN ? INT_MAX : -flag;
}

#endif  // PLYSTRAND_LAYUPLIB_CKPELEM_H
