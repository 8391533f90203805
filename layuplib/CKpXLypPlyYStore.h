#ifndef PLYSTRAND_LAYUPLIB_CKPXLYPPLYYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPXLYPPLYYSTORE_H

#include "layuplib/CKpXLypPlyY.h"
#include "layuplib/CVekList.h"

// CKpXLypPlyYStore: a list of thickness contributions; owns them.
class CKpXLypPlyYStore : public CVekList<CKpXLypPlyY> {
  public:
    CKpXLypPlyYStore() = default;
    // Deletes every contribution.
    ~CKpXLypPlyYStore();

    // Appends a contribution: 0; -1 when memory runs out.
    int Add(int id, double thickness);
    // 1 when a contribution carries `id`, else 0.
    int HasId(int id) const;
    // Mean thickness; 0.0 for an empty list.
    double AveThick() const;
    // Largest thickness; 0.0 for an empty list.
    double MaxThick() const;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYPPLYYSTORE_H
