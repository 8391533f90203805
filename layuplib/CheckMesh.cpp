#include "layuplib/CheckMesh.h"

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/geom_util.h"

namespace {

// Same id, geometry type, kind and node count.
bool sameKind(const CKpElem* a, const CKpElem* b) {
    return a->id() == b->id() && a->getgmtp() == b->getgmtp() && a->geteltp() == b->geteltp() &&
           a->getnnod() == b->getnnod();
}

}  // namespace

int CheckMesh(CKpMsg* msg, CKpNodeStore* layupNodes, CKpElemStore* layupElems,
              CKpNodeStore* dbNodes, CKpElemStore* dbElems, double tolerance) {
    if (!layupNodes || !layupElems || !dbNodes || !dbElems) return 1;

    // 1.
    const int numElems = layupElems->entries();
    if (numElems != dbElems->entries()) {
        if (msg)
            msg->Create(1, "Element number mismatch: Layup %6d database %6d", numElems,
                        dbElems->entries());
        return 1;
    }

    // 2.
    const int numNodes =
        layupNodes->entries() < dbNodes->entries() ? layupNodes->entries() : dbNodes->entries();
    for (int i = 0; i < numNodes; ++i) {
        const CKpNode* a = (*layupNodes)[i];
        const CKpNode* b = (*dbNodes)[i];
        if (!a || !b) break;
        if (a->id() == b->id() && nearby(a->getCKpPoint(), b->getCKpPoint(), tolerance)) continue;
        if (msg)
            msg->Create(1,
                        "Node position mismatch for tolerance %16g:\n Layup    id %6d xyz %16g "
                        "%16g %16g\n database id %6d xyz %16g %16g %16g",
                        tolerance, a->id(), a->getCKpPointX(), a->getCKpPointY(), a->getCKpPointZ(),
                        b->id(), b->getCKpPointX(), b->getCKpPointY(), b->getCKpPointZ());
        return 1;
    }

    // 3.
    for (int i = 0; i < numElems; ++i) {
        const CKpElem* a = (*layupElems)[i];
        const CKpElem* b = (*dbElems)[i];
        if (!a || !b) break;
        if (!sameKind(a, b)) {
            if (msg) {
                msg->Create(1, "Element type mismatch: Layup id   %6d database id   %6d", a->id(),
                            b->id());
                msg->Create(1, "Element type mismatch: Layup gmtp %6d database gmtp %6d",
                            a->getgmtp(), b->getgmtp());
                msg->Create(1, "Element type mismatch: Layup eltp %6d database eltp %6d",
                            a->geteltp(), b->geteltp());
                msg->Create(1, "Element type mismatch: Layup nnod %6d database nnod %6d",
                            a->getnnod(), b->getnnod());
            }
            return 1;
        }
        for (int k = 0; k < a->getnnod(); ++k) {
            if (a->getunid(k) == b->getunid(k)) continue;
            if (msg) {
                msg->Create(1, "Element connectivity mismatch: Layup id   %6d database id   %6d",
                            a->id(), b->id());
                msg->Create(1,
                            "Element connectivity mismatch: Layup nid  %6d database nid  %6d on "
                            "nd %1d",
                            a->getunid(k), b->getunid(k), k + 1);
            }
            return 1;
        }
    }

    // 4.
    return 0;
}
