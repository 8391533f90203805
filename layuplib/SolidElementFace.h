#ifndef PLYSTRAND_LAYUPLIB_SOLIDELEMENTFACE_H
#define PLYSTRAND_LAYUPLIB_SOLIDELEMENTFACE_H

#include <vector>

namespace SolidElements {

class SolidElement;
class SolidStackingTube;

// SolidElementFace: one face of one brick: 4 nodes (8-node brick) or 4
// corners then 4 mid-side nodes (20-node brick; mid-side node 4 + j lies on
// the edge from corner j to corner j + 1 mod 4).
//
// A face keeps its nodes three ways: in current order (with a pointer to
// each node's coordinates; the mid-surface pass rearranges it so that
// faces stacked in a tube match position by position), sorted ascending
// (the key that finds the same face seen from the neighbouring brick) and
// in stored order (the input connectivity through the face table, reversed
// when the brick is turned over; used for output).
class SolidElementFace {
  public:
    // `ids` and `xyz` hold `numNodes` (4 or 8) node ids and pointers to
    // their coordinates (3 doubles each, owned by the filler). `serial`
    // orders faces with equal keys (creation order).
    SolidElementFace(SolidElement* owner, int numNodes, const int* ids, const double* const* xyz,
                     int serial);

    int NumNodes() const { return m_numNodes; }
    // Node id / coordinates at current position k.
    int Node(int k) const { return m_nodes[k]; }
    const double* NodeXYZ(int k) const { return m_xyz[k]; }
    // Node id at stored position k.
    int StoredNode(int k) const { return m_stored[k]; }
    // The sorted ids (NumNodes() of them).
    const int* Key() const { return m_key; }
    int Serial() const { return m_serial; }

    SolidElement* GetElement() const { return m_element; }
    // The same face seen from the neighbouring brick; null for a free face.
    SolidElementFace* GetTwin() const { return m_twin; }
    void SetTwin(SolidElementFace* twin) { m_twin = twin; }
    // The tube that entered the brick through this face; null when none.
    SolidStackingTube* GetTube() const { return m_tube; }
    void SetTube(SolidStackingTube* tube) { m_tube = tube; }
    bool IsFlipped() const { return m_flipped; }
    void SetFlipped(bool flipped) { m_flipped = flipped; }

    // True when the sorted ids equal `sortedIds` (n ids).
    bool HasKey(const int* sortedIds, int n) const;
    // Number of this face's nodes that `other` also holds.
    int CountSharedNodes(const SolidElementFace& other) const;
    // Current position of node `id`; -1 when the face does not hold it.
    int FindNode(int id) const;

    // Reverses the stored order: corners c0 c1 c2 c3 become c3 c2 c1 c0 and
    // mid-side nodes m0 m1 m2 m3 become m2 m1 m0 m3, so that each mid-side
    // node stays on its edge.
    void ReverseStored();
    // Rearranges the current order: new position k takes the node at old
    // position perm[k] (perm holds NumNodes() positions, a permutation).
    void Permute(const int* perm);

    // The plane through the nodes at current positions 0, 3 and 1: unit
    // normal n (3 doubles, written) and offset d.
    void GetPlane(double* n, double& d) const;
    // The mean of the face's nodes (3 doubles, written).
    void GetMidpoint(double* out) const;

    // Pairs the faces of `faces` that share a key: the two become each
    // other's twins, a face alone stays free (every twin is reset first).
    // One sort by key (lexicographic on the sorted ids, ties in serial
    // order) and one pass. 0; 1 when three or more faces share a key, with
    // `third` the third of them in key order (the twins are then
    // incomplete). `faces` is left in key order. May throw std::bad_alloc.
    static int PairFaces(std::vector<SolidElementFace*>& faces, SolidElementFace*& third);

  private:
    SolidElement* m_element;
    int m_numNodes;
    int m_serial;
    int m_nodes[8];
    const double* m_xyz[8];
    int m_key[8];
    int m_stored[8];
    SolidElementFace* m_twin = nullptr;
    SolidStackingTube* m_tube = nullptr;
    bool m_flipped = false;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDELEMENTFACE_H
