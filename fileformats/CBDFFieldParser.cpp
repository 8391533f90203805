#include "fileformats/CBDFFieldParser.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "F06Parser/CF06File.h"
#include "F06Parser/CF06FileBuffer.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

const std::uint64_t kOnes = 0x0101010101010101ULL;
const std::uint64_t kBlanks = 0x2020202020202020ULL;

std::uint64_t Load8(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, 8);
    return w;
}

// Index of the first byte below 0x0e (line feed, carriage return, tab, NUL
// and the other control characters) in p[0, n), or n; eight bytes a step.
std::int64_t FindControl(const char* p, std::int64_t n) {
    std::int64_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w = Load8(p + i);
        if ((w - kOnes * 0x0e) & ~w & (kOnes * 0x80)) break;
    }
    while (i < n && static_cast<unsigned char>(p[i]) >= 0x0e) ++i;
    return i;
}

// Powers of ten exact in a double.
const double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

}  // namespace

CBDFFieldParser::CBDFFieldParser()
    : m_colOffset(0),
      m_echoBulk(nullptr),
      m_echoFile(nullptr),
      m_text(nullptr),
      m_textLen(0),
      m_lineNo(0),
      m_cardLine(0),
      m_error(0),
      m_cutNumber(false),
      m_openLine(false) {}

CBDFFieldParser::~CBDFFieldParser() = default;

