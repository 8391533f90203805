#include "tests/support/BrickGen.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <utility>

namespace brickgen {
namespace {

// Local fine-grid offsets (0..2 per axis) of the 20 local nodes.
const int kLocal[20][3] = {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 2},
                           {2, 0, 2}, {2, 2, 2}, {0, 2, 2}, {1, 0, 0}, {2, 1, 0},
                           {1, 2, 0}, {0, 1, 0}, {1, 0, 2}, {2, 1, 2}, {1, 2, 2},
                           {0, 1, 2}, {0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}};

using Rotation = std::array<std::array<int, 3>, 3>;

// The 24 signed permutation matrices of determinant +1; the identity first.
std::vector<Rotation> rotations() {
    std::vector<Rotation> out;
    int perm[3] = {0, 1, 2};
    do {
        const int parity = (perm[0] > perm[1]) + (perm[0] > perm[2]) + (perm[1] > perm[2]);
        for (int s = 0; s < 8; ++s) {
            const int sign[3] = {(s & 4) ? -1 : 1, (s & 2) ? -1 : 1, (s & 1) ? -1 : 1};
            if ((parity % 2 ? -1 : 1) * sign[0] * sign[1] * sign[2] != 1) continue;
            Rotation r{};
            for (int row = 0; row < 3; ++row) r[row][perm[row]] = sign[row];
            out.push_back(r);
        }
    } while (std::next_permutation(perm, perm + 3));
    return out;
}

double fine(const std::vector<double>& levels, int a) {
    return a % 2 == 0 ? levels[a / 2] : 0.5 * (levels[a / 2] + levels[a / 2 + 1]);
}

}  // namespace

int BrickMesh::ElemId(int i, int j, int k) const {
    return firstElem + elemStep * ((k * nv + j) * nu + i);
}

int BrickMesh::NodeAt(int a, int b, int c) const {
    const int ga = 2 * nu + 1, gb = 2 * nv + 1, gc = 2 * nw + 1;
    if (a < 0 || b < 0 || c < 0 || a >= ga || b >= gb || c >= gc) return 0;
    return gridIds[(static_cast<size_t>(c) * gb + b) * ga + a];
}

std::vector<int> BrickMesh::WFace(int i, int j, int k, bool upper) const {
    const int c = 2 * (k + (upper ? 1 : 0));
    const int a = 2 * i, b = 2 * j;
    std::vector<int> ids = {NodeAt(a, b, c), NodeAt(a + 2, b, c), NodeAt(a + 2, b + 2, c),
                            NodeAt(a, b + 2, c)};
    if (stride == 20)
        for (int id : {NodeAt(a + 1, b, c), NodeAt(a + 2, b + 1, c), NodeAt(a + 1, b + 2, c),
                       NodeAt(a, b + 1, c)})
            ids.push_back(id);
    return ids;
}

const double* BrickMesh::Pos(int id) const {
    for (size_t n = 0; n < nodeIds.size(); ++n)
        if (nodeIds[n] == id) return xyz.data() + 3 * n;
    return nullptr;
}

