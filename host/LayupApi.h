#ifndef PLYSTRAND_HOST_LAYUPAPI_H
#define PLYSTRAND_HOST_LAYUPAPI_H

// The exported function interface: the one model of the process and the
// Layup functions over it, for the host and for outside client programs.
//
// Model slot: one process-wide model, empty at load. LayupConstruct fills
// it with a model built on a new host database adapter (CMorvek) and host
// GUI adapter (CMorvekGUI); LayupDestruct deletes all three and empties it.
// Models of CreateLayupApp live outside the slot, on their caller's
// adapters.
//
// Status codes: 0 success; 1 no model in the slot (every function that
// reaches the model); 2, 3, 4 the step that failed, in the order of the
// function's steps (check, model operation, host database write-back);
// 100005 the user declined to go on after a mesh mismatch; -1 from the
// factories. Reals cross as floats and are widened to double; angles are
// degrees. One call at a time, on the host's thread.
//
// Exceptions: none leaves an exported function (of this header and of the
// headers it includes, host/LayupOut.h too). Each runs its body through
// guard_export (host/guard_export.h): an exception a standard container
// raises inside (memory exhausted, a size past the container's limit) ends
// the call with the error "<function> could not complete: <reason>." in the
// slot model's log (on standard error when the slot is empty) and the
// status -1; the two global ply id queries give 0, their "none". What the
// call changed before the exception stays changed. A function that only
// forwards to another exported function, or only returns a constant, is
// not guarded a second time.

#include "host/LayupSolid.h"

class CKpDB;
class CKpGUI;
class ILayup;

// The slot's model; null when empty. For the other exported functions.
ILayup* LayupSlotModel();

// Builds a model on the caller's adapters (kept by the caller) into *out;
// the slot is not touched. 0; -1 for a null `out` or when the model cannot
// be allocated (*out untouched).
int CreateLayupApp(CKpDB* db, CKpGUI* gui, ILayup** out);
// Deletes a model made by CreateLayupApp. 0; -1 for null.
int DeleteLayupApp(ILayup* model);

