#ifndef PLYSTRAND_HOST_LAYUPPLOT_H
#define PLYSTRAND_HOST_LAYUPPLOT_H

// The plot and erase functions of the exported interface for plies,
// elements, layups and laminates. Every plot draws into one graphics
// segment of the slot model's graphics context; its erase function deletes
// that segment, so each kind of plot is switched off on its own:
//
//   segment  plot                          drawing
//     0      (the drape while it runs)     live drape grid
//     1      LayupPlotPlyDrapedPattern     draped fibre grid
//     2      LayupPlotPlyFlatPattern       flat pattern and fibre axes
//     3      LayupPlotPlyAngles            fibre marks of a ply
//     4      LayupPlotLayupSurfaceAngles   bottom and top ply orientation
//     5      LayupPlotPlyOutline           drape outline
//     6      LayupPlotPlyBoundary          ply boundary and holes
//     7      LayupPlotElemEdges            element outlines
//    any     LayupPlotElems                outlines or faces of listed elements
//     8      LayupPlotLayupElement         ply stack of one element
//     9      LayupPlotLayupCrossSection    section through the layup
//    10      LayupPlotLayupSurface         bottom and top surfaces of the layup
//    21      LayupPlotLayupPly             one layup ply as offset faces
//    22      LayupPlotLayupExploded        elements of one layup ply
//    23      LayupPlotOrients              named orientations
//    24      LayupPlotLamThicks            laminate layer thicknesses
//    25      LayupPlotLamOrients           laminate layer orientations
//   501/502  LayupPlotLayupSolid/Thick     nothing
//   503      LayupPlotLayupThicks          thickness of one layup ply
//   504      LayupPlotLayupOrients         orientation of one layup ply
//   701      LayupPlotLamSurface           bottom and top laminate surfaces
//   702/703  LayupPlotLamSolid/Thick       nothing
//   704      LayupPlotLamElement           layer stack of one element
//
// Every function returns 1 when the slot is empty, before anything else,
// except the four plots that draw nothing, which always return 0. Reals
// cross as floats and are widened to double. Lengths are model units.
//
// Through the thickness: z starts at the element's stack bottom
// (CKpElem::off) for layups and at the laminate's CKpLam::z0 for laminates;
// a ply or layer of thickness t has its mid-plane at z + t/2 and z then
// grows by t. Drawn offsets are mid-plane x scale; drawn thicknesses are
// t x scale x (1 - gap), so gap 0.2 leaves a fifth of each ply empty and gap
// 1 puts a ply's bottom and top on its mid-plane.
//
// Colours: a layup ply in the colour of its material id m, a laminate
// layer in that of its layer's material id: ((m - 1) mod 15) + 1
// (MaterialColour, host/PlotRoutines.h). A laminate layer's material is
// looked up in the model's material store; a missing one is the error
// "Could not find laminate layer material" and -1, ending the call.
//
// A failure part-way through a plot leaves what was drawn so far in the
// segment; the erase function removes it.

