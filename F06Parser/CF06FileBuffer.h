#ifndef PLYSTRAND_F06PARSER_CF06FILEBUFFER_H
#define PLYSTRAND_F06PARSER_CF06FILEBUFFER_H

#include <cstdint>

#include "F06Parser/CF06File.h"

// CF06FileBuffer: a file read through a window addressed by absolute byte
// position, so that a parser can look ahead, step back and search without
// managing reads; or a file written through the same buffer.
//
// Reading: operator[] (pos) positions the window and returns the byte.
//  - pos inside the window: the byte, no I/O;
//  - no window yet, pos before the window, or pos more than one window
//    beyond its end: seek to pos and read one window from there;
//  - otherwise the next window continues where the current one ends (read
//    from the stream's position, no seek).
// A position without a byte (end of file, a failed seek, a negative
// position) reads as 0. Parsers take byte 0 as the end of their input;
// binary readers use InWindow to tell a real 0 byte from the end.
// The stream must not be moved by others (Seek, ReadData) between reads.
//
// Writing: Write collects bytes and writes whole buffers; the waiting
// bytes go out on Close (OnClose) or destruction. A failed fwrite, flush or
// close is remembered (WriteFailed) and reported by Write and Close.
class CF06FileBuffer : public CF06File {
  public:
    // Buffer of 4096 bytes (second size value 512), no window.
    CF06FileBuffer();
    // Writes the waiting bytes, frees the buffer, closes a non-adopted
    // stream.
    ~CF06FileBuffer() override;

    // Writes the waiting bytes and forgets the window. 0, or -1 when a
    // write of this file failed at any time since it was opened.
    int OnClose() override;
    // Forgets the window and any earlier write failure.
    int OnOpen() override;

    // Replaces the buffer by one of `size` bytes (the window size for
    // reading, the block size for writing); `second` is only stored.
    // Waiting bytes are written first; the window is forgotten. 0; nonzero
    // for a size below 1 or when memory runs out (no buffer then: reads
    // give 0, writes go straight to the stream).
    int SetBufferSize(int size, int second);
    int GetBufferSize() const { return m_size; }

    // The byte at absolute position pos, or 0 where the file has none.
    char operator[](std::int64_t pos) {
        std::uint64_t off = static_cast<std::uint64_t>(pos - m_start);
        if (off < static_cast<std::uint64_t>(m_length)) return m_buffer[off];
        return Position(pos) ? m_buffer[pos - m_start] : 0;
    }
    // Positions the window at pos (as operator[]); true when the file has a
    // byte there.
    bool InWindow(std::int64_t pos) {
        std::uint64_t off = static_cast<std::uint64_t>(pos - m_start);
        return off < static_cast<std::uint64_t>(m_length) || Position(pos);
    }
    // Pointer to the byte at pos inside the window, without reading: the
    // caller has made sure pos lies in the window (operator[], InWindow).
    // The valid bytes run up to GetWindowEnd().
    const char* GetBuffer(std::int64_t pos) const { return m_buffer + (pos - m_start); }
    // Absolute position just after the window's last valid byte (-1
    // when there is no window).
    std::int64_t GetWindowEnd() const { return m_start + m_length; }

    // Copies one line starting at pos into dest (room for limit + 1 bytes)
    // and returns the position where the next line starts. A line feed at
    // pos (left over from the previous line) is skipped first. The line
    // ends at a line feed, a carriage return (the byte after it is skipped
    // too, for CR LF), a 0 byte or the end of the file; after `limit`
    // characters the next byte is read and dropped and the line ends there.
    // dest is always terminated.
    std::int64_t GetLine(std::int64_t pos, char* dest, int limit);
    // The position after the next line feed at or after pos (a line feed
    // at pos itself is skipped first); at a 0 byte or the end of the file,
    // that position.
    std::int64_t NextLine(std::int64_t pos);
    // Where `text` next begins at or after pos, or -1 (not found, a 0 byte
    // or the end of the file met, null or empty text). With stopAtLineEnd
    // nonzero the search stays on the current line. FindiString compares
    // without regard to case.
    std::int64_t FindString(std::int64_t pos, const char* text, int stopAtLineEnd);
    std::int64_t FindiString(std::int64_t pos, const char* text, int stopAtLineEnd);
    // Copies up to n bytes from pos into dest; fewer when the file ends.
    // Returns the position after the last byte copied.
    std::int64_t ReadIntoBuffer(std::int64_t pos, char* dest, int n);

    // Buffered write of n bytes of data. 0; -1 when a write of this file
    // has failed (now or before). A null data or n <= 0 writes nothing.
    int Write(const char* data, int n);
    using CF06File::Write;
    // 1 after a failed write, flush or close of the written file.
    int WriteFailed() const { return m_writeError; }

  private:
    // Slow path of operator[]: reads the window that holds pos; false when
    // the file has no byte there.
    bool Position(std::int64_t pos);
    // Writes the waiting bytes and empties the buffer. 0 or -1.
    int FlushBuffer();
    std::int64_t Find(std::int64_t pos, const char* text, int stopAtLineEnd, bool fold);

    std::int64_t m_start;
    int m_size;
    int m_second;
    int m_length;
    int m_fill;
    char* m_buffer;
    int m_writeError;
};

#endif  // PLYSTRAND_F06PARSER_CF06FILEBUFFER_H
