#ifndef PLYSTRAND_LAYUPLIB_PROJECTED_ANGLES_H
#define PLYSTRAND_LAYUPLIB_PROJECTED_ANGLES_H

// Fibre angles of a projected ply: the warp direction on every facet of the
// ply's region derived from a reference direction, without draping; the weft
// equals the warp. The element geometry comes from CalcElementData2.
//
// Angles are radians; facet angles are in the facet's local axes
// (CKpFacet::GetAngle). Messages are written only when `msg` is given.
//
// Projection methods (c = cos theta, s = sin theta):
//   0  element angle: the direction at theta in the local axes of the first
//      facet of the facet's element;
//   1  plane through the global Z axis: plane method, normal (-s, c, 0),
//      reference (c, s, 0);
//   2  plane through the global X axis: normal (0, -s, c), reference
//      (0, c, s);
//   3  plane through the global Y axis: normal (c, 0, -s), reference
//      (s, 0, c);
//   4, 5, 6  projection along X, Y, Z: projection method with p the axis;
//   7  projection along the reference direction d;
//   8  plane from the application direction a and d: with m = a × d, the
//      plane method with normal m and reference d, both turned by -theta
//      about a (rotate_dirn_dirn), i.e. the plane holding a and d turned
//      about a.

class CKpDirn;
class CKpFacet;
class CKpFacetStore;
class CKpMsg;

// Projects the fibre direction onto every painted facet (CKpFacet::getPntd)
// of `facets`, in index order:
//   (ax, ay, az)  application direction a;  (dx, dy, dz)  reference
//   direction d;  theta  reference angle;  method  0..8 (above);
//   startFacet  the region's start facet.
// The facets are first prepared (SimulationInitialiseProjection: angles
// unset, strain 0, Nrpat 0). A facet whose angle is found (CalcWpangOnFac)
// gets it as warp and weft angle, strain 0 and Nrpat 1; a facet that fails
// keeps its unset angles (its warning is written).
// 0 when at least one facet got an angle, or none did but the start facet
// exists (it keeps Nrpat 0: nothing to carry into pattern elements). -1 for
// a null store, a failed preparation, |d| below 1e-6 with method 7 or 8
// (error "The reference direction vector has a magnitude of %g which is
// smaller than the minimum allowable value of %g. Please define the
// reference direction more clearly."), or no facet set and no start facet
// (error "Cannot find start facet.").
int CalcPatternPR(CKpMsg* msg, CKpFacetStore* facets, double ax, double ay, double az, double dx,
                  double dy, double dz, double theta, int method, int startFacet);

// The warp angle of facet `facet` of `facets` by `method` (above), written
// to *angle. 0; -1 for a null store, a missing facet or element (method 0
// also a missing first facet), a null `angle`, a failing plane or
// projection method (their warnings), or any other method (warning
// "Unsupported projection method.").
int CalcWpangOnFac(CKpMsg* msg, const CKpFacetStore* facets, int facet, const CKpDirn& a,
                   const CKpDirn& d, double theta, int method, double* angle);

// Plane method: the warp is the line where the plane of normal `n` cuts the
// facet's plane, w = n × N (N the facet's unit normal); *angle = its angle,
// turned by pi when w · r is not positive. 0; -1 with the warning
// "Direction not calculated as element %d lies in reference plane." (the
// facet's element id) when n and N are within 0.1 degree of parallel (a
// zero n or a degenerate facet counts as parallel); -1 for a null facet or
// `angle`.
int CalcWpangOnFacPlane(CKpMsg* msg, const CKpFacet* facet, const CKpDirn& n, const CKpDirn& r,
                        double* angle);

// Projection method: `p` projected onto the facet's element
// (CKpElem::GetProjectedAngle, GetDirection), expressed in the facet's
// local axes, plus FacetDirection × theta, wrapped into [-pi, pi]. 0; -1
// with the warning "Direction not calculated as element %d is perpendicular
// to the projection vector." (element id) when p and the element's unit
// normal are within 0.1 degree of parallel (a zero p counts as parallel);
// -1 for a null facet or `angle`, a facet without element, or a failing
// element query.
int CalcWpangOnFacProject(CKpMsg* msg, const CKpFacet* facet, const CKpDirn& p, double theta,
                          double* angle);

#endif  // PLYSTRAND_LAYUPLIB_PROJECTED_ANGLES_H
