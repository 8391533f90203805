#include "layuplib/CKpPatElem.h"

#include <cstdio>
#include <new>

#include "layuplib/CKpElem.h"
#include "layuplib/number_text.h"

CKP_BLOCK_POOLED_DEFINE(CKpPatElem)

CKpPatElem::CKpPatElem()
    : m_elem(nullptr),
      m_elemId(0),
      m_stdn(0),
      m_dnfg(0),
      m_order(0),
      m_warp(0.0),
      m_weft(0.0),
      m_shear(0.0),
      m_thickness(0.0) {}

CKpPatElem::~CKpPatElem() = default;

int CKpPatElem::GetElemId() const {
    return m_elem ? m_elem->id() : m_elemId;
}

int CKpPatElem::write(char* buffer, size_t size) const {
    NumberLine line(buffer, size);
    line.Code(430).Int(0).Int(GetElemId()).Int(m_dnfg);
    line.Real(m_shear).Real(m_warp).Real(m_weft).Int(m_stdn).Int(m_order);
    if (m_thickness > 0.0) line.Real(m_thickness);
    line.End();
    return line.Length();
}
