#include "layuplib/CKpOlnEdgeStore.h"

#include <initializer_list>
#include <new>

#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"

namespace {
bool straight(const CKpOln* e) {
    return dn_0_7(e->getLeaving() - e->getArriving()) == 4;
}
}  // namespace

int CKpOlnEdgeStore::Create(const CKpDrape* drape, CKpOln* outline) {
    eraseAllObjects();
    if (!outline) return -1;
    // 1. Back to a corner.
    CKpOln* first = outline;
    for (int back = 0; straight(first); ++back) {
        first = first->Prev();
        if (!first || first == outline || back > (1 << 26)) return -1;
    }
    // 2. The ring must close through the first corner, or the walk below
    //    would not end.
    int n = 0;
    for (const CKpOln* e = first;;) {
        e = e->Next();
        ++n;
        if (e == first) break;
        if (!e || n > (1 << 26)) return -1;
    }
    // 3. Corner to corner; each edge passes at least one entry.
    CKpOln* corner = first;
    for (int steps = 0; steps < n; ++steps) {
        CKpOln* end = corner->Next();
        while (end && end != first && straight(end)) end = end->Next();
        if (!end) break;
        CKpOlnEdge* edge = new (std::nothrow) CKpOlnEdge(corner, end, corner->getLeaving());
        CKpOlnEdge* spike = nullptr;
        if (edge && end->IsSpikeTip()) {
            spike = new (std::nothrow) CKpOlnEdge(end, end, dn_0_7(end->getLeaving() + 6));
            if (!spike) {
                delete edge;
                edge = nullptr;
            }
        }
        if (!edge) {
            eraseAllObjects();
            return -1;
        }
        for (CKpOlnEdge* e : {edge, spike}) {
            if (!e) continue;
            e->SetMaxStrain(drape);
            InsertLast(e);
        }
        if (end == first) return 0;
        corner = end;
    }
    eraseAllObjects();
    return -1;
}
