#include "layuplib/CVekAddinFailureLaminaTemplate.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "layuplib/copy_text.h"

namespace {

const char* const kResultIndexText = "Result index is beyond allowable range.";
const char* const kResultValueText = "Result value is beyond allowable range.";
const char* const kAllowableIndexText = "Allowable index is beyond allowable range.";

// Allowables by label position.
enum { kXt, kXc, kYt, kYc, kS12, kS23, kS31 };

}  // namespace

CVekAddinFailureLaminaTemplate::CVekAddinFailureLaminaTemplate()
    : m_refCount(0), m_loads{0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, m_basis(eStress) {
    Initialise();
}

CVekAddinFailureLaminaTemplate::~CVekAddinFailureLaminaTemplate() = default;

void CVekAddinFailureLaminaTemplate::Initialise() {
    m_allowableLabels = {"Xt", "Xc", "Yt", "Yc", "S12", "S23", "S31"};
    m_allowables.assign(m_allowableLabels.size(), 0.0);
    m_resultLabels = {"Margins of Safety", "Reserve Factors", "Critical Components",
                      "Failure Indices"};
    m_resultNumDoubles.assign(4, 1);
    m_resultNumInts.assign(4, 1);
    m_resultNumStrings.assign(4, 0);
    m_dResults.assign(4, 0.0);
    m_iResults.assign(4, 0);
}

int CVekAddinFailureLaminaTemplate::AddRef() {
    return ++m_refCount;
}

int CVekAddinFailureLaminaTemplate::Release() {
    if (--m_refCount > 0) return m_refCount;
    delete this;
    return 0;
}

int CVekAddinFailureLaminaTemplate::QueryInterface(const char* interfaceName, void** out) {
    if (!out) return 1;
    if (interfaceName && std::strcmp(interfaceName, "IVekAddinFailureLamina") == 0) {
        *out = static_cast<IVekAddinFailureLamina*>(this);
        return 0;
    }
    *out = nullptr;
    return 1;
}

int CVekAddinFailureLaminaTemplate::CopyText(const char* text, char* buffer, int len) {
    return copy_text(buffer, len, text);
}

void CVekAddinFailureLaminaTemplate::QueueMessage(const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(text, sizeof(text), format, args) < 0) text[0] = '\0';
    va_end(args);
    try {
        m_messages.emplace_back(text);
        m_messageTypes.push_back(eError);
    } catch (...) {
        // Keep the two lists parallel when only the first append succeeded.
        if (m_messages.size() > m_messageTypes.size()) m_messages.pop_back();
    }
}

int CVekAddinFailureLaminaTemplate::GetName(char* buffer, int len) {
    return CopyText("Template", buffer, len);
}

int CVekAddinFailureLaminaTemplate::GetProviderName(char* buffer, int len) {
    return CopyText("Plystrand", buffer, len);
}

int CVekAddinFailureLaminaTemplate::GetProviderWebsite(char* buffer, int len) {
    return CopyText("https://plystrand.example.org", buffer, len);
}

