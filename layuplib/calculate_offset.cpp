#include "layuplib/calculate_offset.h"

#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"

namespace {

const double kFar = 1e12;
// A fan walk stops after this many facets in one turning sense.
const int kMaxFanSteps = 10;

bool supportedType(CKpMsg* log, int surfaceType) {
    if (surfaceType == 0 || surfaceType == 1) return true;
    if (log) log->Create(4, "Unsupported surface type.");
    return false;
}

// d moved away from 0 to at least 0.5 in size, keeping its sign (0 -> 0.5).
double limitDot(double d) {
    if (d < 0.0 && d > -0.5) return -0.5;
    if (d >= 0.0 && d < 0.5) return 0.5;
    return d;
}

double dot(const CKpDirn& a, const CKpDirn& b) {
    return a.getx() * b.getx() + a.gety() * b.gety() + a.getz() * b.getz();
}

void clearOutputs(CKpDirn directions[2], double offsets[2]) {
    if (directions) {
        directions[0].SetNull();
        directions[1].SetNull();
    }
    if (offsets) offsets[0] = offsets[1] = 0.0;
}

// The end entry of the fan on side `side`, at most `limit` links away.
CKpFtdn* fanEnd(CKpFtdn* entry, int side, int limit) {
    for (int i = 0; i < limit && entry->lnk[side]; ++i) entry = entry->lnk[side];
    return entry;
}

void logFan(CKpMsg* log, CKpFacetStore* facets, CKpFtdn* anyEntry, int count) {
    const int limit = count + 1;
    int listed = 0;
    for (CKpFtdn* e = fanEnd(anyEntry, 0, limit); e && listed < limit; e = e->lnk[1], ++listed) {
        const CKpFacet* f = facets->pFac(e->ft);
        const CKpNode* node = f ? f->getCKpNode(e->vx) : nullptr;
        const int ueid = f && f->getElement() ? f->GetElemId() : 0;
        log->Create(1, " ueid %6d unid %6d ft %6d vx %1d", ueid, node ? node->id() : 0, e->ft,
                    e->vx);
    }
}

// Direction (angle-weighted sum of the signed normals) and extreme offset
// of one fan; k 0 the lower, 1 the upper face. -1 on an unsupported type.
int fanResult(CKpMsg* log, CKpFacetStore* facets, CKpFtdn* fan, int count, int k, int surfaceType,
              CKpLamStore* lamStore, CKpDirn& direction, double& offset) {
    const int limit = count + 1;
    CKpFtdn* first = fanEnd(fan, 0, limit);

    direction.SetNull();
    int n = 0;
    for (CKpFtdn* e = first; e && n < limit; e = e->lnk[1], ++n) {
        const CKpFacet* f = facets->pFac(e->ft);
        if (!f) continue;
        CKpDirn normal;
        f->GetNormal(&normal);
        normal.Scale(e->dn * f->GetVertexAngle(e->vx));
        direction.Add(normal);
    }
    direction.unitize();

    offset = (k == 0) ? kFar : -kFar;
    n = 0;
    for (CKpFtdn* e = first; e && n < limit; e = e->lnk[1], ++n) {
        const CKpFacet* f = facets->pFac(e->ft);
        if (!f) continue;
        double t = 0.0, bottom = 0.0, top = 0.0;
        if (CalcFtThck(log, f, surfaceType, lamStore, t, bottom, top) != 0) return -1;
        CKpDirn normal;
        f->GetNormal(&normal);
        const double d = limitDot(dot(normal, direction));
        if (k == 0) {
            const double value = (e->dn < 1 ? top : bottom) / d;
            if (value < offset) offset = value;
        } else {
            const double value = (e->dn < 1 ? bottom : top) / d;
            if (value > offset) offset = value;
        }
    }
    return 0;
}

}  // namespace

int CalcFtThck(CKpMsg* log, const CKpFacet* facet, int surfaceType, CKpLamStore* lamStore,
               double& t, double& bottom, double& top) {
    t = bottom = top = 0.0;
    if (!supportedType(log, surfaceType)) return -1;
    if (!facet) return -1;
    const CKpElem* elem = facet->getElement();
    if (!elem) return 0;
    if (surfaceType == 0) {
        t = elem->thck();
        bottom = elem->off();
    } else {
        CKpLam* lam = lamStore ? lamStore->find(elem->pid()) : nullptr;
        if (lam) {
            t = lam->t();
            bottom = lam->z0();
        }
    }
    top = bottom + t;
    return 0;
}

