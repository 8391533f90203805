#ifndef PLYSTRAND_LAYUPLIB_CKPLAM_H
#define PLYSTRAND_LAYUPLIB_CKPLAM_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekLam.h"

class CKpLamLyrStore;
class CKpLamStore;
class CKpLayup;

// CKpLam: a laminate, a solver-style composite property: an ordered stack
// of layers (bottom first) plus the offset of the stack from the reference
// surface and a few card options. Elements refer to a laminate by its id
// (their property id). The laminate store owns the laminate; the laminate
// owns its layer list.
//
// The offset z of the bottom of the stack is z0 when an offset is given,
// else minus half the total thickness (the stack centred on the surface).
class CKpLam : public IVekLam, public CVekObject {
  public:
    // A laminate with the given id: no store, empty name, no offset given
    // (z0_blank 1, z0 0.0), nsm, sb, tref, ge 0.0, failure theory 1,
    // option 1, an empty layer list (null only when it could not be
    // allocated), external id 0.
    explicit CKpLam(int id);
    // Deletes the layer list and its layers.
    ~CKpLam() override;

    CKpLam(const CKpLam&) = delete;
    CKpLam& operator=(const CKpLam&) = delete;

    // The store holding the laminate (set on insertion) and its model (null
    // without store or model).
    CKpLamStore* GetLamStore() const { return m_store; }
    void SetLamStore(CKpLamStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // The name ("" when unset); stored without a uniqueness check.
    const char* name() const { return m_name; }
    void name(const char* name) { m_name = name ? name : ""; }

    // 1 when no offset is given, else 0; setting stores 1 for any nonzero
    // argument.
    int z0_blank() const { return m_z0Blank; }
    void z0_blank(int flag) { m_z0Blank = flag ? 1 : 0; }
    // The offset z (see above); setting stores z0 and marks the offset given.
    double z0() const;
    void z0(double z) {
        m_z0 = z;
        m_z0Blank = 0;
    }

    // Non-structural mass, bond shear allowable (0 none), failure theory
    // code, reference temperature, damping coefficient.
    double nsm() const { return m_nsm; }
    void nsm(double v) { m_nsm = v; }
    double sb() const { return m_sb; }
    void sb(double v) { m_sb = v; }
    int ft() const { return m_ft; }
    void ft(int v) { m_ft = v; }
    double tref() const { return m_tref; }
    void tref(double v) { m_tref = v; }
    double ge() const { return m_ge; }
    void ge(double v) { m_ge = v; }
    // Laminate option: 2 means the stored layers are one half of a symmetric
    // stack.
    int lamopt() const { return m_lamopt; }
    void lamopt(int v) { m_lamopt = v; }

    // The layers, bottom first.
    CKpLamLyrStore* LamLyrs() const { return m_layers; }
    // Total thickness: the sum of the layer thicknesses (0.0 without layers).
    double t() const;

    // External id.
    int GetExtId() const { return m_extId; }
    void SetExtId(int id) { m_extId = id; }

  private:
    CKpLamStore* m_store;  // owner
    CKpStr m_name;
    int m_z0Blank;
    double m_z0;
    double m_nsm;
    double m_sb;
    int m_ft;
    double m_tref;
    double m_ge;
    int m_lamopt;
    CKpLamLyrStore* m_layers;  // owned
    int m_extId;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLAM_H
