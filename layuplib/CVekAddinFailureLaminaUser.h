#ifndef PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAUSER_H
#define PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAUSER_H

#include "layuplib/CVekAddinFailureLaminaTemplate.h"

class CKpGUI;

// CVekAddinFailureLaminaUser: the user-defined criterion, whose arithmetic
// the host does (CKpGUI::FailUser). The failure run recognises it by its
// name "User", gives it the number of allowables and the GUI adapter, then
// drives it like any criterion.
//
// Run: 1 without a GUI adapter, 2 with no allowable; otherwise the
// allowables and the six loads go to the host in single precision; a
// non-zero host answer (or a mode no int can hold, or a margin or index
// that is not finite) returns 3. The host's
// three floats are margin, mode and failure index: result 0 = margin,
// result 1 = margin + 1 (not clamped), mode = the second float truncated
// toward zero (result 2 as a double and every integer result), result 3 =
// failure index; 0. The user criterion queues no message and does not call
// CheckAllowables; a failed Run leaves the results untouched.
class CVekAddinFailureLaminaUser : public CVekAddinFailureLaminaTemplate {
  public:
    // No GUI adapter; the template's seven allowables.
    CVekAddinFailureLaminaUser();

    // "User".
    int GetName(char* buffer, int len) override;
    // "User".
    int GetProviderName(char* buffer, int len) override;
    // "" (empty text).
    int GetProviderWebsite(char* buffer, int len) override;
    int Run() override;

    ~CVekAddinFailureLaminaUser() override;

    // Makes the number of allowables n: empty labels are appended, or the
    // last labels deleted, until there are n. 0; 1 for a negative n or when
    // memory runs out (nothing changes then).
    virtual int SetNumAllowables(int n);
    // The GUI adapter that evaluates the criterion (held, not owned). 0.
    virtual int SetGUI(CKpGUI* gui);

  private:
    CKpGUI* m_gui;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKADDINFAILURELAMINAUSER_H
