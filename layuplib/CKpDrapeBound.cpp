#include "layuplib/CKpDrapeBound.h"

#include <cmath>

namespace {
constexpr double kOpen = 1e12;
}  // namespace

void CKpDrapeBound::Set(double ratio, double step, double minwp, double maxwp, double minwt,
                        double maxwt) {
    umin = vmin = -kOpen;
    umax = vmax = kOpen;
    if (!(step > 0.0) || !std::isfinite(step)) return;
    if (minwp > 0.0) umin = -minwp / step;
    if (maxwp > 0.0) umax = maxwp / step;
    if (minwt > 0.0) vmin = -(minwt / step) * ratio;
    if (maxwt > 0.0) vmax = maxwt / step * ratio;
}

int CKpDrapeBound::InBound(double u, double v) const {
    return (umin <= u && u <= umax && vmin <= v && v <= vmax) ? 1 : 0;
}

int CKpDrapeBound::DstBound(double u, double v, int code, double& d) const {
    d = kNoDist;
    if (!InBound(u, v)) return 0;
    switch (code) {
        case 0:
            d = umax - u;
            return 1;
        case 2:
            d = vmax - v;
            return 1;
        case 4:
            d = u - umin;
            return 1;
        case 6:
            d = v - vmin;
            return 1;
        default:
            return 0;
    }
}
