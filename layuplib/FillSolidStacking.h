#ifndef PLYSTRAND_LAYUPLIB_FILLSOLIDSTACKING_H
#define PLYSTRAND_LAYUPLIB_FILLSOLIDSTACKING_H

#include <memory>
#include <vector>

#include "layuplib/SolidStackingLayer.h"

namespace SolidElements {

class Messages;

// FillSolidStacking: the ordered layers of one stacking, read from stacking
// files. A stacking file is comma-separated text (see CSVParser), one layer
// a data line: name, material, thickness (mesh length units), angle
// (degrees); "#" lines are comments. The first layer is the one nearest the
// surface the stacking is laid from.
class FillSolidStacking {
  public:
    // Appends the layers of the file at `path`; data lines are numbered
    // from 1, comment lines not counted. Stops at the first bad line,
    // recording one message in `messages`; the layers read before it stay.
    //   0 end of file reached;
    //   1 null path (no message);
    //   2 "Unable to open file <path>";
    //   3 "File <path>, line <n> should have 4 fields";
    //   4 "File <path>, line <n> has empty fields";
    //   5 "File <path>, line <n> has an invalid number": the thickness or
    //     the angle is not wholly a finite number (blanks around it
    //     allowed), or the thickness is negative;
    //   6 "File <path>, line <n> could not be stored": out of memory.
    int Read(const char* path, Messages& messages);

    int NumLayers() const { return static_cast<int>(m_layers.size()); }
    // Layer i in file order (0 .. NumLayers() - 1); angle in radians.
    const SolidStackingLayer& Layer(int i) const { return *m_layers[static_cast<size_t>(i)]; }
    // Sum of the layer thicknesses.
    double GetThickness() const;

  private:
    std::vector<std::unique_ptr<SolidStackingLayer>> m_layers;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_FILLSOLIDSTACKING_H
