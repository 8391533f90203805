#ifndef PLYSTRAND_LAYUPLIB_SOLIDELEMENT_H
#define PLYSTRAND_LAYUPLIB_SOLIDELEMENT_H

namespace SolidElements {

class SolidElementFace;
class SolidSection;
class SolidStackingTube;

// SolidElement: one input brick with its six faces. Face k has a fixed role:
// 0 and 1 are opposite (the brick's bottom and top once it lies in a tube),
// 2 .. 5 the sides; the opposite of face k is Opposite(k). The faces belong
// to the filler; an element of a type other than 8-node (28) or 20-node (20)
// brick has no faces.
class SolidElement {
  public:
    enum { eHex8 = 28, eHex20 = 20 };

    SolidElement(int id, int type) : m_id(id), m_type(type) {}

    int GetID() const { return m_id; }
    int GetType() const { return m_type; }
    // 6 once the faces are set, else 0.
    int GetNumFaces() const { return m_faces[0] ? 6 : 0; }
    SolidElementFace* GetFace(int k) const { return m_faces[k]; }
    void SetFace(int k, SolidElementFace* face) { m_faces[k] = face; }
    // Index of `face` among the six; -1 when it is not one of them.
    int FaceIndex(const SolidElementFace* face) const;

    SolidStackingTube* GetTube() const { return m_tube; }
    void SetTube(SolidStackingTube* tube) { m_tube = tube; }
    SolidSection* GetSection() const { return m_section; }
    void SetSection(SolidSection* section) { m_section = section; }

    // Renumbers the brick so that `face` (one of its faces) becomes face 0
    // and its opposite face 1. Starting from face 1, 4 or 5 turns the brick
    // over: the stored order of the new faces 0 and 1 is reversed and both
    // are marked flipped, so that the output brick keeps its handedness.
    // Faces 2, 3, 4, 5 become the faces holding the edges (0,1), (1,2),
    // (2,3), (3,0) of face 0's stored corners.
    void ReorientBase(SolidElementFace* face);

    // The first face in face order, skipping `except`, among whose four
    // corners the ids `nodeA` and `nodeB` occur twice in all (it holds the
    // edge A-B); null when none does.
    SolidElementFace* FindSharedFace(int nodeA, int nodeB, SolidElementFace* except) const;

    // Renumbers this brick to match its neighbour across `face` (a face of
    // the neighbour): with k the index of `face` in the neighbour, the twin
    // (this brick's shared face) becomes face Opposite(k), the face opposite
    // the twin becomes face k, and every other face takes the index of the
    // neighbour face (other than `face`) it shares an edge with. Faces keep
    // their node order. Nothing happens when `face` has no twin in this
    // brick or the faces do not match up one to one.
    void Reorient(SolidElementFace* face);

    // The opposite of face k: 1, 0, 4, 5, 2, 3 for k = 0 .. 5.
    static int Opposite(int k);
    // Local node numbers (0-based) of face k of a brick of `type`: 4 for
    // type 28, 8 for type 20 (corners, then mid-side nodes); null for other
    // types.
    static const int* FaceTable(int type, int k);
    // Nodes per face (4, 8) and per brick (8, 20) of `type`; 0 for others.
    static int NodesPerFace(int type);
    static int NodesPerElement(int type);

  private:
    int m_id;
    int m_type;
    SolidElementFace* m_faces[6] = {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    SolidStackingTube* m_tube = nullptr;
    SolidSection* m_section = nullptr;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDELEMENT_H
