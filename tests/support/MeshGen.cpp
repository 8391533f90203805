#include "tests/support/MeshGen.h"

#include <cmath>
#include <functional>
#include <random>
#include <utility>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/ILayup.h"

namespace meshgen {
namespace {

using MapFn = std::function<void(double u, double v, double* xyz)>;

bool quadratic(Kind k) {
    return k == Kind::Quad8 || k == Kind::Tria6;
}

int topologyOf(Kind k) {
    switch (k) {
        case Kind::Quad4:
            return 4;
        case Kind::Quad8:
            return 8;
        case Kind::Tria3:
            return 3;
        case Kind::Tria6:
            return 6;
    }
    return 0;
}

// Builds the mesh on a (2nx+1) x (2ny+1) grid for quadratic kinds, an
// (nx+1) x (ny+1) grid otherwise, with grid point (i, j) at map(i/gx, j/gy).
Mesh build(Kind kind, int nx, int ny, const MapFn& map, const Numbering& num) {
    Mesh m;
    const int s = quadratic(kind) ? 2 : 1;  // grid steps per element
    const int gx = s * nx;
    const int gy = s * ny;
    // Quad8 has no centre node: those grid points get no id.
    std::vector<int> idAt((gx + 1) * (gy + 1), 0);
    auto used = [&](int i, int j) { return !(kind == Kind::Quad8 && i % 2 == 1 && j % 2 == 1); };
    int nextId = num.firstNode;
    for (int j = 0; j <= gy; ++j)
        for (int i = 0; i <= gx; ++i) {
            if (!used(i, j)) continue;
            idAt[j * (gx + 1) + i] = nextId;
            m.nodeIds.push_back(nextId++);
            double p[3];
            map(static_cast<double>(i) / gx, static_cast<double>(j) / gy, p);
            m.xyz.insert(m.xyz.end(), p, p + 3);
        }
    auto id = [&](int i, int j) { return idAt[j * (gx + 1) + i]; };

    m.width = topologyOf(kind);
    int nextElem = num.firstElem;
    auto add = [&](std::vector<int> row) {
        m.elemIds.push_back(nextElem++);
        m.topologies.push_back(topologyOf(kind));
        m.connectivity.insert(m.connectivity.end(), row.begin(), row.end());
    };
    for (int ey = 0; ey < ny; ++ey)
        for (int ex = 0; ex < nx; ++ex) {
            const int i = s * ex;
            const int j = s * ey;
            switch (kind) {
                case Kind::Quad4:
                    add({id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1)});
                    break;
                case Kind::Quad8:
                    add({id(i, j), id(i + 2, j), id(i + 2, j + 2), id(i, j + 2), id(i + 1, j),
                         id(i + 2, j + 1), id(i + 1, j + 2), id(i, j + 1)});
                    break;
                case Kind::Tria3:
                    add({id(i, j), id(i + 1, j), id(i + 1, j + 1)});
                    add({id(i, j), id(i + 1, j + 1), id(i, j + 1)});
                    break;
                case Kind::Tria6:
                    add({id(i, j), id(i + 2, j), id(i + 2, j + 2), id(i + 1, j), id(i + 2, j + 1),
                         id(i + 1, j + 1)});
                    add({id(i, j), id(i + 2, j + 2), id(i, j + 2), id(i + 1, j + 1),
                         id(i + 1, j + 2), id(i, j + 1)});
                    break;
            }
        }

    if (num.shuffleSeed != 0) {
        // Fisher-Yates with our own index draw, so that the order does not
        // depend on the standard library's distributions.
        std::mt19937 rng(num.shuffleSeed);
        for (int k = m.numNodes() - 1; k > 0; --k) {
            const int r = static_cast<int>(rng() % static_cast<unsigned>(k + 1));
            std::swap(m.nodeIds[k], m.nodeIds[r]);
            for (int c = 0; c < 3; ++c) std::swap(m.xyz[3 * k + c], m.xyz[3 * r + c]);
        }
        for (int k = m.numElems() - 1; k > 0; --k) {
            const int r = static_cast<int>(rng() % static_cast<unsigned>(k + 1));
            std::swap(m.elemIds[k], m.elemIds[r]);
            std::swap(m.topologies[k], m.topologies[r]);
            for (int c = 0; c < m.width; ++c)
                std::swap(m.connectivity[k * m.width + c], m.connectivity[r * m.width + c]);
        }
    }
    return m;
}

}  // namespace

const double* Mesh::pos(int id) const {
    for (size_t k = 0; k < nodeIds.size(); ++k)
        if (nodeIds[k] == id) return xyz.data() + 3 * k;
    return nullptr;
}

Mesh Plate(Kind kind, int nx, int ny, double lx, double ly, Numbering numbering) {
    return build(
        kind, nx, ny,
        [lx, ly](double u, double v, double* p) {
            p[0] = u * lx;
            p[1] = v * ly;
            p[2] = 0.0;
        },
        numbering);
}

Mesh Cylinder(Kind kind, int nAround, int nAlong, double r, double sweep, double length,
              Numbering numbering) {
    return build(
        kind, nAround, nAlong,
        [r, sweep, length](double u, double v, double* p) {
            p[0] = r * std::cos(u * sweep);
            p[1] = r * std::sin(u * sweep);
            p[2] = v * length;
        },
        numbering);
}

int Load(const Mesh& mesh, CKpNodeStore& nodes, CKpElemStore& elems) {
    for (int k = 0; k < mesh.numNodes(); ++k) {
        CKpNode* node = nodes.NewNode(mesh.nodeIds[k]);
        node->setCKpPoint(mesh.xyz[3 * k], mesh.xyz[3 * k + 1], mesh.xyz[3 * k + 2]);
        node->setIncompleteFlag(0);
        nodes.insert(node);
    }
    int created = 0;
    for (int e = 0; e < mesh.numElems(); ++e) {
        const int topology = mesh.topologies[e];
        CKpElem* elem = elems.NewElem(mesh.elemIds[e], CKpElem::GetGmtpForTopology(topology));
        elem->seteltp(1);
        elem->SetConnectivityKor(CKpElem::GetNumNodesForTopology(topology), mesh.row(e));
        elems.insert(elem);
        ++created;
    }
    return created;
}

int LoadModel(ILayup& model, const Mesh& mesh) {
    const std::vector<int> patches(mesh.elemIds.size(), 0);
    return model.NewLayupMesh(
        mesh.numNodes(), mesh.nodeIds.data(), mesh.xyz.data(), mesh.numElems(), mesh.elemIds.data(),
        patches.data(), mesh.topologies.data(), mesh.width, mesh.connectivity.data(), 0.0, 0.0);
}

}  // namespace meshgen
