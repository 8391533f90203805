#include "fileformats/fixed_text.h"

#include <charconv>
#include <cmath>
#include <cstdint>

char* FormatFixed6(char* out, double value) {
    const double a = std::fabs(value);
    // Below 1e9 the scaled value stays under 2^53, and its exact value is
    // hi + lo: Dekker's product with a split into halves of 26 bits (1e6
    // needs no split, it has 14 significant bits).
    if (!(a < 1e9)) return std::to_chars(out, out + FIXED6_TEXT_MAX, value,
                                         std::chars_format::fixed, 6).ptr;
    const double hi = a * 1e6;
    const double t = a * 134217729.0;  // 2^27 + 1
    const double aHigh = t - (t - a);
    const double aLow = a - aHigh;
    const double lo = (aHigh * 1e6 - hi) + aLow * 1e6;
    const double whole = std::floor(hi);
    const double fraction = hi - whole;  // exact: a multiple of hi's unit
    // Round half to even on the exact value, as printf does. fraction is on
    // a grid of at most 1/8 that holds 0.5, and |lo| is at most half a grid
    // step: only a fraction of exactly 0.5 needs lo's sign.
    std::uint64_t n = static_cast<std::uint64_t>(whole);
    if (fraction > 0.5 || (fraction == 0.5 && (lo > 0.0 || (lo == 0.0 && (n & 1u)))))
        ++n;
    if (std::signbit(value)) *out++ = '-';
    const std::uint64_t integer = n / 1000000u;
    std::uint32_t decimals = static_cast<std::uint32_t>(n % 1000000u);
    out = std::to_chars(out, out + 12, integer).ptr;
    *out++ = '.';
    for (int k = 5; k >= 0; --k) {
        out[k] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
    }
    return out + 6;
}
