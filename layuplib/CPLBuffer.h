#ifndef PLYSTRAND_LAYUPLIB_CPLBUFFER_H
#define PLYSTRAND_LAYUPLIB_CPLBUFFER_H

class CPLString;

// Growable byte buffer with a read position, for building and taking apart
// binary records. Bytes are appended at the end (AddData, +=, <<) and taken
// from the read position (>>); Size() and GetBuffer() describe the unread
// part. The data comes from malloc/realloc and always has one spare byte
// after the content, so MakeString can terminate it.
//
// Ints travel as their 4 bytes in host byte order; texts written with
// operator<<(const char*) carry their terminator, so that >> can find their end.
class CPLBuffer {
  public:
    CPLBuffer();
    CPLBuffer(const CPLBuffer&) = delete;
    // Frees the data.
    virtual ~CPLBuffer();

    // Replaces the content by n bytes of `data`, read position 0. `data` may
    // lie in this buffer. 0; 1 for null data, a negative n or when memory runs
    // out (then nothing changed). n = 0 empties the buffer.
    virtual int SetData(const char* data, int n);
    // Appends n bytes of `data` (which may lie in this buffer). 0; 1 for null
    // data, a negative n or when memory runs out (nothing changed).
    virtual int AddData(const char* data, int n);
    // Reserved operations; they do nothing.
    virtual void Reserved1() {}
    virtual void Reserved2() {}

    // Bytes not yet read (size - read position).
    int Size() const { return m_nSize - m_nReadPos; }
    // The first unread byte; null when no data was ever allocated.
    char* GetBuffer() { return m_pData ? m_pData + m_nReadPos : nullptr; }
    const char* GetBuffer() const { return m_pData ? m_pData + m_nReadPos : nullptr; }
    // n = 0 empties the buffer (size and read position 0, data kept).
    // Otherwise makes room for n bytes (+1 spare) and sets the size to n,
    // keeping the first bytes; a read position beyond n moves back to n.
    // 0; 1 for a negative n or when memory runs out (nothing changed).
    int Size(int n);

    // SetData with the other's unread bytes.
    int SetData(CPLBuffer& other);
    CPLBuffer& operator=(CPLBuffer& other);

    // Appending: the other's unread bytes; one character; a text without its
    // terminator (null appends nothing); an int as 4 bytes; a text with its
    // terminator (null appends the empty text, a lone zero byte).
    CPLBuffer& operator+=(CPLBuffer& other);
    CPLBuffer& operator<<(CPLBuffer& other);
    CPLBuffer& operator+=(char ch);
    CPLBuffer& operator+=(const char* text);
    CPLBuffer& operator<<(int value);
    CPLBuffer& operator<<(char ch);
    CPLBuffer& operator<<(const char* text);

    // Extraction at the read position. Each takes something only when all of
    // it is there: 4 bytes for an int, 1 for a char, a text up to and with its
    // terminator for texts. Otherwise the read position and the target stay
    // unchanged. A text moves the read position past its terminator.
    //
    // operator>>(char*) copies the text and its terminator into `text`, which
    // must hold at least strlen(text in buffer) + 1 bytes: the target size
    // cannot be checked here. Callers that do not know the length take a
    // CPLString instead. A null target takes nothing.
    CPLBuffer& operator>>(int& value);
    CPLBuffer& operator>>(char& ch);
    CPLBuffer& operator>>(char* text);
    CPLBuffer& operator>>(CPLString& text);

    // Byte i of the content counted from its start (not from the read
    // position); 0 outside 0..size-1.
    char operator[](int i) const;
    // Writes a terminator after the content (allocating when there is no
    // data). 0; 1 when memory runs out.
    int MakeString();
    // Sets every content byte to `fill`; read position 0.
    void Clear(char fill = '\0');
    // Frees the data; size, capacity and read position 0.
    void Release();
    // Copies the content bytes from..to-1 (counted from the content's start)
    // into `out`, which may be this buffer. 0; 1 unless 0 <= from < size,
    // to <= size and from <= to, or when memory runs out.
    int Extract(int from, int to, CPLBuffer& out);

  private:
    // Makes room for `needed` content bytes plus the spare byte; 1 on failure.
    int Reserve(int needed);

    int m_nSize;
    int m_nCapacity;
    char* m_pData;
    int m_nReadPos;
};

#endif  // PLYSTRAND_LAYUPLIB_CPLBUFFER_H
