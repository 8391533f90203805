// Drapes over developable surfaces checked against their exact answer: on a
// plate, a prism and a faceted cylinder every fibre is straight in the
// development, so the draped grid is the fabric lattice laid flat from the
// start point, unsheared, and the flat pattern is the development itself.
// The drapes run through the ply (as the host runs them), over every axis
// type, fabric and warp angles aligned with the mesh and not, both element
// orientations and one or two element orders.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapePt.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpFlatPat.h"
#include "layuplib/CKpFlatPatPt.h"
#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CKpFlatPatStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpPat.h"
#include "layuplib/CKpPly.h"
#include "layuplib/IVekMaterialStore.h"
#include "layuplib/IVekPlyStore.h"
#include "layuplib/VekTList.h"
#include "layuplib/angle_util.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

using meshgen::Kind;
const double kDeg = kPi / 180.0;

struct D2 {
    double s, z;
};

// A developable test surface: its mesh and its development (s, z). The
// plate lies in z = 0 (development x, y); the prism and the cylinder are
// sections of a cylinder about the z axis from angle 0 to `sweep`, faceted
// with `around` flat faces, developed by arc length along the faceted
// section and z.
struct Surface {
    std::string name;
    meshgen::Mesh mesh;
    bool plate = true;
    double lx = 0.0, ly = 0.0;  // plate
    int around = 0;             // faces of the section
    double r = 0.0, sweep = 0.0, length = 0.0;

    double chord() const { return 2.0 * r * std::sin(sweep / (2.0 * around)); }
    // Width and height of the development.
    double width() const { return plate ? lx : around * chord(); }
    double height() const { return plate ? ly : length; }
    // Face k of the section holding the point (x, y).
    int face(double x, double y) const {
        const double a = std::atan2(y, x);
        const int k = static_cast<int>(std::floor(a / (sweep / around)));
        return std::min(around - 1, std::max(0, k));
    }
    // Unit direction of face k's section chord.
    void chordDir(int k, double* d) const {
        const double a0 = k * sweep / around, a1 = (k + 1) * sweep / around;
        const double cx = std::cos(a1) - std::cos(a0), cy = std::sin(a1) - std::sin(a0);
        const double n = std::hypot(cx, cy);
        d[0] = cx / n, d[1] = cy / n, d[2] = 0.0;
    }
    D2 dev(const CKpPoint& p) const {
        if (plate) return {p.getx(), p.gety()};
        const int k = face(p.getx(), p.gety());
        const double a0 = k * sweep / around;
        const double vx = r * std::cos(a0), vy = r * std::sin(a0);
        return {k * chord() + std::hypot(p.getx() - vx, p.gety() - vy), p.getz()};
    }
    // A direction at point p in the development.
    D2 devDir(const CKpPoint& p, const CKpDirn& d) const {
        if (plate) return {d.getx(), d.gety()};
        double c[3];
        chordDir(face(p.getx(), p.gety()), c);
        return {d.getx() * c[0] + d.gety() * c[1], d.getz()};
    }
    // The 3D direction at point p of a development direction.
    void dirAt(const CKpPoint& p, D2 d, double* out) const {
        if (plate) {
            out[0] = d.s, out[1] = d.z, out[2] = 0.0;
            return;
        }
        double c[3];
        chordDir(face(p.getx(), p.gety()), c);
        out[0] = d.s * c[0], out[1] = d.s * c[1], out[2] = d.z;
    }
    // Distance of p from the surface (its face's plane and extent).
    double off(const CKpPoint& p) const {
        double o = 0.0;
        auto outside = [](double x, double lo, double hi) {
            return std::max(0.0, std::max(lo - x, x - hi));
        };
        if (plate) return std::fabs(p.getz()) + outside(p.getx(), 0, lx) + outside(p.gety(), 0, ly);
        const int k = face(p.getx(), p.gety());
        const double a0 = k * sweep / around, am = (k + 0.5) * sweep / around;
        // Distance from the face's plane: its normal points at the middle angle.
        o += std::fabs(p.getx() * std::cos(am) + p.gety() * std::sin(am) -
                       r * (std::cos(a0) * std::cos(am) + std::sin(a0) * std::sin(am)));
        const double a = std::atan2(p.gety(), p.getx());
        return o + outside(a, 0.0, sweep) * r + outside(p.getz(), 0, length);
    }
    // Distance of a development point from the development's rim.
    double rim(D2 q) const {
        return std::min(std::min(std::fabs(q.s), std::fabs(q.s - width())),
                        std::min(std::fabs(q.z), std::fabs(q.z - height())));
    }
};

