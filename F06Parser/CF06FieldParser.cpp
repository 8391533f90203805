#include "F06Parser/CF06FieldParser.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "F06Parser/CF06FileBuffer.h"
#include "layuplib/number_text.h"

CF06FieldParser::CF06FieldParser() : m_fields(10, 1), m_count(0) {}

CF06FieldParser::~CF06FieldParser() = default;

const CF06FieldVariant& CF06FieldParser::operator[](int i) const {
    if (i == -1) i = m_count - 1;
    if (i < 0 || i >= m_count) return m_empty;
    return *m_fields.GetAt(i);
}

namespace {

bool EndsLine(char c) {
    return c == 0 || c == '\r' || c == '\n';
}

bool EndsField(char c) {
    return c == 0 || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

template <class Byte>
void CF06FieldParser::Split(std::int64_t pos, Byte byte) {
    char text[21];
    for (;;) {
        char c = byte(pos);
        while (c == ' ' || c == '\t') c = byte(++pos);
        if (EndsLine(c)) break;
        int n = 0;
        while (n < 20 && !EndsField(c)) {
            text[n++] = c;
            c = byte(++pos);
        }
        // The 21st character of a longer run is dropped.
        if (n == 20 && !EndsField(c)) ++pos;
        text[n] = '\0';
        if (m_count >= m_fields.GetSize()) {
            CF06FieldVariant* v = new (std::nothrow) CF06FieldVariant();
            if (!v || m_fields.Add(v) < 0) {
                delete v;
                break;
            }
        }
        CF06FieldVariant* field = m_fields.GetAt(m_count++);
        const bool digit = text[0] >= '0' && text[0] <= '9';
        const bool minus = text[0] == '-' && text[1] >= '0' && text[1] <= '9';
        if (digit || minus) {
            bool dot = false;
            for (int k = 0; k < n; ++k) dot = dot || text[k] == '.';
            // Whole numbers through the project's parsers, which read them
            // as strtod / strtol do; anything else as atof / atoi read its
            // start.
            if (dot) {
                double value;
                if (!ParseReal(text, static_cast<size_t>(n), value)) value = std::atof(text);
                field->Set(value);
            } else {
                int value;
                if (!ParseInt(text, static_cast<size_t>(n), value)) value = std::atoi(text);
                field->Set(value);
            }
        } else {
            field->Set(text, n);
        }
    }
}

int CF06FieldParser::Parse(std::int64_t pos, CF06FileBuffer& buffer) {
    m_count = 0;
    // A line that ends inside the window is read from it directly; the
    // window then cannot move under the reads.
    if (buffer.InWindow(pos)) {
        const char* begin = buffer.GetBuffer(pos);
        const std::int64_t avail = buffer.GetWindowEnd() - pos;
        if (avail > 0 && std::memchr(begin, '\n', static_cast<size_t>(avail))) {
            Split(pos, [begin, pos](std::int64_t at) { return begin[at - pos]; });
            return 0;
        }
    }
    Split(pos, [&buffer](std::int64_t at) { return buffer[at]; });
    return 0;
}
