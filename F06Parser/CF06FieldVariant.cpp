#include "F06Parser/CF06FieldVariant.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>

CF06FieldVariant::CF06FieldVariant()
    : m_type(eEmpty), m_int(0), m_double(0.0), m_text(nullptr), m_capacity(0) {}

CF06FieldVariant::~CF06FieldVariant() {
    std::free(m_text);
    m_text = nullptr;
    m_type = eEmpty;
}

int CF06FieldVariant::Set(const char* text) {
    return Set(text, text ? static_cast<int>(std::strlen(text)) : 0);
}

int CF06FieldVariant::Set(const char* text, int n) {
    if (!text || n < 0) n = 0;
    if (n + 1 > m_capacity) {
        char* grown = static_cast<char*>(std::realloc(m_text, static_cast<size_t>(n) + 1));
        if (!grown) {
            m_type = eEmpty;
            return -1;
        }
        m_text = grown;
        m_capacity = n + 1;
    }
    if (n > 0) std::memcpy(m_text, text, static_cast<size_t>(n));
    m_text[n] = '\0';
    m_type = eString;
    return 0;
}

int CF06FieldVariant::ToInt() const {
    if (m_type == eInt) return m_int;
    if (m_type != eDouble || std::isnan(m_double)) return 0;
    if (m_double >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (m_double <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(m_double);
}