extern "C" {

// Kind 0 only; the two texts are accepted and not read. 0; 1 after "A Layup
// object cannot be created as one is already defined." (error, in the
// existing model's log) when the slot is full; 2 for another kind (nothing
// created).
int LayupConstruct(int kind, const char* a, const char* b);
// 0; 1 when the slot is empty.
int LayupDestruct(void);

// The message file: ILayup::OpenMessage / CloseMessage's results.
int LayupOpenMessage(const char* path);
int LayupCloseMessage(void);

// A new model from arrays (ILayup::NewLayupMesh), coordinates as 3 floats
// per node. A negative node count or null coordinates go to the model
// unconverted, which refuses them with its message. The operation's result.
int LayupNewLayupMesh(int nNodes, int* nodeIds, float* xyz, int nElems, int* elemIds, int* values,
                      int* topologies, int width, int* connectivity, float tolerance, float b);
// A new model from the host database (ILayup::NewLayup).
int LayupNewLayup(float tolerance, float b);

// LayupOpenLayup2 with check flag 1.
int LayupOpenLayup(const char* path, int compressed);
// Opens a layup file (2 when that fails). With check flag 1 and an open host
// database, the file's mesh is compared with the database's; on a
// difference its free edges are drawn (segment 6), the user is asked
// (question 100005, type 1029) and segment 6 is deleted: answer 1 gives 0,
// any other 100005. 3 when the comparison model cannot be allocated. The
// opened file stays loaded.
int LayupOpenLayup2(const char* path, int compressed, int check);
int LayupSaveLayup(const char* path, int detail, int compress);
int LayupCloseLayup(void);
int LayupGetVersions(int* api, int* file, int* lib);

// Reads into the model and writes what was read back into the host
// database when one is open. 2 after "Cannot import model data as model
// already exists." when the content mask is nonzero (always for
// LayupKorRead, LayupImportMorvek25, LayupFemapAccess) and the model has
// elements; 3 when the read fails; 4 when the write-back fails.
int LayupRead(int format, const char* path, int mask, int results);
int LayupRead2(int format, const char* path, int mask, int results, const char* path2);
int LayupKorRead(const char* path, int unused);
int LayupKorF06Read(const char* path, int mask, const char* path2, int results);
int LayupKorOp2Read(const char* path, int mask, int results);
int LayupImportMorvek25(const char* path);
// Format 6 has no reader: 3 (2 on a model with elements). Arguments unread.
int LayupFemapAccess(int a, const char* b);

// ILayup::Write (format, path, mask, results, int, option): 0; 2 for any
// nonzero result.
int LayupWrite(int format, const char* path, int option, int mask);
int LayupWrite2(int format, const char* path, int option, int mask, int results, int c);
// Writes bulk data: with an open host database the database's model (read
// into a temporary model), else the slot's. The result of Write.
int LayupKorWrite(const char* path, int unused, int e);

// Ply import from layup files onto the model; the angle in degrees.
int LayupImportPly(int a, int* ids, int nFiles, char** files, float angle, float b, int c, int d,
                   int e, int f, float g);
int LayupImportPly2(int a, int* ids, int nFiles, char** files, float angle, float b, int c, int d,
                    int e, int f, float g, int* out1, int* out2);
int LayupImportPly3(int a, int* ids, int nFiles, char** files, float angle, float b, int h, int c,
                    int d, int e, int f, float g, int* out1, int* out2);

// The layup (host/LayupLayupFns.h has the details): created from arrays
// (angle offsets in degrees; LayupCreateLayup without groups and
// sequences) or from the host's laminates, emptied (the int is not read),
// read back, and each element's ply stack. Texts are copied into the
// caller's buffers, 255 characters at most.
int LayupCreateLayup2(const char* name, int count, char** plyGroups, char** sequences, int* types,
                      char** plyNames, int* instanceCounts, int* sides, float* angleOffsets,
                      float* thicknessOverrides, int* globalPlyIds);
int LayupCreateLayup(const char* name, int count, int* types, char** plyNames, int* instanceCounts,
                     int* sides, float* angleOffsets, float* thicknessOverrides, int* globalPlyIds);
int LayupCreateLayupLaminate(void);
int LayupDeleteLayup(int unused);
int LayupGetLayupSizes(int* count);
int LayupGetLayup2(char* name, int count, char** plyGroups, char** sequences, int* types,
                   char** plyNames, int* instances, int* sides, float* angleOffsets,
                   int* globalPlyIds);
int LayupGetLayup(char* name, int count, int* types, char** plyNames, int* instances, int* sides,
                  float* angleOffsets, int* globalPlyIds);
int LayupGetLayupElementSize(int elemId, int* count);
int LayupGetLayupElement(int elemId, float* normal, int count, char** plyNames, int* types,
                         int* instances, int* directions, char** materialNames,
                         char** externalMaterialNames, float* thicknesses, float* referenceAngles,
                         float* rotations, int* globalPlyIds);
int LayupGetLayupElemGPlyID(int elemId, int layer);

// Materials of the slot's model with all their states. Reals cross as
// floats, angles (warp-weft, maximum strain, state keys) in degrees. The 42
// state values come in this order: Ex Ey Ez Nuxy Nuyz Nuzx Gxy Gyz Gzx, the
// C terms C14 C15 C16 C24 C25 C26 C34 C35 C36 C45 C46 C56, Alpx Alpy Alpz A4
// A5 A6, Fxt Fyt Fzt Fxc Fyc Fzc Fs12 Fs23 Fs31 F12 F23 F31, density Tref
// Ge. State arrays hold entry 0 for the base state and entry i for further
// state i (n + 1 entries for n further states); key entry 0 is not read.
// Output texts are copied whole: the caller's buffers must hold the longest
// name of the model. 0; -1 with an error message in the model's log.

// A new material: its name must be new in the store (else "Could not name
// material '%s'", nothing kept). Painted (1) is stored as projected. A
// further state whose key another state holds is skipped with a warning.
int LayupCreateMaterial(int type, const char* name, float thickness, float warpWeft,
                        float maxStrain, int n, const float* keys, char** externalNames,
                        const int* externalIds, const int* tropies, const float* ex,
                        const float* ey, const float* ez, const float* nuxy, const float* nuyz,
                        const float* nuzx, const float* gxy, const float* gyz, const float* gzx,
                        const float* c14, const float* c15, const float* c16, const float* c24,
                        const float* c25, const float* c26, const float* c34, const float* c35,
                        const float* c36, const float* c45, const float* c46, const float* c56,
                        const float* alpx, const float* alpy, const float* alpz, const float* a4,
                        const float* a5, const float* a6, const float* fxt, const float* fyt,
                        const float* fzt, const float* fxc, const float* fyc, const float* fzc,
                        const float* fs12, const float* fs23, const float* fs31, const float* f12,
                        const float* f23, const float* f31, const float* density, const float* tref,
                        const float* ge);
// Replaces the whole material `name`: renamed to `newName` (not compared
// with other materials' names), base state from entry 0, further states
// rebuilt as 1..n in argument order; thickness-versus-shear coefficients 0.
int LayupModifyMaterial(int type, const char* name, const char* newName, float thickness,
                        float warpWeft, float maxStrain, int n, const float* keys,
                        char** externalNames, const int* externalIds, const int* tropies,
                        const float* ex, const float* ey, const float* ez, const float* nuxy,
                        const float* nuyz, const float* nuzx, const float* gxy, const float* gyz,
                        const float* gzx, const float* c14, const float* c15, const float* c16,
                        const float* c24, const float* c25, const float* c26, const float* c34,
                        const float* c35, const float* c36, const float* c45, const float* c46,
                        const float* c56, const float* alpx, const float* alpy, const float* alpz,
                        const float* a4, const float* a5, const float* a6, const float* fxt,
                        const float* fyt, const float* fzt, const float* fxc, const float* fyc,
                        const float* fzc, const float* fs12, const float* fs23, const float* fs31,
                        const float* f12, const float* f23, const float* f31, const float* density,
                        const float* tref, const float* ge);
// Refused (-1) while plies or laminates use the material.
int LayupDeleteMaterial(int unused, const char* name);
// Materials of type `type` (0: every type).
int LayupGetNumMaterials(int type, int* count);
// Names in ascending id order; a `size` other than the number of matching
// materials gives -1 with an information message and copies nothing.
int LayupGetMaterialNames(int type, int size, char** names);
// The material and its base state. *type: in the filter (0 any), out the
// material's type. Every pointer but the name may be null.
int LayupGetMaterial(int* type, const char* name, float* thickness, float* warpWeft,
                     float* maxStrain, char* externalName, int* externalId, int* tropy, float* ex,
                     float* ey, float* ez, float* nuxy, float* nuyz, float* nuzx, float* gxy,
                     float* gyz, float* gzx, float* c14, float* c15, float* c16, float* c24,
                     float* c25, float* c26, float* c34, float* c35, float* c36, float* c45,
                     float* c46, float* c56, float* alpx, float* alpy, float* alpz, float* a4,
                     float* a5, float* a6, float* fxt, float* fyt, float* fzt, float* fxc,
                     float* fyc, float* fzc, float* fs12, float* fs23, float* fs31, float* f12,
                     float* f23, float* f31, float* density, float* tref, float* ge);
// The number of further states.
int LayupGetNumMaterialStates(int unused, const char* name, int* count);
// Every state into arrays of one entry per state. Inside a built-in call a
// state array shorter than the state count is refused before anything is
// written.
int LayupGetMaterialStates(int type, const char* name, float* thickness, float* warpWeft,
                           float* maxStrain, int unused, float* keys, char** externalNames,
                           int* externalIds, int* tropies, float* ex, float* ey, float* ez,
                           float* nuxy, float* nuyz, float* nuzx, float* gxy, float* gyz,
                           float* gzx, float* c14, float* c15, float* c16, float* c24, float* c25,
                           float* c26, float* c34, float* c35, float* c36, float* c45, float* c46,
                           float* c56, float* alpx, float* alpy, float* alpz, float* a4, float* a5,
                           float* a6, float* fxt, float* fyt, float* fzt, float* fxc, float* fyc,
                           float* fzc, float* fs12, float* fs23, float* fs31, float* f12,
                           float* f23, float* f31, float* density, float* tref, float* ge);

// Offset regions of the slot's model. 1 also for a model without an offset
// store. Regions are walked in ascending id order; output arrays hold one
// entry per region, three per region for points and directions, and all
// regions' element ids one after another. Inside a built-in call a short
// host array is refused (-1) before anything is written.

// A new region; an empty name becomes the region's id in decimal. 2 no new
// region; 3 applying failed (the region stays).
int LayupSetOffset2(const char* name, float value, int flag, float sx, float sy, float sz, float dx,
                    float dy, float dz, int count, int* elementIds);
int LayupSetOffset(float value, int flag, float sx, float sy, float sz, float dx, float dy,
                   float dz, int count, int* elementIds);
// Removes every region. 2 when that fails.
int LayupRestoreOffset(void);
int LayupGetNoOffRegions(int unused, int* count);
int LayupGetOffRegionsSize(int unused, int* sizes);
// Names cut to nameSize - 1 characters (none below 1). 2 when a region's
// element ids cannot be read.
int LayupGetOffsetDefn2(int unused, int nameSize, char** names, float* values, int* flags,
                        int* elementIds, float* seeds, float* directions);
int LayupGetOffsetDefn(int unused, float* values, int* flags, int* elementIds, float* seeds,
                       float* directions);
// Where the line from `point` along `direction` meets the surface of the
// given elements (a zero direction: the nearest surface point). Hit point
// and normal are written always (zeros without a hit); the model's result.
int LayupGetSurfaceIntersect(int count, int* elementIds, float* point, float* direction,
                             int* hitElementId, float* hitPoint, float* hitNormal);

// Tolerance regions of the slot's model; angles in degrees, rounded to
// single precision in radians on the way in. Output arrays hold one entry
// per region (ascending id) and all regions' element ids one after
// another; inside a built-in call a short host array is refused (-1).

// A new region with the given ids that are positive and name an element
// (others skipped). 0; -1 when it cannot be made.
int LayupSetTolerance(float angle, float thickness, int count, int* elementIds);
// Sets the global pair and every element's, and removes every region. 0.
int LayupRestoreTolerance(float angle, float thickness);
int LayupGetNoTolRegions(int unused, int* count);
int LayupGetTolRegionsSize(int unused, int* sizes);
int LayupGetTolDefn(int unused, float* globalAngle, float* globalThickness, float* angles,
                    float* thicknesses, int* elementIds);

// Plies of the slot's model. Angles (reference, warp-weft, maximum strain)
// in degrees. Argument order: type, name, material, seed point, application
// direction, reference direction, reference angle, origin flag, origin
// (3), frame name, warp-weft angle, warp-weft ratio, maximum strain, step
// length, seed curve type, seed curve direction text, seed curve edge
// counts (2; null: both 0), their element ids and edge numbers (first
// curve's entries first), extension type, inadmissible mode and tolerance,
// bounds (2 pairs), element count, ids, orders, split edge count, element
// ids, edge numbers, values (null: 0).
//
// A new ply, simulated at once. Its name must be new. A failing setter or
// simulation is a warning: the ply is kept and the result is 0.
int LayupCreatePly4(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    int originFlag, const float* origin, const char* frame, float warpWeft,
                    float ratio, float maxStrain, float step, int curveType, const char* curveDir,
                    const int* curveCounts, const int* curveElems, const int* curveEdges,
                    int extension, int inadmMode, float inadmTol, float b1, float b2, float b3,
                    float b4, int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues);
// Without the inadmissible options (mode 0, tolerance 0).
int LayupCreatePly3(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    int originFlag, const float* origin, const char* frame, float warpWeft,
                    float ratio, float maxStrain, float step, int curveType, const char* curveDir,
                    const int* curveCounts, const int* curveElems, const int* curveEdges,
                    int extension, float b1, float b2, float b3, float b4, int nElems,
                    const int* elems, const int* orders, int nSplit, const int* splitElems,
                    const int* splitEdges, const int* splitValues);
// Also without an origin.
int LayupCreatePly2(int type, const char* name, const char* material, float sx, float sy, float sz,
                    float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                    int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues);
// Also without split edge values.
int LayupCreatePly(int type, const char* name, const char* material, float sx, float sy, float sz,
                   float ax, float ay, float az, float rx, float ry, float rz, float refAngle,
                   float warpWeft, float ratio, float maxStrain, float step, int curveType,
                   const char* curveDir, const int* curveCounts, const int* curveElems,
                   const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                   int nElems, const int* elems, const int* orders, int nSplit,
                   const int* splitElems, const int* splitEdges);
// A new ply from the arguments takes the place, ids and layup references
// of ply `name`, named `newName`. A new ply that fails to simulate while
// the old one had simulated is dropped (-1, old ply kept). A failed
// replacement drops the new ply (-1, "Could not replace ply '%s'.").
int LayupModifyPly4(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, int originFlag, const float* origin, const char* frame,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, int inadmMode, float inadmTol, float b1,
                    float b2, float b3, float b4, int nElems, const int* elems, const int* orders,
                    int nSplit, const int* splitElems, const int* splitEdges,
                    const int* splitValues);
// Without the inadmissible options (mode 0, tolerance 0).
int LayupModifyPly3(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, int originFlag, const float* origin, const char* frame,
                    float warpWeft, float ratio, float maxStrain, float step, int curveType,
                    const char* curveDir, const int* curveCounts, const int* curveElems,
                    const int* curveEdges, int extension, float b1, float b2, float b3, float b4,
                    int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues);
// Also without an origin.
int LayupModifyPly2(int type, const char* name, const char* newName, const char* material, float sx,
                    float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                    float refAngle, float warpWeft, float ratio, float maxStrain, float step,
                    int curveType, const char* curveDir, const int* curveCounts,
                    const int* curveElems, const int* curveEdges, int extension, float b1, float b2,
                    float b3, float b4, int nElems, const int* elems, const int* orders, int nSplit,
                    const int* splitElems, const int* splitEdges, const int* splitValues);
// Also without split edge values.
int LayupModifyPly(int type, const char* name, const char* newName, const char* material, float sx,
                   float sy, float sz, float ax, float ay, float az, float rx, float ry, float rz,
                   float refAngle, float warpWeft, float ratio, float maxStrain, float step,
                   int curveType, const char* curveDir, const int* curveCounts,
                   const int* curveElems, const int* curveEdges, int extension, float b1, float b2,
                   float b3, float b4, int nElems, const int* elems, const int* orders, int nSplit,
                   const int* splitElems, const int* splitEdges);
// Found by name; the id is not read. Refused (-1) while the ply is used.
int LayupDeletePly(int unused, const char* name);

// Plies of type `type` (0: every type).
int LayupGetNumPlies(int type, int* count);
// Names and simulation results in ascending id order; a `size` other than
// the number of matching plies gives -1 with an information message and
// copies nothing.
int LayupGetPlyNames(int type, int size, char** names, int* results);
// The array sizes LayupGetPly4 needs: element count, split edge count and
// the two seed curves' edge counts (int[2]).
int LayupGetPlySizes(int type, const char* name, int* elementCount, int* splitEdgeCount,
                     int* seedCurveEdgeCounts);

}  // extern "C"

