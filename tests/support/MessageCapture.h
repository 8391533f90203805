#ifndef PLYSTRAND_TESTS_SUPPORT_MESSAGECAPTURE_H
#define PLYSTRAND_TESTS_SUPPORT_MESSAGECAPTURE_H

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "layuplib/CKpMsg.h"

// Captures what a CKpMsg writes to its message file, information included
// (information never reaches the host). The file lives in the test temp
// directory and is removed afterwards.
class MessageCapture {
  public:
    CKpMsg log;

    explicit MessageCapture(const std::string& name)
        // The process id keeps tests that CTest runs side by side apart.
        : m_path(::testing::TempDir() + "msgcap_" + name + "_" + std::to_string(::getpid()) +
                 ".msg") {
        EXPECT_EQ(log.FileOpen(m_path.c_str()), 0);
        m_skip = contents().size();  // the opening lines
    }
    ~MessageCapture() {
        log.FileClose();
        std::remove(m_path.c_str());
    }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    // The lines written since the file was opened or the last reset.
    std::string body() const { return contents().substr(m_skip); }
    // Forgets what was written so far.
    void reset() { m_skip = contents().size(); }

  private:
    std::string contents() const {
        std::ifstream in(m_path);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::string m_path;
    size_t m_skip = 0;
};

#endif  // PLYSTRAND_TESTS_SUPPORT_MESSAGECAPTURE_H
