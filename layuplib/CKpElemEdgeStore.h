#ifndef PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpElemEdge.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekList.h"

class CKpDrapeSim;
class CKpElemStore;
class CKpFacetStore;
class CKpMatGeom;
class CKpMsg;
class CKpNodeStore;

// CKpElemEdgeStore: the element edges of one seed curve, the chain of
// element sides along which the fabric's warp (or weft) is laid. A pattern
// holds two: the warp curve (list 0) and the weft curve (list 1). The user's
// element and edge ids go in with Fill; before every draping run
// ArrangeCurve drops edges of missing elements, gives every edge its facets
// and node ids and puts the list in curve order, each edge directed along
// the curve; CalcStartAxes then finds the start on the curve and writes the
// four start axes of the drape workspace along the curves.
//
// The list owns its items: they are deleted with the list or by
// eraseAllObjects; an item unlinked with Delete or DeleteFirst goes back to
// the caller. Node ids are those of the model's node store; facets are
// indices into the model's facet store. Lengths are model units, angles
// radians (messages show degrees).
//
// Every operation that reports does so through `msg` when it is given
// (severity 4 errors, 2 warnings, 1 information).
class CKpElemEdgeStore : public CVekList<CKpElemEdge> {
  public:
    CKpElemEdgeStore();
    // Deletes every edge.
    ~CKpElemEdgeStore();
    CKpElemEdgeStore(const CKpElemEdgeStore&) = delete;
    CKpElemEdgeStore& operator=(const CKpElemEdgeStore&) = delete;

    // ---- Filling and reading (the ply's seed-curve operations) ----

    // Appends one edge per pair (elemIds[k], edgeIds[k]), k < n, in the
    // given order (edge numbers 1-based, corner to corner, as
    // CKpElem::GetFacEdges takes them); direction, dnfg and node data not
    // set. Nothing is checked against the model here (ArrangeCurve does).
    // n below 1: nothing, 0. -1 with nothing appended and the error
    // "Attempt to dereference NULL pointer elemIds" (or "... edgeIds") for
    // a null array, "Could not allocate memory." when memory runs out.
    // Fill appends: to replace a curve, eraseAllObjects first.
    int Fill(CKpMsg* msg, int n, const int* elemIds, const int* edgeIds);

    // Writes the first min(n, entries()) edges in list order: elemIds[k]
    // and edgeIds[k] (n ints each), and with `coords` (6n doubles) x y z of
    // the edge's first node then of its last node: along the direction once
    // the curve is arranged, else in stored order. A node that `nodes` does
    // not hold (also every node before the curve was first arranged, and
    // all nodes when `nodes` is null) gives 0.0 0.0 0.0. Null arrays are
    // skipped. Returns the number of edges written.
    int GetEdges(int n, int* elemIds, int* edgeIds, double* coords, CKpNodeStore* nodes) const;

    // ---- Arranging ----

    // Deletes every edge whose element `elems` does not hold, each with the
    // warning "Element %d edge %d definition ignored as the element does
    // not exist." (element, edge); the others keep their order. 0; -1 for a
    // null store (nothing deleted).
    int DeleteInvalid(CKpMsg* msg, CKpElemStore* elems);

    // For every edge of an element of `elems`: CKpElem::GetFacEdges gives
    // the facet edges along the side (1 linear, 2 quadratic); the edge keeps
    // their count as last node index, their facets and local edges, and as
    // node ids the start vertex of the first facet edge followed by the end
    // vertex of each facet edge (CKpElemEdge::SetEdges). Edges of missing
    // elements are passed over. -1 at the first edge that cannot be placed:
    // GetFacEdges's error (undefined edge number, not a faceted shell), or
    // "Element %d edge %d: facet %d has no nodes." when a facet (index in
    // `facets`) or one of its nodes is missing; -1 for null stores. 0
    // otherwise.
    int SetNodeIds(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets);

    // Puts the curve in order: DeleteInvalid, SetNodeIds, then the chain of
    // the edges' nodes (CKpElemEdgeNodeStore: AddElemEdges,
    // CheckNeighNodes, CreateEdgeLine, CKpElemEdgeNodeList::
    // CreateOrderedElemEdges) replaces the list by the edges in walking
    // order, each directed along the walk (direction +1/-1). Where two
    // elements share a side of the curve, the lower element id's edge is
    // kept. 0 (also for a curve left empty); -1 when a step fails, with its
    // messages ("Node %d has %d neighbours, only 2 are allowed." for a
    // branch, "There are %d end nodes, only 2 are allowed." for a broken
    // chain, ...), or "Could not allocate memory."; the list then keeps its
    // edges (minus those DeleteInvalid dropped).
    int ArrangeCurve(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets);

