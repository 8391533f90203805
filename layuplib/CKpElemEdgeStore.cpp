#include "layuplib/CKpElemEdgeStore.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemEdgeNodeList.h"
#include "layuplib/CKpElemEdgeNodeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLine.h"
#include "layuplib/CKpMatGeom.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CalcStart.h"
#include "layuplib/angle_util.h"

namespace {

// Every axis point is pulled this fraction of the way to its facet's
// centroid, so that it lies strictly inside the facet it is said to be on.
// The pull shrinks each segment by the same fraction while the lengths stay
// those of the curve, so the drape reads it as fabric strain: a thousandth
// gave shears of tenths of a radian on a flat plate at fine steps. A
// millionth still keeps the points off the facet edges.
const double kInside = 1e-6;

void NoMemory(CKpMsg* msg) {
    if (msg) msg->Create(4, "Could not allocate memory.");
}

void NullPointer(CKpMsg* msg, const char* what) {
    if (msg) msg->Create(4, "Attempt to dereference NULL pointer %s", what);
}

// The position of node `id`; null when the store does not hold it.
const CKpPoint* NodePos(CKpNodeStore* nodes, int id) {
    CKpNode* node = nodes ? nodes->find(id) : nullptr;
    return node ? node->getCKpPoint() : nullptr;
}

const CKpPoint* NodePosOrReport(CKpMsg* msg, CKpNodeStore* nodes, int id, const CKpElemEdge* e) {
    const CKpPoint* p = NodePos(nodes, id);
    if (!p && msg)
        msg->Create(4, "Node %d of element %d edge %d does not exist.", id, e->Elem(), e->Edge());
    return p;
}

double Dist(const CKpPoint& a, const CKpPoint& b) {
    CKpDirn d;
    d.set2pts(&a, &b);
    return d.mag();
}

// Node i counted along the curve: along the direction once it is set.
int CurveNode(const CKpElemEdge* e, int i) {
    return e->Dirn() != 0 ? e->DirnNodeId(i) : e->NodeId(i);
}

bool Holds(const CKpElemEdge* e, int nodeId) {
    for (int i = 0; i < e->NumNodes(); ++i)
        if (e->NodeId(i) == nodeId) return true;
    return false;
}

// Whether the node is the midside node of a quadratic edge of the curve.
bool IsInnerNode(const CKpElemEdgeStore* curve, int nodeId) {
    for (const CKpElemEdge* e = curve->First(); e; e = curve->Next(e))
        for (int i = 1; i < e->LastNode(); ++i)
            if (e->NodeId(i) == nodeId) return true;
    return false;
}

// Unit direction from the first to the last node of `e` along its
// direction; zero for a null edge. false when a node is missing.
bool EdgeDirn(CKpMsg* msg, CKpNodeStore* nodes, const CKpElemEdge* e, CKpDirn* d) {
    d->SetNull();
    if (!e) return true;
    const CKpPoint* a = NodePosOrReport(msg, nodes, e->GetFirstNode(), e);
    const CKpPoint* b = a ? NodePosOrReport(msg, nodes, e->GetLastNode(), e) : nullptr;
    if (!b) return false;
    d->set2pts(a, b);
    d->unitize();
    return true;
}

bool IsSeedWord(const char* word) {
    for (const char* w : {"Calc", "Warp", "Bias", "Weft", "Bias2"})
        if (std::strcmp(word, w) == 0) return true;
    return false;
}

// Appends a point to `axis`, pulled toward the centroid of `facet`.
bool AddAxisPt(CKpAxis* axis, const CKpFacet* facet, int facetIndex, const CKpPoint& p, int sense,
               double length, double angle) {
    CKpAxisPt* pt = new (std::nothrow) CKpAxisPt;
    if (!pt) return false;
    CKpPoint q = p;
    facet->MoveToCentroid(&q, kInside);
    pt->setPosition(q);
    pt->setFromFacet(facetIndex);
    pt->setFacet(facetIndex);
    pt->setSense(sense);
    pt->setLength(length);
    pt->setAngle(angle);
    if (axis->pAxisPt(axis->entries(), pt) == 0) return true;
    delete pt;
    return false;
}

}  // namespace

CKpElemEdgeStore::CKpElemEdgeStore() = default;

CKpElemEdgeStore::~CKpElemEdgeStore() {
    eraseAllObjects();
}

