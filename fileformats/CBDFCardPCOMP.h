#ifndef PLYSTRAND_FILEFORMATS_CBDFCARDPCOMP_H
#define PLYSTRAND_FILEFORMATS_CBDFCARDPCOMP_H

#include "fileformats/CBDFCard.h"

class CKpLam;
class CKpMsg;

// PCOMP: a composite shell property as a laminate "pcomp.<PID>".
// Reading: (0,1) PID, (0,2) Z0 (absent: default offset), (0,4) SB (bond
// allowable), (0,8) LAM ("SYM" option 2, "MEM" 6, "BEND" 7, "SMEAR" 8,
// "SMCORE" 9); from row 1 two plies a row, MID T THETA SOUT in cols 1..4
// and 5..8. A ply exists when any of its four fields is given; a blank MID
// or T repeats the previous ply's; a fully blank ply ends its row. Layer:
// material MID, thickness T, angle THETA (degrees in the card, radians in
// the layer), output flag from SOUT (a text beginning with "Y" 2, another
// text 1, else 0). The laminate's total layup is built at the end (SYM
// mirrors the layers).
// Writing (a CKpLam): PID, Z0 (when given), blank NSM, SB (when above 0),
// three blanks, LAM text; then two plies a row with THETA in degrees and
// SOUT "YES" (2), "NO" (1) or blank. A symmetric laminate (option 2) whose
// layers are an exact mirror of even count is written as its first half
// with "SYM"; any other is written whole without "SYM", with a warning.
class CBDFCardPCOMP : public CBDFCard {
  public:
    CBDFCardPCOMP();
    // -1 for a PID below 1 or when memory runs out.
    int Write(CKpLayup* model) override;
    int Read(CVekObject* object) override;
    // Where the warning about a laminate that is not an exact mirror goes
    // (may be null).
    void SetMsg(CKpMsg* msg) { m_msg = msg; }

  protected:
    CBDFCardPCOMP(const char* name, int grouped);
    // The laminate of the card with Z0, SB and LAM; null on failure.
    CKpLam* NewLaminate(CKpLayup* model);
    // Appends a layer; false when memory runs out.
    static bool AddLayer(CKpLam* lam, int mid, double t, double thetaDeg,
                         const CF06FieldVariant* sout, int gplyid);
    // Row 0 and the number of layers to write (half for an exact mirror).
    int StartLaminate(CKpLam* lam, int* count);
    void AddSout(int code);

  private:
    const char* m_name;
    int m_grouped;
    CKpMsg* m_msg;
};

#endif  // PLYSTRAND_FILEFORMATS_CBDFCARDPCOMP_H
