#include "layuplib/CPLCFileStream.h"

#include <cstring>

#include "layuplib/CPLBuffer.h"

int CPLCFileStream::Write(CPLBuffer& buffer) {
    if (!m_pFile) return -1;
    if (buffer.Size() == 0) return 0;
    return CPLCFile::Write(buffer.GetBuffer(), buffer.Size());
}

CPLCFileStream& CPLCFileStream::operator<<(CPLBuffer& buffer) {
    Write(buffer);
    return *this;
}

int CPLCFileStream::Write(int value) {
    char bytes[sizeof(int)];
    std::memcpy(bytes, &value, sizeof bytes);
    return CPLCFile::Write(bytes, static_cast<int>(sizeof bytes));
}

CPLCFileStream& CPLCFileStream::operator<<(int value) {
    Write(value);
    return *this;
}

CPLCFileStream& CPLCFileStream::operator<<(char ch) {
    CPLCFile::Write(&ch, 1);
    return *this;
}

CPLCFileStream& CPLCFileStream::operator<<(const char* text) {
    if (text) CPLCFile::Write(text, static_cast<int>(std::strlen(text)));
    return *this;
}

int CPLCFileStream::Read(CPLBuffer& buffer) {
    if (!m_pFile) return -1;
    int want = buffer.Size();
    if (want == 0) return 0;
    // Move the unread part to the front so the read fills the buffer from its start.
    buffer.SetData(buffer);
    int got = CPLCFile::Read(buffer.GetBuffer(), want);
    if (got < 0) got = 0;
    buffer.Size(got);
    return got;
}

CPLCFileStream& CPLCFileStream::operator>>(CPLBuffer& buffer) {
    Read(buffer);
    return *this;
}

int CPLCFileStream::Read(int& value) {
    char bytes[sizeof(int)];
    if (CPLCFile::Read(bytes, static_cast<int>(sizeof bytes)) != static_cast<int>(sizeof bytes))
        return 1;
    std::memcpy(&value, bytes, sizeof bytes);
    return 0;
}

CPLCFileStream& CPLCFileStream::operator>>(int& value) {
    Read(value);
    return *this;
}

CPLCFileStream& CPLCFileStream::operator>>(char& ch) {
    char byte;
    if (CPLCFile::Read(&byte, 1) == 1) ch = byte;
    return *this;
}

int CPLCFileStream::ReadEntireFile(CPLBuffer& buffer) {
    if (!m_pFile) return 1;
    char chunk[4096];
    for (;;) {
        int got = CPLCFile::Read(chunk, static_cast<int>(sizeof chunk));
        if (got <= 0) break;
        if (buffer.AddData(chunk, got)) return 1;
    }
    return std::ferror(m_pFile) ? 1 : 0;
}
