#ifndef PLYSTRAND_LAYUPLIB_CKPMAT_H
#define PLYSTRAND_LAYUPLIB_CKPMAT_H

#include "layuplib/CKpMatProp.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekMaterial.h"
#include "layuplib/IVekMaterialStateStore.h"

class CKpLayup;
class CKpMatPropStore;
class CKpMatStore;

// CKpMat: one material: the fabric or tape from which plies are cut. It
// holds the drape type, the nominal thickness, the warp-weft angle, the
// largest accepted shear strain, the coefficients of thickness growth with
// shear, and its states: the material is itself its base state (the
// CKpMatProp base, id 0, key 0.0) and owns a list of further states for
// larger shear strains, in the order they were added (never sorted). Plies
// and laminate layers refer to materials by id. Angles are radians.
//
// Messages go to the log of the model reached through the owning store; a
// material outside a store, or in a store without model, logs nothing.
class CKpMat : public IVekMaterial,
               public IVekMaterialStateStore,
               public CVekObject,
               public CKpMatProp {
  public:
    // A material with the given id and every default: no store, oldid 0,
    // type 0, empty name, thickness, warp-weft angle, maximum strain and the
    // six coefficients 0.0, the base state at its defaults and an empty list
    // of further states (null only when it could not be allocated).
    explicit CKpMat(int id);
    // A material with every value given: the base state is built with key 0,
    // multiplier 1.0 and the state values (the 39 constants in field order,
    // see CKpMatProp), then the name is stored (unchecked), then the type
    // through setLyrtp (painted becomes projected).
    CKpMat(int id, int type, const char* name, double thickness, double warpWeftAngle,
           double maxStrain, const char* extName, int extId, int tropy, double ex, double ey,
           double ez, double nuxy, double nuyz, double nuzx, double gxy, double gyz, double gzx,
           double c14, double c15, double c16, double c24, double c25, double c26, double c34,
           double c35, double c36, double c45, double c46, double c56, double alpx, double alpy,
           double alpz, double a4, double a5, double a6, double fxt, double fyt, double fzt,
           double fxc, double fyc, double fzc, double fs12, double fs23, double fs31, double f12,
           double f23, double f31, double dens, double tref, double ge, double a1, double a2,
           double a3, double b1, double b2, double b3);
    // Copies the id, its own values, the base state and every further state
    // (in order); no store.
    CKpMat(const CKpMat& other);
    CKpMat& operator=(const CKpMat&) = delete;
    // Deletes the further states and their list.
    ~CKpMat() override;

    // ---- IVekMaterial (see there)
    const char* GetName() override { return m_mtrlnm; }
    EVekMaterialType GetType() override { return static_cast<EVekMaterialType>(m_lyrtp); }
    double GetThickness() override { return m_mtrlthck; }
    double GetWarpWeftAngle() override { return m_wpwtang; }
    double GetMaximumStrain() override { return m_maxstrn; }
    int SetName(const char* name) override;
    void SetType(EVekMaterialType type) override { setLyrtp(type); }
    void SetThickness(double thickness) override { m_mtrlthck = thickness; }
    void SetWarpWeftAngle(double angle) override { m_wpwtang = angle; }
    void SetMaximumStrain(double strain) override { m_maxstrn = strain; }
    IVekMaterialStateStore* GetMaterialStateStore() override { return this; }

    // ---- IVekMaterialStateStore (see there); the states are CKpMatProp, the
    // base state being the material itself.
    int Clear() override;
    CKpMatProp* Add(double strain) override;
    int Count() override;
    CKpMatProp* Get(int index) override;

    // Overwrites the material: type through setLyrtp, name (unchecked
    // against other materials), thickness, warp-weft angle, maximum strain,
    // the base state's values (CKpMatProp::setMatPropVal: external name and
    // id, dir, the 39 constants in field order, dens, tref, ge) and the six
    // thickness coefficients. Further states stay. 0.
    int setMatVal(int type, const char* name, double thickness, double warpWeftAngle,
                  double maxStrain, const char* extName, int extId, int tropy, double ex, double ey,
                  double ez, double nuxy, double nuyz, double nuzx, double gxy, double gyz,
                  double gzx, double c14, double c15, double c16, double c24, double c25,
                  double c26, double c34, double c35, double c36, double c45, double c46,
                  double c56, double alpx, double alpy, double alpz, double a4, double a5,
                  double a6, double fxt, double fyt, double fzt, double fxc, double fyc, double fzc,
                  double fs12, double fs23, double fs31, double f12, double f23, double f31,
                  double dens, double tref, double ge, double a1, double a2, double a3, double b1,
                  double b2, double b3);

    // The store holding the material (null while outside a store); set by
    // the store's insert. GetLayup: the store's model, null without owner.
    CKpMatStore* GetMatStore() const { return m_store; }
    void SetMatStore(CKpMatStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // Id the material had before renumbering.
    int oldid() const { return m_oldid; }
    void setoldid(int id) { m_oldid = id; }

    // Material (drape) type, EVekMaterialType (the ply type codes). setLyrtp
    // stores painted (1) as projected (2) and then logs the information
    // "Material '%s' has been converted from 'Painted' to 'Projected' type."
    // when a model is reachable; other codes are stored unchanged.
    int lyrtp() const { return m_lyrtp; }
    void setLyrtp(int type);

    // Material name ("" when unset). setMtrlnm stores it without checking
    // that the name is unique in the store (null stores "").
    const char* mtrlnm() const { return m_mtrlnm; }
    void setMtrlnm(const char* name) { m_mtrlnm = name ? name : ""; }

    // Nominal (undeformed) thickness, warp-weft angle (radians), maximum
    // shear strain.
    double mtrlthck() const { return m_mtrlthck; }
    void setMtrlthck(double t) { m_mtrlthck = t; }
    double wpwtang() const { return m_wpwtang; }
    void setWpwtang(double a) { m_wpwtang = a; }
    double maxstrn() const { return m_maxstrn; }
    void setMaxstrn(double s) { m_maxstrn = s; }

    // The two cubic factors of thickness against shear angle x:
    // (1 + a1 x + a2 x^2 + a3 x^3) and (1 + b1 x + b2 x^2 + b3 x^3).
    double a1() const { return m_a1; }
    double a2() const { return m_a2; }
    double a3() const { return m_a3; }
    double b1() const { return m_b1; }
    double b2() const { return m_b2; }
    double b3() const { return m_b3; }
    void setA(double a1, double a2, double a3) {
        m_a1 = a1;
        m_a2 = a2;
        m_a3 = a3;
    }
    void setB(double b1, double b2, double b3) {
        m_b1 = b1;
        m_b2 = b2;
        m_b3 = b3;
    }

    // The further states in the order they were added (the base state is not
    // in it); owned by the material. Null only when it could not be
    // allocated.
    CKpMatPropStore* MatStates() const { return m_states; }

    // External name of state `sttid`: 0 the base state's, otherwise that of
    // the further state with this state id; "" when none matches.
    const char* extmtrlnmStt(int sttid) const;

    // SetDirAuto on every further state (not the base state). 0.
    int SetDirAutoStates();

    // 1 when the type is not painted; otherwise stores projected, logs the
    // conversion message of setLyrtp when a model is reachable and gives 0.
    int ConvertPaintedToProjected();

    // Colour index 1..15 from the id: ((id - 1) mod 15) + 1 with a
    // non-negative remainder (id 16 gives 1, id 0 gives 15).
    int color() const;

  private:
    // Logs the painted-to-projected information when a model is reachable.
    void logPaintedConverted() const;

    CKpMatStore* m_store;  // owner; null outside a store
    int m_oldid;
    int m_lyrtp;
    CKpStr m_mtrlnm;
    double m_mtrlthck;
    double m_wpwtang;
    double m_maxstrn;
    double m_a1, m_a2, m_a3;
    double m_b1, m_b2, m_b3;
    CKpMatPropStore* m_states;  // owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMAT_H
