#ifndef PLYSTRAND_LAYUPLIB_IVEKCOORDSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKCOORDSTORE_H

#include "layuplib/IVekCoord.h"

// IVekCoordStore: the model's coordinate frames as clients see them. The
// store belongs to the model: clients never delete it.
class IVekCoordStore {
  public:
    // The number of frames.
    virtual int Count() = 0;

    // The frame at `position` (0-based) in ascending id order; null when the
    // position is negative or not below Count(). Owned by the store.
    virtual IVekCoord* Get(int position) = 0;

  protected:
    ~IVekCoordStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKCOORDSTORE_H
