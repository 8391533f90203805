#include "fileformats/CBDFFields.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "F06Parser/CF06FileBuffer.h"

CBDFFields::CBDFFields() : m_nRows(0), m_current(nullptr), m_nFields(0) {}

CBDFFields::~CBDFFields() = default;

void CBDFFields::Reset() {
    for (int r = 0; r < m_nRows; ++r) m_rows[r].clear();
    m_nRows = 0;
    m_current = nullptr;
    m_nFields = 0;
}

void CBDFFields::AddNewRow() {
    if (m_nRows == static_cast<int>(m_rows.size())) m_rows.resize(m_rows.size() + 10);
    m_current = &m_rows[m_nRows++];
    m_current->clear();
}

CF06FieldVariant* CBDFFields::GrowField() {
    if (!m_current) AddNewRow();
    if (m_nFields == static_cast<int>(m_fields.size())) {
        for (int k = 0; k < 10; ++k) m_fields.emplace_back(new CF06FieldVariant);
    }
    CF06FieldVariant* field = m_fields[m_nFields++].get();
    field->Clear();
    m_current->push_back(field);
    return field;
}

void CBDFFields::Add(int value) {
    GetNewField()->Set(value);
}

void CBDFFields::Add(double value) {
    GetNewField()->Set(value);
}

void CBDFFields::Add(const char* text) {
    CF06FieldVariant* field = GetNewField();
    if (text) field->Set(text);
}

void CBDFFields::Add() {
    GetNewField();
}

int CBDFFields::GetCols(int row) const {
    if (row == -1) row = m_nRows - 1;
    if (row < 0 || row >= m_nRows) return 0;
    return static_cast<int>(m_rows[row].size());
}

const char* CBDFFields::GetString(int row, int col) const {
    const CF06FieldVariant* field = GetValue(row, col);
    return field ? field->GetString() : nullptr;
}

int CBDFFields::FormatDouble(double value, char* out) {
    if (value == 0.0) {
        std::memcpy(out, "0.", 3);
        return 2;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%#.14G", value);
    char* e = std::strchr(text, 'E');
    char mantissa[64];
    char exponent[8] = "";
    if (e) {
        *e = '\0';
        // Sign kept, leading zeros of the exponent dropped: E-05 -> -5.
        const char* digits = e + 2;
        while (*digits == '0' && digits[1]) ++digits;
        std::snprintf(exponent, sizeof exponent, "%c%s", e[1], digits);
    }
    std::snprintf(mantissa, sizeof mantissa, "%s", text);
    int n = static_cast<int>(std::strlen(mantissa));
    if (std::strchr(mantissa, '.')) {
        while (n > 0 && mantissa[n - 1] == '0') --n;
        mantissa[n] = '\0';
    }
    if (!e) {
        // 0.5 -> .5, -0.5 -> -.5
        char* zero = mantissa[0] == '-' ? mantissa + 1 : mantissa;
        if (zero[0] == '0' && zero[1] == '.') {
            std::memmove(zero, zero + 1, std::strlen(zero));
            --n;
        }
        if (n > 16) n = 16;
        std::memcpy(out, mantissa, static_cast<size_t>(n));
        out[n] = '\0';
        return n;
    }
    int ne = static_cast<int>(std::strlen(exponent));
    if (n + ne > 16) n = 16 - ne;
    std::memcpy(out, mantissa, static_cast<size_t>(n));
    std::memcpy(out + n, exponent, static_cast<size_t>(ne) + 1);
    return n + ne;
}

namespace {

// Appends `text` of length n padded with blanks to `width` (longer texts
// are cut to the width).
void Pad(std::vector<char>& line, const char* text, int n, int width) {
    if (n > width) n = width;
    line.insert(line.end(), text, text + n);
    line.insert(line.end(), static_cast<size_t>(width - n), ' ');
}

}  // namespace

int CBDFFields::Write(CF06FileBuffer& out) const {
    // Each field is formatted once; the row's width follows from the texts.
    struct Text {
        char s[64];
        int n;
    };
    Text texts[10];
    std::vector<char>& line = m_out;
    int status = 0;
    for (int r = 0; r < m_nRows; ++r) {
        const std::vector<CF06FieldVariant*>& row = m_rows[r];
        int ncols = static_cast<int>(row.size());
        if (ncols > 10) ncols = 10;
        bool large = false;
        for (int c = 0; c < ncols; ++c) {
            const CF06FieldVariant* field = row[c];
            Text& t = texts[c];
            switch (field->GetType()) {
                case CF06FieldVariant::eInt:
                    t.n = static_cast<int>(
                        std::to_chars(t.s, t.s + sizeof t.s, field->ToInt()).ptr - t.s);
                    break;
                case CF06FieldVariant::eDouble:
                    t.n = FormatDouble(field->ToDouble(), t.s);
                    if (c >= 1 && c <= 8 && t.n > 8) large = true;
                    break;
                case CF06FieldVariant::eString:
                    t.n = static_cast<int>(std::strlen(field->GetString()));
                    if (t.n > 63) t.n = 63;
                    std::memcpy(t.s, field->GetString(), static_cast<size_t>(t.n));
                    break;
                default:
                    t.n = 0;
                    break;
            }
        }
        int width = large ? 16 : 8;
        line.clear();
        for (int c = 0; c < ncols; ++c) {
            Text& t = texts[c];
            if (c == 0 || c == 9) {
                if (large && t.n < 8) t.s[t.n++] = '*';
                Pad(line, t.s, t.n, 8);
            } else {
                if (large && c == 5) {
                    const char* next = "\n*       ";
                    line.insert(line.end(), next, next + 9);
                }
                Pad(line, t.s, t.n, width);
            }
        }
        line.push_back('\n');
        // The reader takes the line after a large first half as its second
        // half; rows that end early get an empty one.
        if (large && ncols < 6) {
            const char* close = "*       \n";
            line.insert(line.end(), close, close + 9);
        }
        if (out.Write(line.data(), static_cast<int>(line.size())) != 0) status = -1;
    }
    return status;
}