int CKpElemEdgeStore::Fill(CKpMsg* msg, int n, const int* elemIds, const int* edgeIds) {
    if (n < 1) return 0;
    if (!elemIds) {
        NullPointer(msg, "elemIds");
        return -1;
    }
    if (!edgeIds) {
        NullPointer(msg, "edgeIds");
        return -1;
    }
    // Built aside so that a failure leaves the curve as it was.
    CKpElemEdgeStore added;
    for (int k = 0; k < n; ++k) {
        CKpElemEdge* e = new (std::nothrow) CKpElemEdge(elemIds[k], edgeIds[k]);
        if (!e) {
            NoMemory(msg);
            return -1;
        }
        added.InsertLast(e);
    }
    Move(&added);
    return 0;
}

int CKpElemEdgeStore::GetEdges(int n, int* elemIds, int* edgeIds, double* coords,
                               CKpNodeStore* nodes) const {
    int k = 0;
    for (const CKpElemEdge* e = First(); e && k < n; e = Next(e), ++k) {
        if (elemIds) elemIds[k] = e->Elem();
        if (edgeIds) edgeIds[k] = e->Edge();
        if (!coords) continue;
        const int ends[2] = {CurveNode(e, 0), CurveNode(e, e->LastNode())};
        for (int j = 0; j < 2; ++j) {
            const CKpPoint* p = e->LastNode() > 0 ? NodePos(nodes, ends[j]) : nullptr;
            for (int c = 0; c < 3; ++c) coords[6 * k + 3 * j + c] = p ? p->Get(c) : 0.0;
        }
    }
    return k;
}

int CKpElemEdgeStore::DeleteInvalid(CKpMsg* msg, CKpElemStore* elems) {
    if (!elems) return -1;
    CKpElemEdge* e = First();
    while (e) {
        if (elems->find(e->Elem())) {
            e = Next(e);
            continue;
        }
        if (msg)
            msg->Create(2, "Element %d edge %d definition ignored as the element does not exist.",
                        e->Elem(), e->Edge());
        CKpElemEdge* next = Delete(e);
        delete e;
        e = next;
    }
    return 0;
}

int CKpElemEdgeStore::SetNodeIds(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets) {
    if (!elems || !facets) return -1;
    for (CKpElemEdge* e = First(); e; e = Next(e)) {
        const CKpElem* elem = elems->find(e->Elem());
        if (!elem) continue;
        int count = 0;
        int facs[2] = {-1, -1};
        int facEdges[2] = {0, 0};
        if (elem->GetFacEdges(msg, e->Edge(), &count, facs, facEdges) != 0) return -1;
        int ids[3] = {0, 0, 0};
        for (int i = 0; i < count; ++i) {
            const CKpFacet* f = facets->pFac(facs[i]);
            const int v0 = facEdges[i];
            const CKpNode* a = f ? f->getCKpNode(v0) : nullptr;
            const CKpNode* b = f ? f->getCKpNode(CKpFacet::GetNextVertex(v0)) : nullptr;
            if (!a || !b) {
                if (msg)
                    msg->Create(4, "Element %d edge %d: facet %d has no nodes.", e->Elem(),
                                e->Edge(), facs[i]);
                return -1;
            }
            if (i == 0) ids[0] = a->id();
            ids[i + 1] = b->id();
        }
        e->SetEdges(count, facs, facEdges, ids);
    }
    return 0;
}

int CKpElemEdgeStore::ArrangeCurve(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets) {
    if (!elems || !facets) {
        NullPointer(msg, elems ? "facets" : "elems");
        return -1;
    }
    if (DeleteInvalid(msg, elems) != 0 || SetNodeIds(msg, elems, facets) != 0) return -1;

    // The walk list links the graph's nodes; it goes before the graph does.
    CKpElemEdgeNodeStore graph;
    CKpElemEdgeNodeList walk;
    CKpElemEdgeStore ordered;
    if (graph.AddElemEdges(this) != 0) {
        NoMemory(msg);
        return -1;
    }
    if (graph.CheckNeighNodes(msg) != 0 || graph.CreateEdgeLine(&walk) != 0) return -1;
    if (walk.CreateOrderedElemEdges(&ordered) != 0) {
        NoMemory(msg);
        return -1;
    }
    eraseAllObjects();
    Move(&ordered);
    return 0;
}