    // ---- Whole lists ----

    // Appends every edge of `other` at the tail, leaving `other` empty. A
    // null `other`, or this list itself, changes nothing.
    void Move(CKpElemEdgeStore* other);
    // Appends copies of other's edges in order. 0 (also for a null
    // `other`); -1 with "Could not allocate memory." (the copies made so far
    // stay).
    int Copy(CKpMsg* msg, const CKpElemEdgeStore* other);
    // Exchanges the contents of the two lists (null changes nothing).
    void Swap(CKpElemEdgeStore* other);

    // Normal senses along the curve: the first edge's dnfg becomes 1 when
    // not set, every further edge takes its dnfg from its predecessor
    // (CKpElemEdge::SetDnfg). 0; -1 at the first failure (its message; the
    // later edges keep their dnfg).
    int SetDnfg(CKpMsg* msg, CKpFacetStore* facets);

    // ---- Queries on an arranged curve ----

    // Among the edges holding node `nodeId`, the one whose facet at the node
    // (CKpElemEdge::GetFacNode) has the lowest index, the first on ties:
    // *facet that index and *edge that edge (owned by this list). 0; -1
    // with *facet -1 and *edge null when no edge holds the node.
    int GetLowFac(int nodeId, int* facet, CKpElemEdge** edge) const;

    // Splits copies of the curve at node `nodeId`: the edge whose first
    // node along its direction is the node and every edge after it are
    // copied to the tail of `after`; every edge before it is copied,
    // reversed, to the head of `before`. `before` thus runs from the node
    // back to the curve's start, `after` from the node to its end (a node
    // that begins no edge sends the whole curve to `before`). 0; -1 without
    // a message for a null list or when memory runs out (the lists keep
    // what they got).
    int SplitCopyNode(int nodeId, CKpElemEdgeStore* before, CKpElemEdgeStore* after) const;

    // Splits copies of the curve at `point` inside an edge: the first edge
    // with a facet-edge segment (consecutive nodes along the direction)
    // passing nearer than `tol` to the point (CKpLine::DistPoint, the foot
    // within the segment) goes, reversed, to the head of `before` and, as
    // it is, to the tail of `after`; the edges before it go reversed to the
    // head of `before`, those after it to the tail of `after`. A point on
    // no segment sends the whole curve to `before`. 0; -1 without a
    // message for a null list or store, a node id that `nodes` does not
    // hold, or when memory runs out (the lists keep what they got).
    int SplitCopyPoint(const CKpPoint& point, double tol, CKpNodeStore* nodes,
                       CKpElemEdgeStore* before, CKpElemEdgeStore* after) const;

    // The start of a drape on this (single) curve near `point`:
    //   1. the first node, in curve order, nearer than `tol` to the point:
    //      *startNode its id, *start its position, *facet and *edge from
    //      GetLowFac;
    //   2. else the first facet-edge segment, in curve order and along each
    //      edge's direction, passing nearer than `tol`: *startNode -1,
    //      *start the foot of the perpendicular, *facet the segment's facet
    //      and *edge its edge;
    //   3. else (also for an empty curve) the error "The start point must
    //      be within %g units of the selected single manual axis. Please
    //      select a start point on the axis." (tol) and -1.
    // *edge points into this list. -1 also with "Node %d of element %d edge
    // %d does not exist." for a node `nodes` does not hold.
    int GetStart(CKpMsg* msg, const CKpPoint& point, double tol, CKpNodeStore* nodes,
                 int* startNode, CKpPoint* start, int* facet, CKpElemEdge** edge) const;

    // The start at the crossing of this (warp) curve and `weftCurve`: the
    // node ids of this curve that the weft curve also holds, each once in
    // curve order. Exactly one: *startNode that node, *start its position,
    // *facet and *edge from GetLowFac on this curve; 0. None: the error
    // "The selected seed curves do not intersect.", -1. Several: the error
    // "The selected seed curves intersect at multiple nodes:" and one error
    // " %d" per common node, -1. Also -1 with "Node %d of element %d edge %d
    // does not exist." when `nodes` does not hold the crossing.
    int GetStartIntersect(CKpMsg* msg, const CKpElemEdgeStore* weftCurve, CKpNodeStore* nodes,
                          int* startNode, CKpPoint* start, int* facet, CKpElemEdge** edge) const;

