#include "F06Parser/CF06FileBuffer.h"

#include <sys/types.h>

#include <cctype>
#include <cstring>
#include <new>

CF06FileBuffer::CF06FileBuffer()
    : m_start(-1),
      m_size(4096),
      m_second(512),
      m_length(0),
      m_fill(0),
      m_buffer(new (std::nothrow) char[4096]),
      m_writeError(0) {
    if (!m_buffer) m_size = 0;
}

CF06FileBuffer::~CF06FileBuffer() {
    Close();
    delete[] m_buffer;
}

int CF06FileBuffer::OnClose() {
    FlushBuffer();
    m_start = -1;
    m_length = 0;
    return m_writeError ? -1 : 0;
}

int CF06FileBuffer::OnOpen() {
    m_start = -1;
    m_length = 0;
    m_fill = 0;
    m_writeError = 0;
    return 0;
}

int CF06FileBuffer::SetBufferSize(int size, int second) {
    FlushBuffer();
    m_start = -1;
    m_length = 0;
    delete[] m_buffer;
    m_buffer = nullptr;
    m_size = 0;
    m_second = second;
    if (size < 1) return 1;
    m_buffer = new (std::nothrow) char[size];
    if (!m_buffer) return 1;
    m_size = size;
    return 0;
}

bool CF06FileBuffer::Position(std::int64_t pos) {
    if (!m_stream || !m_buffer || pos < 0) return false;
    std::int64_t end = m_start + m_length;
    if (m_start < 0 || pos < m_start || pos - end >= m_size) {
        // Backwards, first use, or a jump of more than one window: seek.
        if (fseeko(m_stream, static_cast<off_t>(pos), SEEK_SET) != 0) {
            m_start = -1;
            m_length = 0;
            return false;
        }
        m_start = pos;
    } else {
        m_start = end;
    }
    m_length = static_cast<int>(std::fread(m_buffer, 1, static_cast<size_t>(m_size), m_stream));
    return pos - m_start < m_length;
}

std::int64_t CF06FileBuffer::GetLine(std::int64_t pos, char* dest, int limit) {
    if ((*this)[pos] == '\n') ++pos;
    int k = 0;
    for (;;) {
        char c = (*this)[pos++];
        if (c == '\0' || c == '\n') break;
        if (c == '\r') {
            ++pos;
            break;
        }
        if (k >= limit) break;
        dest[k++] = c;
    }
    dest[k] = '\0';
    return pos;
}

std::int64_t CF06FileBuffer::NextLine(std::int64_t pos) {
    if ((*this)[pos] == '\n') ++pos;
    for (;;) {
        if (!InWindow(pos)) return pos;
        const char* p = GetBuffer(pos);
        std::int64_t n = GetWindowEnd() - pos;
        for (std::int64_t i = 0; i < n; ++i) {
            if (p[i] == '\n') return pos + i + 1;
            if (p[i] == '\0') return pos + i;
        }
        pos += n;
    }
}

std::int64_t CF06FileBuffer::Find(std::int64_t pos, const char* text, int stopAtLineEnd,
                                  bool fold) {
    if (!text || !text[0]) return -1;
    auto same = [fold](char a, char b) {
        return fold ? std::tolower(static_cast<unsigned char>(a)) ==
                          std::tolower(static_cast<unsigned char>(b))
                    : a == b;
    };
    for (;; ++pos) {
        char c = (*this)[pos];
        if (c == '\0') return -1;
        if (!same(c, text[0])) {
            if (stopAtLineEnd && c == '\n') return -1;
            continue;
        }
        int k = 1;
        while (text[k] && same((*this)[pos + k], text[k])) ++k;
        if (!text[k]) return pos;
        // The comparison may have moved the window forward; the next
        // position is read back from there (a seek) when needed.
    }
}

std::int64_t CF06FileBuffer::FindString(std::int64_t pos, const char* text, int stopAtLineEnd) {
    return Find(pos, text, stopAtLineEnd, false);
}

std::int64_t CF06FileBuffer::FindiString(std::int64_t pos, const char* text, int stopAtLineEnd) {
    return Find(pos, text, stopAtLineEnd, true);
}

std::int64_t CF06FileBuffer::ReadIntoBuffer(std::int64_t pos, char* dest, int n) {
    if (!dest) return pos;
    while (n > 0 && InWindow(pos)) {
        std::int64_t avail = GetWindowEnd() - pos;
        int k = avail < n ? static_cast<int>(avail) : n;
        std::memcpy(dest, GetBuffer(pos), static_cast<size_t>(k));
        dest += k;
        pos += k;
        n -= k;
    }
    return pos;
}

int CF06FileBuffer::FlushBuffer() {
    if (m_fill <= 0) return 0;
    int n = m_fill;
    m_fill = 0;
    if (!m_stream ||
        std::fwrite(m_buffer, 1, static_cast<size_t>(n), m_stream) != static_cast<size_t>(n)) {
        m_writeError = 1;
        return -1;
    }
    return 0;
}

int CF06FileBuffer::Write(const char* data, int n) {
    if (!data || n <= 0) return m_writeError ? -1 : 0;
    if (!m_stream) {
        m_writeError = 1;
        return -1;
    }
    if (!m_buffer) {
        if (std::fwrite(data, 1, static_cast<size_t>(n), m_stream) != static_cast<size_t>(n))
            m_writeError = 1;
        return m_writeError ? -1 : 0;
    }
    if (m_fill + n > m_size) {
        // Top the buffer up and write it, then whole blocks straight from
        // the data while more than a buffer remains.
        int k = m_size - m_fill;
        std::memcpy(m_buffer + m_fill, data, static_cast<size_t>(k));
        m_fill = m_size;
        data += k;
        n -= k;
        FlushBuffer();
        while (n > m_size) {
            if (std::fwrite(data, 1, static_cast<size_t>(m_size), m_stream) !=
                static_cast<size_t>(m_size))
                m_writeError = 1;
            data += m_size;
            n -= m_size;
        }
    }
    std::memcpy(m_buffer + m_fill, data, static_cast<size_t>(n));
    m_fill += n;
    return m_writeError ? -1 : 0;
}
