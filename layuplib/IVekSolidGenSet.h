#ifndef PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H
#define PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H

#include "layuplib/CreateSolidElements.h"
#include "layuplib/IVekPropGenSet.h"

class IVekCoordStore;
class IVekLamStore;
class IVekPropertySetStore;

// IVekSolidGenSet: solid generation as clients see it: clear, set each
// option, run, then read the generated solid mesh or export it. The model
// owns the object. The operations keep this slot order; setters return 0
// unless stated.
//
// The through-thickness count, the fill and the smoothing settings and the
// two coordinate ids are kept but the generation does not use them. The
// property settings (name, options, mode, vectors, angles, tolerances,
// first ids, the three flags) are handed unchanged to the laminate and
// property grouping of each solid (see IVekPropGenSet for their meaning).
class IVekSolidGenSet {
  public:
    // Resets every setting to its default and empties the generated
    // objects (see CKpSolidGenSet::Clear). 0.
    virtual int Clear() = 0;
    // Name of the generated laminates and properties; null stores "".
    virtual int SetName(const char* name) = 0;
    // Adds `n` element ids (read), or every element of the model for
    // n = -1; ids naming no element are skipped, the selection accumulates
    // until Clear. Clears the generated flag. 1 without model; -1 with an
    // error for n below -1 or null ids.
    virtual int SetElementIds(int n, const int* ids) = 0;
    // 1, 2 or 3 (EVekExtrusionMethod); checked by Run.
    virtual int SetExtrusionMethod(EVekExtrusionMethod method) = 0;
    // First ids of the generated nodes and solids; checked by Run.
    virtual int SetNodeIdOffset(int offset) = 0;
    virtual int SetElementIdOffset(int offset) = 0;
    // Kept; not used by the generation.
    virtual int SetNumThroughThickElements(int count) = 0;
    // Nonzero: plies run continuously through every node stack.
    virtual int SetEnforcePlyContinuity(int flag) = 0;
    // Kept; not used by the generation.
    virtual int SetFillVoidsWithMaterial(int flag, const char* material) = 0;
    virtual int SetSmoothFaces(int flag, double value) = 0;
    // Snap faces to given positions: for node nodeIds[i], valueCounts[i]
    // (1 or 2) values at values[2i], values[2i+1], positions along the node
    // direction; a value within `tolerance` (negative: relative to the
    // stack thickness) of a face moves it there. n below 1 returns 1 and
    // copies nothing; 2, 3, 4 when an array cannot be copied; arrays are
    // read.
    virtual int SetSnapToSurface(int flag, double tolerance, int n, const int* nodeIds,
                                 const int* valueCounts, const double* values) = 0;
    virtual int SetPropertySetOptions(const int options[6]) = 0;
    virtual int SetPropertyMode(int mode) = 0;
    // Code 21 or 31 with orientation 1 or 2 sets the property mode to
    // orientation + 106; anything else returns 1.
    virtual int SetPropertyModeByCodeAndOrientation(EVekCode code, EVekOrientation orientation) = 0;
    // Index 0 or 1, else 1.
    virtual int SetCoordId(int index, int id) = 0;
    virtual int SetVectorDirection(int index, const double v[3]) = 0;
    virtual int SetSwitchAngle(double angle) = 0;
    virtual int SetAngleTolerance(double angle) = 0;
    virtual int SetThicknessTolerance(double percent) = 0;
    virtual int SetFirstCoordId(int id) = 0;
    virtual int SetFirstLamId(int id) = 0;
    virtual int SetFirstPropId(int id) = 0;
    virtual int SetIgnoreThickness(int flag) = 0;
    virtual int SetEquallySpacedVariables(int flag) = 0;
    virtual int SetShearCorrection(int flag) = 0;
    // Generates the solids. 0 done, 1 no model, 2 out of memory, 3
    // selection refused, 4 neighbour search failed, 5 node references
    // failed, 6 node directions failed, 7 generation failed ("Could not
    // create solid elements").
    virtual int Run() = 0;
    // Writes the generated mesh as a host neutral file: 0 (also for an
    // empty name, nothing written); 1 without model; 2 when writing fails.
    virtual int ExportSolidElements(const char* fileName) = 0;
    // Node count, element count and largest nodes per element of the
    // generated mesh. 0.
    virtual int GetMeshSizes(int& nodes, int& elements, int& maxNodesPerElement) = 0;
    // The generated mesh as arrays sized by GetMeshSizes (written): nodes
    // (ids, xyz) as CKpNodeStore::GetNodes, elements as
    // CKpElemStore::GetElements. 0; 3 when the node count differs, 4 when
    // the element copy fails.
    virtual int GetMesh(int nodeCount, int* nodeIds, double* xyz, int elementCount, int* elementIds,
                        int* patchIds, int* topologies, int width, int* elementNodes) = 0;
    // The generated laminates, coordinate systems and property sets.
    virtual IVekLamStore* GetLamStore() = 0;
    virtual IVekCoordStore* GetCoordStore() = 0;
    virtual IVekPropertySetStore* GetPropertySetStore() = 0;

    virtual ~IVekSolidGenSet() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKSOLIDGENSET_H
