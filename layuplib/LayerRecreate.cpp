#include "layuplib/LayerRecreate.h"

#include <new>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// Whether some element of the model carries a ply stack, which could point
// at ply elements that are about to be rebuilt or deleted.
bool AnyPlyStack(CKpLayup* model) {
    if (!model) return false;
    CVekObjectStoreIterator<CKpElem> it(*model->pElems());
    while (++it) {
        const CKpElemLypPlyStore* stack = it.key()->getElemLypPlies();
        if (stack && stack->entries() > 0) return true;
    }
    return false;
}

// Unlinks the layup plies of the store's model that point at `ply`.
void UnlinkFromLayup(CKpPlyStore* plys, CKpPly* ply) {
    CKpLayup* model = plys->GetLayup();
    if (!model) return;
    CVekObjectStoreIterator<CKpLypPly> it(model->pLyp()->LypPlys());
    while (++it)
        if (it.key()->pPly() == ply) it.key()->setPly(nullptr);
}

}  // namespace

int LayerRecreate(CKpMsg* msg, CKpMatStore* mats, CKpPatStore* pats, CKpPlyStore* plys) {
    if (!mats || !pats || !plys) return 0;

    // The plies are listed first: deleting from the store while walking it
    // would skip the ply after each deleted one.
    std::vector<CKpPly*> plies;
    try {
        plies.reserve(static_cast<size_t>(plys->entries()));
        CVekObjectStoreIterator<CKpPly> it(*plys);
        while (++it) plies.push_back(it.key());
    } catch (const std::bad_alloc&) {
        if (msg) msg->Create(4, "Could not allocate memory.");
        return 0;
    }

    CKpLayup* model = plys->GetLayup();
    const bool stacked = AnyPlyStack(model);
    for (CKpPly* ply : plies) {
        CKpMat* mat = mats->find(ply->mtrlid());
        CKpPat* pat = mat ? pats->find(ply->pttrnid()) : nullptr;
        if (mat && pat) {
            // A placed ply that is rebuilt places the whole layup again; here
            // the layup is placed once at the end instead of once per ply,
            // so the ply is rebuilt without its way to the model.
            ply->SetPlyStore(nullptr);
            ply->ModifyAndUpdate(ply->name(), ply->lyrtp(), mat, pat);
            ply->SetPlyStore(plys);
            continue;
        }
        if (msg) {
            if (!mat)
                msg->Create(4,
                            "Could not find material id %d referenced by ply '%s'. Ply will be "
                            "deleted.",
                            ply->mtrlid(), ply->name());
            else
                msg->Create(4,
                            "Could not find pattern id %d referenced by ply '%s'. Ply will be "
                            "deleted.",
                            ply->pttrnid(), ply->name());
        }
        UnlinkFromLayup(plys, ply);
        plys->erase(ply);
        delete ply;
    }
    // Element stacks may point at ply elements just replaced or deleted.
    if (stacked) model->LayupRecreate(msg, model->pElems(), plys, model->pLyp());
    return 0;
}
