#include "layuplib/CKpElemRef.h"

#include "layuplib/CKpElem.h"

CKpElemRef::CKpElemRef(CKpElem* elem, double angle, int flag)
    : CVekObject(elem ? elem->id() : 0), m_elem(elem), m_angle(angle), m_flag(flag) {}

CKpElemRef::~CKpElemRef() = default;
