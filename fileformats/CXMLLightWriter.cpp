#include "fileformats/CXMLLightWriter.h"

#include <cstring>
#include <string>

#include "layuplib/number_text.h"

namespace {

// Length of the valid UTF-8 sequence (2..4 bytes) of an XML character
// starting at s, or 0. Overlong forms, surrogates, code points above
// U+10FFFF and the non-characters U+FFFE/U+FFFF are refused.
int Utf8Length(const unsigned char* s) {
    unsigned cp;
    int n;
    if (s[0] >= 0xC2 && s[0] <= 0xDF) {
        n = 2;
        cp = s[0] & 0x1Fu;
    } else if (s[0] >= 0xE0 && s[0] <= 0xEF) {
        n = 3;
        cp = s[0] & 0x0Fu;
    } else if (s[0] >= 0xF0 && s[0] <= 0xF4) {
        n = 4;
        cp = s[0] & 0x07u;
    } else {
        return 0;
    }
    for (int i = 1; i < n; ++i) {
        if ((s[i] & 0xC0) != 0x80) return 0;  // also stops at the terminator
        cp = (cp << 6) | (s[i] & 0x3Fu);
    }
    if ((n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000) || cp > 0x10FFFF) return 0;
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF) return 0;
    return n;
}

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

}  // namespace

CXMLLightWriter::CXMLLightWriter()
    : m_stream(nullptr), m_indent(0), m_startTagOpen(0), m_failed(false) {}

CXMLLightWriter::~CXMLLightWriter() {
    Close();
}

int CXMLLightWriter::Open(const char* path) {
    if (!path) return 1;
    Close();
    m_stream = std::fopen(path, "w");
    if (!m_stream) return 2;
    // Exports run to many megabytes: fewer, larger writes.
    std::setvbuf(m_stream, nullptr, _IOFBF, 1 << 16);
    m_failed = false;
    m_startTagOpen = 0;
    m_open.clear();
    m_content.clear();
    Put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    return 0;
}

int CXMLLightWriter::Close() {
    if (!m_stream) return 0;
    bool failed = m_failed || std::ferror(m_stream);
    if (std::fclose(m_stream) != 0) failed = true;
    m_stream = nullptr;
    m_failed = false;
    return failed ? 1 : 0;
}

void CXMLLightWriter::Put(const char* text) {
    if (m_stream && std::fputs(text, m_stream) == EOF) m_failed = true;
}

void CXMLLightWriter::PutEscaped(const char* text) {
    if (!text) return;
    if (!ContainsInvalidCharacter(text)) {
        Put(text);
        return;
    }
    CKpStr out;
    ReplaceInvalidCharacters(text, out);
    Put(out);
}

void CXMLLightWriter::CloseStartTag() {
    if (m_startTagOpen) {
        Put(">\n");
        m_startTagOpen = 0;
    }
}

void CXMLLightWriter::Begin(const char* name) {
    CloseStartTag();
    Put("<");
    Put(name);
    if (!m_content.empty()) m_content.back() = 1;
    const size_t depth = m_open.size();
    if (m_names.size() <= depth) m_names.resize(depth + 1);
    m_names[depth] = name;
    // Pointers into m_names stay valid: it only grows before they are taken
    // again for the depths below.
    m_open.clear();
    for (size_t i = 0; i <= depth; ++i) m_open.push_back(&m_names[i]);
    m_content.push_back(0);
    m_startTagOpen = 1;
}

void CXMLLightWriter::Attribute(const char* name, const char* value) {
    Put(" ");
    Put(name);
    Put("=\"");
    PutEscaped(value ? value : "");
    Put("\"");
    m_startTagOpen = 1;
}

void CXMLLightWriter::Attribute(const char* name, double value) {
    if (m_stream && std::fprintf(m_stream, " %s=\"%g\"", name, value) < 0) m_failed = true;
    m_startTagOpen = 1;
}

void CXMLLightWriter::Attribute(const char* name, int value) {
    char text[16];
    *FormatInt(text, value) = '\0';
    Put(" ");
    Put(name);
    Put("=\"");
    Put(text);
    Put("\"");
    m_startTagOpen = 1;
}

void CXMLLightWriter::Data(const char* text) {
    if (m_content.empty()) return;
    m_content.back() = 1;
    CloseStartTag();
    PutEscaped(text);
}

void CXMLLightWriter::DataVerbatim(const char* text, size_t length) {
    if (m_content.empty()) return;
    m_content.back() = 1;
    CloseStartTag();
    if (m_stream && length > 0 && std::fwrite(text, 1, length, m_stream) != length)
        m_failed = true;
}

void CXMLLightWriter::End() {
    if (m_open.empty()) return;
    CKpStr* name = m_open.back();
    const int content = m_content.back();
    m_open.pop_back();
    m_content.pop_back();
    if (content) {
        Put("</");
        Put(*name);
        Put(">\n");
    } else {
        Put("/>\n");
    }
    m_startTagOpen = 0;
}

void CXMLLightWriter::BeginEnd(const char* name) {
    if (m_open.empty()) return;
    Put("<");
    Put(name);
    Put("/>\n");
}

void CXMLLightWriter::Comment(const char* text) {
    Put("<!--");
    Put(text ? text : "");
    Put("-->\n");
}

void CXMLLightWriter::Indent() {
    const int n = m_indent < 63 ? m_indent : 63;
    for (int i = 0; i < n; ++i) Put("\t");
}

int CXMLLightWriter::IsReservedCharacter(char c) {
    return c == '<' || c == '>' || c == '&' || c == '\'' || c == '"';
}

int CXMLLightWriter::IsCharacter(char c) {
    const signed char s = static_cast<signed char>(c);
    if (s == 9 || s == 10 || s == 13) return 1;
    return s >= 32 && !IsReservedCharacter(c);
}

int CXMLLightWriter::ContainsInvalidCharacter(const char* text) {
    if (!text) return 0;
    for (const char* p = text; *p; ++p)
        if (!IsCharacter(*p)) return 1;
    return 0;
}

void CXMLLightWriter::ReplaceInvalidCharacters(const char* text, CKpStr& out) {
    std::string s;
    if (text) {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
        char ref[8];
        while (*p) {
            const unsigned char c = *p;
            if (c >= 128) {
                const int n = Utf8Length(p);
                if (n > 0) {
                    s.append(reinterpret_cast<const char*>(p), n);
                    p += n;
                    continue;
                }
                std::snprintf(ref, sizeof ref, "&#%03d;", c);
                s += ref;
            } else if (IsReservedCharacter(static_cast<char>(c))) {
                std::snprintf(ref, sizeof ref, "&#%03d;", c);
                s += ref;
            } else if (!IsCharacter(static_cast<char>(c))) {
                s += kReplacement;
            } else {
                s += static_cast<char>(c);
            }
            ++p;
        }
    }
    out = s.c_str();
}
