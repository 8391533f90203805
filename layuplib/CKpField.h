#ifndef PLYSTRAND_LAYUPLIB_CKPFIELD_H
#define PLYSTRAND_LAYUPLIB_CKPFIELD_H

#include "layuplib/CKpFieldVal.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekField.h"

class CKpFieldStore;
class CKpFieldValStore;
class CKpLayup;

// CKpField: a named set of per-element values with default values: a ply
// thickness, a ply rotation, an element angle, or the warp and weft
// directions of an area. The field owns its value store (one CKpFieldVal per
// element, keyed by element id) and caches whether all its values are one
// constant; inserting a record through the value store marks that check
// stale. The field store owns the field.
class CKpField : public IVekField, public CVekObject {
  public:
    // The field types under their older names.
    static constexpr EVekFieldType TypeThickness = EVekFieldThickness;
    static constexpr EVekFieldType TypeOrientation = EVekFieldOrientation;
    static constexpr EVekFieldType TypeRotation = EVekFieldRotation;

    // An empty field: no store, empty name, type 0, an empty value store,
    // no default values, the constant check stale.
    explicit CKpField(int id);
    // Deletes every value record, the value store and the default values.
    ~CKpField() override;

    CKpField(const CKpField&) = delete;
    CKpField& operator=(const CKpField&) = delete;

    // ---- IVekField, in slot order (see there) ----
    const char* GetName() override { return m_name; }
    EVekFieldType GetType() override { return static_cast<EVekFieldType>(m_type); }
    int IsConstantValue() override;
    double GetConstantValue() override;
    int GetNumElems() override;
    int GetNumValuesPerElem() override;
    int GetDefaultValues(int n, double* values) override;
    int GetElemIdsAndValues(int n, int m, int* ids, double* values) override;
    int SetName(const char* name) override;

    // Replaces the default values by a copy of values[0..n-1] (read). 0; 2
    // when they cannot be stored (n < 1, null values, no memory: no default
    // values then).
    int SetDefaultValues(int n, const double* values);

    // The type.
    void SetType(EVekFieldType type) { m_type = type; }
    int type() const { return m_type; }

    // Runs the constant-value check now: the check becomes valid; the field
    // is constant when every value record holds exactly one value and
    // (largest - smallest) / 2 <= the tolerance (0.1 degree in radians for a
    // rotation field, 1e-12 otherwise), with the constant value
    // (largest + smallest) / 2. A field without records is not constant.
    void CheckIfConstantVal();

    // Sets the constant-check flag: 0 means the check must run again.
    void SetIsConstantValValid(int valid) { m_constValid = valid; }
    int isConstantValValid() const { return m_constValid; }

    // The field store holding this field (set on insertion) and its model
    // (null without store or model).
    CKpFieldStore* GetFieldStore() const { return m_store; }
    void SetFieldStore(CKpFieldStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // The per-element value records; null only when the store could not be
    // allocated. Records inserted through it are owned by the field.
    CKpFieldValStore* GetFieldVals() const { return m_values; }

    // The name ("" when unset); setName is SetName without a status.
    const char* name() const { return m_name; }
    void setName(const char* name) { SetName(name); }

    // The default values (record id 0, owned by the field).
    const CKpFieldVal& defaultValues() const { return m_defaults; }

  private:
    CKpFieldStore* m_store;  // owner, set on insertion
    CKpStr m_name;
    int m_type;
    CKpFieldValStore* m_values;  // owned
    CKpFieldVal m_defaults;
    int m_constValid;   // 0: the constant check is stale
    int m_isConst;      // result of the last check
    double m_constVal;  // the constant value when m_isConst
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFIELD_H
