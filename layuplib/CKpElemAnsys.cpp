#include "layuplib/CKpElemAnsys.h"

CKpElemAnsys::CKpElemAnsys() {
    init();
}

void CKpElemAnsys::init() {
    for (int& v : m_vals) v = 0;
}
