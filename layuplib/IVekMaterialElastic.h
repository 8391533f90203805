#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H

// IVekMaterialElastic: the elastic constants of a material state as outside
// clients see them. IVekMaterialState derives from it first.
//
// Each getter returns the stored field of its name and each setter stores its
// argument; nothing is converted or checked. How the fields are read depends
// on the state's directionality (IVekMaterialState::GetTropy): 1 isotropic
// (Ex, Nuxy), 2 orthotropic 3D (Ex .. Gzx), 3 anisotropic 3D (the symmetric
// 6x6 stiffness in the order xx, yy, zz, xy, yz, zx: diagonal Ex Ey Ez Gxy Gyz
// Gzx, D12 Nuxy, D23 Nuyz, D13 Nuzx, D14 .. D56 the C terms), 4 orthotropic 2D
// (Ex, Ey, Nuxy, Gxy; transverse shear Gyz, Gzx), 5 anisotropic 2D (in-plane
// stiffness Q11 Ex, Q12 Nuxy, Q13 C14, Q22 Ey, Q23 C24, Q33 Gxy; transverse
// shear Gyz, Gzx).
//
// The state belongs to its material: clients never delete it (hence no public
// destructor).
class IVekMaterialElastic {
  public:
    virtual double GetEx() = 0;
    virtual double GetEy() = 0;
    virtual double GetEz() = 0;
    virtual double GetNuxy() = 0;
    virtual double GetNuyz() = 0;
    virtual double GetNuzx() = 0;
    virtual double GetGxy() = 0;
    virtual double GetGyz() = 0;
    virtual double GetGzx() = 0;
    virtual double GetC14() = 0;
    virtual double GetC15() = 0;
    virtual double GetC16() = 0;
    virtual double GetC24() = 0;
    virtual double GetC25() = 0;
    virtual double GetC26() = 0;
    virtual double GetC34() = 0;
    virtual double GetC35() = 0;
    virtual double GetC36() = 0;
    virtual double GetC45() = 0;
    virtual double GetC46() = 0;
    virtual double GetC56() = 0;

    virtual void SetEx(double value) = 0;
    virtual void SetEy(double value) = 0;
    virtual void SetEz(double value) = 0;
    virtual void SetNuxy(double value) = 0;
    virtual void SetNuyz(double value) = 0;
    virtual void SetNuzx(double value) = 0;
    virtual void SetGxy(double value) = 0;
    virtual void SetGyz(double value) = 0;
    virtual void SetGzx(double value) = 0;
    virtual void SetC14(double value) = 0;
    virtual void SetC15(double value) = 0;
    virtual void SetC16(double value) = 0;
    virtual void SetC24(double value) = 0;
    virtual void SetC25(double value) = 0;
    virtual void SetC26(double value) = 0;
    virtual void SetC34(double value) = 0;
    virtual void SetC35(double value) = 0;
    virtual void SetC36(double value) = 0;
    virtual void SetC45(double value) = 0;
    virtual void SetC46(double value) = 0;
    virtual void SetC56(double value) = 0;

  protected:
    ~IVekMaterialElastic() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALELASTIC_H
