#ifndef PLYSTRAND_LAYUPLIB_CKPLAYUP_H
#define PLYSTRAND_LAYUPLIB_CKPLAYUP_H

#include "host/CKpGra.h"
#include "layuplib/CKpAnsys.h"
#include "layuplib/CKpBdyStore.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFile.h"
#include "layuplib/CKpLyp.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpView.h"
#include "layuplib/ILayup.h"

class CKpDB;
class CKpGUI;
class CKpNodeStore;
class CKpElemStore;
class CKpSetStore;
class CKpFacetStore;
class CKpMatStore;
class CKpPatStore;
class CKpPlyStore;
class CKpOffStore;
class CKpTol;
class CKpTolStore;
class CKpCoordStore;
class CKpOrientStore;
class CKpLamStore;
class CKpPropStore;
class CKpFieldStore;
class CKpSubLypStore;
class CKpPropGenSet;
class CKpSolidGenSet;
class CKpResStore;
class CKpCurveStore;
class CKpSelect;
class CVekAddinManager;

// CKpLayup: the one layup model. It implements ILayup, embeds the message
// log, graphics context, file record, view, ANSYS element types, the
// boundary store of the current region, the drape workspace and the layup,
// and owns every other store of the model (created by the constructor and
// by init, emptied by reinit, deleted by the destructor). It holds the host
// database and GUI adapters without owning them; the GUI adapter is handed
// to the message log and the graphics context.
//
// Every model has its own add-in manager with the seven built-in lamina
// failure criteria registered as "Builtin:Tsaiwu", "Builtin:Maximum",
// "Builtin:Hill", "Builtin:Hoffman", "Builtin:Hankinson", "Builtin:Cowin"
// and "Builtin:User" under "IVekAddinFailureLamina", and the search path
// read from the environment variable VEKAddinPath at construction.
//
// The operations of ILayup are documented there. Read, with KorReadPre and
// KorReadPost around it when `clear` is set, takes format 1 (STL, corners
// merged at 1e-12), 2 (solver bulk data), 3 (solver printed output), 4
// (solver binary output), 5 (host neutral file of the file record's name),
// 7 (ANSYS CDB), 8 (ANSYS binary results; results attach to elements
// already in the model, so they are read with clear 0), 9 (ESAComp results)
// and 11 (the host database; without an adapter -1, no message); 6 reads
// nothing; a failed read reports "Read failed." and returns -1; other codes
// "Unsupported format %d". Write takes
// formats 1, 2, 7, 10 (XML layup) and 11. Import brings plies from another
// CKpLayup (ImportLayup, PlyImport.h); a null source, one of another kind
// or this model itself is refused with an error and -1.
// The ply boundary and pattern queries are defined in CKpLayupPattern.cpp.
class CKpLayup : public ILayup {
  public:
    // Stores both adapters (either may be null), creates every member and
    // registers the built-in failure criteria.
    CKpLayup(CKpDB* db, CKpGUI* gui);
    // Empties the model (reinit) and deletes what it owns; the message log
    // closes an open message file last.
    ~CKpLayup() override;
    CKpLayup(const CKpLayup&) = delete;
    CKpLayup& operator=(const CKpLayup&) = delete;

