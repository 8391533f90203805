#include "layuplib/CKpAnsysKeyopt.h"

CKpAnsysKeyopt::CKpAnsysKeyopt(int number, int value) : CVekObject(number), m_value(value) {}

CKpAnsysKeyopt::CKpAnsysKeyopt(const CKpAnsysKeyopt& other)
    : CVekObject(other), m_value(other.m_value) {}

CKpAnsysKeyopt::~CKpAnsysKeyopt() = default;
