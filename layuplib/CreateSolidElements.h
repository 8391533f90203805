#ifndef PLYSTRAND_LAYUPLIB_CREATESOLIDELEMENTS_H
#define PLYSTRAND_LAYUPLIB_CREATESOLIDELEMENTS_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

class CKpCoordStore;
class CKpElem;
class CKpElemStore;
class CKpLamStore;
class CKpLayup;
class CKpMsg;
class CKpNodeStore;
class CKpPropStore;
class CKpXLypPlyStore;
class CKpXLypStore;

// Extrusion methods of the solid generation.
enum EVekExtrusionMethod : int {
    eExtrudeShell = 1,       // one solid per shell, bottom face to top face
    eExtrudeSplitPlies = 2,  // one solid per run of plies between split plies
    eExtrudePly = 3          // one solid per ply
};

// Extrudes the selected shells of `layup` (with their node directions set)
// into solids that follow the ply layup through the thickness:
//  - every node gets a stack of the plies of the elements around it (each
//    ply thickness scaled by 1/|cos| of the element normal against the node
//    direction, the cosine taken as at least 0.5), its offset and snap
//    values;
//  - each shell with plies becomes solids by `extrusionMethod`: quad4 and
//    quad8 give bricks of 8 and 20 nodes (geometry 101, 102), tria3 and
//    tria6 wedges of 6 and 15 nodes (111, 112), from the shell's corner
//    nodes; node order bottom corners, top corners, then midside nodes;
//  - nodes take ids from `nodeIdOffset` up, solids from `elementIdOffset`
//    up (method 1 also takes 0, and a negative offset gives each solid its
//    shell's id minus the offset); coincident solid nodes are merged (1e-6);
//  - with `snapFlag`, the listed nodes' faces are snapped (values 2i, 2i+1
//    of node i) and three results "Original Thickness", "Snap Scale" and
//    "Final Thickness" are added to the model's result store;
//  - with a nonzero `propertyMode`, each solid gets a laminate and property
//    of the plies it holds (SaveLaminateElem with the property settings).
// A split ply is a ply of zero material thickness whose material name
// contains "split". The through-thickness count, the fill and the smoothing
// settings are accepted and not used. Returns 0, or -1 after an error in the
// message log; what was created before the error stays in the stores.
int CreateSolidElements(CKpMsg* msg, CKpLayup* layup, CKpCoordStore* coordStore,
                        CKpLamStore* lamStore, CKpPropStore* propStore, int nodeIdOffset,
                        int elementIdOffset, int extrusionMethod, int throughThickCount,
                        int enforceContinuity, int fillVoids, const char* fillMaterial,
                        int smoothFaces, double smoothValue, int snapFlag, double snapTolerance,
                        int snapCount, const int* snapNodeIds, const int* snapValueCounts,
                        const double* snapValues, CKpNodeStore* solidNodeStore,
                        CKpElemStore* solidElemStore, const char* name, const int* propertyOptions,
                        int propertyMode, const CKpDirn& origin0, const CKpDirn& origin1,
                        const CKpDirn& direction0, const CKpDirn& direction1, double switchAngle,
                        double angleTolerance, double thicknessTolerance, int firstCoordId,
                        int firstLamId, int firstPropId, int ignoreThickness,
                        int equallySpacedVariables, int shearCorrection);

// What the extrusion of one shell shares with the others of a run.
struct SolidExtrudeContext {
    CKpMsg* msg;
    CKpLayup* layup;
    CKpXLypStore* stacks;
    CKpNodeStore* nodes;  // solid nodes
    CKpElemStore* elems;  // solid elements
    int method;
    int nodeCounter;
    int elemCounter;
    // Laminate and property grouping (used when propertyMode is nonzero).
    const char* name;
    const int* options;
    int propertyMode;
    CKpPoint origins[2];
    CKpDirn directions[2];
    double switchAngle;
    double angleTolerance;
    double thicknessTolerance;
    int ignoreThickness;
    int equallySpaced;
    int shearCorrection;
    int coordCounter;
    int lamCounter;
    int propCounter;
    CKpCoordStore* coords;
    CKpLamStore* lams;
    CKpPropStore* props;
};

// Extrudes `shell` with its stack `elemStack` (bottom to top in the shell's
// sense; contribution ids are stored node positions of the shell). 0; -1
// after an error: no solid stores, an unsupported geometry or method, a
// corner node without direction or stack, a split ratio or grouping that
// fails, or no element id left below INT_MAX ("No element id is left below
// 2147483647.").
int CreateSolidElementsExtrude(SolidExtrudeContext& ctx, CKpElem* shell,
                               CKpXLypPlyStore& elemStack);

// Adds the midside nodes of a 102 or 112 solid at the midpoints of its
// corner edges (ids from *nodeCounter up); other types are left alone. 0;
// -1 when a corner node is missing or memory runs out.
int CreateSolidMidnodes(CKpMsg* msg, CKpElem* shell, CKpElem* solid, CKpNodeStore* nodeStore,
                        int* nodeCounter);

// out = point + distance x direction.
void CalcPt(const CKpPoint& point, const CKpDirn& direction, double distance, CKpPoint& out);
// Midpoint of nodes i and j (stored positions) of `element`: 0; -1 when
// either node is missing.
int CalcMidpt(CKpMsg* msg, int i, int j, const CKpElem* element, CKpNodeStore* nodeStore,
              CKpPoint& out);

#endif  // PLYSTRAND_LAYUPLIB_CREATESOLIDELEMENTS_H
