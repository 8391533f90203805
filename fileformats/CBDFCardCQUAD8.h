#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD8_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD8_H

#include "fileformats/CBDFCardGEOM.h"

// CQUAD8: 8-node quadrilateral shell (geometry type 2): (0,3..6) corners G1..G4,
// (0,7..8) G5 G6, (1,1..2) G7 G8, (1,7) THETA or MCID; ring order G1 G5 G2
// G6 G3 G7 G4 G8.
// Writing (a CKpElem of that type) puts the fields back at those places;
// the orientation only for kinds 1 (frame id) and 2 (angle in degrees).
class CBDFCardCQUAD8 : public CBDFCardGEOM {
  public:
    CBDFCardCQUAD8();
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD8_H
