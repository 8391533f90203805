#include "layuplib/calcFailure.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "host/CKpGUI.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/lamina_failure.h"

namespace {

const char* const kNonFinite = "Failure calculation gave a non-finite value.";
const char* const kCriterionNames[] = {"Tsaiwu",    "Maximum", "Hill", "Hoffman",
                                       "Hankinson", "Cowin",   "User"};

// Issues an error when there is a log.
__attribute__((format(printf, 2, 3))) void Error(CKpMsg* msg, const char* format, ...) {
    if (!msg) return;
    char text[CKpMsg::MESSAGE_LEN];
    va_list args;
    va_start(args, format);
    if (std::vsnprintf(text, sizeof(text), format, args) < 0) text[0] = '\0';
    va_end(args);
    msg->Create(4, "%s", text);
}

// The allowable checks with this entry's texts: 0, or 1 in-plane, 2
// out-of-plane, 3 interaction (Tsai-Wu only). NaN fails.
int CheckAllowables(CKpMsg* msg, const double* a, bool tsaiWu) {
    if (!(a[0] > 0.0 && a[1] > 0.0 && a[2] > 0.0 && a[3] > 0.0 && a[4] > 0.0)) {
        Error(msg,
              "One or more in-plane failure values are less than or equal to zero:\n fxt %g fxc "
              "%g fyt %g fyc %g fs12 %g",
              a[0], a[1], a[2], a[3], a[4]);
        return 1;
    }
    if (!(a[5] >= 0.0 && a[6] >= 0.0)) {
        Error(msg, "One or more out-of-plane failure values are less than zero:\n fs23 %g fs31 %g",
              a[5], a[6]);
        return 2;
    }
    if (tsaiWu && !(a[7] > -1.0 && a[7] < 1.0)) {
        Error(msg,
              "One or more interaction failure values are outside the valid range between -1 and "
              "1:\n f12i %g",
              a[7]);
        return 3;
    }
    return 0;
}

// Criteria 1 to 6: 0 with `o` set, else nonzero after logging the reason.
int Evaluate(CKpMsg* msg, int criterion, const float* loadsIn, const float* allowablesIn,
             LaminaOutcome& o) {
    double loads[6], allowables[8];
    for (int i = 0; i < 6; ++i) loads[i] = loadsIn[i];
    for (int i = 0; i < 8; ++i) allowables[i] = allowablesIn[i];
    if (CheckAllowables(msg, allowables, criterion == 1) != 0) return 1;
    for (double load : loads) {
        if (std::isfinite(load)) continue;
        Error(msg, "%s", kNonFinite);
        return 1;
    }
    const double startMargin = static_cast<double>(1.0e12f);
    if (criterion == 2) {
        o = lamina_maximum(allowables, loads, startMargin);
        return 0;
    }
    static const LaminaForm kForms[] = {
        LaminaForm::TsaiWu,  LaminaForm::TsaiWu,    LaminaForm::TsaiWu, LaminaForm::Hill,
        LaminaForm::Hoffman, LaminaForm::Hankinson, LaminaForm::Cowin};
    double a = 0.0, b = 0.0, reported = 0.0;
    lamina_terms(kForms[criterion], allowables, loads, a, b);
    switch (lamina_strength_ratio(a, b, allowables, loads, startMargin, o, reported)) {
        case 0:
            return 0;
        case 1:
            Error(msg, "Imaginary root for failure calculation:\n b*b - 4*a*c = %g", reported);
            return 1;
        case 2:
            Error(msg, "No positive root for failure calculation:\n R = %g", reported);
            return 1;
        default:
            Error(msg, "%s", kNonFinite);
            return 1;
    }
}

}  // namespace

extern "C" int calcFailure(CKpMsg* msg, CKpGUI* gui, int criterion, IVekAddinFailureLamina*,
                           float* loads, float* allowables, float* out) {
    if (criterion == 8) return 1;
    if (criterion < 1 || criterion > 8) {
        Error(msg, "Unsupported failure criterion.");
        return 1;
    }
    if (!loads || !allowables || !out) return 1;
    float result[3] = {0.0f, 0.0f, 0.0f};
    int status = 0;
    if (criterion == 7) {
        status = gui ? gui->FailUser(loads, allowables, result) : 1;
        if (status == 0 && !(std::isfinite(result[0]) && std::isfinite(result[2]))) {
            Error(msg, "%s", kNonFinite);
            status = 1;
        }
    } else {
        LaminaOutcome o{};
        status = Evaluate(msg, criterion, loads, allowables, o);
        if (status == 0) {
            if (o.margin > 999999.0) o.margin = 999999.0;
            if (!std::isfinite(o.margin) || !std::isfinite(o.failureIndex)) {
                Error(msg, "%s", kNonFinite);
                status = 1;
            }
        }
        result[0] = static_cast<float>(o.margin);
        result[1] = static_cast<float>(o.mode);
        result[2] = static_cast<float>(o.failureIndex);
    }
    if (status != 0) {
        Error(msg, "Error calculating failure according to %s", kCriterionNames[criterion - 1]);
        return 1;
    }
    if (result[0] > 999999.0f) result[0] = 999999.0f;
    // A finite double outcome can still overflow single precision.
    if (!std::isfinite(result[0]) || !std::isfinite(result[2])) {
        Error(msg, "%s", kNonFinite);
        Error(msg, "Error calculating failure according to %s", kCriterionNames[criterion - 1]);
        return 1;
    }
    for (int i = 0; i < 3; ++i) out[i] = result[i];
    return 0;
}