    // The start of a seed-curve drape, on this arranged warp curve. Axis
    // type `axstp` 3 starts at the crossing with the arranged `weftCurve`;
    // any other type (4: one seed curve) starts on this curve near `point`
    // and ignores `weftCurve`. Arguments:
    //   orient      the seed-curve direction word (CKpPat::axsdn): "Calc",
    //               "Warp", "Bias", "Weft", "Bias2" or an angle in degrees
    //               ("%lg"); used for type 4 only. Null counts as "".
    //   nodes, facets  the model's stores (read); the tolerance is
    //               t = 0.001 x sqrt(CKpFacetStore::SelectedArea()).
    //   point, appl, ref  the pattern's seed point, application direction
    //               and reference direction.
    //   refang      (in/out) the reference angle; the change d of the warp
    //               angle that the curve makes (times the sense) is added,
    //               wrapped into [-pi, pi]. |d| above 5 degrees gives the
    //               warning "The seed curve has changed the warp angle at
    //               the start point by %g degrees. The reference angle will
    //               be updated to reflect this." (degrees).
    //   geom        the fabric geometry (warp-weft angle and bias angles).
    //   curveAngle  (out) type 4: the angle c of the curve from the warp
    //               (Calc: the curve's angle from the reference warp folded
    //               into [-pi/2, pi/2]; Warp 0; Bias, Weft, Bias2 the
    //               fabric's angles; a number that angle); type 3: 0.
    //   startFacet, start  (out) the start facet and point: the crossing
    //               node, the curve node within t of `point`, or the foot
    //               of the perpendicular on the nearest segment.
    //   side        (out) -1 when `appl` runs along the start facet's
    //               normal, +1 against it, 0 perpendicular.
    //   warp, weft  (out) the start warp and weft angles in the start
    //               facet's local axes: type 4 the warp turned to keep the
    //               curve at c from it and the weft at the warp-weft angle
    //               from the warp; type 3 along the two curves.
    //   sim         (written) its four axes are rebuilt as polylines along
    //               the curves from the start: 0 warp ahead, 1 weft ahead,
    //               2 warp behind, 3 weft behind. Point 0 is the start on
    //               the start facet (sense +1, length 0, angle warp, weft,
    //               warp + pi, weft + pi); then each facet-edge segment
    //               a -> b of the curve's edges adds a point at a and one at
    //               b on its facet (from-facet and facet), with the edge's
    //               dnfg as sense and the running length along the curve.
    //               Every point is moved 1e-6 of the way to its facet's
    //               centroid (strictly inside it; the lengths are those of
    //               the unmoved curve). Edge, edge code and angle after
    //               point 0 stay unset (-1, -1, -1000.0). Type 4 leaves
    //               axes 1 and 3 at point 0.
    // A curve drawn against the fibre sense is used reversed. The curves
    // themselves are left unchanged (the work is done on split copies).
    // Information lines list the split curves ("Axis %d lastNode elem edge
    // edgeDirn dnfg:").
    // 0; -1 after the error of the failing step: GetStart /
    // GetStartIntersect; type 3 "The distance between the start point at
    // [%g,%g,%g] and the point of intersection of warp and weft curves at
    // [%g,%g,%g] is %g. This must be less than %g. Please set the start
    // point near to the intersection point."; a missing start facet;
    // CalcStartDirn (run with axis type 0: the reference angle turns about
    // the start facet's normal; where it fails without a message of its
    // own, the error "Could not generate pattern axes"); "Could not allocate memory."; null
    // stores or workspace. A word that type 4 does not know gives the
    // warning "For single seed curves, the '%s' orientation option is not
    // supported. Converting to the default '%s' option." and "Calc" is
    // used.
    int CalcStartAxes(CKpMsg* msg, int axstp, const char* orient, CKpElemEdgeStore* weftCurve,
                      CKpNodeStore* nodes, CKpFacetStore* facets, CKpPoint point, CKpDirn appl,
                      CKpDirn ref, double& refang, const CKpMatGeom& geom, double& curveAngle,
                      int& startFacet, CKpPoint& start, int& side, double& warp, double& weft,
                      CKpDrapeSim* sim);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPELEMEDGESTORE_H
