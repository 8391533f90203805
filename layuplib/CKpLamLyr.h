#ifndef PLYSTRAND_LAYUPLIB_CKPLAMLYR_H
#define PLYSTRAND_LAYUPLIB_CKPLAMLYR_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/IVekLamLayer.h"

class CKpLamLyrStore;

// CKpLamLyr: one layer of a laminate: material id (in the model's material
// store), thickness, angle (radians), stress output request code, material
// state index, global ply id and the name of the layup ply it came from. It
// lies in its laminate's layer list, which owns it.
class CKpLamLyr : public IVekLamLayer, public CVekListItem {
  public:
    // A default layer: no owner, material 0, thickness and angle 0.0, stress
    // output code 2, state 0, global ply id 0, no layup ply name.
    CKpLamLyr();
    // Copies material, thickness, angle, stress output code, state and global
    // ply id; the name stays empty, the owner null and the copy unlinked.
    CKpLamLyr(const CKpLamLyr& other);
    CKpLamLyr& operator=(const CKpLamLyr&) = delete;
    ~CKpLamLyr() override;

    // The layer list holding the layer (set when it is inserted).
    CKpLamLyrStore* GetLamLyrStore() const { return m_store; }
    void SetLamLyrStore(CKpLamLyrStore* store) { m_store = store; }

    // Material id.
    int mid() const { return m_mid; }
    void setMid(int id) { m_mid = id; }
    // Thickness.
    double t() const { return m_t; }
    void setT(double t) { m_t = t; }
    // Angle, radians.
    double theta() const { return m_theta; }
    void setTheta(double a) { m_theta = a; }
    // Stress output request code.
    int sout() const { return m_sout; }
    void setSout(int code) { m_sout = code; }
    // Material state index (0 = the material's base state).
    int sttid() const { return m_sttid; }
    void setSttid(int id) { m_sttid = id; }
    // Global ply id; below 1 means none.
    int gplyid() const { return m_gplyid; }
    void setGplyid(int id) { m_gplyid = id; }
    // Name of the layup ply (global ply) the layer came from ("" when unset).
    const char* layupPlyName() const { return m_lypPlyName; }
    void SetLayupPlyName(const char* name) { m_lypPlyName = name ? name : ""; }

  private:
    CKpLamLyrStore* m_store;  // the list holding the layer
    int m_mid;
    double m_t;
    double m_theta;
    int m_sout;
    int m_sttid;
    int m_gplyid;
    CKpStr m_lypPlyName;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLAMLYR_H
