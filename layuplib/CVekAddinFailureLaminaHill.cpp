#include "layuplib/CVekAddinFailureLaminaHill.h"

int CVekAddinFailureLaminaHill::GetName(char* buffer, int len) {
    return CopyText("Hill", buffer, len);
}

int CVekAddinFailureLaminaHill::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::Hill);
}
