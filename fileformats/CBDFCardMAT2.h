#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDMAT2_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDMAT2_H

#include "fileformats/CBDFCard.h"

class CKpMatProp;

// MAT2: 2D anisotropic material (directionality 5). Reading: (0,1) MID,
// (0,2..7) G11 G12 G13 G22 G23 G33 into Ex, Nuxy, C14, Ey, C24, Gxy; (0,8)
// RHO; (1,1..3) A1 A2 A3 into Alpx, Alpy, A4; (1,4) TREF, (1,5) GE, (1,6)
// ST, (1,7) SC, (1,8) SS into Tref, Ge, Fxt, Fxc, Fs12; a new material
// "mat2.<MID>" per card.
class CBDFCardMAT2 : public CBDFCard {
  public:
    // -1 for a MID below 1 or when memory runs out.
    int Write(CKpLayup* model) override;
    // The base state of a CKpMat.
    int Read(CVekObject* object) override;
    int ReadState(CKpMatProp* state);
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDMAT2_H
