#include "layuplib/CKpOffStore.h"

#include <climits>
#include <cstring>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpOffStore::CKpOffStore(CKpLayup* layup) : CVekObjectStore<CKpOff>(64), m_layup(layup) {}

CKpOffStore::~CKpOffStore() {
    eraseAllObjects();
}

int CKpOffStore::insert(CKpOff* off) {
    if (!off) return -1;
    off->SetOffStore(this);
    if (CVekObjectStore<CKpOff>::insert(off) != 0) {
        off->SetOffStore(nullptr);
        return -1;
    }
    return 0;
}

int CKpOffStore::Apply() {
    CVekObjectStoreIterator<CKpOff> it(*this);
    while (++it)
        if (it.key()->Apply() != 0) return 1;
    return 0;
}

CKpOff* CKpOffStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpOff> it(*this);
    while (++it)
        if (std::strcmp(it.key()->name(), name) == 0) return it.key();
    return nullptr;
}

int CKpOffStore::Delete(CKpOff* off) {
    if (!off || off->GetOffStore() != this || find(off->id()) != off) return -1;
    eraseObject(off);
    return 0;
}

int CKpOffStore::Clear() {
    eraseAllObjects();
    if (!m_layup) return 1;
    CKpElemStore* elems = m_layup->pElems();
    if (!elems) return 2;
    int status = 0;
    CVekObjectStoreIterator<CKpElem> it(*elems);
    while (++it) {
        CKpElem* elem = it.key();
        if (!elem) {
            status = 3;
            continue;
        }
        elem->setoff_fg(0);
        elem->setoff_val(0.0);
    }
    return status;
}

IVekOffset* CKpOffStore::New() {
    if (maxId() == INT_MAX) return nullptr;  // no id left above the highest
    CKpOff* off = new (std::nothrow) CKpOff(maxId() + 1);
    if (!off) return nullptr;
    insert(off);
    if (off->GetOffStore() != this) {
        delete off;
        return nullptr;
    }
    return off;
}

int CKpOffStore::Delete(IVekOffset* offset) {
    return Delete(static_cast<CKpOff*>(offset));
}

int CKpOffStore::Count() {
    return entries();
}

IVekOffset* CKpOffStore::Get(const char* name) {
    return findByName(name);
}

IVekOffset* CKpOffStore::Get(int index) {
    return (*this)[index];
}
