#include "layuplib/CKpElemEdge.h"

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpMsg.h"

CKpElemEdge::CKpElemEdge(int element, int edge)
    : m_elem(element), m_edge(edge), m_dirn(0), m_dnfg(0), m_lastNode(0) {
    init();
}

CKpElemEdge::~CKpElemEdge() = default;

void CKpElemEdge::GetNodes(int* count, int* ids) const {
    if (count) *count = NumNodes();
    if (ids)
        for (int i = 0; i <= m_lastNode; ++i) ids[i] = m_nodes[i];
}

int CKpElemEdge::NodeId(int i) const {
    return (i >= 0 && i <= m_lastNode) ? m_nodes[i] : 0;
}

int CKpElemEdge::FacId(int i) const {
    return (i >= 0 && i < m_lastNode) ? m_facs[i] : -1;
}

int CKpElemEdge::FacEdge(int i) const {
    return (i >= 0 && i < m_lastNode) ? m_facEdges[i] : -1;
}

int CKpElemEdge::DirnNodeId(int i) const {
    if (i < 0 || i > m_lastNode) return -1;
    if (m_dirn == 1) return m_nodes[i];
    if (m_dirn == -1) return m_nodes[m_lastNode - i];
    return -1;
}

int CKpElemEdge::DirnFacId(int i) const {
    if (i < 0 || i >= m_lastNode) return -1;
    if (m_dirn == 1) return m_facs[i];
    if (m_dirn == -1) return m_facs[m_lastNode - 1 - i];
    return -1;
}

int CKpElemEdge::GetFirstNode() const {
    if (m_dirn == 0) return 0;
    return DirnNodeId(0);
}

int CKpElemEdge::GetLastNode() const {
    if (m_dirn == 0) return 0;
    return DirnNodeId(m_lastNode);
}

int CKpElemEdge::GetFacNode(int nodeId) const {
    for (int i = 0; i <= m_lastNode; ++i)
        if (m_nodes[i] == nodeId) return m_facs[i < 2 ? 0 : 1];
    return -1;
}

void CKpElemEdge::SetEdges(int n, const int* facets, const int* facetEdges, const int* nodes) {
    if (n < 1 || n > 2 || !facets || !facetEdges || !nodes) return;
    init();
    m_lastNode = n;
    for (int i = 0; i < n; ++i) {
        m_facs[i] = facets[i];
        m_facEdges[i] = facetEdges[i];
    }
    for (int i = 0; i <= n; ++i) m_nodes[i] = nodes[i];
}

void CKpElemEdge::SetEdgeDirn(int a, int b) {
    for (int i = 0; i < m_lastNode; ++i) {
        if (m_nodes[i] == a && m_nodes[i + 1] == b) {
            m_dirn = 1;
            return;
        }
        if (m_nodes[i] == b && m_nodes[i + 1] == a) {
            m_dirn = -1;
            return;
        }
    }
}

void CKpElemEdge::Dnfg(CKpMsg*, int flag) {
    m_dnfg = flag;
}

void CKpElemEdge::init() {
    m_facs[0] = m_facs[1] = 0;
    m_facEdges[0] = m_facEdges[1] = 0;
    m_nodes[0] = m_nodes[1] = m_nodes[2] = 0;
}

int CKpElemEdge::SetDnfg(CKpMsg* msg, CKpFacetStore* facets, const CKpElemEdge* neigh) {
    if (!neigh || neigh == this) return 0;
    if (neigh->m_dnfg == 0) {
        if (msg)
            msg->Create(4,
                        "Direction flag not set on element %d edge %d as not set on neighbouring "
                        "element %d edge %d",
                        m_elem, m_edge, neigh->m_elem, neigh->m_edge);
        return -1;
    }
    int common = -1;
    for (int i = 0; i <= m_lastNode && common < 0; ++i)
        if (neigh->GetFacNode(m_nodes[i]) >= 0) common = i;
    if (common < 0) {
        if (msg)
            msg->Create(4,
                        "No common node for element %d edge %d and neighbouring element %d edge %d",
                        m_elem, m_edge, neigh->m_elem, neigh->m_edge);
        return -1;
    }
    const int node = m_nodes[common];
    const CKpFacet* mine = facets ? facets->pFac(GetFacNode(node)) : nullptr;
    CKpFacet* theirs = facets ? facets->pFac(neigh->GetFacNode(node)) : nullptr;
    const int r = (mine && theirs) ? mine->GetNeighFacRelDnfg(facets, node, theirs) : 0;
    if (r == 0) {
        if (msg)
            msg->Create(4,
                        "Could not calculate relative direction for element %d edge %d and "
                        "neighbouring element %d edge %d",
                        m_elem, m_edge, neigh->m_elem, neigh->m_edge);
        return -1;
    }
    m_dnfg = neigh->m_dnfg * r;
    return 0;
}
