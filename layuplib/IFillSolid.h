#ifndef PLYSTRAND_LAYUPLIB_IFILLSOLID_H
#define PLYSTRAND_LAYUPLIB_IFILLSOLID_H

#include "layuplib/IFillSolidCSys.h"
#include "layuplib/IFillSolidSection.h"
#include "layuplib/IVekUnknown.h"

class ILayup;

namespace SolidElements {

// IFillSolid: fills a client's brick mesh with stacked composite layers.
//
// The calls run in this order: Create (the bricks), CreateStackingTubes (the
// columns through the thickness, from a picked free face, and the
// mid-surface), then CreateCSys, ReadStacking and CreateSections as needed,
// then CreateLayup. Read-backs may come once what they read is built. A
// second Create appends bricks, a second ReadStacking appends layers; for a
// fresh start make a new filler.
//
// Every operation returns an int, 0 on success unless stated. Each failure
// also records a message in the filler's own store (read the earliest with
// GetLastError); the model's message log is not used. Coordinates are 3
// doubles per point (x, y, z); angles are radians unless stated. Objects
// handed out belong to the filler and stay valid until it is destroyed.
// One filler serves one thread at a time; the reference count is not
// atomic.
//
// The 19 operations keep this slot order (AddRef, Release, QueryInterface
// come from IVekUnknown).
class IFillSolid : public IVekUnknown {
  public:
    // How stackings are laid into a column. "Bottom" is the picked side.
    enum EStacking : int {
        // stacking A from the bottom face, B from the top face, meeting at
        // the mid-surface; ReadStacking reads file 1 into A, file 2 into B
        eBottomAndTop = 0,
        // A from the mid-surface towards the bottom face, B from it towards
        // the top face; file 1 into A, file 2 into B
        eFromMidplane = 1,
        // A alone, from the top face; file 2 into A
        eFromTop = 2,
        // A alone, from the bottom face; file 1 into A
        eFromBottom = 3
    };

    // AddRef: the new count. Release: the new count; the filler is destroyed
    // at 0. QueryInterface: offers nothing, always 1.

    // Loads the brick mesh: nodeIds[nNodes] with xyz[3 * nNodes] (any order,
    // each id once); elemIds[nElems] (each id once) with elemTypes[nElems]
    // (28 8-node brick, 20 20-node brick; one type for the whole mesh) and
    // the element nodes, element i at conn[i * stride] in the brick's local
    // numbering (corners 0-3 of one face, 4-7 of the opposite face, k above
    // k; then the 20-node brick's mid-side nodes 8-11, 12-15 on those faces
    // and 16-19 between corner k and k + 4). 0; 1 with a message and nothing
    // built for a count or stride below 1, a null array, mixed element types
    // ("All selected elements should have the same element type"), a stride
    // below the brick's node count, a repeated element id ("Element id %d is
    // repeated") or node id, a non-finite coordinate, an element node
    // missing from the node list ("Element %d refers to node %d, which is
    // not in the node list") or a face held by more than two bricks ("Face
    // of element %d is shared by more than two elements").
    virtual int Create(int nNodes, const int* nodeIds, const double* xyz, int nElems,
                       const int* elemIds, const int* elemTypes, int stride, const int* conn) = 0;

    // Finds the columns of bricks through the thickness, starting from the
    // free face of element `elemId` whose nodes are faceNodes[nFaceNodes]
    // (all 4, or 8 for a 20-node brick, any order) and spreading over the
    // picked surface; bricks are renumbered so that face 0 points to the
    // picked side. Then builds the mid-surface. 0; 1 "Selected Face is not
    // part of the selected elements" or "Selected Face is not a free face";
    // 2 when the columns differ in length ("The first stacking tube has %d
    // elements through the thickness, but Element %d is part of a stacking
    // tube with %d elements - this must be constant throughout the selected
    // region"); 3 "Element %d is reached by two stacking tubes". The columns
    // built before a failure stay (without mid-surface).
    virtual int CreateStackingTubes(int elemId, const int* faceNodes, int nFaceNodes) = 0;

    // 1 when some brick was renumbered, else 0.
    virtual int HasElementOrientationChanged() = 0;

    // Node and element counts of the input (written); maxNodesPerElem is
    // always 20. 0.
    virtual int GetElementSizes(int& nNodes, int& nElems, int& maxNodesPerElem) = 0;

