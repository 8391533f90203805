#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H

// IVekMaterialThermal: the thermal expansion coefficients of a material state
// as outside clients see them: three direct (x, y, z) and three shear
// (A4, A5, A6 in the order xy, yz, zx). Getters return the stored value,
// setters store their argument unchecked. Clients never delete a state.
class IVekMaterialThermal {
  public:
    virtual double GetAlpx() = 0;
    virtual double GetAlpy() = 0;
    virtual double GetAlpz() = 0;
    virtual double GetA4() = 0;
    virtual double GetA5() = 0;
    virtual double GetA6() = 0;

    virtual void SetAlpx(double value) = 0;
    virtual void SetAlpy(double value) = 0;
    virtual void SetAlpz(double value) = 0;
    virtual void SetA4(double value) = 0;
    virtual void SetA5(double value) = 0;
    virtual void SetA6(double value) = 0;

  protected:
    ~IVekMaterialThermal() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALTHERMAL_H
