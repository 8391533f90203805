#ifndef PLYSTRAND_TESTS_SUPPORT_EXCHANGEMODEL_H
#define PLYSTRAND_TESTS_SUPPORT_EXCHANGEMODEL_H

#include <cstdio>
#include <string>

#include "layuplib/CKpDBF.h"
#include "layuplib/CKpLayup.h"
#include "tests/support/ExchangeFiles.h"
#include "tests/support/RecordingGUI.h"

// A model for exchange-file tests, with its message file open so that
// information lines can be checked too. Parsers reach it as the format
// dispatch does: SetStores, name, type, flags, then Read or Write.
class ExchangeModel {
  public:
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};

    explicit ExchangeModel(const std::string& name) : m_msgPath(xfiles::TempPath(name + ".msg")) {
        model.OpenMessage(m_msgPath.c_str());
    }
    ~ExchangeModel() {
        model.CloseMessage();
        std::remove(m_msgPath.c_str());
    }
    ExchangeModel(const ExchangeModel&) = delete;
    ExchangeModel& operator=(const ExchangeModel&) = delete;

    int Read(CKpDBF& parser, const std::string& path, int flags = 1) {
        parser.SetStores(&model);
        parser.SetName(path.c_str());
        parser.SetFlags(flags, 0);
        return parser.Read();
    }
    int Write(CKpDBF& parser, const std::string& path, int what, int type = 1) {
        parser.SetStores(&model);
        parser.SetName(path.c_str());
        parser.SetType(type);
        parser.SetFlags(what, 0);
        return parser.Write();
    }

    // The message file so far (every severity).
    std::string Log() const { return xfiles::ReadAll(m_msgPath); }
    // Number of messages of `severity` that reached the host, and whether
    // one of them contains `text`.
    int Count(int severity) const {
        int n = 0;
        for (const auto& m : gui.messages) n += m.severity == severity;
        return n;
    }
    bool Has(int severity, const std::string& text) const {
        for (const auto& m : gui.messages)
            if (m.severity == severity && m.text.find(text) != std::string::npos) return true;
        return false;
    }

  private:
    std::string m_msgPath;
};

#endif  // PLYSTRAND_TESTS_SUPPORT_EXCHANGEMODEL_H
