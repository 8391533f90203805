#include "layuplib/CVekAddinFailureLaminaTemplate.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "layuplib/copy_text.h"
#include "layuplib/lamina_failure.h"

namespace {

const char* const kResultIndexText = "Result index is beyond allowable range.";
const char* const kResultValueText = "Result value is beyond allowable range.";
const char* const kAllowableIndexText = "Allowable index is beyond allowable range.";
const char* const kNonFiniteText = "Failure calculation gave a non-finite value.";

// Allowables by label position.
enum { kXt, kXc, kYt, kYc, kS12, kS23, kS31 };

}  // namespace

CVekAddinFailureLaminaTemplate::CVekAddinFailureLaminaTemplate()
    : m_refCount(0),
      m_loads{0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
      m_basis(eStress),
      m_termsHeld(false),
      m_termsCount(0),
      m_termsKey{},
      m_terms{} {
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

int CVekAddinFailureLaminaTemplate::GetAllowableLabel(int index, char* buffer, int len) {
    if (index < 0 || index >= static_cast<int>(m_allowableLabels.size())) {
        QueueMessage("%s", kAllowableIndexText);
        return 1;
    }
    return CopyText(m_allowableLabels[index].c_str(), buffer, len);
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

int CVekAddinFailureLaminaTemplate::MissingAllowables() {
    QueueMessage("Allowable values are missing.");
    return 1;
}

int CVekAddinFailureLaminaTemplate::LoadIndexOutside() {
    QueueMessage("Load index is beyond allowable range.");
    return 1;
}

int CVekAddinFailureLaminaTemplate::CheckAllowablesOneByOne() {
    // Only the positions this criterion holds are checked: a user criterion
    // may have fewer than seven allowables. Negated comparisons let a NaN
    // strength fail.
    const std::vector<double>& a = m_allowables;
    const size_t n = a.size();
    auto value = [&](size_t k) { return k < n ? a[k] : 0.0; };
    for (size_t k = kXt; k <= kS12 && k < n; ++k) {
        if (a[k] > 0.0) continue;
        QueueMessage(
            "One or more in-plane failure values are less than or equal to zero:\n Xt %g Xc %g "
            "Yt %g Yc %g S12 %g",
            value(kXt), value(kXc), value(kYt), value(kYc), value(kS12));
        return 1;
    }
    for (size_t k = kS23; k <= kS31 && k < n; ++k) {
        if (a[k] >= 0.0) continue;
        QueueMessage("One or more out-of-plane failure values are less than zero:\n S23 %g S31 %g",
                     value(kS23), value(kS31));
        return 2;
    }
    return 0;
}

int CVekAddinFailureLaminaTemplate::Run() {
    return 1;
}

int CVekAddinFailureLaminaTemplate::ResultIndexOutside(int resultIndex, int valueIndex,
                                                       const std::vector<int>& numValues) {
    if (resultIndex < 0 || resultIndex >= static_cast<int>(m_resultLabels.size())) {
        QueueMessage("%s", kResultIndexText);
        return 1;
    }
    if (valueIndex < 0 || valueIndex >= numValues[resultIndex]) {
        QueueMessage("%s", kResultValueText);
        return 2;
    }
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

int CVekAddinFailureLaminaTemplate::NonFinite(int status) {
    QueueMessage("%s", kNonFiniteText);
    return status;
}

void CVekAddinFailureLaminaTemplate::HoldTerms(LaminaForm form, size_t n) {
    lamina_allowable_terms(form, m_allowables.data(), m_terms);
    std::memcpy(m_termsKey, m_allowables.data(), n * sizeof(double));
    m_termsCount = n;
    m_termsHeld = true;
}

int CVekAddinFailureLaminaTemplate::RatioFailed(int status, double reported) {
    if (status == 1)
        QueueMessage("Imaginary root for failure calculation:\n b*b - 4*a*c = %g", reported);
    else if (status == 2)
        QueueMessage("No positive root for failure calculation:\n R = %g", reported);
    else
        QueueMessage("%s", kNonFiniteText);
    return 1;
}