    // The mesh with the current (possibly renumbered) bricks, arrays sized
    // from GetElementSizes: node ids and xyz as given, element ids and types
    // in input order, 20 ints per element in conn (an 8-node brick fills 8
    // and sets the rest to 0; 20-node bricks in the local numbering above).
    // 0; 1 with a message for a null array.
    virtual int GetElementMesh(int* nodeIds, double* xyz, int* elemIds, int* elemTypes,
                               int* conn) = 0;

    // One coordinate system per column, then systems whose axes lie within
    // `angleTol` (radians) merged. x, y, z (3 doubles each) are reference
    // vectors: a system's X axis is x projected into the column's
    // mid-surface, its Z axis the column normal (from the picked side
    // inward), Y = Z x X. The filler keeps x and z for CreateLayup. 0; 1
    // (no message) when x is parallel to a column normal, the systems made
    // so far staying; 1 with a message for a null vector. A second call
    // replaces the systems.
    virtual int CreateCSys(const double* x, const double* y, const double* z, double angleTol) = 0;

    // Stores `mode` and reads the stacking files it names (see EStacking).
    // 0; 1 file 1 failed (modes 0, 1); 2 file 2 failed (modes 0, 1); 3 file
    // 2 failed (mode 2); 4 file 1 failed (mode 3); any other mode reads
    // nothing and gives 0. A file that fails records its reason
    // (FillSolidStacking::Read; a null name records nothing).
    virtual int ReadStacking(EStacking mode, const char* file1, const char* file2) = 0;

    // Lays the stackings into every column, cutting layers at brick
    // boundaries and filling the room left with resin of `resinMaterial`,
    // then merges bricks whose layers match into sections: thicknesses
    // within `thicknessTolPercent` per cent of the mean section thickness,
    // angles within `angleTol` (radians). A second call replaces the
    // sections. 0.
    virtual int CreateSections(const char* resinMaterial, double thicknessTolPercent,
                               double angleTol) = 0;

    // Number of coordinate systems / sections (written). 0.
    virtual int GetNumCSys(int& n) = 0;
    virtual int GetNumSections(int& n) = 0;
    // System / section i (from 0) into `out`. 0; 1 with `out` untouched
    // when i is outside 0 .. count - 1.
    virtual int GetCSys(int i, IFillSolidCSys*& out) = 0;
    virtual int GetSection(int i, IFillSolidSection*& out) = 0;

    // Distinct mid-surface nodes, mid-surface elements (one per column) and
    // nodes per element (4 for 8-node bricks, 8 for 20-node bricks). 0.
    virtual int GetMidsurfaceElementSizes(int& nNodes, int& nElems, int& nodesPerElem) = 0;

    // The mid-surface shell mesh, arrays sized from
    // GetMidsurfaceElementSizes: node ids from 1 with xyz, element ids from
    // 1 (column order), the node count of each element in nodesPerElem[],
    // and conn packed with that count per element (corners, then mid-side
    // nodes). 0; 1 "Midplane has not been contstructed" when no mid-surface
    // was built; 1 with a message for a null array.
    virtual int GetMidsurface(int* nodeIds, double* xyz, int* elemIds, int* nodesPerElem,
                              int* conn) = 0;

    // Writes the fill into `layup`: the mid-surface becomes its mesh, each
    // layer material at each thickness a material ("<material>_<%.3g>"),
    // each layer name a ply per connected patch (name, name_2, ...), and the
    // stacking order its layup. Resin makes neither plies nor layup
    // entries. 0; 1 "Midplane has not been contstructed"; 2 "Could not
    // create the layup mesh" when the model refuses the mesh; 3 for a null
    // layup. On failure the model is left as it was at that point.
    virtual int CreateLayup(ILayup* layup) = 0;

    // The earliest message recorded since construction into `buf` of `len`
    // bytes (at most len - 1 characters, terminated; "" when there is none);
    // nothing written for a null buffer or len below 1. 0.
    virtual int GetLastError(char* buf, int len) = 0;

  protected:
    ~IFillSolid() = default;
};

}  // namespace SolidElements

// Makes a new filler with a reference count of 1 into `out`. 0; 1 with `out`
// unchanged when it cannot be made. Exported with C linkage so that clients
// can also find it with dlsym("CreateFillSolid").
extern "C" __attribute__((visibility("default"))) int CreateFillSolid(
    SolidElements::IFillSolid*& out);

#endif  // PLYSTRAND_LAYUPLIB_IFILLSOLID_H
