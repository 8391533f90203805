#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H

#include "layuplib/IVekLamLayer.h"

// IVekLamLayerStore: what outside clients see of the layer list of a
// laminate, bottom layer first. The list belongs to its laminate.
class IVekLamLayerStore {
  public:
    // Appends a default layer on top and returns it (owned by the list);
    // null when memory runs out.
    virtual IVekLamLayer* New() = 0;

    // The number of layers.
    virtual int Count() = 0;

    // The layer at `index` (0-based from the bottom); null outside
    // 0 .. Count() - 1.
    virtual IVekLamLayer* Get(int index) = 0;

    virtual ~IVekLamLayerStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMLAYERSTORE_H
