#include "layuplib/CKpOlnEdge.h"

#include <cmath>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpOln.h"
#include "layuplib/angle_util.h"

CKpOlnEdge::~CKpOlnEdge() = default;

int CKpOlnEdge::WeftExtend(int k) const {
    const int d = dn_0_7(2 * k + m_direction);
    return (d == 2 || d == 6) ? 1 : 0;
}

void CKpOlnEdge::SetMaxStrain(const CKpDrape* drape) {
    if (!drape || !m_start || !m_end) return;
    double m = 0.0;
    // The ring closes, so the walk meets the end; the start bounds it on a
    // ring that does not hold the end.
    const CKpOln* e = m_start;
    do {
        m = std::fmax(m, std::fabs(drape->GetStrnOln(e)));
        if (e == m_end) break;
        e = e->Next();
    } while (e && e != m_start);
    m_maxStrain = m;
}
