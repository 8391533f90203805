#ifndef PLYSTRAND_FILEFORMATS_CCDBMAT_H
#define PLYSTRAND_FILEFORMATS_CCDBMAT_H

#include "layuplib/CKpStr.h"

class CKpMat;

// CCDBMat: formats a material's base state as CDB MPDATA and FC lines.
class CCDBMat {
  public:
    // Replaces `lines` by one line
    //   "MPDATA,R5.0, 1,<label>,%8d, 1,%.8G,\n"   (material id, value)
    // per non-zero value, the label padded with blanks to four characters:
    //   directionality 1: EX Ex, NUXY Nuxy;
    //   directionality 2 or 4: EX, EY, EZ, GXY, GYZ, GXZ (Gzx), ALPX, ALPY,
    //     ALPZ, DENS, PRXY (Nuxy), PRYZ (Nuyz), PRXZ (Nuzx), REFT (Tref);
    //   any other directionality: nothing.
    // Negative values (expansion coefficients of fibres, Poisson ratios) are
    // written like positive ones.
    static void SetGet(CKpMat* mat, CKpStr& lines);

    // Replaces `lines` by the FC lines of the material (material id, value):
    //   "FC,%8d,S,<label>,%.8G,  0.0000    ,  0.0000    ,  0.0000    ,
    //    0.0000    ,  0.0000\n" (one line; the blanks as shown)
    // for XTEN Fxt, XCMP -Fxc, YTEN Fyt, YCMP -Fyc, ZTEN Fzt, ZCMP -Fzc, XY
    // Fs12, YZ Fs23, XZ Fs31, each when the allowable is above 0 (Fxc, Fyt,
    // Fyc through their fallbacks), then
    //   "FC,%8d,S,<label>,%.8G, -1.0000    , ... , -1.0000\n"
    // for XYCP F12, YZCP F23, XZCP F31 when not 0.
    static void SetGetFC(CKpMat* mat, CKpStr& lines);
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBMAT_H
