#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCORD_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCORD_H

#include "fileformats/CBDFCard.h"

// CBDFCardCORD: the three-point frame cards CORD2R, CORD2C and CORD2S.
// Reading: (0,1) CID, (0,2) RID, (0,3..8) A1 A2 A3 B1 B2 B3, (1,1..3) C1 C2
// C3; a new frame of the card's type is added (an existing frame of the
// same id is not looked up). Writing (a CKpCoord): CID, RID, A, B; row 1:
// C.
class CBDFCardCORD : public CBDFCard {
  public:
    // name: the card name; type: 1 rectangular, 2 cylindrical, 3 spherical.
    CBDFCardCORD(const char* name, int type);
    // -1 for a CID below 1.
    int Write(CKpLayup* model) override;
    int Read(CVekObject* object) override;
    int GetType() const { return m_type; }

  private:
    const char* m_name;
    int m_type;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCORD_H