Surface Plate(Kind kind, bool flipped) {
    Surface s;
    s.name = "plate";
    s.lx = 1.0, s.ly = 0.6;
    s.mesh = meshgen::Plate(kind, 10, 6, s.lx, s.ly);
    if (flipped)
        for (int e = 0; e < s.mesh.numElems(); ++e) surfmesh::Flip(s.mesh, e);
    return s;
}

Surface Section(const char* name, Kind kind, int around, double sweep, bool flipped) {
    Surface s;
    s.name = name;
    s.plate = false;
    s.around = around, s.r = 0.6, s.sweep = sweep, s.length = 1.0;
    s.mesh = meshgen::Cylinder(kind, around, 6, s.r, s.sweep, s.length);
    if (flipped)
        for (int e = 0; e < s.mesh.numElems(); ++e) surfmesh::Flip(s.mesh, e);
    return s;
}

// One drape: a surface, the axis type, the warp angle from the reference
// direction (degrees), the fabric (warp-weft angle in degrees, ratio),
// flipped elements, and the elements in one or two orders.
struct Case {
    const char* surface;  // "plate", "prism", "cylinder"
    int axis;
    double warp, ww, ratio;
    bool flipped;
    int orders;
    Kind kind;
};

// A model with the surface, the material "CF" and one draped ply.
struct Draped {
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    std::string msgPath =
        ::testing::TempDir() + "drape_lattice_" + std::to_string(::getpid()) + ".msg";
    Surface s;
    IVekPly* ply = nullptr;
    double step = 0.1;

    ~Draped() {
        model->pMsg()->FileClose();
        std::remove(msgPath.c_str());
    }

    CKpDrape& grid() { return *model->pDrapeSim()->pDrape(); }
    CKpPat* pat() { return static_cast<CKpPly*>(ply)->pPat(); }

    // The edges (element id, side 1..n) of the elements whose two side
    // nodes both pass `on`.
    void curve(const std::function<bool(const double*)>& on, std::vector<int>& ids,
               std::vector<int>& sides) const {
        const meshgen::Mesh& m = s.mesh;
        for (int e = 0; e < m.numElems(); ++e) {
            const int n = m.topologies[static_cast<size_t>(e)] == 4 ? 4 : 3;
            const int* row = m.row(e);
            for (int k = 0; k < n; ++k)
                if (on(m.pos(row[k])) && on(m.pos(row[(k + 1) % n]))) {
                    ids.push_back(m.elemIds[static_cast<size_t>(e)]);
                    sides.push_back(k + 1);
                }
        }
    }

