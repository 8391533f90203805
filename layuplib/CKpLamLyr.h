#ifndef PLYSTRAND_LAYUPLIB_CKPLAMLYR_H
#define PLYSTRAND_LAYUPLIB_CKPLAMLYR_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/IVekLamLayer.h"

class CKpLamLyrStore;
class CKpLayup;

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

    // ---- IVekLamLayer (see there) ----
    IVekMaterial* GetMaterial() override;
    const char* GetExternalMaterialName() override;
    int GetExternalMaterialId() override;
    double GetThickness() override { return m_t; }
    double GetAngle() override { return m_theta; }
    int GetGlobalPlyID() override { return m_gplyid; }
    const char* GetLayupPlyName() override { return m_lypPlyName; }
    int SetMaterial(IVekMaterial* material) override;
    int SetThickness(double thickness) override;
    int SetAngle(double angle) override;
    int SetGlobalPlyID(int id) override;
    int SetGlobalPlyName(const char* name) override;

    // The layer list holding the layer (set when it is inserted), and the
    // model reached through list, laminate and store (null when any is
    // missing).
    CKpLamLyrStore* GetLamLyrStore() const { return m_store; }
    void SetLamLyrStore(CKpLamLyrStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

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

    // The layer thickness when the layer lies at angle `angle` (radians)
    // within `tol`: with d = the layer angle minus `angle` wrapped into
    // [-pi/2, pi/2] (an axis has no sense), the thickness when
    // -tol < d <= tol, else 0.0.
    double GetThickAtAngle(double angle, double tol) const;

    // The nominal direction of the layer among `n` directions spread evenly
    // over half a turn: with d = the layer angle minus `ref` wrapped into
    // [-pi/2, pi/2], the direction i pi / n (i = 0 .. n-1, wrapped into
    // [-pi/2, pi/2], relative to `ref`) whose sector
    // [i pi / n - pi / 2n, i pi / n + pi / 2n) holds d. Layers of the same
    // nominal direction give exactly the same value. With n below 1, d
    // itself.
    double GetNominalAngle(double ref, int n) const;

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
