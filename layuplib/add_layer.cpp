#include "layuplib/add_layer.h"

#include <climits>
#include <new>
#include <string>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

// Elements noted as carrying plies on both sides; the warning lists nine.
constexpr int kMaxNoted = 10;
constexpr int kMaxListed = 9;

const char* text(const char* s) {
    return s ? s : "";
}

}  // namespace

int add_layer(CKpMsg* log, CKpPlyStore* plyStore, const char* plyName, int side, double angleOffset,
              double thicknessOverride, int globalPlyId, CKpLypPlyStore* layupPlyStore,
              const char* plyGroup, const char* sequence) {
    if (!plyStore || !layupPlyStore) return -1;

    // 1. The ply.
    CKpPly* ply = plyStore->findByName(text(plyName));
    if (!ply) {
        if (log) log->Create(4, "Could not find ply '%s'", text(plyName));
        return -1;
    }

    // 2. The layup ply; the ply counts the instance once it exists. No id
    // left above the highest is refused as a layup ply that cannot be made.
    const int id = layupPlyStore->maxId() < INT_MAX ? layupPlyStore->maxId() + 1 : 0;
    CKpLypPly* lp = id > 0 ? new (std::nothrow) CKpLypPly(id) : nullptr;
    std::string defaultName;
    try {
        defaultName = "gl" + std::to_string(id);
    } catch (...) {
        delete lp;
        lp = nullptr;
    }
    if (!lp) {
        if (log) log->Create(4, "Could not allocate memory.");
        return -1;
    }
    lp->setDefaultName(defaultName.c_str());
    lp->setPly(ply);
    lp->setInstance(ply->instances() + 1);
    lp->setSide(side);
    lp->setAngleOffset(angleOffset);
    lp->setThicknessOverride(thicknessOverride);
    lp->setGplyid(globalPlyId);
    if (layupPlyStore->insert(lp) != 0) {  // the store could not grow
        delete lp;
        if (log) log->Create(4, "Could not allocate memory.");
        return -1;
    }
    ply->setInstances(lp->instance());
    lp->setPlyGroup(text(plyGroup));
    lp->setSequence(text(sequence));

    // 3. One entry per covered element.
    int noted[kMaxNoted];
    int numNoted = 0;
    for (CKpPlyElem* pe = ply->PlyElems().First(); pe; pe = ply->PlyElems().Next(pe)) {
        CKpElem* elem = pe->pelem();
        if (!elem) continue;  // pattern element not linked to the mesh
        CKpElemLypPlyStore* stack = elem->getElemLypPlies();
        CKpElemLypPly* entry = stack ? new (std::nothrow) CKpElemLypPly(lp, pe) : nullptr;
        if (!entry) {
            if (log) log->Create(4, "Could not allocate memory.");
            return -1;
        }
        const int s = pe->GetSide() * side;
        switch (elem->getsidefg()) {
            case 0:
                if (s == 1) elem->setsidefg(1);
                if (s == -1) elem->setsidefg(2);
                break;
            case 1:
            case 2:
                if ((elem->getsidefg() == 1 && s == -1) || (elem->getsidefg() == 2 && s == 1)) {
                    elem->setsidefg(3);
                    if (numNoted < kMaxNoted) noted[numNoted++] = elem->id();
                }
                break;
            default:
                break;
        }
        if (s >= 1)
            stack->InsertLast(entry);
        else
            stack->InsertFirst(entry);
    }

    // 4. Plies on both sides of an element are worth a warning.
    if (numNoted > 0 && log) {
        try {
            std::string msg = "After adding ply ";
            msg += ply->name();
            msg += ", plies have been added to both sides of Elem:";
            for (int i = 0; i < numNoted && i < kMaxListed; ++i)
                msg += " " + std::to_string(noted[i]);
            msg += numNoted >= kMaxNoted ? "..." : ".";
            log->Create(2, "%s", msg.c_str());
        } catch (...) {
            log->Create(4, "Could not allocate memory.");
        }
    }
    return 0;
}

int CreateLayupPly(CKpLayup* model, const char* plyGroup, const char* sequence, int type,
                   const char* plyName, int side, double angleOffset, double thicknessOverride,
                   int globalPlyId) {
    if (!model) return -1;
    CKpMsg* log = model->pMsg();
    const char* name = text(plyName);

    CKpPly* ply = model->pPlys()->findByName(name);
    if (!ply) {
        log->Create(4, "Could not find ply '%s', so cannot add it to layup.", name);
        return -1;
    }
    CKpPat* pat = model->pPats()->find(ply->pttrnid());
    if (!pat) {
        log->Create(4, "Could not find pattern for ply '%s', so cannot add it to layup.", name);
        return -1;
    }
    if (pat->SimResult() != 0) {
        log->Create(4,
                    "Could not add ply '%s' to layup as the draping simulation was not sucessful.",
                    name);
        return -1;
    }
    if (add_layer(log, model->pPlys(), name, side, type == 1 ? 0.0 : angleOffset, thicknessOverride,
                  globalPlyId, &model->pLyp()->LypPlys(), plyGroup, sequence) != 0) {
        double eye[3], dirn[3];
        pat->GetEyePoint(eye);
        pat->GetEyeDirn(dirn);
        log->Create(1, " eye x: %16.8g y: %16.8g z:%16.8g dx: %16.8g dy: %16.8g dz:%16.8g", eye[0],
                    eye[1], eye[2], dirn[0], dirn[1], dirn[2]);
        log->Create(4, "Could not add ply '%s' to layup", name);
        return -1;
    }
    log->Create(1, "Ply '%s' added to layup", name);
    return 0;
}

int DeleteLayup(CKpElemStore* elements, CKpPlyStore* plies, CKpLyp* layup) {
    if (!elements || !plies || !layup) return -1;
    CVekObjectStoreIterator<CKpElem> ie(*elements);
    while (++ie) {
        CKpElem* elem = ie.key();
        elem->setsidefg(0);
        if (elem->getElemLypPlies()) elem->getElemLypPlies()->eraseAllObjects();
    }
    CVekObjectStoreIterator<CKpPly> ip(*plies);
    while (++ip) ip.key()->setInstances(0);
    layup->setId(0);
    layup->setName("");
    layup->LypPlys().eraseAllObjects();
    return 0;
}

int CheckPlyName(CKpLayup* model, const char* name) {
    if (!model || !name) return -1;
    if (model->pPlys()->findByName(name)) {
        model->pMsg()->Create(4, "Ply name '%s' already used.", name);
        return -1;
    }
    try {
        const std::string patternName = std::string(name) + "_pattern";
        if (model->pPats()->findByName(patternName.c_str())) {
            model->pMsg()->Create(4, "Pattern name '%s' already used.", patternName.c_str());
            return -1;
        }
    } catch (...) {
        model->pMsg()->Create(4, "Could not allocate memory.");
        return -1;
    }
    return 0;
}
