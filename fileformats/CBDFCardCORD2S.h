#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDCORD2S_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDCORD2S_H

#include "fileformats/CBDFCardCORD.h"

// CORD2S: a spherical frame (type 3) by three points.
class CBDFCardCORD2S : public CBDFCardCORD {
  public:
    CBDFCardCORD2S() : CBDFCardCORD("CORD2S", 3) {}
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDCORD2S_H
