#include "layuplib/CVekAddinFailureLaminaHoffman.h"

int CVekAddinFailureLaminaHoffman::GetName(char* buffer, int len) {
    return CopyText("Hoffman", buffer, len);
}

int CVekAddinFailureLaminaHoffman::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::Hoffman);
}
