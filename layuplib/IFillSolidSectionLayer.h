#ifndef PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTIONLAYER_H
#define PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTIONLAYER_H

namespace SolidElements {

// IFillSolidSectionLayer: one layer of a filled brick's section as clients
// read it back: a whole or cut stacking layer, or resin. The filler owns it;
// it stays valid until the filler is released. The operations keep this
// slot order and all return 0.
class IFillSolidSectionLayer {
  public:
    // The layer's name / material name into `buf` of `len` bytes: at most
    // len - 1 characters and a terminator; nothing written for a null buffer
    // or len below 1.
    virtual int GetLayerName(char* buf, int len) = 0;
    virtual int GetLayerMaterial(char* buf, int len) = 0;
    // Thickness in mesh length units.
    virtual int GetLayerThickness(double& thickness) = 0;
    // Fibre angle in radians.
    virtual int GetLayerAngle(double& angle) = 0;

  protected:
    ~IFillSolidSectionLayer() = default;
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_IFILLSOLIDSECTIONLAYER_H
