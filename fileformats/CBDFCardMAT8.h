#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDMAT8_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDMAT8_H

#include "fileformats/CBDFCard.h"

class CKpMatProp;

// MAT8: 2D orthotropic material (directionality 4). Reading: (0,1) MID,
// (0,2) E1, (0,3) E2 (both -1.0 when blank), (0,4) NU12, (0,5) G12, (0,6)
// G1Z, (0,7) G2Z, (0,8) RHO, (1,1) A1, (1,2) A2, (1,3) TREF, (1,4) Xt, (1,5)
// Xc, (1,6) Yt, (1,7) Yc, (1,8) S, (2,1) GE, (2,2) F12, (2,3) STRN into Ex,
// Ey, Nuxy, Gxy, Gzx, Gyz, Density, Alpx, Alpy, Tref, Fxt, Fxc, Fyt, Fyc,
// Fs12, Ge of a new material "mat8.<MID>". STRN exactly 1.0 marks the
// allowables as strains (converted to stresses, CKpMatProp::SetAllowStrain).
// F12 is stored as the card's normalised value times sqrt(Xt Xc Yt Yc) of
// the state's stress allowables (blank Xc, Yt, Yc taking their defaults:
// Xc = Xt, Yc = Yt); the writer divides by the same product (0 when it is
// not positive).
class CBDFCardMAT8 : public CBDFCard {
  public:
    // -1 for a MID below 1 or when memory runs out.
    int Write(CKpLayup* model) override;
    // The base state of a CKpMat.
    int Read(CVekObject* object) override;
    // Rows: ext id, Ex, Ey, Nuxy, Gxy, Gzx, Gyz, Density; Alpx, Alpy, Tref,
    // Fxt, Fxc, Fyt, Fyc, Fs12 (strains for strain allowables: divided by
    // Ex, Ex, Ey, Ey, Gxy); Ge, F12, 1.0 (STRN) for strain allowables.
    int ReadState(CKpMatProp* state);
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDMAT8_H
