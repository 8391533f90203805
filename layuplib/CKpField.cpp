#include "layuplib/CKpField.h"

#include <cmath>
#include <cstddef>
#include <new>

#include "layuplib/CKpFieldStore.h"
#include "layuplib/CKpFieldValStore.h"
#include "layuplib/CVekObjectStoreIterator.h"

CKpField::CKpField(int id)
    : CVekObject(id),
      m_store(nullptr),
      m_type(0),
      m_values(new (std::nothrow) CKpFieldValStore(this)),
      m_defaults(0),
      m_constValid(0),
      m_isConst(0),
      m_constVal(0.0) {}

CKpField::~CKpField() {
    delete m_values;  // its destructor deletes every record
    m_values = nullptr;
    m_defaults.Clear();
}

CKpLayup* CKpField::GetLayup() const {
    return m_store ? m_store->GetLayup() : nullptr;
}

int CKpField::IsConstantValue() {
    if (m_constValid == 0) CheckIfConstantVal();
    return m_isConst;
}

double CKpField::GetConstantValue() {
    return IsConstantValue() == 1 ? m_constVal : 0.0;
}

int CKpField::GetNumElems() {
    return m_values ? m_values->entries() : 0;
}

int CKpField::GetNumValuesPerElem() {
    return m_values ? m_values->GetMaxNumVals() : 0;
}

int CKpField::GetDefaultValues(int n, double* values) {
    if (n != GetNumValuesPerElem()) return 1;
    if (!values) return 2;
    if (n != m_defaults.GetNumVals()) return 4;
    for (int i = 0; i < n; ++i) values[i] = m_defaults.GetVal(i);
    return 0;
}

int CKpField::GetElemIdsAndValues(int n, int m, int* ids, double* values) {
    if (n != GetNumElems()) return 1;
    if (m != GetNumValuesPerElem()) return 2;
    if (!m_values) return 3;
    if (n > 0 && (!ids || (m > 0 && !values))) return 4;
    CVekObjectStoreIterator<CKpFieldVal> it(*m_values);
    for (int i = 0; i < n && ++it; ++i) {
        const CKpFieldVal* val = it.key();
        ids[i] = val->id();
        for (int j = 0; j < m; ++j) values[static_cast<size_t>(i) * m + j] = val->GetVal(j);
    }
    return 0;
}

int CKpField::SetName(const char* name) {
    m_name = name ? name : "";
    return 0;
}

int CKpField::SetDefaultValues(int n, const double* values) {
    return m_defaults.SetVals(n, values) == 0 ? 0 : 2;
}

void CKpField::CheckIfConstantVal() {
    m_constValid = 1;
    m_isConst = 0;
    if (!m_values || m_values->entries() == 0) return;
    const double tolerance = m_type == EVekFieldRotation ? 0.1 * std::acos(-1.0) / 180.0 : 1e-12;
    double lo = 0.0;
    double hi = 0.0;
    bool first = true;
    CVekObjectStoreIterator<CKpFieldVal> it(*m_values);
    while (++it) {
        const CKpFieldVal* val = it.key();
        if (val->GetNumVals() != 1) return;
        const double v = val->GetVal(0);
        if (first || v < lo) lo = v;
        if (first || v > hi) hi = v;
        first = false;
    }
    if ((hi - lo) / 2.0 <= tolerance) {
        m_isConst = 1;
        m_constVal = (hi + lo) / 2.0;
    }
}
