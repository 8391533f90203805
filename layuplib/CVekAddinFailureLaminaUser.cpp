#include "layuplib/CVekAddinFailureLaminaUser.h"

#include <cmath>
#include <vector>

#include "host/CKpGUI.h"

CVekAddinFailureLaminaUser::CVekAddinFailureLaminaUser() : m_gui(nullptr) {}

CVekAddinFailureLaminaUser::~CVekAddinFailureLaminaUser() = default;

int CVekAddinFailureLaminaUser::GetName(char* buffer, int len) {
    return CopyText("User", buffer, len);
}

int CVekAddinFailureLaminaUser::GetProviderName(char* buffer, int len) {
    return CopyText("User", buffer, len);
}

int CVekAddinFailureLaminaUser::GetProviderWebsite(char* buffer, int len) {
    return CopyText("", buffer, len);
}

int CVekAddinFailureLaminaUser::SetNumAllowables(int n) {
    if (n < 0) return 1;
    try {
        std::vector<std::string> labels(m_allowableLabels);
        labels.resize(static_cast<size_t>(n));
        std::vector<double> values(m_allowables);
        values.resize(static_cast<size_t>(n), 0.0);
        m_allowableLabels.swap(labels);
        m_allowables.swap(values);
    } catch (...) {
        return 1;
    }
    return 0;
}

int CVekAddinFailureLaminaUser::SetGUI(CKpGUI* gui) {
    m_gui = gui;
    return 0;
}

int CVekAddinFailureLaminaUser::Run() {
    if (!m_gui) return 1;
    if (m_allowables.empty()) return 2;
    std::vector<float> allowables;
    try {
        allowables.assign(m_allowables.begin(), m_allowables.end());
    } catch (...) {
        return 3;
    }
    float loads[6];
    for (int i = 0; i < 6; ++i) loads[i] = static_cast<float>(m_loads[i]);
    float out[3] = {0.0f, 0.0f, 0.0f};
    if (m_gui->FailUser(loads, allowables.data(), out) != 0) return 3;
    // A mode that no int can hold, or a value that is not finite, is a
    // failed evaluation, not a result.
    if (!(std::fabs(out[1]) < 2.0e9f) || !std::isfinite(out[0]) || !std::isfinite(out[2])) return 3;
    const int mode = static_cast<int>(out[1]);
    m_dResults[0] = out[0];
    m_dResults[1] = static_cast<double>(out[0]) + 1.0;
    m_dResults[2] = static_cast<double>(mode);
    m_dResults[3] = out[2];
    for (int& value : m_iResults) value = mode;
    return 0;
}
