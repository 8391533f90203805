#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDENDDATA_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDENDDATA_H

#include "fileformats/CBDFCard.h"

// ENDDATA: the end of the bulk data. Reading it ends the reading (Write
// returns 1); writing gives the card name alone (the object is ignored).
class CBDFCardENDDATA : public CBDFCard {
  public:
    int Write(CKpLayup* model) override;
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDENDDATA_H
