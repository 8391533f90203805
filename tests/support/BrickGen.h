#ifndef PLYSTRAND_TESTS_SUPPORT_BRICKGEN_H
#define PLYSTRAND_TESTS_SUPPORT_BRICKGEN_H

#include <functional>
#include <vector>

// Brick (hexahedral) mesh generators for tests and benchmarks: node ids with
// x, y, z and element ids with types 28 (8-node) or 20 (20-node) and
// connectivity rows in the brick's local numbering (corners 0-3 on one face,
// 4-7 on the opposite face with k + 4 above k, then mid-side nodes 8-11 and
// 12-15 on those faces and 16-19 between corner k and k + 4).
//
// Every mesh is a structured block of nu x nv x nw bricks over parameter
// levels u, v, w mapped to space; brick (i, j, k) spans levels i..i+1,
// j..j+1, k..k+1, and "w" is the through-thickness direction.
namespace brickgen {

enum class Order { Hex8, Hex20 };

// Numbering and order of the arrays. Ids run from the first id in steps of
// `step`; a non-zero `shuffleSeed` permutes the node records and the element
// records. `localRotation` picks one of the 24 proper rotations of every
// brick's local numbering (0: face 0 at the lower w, corner 0 at the lowest
// u and v); -1 draws one per brick from `rotationSeed`.
struct Numbering {
    int firstNode = 1;
    int firstElem = 1;
    int nodeStep = 1;
    int elemStep = 1;
    unsigned shuffleSeed = 0;
    int localRotation = 0;
    unsigned rotationSeed = 1;
};

struct BrickMesh {
    std::vector<int> nodeIds;    // one per node
    std::vector<double> xyz;     // 3 per node
    std::vector<int> elemIds;    // one per element
    std::vector<int> elemTypes;  // 28 or 20
    int stride = 0;              // ints per connectivity row (8 or 20)
    std::vector<int> conn;       // `stride` per element
    int nu = 0, nv = 0, nw = 0;

    int numNodes() const { return static_cast<int>(nodeIds.size()); }
    int numElems() const { return static_cast<int>(elemIds.size()); }
    // Id of brick (i, j, k).
    int ElemId(int i, int j, int k) const;
    // Node ids of the face of brick (i, j, k) at its lower w level (`upper`
    // false) or upper one: 4 corners, then 4 mid-side nodes for Hex20.
    std::vector<int> WFace(int i, int j, int k, bool upper) const;
    // Node id at fine-grid point (a, b, c) (two steps per brick); 0 when
    // there is no node there.
    int NodeAt(int a, int b, int c) const;
    // Position of node `id` (3 doubles), null when there is none.
    const double* Pos(int id) const;

    std::vector<int> gridIds;  // fine grid -> node id (0: none)
    int firstElem = 1, elemStep = 1;
};

using MapFn = std::function<void(double u, double v, double w, double* xyz)>;

// A block over the given levels (ascending; sizes nu+1, nv+1, nw+1) mapped
// by `map`; mid-side nodes sit at the mapped parameter midpoints.
BrickMesh Block(Order order, const std::vector<double>& us, const std::vector<double>& vs,
                const std::vector<double>& ws, const MapFn& map, Numbering numbering = {});

// n + 1 evenly spaced levels from 0 to length.
std::vector<double> Levels(int n, double length);

// An nx x ny x nz box of lx x ly x lz from the origin (w = z).
BrickMesh Box(Order order, int nx, int ny, int nz, double lx, double ly, double lz,
              Numbering numbering = {});

// A slab over [0, lx] x [0, ly] from z = 0 up to a thickness growing
// linearly from h0 at x = 0 to h1 at x = lx, in nz layers of bricks whose
// relative heights are `wLevels` (ascending from 0 to 1).
BrickMesh TaperedSlab(Order order, int nx, int ny, const std::vector<double>& wLevels, double lx,
                      double ly, double h0, double h1, Numbering numbering = {});

// A segment of a thick cylindrical shell about the z axis: angle 0 to
// `sweep` in nAround bricks (u), z from 0 to `length` in nAlong bricks (v),
// radius through the given levels (w, ascending: inner face first).
BrickMesh CylinderSegment(Order order, int nAround, int nAlong, const std::vector<double>& radii,
                          double sweep, double length, Numbering numbering = {});

// Applies x' = R x + t to every node (R row-major 3 x 3).
void Transform(BrickMesh& mesh, const double* rotation, const double* translation);

}  // namespace brickgen

#endif  // PLYSTRAND_TESTS_SUPPORT_BRICKGEN_H
