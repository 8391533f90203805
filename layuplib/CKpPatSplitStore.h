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

    // Appends n split edges (existing ones stay): element ids `elemIds`,
    // edge ids `edgeIds` and flags `flags` (n ints each, read; null flags:
    // 0). 0 for n below 1 (nothing appended); 1 for a null `elemIds` or
    // `edgeIds`; -1 when an entry cannot be allocated (those appended so far
    // stay); else 0.
    int SetElemIdsEdgeIds(int n, const int* elemIds, const int* edgeIds, const int* flags);

    // The element ids and edge ids of the split edges in list order, into
    // `elemIds` and `edgeIds` (room for `size` ints each, written; either may
    // be null). Returns the number of edges written: min(entries(), size),
    // 0 for size below 1.
    int GetElemIdsEdgeIds(int size, int* elemIds, int* edgeIds) const;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPATSPLITSTORE_H
