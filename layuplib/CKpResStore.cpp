#include "layuplib/CKpResStore.h"

#include <climits>
#include <new>

#include "layuplib/CKpLayup.h"
#include "layuplib/CVekObjectStoreIterator.h"

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

void CKpResStore::NotAvailable(const char* operation) {
    m_layup->pMsg()->Create(4, "%s is not available", operation);
}

int CKpResStore::CreateResultsFailureLamina(int, const int*, const char* const*,
                                            IVekAddinFailureLamina*, int, int, int, EBasis, int,
                                            const char* const*, int, const double*, int, const int*,
                                            const char*, const char*, int*) {
    if (!m_layup) return 1;
    NotAvailable("CreateResultsFailureLamina");
    return 5;
}

int CKpResStore::CreateResultsSortLayup(const char* const*, const int*, const char* const*, int,
                                        int*) {
    if (!m_layup) return 1;
    NotAvailable("CreateResultsSortLayup");
    return 1;
}

int CKpResStore::CreateResultsSortLaminate(const char* const*, int*) {
    if (!m_layup) return 1;
    NotAvailable("CreateResultsSortLaminate");
    return 1;
}
