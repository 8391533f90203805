#ifndef PLYSTRAND_LAYUPLIB_CKPFIELDVAL_H
#define PLYSTRAND_LAYUPLIB_CKPFIELDVAL_H

#include <memory>

#include "layuplib/CVekObject.h"

class CKpFieldValStore;

// CKpFieldVal: the values of a field on one element, keyed by the element id:
// a short owned array of reals (one thickness, one rotation, or six
// direction components warp x y z, weft x y z). A field also embeds one as
// its default values.
class CKpFieldVal : public CVekObject {
  public:
    // No values, no owner; `id` is the element id.
    explicit CKpFieldVal(int id);
    ~CKpFieldVal() override;

    CKpFieldVal(const CKpFieldVal&) = delete;
    CKpFieldVal& operator=(const CKpFieldVal&) = delete;

    // Replaces the values by a copy of values[0..n-1]. The old values are
    // freed first, whatever the outcome. Returns 0; 1 for n < 1, 2 for null
    // values, 3 when the array cannot be allocated (then no values).
    int SetVals(int n, const double* values);

    // Value i; 0.0 outside 0..count-1.
    double GetVal(int i) const { return (i >= 0 && i < m_count) ? m_values[i] : 0.0; }
    // Number of values.
    int GetNumVals() const { return m_count; }

    // Frees the values; count 0.
    void Clear();

    // The value store holding this record (null outside a store); set by
    // the store's insert.
    CKpFieldValStore* GetFieldValStore() const { return m_owner; }
    void SetFieldValStore(CKpFieldValStore* owner) { m_owner = owner; }

  private:
    CKpFieldValStore* m_owner;
    int m_count;
    std::unique_ptr<double[]> m_values;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFIELDVAL_H
