#ifndef PLYSTRAND_LAYUPLIB_EXPORTLASERLAYUP_H
#define PLYSTRAND_LAYUPLIB_EXPORTLASERLAYUP_H

#include <cstdio>

class CKpBdyStore;
class CKpCoord;
class CKpDirn;
class CKpDrapeSim;
class CKpFacet;
class CKpFacetStore;
class CKpFlatPat;
class CKpGra;
class CKpLayup;
class CKpMsg;
class CKpPat;
class CKpPoint;

// Laser projector files: plain text, opened per call, reals "%f" unless
// said. Two families: VK (calibration ".cal", ply blocks "START name",
// "P count", one line "x y z nx ny nz" per point, "END name", a file ended
// by "EOD") and AG (".txt" with part number, units, sensors and ply
// blocks of "GOTO" lines). A vertex line is "%f %f %f %f %f %f\n": the
// position and the facet's unit normal, negated when the sign flag is
// below 1. Errors go to `log`; a write or close failure is reported as
// "Could not close file." and fails the writer.

// The set-up of a job. mask: bit 1 the VK files (base + ".cal" with, per
// projector, its target count "%2d" and its targets "%10.5g %10.5g
// %10.5g", and an empty base + ".ply"), bit 2 the AG file (base + ".txt":
// "$*PARTNO %s", "UNITS IN" for units 1 else "UNITS MM", then every target
// numbered from 1 across projectors as "$*SENSOR %d %8g  %8g  %8g").
// counts: targets per projector (numProjectors ints); targets: x y z of
// every target in projector order. 0; -1 when a writer it ran failed.
int ExportLaserLayup(CKpMsg* log, int mask, const char* base, const char* partNumber, int units,
                     int numProjectors, const int* counts, const double* targets);
// The two writers. 0; -1 after "Could not open file '%s' for writing." or
// "Could not close file.". The part number is not written by the VK one.
int ExportLaserLayupVK(CKpMsg* log, const char* base, const char* partNumber, int numProjectors,
                       const int* counts, const double* targets);
int ExportLaserLayupAG(CKpMsg* log, const char* base, const char* partNumber, int units,
                       int numProjectors, const int* counts, const double* targets);

// One ply's outline from the boundary store's outer ring: mask bit 1 runs
// ExportLaserPlyVK, bit 2 ExportLaserPlyAG, with the same arguments. 0; -1
// when a writer it ran failed.
int ExportLaserPlyL(CKpMsg* log, int mask, const char* file, const char* plyName, int options,
                    CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape);
// Appends the VK block of the outline (every ring point, the first again at
// the end) and "EOD" to `file` (no suffix added). Only with option bit 1.
// 0; -1 after "Could not open file '%s' for writing." or "Could not close
// file.".
int ExportLaserPlyVK(CKpMsg* log, const char* file, const char* plyName, int options,
                     CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape);
// Appends to file + ".txt": with option bit 1 "$*PLY name", then for a ring
// with segments "PENUP", "GOTO " + the first point's vertex line,
// "PENDWN", and "GOTO " + the vertex line of each segment's end. Results
// as ExportLaserPlyVK.
int ExportLaserPlyAG(CKpMsg* log, const char* file, const char* plyName, int options,
                     CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape);

// The VK block of one ply, written to `fp` (may be null: then only drawn)
// and drawn with `gra` into segment 505, pen colour 2, when `draw` is set.
// Only with option bit 1.
//   frame         output frame (null or type below 1: basic frame);
//   offset        move points onto the layup ply `lypPlyId`'s surface
//                 (CKpFacet::OffsetPoint);
//   minimise      thin the outline (CKpPlotPointStore::Minimize with angTol,
//                 radians, and distTol, model units);
//   separate      end the block after the outline and put the markers and
//                 fibres into a second block named prefix + name;
//   markerSize    side of the start marker (a square with its diagonals,
//                 9 points) and a third of the reference marker (2 points)
//                 drawn at the pattern's start point when startMarker /
//                 refMarker are set and the start facet exists;
//   warp, fill    the principal fibres (j = 0, i = 0), one block per stretch
//                 from boundary to boundary; a missing grid point or one
//                 without facet ends a block.
// Every "P %d" counts the lines that follow it. 0.
int ExportLaserPlyVKData(CKpMsg* log, CKpGra* gra, FILE* fp, const char* plyName, int options,
                         CKpFacetStore* facets, CKpBdyStore* bdys, CKpDrapeSim* drape,
                         const CKpCoord* frame, int offset, int minimise, double angTol,
                         double distTol, int lypPlyId, int separate, const char* prefix,
                         double markerSize, int startMarker, int refMarker, int warp, int fill,
                         int draw);

// The flat outline as a VK block: with option bit 1 "START name", "P n"
// with the plotted points, each as (u s, v s, 0) with normal (0, 0, 1), s
// the pattern's step, then "END name". 0; -1 after "Flat pattern file not
// open." for a null stream.
int ExportLaserPly2DVKData(CKpMsg* log, FILE* fp, const char* name, int options,
                           const CKpPat* pattern, CKpFlatPat* flat);

// The laser file of the model's layup at `path`: "LAYER START <layup>",
// one VK ply block per selected layup ply id found (in the order given),
// named ply name + "_" + instance, after simulating the ply (a ply whose
// simulation did not reach the drape workspace is skipped with the warning
// "No drape simulation exists for ply '%s'."), each drawn;
// with flatOutline its flat outline block named flatPrefix + block name;
// then "LAYER END <layup>" and "EOD". An empty path only simulates and
// draws. Angles in radians. Tolerances with `minimise`: a negative angle
// is reset to 0, one above pi to pi, a negative distance to 0 (warnings).
// 0; -1 after "No layup plies selected.", "Prefix for separate
// application ply '%s' is invalid.", "Marker size must be positive if
// start or reference markers are required." (each before any file is
// created), "Cannot open file '%s'." or "Could not close file.".
int ExportLayupLaser(CKpLayup* model, int numIds, const int* ids, const CKpCoord* frame, int offset,
                     int minimise, double angTol, double distTol, int unused, int separate,
                     const char* prefix, double markerSize, int startMarker, int refMarker,
                     int warp, int fill, int flatOutline, const char* flatPrefix, const char* path,
                     int draw);

// Writes one point: with `offset` moves it onto the layup ply's surface
// (information "CKpFac::OffsetPoint(): %d" on failure, "Null facet"
// without facet); with `draw` and `gra` draws it (line flag 0 a move,
// otherwise a line); with `fp` writes its vertex line in `frame`.
void OutputVertexNormal(int offset, int draw, CKpMsg* log, CKpGra* gra, int lineFlag, FILE* fp,
                        const CKpCoord* frame, const CKpFacet* facet, int lypPlyId,
                        const CKpPoint& point, const CKpDirn& normal, int sign);
// The vertex line alone.
void fprintfVertexNormal(FILE* fp, const CKpCoord* frame, const CKpPoint& point,
                         const CKpDirn& normal, int sign);

#endif  // PLYSTRAND_LAYUPLIB_EXPORTLASERLAYUP_H
