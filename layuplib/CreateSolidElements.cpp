#include "layuplib/CreateSolidElements.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpRefStore.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResStore.h"
#include "layuplib/CKpXLypStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/SaveLaminate.h"
#include "layuplib/store_or_free.h"

namespace {

// Whether an element ply marks a split: no material thickness and a
// material named with "split".
bool isSplitPly(const CKpElemLypPly* ply) {
    if (ply->mtrlthck() != 0.0) return false;
    const CKpPlyElem* pe = ply->getPlyElem();
    CKpMat* mat = pe ? pe->pmat() : nullptr;
    const char* name = mat ? mat->GetName() : nullptr;
    return name && std::strstr(name, "split") != nullptr;
}

// The ply of `lypPlyId` among the plies below `prev` (the whole stack when
// `prev` is null), searched downwards; when absent a new ply inserted just
// below `prev` (at the top for a null `prev`). Null when memory runs out.
CKpXLypPly* placePly(CKpXLypPlyStore& stack, CKpXLypPly* prev, int lypPlyId) {
    for (CKpXLypPly* p = prev ? stack.Prev(prev) : stack.Last(); p; p = stack.Prev(p))
        if (p->GetLypPlyId() == lypPlyId) return p;
    CKpXLypPly* ply = new (std::nothrow) CKpXLypPly(lypPlyId);
    if (!ply) return nullptr;
    if (prev)
        stack.Insert(prev, ply);
    else
        stack.InsertLast(ply);
    return ply;
}

// Stored positions of the corner nodes; their count.
int cornerPositions(const CKpElem* shell, int pos[4]) {
    const int n = shell->GetNumVertices();
    const int step = shell->getnnod() > n ? 2 : 1;
    for (int c = 0; c < n; ++c) pos[c] = c * step;
    return n;
}

int solidType(int gmtp) {
    switch (gmtp) {
        case 1:
            return 101;
        case 2:
            return 102;
        case 11:
            return 111;
        case 12:
            return 112;
        default:
            return 0;
    }
}

// One corner of the shell being extruded.
struct Corner {
    CKpPoint p;
    CKpDirn u;  // extrusion direction in the shell's sense
    int s;      // +1 when the node direction lies on the shell normal's side
    double bottom, top, scale;
    CKpXLyp* stack;
};

// The work frames handed to the laminate grouping; kept between runs.
CKpCoord* workFrame(int which) {
    static CKpCoord frames[2] = {CKpCoord(0), CKpCoord(0)};
    return &frames[which];
}

// A laminate and property for `solid` from `group` when a property mode is
// set. 0 or -1.
int groupSolid(SolidExtrudeContext& ctx, CKpElem* shell, CKpElem* solid,
               CKpElemLypPlyStore& group) {
    if (ctx.propertyMode == 0) return 0;
    CKpDirn normal;
    normal.setCrossProduct(&ctx.directions[0], &ctx.directions[1]);
    return SaveLaminateElem(ctx.msg, ctx.name, ctx.options, ctx.propertyMode, ctx.origins[0],
                            ctx.origins[1], ctx.directions[0], ctx.directions[1], normal,
                            workFrame(0), workFrame(1), ctx.switchAngle, ctx.angleTolerance,
                            ctx.thicknessTolerance, ctx.ignoreThickness, ctx.equallySpaced,
                            ctx.shearCorrection, ctx.coordCounter, nullptr, nullptr, "",
                            ctx.lamCounter, ctx.propCounter, ctx.coords, ctx.layup->pFields(),
                            ctx.layup->pOrients(), ctx.lams, ctx.props, shell, &group,
                            shell->getoff_fg(), shell->getoff_val(), solid) == 0
               ? 0
               : -1;
}

// Adds a copy of the shell's entry of `lypPlyId` to `group`, when it has
// one. 0; -1 when memory runs out.
int addToGroup(CKpElem* shell, int lypPlyId, CKpElemLypPlyStore& group) {
    CKpElemLypPlyStore* plies = shell->getElemLypPlies();
    CKpElemLypPly* entry = plies ? plies->GetElemLypPly(lypPlyId) : nullptr;
    if (!entry) return 0;
    CKpElemLypPly* copy = new (std::nothrow) CKpElemLypPly(*entry);
    if (!copy) return -1;
    group.InsertLast(copy);
    return 0;
}

// The next solid's id, into *id: the counter, which then rises by one, or
// for a shell extrusion with a negative counter the shell's id less the
// counter. The largest int is never handed out, so the counter cannot wrap
// round into ids already used. False after the error.
bool nextSolidId(SolidExtrudeContext& ctx, const CKpElem* shell, bool shellOffset, int* id) {
    const long long next = shellOffset && ctx.elemCounter < 0
                               ? static_cast<long long>(shell->id()) - ctx.elemCounter
                               : ctx.elemCounter;
    if (next >= INT_MAX) {
        ctx.msg->Create(4, "No %s id is left below %d.", "element", INT_MAX);
        return false;
    }
    *id = static_cast<int>(next);
    if (!shellOffset || ctx.elemCounter >= 0) ++ctx.elemCounter;
    return true;
}

// A new solid of `type` and `id` with corner nodes at the levels `lower`
// and `upper` of each corner, inserted. Null after an error.
CKpElem* makeSolid(SolidExtrudeContext& ctx, int id, int type, const std::vector<Corner>& corners,
                   const std::vector<double>& lower, const std::vector<double>& upper,
                   bool midnodesNow, CKpElem* shell) {
    CKpElem* solid = new (std::nothrow) CKpElem(id, type);
    if (!solid || solid->getnnod() == 0) {
        delete solid;
        ctx.msg->Create(4, "Could not allocate memory.");
        return nullptr;
    }
    const int n = static_cast<int>(corners.size());
    for (int level = 0; level < 2; ++level)
        for (int c = 0; c < n; ++c) {
            CKpPoint at;
            CalcPt(corners[c].p, corners[c].u, level ? upper[c] : lower[c], at);
            CKpNode* node = ctx.nodes->CreateNode(&at, &ctx.nodeCounter);
            if (!node) {
                delete solid;
                ctx.msg->Create(4, "Could not allocate memory.");
                return nullptr;
            }
            solid->setunid(level * n + c, node->id());
            solid->setckpnodes(level * n + c, node);
        }
    if (store_or_free(ctx.elems, solid, nullptr, "element") != 0) {
        ctx.msg->Create(4, "Could not allocate memory.");
        return nullptr;
    }
    if (midnodesNow && CreateSolidMidnodes(ctx.msg, shell, solid, ctx.nodes, &ctx.nodeCounter) != 0)
        return nullptr;
    return solid;
}

}  // namespace

