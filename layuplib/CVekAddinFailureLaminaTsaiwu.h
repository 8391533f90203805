#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATSAIWU_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATSAIWU_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaTsaiwu: the Tsai-Wu criterion. It has an eighth
// allowable, "F12", the normalised interaction coefficient F12*.
//
// Run: checks the allowables (a rejection returns 1), then solves
// a·R² + b·R - 1 = 0 with F1 = 1/Xt - 1/Xc, F2 = 1/Yt - 1/Yc,
// F11 = 1/(Xt·Xc), F22 = 1/(Yt·Yc), F66 = 1/S12² and the cross coefficient
// 2·F12*/sqrt(Xt·Xc·Yt·Yc): margin R - 1, failure index a + b, mode 1; a
// transverse-shear ratio above the in-plane one governs with mode 2; an
// imaginary root queues a message and returns 1. 0 on success.
// A non-finite load or outcome, an imaginary root and a root that is not
// positive end Run with 1 and a queued message (see SolveForm); the results
// then keep what Clear left.
class CVekAddinFailureLaminaTsaiwu : public CVekAddinFailureLaminaTemplate {
  public:
    // The template's seven allowables and "F12".
    CVekAddinFailureLaminaTsaiwu();

    // "TsaiWu".
    int GetName(char* buffer, int len) override;
    // The template's checks (1, 2), then F12* must lie strictly between -1
    // and 1: otherwise "One or more interaction failure values are outside
    // the valid range between -1 and 1: ..." and 3.
    int CheckAllowables() override {
        const int status = CVekAddinFailureLaminaTemplate::CheckAllowables();
        if (status != 0) return status;
        const double f12 = m_allowables[7];
        return f12 > -1.0 && f12 < 1.0 ? 0 : InteractionOutside(f12);
    }
    int Run() override;

  private:
    // Queues the message of a refused F12*; 3.
    int InteractionOutside(double f12);
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINATSAIWU_H
