#ifndef PLYSTRAND_LAYUPLIB_CALCULATE_OFFSET_H
#define PLYSTRAND_LAYUPLIB_CALCULATE_OFFSET_H

// Thickness directions and offsets of the laminate at the nodes of the
// faceted surface: the extent of the material along each node normal, and,
// for one node as seen from one facet, the directions and distances of the
// lower and upper faces of the material.
//
// Surface types say where a facet's material comes from:
//   0  the ply stack of the facet's element: t = CKpElem::thck(),
//      bottom = CKpElem::off();
//   1  the laminate whose id is the element's property id (CKpElem::pid):
//      t = CKpLam::t(), bottom = CKpLam::z0(); t = bottom = 0 when there is
//      no laminate store or no such laminate.
// In both, top = bottom + t. Offsets are signed distances along a unit
// direction, in model length units. Every operation that takes a surface
// type refuses any other value with the error "Unsupported surface type."
// and -1.
//
// Facet orientation: the "direction flag" of a facet here is its subdomain
// direction flag (CKpFacet::getSbdmndnfg), whose sign tells whether the
// facet's normal runs with (+) or against (-) the node normals of its
// subdomain. Node normals are CKpNode::getCKpDirn; (0, 0, 0) means none.
//
// Messages go to `log` when it is given (it may be null everywhere).

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpFtdn.h"

class CKpElem;
class CKpFacet;
class CKpFacetStore;
class CKpLamStore;
class CKpMsg;
class CKpNode;
class CKpNodeStore;

// The material of `facet`'s element for `surfaceType` (see above): t the
// thickness, bottom and top the offsets of its lower and upper face from
// the reference surface along the element normal. A facet without element
// gives 0 for all three. 0; -1 with "Unsupported surface type." for another
// type (all three outputs 0), or for a null facet (outputs 0, no message).
int CalcFtThck(CKpMsg* log, const CKpFacet* facet, int surfaceType, CKpLamStore* lamStore,
               double& t, double& bottom, double& top);

// Fills every node's lowest and highest offset (CKpNode::setmin_off,
// setmax_off) along its normal over the facets that meet at it: each facet
// contributes top / d and bottom / d, d = facet unit normal . node normal,
// with |d| raised to 0.5 (keeping its sign; 0 becomes +0.5) so that steep
// facets count at most double. Nodes no facet touches keep lowest +1e12 and
// highest -1e12. Facet slots without a facet or node are skipped.
// 0; -1 with "Unsupported surface type." (no node is changed), or for a
// null store (no message).
int calculate_offset(CKpMsg* log, CKpNodeStore* nodes, CKpFacetStore* facets, int surfaceType,
                     CKpLamStore* lamStore);

// calculate_offset in two steps, for a caller that visits every node anyway:
// CalcOffsetResetNode gives one node the start values (highest -1e12,
// lowest +1e12); once every node of the store has them, CalcOffsetFacets
// makes the facet pass, with calculate_offset's results and statuses.
// *vertexFactor (when given) is set false when no facet vertex node has a
// non-zero offset factor (CKpNode::getfac_off), true otherwise or when the
// pass stopped early. A null node or store changes nothing (-1 for the
// store).
void CalcOffsetResetNode(CKpNode* node);
int CalcOffsetFacets(CKpMsg* log, CKpFacetStore* facets, int surfaceType, CKpLamStore* lamStore,
                     bool* vertexFactor);

// Extends a fan around the node at `vertex` of `facet` in one turning sense.
//   upper   +1 or -1: at a branch edge (several partners) the walk takes
//           the last partner listed when (current sign x upper) > 0, else
//           the first;
//   clock   -1 leaves the facet by the edge ending at the node (vertex + 2),
//           +1 by the edge starting there (vertex); the sense is kept
//           across facets of opposite orientation;
//   closed  written 1 when the walk came back to `facet` or was cut short
//           after 10 steps; left as it was when the walk ended at an edge
//           without neighbour;
//   count   raised by 1 for every entry appended;
//   fan     the starting entry (facet, vertex, its sign); new entries are
//           appended at the end of its lnk[0] side (clock -1) or lnk[1]
//           side (clock +1).
// Edges are crossed whether divided or not. A fan longer than 10 steps
// gives the information "CalcFtdn: Too many facets at node (upper %2d
// clock %2d)" followed by one line " ueid %6d unid %6d ft %6d vx %1d" per
// fan entry from its lnk[0] end (element id, node id at the vertex, facet,
// vertex; 0 where missing), and counts as closed.
// 0; -1 with "Could not allocate memory." (the entries appended so far stay
// in the fan), or for null arguments (no message).
int CalcFtdn(CKpMsg* log, CKpFacetStore* facets, int facet, int vertex, int upper, int clock,
             int* closed, int* count, CKpFtdn* fan);

// Deletes every entry of the chain that `fan` belongs to (both sides) and
// sets `fan` to null. A null fan is allowed. 0.
int DeleteFtdn(CKpFtdn*& fan);

// The lower (index 0) and upper (index 1) thickness directions and offsets
// of `node` as seen from the facet `facet` in which it is vertex `vertex`.
// directions: 2 unit directions (written); offsets: 2 signed distances
// along them (written); the faces lie at node + direction[k] x offset[k].
//   - A node with a non-zero normal: both directions are the normal and the
//     offsets (lowest, highest) of calculate_offset; a facet with a negative
//     direction flag gets the negated normal and (-highest, -lowest).
//   - Otherwise the fans around the node are walked from the facet (lower
//     fan with upper = -1, upper fan with upper = +1; each with clock -1,
//     then +1 unless closed); direction k is the angle-weighted sum of the
//     signed facet normals of fan k; offset 0 is the smallest lower face and
//     offset 1 the largest upper face over the fan's facets, with the
//     |d| >= 0.5 rule of calculate_offset.
// 0; -1 with "Unsupported surface type." or "Could not allocate memory.",
// or (no message) for a null argument, a facet index outside the store or
// a vertex outside 0..2. Outputs are zero on failure.
int CalcOffsetsNode(CKpMsg* log, CKpFacetStore* facets, CKpNode* node, int facet, int vertex,
                    CKpDirn directions[2], double offsets[2], int surfaceType,
                    CKpLamStore* lamStore);

// CalcOffsetsNode for the element's node at stored position `nodeIndex`,
// seen from the first facet of the element (in its facet order) that has
// that node as a vertex. -1 when the element has no facets or none has the
// node (or for a null argument); otherwise the result of CalcOffsetsNode.
int CalcOffsetsElemNode(CKpMsg* log, CKpElem* elem, CKpFacetStore* facets, int nodeIndex,
                        CKpDirn directions[2], double offsets[2], int surfaceType,
                        CKpLamStore* lamStore);

// CalcOffsetsNode for the node at `vertex` (0..2) of facet `facet`. -1 when
// the facet or its node is missing; otherwise the result of CalcOffsetsNode.
int CalcOffsetsFacNode(CKpMsg* log, CKpFacetStore* facets, int facet, int vertex,
                       CKpDirn directions[2], double offsets[2], int surfaceType,
                       CKpLamStore* lamStore);

#endif  // PLYSTRAND_LAYUPLIB_CALCULATE_OFFSET_H
