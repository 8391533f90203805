#ifndef PLYSTRAND_TESTS_SUPPORT_EXPORTREAD_H
#define PLYSTRAND_TESTS_SUPPORT_EXPORTREAD_H

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Readers of the exported manufacturing files for tests: plain lines, and
// the entities of an IGES file parsed from their fixed columns (written
// independently of the writer, from the format's layout).
namespace exportread {

// A file name in the test temp folder, unique to this process.
inline std::string TempPath(const std::string& name) {
    return ::testing::TempDir() + "plystrand_" + std::to_string(::getpid()) + "_" + name;
}

// The file's lines without their line ends (a CR before LF is dropped).
inline std::vector<std::string> Lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

inline std::string Text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// One IGES entity: its directory fields and its parameters.
struct IgesEntity {
    int directory = 0;  // sequence number of its first directory line
    int type = 0;
    int parameterPointer = 0;
    std::string level;   // field 5, as written (blank or digits)
    std::string status;  // field 9
    int parameterLines = 0;
    std::vector<std::string> params;  // the record split at ',' and ';'
    std::vector<double> reals() const {
        std::vector<double> v;
        for (size_t i = 1; i < params.size(); ++i)
            v.push_back(std::strtod(params[i].c_str(), nullptr));
        return v;
    }
};

struct Iges {
    std::vector<std::string> lines;
    std::map<char, int> sectionLines;  // 'S', 'G', 'D', 'P', 'T'
    std::vector<IgesEntity> entities;  // in directory order
    bool wellFormed = true;            // 80 columns, sequence numbers in order
    // The entity of directory pointer d; null when none.
    const IgesEntity* at(int d) const {
        const size_t k = static_cast<size_t>((d - 1) / 2);
        return d > 0 && d % 2 == 1 && k < entities.size() ? &entities[k] : nullptr;
    }
};

inline std::string Field(const std::string& line, int k) {
    std::string f = line.substr(8 * k, 8);
    const size_t a = f.find_first_not_of(' ');
    return a == std::string::npos ? "" : f.substr(a);
}

inline Iges ReadIges(const std::string& path) {
    Iges iges;
    iges.lines = Lines(path);
    std::map<int, std::string> records;  // directory pointer -> parameter text
    std::vector<std::string> dir;
    for (const std::string& l : iges.lines) {
        if (l.size() != 80) {
            iges.wellFormed = false;
            continue;
        }
        const char s = l[72];
        const int seq = std::atoi(l.substr(73).c_str());
        if (seq != ++iges.sectionLines[s]) iges.wellFormed = false;
        if (s == 'D') dir.push_back(l);
        if (s == 'P') records[std::atoi(l.substr(64, 8).c_str())] += l.substr(0, 64);
    }
    for (size_t k = 0; k + 1 < dir.size(); k += 2) {
        IgesEntity e;
        e.directory = static_cast<int>(k) + 1;
        e.type = std::atoi(Field(dir[k], 0).c_str());
        e.parameterPointer = std::atoi(Field(dir[k], 1).c_str());
        e.level = Field(dir[k], 4);
        e.status = Field(dir[k], 8);
        e.parameterLines = std::atoi(Field(dir[k + 1], 3).c_str());
        std::string rec = records[e.directory];
        std::string item;
        for (char c : rec) {
            if (c == ',' || c == ';') {
                const size_t a = item.find_first_not_of(' ');
                e.params.push_back(a == std::string::npos ? "" : item.substr(a));
                item.clear();
                if (c == ';') break;
            } else {
                item += c;
            }
        }
        iges.entities.push_back(e);
    }
    return iges;
}

}  // namespace exportread

#endif  // PLYSTRAND_TESTS_SUPPORT_EXPORTREAD_H
