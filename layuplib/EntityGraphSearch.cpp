#include "layuplib/EntityGraphSearch.h"

#include <algorithm>
#include <new>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"

namespace Layup {

namespace {

// Boundary walks of the supported element types, in node positions
// (corners first, then midside nodes): consecutive entries are edges.
const int kWalk3[] = {0, 1, 2, 0};
const int kWalk4[] = {0, 1, 2, 3, 0};
const int kWalk6[] = {0, 3, 1, 4, 2, 5, 0};
const int kWalk8[] = {0, 4, 1, 5, 2, 6, 3, 7, 0};

const int* walkOf(int n) {
    switch (n) {
        case 3:
            return kWalk3;
        case 4:
            return kWalk4;
        case 6:
            return kWalk6;
        case 8:
            return kWalk8;
        default:
            return nullptr;
    }
}

bool ascending(int n, const int* ids) {
    for (int i = 1; i < n; ++i)
        if (ids[i] <= ids[i - 1]) return false;
    return true;
}

int find(const std::vector<int>& ids, int id) {
    auto at = std::lower_bound(ids.begin(), ids.end(), id);
    return (at != ids.end() && *at == id) ? static_cast<int>(at - ids.begin()) : -1;
}

}  // namespace

EntityGraphSearch::~EntityGraphSearch() = default;

int EntityGraphSearch::nodePosition(int id) const {
    return find(m_nodeIds, id);
}

GraphNode* EntityGraphSearch::GetNode(int id) {
    int k = find(m_nodeIds, id);
    return k < 0 ? nullptr : &m_vertices[static_cast<size_t>(k)];
}

GraphNode* EntityGraphSearch::GetElement(int id) {
    int k = find(m_elemIds, id);
    return k < 0 ? nullptr : &m_vertices[m_nodeIds.size() + static_cast<size_t>(k)];
}

void EntityGraphSearch::CalculateMidPoint(int n, const double* xyz, double* centre) {
    double wc, wm;
    int corners;
    switch (n) {
        case 3:
            corners = 3, wc = 1.0 / 3.0, wm = 0.0;
            break;
        case 4:
            corners = 4, wc = 0.25, wm = 0.0;
            break;
        case 6:
            corners = 3, wc = -1.0 / 3.0, wm = 2.0 / 3.0;
            break;
        case 8:
            corners = 4, wc = -0.25, wm = 0.5;
            break;
        default:
            return;
    }
    for (int a = 0; a < 3; ++a) {
        double s = 0.0;
        for (int i = 0; i < n; ++i) s += (i < corners ? wc : wm) * xyz[3 * i + a];
        centre[a] = s;
    }
}

int EntityGraphSearch::SetMesh(int nodeCount, const int* nodeIds, const double* xyz, int elemCount,
                               const int* elemIds, const int* nodesPerElem, int width,
                               const int* connectivity) {
    if (nodeCount <= 0 || elemCount <= 0 || !nodeIds || !xyz || !elemIds || !nodesPerElem ||
        !connectivity || width < 1)
        return 1;
    // Lookups are binary searches: ids out of order would be found nowhere.
    if (!ascending(nodeCount, nodeIds) || !ascending(elemCount, elemIds)) return 1;
    m_vertices.clear();
    m_elements.clear();
    m_elemIds.clear();
    m_touched.clear();
    m_queue.clear();
    try {
        CreateNodes(nodeCount, nodeIds, xyz);
        // Elements outside the graph's types, or naming nodes not loaded,
        // stay out of it.
        std::vector<int> kept;
        for (int k = 0; k < elemCount; ++k) {
            const int n = nodesPerElem[k];
            if (!walkOf(n) || n > width) continue;
            const int* row = connectivity + static_cast<size_t>(k) * static_cast<size_t>(width);
            bool ok = true;
            for (int i = 0; i < n && ok; ++i) ok = nodePosition(row[i]) >= 0;
            if (ok) kept.push_back(k);
        }
        CreateElements(kept, elemIds);
        CreateNodegraph(kept, nodesPerElem, width, connectivity);
    } catch (const std::bad_alloc&) {
        m_vertices.clear();
        m_elements.clear();
        m_elemIds.clear();
        m_nodeIds.clear();
        return 1;
    }
    return 0;
}

void EntityGraphSearch::CreateNodes(int nodeCount, const int* nodeIds, const double* xyz) {
    m_nodeIds.assign(nodeIds, nodeIds + nodeCount);
    m_xyz.assign(xyz, xyz + 3 * static_cast<size_t>(nodeCount));
}

void EntityGraphSearch::CreateElements(const std::vector<int>& kept, const int* elemIds) {
    const size_t nodes = m_nodeIds.size();
    m_elements.resize(kept.size());
    m_elemIds.resize(kept.size());
    // The whole vertex array exists before any edge: positions never move.
    m_vertices.reserve(nodes + kept.size());
    for (size_t i = 0; i < nodes; ++i)
        m_vertices.emplace_back(static_cast<int>(i), m_nodeIds[i], &m_xyz[3 * i], GraphNode::Node);
    for (size_t k = 0; k < kept.size(); ++k) {
        m_elemIds[k] = elemIds[kept[k]];
        m_elements[k].id = m_elemIds[k];
        m_vertices.emplace_back(static_cast<int>(nodes + k), m_elemIds[k], nullptr,
                                GraphNode::Element);
    }
}

void EntityGraphSearch::CreateNodegraph(const std::vector<int>& kept, const int* nodesPerElem,
                                        int width, const int* connectivity) {
    const size_t nodes = m_nodeIds.size();
    for (size_t k = 0; k < kept.size(); ++k) {
        GraphElement& e = m_elements[k];
        const int n = nodesPerElem[kept[k]];
        const int* row = connectivity + static_cast<size_t>(kept[k]) * static_cast<size_t>(width);
        // 1. The node vertices in the element's order.
        e.nodes.reserve(static_cast<size_t>(n));
        for (int i = 0; i < n; ++i)
            e.nodes.push_back(&m_vertices[static_cast<size_t>(nodePosition(row[i]))]);
        // 2. The centre: the plain mean of every node.
        for (int a = 0; a < 3; ++a) {
            double s = 0.0;
            for (GraphNode* v : e.nodes) s += v->GetCoordinates()[a];
            e.centre[a] = s / n;
        }
        GraphNode& centre = m_vertices[nodes + k];
        centre.SetCoordinates(e.centre);
        // 3. Centre to each node, and along the boundary walk.
        const int* walk = walkOf(n);
        for (int i = 0; i < n; ++i) {
            centre.AddRelation(*e.nodes[static_cast<size_t>(i)]);
            e.nodes[static_cast<size_t>(walk[i])]->AddRelation(
                *e.nodes[static_cast<size_t>(walk[i + 1])]);
        }
    }
}

int EntityGraphSearch::GetElemCentroidsFromElemCentroid(int elemId, double maxDistance,
                                                        int maxCount, std::vector<int>& ids,
                                                        std::vector<double>& distances) {
    return GetIDsFromElemCentroid(elemId, maxDistance, maxCount, GraphNode::Element, ids,
                                  distances);
}

int EntityGraphSearch::GetNodeIDsFromElemCentroid(int elemId, double maxDistance, int maxCount,
                                                  std::vector<int>& ids,
                                                  std::vector<double>& distances) {
    return GetIDsFromElemCentroid(elemId, maxDistance, maxCount, GraphNode::Node, ids, distances);
}

int EntityGraphSearch::GetIDsFromElemCentroid(int elemId, double maxDistance, int maxCount,
                                              GraphNode::EType wanted, std::vector<int>& ids,
                                              std::vector<double>& distances) {
    GraphNode* start = GetElement(elemId);
    if (!start) return 1;
    // 1. The start is marked reached (never reported; its length unset).
    std::vector<int> found;
    start->included = true;
    m_touched.push_back(start->GetPosition());
    m_queue.clear();
    m_queue.push_back({start->GetPosition(), 0.0});
    bool ended = false;
    // 2. Breadth-first walk with relaxation. A vertex is queued again only
    // on a strictly shorter path, so zero-length edges cannot cycle.
    for (size_t head = 0; head < m_queue.size() && !ended; ++head) {
        const std::pair<int, double> front = m_queue[head];
        const GraphNode& v = m_vertices[static_cast<size_t>(front.first)];
        for (const auto& rel : v.Relations()) {
            const double d = front.second + rel.second;
            if (d > maxDistance) continue;
            GraphNode& w = m_vertices[static_cast<size_t>(rel.first)];
            if (w.included && d >= w.best) continue;
            if (w.GetType() == wanted && !w.included) {
                found.push_back(rel.first);
                if (maxCount > 0 && static_cast<int>(found.size()) == maxCount) {
                    w.included = true;
                    w.best = d;
                    m_touched.push_back(rel.first);
                    ended = true;
                    break;
                }
            }
            m_queue.push_back({rel.first, d});
            m_touched.push_back(rel.first);
            w.included = true;
            if (d < w.best) w.best = d;
        }
    }
    m_queue.clear();
    // 3. In the order first reached, with the shortest length found.
    for (int position : found) {
        const GraphNode& w = m_vertices[static_cast<size_t>(position)];
        ids.push_back(w.GetId());
        distances.push_back(w.best);
    }
    // 4. Back to rest.
    ResetIncludes();
    return 0;
}

void EntityGraphSearch::ResetIncludes() {
    for (int position : m_touched) {
        GraphNode& v = m_vertices[static_cast<size_t>(position)];
        v.included = false;
        v.best = 1e30;
    }
    m_touched.clear();
}

}  // namespace Layup

