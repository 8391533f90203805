#ifndef PLYSTRAND_HOST_PLOTROUTINES_H
#define PLYSTRAND_HOST_PLOTROUTINES_H

// The plot routines: model data turned into drawing calls on the model's
// graphics context (host/CKpGra.h). Each routine draws into one fixed
// graphics segment, or into the one its caller names, so that deleting that
// segment erases exactly that plot. They keep no state and change no model
// data; a failure leaves earlier drawings of the segment in place.
//
// Pens have width 0 unless said. Colours are the library's colour numbers.
// Errors go to `msg` (severity 4) when it is given; a null graphics context
// draws nothing. Angles are radians.

class CKpBdy;
class CKpBdyStore;
class CKpDirn;
class CKpDrape;
class CKpElem;
class CKpElemStore;
class CKpFacetStore;
class CKpFlatPatStore;
class CKpGra;
class CKpMsg;
class CKpOln;
class CKpPat;
class CKpPatElemStore;
class CKpPatStore;
class CKpPlyStore;
class CKpPoint;

// Colour of material id m: ((m - 1) mod 15) + 1 with a non-negative
// remainder (1..15 keep their number, 16 gives 1, 0 gives 15, -1 gives 14).
int MaterialColour(int m);

// One boundary ring in segment 6, walked from `ring` along its links back
// to it: each segment a line from its start to its end vertex, coloured by
// the facet edge it lies on: 2 when the edge has a neighbour and a negative
// (divided) neighbour code, 6 when it has a neighbour otherwise, `colour`
// when it is free. A null ring draws nothing. 0.
int PlotBoundary(CKpGra* gra, CKpFacetStore* facets, CKpBdy* ring, int colour);
// Every hole ring of `bdys` as PlotBoundary with colour 6. 0.
int PlotInnerBoundaries(CKpGra* gra, CKpFacetStore* facets, CKpBdyStore* bdys);

// Selects a pen only. Mode 0: `value` is a shear ratio, |value| < 0.5 gives
// colour 1, < 1.0 colour 6, else colour 4 (`colour` unused); mode 3: colour
// `colour` with width `value`; any other mode: colour `colour`. 0.
int PlotDrapedPatternPen(CKpGra* gra, int mode, int colour, double value);
// The straight segment p1-p2 in the current segment, cut where the shear
// (s1 at p1, s2 at p2, linear in between, magnitudes compared) crosses the
// limits: bands 0 (below limits[0]), 1, 2, 3 (from limits[2] on) drawn in
// colours 1, 6, 4, 7. A non-finite shear draws one piece in colour 7. 0;
// -1 for a null point or limits.
int PlotDrapedPatternSeg(CKpGra* gra, const CKpPoint* p1, double s1, const CKpPoint* p2, double s2,
                         const double limits[3]);
// The draped fibre grid in segment 1: warp lines row by row (v, then u),
// and for a pattern of type 3 weft lines column by column, each joined pair
// and each fibre end as PlotDrapedPatternSeg with the limits of the
// pattern's maximum shear angle. 0; -1 after "No pattern data defined." or
// "No draped pattern defined." (type other than 3 or 4).
int PlotDrapedPatternOld(CKpMsg* msg, CKpGra* gra, CKpDrape* drape, CKpPat* pat);
// The closed outline ring in segment 5, colour 2, through the drape
// positions of its grid points. 0; -1 for a null outline or drape.
int PlotOutlineOld(CKpGra* gra, CKpDrape* drape, CKpOln* outline);

// The flat-pattern frame: rows e1, e2, w of `matrix`, where w = -eye
// (unit), r = ref rotated by `angle` about w, e2 = unit(w x r), e1 =
// unit(e2 x w). 0.
int PlotFlatPatternMat(const CKpDirn& eye, const CKpDirn& ref, double angle, double matrix[3][3]);
// point := origin + x e1 + y e2 + z w. 0.
int PlotFlatPatternTrans(const double matrix[3][3], const CKpPoint* origin, CKpPoint* point);
// With a shift: *out = point + shift, returned. Without: the point itself
// is returned and *out is untouched.
CKpPoint PointTrans(const CKpPoint* point, const double* shift, CKpPoint* out);
// The flat pattern in segment 2: the warp axis (v = 0) and the weft axis
// (along the warp-weft angle b) over the first pattern's bounds in colour
// 7, then every pattern's kept points as an open polyline in colour 6. A
// grid point (u, v) lies at eye point + h u e1 + h v e2 (h the step in
// use). When |sin b| < 1e-9 the weft axis is skipped with a warning. 0; -1
// after "No flat pattern defined.", "No pattern data defined." or "No flat
// pattern for ply type %d.".
int PlotFlatPatternL(CKpMsg* msg, CKpGra* gra, CKpPat* pat, CKpFlatPatStore* flats);

// Element outlines (mode 7: pen `colour` in `segment`, a closed polyline
// per element) or faces (mode 11: one polygon per element, id = element id,
// drawn directly into `segment`), in ascending id order; all 0: selected
// elements only. `offset` (3 doubles or null) shifts every node. Elements
// that are not shells with linked nodes are skipped. 0; -1 after
// "Unsupported mode." (nothing drawn).
int PlotElems(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems, CKpFacetStore* facets, int all,
              const double* offset, int mode, int colour, int segment);
// The free edges of the surface (neighbour code -1) in segment 6, colour 4.
// 0.
int PlotFacets(CKpGra* gra, CKpFacetStore* facets);
// Fibre marks of pattern elements in segment 3 by ply type: 1 a dot; 2, 4
// the warp line; 3, 5 warp and weft lines; others nothing. 0.
int PlotPlyElemAngles(CKpMsg* msg, CKpGra* gra, CKpPatElemStore* patElems, int type, int colour);
// PlotPlyElemAngles for the ply named `plyName` with its pattern's elements
// and type, in its material colour (1 without material). 0; -1 after "Could
// not find specified layer." or "Could not find specified pattern 7".
int PlotPlyAngles(CKpMsg* msg, CKpGra* gra, CKpPatStore* pats, CKpPlyStore* plies,
                  const char* plyName);
// Segment 4: for every element with plies, the bottom ply's orientation at
// the stack bottom and the top ply's at the stack top, in material colours.
// 0.
int PlotSurfaceAngles(CKpMsg* msg, CKpGra* gra, CKpElemStore* elems);
// Segment 8: the ply stack of one element, orientations (orients != 0) at
// each ply's mid-height x scale and side walls (thicks != 0) of thickness
// t x scale x (1 - gap), in material colours. 0; -1 for a null element.
int PlotLayupElement(CKpMsg* msg, CKpGra* gra, CKpElem* elem, int orients, int thicks, double scale,
                     double gap);

#endif  // PLYSTRAND_HOST_PLOTROUTINES_H
