#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"

CVekAddinFailureLaminaTsaiwu::CVekAddinFailureLaminaTsaiwu() {
    m_allowableLabels.emplace_back("F12");
    m_allowables.push_back(0.0);
}

int CVekAddinFailureLaminaTsaiwu::GetName(char* buffer, int len) {
    return CopyText("TsaiWu", buffer, len);
}

int CVekAddinFailureLaminaTsaiwu::InteractionOutside(double f12) {
    QueueMessage(
        "One or more interaction failure values are outside the valid range between -1 and "
        "1:\n F12 %g",
        f12);
    return 3;
}

int CVekAddinFailureLaminaTsaiwu::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::TsaiWu);
}
