#include "layuplib/number_text.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace {

using u128 = unsigned __int128;

constexpr uint64_t kTen7 = 10000000;
constexpr uint64_t kTen8 = 100000000;

u128 PowerOfTen(int k) {
    u128 p = 1;
    while (k-- > 0) p *= 10;
    return p;
}

// a = m 2^e exactly (m < 2^53) times 10^k, rounded to an integer, half to
// even: exact integer arithmetic for the decades the fast path covers
// (-14 <= k <= 22), so that no rounding of binary arithmetic can creep in.
uint64_t ScaledRound(uint64_t m, int e, int k) {
    u128 q, r, den;
    if (k >= 0) {
        // a < 1E+8 here, so e < 0: a shift.
        const u128 num = static_cast<u128>(m) * PowerOfTen(k);
        const int s = -e;
        den = static_cast<u128>(1) << s;
        q = num >> s;
        r = num & (den - 1);
    } else {
        u128 num = m;
        den = PowerOfTen(-k);
        if (e >= 0)
            num <<= e;
        else
            den <<= -e;
        q = num / den;
        r = num % den;
    }
    const u128 twice = r << 1;
    if (twice > den || (twice == den && (q & 1) != 0)) ++q;
    return static_cast<uint64_t>(q);
}

// The eight digits of `digits` (1E+7 <= digits < 1E+8) at decimal exponent
// x, as "%.8G" lays them out after the sign.
char* LayOut(char* out, uint64_t digits, int x) {
    char d[8];
    for (int i = 7; i >= 0; --i) {
        d[i] = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    int last = 8;  // significant digits without trailing zeros
    while (last > 1 && d[last - 1] == '0') --last;
    if (x >= -4 && x < 8) {
        if (x >= 0) {
            for (int i = 0; i <= x; ++i) *out++ = d[i];
            if (last > x + 1) {
                *out++ = '.';
                for (int i = x + 1; i < last; ++i) *out++ = d[i];
            }
        } else {
            *out++ = '0';
            *out++ = '.';
            for (int i = x; i < -1; ++i) *out++ = '0';
            for (int i = 0; i < last; ++i) *out++ = d[i];
        }
        return out;
    }
    *out++ = d[0];
    if (last > 1) {
        *out++ = '.';
        for (int i = 1; i < last; ++i) *out++ = d[i];
    }
    *out++ = 'E';
    *out++ = x < 0 ? '-' : '+';
    const int ax = x < 0 ? -x : x;
    if (ax >= 100) *out++ = static_cast<char>('0' + ax / 100);
    *out++ = static_cast<char>('0' + ax / 10 % 10);
    *out++ = static_cast<char>('0' + ax % 10);
    return out;
}

}  // namespace

char* FormatG8(char* out, double value) {
    const double a = std::fabs(value);
    if (a >= 1e-14 && a < 1e21) {
        // Exact: a = m 2^e with m of 53 bits.
        int e2 = 0;
        const double fraction = std::frexp(a, &e2);  // a = fraction 2^e2, fraction in [0.5, 1)
        const uint64_t m = static_cast<uint64_t>(std::ldexp(fraction, 53));
        const int e = e2 - 53;
        // Decimal exponent: floor((e2 - 1) log10 2) is x or x - 1.
        int x = ((e2 - 1) * 78913) >> 18;
        uint64_t digits = ScaledRound(m, e, 7 - x);
        if (digits >= kTen8) {
            // Either the estimate was one low, or rounding carried to 1E+8;
            // the scaled value at the next decade settles both.
            ++x;
            digits = ScaledRound(m, e, 7 - x);
            if (digits >= kTen8) {
                ++x;
                digits = kTen7;
            }
        }
        if (std::signbit(value)) *out++ = '-';
        return LayOut(out, digits, x);
    }
    // Zeros, the far decades, infinities and NaNs: to_chars in general form
    // at a given precision is "%.*g" by definition; only the letters
    // (exponent, inf, nan) differ from "%G".
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

namespace {

// Exact powers of ten as doubles.
const double kExactPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Plain decimals of at most 15 significant digits and a small decimal
// exponent, as "-0.00012345679" or "1.5E+08": the digits are an exact
// double w and 10^|e| is exact, so one multiplication or division, correctly
// rounded, gives exactly what strtod gives. false for anything else (the
// caller takes the general path).
bool ParseSimpleReal(const char* p, const char* end, double& out) {
    bool negative = false;
    if (p < end && *p == '-') {
        negative = true;
        ++p;
    }
    uint64_t w = 0;
    int significant = 0, exponent = 0;
    bool any = false;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        any = true;
        if (w == 0 && *p == '0') continue;
        w = 10 * w + static_cast<uint64_t>(*p - '0');
        ++significant;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && *p >= '0' && *p <= '9'; ++p) {
            any = true;
            --exponent;
            if (w == 0 && *p == '0') continue;
            w = 10 * w + static_cast<uint64_t>(*p - '0');
            ++significant;
        }
    }
    if (!any || significant > 15) return false;
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        bool minus = false;
        if (p < end && (*p == '-' || *p == '+')) minus = *p++ == '-';
        if (p == end) return false;
        int e = 0;
        for (; p < end && *p >= '0' && *p <= '9'; ++p) {
            if (e > 1000) return false;
            e = 10 * e + (*p - '0');
        }
        exponent += minus ? -e : e;
    }
    if (p != end || exponent < -22 || exponent > 22) return false;
    double v = static_cast<double>(w);
    v = exponent < 0 ? v / kExactPowers[-exponent] : v * kExactPowers[exponent];
    out = negative ? -v : v;
    return true;
}

}  // namespace

bool ParseReal(const char* text, size_t length, double& out) {
    if (length == 0) return false;
    if (ParseSimpleReal(text, text + length, out)) return true;
    const std::from_chars_result r = std::from_chars(text, text + length, out);
    if (r.ec == std::errc() && r.ptr == text + length) return true;
    // What from_chars leaves (a leading '+', hexadecimal, out of range)
    // reads as before.
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end == text + length;
}

NumberLine::NumberLine(char* buffer, size_t size)
    // A null buffer only sizes the record: no end pointer is formed from it.
    : m_begin(buffer),
      m_pos(buffer && size > 0 ? buffer : nullptr),
      m_end(buffer ? buffer + size : nullptr) {
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
