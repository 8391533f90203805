#include "layuplib/CVekAddinFailureLaminaTsaiwu.h"

CVekAddinFailureLaminaTsaiwu::CVekAddinFailureLaminaTsaiwu() {
    m_allowableLabels.emplace_back("F12");
    m_allowables.push_back(0.0);
}

int CVekAddinFailureLaminaTsaiwu::GetName(char* buffer, int len) {
    return CopyText("TsaiWu", buffer, len);
}

int CVekAddinFailureLaminaTsaiwu::CheckAllowables() {
    const int status = CVekAddinFailureLaminaTemplate::CheckAllowables();
    if (status != 0) return status;
    const double f12 = m_allowables[7];
    if (!(f12 > -1.0 && f12 < 1.0)) {
        QueueMessage(
            "One or more interaction failure values are outside the valid range between -1 and "
            "1:\n F12 %g",
            f12);
        return 3;
    }
    return 0;
}

int CVekAddinFailureLaminaTsaiwu::Run() {
    if (CheckAllowables() != 0) return 1;
    return SolveForm(LaminaForm::TsaiWu);
}
