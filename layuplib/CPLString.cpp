#include "layuplib/CPLString.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "layuplib/CPLBuffer.h"
#include "layuplib/CTemplateArray.h"

namespace {

bool isTrimmed(char c) {
    return static_cast<signed char>(c) <= 32;
}

}  // namespace

CPLString::CPLString() : m_pBuffer(nullptr), m_nLength(0), m_nCapacity(0), m_nGrowBy(80) {}

CPLString::CPLString(const char* text) : CPLString() {
    *this = text;
}

CPLString::CPLString(const CPLString& other) : CPLString() {
    *this = other.m_pBuffer;
}

CPLString::CPLString(const CPLBuffer& buffer) : CPLString() {
    const char* data = buffer.GetBuffer();
    int n = buffer.Size();
    int len = 0;
    while (data && len < n && data[len] != '\0') ++len;
    Assign(data ? data : "", len);
}

CPLString::~CPLString() {
    std::free(m_pBuffer);
}

int CPLString::Grow(int needed) {
    if (m_pBuffer && needed < m_nCapacity) return 0;
    if (needed < 0 || needed > INT_MAX - m_nGrowBy - 1) return 1;
    int capacity = m_nGrowBy + needed;
    char* p = static_cast<char*>(std::realloc(m_pBuffer, static_cast<size_t>(capacity) + 1));
    if (!p) return 1;
    if (!m_pBuffer) p[0] = '\0';
    m_pBuffer = p;
    m_nCapacity = capacity;
    return 0;
}

int CPLString::Assign(const char* text, int n) {
    // A text inside the own buffer is moved, never reallocated away under us:
    // it is shorter than the capacity, so no growth happens.
    bool inside = m_pBuffer && text >= m_pBuffer && text <= m_pBuffer + m_nCapacity;
    if (!inside && Grow(n)) return 1;
    std::memmove(m_pBuffer, text, static_cast<size_t>(n));
    m_pBuffer[n] = '\0';
    m_nLength = n;
    return 0;
}

int CPLString::Append(const char* text, int n) {
    int len = Size();
    if (n > INT_MAX - len) return 1;
    std::ptrdiff_t offset = -1;
    if (m_pBuffer && text >= m_pBuffer && text <= m_pBuffer + m_nCapacity)
        offset = text - m_pBuffer;
    if (Grow(len + n)) return 1;
    if (offset >= 0) text = m_pBuffer + offset;
    std::memmove(m_pBuffer + len, text, static_cast<size_t>(n));
    m_nLength = len + n;
    m_pBuffer[m_nLength] = '\0';
    return 0;
}

CPLString& CPLString::operator=(const char* text) {
    if (m_pBuffer && text == m_pBuffer) return *this;
    if (!text) text = "";
    size_t n = std::strlen(text);
    if (n <= static_cast<size_t>(INT_MAX)) Assign(text, static_cast<int>(n));
    return *this;
}

CPLString& CPLString::operator=(const CPLString& other) {
    return *this = other.m_pBuffer;
}

void CPLString::Clear() {
    std::free(m_pBuffer);
    m_pBuffer = nullptr;
    m_nLength = 0;
    m_nCapacity = 0;
}

int CPLString::Size() const {
    if (!m_pBuffer) return 0;
    if (m_nLength != 0) return m_nLength;
    return static_cast<int>(strnlen(m_pBuffer, static_cast<size_t>(m_nCapacity) + 1));
}

int CPLString::Size(int n) {
    if (n < 0 || Grow(n)) return 1;
    m_pBuffer[n] = '\0';
    m_nLength = n;
    return 0;
}

int CPLString::UpdateSize() {
    m_nLength = 0;
    m_nLength = Size();
    return m_nLength;
}

CPLString& CPLString::operator+=(const char* text) {
    if (!text || !*text) return *this;
    size_t n = std::strlen(text);
    if (n <= static_cast<size_t>(INT_MAX)) Append(text, static_cast<int>(n));
    return *this;
}

CPLString& CPLString::operator+=(const CPLString& other) {
    return *this += other.m_pBuffer;
}

