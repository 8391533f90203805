#ifndef PLYSTRAND_LAYUPLIB_CKPSUBLYPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPSUBLYPPLY_H

#include "layuplib/CVekObject.h"
#include "layuplib/IVekSubLayupPly.h"

class CKpField;
class CKpLypPly;
class CKpSet;

// CKpSubLypPly: one ply of a sub-layup: the layup ply it stands for, the set
// of elements it covers (its region) and its thickness and rotation fields.
// None of them is owned: they live in the model's layup, set store and field
// store.
class CKpSubLypPly : public IVekSubLayupPly, public CVekObject {
  public:
    // A sub-layup ply for `lypPly` (may be null); no region, no fields.
    explicit CKpSubLypPly(int id, CKpLypPly* lypPly = nullptr);
    ~CKpSubLypPly() override;

    CKpSubLypPly(const CKpSubLypPly&) = delete;
    CKpSubLypPly& operator=(const CKpSubLypPly&) = delete;

    // ---- IVekSubLayupPly, in slot order (see there) ----
    int GetActive() override { return 1; }
    const char* GetName() override;
    IVekSet* GetRegion() override;
    const char* GetExternalMaterialName() override;
    IVekField* GetThicknessField() override;
    IVekField* GetRotationField() override;

    CKpLypPly* pLypPly() const { return m_lypPly; }
    CKpSet* pSet() const { return m_set; }
    void SetSet(CKpSet* set) { m_set = set; }
    CKpField* pFieldThick() const { return m_thick; }
    void SetFieldThick(CKpField* field) { m_thick = field; }
    CKpField* pFieldRotn() const { return m_rotn; }
    void SetFieldRotn(CKpField* field) { m_rotn = field; }

  private:
    CKpLypPly* m_lypPly;  // not owned
    CKpSet* m_set;        // not owned
    CKpField* m_thick;    // not owned
    CKpField* m_rotn;     // not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSUBLYPPLY_H
