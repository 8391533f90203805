#ifndef PLYSTRAND_LAYUPLIB_IVEKPLY_H
#define PLYSTRAND_LAYUPLIB_IVEKPLY_H

#include "layuplib/IVekEventStore.h"
#include "layuplib/IVekMaterial.h"

template <class T>
class VekTList;

// Seed-curve direction of a ply. The pattern keeps it as a word: "Calc",
// "Warp", "Bias", "Weft", "Bias2"; any other text is an explicit angle in
// degrees (EVekPlySeedCurveAngle).
enum EVekPlySeedCurveDirection : int {
    EVekPlySeedCurveCalc = 0,
    EVekPlySeedCurveWarp = 1,
    EVekPlySeedCurveBias = 2,
    EVekPlySeedCurveWeft = 3,
    EVekPlySeedCurveBias2 = 4,
    EVekPlySeedCurveAngle = 5
};

// IVekPly: what outside clients see of one ply: its definition, simulation,
// queries, exports and plots. CKpPly derives from it first. The ply belongs
// to the model's ply store: clients never delete it (they ask the store,
// IVekPlyStore::Delete).
//
// Most settings live in the ply's pattern (the drape definition). Without a
// pattern, getters of a value return 0 (null for texts) and getters that
// fill an array leave it untouched; setters of pattern values return -1.
// Points and directions are 3 doubles x, y, z in the basic frame; angles are
// radians; element edges are numbered from 1.
//
// The forwards to the model (boundary, holes, draped and flat pattern,
// mapping, exports, plots) return 1 when the ply belongs to no store or the
// store to no model. Those that read the current drape first make it belong
// to this ply: when the model's drape workspace last simulated another ply,
// the ply is simulated again (its result ignored) before the model's
// operation runs on the workspace.
//
// The operations keep this slot order.
class IVekPly {
  public:
    // ---- identity, region

    // The name ("" when unset); valid until the name changes.
    virtual const char* GetName() = 0;
    // The ply type: 1 painted, 2 projected, 3 draped ("Scissor"), 4 draped
    // with warp and weft held at 90 degrees ("Slide"); 0 when unset.
    virtual EVekMaterialType GetType() = 0;
    // The material's name ("" when it has none); null without material.
    virtual const char* GetMaterialName() = 0;
    // Number of pattern elements (0 without pattern or element list).
    virtual int GetNumElements() = 0;
    // Element ids and extension orders of the pattern elements in list
    // order into ids[n] and orders[n] (either may be null). 0; 1 when n
    // differs from GetNumElements(), 2 without pattern, 3 without element
    // list (nothing written).
    virtual int GetElementIdsOrders(int n, int* ids, int* orders) = 0;
    // Highest extension order of the ply elements + 1; 0 without ply
    // elements.
    virtual int GetNumOrders() = 0;
    // Where the ray from `origin` along `direction` meets the pattern's
    // elements of order 0 (ILayup::GetElemIntersect); the hit into `point`.
    // 0; 1 no pattern elements, 2 or 3 out of memory, 4 the ids could not be
    // read, 5 no element of order 0, 6 no store or model, 7 no hit or a
    // null argument (the model's selection is left as the search made it).
    virtual int GetPossibleSeedPointByOriginDirection(const double* origin, const double* direction,
                                                      double* point) = 0;
    // The midpoint of the pattern element of order 0 whose normal lies
    // closest to `direction` (either side of the element counts; the first
    // wins ties) into `point`. Without elements of order 0 every pattern
    // element is a candidate. 0; 1 to 4 as above, 5 no store or model, 6 no
    // element store, no candidate found in it, or a null argument (nothing
    // written).
    virtual int GetPossibleSeedPointByDirectionNormal(const double* direction, double* point) = 0;

    // ---- drape settings (the pattern)

