#ifndef PLYSTRAND_TESTS_SUPPORT_MESHGEN_H
#define PLYSTRAND_TESTS_SUPPORT_MESHGEN_H

#include <cstddef>
#include <vector>

class CKpElemStore;
class CKpNodeStore;
class ILayup;

// Mesh generators for tests: shell meshes as node and element arrays in the
// form the host and the solver files give them (node ids with x, y, z;
// element ids with host topology codes and connectivity rows in solver
// order: corners first, then midsides).
namespace meshgen {

enum class Kind { Quad4, Quad8, Tria3, Tria6 };

struct Mesh {
    std::vector<int> nodeIds;       // one per node
    std::vector<double> xyz;        // 3 per node
    std::vector<int> elemIds;       // one per element
    std::vector<int> topologies;    // host topology per element: 4, 8, 3, 6
    int width = 0;                  // ints per connectivity row
    std::vector<int> connectivity;  // `width` per element, solver order

    int numNodes() const { return static_cast<int>(nodeIds.size()); }
    int numElems() const { return static_cast<int>(elemIds.size()); }
    // Row e of the connectivity.
    const int* row(int e) const {
        return connectivity.data() + static_cast<std::size_t>(e) * width;
    }
    // Position of the node of `id`, 3 doubles; null when there is none.
    const double* pos(int id) const;
};

// Numbering and order of the arrays. Ids run consecutively from the first
// ids; a non-zero `shuffleSeed` permutes the order of the node records and
// of the element records (not the ids).
struct Numbering {
    int firstNode = 1;
    int firstElem = 1;
    unsigned shuffleSeed = 0;
};

// An nx x ny plate of size lx x ly in the xy plane (z = 0), lower-left
// corner at the origin, normals +z. Quads run along x first; each
// triangle cell is split along its diagonal from (i, j) to (i+1, j+1) into
// (c00, c10, c11) and (c00, c11, c01). Quadratic elements put their
// midside nodes at the midpoints of straight edges.
Mesh Plate(Kind kind, int nx, int ny, double lx, double ly, Numbering numbering = {});

// A section of a cylinder about the z axis: radius r, swept from angle 0 to
// `sweep` (radians) in n_around elements and from z 0 to `length` in
// n_along elements; outward normals. Midside nodes lie on the surface.
Mesh Cylinder(Kind kind, int nAround, int nAlong, double r, double sweep, double length,
              Numbering numbering = {});

// Loads a mesh into stores: placed nodes (incomplete flag 0), and elements
// of the matching geometry type with eltp 1 and the connectivity stored
// through SetConnectivityKor. Node pointers are not linked (node_reref
// does that). Returns the number of elements created.
int Load(const Mesh& mesh, CKpNodeStore& nodes, CKpElemStore& elems);

// Loads a mesh into a model through ILayup::NewLayupMesh, every element in
// patch 0; returns NewLayupMesh's status.
int LoadModel(ILayup& model, const Mesh& mesh);

}  // namespace meshgen

#endif  // PLYSTRAND_TESTS_SUPPORT_MESHGEN_H
