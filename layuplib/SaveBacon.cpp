#include "layuplib/SaveBacon.h"

#include <unordered_map>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

std::vector<CKpLypPly*> lypPlyList(CKpLypPlyStore* lypPlys) {
    std::vector<CKpLypPly*> list;
    if (!lypPlys) return list;
    CVekObjectStoreIterator<CKpLypPly> it(*lypPlys);
    while (++it) list.push_back(it.key());
    return list;
}

void report(CKpMsg* msg, const char* text) {
    if (msg) msg->Create(4, "%s", text);
}

constexpr double kDeg = 57.29577951308232;

}  // namespace

int SaveBacon(CKpMsg* msg, CKpMatStore* mats, CKpPlyStore* plys, CKpLypPlyStore* lypPlys, FILE* out,
              int elemIdOffset) {
    const std::vector<CKpLypPly*> list = lypPlyList(lypPlys);
    std::fprintf(out, "! BACON data produced by Plystrand\n");

    if (!list.empty()) std::fprintf(out, ".PLI\n");
    for (CKpLypPly* lp : list) {
        CKpPly* ply = plys ? plys->findByName(lp->lyrnm()) : nullptr;
        if (!ply) {
            report(msg, "Could not find specified layer.");
            continue;
        }
        CKpMat* mat = mats ? mats->find(ply->mtrlid()) : nullptr;
        if (!mat) {
            report(msg, "Could not find specified material.");
            continue;
        }
        const double thck =
            lp->thicknessOverride() > 0.0 ? lp->thicknessOverride() : mat->mtrlthck();
        std::fprintf(out, "     I %d ANGLE %.3g T %.3g MAT %d\n", lp->id(),
                     lp->side() * lp->angleOffset() * kDeg, thck, mat->GetExternalId());
    }

    if (!list.empty()) std::fprintf(out, ".LAM");
    int type = 0, plyId = 0, group = 0;
    for (CKpLypPly* lp : list) {
        if (lp->lyrtp() == type && lp->lyrid() == plyId) {
            std::fprintf(out, " %d", lp->id());
        } else {
            type = lp->lyrtp();
            plyId = lp->lyrid();
            std::fprintf(out, "\n     LAM %d PLI %d", ++group, lp->id());
        }
    }
    std::fprintf(out, "\n");

    if (!list.empty()) std::fprintf(out, ".ETA\n");
    type = plyId = group = 0;
    for (CKpLypPly* lp : list) {
        if (lp->lyrtp() == type && lp->lyrid() == plyId) continue;
        type = lp->lyrtp();
        plyId = lp->lyrid();
        ++group;
        CKpPly* ply = plys ? plys->findByName(lp->lyrnm()) : nullptr;
        if (!ply) {
            report(msg, "Could not find specified layer.");
            continue;
        }
        for (CKpPlyElem* pe = ply->PlyElems().First(); pe; pe = ply->PlyElems().Next(pe)) {
            CKpElem* elem = pe->pelem();
            const int id = elem ? elem->id() : 0;
            // Widened: an offset near the int limits must not wrap the id.
            std::fprintf(out, "     I %lld LAM %d ANGLE %.3g DRAPE 0\n",
                         static_cast<long long>(id) + elemIdOffset,
                         group * pe->stdn() * pe->dnfg(), pe->rotn() * kDeg);
        }
    }
    return 1;
}

int SaveIndex(CKpElemStore* elems, CKpLypPlyStore* lypPlys, FILE* out) {
    struct Entry {
        int elemId, position, sign;
    };
    const std::vector<CKpLypPly*> list = lypPlyList(lypPlys);
    // One walk over the stacks gathers the entries of every layup ply.
    std::unordered_map<int, std::vector<Entry>> entries;
    for (CKpLypPly* lp : list) entries[lp->id()];
    int widestStack = 0;
    if (elems) {
        CVekObjectStoreIterator<CKpElem> it(*elems);
        while (++it) {
            const CKpElem* e = it.key();
            const CKpElemLypPlyStore* stack = e->getElemLypPlies();
            if (!stack) continue;
            if (stack->entries() > widestStack) widestStack = stack->entries();
            int k = 0;
            for (CKpElemLypPly* s = stack->First(); s; s = stack->Next(s)) {
                ++k;
                auto found = entries.find(s->getLypPlyId());
                if (found == entries.end()) continue;
                found->second.push_back({e->id(), k, s->dnfg()});
            }
        }
    }
    int mostEntries = 0;
    for (const auto& kv : entries)
        if (static_cast<int>(kv.second.size()) > mostEntries)
            mostEntries = static_cast<int>(kv.second.size());

    std::fprintf(out, "%6d\n", static_cast<int>(list.size()));
    std::fprintf(out, "%6d\n", mostEntries);
    std::fprintf(out, "%6d\n", widestStack);
    for (CKpLypPly* lp : list) {
        const std::vector<Entry>& own = entries[lp->id()];
        std::fprintf(out, "%6d %-73s\n", lp->id(), lp->GetPlyNameInstance());
        std::fprintf(out, "%6d\n", static_cast<int>(own.size()));
        for (const Entry& en : own)
            std::fprintf(out, "%6d %6d %2d\n", en.elemId, en.position, lp->stdn() * en.sign);
    }
    return 1;
}
