#include "layuplib/CKpDrapeSim.h"

#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/clear_pattern.h"

CKpDrapeSim::CKpDrapeSim()
    : bound(),
      axes(),
      drape(),
      m_pfOln(nullptr),
      flatPats(),
      m_pattern(nullptr),
      m_patStored(0),
      m_ply(nullptr),
      m_plyStored(0) {
    drape.SetDrapeSim(this);
}

CKpDrapeSim::~CKpDrapeSim() {
    reinit();
}

void CKpDrapeSim::reinit() {
    for (CKpAxis& axis : axes) axis.reinit();
    drape.reinit();
    if (m_patStored != 1) delete m_pattern;
    m_pattern = nullptr;
    m_patStored = 0;
    DeleteOutline(m_pfOln);
    flatPats.eraseAllObjects();
    if (m_plyStored != 1) delete m_ply;
    m_ply = nullptr;
    m_plyStored = 0;
}
