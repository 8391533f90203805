#ifndef PLYSTRAND_LAYUPLIB_CKPSOLIDGENSET_H
#define PLYSTRAND_LAYUPLIB_CKPSOLIDGENSET_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/IVekSolidGenSet.h"

class CKpCoordStore;
class CKpElemStore;
class CKpLamStore;
class CKpLayup;
class CKpNodeStore;
class CKpPropStore;

// CKpSolidGenSet: the model's solid generation: the settings for turning
// selected shell elements with their ply layup into solid elements, and the
// solid mesh, laminates, coordinate systems and property sets generated.
// Holds the model without owning it; owns the five stores of generated
// objects and the snap arrays.
class CKpSolidGenSet : public IVekSolidGenSet {
  public:
    // Every setting at its Clear value, extrusion method and first property
    // id 0, origins and directions (0, 0, 0), the five stores empty, no
    // model.
    CKpSolidGenSet();

    // Runs Clear and deletes the five stores.
    ~CKpSolidGenSet() override;

    CKpSolidGenSet(const CKpSolidGenSet&) = delete;
    CKpSolidGenSet& operator=(const CKpSolidGenSet&) = delete;

    // Generated flag 0; name emptied; element selection emptied; node and
    // element id offsets 0; through-thickness count 1; continuity and fill
    // flags 0; fill material emptied; smoothing flag and value 0; snap flag,
    // tolerance and count 0 and the three snap arrays freed; the five stores
    // emptied; property-set options, property mode and both coordinate ids
    // 0; switch angle and both tolerances 0; first coordinate id and first
    // laminate id 0; the ignore-thickness, equally-spaced and
    // shear-correction flags 0. The extrusion method, the first property
    // id, both origins and both directions are left as they are. 0.
    int Clear() override;
    int SetName(const char* name) override;
    int SetElementIds(int n, const int* ids) override;
    int SetExtrusionMethod(EVekExtrusionMethod method) override;
    int SetNodeIdOffset(int offset) override;
    int SetElementIdOffset(int offset) override;
    int SetNumThroughThickElements(int count) override;
    int SetEnforcePlyContinuity(int flag) override;
    int SetFillVoidsWithMaterial(int flag, const char* material) override;
    int SetSmoothFaces(int flag, double value) override;
    int SetSnapToSurface(int flag, double tolerance, int n, const int* nodeIds,
                         const int* valueCounts, const double* values) override;
    int SetPropertySetOptions(const int options[6]) override;
    int SetPropertyMode(int mode) override;
    int SetPropertyModeByCodeAndOrientation(EVekCode code, EVekOrientation orientation) override;
    int SetCoordId(int index, int id) override;
    int SetVectorDirection(int index, const double v[3]) override;
    // Index 0 or 1 (else 1): an origin handed to the laminate grouping.
    int SetCoordOrigin(int index, const double v[3]);
    int SetSwitchAngle(double angle) override;
    int SetAngleTolerance(double angle) override;
    int SetThicknessTolerance(double percent) override;
    int SetFirstCoordId(int id) override;
    int SetFirstLamId(int id) override;
    int SetFirstPropId(int id) override;
    int SetIgnoreThickness(int flag) override;
    int SetEquallySpacedVariables(int flag) override;
    int SetShearCorrection(int flag) override;
    // With a selection: the model selects exactly those elements, finds
    // their neighbours and gives their nodes directions; without one the
    // model's selection and node directions are used. Then
    // CreateSolidElements with every setting but the coordinate ids. The
    // generated objects stay until Clear.
    int Run() override;
    int ExportSolidElements(const char* fileName) override;
    int GetMeshSizes(int& nodes, int& elements, int& maxNodesPerElement) override;
    int GetMesh(int nodeCount, int* nodeIds, double* xyz, int elementCount, int* elementIds,
                int* patchIds, int* topologies, int width, int* elementNodes) override;
    IVekLamStore* GetLamStore() override;
    IVekCoordStore* GetCoordStore() override;
    IVekPropertySetStore* GetPropertySetStore() override;

    // 1 after a successful Run, 0 after Clear or SetElementIds.
    int IsGenerated() const { return m_generated; }
    int GetExtrusionMethod() const { return m_extrusionMethod; }
    int GetPropertyMode() const { return m_propMode; }
    // Switch angle and angle tolerance as set (radians).
    double GetSwitchAngle() const { return m_switchAngle; }
    double GetAngleTolerance() const { return m_angTol; }
    // The snap nodes kept by SetSnapToSurface: their count, and their values
    // (2 per node; null without nodes).
    int GetSnapCount() const { return m_snapCount; }
    const double* GetSnapValues() const { return m_snapValues; }

    // Binds the model (also into the coordinate and laminate stores): 1 for
    // null (nothing changes); else 0.
    int SetLayup(CKpLayup* layup);

    // The bound model; null until SetLayup.
    CKpLayup* GetLayup() const { return m_layup; }

    // The generated nodes and elements, owned by this object.
    CKpNodeStore* pSolidNodes() const { return m_nodes; }
    CKpElemStore* pSolidElems() const { return m_elems; }

  private:
    CKpLayup* m_layup;
    int m_layupSet;
    int m_generated;
    CKpStr m_name;
    CKpIdStore m_elemIds;
    int m_extrusionMethod;  // 1, 2 or 3; checked by the run
    int m_nodeIdOffset;
    int m_elemIdOffset;
    int m_numThroughThick;
    int m_enforceContinuity;
    int m_fillVoids;
    CKpStr m_fillMaterial;
    int m_smoothFaces;
    double m_smoothValue;
    int m_snap;
    double m_snapTol;
    int m_snapCount;
    int* m_snapNodeIds;      // m_snapCount entries, malloc
    int* m_snapValueCounts;  // m_snapCount entries (1 or 2 each), malloc
    double* m_snapValues;    // 2 * m_snapCount entries, malloc
    CKpNodeStore* m_nodes;
    CKpElemStore* m_elems;
    CKpCoordStore* m_coords;
    CKpLamStore* m_lams;
    CKpPropStore* m_props;
    int m_propSetOptions[6];
    int m_propMode;
    int m_coordIds[2];
    CKpDirn m_origins[2];
    CKpDirn m_directions[2];
    double m_switchAngle;
    double m_angTol;
    double m_thkTol;
    int m_firstCoordId;
    int m_firstLamId;
    int m_firstPropId;
    int m_ignoreThickness;
    int m_equallySpaced;
    int m_shearCorrection;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSOLIDGENSET_H
