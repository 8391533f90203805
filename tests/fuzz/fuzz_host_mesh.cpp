// The host's mesh as the library receives it: any stand-in database the
// fixture format can hold (any ids, topologies, node references) is read by
// CMorvek::getMesh without a crash; what it reads, written to an empty
// database and read again, is the same mesh.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/CMorvek.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "platform/MorvekStub.h"
#include "tests/fuzz/FuzzFile.h"

namespace {

std::string describe(CKpNodeStore& nodes, CKpElemStore& elems) {
    std::string s;
    for (int k = 0; k < nodes.entries(); ++k) {
        const CKpNode* n = nodes[k];
        char line[128];
        std::snprintf(line, sizeof line, "%d %a %a %a\n", n->id(), n->getCKpPointX(),
                      n->getCKpPointY(), n->getCKpPointZ());
        s += line;
    }
    for (int k = 0; k < elems.entries(); ++k) {
        const CKpElem* e = elems[k];
        s += std::to_string(e->id()) + "/" + std::to_string(e->getgmtp()) + ":";
        for (int i = 0; i < e->getnnod(); ++i) s += std::to_string(e->getunid(i)) + ",";
        s += "\n";
    }
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool tables = VekApiInit(&MorvekStubGetter) == 0;
    if (!tables) std::abort();
    FuzzFile file(data, size);
    if (!file.ok()) return 0;
    MorvekStubReset();
    if (MorvekStubLoadDatabase(file.path()) != 0) return 0;

    CMorvek db;
    CKpNodeStore nodes, nodes2;
    CKpElemStore elems, elems2;
    if (db.getMesh(nullptr, &nodes, &elems) == 0) {
        MorvekStubReset();
        db.putMesh(nullptr, &nodes, &elems);
        if (db.getMesh(nullptr, &nodes2, &elems2) != 0 ||
            describe(nodes, elems) != describe(nodes2, elems2))
            std::abort();
    }
    nodes.eraseAllObjects();
    elems.eraseAllObjects();
    nodes2.eraseAllObjects();
    elems2.eraseAllObjects();
    return 0;
}
