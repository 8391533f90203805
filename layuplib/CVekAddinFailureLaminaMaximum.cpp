#include "layuplib/CVekAddinFailureLaminaMaximum.h"

#include <cmath>
#include <vector>

int CVekAddinFailureLaminaMaximum::GetName(char* buffer, int len) {
    return CopyText("Maximum", buffer, len);
}

int CVekAddinFailureLaminaMaximum::Run() {
    if (CheckAllowables() != 0) return 1;
    const std::vector<double>& a = m_allowables;
    const double s1 = m_loads[eS1], s2 = m_loads[eS2];
    struct Ratio {
        double value;
        int mode;
        bool used;
    };
    const Ratio ratios[] = {
        {s1 / a[0], 11, true},
        {-s1 / a[1], -11, true},
        {s2 / a[2], 22, true},
        {-s2 / a[3], -22, true},
        {std::fabs(m_loads[eT12]) / a[4], 12, true},
        {a[5] > 0.0 ? std::fabs(m_loads[eT23]) / a[5] : 0.0, 23, a[5] > 0.0},
        {a[6] > 0.0 ? std::fabs(m_loads[eT31]) / a[6] : 0.0, 31, a[6] > 0.0},
    };
    double margin = 1000.0;
    double failureIndex = 0.0;
    int mode = 0;
    for (const Ratio& r : ratios) {
        if (!r.used || !(r.value > failureIndex)) continue;
        failureIndex = static_cast<float>(r.value);
        margin = 1.0 / failureIndex - 1.0;
        mode = r.mode;
    }
    StoreOutcome(margin, mode, failureIndex);
    return 0;
}
