#include "layuplib/CKpPointArray.h"

#include <new>

CKpPointArray::CKpPointArray()
    : m_points(new (std::nothrow) CKpPoint[10]), m_capacity(m_points ? 10 : 0), m_count(0) {}

CKpPointArray::~CKpPointArray() {
    delete[] m_points;
}

CKpPoint* CKpPointArray::pPoint(int i) {
    if (i < 0) return nullptr;
    if (i >= m_capacity) {
        const int capacity = i + 10;
        CKpPoint* grown = new (std::nothrow) CKpPoint[capacity];
        if (!grown) return nullptr;
        for (int k = 0; k < m_count; ++k) grown[k] = m_points[k];
        delete[] m_points;
        m_points = grown;
        m_capacity = capacity;
    }
    // Entries between the old count and i were never handed out: zero them.
    for (int k = m_count; k <= i; ++k) m_points[k].Set(0.0, 0.0, 0.0);
    if (m_count < i + 1) m_count = i + 1;
    return &m_points[i];
}
