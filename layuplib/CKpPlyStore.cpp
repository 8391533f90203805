#include "layuplib/CKpPlyStore.h"

#include <climits>
#include <cstring>
#include <new>

#include "layuplib/CKpLayup.h"
#include "layuplib/CKpLypPlyStore.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPatStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

namespace {

bool sameText(const char* a, const char* b) {
    return std::strcmp(a ? a : "", b ? b : "") == 0;
}

// Empties the model's drape workspace when it holds `ply` or `pat`, which
// are about to be deleted. The store-owned objects are marked as stored
// first, so that the workspace never deletes them itself.
void releaseFromWorkspace(CKpLayup* model, const CKpPly* ply, const CKpPat* pat) {
    if (!model) return;
    CKpDrapeSim* ws = model->pDrapeSim();
    const bool holdsPly = ply && ws->pPly() == ply;
    const bool holdsPat = pat && ws->pPat() == pat;
    if (!holdsPly && !holdsPat) return;
    if (holdsPly) ws->plyStored(1);
    if (holdsPat) ws->patStored(1);
    ws->reinit();
}

// The first layup ply that refers to `ply` (linked to it, or of its type and
// id); null when none.
CKpLypPly* layupPlyOf(CKpLypPlyStore* lypPlys, const CKpPly* ply) {
    if (!lypPlys) return nullptr;
    CVekObjectStoreIterator<CKpLypPly> it(*lypPlys);
    while (++it) {
        CKpLypPly* lp = it.key();
        if (lp && (lp->pPly() == ply || (lp->lyrtp() == ply->lyrtp() && lp->lyrid() == ply->id())))
            return lp;
    }
    return nullptr;
}

// The first ply of `plys` other than `except` that uses pattern `pat` (by
// link or by id); null when none.
CKpPly* otherUserOf(CKpPlyStore* plys, const CKpPat* pat, const CKpPly* except) {
    CVekObjectStoreIterator<CKpPly> it(*plys);
    while (++it) {
        CKpPly* q = it.key();
        if (q && q != except && (q->pPat() == pat || q->pttrnid() == pat->id())) return q;
    }
    return nullptr;
}

}  // namespace

CKpPlyStore::CKpPlyStore(CKpLayup* layup) : CVekObjectStore<CKpPly>(64), m_layup(layup) {}

CKpPlyStore::~CKpPlyStore() {
    eraseAllObjects();
}

int CKpPlyStore::insert(CKpPly* ply) {
    if (!ply) return -1;
    ply->SetPlyStore(this);
    return CVekObjectStore<CKpPly>::insert(ply);
}

IVekPly* CKpPlyStore::New() {
    if (!m_layup || !m_layup->pPats()) return nullptr;
    CKpPatStore* pats = m_layup->pPats();
    if (pats->maxId() == INT_MAX || maxId() == INT_MAX) return nullptr;  // no id left
    CKpPat* pat = new (std::nothrow) CKpPat(pats->maxId() + 1);
    if (!pat) return nullptr;
    if (pats->insert(pat) != 0) {  // the store could not grow
        delete pat;
        return nullptr;
    }
    CKpPly* ply = new (std::nothrow) CKpPly(maxId() + 1);
    if (ply) {
        ply->setPat(pat);
        if (insert(ply) == 0) return ply;
        delete ply;
    }
    pats->eraseObject(pat);
    return nullptr;
}

int CKpPlyStore::Delete(IVekPly* ply) {
    return Delete(dynamic_cast<CKpPly*>(ply));
}

int CKpPlyStore::Delete(CKpPly* ply) {
    if (!ply || !m_layup) return -1;
    if (find(ply->id()) != ply) return -1;  // not one of ours: another owner deletes it
    CKpMsg* log = m_layup->pMsg();
    if (layupPlyOf(&m_layup->pLyp()->LypPlys(), ply)) {
        log->Create(4, "Ply '%s' referenced by layup and cannot be deleted.", ply->name());
        return -1;
    }
    // Read what the pattern lookup needs before the ply goes.
    const int patId = ply->pttrnid();
    releaseFromWorkspace(m_layup, ply, ply->pPat());
    eraseObject(ply);

    CKpPatStore* pats = m_layup->pPats();
    CKpPat* pat = pats ? pats->find(patId) : nullptr;
    if (!pat) return 0;
    if (CKpPly* other = otherUserOf(this, pat, nullptr)) {
        log->Create(2, "Pattern '%s' referenced by ply '%s' and cannot be deleted.", pat->pttrnnm(),
                    other->name());
        return -1;
    }
    releaseFromWorkspace(m_layup, nullptr, pat);
    pats->eraseObject(pat);
    return 0;
}

