#include "layuplib/CKpFieldValStore.h"

#include "layuplib/CKpField.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpFieldValStore::CKpFieldValStore(CKpField* field)
    : CVekObjectStore<CKpFieldVal>(64), m_field(field) {}

CKpFieldValStore::~CKpFieldValStore() {
    eraseAllObjects();
}

int CKpFieldValStore::insert(CKpFieldVal* val) {
    if (!val) return -1;
    val->SetFieldValStore(this);
    const int status = CVekObjectStore<CKpFieldVal>::insert(val);
    SetIsConstantValValid(0);
    return status;
}

int CKpFieldValStore::GetMaxNumVals() {
    int most = 0;
    CVekObjectStoreIterator<CKpFieldVal> it(*this);
    while (++it) {
        const CKpFieldVal* val = it.key();
        if (val && val->GetNumVals() > most) most = val->GetNumVals();
    }
    return most;
}

void CKpFieldValStore::SetIsConstantValValid(int valid) {
    if (m_field) m_field->SetIsConstantValValid(valid);
}