int SetupSearch(CKpNodeStore* nodes, CKpElemStore* elems, Layup::EntityGraphSearch* search) {
    if (!nodes || !elems || !search) return 1;
    const int nodeCount = nodes->GetNumNodes();
    if (nodeCount < 1) return 1;
    int elemCount = 0, width = 0;
    if (elems->GetSelectedElementSizes(&elemCount, &width) != 0 || elemCount < 1 || width < 1)
        return 2;
    std::vector<int> nodeIds, elemIds, patchIds, topologies, rows;
    std::vector<double> xyz;
    try {
        nodeIds.resize(static_cast<size_t>(nodeCount));
        xyz.resize(3 * static_cast<size_t>(nodeCount));
        elemIds.resize(static_cast<size_t>(elemCount));
        patchIds.resize(static_cast<size_t>(elemCount));
        topologies.resize(static_cast<size_t>(elemCount));
        rows.resize(static_cast<size_t>(elemCount) * static_cast<size_t>(width));
    } catch (const std::bad_alloc&) {
        return 3;
    }
    if (nodes->GetNodes(nodeCount, nodeIds.data(), xyz.data()) != 0) return 3;
    if (elems->GetSelectedElements(elemCount, elemIds.data(), patchIds.data(), topologies.data(),
                                   width, rows.data()) != 0)
        return 4;
    // For shells the host topology is the node count.
    search->SetMesh(nodeCount, nodeIds.data(), xyz.data(), elemCount, elemIds.data(),
                    topologies.data(), width, rows.data());
    return 0;
}
