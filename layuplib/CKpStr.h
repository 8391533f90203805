#ifndef PLYSTRAND_LAYUPLIB_CKPSTR_H
#define PLYSTRAND_LAYUPLIB_CKPSTR_H

#include "layuplib/CVekTemplateArray.h"

// CKpStr: the model's byte string: names, file names, message texts, pieces
// of comma-separated values.
//
// The text ends in a zero byte and lives in a buffer from malloc/realloc. A
// string never assigned has no buffer at all (Buffer() is null), which some
// comparisons tell apart from the empty text.
//
// Growth rule, used by every operation that stores text (callers can observe
// the capacity through how often the buffer moves): with no buffer, exactly
// the needed number of characters is allocated; when the needed length is not
// below the capacity, the capacity becomes old capacity + needed + 80; else
// the buffer is kept. The buffer never shrinks except through Clear. A
// request whose capacity would pass INT_MAX, or whose allocation fails,
// leaves the string unchanged.
//
// The length is cached; a cached 0 means "not counted" and is recounted up to
// the terminator when needed, so that text written straight into Buffer()
// after Size(n) gets its true length.
class CKpStr {
  public:
    // No buffer; length and capacity 0.
    CKpStr();
    // As operator=(text).
    CKpStr(const char* text);
    // Assigns the other's text, or "" when it has none.
    CKpStr(const CKpStr& other);
    // Frees the buffer.
    virtual ~CKpStr();

    // Assigning the string's own buffer does nothing; null frees the buffer
    // (length and capacity 0); "" leaves a buffer holding "" (growth rule with
    // one character needed); any other text is copied with its terminator.
    CKpStr& operator=(const char* text);
    // Assigns the other's text, or "" when the other has no buffer.
    CKpStr& operator=(const CKpStr& other);

    // Copies exactly n bytes of `text` (which must hold them) and terminates
    // them; length n. A null text or n <= 0 assigns "".
    void Set(const char* text, int n);

    // Frees the buffer; length and capacity 0.
    void Clear();

    // Number of characters before the terminator (0 without a buffer).
    int Size() const;

    // Makes room for n characters by the growth rule and writes a terminator
    // at position n, so that the caller may write up to n characters straight
    // into Buffer(); the length is counted again on its next use. Returns 0,
    // or -1 for a negative n or when the buffer cannot grow (no change).
    int Size(int n);

    // The buffer (null when there is none); writable up to the capacity.
    char* Buffer() { return m_buffer; }
    const char* Buffer() const { return m_buffer; }

    // The text, or "" when there is no buffer.
    operator const char*() const { return m_buffer ? m_buffer : ""; }

    // Append. A null or empty text does nothing; the char '\0' does nothing.
    CKpStr& operator+=(const char* text);
    CKpStr& operator+=(const CKpStr& other);
    CKpStr& operator+=(char ch);
    // Appends the number formatted with "%d".
    CKpStr& operator+=(int value);
    // Appends the number formatted with "%G" (0.5 gives "0.5", 1e-07 "1E-07").
    CKpStr& operator+=(double value);

    // A null `text` equals only a string without a buffer; a string without a
    // buffer equals no non-null text; otherwise byte-wise equality (case
    // matters).
    bool operator==(const char* text) const;
    // A string without a buffer equals nothing, not even another string
    // without one; otherwise byte-wise equality with the other's text ("" when
    // it has none).
    bool operator==(const CKpStr& other) const;

    // Position of the first byte equal to (unsigned char)ch at or after
    // `start`; -1 when there is none or `start` is negative or not below the
    // length.
    int Find(int ch, int start) const;

    // The `count` characters from `start` into `out` (which may be this
    // string); a count of -1 takes the rest. Positions outside the text are
    // clamped to it (a negative start to 0, a start past the end or another
    // negative count give ""). Without a buffer `out` becomes "".
    void SubString(CKpStr& out, int start, int count) const;
    CKpStr SubString(int start, int count) const;

    // Converts every character with tolower, in place. No buffer: nothing.
    void ToLower();

    // Only when the text exists and its first or its last character is a
    // blank: strips from both ends every byte whose value as a signed char is
    // at most 32 (control characters, the blank, and the bytes 128..255). A
    // text of blanks only becomes "".
    void Trim();

    // Splits the text at each occurrence of `separator` into new CKpStr
    // pieces appended to `out` (which must own its elements: the pieces are
    // handed over). `out` is emptied first. Every piece between separators is
    // kept, empty ones too, and the text after the last separator is always
    // the last piece ("" gives one empty piece). With `trim` 1 each piece is
    // trimmed. Returns 0; 1 with `out` empty for a null or empty separator, or
    // when a piece cannot be allocated (then `out` holds the pieces so far).
    // A string without a buffer gives 0 with `out` empty.
    int Split(CVekTemplateArray<CKpStr>& out, const char* separator, int trim) const;

  private:
    // Makes room for `needed` characters by the growth rule; false when that
    // is impossible (nothing changed).
    bool Grow(int needed);
    // Offset of `text` inside this buffer, or -1 when it lies elsewhere.
    long long OffsetInBuffer(const char* text) const;
    // Appends n bytes of `text` (which may lie inside this buffer).
    void Append(const char* text, int n);

  protected:
    char* m_buffer;
    mutable int m_length;
    int m_capacity;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSTR_H
