#include "F06Parser/CF06TextBuffer.h"

CF06TextBuffer::CF06TextBuffer() : m_pos(0), m_line(0) {}

CF06TextBuffer::~CF06TextBuffer() = default;

int CF06TextBuffer::OpenRead(const char* path) {
    m_pos = 0;
    m_line = 0;
    return m_file.OpenRead(path, 1);
}

int CF06TextBuffer::OpenWrite(const char* path, int binary) {
    m_pos = 0;
    m_line = 0;
    return m_file.OpenWrite(path, binary);
}

int CF06TextBuffer::Close() {
    int status = m_file.Close();
    m_pos = 0;
    m_line = 0;
    return status;
}

int CF06TextBuffer::GetNextLine(CKpStr& line) {
    line = "";
    if (m_file[m_pos] == '\0') return 1;
    m_scratch.clear();
    for (;;) {
        if (!m_file.InWindow(m_pos)) break;
        const char* p = m_file.GetBuffer(m_pos);
        std::int64_t n = m_file.GetWindowEnd() - m_pos;
        std::int64_t i = 0;
        while (i < n && p[i] != '\n' && p[i] != '\r' && p[i] != '\0') ++i;
        m_scratch.insert(m_scratch.end(), p, p + i);
        m_pos += i;
        if (i == n) continue;  // the line goes on in the next window
        if (p[i] == '\n') {
            ++m_pos;
        } else if (p[i] == '\r') {
            m_pos += 2;  // CR LF; the byte after a CR is skipped whatever it is
        }
        break;
    }
    if (!m_scratch.empty()) line.Set(m_scratch.data(), static_cast<int>(m_scratch.size()));
    ++m_line;
    return 0;
}
