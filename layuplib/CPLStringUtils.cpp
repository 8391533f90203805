#include "layuplib/CPLStringUtils.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

char* CPLStringUtils::StrDup(const char* s) {
    if (!s) s = "";
    size_t n = std::strlen(s) + 1;
    char* copy = static_cast<char*>(std::malloc(n));
    if (copy) std::memcpy(copy, s, n);
    return copy;
}

int CPLStringUtils::StrICmp(const char* a, const char* b) {
    if (!a || !b) return 1;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b);
    while (*p && std::tolower(*p) == std::tolower(*q)) {
        ++p;
        ++q;
    }
    if (std::tolower(*p) == std::tolower(*q)) return 0;
    return static_cast<int>(*p) - static_cast<int>(*q);
}

int CPLStringUtils::IsNumber(const char* s) {
    if (!s) return 0;
    for (; *s; ++s) {
        unsigned char c = static_cast<unsigned char>(*s);
        if (!std::isdigit(c) && !std::strchr("Ee-.+ ", c)) return 0;
    }
    return 1;
}

int CPLStringUtils::RemoveString(char* text, const char* part) {
    if (!text || !part) return 1;
    char* hit = std::strstr(text, part);
    if (!hit) return 1;
    size_t n = std::strlen(part);
    std::memmove(hit, hit + n, std::strlen(hit + n) + 1);
    return 0;
}

void CPLStringUtils::MakePathPlatformSafe(char* path, int toSlash) {
    if (!path) return;
    char from = toSlash ? '\\' : '/';
    char to = toSlash ? '/' : '\\';
    for (; *path; ++path)
        if (*path == from) *path = to;
}
