#ifndef PLYSTRAND_LAYUPLIB_CKPFACREF_H
#define PLYSTRAND_LAYUPLIB_CKPFACREF_H

#include "layuplib/CVekListItem.h"

// CKpFacRef: one facet meeting at a node, kept in the node's facet-reference
// list (CKpNode::FacRefs) while neighbour relations are searched: the facet
// index, the vertex 0..2 of the node in that facet, and the ids of the nodes
// at the next vertex and at the vertex after that.
class CKpFacRef : public CVekListItem {
  public:
    CKpFacRef(int facet, int vertex, int nextId, int otherId);
    ~CKpFacRef() override;

    // Facet index in the facet store.
    int ft() const { return m_facet; }
    // nd(0) the vertex of the node in the facet, nd(1) the id of the node at
    // the next vertex, nd(2) the id of the node at the vertex after that; 0
    // for any other i.
    int nd(int i) const { return (i >= 0 && i < 3) ? m_nd[i] : 0; }

  private:
    int m_facet;
    int m_nd[3];
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFACREF_H
