#include <algorithm>
#include <string>
#include <vector>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/add_layer.h"

namespace {

// What a layup ply needs to be placed again.
struct SavedLypPly {
    bool plyExists;
    std::string plyName;
    int type;
    int side;
    double angleOffset;
    double thicknessOverride;
    int globalPlyId;
    std::string plyGroup;
    std::string sequence;
};

}  // namespace

int CKpLayup::LayupRecreate(CKpMsg* log, CKpElemStore* elements, CKpPlyStore* plies,
                            CKpLyp* layup) {
    if (!layup || !elements || !plies || layup != &m_lyp) return 1;
    if (layup->LypPlys().entries() == 0) return 0;
    if (!log) log = &m_msg;

    // 1. Copy the layup aside. A layup ply counts as linked only while its
    //    ply is still in the store: a ply deleted behind the layup's back
    //    must not be read through the stale link.
    std::string name;
    const int id = layup->id();
    std::vector<SavedLypPly> saved;
    try {
        name = layup->name();
        std::vector<const CKpPly*> live;
        live.reserve(static_cast<size_t>(plies->entries()));
        CVekObjectStoreIterator<CKpPly> ip(*plies);
        while (++ip) live.push_back(ip.key());
        std::sort(live.begin(), live.end());

        saved.reserve(static_cast<size_t>(layup->LypPlys().entries()));
        CVekObjectStoreIterator<CKpLypPly> il(layup->LypPlys());
        while (++il) {
            CKpLypPly* lp = il.key();
            const bool exists =
                lp->pPly() && std::binary_search(live.begin(), live.end(), lp->pPly());
            saved.push_back({exists, exists ? lp->pPly()->name() : "", exists ? lp->lyrtp() : 0,
                             lp->side(), lp->angleOffset(), lp->thicknessOverride(), lp->gplyid(),
                             lp->plyGroup(), lp->sequence()});
        }
    } catch (...) {
        log->Create(4, "Could not allocate memory.");
        return -1;
    }

    // 2. Empty the layup, keep its name and id.
    DeleteLayup(elements, plies, layup);
    layup->setName(name.c_str());
    layup->setId(id);

    // 3. Place again in the old order; ids and instances are given afresh.
    for (const SavedLypPly& s : saved) {
        if (!s.plyExists) {
            m_msg.Create(4, "Could not find ply '%s', so cannot add it to layup.", "");
            continue;
        }
        CreateLayupPly(s.plyGroup.c_str(), s.sequence.c_str(), s.type, s.plyName.c_str(), s.side,
                       s.angleOffset, s.thicknessOverride, s.globalPlyId);
    }
    return 0;
}
