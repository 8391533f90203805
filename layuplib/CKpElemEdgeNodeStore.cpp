#include "layuplib/CKpElemEdgeNodeStore.h"

#include "layuplib/CKpElemEdgeNodeList.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpElemEdgeNodeStore::CKpElemEdgeNodeStore() : CVekObjectStore<CKpElemEdgeNode>(64) {}

CKpElemEdgeNodeStore::~CKpElemEdgeNodeStore() {
    eraseAllObjects();
}

int CKpElemEdgeNodeStore::AddElemEdges(const CKpElemEdgeStore* edges) {
    if (!edges) return 0;
    for (const CKpElemEdge* edge = edges->First(); edge; edge = edges->Next(edge)) {
        int n = 0, ids[3] = {0, 0, 0};
        edge->GetNodes(&n, ids);
        for (int i = 0; i < n; ++i) {
            CKpElemEdgeNode* node = findOrCreate(ids[i]);
            if (!node || node->AddElemEdge(edge) != 0) return -1;
        }
    }
    return 0;
}

int CKpElemEdgeNodeStore::CheckNeighNodes(CKpMsg* msg) {
    int ends = 0;
    bool branch = false;
    CVekObjectStoreIterator<CKpElemEdgeNode> it(*this);
    while (++it) {
        CKpElemEdgeNode* node = it.key();
        const int count = node->GetNumNeighNodes();
        if (count < 2) {
            ++ends;
            if (msg) msg->Create(1, "Node %d has %d neighbours", node->id(), count);
        } else if (count > 2) {
            branch = true;
            if (msg) {
                msg->Create(4, "Node %d has %d neighbours, only 2 are allowed.", node->id(), count);
                for (int i = 0; i < count; ++i) msg->Create(4, " %d", node->GetNeighNode(i));
            }
        }
    }
    if (ends >= 3) {
        if (msg) msg->Create(4, "There are %d end nodes, only 2 are allowed.", ends);
        return -1;
    }
    return branch ? -1 : 0;
}

int CKpElemEdgeNodeStore::CreateEdgeLine(CKpElemEdgeNodeList* list) {
    if (!list) return -1;
    if (entries() == 0) return 0;
    CKpElemEdgeNode* lowest = (*this)[0];
    // Every step visits another node of the chain, so no walk of a sound
    // graph takes more steps than there are nodes; the bound only guards
    // the loops.
    const int maxSteps = entries();

    // 1. The start.
    CKpElemEdgeNode* start = lowest;
    if (lowest->GetNumNeighNodes() > 1) {
        int prevId = lowest->id();
        int nextId = lowest->GetNeighNode(0);
        for (int step = 0; step < maxSteps && nextId != lowest->id(); ++step) {
            CKpElemEdgeNode* node = find(nextId);
            if (!node) return -1;
            if (node->GetNumNeighNodes() != 2) {
                start = node;
                break;
            }
            const int after = node->GetNextNode(prevId);
            prevId = nextId;
            nextId = after;
        }
    }

    // 2. The walk from the start. A node already linked (the start, or any
    //    node met again through inconsistent links) ends it, so the list
    //    never links a node twice.
    list->InsertLast(start);
    if (start->GetNumNeighNodes() == 0) return 0;
    int prevId = start->id();
    int nextId = start->GetNeighNode(0);
    for (int step = 0; step < maxSteps; ++step) {
        CKpElemEdgeNode* node = find(nextId);
        if (!node) return -1;
        if (node == list->First() || node->Prev() || node->Next()) break;
        list->InsertLast(node);
        if (node->GetNumNeighNodes() != 2) break;
        const int after = node->GetNextNode(prevId);
        prevId = nextId;
        nextId = after;
    }
    return 0;
}
