#include "layuplib/CKpPatElem.h"

CKpPatElem::CKpPatElem()
    : m_elemId(0),
      m_elem(nullptr),
      m_stdn(0),
      m_dnfg(0),
      m_warp(0.0),
      m_weft(0.0),
      m_shear(0.0),
      m_thickness(0.0),
      m_order(0) {}

CKpPatElem::~CKpPatElem() = default;
