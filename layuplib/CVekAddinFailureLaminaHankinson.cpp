#include "layuplib/CVekAddinFailureLaminaHankinson.h"

#include <vector>

int CVekAddinFailureLaminaHankinson::GetName(char* buffer, int len) {
    return CopyText("Hankinson", buffer, len);
}

int CVekAddinFailureLaminaHankinson::Run() {
    if (CheckAllowables() != 0) return 1;
    const std::vector<double>& a = m_allowables;
    return SolveTsaiWuForm(1.0 / (a[1] * a[2]) + 1.0 / (a[0] * a[3]) - 1.0 / (a[4] * a[4]));
}
