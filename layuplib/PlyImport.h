#ifndef PLYSTRAND_LAYUPLIB_PLYIMPORT_H
#define PLYSTRAND_LAYUPLIB_PLYIMPORT_H

// Ply import: plies, with their patterns, materials and offsets (and
// optionally the layup), copied from another model onto an area of the
// target model's mesh. Source elements are carried over through the element
// lookup table (CreateElementLookupTable.h); clashing names are settled with
// the user through the target's message log (questions 100001/2821 preview,
// 100002/3333 material name, 100003/2821 ply name; answers 1 yes, 2 no,
// 3 yes to all, 4 abort, 5 no to all).

#include <string>

class CKpBdyStore;
class CKpCurveStore;
class CKpFacetStore;
class CKpIdStore;
class CKpLayup;
class CKpMsg;
class CKpPlyStore;

// Imports the plies of each file entry onto the area. An entry is a layup
// file (plain or gzip), or "<bulk data file> -bdfwpwt <ply name>": "-bdf"
// starting a word marks bulk data, whose laminates become plies
// (CreatePlysLams.h). Each source ply is previewed and confirmed
// (SetImportPlyFlags), then imported (ImportLayup). With `mergeNodes` the
// source's coincident nodes are merged first; with `boundaryCurves` the
// outline of each confirmed ply becomes a curve of the target (the target's
// curves are emptied first). Unreadable files are reported and skipped.
// With `uncoveredCount` given, the area ids no file covered are returned in
// ascending order (`uncoveredIds` must hold areaCount ids).
// 0; -1 for a null target or when memory runs out.
int ImportMultipleLayups(CKpLayup* target, int areaCount, const int* areaIds, int fileCount,
                         const char* const* files, double angleTolerance, double distanceTolerance,
                         int normalCalculation, int importLayup, int preview, int mergeNodes,
                         int boundaryCurves, double splitWidth, int* uncoveredCount,
                         int* uncoveredIds);

// Decides for each source ply (ascending id, flag i for the i-th) whether it
// is imported: a ply whose region can be traced gets flag 1; with `preview`
// the region is drawn and the user asked; with `boundaryCurves` the outline
// of each accepted ply is stored as a curve named after it in the target.
// Plies without elements keep flag 0. 0; -1 on abort (flags set before
// stand, the aborted ply's is 0), for null models or flags, or when
// `plyCount` is below the number of source plies.
int SetImportPlyFlags(CKpLayup* target, CKpLayup* source, const char* fileName, int plyCount,
                      int* flags, int preview, int boundaryCurves);

// Imports the source plies whose flag is 1 (all without flags) onto the
// area of the target. Ply, pattern and material names are made unique
// (NameIncrement); equal materials are shared. Each ply gets event 3 when
// the meshes matched element for element, else 4. Projected plies are
// simulated afterwards; offsets and, with `importLayup`, the layup come
// along. 0; -1 on abort, for a missing pattern or material of a source ply,
// a null model, fewer flags than source plies, or when memory runs out
// (also when a ply, pattern or copied material finds no id left above the
// highest of its store: "Could not add pattern" for a pattern, else "Could
// not allocate memory.", and nothing of that ply is made). Plies imported
// before a failure stay. An offset that cannot be made (ImportOffsets) gives
// -1 too, after the layup and the uncovered ids were done.
int ImportLayup(CKpLayup* target, CKpLayup* source, int areaCount, const int* areaIds,
                double angleTolerance, double distanceTolerance, int normalCalculation,
                double splitWidth, int importLayup, int plyCount, const int* flags,
                int* uncoveredCount, int* uncoveredIds);

// Copies each source offset whose elements reach target elements through
// the lookup references (kept on the source elements) onto those target
// elements, under the next free offset id, and applies it ("Could not apply
// offset '%s' on elements" as a warning when that fails). 0; -1 for a null
// model, and after "Could not allocate memory." when an offset cannot be made
// (also when no id is left above the highest).
int ImportOffsets(CKpLayup* target, CKpLayup* source);

// Stores the outer ring of `bdys` once around as a curve of type 2 named
// `name` (the first vertex of each segment). An empty store makes no curve.
// 0; -1 for null arguments or when memory runs out.
int CreateBoundaryCurve(CKpMsg* msg, CKpFacetStore* facets, CKpBdyStore* bdys, const char* name,
                        CKpCurveStore* curves);

// Adds a curve (next free id, `name`, `type`, a copy of the `count` points
// of `xyz`) to `curves`. 0; -1 for null arguments or when memory runs out
// or no id is left above the highest ("Could not allocate memory.").
int CreateCurve(CKpMsg* msg, const char* name, int type, int count, const double* xyz,
                CKpCurveStore* curves);

// Moves the first blank-delimited word of `text` into `word` and removes it
// and the blanks after it from `text`. 0.
int GetSwitch(std::string& text, std::string& word);

// Adds `id` to `ids` when it is positive and not yet there. 0; -1 for a
// null store or when memory runs out.
int AddIdToStore(CKpIdStore* ids, int id);

// Simulates each ply of `plies` whose id is in `ids` and whose type is
// projected (2), in ascending id order. 0; -1 for a null store.
int SimulateProjectedPlies(CKpPlyStore* plies, CKpIdStore* ids);

#endif  // PLYSTRAND_LAYUPLIB_PLYIMPORT_H
