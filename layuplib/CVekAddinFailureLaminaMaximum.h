#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAMAXIMUM_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAMAXIMUM_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaMaximum: the maximum stress (strain) criterion.
//
// Run: checks the allowables (CheckAllowables; a rejection returns 1), then
// takes the ratios s1/Xt (mode 11), -s1/Xc (-11), s2/Yt (22), -s2/Yc (-22),
// |t12|/S12 (12), |t23|/S23 (23, only when S23 > 0) and |t31|/S31 (31, only
// when S31 > 0) in this order. The largest ratio, rounded to single
// precision, is the failure index (an earlier ratio keeps a tie), the margin
// is 1/index - 1 and the mode its code. Without a positive ratio: margin
// 1000.0, index 0, mode 0. The margin is clamped to 999999.0; 0. A
// non-finite load or outcome queues "Failure calculation gave a
// non-finite value." and returns 1, storing nothing.
class CVekAddinFailureLaminaMaximum : public CVekAddinFailureLaminaTemplate {
  public:
    // "Maximum".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAMAXIMUM_H