int CKpPlyStore::Replace(IVekPly* oldIface, IVekPly* newIface, const char* name) {
    CKpPly* oldPly = dynamic_cast<CKpPly*>(oldIface);
    CKpPly* newPly = dynamic_cast<CKpPly*>(newIface);
    if (!oldPly || !newPly || oldPly == newPly || !m_layup) return -1;
    if (find(oldPly->id()) != oldPly || find(newPly->id()) != newPly) return -1;

    // The old ply's ids are read now: the ply is deleted below.
    const int oldId = oldPly->id();
    const int oldPatId = oldPly->pttrnid();

    // 1. Layup plies of the old ply now place the new one.
    int relinked = 0;
    CVekObjectStoreIterator<CKpLypPly> it(m_layup->pLyp()->LypPlys());
    while (++it) {
        CKpLypPly* lp = it.key();
        if (lp && (lp->pPly() == oldPly || lp->lyrid() == oldId)) {
            lp->setPly(newPly);
            ++relinked;
        }
    }

    // 2. Events: the old ply's history, then the replacement itself.
    int rc = 0;
    for (int k = 0; k < oldPly->Events().Count(); ++k)
        if (newPly->AddEvent(oldPly->Events()[k]->type()) != 0) rc = -1;
    if (newPly->AddEvent(2) != 0) rc = -1;

    // 3. The old ply (and its pattern unless still used) goes; the new ply
    // takes its name and ids.
    if (rc == 0 && Delete(oldPly) != 0) rc = -1;
    if (rc == 0 && name && *name && newPly->SetName(name) != 0) rc = -1;
    if (rc == 0 && updateId(newPly, oldId) != 0) rc = -1;
    if (rc == 0) {
        CKpPatStore* pats = m_layup->pPats();
        CKpPat* newPat = newPly->pPat();
        if (newPat && newPat->id() != oldPatId && (!pats || pats->updateId(newPat, oldPatId) != 0))
            rc = -1;
    }

    // 4. The element stacks still point at the old ply's ply elements:
    // rebuild them whenever a layup ply was re-pointed, on failure too.
    if (relinked > 0)
        m_layup->LayupRecreate(m_layup->pMsg(), m_layup->pElems(), this, m_layup->pLyp());
    return rc;
}

int CKpPlyStore::Count() {
    return entries();
}

IVekPly* CKpPlyStore::Get(const char* name) {
    return findByName(name);
}

IVekPly* CKpPlyStore::Get(int index) {
    return (*this)[index];
}

CKpPly* CKpPlyStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpPly> it(*this);
    while (++it)
        if (it.key() && sameText(it.key()->name(), name)) return it.key();
    return nullptr;
}

int CKpPlyStore::GetReferencesOfMaterial(int materialId) {
    int count = 0;
    CVekObjectStoreIterator<CKpPly> it(*this);
    while (++it)
        if (it.key() && it.key()->mtrlid() == materialId) ++count;
    return count;
}

int CKpPlyStore::ConvertPaintedToProjected() {
    int count = 0;
    CVekObjectStoreIterator<CKpPly> it(*this);
    while (++it)
        if (it.key() && it.key()->ConvertPaintedToProjected() == 0) ++count;
    if (count >= 1 && m_layup)
        m_layup->pMsg()->Create(
            1, "%d plies have been converted from 'Painted' to 'Projected' type.", count);
    return count;
}

int DeleteLayer(CKpMsg* log, CKpLypPlyStore* lypPlys, CKpPlyStore* plys, CKpPatStore* pats,
                const char* name) {
    if (!plys || !name) return -1;
    CKpPly* ply = plys->findByName(name);
    if (!ply) {
        if (log) log->Create(4, "Could not find specified layer.");
        return -1;
    }
    if (layupPlyOf(lypPlys, ply)) {
        if (log) log->Create(4, "Layer already used in layup.");
        return -1;
    }
    CKpPat* pat = pats ? pats->find(ply->pttrnid()) : nullptr;
    releaseFromWorkspace(plys->GetLayup(), ply, ply->pPat());
    plys->eraseObject(ply);
    if (!pat) return 0;
    if (otherUserOf(plys, pat, nullptr)) {
        if (log) log->Create(2, "Pattern used by another layer.");
        return -1;
    }
    releaseFromWorkspace(plys->GetLayup(), nullptr, pat);
    pats->eraseObject(pat);
    return 0;
}

int DeleteMaterial(CKpMsg* log, CKpPlyStore* plys, CKpMatStore* mats, const char* name) {
    if (!plys || !mats || !name) return 0;
    CKpMat* mat = nullptr;
    CVekObjectStoreIterator<CKpMat> it(*mats);
    while (++it)
        if (it.key() && sameText(it.key()->mtrlnm(), name)) {
            mat = it.key();
            break;
        }
    if (!mat) {
        if (log) log->Create(4, "Could not find specified material.");
        return 0;
    }
    CVekObjectStoreIterator<CKpPly> pit(*plys);
    while (++pit)
        if (pit.key() && (pit.key()->pMat() == mat || pit.key()->mtrlid() == mat->id())) {
            if (log) log->Create(4, "Material already used in layer.");
            return 0;
        }
    mats->eraseObject(mat);
    return 1;
}
