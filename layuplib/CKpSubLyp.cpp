#include "layuplib/CKpSubLyp.h"

#include <new>

#include "layuplib/CKpField.h"
#include "layuplib/CKpSubLypPlyStore.h"

CKpSubLyp::CKpSubLyp(int id)
    : CVekObject(id), m_orient(nullptr), m_plys(new (std::nothrow) CKpSubLypPlyStore) {}

CKpSubLyp::~CKpSubLyp() {
    delete m_plys;  // deletes the plies
    m_plys = nullptr;
}

const char* CKpSubLyp::GetOrientationFieldName() {
    return m_orient ? m_orient->GetName() : nullptr;
}

IVekSubLayupPlyStore* CKpSubLyp::GetSubLayupPlyStore() {
    return m_plys;
}