// ---- Laminates ----
// Laminate queries over the property-generation set's laminate store (the
// model's) and the elements' pid. 1 when the slot is empty.
extern "C" {

// Sets up the property-generation set (cleared first; angles in degrees)
// for the elements (count -1: every element) and runs it, then writes the
// counts of what it made: frames, fields and their elements, generated
// materials, laminates and layers (these two may be null), property sets,
// words and elements. The property counts are 0 first: a property set
// without words ends the counting after "LayupGetNumProps(): No property
// words defined.". 0; 1 without a set; 2 when generation fails (nothing
// written).
int LayupCreateLaminate(int nElems, int* ids, char* name, int* options, int mode, int coord0,
                        int coord1, float* vector0, float* vector1, float* switchAngle,
                        float* angTol, float* thickTol, int firstCoord, int firstField,
                        int firstLam, int firstProp, int ignoreThickness, int equallySpaced,
                        int shearCorrection, int* nCoords, int* nFields, int* nFieldElems,
                        int* nMats, int* nLams, int* nLayers, int* nPropSets, int* nWords,
                        int* nPropElems);
// Empties the property-generation set. 0; 1 without a set.
int LayupClearLaminate(void);
// Source 2: the property-generation set's laminates, 3: the solid
// generation's. Writes the laminate count and the total layer count (each
// when given). 0; 1 for another source or without a set or store (nothing
// written).
int LayupGetNumLams2(int source, int* count, int* layers);
int LayupGetNumLams(int* count, int* layers);
// Every laminate of the source (see LayupGetNumLams2) in ascending id
// order: name, description "generated by Plystrand", flag 1, layer count,
// offset ("%16.8G"), action "Create"; the layers of all laminates one after
// the other: material and external material names ("NO MAT REF" without a
// material; the material name, with a note, when the external one is not
// set), thickness, angle in degrees folded into [-90, 90], global ply id.
// The arrays are sized from LayupGetNumLams2; the two ints are not read. 0;
// 1 as LayupGetNumLams2; -1 with an error when called from a built-in with
// a host array shorter than the laminates or layers it must hold (nothing
// written).
int LayupGetLams2(int source, int a, int b, char** names, char** descriptions, int* flags,
                  int* layerCounts, char** mats, char** extMats, float* thicks, float* angles,
                  int* gplies, char** offsets, char** actions);
int LayupGetLams(int a, int b, char** names, char** descriptions, int* flags, int* layerCounts,
                 char** mats, char** extMats, float* thicks, float* angles, int* gplies,
                 char** offsets, char** actions);
// The number of materials made by property generation. 0.
int LayupGetNumMats(int* count);
// The materials made by property generation in ascending id order, entry i
// of each array for the i-th: name, and from its base state the
// directionality, Ex Ey Ez Nuxy Nuyz Nuzx Gxy Gyz Gzx C14 C15 C16 C24 C25
// C26 C34 C35 C36 C45 C46 C56, Alpx Alpy Alpz A4 A5 A6 and the density. The
// arrays are sized from LayupGetNumMats (any may be null); the int is not
// read. 0; -1 with an error when called from a built-in with a host array
// shorter than the material count (nothing written).
int LayupGetMats(int a, char** names, int* directionalities, float* ex, float* ey, float* ez,
                 float* nuxy, float* nuyz, float* nuzx, float* gxy, float* gyz, float* gzx,
                 float* c14, float* c15, float* c16, float* c24, float* c25, float* c26, float* c34,
                 float* c35, float* c36, float* c45, float* c46, float* c56, float* alpx,
                 float* alpy, float* alpz, float* a4, float* a5, float* a6, float* densities);
// The laminate `name` (overwritten with the stored name) with its layers
// in stored order, angles in degrees; texts into the caller's buffers,
// sized from LayupGetLamElemSize. Offset and layer count are 0 first. 0; -1
// for an unknown name or at the first layer whose material is missing.
int LayupGetLam(char* name, float* offset, float* nsm, float* sb, int* ft, float* tref, float* ge,
                int* lamopt, int* nLayers, char** mats, char** extMats, float* thicks,
                float* angles, int* gplies);
// The element's normal and its laminate as LayupGetLam (the five layer
// arrays may each be null). Normal, offset, layer count 0 and the name
// empty first. 0; -1 for an unknown element (nothing more written), an
// element without laminate (normal written) or a missing layer material.
int LayupGetLamElem(int elemId, float* normal, float* offset, char* name, int* nLayers, char** mats,
                    char** extMats, float* thicks, float* angles, int* gplies);
// The global ply id of layer `layer` (from 0) of the element's laminate; 0
// for a missing element or laminate, a pid below 1 or a layer out of range.
int LayupGetLamElemGPlyId(int elemId, int layer);
// The largest layer count of the model's laminates (0 without any). 0.
int LayupGetLamElemSize(int* largest);
// For each named laminate, the number of elements referring to it and
// their ids in ascending order, all laminates one after the other in
// `ids`. An unknown name counts 0. 0; -1 after "Could not allocate
// memory.".
int LayupGetLamsElems(int nLams, char** names, int* counts, int* ids);
// Checks the elements' laminates (count -1: every element) against the
// switched-on rules (10 switches, colours and widths, 20 parameters; angle
// tolerance in degrees), on the host database's model when a database is
// open. Failing elements are drawn in segment 705; with *resultSize (the
// capacity in ints) above 0, 11 ints per failing element while they fit
// and the ints written back into *resultSize. The check's result.
int LayupVerifyLaminate(int nElems, int* ids, float* direction, float angTol, float relTol,
                        int* tests, int* colours, float* limits, float* widths, int* resultSize,
                        int* results);
// Groups the host database's laminates that are equal within the
// thickness (percent) and angle (degrees) tolerances: *count laminates,
// ids[k] each laminate id in ascending order and heads[k] the id of the
// first laminate of its group. The arrays hold one entry per laminate of the
// host database. Leaves the model's laminate store empty and every element's
// pid 0. 0; -1 after "LayupCompressLaminate() only usable with attached
// database." (nothing changes) or "Could not allocate memory."; -1 with an
// error when called from a built-in with an id array shorter than the host's
// laminate count (*count written, the arrays not).
int LayupCompressLaminate(float thickTol, float angTol, int* count, int* ids, int* heads);
// Deletes the verification drawing (segment 705). 0.
int LayupVerifyLaminateReset(void);

}  // extern "C"

