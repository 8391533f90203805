#include "layuplib/CKpGplyElem.h"

CKpGplyElem::CKpGplyElem(int id, CKpElem* elem, double t, double angle)
    : CVekObject(id),
      m_elem(elem),
      m_stdn(0),
      m_dnfg(0),
      m_lamdn(0),
      m_t(t),
      m_angle(angle),
      m_piece(0) {}

CKpGplyElem::~CKpGplyElem() = default;
