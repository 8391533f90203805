#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHOFFMAN_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHOFFMAN_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

// CVekAddinFailureLaminaHoffman: the Hoffman criterion.
//
// Run: checks the allowables (a rejection returns 1), then solves
// a·R² + b·R - 1 = 0 with the Tsai-Wu linear and square terms and the cross
// coefficient -1/(Xt·Xc): margin R - 1, failure index a + b, mode 1; a
// transverse-shear ratio above the in-plane one governs with mode 2; an
// imaginary root queues a message and returns 1. 0 on success.
// A non-finite load or outcome, an imaginary root and a root that is not
// positive end Run with 1 and a queued message (see SolveForm); the results
// then keep what Clear left.
class CVekAddinFailureLaminaHoffman : public CVekAddinFailureLaminaTemplate {
  public:
    // "Hoffman".
    int GetName(char* buffer, int len) override;
    int Run() override;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAHOFFMAN_H
