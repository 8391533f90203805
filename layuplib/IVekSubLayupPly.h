#ifndef PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H

#include "layuplib/IVekField.h"
#include "layuplib/IVekSet.h"

// IVekSubLayupPly: what outside clients see of one ply of a sub-layup: the
// layup ply it stands for, its region and its thickness and rotation fields.
// CKpSubLypPly derives from it first. The sub-layup owns it; the region and
// the fields belong to the model's set and field stores: clients delete
// none of them. The operations keep this slot order.
class IVekSubLayupPly {
  public:
    // 1 (every sub-layup ply is active).
    virtual int GetActive() = 0;
    // The layup ply's name with its instance ("<ply>_<instance>" from the
    // second placement of a ply on); null without layup ply. Valid until the
    // layup ply's name is asked for again.
    virtual const char* GetName() = 0;
    // The set of elements the ply covers in this sub-layup; null when none.
    virtual IVekSet* GetRegion() = 0;
    // The external (solver) name of the layup ply's material: that of the
    // first state in the material's list of further states, or of the
    // material's base state when the list is empty; "" when the layup ply has
    // no ply or the ply no material; null without layup ply.
    virtual const char* GetExternalMaterialName() = 0;
    // The thickness field (one value per element, model length units) and
    // the rotation field (one angle per element, radians, relative to the
    // element's orientation angle); null when none.
    virtual IVekField* GetThicknessField() = 0;
    virtual IVekField* GetRotationField() = 0;

  protected:
    ~IVekSubLayupPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSUBLAYUPPLY_H
