#ifndef PLYSTRAND_LAYUPLIB_CKPMATPROP_H
#define PLYSTRAND_LAYUPLIB_CKPMATPROP_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/IVekMaterialState.h"

// CKpMatProp: one state of a material: the engineering constants (elastic,
// thermal, failure allowables, density) that apply at one fabric shear
// strain. A material is itself its base state (id 0, key 0.0); further
// states lie in the material's list of states, linked through the list item
// base. All values are stored as given, in the solver's component order
// (xx, yy, zz, xy, yz, zx).
//
// Directionality `dir` (EVekMaterialTropy) says how the elastic values are
// read: 1 isotropic (ex, nuxy), 2 orthotropic 3D (ex .. gzx), 3 anisotropic
// 3D (the symmetric 6x6 stiffness: diagonal ex ey ez gxy gyz gzx, D12 nuxy,
// D23 nuyz, D13 nuzx, D14..D56 the c fields), 4 orthotropic 2D (ex ey nuxy
// gxy, transverse shear gyz gzx), 5 anisotropic 2D (Q11 ex, Q12 nuxy, Q13
// c14, Q22 ey, Q23 c24, Q33 gxy; transverse shear gyz gzx).
class CKpMatProp : public IVekMaterialState, public CVekListItem {
  public:
    // A default state: id 0, key 0.0, thickness multiplier 1.0, no external
    // name, external id 0, dir 0, every constant 0.0, strnallow 0.
    CKpMatProp();
    ~CKpMatProp() override;

    // A state is linked into one material's list; copying would copy links.
    CKpMatProp(const CKpMatProp&) = delete;
    CKpMatProp& operator=(const CKpMatProp&) = delete;

    // State id: 0 for the base state, 1, 2, ... for added states.
    int sttid() const { return m_sttid; }
    void setSttid(int id) { m_sttid = id; }
    // State key: the fabric shear strain at which this state applies.
    double strn() const { return m_strn; }
    void setStrn(double s) { m_strn = s; }
    // Thickness multiplier of this state.
    double thckmlt() const { return m_thckmlt; }
    void setThckmlt(double m) { m_thckmlt = m; }
    // External (solver) material name ("" when unset) and id.
    const char* extmtrlnm() const { return m_extmtrlnm; }
    void setExtmtrlnm(const char* name) { m_extmtrlnm = name ? name : ""; }
    int extmtrlid() const { return m_extmtrlid; }
    void setExtmtrlid(int id) { m_extmtrlid = id; }
    // Directionality, EVekMaterialTropy (1..5, 0 unset).
    int dir() const { return m_dir; }
    void setDir(int dir) { m_dir = dir; }

    // Elastic constants (meaning by `dir`, see below).
    double ex() const { return m_ex; }
    void setEx(double v) { m_ex = v; }
    double ey() const { return m_ey; }
    void setEy(double v) { m_ey = v; }
    double ez() const { return m_ez; }
    void setEz(double v) { m_ez = v; }
    double nuxy() const { return m_nuxy; }
    void setNuxy(double v) { m_nuxy = v; }
    double nuyz() const { return m_nuyz; }
    void setNuyz(double v) { m_nuyz = v; }
    double nuzx() const { return m_nuzx; }
    void setNuzx(double v) { m_nuzx = v; }
    double gxy() const { return m_gxy; }
    void setGxy(double v) { m_gxy = v; }
    double gyz() const { return m_gyz; }
    void setGyz(double v) { m_gyz = v; }
    double gzx() const { return m_gzx; }
    void setGzx(double v) { m_gzx = v; }

    // Coupling terms of an anisotropic stiffness.
    double c14() const { return m_c14; }
    void setC14(double v) { m_c14 = v; }
    double c15() const { return m_c15; }
    void setC15(double v) { m_c15 = v; }
    double c16() const { return m_c16; }
    void setC16(double v) { m_c16 = v; }
    double c24() const { return m_c24; }
    void setC24(double v) { m_c24 = v; }
    double c25() const { return m_c25; }
    void setC25(double v) { m_c25 = v; }
    double c26() const { return m_c26; }
    void setC26(double v) { m_c26 = v; }
    double c34() const { return m_c34; }
    void setC34(double v) { m_c34 = v; }
    double c35() const { return m_c35; }
    void setC35(double v) { m_c35 = v; }
    double c36() const { return m_c36; }
    void setC36(double v) { m_c36 = v; }
    double c45() const { return m_c45; }
    void setC45(double v) { m_c45 = v; }
    double c46() const { return m_c46; }
    void setC46(double v) { m_c46 = v; }
    double c56() const { return m_c56; }
    void setC56(double v) { m_c56 = v; }

