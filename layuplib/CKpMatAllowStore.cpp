#include "layuplib/CKpMatAllowStore.h"

#include <cstring>
#include <new>
#include <vector>

#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "layuplib/FailureRun.h"
#include "layuplib/IVekAddinFailureLamina.h"

CKpMatAllowStore::CKpMatAllowStore() : CVekObjectStore<CKpMatAllow>(64) {}

CKpMatAllowStore::~CKpMatAllowStore() {
    eraseAllObjects();
}

CKpMatAllow* CKpMatAllowStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpMatAllow> it(*this);
    while (++it)
        if (std::strcmp(it.key()->GetName(), name) == 0) return it.key();
    return nullptr;
}

int CKpMatAllowStore::CreateMatAllows(CKpLayup* layup, int nElems, const int* elemIds,
                                      IVekAddinFailureLamina* criterion, int basis, int nMaterials,
                                      const char* const* materialNames, int nValues,
                                      const double* values) {
    CKpMsg* msg = layup->pMsg();
    // 1. Materials to draw on.
    const int nMats = layup->pMats()->entries();
    if (nMats == 0) {
        msg->Create(4, "No materials in model.");
        return 1;
    }
    // 2. Those the elements' laminates use.
    std::vector<IVekMaterial*> mats(static_cast<size_t>(nMats), nullptr);
    int count = 0;
    if (layup->pLams()->GetReferencedMaterials(nElems, elemIds, nMats, count, mats.data()) != 0)
        count = 0;
    if (count == 0) {
        msg->Create(4, "Laminate references no materials.");
        return 2;
    }
    // 3. A record each, with the overrides by name.
    for (int m = 0; m < count; ++m) {
        CKpMat* mat = static_cast<CKpMat*>(mats[static_cast<size_t>(m)]);
        if (!mat || find(mat->id())) continue;
        CKpMatAllow* allow = new (std::nothrow) CKpMatAllow(mat->id());
        if (!allow) {
            msg->Create(4, "Cannot allocate memory");
            return 4;
        }
        allow->SetName(mat->GetName());
        allow->SetAllowables(basis, mat, criterion);
        insert(allow);
        for (int j = 0; j < nMaterials && materialNames; ++j) {
            if (!materialNames[j] || std::strcmp(materialNames[j], mat->GetName()) != 0) continue;
            if (values && nValues > 0)
                allow->SetAllowables(nValues, values + static_cast<size_t>(j) * nValues);
            break;
        }
    }
    // 4. The criterion checks every record.
    CVekObjectStoreIterator<CKpMatAllow> it(*this);
    while (++it) {
        CKpMatAllow* allow = it.key();
        criterion->Clear();
        int n = 0;
        if (criterion->GetNumAllowables(n) != 0 || n < 1) {
            msg->Create(4, "Failure criterion has no allowables.");
            return 3;
        }
        // The criterion takes its own count; positions never set are 0.
        std::vector<double> v(allow->GetAllowables());
        if (v.size() < static_cast<size_t>(n)) v.resize(static_cast<size_t>(n), 0.0);
        if (criterion->SetAllowables(n, v.data()) != 0) {
            msg->Create(4, "Cannot set allowables.");
            return 4;
        }
        if (criterion->CheckAllowables() != 0) {
            msg->Create(4, "Unacceptable allowables for material %s:", allow->GetName());
            TransferMsg(msg, criterion);
            return 5;
        }
    }
    return 0;
}
