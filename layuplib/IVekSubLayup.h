#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H

#include "layuplib/IVekSubLayupPlyStore.h"

// IVekSubLayup: what outside clients see of one sub-layup: the plies lying on
// an area, with one orientation field for the area. CKpSubLyp derives from
// it first. The sub-layup belongs to the model's sub-layup store: clients
// never delete it. The operations keep this slot order.
class IVekSubLayup {
  public:
    // The name; "" when unset. Valid until the name changes.
    virtual const char* GetName() = 0;
    // The name of the orientation field (six values per element, warp and
    // weft directions); null without orientation field.
    virtual const char* GetOrientationFieldName() = 0;
    // The plies, bottom first; owned by the sub-layup. Null only when the
    // store could not be allocated.
    virtual IVekSubLayupPlyStore* GetSubLayupPlyStore() = 0;

  protected:
    ~IVekSubLayup() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUP_H
