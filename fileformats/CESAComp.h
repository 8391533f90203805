#ifndef PLYSTRAND_FILEFORMATS_CESACOMP_H
#define PLYSTRAND_FILEFORMATS_CESACOMP_H

#include "layuplib/CKpDBF.h"

// CESAComp: reader of ESAComp results XML files (element-wise values such
// as inverse reserve factors) into one unlayered scalar result: id the
// highest result id + 1, names (results name, "Subcase", "ESAComp Result",
// "invRF", "Unlayered"), orientation 4, type 1, location 1, one float per
// element. Each table and row read is logged as information. Two rows for
// one element keep the later value (information). Writing is refused.
class CESAComp : public CKpDBF {
  public:
    // 0; 1 when the file cannot be loaded, with one error "Unable to load
    // results: %s" filled with the path and why: "does not exist", "is a
    // directory", "is empty", "cannot be opened", or ": " and the parse
    // error with its line (random bytes, a cut file); no result is created.
    // -1 when memory runs out (records made stay).
    int Read() override;
    // -1: this format is read only.
    int Write() override { return -1; }
};

#endif
