#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDMAT1_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDMAT1_H

#include "fileformats/CBDFCard.h"

class CKpMatProp;

// MAT1: isotropic material (directionality 1). Reading: (0,1) MID, (0,2) E,
// (0,3) G, (0,4) NU, (0,5) RHO, (0,6) A, (0,7) TREF, (0,8) GE, (1,1) ST,
// (1,2) SC, (1,3) SS into Ex, Gxy, Nuxy, Density, Alpx, Tref, Ge, Fxt, Fxc,
// Fs12 of a new material "mat1.<MID>" (every card adds one). When one of
// E, G, NU is blank it is taken from the other two: G = E / (2 (1 + NU)),
// NU = E / (2 G) - 1, E = 2 G (1 + NU) (left 0 where the division is by
// zero); with two or three blank, the blank ones are 0.
class CBDFCardMAT1 : public CBDFCard {
  public:
    // -1 for a MID below 1 or when memory runs out.
    int Write(CKpLayup* model) override;
    // The base state of a CKpMat.
    int Read(CVekObject* object) override;
    // One material state: external id and the values above.
    int ReadState(CKpMatProp* state);
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDMAT1_H
