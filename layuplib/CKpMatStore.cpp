#include "layuplib/CKpMatStore.h"

#include <climits>
#include <cstring>
#include <new>

#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPlyStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpMatStore::CKpMatStore(CKpLayup* layup) : CVekObjectStore<CKpMat>(64), m_layup(layup) {}

CKpMatStore::~CKpMatStore() {
    eraseAllObjects();
}

int CKpMatStore::insert(CKpMat* mat) {
    if (!mat) return -1;
    mat->SetMatStore(this);
    return CVekObjectStore<CKpMat>::insert(mat);
}

CKpMat* CKpMatStore::New(int id) {
    if (id >= 1) {
        if (find(id)) return nullptr;
    } else {
        const int largest = maxId();
        if (largest == INT_MAX) return nullptr;
        id = largest + 1;
    }
    CKpMat* mat = new (std::nothrow) CKpMat(id);
    if (!mat) return nullptr;
    if (insert(mat) != 0) {  // the store could not grow
        delete mat;
        return nullptr;
    }
    return mat;
}

int CKpMatStore::Delete(IVekMaterial* material) {
    if (!material) return -1;
    return Delete(static_cast<CKpMat*>(material));
}

bool CKpMatStore::holds(const CKpMat* mat) {
    if (!mat) return false;
    CVekObjectStoreIterator<CKpMat> it(*this);
    while (++it)
        if (it.key() == mat) return true;
    return false;
}

CKpMat* CKpMatStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpMat> it(*this);
    while (++it)
        if (std::strcmp(it.key()->mtrlnm(), name) == 0) return it.key();
    return nullptr;
}

int CKpMatStore::Delete(CKpMat* mat) {
    // A material of another store (or a stray pointer) must not be freed
    // here: its owner would delete it a second time.
    if (!holds(mat)) return 1;
    if (!m_layup) return 2;
    CKpPlyStore* plys = m_layup->pPlys();
    if (!plys) return 3;
    const int nPlys = plys->GetReferencesOfMaterial(mat->id());
    if (nPlys >= 1) {
        m_layup->pMsg()->Create(4, "Material '%s' is referenced by %d plies and cannot be deleted.",
                                mat->mtrlnm(), nPlys);
        return 4;
    }
    CKpLamStore* lams = m_layup->pLams();
    if (!lams) return 5;
    const int nLams = lams->GetReferencesOfMaterial(mat->id());
    if (nLams >= 1) {
        m_layup->pMsg()->Create(
            4, "Material '%s' is referenced by %d laminates and cannot be deleted.", mat->mtrlnm(),
            nLams);
        return 6;
    }
    eraseObject(mat);
    return 0;
}

int CKpMatStore::SetDirAuto() {
    CVekObjectStoreIterator<CKpMat> it(*this);
    while (++it) {
        it.key()->SetDirAuto();
        it.key()->SetDirAutoStates();
    }
    return 0;
}

int CKpMatStore::SetDefaultExternalNameAndId() {
    CVekObjectStoreIterator<CKpMat> it(*this);
    while (++it) {
        CKpMat* mat = it.key();
        if (mat->extmtrlnm()[0] == '\0') mat->setExtmtrlnm(mat->mtrlnm());
        if (mat->extmtrlid() < 1) mat->setExtmtrlid(mat->id());
    }
    return 0;
}

int CKpMatStore::ConvertPaintedToProjected() {
    int n = 0;
    CVekObjectStoreIterator<CKpMat> it(*this);
    while (++it)
        if (it.key()->ConvertPaintedToProjected() == 0) ++n;
    if (n >= 1 && m_layup)
        m_layup->pMsg()->Create(
            1, "%d materials have been converted from 'Painted' to 'Projected' type.", n);
    return n;
}
