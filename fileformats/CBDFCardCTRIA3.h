#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA3_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA3_H

#include "fileformats/CBDFCardGEOM.h"

// CTRIA3: 3-node triangular shell (geometry type 11): (0,3..5) G1..G3, (0,6) THETA or MCID.
// Writing (a CKpElem of that type) puts the fields back at those places;
// the orientation only for kinds 1 (frame id) and 2 (angle in degrees).
class CBDFCardCTRIA3 : public CBDFCardGEOM {
  public:
    CBDFCardCTRIA3();
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCTRIA3_H
