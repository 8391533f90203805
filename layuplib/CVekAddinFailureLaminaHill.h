#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHILL_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHILL_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaHill: the Hill criterion.
//
// Run: checks the allowables (a rejection returns 1), then solves the
// strength ratio of a = s1²/X² + s2²/Y² - s1·s2/X'² + t12²/S12² (X = Xt for
// s1 >= 0 else Xc, Y = Yt for s2 >= 0 else Yc, X' = Xt for s1·s2 >= 0 else
// Xc): margin 1/sqrt(a) - 1, failure index a, mode 1; a transverse-shear
// ratio |t23|/S23 or |t31|/S31 above the in-plane one governs with mode 2.
// All loads zero: margin 1000.0, index 0, mode 0. 0 on success.
// A non-finite load or outcome, an imaginary root and a root that is not
// positive end Run with 1 and a queued message (see SolveForm); the results
// then keep what Clear left.
class CVekAddinFailureLaminaHill : public CVekAddinFailureLaminaTemplate {
  public:
    // "Hill".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHILL_H
