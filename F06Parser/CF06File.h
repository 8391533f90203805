#ifndef PLYSTRAND_F06PARSER_CF06FILE_H
#define PLYSTRAND_F06PARSER_CF06FILE_H

#include <cstdint>
#include <cstdio>

// CF06File: a stdio stream with the operations the solver-exchange readers
// and writers need. The stream is either opened here (and owned) or
// adopted from the caller through Attach (then closing leaves it open).
//
// Byte positions and file sizes are 64-bit (files over 2 GiB work).
class CF06File {
  public:
    // Open mode: 0 read, 1 write.
    enum EOpenFile { eRead = 0, eWrite = 1 };

    // No stream.
    CF06File();
    // Closes an open stream that is not adopted. Waiting bytes of a derived
    // buffer are written by that class's destructor, not here.
    virtual ~CF06File();
    CF06File(const CF06File&) = delete;
    CF06File& operator=(const CF06File&) = delete;

    // Hook run by Close while the stream is still open. 0, or -1 when it
    // failed (CF06File: nothing to do, 0).
    virtual int OnClose();
    // Hook run after Open or Attach installed a stream (CF06File: nothing).
    virtual int OnOpen();

    // Opens `path` with fopen, mode "r" (eRead) or "w" (eWrite), with "b"
    // appended when `binary` is nonzero. A stream already open is closed
    // first. The new stream is owned (the adopted flag is cleared). 0 on
    // success; 1 for a null path or when fopen fails (no stream then).
    int Open(const char* path, EOpenFile mode, int binary);
    int OpenRead(const char* path, int binary) { return Open(path, eRead, binary); }
    int OpenWrite(const char* path, int binary) { return Open(path, eWrite, binary); }

    // When a stream is open: runs OnClose, closes the stream unless it was
    // adopted, forgets it. 0; -1 when OnClose or fclose failed (for a
    // written file: data may be missing). Without a stream 0.
    int Close();

    // Adopts the caller's stream (not closed by Close or the destructor);
    // a stream already open is closed first as by Close. A null stream
    // leaves the object without a stream.
    void Attach(FILE* stream);

    // fread / fwrite of n bytes. The count transferred; -1 for a null
    // buffer, a negative n or no stream.
    int ReadData(void* buf, int n);
    int WriteData(const void* buf, int n);
    // Writes `text` without its terminating NUL: the count written, -1 for
    // a null text or no stream.
    int Write(const char* text);

    // Moves the stream to the absolute position `pos`. -1 without a
    // stream, otherwise the fseeko result (0 success).
    int Seek(std::int64_t pos);
    // Size of the file in bytes; the stream position is kept. -1 without a
    // stream or when the stream cannot seek.
    std::int64_t GetFileSize();
    // fflush when a stream is open; 0, or -1 when fflush failed.
    int Flush();

    // True while a stream is open or adopted.
    bool IsOpen() const { return m_stream != nullptr; }

  protected:
    FILE* m_stream;
    int m_adopted;
};

#endif  // PLYSTRAND_F06PARSER_CF06FILE_H
