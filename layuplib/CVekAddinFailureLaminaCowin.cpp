#include "layuplib/CVekAddinFailureLaminaCowin.h"

int CVekAddinFailureLaminaCowin::GetName(char* buffer, int len) {
    return CopyText("Cowin", buffer, len);
}

int CVekAddinFailureLaminaCowin::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::Cowin);
}
