#include "layuplib/CKpPatElem.h"

#include <cstdio>

#include "layuplib/CKpElem.h"

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

int CKpPatElem::GetElemId() const {
    return m_elem ? m_elem->id() : m_elemId;
}

int CKpPatElem::write(char* buffer, size_t size) const {
    if (!buffer || size == 0) return -1;
    int n;
    if (m_thickness > 0.0)
        n = std::snprintf(buffer, size, "%03d %d %d %d %.8G %.8G %.8G %d %d %.8G\n", 430, 0,
                          GetElemId(), m_dnfg, m_shear, m_warp, m_weft, m_stdn, m_order,
                          m_thickness);
    else
        n = std::snprintf(buffer, size, "%03d %d %d %d %.8G %.8G %.8G %d %d\n", 430, 0, GetElemId(),
                          m_dnfg, m_shear, m_warp, m_weft, m_stdn, m_order);
    if (n < 0 || static_cast<size_t>(n) >= size) {
        buffer[0] = '\0';
        return -1;
    }
    return n;
}
