#include "layuplib/CKpPlyElem.h"

#include <cmath>

#include "layuplib/CKpMat.h"
#include "layuplib/CKpMatPropStore.h"
#include "layuplib/CKpPatElem.h"
#include "layuplib/angle_util.h"
#include "layuplib/calculate_thickness.h"

namespace {

// a wrapped into (-pi, pi]: the ply angles exchanged with clients never take
// the value -pi.
double wrapHalfOpen(double a) {
    const double pi = std::acos(-1.0);
    const double w = pi_pi(a);
    return w <= -pi ? pi : w;
}

}  // namespace

CKpPlyElem::CKpPlyElem(CKpMat* mat, CKpPatElem* patElem) : m_mat(mat), m_patElem(patElem) {}

CKpPlyElem::~CKpPlyElem() {
    m_mat = nullptr;
    m_patElem = nullptr;
}

CKpElem* CKpPlyElem::pelem() const {
    return m_patElem ? m_patElem->pelem() : nullptr;
}

int CKpPlyElem::stdn() const {
    return m_patElem ? m_patElem->stdn() : 0;
}

int CKpPlyElem::dnfg() const {
    return m_patElem ? m_patElem->dnfg() : 0;
}

int CKpPlyElem::GetSide() const {
    return stdn() * dnfg();
}

double CKpPlyElem::rotn() const {
    return m_patElem ? m_patElem->warpAngle() : 0.0;
}

double CKpPlyElem::wpwtang() const {
    if (!m_patElem) return 0.0;
    return wrapHalfOpen(m_patElem->weftAngle() - m_patElem->warpAngle());
}

double CKpPlyElem::GetXMLWeftAngle() const {
    if (!m_patElem) return 0.0;
    const double warp = m_patElem->warpAngle();
    const double weft = m_patElem->weftAngle();
    // A weft that lies on the warp carries no direction of its own (a
    // projected or painted ply): report the perpendicular on the ply's side.
    if (std::fabs(pi_pi(weft - warp)) <= 1e-12) {
        const double halfPi = 0.5 * std::acos(-1.0);
        return wrapHalfOpen(warp + halfPi * GetSide());
    }
    return weft;
}

int CKpPlyElem::order() const {
    return m_patElem ? m_patElem->order() : 0;
}

double CKpPlyElem::thck() const {
    if (m_patElem && m_patElem->thickness() > 0.0) return m_patElem->thickness();
    if (!m_mat) return 0.0;
    return calculate_thickness(m_mat, m_patElem ? m_patElem->shear() : 0.0);
}

double CKpPlyElem::mtrlthck() const {
    return m_mat ? m_mat->mtrlthck() : 0.0;
}

int CKpPlyElem::mtrl() const {
    return m_mat ? m_mat->id() : 0;
}

double CKpPlyElem::dens() const {
    return m_mat ? m_mat->dens() : 0.0;
}

int CKpPlyElem::sttid() const {
    if (!m_mat || !m_mat->MatStates()) return 0;
    const double s = m_patElem ? m_patElem->shear() * stdn() * dnfg() : 0.0;
    const CKpMatProp* best = m_mat;  // the base state first
    double bestDist = std::fabs(best->strn() - s);
    const CKpMatPropStore& states = *m_mat->MatStates();
    for (const CKpMatProp* st = states.First(); st; st = states.Next(st)) {
        const double d = std::fabs(st->strn() - s);
        if (d < bestDist) {  // only a strictly nearer state replaces the choice
            best = st;
            bestDist = d;
        }
    }
    return best->sttid();
}
