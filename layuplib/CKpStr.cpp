#include "layuplib/CKpStr.h"

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

CKpStr::CKpStr() : m_buffer(nullptr), m_length(0), m_capacity(0) {}

CKpStr::CKpStr(const char* text) : CKpStr() {
    *this = text;
}

CKpStr::CKpStr(const CKpStr& other) : CKpStr() {
    *this = other;
}

CKpStr::~CKpStr() {
    std::free(m_buffer);
}

long long CKpStr::OffsetInBuffer(const char* text) const {
    if (!m_buffer) return -1;
    uintptr_t p = reinterpret_cast<uintptr_t>(text);
    uintptr_t begin = reinterpret_cast<uintptr_t>(m_buffer);
    if (p < begin || p > begin + static_cast<uintptr_t>(m_capacity)) return -1;
    return static_cast<long long>(p - begin);
}

bool CKpStr::Grow(int needed) {
    if (needed < 0) return false;
    if (!m_buffer) {
        if (needed == INT_MAX) return false;
        char* p = static_cast<char*>(std::malloc(static_cast<size_t>(needed) + 1));
        if (!p) return false;
        p[0] = '\0';
        m_buffer = p;
        m_capacity = needed;
        return true;
    }
    if (needed < m_capacity) return true;
    long long capacity = static_cast<long long>(m_capacity) + needed + 80;
    if (capacity >= INT_MAX) return false;
    char* p = static_cast<char*>(std::realloc(m_buffer, static_cast<size_t>(capacity) + 1));
    if (!p) return false;
    m_buffer = p;
    m_capacity = static_cast<int>(capacity);
    return true;
}

CKpStr& CKpStr::operator=(const char* text) {
    if (text == m_buffer) return *this;
    if (!text) {
        Clear();
        return *this;
    }
    size_t n = std::strlen(text);
    if (n == 0) {
        // The empty text still leaves a buffer; the growth rule is asked for one
        // character, which is what makes a tiny buffer grow by 81.
        if (!Grow(1)) return *this;
        m_buffer[0] = '\0';
        m_length = 0;
        return *this;
    }
    if (n >= INT_MAX) return *this;
    Set(text, static_cast<int>(n));
    return *this;
}

CKpStr& CKpStr::operator=(const CKpStr& other) {
    return *this = other.m_buffer ? other.m_buffer : "";
}

void CKpStr::Set(const char* text, int n) {
    if (!text || n <= 0) {
        *this = "";
        return;
    }
    // The source may lie inside this buffer, which Grow may move.
    long long offset = OffsetInBuffer(text);
    if (!Grow(n)) return;
    if (offset >= 0) text = m_buffer + offset;
    std::memmove(m_buffer, text, static_cast<size_t>(n));
    m_buffer[n] = '\0';
    m_length = n;
}

void CKpStr::Clear() {
    std::free(m_buffer);
    m_buffer = nullptr;
    m_length = 0;
    m_capacity = 0;
}

int CKpStr::Size() const {
    if (m_length == 0 && m_buffer) m_length = static_cast<int>(std::strlen(m_buffer));
    return m_length;
}

int CKpStr::Size(int n) {
    if (n < 0 || !Grow(n)) return -1;
    m_buffer[n] = '\0';
    m_length = 0;
    return 0;
}

void CKpStr::Append(const char* text, int n) {
    if (!text || n <= 0) return;
    int length = Size();
    if (static_cast<long long>(length) + n >= INT_MAX) return;
    long long offset = OffsetInBuffer(text);
    if (!Grow(length + n)) return;
    if (offset >= 0) text = m_buffer + offset;
    std::memmove(m_buffer + length, text, static_cast<size_t>(n));
    m_length = length + n;
    m_buffer[m_length] = '\0';
}

CKpStr& CKpStr::operator+=(const char* text) {
    if (text) {
        size_t n = std::strlen(text);
        if (n < INT_MAX) Append(text, static_cast<int>(n));
    }
    return *this;
}

CKpStr& CKpStr::operator+=(const CKpStr& other) {
    if (other.m_buffer) Append(other.m_buffer, other.Size());
    return *this;
}

CKpStr& CKpStr::operator+=(char ch) {
    if (ch != '\0') Append(&ch, 1);
    return *this;
}

CKpStr& CKpStr::operator+=(int value) {
    char text[16];
    std::snprintf(text, sizeof(text), "%d", value);
    return *this += text;
}

CKpStr& CKpStr::operator+=(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%G", value);
    return *this += text;
}

bool CKpStr::operator==(const char* text) const {
    if (!text) return !m_buffer;
    if (!m_buffer) return false;
    return std::strcmp(m_buffer, text) == 0;
}

bool CKpStr::operator==(const CKpStr& other) const {
    if (!m_buffer) return false;
    return std::strcmp(m_buffer, other.m_buffer ? other.m_buffer : "") == 0;
}

int CKpStr::Find(int ch, int start) const {
    int length = Size();
    if (start < 0 || start >= length) return -1;
    const void* hit = std::memchr(m_buffer + start, ch, static_cast<size_t>(length - start));
    return hit ? static_cast<int>(static_cast<const char*>(hit) - m_buffer) : -1;
}

void CKpStr::SubString(CKpStr& out, int start, int count) const {
    int length = Size();
    if (!m_buffer) {
        out = "";
        return;
    }
    if (start < 0) start = 0;
    if (start > length) start = length;
    int rest = length - start;
    if (count == -1 || count > rest) count = rest;
    if (count < 0) count = 0;
    out.Set(m_buffer + start, count);
}

CKpStr CKpStr::SubString(int start, int count) const {
    CKpStr out;
    SubString(out, start, count);
    return out;
}

void CKpStr::ToLower() {
    if (!m_buffer) return;
    for (char* p = m_buffer; *p; ++p)
        *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
}

void CKpStr::Trim() {
    int length = Size();
    if (length == 0 || (m_buffer[0] != ' ' && m_buffer[length - 1] != ' ')) return;
    // Bytes 128..255 are negative as signed chars and go with the blanks.
    auto strippable = [](char c) { return static_cast<signed char>(c) <= 32; };
    int first = 0;
    while (first < length && strippable(m_buffer[first])) ++first;
    int end = length;
    while (end > first && strippable(m_buffer[end - 1])) --end;
    std::memmove(m_buffer, m_buffer + first, static_cast<size_t>(end - first));
    m_length = end - first;
    m_buffer[m_length] = '\0';
}

int CKpStr::Split(CVekTemplateArray<CKpStr>& out, const char* separator, int trim) const {
    out.DeleteAll();
    if (!separator || !*separator) return 1;
    if (!m_buffer) return 0;
    const size_t separatorLength = std::strlen(separator);
    const char* position = m_buffer;
    for (;;) {
        const char* hit = std::strstr(position, separator);
        const char* end = hit ? hit : position + std::strlen(position);
        CKpStr* piece = new (std::nothrow) CKpStr;
        if (!piece) return 1;
        piece->Set(position, static_cast<int>(end - position));
        if (trim == 1) piece->Trim();
        if (out.Add(piece) < 0) {
            delete piece;
            return 1;
        }
        if (!hit) return 0;
        position = hit + separatorLength;
    }
}