void CalcPt(const CKpPoint& point, const CKpDirn& direction, double distance, CKpPoint& out) {
    out.Set(point.getx() + distance * direction.getx(), point.gety() + distance * direction.gety(),
            point.getz() + distance * direction.getz());
}

int CalcMidpt(CKpMsg*, int i, int j, const CKpElem* element, CKpNodeStore* nodeStore,
              CKpPoint& out) {
    if (!element || !nodeStore) return -1;
    const CKpNode* a = nodeStore->find(element->getunid(i));
    const CKpNode* b = nodeStore->find(element->getunid(j));
    if (!a || !b || i < 0 || j < 0 || i >= element->getnnod() || j >= element->getnnod()) return -1;
    out.SetMid(a->getCKpPoint(), b->getCKpPoint());
    return 0;
}

int CreateSolidMidnodes(CKpMsg* msg, CKpElem*, CKpElem* solid, CKpNodeStore* nodeStore,
                        int* nodeCounter) {
    static const int brickEdges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 4}, {1, 5},
                                          {2, 6}, {3, 7}, {4, 5}, {5, 6}, {6, 7}, {7, 4}};
    static const int wedgeEdges[9][2] = {{0, 1}, {1, 2}, {2, 0}, {0, 3}, {1, 4},
                                         {2, 5}, {3, 4}, {4, 5}, {5, 3}};
    if (!solid) return 0;
    const int(*edges)[2] = nullptr;
    int count = 0, first = 0;
    if (solid->getgmtp() == 102) {
        edges = brickEdges;
        count = 12;
        first = 8;
    } else if (solid->getgmtp() == 112) {
        edges = wedgeEdges;
        count = 9;
        first = 6;
    } else {
        return 0;
    }
    for (int e = 0; e < count; ++e) {
        CKpPoint mid;
        if (CalcMidpt(msg, edges[e][0], edges[e][1], solid, nodeStore, mid) != 0) return -1;
        CKpNode* node = nodeStore->CreateNode(&mid, nodeCounter);
        if (!node) {
            if (msg) msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        solid->setunid(first + e, node->id());
        solid->setckpnodes(first + e, node);
    }
    return 0;
}

