#ifndef PLYSTRAND_FILEFORMATS_CCDBNBLOCK_H
#define PLYSTRAND_FILEFORMATS_CCDBNBLOCK_H

#include "layuplib/CKpStr.h"

class CKpNode;

// CCDBNblock: formats one node as an NBLOCK data line of the format
// (3i8,6e16.9).
class CCDBNblock {
  public:
    // Node id 0 at (0, 0, 0).
    CCDBNblock() { init(); }
    void init();

    // Takes id and x, y, z of `node` (basic frame, model length units).
    void Set(const CKpNode* node);

    // Replaces `line` by "%8d%8d%8d" (id, 0, 0), then the coordinates in 16
    // columns each (CdbFormatF16: "%16.9f" where that form holds the value),
    // trailing zero coordinates left off (x always written), then "\n".
    void Get(CKpStr& line) const;
    // The same into `out` (room for 128 bytes); returns the length.
    int Format(char* out) const;

    int m_id;
    double m_x, m_y, m_z;
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBNBLOCK_H
