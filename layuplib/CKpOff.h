#ifndef PLYSTRAND_LAYUPLIB_CKPOFF_H
#define PLYSTRAND_LAYUPLIB_CKPOFF_H

#include "layuplib/CKpOffElem.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekOffset.h"

class CKpLayup;
class CKpOffStore;

// CKpOff: an offset definition: it shifts the reference surface of a region
// of shell elements. It holds the elements of the region, a seed (eye)
// point with an application direction that picks the start facet and the
// side, the offset flag and value written into the elements, and an
// optional named coordinate origin. Points and directions are in the basic
// frame. The offset store owns the definition.
class CKpOff : public IVekOffset, public CVekObject {
  public:
    // A definition with the given id: no store, empty names, seed point,
    // direction and origin 0, flag 0, value 0, no origin set, no elements.
    explicit CKpOff(int id);
    // Deletes the element list entries.
    ~CKpOff() override;

    CKpOff(const CKpOff&) = delete;
    CKpOff& operator=(const CKpOff&) = delete;

    // The owning store (set when the store inserts the definition) and its
    // model (null without store or model).
    CKpOffStore* GetOffStore() const { return m_store; }
    void SetOffStore(CKpOffStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // The name ("" when unset); stored without a uniqueness check.
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // Seed (eye) point and application (eye) direction, three doubles each.
    const double* seedPoint() const { return m_seed; }
    const double* applicationDirection() const { return m_dirn; }

    // Offset flag (EVekOffsetFlag, the element offset flag) and value.
    int offsetFlag() const { return m_flag; }
    void setOffsetFlag(int flag) { m_flag = flag; }
    double offsetValue() const { return m_value; }
    void setOffsetValue(double value) { m_value = value; }

    // Coordinate origin: flag (0 until an origin is given), name, point.
    int originSet() const { return m_originSet; }
    const char* originName() const { return m_originName; }
    const double* origin() const { return m_origin; }

    // The element ids of the region, in the order given; the entries are
    // owned by the definition.
    CVekList<CKpOffElem>& Elems() { return m_elems; }
    const CVekList<CKpOffElem>& Elems() const { return m_elems; }

  private:
    CKpOffStore* m_store;  // owner; the way to the model
    CKpStr m_name;
    double m_seed[3];
    double m_dirn[3];
    int m_flag;
    double m_value;
    int m_originSet;
    CKpStr m_originName;
    double m_origin[3];
    CVekList<CKpOffElem> m_elems;  // owned items
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOFF_H