    // ---- ILayup, in slot order
    int GetVersions(int* apiVersion, int* fileVersion, int* libVersion) override;
    int OpenMessage(const char* path) override;
    int CloseMessage() override;
    void SetMessage(EMsgTyp type, const char* text) override;
    void SetMessageStoreParams(int maxCount, double maxAge) override;
    void FlushMessageStore() override;
    int GetFirstMessageInStore(double age, EMsgTyp& type, char* text, int textSize) override;
    // Also refused, before the model is emptied, with an error message and
    // -1: a negative count, a null array with a positive count, a width
    // smaller than the node count of an element's topology, and a node
    // coordinate that is not finite ("Node <id> has a non-finite
    // coordinate.").
    int NewLayupMesh(int nNodes, const int* nodeIds, const double* xyz, int nElems,
                     const int* elemIds, const int* patchIds, const int* topologies, int width,
                     const int* connectivity, double mergeTolerance, double unused) override;
    int NewLayup(double mergeTolerance, double unused) override;
    // Before the model is emptied, the file is checked (lyp_file_problem):
    // a path that does not exist, a directory, an empty file, a gzip stream
    // that does not inflate or a file whose first record is not the header
    // 000 gives the error "Could not open file '%s' for reading. The file
    // <reason>." or "Layup file '%s' is not a layup file: ...", then "Could
    // not read layup file '%s'", and -1 with the model as it was. A file
    // that fails while it is read (a cut file, a bad record) leaves the
    // model empty after the reader's message and "Could not read layup file
    // '%s'"; -1.
    int OpenLayup(const char* path, int compressed) override;
    int Read(EFormat format, const char* path, int clear, int flags, const char* extra) override;
    int Write(EFormat format, const char* path, int what, int results, int option,
              int binary) override;
    int CheckMatch(ILayup* other) override;
    int Import(ILayup* source, int areaCount, const int* areaIds, double angleTolerance,
               double distanceTolerance, int normalCalculation, double splitWidth, int importLayup,
               int plyCount, int* flags, int* uncoveredCount, int* uncoveredIds) override;
    int SaveLayup(const char* path, int detail, int compress) override;
    int CloseLayup() override;
    int MergeFree(double tolerance) override;
    int SewFree(double tolerance) override;
    int GetNumElems(int* count) override;
    int GetElemIds(int count, int* ids) override;
    int RestoreArea() override;
    int RestoreAndSelectArea(int n, const int* ids) override;
    int SelectAreaEID(int n, const int* ids, int order) override;
    int GetElemIntersect(int n, const int* ids, const double* point, const double* direction,
                         int* elemOut, double* pointOut, double* normalOut) override;
    int PlotElemEdges(int all) override;
    int EraseElemEdges() override;
    int CreateSetsPatches() override;
    int GetMeshSizes(int* nNodes, int* nElems, int* width) override;
    int GetMesh(int nNodes, int* nodeIds, double* xyz, int nElems, int* elemIds, int* patchIds,
                int* topologies, int width, int* nodes) override;
    int GetSubMesh(int n, const int* ids, double* xyz, int* xyzCount, int* quads, int* quadCount,
                   int* trias, int* triaCount) override;
    IVekSelect* GetSelect() override;
    int GetElementEdgeIDs(int n, const int* ids, const double* points, int* edgesOut) override;
    int GetEdgeCoords(int n, const int* ids, const int* edges, double* pointsOut) override;
    int GetEdgeNodes(int n, const int* ids, const int* edges, int* countOut,
                     int* nodesOut) override;
    int GetElementEdgeIDsByNodes(int n, const int* nodeIds, int* countOut, int* elemsOut,
                                 int* edgesOut) override;
    IVekMaterialStore* GetMaterialStore() override;
    IVekPlyStore* GetPlyStore() override;
    IVekOffsetStore* GetOffsetStore() override;
    IVekPlyLayup* GetPlyLayup() override;
    IVekPropGenSet* GetPropGenSet() override;
    IVekLamStore* GetLamStore() override;
    IVekCoordStore* GetCoordStore() override;
    IVekOrientationStore* GetOrientationStore() override;
    IVekSolidGenSet* GetSolidGenSet() override;
    IVekResultStore* GetResultStore() override;
    int GetAddins(int* count, const char* interfaceName, void** out) override;

    // ---- further operations, in slot order after those of ILayup

    // Divides the faceted surface along n element edges: edge edges[i]
    // (numbered from 1) of element elemIds[i]. 0 on success.
    virtual int CutAreaEID(int n, const int* elemIds, const int* edges);
    // ---- Ply boundary and holes. Each call traces the region of the ply
    // named `plyName` afresh (CKpBdyStore::CreatePlyBoundary on a temporary
    // store) and leaves the working surface selected as that region: the
    // ply's elements with their orders, its split edges divided, the
    // elements inside holes selected as interior elements.

