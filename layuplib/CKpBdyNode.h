#ifndef PLYSTRAND_LAYUPLIB_CKPBDYNODE_H
#define PLYSTRAND_LAYUPLIB_CKPBDYNODE_H

#include "layuplib/CVekListItem.h"

class CKpNode;

// CKpBdyNode: one node of the perimeter loop of a tria3 element that is to
// be cut into smaller triangles (see CKpBdyNodeStore): the node, the element
// edge it lies on and its position along that edge. The node belongs to the
// node store; the item belongs to the loop that holds it.
class CKpBdyNode : public CVekListItem {
  public:
    // `node` (not owned, may be null), element edge `edge` (0..2; edge i
    // runs from corner i to corner i + 1) and `ratio` along it (0 at the
    // edge's first corner, strictly between 0 and 1 inside the edge).
    CKpBdyNode(CKpNode* node, int edge, double ratio);
    ~CKpBdyNode() override;
    CKpBdyNode(const CKpBdyNode&) = delete;
    CKpBdyNode& operator=(const CKpBdyNode&) = delete;

    CKpNode* getNode() const { return node; }
    int getEdge() const { return edge; }
    double getRatio() const { return ratio; }

    // edge + ratio: the node's parameter round the perimeter.
    double EdgeRatio() const { return edge + ratio; }

    // 1 when ratio is at most 0 or at least 1 (a corner of the loop), else 0.
    int Vertex() const { return (ratio <= 0.0 || ratio >= 1.0) ? 1 : 0; }

  private:
    CKpNode* node;
    int edge;
    double ratio;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYNODE_H