    // Thermal expansion coefficients: three direct, three shear.
    double alpx() const { return m_alpx; }
    void setAlpx(double v) { m_alpx = v; }
    double alpy() const { return m_alpy; }
    void setAlpy(double v) { m_alpy = v; }
    double alpz() const { return m_alpz; }
    void setAlpz(double v) { m_alpz = v; }
    double a4() const { return m_a4; }
    void setA4(double v) { m_a4 = v; }
    double a5() const { return m_a5; }
    void setA5(double v) { m_a5 = v; }
    double a6() const { return m_a6; }
    void setA6(double v) { m_a6 = v; }

    // Allowables as stored: tensile, compressive, shear, interaction terms. Fyt, Fxc and Fyc
    // read with a fallback (below); their stored values come from fytRaw, fxcRaw, fycRaw.
    double fxt() const { return m_fxt; }
    void setFxt(double v) { m_fxt = v; }
    double fytRaw() const { return m_fyt; }
    void setFyt(double v) { m_fyt = v; }
    double fzt() const { return m_fzt; }
    void setFzt(double v) { m_fzt = v; }
    double fxcRaw() const { return m_fxc; }
    void setFxc(double v) { m_fxc = v; }
    double fycRaw() const { return m_fyc; }
    void setFyc(double v) { m_fyc = v; }
    double fzc() const { return m_fzc; }
    void setFzc(double v) { m_fzc = v; }
    double fs12() const { return m_fs12; }
    void setFs12(double v) { m_fs12 = v; }
    double fs23() const { return m_fs23; }
    void setFs23(double v) { m_fs23 = v; }
    double fs31() const { return m_fs31; }
    void setFs31(double v) { m_fs31 = v; }
    double f12() const { return m_f12; }
    void setF12(double v) { m_f12 = v; }
    double f23() const { return m_f23; }
    void setF23(double v) { m_f23 = v; }
    double f31() const { return m_f31; }
    void setF31(double v) { m_f31 = v; }
    // Allowables with the fallback for a stored 0.0: Fyt reads fxt for dir 1
    // or 5; Fxc reads fxt for dir 4; Fyc reads fxc for dir 1 or 5 and fyt for
    // dir 4; every other case reads 0.0. A nonzero stored value is returned
    // unchanged.
    double fyt() const;
    double fxc() const;
    double fyc() const;

    // 1 when the allowables were given as strains and have been converted
    // (failure basis strain), else 0.
    int strnallow() const { return m_strnallow; }
    void setStrnallow(int flag) { m_strnallow = flag; }

    // Density, reference temperature, structural damping.
    double dens() const { return m_dens; }
    void setDens(double v) { m_dens = v; }
    double tref() const { return m_tref; }
    void setTref(double v) { m_tref = v; }
    double ge() const { return m_ge; }
    void setGe(double v) { m_ge = v; }

  private:
    int m_sttid;
    double m_strn;
    double m_thckmlt;
    CKpStr m_extmtrlnm;
    int m_extmtrlid;
    int m_dir;
    double m_ex, m_ey, m_ez, m_nuxy, m_nuyz, m_nuzx, m_gxy, m_gyz, m_gzx;
    double m_c14, m_c15, m_c16, m_c24, m_c25, m_c26, m_c34, m_c35, m_c36, m_c45, m_c46, m_c56;
    double m_alpx, m_alpy, m_alpz, m_a4, m_a5, m_a6;
    double m_fxt, m_fyt, m_fzt, m_fxc, m_fyc, m_fzc, m_fs12, m_fs23, m_fs31, m_f12, m_f23, m_f31;
    int m_strnallow;
    double m_dens, m_tref, m_ge;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATPROP_H
