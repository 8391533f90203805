#include "tests/support/StackingFile.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace stackfile {

namespace {

// The stacking files of this process, removed when it ends.
struct Written {
    std::vector<std::string> paths;
    ~Written() {
        for (const std::string& p : paths) std::remove(p.c_str());
    }
};

}  // namespace

std::string TempPath(const std::string& stem) {
    const char* dir = std::getenv("TMPDIR");
    std::string base = dir && *dir ? dir : "/tmp";
    if (base.back() != '/') base += '/';
    std::string path = base + "stack_" + stem + "_" + std::to_string(::getpid()) + ".csv";
    static Written written;
    written.paths.push_back(path);
    return path;
}

std::string Write(const std::string& path, const std::vector<Layer>& layers) {
    std::string text = "# name,material,thickness,angle\n";
    for (const Layer& l : layers) {
        char numbers[80];
        std::snprintf(numbers, sizeof numbers, ",%.17g,%.17g\n", l.thickness, l.angleDeg);
        text += l.name + "," + l.material + numbers;
    }
    return WriteText(path, text);
}

std::string WriteText(const std::string& path, const std::string& bytes) {
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

}  // namespace stackfile
