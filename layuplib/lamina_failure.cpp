#include "layuplib/lamina_failure.h"

#include <cmath>

namespace {

enum { kXt, kXc, kYt, kYc, kS12, kS23, kS31, kF12 };
enum { kS1, kS2, kS3, kT12, kT23, kT31 };

}  // namespace

void lamina_terms(LaminaForm form, const double* al, const double* loads, double& a, double& b) {
    const double xt = al[kXt], xc = al[kXc], yt = al[kYt], yc = al[kYc], s12 = al[kS12];
    const double s1 = loads[kS1], s2 = loads[kS2], t12 = loads[kT12];
    const double f66 = 1.0 / (s12 * s12);
    if (form == LaminaForm::Hill) {
        const double x = s1 >= 0.0 ? xt : xc;
        const double y = s2 >= 0.0 ? yt : yc;
        const double xCross = s1 * s2 >= 0.0 ? xt : xc;
        a = s1 * s1 / (x * x) + s2 * s2 / (y * y) - s1 * s2 / (xCross * xCross) + f66 * t12 * t12;
        b = 0.0;
        return;
    }
    double k = 0.0;
    switch (form) {
        case LaminaForm::TsaiWu:
            k = 2.0 * al[kF12] / std::sqrt(xt * xc * yt * yc);
            break;
        case LaminaForm::Hoffman:
            k = -1.0 / (xt * xc);
            break;
        case LaminaForm::Hankinson:
            k = 1.0 / (xc * yt) + 1.0 / (xt * yc) - f66;
            break;
        case LaminaForm::Cowin:
            k = 2.0 * (1.0 / std::sqrt(xt * xc * yt * yc) - 0.5 * f66);
            break;
        default:
            break;
    }
    a = s1 * s1 / (xt * xc) + s2 * s2 / (yt * yc) + k * s1 * s2 + f66 * t12 * t12;
    b = (1.0 / xt - 1.0 / xc) * s1 + (1.0 / yt - 1.0 / yc) * s2;
}

int lamina_strength_ratio(double a, double b, const double* allowables, const double* loads,
                          double startMargin, LaminaOutcome& out, double& reported) {
    if (!std::isfinite(a) || !std::isfinite(b)) return 3;
    LaminaOutcome o{startMargin, 0, 0.0};
    if (a != 0.0 || b != 0.0) {
        double ratio;
        if (a != 0.0) {
            const double d = b * b + 4.0 * a;
            if (d < 0.0) {
                reported = d;
                return 1;
            }
            ratio = (std::sqrt(d) - b) / (2.0 * a);
        } else {
            ratio = 1.0 / b;
        }
        if (std::isnan(ratio)) return 3;
        // A negative root is no strength ratio: loads in that direction
        // never reach the surface.
        if (!(ratio > 0.0)) {
            reported = ratio;
            return 2;
        }
        o = {ratio - 1.0, 1, a + b};
    }
    const double shear[2][2] = {{allowables[kS23], loads[kT23]}, {allowables[kS31], loads[kT31]}};
    for (const auto& s : shear) {
        if (!(s[0] > 0.0)) continue;
        const double r = std::fabs(s[1]) / s[0];
        if (r > 1.0 / (o.margin + 1.0)) o = {1.0 / r - 1.0, 2, r};
    }
    out = o;
    return 0;
}

LaminaOutcome lamina_maximum(const double* al, const double* loads, double startMargin) {
    const double s1 = loads[kS1], s2 = loads[kS2];
    struct Ratio {
        double value;
        int mode;
        bool used;
    };
    const Ratio ratios[] = {
        {s1 / al[kXt], 11, true},
        {-s1 / al[kXc], -11, true},
        {s2 / al[kYt], 22, true},
        {-s2 / al[kYc], -22, true},
        {std::fabs(loads[kT12]) / al[kS12], 12, true},
        {al[kS23] > 0.0 ? std::fabs(loads[kT23]) / al[kS23] : 0.0, 23, al[kS23] > 0.0},
        {al[kS31] > 0.0 ? std::fabs(loads[kT31]) / al[kS31] : 0.0, 31, al[kS31] > 0.0},
    };
    LaminaOutcome o{startMargin, 0, 0.0};
    for (const Ratio& r : ratios) {
        if (!r.used || !(r.value > o.failureIndex)) continue;
        o.failureIndex = static_cast<float>(r.value);
        o.margin = 1.0 / o.failureIndex - 1.0;
        o.mode = r.mode;
    }
    return o;
}
