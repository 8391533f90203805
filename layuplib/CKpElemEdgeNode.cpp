#include "layuplib/CKpElemEdgeNode.h"

#include <new>

CKpElemEdgeNode::CKpElemEdgeNode(int nodeId) : CVekObject(nodeId), m_neighNodes(64) {}

CKpElemEdgeNode::~CKpElemEdgeNode() {
    m_elemEdges.eraseAllObjects();
    m_neighNodes.eraseAllObjects();
}

bool CKpElemEdgeNode::addNeigh(int nodeId) {
    if (nodeId == id() || m_neighNodes.find(nodeId)) return true;
    CVekObject* entry = new (std::nothrow) CVekObject(nodeId);
    if (!entry) return false;
    if (m_neighNodes.insert(entry) != 0) {
        delete entry;
        return false;
    }
    return true;
}

int CKpElemEdgeNode::AddElemEdge(const CKpElemEdge* edge) {
    if (!edge) return 0;
    CKpElemEdge* copy = new (std::nothrow) CKpElemEdge(*edge);
    if (!copy) return -1;
    m_elemEdges.InsertLast(copy);

    int n = 0, ids[3] = {0, 0, 0};
    edge->GetNodes(&n, ids);
    bool ok = true;
    if (n == 2) {
        ok = addNeigh(ids[0] == id() ? ids[1] : ids[0]);
    } else if (n == 3) {
        if (ids[0] == id())
            ok = addNeigh(ids[1]);
        else if (ids[1] == id())
            ok = addNeigh(ids[0]) && addNeigh(ids[2]);
        else
            ok = addNeigh(ids[1]);
    }
    return ok ? 0 : -1;
}

int CKpElemEdgeNode::GetNeighNode(int i) {
    CVekObject* entry = m_neighNodes[i];
    return entry ? entry->id() : 0;
}

bool CKpElemEdgeNode::IsNeighNode(int nodeId) {
    return m_neighNodes.find(nodeId) != nullptr;
}

int CKpElemEdgeNode::GetNextNode(int prevId) {
    if (GetNumNeighNodes() != 2) return 0;
    const int first = GetNeighNode(0);
    return prevId != first ? first : GetNeighNode(1);
}

const CKpElemEdge* CKpElemEdgeNode::GetElemEdge(int nodeId) const {
    const CKpElemEdge* best = nullptr;
    for (const CKpElemEdge* edge = m_elemEdges.First(); edge; edge = m_elemEdges.Next(edge)) {
        bool consecutive = false;
        for (int i = 0; i < edge->LastNode() && !consecutive; ++i) {
            const int a = edge->NodeId(i), b = edge->NodeId(i + 1);
            consecutive = (a == id() && b == nodeId) || (a == nodeId && b == id());
        }
        if (consecutive && (!best || edge->Elem() < best->Elem())) best = edge;
    }
    return best;
}
