#ifndef PLYSTRAND_LAYUPLIB_CPLCTEXTFILE_H
#define PLYSTRAND_LAYUPLIB_CPLCTEXTFILE_H

#include "layuplib/CPLBuffer.h"
#include "layuplib/CPLCFile.h"

class CPLString;

// Line-oriented text file. Two ways of reading lines: ReadLine through the C
// stream (fgets), and ReadLineBinary through a read-ahead buffer filled in
// chunks of 4096 bytes. Use one of them per file: the read-ahead buffer holds
// bytes that the stream has already passed.
class CPLCTextFile : public CPLCFile {
  public:
    // A manipulator: `file << endl` calls endl(file).
    typedef CPLCTextFile& (*Manipulator)(CPLCTextFile&);

    CPLCTextFile();

    // Open for reading ("r") or writing ("w"), emptying the read-ahead buffer.
    // 0; 1 for a null path or when the file cannot be opened.
    int OpenRead(const char* path);
    int OpenWrite(const char* path);

    // Reads the next line into `line` (written), without its line feed and
    // without a carriage return before it; lines of any length come whole.
    // A last line without a line feed is returned as a line; the call after it
    // returns 1.
    // 0 with the line; 1 when the file is not open or at its end (line
    // untouched when not open, else empty); 2 when the file holds a zero byte
    // where a line piece starts or a read error occurs.
    int ReadLine(CPLString& line);
    // As ReadLine, but through the read-ahead buffer, so zero bytes inside a
    // line are kept. 0 with the line; 1 when the file is not open or no
    // further line exists (or a read error occurred).
    int ReadLineBinary(CPLString& line);
    // Reads one chunk (up to 4096 bytes) and appends it to the read-ahead
    // buffer. 0 (also when the file has ended); 1 without a stream, on a read
    // error or when memory runs out.
    int GetData();
    // 1 when the first line feed in the unread buffered data follows a
    // carriage return, else 0 (also when the file holds no line feed). Reads
    // chunks into the read-ahead buffer until a line feed is buffered or the
    // file ends; ReadLineBinary reads on from the same place.
    int IsDOSText();

    // Writes the text (null: none), a carriage return when `dos` is nonzero,
    // and a line feed. 0; 1 when the file is not open or the write fails.
    int WriteLine(const char* text, int dos);
    int WriteLine(const CPLString& text, int dos);
    // The text only (nothing when not open).
    CPLCTextFile& operator<<(const CPLString& text);
    CPLCTextFile& operator<<(const char* text);
    CPLCTextFile& operator<<(Manipulator manipulator) { return manipulator(*this); }

  private:
    CPLBuffer m_ReadAhead;
    CPLBuffer m_Chunk;
    int m_nChunkSize;
    int m_nReadOffset;
};

// Writes a line feed: `file << "text" << endl`.
CPLCTextFile& endl(CPLCTextFile& file);

#endif  // PLYSTRAND_LAYUPLIB_CPLCTEXTFILE_H
