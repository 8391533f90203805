#ifndef PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_IGS_H
#define PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_IGS_H

class CKpBdyStore;
class CKpDrape;
class CKpFacetStore;
class CKpFile;
class CKpFlatPat;
class CKpFlatPatStore;
class CKpIgesData102;
class CKpIgesData110;
class CKpIgesDataStore;
class CKpMsg;
class CKpNodeStore;
class CKpPat;

// The IGES files of a ply's flat pattern, of its draped pattern and of the
// mould surface. Each call builds the file's entities (CKpIgesDataStore),
// writes them inside the IGES frame (one start line with the file's
// description, three global lines declaring millimetres, the directory and
// parameter sections, the terminate line) to the file named by the record
// (an unset name is ""), text mode, and deletes them. Errors go to `log`
// and give -1:
//   "Could not open file '%s' for writing.", "Could not allocate memory.",
//   "Could not close file." (a write or the close failed, e.g. a full
//   disk), and "IGES section of %d lines is too long for its sequence
//   numbers." when a section would pass 9,999,999 lines (nothing written).
// Coordinates are model units.

// The flat pattern of a drape: s = pattern->stepUsed(), theta the
// pattern's warp/weft angle (radians), u and v in warp steps.
// options (bits, built in this order):
//   1   the outer (first) outline;   32  every outline (each once);
//   2   the warp axis: a line (level 2) from (umin s, 0, 0) to (umax s, 0, 0);
//   4   the fill axis: a line (level 3) from (vmin s cot theta, vmin s, 0) to
//       (vmax s cot theta, vmax s, 0), bounds of the outer outline; skipped
//       with the warning "Fill axis skipped: warp/weft angle %g degrees."
//       when |sin theta| < 1e-9.
// "No pattern data defined." without pattern, "No flat pattern defined."
// for an empty store. 0 written; -1 after an error.
int gen_flat_pat_igs(CKpMsg* log, const CKpFile* file, const CKpPat* pattern,
                     CKpFlatPatStore* flats, int options);

// One outline as a composite curve (level `level`, status 1) of lines
// (same level, status 10000) between consecutive plotted points (plot flag
// not 0) at (u s, v s, 0); the lines are inserted first, then the curve.
// An outline with fewer than two plotted points adds nothing (a curve
// without members would be invalid IGES). 0; -1 after "Could not
// allocate memory.".
int CreateIgesFlatPat(CKpMsg* log, const CKpPat* pattern, CKpFlatPat* flat, int level,
                      CKpIgesDataStore* store);

// The draped pattern: options (bits, built in this order):
//   1   the boundary's outer ring: one composite curve (level 1) of a line
//       per segment from the node at vx0 to the node at vx1;
//   2   the principal warp fibre j = 0 (level 2); 4 the principal fill fibre
//       i = 0 (level 3);
//   8   every other warp fibre j != 0 (level 4); 16 every other fill fibre
//       i != 0 (level 5).
// A fibre runs from its boundary crossing through the grid points to its
// next crossing as one composite curve (status 1) of lines (status 10000);
// a missing grid point splits it; a curve still open at the end of the
// index range is inserted there. 0; -1 after an error.
int gen_draped_pat_igs(CKpMsg* log, const CKpFile* file, CKpFacetStore* facets, CKpBdyStore* bdys,
                       CKpDrape* grid, int options);

// One step of a fibre at grid point (i, j); backDir is 2 for warp fibres
// (stepping +i) and 3 for fill fibres (stepping +j).
//   curve, line  in/out: the fibre's open curve and the line made last;
//   open         in/out: 1 while a curve is open.
// With the point: an open curve gets the line from the previous grid
// point, otherwise a curve is opened (level `level`, status 1) starting
// with the line from the backward crossing when there is one; a forward
// crossing adds the line to it and inserts the curve. Without the point an
// open curve is inserted. Curves without members are deleted, not
// inserted. 0; -1 after "Could not allocate memory.".
int SaveIgesFibre(CKpMsg* log, CKpIgesDataStore* store, CKpIgesData102*& curve,
                  CKpIgesData110*& line, int level, CKpDrape* grid, int i, int j, int backDir,
                  int& open);

// The mould surface: per node offsets of the layup (calculate_offset,
// surface type 0), then every facet as a ruled surface between the lines
// of its edges 1 and 2, once on the lower and once on the upper offset
// surface (levels 1 and 2, status 0). An edge shared with an earlier facet
// reuses that facet's line; a reused line running the other way flips the
// facet's direction flag. L distinct lines and F facets give 2L lines and
// 2F ruled surfaces. 0; -1 after an error.
int gen_mould_surf_igs(CKpMsg* log, CKpNodeStore* nodes, CKpFacetStore* facets,
                       const CKpFile* file);

#endif  // PLYSTRAND_LAYUPLIB_GEN_FLAT_PAT_IGS_H
