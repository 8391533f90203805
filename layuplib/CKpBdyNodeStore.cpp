#include "layuplib/CKpBdyNodeStore.h"

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

CKpBdyNodeStore::CKpBdyNodeStore() = default;

CKpBdyNodeStore::~CKpBdyNodeStore() {
    eraseAllObjects();
}

int CKpBdyNodeStore::NumVertices() const {
    int n = 0;
    for (const CKpBdyNode* item = First(); item; item = Next(item)) n += item->Vertex();
    return n;
}

int CKpBdyNodeStore::SortEdgeRatio() {
    std::vector<CKpBdyNode*> items;
    try {
        items.reserve(static_cast<std::size_t>(entries()));
    } catch (const std::bad_alloc&) {
        return -1;
    }
    while (CKpBdyNode* item = DeleteFirst()) items.push_back(item);

    // The exchange sort keeps the order the loop has always been given in.
    const std::size_t n = items.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (items[j]->EdgeRatio() < items[i]->EdgeRatio()) std::swap(items[i], items[j]);

    for (CKpBdyNode* item : items) InsertLast(item);
    return 0;
}
