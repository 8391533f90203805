#ifndef PLYSTRAND_LAYUPLIB_READ_LYP_NUMBERS_H
#define PLYSTRAND_LAYUPLIB_READ_LYP_NUMBERS_H

// The number fields of the layup file reader: ParseInt and ParseReal
// (layuplib/number_text.h) with a faster path for the short tokens the
// writer produces. Same results, same failures: every token the fast path
// does not take goes to ParseInt / ParseReal.
//
// Both read up to 40 bytes from `text` whatever `length` is: the caller
// keeps them readable (read_lypline's padding does). The byte at
// text + length must not continue a number, as for ParseReal.

#include <cstdint>
#include <cstring>

#include "layuplib/number_text.h"

#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
#include <emmintrin.h>
#define PLYSTRAND_LYP_FAST_NUMBERS 1
#endif

namespace lyp_numbers {

#if defined(PLYSTRAND_LYP_FAST_NUMBERS)

// The value of `count` (0..8) decimal digits at `text`, which the caller
// has checked; 8 bytes are read. The digits go to the top of a word below
// '0' bytes as leading zeros and are combined in three multiplications.
inline uint32_t EightDigits(const char* text, unsigned count) {
    uint64_t raw;
    std::memcpy(&raw, text, 8);
    const unsigned shift = 8 * (8 - count);
    uint64_t v = shift == 64 ? 0 : raw << shift;
    v |= shift == 0 ? 0 : 0x3030303030303030ull >> (64 - shift);
    v -= 0x3030303030303030ull;
    v = v * 10 + (v >> 8);
    v = ((v & 0x000000FF000000FFull) * (100 + (1000000ull << 32)) +
         ((v >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32))) >>
        32;
    return static_cast<uint32_t>(v);
}

// The value of `count` (0..16) checked decimal digits at `text`.
inline uint64_t SixteenDigits(const char* text, unsigned count) {
    if (count <= 8) return EightDigits(text, count);
    return EightDigits(text, count - 8) * 100000000ull + EightDigits(text + count - 8, 8);
}

// Bit i set when text[i] is a decimal digit, for 16 bytes.
inline unsigned DigitBits(__m128i v) {
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
    return static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d)));
}

inline unsigned EqualBits(__m128i v, char c) {
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(c))));
}

#endif

// ParseInt of the token [text, text + length).
inline bool ReadInt(const char* text, size_t length, int& out) {
#if defined(PLYSTRAND_LYP_FAST_NUMBERS)
    // Up to 8 digits without a sign: never out of int range.
    if (length - 1 < 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
        const unsigned want = (1u << length) - 1;
        if ((DigitBits(v) & want) == want) {
            out = static_cast<int>(EightDigits(text, static_cast<unsigned>(length)));
            return true;
        }
    }
#endif
    return ParseInt(text, length, out);
}

// ParseReal of the token [text, text + length).
inline bool ReadReal(const char* text, size_t length, double& out) {
#if defined(PLYSTRAND_LYP_FAST_NUMBERS)
    // [-]digits[.digits][E[+-]digits] of at most 16 bytes after the sign
    // (so at most 15 digits), a decimal exponent within 10^±22.
    // The digits then make an exact double w and 10^|e| is exact, so one
    // correctly rounded multiplication or division gives what ParseReal
    // gives.
    static const double kPowers[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                       1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    // clang-format off
    static const uint64_t kScale[16] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                        100000000, 1000000000, 10000000000, 100000000000,
                                        1000000000000, 10000000000000, 100000000000000,
                                        1000000000000000};
    // clang-format on
    const char* p = text;
    size_t n = length;
    const bool negative = n > 0 && *p == '-';
    if (negative) {
        ++p;
        --n;
    }
    if (n - 1 < 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned all = (1u << n) - 1;
        const unsigned digits = DigitBits(v) & all;
        const unsigned es = (EqualBits(v, 'E') | EqualBits(v, 'e')) & all;
        // The mantissa: up to the first E.
        const unsigned epos =
            es ? static_cast<unsigned>(__builtin_ctz(es)) : static_cast<unsigned>(n);
        const unsigned mant = (1u << epos) - 1;
        const unsigned dots = EqualBits(v, '.') & mant;
        const unsigned dpos = dots ? static_cast<unsigned>(__builtin_ctz(dots)) : epos;
        const unsigned whole = dpos;                              // digits before the point
        const unsigned frac = dpos < epos ? epos - dpos - 1 : 0;  // after it
        // Every byte of the mantissa a digit or its one point; a digit at
        // least.
        bool ok = (dots & (dots - 1)) == 0 && ((digits | dots) & mant) == mant && whole + frac > 0;
        int exponent = 0;
        if (ok && epos < n) {
            // The exponent: a sign, then 1 to 3 digits to the token's end.
            unsigned at = epos + 1;
            bool minus = false;
            if (at < n && (p[at] == '-' || p[at] == '+')) minus = p[at++] == '-';
            const unsigned count = static_cast<unsigned>(n) - at;
            const unsigned want = ((1u << count) - 1) << at;
            ok = count >= 1 && count <= 3 && (digits & want) == want;
            if (ok) {
                const int e = static_cast<int>(EightDigits(p + at, count));
                exponent = minus ? -e : e;
            }
        }
        if (ok) {
            // At most 16 digits: no overflow.
            const uint64_t w =
                SixteenDigits(p, whole) * kScale[frac] + SixteenDigits(p + dpos + 1, frac);
            exponent -= static_cast<int>(frac);
            if (w < 1000000000000000ull && exponent >= -22 && exponent <= 22) {
                double d = static_cast<double>(w);
                d = exponent < 0 ? d / kPowers[-exponent] : d * kPowers[exponent];
                out = negative ? -d : d;
                return true;
            }
        }
    }
#endif
    return ParseReal(text, length, out);
}

}  // namespace lyp_numbers

#endif  // PLYSTRAND_LAYUPLIB_READ_LYP_NUMBERS_H