void CKpElemEdgeStore::Move(CKpElemEdgeStore* other) {
    if (!other || other == this) return;
    while (CKpElemEdge* e = other->DeleteFirst()) InsertLast(e);
}

int CKpElemEdgeStore::Copy(CKpMsg* msg, const CKpElemEdgeStore* other) {
    if (!other || other == this) return 0;
    for (const CKpElemEdge* e = other->First(); e; e = other->Next(e)) {
        CKpElemEdge* copy = new (std::nothrow) CKpElemEdge(*e);
        if (!copy) {
            NoMemory(msg);
            return -1;
        }
        InsertLast(copy);
    }
    return 0;
}

void CKpElemEdgeStore::Swap(CKpElemEdgeStore* other) {
    if (!other || other == this) return;
    CKpElemEdgeStore mine;
    mine.Move(this);
    Move(other);
    other->Move(&mine);
}

int CKpElemEdgeStore::SetDnfg(CKpMsg* msg, CKpFacetStore* facets) {
    CKpElemEdge* e = First();
    if (!e) return 0;
    if (e->GetDnfg() == 0) e->Dnfg(msg, 1);
    for (CKpElemEdge* prev = e; (e = Next(prev)) != nullptr; prev = e)
        if (e->SetDnfg(msg, facets, prev) != 0) return -1;
    return 0;
}

int CKpElemEdgeStore::GetLowFac(int nodeId, int* facet, CKpElemEdge** edge) const {
    int best = -1;
    CKpElemEdge* bestEdge = nullptr;
    for (CKpElemEdge* e = First(); e; e = Next(e)) {
        const int f = e->GetFacNode(nodeId);
        if (f >= 0 && (!bestEdge || f < best)) {
            best = f;
            bestEdge = e;
        }
    }
    if (facet) *facet = best;
    if (edge) *edge = bestEdge;
    return bestEdge ? 0 : -1;
}

int CKpElemEdgeStore::SplitCopyNode(int nodeId, CKpElemEdgeStore* before,
                                    CKpElemEdgeStore* after) const {
    if (!before || !after) return -1;
    bool reached = false;
    for (const CKpElemEdge* e = First(); e; e = Next(e)) {
        if (!reached && e->Dirn() != 0 && e->GetFirstNode() == nodeId) reached = true;
        CKpElemEdge* copy = new (std::nothrow) CKpElemEdge(*e);
        if (!copy) return -1;
        if (reached) {
            after->InsertLast(copy);
        } else {
            copy->Reverse();
            before->InsertFirst(copy);
        }
    }
    return 0;
}

int CKpElemEdgeStore::SplitCopyPoint(const CKpPoint& point, double tol, CKpNodeStore* nodes,
                                     CKpElemEdgeStore* before, CKpElemEdgeStore* after) const {
    if (!before || !after || !nodes) return -1;
    bool passed = false;  // the edge holding the point has been met
    for (const CKpElemEdge* e = First(); e; e = Next(e)) {
        bool holds = false;
        for (int i = 0; i < e->LastNode() && !passed && !holds; ++i) {
            const CKpPoint* a = NodePos(nodes, e->DirnNodeId(i));
            const CKpPoint* b = NodePos(nodes, e->DirnNodeId(i + 1));
            if (!a || !b) return -1;
            CKpLine line;
            line.Set2Points(a, b);
            double d = 0.0;
            holds = line.DistPoint(&point, nullptr, nullptr, &d) == 0 && d < tol;
        }
        if (!passed) {
            CKpElemEdge* rev = new (std::nothrow) CKpElemEdge(*e);
            if (!rev) return -1;
            rev->Reverse();
            before->InsertFirst(rev);
        }
        if (passed || holds) {
            CKpElemEdge* copy = new (std::nothrow) CKpElemEdge(*e);
            if (!copy) return -1;
            after->InsertLast(copy);
        }
        passed = passed || holds;
    }
    return 0;
}

