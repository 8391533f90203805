// Shell meshes for the benchmarks, as the arrays CKpLayup::NewLayupMesh
// takes, and the call that loads them. Header only: each benchmark is one
// program of its own.

#ifndef PLYSTRAND_BENCH_BENCH_MESH_H
#define PLYSTRAND_BENCH_BENCH_MESH_H

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "layuplib/CKpLayup.h"

namespace bench {

// A mesh in NewLayupMesh's layout: one id and three coordinates (x, y, z)
// per node; one id, patch id and topology (3 or 4 nodes) per element, and
// `width` node ids per element in `connectivity` (unused trailing slots 0).
struct Mesh {
    std::vector<int> nodeIds;
    std::vector<double> xyz;
    std::vector<int> elemIds, patchIds, topologies, connectivity;
    int width = 4;
};

// An nx x ny plate of square quad4 elements of side `spacing` in the plane
// z = 0, corner node at the origin. Node (i, j), 0 <= i <= nx, 0 <= j <= ny,
// has id j (nx + 1) + i + 1 and lies at (spacing i, spacing j, 0); element
// (i, j) has id j nx + i + 1, patch 0 and the nodes (i, j), (i + 1, j),
// (i + 1, j + 1), (i, j + 1) (normal +z). The records come in ascending id
// order, or with `shuffle` in a fixed pseudo-random order (nodes, then
// elements, shuffled by one std::mt19937 seeded 42); ids and mesh stay the
// same either way.
inline Mesh MakePlate(int nx, int ny, double spacing = 1.0, bool shuffle = false) {
    Mesh m;
    // The order tables exist only when shuffling, so an ascending plate
    // costs no more memory than its own arrays.
    std::vector<int> nodeOrder, elemOrder;
    if (shuffle) {
        nodeOrder.resize((nx + 1) * (ny + 1));
        elemOrder.resize(nx * ny);
        std::iota(nodeOrder.begin(), nodeOrder.end(), 0);
        std::iota(elemOrder.begin(), elemOrder.end(), 0);
        std::mt19937 rng(42);
        std::shuffle(nodeOrder.begin(), nodeOrder.end(), rng);
        std::shuffle(elemOrder.begin(), elemOrder.end(), rng);
    }
    for (int r = 0; r < (nx + 1) * (ny + 1); ++r) {
        const int k = shuffle ? nodeOrder[r] : r;
        m.nodeIds.push_back(k + 1);
        m.xyz.insert(m.xyz.end(), {spacing * (k % (nx + 1)), spacing * (k / (nx + 1)), 0.0});
    }
    for (int r = 0; r < nx * ny; ++r) {
        const int e = shuffle ? elemOrder[r] : r;
        const int i = e % nx, j = e / nx;
        const int c = j * (nx + 1) + i + 1;
        m.elemIds.push_back(e + 1);
        m.patchIds.push_back(0);
        m.topologies.push_back(4);
        m.connectivity.insert(m.connectivity.end(), {c, c + 1, c + nx + 2, c + nx + 1});
    }
    m.width = 4;
    return m;
}

// Replaces `model`'s mesh with `m` (NewLayupMesh, no merge tolerance).
// Returns NewLayupMesh's status: 0 on success.
inline int LoadMesh(CKpLayup& model, const Mesh& m) {
    return model.NewLayupMesh(static_cast<int>(m.nodeIds.size()), m.nodeIds.data(), m.xyz.data(),
                              static_cast<int>(m.elemIds.size()), m.elemIds.data(),
                              m.patchIds.data(), m.topologies.data(), m.width,
                              m.connectivity.data(), 0.0, 0.0);
}

}  // namespace bench

#endif  // PLYSTRAND_BENCH_BENCH_MESH_H
