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
// thickness, a ply rotation, or the warp and weft directions of an area. The
// field owns its value store (one CKpFieldVal per element, keyed by element
// id) and caches whether all its values are one constant.
class CKpField : public IVekField, public CVekObject {
  public:
    // Field types (EVekFieldType).
    enum {
        TypeThickness = 1,    // one value per element; also the one-value angle field
        TypeOrientation = 3,  // six values per element: warp x y z, weft x y z
        TypeRotation = 4      // one angle per element, radians
    };

    // An empty field: no store, empty name, type 0, an empty value store,
    // no default values, the constant check stale.
    explicit CKpField(int id);
    // Deletes every value record, the value store and the default values.
    ~CKpField() override;

    CKpField(const CKpField&) = delete;
    CKpField& operator=(const CKpField&) = delete;

    // The field store holding this field (set on insertion) and its model
    // (null without store or model).
    CKpFieldStore* GetFieldStore() const { return m_store; }
    void SetFieldStore(CKpFieldStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // The name ("" when unset).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // The type, one of the Type... codes.
    int type() const { return m_type; }
    void SetType(int type) { m_type = type; }

    // The per-element value records; null only when the store could not be
    // allocated. Records inserted through it are owned by the field.
    CKpFieldValStore* GetFieldVals() const { return m_values; }

    // The default values (record id 0, owned by the field).
    const CKpFieldVal& defaultValues() const { return m_defaults; }

    // Sets the constant-check flag: 0 means the check must run again.
    void SetIsConstantValValid(int valid) { m_constValid = valid; }
    int isConstantValValid() const { return m_constValid; }

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
