#ifndef PLYSTRAND_TESTS_SUPPORT_STUBDATABASE_H
#define PLYSTRAND_TESTS_SUPPORT_STUBDATABASE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/MorvekStub.h"

// The stand-in database through its record files: load a fixture text, dump
// the database as text, pick the lines of one record kind. Files live in
// the test temp directory and are removed with the object.
class StubDatabase {
  public:
    explicit StubDatabase(const std::string& name)
        : m_path(::testing::TempDir() + "stubdb_" + name + "_" + std::to_string(::getpid())) {}
    ~StubDatabase() {
        std::remove((m_path + ".in").c_str());
        std::remove((m_path + ".out").c_str());
    }
    StubDatabase(const StubDatabase&) = delete;
    StubDatabase& operator=(const StubDatabase&) = delete;

    // Adds the records of `text` to the database; the loader's status.
    int load(const std::string& text) const {
        std::ofstream(m_path + ".in") << text;
        return MorvekStubLoadDatabase((m_path + ".in").c_str());
    }
    // The whole database as records ("" when it cannot be saved).
    std::string dump() const {
        if (MorvekStubSaveDatabase((m_path + ".out").c_str()) != 0) return "";
        std::ifstream in(m_path + ".out");
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }
    // The dumped lines starting with `kind` and a blank.
    std::string lines(const std::string& kind) const {
        std::istringstream in(dump());
        std::string line, out;
        while (std::getline(in, line))
            if (line.compare(0, kind.size() + 1, kind + " ") == 0) out += line + "\n";
        return out;
    }

  private:
    std::string m_path;
};

#endif  // PLYSTRAND_TESTS_SUPPORT_STUBDATABASE_H