int CreateSolidElementsExtrude(SolidExtrudeContext& ctx, CKpElem* shell,
                               CKpXLypPlyStore& elemStack) {
    CKpMsg* msg = ctx.msg;
    // 1. Somewhere to put the solids.
    if (!ctx.nodes || !ctx.elems) {
        msg->Create(4, "Solid node and element stores are undefined.");
        return -1;
    }

    // 3. The solid type (checked first: the corners depend on it).
    const int type = solidType(shell->getgmtp());
    if (type == 0) {
        msg->Create(4, "Unsupported element geometry type %d on element %d.", shell->getgmtp(),
                    shell->id());
        return -1;
    }

    // 2. Corner positions, directions and faces.
    int pos[4];
    const int n = cornerPositions(shell, pos);
    std::vector<Corner> corners(static_cast<size_t>(n));
    std::vector<int> cornerOfPos(static_cast<size_t>(shell->getnnod()), -1);
    for (int c = 0; c < n; ++c) {
        Corner& k = corners[c];
        cornerOfPos[static_cast<size_t>(pos[c])] = c;
        const int nodeId = shell->getunid(pos[c]);
        CKpNode* node = ctx.layup->pNodes()->find(nodeId);
        k.stack = ctx.stacks->find(nodeId);
        if (!node || !k.stack) {
            msg->Create(4, "Could not find node layup for element id %d elemnode %d id %d",
                        shell->id(), pos[c], nodeId);
            return -1;
        }
        // A zero direction would give solids of no height.
        if (node->getCKpDirn()->IsNull()) {
            msg->Create(4, "Node %d has no extrusion direction.", nodeId);
            return -1;
        }
        k.p = *node->getCKpPoint();
        k.s = shell->ModDirn(msg, node->getCKpDirn());
        k.u = *node->getCKpDirn();
        if (k.s == -1) k.u.Reverse();
        k.bottom = k.s * k.stack->GetSnapOffset(-k.s);
        k.top = k.s * k.stack->GetSnapOffset(k.s);
        k.scale = k.stack->GetSnapRatio();
    }
    std::vector<double> lower(static_cast<size_t>(n)), upper(static_cast<size_t>(n));
    for (int c = 0; c < n; ++c) {
        lower[c] = corners[c].bottom;
        upper[c] = corners[c].top;
    }

    if (ctx.method == eExtrudeShell) {
        // 4. One solid from the bottom face to the top face.
        int id = 0;
        if (!nextSolidId(ctx, shell, true, &id)) return -1;
        CKpElem* solid = makeSolid(ctx, id, type, corners, lower, upper, true, shell);
        if (!solid) return -1;
        if (ctx.propertyMode != 0) {
            CKpElemLypPlyStore group;
            for (CKpElemLypPly* e = shell->getElemLypPlies()->First(); e;
                 e = shell->getElemLypPlies()->Next(e))
                if (addToGroup(shell, e->getLypPlyId(), group) != 0) return -1;
            if (groupSolid(ctx, shell, solid, group) != 0) return -1;
        }
        msg->Create(1, "Extruded shell element %d into solid element %d.", shell->id(), id);
        return 0;
    }

    if (ctx.method == eExtrudeSplitPlies) {
        // 5. One solid per run of plies ended by a split ply or the top.
        for (int c = 0; c < n; ++c)
            if (corners[c].stack->SetSplitRatios(msg) != 0) return -1;
        CKpElemLypPlyStore group;
        for (CKpXLypPly* p = elemStack.First(); p; p = elemStack.Next(p)) {
            const bool last = elemStack.Next(p) == nullptr;
            if (!p->IsSplit()) {
                if (addToGroup(shell, p->GetLypPlyId(), group) != 0) return -1;
                if (!last) continue;
            }
            double rise = 0.0;
            for (int c = 0; c < n; ++c) {
                if (last) {
                    upper[c] = corners[c].top;
                } else {
                    double r = 0.0;
                    if (corners[c].stack->GetSplitRatio(msg, corners[c].s, p->GetLypPlyId(), r) !=
                        0)
                        return -1;
                    upper[c] = r * (corners[c].top - corners[c].bottom) + corners[c].bottom;
                }
                if (c == 0 || upper[c] - lower[c] > rise) rise = upper[c] - lower[c];
            }
            if (!(rise > 0.0)) continue;  // the run joins the next solid
            int id = 0;
            if (!nextSolidId(ctx, shell, false, &id)) return -1;
            CKpElem* solid = makeSolid(ctx, id, type, corners, lower, upper, true, shell);
            if (!solid || groupSolid(ctx, shell, solid, group) != 0) return -1;
            group.eraseAllObjects();
            lower = upper;
        }
        return 0;
    }

    if (ctx.method == eExtrudePly) {
        // 6. One solid per ply with thickness; a corner without the ply keeps
        //    its level, so the solid tapers there.
        for (CKpXLypPly* p = elemStack.First(); p; p = elemStack.Next(p)) {
            if (!(p->AveThick() > 0.0)) continue;
            upper = lower;
            for (const CKpXLypPlyY* y = p->Contributions().First(); y;
                 y = p->Contributions().Next(y)) {
                const int at = y->id();
                if (at < 0 || at >= static_cast<int>(cornerOfPos.size())) continue;
                const int c = cornerOfPos[static_cast<size_t>(at)];
                if (c >= 0) upper[c] += y->thick() * corners[c].scale;
            }
            int id = 0;
            if (!nextSolidId(ctx, shell, false, &id)) return -1;
            CKpElem* solid = makeSolid(ctx, id, type, corners, lower, upper, false, shell);
            if (!solid) return -1;
            if (ctx.propertyMode != 0) {
                CKpElemLypPlyStore group;
                if (addToGroup(shell, p->GetLypPlyId(), group) != 0) return -1;
                if (groupSolid(ctx, shell, solid, group) != 0) return -1;
            }
            if (CreateSolidMidnodes(msg, shell, solid, ctx.nodes, &ctx.nodeCounter) != 0) return -1;
            lower = upper;
        }
        return 0;
    }

    msg->Create(4, "Unsupported extrusion method %d.", ctx.method);
    return -1;
}

