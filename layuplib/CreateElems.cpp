#include "layuplib/CreateElems.h"

#include <climits>
#include <new>
#include <vector>

#include "layuplib/CKpBdyNodeStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"

namespace {

// The elements one filling call has made, so that a failure part-way can
// take them out again and leave the store as it was.
class MadeElems {
  public:
    explicit MadeElems(CKpElemStore* elems) : m_elems(elems) {}

    // CreateTria3Elem, remembering the id it gave.
    bool Make(CKpNode* a, CKpNode* b, CKpNode* c) {
        if (m_elems->maxId() == INT_MAX) return false;
        const int id = m_elems->maxId() + 1;
        if (CreateTria3Elem(m_elems, a, b, c) != 0) return false;
        try {
            m_ids.push_back(id);
        } catch (const std::bad_alloc&) {
            m_elems->eraseObject(m_elems->find(id));
            return false;
        }
        return true;
    }

    void Undo() {
        for (int id : m_ids) m_elems->eraseObject(m_elems->find(id));
        m_ids.clear();
    }

  private:
    CKpElemStore* m_elems;
    std::vector<int> m_ids;
};

}  // namespace

int CreateTria3Elem(CKpElemStore* elems, CKpNode* a, CKpNode* b, CKpNode* c) {
    if (!elems || !a || !b || !c) return -1;
    if (elems->maxId() == INT_MAX) return -1;  // no id left above the highest
    CKpElem* elem = elems->NewElem(elems->maxId() + 1, 11);
    if (!elem || elem->getnnod() != 3) {
        delete elem;
        return -1;
    }
    elem->seteltp(1);
    CKpNode* nodes[3] = {a, b, c};
    for (int i = 0; i < 3; ++i) {
        elem->setunid(i, nodes[i]->id());
        elem->setckpnodes(i, nodes[i]);
    }
    if (elems->insert(elem) != 0) {  // the store could not grow
        delete elem;
        return -1;
    }
    return 0;
}

int CKpBdyNodeStore::CreateElems(CKpNodeStore*, CKpElemStore* elems) {
    if (!elems || entries() < 3 || NumVertices() > 3) return -1;
    MadeElems made(elems);

    CKpBdyNode* k = First();
    while (entries() >= 4) {
        CKpBdyNode* n = NextLoop(k);
        if (n->Vertex()) {
            k = n;
            continue;
        }
        CKpBdyNode* p = PrevLoop(k);
        if (!made.Make(k->getNode(), n->getNode(), p->getNode())) {
            made.Undo();
            return -1;
        }
        Delete(k);
        delete k;
        k = NextLoop(p);
    }
    if (!made.Make(k->getNode(), NextLoop(k)->getNode(), PrevLoop(k)->getNode())) {
        made.Undo();
        return -1;
    }
    return 0;
}

int CKpBdyNodeStore::CreateElemsMidpt(CKpNodeStore* nodes, CKpElemStore* elems) {
    if (!nodes || !elems) return -1;

    // 1. The centre: the mean of the corners.
    double sum[3] = {0.0, 0.0, 0.0};
    int corners = 0;
    for (const CKpBdyNode* item = First(); item; item = Next(item)) {
        if (!item->Vertex() || !item->getNode()) continue;
        sum[0] += item->getNode()->getCKpPointX();
        sum[1] += item->getNode()->getCKpPointY();
        sum[2] += item->getNode()->getCKpPointZ();
        ++corners;
    }
    if (corners > 0)
        for (double& v : sum) v /= corners;

    // 2. The centre node.
    if (nodes->maxId() == INT_MAX) return -1;  // no id left above the highest
    CKpNode* centre = nodes->NewNode(nodes->maxId() + 1);
    if (!centre) return -1;
    centre->setCKpPoint(sum[0], sum[1], sum[2]);
    centre->setIncompleteFlag(0);
    if (nodes->insert(centre) != 0) {
        delete centre;
        return -1;
    }

    // 3. The fan.
    if (entries() < 4) return 0;
    MadeElems made(elems);
    for (CKpBdyNode* k = First(); k; k = Next(k)) {
        if (!made.Make(k->getNode(), NextLoop(k)->getNode(), centre)) {
            made.Undo();
            return -1;
        }
    }
    return 0;
}
