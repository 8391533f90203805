#include "layuplib/SolidElementFace.h"

#include <algorithm>

#include "layuplib/LinAlg.h"

namespace SolidElements {

SolidElementFace::SolidElementFace(SolidElement* owner, int numNodes, const int* ids,
                                   const double* const* xyz, int serial)
    : m_element(owner), m_numNodes(numNodes == 8 ? 8 : 4), m_serial(serial) {
    for (int k = 0; k < m_numNodes; ++k) {
        m_nodes[k] = m_key[k] = m_stored[k] = ids[k];
        m_xyz[k] = xyz[k];
    }
    std::sort(m_key, m_key + m_numNodes);
}

bool SolidElementFace::HasKey(const int* sortedIds, int n) const {
    return n == m_numNodes && std::equal(m_key, m_key + m_numNodes, sortedIds);
}

int SolidElementFace::CountSharedNodes(const SolidElementFace& other) const {
    int shared = 0;
    for (int k = 0; k < m_numNodes; ++k)
        if (other.FindNode(m_nodes[k]) >= 0) ++shared;
    return shared;
}

int SolidElementFace::FindNode(int id) const {
    for (int k = 0; k < m_numNodes; ++k)
        if (m_nodes[k] == id) return k;
    return -1;
}

void SolidElementFace::ReverseStored() {
    std::swap(m_stored[0], m_stored[3]);
    std::swap(m_stored[1], m_stored[2]);
    if (m_numNodes == 8) std::swap(m_stored[4], m_stored[6]);
}

void SolidElementFace::Permute(const int* perm) {
    int nodes[8];
    const double* xyz[8];
    for (int k = 0; k < m_numNodes; ++k) {
        nodes[k] = m_nodes[perm[k]];
        xyz[k] = m_xyz[perm[k]];
    }
    for (int k = 0; k < m_numNodes; ++k) {
        m_nodes[k] = nodes[k];
        m_xyz[k] = xyz[k];
    }
}

void SolidElementFace::GetPlane(double* n, double& d) const {
    LinAlg::PlaneFromPoints(m_xyz[0], m_xyz[3], m_xyz[1], n, d);
}

void SolidElementFace::GetMidpoint(double* out) const {
    out[0] = out[1] = out[2] = 0.0;
    for (int k = 0; k < m_numNodes; ++k)
        for (int c = 0; c < 3; ++c) out[c] += m_xyz[k][c];
    LinAlg::VectorDivide(out, m_numNodes);
}

bool SolidElementFace::KeyBefore(const SolidElementFace* a, const SolidElementFace* b) {
    const int n = std::min(a->m_numNodes, b->m_numNodes);
    for (int k = 0; k < n; ++k)
        if (a->m_key[k] != b->m_key[k]) return a->m_key[k] < b->m_key[k];
    if (a->m_numNodes != b->m_numNodes) return a->m_numNodes < b->m_numNodes;
    return a->m_serial < b->m_serial;
}

int SolidElementFace::PairFaces(std::vector<SolidElementFace*>& faces, SolidElementFace*& third) {
    third = nullptr;
    for (SolidElementFace* f : faces) f->m_twin = nullptr;
    // One sort and one pass: faces with equal keys end up side by side.
    std::sort(faces.begin(), faces.end(), KeyBefore);
    size_t start = 0;
    while (start < faces.size()) {
        const SolidElementFace* head = faces[start];
        size_t end = start + 1;
        while (end < faces.size() && faces[end]->HasKey(head->m_key, head->m_numNodes)) ++end;
        if (end - start > 2) {
            third = faces[start + 2];
            return 1;
        }
        if (end - start == 2) {
            faces[start]->m_twin = faces[start + 1];
            faces[start + 1]->m_twin = faces[start];
        }
        start = end;
    }
    return 0;
}

}  // namespace SolidElements
