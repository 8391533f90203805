#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINACOWIN_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINACOWIN_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaCowin: the Cowin criterion.
//
// Run: as the Hoffman criterion with the cross coefficient
// 2·(1/sqrt(Xt·Xc·Yt·Yc) - 1/(2·S12²)).
class CVekAddinFailureLaminaCowin : public CVekAddinFailureLaminaTemplate {
  public:
    // "Cowin".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINACOWIN_H
