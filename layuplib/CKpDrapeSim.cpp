#include "layuplib/CKpDrapeSim.h"

#include "layuplib/CKpOln.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"

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
    if (m_pfOln) {
        // Open the ring first so that the walk ends even on a ring whose
        // links were left half-built.
        CKpOln* entry = m_pfOln;
        if (CKpOln* last = entry->Prev()) last->SetNext(nullptr);
        while (entry) {
            CKpOln* next = entry->Next();
            delete entry;
            entry = (next == m_pfOln) ? nullptr : next;
        }
        m_pfOln = nullptr;
    }
    flatPats.eraseAllObjects();
    if (m_plyStored != 1) delete m_ply;
    m_ply = nullptr;
    m_plyStored = 0;
}
