#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaHankinson: the Hankinson criterion.
//
// Run: as the Hoffman criterion with the cross coefficient
// 1/(Xc·Yt) + 1/(Xt·Yc) - 1/S12².
class CVekAddinFailureLaminaHankinson : public CVekAddinFailureLaminaTemplate {
  public:
    // "Hankinson".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHANKINSON_H
