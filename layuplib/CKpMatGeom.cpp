#include "layuplib/CKpMatGeom.h"

#include <cmath>

#include "layuplib/angle_util.h"

namespace {

// Below this |sin a| warp and weft are taken as parallel.
const double kParallelSine = 1e-12;

}  // namespace

double CKpMatGeom::GetWeftStepLength() const {
    return m_ratio == 0.0 ? 0.0 : m_step / m_ratio;
}

double CKpMatGeom::GetWarpBiasAngle() const {
    if (m_wpwtang == 0.0 || m_ratio == 0.0) return 0.0;
    return std::atan2(std::sin(m_wpwtang), std::cos(m_wpwtang) + m_ratio);
}

double CKpMatGeom::GetWarpBias2Angle() const {
    if (m_wpwtang == 0.0 || m_ratio == 0.0) return 0.0;
    return std::atan2(-std::sin(m_wpwtang), m_ratio - std::cos(m_wpwtang));
}

double CKpMatGeom::GetWarpBiasRatio() const {
    if (m_wpwtang == 0.0 || m_ratio == 0.0) return 0.0;
    const double len = std::hypot(m_ratio + std::cos(m_wpwtang), std::sin(m_wpwtang));
    return len > 0.0 ? m_ratio / len : 0.0;
}

double CKpMatGeom::GetWarpBias2Ratio() const {
    if (m_wpwtang == 0.0 || m_ratio == 0.0) return 0.0;
    const double len = std::hypot(m_ratio - std::cos(m_wpwtang), -std::sin(m_wpwtang));
    return len > 0.0 ? m_ratio / len : 0.0;
}

int CKpMatGeom::SnapToAxis(double& angle, double fraction) const {
    angle = pi_pi(angle);
    const double a = m_wpwtang;
    const double b1 = GetWarpBiasAngle();
    const double b2 = GetWarpBias2Angle();
    // Axes 1..8 in circular order; slot 0 and slot 9 hold the neighbours of
    // the ends.
    const double axes[10] = {b2, 0.0, b1, a, pi_pi(b2 + kPi), kPi, pi_pi(b1 + kPi), pi_pi(a + kPi),
                             b2, 0.0};
    double f = fraction;
    if (!(f > 0.0)) f = 0.0;  // NaN too
    if (f >= 1.0) f = 1.0 + 1e-12;
    const double h = f * 0.5;
    for (int k = 1; k <= 8; ++k) {
        const double axis = axes[k];
        const double upper = pi_pi(pi_pi(axes[k + 1] - axis) * h + axis);
        const double lower = pi_pi(axis - pi_pi(axis - axes[k - 1]) * h);
        if (pi_pi(upper - angle) > 0.0 && pi_pi(angle - lower) > 0.0) {
            angle = axis;
            return k - 1;
        }
    }
    return -1;
}

int CKpMatGeom::GetFuFv(double u, double v, double* fu, double* fv) const {
    if (!fu || !fv) return -1;
    if (m_step <= 0.0 || m_ratio == 0.0) return -1;
    const double w = m_step / m_ratio;
    if (w <= 0.0) return -1;
    const double sa = std::sin(m_wpwtang);
    if (std::fabs(sa) < kParallelSine) return -1;
    *fv = v / (sa * w);
    *fu = (u - std::cos(m_wpwtang) * w * *fv) / m_step;
    return 0;
}
