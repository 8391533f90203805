#include "layuplib/CKpLamLyr.h"

CKpLamLyr::CKpLamLyr()
    : m_store(nullptr), m_mid(0), m_t(0.0), m_theta(0.0), m_sout(2), m_sttid(0), m_gplyid(0) {}

CKpLamLyr::CKpLamLyr(const CKpLamLyr& other)
    : IVekLamLayer(),
      CVekListItem(),
      m_store(nullptr),
      m_mid(other.m_mid),
      m_t(other.m_t),
      m_theta(other.m_theta),
      m_sout(other.m_sout),
      m_sttid(other.m_sttid),
      m_gplyid(other.m_gplyid) {}

CKpLamLyr::~CKpLamLyr() = default;
