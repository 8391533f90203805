#include "layuplib/CVekAddinFailureLaminaCowin.h"

#include <cmath>
#include <vector>

int CVekAddinFailureLaminaCowin::GetName(char* buffer, int len) {
    return CopyText("Cowin", buffer, len);
}

int CVekAddinFailureLaminaCowin::Run() {
    if (CheckAllowables() != 0) return 1;
    const std::vector<double>& a = m_allowables;
    return SolveTsaiWuForm(
        2.0 * (1.0 / std::sqrt(a[0] * a[1] * a[2] * a[3]) - 1.0 / (2.0 * a[4] * a[4])));
}
