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
// larger shear strains. Plies and laminate layers refer to materials by id.
// Angles are radians.
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
    // Deletes the further states and their list.
    ~CKpMat() override;

    CKpMat(const CKpMat&) = delete;
    CKpMat& operator=(const CKpMat&) = delete;

    // The store holding the material (null while outside a store); set by
    // the store's insert. GetLayup: the store's model, null without owner.
    CKpMatStore* GetMatStore() const { return m_store; }
    void SetMatStore(CKpMatStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // Id the material had before renumbering.
    int oldid() const { return m_oldid; }
    void setoldid(int id) { m_oldid = id; }

    // Material (drape) type, EVekMaterialType (the ply type codes).
    int lyrtp() const { return m_lyrtp; }

    // Material name ("" when unset). setMtrlnm stores it without checking
    // that the name is unique in the store.
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

  private:
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
