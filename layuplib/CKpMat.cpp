#include "layuplib/CKpMat.h"

#include <new>

#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpMatStore.h"

CKpMat::CKpMat(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_oldid(0),
      m_lyrtp(0),
      m_mtrlthck(0.0),
      m_wpwtang(0.0),
      m_maxstrn(0.0),
      m_a1(0.0),
      m_a2(0.0),
      m_a3(0.0),
      m_b1(0.0),
      m_b2(0.0),
      m_b3(0.0),
      m_states(new (std::nothrow) CKpMatPropStore) {}

CKpMat::~CKpMat() {
    delete m_states;  // deletes the further states
    m_states = nullptr;
}

CKpLayup* CKpMat::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}
