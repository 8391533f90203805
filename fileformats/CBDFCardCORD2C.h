#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCORD2C_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCORD2C_H

#include "fileformats/CBDFCardCORD.h"

// CORD2C: a cylindrical frame (type 2) by three points.
class CBDFCardCORD2C : public CBDFCardCORD {
  public:
    CBDFCardCORD2C() : CBDFCardCORD("CORD2C", 2) {}
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCORD2C_H
