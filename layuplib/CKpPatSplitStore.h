#ifndef PLYSTRAND_LAYUPLIB_CKPPATSPLITSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPATSPLITSTORE_H

#include "layuplib/CKpPatSplit.h"
#include "layuplib/CVekList.h"

// CKpPatSplitStore: the split edges of one pattern, in the order given. The
// list owns its entries and deletes them when it is destroyed.
class CKpPatSplitStore : public CVekList<CKpPatSplit> {
  public:
    CKpPatSplitStore() = default;
    // Deletes every entry.
    ~CKpPatSplitStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATSPLITSTORE_H
