#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H

// IVekMaterialThermal: the thermal expansion coefficients of a material state as outside clients
// see them.
class IVekMaterialThermal {
  public:
    virtual ~IVekMaterialThermal() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H
