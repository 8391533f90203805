#include "layuplib/CKpAnsys.h"

CKpAnsys::CKpAnsys() : m_ets(new CKpAnsysEtStore()) {}

CKpAnsys::~CKpAnsys() {
    m_ets->eraseAllObjects();
}
