#ifndef PLYSTRAND_LAYUPLIB_CPLCFILE_H
#define PLYSTRAND_LAYUPLIB_CPLCFILE_H

#include <cstdint>
#include <cstdio>

// A C stream (FILE*) that closes itself. A stream handed in by Assign stays
// the caller's: this object uses it but never closes it.
class CPLCFile {
  public:
    // Origins of Seek(long, ESeekType), the fseek origin codes.
    enum ESeekType { eSeekSet = SEEK_SET, eSeekCur = SEEK_CUR, eSeekEnd = SEEK_END };

    // No stream.
    CPLCFile();
    CPLCFile(const CPLCFile&) = delete;
    CPLCFile& operator=(const CPLCFile&) = delete;
    // Closes an owned stream.
    virtual ~CPLCFile();

    // Open with an fopen mode; OpenRead uses "rb", OpenWrite "wb". Each first
    // closes an owned stream (and lets go of an assigned one). 0; 1 for a null
    // argument or when the file cannot be opened (then no stream is open).
    int Open(const char* path, const char* mode);
    int OpenRead(const char* path);
    int OpenWrite(const char* path);
    // Uses `stream` (may be null: no stream) without taking ownership; an
    // owned stream is closed first.
    void Assign(FILE* stream);
    // Closes an owned stream, lets go of an assigned one. 0; 1 when closing
    // reports an error (unwritten data lost); the stream is gone either way.
    int Close();
    // 1 while a stream is in use, else 0.
    int IsOpen() const { return m_pFile ? 1 : 0; }
    // 1 at end of file or without a stream, else 0.
    int IsEOF() const;

    // Read or write up to n bytes; the number of bytes moved (below n at end of
    // file or on an error), 0 for n = 0, -1 for a null buffer, a negative n or
    // no stream.
    int Read(char* data, int n);
    int Write(const char* data, int n);

    // Position in bytes from the start (ftell); -1 without a stream or on error.
    long Tell() const;
    // The position as a 64-bit byte offset from the start, for files beyond
    // 2 GB. 0; -1 for a null pointer, no stream or an error (`*pos` unchanged).
    int Tell(std::int64_t* pos) const;
    // Moves to a position taken by Tell(int64_t*). 0; -1 for a null pointer,
    // no stream or an error.
    int Seek(const std::int64_t* pos);
    // fseek: 0; -1 without a stream or on error.
    int Seek(long offset, ESeekType origin);

  protected:
    FILE* m_pFile;
    int m_bAssigned;
};

#endif  // PLYSTRAND_LAYUPLIB_CPLCFILE_H
