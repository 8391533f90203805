#include "platform/PlatDirSearch.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

struct PlatDirSearch {
    std::string prefix;              // directory part of the pattern, with its '/'
    std::vector<std::string> names;  // matches, sorted
    std::size_t next = 0;            // index of the match PlatFindNext reports
};

namespace {

// Only '*' and '?' are wildcards here; fnmatch would also read '[' and '\\'
// as special, so those are escaped to stand for themselves.
std::string escapeMask(const std::string& mask) {
    std::string out;
    out.reserve(mask.size());
    for (char c : mask) {
        if (c == '[' || c == ']' || c == '\\') out += '\\';
        out += c;
    }
    return out;
}

// Fills the record from the entry's status; an entry whose status cannot be
// read (a dangling link, say) is reported as a plain empty file.
void fillRecord(const std::string& prefix, const std::string& name, PlatFindRecord* record) {
    std::string path = prefix + name;
    struct stat st;
    bool known = stat(path.c_str(), &st) == 0 || lstat(path.c_str(), &st) == 0;
    record->name = name;
    record->attributes = (known && S_ISDIR(st.st_mode)) ? kPlatAttrDirectory : 0u;
    record->sizeLow = (known && !S_ISDIR(st.st_mode))
                          ? static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size))
                          : 0u;
}

bool collect(const std::string& pattern, PlatDirSearch* search) {
    std::size_t slash = pattern.rfind('/');
    std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (mask.empty()) return false;
    search->prefix = slash == std::string::npos ? std::string() : pattern.substr(0, slash + 1);

    // 1. A mask without wildcard names one entry.
    if (mask.find_first_of("*?") == std::string::npos) {
        struct stat st;
        if (stat(pattern.c_str(), &st) != 0 && lstat(pattern.c_str(), &st) != 0) return false;
        search->names.push_back(mask);
        return true;
    }

    // 2. Otherwise read the directory and keep the matching names.
    std::string dir = search->prefix.empty() ? std::string(".") : search->prefix;
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    std::string fnmask = escapeMask(mask);
    try {
        while (struct dirent* e = readdir(d)) {
            if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
            if (fnmatch(fnmask.c_str(), e->d_name, 0) == 0) search->names.emplace_back(e->d_name);
        }
    } catch (...) {
        closedir(d);
        throw;
    }
    closedir(d);

    // 3. Directory order is not defined; sort so that every host lists alike.
    std::sort(search->names.begin(), search->names.end());
    return !search->names.empty();
}

}  // namespace

PlatDirSearch* PlatFindFirst(const char* pattern, PlatFindRecord* record) {
    if (!pattern || !record) return nullptr;
#ifdef PATH_MAX
    if (std::strlen(pattern) >= PATH_MAX) return nullptr;
#endif
    try {
        std::unique_ptr<PlatDirSearch> search(new PlatDirSearch);
        if (!collect(pattern, search.get())) return nullptr;
        fillRecord(search->prefix, search->names[0], record);
        search->next = 1;
        return search.release();
    } catch (...) {
        return nullptr;
    }
}

int PlatFindNext(PlatDirSearch* search, PlatFindRecord* record) {
    if (!search || !record || search->next >= search->names.size()) return 1;
    try {
        fillRecord(search->prefix, search->names[search->next], record);
    } catch (...) {
        return 1;
    }
    ++search->next;
    return 0;
}

void PlatFindClose(PlatDirSearch* search) {
    delete search;
}
