#ifndef PLYSTRAND_LAYUPLIB_GRAPHELEMENT_H
#define PLYSTRAND_LAYUPLIB_GRAPHELEMENT_H

#include <vector>

namespace Layup {

class GraphNode;

// GraphElement: one element of the element graph: its id, its centre (the
// plain mean of all its node coordinates, corner and midside alike) and the
// vertices of its nodes in the element's node order (not owned).
struct GraphElement {
    int id = 0;
    double centre[3] = {0.0, 0.0, 0.0};
    std::vector<GraphNode*> nodes;
};

}  // namespace Layup

#endif  // PLYSTRAND_LAYUPLIB_GRAPHELEMENT_H