CPLString& CPLString::operator+=(char ch) {
    if (ch != '\0') Append(&ch, 1);
    return *this;
}

CPLString& CPLString::operator+=(int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    return *this += digits;
}

CPLString& CPLString::operator<<(const char* text) {
    return *this += text;
}

CPLString CPLString::operator+(const char* text) const {
    CPLString out(*this);
    out += text;
    return out;
}

CPLString CPLString::operator+(const CPLString& other) const {
    return *this + other.m_pBuffer;
}

int CPLString::operator==(const char* text) const {
    if (!text || !m_pBuffer) return 0;
    return std::strcmp(m_pBuffer, text) == 0 ? 1 : 0;
}

int CPLString::operator==(const CPLString& other) const {
    if (!m_pBuffer) return 0;
    return std::strcmp(m_pBuffer, other.m_pBuffer ? other.m_pBuffer : "") == 0 ? 1 : 0;
}

int CPLString::Compare(const CPLString* other) const {
    if (!other || !m_pBuffer || !other->m_pBuffer) return 1;
    int d = std::strcmp(m_pBuffer, other->m_pBuffer);  // compares as unsigned char
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int CPLString::Find(int ch) const {
    int len = Size();
    if (len == 0 || ch == 0) return -1;
    const void* p = std::memchr(m_pBuffer, ch, static_cast<size_t>(len));
    return p ? static_cast<int>(static_cast<const char*>(p) - m_pBuffer) : -1;
}

int CPLString::Find(const char* text) const {
    if (!text || !m_pBuffer) return -1;
    const char* p = std::strstr(m_pBuffer, text);
    return p ? static_cast<int>(p - m_pBuffer) : -1;
}

int CPLString::CountTokens(char ch) const {
    int count = 0;
    if (ch == '\0') return 0;
    for (int i = 0, len = Size(); i < len; ++i)
        if (m_pBuffer[i] == ch) ++count;
    return count;
}

void CPLString::Trim() {
    if (!m_pBuffer) return;
    int len = Size();
    int start = 0;
    while (start < len && isTrimmed(m_pBuffer[start])) ++start;
    while (len > start && isTrimmed(m_pBuffer[len - 1])) --len;
    Assign(m_pBuffer + start, len - start);
}

void CPLString::RTrim() {
    if (!m_pBuffer) return;
    int len = Size();
    while (len > 0 && isTrimmed(m_pBuffer[len - 1])) --len;
    m_pBuffer[len] = '\0';
    m_nLength = len;
}

void CPLString::ToLower() {
    for (int i = 0, len = Size(); i < len; ++i)
        m_pBuffer[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(m_pBuffer[i])));
}

void CPLString::ToUpper() {
    for (int i = 0, len = Size(); i < len; ++i)
        m_pBuffer[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(m_pBuffer[i])));
}

CPLString CPLString::SubString(int start, int count) const {
    CPLString out("");
    int len = Size();
    if (start < 0 || start > len) return out;
    if (count < 0 || count > len - start) count = len - start;
    out.Assign(m_pBuffer + start, count);
    return out;
}

int CPLString::Split(CTemplateArray<CPLString>& out, const char* separator) const {
    out.DeleteAll();
    if (!separator) return 1;
    if (!m_pBuffer) return 0;

    size_t sepLen = std::strlen(separator);
    const char* pos = m_pBuffer;
    // An empty separator occurs everywhere; it cuts nothing.
    while (sepLen > 0) {
        const char* hit = std::strstr(pos, separator);
        if (!hit) break;
        if (hit != pos) {
            CPLString* piece = new (std::nothrow) CPLString;
            if (!piece) return 1;
            if (piece->Assign(pos, static_cast<int>(hit - pos))) {
                delete piece;
                return 1;
            }
            if (out.Add(piece) < 0) {
                delete piece;
                return 1;
            }
        }
        pos = hit + sepLen;
    }
    CPLString* last = new (std::nothrow) CPLString(pos);
    if (!last || !last->m_pBuffer || out.Add(last) < 0) {
        delete last;
        return 1;
    }
    return 0;
}
