// morvek-stub: a small stand-in for the host program. It loads the library
// the way the host does (dlopen, functions found by their plain names), hands
// the stand-in's interface getter to VekApiInit, registers the built-ins and
// runs one command script.
//
//   morvek-stub [--lib PATH] SCRIPT.kps
//
// PATH defaults to libplystrand.so next to this program, else the loader's
// search path. Exit status 0 when every expectation of the script held, 1
// otherwise (failures are printed as file:line: reason), 2 for a usage or
// loading error.

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/MorvekHost.h"

namespace {

// The exact types of the entries: a call through a pointer of another
// function type is undefined, even when the arguments would fit.
typedef MorvekHostGetter Getter;
typedef int (*ApiInit)(MorvekHostGetter);
typedef void (*BltInit)(void);
typedef int (*RunScript)(const char*);

std::string besideThisProgram(const char* file) {
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return file;
    self[n] = '\0';
    std::string dir(self);
    const size_t slash = dir.rfind('/');
    return slash == std::string::npos ? file : dir.substr(0, slash + 1) + file;
}

int usage() {
    std::fprintf(stderr, "usage: morvek-stub [--lib PATH] SCRIPT.kps\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string lib;
    const char* script = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--lib") == 0 && i + 1 < argc)
            lib = argv[++i];
        else if (!script && argv[i][0] != '-')
            script = argv[i];
        else
            return usage();
    }
    if (!script) return usage();

    void* handle = nullptr;
    if (!lib.empty()) {
        handle = dlopen(lib.c_str(), RTLD_NOW | RTLD_LOCAL);
    } else {
        handle = dlopen(besideThisProgram("libplystrand.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) handle = dlopen("libplystrand.so", RTLD_NOW | RTLD_LOCAL);
    }
    if (!handle) {
        std::fprintf(stderr, "morvek-stub: %s\n", dlerror());
        return 2;
    }
    const auto apiInit = reinterpret_cast<ApiInit>(dlsym(handle, "VekApiInit"));
    const auto bltInit = reinterpret_cast<BltInit>(dlsym(handle, "PlystrandBltInit"));
    const auto getter = reinterpret_cast<Getter>(dlsym(handle, "MorvekStubGetter"));
    const auto run = reinterpret_cast<RunScript>(dlsym(handle, "MorvekStubRunScript"));
    if (!apiInit || !bltInit || !getter || !run) {
        std::fprintf(stderr, "morvek-stub: the library lacks an entry of the host interface\n");
        return 2;
    }
    const int init = apiInit(getter);
    if (init != 0) {
        std::fprintf(stderr, "morvek-stub: VekApiInit gave %d\n", init);
        return 2;
    }
    bltInit();
    const int failures = run(script);
    if (failures < 0) return 2;
    std::printf("%s: %s\n", script, failures == 0 ? "every expectation held" : "FAILED");
    return failures == 0 ? 0 : 1;
}
