#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDGENERATOR_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDGENERATOR_H

#include "fileformats/CBDFCardCORD2C.h"
#include "fileformats/CBDFCardCORD2R.h"
#include "fileformats/CBDFCardCORD2S.h"
#include "fileformats/CBDFCardCQUAD4.h"
#include "fileformats/CBDFCardCQUAD8.h"
#include "fileformats/CBDFCardCTRIA3.h"
#include "fileformats/CBDFCardCTRIA6.h"
#include "fileformats/CBDFCardENDDATA.h"
#include "fileformats/CBDFCardGRID.h"
#include "fileformats/CBDFCardMAT1.h"
#include "fileformats/CBDFCardMAT2.h"
#include "fileformats/CBDFCardMAT8.h"
#include "fileformats/CBDFCardPCOMP.h"
#include "fileformats/CBDFCardPCOMPG.h"

class CBDFFieldParser;

// CBDFCardGenerator: one object of each card class, made and destroyed
// with the generator, handed out by card name.
class CBDFCardGenerator {
  public:
    CBDFCardGenerator();
    ~CBDFCardGenerator();
    CBDFCardGenerator(const CBDFCardGenerator&) = delete;
    CBDFCardGenerator& operator=(const CBDFCardGenerator&) = delete;

    // The card object of `name` (exact comparison; the field parser gives
    // names in upper case): GRID, MAT1, MAT2, MAT8, PCOMP, PCOMPG, CTRIA6,
    // CTRIA3, CQUAD8, CQUAD4, CORD2S, CORD2R, CORD2C, ENDDATA. Null for any
    // other name and for null.
    CBDFCard* GetCard(const char* name);
    // The card named in row 0, col 0 of the parser's table (null when that
    // field is empty or unknown), pointed at that table.
    CBDFCard* GetCard(CBDFFieldParser& parser);

    // The card objects, for the writer.
    CBDFCardGRID grid;
    CBDFCardMAT1 mat1;
    CBDFCardMAT2 mat2;
    CBDFCardMAT8 mat8;
    CBDFCardPCOMP pcomp;
    CBDFCardPCOMPG pcompg;
    CBDFCardCTRIA6 ctria6;
    CBDFCardCTRIA3 ctria3;
    CBDFCardCQUAD8 cquad8;
    CBDFCardCQUAD4 cquad4;
    CBDFCardCORD2S cord2s;
    CBDFCardCORD2R cord2r;
    CBDFCardCORD2C cord2c;
    CBDFCardENDDATA enddata;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDGENERATOR_H