extern "C" {

// ---- Erase: delete the plot's segment (table above). 0; 1 without model.
int LayupErasePlyDraping(void);
int LayupErasePlyDrapedPattern(void);
int LayupErasePlyFlatPattern(void);
int LayupErasePlyAngles(void);
int LayupEraseLayupSurfaceAngles(void);
int LayupErasePlyOutline(void);
int LayupErasePlyBoundary(void);
int LayupEraseLayupElement(void);
int LayupEraseLayupCrossSection(void);
int LayupEraseLayupSurface(void);
int LayupEraseLayupPly(void);
int LayupEraseLayupExploded(void);
int LayupEraseOrients(void);
int LayupEraseLamThicks(void);
int LayupEraseLamOrients(void);
int LayupEraseLayupSolid(void);
int LayupEraseLayupThick(void);
int LayupEraseLayupThicks(void);
int LayupEraseLayupOrients(void);
int LayupEraseLamSurface(void);
int LayupEraseLamSolid(void);
int LayupEraseLamThick(void);
int LayupEraseLamElement(void);
// Deletes `segment` (any int), whatever it holds. 0; 1 without model.
int LayupEraseElems(int segment);
// The model's EraseElemEdges (segment 7): its result; 1 without model.
int LayupEraseElemEdges(void);

// ---- Ply plots, by ply name. The ply runs its drape first when the
// model's drape workspace holds another ply. -1 after "Invalid ply store."
// or "Ply name '<name>' does not exist." (errors); otherwise the ply's plot
// result (0 drawn).
// Draped fibre grid (segment 1); `mode` is not used.
int LayupPlotPlyDrapedPattern(const char* plyName, int mode);
// Flat pattern (segment 2).
int LayupPlotPlyFlatPattern(const char* plyName);
// Drape outline (segment 5).
int LayupPlotPlyOutline(const char* plyName);
// Boundary and holes of the ply's region (segment 6).
int LayupPlotPlyBoundary(const char* plyName);

// Fibre marks of a ply in segment 3, one per pattern element (id = element
// id): painted plies (type 1) a marker at the element midpoint (colour 1,
// marker ints 1 and 5); types 2 and 4 the warp line, from midpoint -
// (size/2) warp to midpoint + (size/2) warp, colour 1; types 3 and 5 also
// the weft line, midpoint -/+ (size/4) weft, colour 4 (size = half the
// square root of the element's area); other types nothing. The first
// argument is not used. 0; 1 after "Invalid ply store."; 2 after "Ply name
// '<name>' does not exist."; 3 when the ply's orientations cannot be read.
int LayupPlotPlyAngles(int unused, const char* plyName);

// Segment 4: per element with plies, the bottom ply's orientation at the
// stack bottom and the top ply's at the stack top. 0.
int LayupPlotLayupSurfaceAngles(void);

// ---- Elements
// Restores the surface and selects the `count` elements of `ids` (count -1:
// every element; `ids` read), then draws the selected elements shifted by
// `offset` (3 floats x y z; null: no shift) into `segment` in `colour`:
// mode 7 outlines, mode 11 faces (one polygon per element, id = element
// id). Any other mode reports "Unsupported mode." and draws nothing. The
// selection stays. 0 (whatever the drawing gave); -1 when the selection
// fails (nothing drawn, e.g. a null `ids` with a positive count).
int LayupPlotElems(int count, int* ids, float* offset, int mode, int colour, int segment);
// Outlines of every element (`all` nonzero) or of the selected ones in
// segment 7, colour 1: the model's PlotElemEdges result.
int LayupPlotElemEdges(int all);

// ---- Layups
// Segment 8: the ply stack of element `elemId`; with `orients` nonzero each
// ply's orientation at mid-plane x scale, with `thicks` nonzero each ply's
// side walls (thickness t x scale x (1 - gap)), in material colours. The
// second argument is not used. 0; -1 for an unknown element (no message).
int LayupPlotLayupElement(int elemId, int unused, int orients, int thicks, float scale, float gap);
// Segment 9: the section of the faceted surface by the plane through point
// + distance x d with normal d = unit(direction) (`point`, `direction`: 3
// floats x y z each). Per facet met by the plane at exactly two edge points
// X0 and X1 (a plane through a vertex that gives three is skipped): the
// section line X0-X1 in colour 7, then per ply of the facet's element, from
// the bottom, its bottom and top lines X0-X1 moved by s x (scale x mid -/+
// t x scale x (1 - gap)/2) in the material colour, where s lies in the
// cutting plane with s . n = 1 (n the facet normal), so that a move by s
// changes the distance from the facet's plane by one. Facets whose normal
// lies along d (s . n = 0) are skipped. 0; a zero direction draws nothing
// (warning "Cross-section direction is zero."); -1 after "Missing
// cross-section point or direction." when either is null.
int LayupPlotLayupCrossSection(float* point, float* direction, float distance, float scale,
                               float gap);
// Segment 10, colour 1: per shell element (geometry types 1, 2, 11, 12;
// other types are skipped) a closed polygon through the bottom faces at its
// corner nodes, then one through the top faces, from the offset surfaces of
// the element thicknesses and offsets. 0.
int LayupPlotLayupSurface(void);
// Segment 21: every element whose stack holds layup ply `layupPlyId` (its
// first entry), as one polygon (id = element id, the caller's colour) of
// its nodes moved along the element's unit normal by that ply's mid-plane
// (stack bottom + the plies below + t/2). 0; -1 after "Could not find
// specified layup ply.".
int LayupPlotLayupPly(int layupPlyId, int colour);
// Segment 22: the elements of the ply of layup ply `layupPlyId` through
// LayupPlotElems (offset as there; null no shift). 0 (also when the
// elements cannot be drawn); 0 after the information "Ply has no
// elements."; -1 after "Could not find specified layup ply.", "Could not
// find specified ply." or "Could not allocate memory.".
int LayupPlotLayupExploded(int layupPlyId, float* offset, int mode, int colour);
// Segment 23: per name of `names` (`count` texts, read; unknown names and
// null entries are skipped) a line of colour 1 along the material angle of
// every element with that orientation. Nothing for a count below 1 or null
// names. 0.
int LayupPlotOrients(int count, char** names);
// Segment 503: the side walls of layup ply `layupPlyId` (its first entry
// in each element stack) at mid-plane x scale, thickness t x scale x (1 -
// gap), in the material colour. An unknown id draws nothing. 0.
int LayupPlotLayupThicks(int layupPlyId, float scale, float gap);
// Segment 504: the orientation of layup ply `layupPlyId` at mid-plane x
// scale, in the material colour. An unknown id draws nothing. 0.
int LayupPlotLayupOrients(int layupPlyId, float scale);

// ---- Laminates
// Layer thicknesses (segment 24) and orientations (segment 25) of the
// laminates named in `names` (`nLams` texts, read; the first laminate of a
// name in id order; unknown names skipped), on every element whose pid is
// the laminate's id. Layers are numbered from 1 at the bottom. `nLayers` 0
// draws every layer; otherwise `layers` (nLayers ints, read) are matched in
// order: layer k is drawn when it equals the next number not yet matched,
// and after the last match no further layer of that laminate is drawn (so
// (3, 1) draws layer 3 only, (1, 3) layers 1 and 3). Thicknesses are the
// side walls on free edges and edges to other laminates (mid-plane x scale,
// t x scale x (1 - gap)); orientations a line along the element's material
// angle plus the layer angle at mid-plane x scale. Layer colours as above.
// 0 (also for a negative layer count, with nothing drawn; nothing for
// nLams below 1 or null names); -1 after "Missing layer numbers." (null
// `layers` with nLayers above 0, nothing drawn) or a missing layer
// material.
int LayupPlotLamThicks(int nLams, char** names, int nLayers, int* layers, float scale, float gap);
int LayupPlotLamOrients(int nLams, char** names, int nLayers, int* layers, float scale);
// Segment 701, colour 1: LayupPlotLayupSurface with the laminates'
// thicknesses and z0 (elements without laminate have none). 0.
int LayupPlotLamSurface(void);
// Segment 704: the layers of element `elemId`'s laminate (by its pid): with
// `orients` nonzero each layer's orientation (material angle + layer angle)
// at mid-plane x scale, with `thicks` nonzero each layer's side walls
// (t x scale x (1 - gap)), in layer colours. The second argument is not
// used. 0 (nothing for a laminate without layers); -1 for an unknown element
// or laminate (no message) or a missing layer material.
int LayupPlotLamElement(int elemId, int unused, int orients, int thicks, float scale, float gap);

// ---- Nothing is drawn: always 0, with or without model.
int LayupPlotLayupSolid(void);
int LayupPlotLayupThick(void);
int LayupPlotLamSolid(void);
int LayupPlotLamThick(void);

}  // extern "C"

#endif  // PLYSTRAND_HOST_LAYUPPLOT_H