    // *contours: number of rings (outer ring + holes); *points: their
    // points (segments + 1 per ring). 0 always; the counts stay as they
    // were when the region cannot be traced (the reason is logged, e.g.
    // "Could not find ply '<name>'."). Either pointer may be null.
    virtual int GetPlyBoundaryNum(const char* plyName, int* contours, int* points);
    // The rings as points (CKpBdyStore::GetPoints): pointCounts[contours]
    // points per ring (the last repeats the first), xyz[3 * points] x y z
    // per point, nodeIds[points] the node id per point; a null array is
    // not written. `contours` and `points` must equal the counts of
    // GetPlyBoundaryNum: -1 with the error "LayupGetPlyBoundary: The
    // allocated contour array size %d is not equal to the number of
    // contours %d." (checked first) or "... point array size ...", and -1
    // with "LayupGetPlyBoundary: There are no contours and points
    // defined." when the region has none (also when it cannot be traced).
    // Nothing is written on -1.
    virtual int GetPlyBoundary(const char* plyName, int contours, int points, int* pointCounts,
                               double* xyz, int* nodeIds);
    // *count: number of elements inside the holes of the region (0 without
    // holes or when the region cannot be traced). 0 always; `count` may be
    // null.
    virtual int GetPlyHolesNum(const char* plyName, int* count);
    // The ids of the elements inside the holes, ascending, into
    // elemIds[count]. 0; 1 when the region cannot be traced; 2 (nothing
    // written) when `count` differs from GetPlyHolesNum's count or
    // elemIds is null with a count above 0.
    virtual int GetPlyHoles(const char* plyName, int count, int* elemIds);

    // ---- The current drape grid as numbered points. A grid point (i, j)
    // in use gets an output number; its neighbours are given as output
    // numbers, -1 for none. mode 0: every point is in use and each
    // direction in which a point is not joined adds an end point (where
    // the fibre ran out; the point's own position when it never did);
    // mode non-zero: points that hang on the outline by one join are
    // dropped ("Removing lonely point (%d,%d)." each) and open directions
    // give -1.

    // *count: number of points (with mode 0, end points included) that
    // GetDrapedPattern with the same mode writes. Writes each drape point's
    // output index (CKpDrapePt::SetIx: 0 in use, -1 dropped). 0; -1 with an
    // error for a null count.
    virtual int GetDrapedPatternSizes(int mode, int* count);
    // Must follow GetDrapedPatternSizes with the same mode. Numbers the
    // points in use row by row (j upwards, within a row i upwards), each
    // followed (mode 0) by its end points in the order +i, +j, -i, -j, and
    // writes per number k (all arrays of `size`): xyz[3k..3k+2] position,
    // elemIds[k] element of its facet (0 when none), shear[k] shear angle
    // in degrees (an end point takes its point's), and the neighbour
    // numbers minusI/plusI/minusJ/plusJ[k]. An end point's only neighbour
    // is its point, in the direction back to it. 0; -1 with nothing
    // written after the error "Number of points %d must not be greater
    // than array size %d." or when an array is null.
    virtual int GetDrapedPattern(int mode, int size, int* minusI, int* plusI, int* minusJ,
                                 int* plusJ, int* elemIds, double* xyz, double* shear);

    // ---- The flat pattern of the current drape as point rings (outer
    // pattern first, then one per hole); only the points kept by thinning
    // (plot flag set) count.

    // *rings: number of patterns; *points: their kept points. 0; -1 when
    // there is no flat pattern (nothing written). Either pointer may be
    // null.
    virtual int GetFlatPatternSizes(int* rings, int* points);
    // For each of the first `rings` patterns, its kept points as (step x
    // u, step x v, 0) (model length units, fabric frame; step = the
    // current pattern's step in use) into xyz (room for `size` points, 3
    // doubles each), stopping when `size` points are written; counts[r]
    // the number written for pattern r (0 for r beyond the patterns). 0;
    // -1 without flat pattern or current pattern, or with an error for a
    // negative count or size or a null array that would be written.
    virtual int GetFlatPattern(int rings, int size, int* counts, double* xyz);

