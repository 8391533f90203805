#ifndef PLYSTRAND_LAYUPLIB_CKPXLYPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPXLYPPLYSTORE_H

#include "layuplib/CKpXLypPly.h"
#include "layuplib/CVekList.h"

// CKpXLypPlyStore: a list of stack plies, bottom first; owns them.
class CKpXLypPlyStore : public CVekList<CKpXLypPly> {
  public:
    CKpXLypPlyStore() = default;
    // Deletes every ply.
    ~CKpXLypPlyStore();

    // The first ply (bottom up) of layup ply `lypPlyId`, or null.
    CKpXLypPly* FindLypPly(int lypPlyId) const;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYPPLYSTORE_H
