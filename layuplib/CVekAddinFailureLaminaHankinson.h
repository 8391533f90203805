#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaHankinson: the Hankinson criterion.
//
// Run: as the Hoffman criterion with the cross coefficient
// 1/(Xc·Yt) + 1/(Xt·Yc) - 1/S12².
// A non-finite load or outcome, an imaginary root and a root that is not
// positive end Run with 1 and a queued message (see SolveForm); the results
// then keep what Clear left.
//
// The quadratic form is indefinite for usual composite strengths (the
// cross coefficient, dominated by -1/S12², outweighs 2/sqrt(Xt·Xc·Yt·Yc)),
// so for s1·s2 > 0 "Imaginary root for failure calculation" is a common
// outcome, not a fault of the evaluation.
class CVekAddinFailureLaminaHankinson : public CVekAddinFailureLaminaTemplate {
  public:
    // "Hankinson".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H
