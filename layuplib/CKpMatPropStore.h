#ifndef PLYSTRAND_LAYUPLIB_CKPMATPROPSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPMATPROPSTORE_H

#include "layuplib/CKpMatProp.h"
#include "layuplib/CVekList.h"

// CKpMatPropStore: the states a material adds to its base state, in the
// order they were added (count, first, last). The list owns its states and
// deletes them when it is destroyed; states are never sorted.
class CKpMatPropStore : public CVekList<CKpMatProp> {
  public:
    CKpMatPropStore() = default;
    // Deletes every state.
    ~CKpMatPropStore() { eraseAllObjects(); }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATPROPSTORE_H
