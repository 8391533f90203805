#include "layuplib/CPLPath.h"

#include <cstring>

#include "layuplib/CPLString.h"

int CPLPath::GetFilenamePos(const char* path) {
    if (!path) return -1;
    int pos = -1;
    for (int i = 0; path[i]; ++i)
        if (path[i] == '\\' || path[i] == '/') pos = i;
    return pos;
}

int CPLPath::GetPath(const char* path, char* out) {
    if (!path || !out) return 1;
    int pos = GetFilenamePos(path);
    int n = pos > 0 ? pos : 0;
    std::memcpy(out, path, static_cast<size_t>(n));
    out[n] = '\0';
    return 0;
}

int CPLPath::GetFilename(const char* path, char* out) {
    if (!path || !out) return 1;
    const char* name = path + GetFilenamePos(path) + 1;
    std::memcpy(out, name, std::strlen(name) + 1);
    return 0;
}

int CPLPath::GetFilename(const char* path, CPLString& out) {
    if (!path) return 1;
    out = path + GetFilenamePos(path) + 1;
    return 0;
}

int CPLPath::GetExtension(char* path, char*& ext) {
    if (!path) return 1;
    char* dot = std::strrchr(path, '.');
    ext = dot ? dot + 1 : path;
    return 0;
}

int CPLPath::GetExtension(const char* path, CPLString& out) {
    if (!path) return 1;
    const char* dot = std::strrchr(path, '.');
    out = dot ? dot + 1 : path;
    return 0;
}
