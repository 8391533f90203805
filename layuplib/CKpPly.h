#ifndef PLYSTRAND_LAYUPLIB_CKPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPPLY_H

#include "layuplib/CKpEventStore.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekList.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekPly.h"

class CKpField;
class CKpLayup;
class CKpMat;
class CKpPat;
class CKpPlyStore;
class CKpSet;

// CKpPly: one piece of fabric of one material laid over a region of the
// shell mesh: its identity (id, name, type), its material, its pattern (the
// drape definition and the result of its last simulation, owned by the
// pattern store), the events recorded on it, and one ply element per element
// it covers. The ply store owns the ply; through the store the ply reaches
// the model (message log, mesh, material and pattern stores, drape
// workspace, exports). The IVekPly operations are documented there.
//
// Simulate runs the ply simulation driver (PlySimulate.h). The seed-curve
// operations read and fill the pattern's two curve lists; with coordinates,
// an edge's ends are its first and last node along the arranged curve, or
// the corners of the element side before the curve has been arranged.
//
// The exports write the draped and flat pattern files (gen_flat_pat_igs.h,
// gen_flat_pat_dxf.h) and the laser projector data (ExportLaserLayup.h) of
// the ply's drape, simulating the ply first when it is not the one last
// simulated; when the simulation did not reach the model's drape workspace
// they return 2 after the error "No drape simulation exists for ply '%s'."
// and write nothing. The 3D VFP export returns the result of CKpVFP::Write.
//
// The plots draw through the plot routines (host/PlotRoutines.h). Outline,
// draped and flat pattern simulate the ply first when the drape workspace
// holds another ply, and give 2 after "No drape simulation exists for ply
// '%s'." when it still does not hold this one; otherwise the routine's
// result. PlotBoundary traces the ply's region (2 when that fails) and
// draws it (3 when that fails).
class CKpPly : public IVekPly, public CVekObject {
  public:
    // A ply with the given id: no store, empty name, type 0, no material or
    // pattern (ids 0), no instances, no ply elements, no events.
    explicit CKpPly(int id);
    // A ply with id, name, type, material and pattern (neither owned), both
    // linked, then its ply elements built (UpdatePlyElems).
    CKpPly(int id, const char* name, int type, CKpMat* mat, CKpPat* pat);
    // Deletes the ply elements and the events; the material and the pattern
    // belong to their stores.
    ~CKpPly() override;

    CKpPly(const CKpPly&) = delete;
    CKpPly& operator=(const CKpPly&) = delete;