namespace {

// Step 4: the stack of every referenced node. 0 or -1.
int buildNodeStacks(CKpMsg* msg, CKpLayup* layup, CKpRefStore& refs, CKpXLypStore& stacks,
                    int continuity) {
    CKpNodeStore* nodes = layup->pNodes();
    CKpElemStore* elems = layup->pElems();
    CVekObjectStoreIterator<CKpRef> rit(refs);
    while (++rit) {
        CKpRef* ref = rit.key();
        CKpNode* node = nodes->find(ref->id());
        if (!node) continue;
        CKpXLyp* stack = new (std::nothrow) CKpXLyp(node->id());
        if (!stack) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        stack->SetPlyContinuity(continuity);
        if (store_or_free(&stacks, stack, nullptr, "node stack") != 0) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        const CKpDirn* dirn = node->getCKpDirn();
        CVekObjectStoreIterator<CVekObject> eit(ref->GetElems());
        while (++eit) {
            CKpElem* e = elems->find(eit.key()->id());
            if (!e) continue;
            // a. Slanted elements keep their normal thickness, up to twice.
            double d = e->DotNormal(msg, dirn);
            if (std::fabs(d) < 0.5) d = d < 0.0 ? -0.5 : 0.5;
            const double scale = 1.0 / std::fabs(d);
            // b. Which way the element's plies run along the node direction.
            const int s = e->ModDirn(msg, dirn);
            CKpElemLypPlyStore* plies = e->getElemLypPlies();
            // c. The element's thickness at the node.
            if (stack->Elems().Add(e->id(), (plies ? plies->TotThick() : 0.0) * scale) != 0) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            // d. Its plies, from the stack's top down.
            CKpXLypPly* prev = nullptr;
            if (plies) {
                CKpElemLypPly* ep = s == 1 ? plies->Last() : plies->First();
                for (; ep; ep = s == 1 ? plies->Prev(ep) : plies->Next(ep)) {
                    CKpXLypPly* xp = placePly(stack->Plies(), prev, ep->getLypPlyId());
                    if (!xp || xp->Contributions().Add(e->id(), ep->thck() * scale) != 0) {
                        msg->Create(4, "Could not allocate memory.");
                        return -1;
                    }
                    if (isSplitPly(ep)) xp->SetSplit(1);
                    prev = xp;
                }
            }
            // e. The reference surface.
            const int flag = s == 1 ? e->getoff_fg() : MirroredOffsetFlag(e->getoff_fg());
            if (stack->SetOffset(flag, s * e->getoff_val()) != 0) {
                msg->Create(4, "Incompatible offset definitions on node %d.", node->id());
                return -1;
            }
            // f. Plies side by side share a layer.
            if (stack->CompressButted() != 0) {
                msg->Create(4, "Could not compress plies on node %d.", node->id());
                return -1;
            }
        }
    }
    return 0;
}

// Step 6a: the stack of one shell from its nodes' stacks. 0 or -1.
int buildElemStack(CKpMsg* msg, CKpElem* shell, CKpXLypStore& stacks, CKpNodeStore* nodes,
                   CKpXLypPlyStore& elemStack) {
    const int nn = shell->getnnod();
    for (int k = 0; k < nn; ++k) {
        CKpXLyp* stack = stacks.find(shell->getunid(k));
        CKpNode* node = nodes->find(shell->getunid(k));
        if (!stack || !node) {
            msg->Create(4, "Could not find node layup for element id %d elemnode %d id %d",
                        shell->id(), k, shell->getunid(k));
            return -1;
        }
        const int s = shell->ModDirn(msg, node->getCKpDirn());
        CKpXLypPlyStore& np = stack->Plies();
        CKpXLypPly* prev = nullptr;
        for (CKpXLypPly* p = s == -1 ? np.First() : np.Last(); p;
             p = s == -1 ? np.Next(p) : np.Prev(p)) {
            CKpXLypPly* xp = placePly(elemStack, prev, p->GetLypPlyId(shell->id()));
            if (!xp || xp->Contributions().Add(k, p->AveThick()) != 0) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
            if (p->IsSplit()) xp->SetSplit(1);
            prev = xp;
        }
    }
    return 0;
}

// Step 8: per-element means of the stack thickness, the snap ratio and the
// snapped thickness as three results. 0 or -1.
int addSnapResults(CKpMsg* msg, CKpLayup* layup, CKpXLypStore& stacks) {
    static const char* const third[3] = {"Original Thickness", "Snap Scale", "Final Thickness"};
    CKpResStore* store = layup->pRess();
    CKpRes* results[3] = {nullptr, nullptr, nullptr};
    if (store->maxId() > INT_MAX - 3) {  // no ids left for the three above the highest
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }
    for (int r = 0; r < 3; ++r) {
        const char* names[5] = {"Create Solid Element", "Extrusion", third[r], "", ""};
        results[r] = new (std::nothrow) CKpRes(store->maxId() + 1, names, 0, 1, 1);
        if (!results[r]) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
        if (store_or_free(store, results[r], nullptr, "result") != 0) {
            msg->Create(4, "Could not allocate memory.");
            return -1;
        }
    }
    CVekObjectStoreIterator<CKpElem> it(*layup->pElems());
    while (++it) {
        CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        const int nn = e->getnnod();
        double sums[3] = {0.0, 0.0, 0.0};
        for (int k = 0; k < nn; ++k) {
            const CKpXLyp* stack = stacks.find(e->getunid(k));
            if (!stack) {
                msg->Create(4, "Could not find node layup for element id %d elemnode %d id %d",
                            e->id(), k, e->getunid(k));
                return -1;
            }
            const double t = stack->TotThick();
            sums[0] += t;
            sums[1] += stack->GetSnapRatio();
            sums[2] += t * stack->GetSnapRatio();
        }
        for (int r = 0; r < 3; ++r) {
            const float value = nn > 0 ? static_cast<float>(sums[r] / nn) : 0.0f;
            if (!results[r]->FindOrCreateResElem(e->id(), 1, &value, 0, nullptr)) {
                msg->Create(4, "Could not allocate memory.");
                return -1;
            }
        }
    }
    return 0;
}

}  // namespace

