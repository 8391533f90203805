#ifndef PLYSTRAND_LAYUPLIB_CKPORIENT_H
#define PLYSTRAND_LAYUPLIB_CKPORIENT_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

class CKpLayup;
class CKpOrientStore;

// CKpOrient: one orientation definition. It says how the material angle
// theta of the shell elements that refer to it is obtained: from a direction
// projected onto each element, from a coordinate frame's first axis, as one
// constant angle, or element by element from given values. Elements point
// to their definition (CKpElem::pOrient) without owning it; the definition
// is owned by the orientation store.
class CKpOrient : public CVekObject {
  public:
    // Orientation types (`type`).
    enum {
        TypeDefault = 0,     // theta is left unchanged
        TypeCoord = 1,       // direction, optionally the first axis of a frame
        TypeElemValues = 2,  // per-element values (a field named "Theta")
        TypeAngle = 3,       // one constant angle, radians, in the first value
        TypeDirection = 4    // a direction projected onto each element
    };

    // A definition with the given id: no store, empty name, type 0,
    // reference id 0, values 0.
    explicit CKpOrient(int id);
    ~CKpOrient() override;

    CKpOrient(const CKpOrient&) = delete;
    CKpOrient& operator=(const CKpOrient&) = delete;

    // The owning store; null while the definition lies in no store. The
    // store sets it when it inserts the definition.
    CKpOrientStore* GetOrientStore() const { return m_store; }
    void SetOrientStore(CKpOrientStore* store) { m_store = store; }

    // The model that owns the store; null without store or model.
    CKpLayup* GetLayup() const;

    // The name ("" when unset).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // The type, one of the Type... codes above (other codes are stored as
    // given and treated like type 0).
    int type() const { return m_type; }
    void setType(int type) { m_type = type; }

    // Reference id: type 1 the coordinate frame id (0 none), type 2 the id of
    // the field named "Theta"; unused otherwise.
    int refId() const { return m_refId; }
    void setRefId(int id) { m_refId = id; }

    // The three values: types 1 and 4 the direction (x, y, z, basic frame);
    // type 3 the angle in radians in value 0. `value` gives 0.0 for an index
    // outside 0..2.
    double value(int i) const { return (i >= 0 && i < 3) ? m_values[i] : 0.0; }
    const double* values() const { return m_values; }

    // Type 2: the id of the host database field written for it (0 none).
    int hostFieldId() const { return m_hostFieldId; }
    void setHostFieldId(int id) { m_hostFieldId = id; }
    void setValues(double v0, double v1, double v2) {
        m_values[0] = v0;
        m_values[1] = v1;
        m_values[2] = v2;
    }

  private:
    CKpOrientStore* m_store;  // owner; the way to the model
    CKpStr m_name;
    int m_type;
    int m_refId;
    double m_values[3];
    int m_hostFieldId = 0;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPORIENT_H
