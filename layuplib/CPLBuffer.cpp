#include "layuplib/CPLBuffer.h"

#include <climits>
#include <cstdlib>
#include <cstring>

#include "layuplib/CPLString.h"

CPLBuffer::CPLBuffer() : m_nSize(0), m_nCapacity(0), m_pData(nullptr), m_nReadPos(0) {}

CPLBuffer::~CPLBuffer() {
    std::free(m_pData);
}

int CPLBuffer::Reserve(int needed) {
    if (needed < 0 || needed > INT_MAX - 1) return 1;
    if (m_pData && needed <= m_nCapacity) return 0;
    // Doubling keeps repeated appends linear.
    int capacity = m_nCapacity > (INT_MAX - 1) / 2 ? INT_MAX - 1 : 2 * m_nCapacity;
    if (capacity < needed) capacity = needed;
    char* p = static_cast<char*>(std::realloc(m_pData, static_cast<size_t>(capacity) + 1));
    if (!p) return 1;
    m_pData = p;
    m_nCapacity = capacity;
    return 0;
}

int CPLBuffer::SetData(const char* data, int n) {
    if (!data || n < 0) return 1;
    if (n == 0) {
        m_nSize = 0;
        m_nReadPos = 0;
        return 0;
    }
    // Bytes of this buffer are already in place: no growth, just move them.
    bool inside = m_pData && data >= m_pData && data < m_pData + m_nSize;
    if (!inside && Reserve(n)) return 1;
    std::memmove(m_pData, data, static_cast<size_t>(n));
    m_nSize = n;
    m_nReadPos = 0;
    return 0;
}

int CPLBuffer::AddData(const char* data, int n) {
    if (!data || n < 0 || n > INT_MAX - 1 - m_nSize) return 1;
    if (n == 0) return 0;
    std::ptrdiff_t offset = -1;
    if (m_pData && data >= m_pData && data < m_pData + m_nSize) offset = data - m_pData;
    if (Reserve(m_nSize + n)) return 1;
    if (offset >= 0) data = m_pData + offset;
    std::memmove(m_pData + m_nSize, data, static_cast<size_t>(n));
    m_nSize += n;
    return 0;
}

int CPLBuffer::Size(int n) {
    if (n < 0) return 1;
    if (n == 0) {
        m_nSize = 0;
        m_nReadPos = 0;
        return 0;
    }
    if (Reserve(n)) return 1;
    m_nSize = n;
    if (m_nReadPos > n) m_nReadPos = n;
    return 0;
}

int CPLBuffer::SetData(CPLBuffer& other) {
    const char* data = other.GetBuffer();
    return SetData(data ? data : "", other.Size());
}

CPLBuffer& CPLBuffer::operator=(CPLBuffer& other) {
    SetData(other);
    return *this;
}

CPLBuffer& CPLBuffer::operator+=(CPLBuffer& other) {
    if (other.Size() > 0) AddData(other.GetBuffer(), other.Size());
    return *this;
}

CPLBuffer& CPLBuffer::operator<<(CPLBuffer& other) {
    return *this += other;
}

CPLBuffer& CPLBuffer::operator+=(char ch) {
    AddData(&ch, 1);
    return *this;
}

CPLBuffer& CPLBuffer::operator+=(const char* text) {
    if (text) {
        size_t n = std::strlen(text);
        if (n < static_cast<size_t>(INT_MAX)) AddData(text, static_cast<int>(n));
    }
    return *this;
}

CPLBuffer& CPLBuffer::operator<<(int value) {
    char bytes[sizeof(int)];
    std::memcpy(bytes, &value, sizeof bytes);
    AddData(bytes, static_cast<int>(sizeof bytes));
    return *this;
}

CPLBuffer& CPLBuffer::operator<<(char ch) {
    return *this += ch;
}

CPLBuffer& CPLBuffer::operator<<(const char* text) {
    if (!text) text = "";
    size_t n = std::strlen(text) + 1;
    if (n < static_cast<size_t>(INT_MAX)) AddData(text, static_cast<int>(n));
    return *this;
}

CPLBuffer& CPLBuffer::operator>>(int& value) {
    if (Size() < static_cast<int>(sizeof(int))) return *this;
    std::memcpy(&value, m_pData + m_nReadPos, sizeof(int));
    m_nReadPos += static_cast<int>(sizeof(int));
    return *this;
}

CPLBuffer& CPLBuffer::operator>>(char& ch) {
    if (Size() < 1) return *this;
    ch = m_pData[m_nReadPos++];
    return *this;
}

CPLBuffer& CPLBuffer::operator>>(char* text) {
    if (!text || Size() < 1) return *this;
    const char* start = m_pData + m_nReadPos;
    const void* end = std::memchr(start, '\0', static_cast<size_t>(Size()));
    if (!end) return *this;
    int n = static_cast<int>(static_cast<const char*>(end) - start) + 1;
    std::memcpy(text, start, static_cast<size_t>(n));
    m_nReadPos += n;
    return *this;
}

CPLBuffer& CPLBuffer::operator>>(CPLString& text) {
    if (Size() < 1) return *this;
    const char* start = m_pData + m_nReadPos;
    const void* end = std::memchr(start, '\0', static_cast<size_t>(Size()));
    if (!end) return *this;
    CPLString piece(start);
    if (!piece.GetBuffer()) return *this;  // out of memory: take nothing
    text = piece;
    m_nReadPos += static_cast<int>(static_cast<const char*>(end) - start) + 1;
    return *this;
}

char CPLBuffer::operator[](int i) const {
    return (i >= 0 && i < m_nSize) ? m_pData[i] : '\0';
}

int CPLBuffer::MakeString() {
    if (Reserve(m_nSize)) return 1;
    m_pData[m_nSize] = '\0';
    return 0;
}

void CPLBuffer::Clear(char fill) {
    if (m_pData && m_nSize > 0) std::memset(m_pData, fill, static_cast<size_t>(m_nSize));
    m_nReadPos = 0;
}

void CPLBuffer::Release() {
    std::free(m_pData);
    m_pData = nullptr;
    m_nSize = 0;
    m_nCapacity = 0;
    m_nReadPos = 0;
}

int CPLBuffer::Extract(int from, int to, CPLBuffer& out) {
    if (from < 0 || from >= m_nSize || to > m_nSize || from > to) return 1;
    return out.SetData(m_pData + from, to - from);
}