BrickMesh Block(Order order, const std::vector<double>& us, const std::vector<double>& vs,
                const std::vector<double>& ws, const MapFn& map, Numbering num) {
    BrickMesh m;
    const bool quad = order == Order::Hex20;
    m.nu = static_cast<int>(us.size()) - 1;
    m.nv = static_cast<int>(vs.size()) - 1;
    m.nw = static_cast<int>(ws.size()) - 1;
    m.stride = quad ? 20 : 8;
    m.firstElem = num.firstElem;
    m.elemStep = num.elemStep;
    const int ga = 2 * m.nu + 1, gb = 2 * m.nv + 1, gc = 2 * m.nw + 1;
    m.gridIds.assign(static_cast<size_t>(ga) * gb * gc, 0);
    int next = num.firstNode;
    for (int c = 0; c < gc; ++c)
        for (int b = 0; b < gb; ++b)
            for (int a = 0; a < ga; ++a) {
                const int odd = (a % 2) + (b % 2) + (c % 2);
                if (quad ? odd > 1 : odd > 0) continue;
                m.gridIds[(static_cast<size_t>(c) * gb + b) * ga + a] = next;
                m.nodeIds.push_back(next);
                next += num.nodeStep;
                double p[3];
                map(fine(us, a), fine(vs, b), fine(ws, c), p);
                m.xyz.insert(m.xyz.end(), p, p + 3);
            }

    const std::vector<Rotation> rots = rotations();
    std::mt19937 rotRng(num.rotationSeed);
    const int perElem = quad ? 20 : 8;
    for (int k = 0; k < m.nw; ++k)
        for (int j = 0; j < m.nv; ++j)
            for (int i = 0; i < m.nu; ++i) {
                const int r = num.localRotation >= 0 ? num.localRotation % 24
                                                     : static_cast<int>(rotRng() % 24u);
                const Rotation& rot = rots[static_cast<size_t>(r)];
                m.elemIds.push_back(m.ElemId(i, j, k));
                m.elemTypes.push_back(quad ? 20 : 28);
                for (int n = 0; n < perElem; ++n) {
                    int g[3];
                    for (int row = 0; row < 3; ++row) {
                        int s = 0;
                        for (int col = 0; col < 3; ++col) s += rot[row][col] * (kLocal[n][col] - 1);
                        g[row] = s + 1;
                    }
                    m.conn.push_back(m.NodeAt(2 * i + g[0], 2 * j + g[1], 2 * k + g[2]));
                }
            }

    if (num.shuffleSeed != 0) {
        std::mt19937 rng(num.shuffleSeed);
        for (int n = m.numNodes() - 1; n > 0; --n) {
            const int r = static_cast<int>(rng() % static_cast<unsigned>(n + 1));
            std::swap(m.nodeIds[n], m.nodeIds[r]);
            for (int c = 0; c < 3; ++c) std::swap(m.xyz[3 * n + c], m.xyz[3 * r + c]);
        }
        for (int e = m.numElems() - 1; e > 0; --e) {
            const int r = static_cast<int>(rng() % static_cast<unsigned>(e + 1));
            std::swap(m.elemIds[e], m.elemIds[r]);
            std::swap(m.elemTypes[e], m.elemTypes[r]);
            for (int c = 0; c < m.stride; ++c)
                std::swap(m.conn[static_cast<size_t>(e) * m.stride + c],
                          m.conn[static_cast<size_t>(r) * m.stride + c]);
        }
    }
    return m;
}

std::vector<double> Levels(int n, double length) {
    std::vector<double> out(static_cast<size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) out[i] = length * i / n;
    return out;
}

BrickMesh Box(Order order, int nx, int ny, int nz, double lx, double ly, double lz,
              Numbering numbering) {
    return Block(
        order, Levels(nx, lx), Levels(ny, ly), Levels(nz, lz),
        [](double u, double v, double w, double* p) {
            p[0] = u;
            p[1] = v;
            p[2] = w;
        },
        numbering);
}

BrickMesh TaperedSlab(Order order, int nx, int ny, const std::vector<double>& wLevels, double lx,
                      double ly, double h0, double h1, Numbering numbering) {
    return Block(
        order, Levels(nx, lx), Levels(ny, ly), wLevels,
        [lx, h0, h1](double u, double v, double w, double* p) {
            p[0] = u;
            p[1] = v;
            p[2] = w * (h0 + (h1 - h0) * u / lx);
        },
        numbering);
}

BrickMesh CylinderSegment(Order order, int nAround, int nAlong, const std::vector<double>& radii,
                          double sweep, double length, Numbering numbering) {
    return Block(
        order, Levels(nAround, sweep), Levels(nAlong, length), radii,
        [](double u, double v, double w, double* p) {
            p[0] = w * std::cos(u);
            p[1] = w * std::sin(u);
            p[2] = v;
        },
        numbering);
}

void Transform(BrickMesh& mesh, const double* rotation, const double* translation) {
    for (size_t n = 0; n < mesh.nodeIds.size(); ++n) {
        double* p = mesh.xyz.data() + 3 * n;
        double q[3];
        for (int r = 0; r < 3; ++r)
            q[r] = rotation[3 * r] * p[0] + rotation[3 * r + 1] * p[1] +
                   rotation[3 * r + 2] * p[2] + translation[r];
        std::copy(q, q + 3, p);
    }
}

}  // namespace brickgen
