#include "layuplib/CVekAddinFailureLaminaMaximum.h"

int CVekAddinFailureLaminaMaximum::GetName(char* buffer, int len) {
    return CopyText("Maximum", buffer, len);
}

int CVekAddinFailureLaminaMaximum::Run() {
    if (CheckAllowables() != 0) return 1;
    if (!LoadsFinite()) return 1;
    const LaminaOutcome o = lamina_maximum(m_allowables.data(), m_loads, 1000.0);
    return StoreOutcome(o.margin, o.mode, o.failureIndex);
}
