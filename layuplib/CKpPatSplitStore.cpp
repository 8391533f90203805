#include "layuplib/CKpPatSplitStore.h"

#include <new>

int CKpPatSplitStore::SetElemIdsEdgeIds(int n, const int* elemIds, const int* edgeIds,
                                        const int* flags) {
    if (n < 1) return 0;
    if (!elemIds || !edgeIds) return 1;
    for (int i = 0; i < n; ++i) {
        CKpPatSplit* split = new (std::nothrow) CKpPatSplit;
        if (!split) return -1;
        split->setElemId(elemIds[i]);
        split->setEdgeId(edgeIds[i]);
        split->setFlag(flags ? flags[i] : 0);
        InsertLast(split);
    }
    return 0;
}

int CKpPatSplitStore::GetElemIdsEdgeIds(int size, int* elemIds, int* edgeIds) const {
    int n = 0;
    for (const CKpPatSplit* s = First(); s && n < size; s = Next(s), ++n) {
        if (elemIds) elemIds[n] = s->elemId();
        if (edgeIds) edgeIds[n] = s->edgeId();
    }
    return n;
}
