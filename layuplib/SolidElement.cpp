#include "layuplib/SolidElement.h"

#include "layuplib/SolidElementFace.h"

namespace SolidElements {

namespace {
const int kHex8Faces[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 4, 5, 1},
                              {1, 5, 6, 2}, {3, 7, 6, 2}, {0, 4, 7, 3}};
const int kHex20Faces[6][8] = {{0, 1, 2, 3, 8, 9, 10, 11},   {4, 5, 6, 7, 12, 13, 14, 15},
                               {0, 4, 5, 1, 16, 12, 17, 8},  {1, 5, 6, 2, 17, 13, 18, 9},
                               {3, 7, 6, 2, 19, 14, 18, 10}, {0, 4, 7, 3, 16, 15, 19, 11}};
const int kOpposite[6] = {1, 0, 4, 5, 2, 3};

// Number of corners of `face` that are `a` or `b`.
int cornerHits(const SolidElementFace* face, int a, int b) {
    int hits = 0;
    for (int k = 0; k < 4; ++k)
        if (face->StoredNode(k) == a || face->StoredNode(k) == b) ++hits;
    return hits;
}
}  // namespace

int SolidElement::FaceIndex(const SolidElementFace* face) const {
    for (int k = 0; k < 6; ++k)
        if (m_faces[k] && m_faces[k] == face) return k;
    return -1;
}

int SolidElement::Opposite(int k) {
    return (k >= 0 && k < 6) ? kOpposite[k] : -1;
}

const int* SolidElement::FaceTable(int type, int k) {
    if (k < 0 || k >= 6) return nullptr;
    if (type == eHex8) return kHex8Faces[k];
    if (type == eHex20) return kHex20Faces[k];
    return nullptr;
}

int SolidElement::NodesPerFace(int type) {
    return type == eHex8 ? 4 : type == eHex20 ? 8 : 0;
}

int SolidElement::NodesPerElement(int type) {
    return type == eHex8 ? 8 : type == eHex20 ? 20 : 0;
}

void SolidElement::ReorientBase(SolidElementFace* face) {
    const int given = FaceIndex(face);
    if (given < 0) return;
    SolidElementFace* bottom = m_faces[given];
    SolidElementFace* top = m_faces[kOpposite[given]];
    if (given == 1 || given == 4 || given == 5) {
        bottom->ReverseStored();
        top->ReverseStored();
        bottom->SetFlipped(true);
        top->SetFlipped(true);
    }
    SolidElementFace* sides[4];
    int nSides = 0;
    for (int k = 0; k < 6; ++k)
        if (k != given && k != kOpposite[given]) sides[nSides++] = m_faces[k];
    SolidElementFace* ordered[4] = {nullptr, nullptr, nullptr, nullptr};
    bool taken[4] = {false, false, false, false};
    for (int e = 0; e < 4; ++e) {
        const int a = bottom->StoredNode(e), b = bottom->StoredNode((e + 1) % 4);
        for (int s = 0; s < 4; ++s)
            if (!taken[s] && cornerHits(sides[s], a, b) >= 2) {
                ordered[e] = sides[s];
                taken[s] = true;
                break;
            }
    }
    // A degenerate brick may leave an edge without its face: the side faces
    // not yet placed fill the gaps in their old order.
    for (int e = 0, s = 0; e < 4; ++e) {
        if (ordered[e]) continue;
        while (taken[s]) ++s;
        ordered[e] = sides[s];
        taken[s] = true;
    }
    m_faces[0] = bottom;
    m_faces[1] = top;
    for (int e = 0; e < 4; ++e) m_faces[2 + e] = ordered[e];
}

SolidElementFace* SolidElement::FindSharedFace(int nodeA, int nodeB,
                                               SolidElementFace* except) const {
    for (int k = 0; k < 6; ++k) {
        SolidElementFace* f = m_faces[k];
        if (!f || f == except) continue;
        if (cornerHits(f, nodeA, nodeB) == 2) return f;
    }
    return nullptr;
}

void SolidElement::Reorient(SolidElementFace* face) {
    if (!face || !face->GetTwin() || !face->GetElement()) return;
    SolidElementFace* twin = face->GetTwin();
    const int twinIndex = FaceIndex(twin);
    const SolidElement* other = face->GetElement();
    const int k = other->FaceIndex(face);
    if (twinIndex < 0 || k < 0 || GetNumFaces() == 0) return;
    SolidElementFace* faces[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    faces[kOpposite[k]] = twin;
    faces[k] = m_faces[kOpposite[twinIndex]];
    for (int j = 0; j < 6; ++j) {
        SolidElementFace* mine = m_faces[j];
        if (mine == twin || j == kOpposite[twinIndex]) continue;
        for (int i = 0; i < 6; ++i) {
            const SolidElementFace* theirs = other->m_faces[i];
            if (theirs == face || i == k || i == kOpposite[k] || faces[i]) continue;
            if (mine->CountSharedNodes(*theirs) >= 2) {
                faces[i] = mine;
                break;
            }
        }
    }
    for (SolidElementFace* f : faces)
        if (!f) return;  // no one-to-one match: leave the brick as it was
    for (int j = 0; j < 6; ++j) m_faces[j] = faces[j];
}

}  // namespace SolidElements
