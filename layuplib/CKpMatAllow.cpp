#include "layuplib/CKpMatAllow.h"

#include "layuplib/CKpMatProp.h"
#include "layuplib/IVekAddinFailureLamina.h"

void CKpMatAllow::SetAllowable(int pos, double value) {
    if (pos < 0) return;
    if (static_cast<size_t>(pos) >= m_values.size()) m_values.resize(static_cast<size_t>(pos) + 1);
    m_values[static_cast<size_t>(pos)] = value;
}

int CKpMatAllow::SetAllowables(int n, const double* values) {
    if (!values) return 1;
    for (int i = 0; i < n; ++i) SetAllowable(i, values[i]);
    return 0;
}

int CKpMatAllow::SetAllowables(int basis, CKpMatProp* material, IVekAddinFailureLamina* criterion) {
    if (!material || !criterion) return 1;
    int n = 0;
    if (criterion->GetNumAllowables(n) != 0) n = 0;
    for (int i = 0; i < n; ++i) {
        char label[256] = "";
        if (criterion->GetAllowableLabel(i, label, sizeof label) != 0) continue;
        double value = 0.0;
        if (material->GetAllowableByLabel(static_cast<EVekMaterialFailureBasis>(basis), label,
                                          &value) != 0)
            continue;
        SetAllowable(i, value);
    }
    return 0;
}

int CKpMatAllow::GetAllowables(std::vector<double>* out) const {
    if (!out) return 1;
    *out = m_values;
    return 0;
}