void CalcOffsetResetNode(CKpNode* node) {
    if (!node) return;
    node->setmax_off(-kFar);
    node->setmin_off(kFar);
}

int CalcOffsetFacets(CKpMsg* log, CKpFacetStore* facets, int surfaceType, CKpLamStore* lamStore,
                     bool* vertexFactor) {
    if (vertexFactor) *vertexFactor = true;
    if (!supportedType(log, surfaceType)) return -1;
    if (!facets) return -1;
    bool factor = false;
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* facet = facets->pFac(i);
        if (!facet) continue;
        double t = 0.0, bottom = 0.0, top = 0.0;
        if (CalcFtThck(log, facet, surfaceType, lamStore, t, bottom, top) != 0) return -1;
        CKpDirn n;
        facet->GetNormal(&n);
        for (int v = 0; v < 3; ++v) {
            CKpNode* node = facet->getCKpNode(v);
            if (!node) continue;
            factor |= node->getfac_off() != 0.0;
            const double d = limitDot(dot(n, *node->getCKpDirn()));
            double highest = node->getmax_off();
            double lowest = node->getmin_off();
            const double hi = (d > 0.0 ? top : bottom) / d;
            const double lo = (d > 0.0 ? bottom : top) / d;
            if (hi > highest) highest = hi;
            if (lo < lowest) lowest = lo;
            node->setmax_off(highest);
            node->setmin_off(lowest);
        }
    }
    if (vertexFactor) *vertexFactor = factor;
    return 0;
}

int calculate_offset(CKpMsg* log, CKpNodeStore* nodes, CKpFacetStore* facets, int surfaceType,
                     CKpLamStore* lamStore) {
    if (!supportedType(log, surfaceType)) return -1;
    if (!nodes || !facets) return -1;

    // Every node starts with nothing found.
    const int numNodes = nodes->entries();
    for (int i = 0; i < numNodes; ++i) CalcOffsetResetNode((*nodes)[i]);

    // Each facet widens the range of its three nodes.
    return CalcOffsetFacets(log, facets, surfaceType, lamStore, nullptr);
}

int CalcFtdn(CKpMsg* log, CKpFacetStore* facets, int facet, int vertex, int upper, int clock,
             int* closed, int* count, CKpFtdn* fan) {
    if (!facets || !closed || !count || !fan || vertex < 0 || vertex > 2) return -1;
    const int side = clock < 0 ? 0 : 1;
    CKpFtdn* tail = fanEnd(fan, side, *count + 1);

    int current = facet;
    int sign = fan->dn;
    // 1. The edge leaving the node in this turning sense.
    int edge = clock < 0 ? (vertex + 2) % 3 : vertex;

    for (int steps = 1;; ++steps) {
        const CKpFacet* f = facets->pFac(current);
        if (!f) return 0;

        // 2. The facet across the edge: the only neighbour, or at a branch
        // the outermost partner on the side of this fan.
        const int numNeigh = f->getNeighn(edge);
        if (numNeigh < 1) return 0;
        int next = -1;
        int code = -1;
        if (numNeigh == 1) {
            next = f->getNeigh(edge);
            code = f->getNedge(edge);
        } else {
            const int* partners = f->getNeigha(edge);
            const int* codes = f->getNedgea(edge);
            if (!partners || !codes) return 0;
            const int pick = sign * upper > 0 ? numNeigh - 1 : 0;
            next = partners[pick];
            code = codes[pick];
        }
        if (code < -1) code += 7;  // a divided edge still joins the surface
        if (next < 0 || code < 0 || code > 5 || !facets->pFac(next)) return 0;

        // 3. Back at the start: the fan closes.
        if (next == facet) {
            *closed = 1;
            return 0;
        }

        // 4. Too many facets: report the fan and treat it as closed.
        if (steps > kMaxFanSteps) {
            if (log) {
                log->Create(1, "CalcFtdn: Too many facets at node (upper %2d clock %2d)", upper,
                            clock);
                logFan(log, facets, fan, *count);
            }
            *closed = 1;
            return 0;
        }

        // 5. Orientation and the node's vertex in the new facet.
        const int nedge = code % 3;
        if (code < 3) sign = -sign;
        const bool forward = sign * clock > 0;
        const int nvx = forward ? (nedge + 1) % 3 : nedge;

        // 6. Append the entry at this side's end.
        CKpFtdn* entry = new (std::nothrow) CKpFtdn(next, nvx, sign);
        if (!entry) {
            if (log) log->Create(4, "Could not allocate memory.");
            return -1;
        }
        tail->lnk[side] = entry;
        entry->lnk[1 - side] = tail;
        tail = entry;
        ++*count;

        // 7. On across the new facet's next edge around the node.
        edge = forward ? (nedge + 1) % 3 : (nedge + 2) % 3;
        current = next;
    }
}

