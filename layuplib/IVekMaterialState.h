#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H

#include "layuplib/IVekMaterialElastic.h"
#include "layuplib/IVekMaterialFailure.h"
#include "layuplib/IVekMaterialThermal.h"

// IVekMaterialState: one state of a material (the engineering constants that
// apply at one fabric shear strain) as outside clients see it: its elastic,
// thermal and failure constants, in that order of bases.
class IVekMaterialState : public IVekMaterialElastic,
                          public IVekMaterialThermal,
                          public IVekMaterialFailure {
  public:
    ~IVekMaterialState() override = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIALSTATE_H
