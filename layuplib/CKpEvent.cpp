#include "layuplib/CKpEvent.h"

CKpEvent::~CKpEvent() = default;

int CKpEvent::GetType() {
    return m_type;
}
