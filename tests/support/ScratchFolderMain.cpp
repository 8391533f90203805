// The test programs' main: every test runs in a scratch folder of its own,
// so that tests running at the same time (cases of one suite under ctest -j,
// or two runs of the suite on one machine) never share a file.
//
// The program makes a folder with mkdtemp under the temp folder it was given
// ($TEST_TMPDIR, else $TMPDIR, else /tmp); each test gets a folder inside it,
// which is its working folder, testing::TempDir() and $TMPDIR while it runs
// and is removed when it ends. The program's folder, where suite set-ups
// write, is removed at exit.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// A folder made by mkdtemp under `parent` ("" on failure).
std::string MakeFolder(const std::string& parent, const std::string& stem) {
    std::string path = parent;
    if (path.empty() || path.back() != '/') path += '/';
    path += stem + ".XXXXXX";
    if (!mkdtemp(&path[0])) {
        std::perror(("mkdtemp " + path).c_str());
        return "";
    }
    return path;
}

void RemoveFolder(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
    if (ec) std::fprintf(stderr, "cannot remove %s: %s\n", path.c_str(), ec.message().c_str());
}

// Where the temp files of the code under test go: gtest's TempDir() reads
// TEST_TMPDIR, mkstemp-style callers TMPDIR.
void PointTempAt(const std::string& folder) {
    setenv("TEST_TMPDIR", folder.c_str(), 1);
    setenv("TMPDIR", folder.c_str(), 1);
}

// The program's folder; removed once, by the process that made it (a death
// test's forked child exits through the same handlers).
std::string g_programFolder;
std::string g_startFolder;
pid_t g_owner = 0;

void RemoveProgramFolder() {
    if (g_programFolder.empty() || getpid() != g_owner) return;
    if (!g_startFolder.empty() && chdir(g_startFolder.c_str()) != 0) {
        if (chdir("/") != 0) return;
    }
    RemoveFolder(g_programFolder);
    g_programFolder.clear();
}

class ScratchFolderPerTest : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override {
        m_folder = MakeFolder(g_programFolder, "test");
        if (m_folder.empty()) return;
        PointTempAt(m_folder);
        if (chdir(m_folder.c_str()) != 0) std::perror(("chdir " + m_folder).c_str());
    }
    void OnTestEnd(const testing::TestInfo&) override {
        if (m_folder.empty()) return;
        if (chdir(g_programFolder.c_str()) != 0) std::perror(("chdir " + g_programFolder).c_str());
        PointTempAt(g_programFolder);
        RemoveFolder(m_folder);
        m_folder.clear();
    }

  private:
    std::string m_folder;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);

    const char* parent = std::getenv("TEST_TMPDIR");
    if (!parent || !*parent) parent = std::getenv("TMPDIR");
    if (!parent || !*parent) parent = "/tmp";
    const char* slash = std::strrchr(argv[0], '/');
    g_programFolder = MakeFolder(parent, slash ? slash + 1 : argv[0]);
    if (g_programFolder.empty()) return 1;
    g_owner = getpid();
    if (char* here = getcwd(nullptr, 0)) {
        g_startFolder = here;
        std::free(here);
    }
    std::atexit(RemoveProgramFolder);
    PointTempAt(g_programFolder);
    if (chdir(g_programFolder.c_str()) != 0) {
        std::perror(("chdir " + g_programFolder).c_str());
        return 1;
    }

    testing::UnitTest::GetInstance()->listeners().Append(new ScratchFolderPerTest);
    return RUN_ALL_TESTS();
}
