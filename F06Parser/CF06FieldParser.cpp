#include "F06Parser/CF06FieldParser.h"

#include <cstdlib>
#include <new>

#include "F06Parser/CF06FileBuffer.h"

CF06FieldParser::CF06FieldParser() : m_fields(10, 1), m_count(0) {}

CF06FieldParser::~CF06FieldParser() = default;

const CF06FieldVariant& CF06FieldParser::operator[](int i) const {
    if (i == -1) i = m_count - 1;
    if (i < 0 || i >= m_count) return m_empty;
    return *m_fields.GetAt(i);
}

int CF06FieldParser::Parse(std::int64_t pos, CF06FileBuffer& buffer) {
    m_count = 0;
    char text[21];
    for (;;) {
        char c = buffer[pos];
        while (c == ' ' || c == '\t') c = buffer[++pos];
        if (c == 0 || c == '\r' || c == '\n') break;
        int n = 0;
        while (n < 20 && c != 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            text[n++] = c;
            c = buffer[++pos];
        }
        // The 21st character of a longer run is dropped.
        if (n == 20 && c != 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n') ++pos;
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
            if (dot)
                field->Set(std::atof(text));
            else
                field->Set(std::atoi(text));
        } else {
            field->Set(text, n);
        }
    }
    return 0;
}
