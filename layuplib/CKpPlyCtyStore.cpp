#include "layuplib/CKpPlyCtyStore.h"

#include <initializer_list>
#include <new>

#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpMsg.h"

CKpPlyCtyStore::~CKpPlyCtyStore() {
    eraseAllObjects();
}

int CKpPlyCtyStore::SetCommonGplyId(CKpMsg* log, CKpLam* lamA, CKpLam* lamB, int direction) {
    if (!lamA || !lamB) {
        if (log) log->Create(2, "Null laminates passed to CKpPlyCtyStore::SetCommonGplyId().");
        return -1;
    }
    for (CKpLam* lam : {lamA, lamB}) {
        // Checked silently: the laminate's own warning would say the ids are
        // ignored, which is not what happens here.
        const int ok = lam->GPlyIdsOK(nullptr);
        if (ok < 0) return -1;
        if (ok != 1) {
            if (log)
                log->Create(2, "Laminate '%s' does not have uniquely defined global ply ids.",
                            lam->name());
            return -1;
        }
    }
    if (direction == 0) {
        if (log) log->Create(2, "Zero direction flag passed to CKpPlyCtyStore::SetCommonGplyId().");
        return -1;
    }

    const CKpLamLyrStore* la = lamA->LamLyrs();
    const CKpLamLyrStore* lb = lamB->LamLyrs();
    // The cursor: the lowest layer of lamA above the last common layer found;
    // null once that layer was lamA's top.
    const CKpLamLyr* a = la->First();
    for (const CKpLamLyr* b = direction > 0 ? lb->First() : lb->Last(); b;
         b = direction > 0 ? lb->Next(b) : lb->Prev(b)) {
        const int id = b->gplyid();
        const CKpLamLyr* hit = a;
        while (hit && hit->gplyid() != id) hit = la->Next(hit);
        if (hit) {
            CKpPlyCty* common = new (std::nothrow) CKpPlyCty(id);
            if (!common) return -1;
            InsertLast(common);
            a = la->Next(hit);
            continue;
        }
        // Below the cursor the id would stack in the other order.
        for (const CKpLamLyr* p = a ? la->Prev(a) : la->Last(); p; p = la->Prev(p)) {
            if (p->gplyid() != id) continue;
            if (log)
                log->Create(2, "GPlyIds %d crossed over between laminates '%s' and '%s'.", id,
                            lamA->name(), lamB->name());
            return -1;
        }
    }
    return 0;
}

int CKpPlyCtyStore::GetMaxDropoff(CKpMsg* log, CKpLam* lam, int& maxCount, double& maxThickness) {
    maxCount = 0;
    maxThickness = 0.0;
    if (!lam) {
        if (log) log->Create(2, "Null laminate passed to CKpPlyCtyStore::GetMaxDropoff().");
        return -1;
    }
    const CKpLamLyrStore* layers = lam->LamLyrs();
    if (!layers) return 0;
    const CKpLamLyr* cursor = layers->First();
    for (const CKpPlyCty* c = First(); c && cursor; c = Next(c)) {
        int count = 0;
        double thickness = 0.0;
        const CKpLamLyr* p = cursor;
        for (; p && p->gplyid() != c->gplyid(); p = layers->Next(p)) {
            ++count;
            thickness += p->t();
        }
        if (count > 0) {
            if (count > maxCount) maxCount = count;
            if (thickness > maxThickness) maxThickness = thickness;
        }
        if (!p) break;  // the run reached the top of the laminate
        cursor = layers->Next(p);
    }
    return 0;
}
