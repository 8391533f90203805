#ifndef PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H
#define PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H

// The arithmetic of the built-in lamina failure criteria, shared by the
// criterion classes and the single-call calcFailure.
//
// Allowables by position: 0 Xt, 1 Xc, 2 Yt, 3 Yc, 4 S12, 5 S23, 6 S31 and,
// for Tsai-Wu only, 7 F12* (normalised interaction coefficient). Loads by
// position: 0 s1, 1 s2, 2 s3 (unused), 3 t12, 4 t23, 5 t31. Stresses or
// strains, in consistent units; the arithmetic is in double precision.

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
int lamina_strength_ratio(double a, double b, const double* allowables, const double* loads,
                          double startMargin, LaminaOutcome& out, double& reported);

// The maximum criterion: ratios s1/Xt (11), -s1/Xc (-11), s2/Yt (22),
// -s2/Yc (-22), |t12|/S12 (12), |t23|/S23 (23, when S23 > 0), |t31|/S31
// (31, when S31 > 0) in this order; a ratio strictly above the current
// index replaces it, rounded to single precision, with margin 1/index - 1.
// Without a positive ratio: `startMargin`, index 0, mode 0.
LaminaOutcome lamina_maximum(const double* allowables, const double* loads, double startMargin);

#endif  // PLYSTRAND_LAYUPLIB_LAMINA_FAILURE_H
