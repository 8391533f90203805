#ifndef PLYSTRAND_LAYUPLIB_CKPSUBLYP_H
#define PLYSTRAND_LAYUPLIB_CKPSUBLYP_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekSubLayup.h"

class CKpField;
class CKpSubLypPlyStore;

// CKpSubLyp: a sub-layup: the plies lying on a selected area, as a list of
// sub-layup plies (bottom first, in ascending id order), with one
// orientation field for the area. The orientation field lives in the
// model's field store; the sub-layup owns its plies. Made by
// CreateSubLayups.
class CKpSubLyp : public IVekSubLayup, public CVekObject {
  public:
    // An empty sub-layup: empty name, no orientation field, an empty ply
    // store (null only when it could not be allocated).
    explicit CKpSubLyp(int id);
    // Deletes the ply store and its plies.
    ~CKpSubLyp() override;

    CKpSubLyp(const CKpSubLyp&) = delete;
    CKpSubLyp& operator=(const CKpSubLyp&) = delete;

    // ---- IVekSubLayup, in slot order (see there) ----
    const char* GetName() override { return m_name; }
    const char* GetOrientationFieldName() override;
    IVekSubLayupPlyStore* GetSubLayupPlyStore() override;

    // The name ("" when unset); null is taken as "".
    const char* name() const { return m_name; }
    void SetName(const char* name) { m_name = name ? name : ""; }

    // The orientation field (not owned; null when none).
    CKpField* pOrientation() const { return m_orient; }
    void SetOrientation(CKpField* field) { m_orient = field; }

    // The sub-layup plies (owned; null only when the store could not be
    // allocated).
    CKpSubLypPlyStore* GetSubLypPlys() const { return m_plys; }

  private:
    CKpStr m_name;
    CKpField* m_orient;         // not owned
    CKpSubLypPlyStore* m_plys;  // owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSUBLYP_H
