// The model's mesh and edge queries and the element edge plot.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// Corners closer than this (strictly) are the same point.
const double kVertexTolerance = 1e-5;

double Distance(const double* a, const CKpPoint& b) {
    return PointDistance(a[0], a[1], a[2], b.getx(), b.gety(), b.getz());
}

bool Contains(const std::vector<int>& sorted, int id) {
    return std::binary_search(sorted.begin(), sorted.end(), id);
}

}  // namespace

double PointDistance(double x1, double y1, double z1, double x2, double y2, double z2) {
    const double dx = x2 - x1, dy = y2 - y1, dz = z2 - z1;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

int CKpLayup::GetNumElems(int* count) {
    if (!count) {
        m_msg.Create(4, "GetNumElems: the output is missing.");
        return 1;
    }
    *count = pElems()->entries();
    return 0;
}

int CKpLayup::GetElemIds(int count, int* ids) {
    CKpElemStore* elems = pElems();
    const int n = elems->entries();
    if (n == 0) return 0;
    if (!ids || count < n) {
        m_msg.Create(4, "GetElemIds: the id array (%d entries) cannot hold the %d element ids.",
                     ids ? count : 0, n);
        return 1;
    }
    int k = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) ids[k++] = it.key()->id();
    return 0;
}

int CKpLayup::PlotElemEdges(int all) {
    // Each element as a closed polyline through all its nodes in perimeter
    // order, in segment 7 with pen 1.
    m_gra.select_segment(7);
    m_gra.select_pen(1, 0.0);
    CVekObjectStoreIterator<CKpElem> it(*pElems());
    while (++it) {
        const CKpElem* elem = it.key();
        if (all == 0 && elem->getSltd() == 0) continue;
        const int n = elem->getnnod();
        bool linked = n > 0;
        for (int i = 0; i < n && linked; ++i) linked = elem->getckpnodes(i) != nullptr;
        if (!linked) continue;
        m_gra.MoveTo3d(elem->getckpnodes(0)->getCKpPoint());
        for (int i = 1; i < n; ++i) m_gra.LineTo3d(elem->getckpnodes(i)->getCKpPoint());
        m_gra.LineTo3d(elem->getckpnodes(0)->getCKpPoint());
    }
    return 0;
}

int CKpLayup::EraseElemEdges() {
    return m_gra.delete_segment(7);
}

int CKpLayup::GetMeshSizes(int* nNodes, int* nElems, int* width) {
    if (nNodes) *nNodes = pNodes()->GetNumNodes();
    if (nElems) *nElems = pElems()->entries();
    if (width) *width = pElems()->GetMaxNumNodes();
    return 0;
}

int CKpLayup::GetMesh(int nNodes, int* nodeIds, double* xyz, int nElems, int* elemIds,
                      int* patchIds, int* topologies, int width, int* nodes) {
    CKpNodeStore* nodeStore = pNodes();
    CKpElemStore* elemStore = pElems();
    // Every check comes before anything is written.
    if (nNodes != nodeStore->GetNumNodes()) return 1;
    if (nNodes > 0 && (!nodeIds || !xyz)) {
        m_msg.Create(4, "GetMesh: a node array is missing.");
        return 1;
    }
    if (nElems != elemStore->entries()) return 2;
    if (nElems > 0 && (!elemIds || !patchIds || !topologies || !nodes)) {
        m_msg.Create(4, "GetMesh: an element array is missing.");
        return 2;
    }
    const int maxNodes = elemStore->GetMaxNumNodes();
    if (nElems > 0 && width < maxNodes) {
        m_msg.Create(4,
                     "GetMesh: connectivity width %d is smaller than the %d nodes of an element.",
                     width, maxNodes);
        return 2;
    }
    if (nodeStore->GetNodes(nNodes, nodeIds, xyz) != 0) return 1;
    if (elemStore->GetElements(nElems, elemIds, patchIds, topologies, width, nodes) != 0) return 2;
    return 0;
}

