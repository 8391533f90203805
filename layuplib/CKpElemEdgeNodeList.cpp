#include "layuplib/CKpElemEdgeNodeList.h"

#include <new>

#include "layuplib/CKpElemEdgeStore.h"

namespace {

// Appends to `out` a copy of a's edge towards b, directed from a to b,
// unless there is none or it equals `skip1` or `skip2` (either may be
// null); *added is the copy, or null when nothing was appended. Returns
// false only when memory runs out.
bool AppendEdge(CKpElemEdgeNode* a, CKpElemEdgeNode* b, CKpElemEdgeStore* out,
                const CKpElemEdge* skip1, const CKpElemEdge* skip2, CKpElemEdge** added) {
    *added = nullptr;
    if (!a->IsNeighNode(b->id())) return true;
    const CKpElemEdge* edge = a->GetElemEdge(b->id());
    if (!edge || (skip1 && *edge == *skip1) || (skip2 && *edge == *skip2)) return true;
    CKpElemEdge* copy = new (std::nothrow) CKpElemEdge(*edge);
    if (!copy) return false;
    copy->SetEdgeDirn(a->id(), b->id());
    out->InsertLast(copy);
    *added = copy;
    return true;
}

}  // namespace

CKpElemEdgeNodeList::CKpElemEdgeNodeList() = default;

CKpElemEdgeNodeList::~CKpElemEdgeNodeList() = default;

int CKpElemEdgeNodeList::CreateOrderedElemEdges(CKpElemEdgeStore* out) {
    if (!out) return -1;
    const CKpElemEdge* first = nullptr;  // the first and last edges this call appended
    const CKpElemEdge* last = nullptr;
    CKpElemEdge* added = nullptr;
    for (CKpElemEdgeNode* a = First(); a && Next(a); a = Next(a)) {
        if (!AppendEdge(a, Next(a), out, last, nullptr, &added)) return -1;
        if (!added) continue;
        if (!first) first = added;
        last = added;
    }

    // A closed chain: the walk stopped one edge short of its start.
    CKpElemEdgeNode* head = First();
    CKpElemEdgeNode* tail = Last();
    if (entries() >= 3 && head->GetNumNeighNodes() == 2 && tail->GetNumNeighNodes() == 2)
        if (!AppendEdge(tail, head, out, last, first, &added)) return -1;
    return 0;
}
