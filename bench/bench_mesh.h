// Shell meshes for the benchmarks, as the arrays CKpLayup::NewLayupMesh
// takes, and the call that loads them. Header only: each benchmark is one
// program of its own.

#ifndef PLYSTRAND_BENCH_BENCH_MESH_H
#define PLYSTRAND_BENCH_BENCH_MESH_H

#include <algorithm>
#include <cmath>
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

// A hemisphere of radius 1 about the origin, pole on +z: nRings rings of
// 2 nRings cells from the rim to the pole (quad4, a fan of tria3 at the
// pole, padded to width 4 with 0), outward normals; about 4 nRings^2
// facets. Meridian i lies at the angle (i + offset) of 2 nRings around the
// z axis: an offset of 0.5 keeps fibres along x and y off the element
// edges.
inline Mesh MakeHemisphere(int nRings, double offset = 0.0) {
    const double pi = std::acos(-1.0);
    const int nAround = 2 * nRings;
    Mesh m;
    for (int j = 0; j < nRings; ++j)
        for (int i = 0; i < nAround; ++i) {
            const double up = j * (pi / 2) / nRings, around = (i + offset) * 2 * pi / nAround;
            m.nodeIds.push_back(j * nAround + i + 1);
            m.xyz.insert(m.xyz.end(), {std::cos(up) * std::cos(around),
                                       std::cos(up) * std::sin(around), std::sin(up)});
        }
    const int pole = nRings * nAround + 1;
    m.nodeIds.push_back(pole);
    m.xyz.insert(m.xyz.end(), {0.0, 0.0, 1.0});
    auto node = [nAround](int j, int i) { return j * nAround + (i % nAround) + 1; };
    for (int j = 0; j < nRings; ++j)
        for (int i = 0; i < nAround; ++i) {
            m.elemIds.push_back(static_cast<int>(m.elemIds.size()) + 1);
            m.patchIds.push_back(0);
            if (j + 1 < nRings) {
                m.topologies.push_back(4);
                m.connectivity.insert(m.connectivity.end(), {node(j, i), node(j, i + 1),
                                                             node(j + 1, i + 1), node(j + 1, i)});
            } else {
                m.topologies.push_back(3);
                m.connectivity.insert(m.connectivity.end(), {node(j, i), node(j, i + 1), pole, 0});
            }
        }
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
