#ifndef PLYSTRAND_LAYUPLIB_CKPMATPROP_H
#define PLYSTRAND_LAYUPLIB_CKPMATPROP_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekListItem.h"
#include "layuplib/IVekMaterialState.h"

class CKpMsg;

// CKpMatProp: one state of a material: the engineering constants (elastic,
// thermal, failure allowables, density) that apply at one fabric shear
// strain. A material is itself its base state (id 0, key 0.0); further
// states lie in the material's list of states, linked through the list item
// base. All values are stored as given, in the solver's component order
// (xx, yy, zz, xy, yz, zx).
//
// Directionality `dir` (EVekMaterialTropy) says how the elastic values are
// read: 1 isotropic (ex, nuxy; shear modulus ex / (2 (1 + nuxy))), 2
// orthotropic 3D (ex .. gzx), 3 anisotropic 3D (the symmetric 6x6 stiffness:
// diagonal ex ey ez gxy gyz gzx, D12 nuxy, D23 nuyz, D13 nuzx, D14..D56 the c
// fields), 4 orthotropic 2D (ex ey nuxy gxy, transverse shear gyz gzx), 5
// anisotropic 2D (the in-plane stiffness Q: Q11 ex, Q12 nuxy, Q13 c14, Q22 ey,
// Q23 c24, Q33 gxy; transverse shear gyz gzx).
//
// Wherever the 39 constants are passed as a list they come in field order:
// ex ey ez nuxy nuyz nuzx gxy gyz gzx, c14 c15 c16 c24 c25 c26 c34 c35 c36
// c45 c46 c56, alpx alpy alpz a4 a5 a6, fxt fyt fzt fxc fyc fzc fs12 fs23
// fs31 f12 f23 f31.
//
// Allowables are stored as stresses. Strain allowables (Xt, Xc, Yt, Yc, S12,
// S23, S31) exist for directionalities 1, 4 and 5 only.
class CKpMatProp : public IVekMaterialState, public CVekListItem {
  public:
    // A default state: id 0, key 0.0, thickness multiplier 1.0, no external
    // name, external id 0, dir 0, every constant 0.0, strnallow 0.
    CKpMatProp();
    // A state with every value given (the 39 constants in field order, see
    // above); strnallow 0. A null name stores "".
    CKpMatProp(int sttid, double strn, double thckmlt, const char* extName, int extId, int tropy,
               double ex, double ey, double ez, double nuxy, double nuyz, double nuzx, double gxy,
               double gyz, double gzx, double c14, double c15, double c16, double c24, double c25,
               double c26, double c34, double c35, double c36, double c45, double c46, double c56,
               double alpx, double alpy, double alpz, double a4, double a5, double a6, double fxt,
               double fyt, double fzt, double fxc, double fyc, double fzc, double fs12, double fs23,
               double fs31, double f12, double f23, double f31, double dens, double tref,
               double ge);
    // Copies every value, the strain flag included; the copy lies in no list.
    CKpMatProp(const CKpMatProp& other);
    CKpMatProp& operator=(const CKpMatProp&) = delete;
    ~CKpMatProp() override;

    // ---- IVekMaterialElastic: the fields of the same names
    double GetEx() override { return m_ex; }
    double GetEy() override { return m_ey; }
    double GetEz() override { return m_ez; }
    double GetNuxy() override { return m_nuxy; }
    double GetNuyz() override { return m_nuyz; }
    double GetNuzx() override { return m_nuzx; }
    double GetGxy() override { return m_gxy; }
    double GetGyz() override { return m_gyz; }
    double GetGzx() override { return m_gzx; }
    double GetC14() override { return m_c14; }
    double GetC15() override { return m_c15; }
    double GetC16() override { return m_c16; }
    double GetC24() override { return m_c24; }
    double GetC25() override { return m_c25; }
    double GetC26() override { return m_c26; }
    double GetC34() override { return m_c34; }
    double GetC35() override { return m_c35; }
    double GetC36() override { return m_c36; }
    double GetC45() override { return m_c45; }
    double GetC46() override { return m_c46; }
    double GetC56() override { return m_c56; }
    void SetEx(double v) override { m_ex = v; }
    void SetEy(double v) override { m_ey = v; }
    void SetEz(double v) override { m_ez = v; }
    void SetNuxy(double v) override { m_nuxy = v; }
    void SetNuyz(double v) override { m_nuyz = v; }
    void SetNuzx(double v) override { m_nuzx = v; }
    void SetGxy(double v) override { m_gxy = v; }
    void SetGyz(double v) override { m_gyz = v; }
    void SetGzx(double v) override { m_gzx = v; }
    void SetC14(double v) override { m_c14 = v; }
    void SetC15(double v) override { m_c15 = v; }
    void SetC16(double v) override { m_c16 = v; }
    void SetC24(double v) override { m_c24 = v; }
    void SetC25(double v) override { m_c25 = v; }
    void SetC26(double v) override { m_c26 = v; }
    void SetC34(double v) override { m_c34 = v; }
    void SetC35(double v) override { m_c35 = v; }
    void SetC36(double v) override { m_c36 = v; }
    void SetC45(double v) override { m_c45 = v; }
    void SetC46(double v) override { m_c46 = v; }
    void SetC56(double v) override { m_c56 = v; }

