#ifndef PLYSTRAND_LAYUPLIB_SOLIDSTACKINGLAYER_H
#define PLYSTRAND_LAYUPLIB_SOLIDSTACKINGLAYER_H

#include <string>

#include "layuplib/IFillSolidSectionLayer.h"

namespace SolidElements {

// SolidStackingLayer: one layer of a stacking file, or a piece of one cut at
// a brick boundary, or resin: name, material name, thickness (mesh length
// units) and angle (radians).
class SolidStackingLayer : public IFillSolidSectionLayer {
  public:
    SolidStackingLayer() = default;
    SolidStackingLayer(std::string name, std::string material, double thickness, double angle);

    int GetLayerName(char* buf, int len) override;
    int GetLayerMaterial(char* buf, int len) override;
    int GetLayerThickness(double& thickness) override;
    int GetLayerAngle(double& angle) override;

    const std::string& GetName() const { return m_name; }
    const std::string& GetMaterial() const { return m_material; }
    double GetThickness() const { return m_thickness; }
    double GetAngle() const { return m_angle; }
    void SetName(std::string name) { m_name = std::move(name); }
    void SetMaterial(std::string material) { m_material = std::move(material); }
    void SetThickness(double thickness) { m_thickness = thickness; }
    void SetAngle(double angle) { m_angle = angle; }

    // The material name of the ply this layer becomes: the material followed
    // by "_" and the thickness in "%.3g" (UD1 at 0.125 gives "UD1_0.125").
    std::string GetPlyMaterial() const;

    virtual ~SolidStackingLayer() = default;

  private:
    std::string m_name;
    std::string m_material;
    double m_thickness = 0.0;
    double m_angle = 0.0;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_SOLIDSTACKINGLAYER_H
