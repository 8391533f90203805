#include "layuplib/CKpSubLypPly.h"

#include "layuplib/CKpField.h"
#include "layuplib/CKpLypPly.h"
#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpPly.h"
#include "layuplib/CKpSet.h"

CKpSubLypPly::CKpSubLypPly(int id, CKpLypPly* lypPly)
    : CVekObject(id), m_lypPly(lypPly), m_set(nullptr), m_thick(nullptr), m_rotn(nullptr) {}

CKpSubLypPly::~CKpSubLypPly() = default;

const char* CKpSubLypPly::GetName() {
    return m_lypPly ? m_lypPly->GetPlyNameInstance() : nullptr;
}

IVekSet* CKpSubLypPly::GetRegion() {
    return m_set;
}

const char* CKpSubLypPly::GetExternalMaterialName() {
    if (!m_lypPly) return nullptr;
    const CKpMat* mat = m_lypPly->pPly() ? m_lypPly->pPly()->pMat() : nullptr;
    if (!mat) return "";
    // The first listed state, as the layup hands it out; without a list the
    // material's own (base) state.
    const CKpMatProp* state = mat->MatStates() ? mat->MatStates()->First() : nullptr;
    return state ? state->extmtrlnm() : mat->extmtrlnm();
}

IVekField* CKpSubLypPly::GetThicknessField() {
    return m_thick;
}

IVekField* CKpSubLypPly::GetRotationField() {
    return m_rotn;
}
