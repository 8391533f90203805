#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDGRID_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDGRID_H

#include "fileformats/CBDFCard.h"

class CKpNodeStore;

// GRID: a grid point. Reading: (0,1) id, (0,2) CP, (0,3..5) X1 X2 X3; the
// node of that id is found or created, takes CP as its frame and X as its
// point (in frame CP until the read is completed) and counts as placed.
// Writing (a CKpNode): id, blank CP, x, y, z.
class CBDFCardGRID : public CBDFCard {
  public:
    CBDFCardGRID();
    // -1 for an id below 1.
    int Write(CKpLayup* model) override;
    int Read(CVekObject* object) override;

  private:
    // Ids of a deck mostly ascend: a new id above every stored one needs no
    // lookup. Valid while the store and its entry count are as left here.
    CKpNodeStore* m_store;
    int m_entries;
    int m_maxId;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDGRID_H