    // ---- IVekPly, in slot order
    const char* GetName() override;
    EVekMaterialType GetType() override;
    const char* GetMaterialName() override;
    int GetNumElements() override;
    int GetElementIdsOrders(int n, int* ids, int* orders) override;
    int GetNumOrders() override;
    int GetPossibleSeedPointByOriginDirection(const double* origin, const double* direction,
                                              double* point) override;
    int GetPossibleSeedPointByDirectionNormal(const double* direction, double* point) override;
    int GetSeedPoint(double* xyz) override;
    int GetCoordOriginName(double* xyz, char* name, int size) override;
    int GetApplicationDirection(double* xyz) override;
    int GetReferenceDirection(double* xyz) override;
    double GetReferenceAngle() override;
    int GetProjectionMethod() override;
    double GetWarpWeftAngle() override;
    double GetWarpWeftRatio() override;
    double GetMaximumStrain() override;
    double GetStepLength() override;
    int GetSeedCurveType() override;
    EVekPlySeedCurveDirection GetSeedCurveDirection() override;
    double GetSeedCurveAngle() override;
    const char* GetSeedCurveDirectionAngle() override;
    int GetNumSeedCurveEdges(int i) override;
    int GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds, double* coords) override;
    int GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds) override;
    int GetExtensionType() override;
    int GetInadmissibleMode() override;
    double GetInadmissibleTolerance() override;
    int GetNumSplitEdges() override;
    int GetSplitEdges(int n, int* elemIds, int* edgeIds, int* flags) override;
    int GetBounds(double* warp2, double* weft2) override;
    int GetSimulationResult() override;
    int GetSimulationStrains(double* two) override;
    int GetSimulationThicknesses(double* two) override;
    IVekEventStore* GetEventStore() override;
    int SetName(const char* name) override;
    int SetType(EVekMaterialType type) override;
    int SetMaterialName(const char* name) override;
    int ClearElementIdsOrders() override;
    int SetElementIdsOrders(int n, const int* ids, const int* orders) override;
    int SetSeedPoint(const double* xyz) override;
    int SetCoordOriginName(const double* xyz, const char* name) override;
    int SetApplicationDirection(const double* xyz) override;
    int SetReferenceDirection(const double* xyz) override;
    int SetReferenceAngle(double angle) override;
    int SetProjectionMethod(int method) override;
    int SetWarpWeftAngle(double angle) override;
    int SetWarpWeftRatio(double ratio) override;
    int SetMaximumStrain(double strain) override;
    int SetStepLength(double step) override;
    int SetSeedCurveType(int type) override;
    int SetSeedCurveDirection(EVekPlySeedCurveDirection direction) override;
    int SetSeedCurveAngle(double angle) override;
    int SetSeedCurveDirectionAngle(const char* text) override;
    int SetSeedCurveEdges(int i, int n, const int* elemIds, const int* edgeIds) override;
    int SetExtensionType(int type) override;
    int SetInadmissibleOptions(int mode, double tolerance) override;
    int SetSplitEdges(int n, const int* elemIds, const int* edgeIds, const int* flags) override;
    int SetBounds(const double* warp2, const double* weft2) override;
    int AddEvent(int type) override;
    int Simulate() override;
    int GetBoundarySizes(int* contours, int* points) override;
    int GetBoundary(int contours, int points, int* pointCounts, double* xyz, int* nodeIds) override;
    int GetHolesSizes(int* count) override;
    int GetHoles(int count, int* elemIds) override;
    int GetOrientations(VekTList<int>& ids, VekTList<double>& mids, VekTList<double>& warps,
                        VekTList<double>& wefts, VekTList<double>& sizes) override;
    int GetDrapedPatternSizes(int mode, int* count) override;
    int GetDrapedPattern(int mode, int size, int* minusI, int* plusI, int* minusJ, int* plusJ,
                         int* elemIds, double* xyz, double* shear) override;
    int GetFlatPatternSizes(int* rings, int* points) override;
    int GetFlatPattern(int rings, int size, int* counts, double* xyz, double* origin,
                       double* axes) override;
    int Get3DFrom2D(const double* uv, double* xyz, int* elemId) override;
    int Get2DFrom3D(const double* xyz, double tolerance, double* uv) override;
    int Export3dDXF(const char* file, const char* layer, int flag) override;
    int Export3dIGES(const char* file, int flag) override;
    int Export3dVFP(const char* file, const char* name, int flag) override;
    int Export3dLaser(int kind, const char* file, int flag) override;
    int Export2dDXF(const char* file, const char* layer, const char* style, int flag) override;
    int Export2dIGES(const char* file, int flag) override;
    int Export2dVirtek(const char* file, int flag) override;
    int PlotAngles() override;
    int PlotBoundary() override;
    int PlotOutline() override;
    int PlotDrapedPattern(int mode) override;
    int PlotFlatPattern() override;

    // ---- class operations

    // The owning store (set when the store inserts the ply) and its model
    // (null without store or model).
    CKpPlyStore* GetPlyStore() const { return m_store; }
    void SetPlyStore(CKpPlyStore* store) { m_store = store; }
    CKpLayup* GetLayup() const;

    // The name ("" when unset); setname stores it as given (no check of
    // uniqueness, the pattern's name is not touched).
    const char* name() const { return m_name; }
    void setname(const char* name) { m_name = name ? name : ""; }

    // Ply type (EVekMaterialType): 1 painted, 2 projected, 3 draped
    // ("Scissor"), 4 draped with warp and weft held at 90 degrees ("Slide").
    int lyrtp() const { return m_type; }
    void setLyrtp(int type) { m_type = type; }
    // The type as text into text[size] (at most size - 1 characters,
    // terminated): "Paint", "Project", "Scissor", "Slide", else "Unknown".
    // 0; -1 for a null text or size < 1 (nothing written).
    int lyrtp(char* text, int size) const;

    // Material and pattern: the linked objects (not owned, null when not
    // linked) and their ids (read from the linked object, else the stored
    // id). setMat and setPat link the object and copy its id (a null object
    // unlinks and keeps the stored id).
    CKpMat* pMat() const { return m_mat; }
    CKpPat* pPat() const { return m_pat; }
    void setMat(CKpMat* mat);
    void setPat(CKpPat* pat);
    int mtrlid() const;
    int pttrnid() const;
    void setMtrlid(int id) { m_mtrlid = id; }
    void setPttrnid(int id) { m_pttrnid = id; }

    // The pattern's start-direction flag (+1 or -1; 0 without pattern).
    int stdn() const;
    // The material's nominal thickness (0.0 without material).
    double lyrthck() const;

    // Number of layup plies made from this ply.
    int instances() const { return m_instances; }
    void setInstances(int n) { m_instances = n; }

    // One ply element per pattern element, in the pattern's element order;
    // owned by the ply.
    CVekList<CKpPlyElem>& PlyElems() { return m_plyElems; }
    const CVekList<CKpPlyElem>& PlyElems() const { return m_plyElems; }

    // The events recorded on the ply.
    CKpEventStore& Events() { return m_events; }

    // Sets name, type, material and pattern, links both and rebuilds the ply
    // elements. 0; -1 when a ply element cannot be allocated.
    int ModifyAndUpdate(const char* name, int type, CKpMat* mat, CKpPat* pat);

    // Simulates the ply: -1 without store or model (no message); the
    // information "Simulating ply '<name>'"; -1 after an error when the ply
    // has no material or no pattern; else the result of the ply simulation
    // driver with `flag` (1: update the ply from the result; 0: leave the
    // result in the drape workspace only).
    int Simulate(int flag);

    // A painted ply (type 1) becomes projected: its pattern is converted
    // first, then the type becomes 2 and the information "Ply '<name>' has
    // been converted from 'Painted' to 'Projected' type." is logged (when a
    // model is reachable). 0; 1 for a ply of another type; 2 when there is
    // no pattern or the pattern refuses (the ply stays painted).
    int ConvertPaintedToProjected();

    // Deletes every ply element and appends one per pattern element, in the
    // pattern's element order. 0; -1 when an allocation fails (the ply
    // elements made so far stay). When the ply is placed in the model's
    // layup, the layup is placed again (CKpLayup::LayupRecreate), since the
    // element stacks pointed at the old ply elements.
    int UpdatePlyElems();
    // Brings the ply up to date with its pattern after a simulation changed
    // the pattern elements: UpdatePlyElems.
    int UpdateSimulation();

    // prefix + "_" + ply name + "_Thickness" (or "_Rotation") into `out`.
    void GetThicknessFieldName(const char* prefix, CKpStr& out) const;
    void GetRotationFieldName(const char* prefix, CKpStr& out) const;
    // For each ply element whose element is selected, one value keyed by the
    // element id is put into each field (an existing value of that id is
    // replaced): the thickness (mtrlthck when useNominal is non-zero, else
    // thck) and the rotation (rotn minus the element's orientation angle
    // theta, wrapped into (-pi, pi]). A null field is skipped. 0; -1 when a
    // value cannot be stored.
    int GetThicknessesAndRotations(int useNominal, CKpField* thicknessField,
                                   CKpField* rotationField);
    // Over the ply elements whose element is selected: their common GetSide
    // (+1 or -1); 0 when they differ or none is selected.
    int GetSideOfSelectedElems() const;
    // Empties `set` and adds the ids of the ply's selected elements. 0; -1
    // for a null set or when an id cannot be stored.
    int SetSelectedElemIds(CKpSet* set) const;

  private:
    // Makes the model's current drape belong to this ply (simulating with
    // flag 0 when the workspace holds another ply; the result is ignored).
    // The model, or null when the ply has no store or model.
    CKpLayup* MakeDrapeCurrent();
    // MakeDrapeCurrent, then the model when the workspace holds this ply;
    // else null with *status 1 (no model) or 2 (after its error).
    CKpLayup* SimulatedModel(int* status);
    // Whether a layup ply of `model` places this ply.
    bool IsInLayup(CKpLayup* model) const;

    CKpPlyStore* m_store;  // owner; the way to the model
    CKpStr m_name;
    int m_type;
    int m_mtrlid;
    CKpMat* m_mat;  // not owned
    int m_pttrnid;
    CKpPat* m_pat;  // owned by the pattern store
    int m_instances;
    CVekList<CKpPlyElem> m_plyElems;  // owned items
    CKpEventStore m_events;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLY_H
