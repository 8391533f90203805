#ifndef PLYSTRAND_LAYUPLIB_READ_LYP_TOKENS_H
#define PLYSTRAND_LAYUPLIB_READ_LYP_TOKENS_H

// The blank-separated tokens of a layup file line, for the reader and its
// read-ahead.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lyp_tokens {

// The blanks of "%s" in the C locale; every byte above ' ' is none.
inline bool IsBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ' && (c == ' ' || (c >= '\t' && c <= '\r'));
}

#if defined(__SSE2__)
// Bit i set when p[i] is a blank (IsBlank), for 16 bytes.
inline uint32_t BlankBits16(const char* p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i space = _mm_cmpeq_epi8(v, _mm_set1_epi8(' '));
    // '\t'..'\r': c - 9 taken unsigned is at most 4.
    const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8(9));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(4)), d);
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(space, control)));
}

inline uint64_t BlankBits64(const char* p) {
    return static_cast<uint64_t>(BlankBits16(p)) |
           static_cast<uint64_t>(BlankBits16(p + 16)) << 16 |
           static_cast<uint64_t>(BlankBits16(p + 32)) << 32 |
           static_cast<uint64_t>(BlankBits16(p + 48)) << 48;
}

// BlankBits64 of the last, short chunk text[base, size) (fewer than 64
// bytes), every position past the text a blank. The partial lane is loaded
// so that it ends at the text's end rather than copied out: a copy read
// back at once as one vector would stall on the store.
inline uint64_t TailBlankBits(const char* text, size_t base, size_t size) {
    const size_t rest = size - base;
    uint64_t blank = ~0ull << rest;
    size_t lane = 0;
    for (; lane + 16 <= rest; lane += 16)
        blank |= static_cast<uint64_t>(BlankBits16(text + base + lane)) << lane;
    const size_t part = rest - lane;
    if (part == 0) return blank;
    uint32_t bits;
    if (size >= 16) {
        bits = BlankBits16(text + size - 16) >> (16 - part);
    } else {
        char padded[16];
        std::memset(padded, ' ', sizeof padded);
        std::memcpy(padded, text + base + lane, part);
        bits = BlankBits16(padded);
    }
    bits &= (1u << part) - 1;
    return blank | static_cast<uint64_t>(bits) << lane;
}
#endif

// The blank-separated tokens of text[0, size) as (begin, length). The
// tokens of a record line are short and of every length, so a byte by
// byte scan mispredicts at nearly every token edge: the edges are found
// 64 bytes at a time from a mask of the blanks instead.
inline void SplitTokens(const char* text, size_t size,
                        std::vector<std::pair<size_t, size_t>>& tokens) {
    tokens.clear();
#if defined(__SSE2__)
    size_t begin = 0;
    uint64_t carry = 0;  // 1 when the byte before the chunk is a token's
    for (size_t base = 0; base < size; base += 64) {
        uint64_t blank;
        if (size - base >= 64) {
            blank = BlankBits64(text + base);
        } else {
            blank = TailBlankBits(text, base, size);
        }
        const uint64_t solid = ~blank;
        const uint64_t before = solid << 1 | carry;
        uint64_t starts = solid & ~before;
        uint64_t ends = blank & before;
        carry = solid >> 63;
        // Starts and ends alternate; an end in this chunk closes the token
        // begun at `begin`, which may lie in an earlier chunk.
        while (starts | ends) {
            const uint64_t s = starts ? starts & (~starts + 1) : 0;
            const uint64_t e = ends ? ends & (~ends + 1) : 0;
            if (e && (!s || e < s)) {
                const size_t at = base + static_cast<size_t>(__builtin_ctzll(e));
                tokens.emplace_back(begin, at - begin);
                ends ^= e;
            } else {
                begin = base + static_cast<size_t>(__builtin_ctzll(s));
                starts ^= s;
            }
        }
    }
    // A token that runs to a chunk edge at the very end of the text.
    if (carry && size % 64 == 0) tokens.emplace_back(begin, size - begin);
#else
    const char* const end = text + size;
    for (const char* p = text; p < end;) {
        while (p < end && IsBlank(*p)) ++p;
        if (p == end) break;
        const char* const first = p;
        while (p < end && !IsBlank(*p)) ++p;
        tokens.emplace_back(static_cast<size_t>(first - text), static_cast<size_t>(p - first));
    }
#endif
}

// The blanks of a line shorter than 64 bytes as bits, the positions past
// its end set too. Reads 64 bytes from `text` (the line's padding keeps
// them readable).
inline uint64_t ShortBlankBits(const char* text, size_t size) {
#if defined(__SSE2__)
    return BlankBits64(text) | ~0ull << size;
#else
    uint64_t blank = ~0ull << size;
    for (size_t i = 0; i < size; ++i)
        if (IsBlank(text[i])) blank |= 1ull << i;
    return blank;
#endif
}

// The first `cap` tokens of a line shorter than 64 bytes into `tokens`
// (begin, length); the number found. Reads 64 bytes from `text` (the
// line's padding keeps them readable). With `more` given, it is set when
// the line holds further tokens past `cap`.
inline size_t ShortTokens(const char* text, size_t size, std::pair<size_t, size_t>* tokens,
                          size_t cap, bool* more = nullptr) {
    // One mask of the line's blanks: every token then starts at a set bit
    // of `starts` and ends at the matching one of `ends`, found without a
    // branch per byte.
    const uint64_t blank = ShortBlankBits(text, size);
    const uint64_t solid = ~blank;
    uint64_t starts = solid & ~(solid << 1);
    uint64_t ends = blank & solid << 1;
    size_t n = 0;
    while (starts && n < cap) {
        const size_t b = static_cast<size_t>(__builtin_ctzll(starts));
        const size_t e = static_cast<size_t>(__builtin_ctzll(ends));
        tokens[n].first = b;
        tokens[n].second = e - b;
        ++n;
        starts &= starts - 1;
        ends &= ends - 1;
    }
    if (more) *more = starts != 0;
    return n;
}

}  // namespace lyp_tokens

#endif  // PLYSTRAND_LAYUPLIB_READ_LYP_TOKENS_H
