#include "fileformats/CRcLam.h"

CRcLam::CRcLam(int rlset) : CVekObject(rlset), m_lamIds{0, 0, 0}, m_used{0, 0, 0} {}

CRcLam::~CRcLam() = default;

void CRcLam::SetKeyopt11(int k) {
    if (valid(k)) m_used[k] = 1;
}