// ---- Mesh checks ----
// Each check draws one aspect of the shell mesh into its own segment and
// reports nothing: faces 11, nodes 12, free edges 13, branch edges 14,
// normals 15, normal boundaries 16, duplicate elements 17, node order 18,
// host material orientations 19, feature edges 20. Plot: 1 when the slot is
// empty, else 0 (LayupPlotElemDuplicates -1 after "Could not allocate
// memory."). Erase: 1 when the slot is empty, else the segment is deleted
// and 0. The orientation check empties the orientation store before and
// after drawing the host's orientations.
extern "C" {

int LayupPlotElemFaces(void);
int LayupEraseElemFaces(void);
int LayupPlotElemNodes(void);
int LayupEraseElemNodes(void);
int LayupPlotElemFreeEdges(void);
int LayupEraseElemFreeEdges(void);
int LayupPlotElemBranches(void);
int LayupEraseElemBranches(void);
int LayupPlotElemNormals(void);
int LayupEraseElemNormals(void);
int LayupPlotElemNormalBoundaries(void);
int LayupEraseElemNormalBoundaries(void);
int LayupPlotElemDuplicates(void);
int LayupEraseElemDuplicates(void);
int LayupPlotElemConnectivities(void);
int LayupEraseElemConnectivities(void);
int LayupPlotElemMaterialOrients(void);
int LayupEraseElemMaterialOrients(void);
// Edges shared by two facets whose normals differ by at least `angle`
// degrees (opposite normals count as parallel).
int LayupPlotElemFeatureAngles(float angle);
int LayupEraseElemFeatureAngles(void);

}  // extern "C"

// Failure criteria, failure analysis, sorts and result queries.
#include "host/LayupResults.h"
#include "host/LayupPlot.h"
#include "host/LayupSelect.h"
#include "host/LayupQuery.h"
#include "host/LayupPlyFns.h"

#endif  // PLYSTRAND_HOST_LAYUPAPI_H
