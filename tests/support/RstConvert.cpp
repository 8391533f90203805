#include "tests/support/RstConvert.h"

#include <algorithm>
#include <cstdint>

namespace rstfile {

namespace {

uint32_t Load(const std::string& s, size_t at, bool big) {
    const auto* p = reinterpret_cast<const unsigned char*>(s.data() + at);
    return big ? (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]
               : (uint32_t(p[3]) << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

// Copies `n` bytes from `at`, each unit of `unit` bytes reversed.
void Swapped(const std::string& in, size_t at, size_t n, size_t unit, std::string& out) {
    for (size_t u = 0; u < n; u += unit) {
        std::string piece = in.substr(at + u, unit);
        std::reverse(piece.begin(), piece.end());
        out += piece;
    }
}

void PutWord(std::string& out, size_t at, int32_t value, bool big) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<char>(big ? v >> (24 - 8 * i) : v >> (8 * i));
}

bool Fail(std::string* why, const std::string& text) {
    if (why) *why = text;
    return false;
}

bool Convert(const std::string& in, std::string& out, bool fromBig, int formatWord,
             std::string* why) {
    out.clear();
    out.reserve(in.size());
    size_t at = 0;
    bool first = true;
    while (at + 4 <= in.size()) {
        const auto length = static_cast<int32_t>(Load(in, at, fromBig));
        if (length == -1) break;  // end of the records
        const std::string where = " (record at byte " + std::to_string(at) + ")";
        if (length < 0 || at + 8 > in.size()) return Fail(why, "bad length" + where);
        const uint32_t flags = Load(in, at + 4, fromBig);
        const size_t bytes = size_t(length) * 4;
        if (at + 12 + bytes > in.size()) return Fail(why, "record passes the end" + where);
        if (static_cast<int32_t>(Load(in, at + 8 + bytes, fromBig)) != length)
            return Fail(why, "footer differs" + where);
        if (flags & 0x38000000u) return Fail(why, "compressed record" + where);
        size_t unit = 8;
        if ((flags & 0xC0000000u) == 0xC0000000u)
            unit = 2;
        else if (flags & 0xC0000000u)
            unit = 4;
        if (bytes % unit != 0) return Fail(why, "data not whole values" + where);
        const size_t start = out.size();
        Swapped(in, at, 8, 4, out);
        Swapped(in, at + 8, bytes, unit, out);
        Swapped(in, at + 8 + bytes, 4, 4, out);
        if (first) {
            if (length < 2) return Fail(why, "standard header too short");
            PutWord(out, start + 12, formatWord, !fromBig);
            first = false;
        }
        at += 12 + bytes;
    }
    // The end marker and what follows it, as words.
    const size_t words = (in.size() - at) / 4 * 4;
    Swapped(in, at, words, 4, out);
    out.append(in, at + words, std::string::npos);
    return true;
}

}  // namespace

bool ToExternal(const std::string& internal, std::string& external, std::string* why) {
    return Convert(internal, external, false, 1, why);
}

bool ToInternal(const std::string& external, std::string& internal, int formatWord,
                std::string* why) {
    return Convert(external, internal, true, formatWord, why);
}

}  // namespace rstfile