    // ---- Mapping between the flat pattern and the draped surface of the
    // current drape. Flat points (u, v) are lengths in the fabric frame:
    // grid point (i, j) lies at (i step + cos(a) j weftStep, sin(a) j
    // weftStep) with a the warp-weft angle, step the step in use and
    // weftStep = step / ratio, as GetFlatPattern writes them.

    // The draped position xyz (3 doubles) of the flat point uv (2 doubles):
    // the mean of the points reached by fibres traced over the surface
    // from the existing corners of the fabric cell holding uv; *elemId
    // (when elemId is given) the element of the reached point nearest to
    // that mean. 0; -1 with the error "No current draping simulation."
    // without pattern; -1 when no corner reaches the point (nothing
    // written).
    virtual int Get3DFrom2D(const double* uv, double* xyz, int* elemId);
    // The flat point uv (2 doubles) of the 3-D point xyz (3 doubles): xyz
    // is projected onto the selected surface (error "Cannot project 3D
    // point onto selected surface.", -1, when that fails; "The projection
    // distance of %g is greater than the distance tolerance %g.", -1, when
    // it lies farther than `tolerance`), then placed from every drape point
    // within one warp + one weft step whose fabric cell holds it; uv is
    // the mean. 0; -1 with "No current draping simulation." without
    // pattern; -1 when no drape point places it (nothing written).
    virtual int Get2DFrom3D(const double* xyz, double tolerance, double* uv);
    // The flat pattern of the current drape as a DXF file (gen_flat_pat_dxf,
    // layuplib/gen_flat_pat_dxf.h): `layer` null names the layers after the
    // ply last simulated ("" when none); `style` "SPLINE" writes splines,
    // any other closed polylines; `flag` the option bits. 0 after the
    // information "Flat pattern exported in DXF format"; -1 after the
    // error "Could not export cutout data in DXF format".
    virtual int Export2dDXF(const char* file, const char* layer, const char* style, int flag);
    // The current drape's outline as laser projector data (ExportLaserPlyL,
    // layuplib/ExportLaserLayup.h): `kind` bit 1 appends a VK block to
    // `file`, bit 2 an AG block to `file` + ".txt"; `flag` bit 1 writes the
    // block. `plyName` null names it after the ply last simulated. The
    // faceted surface is built first when the model has none. 0 after the
    // information "Laser ply data exported"; -1 after the error "Could not
    // export laser ply data".
    virtual int Export3dLaser(const char* plyName, int kind, const char* file, int flag);

    // ---- lifecycle of the members

    // Creates every owned member that is missing (the add-in manager with
    // its registrations and search path); members that exist stay.
    void init();
    // Empties the model and keeps its objects: file record and view reset,
    // every store emptied in member order, the layup emptied, the property
    // and solid generation settings and the selection cleared. The adapters,
    // the message log (file and store), the graphics context, the ANSYS
    // element types, the global tolerance and the add-in manager stay. 0.
    int reinit();

    // Rebuilds `layup` after the plies behind it changed (replacement,
    // import, reopening): every layup ply is placed again in id order with
    // its labels, type, side, angle offset, thickness override and global
    // ply id (CreateLayupPly), after the layup was
    // emptied with DeleteLayup over `elements` and `plies`; its name and id
    // are kept. Layup ply ids, default names and instance numbers are given
    // afresh (1, 2, ... in the old order); placements that fail (the ply gone
    // or not simulated successfully) are logged by CreateLayupPly and
    // dropped. 0 (also with no layup plies); 1 for a null store or a layup
    // other than this model's; -1 after the error "Could not allocate
    // memory." (to `log`, or the model's log when null) when the layup
    // cannot be copied aside (the layup is then unchanged).
    int LayupRecreate(CKpMsg* log, CKpElemStore* elements, CKpPlyStore* plies, CKpLyp* layup);

