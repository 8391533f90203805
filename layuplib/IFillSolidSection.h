#ifndef PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTION_H
#define PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTION_H

#include "layuplib/IFillSolidSectionLayer.h"

namespace SolidElements {

// IFillSolidSection: a group of bricks filled with alike layers, as clients
// read it back. The filler owns it; it stays valid until the filler is
// released. The operations keep this slot order.
class IFillSolidSection {
  public:
    // Number of bricks (written). 0.
    virtual int GetNumElementIDs(int& n) = 0;
    // The input ids of the bricks into ids[GetNumElementIDs] (nothing
    // written for a null array). 0.
    virtual int GetElementIDs(int* ids) = 0;
    // Number of layers (written). 0.
    virtual int GetNumLayers(int& n) = 0;
    // Layer i (0 at the bottom face of the bricks) into `layer`. 0; 1 with
    // `layer` untouched when i is outside 0 .. GetNumLayers - 1.
    virtual int GetLayer(int i, IFillSolidSectionLayer*& layer) = 0;

  protected:
    ~IFillSolidSection() = default;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTION_H