int CKpLayup::GetSubMesh(int n, const int* ids, double* xyz, int* xyzCount, int* quads,
                         int* quadCount, int* trias, int* triaCount) {
    if (n < 1 || !ids || !xyz || !xyzCount || !quads || !quadCount || !trias || !triaCount)
        return 1;
    *xyzCount = *quadCount = *triaCount = 0;
    int nNodes = 0, nElems = 0, width = 0;
    GetMeshSizes(&nNodes, &nElems, &width);
    if (nNodes == 0 || nElems == 0) return 1;
    try {
        std::vector<int> nodeIds(nNodes), elemIds(nElems), patchIds(nElems), topologies(nElems);
        std::vector<double> coords(3 * static_cast<size_t>(nNodes));
        std::vector<int> rows(static_cast<size_t>(nElems) * width);
        if (GetMesh(nNodes, nodeIds.data(), coords.data(), nElems, elemIds.data(), patchIds.data(),
                    topologies.data(), width, rows.data()) != 0)
            return 3;

        // Corner node ids of the listed elements, in the order listed.
        std::vector<int> quadList, triaList;
        for (int i = 0; i < n; ++i) {
            const auto at = std::lower_bound(elemIds.begin(), elemIds.end(), ids[i]);
            if (at == elemIds.end() || *at != ids[i]) return 4;
            const size_t k = static_cast<size_t>(at - elemIds.begin());
            const int* row = rows.data() + k * width;
            switch (topologies[k]) {
                case 3:
                case 6:
                    triaList.insert(triaList.end(), row, row + 3);
                    break;
                case 4:
                case 8:
                    quadList.insert(quadList.end(), row, row + 4);
                    break;
                default:
                    return 5;
            }
        }
        std::vector<int> used(quadList);
        used.insert(used.end(), triaList.begin(), triaList.end());
        std::sort(used.begin(), used.end());
        used.erase(std::unique(used.begin(), used.end()), used.end());

        // Node positions first: a missing node leaves the outputs alone.
        std::vector<size_t> position(used.size());
        for (size_t u = 0; u < used.size(); ++u) {
            const auto at = std::lower_bound(nodeIds.begin(), nodeIds.end(), used[u]);
            if (at == nodeIds.end() || *at != used[u]) return 6;
            position[u] = static_cast<size_t>(at - nodeIds.begin());
        }
        for (size_t u = 0; u < used.size(); ++u)
            for (int c = 0; c < 3; ++c) xyz[3 * u + c] = coords[3 * position[u] + c];
        auto index = [&used](int id) {
            return static_cast<int>(std::lower_bound(used.begin(), used.end(), id) - used.begin());
        };
        for (size_t q = 0; q < quadList.size(); ++q) quads[q] = index(quadList[q]);
        for (size_t t = 0; t < triaList.size(); ++t) trias[t] = index(triaList[t]);
        *xyzCount = static_cast<int>(3 * used.size());
        *quadCount = static_cast<int>(quadList.size());
        *triaCount = static_cast<int>(triaList.size());
    } catch (...) {
        m_msg.Create(4, "Could not allocate memory.");
        return 3;
    }
    return 0;
}

int CKpLayup::GetElementEdgeIDs(int n, const int* ids, const double* points, int* edgesOut) {
    if (n > 0 && (!ids || !points || !edgesOut)) {
        m_msg.Create(4, "GetElementEdgeIDs: an array is missing.");
        return 1;
    }
    CKpElemStore* elems = pElems();
    for (int i = 0; i < n; ++i) {
        const CKpElem* elem = elems->find(ids[i]);
        if (!elem) return 1;
        CKpPoint corner[4];
        if (elem->GetVertices(corner) != 0) continue;  // no corners: nothing to match
        const int v = elem->GetNumVertices();
        const double* a = points + 6 * static_cast<size_t>(i);
        const double* b = a + 3;
        for (int k = 0; k < v; ++k) {
            if (!(Distance(a, corner[k]) < kVertexTolerance)) continue;
            if (Distance(b, corner[(k + 1) % v]) < kVertexTolerance) {
                edgesOut[i] = k + 1;
                break;
            }
            if (Distance(b, corner[(k + v - 1) % v]) < kVertexTolerance) {
                edgesOut[i] = k == 0 ? v : k;
                break;
            }
        }
    }
    return 0;
}

