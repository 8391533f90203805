#include "layuplib/number_text.h"

#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <system_error>

char* FormatG8(char* out, double value) {
    // to_chars in general form at a given precision is "%.*g" by definition;
    // only the letters (exponent, inf, nan) differ from "%G".
    char* const end =
        std::to_chars(out, out + NUMBER_TEXT_MAX, value, std::chars_format::general, 8).ptr;
    for (char* p = out; p != end; ++p)
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    return end;
}

char* FormatInt(char* out, int value) {
    // Digits counted first, then written from the last one back.
    unsigned v = static_cast<unsigned>(value);
    if (value < 0) {
        *out++ = '-';
        v = 0u - v;
    }
    unsigned digits = 1;
    for (unsigned t = v; t >= 10; t /= 10) ++digits;
    char* const end = out + digits;
    char* p = end;
    do {
        *--p = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    return end;
}

char* FormatInt03(char* out, int value) {
    char digits[12];
    char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    const char* first = digits;
    if (*first == '-') *out++ = *first++;
    for (long pad = 3 - (end - first) - (value < 0 ? 1 : 0); pad > 0; --pad) *out++ = '0';
    std::memcpy(out, first, static_cast<size_t>(end - first));
    return out + (end - first);
}

bool ParseReal(const char* text, size_t length, double& out) {
    if (length == 0) return false;
    const std::from_chars_result r = std::from_chars(text, text + length, out);
    if (r.ec == std::errc() && r.ptr == text + length) return true;
    // What from_chars leaves (a leading '+', hexadecimal, out of range)
    // reads as before.
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end == text + length;
}

bool ParseInt(const char* text, size_t length, int& out) {
    size_t i = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i == length) return false;
    long long v = 0;
    for (; i < length; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

NumberLine::NumberLine(char* buffer, size_t size)
    : m_begin(buffer), m_pos(buffer && size > 0 ? buffer : nullptr), m_end(buffer + size) {
    if (m_pos) *m_pos = '\0';
}

void NumberLine::Put(const char* text, size_t n) {
    if (!m_pos) return;
    if (static_cast<size_t>(m_end - m_pos) <= n) {
        *m_begin = '\0';
        m_pos = nullptr;
        return;
    }
    std::memcpy(m_pos, text, n);
    m_pos += n;
    *m_pos = '\0';
}

NumberLine& NumberLine::CodeSlow(int code) {
    char text[12];
    Put(text, static_cast<size_t>(FormatInt03(text, code) - text));
    return *this;
}

NumberLine& NumberLine::IntSlow(int value) {
    char text[13];
    text[0] = ' ';
    Put(text, static_cast<size_t>(FormatInt(text + 1, value) - text));
    return *this;
}

NumberLine& NumberLine::RealSlow(double value) {
    char text[NUMBER_TEXT_MAX + 1];
    text[0] = ' ';
    Put(text, static_cast<size_t>(FormatG8(text + 1, value) - text));
    return *this;
}

NumberLine& NumberLine::Text(const char* text) {
    Put(" ", 1);
    if (text) Put(text, std::strlen(text));
    return *this;
}

NumberLine& NumberLine::Raw(const char* text, size_t length) {
    Put(text, length);
    return *this;
}