int CreateSolidElements(CKpMsg* msg, CKpLayup* layup, CKpCoordStore* coordStore,
                        CKpLamStore* lamStore, CKpPropStore* propStore, int nodeIdOffset,
                        int elementIdOffset, int extrusionMethod, int, int enforceContinuity, int,
                        const char*, int, double, int snapFlag, double snapTolerance, int snapCount,
                        const int* snapNodeIds, const int* snapValueCounts,
                        const double* snapValues, CKpNodeStore* solidNodeStore,
                        CKpElemStore* solidElemStore, const char* name, const int* propertyOptions,
                        int propertyMode, const CKpDirn& origin0, const CKpDirn& origin1,
                        const CKpDirn& direction0, const CKpDirn& direction1, double switchAngle,
                        double angleTolerance, double thicknessTolerance, int firstCoordId,
                        int firstLamId, int firstPropId, int ignoreThickness,
                        int equallySpacedVariables, int shearCorrection) {
    if (!layup || !msg) return -1;
    // 1. Ids.
    if (nodeIdOffset < 1) {
        msg->Create(4, "Node id (%d) must be positive.", nodeIdOffset);
        return -1;
    }
    if (elementIdOffset < 1 && extrusionMethod != eExtrudeShell) {
        msg->Create(4, "Element id (%d) must be positive.", elementIdOffset);
        return -1;
    }
    // 2. Tolerances.
    if (angleTolerance < 0.0) angleTolerance = 0.0;
    if (thicknessTolerance < 0.0) thicknessTolerance = 0.0;

    // 3. Node-to-element references of the selection.
    CKpRefStore refs;
    if (layup->pNodes()->CreateSelNodeElemRef(msg, layup->pElems(), &refs) != 0) {
        msg->Create(4, "Could not allocate memory.");
        return -1;
    }

    // 4. Node stacks.
    int continuity = CKpXLyp::eNone;
    if (extrusionMethod == eExtrudePly || enforceContinuity)
        continuity = CKpXLyp::eContinuous;
    else if (extrusionMethod == eExtrudeSplitPlies)
        continuity = CKpXLyp::eSplit;
    CKpXLypStore stacks;
    if (buildNodeStacks(msg, layup, refs, stacks, continuity) != 0) return -1;

    // 5. Snapping.
    if (snapFlag) {
        msg->Create(1, "    Node       SnapScale    Orig. Thick.    Final Thick.");
        for (int i = 0; i < snapCount && snapNodeIds && snapValueCounts && snapValues; ++i) {
            CKpXLyp* stack = stacks.find(snapNodeIds[i]);
            if (!stack) continue;
            stack->SetSnap(msg, snapTolerance, snapValueCounts[i], &snapValues[2 * i]);
            const double t = stack->TotThick();
            msg->Create(1, "%8d %15g %15g %15g", stack->id(), stack->GetSnapRatio(), t,
                        t * stack->GetSnapRatio());
        }
    }

    // 6. Extrusion.
    SolidExtrudeContext ctx{};
    ctx.msg = msg;
    ctx.layup = layup;
    ctx.stacks = &stacks;
    ctx.nodes = solidNodeStore;
    ctx.elems = solidElemStore;
    ctx.method = extrusionMethod;
    ctx.nodeCounter = nodeIdOffset;
    ctx.elemCounter = elementIdOffset;
    ctx.name = name ? name : "";
    ctx.options = propertyOptions;
    ctx.propertyMode = propertyMode;
    ctx.origins[0].Set(origin0.getx(), origin0.gety(), origin0.getz());
    ctx.origins[1].Set(origin1.getx(), origin1.gety(), origin1.getz());
    ctx.directions[0] = direction0;
    ctx.directions[1] = direction1;
    ctx.switchAngle = switchAngle;
    ctx.angleTolerance = angleTolerance;
    ctx.thicknessTolerance = thicknessTolerance;
    ctx.ignoreThickness = ignoreThickness;
    ctx.equallySpaced = equallySpacedVariables;
    ctx.shearCorrection = shearCorrection;
    ctx.coordCounter = firstCoordId;
    ctx.lamCounter = firstLamId;
    ctx.propCounter = firstPropId;
    ctx.coords = coordStore;
    ctx.lams = lamStore;
    ctx.props = propStore;
    CVekObjectStoreIterator<CKpElem> it(*layup->pElems());
    while (++it) {
        CKpElem* shell = it.key();
        if (!shell->getSltd() || !shell->getElemLypPlies() ||
            shell->getElemLypPlies()->entries() == 0)
            continue;
        CKpXLypPlyStore elemStack;
        if (buildElemStack(msg, shell, stacks, layup->pNodes(), elemStack) != 0) return -1;
        if (elemStack.entries() > 0 && CreateSolidElementsExtrude(ctx, shell, elemStack) != 0)
            return -1;
    }

    // 7. Solids meeting at a face share its nodes.
    if (solidNodeStore) solidNodeStore->Merge(msg, solidElemStore, nullptr, 1e-6);

    // 8. Snap results.
    if (snapFlag && addSnapResults(msg, layup, stacks) != 0) return -1;
    return 0;
}