int CKpLayup::GetEdgeCoords(int n, const int* ids, const int* edges, double* pointsOut) {
    if (n < 1 || !ids || !edges || !pointsOut) {
        if (n > 0) m_msg.Create(4, "GetEdgeCoords: an array is missing.");
        return 1;
    }
    CKpElemStore* elems = pElems();
    for (int i = 0; i < n; ++i) {
        const CKpElem* elem = elems->find(ids[i]);
        if (!elem) return 2;
        const int v = elem->GetNumVertices();
        if (v == 0) continue;  // a solid has no shell edges
        if (edges[i] < 1 || edges[i] > v) return 1;
        CKpPoint corner[4];
        if (elem->GetVertices(corner) != 0) continue;
        const CKpPoint& p = corner[(edges[i] - 1) % v];
        const CKpPoint& q = corner[edges[i] % v];
        double* out = pointsOut + 6 * static_cast<size_t>(i);
        out[0] = p.getx();
        out[1] = p.gety();
        out[2] = p.getz();
        out[3] = q.getx();
        out[4] = q.gety();
        out[5] = q.getz();
    }
    return 0;
}

int CKpLayup::GetEdgeNodes(int n, const int* ids, const int* edges, int* countOut, int* nodesOut) {
    if (n < 1 || !ids || !edges || !countOut || !nodesOut) {
        if (n > 0) m_msg.Create(4, "GetEdgeNodes: an array is missing.");
        return 1;
    }
    CKpElemStore* elems = pElems();
    try {
        std::vector<int> found;
        for (int i = 0; i < n; ++i) {
            const CKpElem* elem = elems->find(ids[i]);
            if (!elem) return 2;
            const int v = elem->GetNumVertices();
            if (v == 0) continue;  // a solid has no shell edges
            if (edges[i] < 1 || edges[i] > v) return 1;
            const int nnod = elem->getnnod();
            const int step = nnod / v;
            const int first = (edges[i] - 1) * step;
            const int second = first + step < nnod ? first + step : 0;
            found.push_back(elem->getunid(first));
            found.push_back(elem->getunid(second));
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        *countOut = static_cast<int>(found.size());
        std::copy(found.begin(), found.end(), nodesOut);
    } catch (...) {
        m_msg.Create(4, "Could not allocate memory.");
        return 1;
    }
    return 0;
}

int CKpLayup::GetElementEdgeIDsByNodes(int n, const int* nodeIds, int* countOut, int* elemsOut,
                                       int* edgesOut) {
    if (n < 1 || !nodeIds || !countOut || !elemsOut || !edgesOut) {
        if (n > 0) m_msg.Create(4, "GetElementEdgeIDsByNodes: an array is missing.");
        return 1;
    }
    CKpNodeStore* nodes = pNodes();
    for (int i = 0; i < n; ++i)
        if (!nodes->find(nodeIds[i])) return 2;
    try {
        std::vector<int> listed(nodeIds, nodeIds + n);
        std::sort(listed.begin(), listed.end());
        std::unordered_set<std::uint64_t> recorded;
        auto key = [](int a, int b) {
            if (a > b) std::swap(a, b);
            return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) |
                   static_cast<std::uint32_t>(b);
        };
        int count = 0;
        CVekObjectStoreIterator<CKpElem> it(*pElems());
        while (++it) {
            const CKpElem* elem = it.key();
            const int v = elem->GetNumVertices();
            if (v == 0) continue;
            const int step = elem->getnnod() / v;
            int remembered = -1;
            for (int k = 0; k < v; ++k) {
                const int node = elem->getunid(k * step);
                if (!Contains(listed, node)) continue;
                if (remembered >= 0) {
                    int edge = 0;
                    if (remembered == k - 1)
                        edge = k;
                    else if (remembered == 0 && k == v - 1)
                        edge = v;
                    if (edge > 0 &&
                        recorded.insert(key(elem->getunid(remembered * step), node)).second) {
                        elemsOut[count] = elem->id();
                        edgesOut[count] = edge;
                        ++count;
                    }
                }
                remembered = k;
            }
        }
        *countOut = count;
    } catch (...) {
        m_msg.Create(4, "Could not allocate memory.");
        return 1;
    }
    return 0;
}
