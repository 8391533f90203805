#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H

#include "layuplib/IVekMaterialElastic.h"
#include "layuplib/IVekMaterialFailure.h"
#include "layuplib/IVekMaterialThermal.h"

// Directionality of a material state: how its elastic constants are read
// (see IVekMaterialElastic). 0 means not set.
enum EVekMaterialTropy : int {
    EVekMaterialIsotropic = 1,
    EVekMaterialOrthotropic3D = 2,
    EVekMaterialAnisotropic3D = 3,
    EVekMaterialOrthotropic2D = 4,
    EVekMaterialAnisotropic2D = 5
};

// IVekMaterialState: one state of a material (the engineering constants that
// apply at one fabric shear strain) as outside clients see it: its elastic,
// thermal and failure constants, in that order of bases, then the operations
// below. The base state of a material has key 0.0; further states come from
// IVekMaterialStateStore::Add. A state belongs to its material: clients never
// delete it.
class IVekMaterialState : public IVekMaterialElastic,
                          public IVekMaterialThermal,
                          public IVekMaterialFailure {
  public:
    // The state key: the fabric shear strain (radians) at which the state
    // applies; 0.0 for the base state. It is fixed when the state is added.
    virtual double GetState() = 0;
    // Directionality as stored (0 when unset).
    virtual EVekMaterialTropy GetTropy() = 0;
    // External (solver) material name, "" when unset; valid until the name
    // is changed or the state is deleted.
    virtual const char* GetExternalName() = 0;
    // External (solver) material id.
    virtual int GetExternalId() = 0;
    // Mass density, reference temperature, structural damping.
    virtual double GetDensity() = 0;
    virtual double GetTref() = 0;
    virtual double GetGe() = 0;

    // Store the argument as given; a null name stores "".
    virtual void SetTropy(EVekMaterialTropy tropy) = 0;
    virtual void SetExternalName(const char* name) = 0;
    virtual void SetExternalId(int id) = 0;
    virtual void SetDensity(double value) = 0;
    virtual void SetTref(double value) = 0;
    virtual void SetGe(double value) = 0;

  protected:
    ~IVekMaterialState() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H
