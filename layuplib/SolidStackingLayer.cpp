#include "layuplib/SolidStackingLayer.h"

#include <cstdio>
#include <utility>

#include "layuplib/copy_text.h"

namespace SolidElements {

SolidStackingLayer::SolidStackingLayer(std::string name, std::string material, double thickness,
                                       double angle)
    : m_name(std::move(name)),
      m_material(std::move(material)),
      m_thickness(thickness),
      m_angle(angle) {}

int SolidStackingLayer::GetLayerName(char* buf, int len) {
    copy_text(buf, len, m_name.c_str());
    return 0;
}

int SolidStackingLayer::GetLayerMaterial(char* buf, int len) {
    copy_text(buf, len, m_material.c_str());
    return 0;
}

int SolidStackingLayer::GetLayerThickness(double& thickness) {
    thickness = m_thickness;
    return 0;
}

int SolidStackingLayer::GetLayerAngle(double& angle) {
    angle = m_angle;
    return 0;
}

std::string SolidStackingLayer::GetPlyMaterial() const {
    char number[64];
    std::snprintf(number, sizeof number, "_%.3g", m_thickness);
    return m_material + number;
}

}  // namespace SolidElements
