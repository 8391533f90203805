#ifndef PLYSTRAND_LAYUPLIB_NUMBER_TEXT_H
#define PLYSTRAND_LAYUPLIB_NUMBER_TEXT_H

// Numbers to text and back for the layup file, without printf or scanf:
// the writer formats every number field through FormatG8 / FormatInt, the
// reader parses every field through ParseReal / ParseInt. Nothing here
// allocates.

#include <climits>
#include <cstddef>

// Room FormatG8 ever needs: "-1.2345678E-308" is 15 characters.
constexpr size_t NUMBER_TEXT_MAX = 24;

// Writes `value` at `out` as printf "%.8G" does in the C locale (8
// significant digits, trailing zeros dropped, exponent form below 1E-4 and
// from 1E+8 on, "INF", "-INF", "NAN", "-NAN"); no terminator. `out` must
// have NUMBER_TEXT_MAX bytes. Returns the end of the text.
char* FormatG8(char* out, double value);

// Writes `value` at `out` as "%d" does; no terminator. `out` must have 12
// bytes. Returns the end of the text.
char* FormatInt(char* out, int value);

// Writes `value` as "%03d" does (at least three digits, zero-padded after a
// sign); no terminator. `out` must have 12 bytes. Returns the end.
char* FormatInt03(char* out, int value);

// The token [text, text + length) as a real, accepting exactly the tokens
// strtod reads whole ("%lg" without its leniency). Out-of-range magnitudes
// read as strtod gives them (infinity or a zero / subnormal). The byte at
// text + length must not continue a number (a blank or the terminator):
// the strtod fallback reads up to it. false when the token is not a whole
// number; `out` is then unspecified.
bool ParseReal(const char* text, size_t length, double& out);

// The token [text, text + length) as an int: an optional sign and decimal
// digits only, in int range. false otherwise (`out` unchanged). Inline: it
// runs for most fields of a file.
inline bool ParseInt(const char* text, size_t length, int& out) {
    size_t i = 0;
    const bool negative = length > 0 && text[0] == '-';
    if (length > 0 && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i == length) return false;
    long long v = 0;
    for (; i < length; ++i) {
        const unsigned digit = static_cast<unsigned>(text[i] - '0');
        if (digit > 9) return false;
        v = v * 10 + digit;
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    out = static_cast<int>(v);
    return true;
}

// Record lines under construction: the fields of layup-file lines,
// separated by one blank, in a caller's buffer, kept terminated. Each
// append checks the room left (the terminator included); text that does
// not fit fails the whole line and leaves the buffer "".
class NumberLine {
  public:
    // Writes into [buffer, buffer + size); `size` counts the terminator.
    NumberLine(char* buffer, size_t size);

    // The record code as "%03d", first on the line.
    NumberLine& Code(int code) {
        if (code >= 0 && code <= 999 && Room(4)) {
            m_pos[0] = static_cast<char>('0' + code / 100);
            m_pos[1] = static_cast<char>('0' + code / 10 % 10);
            m_pos[2] = static_cast<char>('0' + code % 10);
            m_pos[3] = '\0';
            m_pos += 3;
            return *this;
        }
        return CodeSlow(code);
    }
    // " %d".
    NumberLine& Int(int value) {
        if (!Room(14)) return IntSlow(value);
        *m_pos = ' ';
        m_pos = FormatInt(m_pos + 1, value);
        *m_pos = '\0';
        return *this;
    }
    // " %.8G".
    NumberLine& Real(double value) {
        if (!Room(NUMBER_TEXT_MAX + 2)) return RealSlow(value);
        *m_pos = ' ';
        m_pos = FormatG8(m_pos + 1, value);
        *m_pos = '\0';
        return *this;
    }
    // " " and the text (null counts as "").
    NumberLine& Text(const char* text);
    // The characters as they are, no blank before.
    NumberLine& Raw(const char* text, size_t length);
    // The line feed that ends a record.
    NumberLine& End() {
        if (Room(2)) {
            m_pos[0] = '\n';
            m_pos[1] = '\0';
            ++m_pos;
            return *this;
        }
        return Raw("\n", 1);
    }

    // Characters written, the terminator not counted; -1 once something did
    // not fit (or for a null or empty buffer).
    int Length() const { return m_pos ? static_cast<int>(m_pos - m_begin) : -1; }

  private:
    // More than `n` bytes left (and the line not failed).
    bool Room(size_t n) const { return m_pos && static_cast<size_t>(m_end - m_pos) > n; }
    // Copies `n` characters and the terminator; fails the line without room.
    void Put(const char* text, size_t n);
    // The appends near the end of the buffer: through a copy that checks.
    NumberLine& CodeSlow(int code);
    NumberLine& IntSlow(int value);
    NumberLine& RealSlow(double value);

    char* m_begin;
    char* m_pos;  // null once something did not fit
    char* m_end;
};

#endif  // PLYSTRAND_LAYUPLIB_NUMBER_TEXT_H
