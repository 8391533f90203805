#include "layuplib/CKpFieldVal.h"

#include <new>

CKpFieldVal::CKpFieldVal(int id) : CVekObject(id), m_owner(nullptr), m_count(0) {}

CKpFieldVal::~CKpFieldVal() = default;

int CKpFieldVal::SetVals(int n, const double* values) {
    Clear();
    if (n < 1) return 1;
    if (!values) return 2;
    std::unique_ptr<double[]> copy(new (std::nothrow) double[n]);
    if (!copy) return 3;
    for (int i = 0; i < n; ++i) copy[i] = values[i];
    m_values = std::move(copy);
    m_count = n;
    return 0;
}

void CKpFieldVal::Clear() {
    m_values.reset();
    m_count = 0;
}
