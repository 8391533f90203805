#include "layuplib/CPLCTextFile.h"

#include <cstring>

#include "layuplib/CPLString.h"

namespace {

// Replaces `line` by n bytes of `data`; 1 when memory runs out.
int setLine(CPLString& line, const char* data, int n) {
    if (line.Size(n)) return 1;
    if (n > 0) std::memcpy(line.GetBuffer(), data, static_cast<size_t>(n));
    return 0;
}

// Position of the first line feed in data[from, size), -1 when none.
int findLineFeed(const char* data, int from, int size) {
    if (!data || from >= size) return -1;
    const void* p = std::memchr(data + from, '\n', static_cast<size_t>(size - from));
    return p ? static_cast<int>(static_cast<const char*>(p) - data) : -1;
}

}  // namespace

CPLCTextFile::CPLCTextFile() : m_nChunkSize(4096), m_nReadOffset(0) {}

int CPLCTextFile::OpenRead(const char* path) {
    m_ReadAhead.Size(0);
    m_nReadOffset = 0;
    return Open(path, "r");
}

int CPLCTextFile::OpenWrite(const char* path) {
    m_ReadAhead.Size(0);
    m_nReadOffset = 0;
    return Open(path, "w");
}

int CPLCTextFile::ReadLine(CPLString& line) {
    if (IsEOF()) return 1;
    line = "";
    // fgets hands the line over in pieces until one ends with the line feed.
    char piece[127];
    bool gathered = false;
    for (;;) {
        if (!std::fgets(piece, static_cast<int>(sizeof piece), m_pFile)) {
            if (std::ferror(m_pFile)) return 2;
            return gathered ? 0 : 1;  // a last line without line feed still counts
        }
        size_t n = std::strlen(piece);
        if (n == 0) return 2;
        gathered = true;
        if (piece[n - 1] != '\n') {
            line += piece;
            continue;
        }
        piece[n - 1] = '\0';
        line += piece;
        // Drop the carriage return of a DOS line end, as a text-mode stream would.
        int len = line.Size();
        if (len > 0 && line.GetBuffer()[len - 1] == '\r') line.Size(len - 1);
        return 0;
    }
}

int CPLCTextFile::GetData() {
    if (!m_pFile) return 1;
    if (m_Chunk.Size(m_nChunkSize)) return 1;
    int got = Read(m_Chunk.GetBuffer(), m_nChunkSize);
    if (got < 0) return 1;
    m_Chunk.Size(got);
    if (got > 0 && m_ReadAhead.AddData(m_Chunk.GetBuffer(), got)) return 1;
    return std::ferror(m_pFile) ? 1 : 0;
}

int CPLCTextFile::ReadLineBinary(CPLString& line) {
    if (!m_pFile) return 1;
    int scanned = m_nReadOffset;
    for (;;) {
        const char* data = m_ReadAhead.GetBuffer();
        int size = m_ReadAhead.Size();
        int lineFeed = findLineFeed(data, scanned, size);
        int end = lineFeed;
        if (lineFeed < 0) {
            // 1. No line feed buffered: read on; only a file that has ended
            //    makes the rest the last line.
            scanned = size;
            if (GetData()) return 1;
            if (m_ReadAhead.Size() > size) continue;
            if (size <= m_nReadOffset) return 1;
            end = size;
        }

        // 2. The line runs from the read offset to `end`.
        int lineEnd = end;
        if (lineFeed >= 0 && lineEnd > m_nReadOffset && data[lineEnd - 1] == '\r') --lineEnd;
        if (setLine(line, data + m_nReadOffset, lineEnd - m_nReadOffset)) return 1;
        m_nReadOffset = lineFeed >= 0 ? end + 1 : end;

        // 3. Keep the buffer from growing with the file.
        if (m_nReadOffset >= m_nChunkSize) {
            m_ReadAhead.SetData(data + m_nReadOffset, size - m_nReadOffset);
            m_nReadOffset = 0;
        }
        return 0;
    }
}

int CPLCTextFile::IsDOSText() {
    if (GetData()) return 0;
    int scanned = m_nReadOffset;
    for (;;) {
        const char* data = m_ReadAhead.GetBuffer();
        int size = m_ReadAhead.Size();
        int lineFeed = findLineFeed(data, scanned, size);
        if (lineFeed >= 0) return (lineFeed > m_nReadOffset && data[lineFeed - 1] == '\r') ? 1 : 0;
        scanned = size;
        if (GetData() || m_ReadAhead.Size() == size) return 0;
    }
}

int CPLCTextFile::WriteLine(const char* text, int dos) {
    if (!m_pFile) return 1;
    if (text && std::fputs(text, m_pFile) == EOF) return 1;
    if (dos && std::fputc('\r', m_pFile) == EOF) return 1;
    return std::fputc('\n', m_pFile) == EOF ? 1 : 0;
}

int CPLCTextFile::WriteLine(const CPLString& text, int dos) {
    return WriteLine(text.GetBuffer(), dos);
}

CPLCTextFile& CPLCTextFile::operator<<(const CPLString& text) {
    return *this << text.GetBuffer();
}

CPLCTextFile& CPLCTextFile::operator<<(const char* text) {
    if (m_pFile && text) std::fputs(text, m_pFile);
    return *this;
}

CPLCTextFile& endl(CPLCTextFile& file) {
    return file << "\n";
}
