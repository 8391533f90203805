#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA6_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA6_H

#include "fileformats/CBDFCardGEOM.h"

// CTRIA6: 6-node triangular shell (geometry type 12): (0,3..5) corners G1..G3,
// (0,6..8) G4..G6, (1,1) THETA or MCID; ring order G1 G4 G2 G5 G3 G6.
// Writing (a CKpElem of that type) puts the fields back at those places;
// the orientation only for kinds 1 (frame id) and 2 (angle in degrees).
class CBDFCardCTRIA6 : public CBDFCardGEOM {
  public:
    CBDFCardCTRIA6();
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA6_H