int CKpElemEdgeStore::GetStart(CKpMsg* msg, const CKpPoint& point, double tol, CKpNodeStore* nodes,
                               int* startNode, CKpPoint* start, int* facet,
                               CKpElemEdge** edge) const {
    if (startNode) *startNode = -1;
    // 1. A curve node close to the point.
    for (const CKpElemEdge* e = First(); e; e = Next(e))
        for (int i = 0; i < e->NumNodes(); ++i) {
            const int id = CurveNode(e, i);
            const CKpPoint* p = NodePosOrReport(msg, nodes, id, e);
            if (!p) return -1;
            if (Dist(*p, point) >= tol) continue;
            if (startNode) *startNode = id;
            if (start) *start = *p;
            GetLowFac(id, facet, edge);
            return 0;
        }
    // 2. A segment passing close to it.
    for (CKpElemEdge* e = First(); e; e = Next(e))
        for (int i = 0; i < e->LastNode(); ++i) {
            CKpLine line;
            line.Set2Points(NodePos(nodes, CurveNode(e, i)), NodePos(nodes, CurveNode(e, i + 1)));
            CKpPoint foot;
            double d = 0.0;
            if (line.DistPoint(&point, nullptr, &foot, &d) != 0 || d >= tol) continue;
            if (start) *start = foot;
            if (facet) *facet = e->Dirn() != 0 ? e->DirnFacId(i) : e->FacId(i);
            if (edge) *edge = e;
            return 0;
        }
    if (msg)
        msg->Create(4,
                    "The start point must be within %g units of the selected single manual axis. "
                    "Please select a start point on the axis.",
                    tol);
    return -1;
}

int CKpElemEdgeStore::GetStartIntersect(CKpMsg* msg, const CKpElemEdgeStore* weftCurve,
                                        CKpNodeStore* nodes, int* startNode, CKpPoint* start,
                                        int* facet, CKpElemEdge** edge) const {
    std::vector<int> common;
    try {
        for (const CKpElemEdge* e = First(); e && weftCurve; e = Next(e))
            for (int i = 0; i < e->NumNodes(); ++i) {
                const int id = CurveNode(e, i);
                bool known = false;
                for (int c : common) known = known || c == id;
                if (known) continue;
                for (const CKpElemEdge* w = weftCurve->First(); w && !known; w = weftCurve->Next(w))
                    known = Holds(w, id);
                if (known) common.push_back(id);
            }
    } catch (const std::bad_alloc&) {
        NoMemory(msg);
        return -1;
    }
    if (common.empty()) {
        if (msg) msg->Create(4, "The selected seed curves do not intersect.");
        return -1;
    }
    if (common.size() > 1) {
        if (msg) {
            msg->Create(4, "The selected seed curves intersect at multiple nodes:");
            for (int id : common) msg->Create(4, " %d", id);
        }
        return -1;
    }
    CKpElemEdge* low = nullptr;
    int lowFacet = -1;
    GetLowFac(common[0], &lowFacet, &low);
    const CKpPoint* p = NodePosOrReport(msg, nodes, common[0], low);
    if (!p) return -1;
    if (startNode) *startNode = common[0];
    if (start) *start = *p;
    if (facet) *facet = lowFacet;
    if (edge) *edge = low;
    return 0;
}

