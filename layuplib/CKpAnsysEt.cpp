#include "layuplib/CKpAnsysEt.h"

CKpAnsysEt::CKpAnsysEt(int id, int value) : CVekObject(id), m_value(value), m_keyopts() {}

CKpAnsysEt::CKpAnsysEt(const CKpAnsysEt& other)
    : CVekObject(other), m_value(other.m_value), m_keyopts(other.m_keyopts) {}

// The embedded key-option store deletes its key options.
CKpAnsysEt::~CKpAnsysEt() = default;

void CKpAnsysEt::SetKeyopt(int number, int value) {
    m_keyopts.Put(number, value);
}

int CKpAnsysEt::GetKeyopt(int number) {
    return m_keyopts.GetKeyoptVal(number);
}