    // ---- IVekMaterialThermal
    double GetAlpx() override { return m_alpx; }
    double GetAlpy() override { return m_alpy; }
    double GetAlpz() override { return m_alpz; }
    double GetA4() override { return m_a4; }
    double GetA5() override { return m_a5; }
    double GetA6() override { return m_a6; }
    void SetAlpx(double v) override { m_alpx = v; }
    void SetAlpy(double v) override { m_alpy = v; }
    void SetAlpz(double v) override { m_alpz = v; }
    void SetA4(double v) override { m_a4 = v; }
    void SetA5(double v) override { m_a5 = v; }
    void SetA6(double v) override { m_a6 = v; }

    // ---- IVekMaterialFailure (see there); GetFyt, GetFxc, GetFyc read with
    // the fallback of fyt, fxc, fyc.
    EVekMaterialFailureBasis GetBasis() override;
    double GetFxt() override { return m_fxt; }
    double GetFyt() override { return fyt(); }
    double GetFzt() override { return m_fzt; }
    double GetFxc() override { return fxc(); }
    double GetFyc() override { return fyc(); }
    double GetFzc() override { return m_fzc; }
    double GetFs12() override { return m_fs12; }
    double GetFs23() override { return m_fs23; }
    double GetFs31() override { return m_fs31; }
    double GetF12() override { return m_f12; }
    double GetF23() override { return m_f23; }
    double GetF31() override { return m_f31; }
    int GetAllowableByLabel(EVekMaterialFailureBasis basis, const char* label,
                            double* value) override;
    void SetBasis(EVekMaterialFailureBasis basis) override;
    void SetFxt(double v) override { m_fxt = v; }
    void SetFyt(double v) override { m_fyt = v; }
    void SetFzt(double v) override { m_fzt = v; }
    void SetFxc(double v) override { m_fxc = v; }
    void SetFyc(double v) override { m_fyc = v; }
    void SetFzc(double v) override { m_fzc = v; }
    void SetFs12(double v) override { m_fs12 = v; }
    void SetFs23(double v) override { m_fs23 = v; }
    void SetFs31(double v) override { m_fs31 = v; }
    void SetF12(double v) override { m_f12 = v; }
    void SetF23(double v) override { m_f23 = v; }
    void SetF31(double v) override { m_f31 = v; }

    // ---- IVekMaterialState
    double GetState() override { return m_strn; }
    EVekMaterialTropy GetTropy() override { return static_cast<EVekMaterialTropy>(m_dir); }
    const char* GetExternalName() override { return m_extmtrlnm; }
    int GetExternalId() override { return m_extmtrlid; }
    double GetDensity() override { return m_dens; }
    double GetTref() override { return m_tref; }
    double GetGe() override { return m_ge; }
    void SetTropy(EVekMaterialTropy tropy) override { m_dir = tropy; }
    void SetExternalName(const char* name) override { setExtmtrlnm(name); }
    void SetExternalId(int id) override { m_extmtrlid = id; }
    void SetDensity(double v) override { m_dens = v; }
    void SetTref(double v) override { m_tref = v; }
    void SetGe(double v) override { m_ge = v; }

    // ---- plain accessors
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

    // Elastic constants (meaning by `dir`, see above).
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

    // Allowables as stored: tensile, compressive, shear, interaction terms.
    // Fyt, Fxc and Fyc read with a fallback (below); their stored values come
    // from fytRaw, fxcRaw, fycRaw.
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

    // ---- grouped setters, three values each in the order of their names
    // (x/y/z, or 12/23/31); setFcFt sets fxt, fxc and fs12. Each returns 0.
    int setE(double ex, double ey, double ez);
    int setNu(double nuxy, double nuyz, double nuzx);
    int setG(double gxy, double gyz, double gzx);
    int setC1(double c14, double c15, double c16);
    int setC2(double c24, double c25, double c26);
    int setC3(double c34, double c35, double c36);
    int setC4(double c45, double c46, double c56);
    int setAlp(double alpx, double alpy, double alpz);
    int setA456(double a4, double a5, double a6);
    int setFt(double fxt, double fyt, double fzt);
    int setFc(double fxc, double fyc, double fzc);
    int setFs(double fs12, double fs23, double fs31);
    int setF123(double f12, double f23, double f31);
    int setPhys(double dens, double tref, double ge);
    int setFcFt(double fxt, double fxc, double fs12);

