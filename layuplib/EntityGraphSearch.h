#ifndef PLYSTRAND_LAYUPLIB_ENTITYGRAPHSEARCH_H
#define PLYSTRAND_LAYUPLIB_ENTITYGRAPHSEARCH_H

#include <utility>
#include <vector>

#include "layuplib/GraphElement.h"
#include "layuplib/GraphNode.h"

class CKpElemStore;
class CKpNodeStore;

namespace Layup {

// EntityGraphSearch: which elements (or nodes) of a shell mesh lie within a
// path length of an element, measured over the mesh rather than in a
// straight line. The mesh becomes a weighted graph whose vertices are the
// nodes and one centre per element; edges join each element centre to its
// nodes and consecutive nodes along the element's boundary (through the
// midside nodes of 6- and 8-node elements). Built once per mesh, searched
// many times; it keeps no reference to the model.
class EntityGraphSearch {
  public:
    EntityGraphSearch() = default;
    virtual ~EntityGraphSearch();
    EntityGraphSearch(const EntityGraphSearch&) = delete;
    EntityGraphSearch& operator=(const EntityGraphSearch&) = delete;

    // Loads the mesh (read only; copied):
    //   nodeCount, nodeIds   the nodes, ids strictly ascending;
    //   xyz                  3 doubles per node, x y z;
    //   elemCount, elemIds   the elements, ids strictly ascending;
    //   nodesPerElem         node count of each element;
    //   width, connectivity  one row of `width` node ids per element, the
    //                        first nodesPerElem[k] used (solver order:
    //                        corners, then midside nodes).
    // Elements of other than 3, 4, 6 or 8 nodes, or naming a node that is
    // not loaded, are left out of the graph. 0; 1 (nothing built) when a
    // count is 0 or negative, an array is null, the width is below 1 or the
    // ids do not ascend. A second call replaces the graph.
    int SetMesh(int nodeCount, const int* nodeIds, const double* xyz, int elemCount,
                const int* elemIds, const int* nodesPerElem, int width, const int* connectivity);

    // Searches from the centre of element `elemId` for the element centres
    // (GetElemCentroidsFromElemCentroid) or the nodes (GetNodeIDsFromElem-
    // Centroid) within path length `maxDistance`, at most `maxCount` of them
    // (0 or less: no limit). Appends, in the order first reached, the ids to
    // `ids` and their shortest path lengths to `distances`, without clearing
    // either; the start element itself is never reported. 0; 1 (nothing
    // appended) when the element is not in the graph.
    int GetElemCentroidsFromElemCentroid(int elemId, double maxDistance, int maxCount,
                                         std::vector<int>& ids, std::vector<double>& distances);
    int GetNodeIDsFromElemCentroid(int elemId, double maxDistance, int maxCount,
                                   std::vector<int>& ids, std::vector<double>& distances);

    // The vertex of node `id` / the centre vertex of element `id`; null when
    // that id was not loaded.
    GraphNode* GetNode(int id);
    GraphNode* GetElement(int id);

    // The parametric centre of an element of n nodes (3 doubles per node,
    // corners first): the mean of the corners for 3 and 4 nodes; -1/3 of
    // each corner plus 2/3 of each midside node for 6; -1/4 of each corner
    // plus 1/2 of each midside node for 8. `centre` (3 doubles) is left
    // untouched for other counts.
    static void CalculateMidPoint(int n, const double* xyz, double* centre);

  private:
    void CreateNodes(int nodeCount, const int* nodeIds, const double* xyz);
    void CreateElements(const std::vector<int>& kept, const int* elemIds);
    void CreateNodegraph(const std::vector<int>& kept, const int* nodesPerElem, int width,
                         const int* connectivity);
    int GetIDsFromElemCentroid(int elemId, double maxDistance, int maxCount,
                               GraphNode::EType wanted, std::vector<int>& ids,
                               std::vector<double>& distances);
    void ResetIncludes();
    int nodePosition(int id) const;

    std::vector<GraphNode> m_vertices;  // node vertices, then element vertices
    std::vector<double> m_xyz;          // node coordinates, 3 per node
    std::vector<int> m_nodeIds;
    std::vector<GraphElement> m_elements;
    std::vector<int> m_elemIds;
    std::vector<int> m_touched;                   // vertex positions
    std::vector<std::pair<int, double>> m_queue;  // FIFO of (position, path length)
};

}  // namespace Layup

// Loads `search` from the model: the live nodes of `nodes` and the selected
// elements of `elems`. 0; 1 no node; 2 no selected element or a largest
// node count below 1; 3 the nodes cannot be fetched; 4 the elements cannot
// be fetched (the graph is then not loaded). SetMesh's own result is not
// passed on.
int SetupSearch(CKpNodeStore* nodes, CKpElemStore* elems, Layup::EntityGraphSearch* search);

#endif  // PLYSTRAND_LAYUPLIB_ENTITYGRAPHSEARCH_H
