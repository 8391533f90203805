#ifndef PLYSTRAND_LAYUPLIB_CKPGPLYID_H
#define PLYSTRAND_LAYUPLIB_CKPGPLYID_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

// CKpGplyID: a global ply as collected from laminate layers: its id is the
// global ply id; it keeps the layup ply name, the external name of the
// material and the material's nominal thickness.
class CKpGplyID : public CVekObject {
  public:
    // Empty names, thickness 0.0.
    explicit CKpGplyID(int id);
    ~CKpGplyID() override;

    // Layup ply name ("" when unset; null is taken as "").
    const char* GetName() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    // External (solver) material name ("" when unset; null is taken as "").
    const char* GetExternalMaterialName() const { return m_extMatName; }
    void SetExternalMaterialName(const char* name) { m_extMatName = name ? name : ""; }
    // Nominal thickness of the material (model length units).
    double GetThickness() const { return m_thickness; }
    void SetThickness(double t) { m_thickness = t; }

  private:
    CKpStr m_name;
    CKpStr m_extMatName;
    double m_thickness;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPGPLYID_H
