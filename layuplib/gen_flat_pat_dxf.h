#ifndef PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_DXF_H
#define PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_DXF_H

#include <cstdio>

class CKpBdyStore;
class CKpDrape;
class CKpFacetStore;
class CKpFile;
class CKpFlatPat;
class CKpFlatPatStore;
class CKpMsg;
class CKpPat;
class CKpPoint;
class CKpPointArray;

// ASCII DXF files of a ply's flat pattern (2D polylines or fitted splines
// with the fibre axes) and of its draped pattern (3D polylines over the
// mould surface). Files are written in text mode; a file holds an empty
// HEADER section, a TABLES section declaring only the text style
// "STANDARD" and the layer "1", and the ENTITIES section, then "EOF".
// Errors go to `log`. A null layer name counts as "".

// The flat pattern: s = pattern->stepUsed(), theta the warp/weft angle
// (radians); outline points (u s, v s) in model units.
// options (bits): 1 the outer (first) outline, 32 every outline, 2 the warp
// axis (layer + "_princ_warp", from (umin s, 0) to (umax s, 0)), 4 the
// fill axis (layer + "_princ_fill", from (vmin s cot theta, vmin s) to
// (vmax s cot theta, vmax s); skipped with the warning "Fill axis skipped:
// warp/weft angle %g degrees." when |sin theta| < 1e-9); bounds of the
// outer outline. Outlines go on `layer` in style `style` (SaveDxfFlatPat).
// 0; -1 after "No pattern data defined.", "No flat pattern defined.",
// "Could not open file '%s' for writing." or "Could not close file." (a
// write or the close failed).
int gen_flat_pat_dxf(CKpMsg* log, const CKpFile* file, const CKpPat* pattern,
                     CKpFlatPatStore* flats, const char* layer, const char* style, int options);

// One outline from its plotted points (plot flag not 0). Style "SPLINE"
// (exactly): a chain of splines meeting at the outline's corners (plot
// flag 2), handles from 0x101 for each outline. Any other style: one
// closed 2D polyline (nothing for fewer than 2 plotted points). 0.
int SaveDxfFlatPat(CKpMsg* log, FILE* fp, const CKpPat* pattern, CKpFlatPat* flat,
                   const char* layer, const char* style);

// The draped pattern, layers `layer` + "_bound" (option 1, the boundary's
// outer ring, closed on its first point), "_princ_warp" (2, j = 0),
// "_princ_fill" (4, i = 0), "_warp" (8, j != 0), "_fill" (16, i != 0).
// A fibre is a 3D polyline from its backward boundary crossing through its
// grid points to its forward crossing; a missing grid point splits it, and
// a polyline still open at the end of the index range is ended there. 0;
// -1 after "Could not open file '%s' for writing." or "Could not close
// file.".
int gen_draped_pat_dxf(CKpMsg* log, const CKpFile* file, CKpFacetStore* facets, CKpBdyStore* bdys,
                       CKpDrape* grid, const char* layer, int options);

// One step of a fibre at grid point (i, j); backDir 2 steps +i (warp), 3
// steps +j (fill). `open` (in/out) is 1 while a polyline is open.
void SaveDxfFibre(FILE* fp, const char* layer, CKpDrape* grid, int i, int j, int backDir,
                  int& open);

// The fixed sections. 0.
int SaveDxfHeader(FILE* fp);
int SaveDxfTables(FILE* fp);

// A 3D polyline: its start, one vertex, its end ("SEQEND").
void SaveDxfPolylineBegin(FILE* fp, const char* layer);
void SaveDxfPolylineEnd(FILE* fp, const char* layer);
void SaveDxfVertex(FILE* fp, const char* layer, const CKpPoint& point);

// A 2D polyline through the array's entries (x, y); closed when `closed`
// is not 0. 0; -1 with nothing written for fewer than 2 entries.
int SaveDxfPolyline(FILE* fp, CKpPointArray* points, int closed, const char* layer);

// A spline record fitted through the first n points of `points` (z
// ignored), with entity handle `handle`: degree 1 for n = 2, else degree 2
// with n control points interpolating the points (end points held, the
// interior solved by Gauss-Seidel sweeps to 1e-7; after 20 sweeps the
// warning "Could not fit spline to points." and the last sweep is used).
// 0; -1 for n below 2 (nothing written) or after "Could not allocate
// memory.".
int SaveDxfSpline(CKpMsg* log, FILE* fp, int n, CKpPointArray* points, int handle,
                  const char* layer);

#endif  // PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_DXF_H