    // The seed point into xyz[3]. 0; -1 without pattern or for a null xyz.
    virtual int GetSeedPoint(double* xyz) = 0;
    // The coordinate origin into xyz[3] and its frame name into
    // name[size] (at most size - 1 characters, terminated). 0; 1 when no
    // origin was ever set, 2 for a null name buffer, -1 without pattern.
    virtual int GetCoordOriginName(double* xyz, char* name, int size) = 0;
    // The application and the reference direction into xyz[3]. 0; -1
    // without pattern or for a null xyz.
    virtual int GetApplicationDirection(double* xyz) = 0;
    virtual int GetReferenceDirection(double* xyz) = 0;
    virtual double GetReferenceAngle() = 0;
    // The pattern's method field (projection method of a projected ply).
    virtual int GetProjectionMethod() = 0;
    virtual double GetWarpWeftAngle() = 0;
    virtual double GetWarpWeftRatio() = 0;
    // Maximum shear strain (radians).
    virtual double GetMaximumStrain() = 0;
    // Drape step: the length when positive, else a factor of the reference
    // step (minus the factor).
    virtual double GetStepLength() = 0;
    // The same method field as GetProjectionMethod (seed-curve type of a
    // draped ply).
    virtual int GetSeedCurveType() = 0;
    // The stored word as a direction (exact comparison; any other text gives
    // EVekPlySeedCurveAngle); EVekPlySeedCurveCalc (0) without pattern.
    virtual EVekPlySeedCurveDirection GetSeedCurveDirection() = 0;
    // With GetSeedCurveDirection() = EVekPlySeedCurveAngle the stored text
    // read as a number (degrees; 0.0 when it does not read); otherwise 0.0.
    virtual double GetSeedCurveAngle() = 0;
    // The stored word or angle text; null without pattern.
    virtual const char* GetSeedCurveDirectionAngle() = 0;
    // Number of edges of seed curve i (0 or 1); 0 without pattern or curve.
    virtual int GetNumSeedCurveEdges(int i) = 0;
    // Element id, edge number and, with coords, the coordinates of the first
    // and of the last node (6 doubles per edge) of each edge of curve i
    // into elemIds[n], edgeIds[n], coords[6n] (null arrays are skipped).
    // 0; 1 without pattern, 2 when n differs from GetNumSeedCurveEdges(i)
    // (nothing written).
    virtual int GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds, double* coords) = 0;
    // The same without coordinates.
    virtual int GetSeedCurveEdges(int i, int n, int* elemIds, int* edgeIds) = 0;
    virtual int GetExtensionType() = 0;
    virtual int GetInadmissibleMode() = 0;
    virtual double GetInadmissibleTolerance() = 0;
    // Number of split edges of the pattern.
    virtual int GetNumSplitEdges() = 0;
    // Element id, edge number and flag of each split edge into elemIds[n],
    // edgeIds[n] and flags[n] (flags may be null). 0; 1 without pattern, 2
    // when n differs from GetNumSplitEdges() or elemIds or edgeIds is null
    // (nothing written).
    virtual int GetSplitEdges(int n, int* elemIds, int* edgeIds, int* flags) = 0;
    // Bounds: warp2 = warp minimum, maximum; weft2 = weft minimum, maximum
    // (lengths from the start point). 0; -1 without pattern or for a null
    // array.
    virtual int GetBounds(double* warp2, double* weft2) = 0;
    // The last simulation's result: -1 never simulated (also without
    // pattern), 0 success, other values failure.
    virtual int GetSimulationResult() = 0;
    // Minimum and maximum shear strain, minimum and maximum thickness of the
    // last simulation into two[2]. 0; -1 without pattern or for a null
    // array.
    virtual int GetSimulationStrains(double* two) = 0;
    virtual int GetSimulationThicknesses(double* two) = 0;
    // The events recorded on the ply (owned by the ply).
    virtual IVekEventStore* GetEventStore() = 0;

    // ---- setters: 0 done; -1 without pattern unless stated otherwise

    // Renames the ply and its pattern (name + "_pattern"). -1, nothing
    // changed, for a null name or when a ply of the store, this one
    // included, already bears exactly this name.
    virtual int SetName(const char* name) = 0;
    // Sets the ply type and the pattern's type. 0.
    virtual int SetType(EVekMaterialType type) = 0;
    // Links the material of that name from the model's material store. -1
    // without store, model or such material (the link is kept).
    virtual int SetMaterialName(const char* name) = 0;
    // Deletes all pattern elements.
    virtual int ClearElementIdsOrders() = 0;
    // Appends n pattern elements with ids[n] and orders[n] (orders may be
    // null: order 0); n = -1 appends every element of the model in id order
    // with order 0. 0; 1 without pattern, 2 without element list or when
    // the elements cannot be appended, 3 when n = -1 and there is no model.
    virtual int SetElementIdsOrders(int n, const int* ids, const int* orders) = 0;
    // Setters of pattern values; arrays of 3 doubles are read (null: -1).
    virtual int SetSeedPoint(const double* xyz) = 0;
    // Stores the coordinate origin xyz[3] and its frame name.
    virtual int SetCoordOriginName(const double* xyz, const char* name) = 0;
    virtual int SetApplicationDirection(const double* xyz) = 0;
    virtual int SetReferenceDirection(const double* xyz) = 0;
    virtual int SetReferenceAngle(double angle) = 0;
    virtual int SetProjectionMethod(int method) = 0;
    virtual int SetWarpWeftAngle(double angle) = 0;
    virtual int SetWarpWeftRatio(double ratio) = 0;
    virtual int SetMaximumStrain(double strain) = 0;
    virtual int SetStepLength(double step) = 0;
    virtual int SetSeedCurveType(int type) = 0;
    // Directions 0 to 4 store their word; EVekPlySeedCurveAngle changes
    // nothing and gives 0; any other value -1.
    virtual int SetSeedCurveDirection(EVekPlySeedCurveDirection direction) = 0;
    // Only when GetSeedCurveDirection() gives EVekPlySeedCurveAngle: stores
    // `angle` (degrees) as text with "%g"; otherwise -1 and nothing changes.
    virtual int SetSeedCurveAngle(double angle) = 0;
    // Stores the word or angle text unchanged (null stores "").
    virtual int SetSeedCurveDirectionAngle(const char* text) = 0;
    // Appends to seed curve i (0 or 1) one edge per element id and edge
    // number. -1 without store, model, pattern or curve, or when the edges
    // cannot be stored.
    virtual int SetSeedCurveEdges(int i, int n, const int* elemIds, const int* edgeIds) = 0;
    virtual int SetExtensionType(int type) = 0;
    virtual int SetInadmissibleOptions(int mode, double tolerance) = 0;
    // Appends n split edges (flags may be null: 0). -1 also when they
    // cannot be stored.
    virtual int SetSplitEdges(int n, const int* elemIds, const int* edgeIds, const int* flags) = 0;
    // The bounds, in the order of GetBounds (each array 2 doubles).
    virtual int SetBounds(const double* warp2, const double* weft2) = 0;
    // Records an event of `type` with id = highest event id + 1. 0; 1 when
    // it cannot be stored.
    virtual int AddEvent(int type) = 0;

    // ---- simulation and results

    // Simulates the ply with messages. 0 success; -1 without store or model,
    // material or pattern, or when the simulation fails.
    virtual int Simulate() = 0;
    // The model's GetPlyBoundaryNum, GetPlyBoundary, GetPlyHolesNum and
    // GetPlyHoles for this ply's name (see CKpLayup).
    virtual int GetBoundarySizes(int* contours, int* points) = 0;
    virtual int GetBoundary(int contours, int points, int* pointCounts, double* xyz,
                            int* nodeIds) = 0;
    virtual int GetHolesSizes(int* count) = 0;
    virtual int GetHoles(int count, int* elemIds) = 0;
    // Per pattern element, at its position k in the pattern's list: ids[k]
    // the element id, mids[3k] its midpoint, warps[3k] and wefts[3k] the
    // in-plane unit directions at its warp and weft angles, sizes[k] half
    // the square root of its area. The lists are sized n, 3n, 3n, 3n, n
    // (n = pattern elements; freed when n is 0); positions of pattern
    // elements without a linked element keep 0. 0; 1 no store or model, 2
    // no pattern, 3 no element list, 4 out of memory.
    virtual int GetOrientations(VekTList<int>& ids, VekTList<double>& mids, VekTList<double>& warps,
                                VekTList<double>& wefts, VekTList<double>& sizes) = 0;
    // Current-drape forwards to the model's operations of the same name.
    virtual int GetDrapedPatternSizes(int mode, int* count) = 0;
    virtual int GetDrapedPattern(int mode, int size, int* minusI, int* plusI, int* minusJ,
                                 int* plusJ, int* elemIds, double* xyz, double* shear) = 0;
    virtual int GetFlatPatternSizes(int* rings, int* points) = 0;
    // As the model's GetFlatPattern; then, when given, origin[3] receives the
    // seed point and axes[9] the placement frame: entry 3i + j is component
    // i (x, y, z) of axis j, with n = -application direction, r = reference
    // direction (each normalised when not zero), c = n x r, a = reference
    // angle: axis 0 = r cos a + c sin a, axis 1 = c cos a - r sin a, axis
    // 2 = n. The result is the model's.
    virtual int GetFlatPattern(int rings, int size, int* counts, double* xyz, double* origin,
                               double* axes) = 0;
    virtual int Get3DFrom2D(const double* uv, double* xyz, int* elemId) = 0;
    virtual int Get2DFrom3D(const double* xyz, double tolerance, double* uv) = 0;

    // ---- exports (first make the current drape this ply's)

    // Draped pattern as DXF: 0; 3 after the error "Could not export pattern
    // data in DXF format".
    virtual int Export3dDXF(const char* file, const char* layer, int flag) = 0;
    // Draped pattern as IGES: 0; -1 after the error "Could not export
    // pattern data in IGES format".
    virtual int Export3dIGES(const char* file, int flag) = 0;
    // Surface and draped ply as a VFP file; the writer's result.
    virtual int Export3dVFP(const char* file, const char* name, int flag) = 0;
    // The model's Export3dLaser for this ply's name; its result.
    virtual int Export3dLaser(int kind, const char* file, int flag) = 0;
    // The model's Export2dDXF; its result.
    virtual int Export2dDXF(const char* file, const char* layer, const char* style, int flag) = 0;
    // Flat pattern as IGES: 0; -1 after the error "Could not export cutout
    // data in IGES format".
    virtual int Export2dIGES(const char* file, int flag) = 0;
    // Flat pattern as laser projector data closed by the line "EOD": the
    // writer's result; -1 after "No pattern data defined." or "Could not
    // open file '<file>' for writing.". The flag is not used.
    virtual int Export2dVirtek(const char* file, int flag) = 0;

    // ---- plots

    // Fibre angles of the ply (no simulation first); the plot's result.
    virtual int PlotAngles() = 0;
    // The ply's boundary (no simulation first): 0; 2 when the boundary
    // cannot be built, 3 when it cannot be drawn.
    virtual int PlotBoundary() = 0;
    // The drape outline, the draped pattern (mode not used) and the flat
    // pattern of the current drape; the plot's result.
    virtual int PlotOutline() = 0;
    virtual int PlotDrapedPattern(int mode) = 0;
    virtual int PlotFlatPattern() = 0;

  protected:
    ~IVekPly() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKPLY_H