int DeleteFtdn(CKpFtdn*& fan) {
    if (fan) {
        for (int side = 0; side < 2; ++side) {
            CKpFtdn* e = fan->lnk[side];
            while (e && e != fan) {
                CKpFtdn* further = e->lnk[side];
                delete e;
                e = further;
            }
        }
        delete fan;
    }
    fan = nullptr;
    return 0;
}

int CalcOffsetsNode(CKpMsg* log, CKpFacetStore* facets, CKpNode* node, int facet, int vertex,
                    CKpDirn directions[2], double offsets[2], int surfaceType,
                    CKpLamStore* lamStore) {
    clearOutputs(directions, offsets);
    if (!supportedType(log, surfaceType)) return -1;
    if (!facets || !node || !directions || !offsets || vertex < 0 || vertex > 2) return -1;
    const CKpFacet* f = facets->pFac(facet);
    if (!f) return -1;

    // 1. A stored node normal decides both directions.
    const CKpDirn& normal = *node->getCKpDirn();
    if (!normal.IsNull()) {
        directions[0] = directions[1] = normal;
        if (f->getSbdmndnfg() < 0) {
            directions[0].Reverse();
            directions[1].Reverse();
            offsets[0] = -node->getmax_off();
            offsets[1] = -node->getmin_off();
        } else {
            offsets[0] = node->getmin_off();
            offsets[1] = node->getmax_off();
        }
        return 0;
    }

    // 2.-4. Otherwise the two fans around the node; they differ only where a
    // branch edge lets the lower and the upper face part ways.
    int status = 0;
    for (int k = 0; k < 2 && status == 0; ++k) {
        CKpFtdn* fan = new (std::nothrow) CKpFtdn(facet, vertex, 1);
        if (!fan) {
            if (log) log->Create(4, "Could not allocate memory.");
            status = -1;
            break;
        }
        const int upper = k == 0 ? -1 : 1;
        int closed = 0;
        int count = 1;
        status = CalcFtdn(log, facets, facet, vertex, upper, -1, &closed, &count, fan);
        if (status == 0 && !closed)
            status = CalcFtdn(log, facets, facet, vertex, upper, 1, &closed, &count, fan);
        if (status == 0)
            status = fanResult(log, facets, fan, count, k, surfaceType, lamStore, directions[k],
                               offsets[k]);
        // 5. The fan is freed whatever happened.
        DeleteFtdn(fan);
    }
    if (status != 0) clearOutputs(directions, offsets);
    return status;
}

int CalcOffsetsElemNode(CKpMsg* log, CKpElem* elem, CKpFacetStore* facets, int nodeIndex,
                        CKpDirn directions[2], double offsets[2], int surfaceType,
                        CKpLamStore* lamStore) {
    clearOutputs(directions, offsets);
    if (!supportedType(log, surfaceType)) return -1;
    if (!elem || !facets) return -1;
    const int nodeId = elem->getunid(nodeIndex);
    for (int k = 0; nodeId != 0 && k < elem->getnfac(); ++k) {
        const int index = elem->getfacs(k);
        const CKpFacet* f = facets->pFac(index);
        if (!f) continue;
        const int vertex = f->GetVertex(nodeId);
        if (vertex < 0) continue;
        return CalcOffsetsNode(log, facets, f->getCKpNode(vertex), index, vertex, directions,
                               offsets, surfaceType, lamStore);
    }
    return -1;
}

int CalcOffsetsFacNode(CKpMsg* log, CKpFacetStore* facets, int facet, int vertex,
                       CKpDirn directions[2], double offsets[2], int surfaceType,
                       CKpLamStore* lamStore) {
    clearOutputs(directions, offsets);
    if (!supportedType(log, surfaceType)) return -1;
    const CKpFacet* f = facets ? facets->pFac(facet) : nullptr;
    CKpNode* node = f ? f->getCKpNode(vertex) : nullptr;
    if (!node) return -1;
    return CalcOffsetsNode(log, facets, node, facet, vertex, directions, offsets, surfaceType,
                           lamStore);
}
