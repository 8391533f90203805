#include "layuplib/CKpOrient.h"

#include "layuplib/CKpOrientStore.h"

CKpOrient::CKpOrient(int id)
    : CVekObject(id), m_store(nullptr), m_type(TypeDefault), m_refId(0), m_values{0.0, 0.0, 0.0} {}

CKpOrient::~CKpOrient() = default;

CKpLayup* CKpOrient::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}
