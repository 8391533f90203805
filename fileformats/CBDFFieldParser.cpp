#include "fileformats/CBDFFieldParser.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "F06Parser/CF06File.h"
#include "F06Parser/CF06FileBuffer.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
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
      m_lineNo(0),
      m_cardLine(0),
      m_error(0) {}

CBDFFieldParser::~CBDFFieldParser() = default;

double CBDFFieldParser::tod(const char* text) {
    if (!text) return 0.0;
    const char* p = text;
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    const unsigned long long kLimit = 1ULL << 56;
    unsigned long long digits = 0;
    long long exp10 = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        if (digits < kLimit)
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
        else
            ++exp10;
    }
    if (*p == '.') {
        for (++p; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
            if (digits < kLimit) {
                digits = digits * 10 + static_cast<unsigned>(*p - '0');
                --exp10;
            }
        }
    }
    // Exponent: "E"/"e" with an optional sign, or the short form "+"/"-".
    bool hasExp = false;
    if (*p == 'E' || *p == 'e') {
        ++p;
        hasExp = true;
    } else if (*p == '+' || *p == '-') {
        hasExp = true;
    }
    if (hasExp) {
        bool expNegative = false;
        if (*p == '+' || *p == '-') expNegative = *p++ == '-';
        long long e = 0;
        for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
            if (e < 100000) e = e * 10 + (*p - '0');
        }
        exp10 += expNegative ? -e : e;
    }
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

void CBDFFieldParser::SetF06Parameters(CF06EchoBulk* echo) {
    // The printed-output echo source fills in the column offset and echo
    // file; without one the parser reads a plain bulk data file.
    m_echoBulk = echo;
    if (!echo) {
        m_colOffset = 0;
        m_echoFile = nullptr;
    }
}

void CBDFFieldParser::AddField(const char* text, int n) {
    // Blanks are dropped, texts are kept in upper case, at most 16
    // characters.
    char field[17];
    int k = 0;
    for (int i = 0; i < n && k < 16; ++i) {
        char c = text[i];
        if (IsBlank(c)) continue;
        field[k++] = c;
    }
    field[k] = '\0';
    CF06FieldVariant* variant = m_fields.GetNewField();
    if (k == 0) return;
    char first = field[0];
    if (std::isdigit(static_cast<unsigned char>(first)) || first == '-' || first == '.') {
        bool real = false;
        for (int i = 0; i < k; ++i) real = real || field[i] == '.';
        if (real) {
            double value = tod(field);
            if (std::isinf(value)) {
                value = 0.0;
                m_error = 1;
                m_errorText = field;
            }
            variant->Set(value);
        } else {
            // The digits up to the first other character, as atoi reads
            // them, but without running past the int range.
            const char* p = field;
            bool negative = *p == '-';
            if (negative) ++p;
            long long v = 0;
            for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
                v = v * 10 + (*p - '0');
                if (v > static_cast<long long>(INT_MAX) + 1) break;
            }
            if (negative) v = -v;
            if (v > INT_MAX || v < INT_MIN) {
                v = 0;
                m_error = 1;
                m_errorText = field;
            }
            variant->Set(static_cast<int>(v));
        }
        return;
    }
    for (int i = 0; i < k; ++i)
        field[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(field[i])));
    variant->Set(field, k);
}

void CBDFFieldParser::ParseRow(const char* line, int n, int& format, int& continuation) {
    continuation = 0;
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
                name[k++] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
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
                    if (col == 10) {
                        m_fields.AddNewRow();
                        col = 0;
                    }
                    AddField(line + from, j - from);
                    ++col;
                    if (j == n || line[j] == '$') break;
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
        AddField(line + 72, n - 72 < 8 ? n - 72 : 8);
        continuation = m_fields.GetValue(m_fields.GetRows() - 1, m_fields.GetCols(-1) - 1) ? 1 : 0;
    }
}

std::int64_t CBDFFieldParser::ReadLine(CF06FileBuffer& buffer, std::int64_t pos) {
    m_line.clear();
    ++m_lineNo;
    for (;;) {
        if (!buffer.InWindow(pos)) return pos;
        const char* p = buffer.GetBuffer(pos);
        std::int64_t n = buffer.GetWindowEnd() - pos;
        std::int64_t i = 0;
        for (; i < n; ++i) {
            char c = p[i];
            if (c == '\n') return pos + i + 1;
            if (c == '\r') {
                // CR LF, or a lone CR.
                std::int64_t next = pos + i + 1;
                return buffer[next] == '\n' ? next + 1 : next;
            }
            if (c == '\0') return pos + i;
            if (c == '\t') {
                m_line.insert(m_line.end(), 8 - m_line.size() % 8, ' ');
            } else {
                m_line.push_back(c);
            }
        }
        pos += n;
    }
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
    if (!m_echoFile || m_line.empty()) return;
    m_echoFile->WriteData(m_line.data(), static_cast<int>(m_line.size()));
    m_echoFile->Write("\r\n");
}

std::int64_t CBDFFieldParser::Parse(std::int64_t pos, CF06FileBuffer& buffer) {
    m_fields.Reset();
    m_error = 0;
    std::int64_t next = ReadLine(buffer, pos);
    m_cardLine = m_lineNo;
    int format = eSmall;
    for (;;) {
        int n = static_cast<int>(m_line.size()) - m_colOffset;
        const char* text = m_line.data() + m_colOffset;
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
        if (c == '\0' || std::isalpha(static_cast<unsigned char>(c)))
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
