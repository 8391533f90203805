#include "layuplib/CKpResStore.h"

#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyr.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatAllowStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekAddinFailureLaminaUser.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/CreateResultsSort.h"
#include "layuplib/FailureRun.h"

CKpResStore::CKpResStore(CKpLayup* layup) : CVekObjectStore<CKpRes>(64), m_layup(layup) {}

CKpResStore::~CKpResStore() {
    eraseAllObjects();
}

IVekResult* CKpResStore::New() {
    const int top = maxId();
    if (top == INT_MAX) return nullptr;
    CKpRes* result = new (std::nothrow) CKpRes(top + 1);
    if (!result) return nullptr;
    const int before = entries();
    insert(result);
    if (entries() == before) {
        delete result;
        return nullptr;
    }
    return result;
}

int CKpResStore::Delete(IVekResult* result) {
    if (!result) return -1;
    // Only a result of this store may be destroyed here; the pointer is
    // compared, never trusted.
    CKpRes* held = nullptr;
    CVekObjectStoreIterator<CKpRes> it(*this);
    while (++it) {
        if (static_cast<IVekResult*>(it.key()) == result) {
            held = it.key();
            break;
        }
    }
    if (!held) return -1;
    eraseObject(held);
    return 0;
}

int CKpResStore::DeleteAll() {
    eraseAllObjects();
    return 0;
}

IVekResult* CKpResStore::Get(int index) {
    return (*this)[index];
}

IVekResult* CKpResStore::GetId(int id) {
    return find(id);
}

CKpRes* CKpResStore::findByName(const char* const names[5]) {
    if (!names) return nullptr;
    CVekObjectStoreIterator<CKpRes> it(*this);
    while (++it)
        if (it.key()->SameName(names)) return it.key();
    return nullptr;
}

int CKpResStore::CreateResultsFailureLamina(
    int nElems, const int* elemIds, const char* const names[5], IVekAddinFailureLamina* criterion,
    int perLayer, int worst, int criticalLayers, EBasis basis, int nMaterials,
    const char* const* materialNames, int nValues, const double* values, int nResults,
    const int* resultIndices, const char* description, const char* reportFile, int* ids) {
    if (!m_layup) return 1;
    CKpMsg* msg = m_layup->pMsg();
    if (!criterion) {
        msg->Create(2, "Invalid pointer to failure component.");
        return 2;
    }
    static const char* const none[5] = {"", "", "", "", ""};
    if (!names) names = none;
    char name[256] = "";
    criterion->GetName(name, sizeof name);
    if (std::strcmp(name, "User") == 0) {
        CVekAddinFailureLaminaUser* user = dynamic_cast<CVekAddinFailureLaminaUser*>(criterion);
        if (user) {
            user->SetNumAllowables(nValues);
            user->SetGUI(m_layup->pGUI());
        }
    }
    CKpMatAllowStore allowables;
    if (allowables.CreateMatAllows(m_layup, nElems, elemIds, criterion, basis, nMaterials,
                                   materialNames, nValues, values) != 0)
        return 3;
    if (m_layup->RestoreAndSelectArea(nElems, elemIds) != 0) return 4;
    if (CreateResultsFailure(msg, m_layup, names, criterion, perLayer, worst, criticalLayers, basis,
                             &allowables, nResults, resultIndices, description, reportFile,
                             ids) != 0)
        return 5;
    return 0;
}

int CKpResStore::CreateFromLaminateLayers(CKpMsg* msg, CKpElemStore* elements,
                                          CKpLamStore* laminates, int useGlobalPlyIds) {
    if (!elements || !laminates) return 1;
    CVekObjectStoreIterator<CKpElem> it(*elements);
    while (++it) {
        const CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        CKpLam* lam = laminates->find(e->pid());
        if (!lam) continue;
        if (useGlobalPlyIds && lam->GPlyIdsOK(msg) != 1) {
            if (msg) msg->Create(4, "Laminate '%s' has invalid global ply ids.", lam->name());
            return 1;
        }
        int p = 0;
        for (CKpLamLyr* lyr = lam->LamLyrs()->First(); lyr; lyr = lam->LamLyrs()->Next(lyr)) {
            ++p;
            const int n = useGlobalPlyIds ? lyr->gplyid() : p;
            CKpRes* res = find(n);
            if (!res) {
                res = new (std::nothrow) CKpRes(n);
                if (!res) {
                    if (msg) msg->Create(4, "Cannot allocate memory.");
                    return 2;
                }
                res->name(4, ("Layer " + std::to_string(n)).c_str());
                insert(res);
            }
            const float matId = static_cast<float>(lyr->GetExternalMaterialId());
            if (!res->FindOrCreateResElem(e->id(), 1, &matId, 0, nullptr)) {
                if (msg) msg->Create(4, "Cannot allocate memory.");
                return 3;
            }
        }
    }
    return 0;
}

int CKpResStore::CreateResultsSortLayup(const char* const names[5], const int* flags,
                                        const char* const* separators, int option, int* ids) {
    if (!m_layup) return 1;
    return CreateResultsSort2(0, m_layup->pMsg(), this, m_layup->pDB(), m_layup->pElems(),
                              m_layup->pLyp(), m_layup->pLams(), names, flags, separators, option,
                              ids) == 0
               ? 0
               : 1;
}

int CKpResStore::CreateResultsSortLaminate(const char* const names[5], int* ids) {
    if (!m_layup) return 1;
    return CreateResultsSort2(1, m_layup->pMsg(), this, m_layup->pDB(), m_layup->pElems(),
                              m_layup->pLyp(), m_layup->pLams(), names, nullptr, nullptr, 0,
                              ids) == 0
               ? 0
               : 1;
}
