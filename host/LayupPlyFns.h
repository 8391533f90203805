#ifndef PLYSTRAND_HOST_LAYUPPLYFNS_H
#define PLYSTRAND_HOST_LAYUPPLYFNS_H

// Ply region edits and ply queries of the exported interface (with the
// creation functions of host/LayupApi.h). Every function returns 1 when the
// model slot is empty and does nothing else. Reals cross as floats, angles
// in degrees; points are 3 floats x y z, flat points 2 floats u v (model
// lengths in the fabric frame). Messages go to the model's log.

extern "C" {

// Changes the region of the ply `name` and carries its drape over instead
// of simulating it again: the ply's pattern elements, plus the `nAdd`
// elements `add` (int[nAdd]), less the `nRemove` elements `remove`
// (int[nRemove]), are selected (unknown ids skipped), the region around the
// pattern's seed point is traced, each kept pattern element hands its drape
// results to its first facet, the facets of the new region without results
// are filled from their neighbours, and the pattern and ply elements are
// rebuilt from the facets. Elements outside the traced region leave the
// ply. The ply is then named `newName` (null or "" keeps its name). The
// layup is placed again when it uses the ply. The surface selection stays
// as the edited region.
// 0 (no message). -1 after one of the errors "Could not find specified
// ply.", "Could not find specified pattern 2", "Ply name '%s' already used."
// (`newName` held by another ply; checked before anything changes), "Start
// facet not found.", "Cannot create boundary around selected elements.",
// and -1 without a message when the surface cannot be restored, its links
// not rebuilt or the pattern elements not rebuilt.
int LayupModifyPlyEdit(const char* name, const char* newName, int nAdd, const int* add, int nRemove,
                       const int* remove);

// ---- Settings of one ply
//
// Every setting of the ply `name` (exact). Each pointer may be null: that
// item is skipped. In order:
//   type            in: required type (0 any); out: the ply's type
//   name            in: the ply's name; written back only when the ply's
//                   differs, and never longer than the given text
//   material        out: material name ("" without material)
//   nElems          in: entries of `elemIds` and `elemOrders`
//   seed, app, ref  out: 3 floats each (seed point, application and
//                   reference direction)
//   refAngle        out: degrees
//   originFlag      out: 1 when the ply has an origin with a frame, else 0;
//   origin          out: 3 floats, written only with flag 1 (both pointers
//                   needed)
//   frame           out: the frame name, at most frameSize - 1 characters
//   curveType       out: seed curve type
//   curveDir        out: "Calc", "Warp", "Bias", "Weft", "Bias2" or an angle
//   curveCounts     in: int[2], entries for the first and second seed curve
//   curveElems,     out: both curves' element ids and edge numbers, the
//   curveEdges      first curve's from entry 0, the second's from the entry
//                   after the ply's own first-curve count
//   extension, inadmMode, inadmTol, step           out
//   maxStrain, warpWeft                            out: degrees
//   ratio                                          out
//   bounds          out: 4 floats, the warp pair then the weft pair
//   nSplit          in: entries of the three split arrays
//   splitElems, splitEdges, splitValues            out
//   strains         out: 4 floats, minimum and maximum simulation shear in
//                   degrees, then minimum and maximum thickness
//   simResult       out: the simulation result (0 simulated, -1 never)
// The curve direction and edges are written only when the counts and both
// curve arrays are given; elements only when nElems > 0 and both arrays are
// given; split edges only when nSplit > 0 and the first two are given.
// 0, also when a count differs from the ply's: then that group is not
// written, with the warning "LayupGetPly: The ply axis element array sizes
// %d,%d are not equal to the number of axis elements %d,%d." (sums differ),
// the warning "LayupGetPly: The ply element array size %d is not equal to
// the number of elements %d." or the information "LayupGetPly: The ply
// split element array size %d is not equal to the number of split elements
// %d.". -1 after "Invalid ply store.", "Could not find specified ply." or
// "Ply not of specified type." (nothing written).
int LayupGetPly4(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* originFlag,
                 float* origin, char* frame, int frameSize, int* curveType, char* curveDir,
                 const int* curveCounts, int* curveElems, int* curveEdges, int* extension,
                 int* inadmMode, float* inadmTol, float* step, float* maxStrain, float* warpWeft,
                 float* ratio, float* bounds, int nSplit, int* splitElems, int* splitEdges,
                 int* splitValues, float* strains, int* simResult);
// Without the inadmissible mode and tolerance.
int LayupGetPly3(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* originFlag,
                 float* origin, char* frame, int frameSize, int* curveType, char* curveDir,
                 const int* curveCounts, int* curveElems, int* curveEdges, int* extension,
                 float* step, float* maxStrain, float* warpWeft, float* ratio, float* bounds,
                 int nSplit, int* splitElems, int* splitEdges, int* splitValues, float* strains,
                 int* simResult);
// Also without the origin group.
int LayupGetPly2(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                 float* seed, float* app, float* ref, float* refAngle, int* curveType,
                 char* curveDir, const int* curveCounts, int* curveElems, int* curveEdges,
                 int* extension, float* step, float* maxStrain, float* warpWeft, float* ratio,
                 float* bounds, int nSplit, int* splitElems, int* splitEdges, int* splitValues,
                 float* strains, int* simResult);
// Also without the split edge values.
int LayupGetPly(int* type, char* name, char* material, int nElems, int* elemIds, int* elemOrders,
                float* seed, float* app, float* ref, float* refAngle, int* curveType,
                char* curveDir, const int* curveCounts, int* curveElems, int* curveEdges,
                int* extension, float* step, float* maxStrain, float* warpWeft, float* ratio,
                float* bounds, int nSplit, int* splitElems, int* splitEdges, float* strains,
                int* simResult);

// ---- Region: boundary and holes (the model traces the region anew on
// every call and leaves it selected; results and messages are the model's)

// Rings (outer + holes) and their points (the last of a ring repeats its
// first). 0; the counts stay as they were when the region cannot be traced.
int LayupGetPlyBoundaryNum(const char* name, int* contourCount, int* pointCount);
// contourSizes[contourCount], points[3 * pointCount], pointIds[pointCount]
// (node ids). The counts must equal LayupGetPlyBoundaryNum's. 0; -1 with the
// model's error, nothing written.
int LayupGetPlyBoundary(const char* name, int contourCount, int pointCount, int* contourSizes,
                        float* points, int* pointIds);
// Elements inside the ply's holes.
int LayupGetPlyHolesNum(const char* name, int* count);
// Their ids, ascending, into elementIds[count]. 0; 1 when the region
// cannot be traced; 2 when the count differs (nothing written).
int LayupGetPlyHoles(const char* name, int count, int* elementIds);

// ---- Drape results (the ply is simulated again first when the model's
// drape workspace holds another ply)

// Drape points; with trim non-zero only those inside the ply's outline.
// The ply's result; -1 after "Invalid ply store." or "Ply name '%s' does
// not exist.".
int LayupGetPlyDrapedPatternNum(const char* name, int trim, int* pointCount);
// Per point k < pointCount: neighbour point numbers along the first grid
// index (previous, next) and the second (previous, next), -1 where not
// joined; element id; points[3k..3k+2]; angles[k] shear in degrees. The
// ply's result (outputs written only on 0); 1 after "Invalid ply store.",
// 2 after "Ply name '%s' does not exist.", 3 when the temporary arrays
// cannot be allocated.
int LayupGetPlyDrapedPattern(const char* name, int trim, int pointCount, int* previousFirst,
                             int* nextFirst, int* previousSecond, int* nextSecond, int* elementIds,
                             float* points, float* angles);
// Rings and kept points of the flat pattern. As the draped count.
int LayupGetPlyFlatPatternNum(const char* name, int* contourCount, int* pointCount);
// contourSizes[contourCount], points[3 * pointCount] (u, v, 0), origin[3]
// the seed point, axes[9] the placing frame with entries 3j..3j+2 the x y z
// of axis j (fibre axis, across, normal). origin and axes may be null.
// Statuses as the draped pattern.
int LayupGetPlyFlatPattern(const char* name, int contourCount, int pointCount, int* contourSizes,
                           float* points, float* origin, float* axes);

// The draped point[3] of flatPoint[2] and the element under it (0 when
// none; written by the model). The ply's result: point written only on 0.
// -1 after "Invalid ply store." or "Ply name '%s' does not exist.", and for
// a null flat point.
int LayupGetPly3DFrom2D(const char* name, float* flatPoint, float* point, int* elementId);
// The flatPoint[2] of point[3], projected onto the ply's surface no farther
// than `tolerance`. As LayupGetPly3DFrom2D.
int LayupGetPly2DFrom3D(const char* name, float* point, float tolerance, float* flatPoint);

}  // extern "C"

#endif  // PLYSTRAND_HOST_LAYUPPLYFNS_H
