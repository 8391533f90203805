#include "layuplib/CKpSubLypPly.h"

CKpSubLypPly::CKpSubLypPly(int id, CKpLypPly* lypPly)
    : CVekObject(id), m_lypPly(lypPly), m_set(nullptr), m_thick(nullptr), m_rotn(nullptr) {}

CKpSubLypPly::~CKpSubLypPly() = default;
