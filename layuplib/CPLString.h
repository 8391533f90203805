#ifndef PLYSTRAND_LAYUPLIB_CPLSTRING_H
#define PLYSTRAND_LAYUPLIB_CPLSTRING_H

class CPLBuffer;
template <class T>
class CTemplateArray;

// Growable zero-terminated byte string of the portability library.
//
// The buffer comes from malloc/realloc and holds capacity + 1 bytes. Growth:
// whenever a needed length is not below the capacity (or there is no buffer
// yet), the capacity becomes grow step (80) + needed length, so a new string
// assigned a 10-character text has capacity 90. The buffer never shrinks
// except through Clear. Allocation failures leave the string unchanged and are
// reported only where an operation returns a status.
class CPLString {
  public:
    // Empty: no buffer, length and capacity 0.
    CPLString();
    // As operator=(text).
    CPLString(const char* text);
    // Takes the other's text, or the empty text when it has no buffer.
    CPLString(const CPLString& other);
    // The buffer's unread bytes (CPLBuffer::Size() from CPLBuffer::GetBuffer())
    // as text, up to the first zero byte among them.
    explicit CPLString(const CPLBuffer& buffer);
    // Frees the buffer.
    virtual ~CPLString();

    // Copies `text` with its terminator. Null counts as the empty text; the
    // empty text keeps (or gets) a buffer holding "". Assigning the string's
    // own buffer does nothing; a text lying inside the own buffer is allowed.
    CPLString& operator=(const char* text);
    // Takes the other's text, or the empty text when it has no buffer.
    CPLString& operator=(const CPLString& other);
    // Frees the buffer; length and capacity 0.
    void Clear();

    // The length; counts up to the terminator when the stored length is 0
    // (text written straight into GetBuffer()). 0 without a buffer.
    int Size() const;
    // Makes room for n characters, writes a terminator at n and sets the
    // length to n, so that n characters can be written into GetBuffer().
    // 0; 1 when n is negative or memory runs out (nothing changed).
    int Size(int n);
    // Recounts the length up to the terminator (0 without a buffer); returns it.
    int UpdateSize();

    // The buffer, null when none.
    char* GetBuffer() { return m_pBuffer; }
    const char* GetBuffer() const { return m_pBuffer; }
    // The text; "" when there is no buffer.
    operator const char*() const { return m_pBuffer ? m_pBuffer : ""; }

    // Appending. A null or empty text appends nothing; appending the string to
    // itself (or a part of its own buffer) is allowed. operator+=(char) with
    // the zero byte appends nothing (the length would disagree with the text).
    // operator+=(int) appends the number in "%d" form.
    CPLString& operator+=(const char* text);
    CPLString& operator+=(const CPLString& other);
    CPLString& operator+=(char ch);
    CPLString& operator+=(int value);
    CPLString& operator<<(const char* text);
    // New strings: this text followed by the other.
    CPLString operator+(const char* text) const;
    CPLString operator+(const CPLString& other) const;

    // 1 when equal, else 0. With a text: 0 when the text is null or this string
    // has no buffer, else byte-wise equality. With a string: 0 when this string
    // has no buffer, else byte-wise equality with the other's text ("" when it
    // has no buffer).
    int operator==(const char* text) const;
    int operator==(const CPLString& other) const;
    // Ordering by the first differing byte (unsigned): -1, 0 or 1. Returns 1
    // when `other` is null or either string has no buffer.
    int Compare(const CPLString* other) const;

    // Position of the first byte equal to `ch`; -1 when absent, when ch is 0 or
    // the string is empty.
    int Find(int ch) const;
    // Position of the first occurrence of `text` (strstr); -1 when absent or
    // either side is null.
    int Find(const char* text) const;
    // How often `ch` occurs (0 for the zero byte).
    int CountTokens(char ch) const;

    // Strip every character whose code, as a signed byte, is at most 32 (the
    // control characters, the blank and the bytes 128..255): Trim at both
    // ends, RTrim at the end only. A string without a buffer stays as it is.
    void Trim();
    void RTrim();
    // Case conversion of every byte (tolower / toupper) in place.
    void ToLower();
    void ToUpper();

    // The `count` characters from `start`; a negative count, or one running
    // past the end, takes the rest. A start outside 0..length gives the empty
    // text.
    CPLString SubString(int start, int count) const;

    // Cuts the text at every occurrence of `separator` into new strings
    // appended to `out` (which owns them when it owns its elements).
    // `out` is emptied first (its elements deleted when it owns them).
    // Empty pieces between separators and at the start are dropped; the text
    // after the last separator is always the last piece, also when empty; so
    // "a;;b" gives "a", "b", "" gives one empty piece and "a;" gives "a", "".
    // An empty separator gives the whole text as one piece.
    // Returns 0; 1 when `separator` is null (out stays empty) or memory runs
    // out (out holds the pieces made so far). A string without a buffer
    // returns 0 with `out` empty.
    int Split(CTemplateArray<CPLString>& out, const char* separator) const;

  private:
    // Grows the buffer for `needed` characters by the growth rule; 1 on failure.
    int Grow(int needed);
    // Replaces the text by n bytes of `text` (which may lie in the own buffer).
    int Assign(const char* text, int n);
    // Appends n bytes of `text` (which may lie in the own buffer).
    int Append(const char* text, int n);

    char* m_pBuffer;
    int m_nLength;
    int m_nCapacity;
    int m_nGrowBy;
};

#endif  // PLYSTRAND_LAYUPLIB_CPLSTRING_H
