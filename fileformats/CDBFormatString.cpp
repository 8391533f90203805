#include "fileformats/CDBFormatString.h"

const char* GetNumber(const char* text, int& value) {
    value = 0;
    if (!text) return text;
    int digits = 0;
    long long v = 0;
    while (*text >= '0' && *text <= '9') {
        if (digits < 10) v = v * 10 + (*text - '0');
        ++digits;
        ++text;
    }
    value = digits > 9 ? -1 : static_cast<int>(v);
    return text;
}

void CDBFormatString::clear() {
    m_count.Size(0);
    m_type.Size(0);
    m_width.Size(0);
    m_precision.Size(0);
}

int CDBFormatString::Parse(const char* text) {
    clear();
    if (!text || text[0] != '(') return 1;
    const char* p = text + 1;
    while (*p) {
        int count, width, precision = 0;
        p = GetNumber(p, count);
        if (count < 0) return clear(), 2;
        if (count == 0) count = 1;
        const char type = *p++;
        if (type == '\0') break;  // a count with nothing after it: no item
        p = GetNumber(p, width);
        if (width <= 0 || width > MAX_WIDTH) return clear(), 2;
        if (*p == '.') {
            p = GetNumber(p + 1, precision);
            if (precision < 0) return clear(), 2;
        }
        m_count.Add(count, -1);
        m_type.Add(type, -1);
        m_width.Add(width, -1);
        m_precision.Add(precision, -1);
        if (*p != ',') break;
        ++p;
    }
    return 0;
}

void CDBFormatString::GetFormat(int i, int& count, char& type, int& width, int& precision) const {
    if (i < 0 || i >= GetNumFormats()) return;
    count = m_count[i];
    type = m_type[i];
    width = m_width[i];
    precision = m_precision[i];
}
