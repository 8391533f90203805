#ifndef PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H

#include "layuplib/CKpPatElem.h"
#include "layuplib/CVekList.h"

// CKpPatElemStore: the covered elements of one pattern, in the order the
// simulation or the caller gave them (count, first, last). The list owns its
// entries and deletes them when it is destroyed.
class CKpPatElemStore : public CVekList<CKpPatElem> {
  public:
    CKpPatElemStore() = default;
    // Deletes every entry.
    ~CKpPatElemStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATELEMSTORE_H
