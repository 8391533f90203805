#ifndef PLYSTRAND_LAYUPLIB_CPLCFILESTREAM_H
#define PLYSTRAND_LAYUPLIB_CPLCFILESTREAM_H

#include "layuplib/CPLCFile.h"

class CPLBuffer;

// Binary stream operators over a CPLCFile. Ints travel as their 4 bytes in
// host byte order, as CPLBuffer keeps them.
class CPLCFileStream : public CPLCFile {
  public:
    using CPLCFile::Read;
    using CPLCFile::Write;

    // Write the buffer's unread bytes (the buffer is not changed): the number
    // of bytes written, -1 without a stream.
    int Write(CPLBuffer& buffer);
    CPLCFileStream& operator<<(CPLBuffer& buffer);
    // Write an int as 4 bytes: the number of bytes written, -1 without a stream.
    int Write(int value);
    CPLCFileStream& operator<<(int value);
    CPLCFileStream& operator<<(char ch);
    // The text without its terminator; null writes nothing.
    CPLCFileStream& operator<<(const char* text);

    // Reads up to the buffer's Size() bytes into it; the buffer's content then
    // is exactly the bytes read (read position 0). Returns the number of bytes
    // read, -1 without a stream.
    int Read(CPLBuffer& buffer);
    CPLCFileStream& operator>>(CPLBuffer& buffer);
    // Reads 4 bytes into `value`: 0; 1 when fewer remain, on a read error or
    // without a stream (then `value` is unchanged).
    int Read(int& value);
    CPLCFileStream& operator>>(int& value);
    // One byte; `ch` is unchanged when none could be read.
    CPLCFileStream& operator>>(char& ch);
    // Appends the rest of the file to `buffer` in 4096-byte chunks. 0; 1
    // without a stream, on a read error or when memory runs out (the buffer
    // then holds what was read before).
    int ReadEntireFile(CPLBuffer& buffer);
};

#endif  // PLYSTRAND_LAYUPLIB_CPLCFILESTREAM_H
