#include "layuplib/SolidSection.h"

#include <cmath>
#include <cstring>

#include "layuplib/SolidElement.h"

namespace SolidElements {

SolidSection::SolidSection(double thicknessTolPercent, double angleTol)
    : m_thicknessTolPercent(thicknessTolPercent), m_angleTol(angleTol) {}

int SolidSection::GetNumElementIDs(int& n) {
    n = static_cast<int>(m_elements.size());
    return 0;
}

int SolidSection::GetElementIDs(int* ids) {
    if (!ids) return 0;
    for (size_t i = 0; i < m_elements.size(); ++i) ids[i] = m_elements[i]->GetID();
    return 0;
}

int SolidSection::GetNumLayers(int& n) {
    n = NumLayers();
    return 0;
}

int SolidSection::GetLayer(int i, IFillSolidSectionLayer*& layer) {
    if (i < 0 || i >= NumLayers()) return 1;
    layer = m_layers[static_cast<size_t>(i)].get();
    return 0;
}

void SolidSection::InsertLayer(size_t pos, const SolidStackingLayer& layer) {
    if (pos > m_layers.size()) pos = m_layers.size();
    m_layers.insert(m_layers.begin() + static_cast<std::ptrdiff_t>(pos),
                    std::make_unique<SolidStackingLayer>(layer));
}

void SolidSection::UpdateThickness() {
    m_thickness = 0.0;
    for (const auto& layer : m_layers) m_thickness += layer->GetThickness();
}

int SolidSection::Compare(const SolidSection& a, const SolidSection& b) {
    if (a.NumLayers() != b.NumLayers()) return a.NumLayers() < b.NumLayers() ? -1 : 1;
    const double tol = (a.m_thickness + b.m_thickness) / 2.0 * a.m_thicknessTolPercent / 100.0;
    for (int i = 0; i < a.NumLayers(); ++i) {
        const SolidStackingLayer& la = a.Layer(i);
        const SolidStackingLayer& lb = b.Layer(i);
        const int byName = la.GetName().compare(lb.GetName());
        if (byName != 0) return byName < 0 ? -1 : 1;
        const int byMaterial = la.GetMaterial().compare(lb.GetMaterial());
        if (byMaterial != 0) return byMaterial < 0 ? -1 : 1;
        const double dt = la.GetThickness() - lb.GetThickness();
        if (std::fabs(dt) > tol) return dt < 0 ? -1 : 1;
        const double da = la.GetAngle() - lb.GetAngle();
        if (std::fabs(da) > a.m_angleTol) return da < 0 ? -1 : 1;
    }
    return 0;
}

void SolidSection::Absorb(SolidSection& other) {
    for (SolidElement* elem : other.m_elements) {
        m_elements.push_back(elem);
        elem->SetSection(this);
    }
    other.m_elements.clear();
}

}  // namespace SolidElements
