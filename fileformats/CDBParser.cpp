#include "fileformats/CDBParser.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fileformats/CDBCommand.h"
#include "fileformats/CDBFormatString.h"

namespace {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Trimmed piece [b, e) of a line.
void trimRange(const char*& b, const char*& e) {
    while (b < e && static_cast<unsigned char>(*b) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(e[-1]) <= ' ') --e;
}

}  // namespace

double CdbAtof(const char* begin, const char* end) {
    const char* p = begin;
    while (p < end && (isBlank(*p) || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')) ++p;
    if (p == end) return 0.0;
    // Integer fields (most of an element block): digits up to the blanks.
    {
        const char* q = p + (*p == '-');
        long long iv = 0;
        int digits = 0;
        while (q < end && isDigit(*q) && digits < 15) iv = iv * 10 + (*q++ - '0'), ++digits;
        const char* r = q;
        while (r < end && isBlank(*r)) ++r;
        if (digits > 0 && r == end && (q == end || isBlank(*q)))
            return static_cast<double>(*p == '-' ? -iv : iv);
    }
    double v = 0.0;
    if (*p != '+') {
        auto r = std::from_chars(p, end, v);
        if (r.ec == std::errc() && (r.ptr == end || (*r.ptr != 'x' && *r.ptr != 'X'))) return v;
    }
    // Forms only strtod takes (a leading "+", hexadecimal, out of range).
    char buf[128];
    const size_t n = static_cast<size_t>(end - p) < sizeof buf - 1 ? end - p : sizeof buf - 1;
    std::memcpy(buf, p, n);
    buf[n] = '\0';
    return std::strtod(buf, nullptr);
}

CDBParser::CDBParser() : m_pushedBack(0), m_lineNo(0), m_curLine(0), m_pos(0) {}

CDBParser::~CDBParser() {
    m_text.Close();
}

int CDBParser::OpenRead(const char* path) {
    m_pushedBack = 0;
    m_lineNo = m_curLine = 0;
    m_pos = 0;
    m_pendingErrors.clear();
    if (!path) {
        m_lastError = "Wrong arguments";
        return 1;
    }
    if (m_text.OpenRead(path) != 0) {
        m_lastError = "Unable to open file ";
        m_lastError += path;
        return 2;
    }
    return 0;
}

int CDBParser::OpenWrite(const char* path, int binary) {
    if (!path) {
        m_lastError = "Wrong arguments";
        return 1;
    }
    if (m_text.OpenWrite(path, binary) != 0) {
        m_lastError = "Unable to open file ";
        m_lastError += path;
        return 2;
    }
    return 0;
}

int CDBParser::Close() {
    return m_text.Close();
}

int CDBParser::Write(const char* text) {
    if (!text) return 0;
    return m_text.Write(text, static_cast<int>(std::strlen(text)));
}

int CDBParser::Write(const char* text, int n) {
    return m_text.Write(text, n);
}

void CDBParser::AddError(CDBCommand& cmd, const char* format, ...) {
    char buf[256];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    cmd.AddError(buf);
}

bool CDBParser::ReadLine() {
    CF06FileBuffer& file = m_text.GetFile();
    for (;;) {
        if (!file.InWindow(m_pos)) return false;
        ++m_lineNo;
        m_scratch.clear();
        bool nul = false;
        // 1. Collect the bytes up to the line end, window by window.
        for (;;) {
            if (!file.InWindow(m_pos)) break;
            const char* p = file.GetBuffer(m_pos);
            const std::int64_t n = file.GetWindowEnd() - m_pos;
            // The line end by memchr; CR and NUL are rare and looked for in the
            // line's span only.
            const char* lf = static_cast<const char*>(std::memchr(p, '\n', n));
            std::int64_t i = lf ? lf - p : n;
            const char* cr = static_cast<const char*>(std::memchr(p, '\r', i));
            if (cr) i = cr - p;
            if (std::memchr(p, '\0', i)) nul = true;
            if (i == n) {
                m_scratch.append(p, static_cast<size_t>(i));
                m_pos += i;
                continue;
            }
            m_scratch.append(p, static_cast<size_t>(i));
            m_pos += i + 1;
            if (p[i] == '\r' && file[m_pos] == '\n') ++m_pos;
            break;
        }
        // 2. A NUL byte is no text: drop the line, say where, read on.
        if (nul) {
            char buf[128];
            std::snprintf(buf, sizeof buf, "Line %d holds a NUL byte and was skipped.", m_lineNo);
            m_pendingErrors.emplace_back(buf);
            continue;
        }
        m_curLine = m_lineNo;
        m_line.Set(m_scratch.data(), static_cast<int>(m_scratch.size()));
        return true;
    }
}

bool CDBParser::NextLine() {
    if (m_pushedBack) {
        m_pushedBack = 0;
        return true;
    }
    while (ReadLine()) {
        if (m_line.Size() > 0) return true;
    }
    return false;
}

void CDBParser::ParseCommmandArguments(CDBCommand& cmd) {
    const char* text = m_line;
    const char* comma = std::strchr(text, ',');
    const char* nameEnd = comma ? comma : text + std::strlen(text);
    const char* b = text;
    const char* e = nameEnd;
    trimRange(b, e);
    cmd.Name().Set(b, static_cast<int>(e - b));
    if (!comma) return;
    m_argText = comma + 1;
    const char* p = comma + 1;
    for (;;) {
        const char* next = std::strchr(p, ',');
        const char* end = next ? next : p + std::strlen(p);
        b = p;
        e = end;
        trimRange(b, e);
        std::string piece(b, e);
        cmd.AddArgument(piece.c_str());
        if (!next) break;
        p = next + 1;
    }
}

int CDBParser::GetNextCommand(CDBCommand& cmd) {
    cmd.Clear();
    int status = 0;
    if (!NextLine()) {
        status = -1;
    } else {
        cmd.SetLine(m_curLine);
        // 1. Comment, condensed format, name and arguments.
        const int bang = m_line.Find('!', 0);
        if (bang >= 0) m_line.SubString(m_line, 0, bang);
        if (m_line.Find('$', 0) >= 0) {
            m_lastError = "This parser doesn't support condensed format";
            status = 1;
        } else {
            ParseCommmandArguments(cmd);
            // 2. What follows: a format line, free rows or the next command.
            if (!NextLine()) {
                status = 1;
            } else {
                const char c = m_line.Buffer()[0];
                if (c == '(') {
                    std::vector<CDBFormatString*> formats;
                    bool refused = false;
                    status = ParseCommandBlockFormat(formats, refused);
                    if (status == 0) status = ParseCommandFormatBlocks(formats, refused, cmd);
                    for (CDBFormatString* f : formats) delete f;
                } else if (isDigit(c) || c == ' ') {
                    status = ParseCommandBlocks(cmd);
                } else {
                    m_pushedBack = 1;
                }
            }
        }
    }
    for (const std::string& e : m_pendingErrors) cmd.AddError(e.c_str());
    m_pendingErrors.clear();
    return status;
}

int CDBParser::ParseCommandBlockFormat(std::vector<CDBFormatString*>& formats, bool& refused) {
    do {
        std::unique_ptr<CDBFormatString> f(new CDBFormatString);
        if (f->Parse(m_line) == 2) {
            refused = true;
            char buf[128];
            std::snprintf(buf, sizeof buf,
                          "Line %d: format line not supported; its rows are skipped.", m_curLine);
            m_pendingErrors.emplace_back(buf);
        }
        formats.push_back(f.release());
        if (!NextLine()) {
            m_lastError = "Was expecting a line after format on line ";
            m_lastError += m_lineNo;
            return 1;
        }
    } while (m_line.Buffer()[0] == '(');
    m_pushedBack = 1;
    return 0;
}

int CDBParser::ParseCommandFormatBlocks(const std::vector<CDBFormatString*>& formats, bool refused,
                                        CDBCommand& cmd) {
    for (;;) {
        if (!NextLine()) return 1;
        const char c = m_line.Buffer()[0];
        if (!(isDigit(c) || c == '-' || c == ' ')) {
            m_pushedBack = 1;
            return 0;
        }
        if (!refused) ParseCommandFormatBlock(formats, cmd);
    }
}

void CDBParser::ParseCommandFormatBlock(const std::vector<CDBFormatString*>& formats,
                                        CDBCommand& cmd) {
    cmd.BeginRow(m_curLine);
    if (formats.empty()) return;
    const char* text = m_line;
    const int len = m_line.Size();
    // 1. The format: real constant sets start with two 8-column integers,
    // their continuation lines with one 16-column real.
    const CDBFormatString* format = formats[0];
    if (formats.size() >= 2 && cmd.Name() == "RLBLOCK") {
        char head[17];
        const int n = len < 16 ? len : 16;
        std::memcpy(head, text, n);
        head[n] = '\0';
        double a, b;
        if (std::sscanf(head, "%lg %lg", &a, &b) < 2) format = formats[1];
    }
    // 2. The fields, item by item; the row ends with the line.
    int col = 0;
    for (int i = 0; i < format->GetNumFormats(); ++i) {
        int count = 0, width = 0, precision = 0;
        char type = 0;
        format->GetFormat(i, count, type, width, precision);
        for (int k = 0; k < count; ++k) {
            if (col >= len) return;
            if (col + width > len) {
                // Cut inside a field: blanks only are trailing space, anything
                // else is a number cut short.
                for (int j = col; j < len; ++j) {
                    if (!isBlank(text[j])) {
                        cmd.DropLastRow();
                        AddError(cmd,
                                 "Line %d ends inside a field at column %d; the row is skipped.",
                                 m_curLine, col + 1);
                        return;
                    }
                }
                return;
            }
            cmd.AddValue(CdbAtof(text + col, text + col + width));
            col += width;
        }
    }
}

int CDBParser::ParseCommandBlocks(CDBCommand& cmd) {
    ParseCommandBlock(cmd);
    for (;;) {
        if (!NextLine()) return 1;
        const char c = m_line.Buffer()[0];
        if (!(isDigit(c) || c == ' ')) {
            m_pushedBack = 1;
            return 0;
        }
        ParseCommandBlock(cmd);
    }
}

void CDBParser::ParseCommandBlock(CDBCommand& cmd) {
    cmd.BeginRow(m_curLine);
    const char* p = m_line;
    const char* end = p + m_line.Size();
    for (;;) {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
        const char* e = comma ? comma : end;
        cmd.AddValue(CdbAtof(p, e));
        if (!comma) break;
        p = comma + 1;
    }
}
