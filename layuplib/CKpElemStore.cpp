#include "layuplib/CKpElemStore.h"

#include <new>

#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpField.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpElemStore::CKpElemStore() : CKpAscendingStore<CKpElem>(64) {}

CKpElemStore::~CKpElemStore() = default;

void CKpElemStore::eraseAllObjects() {
    CKpElem::PoolHold hold;
    if (CKpElem::DeletePlain(m_sorted, m_sortedCount, m_pending, m_pendingCount)) {
        forgetAllObjects();
        return;
    }
    CVekObjectStore<CKpElem>::eraseAllObjects();
}

CKpElem* CKpElemStore::NewElem(int id, int gmtp) {
    return new (std::nothrow) CKpElem(id, gmtp);
}

int CKpElemStore::GetArea(CKpMsg*, double* area) {
    if (!area) return -1;
    *area = 0.0;
    double sum = 0.0;
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        double a = 0.0;
        const int status = it.key()->GetArea(&a);
        if (status != 0) return status;
        sum += a;
    }
    *area = sum;
    return 0;
}

double CKpElemStore::GetAverageArea(CKpMsg* msg) {
    const int n = entries();
    double area = 0.0;
    if (n == 0 || GetArea(msg, &area) != 0) return 0.0;
    return area / n;
}

int CKpElemStore::GetMaxNumNodes() {
    int most = 0;
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it)
        if (it.key()->getnnod() > most) most = it.key()->getnnod();
    return most;
}

int CKpElemStore::exportElements(bool selectedOnly, int n, int* ids, int* patchIds, int* topologies,
                                 int width, int* nodes) {
    // 1. Check everything before the first write, so that a refusal leaves
    //    the caller's arrays untouched.
    int count = 0;
    int most = 0;
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        const CKpElem* e = it.key();
        if (selectedOnly && !e->getSltd()) continue;
        ++count;
        if (e->getnnod() > most) most = e->getnnod();
    }
    if (n != count || width < most) return 1;
    if (selectedOnly && width != most) return 1;
    if (n > 0 && (!ids || !patchIds || !topologies || (most > 0 && !nodes))) return 1;

    // 2. One row per element, node ids in solver order.
    int k = 0;
    it.reset(*this);
    while (++it) {
        const CKpElem* e = it.key();
        if (selectedOnly && !e->getSltd()) continue;
        ids[k] = e->id();
        patchIds[k] = e->GetPatchID();
        topologies[k] = CKpElem::GetTopologyForGmtp(e->getgmtp());
        const int nn = e->getnnod();
        for (int j = 0; j < nn; ++j)
            nodes[static_cast<long long>(k) * width + j] = e->GetUnidKor(j);
        ++k;
    }
    return 0;
}

int CKpElemStore::GetElements(int n, int* ids, int* patchIds, int* topologies, int width,
                              int* nodes) {
    return exportElements(false, n, ids, patchIds, topologies, width, nodes);
}

int CKpElemStore::GetSelectedElementSizes(int* n, int* width) {
    if (!n || !width) return -1;
    *n = 0;
    *width = 0;
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        const CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        ++*n;
        if (e->getnnod() > *width) *width = e->getnnod();
    }
    return 0;
}

int CKpElemStore::GetSelectedElements(int n, int* ids, int* patchIds, int* topologies, int width,
                                      int* nodes) {
    return exportElements(true, n, ids, patchIds, topologies, width, nodes);
}

int CKpElemStore::GetSelectedIds(CVekObjectStore<CVekObject>& ids) {
    ids.eraseAllObjects();
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        const CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        CVekObject* obj = new (std::nothrow) CVekObject(e->id());
        if (!obj) return -1;
        if (ids.insert(obj) != 0) {
            delete obj;
            return -1;
        }
    }
    return 0;
}

int CKpElemStore::GetSelectedLypPlyIds(CVekObjectStore<CVekObject>& ids) {
    ids.eraseAllObjects();
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        const CKpElem* e = it.key();
        if (!e->getSltd() || !e->getElemLypPlies()) continue;
        if (e->getElemLypPlies()->AddLypPlyIds(ids) != 0) return -1;
    }
    return 0;
}

int CKpElemStore::GetOrientationFromFirstLayer(CKpField* field) {
    if (!field || !field->GetFieldVals()) return -1;
    CKpFieldValStore* values = field->GetFieldVals();
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        CKpElem* e = it.key();
        if (!e->getSltd()) continue;
        e->theta(0.0);
        const CKpElemLypPly* first = e->getElemLypPlies() ? e->getElemLypPlies()->First() : nullptr;
        const CKpPlyElem* plyElem = first ? first->getPlyElem() : nullptr;
        if (!plyElem) continue;
        const double a = plyElem->rotn();
        const double b = plyElem->GetXMLWeftAngle();
        double dirs[6];
        if (e->GetDirection(a, dirs) != 0 || e->GetDirection(b, dirs + 3) != 0) continue;
        CKpFieldVal* val = values->find(e->id());
        if (!val) {
            val = new (std::nothrow) CKpFieldVal(e->id());
            if (!val) return -1;
            if (val->SetVals(6, dirs) != 0) {
                delete val;
                return -1;
            }
            if (values->insert(val) != 0) {
                delete val;
                return -1;
            }
        } else if (val->SetVals(6, dirs) != 0) {
            return -1;
        }
        e->theta(a);
    }
    return 0;
}

int CKpElemStore::CheckShape(CKpMsg* msg) {
    int deleted = 0;
    download_cache();
    for (int k = entries() - 1; k >= 0; --k) {
        // An erase below moves only the entries above k.
        CKpElem* e = toT(m_sorted[k]);
        if (!e || e->CheckShape() == 0) continue;
        if (msg)
            msg->Create(2, "Shape check failed for element %d, deleting from the element store.",
                        e->id());
        eraseObject(e);
        ++deleted;
    }
    return deleted;
}

void CKpElemStore::DeleteElemRefs() {
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) it.key()->DeleteElemRefs();
}

int CKpElemStore::orientClear() {
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) {
        CKpElem* e = it.key();
        e->pOrient(nullptr);
        e->orientId(0);
        e->theta(0.0);
    }
    return 0;
}

int CKpElemStore::lamClear() {
    CVekObjectStoreIterator<CKpElem> it(*this);
    while (++it) it.key()->pid(0);
    return 0;
}
