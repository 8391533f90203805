#ifndef PLYSTRAND_LAYUPLIB_CKPMATALLOW_H
#define PLYSTRAND_LAYUPLIB_CKPMATALLOW_H

#include <vector>

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

class CKpMatProp;
class IVekAddinFailureLamina;

// CKpMatAllow: the allowables of one material (id = material id) for one
// failure run, in the order of the criterion's allowable labels. Positions
// never set read as 0, so that the criterion's check names a missing
// strength.
class CKpMatAllow : public CVekObject {
  public:
    explicit CKpMatAllow(int materialId) : CVekObject(materialId) {}

    void SetName(const char* name) { m_name = name; }
    const char* GetName() const { return m_name; }

    // Sets position `pos` (0 or more), growing the list.
    void SetAllowable(int pos, double value);
    // Positions 0..n-1 from `values`: 0 (nothing for n < 1); 1 for null.
    int SetAllowables(int n, const double* values);
    // Fills from the material's allowables under the criterion's labels on
    // `basis` (1 stress, 2 strain); unnamed or undefined labels stay unset.
    // 1 for a null material or criterion, else 0.
    int SetAllowables(int basis, CKpMatProp* material, IVekAddinFailureLamina* criterion);
    // Copies the values into `out` (null: 1). 0.
    int GetAllowables(std::vector<double>* out) const;
    const std::vector<double>& GetAllowables() const { return m_values; }

  private:
    CKpStr m_name;
    std::vector<double> m_values;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATALLOW_H
