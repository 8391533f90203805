#include "layuplib/CKpField.h"

#include <new>

#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldValStore.h"

CKpField::CKpField(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_type(0),
      m_values(new (std::nothrow) CKpFieldValStore(this)),
      m_defaults(0),
      m_constValid(0),
      m_isConst(0),
      m_constVal(0.0) {}

CKpField::~CKpField() {
    delete m_values;  // its destructor deletes every record
    m_values = nullptr;
    m_defaults.Clear();
}

CKpLayup* CKpField::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}
