#ifndef PLYSTRAND_TESTS_SUPPORT_SURFACEMESHES_H
#define PLYSTRAND_TESTS_SUPPORT_SURFACEMESHES_H

#include <initializer_list>
#include <string>
#include <vector>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpNodeStore.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"

class CKpFacet;
class CKpMsg;

// Shell surfaces for tests of the faceted surface and of everything that
// runs on it (neighbours, subdomains, drape). Each builder returns a
// meshgen::Mesh (node ids with x, y, z; element rows in solver order,
// corners first) so that it can go through the host-style interfaces as
// well as straight into stores with Load below.
//
// Conventions shared by all builders:
//   - node and element ids run from 1 in the order made;
//   - every element of one mesh is oriented consistently: normals +z on
//     plates and outward on cylinders and spheres;
//   - `kind` is the element family: Quad4 and Quad8 give quadrilaterals
//     (with tria3 / tria6 where a surface closes at a pole), Tria3 and Tria6
//     triangles; quadratic kinds put their midside nodes on the surface
//     (on straight edges at the midpoints);
//   - lengths are model units; resolutions count elements.
namespace surfmesh {

using meshgen::Kind;
using meshgen::Mesh;

// An nx x ny plate of lx x ly in the xy plane from the origin (meshgen::
// Plate): quads nx x ny, triangles 2 x nx x ny.
Mesh Plate(Kind kind, int nx, int ny, double lx, double ly);

// A closed tube of radius r about the z axis from z = 0 to z = length, open
// at both ends: nAround x nAlong cells, the seam at angle 0 shared.
Mesh OpenCylinder(Kind kind, int nAround, int nAlong, double r, double length);

// The upper half of the sphere of radius r about the origin: rim (z = 0)
// to pole (0, 0, r) in nRings rings of nAround cells. The ring at the pole
// is a fan of nAround triangles (tria3, or tria6 for quadratic kinds)
// around the one pole node, their last corner.
Mesh Hemisphere(Kind kind, int nAround, int nRings, double r);

// The whole sphere of radius r about the origin: nRings rings from the
// south pole to the north pole (nRings >= 2), the first and last ring fans
// of triangles around the poles.
Mesh Sphere(Kind kind, int nAround, int nRings, double r);

// An n x n plate of size x size (as Plate) with the centred block of
// hole x hole cells left out (0 <= hole <= n - 2, n - hole even, so that a
// ring of cells stays all round). Only nodes of elements are made.
Mesh PlateWithHole(Kind kind, int n, double size, int hole);

// Elements sharing one edge, the "spine" from (0, 0, 0) to (0, 0, height):
// fin k is a single element in the half-plane at angles[k] (radians, about
// the z axis), reaching widths[k] out from the spine (a shorter `widths`
// repeats its last entry). With three or more angles the spine is a shell
// branch. Quad kinds give quads (s0, o0, o1, s1: spine bottom, outer
// bottom, outer top, spine top), triangle kinds one triangle per fin (s0,
// tip at mid-height, s1). Fin k is element k + 1, its normal (sin a, -cos
// a, 0) for a = angles[k]; every fin runs down the spine in the same sense,
// so links between fins have codes 0..2.
Mesh Fins(Kind kind, const std::vector<double>& angles, const std::vector<double>& widths,
          double height);

// The inside of a box corner: a floor of size x size in the xy plane from
// the origin (n x n cells, normal +z) and two walls of height `depth`
// standing on its edges x = 0 and y = 0 (n x nDepth cells each, normals +x
// and +y: into the box). The walls share the corner edge along the z axis.
// Element order: the floor and the wall x = 0 first, then the wall y = 0.
Mesh BoxCorner(Kind kind, int n, int nDepth, double size, double depth);

// Reverses the orientation of element `index` (position in the element
// arrays) by reversing its perimeter: the same nodes, the normal turned
// over.
void Flip(Mesh& mesh, int index);

// `a` and `b` side by side in one mesh: b's node and element ids are moved
// above a's; nodes of b within `tol` of a node of a (on every axis) are
// replaced by that node (tol 0: none merged). `parts` (when given) is
// filled with 1 for a's elements and 2 for b's, in element order.
Mesh Join(const Mesh& a, const Mesh& b, double tol, std::vector<int>* parts = nullptr);

// Two n x n plates of size x size (Plate) that share the edge x = size of
// the first (the second shifted by size along x), the second's elements in
// part 2 (`parts` as in Join). Their common nodes are shared.
Mesh TwoPatches(Kind kind, int n, double size, std::vector<int>* parts);

// Loads the mesh into the stores (meshgen::Load: placed nodes, elements with
// eltp 1) and links the elements to their nodes (node_reref). `parts` (when
// not empty, one per element in the mesh's element order) sets each
// element's part. Returns the number of elements in `elems` afterwards.
int Load(const Mesh& mesh, CKpNodeStore& nodes, CKpElemStore& elems,
         const std::vector<int>& parts = {}, CKpMsg* msg = nullptr);

// Node, element and facet stores of one surface that delete what they hold
// (the facet store knows no model).
struct Stores {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpFacetStore facets;

    Stores() = default;
    ~Stores();
    Stores(const Stores&) = delete;
    Stores& operator=(const Stores&) = delete;
};

// A mesh loaded (Load) and cut into facets by make_facet, its messages
// written to a captured message file named after `name`.
struct Faceted {
    MessageCapture cap;
    Stores s;
    int status;  // make_facet's result

    Faceted(const std::string& name, const Mesh& mesh, const std::vector<int>& parts = {});
    // make_facet again on the same stores.
    int rebuild();
    CKpFacet* f(int i) { return s.facets.pFac(i); }
    // Sets the selection flag of the elements of these ids.
    void select(std::initializer_list<int> ids, int flag = 1);
    // The texts of the warnings written since the capture's last reset.
    std::vector<std::string> warnings() const;
};

}  // namespace surfmesh

#endif  // PLYSTRAND_TESTS_SUPPORT_SURFACEMESHES_H
