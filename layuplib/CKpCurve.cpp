#include "layuplib/CKpCurve.h"

#include <new>

CKpCurve::CKpCurve(int id, const char* name, int type, int count)
    : CVekObject(id), m_name(name ? name : ""), m_type(type), m_count(0) {
    if (count < 1) return;
    try {
        m_coords.assign(3 * static_cast<size_t>(count), 0.0);
        m_count = count;
    } catch (const std::bad_alloc&) {
        m_coords.clear();
    }
}

CKpCurve::~CKpCurve() = default;

void CKpCurve::coord(int i, double value) {
    if (i >= 0 && i < 3 * m_count) m_coords[static_cast<size_t>(i)] = value;
}

double CKpCurve::coord(int i) const {
    return (i >= 0 && i < 3 * m_count) ? m_coords[static_cast<size_t>(i)] : 0.0;
}
