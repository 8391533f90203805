#ifndef PLYSTRAND_LAYUPLIB_CKPLAM_H
#define PLYSTRAND_LAYUPLIB_CKPLAM_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekLam.h"

class CKpLamLyrStore;
class CKpLamStore;
class CKpLayup;
class CKpMsg;
class IVekMaterial;

// CKpLam: a laminate, a solver-style composite property: an ordered stack
// of layers (bottom first) plus the offset of the stack from the reference
// surface and a few card options. Elements refer to a laminate by its id
// (their property id). The laminate store owns the laminate; the laminate
// owns its layer list.
//
// The offset z of the bottom of the stack is z0 when an offset is given,
// else minus half the total thickness (the stack centred on the surface).
// Layer positions are 1-based from the bottom; angles are radians;
// thicknesses and offsets in model length units.
class CKpLam : public IVekLam, public CVekObject {
  public:
    // A laminate with the given id: no store, empty name, no offset given
    // (z0_blank 1, z0 0.0), nsm, sb, tref, ge 0.0, failure theory 1,
    // option 1, an empty layer list (null only when it could not be
    // allocated), external id 0.
    explicit CKpLam(int id);
    // The same with the given name (null taken as "") and the given offset
    // z0 (z0_blank 0).
    CKpLam(int id, const char* name, double z0);
    // Deletes the layer list and its layers.
    ~CKpLam() override;

    CKpLam(const CKpLam&) = delete;
    CKpLam& operator=(const CKpLam&) = delete;

    // ---- IVekLam (see there) ----
    const char* GetName() override { return m_name; }
    double GetOffset() override { return z0(); }
    double GetOffsetAbaqus() override;
    int GetNumElements() override;
    int GetElementIds(int n, int* ids) override;
    IVekLamLayerStore* GetLamLayerStore() override;
    int SetName(const char* name) override;
    int SetOffset(double z) override;
    int SetElementIds(int n, const int* ids) override;

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
    // The number of layers (0 without a layer list).
    int NumLayers() const;
    // Total thickness: the sum of the layer thicknesses (0.0 without layers).
    double t() const;

    // External id.
    int GetExtId() const { return m_extId; }
    void SetExtId(int id) { m_extId = id; }

    // The trailing run of decimal digits of the name as a number ("ply12"
    // gives 12); 0 when the name does not end in a digit. A run too long for
    // an int gives INT_MAX.
    int GetIdFromName() const;

    // k when 1 <= k <= the layer count, else 0.
    int GetValidLayerID(int k) const;

    // Where the offset puts the element nodes, from r = z / t() (tolerance
    // 1e-6): top r = -1, bottom r = 0, mid r = -1/2. Without an offset the
    // nodes lie at mid (IsNodeMid true, the others false); with an offset and
    // a thickness of 0 at none of them.
    bool IsNodeTop() const;
    bool IsNodeMid() const;
    bool IsNodeBot() const;
    // Node position code: 0 without an offset; else 0 mid, 1 bottom, 2 top,
    // -1 anywhere else (tested in that order).
    int GetKeyopt11() const;

    // 1 when every layer carries its own positive global ply id (the number
    // of distinct positive ids reaches the layer count); 0 without layers or
    // when no layer carries a nonzero id (silently); otherwise 0 with the
    // warning "For lam '<name>', there are <n> layers but only <u> unique
    // positive gPlyIds. Therefore, gPlyIds will be ignored." to `log` (when
    // not null). -1 only when memory runs out.
    int GPlyIdsOK(CKpMsg* log) const;

    // Replaces the text of `str` by one line per field, each ended by "\n"
    // and labelled in ten characters: "id:       ", "name:     ",
    // "z0_blank: ", "z0:       " (the stored z0), "nsm:      ",
    // "sb:       ", "ft:       ", "tref:     ", "ge:       ",
    // "lamopt:   ", "extId:    ", "num lyrs: "; then one line per layer,
    // bottom first: global ply id, material id, thickness, angle, stress
    // output code and state index separated by single blanks. Numbers in
    // CKpStr's formats ("%d", "%G"). 0; -1 for a null `str`.
    int Write(CKpStr* str) const;

    // 0 when the stack is symmetric: for i = 1 .. count / 2 layer i from the
    // bottom and layer i from the top have the same material id, thicknesses
    // t1, t2 with |t1 - t2| <= (thickPct / 100) (t1 + t2) / 2, and angles
    // whose difference wrapped into [-pi/2, pi/2] does not exceed `angTol`
    // in magnitude. -1 at the first pair that fails. Fewer than two layers:
    // 0.
    int TestSymmetry(double angTol, double thickPct) const;

    // With option 2 (the layers are half of a symmetric stack) appends
    // copies of the layers in reverse order (material, thickness, angle,
    // stress output code, state, global ply id; no name), so that layers
    // 1 .. n become 1 .. n, n .. 1; the option stays 2. Any other option:
    // nothing. 0; -1 when memory runs out (the stack is left as it was).
    int CreateTotalLayup();

    // The summed thickness of the layers at `angle` within `tol`
    // (CKpLamLyr::GetThickAtAngle); GetOuterThickAtAngle counts only the
    // first layer and, when it is another one, the last.
    double GetThickAtAngle(double angle, double tol) const;
    double GetOuterThickAtAngle(double angle, double tol) const;

    // Groups consecutive layers (bottom to top) of exactly equal nominal
    // angle (CKpLamLyr::GetNominalAngle(ref, n)). `count` receives the
    // largest number of layers in one group and `thickness` the largest
    // summed thickness of one group (both 0 without layers). 0.
    int GetMaxAdjacent(double ref, int n, int& count, double& thickness) const;

    // The position of the first layer whose global ply id is `gplyId`; 0
    // when none.
    int GetGPlyLayerID(int gplyId) const;

    // Layer `k`: its material (GetMaterial, may be null), its bottom (the
    // offset z plus the thicknesses of layers 1 .. k-1), its top (bottom
    // plus its thickness) and its angle. 0; -1 when k is outside
    // 1 .. layer count (nothing written).
    int GetLayerMaterialOffsetsRotation(int k, IVekMaterial*& mat, double& bottom, double& top,
                                        double& angle);

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
