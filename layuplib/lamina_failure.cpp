#include "layuplib/lamina_failure.h"

#include <cmath>

namespace {

enum { kXt, kXc, kYt, kYc, kS12, kS23, kS31, kF12 };
enum { kS1, kS2, kS3, kT12, kT23, kT31 };

}  // namespace

void lamina_allowable_terms(LaminaForm form, const double* al, LaminaAllowableTerms& t) {
    const double xt = al[kXt], xc = al[kXc], yt = al[kYt], yc = al[kYc], s12 = al[kS12];
    t.form = form;
    t.f66 = 1.0 / (s12 * s12);
    if (form == LaminaForm::Hill) {
        t.xt2 = xt * xt, t.xc2 = xc * xc, t.yt2 = yt * yt, t.yc2 = yc * yc;
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
            k = 1.0 / (xc * yt) + 1.0 / (xt * yc) - t.f66;
            break;
        case LaminaForm::Cowin:
            k = 2.0 * (1.0 / std::sqrt(xt * xc * yt * yc) - 0.5 * t.f66);
            break;
        default:
            break;
    }
    t.cross = k;
    t.xtxc = xt * xc, t.ytyc = yt * yc;
    t.f1 = 1.0 / xt - 1.0 / xc, t.f2 = 1.0 / yt - 1.0 / yc;
}

void lamina_terms(LaminaForm form, const double* al, const double* loads, double& a, double& b) {
    LaminaAllowableTerms t;
    lamina_allowable_terms(form, al, t);
    lamina_terms(t, loads, a, b);
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
