#include "layuplib/CVekAddinFailureLaminaHill.h"

#include <vector>

int CVekAddinFailureLaminaHill::GetName(char* buffer, int len) {
    return CopyText("Hill", buffer, len);
}

int CVekAddinFailureLaminaHill::Run() {
    if (CheckAllowables() != 0) return 1;
    const std::vector<double>& al = m_allowables;
    const double s1 = m_loads[eS1], s2 = m_loads[eS2], t12 = m_loads[eT12];
    const double x = s1 >= 0.0 ? al[0] : al[1];
    const double y = s2 >= 0.0 ? al[2] : al[3];
    const double xCross = s1 * s2 >= 0.0 ? al[0] : al[1];
    const double a = s1 * s1 / (x * x) + s2 * s2 / (y * y) - s1 * s2 / (xCross * xCross) +
                     t12 * t12 / (al[4] * al[4]);
    return SolveQuadratic(a, 0.0);
}
