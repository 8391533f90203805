#ifndef PLYSTRAND_F06PARSER_CF06TEXTBUFFER_H
#define PLYSTRAND_F06PARSER_CF06TEXTBUFFER_H

#include <cstdint>
#include <vector>

#include "F06Parser/CF06FileBuffer.h"
#include "layuplib/CKpStr.h"

// CF06TextBuffer: whole lines of a text file, one after the other, through
// a CF06FileBuffer with the default 4096-byte window; also writes text
// through that buffer.
class CF06TextBuffer {
  public:
    // Read position 0, line counter 0, no file.
    CF06TextBuffer();
    virtual ~CF06TextBuffer();
    CF06TextBuffer(const CF06TextBuffer&) = delete;
    CF06TextBuffer& operator=(const CF06TextBuffer&) = delete;

    // Read position and line counter back to 0, then opens `path` for
    // binary reading / for writing (text or binary). The CF06File::Open
    // result: 0, or 1 when the file cannot be opened.
    int OpenRead(const char* path);
    int OpenWrite(const char* path, int binary);
    // Writes the waiting bytes and closes the file; read position and line
    // counter back to 0. 0, or -1 when a write or the close failed.
    int Close();

    // The next line into `line`, without its end (LF, CR LF or CR). 0 when
    // a line was delivered (the line counter then counts it); 1 at the end
    // of the file or at a 0 byte (`line` is then empty).
    int GetNextLine(CKpStr& line);
    // Number of lines delivered since the file was opened (the number of
    // the line GetNextLine gave last, counted from 1).
    int GetLineCount() const { return m_line; }
    // Absolute position of the next line.
    std::int64_t GetPosition() const { return m_pos; }

    // Buffered write (CF06FileBuffer::Write): 0, or -1 after a failed write.
    int Write(const char* data, int n) { return m_file.Write(data, n); }

    // The underlying buffered file.
    CF06FileBuffer& GetFile() { return m_file; }

  private:
    std::int64_t m_pos;
    int m_line;
    CF06FileBuffer m_file;
    std::vector<char> m_scratch;
};

#endif  // PLYSTRAND_F06PARSER_CF06TEXTBUFFER_H
