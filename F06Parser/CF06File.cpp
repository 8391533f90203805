#include "F06Parser/CF06File.h"

#include <sys/types.h>

CF06File::CF06File() : m_stream(nullptr), m_adopted(0) {}

CF06File::~CF06File() {
    if (m_stream && !m_adopted) std::fclose(m_stream);
    m_stream = nullptr;
}

int CF06File::OnClose() {
    return 0;
}

int CF06File::OnOpen() {
    return 0;
}

int CF06File::Open(const char* path, EOpenFile mode, int binary) {
    if (!path) return 1;
    Close();
    char how[3] = {mode == eWrite ? 'w' : 'r', binary ? 'b' : '\0', '\0'};
    m_stream = std::fopen(path, how);
    m_adopted = 0;
    if (!m_stream) return 1;
    OnOpen();
    return 0;
}

int CF06File::Close() {
    if (!m_stream) return 0;
    int status = OnClose() == 0 ? 0 : -1;
    if (!m_adopted && std::fclose(m_stream) != 0) status = -1;
    m_stream = nullptr;
    return status;
}

void CF06File::Attach(FILE* stream) {
    Close();
    m_stream = stream;
    m_adopted = 1;
    if (m_stream) OnOpen();
}

int CF06File::ReadData(void* buf, int n) {
    if (!buf || !m_stream || n < 0) return -1;
    return static_cast<int>(std::fread(buf, 1, static_cast<size_t>(n), m_stream));
}

int CF06File::WriteData(const void* buf, int n) {
    if (!buf || !m_stream || n < 0) return -1;
    return static_cast<int>(std::fwrite(buf, 1, static_cast<size_t>(n), m_stream));
}

int CF06File::Write(const char* text) {
    if (!text || !m_stream) return -1;
    size_t n = 0;
    while (text[n]) ++n;
    return static_cast<int>(std::fwrite(text, 1, n, m_stream));
}

int CF06File::Seek(std::int64_t pos) {
    if (!m_stream) return -1;
    return fseeko(m_stream, static_cast<off_t>(pos), SEEK_SET);
}

std::int64_t CF06File::GetFileSize() {
    if (!m_stream) return -1;
    off_t here = ftello(m_stream);
    if (here < 0 || fseeko(m_stream, 0, SEEK_END) != 0) return -1;
    off_t size = ftello(m_stream);
    fseeko(m_stream, here, SEEK_SET);
    return size < 0 ? -1 : static_cast<std::int64_t>(size);
}

int CF06File::Flush() {
    if (!m_stream) return 0;
    return std::fflush(m_stream) == 0 ? 0 : -1;
}