int CKpElemEdgeStore::CalcStartAxes(CKpMsg* msg, int axstp, const char* orient,
                                    CKpElemEdgeStore* weftCurve, CKpNodeStore* nodes,
                                    CKpFacetStore* facets, CKpPoint point, CKpDirn appl,
                                    CKpDirn ref, double& refang, const CKpMatGeom& geom,
                                    double& curveAngle, int& startFacet, CKpPoint& start, int& side,
                                    double& warp, double& weft, CKpDrapeSim* sim) {
    if (!nodes || !facets || !sim) {
        NullPointer(msg, !nodes ? "nodes" : !facets ? "facets" : "sim");
        return -1;
    }
    const double tol = 0.001 * std::sqrt(facets->SelectedArea());
    // A single curve drapes without a weft curve, whatever list 1 holds.
    const CKpElemEdgeStore noCurve;
    const CKpElemEdgeStore* weftIn = (axstp == 3 && weftCurve) ? weftCurve : &noCurve;

    // 1. The orientation word, or the angle it gives.
    const char* word = orient ? orient : "";
    double wordAngle = 0.0;
    const bool isNumber = std::sscanf(word, "%lg", &wordAngle) == 1;
    if (isNumber) wordAngle = radians(wordAngle);

    // 2, 3. The start: at the crossing, or on the one curve near the seed
    // point.
    int startNode = -1;
    int fac = -1;
    CKpPoint st;
    CKpElemEdge* startEdge = nullptr;
    if (axstp == 3) {
        if (GetStartIntersect(msg, weftIn, nodes, &startNode, &st, &fac, &startEdge) != 0)
            return -1;
        const double d = Dist(point, st);
        if (d > tol) {
            if (msg)
                msg->Create(
                    4,
                    "The distance between the start point at [%g,%g,%g] and the point of "
                    "intersection of warp and weft curves at [%g,%g,%g] is %g. This must be "
                    "less than %g. Please set the start point near to the intersection "
                    "point.",
                    point.getx(), point.gety(), point.getz(), st.getx(), st.gety(), st.getz(), d,
                    tol);
            return -1;
        }
    } else {
        if (axstp == 4 && !isNumber && !IsSeedWord(word)) {
            if (msg)
                msg->Create(2,
                            "For single seed curves, the '%s' orientation option is not "
                            "supported. Converting to the default '%s' option.",
                            word, "Calc");
            word = "Calc";
        }
        if (GetStart(msg, point, tol, nodes, &startNode, &st, &fac, &startEdge) != 0) return -1;
    }
    // A midside node begins no edge: the curve is split inside its edge.
    if (startNode != -1 && (IsInnerNode(this, startNode) || IsInnerNode(weftIn, startNode)))
        startNode = -1;

    // 4. Start facet and side.
    const CKpFacet* sf = facets->pFac(fac);
    if (!sf || !startEdge) {
        if (msg) msg->Create(4, "Start facet not found.");
        return -1;
    }
    startFacet = fac;
    start = st;
    CKpDirn normal;
    sf->GetNormal(&normal);
    const double dot = appl.DotProduct(&normal);
    side = dot > 0.0 ? -1 : (dot < 0.0 ? 1 : 0);

    // 5. Warp and weft from the reference direction; the reference angle
    // turns about the facet's normal.
    double oldWarp = 0.0;
    double oldWeft = 0.0;
    if (CalcStartDirn(msg, sf, st, appl, ref, refang, 0, geom.GetWarpWeftAngle(), oldWarp, oldWeft,
                      nullptr, nullptr) != 0) {
        // Only a short reference direction is reported there; an application
        // direction that is zero or in the facet's plane fails silently.
        if (msg && ref.mag() >= 1e-6) msg->Create(4, "Could not generate pattern axes");
        return -1;
    }

    // 6. Split copies: 0 warp after, 1 weft after, 2 warp before, 3 weft
    // before the start.
    CKpElemEdgeStore lists[4];
    const CKpElemEdgeStore* curves[2] = {this, weftIn};
    for (int c = 0; c < 2; ++c) {
        const int rc = startNode != -1
                           ? curves[c]->SplitCopyNode(startNode, &lists[2 + c], &lists[c])
                           : curves[c]->SplitCopyPoint(st, tol, nodes, &lists[2 + c], &lists[c]);
        if (rc != 0) {
            NoMemory(msg);
            return -1;
        }
    }

    // 7. The curves' angles at the start, from the edges on both sides.
    double curveAng[2] = {0.0, 0.0};
    for (int c = 0; c < 2; ++c) {
        CKpDirn ahead, behind;
        if (!EdgeDirn(msg, nodes, lists[c].First(), &ahead) ||
            !EdgeDirn(msg, nodes, lists[2 + c].First(), &behind))
            return -1;
        behind.Scale(-1.0);
        ahead.Add(behind);
        if (ahead.mag() > 0.0) curveAng[c] = sf->GetAngle(&ahead);
    }

    // 8, 9. New warp and weft; a curve drawn against the fibre is used
    // reversed.
    double newWarp = 0.0;
    double newWeft = 0.0;
    curveAngle = 0.0;
    if (axstp == 3) {
        if (std::fabs(pi_pi(curveAng[0] - oldWarp)) > kPi / 2.0) {
            lists[0].Swap(&lists[2]);
            curveAng[0] = pi_pi(curveAng[0] + kPi);
        }
        const double w = pi_pi(side * geom.GetWarpWeftAngle() + curveAng[0]);
        if (std::fabs(pi_pi(curveAng[1] - w)) > kPi / 2.0) {
            lists[1].Swap(&lists[3]);
            curveAng[1] = pi_pi(curveAng[1] + kPi);
        }
        newWarp = curveAng[0];
        newWeft = curveAng[1];
    } else {
        double c = 0.0;
        if (isNumber)
            c = wordAngle;
        else if (std::strcmp(word, "Calc") == 0)
            c = piby2_piby2(curveAng[0] - oldWarp) * side;
        else if (std::strcmp(word, "Warp") == 0)
            c = 0.0;
        else if (std::strcmp(word, "Bias") == 0)
            c = geom.GetWarpBiasAngle();
        else if (std::strcmp(word, "Weft") == 0)
            c = geom.GetWarpWeftAngle();
        else if (std::strcmp(word, "Bias2") == 0)
            c = geom.GetWarpBias2Angle();
        else {
            if (msg) msg->Create(4, "Unsupported single seed curve option '%s'.", word);
            return -1;
        }
        const double f = pi_pi(side * c + oldWarp);
        if (std::fabs(pi_pi(curveAng[0] - f)) > kPi / 2.0) {
            lists[0].Swap(&lists[2]);
            curveAng[0] = pi_pi(curveAng[0] + kPi);
        }
        newWarp = pi_pi(curveAng[0] - side * c);
        newWeft = pi_pi(side * geom.GetWarpWeftAngle() + newWarp);
        curveAngle = c;
    }

    // 10. The reference angle follows the turn the curve made.
    const double d = pi_pi(newWarp - oldWarp) * side;
    refang = pi_pi(refang + d);
    if (std::fabs(d) > radians(5.0) && msg)
        msg->Create(2,
                    "The seed curve has changed the warp angle at the start point by %g degrees. "
                    "The reference angle will be updated to reflect this.",
                    degrees(d));
    warp = newWarp;
    weft = newWeft;

    // 11. Normal senses outward from the start edge (a copy: the curve
    // itself stays as it is). A failure ends only that list's walk.
    CKpElemEdge startCopy(*startEdge);
    startCopy.Dnfg(msg, 1);
    for (CKpElemEdgeStore& list : lists) {
        const CKpElemEdge* prev = &startCopy;
        for (CKpElemEdge* e = list.First(); e; prev = e, e = list.Next(e))
            if (e->SetDnfg(msg, facets, prev) != 0) break;
    }

    // 12. The split curves, for the message file.
    for (int k = 0; k < 4 && msg; ++k) {
        msg->Create(1, "Axis %d lastNode elem edge edgeDirn dnfg:", k);
        for (const CKpElemEdge* e = lists[k].First(); e; e = lists[k].Next(e))
            msg->Create(1, " %6d %6d %1d %2d %2d", e->LastNode(), e->Elem(), e->Edge(), e->Dirn(),
                        e->GetDnfg());
    }

    // 13. The four axes, node by node along the split curves.
    const double angle0[4] = {warp, weft, pi_pi(kPi + warp), pi_pi(kPi + weft)};
    for (int k = 0; k < 4; ++k) {
        CKpAxis* axis = sim->pAxis(k);
        axis->reinit();
        if (!AddAxisPt(axis, sf, fac, st, 1, 0.0, angle0[k])) {
            NoMemory(msg);
            return -1;
        }
        double length = 0.0;
        bool skipping = startNode == -1;  // inside the start edge, up to the start point
        for (const CKpElemEdge* e = lists[k].First(); e; e = lists[k].Next(e)) {
            for (int i = 0; i < e->LastNode(); ++i) {
                const int fi = e->DirnFacId(i);
                if (skipping && fi != fac) continue;
                const CKpFacet* f = facets->pFac(fi);
                const CKpPoint* a = NodePosOrReport(msg, nodes, e->DirnNodeId(i), e);
                const CKpPoint* b =
                    a ? NodePosOrReport(msg, nodes, e->DirnNodeId(i + 1), e) : nullptr;
                if (!b) return -1;
                if (!f) {
                    if (msg)
                        msg->Create(4, "Element %d edge %d: facet %d does not exist.", e->Elem(),
                                    e->Edge(), fi);
                    return -1;
                }
                bool ok = true;
                if (skipping) {
                    length = Dist(st, *b);
                    skipping = false;
                } else {
                    ok = AddAxisPt(axis, f, fi, *a, e->GetDnfg(), length, -1000.0);
                    length += Dist(*a, *b);
                }
                if (!ok || !AddAxisPt(axis, f, fi, *b, e->GetDnfg(), length, -1000.0)) {
                    NoMemory(msg);
                    return -1;
                }
            }
            skipping = false;
        }
    }
    // 14. The split copies go with `lists`.
    return 0;
}
