#ifndef PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H
#define PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H

#include "layuplib/IVekMaterialStateStore.h"

// Material (drape) type; the codes are those of the ply type. Painted is
// never kept: a material stores it as projected.
enum EVekMaterialType : int {
    EVekMaterialPainted = 1,
    EVekMaterialProjected = 2,
    EVekMaterialScissor = 3,  // draped
    EVekMaterialSlide = 4     // draped with warp and weft held at 90 degrees
};

// IVekMaterial: what outside clients see of one material. CKpMat derives from
// it first. Angles are radians. The material belongs to its store: clients
// never delete it (they ask the store, IVekMaterialStore::Delete).
class IVekMaterial {
  public:
    // The name, "" when unset; valid until the name changes or the material
    // is deleted.
    virtual const char* GetName() = 0;
    // The type as stored (0 when unset; never 1, painted).
    virtual EVekMaterialType GetType() = 0;
    // Nominal (undeformed) thickness.
    virtual double GetThickness() = 0;
    // Angle between warp and weft, radians.
    virtual double GetWarpWeftAngle() = 0;
    // Largest accepted shear strain, radians.
    virtual double GetMaximumStrain() = 0;

    // Renames the material. -1 (old name kept) for a null name, or when the
    // material lies in a store and a material of that store, this one
    // included, already bears exactly this name; else 0.
    virtual int SetName(const char* name) = 0;
    // Stores the type; painted (1) is stored as projected (2), and a model
    // reachable through the store logs the information "Material '%s' has
    // been converted from 'Painted' to 'Projected' type.".
    virtual void SetType(EVekMaterialType type) = 0;
    virtual void SetThickness(double thickness) = 0;
    virtual void SetWarpWeftAngle(double angle) = 0;
    virtual void SetMaximumStrain(double strain) = 0;

    // The material's own list of states (owned by the material).
    virtual IVekMaterialStateStore* GetMaterialStateStore() = 0;

  protected:
    ~IVekMaterial() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKMATERIAL_H