int CVekAddinFailureLaminaTemplate::GetVersion(int& major, int& minor, int& revision) {
    major = minor = revision = 0;
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetNumAllowables(int& n) {
    n = static_cast<int>(m_allowables.size());
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetAllowableLabel(int index, char* buffer, int len) {
    if (index < 0 || index >= static_cast<int>(m_allowableLabels.size())) {
        QueueMessage("%s", kAllowableIndexText);
        return 1;
    }
    return CopyText(m_allowableLabels[index].c_str(), buffer, len);
}

int CVekAddinFailureLaminaTemplate::GetNumResults(int& n) {
    n = static_cast<int>(m_resultLabels.size());
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetResultLabel(int index, char* buffer, int len) {
    if (index < 0 || index >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    return CopyText(m_resultLabels[index].c_str(), buffer, len);
}

int CVekAddinFailureLaminaTemplate::GetNumResultValues(int index, int& nDoubles, int& nInts,
                                                       int& nStrings) {
    if (index < 0 || index >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    nDoubles = m_resultNumDoubles[index];
    nInts = m_resultNumInts[index];
    nStrings = m_resultNumStrings[index];
    return 0;
}

int CVekAddinFailureLaminaTemplate::Clear() {
    m_messages.clear();
    m_messageTypes.clear();
    m_dResults[0] = m_dResults[1] = m_dResults[3] = 0.0;
    m_iResults[2] = 0;
    return 0;
}

int CVekAddinFailureLaminaTemplate::SetBasis(EBasis basis) {
    m_basis = basis;
    return 0;
}

int CVekAddinFailureLaminaTemplate::SetAllowables(int count, const double* values) {
    if (count > 0 && !values) {
        QueueMessage("Allowable values are missing.");
        return 1;
    }
    const int n = static_cast<int>(m_allowables.size());
    for (int i = 0; i < count && i < n; ++i) m_allowables[i] = values[i];
    return 0;
}

int CVekAddinFailureLaminaTemplate::SetLoadInDirection(ELoadDirection direction, double value) {
    if (static_cast<unsigned int>(direction) > 5u) {
        QueueMessage("Load index is beyond allowable range.");
        return 1;
    }
    m_loads[direction] = value;
    return 0;
}

int CVekAddinFailureLaminaTemplate::CheckAllowables() {
    if (m_allowables.size() < 7) {
        QueueMessage("%s", kAllowableIndexText);
        return 1;
    }
    const std::vector<double>& a = m_allowables;
    if (a[kXt] <= 0.0 || a[kXc] <= 0.0 || a[kYt] <= 0.0 || a[kYc] <= 0.0 || a[kS12] <= 0.0) {
        QueueMessage(
            "One or more in-plane failure values are less than or equal to zero:\n Xt %g Xc %g "
            "Yt %g Yc %g S12 %g",
            a[kXt], a[kXc], a[kYt], a[kYc], a[kS12]);
        return 1;
    }
    if (a[kS23] < 0.0 || a[kS31] < 0.0) {
        QueueMessage("One or more out-of-plane failure values are less than zero:\n S23 %g S31 %g",
                     a[kS23], a[kS31]);
        return 2;
    }
    return 0;
}

int CVekAddinFailureLaminaTemplate::Run() {
    return 1;
}

int CVekAddinFailureLaminaTemplate::GetdResult(int resultIndex, int valueIndex, double& value) {
    if (resultIndex < 0 || resultIndex >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    if (valueIndex < 0 || valueIndex >= m_resultNumDoubles[resultIndex]) {
        QueueMessage("%s", kResultValueText);
        return 2;
    }
    value = m_dResults[resultIndex];
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetiResult(int resultIndex, int valueIndex, int& value) {
    if (resultIndex < 0 || resultIndex >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    if (valueIndex < 0 || valueIndex >= m_resultNumInts[resultIndex]) {
        QueueMessage("%s", kResultValueText);
        return 2;
    }
    value = m_iResults[resultIndex];
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetszResult(int resultIndex, int valueIndex, char*, int) {
    if (resultIndex < 0 || resultIndex >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    if (valueIndex < 0 || valueIndex >= m_resultNumStrings[resultIndex]) {
        QueueMessage("%s", kResultValueText);
        return 2;
    }
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetNumMessages(int& n) {
    n = static_cast<int>(m_messages.size());
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetMessageLength(int index, int& len) {
    const int n = static_cast<int>(m_messages.size());
    if (index == -1) index = n - 1;
    if (index < 0 || index >= n) {
        len = 0;
        return 1;
    }
    len = static_cast<int>(m_messages[index].size()) + 1;
    return 0;
}

int CVekAddinFailureLaminaTemplate::GetMessageString(int index, EMessageType& type, char* buffer,
                                                     int len) {
    const int n = static_cast<int>(m_messages.size());
    if (index < -1) return 1;
    if (index == -1) index = n - 1;
    if (index < 0 || index >= n) return 0;
    type = m_messageTypes[index];
    return CopyText(m_messages[index].c_str(), buffer, len);
}

void CVekAddinFailureLaminaTemplate::StoreOutcome(double margin, int mode, double failureIndex) {
    if (margin > 999999.0) margin = 999999.0;
    m_dResults[0] = margin;
    m_dResults[1] = margin + 1.0;
    m_dResults[2] = static_cast<double>(mode);
    m_dResults[3] = failureIndex;
    for (int& value : m_iResults) value = mode;
}

int CVekAddinFailureLaminaTemplate::SolveQuadratic(double a, double b) {
    double margin = 1000.0;
    double failureIndex = 0.0;
    int mode = 0;
    if (a != 0.0) {
        const double d = b * b + 4.0 * a;
        if (d < 0.0) {
            QueueMessage("Imaginary root for failure calculation:\n b*b - 4*a*c = %g", d);
            return 1;
        }
        margin = (std::sqrt(d) - b) / (2.0 * a) - 1.0;
        mode = 1;
        failureIndex = a + b;
    } else if (b != 0.0) {
        margin = 1.0 / b - 1.0;
        mode = 1;
        failureIndex = a + b;
    }
    // A transverse shear ratio governs when it exceeds the in-plane one.
    const double shear[2][2] = {{m_allowables[kS23], m_loads[eT23]},
                                {m_allowables[kS31], m_loads[eT31]}};
    for (const auto& s : shear) {
        if (s[0] <= 0.0) continue;
        const double r = std::fabs(s[1]) / s[0];
        if (r > 1.0 / (margin + 1.0)) {
            failureIndex = r;
            margin = 1.0 / r - 1.0;
            mode = 2;
        }
    }
    StoreOutcome(margin, mode, failureIndex);
    return 0;
}

int CVekAddinFailureLaminaTemplate::SolveTsaiWuForm(double k) {
    const double xt = m_allowables[kXt], xc = m_allowables[kXc];
    const double yt = m_allowables[kYt], yc = m_allowables[kYc];
    const double s12 = m_allowables[kS12];
    const double s1 = m_loads[eS1], s2 = m_loads[eS2], t12 = m_loads[eT12];
    const double f1 = 1.0 / xt - 1.0 / xc;
    const double f2 = 1.0 / yt - 1.0 / yc;
    const double a =
        s1 * s1 / (xt * xc) + s2 * s2 / (yt * yc) + k * s1 * s2 + t12 * t12 / (s12 * s12);
    return SolveQuadratic(a, f1 * s1 + f2 * s2);
}