namespace {

// The value of the number in [p, end) (see CBDFFieldParser::tod); *stop
// (when given) receives where reading stopped.
double ReadReal(const char* p, const char* end, const char** stop = nullptr) {
    while (p < end && IsBlank(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    const unsigned long long kLimit = 1ULL << 56;
    unsigned long long digits = 0;
    long long exp10 = 0;
    for (; p < end && IsDigit(*p); ++p) {
        if (digits < kLimit)
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
        else
            ++exp10;
    }
    if (p < end && *p == '.') {
        for (++p; p < end && IsDigit(*p); ++p) {
            if (digits < kLimit) {
                digits = digits * 10 + static_cast<unsigned>(*p - '0');
                --exp10;
            }
        }
    }
    // Exponent: "E"/"e" with an optional sign, or the short form "+"/"-".
    bool hasExp = false;
    if (p < end && (*p == 'E' || *p == 'e')) {
        ++p;
        hasExp = true;
    } else if (p < end && (*p == '+' || *p == '-')) {
        hasExp = true;
    }
    if (hasExp) {
        bool expNegative = false;
        if (p < end && (*p == '+' || *p == '-')) expNegative = *p++ == '-';
        long long e = 0;
        for (; p < end && IsDigit(*p); ++p) {
            if (e < 100000) e = e * 10 + (*p - '0');
        }
        exp10 += expNegative ? -e : e;
    }
    if (stop) *stop = p;
    double value;
    if (digits == 0 || exp10 < -390) {
        value = 0.0;
    } else if (digits <= (1ULL << 53) && exp10 >= -22 && exp10 <= 22) {
        // Both factors exact: one correctly rounded operation.
        double d = static_cast<double>(digits);
        value = exp10 < 0 ? d / kExactPow10[-exp10] : d * kExactPow10[exp10];
    } else if (exp10 > 400) {
        value = HUGE_VAL;
    } else {
        char buffer[48];
        std::snprintf(buffer, sizeof buffer, "%llue%lld", digits, exp10);
        value = std::strtod(buffer, nullptr);
    }
    return negative ? -value : value;
}

}  // namespace

double CBDFFieldParser::tod(const char* text) {
    return text ? ReadReal(text, text + std::strlen(text)) : 0.0;
}

namespace {

// Whether a field text (blanks removed) is a number. A "+" is a sign only
// before a digit or a point and digit, so that texts such as continuation
// marks stay texts.
bool IsNumberText(const char* f, int k, bool mark) {
    const char first = f[0];
    if (IsDigit(first) || first == '-' || first == '.') return true;
    if (first != '+' || mark) return false;
    return (k > 1 && IsDigit(f[1])) || (k > 2 && f[1] == '.' && IsDigit(f[2]));
}

// Whether a number text is a real: it holds a point or an exponent letter
// after a digit ("1e7").
bool IsRealText(const char* f, int k) {
    for (int i = 0; i < k; ++i) {
        if (f[i] == '.') return true;
        if ((f[i] == 'E' || f[i] == 'e') && i > 0 && IsDigit(f[i - 1])) return true;
    }
    return false;
}

// Whether a field text (blanks removed) is a number that stops inside its
// exponent: "1.5E", "1.5E-", "7.+".
bool EndsInExponent(const char* f, int k) {
    if (k < 2 || !IsNumberText(f, k, false)) return false;
    auto digitOrPoint = [](char c) { return IsDigit(c) || c == '.'; };
    const char last = f[k - 1];
    const char before = f[k - 2];
    if (last == 'E' || last == 'e') return digitOrPoint(before);
    if (last == '+' || last == '-') return digitOrPoint(before) || before == 'E' || before == 'e';
    return false;
}

}  // namespace

void CBDFFieldParser::AddField(const char* text, int n, bool mark) {
    CF06FieldVariant* variant = m_fields.GetNewField();
    m_cutNumber = false;
    int b = 0;
    while (b + 8 <= n && Load8(text + b) == kBlanks) b += 8;
    while (b < n && IsBlank(text[b])) ++b;
    // Only a field that ends the file, without a line end, can be cut.
    const bool toEnd = m_openLine && n > b && !IsBlank(text[n - 1]);
    while (n > b && IsBlank(text[n - 1])) --n;
    if (n == b) return;
    text += b;
    n -= b;
    m_cutNumber = toEnd && !mark && EndsInExponent(text, n);
    // The common forms first, read where they stand: digits (an int) and
    // a real without blanks inside.
    char first = text[0];
    if (IsDigit(first) || first == '-' || first == '.' || (first == '+' && !mark)) {
        const char* p = text + (first == '-' || first == '+');
        const char* end = text + n;
        int v = 0;
        int count = 0;
        for (; p < end && IsDigit(*p) && count < 9; ++p, ++count) v = v * 10 + (*p - '0');
        if (p == end && (first != '+' || count > 0)) {
            variant->Set(first == '-' ? -v : v);
            return;
        }
        // A point, or an exponent after a digit ("1e7"), makes it a real;
        // a "+" must be followed by a digit or a point and digit.
        if (p < end && (*p == '.' || ((*p == 'E' || *p == 'e') && count > 0)) &&
            (first != '+' || IsNumberText(text, n, mark))) {
            const char* stop = nullptr;
            double value = ReadReal(text, end, &stop);
            if (stop == end && !std::isinf(value)) {
                variant->Set(value);
                return;
            }
        }
    }
    // Anything else: blanks inside are dropped and at most 16 characters
    // kept.
    bool inner = n > 16;
    for (int i = 0; i < n && !inner; ++i) inner = IsBlank(text[i]);
    char field[17];
    const char* f = text;
    int k = n;
    if (inner) {
        k = 0;
        for (int i = 0; i < n && k < 16; ++i)
            if (!IsBlank(text[i])) field[k++] = text[i];
        f = field;
    }
    if (IsNumberText(f, k, mark)) {
        if (IsRealText(f, k)) {
            double value = ReadReal(f, f + k);
            if (std::isinf(value)) {
                m_error = 1;
                m_errorText.assign(f, static_cast<size_t>(k));
                value = 0.0;
            }
            variant->Set(value);
        } else {
            // The digits up to the first other character, as atoi reads
            // them, but without running past the int range.
            const char* p = f;
            const char* end = f + k;
            bool negative = *p == '-';
            if (negative || *p == '+') ++p;
            long long v = 0;
            for (; p < end && IsDigit(*p); ++p) {
                v = v * 10 + (*p - '0');
                if (v > static_cast<long long>(INT_MAX) + 1) break;
            }
            if (negative) v = -v;
            if (v > INT_MAX || v < INT_MIN) {
                m_error = 1;
                m_errorText.assign(f, static_cast<size_t>(k));
                v = 0;
            }
            variant->Set(static_cast<int>(v));
        }
        return;
    }
    for (int i = 0; i < k; ++i) field[i] = Upper(f[i]);
    variant->Set(field, k);
}

void CBDFFieldParser::ParseRow(const char* line, int n, int& format, int& continuation) {
    continuation = 0;
    m_cutNumber = false;
    int start = 8;
    int width = 8;
    if (format == eLarge) {
        // Second half of a large-field line: 4 more fields of 16.
        format = eSmall;
        if (n < 8) return;
        width = 16;
    } else {
        format = eSmall;
        char name[9];
        int k = 0;
        int i = 0;
        for (; i < 8 && i < n; ++i) {
            char c = line[i];
            if (c == ',') {
                format = eFree;
                break;
            }
            if (c == '*') {
                format = eLarge;
            } else if (!IsBlank(c)) {
                name[k++] = Upper(c);
            }
        }
        CF06FieldVariant* variant = m_fields.GetNewField();
        if (k > 0) variant->Set(name, k);
        if (format == eFree) {
            // Every field of the line, 10 to a row.
            int col = 1;
            int from = i + 1;
            for (int j = from;; ++j) {
                if (j == n || line[j] == ',' || line[j] == '$') {
                    const bool last = j == n || line[j] == '$';
                    if (col == 10) {
                        // A comma after the continuation field closes it:
                        // only a field with text there starts a row.
                        bool empty = true;
                        for (int i = from; i < j && empty; ++i) empty = IsBlank(line[i]);
                        if (last && empty) break;
                        m_fields.AddNewRow();
                        col = 0;
                    }
                    // A row's first field and its tenth are continuation
                    // marks, kept as written.
                    AddField(line + from, j - from, col == 0 || col == 9);
                    ++col;
                    if (j < n) m_cutNumber = false;  // a comment follows
                    if (last) break;
                    from = j + 1;
                }
            }
            const CF06FieldVariant* mark = m_fields.GetValue(m_fields.GetRows() - 1, 9);
            continuation = mark ? 1 : 0;
            return;
        }
        if (format == eLarge) width = 16;
    }
    const int fieldCount = 64 / width;
    int added = 0;
    for (int f = 0; f < fieldCount; ++f) {
        int at = start + f * width;
        if (at >= n) break;
        AddField(line + at, n - at < width ? n - at : width);
        ++added;
    }
    if (format == eLarge) {
        // The second half follows on the next line; keep the columns.
        for (; added < fieldCount; ++added) m_fields.Add();
        continuation = 1;
        return;
    }
    if (n > 72) {
        AddField(line + 72, n - 72 < 8 ? n - 72 : 8, true);
        continuation = m_fields.GetValue(m_fields.GetRows() - 1, m_fields.GetCols(-1) - 1) ? 1 : 0;
    }
}

std::int64_t CBDFFieldParser::ReadLine(CF06FileBuffer& buffer, std::int64_t pos) {
    m_line.clear();
    m_text = nullptr;
    m_textLen = 0;
    m_openLine = false;
    ++m_lineNo;
    bool copied = false;  // the line spans windows or holds tabs: built in m_line
    for (;;) {
        if (!buffer.InWindow(pos)) break;
        const char* p = buffer.GetBuffer(pos);
        std::int64_t n = buffer.GetWindowEnd() - pos;
        std::int64_t i = FindControl(p, n);
        char c = i < n ? p[i] : '\0';
        if (i < n && c == '\t') {
            m_line.insert(m_line.end(), p, p + i);
            m_line.insert(m_line.end(), 8 - m_line.size() % 8, ' ');
            copied = true;
            pos += i + 1;
            continue;
        }
        if (i < n && c != '\n' && c != '\r' && c != '\0') {
            // Another control character: part of the line.
            m_line.insert(m_line.end(), p, p + i + 1);
            copied = true;
            pos += i + 1;
            continue;
        }
        if (i == n) {
            m_line.insert(m_line.end(), p, p + n);
            copied = true;
            pos += n;
            continue;
        }
        if (!copied) {
            m_text = p;
            m_textLen = static_cast<int>(i);
        } else {
            m_line.insert(m_line.end(), p, p + i);
            m_text = m_line.data();
            m_textLen = static_cast<int>(m_line.size());
        }
        pos += i;
        if (c == '\n') return pos + 1;
        if (c == '\r') return buffer[pos + 1] == '\n' ? pos + 2 : pos + 1;  // CR LF or a lone CR
        return pos;                                                         // a 0 byte stays
    }
    if (!m_text) {
        m_text = m_line.data();
        m_textLen = static_cast<int>(m_line.size());
    }
    m_openLine = true;
    return pos;
}

char CBDFFieldParser::FirstChar(CF06FileBuffer& buffer, std::int64_t pos) {
    for (int i = 0; i < m_colOffset; ++i) {
        char c = buffer[pos + i];
        if (c == '\n' || c == '\r') return '\n';
        if (c == '\0') return '\0';
    }
    char c = buffer[pos + m_colOffset];
    return c == '\r' ? '\n' : c;
}

void CBDFFieldParser::Echo() {
    if (!m_echoFile || m_textLen <= 0) return;
    m_echoFile->WriteData(m_text, m_textLen);
    m_echoFile->Write("\r\n");
}

std::int64_t CBDFFieldParser::Parse(std::int64_t pos, CF06FileBuffer& buffer) {
    m_fields.Reset();
    m_error = 0;
    std::int64_t next = ReadLine(buffer, pos);
    m_cardLine = m_lineNo;
    int format = eSmall;
    for (;;) {
        int n = m_textLen - m_colOffset;
        const char* text = n > 0 ? m_text + m_colOffset : "";
        if (n > 0 && text[0] == '$') {
            // A comment before a card; inside a card they are passed over
            // below.
            Echo();
            return next;
        }
        bool blank = true;
        for (int i = 0; i < n && blank; ++i) blank = text[i] == ' ';
        if (n <= 0 || blank) return next;  // an empty line ends the card
        Echo();
        if (format != eLarge) m_fields.AddNewRow();
        int continuation = 0;
        ParseRow(text, n, format, continuation);

        // Does the next line that is not a comment continue this card?
        std::int64_t look = next;
        char c = FirstChar(buffer, look);
        while (c == '$') {
            look = buffer.NextLine(look);
            c = FirstChar(buffer, look);
        }
        bool more;
        if (c == '\0' || IsLetter(c))
            more = false;
        else if (c == ' ' || c == '\t' || c == '*' || c == '+' || c == ',')
            more = true;
        else
            more = continuation != 0;
        if (!more) return next;
        while (FirstChar(buffer, next) == '$') next = ReadLine(buffer, next);
        next = ReadLine(buffer, next);
    }
}
