#include "layuplib/CKpFieldStore.h"

#include <cstring>

#include "layuplib/CVekObjectStoreIterator.h"

CKpFieldStore::CKpFieldStore(CKpLayup* layup) : CVekObjectStore<CKpField>(64), m_layup(layup) {}

CKpFieldStore::~CKpFieldStore() {
    eraseAllObjects();
}

int CKpFieldStore::insert(CKpField* field) {
    if (!field) return -1;
    field->SetFieldStore(this);
    if (CVekObjectStore<CKpField>::insert(field) != 0) {
        field->SetFieldStore(nullptr);
        return -1;
    }
    return 0;
}

CKpField* CKpFieldStore::findByName(const char* name) {
    if (!name) return nullptr;
    CVekObjectStoreIterator<CKpField> it(*this);
    while (++it)
        if (std::strcmp(it.key()->name(), name) == 0) return it.key();
    return nullptr;
}
