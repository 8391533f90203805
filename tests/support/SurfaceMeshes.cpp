#include "tests/support/SurfaceMeshes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <numeric>
#include <sstream>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/make_facet.h"
#include "layuplib/node_reref.h"

namespace surfmesh {
namespace {

using MapFn = std::function<void(double u, double v, double* xyz)>;

bool quadratic(Kind k) {
    return k == Kind::Quad8 || k == Kind::Tria6;
}

// A parametric surface over (u, v) in [0, 1]²: nu x nv cells, optionally
// closed in u (the seam shared) and collapsed to a pole at v = 0 and/or
// v = 1. Grid point (I, J) of a (s·nu + 1) x (s·nv + 1) grid (s = 2 for
// quadratic kinds) lies at map(I / (s·nu), J / (s·nv)). Nodes are made
// when an element first uses them; `keep(i, j)` leaves cells out.
struct Grid {
    Grid(Kind k, int u, int v) : kind(k), nu(u), nv(v) {}

    Kind kind;
    int nu, nv;
    bool closedU = false;
    bool poleLo = false;
    bool poleHi = false;
    MapFn map;
    std::function<bool(int, int)> keep = [](int, int) { return true; };

    Mesh build() const {
        Mesh m;
        const int s = quadratic(kind) ? 2 : 1;
        const int gu = s * nu;
        const int gv = s * nv;
        std::map<long long, int> ids;
        auto node = [&](int I, int J) {
            if (closedU) I %= gu;
            long long key = static_cast<long long>(J) * (gu + 1) + I;
            if (poleLo && J == 0) key = -1, I = 0;
            if (poleHi && J == gv) key = -2, I = 0;
            auto it = ids.find(key);
            if (it != ids.end()) return it->second;
            const int id = static_cast<int>(ids.size()) + 1;
            ids[key] = id;
            double p[3];
            map(static_cast<double>(I) / gu, static_cast<double>(J) / gv, p);
            m.nodeIds.push_back(id);
            m.xyz.insert(m.xyz.end(), p, p + 3);
            return id;
        };
        const bool quads = kind == Kind::Quad4 || kind == Kind::Quad8;
        m.width = quads ? 4 * s : 3 * s;
        auto add = [&](int topology, std::vector<int> row) {
            m.elemIds.push_back(m.numElems() + 1);
            m.topologies.push_back(topology);
            row.resize(static_cast<size_t>(m.width), 0);
            m.connectivity.insert(m.connectivity.end(), row.begin(), row.end());
        };
        for (int j = 0; j < nv; ++j)
            for (int i = 0; i < nu; ++i) {
                if (!keep(i, j)) continue;
                const int I = s * i, J = s * j;
                if (poleHi && j == nv - 1) {
                    // Triangle (c00, c10, pole).
                    if (s == 1)
                        add(3, {node(I, J), node(I + 1, J), node(I, J + 1)});
                    else
                        add(6, {node(I, J), node(I + 2, J), node(I, J + 2), node(I + 1, J),
                                node(I + 2, J + 1), node(I, J + 1)});
                } else if (poleLo && j == 0) {
                    // Triangle (pole, c11, c01).
                    if (s == 1)
                        add(3, {node(I, J), node(I + 1, J + 1), node(I, J + 1)});
                    else
                        add(6, {node(I, J), node(I + 2, J + 2), node(I, J + 2), node(I + 2, J + 1),
                                node(I + 1, J + 2), node(I, J + 1)});
                } else if (quads) {
                    if (s == 1)
                        add(4, {node(I, J), node(I + 1, J), node(I + 1, J + 1), node(I, J + 1)});
                    else
                        add(8, {node(I, J), node(I + 2, J), node(I + 2, J + 2), node(I, J + 2),
                                node(I + 1, J), node(I + 2, J + 1), node(I + 1, J + 2),
                                node(I, J + 1)});
                } else if (s == 1) {
                    add(3, {node(I, J), node(I + 1, J), node(I + 1, J + 1)});
                    add(3, {node(I, J), node(I + 1, J + 1), node(I, J + 1)});
                } else {
                    add(6, {node(I, J), node(I + 2, J), node(I + 2, J + 2), node(I + 1, J),
                            node(I + 2, J + 1), node(I + 1, J + 1)});
                    add(6, {node(I, J), node(I + 2, J + 2), node(I, J + 2), node(I + 1, J + 1),
                            node(I + 1, J + 2), node(I, J + 1)});
                }
            }
        return m;
    }
};

// Positions on the sphere of radius r: longitude 2pi·u, latitude from lo
// to hi (radians) along v.
MapFn spherical(double r, double lo, double hi) {
    return [r, lo, hi](double u, double v, double* p) {
        const double theta = 2.0 * kPi * u;
        const double phi = lo + (hi - lo) * v;
        p[0] = r * std::cos(phi) * std::cos(theta);
        p[1] = r * std::cos(phi) * std::sin(theta);
        p[2] = r * std::sin(phi);
    };
}

}  // namespace

Mesh Plate(Kind kind, int nx, int ny, double lx, double ly) {
    return meshgen::Plate(kind, nx, ny, lx, ly);
}

Mesh OpenCylinder(Kind kind, int nAround, int nAlong, double r, double length) {
    Grid g(kind, nAround, nAlong);
    g.closedU = true;
    g.map = [r, length](double u, double v, double* p) {
        p[0] = r * std::cos(2.0 * kPi * u);
        p[1] = r * std::sin(2.0 * kPi * u);
        p[2] = v * length;
    };
    return g.build();
}

Mesh Hemisphere(Kind kind, int nAround, int nRings, double r) {
    Grid g(kind, nAround, nRings);
    g.closedU = true;
    g.poleHi = true;
    g.map = spherical(r, 0.0, kPi / 2.0);
    return g.build();
}

Mesh Sphere(Kind kind, int nAround, int nRings, double r) {
    Grid g(kind, nAround, std::max(nRings, 2));
    g.closedU = true;
    g.poleLo = true;
    g.poleHi = true;
    g.map = spherical(r, -kPi / 2.0, kPi / 2.0);
    return g.build();
}

Mesh PlateWithHole(Kind kind, int n, double size, int hole) {
    Grid g(kind, n, n);
    g.map = [size](double u, double v, double* p) {
        p[0] = u * size;
        p[1] = v * size;
        p[2] = 0.0;
    };
    const int lo = (n - hole) / 2;
    const int hi = lo + hole;
    g.keep = [lo, hi](int i, int j) { return !(i >= lo && i < hi && j >= lo && j < hi); };
    return g.build();
}

Mesh BoxCorner(Kind kind, int n, int nDepth, double size, double depth) {
    // Unfolded, the floor and the wall x = 0 are one rectangle (a from
    // -depth to size across, b from 0 to size) and the wall y = 0 is the
    // strip b from -depth to 0 below the floor; a and b are piecewise
    // linear in the grid index so that the fold lines are grid lines.
    auto unfold = [n, nDepth, size, depth](double t, int cells) {
        const double k = t * cells;
        return k < nDepth ? -depth + k * depth / nDepth : (k - nDepth) * size / n;
    };
    auto fold = [](double a, double b, double* p) {
        p[0] = std::max(a, 0.0);
        p[1] = std::max(b, 0.0);
        p[2] = -std::min(a, 0.0) - std::min(b, 0.0);
    };
    Grid floorAndWall(kind, nDepth + n, n);
    floorAndWall.map = [=](double u, double v, double* p) {
        fold(unfold(u, nDepth + n), v * size, p);
    };
    Grid wall(kind, n, nDepth);
    wall.map = [=](double u, double v, double* p) { fold(u * size, unfold(v, nDepth), p); };
    return Join(floorAndWall.build(), wall.build(), 1e-9 * (size + depth));
}

Mesh Fins(Kind kind, const std::vector<double>& angles, const std::vector<double>& widths,
          double height) {
    Mesh m;
    const bool quads = kind == Kind::Quad4 || kind == Kind::Quad8;
    const bool quad = quadratic(kind);
    m.width = quads ? (quad ? 8 : 4) : (quad ? 6 : 3);
    auto node = [&m](double x, double y, double z) {
        m.nodeIds.push_back(m.numNodes() + 1);
        m.xyz.insert(m.xyz.end(), {x, y, z});
        return m.numNodes();
    };
    // The spine: bottom, top and (quadratic) its midpoint.
    const int s0 = node(0.0, 0.0, 0.0);
    const int s1 = node(0.0, 0.0, height);
    const int sm = quad ? node(0.0, 0.0, height / 2.0) : 0;
    for (size_t k = 0; k < angles.size(); ++k) {
        const double width = widths.empty() ? 1.0 : widths[std::min(k, widths.size() - 1)];
        const double x = width * std::cos(angles[k]), y = width * std::sin(angles[k]);
        std::vector<int> row;
        if (quads) {
            const int o0 = node(x, y, 0.0);
            const int o1 = node(x, y, height);
            row = {s0, o0, o1, s1};
            if (quad) {
                const int m0 = node(x / 2, y / 2, 0.0);
                const int m1 = node(x, y, height / 2);
                const int m2 = node(x / 2, y / 2, height);
                row.insert(row.end(), {m0, m1, m2, sm});
            }
        } else {
            const int tip = node(x, y, height / 2);
            row = {s0, tip, s1};
            if (quad) {
                const int m0 = node(x / 2, y / 2, height / 4);
                const int m1 = node(x / 2, y / 2, 3 * height / 4);
                row.insert(row.end(), {m0, m1, sm});
            }
        }
        m.elemIds.push_back(m.numElems() + 1);
        m.topologies.push_back(static_cast<int>(row.size()));
        m.connectivity.insert(m.connectivity.end(), row.begin(), row.end());
    }
    return m;
}

void Flip(Mesh& mesh, int index) {
    int* row = mesh.connectivity.data() + static_cast<size_t>(index) * mesh.width;
    switch (mesh.topologies[static_cast<size_t>(index)]) {
        case 4:  // c0 c1 c2 c3 -> c0 c3 c2 c1
        case 8:  // and the midsides c0c1 c1c2 c2c3 c3c0 -> c3c0 c2c3 c1c2 c0c1
            std::swap(row[1], row[3]);
            if (mesh.topologies[static_cast<size_t>(index)] == 8) std::reverse(row + 4, row + 8);
            break;
        case 3:  // c0 c1 c2 -> c0 c2 c1
        case 6:  // and the midsides c0c1 c1c2 c2c0 -> c2c0 c1c2 c0c1
            std::swap(row[1], row[2]);
            if (mesh.topologies[static_cast<size_t>(index)] == 6) std::reverse(row + 3, row + 6);
            break;
        default:
            break;
    }
}

Mesh Join(const Mesh& a, const Mesh& b, double tol, std::vector<int>* parts) {
    Mesh m = a;
    const int nodeShift =
        a.nodeIds.empty() ? 0 : *std::max_element(a.nodeIds.begin(), a.nodeIds.end());
    const int elemShift =
        a.elemIds.empty() ? 0 : *std::max_element(a.elemIds.begin(), a.elemIds.end());

    // a's nodes by x, so that each of b's nodes looks only at a window.
    std::vector<int> byX(static_cast<size_t>(a.numNodes()));
    std::iota(byX.begin(), byX.end(), 0);
    std::sort(byX.begin(), byX.end(), [&](int p, int q) { return a.xyz[3 * p] < a.xyz[3 * q]; });
    std::map<int, int> newId;
    for (int k = 0; k < b.numNodes(); ++k) {
        const double* p = &b.xyz[3 * static_cast<size_t>(k)];
        int found = 0;
        if (tol > 0.0) {
            auto first = std::lower_bound(byX.begin(), byX.end(), p[0] - tol,
                                          [&](int q, double x) { return a.xyz[3 * q] <= x; });
            for (auto it = first; it != byX.end() && a.xyz[3 * *it] < p[0] + tol; ++it) {
                const double* q = &a.xyz[3 * static_cast<size_t>(*it)];
                if (std::fabs(q[1] - p[1]) < tol && std::fabs(q[2] - p[2]) < tol) {
                    found = a.nodeIds[static_cast<size_t>(*it)];
                    break;
                }
            }
        }
        if (!found) {
            found = b.nodeIds[static_cast<size_t>(k)] + nodeShift;
            m.nodeIds.push_back(found);
            m.xyz.insert(m.xyz.end(), p, p + 3);
        }
        newId[b.nodeIds[static_cast<size_t>(k)]] = found;
    }

    // Rows of both at the wider width.
    const int width = std::max(a.width, b.width);
    m.connectivity.clear();
    for (int e = 0; e < a.numElems(); ++e) {
        m.connectivity.insert(m.connectivity.end(), a.row(e), a.row(e) + a.width);
        m.connectivity.resize(m.connectivity.size() + (width - a.width), 0);
    }
    for (int e = 0; e < b.numElems(); ++e) {
        m.elemIds.push_back(b.elemIds[static_cast<size_t>(e)] + elemShift);
        m.topologies.push_back(b.topologies[static_cast<size_t>(e)]);
        for (int c = 0; c < width; ++c)
            m.connectivity.push_back(c < b.width && b.row(e)[c] ? newId[b.row(e)[c]] : 0);
    }
    m.width = width;
    if (parts) {
        parts->assign(static_cast<size_t>(a.numElems()), 1);
        parts->resize(static_cast<size_t>(m.numElems()), 2);
    }
    return m;
}

Mesh TwoPatches(Kind kind, int n, double size, std::vector<int>* parts) {
    Mesh second = surfmesh::Plate(kind, n, n, size, size);
    for (size_t k = 0; k < second.xyz.size(); k += 3) second.xyz[k] += size;
    return Join(surfmesh::Plate(kind, n, n, size, size), second, size * 1e-9, parts);
}

int Load(const Mesh& mesh, CKpNodeStore& nodes, CKpElemStore& elems, const std::vector<int>& parts,
         CKpMsg* msg) {
    meshgen::Load(mesh, nodes, elems);
    node_reref(msg, &nodes, &elems);
    for (size_t e = 0; e < parts.size() && e < mesh.elemIds.size(); ++e)
        if (CKpElem* elem = elems.find(mesh.elemIds[e])) elem->setpart(parts[e]);
    return elems.entries();
}

Stores::~Stores() {
    facets.reinit();
    elems.eraseAllObjects();
    nodes.eraseAllObjects();
}

Faceted::Faceted(const std::string& name, const Mesh& mesh, const std::vector<int>& parts)
    : cap(name) {
    Load(mesh, s.nodes, s.elems, parts);
    status = rebuild();
}

int Faceted::rebuild() {
    return make_facet(&cap.log, &s.nodes, &s.elems, &s.facets);
}

void Faceted::select(std::initializer_list<int> ids, int flag) {
    for (int id : ids)
        if (CKpElem* elem = s.elems.find(id)) elem->setSltd(flag);
}

std::vector<std::string> Faceted::warnings() const {
    std::vector<std::string> out;
    std::istringstream in(cap.body());
    const std::string tag = "$# WARNING: ";
    for (std::string line; std::getline(in, line);)
        if (line.compare(0, tag.size(), tag) == 0) out.push_back(line.substr(tag.size()));
    return out;
}

}  // namespace surfmesh
