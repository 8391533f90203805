#include "layuplib/CKpOff.h"

#include "layuplib/CKpOffStore.h"

CKpOff::CKpOff(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_seed{0.0, 0.0, 0.0},
      m_dirn{0.0, 0.0, 0.0},
      m_flag(0),
      m_value(0.0),
      m_originSet(0),
      m_origin{0.0, 0.0, 0.0} {}

CKpOff::~CKpOff() {
    m_elems.eraseAllObjects();
}

CKpLayup* CKpOff::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}
