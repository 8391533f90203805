#include "layuplib/node_reref.h"

#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

int node_reref(CKpMsg* msg, CKpNodeStore* nodes, CKpElemStore* elems) {
    if (!nodes || !elems) return -1;
    // Elements are deleted after the walk: the messages and the surviving
    // links are those of a walk that restarts after every deletion, without
    // its quadratic cost.
    std::vector<CKpElem*> broken;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* e = it.key();
        bool missing = false;
        const int n = e->getnnod();
        for (int i = 0; i < n; ++i) {
            CKpNode* node = nodes->find(e->getunid(i));
            e->setckpnodes(i, node);
            if (node) continue;
            missing = true;
            if (msg)
                msg->Create(2, "Missing node %d id %d on element id %d.", i + 1, e->getunid(i),
                            e->id());
        }
        if (!missing) continue;
        if (msg) msg->Create(2, "Deleting element id %d.", e->id());
        try {
            broken.push_back(e);
        } catch (...) {
            // Without room to remember it, unlink its nodes at least: the
            // element then fails every geometric operation cleanly.
            for (int i = 0; i < n; ++i) e->setckpnodes(i, nullptr);
        }
    }
    for (CKpElem* e : broken) elems->eraseObject(e);
    return 1;
}

int elem_reref(CKpMsg* msg, CKpElemStore* elems, CKpPatStore* patterns) {
    if (!elems || !patterns) return -1;
    const int maxId = elems->maxId();
    CVekObjectStoreIterator<CKpPat> it(*patterns);
    while (++it) {
        CKpPat* pat = it.key();
        CKpPatElemStore* list = pat->PatElems();
        if (!list) continue;
        CKpPatElem* pe = list->First();
        while (pe) {
            const int id = pe->elemId();
            CKpElem* e = (id >= 1 && id <= maxId) ? elems->find(id) : nullptr;
            if (e) {
                pe->setPelem(e);
                pe = list->Next(pe);
                continue;
            }
            if (msg)
                msg->Create(2,
                            "Element %d referenced by pattern %s does not exist, deleting the "
                            "pattern element data.",
                            id, pat->pttrnnm());
            CKpPatElem* next = list->Delete(pe);
            delete pe;
            pe = next;
        }
    }
    return 0;
}
