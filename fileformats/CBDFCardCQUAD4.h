#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD4_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD4_H

#include "fileformats/CBDFCardGEOM.h"

// CQUAD4: 4-node quadrilateral shell (geometry type 1): (0,3..6) G1..G4, (0,7) THETA or MCID.
// Writing (a CKpElem of that type) puts the fields back at those places;
// the orientation only for kinds 1 (frame id) and 2 (angle in degrees).
class CBDFCardCQUAD4 : public CBDFCardGEOM {
  public:
    CBDFCardCQUAD4();
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCQUAD4_H
