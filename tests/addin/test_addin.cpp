// An add-in module as a third party would write it: it links to nothing of
// the library, only compiles in the interface headers and the in-memory
// enumerator. Built twice, with ADDIN_TAG "AddinA" and "AddinB", so that
// tests can tell the modules apart.
//
// Pairs listed: ADDIN_TAG ":FibreRatio" / "IVekAddinFailureLamina" and
// ADDIN_TAG ":Enumerator" / "IVekAddinEnumerator" (the latter must never
// reach the manager's list). ADDIN_TAG ":Throws" throws when instantiated.

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "layuplib/CVekAddinEnumerator.h"
#include "layuplib/IVekAddinFailureLamina.h"

#ifndef ADDIN_TAG
#define ADDIN_TAG "Addin"
#endif

namespace {

int Copy(const char* text, char* buffer, int len) {
    if (!buffer || len < 1) return 1;
    std::snprintf(buffer, static_cast<size_t>(len), "%s", text);
    return 0;
}

// Fibre tension only: failure index s1/Xt, margin 1/index - 1, mode 11.
class FibreRatio : public IVekAddinFailureLamina {
  public:
    int AddRef() override { return ++m_refs; }
    int Release() override {
        if (--m_refs > 0) return m_refs;
        delete this;
        return 0;
    }
    int QueryInterface(const char* name, void** out) override {
        if (!out) return 1;
        const bool ok = name && std::strcmp(name, "IVekAddinFailureLamina") == 0;
        *out = ok ? static_cast<IVekAddinFailureLamina*>(this) : nullptr;
        return ok ? 0 : 1;
    }
    int GetName(char* b, int len) override { return Copy("FibreRatio", b, len); }
    int GetProviderName(char* b, int len) override { return Copy("Test module", b, len); }
    int GetProviderWebsite(char* b, int len) override { return Copy("", b, len); }
    int GetVersion(int& a, int& b, int& c) override {
        a = 1, b = c = 0;
        return 0;
    }
    int GetNumAllowables(int& n) override {
        n = 1;
        return 0;
    }
    int GetAllowableLabel(int i, char* b, int len) override {
        return i == 0 ? Copy("Xt", b, len) : 1;
    }
    int GetNumResults(int& n) override {
        n = 4;
        return 0;
    }
    int GetResultLabel(int i, char* b, int len) override {
        static const char* const labels[] = {"Margins of Safety", "Reserve Factors",
                                             "Critical Components", "Failure Indices"};
        return i >= 0 && i < 4 ? Copy(labels[i], b, len) : 1;
    }
    int GetNumResultValues(int i, int& d, int& n, int& s) override {
        if (i < 0 || i >= 4) return 1;
        d = n = 1;
        s = 0;
        return 0;
    }
    int Clear() override {
        m_margin = m_index = 0.0;
        return 0;
    }
    int SetBasis(EBasis) override { return 0; }
    int SetAllowables(int count, const double* values) override {
        if (count > 0 && values) m_xt = values[0];
        return 0;
    }
    int SetLoadInDirection(ELoadDirection d, double value) override {
        if (static_cast<unsigned>(d) > 5u) return 1;
        if (d == eS1) m_s1 = value;
        return 0;
    }
    int CheckAllowables() override { return m_xt > 0.0 ? 0 : 1; }
    int Run() override {
        if (CheckAllowables() != 0) return 1;
        m_index = m_s1 / m_xt;
        m_margin = m_index > 0.0 ? 1.0 / m_index - 1.0 : 1000.0;
        return 0;
    }
    int GetdResult(int r, int v, double& value) override {
        if (r < 0 || r >= 4 || v != 0) return 1;
        const double values[] = {m_margin, m_margin + 1.0, 11.0, m_index};
        value = values[r];
        return 0;
    }
    int GetiResult(int r, int v, int& value) override {
        if (r < 0 || r >= 4 || v != 0) return 1;
        value = 11;
        return 0;
    }
    int GetszResult(int, int, char*, int) override { return 2; }
    int GetNumMessages(int& n) override {
        n = 0;
        return 0;
    }
    int GetMessageLength(int, int& len) override {
        len = 0;
        return 1;
    }
    int GetMessageString(int, EMessageType&, char*, int) override { return 0; }
    virtual ~FibreRatio() = default;

  private:
    int m_refs = 0;
    double m_xt = 0.0, m_s1 = 0.0, m_margin = 0.0, m_index = 0.0;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int InstantiateVekAddIn(const char* component,
                                                                          const char* interfaceName,
                                                                          void** out) {
    if (!component || !interfaceName || !out) return 1;
    *out = nullptr;
    const std::string c(component), i(interfaceName);
    if (c == "VekAddinEnumerator" && i == "IVekAddinEnumerator") {
        CVekAddinEnumerator* e = new CVekAddinEnumerator;
        e->AddInterface(ADDIN_TAG ":FibreRatio", "IVekAddinFailureLamina");
        e->AddInterface(ADDIN_TAG ":Enumerator", "IVekAddinEnumerator");
        e->AddRef();
        *out = static_cast<IVekAddinEnumerator*>(e);
        return 0;
    }
    if (c == ADDIN_TAG ":FibreRatio" && i == "IVekAddinFailureLamina") {
        FibreRatio* criterion = new FibreRatio;
        criterion->AddRef();
        *out = static_cast<IVekAddinFailureLamina*>(criterion);
        return 0;
    }
    if (c == ADDIN_TAG ":Throws") throw std::runtime_error("refused by throwing");
    return 1;
}