    // Overwrites the external name (null stores ""), external id, dir, the 39
    // constants (field order) and dens, tref, ge. Id, key, thickness
    // multiplier and the strain flag stay. 0.
    int setMatPropVal(const char* extName, int extId, int tropy, double ex, double ey, double ez,
                      double nuxy, double nuyz, double nuzx, double gxy, double gyz, double gzx,
                      double c14, double c15, double c16, double c24, double c25, double c26,
                      double c34, double c35, double c36, double c45, double c46, double c56,
                      double alpx, double alpy, double alpz, double a4, double a5, double a6,
                      double fxt, double fyt, double fzt, double fxc, double fyc, double fzc,
                      double fs12, double fs23, double fs31, double f12, double f23, double f31,
                      double dens, double tref, double ge);

    // ---- operations
    // Sets `dir` from which constants are nonzero, first hit wins: any of c15
    // c16 c25 c26 c34 c35 c36 c45 c46 c56 gives 3; any of ez nuyz nuzx 2; c14
    // or c24 5; any of ey gyz gzx 4; otherwise 1. 0.
    int SetDirAuto();

    // Declares the stored allowables to be strains and converts them to
    // stresses, once: the first call raises `strnallow` whatever its outcome,
    // later calls return 0 at once.
    //   dir 1: fxt fxc fyt fyc times ex; fs12 fs23 fs31 times the shear
    //     modulus ex / (2 (1 + nuxy)).
    //   dir 4: fxt fxc times ex, fyt fyc times ey, fs12 times gxy, fs23 times
    //     gyz, fs31 times gzx.
    //   dir 5: fxt fxc divided by S11, fyt fyc by S22, fs12 by S33 (S the
    //     inverse of the in-plane stiffness Q), fs23 times gyz, fs31 times
    //     gzx, so that GetAllowStrain gives back the strains given.
    // fzt, fzc and the interaction terms are never converted. 0 done; 1 for
    // another dir, or dir 5 with a Q that cannot be inverted or a diagonal
    // compliance term of 0 (values left unconverted).
    int SetAllowStrain();

    // Writes the strain allowables into `out` (8 floats): Xt, Xc, Yt, Yc,
    // S12, S23, S31, F12 (Xc, Yt, Yc from the fallback stress values; F12 is
    // f12 unconverted).
    //   dir 1: direct values / ex, shear values times 2 (nuxy + 1) / ex;
    //   dir 4: X / ex, Y / ey, S12 = fs12 / gxy;
    //   dir 5: X times S11, Y times S22, S12 = S33 fs12 (S = Q^-1);
    //   dir 4, 5: S23 = fs23 / gyz and S31 = fs31 / gzx.
    // A division by a modulus <= 0 gives 0 for that entry. Results: 0 done;
    // 1 dir 5 with a Q that cannot be inverted; 2 for another dir, logged as
    // "Unsupported material directionality: %d" (error) when `log` is given,
    // or a null `out`. Nothing is written unless 0 is returned.
    int GetAllowStrain(CKpMsg* log, float out[8]) const;
    // One entry of GetAllowStrain (no log); 0.0 when it fails.
    double fxtStrain() const;
    double fytStrain() const;
    double fxcStrain() const;
    double fycStrain() const;
    double fs12Strain() const;
    double fs23Strain() const;
    double fs31Strain() const;

    // The in-plane compliance of a dir 5 state: the inverse of Q into `out`
    // (row-major). 0 done; 1 for another dir; 2 when Q cannot be inverted or
    // `out` is null (nothing written then).
    int GetFlexMatrix(double out[3][3]) const;

    // Strains from stresses (6 floats each, order x y z xy yz zx; `stress`
    // read, `strain` written; arithmetic in double):
    //   dir 1: e_x = (s_x - nu s_y - nu s_z) / E and cyclically; each shear
    //     strain = shear stress times 2 (nu + 1) / E.
    //   dir 4: e_x = (s_x - nu s_y) / ex, e_y = s_y / ey - nu s_x / ex,
    //     g_xy = t_xy / gxy, g_yz = t_yz / gyz, g_zx = t_zx / gzx.
    //   dir 5: (e_x, e_y, g_xy) = Q^-1 (s_x, s_y, t_xy), g_yz and g_zx as 4.
    //   dir 4, 5: plane stress: e_z = 0 and s_z is not read.
    // A division by a modulus <= 0 gives a strain term of 0. Results: 0 done;
    // -1 when Q of a dir 5 state cannot be inverted (logged as "Error
    // inverting matrix:" with Q), for another dir (logged as "Unsupported
    // material directionality: %d"), or for a null array; the log may be
    // null. Nothing is written unless 0 is returned.
    int Stress2Strain(CKpMsg* log, const float stress[6], float strain[6]) const;

    // Makes F12 dimensionless: f12 times R = sqrt(Fxc Fxt Fyt Fyc) (the
    // getters, with fallbacks). 0; 1 with f12 unchanged when the product is
    // not positive (R would be 0 or not real).
    int SetF12Dimensionless();

  private:
    // The in-plane stiffness Q of a dir 5 state (row-major).
    void inPlaneStiffness(double q[3][3]) const;

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
