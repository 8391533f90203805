#ifndef PLYSTRAND_LAYUPLIB_ILAYUP_H
#define PLYSTRAND_LAYUPLIB_ILAYUP_H

class IVekSelect;
class IVekMaterialStore;
class IVekPlyStore;
class IVekOffsetStore;
class IVekPlyLayup;
class IVekPropGenSet;
class IVekLamStore;
class IVekCoordStore;
class IVekOrientationStore;
class IVekSolidGenSet;
class IVekResultStore;

// ILayup: the interface through which the exported functions and outside
// client programs drive the one layup model (implemented by CKpLayup).
//
// Conventions:
//   - results are int status codes: 0 success, -1 refusal or failure, small
//     positive codes naming the step that failed where stated;
//   - messages go to the model's message log (severities 1 information,
//     2 warning, 4 error);
//   - an element count of -1 with an id list means every element of the
//     model; element edges are numbered from 1;
//   - arrays are provided by the caller and sized as each operation says;
//     coordinates are three doubles per point (x, y, z) in the model's
//     units and basic frame;
//   - store interfaces handed out belong to the model: never delete them.
//
// The 46 operations keep this slot order; the destructor comes after them.
class ILayup {
  public:
    // File formats of Read and Write.
    enum EFormat : int {
        eSTL = 1,            // STL surface
        eBulkData = 2,       // solver bulk data
        ePrintedOutput = 3,  // solver printed output
        eBinaryOutput = 4,   // solver binary output
        eNeutral = 5,        // host neutral file
        eFemap = 6,          // no exchange
        eAnsysCDB = 7,       // ANSYS CDB
        eAnsysRST = 8,       // ANSYS binary results
        eESAComp = 9,        // ESAComp results
        eXMLLayup = 10,      // XML layup file
        eHostDatabase = 11   // the host database
    };
    // Message severities.
    enum EMsgTyp : int { eInformation = 1, eWarning = 2, eError = 4 };

    // ---- versions and messages

    // Writes the interface version 20081003, the file version 20081003 and
    // the library version 20081110 (a null pointer is skipped). 0.
    virtual int GetVersions(int* apiVersion, int* fileVersion, int* libVersion) = 0;
    // Opens (replaces) the message file at `path`: 0, or -1 after the error
    // "Could not open file '<path>' for writing.".
    virtual int OpenMessage(const char* path) = 0;
    // Closes the message file: 0 (also when none is open), -1 when closing
    // failed.
    virtual int CloseMessage() = 0;
    // Issues `text` unchanged (a per-cent sign is printed, not interpreted)
    // at severity `type`; a null text issues "".
    virtual void SetMessage(EMsgTyp type, const char* text) = 0;
    // Store of warnings and errors: keeps at most `maxCount` lines, and
    // lines no older than `maxAge` seconds (0: no age limit).
    virtual void SetMessageStoreParams(int maxCount, double maxAge) = 0;
    // Empties the store of warnings and errors.
    virtual void FlushMessageStore() = 0;
    // Takes the oldest stored message out of the store: its severity into
    // `type` and its text into `text` (at most textSize - 1 characters and a
    // terminator). With `age` > 0 older lines are dropped on the way.
    // 0 success; 1 empty store, or a null `text` or textSize < 1 (nothing
    // taken); 2 every line was older than `age`. `type` is written on 0 only.
    virtual int GetFirstMessageInStore(double age, EMsgTyp& type, char* text, int textSize) = 0;

    // ---- model lifecycle

    // Empties the model and builds a new one from arrays:
    //   nodeIds[nNodes], xyz[3*nNodes]: node ids (below 1 skipped) and
    //   positions; elemIds[nElems], patchIds[nElems], topologies[nElems]
    //   (host shell topologies 3, 4, 6, 8; others skipped), and the element
    //   nodes in solver order (corners first), row k starting at
    //   connectivity[k*width]. Duplicate ids are warned about and ignored.
    //   Nodes are merged within `mergeTolerance` when it is above 0.
    // 0, or -1 on failure.
    virtual int NewLayupMesh(int nNodes, const int* nodeIds, const double* xyz, int nElems,
                             const int* elemIds, const int* patchIds, const int* topologies,
                             int width, const int* connectivity, double mergeTolerance,
                             double unused) = 0;
    // Empties the model and builds a new one from the host database's mesh.
    virtual int NewLayup(double mergeTolerance, double unused) = 0;
    // Empties the model and reads a layup file (`compressed` 1: gzip).
    virtual int OpenLayup(const char* path, int compressed) = 0;
    // Reads a file of `format` into the model; `clear` non-zero empties the
    // model first.
    virtual int Read(EFormat format, const char* path, int clear, int flags, const char* extra) = 0;
    // Writes the model in `format`.
    virtual int Write(EFormat format, const char* path, int what, int results, int option,
                      int binary) = 0;
    // Compares this model's mesh with `other`'s: 0 when they match (and for
    // a null `other` or a model without elements).
    virtual int CheckMatch(ILayup* other) = 0;
    // Imports plies of `source` onto an area of this mesh.
    virtual int Import(ILayup* source, int areaCount, const int* areaIds, double angleTolerance,
                       double distanceTolerance, int normalCalculation, double splitWidth,
                       int importLayup, int plyCount, int* flags, int* uncoveredCount,
                       int* uncoveredIds) = 0;
    // Saves the model as a layup file.
    virtual int SaveLayup(const char* path, int detail, int compress) = 0;
    // Empties the model: 0, or -1 after "Could not reinitialise data arrays".
    virtual int CloseLayup() = 0;

    // ---- mesh editing and area selection