    int Run(const Case& c) {
        s = std::string(c.surface) == "plate"   ? Plate(c.kind, c.flipped)
            : std::string(c.surface) == "prism" ? Section("prism", c.kind, 3, kPi / 2, c.flipped)
                                                : Section("cylinder", c.kind, 16, kPi, c.flipped);
        if (meshgen::LoadModel(*model, s.mesh) != 0) return -100;
        IVekMaterial* mat = model->GetMaterialStore()->New(1);
        mat->SetName("CF");
        mat->SetThickness(0.25);
        mat->SetWarpWeftAngle(kPi / 2.0);
        mat->SetMaximumStrain(40.0 * kDeg);
        if (model->pMsg()->FileOpen(msgPath.c_str()) != 0) return -100;

        ply = model->GetPlyStore()->New();
        ply->SetName("L");
        ply->SetType(EVekMaterialScissor);
        ply->SetMaterialName("CF");
        ply->SetWarpWeftAngle(c.ww * kDeg);
        ply->SetWarpWeftRatio(c.ratio);
        // The start: off the mesh lines, unless a seed curve puts it on one;
        // then a step that is no divisor of the node spacing keeps the
        // other lattice lines off the mesh lines and the rim.
        const bool seeds = c.axis == 3 || c.axis == 4;
        step = seeds ? 0.07 : 0.1;
        ply->SetStepLength(step);
        ply->SetExtensionType(1);
        ply->SetProjectionMethod(c.axis);
        ply->SetReferenceAngle(c.warp * kDeg);
        if (s.plate) {
            // A seed curve start lies on the surface.
            const double eye[3] = {seeds ? 0.4 : 0.4537, seeds ? 0.3 : 0.3123, seeds ? 0.0 : 5.0},
                         down[3] = {0, 0, -1}, ref[3] = {1, 0, 0};
            ply->SetSeedPoint(eye);
            ply->SetApplicationDirection(down);
            ply->SetReferenceDirection(ref);
        } else {
            const double a = seeds ? s.sweep / s.around : 0.37 * s.sweep, z = seeds ? 0.5 : 0.4123;
            const double e = seeds ? s.r : 5.0;
            const double eye[3] = {e * std::cos(a), e * std::sin(a), z},
                         in[3] = {-std::cos(a), -std::sin(a), 0}, ref[3] = {0, 0, 1};
            ply->SetSeedPoint(eye);
            ply->SetApplicationDirection(in);
            ply->SetReferenceDirection(ref);
        }
        if (seeds) {
            // Warp curve along the first direction of the development
            // through the start, weft curve along the second.
            std::vector<int> ids[2], sides[2];
            if (s.plate) {
                curve([](const double* p) { return std::fabs(p[1] - 0.3) < 1e-9; }, ids[0],
                      sides[0]);
                curve([](const double* p) { return std::fabs(p[0] - 0.4) < 1e-9; }, ids[1],
                      sides[1]);
            } else {
                const double a = s.sweep / s.around;
                curve([](const double* p) { return std::fabs(p[2] - 0.5) < 1e-9; }, ids[0],
                      sides[0]);
                curve([a](const double* p) { return std::fabs(std::atan2(p[1], p[0]) - a) < 1e-9; },
                      ids[1], sides[1]);
            }
            ply->SetSeedCurveDirection(EVekPlySeedCurveWarp);
            for (int k = 0; k < (c.axis == 3 ? 2 : 1); ++k)
                if (ply->SetSeedCurveEdges(k, static_cast<int>(ids[k].size()), ids[k].data(),
                                           sides[k].data()) != 0)
                    return -100;
        }
        if (c.orders == 2) {
            // The half of the development with s beyond its middle is the
            // second order.
            std::vector<int> ids, orders;
            for (int e = 0; e < s.mesh.numElems(); ++e) {
                const int* row = s.mesh.row(e);
                double x = 0, y = 0;
                for (int k = 0; k < 3; ++k) {
                    x += s.mesh.pos(row[k])[0] / 3;
                    y += s.mesh.pos(row[k])[1] / 3;
                }
                CKpPoint p;
                p.Set(x, y, 0.0);
                const double along = s.plate ? x : s.face(x, y) * s.chord();
                ids.push_back(s.mesh.elemIds[static_cast<size_t>(e)]);
                orders.push_back(along > 0.55 * s.width() ? 1 : 0);
            }
            ply->SetElementIdsOrders(static_cast<int>(ids.size()), ids.data(), orders.data());
        }
        return ply->Simulate();
    }
};

std::string Name(const Case& c) {
    char text[160];
    std::snprintf(text, sizeof text, "%s axis %d warp %g ww %g ratio %g%s, %d order(s), %s",
                  c.surface, c.axis, c.warp, c.ww, c.ratio, c.flipped ? " flipped" : "", c.orders,
                  c.kind == Kind::Quad4 ? "quad4" : "tria3");
    return text;
}

// The lattice of the drape: start, warp and weft in the development.
struct Lattice {
    D2 o, w, t;
    double h, k;  // warp and weft steps
    D2 at(double u, double v) const {
        return {o.s + u * h * w.s + v * k * t.s, o.z + u * h * w.z + v * k * t.z};
    }
};

