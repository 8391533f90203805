#include "layuplib/CVekAddinFailureLaminaHankinson.h"

int CVekAddinFailureLaminaHankinson::GetName(char* buffer, int len) {
    return CopyText("Hankinson", buffer, len);
}

int CVekAddinFailureLaminaHankinson::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::Hankinson);
}
