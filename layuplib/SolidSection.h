#ifndef PLYSTRAND_LAYUPLIB_SOLIDSECTION_H
#define PLYSTRAND_LAYUPLIB_SOLIDSECTION_H

#include <memory>
#include <vector>

#include "layuplib/IFillSolidSection.h"
#include "layuplib/SolidStackingLayer.h"

namespace SolidElements {

class SolidElement;

// SolidSection: the bricks that share one list of layers, bottom face to top
// face (whole or cut stacking layers and resin). Owns its layers; the bricks
// belong to the filler.
class SolidSection : public IFillSolidSection {
  public:
    // `thicknessTolPercent`: layers match when their thicknesses differ by
    // at most this percentage of the mean total thickness of the two
    // sections; `angleTol`: radians.
    SolidSection(double thicknessTolPercent, double angleTol);

    int GetNumElementIDs(int& n) override;
    int GetElementIDs(int* ids) override;
    int GetNumLayers(int& n) override;
    int GetLayer(int i, IFillSolidSectionLayer*& layer) override;

    void AddElement(SolidElement* elem) { m_elements.push_back(elem); }
    const std::vector<SolidElement*>& Elements() const { return m_elements; }
    // Inserts a copy of `layer` at position `pos` (clamped to the end).
    void InsertLayer(size_t pos, const SolidStackingLayer& layer);
    int NumLayers() const { return static_cast<int>(m_layers.size()); }
    SolidStackingLayer& Layer(int i) { return *m_layers[static_cast<size_t>(i)]; }
    const SolidStackingLayer& Layer(int i) const { return *m_layers[static_cast<size_t>(i)]; }

    // Sums the layer thicknesses into the total thickness.
    void UpdateThickness();
    double GetThickness() const { return m_thickness; }

    // Orders a against b with a's tolerances: -1 a first, 1 b first, 0 alike.
    // Fewer layers first; then layer by layer (bottom first) the first that
    // differs in name or material (bytes), in thickness beyond the tolerance
    // (thinner first) or in angle beyond a's angle tolerance (smaller first).
    // Within tolerances the order is not transitive: sort with a merge sort.
    static int Compare(const SolidSection& a, const SolidSection& b);

    // Takes over `other`'s bricks (appended; each brick points here).
    void Absorb(SolidSection& other);

    virtual ~SolidSection() = default;

  private:
    std::vector<SolidElement*> m_elements;
    std::vector<std::unique_ptr<SolidStackingLayer>> m_layers;
    double m_thicknessTolPercent;
    double m_angleTol;
    double m_thickness = 0.0;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDSECTION_H
