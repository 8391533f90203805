#include "layuplib/CKpFieldStore.h"

#include <cstring>

#include "layuplib/CVekObjectStoreIterator.h"

CKpFieldStore::CKpFieldStore(CKpLayup* layup) : CVekObjectStore<CKpField>(64), m_layup(layup) {}

CKpFieldStore::~CKpFieldStore() {
    eraseAllObjects();
}

void CKpFieldStore::insert(CKpField* field) {
    if (!field) return;
    field->SetFieldStore(this);
    const int before = entries();
    CVekObjectStore<CKpField>::insert(field);
    if (entries() == before) field->SetFieldStore(nullptr);
}

CKpField* CKpFieldStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpField> it(*this);
    while (++it)
        if (std::strcmp(it.key()->name(), name) == 0) return it.key();
    return nullptr;
}
