#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCORD2R_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCORD2R_H

#include "fileformats/CBDFCardCORD.h"

// CORD2R: a rectangular frame (type 1) by three points.
class CBDFCardCORD2R : public CBDFCardCORD {
  public:
    CBDFCardCORD2R() : CBDFCardCORD("CORD2R", 1) {}
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCORD2R_H
