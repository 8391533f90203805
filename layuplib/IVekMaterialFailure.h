#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H

// The basis on which a state's allowables are read.
enum EVekMaterialFailureBasis : int {
    EVekMaterialFailureBasisStress = 1,
    EVekMaterialFailureBasisStrain = 2
};

// IVekMaterialFailure: the failure allowables of a material state as outside
// clients see them. The allowables are stored as stresses: tensile (Fxt, Fyt,
// Fzt), compressive (Fxc, Fyc, Fzc), shear (Fs12, Fs23, Fs31) and the
// interaction terms of a quadratic criterion (F12, F23, F31). Clients never
// delete a state.
class IVekMaterialFailure {
  public:
    // 2 (strain) once the allowables have been given as strains and converted
    // (SetBasis(2)), else 1 (stress).
    virtual EVekMaterialFailureBasis GetBasis() = 0;

    // The stored allowables. GetFyt, GetFxc and GetFyc read a stored 0.0
    // through a fallback by directionality: Fyt gives Fxt for tropy 1 or 5;
    // Fxc gives Fxt for tropy 4; Fyc gives Fxc for tropy 1 or 5 and Fyt for
    // tropy 4; 0.0 in every other case. The others return the field as stored.
    virtual double GetFxt() = 0;
    virtual double GetFyt() = 0;
    virtual double GetFzt() = 0;
    virtual double GetFxc() = 0;
    virtual double GetFyc() = 0;
    virtual double GetFzc() = 0;
    virtual double GetFs12() = 0;
    virtual double GetFs23() = 0;
    virtual double GetFs31() = 0;
    virtual double GetF12() = 0;
    virtual double GetF23() = 0;
    virtual double GetF31() = 0;

    // Looks an allowable up by its label (compared exactly, case-sensitive)
    // and writes it to `*value`.
    //   basis 1 (stress): "Xt", "Yt", "Zt", "Xc", "Yc", "Zc", "S12", "S23",
    //     "S31", "F12", "F23", "F31" give the getter of the same allowable
    //     (with the fallbacks); 0. Any other label: 1, value untouched.
    //   basis 2 (strain): "Xt", "Yt", "Xc", "Yc", "S12", "S23", "S31" give the
    //     strain allowable (0.0 when the state has none, e.g. a 3D state);
    //     "F12" gives GetF12 unconverted; 0. Any other label, "Zt", "Zc",
    //     "F23" and "F31" included: 2, value untouched.
    //   any other basis: 3.
    // A null label or value counts as an unknown label.
    virtual int GetAllowableByLabel(EVekMaterialFailureBasis basis, const char* label,
                                    double* value) = 0;

    // Basis 2 declares the stored allowables to be strains and converts them
    // to stresses once (CKpMatProp::SetAllowStrain); any other basis does
    // nothing.
    virtual void SetBasis(EVekMaterialFailureBasis basis) = 0;

    // Store the argument as given (no conversion, whatever the basis).
    virtual void SetFxt(double value) = 0;
    virtual void SetFyt(double value) = 0;
    virtual void SetFzt(double value) = 0;
    virtual void SetFxc(double value) = 0;
    virtual void SetFyc(double value) = 0;
    virtual void SetFzc(double value) = 0;
    virtual void SetFs12(double value) = 0;
    virtual void SetFs23(double value) = 0;
    virtual void SetFs31(double value) = 0;
    virtual void SetF12(double value) = 0;
    virtual void SetF23(double value) = 0;
    virtual void SetF31(double value) = 0;

  protected:
    ~IVekMaterialFailure() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALFAILURE_H