// Checks the drape of `c` against its lattice, to `tol` steps (and radians
// of shear).
void CheckLattice(const Case& c, Draped& d, double tol) {
    CKpDrape& g = d.grid();
    const CKpDrapePt* p0 = g.pDrapePt(0, 0);
    ASSERT_NE(p0, nullptr);
    const CKpFacet* f0 = d.model->pFacs()->pFac(p0->GetFacet());
    ASSERT_NE(f0, nullptr);
    const double h = d.pat()->stepUsed();
    Lattice L{d.s.dev(p0->GetPoint()),
              d.s.devDir(p0->GetPoint(), f0->GetDirn(p0->GetAveWarpAng(nullptr))),
              d.s.devDir(p0->GetPoint(), f0->GetDirn(p0->GetAveWeftAng(nullptr))), h, h / c.ratio};
    // The start directions are the ones asked for.
    const double cw = L.w.s * L.t.s + L.w.z * L.t.z;
    EXPECT_NEAR(std::acos(std::max(-1.0, std::min(1.0, cw))), c.ww * kDeg, 1e-9);
    if (c.axis != 3 && c.axis != 4) {
        const D2 ref = d.s.plate ? D2{1, 0} : D2{0, 1};
        EXPECT_NEAR(std::acos(std::max(-1.0, std::min(1.0, L.w.s * ref.s + L.w.z * ref.z))),
                    c.warp * kDeg, 1e-9);
    }
    // A fibre that stops short of a corner beyond the rim takes the
    // direction that brought the straight continuations of the two fibres'
    // last segments together there; across a fold those continuations leave
    // the surface, and the end strays from the lattice line by up to about
    // a hundredth of a step.
    const double endTol = d.s.plate ? tol : std::max(tol, 2e-2);
    int u0, u1, v0, v1, points = 0;
    g.GetBounds(u0, u1, v0, v1);
    for (int u = u0; u <= u1; ++u)
        for (int v = v0; v <= v1; ++v) {
            const CKpDrapePt* p = g.pDrapePt(u, v);
            if (!p) continue;
            ++points;
            const D2 want = L.at(u, v), got = d.s.dev(p->GetPoint());
            const double err = std::hypot(got.s - want.s, got.z - want.z) / h;
            EXPECT_LT(err, tol) << u << " " << v;
            EXPECT_LT(std::fabs(p->GetStrn()), tol) << u << " " << v;
            EXPECT_LT(d.s.off(p->GetPoint()), 1e-9) << u << " " << v;
            // A fibre that ends does so along its lattice line: short of the
            // next point on the rim, or past a next point that was already
            // there.
            for (int k = 0; k < 4; ++k) {
                if (!p->EndFracSet(k)) continue;
                const double f = p->GetEndFrac(k), sgn = k < 2 ? 1.0 : -1.0;
                const D2 end = k % 2 == 0 ? L.at(u + sgn * f, v) : L.at(u, v + sgn * f);
                const D2 reached = d.s.dev(p->GetEndPoint(k));
                EXPECT_LT(std::hypot(reached.s - end.s, reached.z - end.z) / h, endTol)
                    << u << " " << v << " " << k << " f " << f;
                if (f < 1.0)
                    EXPECT_LT(d.s.rim(reached), 1e-6) << u << " " << v << " " << k << " " << f;
                else
                    EXPECT_NE(k % 2 == 0 ? g.pDrapePt(u + (k < 2 ? 1 : -1), v)
                                         : g.pDrapePt(u, v + (k < 2 ? 1 : -1)),
                              nullptr)
                        << u << " " << v << " " << k << " " << f;
            }
        }
    // Every lattice position inside the surface holds a point.
    int inside = 0;
    for (int u = -100; u <= 100; ++u)
        for (int v = -100; v <= 100; ++v) {
            const D2 q = L.at(u, v);
            const double m = 1e-3 * h;
            inside += q.s > m && q.s < d.s.width() - m && q.z > m && q.z < d.s.height() - m;
        }
    EXPECT_GE(points, inside);
    EXPECT_LE(points, inside + 2 * (u1 - u0 + v1 - v0 + 2));  // those on the rim

    // The elements' fibre directions are the lattice's.
    VekTList<int> ids;
    VekTList<double> mids, warps, wefts, sizes;
    ASSERT_EQ(d.ply->GetOrientations(ids, mids, warps, wefts, sizes), 0);
    ASSERT_EQ(ids.GetSize(), d.s.mesh.numElems());
    for (int e = 0; e < ids.GetSize(); ++e) {
        CKpPoint m;
        m.Set(mids[3 * e], mids[3 * e + 1], mids[3 * e + 2]);
        double w3[3], t3[3];
        d.s.dirAt(m, L.w, w3);
        d.s.dirAt(m, L.t, t3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(warps[3 * e + k], w3[k], tol) << "element " << ids[e];
            EXPECT_NEAR(wefts[3 * e + k], t3[k], tol) << "element " << ids[e];
        }
    }
}

