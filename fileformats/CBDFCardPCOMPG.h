#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDPCOMPG_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDPCOMPG_H

#include "fileformats/CBDFCardPCOMP.h"

// PCOMPG: a composite shell property with global ply ids, as a laminate
// "pcompg.<PID>". Row 0 as PCOMP; from row 1 one ply a row: (r,1) GPLYID,
// (r,2) MID, (r,3) T, (r,4) THETA, (r,5) SOUT; the plies end at the first
// row without GPLYID. A blank MID or T repeats the previous ply's. Each
// layer keeps its global ply id. Writing: row 0 as PCOMP, then one ply a
// row: GPLYID, MID, T, THETA in degrees, SOUT.
class CBDFCardPCOMPG : public CBDFCardPCOMP {
  public:
    CBDFCardPCOMPG();
    int Write(CKpLayup* model) override;
    int Read(CVekObject* object) override;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDPCOMPG_H
