#ifndef PLYSTRAND_LAYUPLIB_CKPOLNEDGESTORE_H
#define PLYSTRAND_LAYUPLIB_CKPOLNEDGESTORE_H

#include "layuplib/CKpOlnEdge.h"
#include "layuplib/CVekList.h"

class CKpDrape;
class CKpOln;

// CKpOlnEdgeStore: the straight edges of one drape outline ring, in ring
// order from its first corner. The list owns its edges and deletes them
// when it is destroyed.
class CKpOlnEdgeStore : public CVekList<CKpOlnEdge> {
  public:
    CKpOlnEdgeStore() = default;
    // Deletes every edge.
    ~CKpOlnEdgeStore() { eraseAllObjects(); }

    // Rebuilds the edges of the ring that holds `outline`. An entry is
    // straight when (leaving - arriving) mod 8 is 4, else a corner. From
    // `outline` the walk goes back to a corner, then from each corner
    // forward past straight entries to the next corner, making an edge from
    // the one to the other in the first corner's leaving direction; when
    // the second corner is a spike tip, a spike edge from it to itself in
    // direction (its leaving + 6) mod 8 follows. The walk ends back at the
    // first corner. Each edge gets its maximum strain when `drape` is given.
    // 0; -1 (store empty) for a null outline, a ring without corners or an
    // edge that cannot be allocated.
    int Create(const CKpDrape* drape, CKpOln* outline);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOLNEDGESTORE_H
