#ifndef PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H
#define PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H

// The arithmetic of the built-in lamina failure criteria, shared by the
// criterion classes and the single-call calcFailure.
//
// Allowables by position: 0 Xt, 1 Xc, 2 Yt, 3 Yc, 4 S12, 5 S23, 6 S31 and,
// for Tsai-Wu only, 7 F12* (normalised interaction coefficient). Loads by
// position: 0 s1, 1 s2, 2 s3 (unused), 3 t12, 4 t23, 5 t31. Stresses or
// strains, in consistent units; the arithmetic is in double precision.

#include <cmath>

// One evaluation: margin of safety (reserve factor - 1, not clamped),
// failure-mode code and failure index.
struct LaminaOutcome {
    double margin;
    int mode;
    double failureIndex;
};

// The quadratic criteria.
enum class LaminaForm { TsaiWu, Hill, Hoffman, Hankinson, Cowin };

// The terms of the strength-ratio equation a·R² + b·R - 1 = 0 of `form`
// for the allowables and loads given (both read). The allowables must have
// passed the checks (positive in-plane strengths).
void lamina_terms(LaminaForm form, const double* allowables, const double* loads, double& a,
                  double& b);

// What the terms of a form take from the allowables alone, so that many
// loads can be evaluated against one set of allowables. Only the members
// the form uses are set.
struct LaminaAllowableTerms {
    LaminaForm form;
    double xtxc, ytyc;      // Xt·Xc, Yt·Yc
    double cross;           // coefficient of s1·s2
    double f66;             // 1/S12²
    double f1, f2;          // 1/Xt - 1/Xc, 1/Yt - 1/Yc
    double xt2, xc2, yt2, yc2;  // squares of the strengths (Hill)
};

// The allowable terms of `form` for `allowables` (read; as lamina_terms).
void lamina_allowable_terms(LaminaForm form, const double* allowables, LaminaAllowableTerms& t);

// lamina_terms from prepared allowable terms: the same a and b, bit for bit.
inline void lamina_terms(const LaminaAllowableTerms& t, const double* loads, double& a, double& b);

// Solves a·R² + b·R - 1 = 0 for the strength ratio R, starting from
// `startMargin` (the margin when every in-plane load is zero), then lets a
// transverse-shear ratio |t23|/S23, then |t31|/S31 (each only when its
// strength is above 0) govern when it exceeds 1/(margin + 1): mode 1 for the
// quadratic, 2 for transverse shear, 0 when neither applies. Returns
//   0 with `out` set;
//   1 the root is imaginary: `reported` = b² + 4a (negative);
//   2 no positive root (a < 0 with b <= 0, or a = 0 with b < 0):
//     `reported` = R;
//   3 a, b or the root is not finite.
// `out` is written only on 0.
inline int lamina_strength_ratio(double a, double b, const double* allowables,
                                 const double* loads, double startMargin, LaminaOutcome& out,
                                 double& reported);

// The maximum criterion: ratios s1/Xt (11), -s1/Xc (-11), s2/Yt (22),
// -s2/Yc (-22), |t12|/S12 (12), |t23|/S23 (23, when S23 > 0), |t31|/S31
// (31, when S31 > 0) in this order; a ratio strictly above the current
// index replaces it, rounded to single precision, with margin 1/index - 1.
// Without a positive ratio: `startMargin`, index 0, mode 0.
LaminaOutcome lamina_maximum(const double* allowables, const double* loads, double startMargin);

// Definitions of the two evaluated for every load (inline, so that a
// criterion's Run needs no call for them).

inline void lamina_terms(const LaminaAllowableTerms& t, const double* loads, double& a, double& b) {
    const double s1 = loads[0], s2 = loads[1], t12 = loads[3];
    if (t.form == LaminaForm::Hill) {
        const double x2 = s1 >= 0.0 ? t.xt2 : t.xc2;
        const double y2 = s2 >= 0.0 ? t.yt2 : t.yc2;
        const double xCross2 = s1 * s2 >= 0.0 ? t.xt2 : t.xc2;
        a = s1 * s1 / x2 + s2 * s2 / y2 - s1 * s2 / xCross2 + t.f66 * t12 * t12;
        b = 0.0;
        return;
    }
    a = s1 * s1 / t.xtxc + s2 * s2 / t.ytyc + t.cross * s1 * s2 + t.f66 * t12 * t12;
    b = t.f1 * s1 + t.f2 * s2;
}

inline int lamina_strength_ratio(double a, double b, const double* allowables,
                                 const double* loads, double startMargin, LaminaOutcome& out,
                                 double& reported) {
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
    const double shear[2][2] = {{allowables[5], loads[4]}, {allowables[6], loads[5]}};
    // 1/(margin + 1), derived once per margin.
    double limit = 0.0;
    bool haveLimit = false;
#pragma GCC unroll 2
    for (const auto& s : shear) {
        if (!(s[0] > 0.0)) continue;
        // With a margin of -1 or more the limit is 0 or above, which a ratio
        // of 0 (no such shear) never exceeds.
        if (s[1] == 0.0 && o.margin >= -1.0) continue;
        const double r = std::fabs(s[1]) / s[0];
        if (!haveLimit) limit = 1.0 / (o.margin + 1.0), haveLimit = true;
        if (r > limit) o = {1.0 / r - 1.0, 2, r}, haveLimit = false;
    }
    out = o;
    return 0;
}

#endif  // PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H