    // Places the ply named `plyName` once more in this model's layup: a new
    // layup ply with the labels `plyGroup` and `sequence` (null: none), ply
    // type `type`, `side` (1 or -1), `angleOffset` (radians; 0 for painted
    // plies), `thicknessOverride` (0: none) and `globalPlyId`, and an entry
    // on the stack of every element the ply covers. Messages, checks and
    // results as the free CreateLayupPly of layuplib/add_layer.h: 0; -1 when
    // the ply or its pattern is missing, its drape did not succeed or the
    // placement fails (each logged).
    int CreateLayupPly(const char* plyGroup, const char* sequence, int type, const char* plyName,
                       int side, double angleOffset, double thicknessOverride, int globalPlyId);

    // ---- getters; an owned member that is missing is created first
    CKpDB* pDB() const { return m_db; }
    CKpGUI* pGUI() const { return m_gui; }
    CKpMsg* pMsg() { return &m_msg; }
    CKpGra* pGra() { return &m_gra; }
    CKpFile* pFile() { return &m_file; }
    CKpView* pView() { return &m_view; }
    CKpAnsys* pAnsys() { return &m_ansys; }
    CKpBdyStore* pBdys() { return &m_bdys; }
    CKpDrapeSim* pDrapeSim() { return &m_drapeSim; }
    CKpLyp* pLyp() { return &m_lyp; }
    CKpNodeStore* pNodes();
    CKpElemStore* pElems();
    CKpSetStore* pSets();
    CKpFacetStore* pFacs();
    CKpMatStore* pMats();
    CKpPatStore* pPats();
    CKpPlyStore* pPlys();
    CKpOffStore* pOffs();
    CKpTol* pGTol();
    CKpTolStore* pTols();
    CKpMatStore* pLamMats();
    CKpCoordStore* pCoords();
    CKpOrientStore* pOrients();
    CKpLamStore* pLams();
    CKpPropStore* pProps();
    CKpFieldStore* pFields();
    CKpSubLypStore* pSubLyps();
    CKpPropGenSet* pPropGenSet();
    CKpSolidGenSet* pSolidGenSet();
    CKpResStore* pRess();
    CKpCurveStore* pCurves();
    CKpSelect* pSelect();
    CVekAddinManager* VekAddinManager();

  private:
    // Creates the add-in manager, registers the built-ins, sets the search
    // path from VEKAddinPath and builds the enumeration list.
    void CreateAddinManager();

    CKpDB* m_db;
    CKpGUI* m_gui;
    CKpMsg m_msg;
    CKpGra m_gra;
    CKpFile m_file;
    CKpView m_view;
    CKpAnsys m_ansys;
    CKpNodeStore* m_nodes;
    CKpElemStore* m_elems;
    CKpSetStore* m_sets;
    CKpFacetStore* m_facs;
    CKpBdyStore m_bdys;
    CKpDrapeSim m_drapeSim;
    CKpMatStore* m_mats;
    CKpPatStore* m_pats;
    CKpPlyStore* m_plys;
    CKpLyp m_lyp;
    CKpOffStore* m_offs;
    CKpTol* m_gtol;
    CKpTolStore* m_tols;
    CKpMatStore* m_lamMats;
    CKpCoordStore* m_coords;
    CKpOrientStore* m_orients;
    CKpLamStore* m_lams;
    CKpPropStore* m_props;
    CKpFieldStore* m_fields;
    CKpSubLypStore* m_subLyps;
    CKpPropGenSet* m_propGenSet;
    CKpSolidGenSet* m_solidGenSet;
    CKpResStore* m_ress;
    CKpCurveStore* m_curves;
    CKpSelect* m_select;
    CVekAddinManager* m_addins;
};

// Euclidean distance between (x1, y1, z1) and (x2, y2, z2).
double PointDistance(double x1, double y1, double z1, double x2, double y2, double z2);

#endif  // PLYSTRAND_LAYUPLIB_CKPLAYUP_H
