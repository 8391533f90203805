#ifndef PLYSTRAND_LAYUPLIB_CKPSTRSPACES_H
#define PLYSTRAND_LAYUPLIB_CKPSTRSPACES_H

#include "layuplib/CKpStr.h"

// CKpStrSpaces: a name in two forms, so that a name with blanks can be
// written to, and read back from, a file whose fields are separated by
// blanks. The blank-free form has every blank replaced by the byte 0xFE and
// is never empty (an empty name is the single byte 0xFE), so one "%s" field
// reads it whole.
class CKpStrSpaces {
  public:
    // Both forms as after Clear.
    CKpStrSpaces();

    // The form with blanks becomes ""; the blank-free form the single byte
    // 0xFE.
    void Clear();

    // Takes a name in either form (null as ""). Trailing 0xFE bytes are
    // ignored; blanks and 0xFE bytes become blanks in the one form and 0xFE
    // in the other; every other byte goes unchanged to both.
    void Set(const char* text);

    // The name with blanks ("" when none).
    const char* GetSpaces() const { return m_spaces; }
    // The name with 0xFE in place of blanks.
    const char* GetNoSpaces() const { return m_noSpaces; }

  private:
    CKpStr m_spaces;
    CKpStr m_noSpaces;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSTRSPACES_H