    // Merges coincident free-edge nodes of triangles / sews T-junctions.
    virtual int MergeFree(double tolerance) = 0;
    virtual int SewFree(double tolerance) = 0;
    // Number of elements (written). 0; 1 for a null pointer.
    virtual int GetNumElems(int* count) = 0;
    // Every element id in ascending order into `ids` (room for `count`).
    // 0; 1 (nothing written) for a null array or a `count` smaller than the
    // number of elements.
    virtual int GetElemIds(int count, int* ids) = 0;
    // Restores the whole surface; selects an area; finds where a point
    // meets the selected area.
    virtual int RestoreArea() = 0;
    virtual int RestoreAndSelectArea(int n, const int* ids) = 0;
    virtual int SelectAreaEID(int n, const int* ids, int order) = 0;
    virtual int GetElemIntersect(int n, const int* ids, const double* point,
                                 const double* direction, int* elemOut, double* pointOut,
                                 double* normalOut) = 0;
    // Draws the outlines of every element (`all` non-zero) or of the
    // selected ones in graphics segment 7 with pen 1. 0.
    virtual int PlotElemEdges(int all) = 0;
    // Deletes graphics segment 7. 0.
    virtual int EraseElemEdges() = 0;
    // Turns element patch numbers into sets.
    virtual int CreateSetsPatches() = 0;

    // ---- mesh and edge queries

    // Live node count, element count and the largest node count of any
    // element (written; a null pointer is skipped). 0.
    virtual int GetMeshSizes(int* nNodes, int* nElems, int* width) = 0;
    // The mesh in flat arrays, sized from GetMeshSizes:
    //   nodeIds[nNodes], xyz[3*nNodes] in ascending id order;
    //   elemIds, patchIds, topologies (host codes 3, 4, 6, 8) [nElems] in
    //   ascending id order; nodes[nElems*width]: row k holds the element's
    //   node ids in solver order (the rest of a row is left as it was).
    // 0; 1 node count differs from the live count (or a null node array);
    // 2 element count differs, a null element array, or a width smaller than
    // the largest node count. Nothing is written on failure of a check.
    virtual int GetMesh(int nNodes, int* nodeIds, double* xyz, int nElems, int* elemIds,
                        int* patchIds, int* topologies, int width, int* nodes) = 0;
    // The listed elements as a compact mesh: xyz receives the distinct
    // corner nodes in ascending id order (3 doubles each; *xyzCount = 3 ×
    // nodes), quads 4 and trias 3 zero-based node indices per listed
    // quadrilateral / triangle (*quadCount, *triaCount = the ints written).
    // Sizes: xyz 3 × distinct corners, quads 4 per listed quadrilateral,
    // trias 3 per listed triangle. 0; 1 n below 1, a null pointer or an empty
    // mesh; 3 mesh fetch failed; 4 an id is not an element; 5 an element of
    // another topology; 6 a node is missing.
    virtual int GetSubMesh(int n, const int* ids, double* xyz, int* xyzCount, int* quads,
                           int* quadCount, int* trias, int* triaCount) = 0;
    // The element selection.
    virtual IVekSelect* GetSelect() = 0;
    // For entry i: the edge number of element ids[i] whose corners are the
    // end points points[6i..6i+2] and points[6i+3..6i+5] (each within 1e-5)
    // into edgesOut[i]; an entry with no matching edge is left unchanged.
    // 0; 1 a missing element (earlier entries written) or a null array.
    virtual int GetElementEdgeIDs(int n, const int* ids, const double* points, int* edgesOut) = 0;
    // For entry i: the two corner positions of edge edges[i] of element
    // ids[i] into pointsOut[6i..6i+5]; an element without corners (a solid)
    // is skipped. 0; 1 n below 1, a null array, or an edge outside
    // 1..corner count; 2 a missing element.
    virtual int GetEdgeCoords(int n, const int* ids, const int* edges, double* pointsOut) = 0;
    // The corner nodes of the listed edges, ascending and without
    // duplicates: *countOut ids into nodesOut (room for 2n). Same statuses as
    // GetEdgeCoords.
    virtual int GetEdgeNodes(int n, const int* ids, const int* edges, int* countOut,
                             int* nodesOut) = 0;
    // The element edges whose two corner nodes are both among nodeIds[n],
    // each unordered node pair once, for the lowest element id: *countOut
    // edges into elemsOut and edgesOut (room for one entry per pair of
    // listed nodes). 0; 1 n below 1 or a null array; 2 a missing node.
    virtual int GetElementEdgeIDsByNodes(int n, const int* nodeIds, int* countOut, int* elemsOut,
                                         int* edgesOut) = 0;

    // ---- store interfaces (owned by the model)

    virtual IVekMaterialStore* GetMaterialStore() = 0;
    virtual IVekPlyStore* GetPlyStore() = 0;
    virtual IVekOffsetStore* GetOffsetStore() = 0;
    virtual IVekPlyLayup* GetPlyLayup() = 0;
    virtual IVekPropGenSet* GetPropGenSet() = 0;
    virtual IVekLamStore* GetLamStore() = 0;
    virtual IVekCoordStore* GetCoordStore() = 0;
    virtual IVekOrientationStore* GetOrientationStore() = 0;
    virtual IVekSolidGenSet* GetSolidGenSet() = 0;
    virtual IVekResultStore* GetResultStore() = 0;

    // ---- add-in components

    // Components offering the interface `interfaceName`. With *count 0 the
    // matching components are counted into *count. With *count > 0 up to
    // *count of them are instantiated, in enumeration order, into the
    // slots of `out` (each with a reference the caller releases); *count
    // stays unchanged and unused slots are not written. 0; 1 for a null
    // count or interface name, a negative count, a null `out` with a
    // positive count, or a failed enumeration.
    virtual int GetAddins(int* count, const char* interfaceName, void** out) = 0;

    virtual ~ILayup() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_ILAYUP_H
