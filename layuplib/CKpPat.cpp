#include "layuplib/CKpPat.h"

#include <new>

#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"

CKpPat::CKpPat(int id)
    : CVekObject(id),
      m_lyrtp(0),
      m_axstp(0),
      m_exttp(0),
      m_eye{0.0, 0.0, 0.0},
      m_originSet(0),
      m_origin{0.0, 0.0, 0.0},
      m_eyed{0.0, 0.0, 0.0},
      m_refd{0.0, 0.0, 0.0},
      m_refang(0.0),
      m_stwpwtang(0.0),
      m_warpWeftRatio(1.0),
      m_maxstrn(0.0),
      m_step(0.0),
      m_refStep(0.0),
      m_stft(-1),
      m_stdn(0),
      m_st{0.0, 0.0, 0.0},
      m_stwpd{0.0, 0.0, 0.0},
      m_stwtd{0.0, 0.0, 0.0},
      m_mid(0),
      m_minu(0),
      m_maxu(0),
      m_minv(0),
      m_maxv(0),
      m_minstrnc(0.0),
      m_maxstrnc(0.0),
      m_minthck(0.0),
      m_maxthck(0.0),
      m_minwp(0.0),
      m_maxwp(0.0),
      m_minwt(0.0),
      m_maxwt(0.0),
      m_patElems(new (std::nothrow) CKpPatElemStore),
      m_patSplits(new (std::nothrow) CKpPatSplitStore),
      m_seedCurve{nullptr, nullptr},
      m_simResult(-1),
      m_inadmMode(0),
      m_inadmTol(0.0) {}

CKpPat::~CKpPat() {
    delete m_patElems;
    m_patElems = nullptr;
    delete m_patSplits;
    m_patSplits = nullptr;
}
