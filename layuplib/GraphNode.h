#ifndef PLYSTRAND_LAYUPLIB_GRAPHNODE_H
#define PLYSTRAND_LAYUPLIB_GRAPHNODE_H

#include <utility>
#include <vector>

namespace Layup {

// GraphNode: one vertex of the element graph (EntityGraphSearch): a mesh
// node or the centre of an element, with its edges to the neighbouring
// vertices and the marks of the search in progress.
class GraphNode {
  public:
    // 0 a node vertex, 1 an element vertex.
    enum EType { Node = 0, Element = 1 };

    // A vertex at `position` in its graph's vertex array, standing for node
    // or element `id`; `xyz` (3 doubles, not owned, may be null until the
    // element centre is known) are its coordinates.
    GraphNode(int position, int id, const double* xyz, EType type)
        : m_position(position), m_id(id), m_xyz(xyz), m_type(type) {}

    int GetId() const { return m_id; }
    EType GetType() const { return m_type; }
    int GetPosition() const { return m_position; }
    void SetCoordinates(const double* xyz) { m_xyz = xyz; }
    const double* GetCoordinates() const { return m_xyz; }

    // Euclidean distance between the two vertices' coordinates; 0.0 when
    // either has none.
    double Distance(const GraphNode& other) const;

    // Records the edge to `other` on both vertices with their present
    // distance, unless it exists already (then nothing changes). An edge to
    // the vertex itself is not made.
    void AddRelation(GraphNode& other);

    // Neighbours as (vertex position, edge length), ascending by position.
    const std::vector<std::pair<int, double>>& Relations() const { return m_relations; }

    // Search marks: reached by the running search, and the shortest path
    // length found so far (1e30 at rest).
    bool included = false;
    double best = 1e30;

  private:
    void insertRelation(int position, double length);

    int m_position;
    int m_id;
    const double* m_xyz;
    EType m_type;
    std::vector<std::pair<int, double>> m_relations;
};

}  // namespace Layup

#endif  // PLYSTRAND_LAYUPLIB_GRAPHNODE_H