std::string Errors(Draped& d) {
    std::string all;
    for (const std::string& t : d.gui.texts(4)) all += t + "\n";
    return all;
}

}  // namespace

// The cases combine every pair of surface, axis type, warp angle, fabric,
// element orientation and order count at least once (the seed curves lie
// along the mesh, so their warp follows the mesh).
TEST(DrapeLattice, DevelopableSurfacesDrapeToTheExactLattice) {
    const Case cases[] = {
        {"plate", 0, 0, 90, 1.0, false, 1, Kind::Quad4},
        {"plate", 1, 38, 70, 1.3, true, 2, Kind::Quad4},
        {"plate", 2, 17, 60, 0.8, false, 2, Kind::Tria3},
        {"plate", 3, 0, 90, 1.0, true, 1, Kind::Tria3},
        {"plate", 4, 0, 70, 1.3, false, 2, Kind::Quad4},
        {"plate", 1, 90, 90, 1.0, false, 1, Kind::Tria3},
        {"plate", 0, 38, 60, 0.8, true, 2, Kind::Quad4},
        {"plate", 2, 0, 70, 1.3, true, 1, Kind::Quad4},
        {"prism", 0, 17, 70, 1.3, false, 1, Kind::Quad4},
        {"prism", 1, 0, 60, 0.8, false, 2, Kind::Quad4},
        {"prism", 2, 0, 90, 1.0, true, 1, Kind::Quad4},
        {"prism", 3, 0, 90, 1.0, false, 2, Kind::Quad4},
        {"prism", 4, 0, 60, 0.8, true, 1, Kind::Tria3},
        {"prism", 1, 90, 70, 1.3, true, 1, Kind::Tria3},
        {"cylinder", 0, 90, 60, 0.8, true, 1, Kind::Tria3},
        {"cylinder", 1, 17, 90, 1.0, true, 2, Kind::Quad4},
        {"cylinder", 2, 90, 90, 1.3, false, 2, Kind::Tria3},
        {"cylinder", 3, 0, 90, 1.0, true, 1, Kind::Quad4},
        {"cylinder", 4, 0, 90, 1.0, false, 2, Kind::Quad4},
        {"cylinder", 1, 38, 60, 0.8, false, 1, Kind::Quad4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c));
        Draped d;
        ASSERT_EQ(d.Run(c), 0) << Errors(d);
        // Seed curve axes start 0.001 of the way towards their facets'
        // centroids, a few millionths of a step off the lattice.
        CheckLattice(c, d, c.axis >= 3 ? 2e-5 : 1e-6);
    }
}

// The flat pattern of a plate is the plate, and that of a cylinder section
// its development, whatever the axes: area and perimeter to 1e-6 (the
// fibre ends at the axis ends place the pattern's rim).
TEST(DrapeLattice, FlatPatternIsTheDevelopment) {
    for (const char* surface : {"plate", "cylinder"})
        for (int axis = 0; axis <= 4; ++axis)
            for (double warp : {0.0, 38.0}) {
                if (warp != 0.0 && (axis >= 2 || std::string(surface) == "cylinder")) continue;
                const Case c{surface, axis, warp, 90, 1.0, false, 1, Kind::Quad4};
                SCOPED_TRACE(Name(c));
                Draped d;
                ASSERT_EQ(d.Run(c), 0) << Errors(d);
                const CKpFlatPatStore* flats = d.model->pDrapeSim()->pFlatPats();
                ASSERT_EQ(flats->entries(), 1);
                const double h = d.pat()->stepUsed();
                double twice = 0.0, rim = 0.0;
                for (const CKpFlatPatPt* p = flats->First()->GetPoints().First(); p && p->getNext();
                     p = p->getNext()) {
                    const CKpFlatPatPt* q = p->getNext();
                    twice += p->getU() * q->getV() - q->getU() * p->getV();
                    rim += std::hypot(q->getU() - p->getU(), q->getV() - p->getV());
                }
                const double w = d.s.width(), ht = d.s.height();
                EXPECT_NEAR(std::fabs(0.5 * twice) * h * h, w * ht, 1e-6);
                EXPECT_NEAR(rim * h, 2.0 * (w + ht), 1e-6);
            }
}
