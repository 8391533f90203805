#ifndef PLYSTRAND_LAYUPLIB_CKPPROP_H
#define PLYSTRAND_LAYUPLIB_CKPPROP_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPropElemStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekPropertySet.h"

class CKpCoord;
class CKpLam;

// CKpProp: one property set made by property generation: a laminate, the
// material orientation of its elements (frame, angle, direction or field,
// by property mode), the six property-set options of the run and the ids of
// the elements that carry it. The laminate and the frame are held, not
// owned; the property-set store owns the property set. The property words
// of each mode are listed in IVekPropertySet.
class CKpProp : public IVekPropertySet, public CVekObject {
  public:
    // A property set with the given id: empty names, mode 0, no laminate or
    // frame, angle 0.0, direction (0, 0, 0), axis 0, options 0, no elements.
    explicit CKpProp(int id);
    // A property set with every value given: name prefix of the run,
    // property mode, laminate, frame, orientation angle (radians), direction,
    // axis number and the six options (null gives six 0). The material and
    // field names start empty; there are no elements.
    CKpProp(int id, const char* name, int mode, CKpLam* lam, CKpCoord* coord, double rotn,
            const CKpDirn& dirn, int axis, const int options[6]);
    // Deletes the element entries.
    ~CKpProp() override;

    CKpProp(const CKpProp&) = delete;
    CKpProp& operator=(const CKpProp&) = delete;

    // ---- IVekPropertySet, in slot order (documented there)
    const char* GetName() override;
    int GetOptions(int options[6]) override;
    int GetNumWords() override;
    int GetWordIdsTypesValues(int n, int* ids, int* types, char** values) override;
    int GetNumElems() override;
    int GetElemIds(int n, int* ids) override;
    IVekLam* GetLam() override;
    int GetCoordID() override;
    int GetAxis() override;

    // ---- Plain accessors

    // Name prefix of the run ("" when unset).
    const char* name() const { return m_name; }
    // Property mode of the run.
    int propMode() const { return m_propMode; }
    // The laminate (not owned); null when none. Setting null detaches the
    // property set from a laminate that is about to be deleted.
    CKpLam* pLam() const { return m_pLam; }
    void pLam(CKpLam* lam) { m_pLam = lam; }
    // Equivalent material name (mode 118; "" otherwise).
    const char* matName() const { return m_matName; }
    void matName(const char* name) { m_matName = name ? name : ""; }
    // Orientation field name (mode 9; "" otherwise).
    const char* fieldName() const { return m_fieldName; }
    void fieldName(const char* name) { m_fieldName = name ? name : ""; }
    // Coordinate frame or null (not owned).
    CKpCoord* pCoord() const { return m_pCoord; }
    // Orientation angle, radians (modes 2 and 3).
    double rotn() const { return m_rotn; }
    // Orientation direction.
    const CKpDirn& pDirn() const { return m_pDirn; }
    // Axis number (mode 1: 3 or 2; else 0).
    int axis() const { return m_axis; }
    // Option i of the six; 0 for i outside 0..5.
    int epOpts(int i) const { return (i >= 0 && i < 6) ? m_epOpts[i] : 0; }
    // The element entries, sorted by element id.
    CKpPropElemStore& pPropElems() { return m_pPropElems; }

  private:
    CKpStr m_name;
    CKpStr m_displayName;  // GetName builds name + id in it
    int m_propMode;
    CKpLam* m_pLam;  // not owned
    CKpStr m_matName;
    CKpStr m_fieldName;
    CKpCoord* m_pCoord;  // not owned
    double m_rotn;
    CKpDirn m_pDirn;
    int m_axis;
    int m_epOpts[6];
    CKpPropElemStore m_pPropElems;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPROP_H
