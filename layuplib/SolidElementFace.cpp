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

int SolidElementFace::PairFaces(std::vector<SolidElementFace*>& faces, SolidElementFace*& third) {
    third = nullptr;
    // The keys are copied next to their faces so that the sort compares
    // contiguous memory instead of chasing a pointer per comparison.
    struct Entry {
        int key[8];
        int numNodes;
        int serial;
        SolidElementFace* face;
    };
    std::vector<Entry> entries(faces.size());
    for (size_t i = 0; i < faces.size(); ++i) {
        SolidElementFace* f = faces[i];
        f->m_twin = nullptr;
        Entry& e = entries[i];
        std::copy(f->m_key, f->m_key + f->m_numNodes, e.key);
        std::fill(e.key + f->m_numNodes, e.key + 8, 0);
        e.numNodes = f->m_numNodes;
        e.serial = f->m_serial;
        e.face = f;
    }
    // One sort and one pass: faces with equal keys end up side by side.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.numNodes != b.numNodes) return a.numNodes < b.numNodes;
        for (int k = 0; k < a.numNodes; ++k)
            if (a.key[k] != b.key[k]) return a.key[k] < b.key[k];
        return a.serial < b.serial;
    });
    auto sameKey = [](const Entry& a, const Entry& b) {
        return a.numNodes == b.numNodes && std::equal(a.key, a.key + a.numNodes, b.key);
    };
    for (size_t i = 0; i < entries.size(); ++i) faces[i] = entries[i].face;
    size_t start = 0;
    while (start < entries.size()) {
        size_t end = start + 1;
        while (end < entries.size() && sameKey(entries[end], entries[start])) ++end;
        if (end - start > 2) {
            third = entries[start + 2].face;
            return 1;
        }
        if (end - start == 2) {
            entries[start].face->m_twin = entries[start + 1].face;
            entries[start + 1].face->m_twin = entries[start].face;
        }
        start = end;
    }
    return 0;
}

}  // namespace SolidElements
