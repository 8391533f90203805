#include "layuplib/FillSolidElements.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "layuplib/LinAlg.h"
#include "tests/support/BrickGen.h"
#include "tests/support/FillSolidHelpers.h"
#include "tests/support/StackingFile.h"
#include "tests/support/Tolerance.h"

using namespace SolidElements;
using brickgen::Order;

namespace {

// Bricks given by their 8 corners (local order), nodes shared where corners
// coincide exactly; ids from 1 in order of first use.
brickgen::BrickMesh FromCorners(const std::vector<std::array<double, 24>>& bricks) {
    brickgen::BrickMesh m;
    m.stride = 8;
    std::map<std::array<double, 3>, int> ids;
    for (size_t b = 0; b < bricks.size(); ++b) {
        m.elemIds.push_back(static_cast<int>(b) + 1);
        m.elemTypes.push_back(28);
        for (int k = 0; k < 8; ++k) {
            const std::array<double, 3> p = {bricks[b][3 * k], bricks[b][3 * k + 1],
                                             bricks[b][3 * k + 2]};
            auto it = ids.find(p);
            if (it == ids.end()) {
                it = ids.emplace(p, static_cast<int>(ids.size()) + 1).first;
                m.nodeIds.push_back(it->second);
                m.xyz.insert(m.xyz.end(), p.begin(), p.end());
            }
            m.conn.push_back(it->second);
        }
    }
    return m;
}

// An axis-aligned brick [x0,x1] x [y0,y1] x [z0,z1] in local order.
std::array<double, 24> Cube(double x0, double x1, double y0, double y1, double z0, double z1) {
    return {x0, y0, z0, x1, y0, z0, x1, y1, z0, x0, y1, z0,
            x0, y0, z1, x1, y0, z1, x1, y1, z1, x0, y1, z1};
}

std::string ErrorText(IFillSolid& f, int len = 512) {
    std::vector<char> buf(static_cast<size_t>(len), 'x');
    f.GetLastError(buf.data(), len);
    return buf.data();
}

}  // namespace

// ---- the component and its read-backs

TEST(FillSolidInterface, FactoryCountsAndExportedSymbol) {
    using Factory = int (*)(IFillSolid*&);
    auto factory = reinterpret_cast<Factory>(dlsym(RTLD_DEFAULT, "CreateFillSolid"));
    ASSERT_NE(factory, nullptr);
    IFillSolid* f = nullptr;
    ASSERT_EQ(factory(f), 0);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->AddRef(), 2);
    void* out = &out;
    EXPECT_EQ(f->QueryInterface("IFillSolid", &out), 1);
    EXPECT_EQ(f->QueryInterface(nullptr, nullptr), 1);
    EXPECT_EQ(out, &out);
    EXPECT_EQ(f->Release(), 1);
    EXPECT_EQ(f->Release(), 0);  // destroyed: the leak checker would see otherwise
}

TEST(FillSolidInterface, ReadBacksRefuseBadIndicesAndBuffers) {
    fillsolid::Filler f = fillsolid::Make();
    IFillSolidCSys* csys = reinterpret_cast<IFillSolidCSys*>(0x10);
    IFillSolidSection* section = reinterpret_cast<IFillSolidSection*>(0x10);
    EXPECT_EQ(f->GetCSys(-1, csys), 1);
    EXPECT_EQ(f->GetCSys(0, csys), 1);
    EXPECT_EQ(f->GetSection(-1, section), 1);
    EXPECT_EQ(f->GetSection(0, section), 1);
    EXPECT_EQ(csys, reinterpret_cast<IFillSolidCSys*>(0x10));
    EXPECT_EQ(section, reinterpret_cast<IFillSolidSection*>(0x10));

    // No message yet: an empty text; a null buffer or no room writes nothing.
    EXPECT_EQ(ErrorText(*f), "");
    EXPECT_EQ(f->GetLastError(nullptr, 10), 0);
    char one[2] = {'x', 'y'};
    EXPECT_EQ(f->GetLastError(one, 0), 0);
    EXPECT_EQ(one[0], 'x');

    // Mode 7 reads no file.
    EXPECT_EQ(f->ReadStacking(static_cast<IFillSolid::EStacking>(7), "/no/such", "/no/such"), 0);
    EXPECT_EQ(f->GetMessages().GetNumMessages(), 0);

    // The earliest message is the one reported, cut to the buffer.
    EXPECT_EQ(f->CreateStackingTubes(1, nullptr, 0), 1);
    EXPECT_EQ(f->ReadStacking(IFillSolid::eFromBottom, "/no/such/file", nullptr), 4);
    EXPECT_EQ(ErrorText(*f), "Selected Face is not part of the selected elements");
    EXPECT_EQ(ErrorText(*f, 9), "Selected");
    EXPECT_EQ(fillsolid::LastMessage(*f), "Unable to open file /no/such/file");
    EXPECT_EQ(f->GetMessages().GetType(1), Messages::eError);

    // Nothing built: empty sizes, and the mid-surface is refused.
    int nn = -1, ne = -1, w = -1;
    EXPECT_EQ(f->GetElementSizes(nn, ne, w), 0);
    EXPECT_EQ(std::vector<int>({nn, ne, w}), std::vector<int>({0, 0, 20}));
    EXPECT_EQ(fillsolid::GetMid(*f).status, 1);
    EXPECT_EQ(fillsolid::LastMessage(*f), "Midplane has not been contstructed");
}

TEST(FillSolidInterface, CreateRefusesBadMeshesAndBuildsNothing) {
    const brickgen::BrickMesh box = brickgen::Box(Order::Hex8, 1, 1, 2, 1, 1, 2);
    const brickgen::BrickMesh box20 = brickgen::Box(Order::Hex20, 1, 1, 1, 1, 1, 1);
    struct Case {
        const char* what;
        brickgen::BrickMesh mesh;
        int nNodes, nElems, stride;
        bool nullElemIds;
        const char* message;
    };
    auto with = [](brickgen::BrickMesh m, auto change) {
        change(m);
        return m;
    };
    const int nn = box.numNodes(), ne = box.numElems();
    std::vector<Case> cases = {
        {"no nodes", box, 0, ne, 8, false,
         "Create: 0 nodes and 2 elements given; both counts must be positive"},
        {"negative elements", box, nn, -2, 8, false,
         "Create: 12 nodes and -2 elements given; both counts must be positive"},
        {"null element ids", box, nn, ne, 8, true,
         "Create: an array of node ids, coordinates, element ids, element types or "
         "connectivity is missing"},
        {"zero stride", box, nn, ne, 0, false, "Create: the connectivity stride 0 is not positive"},
        {"stride below 8", box, nn, ne, 7, false,
         "Create: the connectivity stride 7 is below the 8 nodes of element 1"},
        {"stride below 20", box20, box20.numNodes(), 1, 19, false,
         "Create: the connectivity stride 19 is below the 20 nodes of element 1"},
        {"mixed types", with(box, [](auto& m) { m.elemTypes[1] = 20; }), nn, ne, 8, false,
         "All selected elements should have the same element type"},
        {"repeated element", with(box, [](auto& m) { m.elemIds[1] = 1; }), nn, ne, 8, false,
         "Element id 1 is repeated"},
        {"repeated node", with(box, [](auto& m) { m.nodeIds[3] = m.nodeIds[2]; }), nn, ne, 8, false,
         "Node id 3 is repeated"},
        {"missing node", with(box, [](auto& m) { m.conn[13] = 40; }), nn, ne, 8, false,
         "Element 2 refers to node 40, which is not in the node list"},
        {"not finite", with(box, [](auto& m) { m.xyz[4] = std::nan(""); }), nn, ne, 8, false,
         "Create: node 2 has a non-finite coordinate"},
        // Node 40 sits just above the largest id: a lookup that takes the next
        // larger id would find node 12 instead of failing.
        {"missing below largest", with(box, [](auto& m) { m.conn[0] = 0; }), nn, ne, 8, false,
         "Element 1 refers to node 0, which is not in the node list"},
        // A second copy of the upper brick: its bottom face is then held by
        // three bricks.
        {"coincident bricks",
         with(box,
              [](auto& m) {
                  m.elemIds.push_back(3);
                  m.elemTypes.push_back(28);
                  m.conn.insert(m.conn.end(), m.conn.begin() + 8, m.conn.begin() + 16);
              }),
         nn, ne + 1, 8, false, "Face of element 3 is shared by more than two elements"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fillsolid::Filler f = fillsolid::Make();
        const brickgen::BrickMesh& m = c.mesh;
        EXPECT_EQ(f->Create(c.nNodes, m.nodeIds.data(), m.xyz.data(), c.nElems,
                            c.nullElemIds ? nullptr : m.elemIds.data(), m.elemTypes.data(),
                            c.stride, m.conn.data()),
                  1);
        EXPECT_EQ(ErrorText(*f), c.message);
        int n1 = -1, n2 = -1, w = 0;
        f->GetElementSizes(n1, n2, w);
        EXPECT_EQ(n1 + n2, 0);
        EXPECT_TRUE(f->Faces().empty());
        // The filler is still usable.
        EXPECT_EQ(fillsolid::Load(*f, box), 0);
        EXPECT_EQ(fillsolid::Tubes(*f, box), 0);
    }
}

// ---- brick analysis, exact geometry

TEST(FillSolidBricks, SingleBrickFromEitherSide) {
    // A 2 x 3 x 4 brick; the generator numbers its nodes along x, then y,
    // then z, so its local corners are 1 2 4 3 5 6 8 7.
    const brickgen::BrickMesh m = brickgen::Box(Order::Hex8, 1, 1, 1, 2, 3, 4);
    fillsolid::Filler bottom = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*bottom, m), 0);
    const int face0[4] = {4, 2, 1, 3};  // any order
    ASSERT_EQ(bottom->CreateStackingTubes(1, face0, 4), 0);
    EXPECT_EQ(bottom->HasElementOrientationChanged(), 0);
    ASSERT_EQ(bottom->Tubes().size(), 1u);
    EXPECT_EQ(bottom->Tubes()[0]->NumElements(), 1);
    EXPECT_EQ(bottom->Tubes()[0]->GetMidElement(), 0);
    const fillsolid::Midsurface a = fillsolid::GetMid(*bottom);
    ASSERT_EQ(a.status, 0);
    EXPECT_EQ(a.perElem, 4);
    ASSERT_EQ(a.nodeIds, std::vector<int>({1, 2, 3, 4}));
    EXPECT_EQ(a.elemIds, std::vector<int>({1}));
    EXPECT_EQ(a.counts, std::vector<int>({4}));
    // Points sorted by x, y, z; the element follows face 0's corners.
    const std::vector<double> mids = {0, 0, 2, 0, 3, 2, 2, 0, 2, 2, 3, 2};
    EXPECT_TRUE(NearArray(a.xyz, mids, 12, tol::length));
    EXPECT_EQ(a.conn, std::vector<int>({1, 3, 4, 2}));

    // Picking the top face turns the brick over: the old face 1 corners,
    // reversed, come first, and the mid-surface element runs the other way.
    fillsolid::Filler top = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*top, m), 0);
    ASSERT_EQ(std::vector<int>(m.conn.begin(), m.conn.end()),
              std::vector<int>({1, 2, 4, 3, 5, 6, 8, 7}));
    const int face1[4] = {5, 6, 7, 8};
    ASSERT_EQ(top->CreateStackingTubes(1, face1, 4), 0);
    EXPECT_EQ(top->HasElementOrientationChanged(), 1);
    std::vector<int> nodeIds, elemIds, types, conn;
    std::vector<double> xyz;
    int stride = 0;
    ASSERT_EQ(top->GetElements(nodeIds, xyz, elemIds, types, conn, stride), 0);
    EXPECT_EQ(stride, 20);
    EXPECT_EQ(std::vector<int>(conn.begin(), conn.begin() + 8),
              std::vector<int>({7, 8, 6, 5, 3, 4, 2, 1}));
    EXPECT_EQ(nodeIds, m.nodeIds);
    EXPECT_EQ(xyz, m.xyz);
    const fillsolid::Midsurface b = fillsolid::GetMid(*top);
    EXPECT_EQ(b.xyz, a.xyz);
    EXPECT_EQ(b.conn, std::vector<int>({2, 4, 3, 1}));
    double na[3], nb[3];
    bottom->Tubes()[0]->GetMidNormal(na);
    top->Tubes()[0]->GetMidNormal(nb);
    EXPECT_TRUE(NearArray(na, std::vector<double>({0, 0, 1}), 3, tol::length));
    EXPECT_TRUE(NearArray(nb, std::vector<double>({0, 0, -1}), 3, tol::length));
}

TEST(FillSolidBricks, PickedFaceMustBeAFreeFaceOfAKnownElement) {
    const brickgen::BrickMesh m = brickgen::Box(Order::Hex8, 1, 1, 2, 1, 1, 2);
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    const std::vector<int> bottom = m.WFace(0, 0, 0, false);
    const std::vector<int> middle = m.WFace(0, 0, 0, true);
    struct Case {
        int elem;
        std::vector<int> nodes;
        const char* message;
    };
    const std::vector<Case> cases = {
        {3, bottom, "Selected Face is not part of the selected elements"},  // no element 3
        {0, bottom, "Selected Face is not part of the selected elements"},  // nor 0
        {2, bottom, "Selected Face is not part of the selected elements"},
        {1,
         {bottom[0], bottom[1], bottom[2]},
         "Selected Face is not part of the selected elements"},
        {1, middle, "Selected Face is not a free face"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(f->CreateStackingTubes(c.elem, c.nodes.data(), static_cast<int>(c.nodes.size())),
                  1);
        EXPECT_EQ(fillsolid::LastMessage(*f), c.message);
    }
    EXPECT_TRUE(f->Tubes().empty());
}

TEST(FillSolidBricks, ColumnsOfDifferentLengthAreRefused) {
    // Two columns side by side: 3 bricks on the left, 4 on the right; their
    // first two bricks share side faces.
    fillsolid::Filler f = fillsolid::Make();
    const brickgen::BrickMesh m =
        FromCorners({Cube(0, 1, 0, 1, 0, 1), Cube(0, 1, 0, 1, 1, 2), Cube(0, 1, 0, 1, 2, 3),
                     Cube(1, 2, 0, 1, 0, 1), Cube(1, 2, 0, 1, 1, 2), Cube(1, 2, 0, 1, 2, 2.5),
                     Cube(1, 2, 0, 1, 2.5, 3)});
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    const int* face = m.conn.data();  // element 1's face 0
    EXPECT_EQ(f->CreateStackingTubes(1, face, 4), 2);
    EXPECT_EQ(ErrorText(*f),
              "The first stacking tube has 3 elements through the thickness, but Element 4 is "
              "part of a stacking tube with 4 elements - this must be constant throughout the "
              "selected region");
    EXPECT_EQ(f->Tubes().size(), 2u);  // kept, without mid-surface
    EXPECT_EQ(fillsolid::GetMid(*f).status, 1);
}

TEST(FillSolidBricks, TwentyNodeBricksGiveEightNodeShells) {
    // Every local numbering of every brick (24 rotations drawn per brick),
    // picked from the bottom of a 3 x 2 x 2 box.
    for (int rotation : {0, 5, 17, -1}) {
        SCOPED_TRACE(rotation);
        brickgen::Numbering num;
        num.localRotation = rotation;
        num.rotationSeed = 7;
        const brickgen::BrickMesh m = brickgen::Box(Order::Hex20, 3, 2, 2, 3, 2, 1, num);
        fillsolid::Filler f = fillsolid::Make();
        ASSERT_EQ(fillsolid::Load(*f, m), 0);
        ASSERT_EQ(fillsolid::Tubes(*f, m, 1, 1), 0);
        EXPECT_EQ(f->GetNumThrough(), 2);
        const fillsolid::Midsurface s = fillsolid::GetMid(*f);
        ASSERT_EQ(s.status, 0);
        EXPECT_EQ(s.perElem, 8);
        EXPECT_EQ(s.nodeIds.size(), 7u * 5u - 6u);  // a 3 x 2 quad8 mesh
        EXPECT_EQ(s.elemIds.size(), 6u);
        for (size_t e = 0; e < s.elemIds.size(); ++e) {
            const int* row = s.conn.data() + 8 * e;
            double corners[4][3];
            for (int j = 0; j < 4; ++j)
                for (int c = 0; c < 3; ++c) corners[j][c] = s.Pos(row[j])[c];
            // The shell normal points from the picked side inward (+z).
            double u[3], v[3], n[3];
            for (int c = 0; c < 3; ++c) {
                u[c] = corners[2][c] - corners[0][c];
                v[c] = corners[3][c] - corners[1][c];
            }
            LinAlg::CrossProduct(u, v, n);
            EXPECT_GT(n[2], 0.0);
            for (int j = 0; j < 4; ++j) {
                EXPECT_TRUE(Near(s.Pos(row[j])[2], 0.5, tol::length));
                for (int c = 0; c < 3; ++c)
                    EXPECT_TRUE(Near(s.Pos(row[4 + j])[c],
                                     0.5 * (corners[j][c] + corners[(j + 1) % 4][c]), tol::length))
                        << "element " << e << " mid-side " << j;
            }
        }
        // The bricks as renumbered: a proper 20-node brick with face 0 at
        // the bottom of its column.
        std::vector<int> nodeIds, elemIds, types, conn;
        std::vector<double> xyz;
        int stride = 0;
        ASSERT_EQ(f->GetElements(nodeIds, xyz, elemIds, types, conn, stride), 0);
        auto at = [&m](int id) { return m.Pos(id); };
        for (size_t e = 0; e < elemIds.size(); ++e) {
            const int* row = conn.data() + 20 * e;
            for (int k = 0; k < 4; ++k) {
                EXPECT_TRUE(Near(at(row[4 + k])[2] - at(row[k])[2], 0.5, tol::length));
                const int edges[3][3] = {{row[k], row[(k + 1) % 4], row[8 + k]},
                                         {row[4 + k], row[4 + (k + 1) % 4], row[12 + k]},
                                         {row[k], row[4 + k], row[16 + k]}};
                for (const auto& edge : edges)
                    for (int c = 0; c < 3; ++c)
                        EXPECT_TRUE(Near(at(edge[2])[c], 0.5 * (at(edge[0])[c] + at(edge[1])[c]),
                                         tol::length));
            }
        }
    }
}

TEST(FillSolidBricks, InputOrderAndNumberingDoNotChangeTheResult) {
    auto run = [](brickgen::Numbering num) {
        const brickgen::BrickMesh m = brickgen::Box(Order::Hex8, 4, 3, 2, 4, 3, 2, num);
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(fillsolid::Load(*f, m), 0);
        EXPECT_EQ(fillsolid::Tubes(*f, m, 2, 1), 0);
        fillsolid::Midsurface s = fillsolid::GetMid(*f);
        // Elements as sets of points (the column order follows the local
        // numbering), each a sorted list of node ids.
        std::multiset<std::vector<int>> elems;
        for (size_t e = 0; e < s.elemIds.size(); ++e) {
            std::vector<int> row(s.conn.begin() + 4 * e, s.conn.begin() + 4 * e + 4);
            std::sort(row.begin(), row.end());
            elems.insert(row);
        }
        return std::make_pair(s, elems);
    };
    const auto plain = run({});
    brickgen::Numbering shuffled;
    shuffled.shuffleSeed = 99;
    shuffled.firstNode = 1000;
    shuffled.nodeStep = 7;
    shuffled.firstElem = 50;
    shuffled.elemStep = 3;
    const auto other = run(shuffled);
    EXPECT_EQ(other.first.xyz, plain.first.xyz);
    EXPECT_EQ(other.first.conn, plain.first.conn);
    brickgen::Numbering rotated = shuffled;
    rotated.localRotation = -1;
    const auto turned = run(rotated);
    EXPECT_EQ(turned.first.xyz, plain.first.xyz);
    EXPECT_EQ(turned.second, plain.second);
}

// ---- geometric invariants

namespace {

struct CylinderCase {
    int around = 6, along = 3;
    std::vector<double> radii = {1.0, 1.1, 1.25, 1.3};
    double sweep = 1.2, length = 2.0;
};

// Room of every brick of the column of element `first`: differences of the
// face-centroid distances from the plane of the picked face.
std::vector<double> Rooms(const brickgen::BrickMesh& m, int i, int j) {
    auto centroid = [&m](const std::vector<int>& ids, double* c) {
        c[0] = c[1] = c[2] = 0;
        for (int id : ids)
            for (int k = 0; k < 3; ++k) c[k] += m.Pos(id)[k] / ids.size();
    };
    const std::vector<int> f0 = m.WFace(i, j, 0, false);
    double n[3], d;
    LinAlg::PlaneFromPoints(m.Pos(f0[0]), m.Pos(f0[3]), m.Pos(f0[1]), n, d);
    std::vector<double> rooms;
    double previous = 0;
    for (int k = 0; k < m.nw; ++k) {
        double c[3];
        centroid(m.WFace(i, j, k, true), c);
        const double dist = std::fabs(LinAlg::DotProduct(n, c) + d);
        rooms.push_back(dist - previous);
        previous = dist;
    }
    return rooms;
}

}  // namespace

TEST(FillSolidGeometry, CylinderSegmentMidsurfaceAndLaying) {
    const CylinderCase cyl;
    const brickgen::BrickMesh m = brickgen::CylinderSegment(Order::Hex8, cyl.around, cyl.along,
                                                            cyl.radii, cyl.sweep, cyl.length);
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    ASSERT_EQ(fillsolid::Tubes(*f, m, 2, 1), 0);
    const fillsolid::Midsurface s = fillsolid::GetMid(*f);
    ASSERT_EQ(s.status, 0);
    EXPECT_EQ(s.nodeIds.size(), static_cast<size_t>((cyl.around + 1) * (cyl.along + 1)));
    const double rMid = 0.5 * (cyl.radii.front() + cyl.radii.back());
    for (size_t n = 0; n < s.nodeIds.size(); ++n)
        EXPECT_TRUE(Near(std::hypot(s.xyz[3 * n], s.xyz[3 * n + 1]), rMid, {1e-9, 0}));
    double area = 0;
    for (size_t e = 0; e < s.elemIds.size(); ++e) {
        const int* row = s.conn.data() + 4 * e;
        double u[3], v[3], n[3];
        LinAlg::Vector(s.Pos(row[0]), s.Pos(row[2]), u);
        LinAlg::Vector(s.Pos(row[1]), s.Pos(row[3]), v);
        LinAlg::CrossProduct(u, v, n);
        area += 0.5 * LinAlg::Norm(n);
    }
    const double chord = 2 * rMid * std::sin(cyl.sweep / cyl.around / 2);
    EXPECT_TRUE(Near(area, cyl.around * chord * cyl.length, {1e-9, 1e-12}));

    // Laying from the inner face: each brick's pieces fill its room, and
    // the stacking's own pieces add up to its thickness.
    const std::string path = stackfile::Write(stackfile::TempPath("cyl"), {{"A", "UD", 0.03, 0},
                                                                           {"B", "UD", 0.07, 45},
                                                                           {"C", "Fab", 0.05, -45},
                                                                           {"D", "UD", 0.1, 90}});
    ASSERT_EQ(f->ReadStacking(IFillSolid::eFromBottom, path.c_str(), nullptr), 0);
    ASSERT_EQ(f->CreateSections("Resin", 0.0, 0.0), 0);
    for (int i = 0; i < cyl.around; ++i)
        for (int j = 0; j < cyl.along; ++j) {
            const std::vector<double> rooms = Rooms(m, i, j);
            double stacked = 0;
            for (int k = 0; k < m.nw; ++k) {
                double total = 0;
                for (const fillsolid::Piece& p : fillsolid::LayersOf(*f, m.ElemId(i, j, k))) {
                    total += p.thickness;
                    if (p.material != "Resin") stacked += p.thickness;
                }
                EXPECT_LE(total, rooms[k] + 1e-12);
                EXPECT_GE(total, rooms[k] - 0.001 - 1e-12);
            }
            EXPECT_TRUE(Near(stacked, 0.25, {1e-12, 0}));
        }
}

TEST(FillSolidGeometry, RigidMotionChangesNoCountThicknessOrName) {
    const CylinderCase cyl;
    const std::string a = stackfile::Write(stackfile::TempPath("rigidA"),
                                           {{"A", "UD", 0.04, 0}, {"B", "UD", 0.08, 45}});
    const std::string b = stackfile::Write(stackfile::TempPath("rigidB"),
                                           {{"C", "UD", 0.05, 0}, {"D", "Fab", 0.06, 30}});
    auto summary = [&](const brickgen::BrickMesh& m) {
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(fillsolid::Load(*f, m), 0);
        EXPECT_EQ(fillsolid::Tubes(*f, m, 0, 0), 0);
        const double x[3] = {0.3, 0.2, 1.0}, y[3] = {0, 0, 0}, z[3] = {1, 0, 0};
        EXPECT_EQ(f->CreateCSys(x, y, z, 0.2), 0);
        EXPECT_EQ(f->ReadStacking(IFillSolid::eBottomAndTop, a.c_str(), b.c_str()), 0);
        EXPECT_EQ(f->CreateSections("Resin", 0.5, 0.01), 0);
        int nn, ne, pe, ncs, nsec;
        f->GetMidsurfaceElementSizes(nn, ne, pe);
        f->GetNumCSys(ncs);
        f->GetNumSections(nsec);
        std::vector<std::string> names;
        std::vector<double> thick;
        for (int i = 0; i < nsec; ++i) {
            IFillSolidSection* s = nullptr;
            f->GetSection(i, s);
            for (const fillsolid::Piece& p : fillsolid::Layers(*s)) {
                names.push_back(p.name);
                thick.push_back(p.thickness);
            }
        }
        std::sort(names.begin(), names.end());
        std::sort(thick.begin(), thick.end());
        return std::make_tuple(std::vector<int>({nn, ne, pe, ncs, nsec}), names, thick);
    };
    brickgen::BrickMesh m = brickgen::CylinderSegment(Order::Hex8, cyl.around, cyl.along, cyl.radii,
                                                      cyl.sweep, cyl.length);
    const auto before = summary(m);
    const double c = std::cos(0.7), s = std::sin(0.7);
    const double rot[9] = {c, -s, 0, s * 0.6, c * 0.6, -0.8, s * 0.8, c * 0.8, 0.6};
    const double shift[3] = {12.5, -3.0, 40.0};
    brickgen::Transform(m, rot, shift);
    const auto after = summary(m);
    EXPECT_EQ(std::get<0>(after), std::get<0>(before));
    EXPECT_EQ(std::get<1>(after), std::get<1>(before));
    ASSERT_EQ(std::get<2>(after).size(), std::get<2>(before).size());
    EXPECT_TRUE(
        NearArray(std::get<2>(after), std::get<2>(before), std::get<2>(before).size(), {1e-9, 0}));
}

TEST(FillSolidGeometry, ColumnTaperedToNothingKeepsItsNode) {
    // A wedge of two bricks whose thickness falls to zero at x = 0: the
    // mid-surface point there is the edge node itself.
    const brickgen::BrickMesh m = brickgen::TaperedSlab(Order::Hex8, 2, 1, {0, 0.5, 1}, 2, 1, 0, 1);
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    ASSERT_EQ(fillsolid::Tubes(*f, m, 1, 0), 0);
    const fillsolid::Midsurface s = fillsolid::GetMid(*f);
    ASSERT_EQ(s.status, 0);
    EXPECT_EQ(s.nodeIds.size(), 6u);
    for (size_t n = 0; n < s.nodeIds.size(); ++n) {
        const double x = s.xyz[3 * n];
        EXPECT_TRUE(std::isfinite(s.xyz[3 * n + 2]));
        EXPECT_TRUE(Near(s.xyz[3 * n + 2], 0.25 * x, tol::length)) << "x = " << x;
    }
}

TEST(FillSolidGeometry, CoordinateSystemsPerColumnAndMerged) {
    const CylinderCase cyl;
    const brickgen::BrickMesh m = brickgen::CylinderSegment(Order::Hex8, cyl.around, cyl.along,
                                                            cyl.radii, cyl.sweep, cyl.length);
    const double x[3] = {0, 0, 1}, y[3] = {0, 1, 0}, z[3] = {1, 0, 0};
    auto systems = [&](double tolDeg) {
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(fillsolid::Load(*f, m), 0);
        EXPECT_EQ(fillsolid::Tubes(*f, m), 0);
        const double xyz9[9] = {x[0], x[1], x[2], y[0], y[1], y[2], z[0], z[1], z[2]};
        EXPECT_EQ(f->CreateCoordinateSystems(xyz9, tolDeg), 0);
        int n = 0;
        f->GetNumCSys(n);
        std::vector<int> perSystem;
        for (int i = 0; i < n; ++i) {
            IFillSolidCSys* c = nullptr;
            f->GetCSys(i, c);
            int ne = 0;
            c->GetNumElementIDs(ne);
            perSystem.push_back(ne);
            double ax[3], az[3], o[3];
            c->GetXAxis(ax);
            c->GetZAxis(az);
            c->GetOrigin(o);
            EXPECT_TRUE(NearArray(ax, x, 3, tol::length));  // z lies in every mid-surface
            EXPECT_TRUE(Near(LinAlg::Norm(az), 1.0, tol::length));
            // The normal points outward, from the picked inner face.
            EXPECT_GT(LinAlg::DotProduct(az, o), 0.0);
        }
        return perSystem;
    };
    // The columns around turn by 0.2 rad each: 6 systems at 5 degrees, 3
    // along each; one system at 90 degrees.
    EXPECT_EQ(systems(5.0), std::vector<int>(6, 9));
    EXPECT_EQ(systems(90.0), std::vector<int>(1, 54));

    // A reference x along a column normal is refused without a message.
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    ASSERT_EQ(fillsolid::Tubes(*f, m), 0);
    double normal[3];
    f->Tubes()[0]->GetMidNormal(normal);
    EXPECT_EQ(f->CreateCSys(normal, y, z, 0.1), 1);
    EXPECT_EQ(f->GetMessages().GetNumMessages(), 0);
}

TEST(FillSolidBricks, WalkIntoAnotherColumnStops) {
    // A (picked at z = 0) with B above it; E beside A is a warped brick
    // whose far face is B's side face, so the column started from E's
    // bottom runs into B.
    const std::array<double, 24> warped = {1, 0, 0, 1, 1, 0, 2, 1, 0, 2, 0, 0,
                                           1, 0, 1, 1, 1, 1, 1, 1, 2, 1, 0, 2};
    const brickgen::BrickMesh m =
        FromCorners({Cube(0, 1, 0, 1, 0, 1), Cube(0, 1, 0, 1, 1, 2), warped});
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    EXPECT_EQ(f->CreateStackingTubes(1, m.conn.data(), 4), 3);
    EXPECT_EQ(ErrorText(*f), "Element 2 is reached by two stacking tubes");
}

TEST(FillSolidBricks, SharedFaceLookupAndReorientAcrossAFace) {
    // Two stacked bricks; the upper one numbered from its +x side.
    brickgen::Numbering num;
    num.localRotation = 9;
    const brickgen::BrickMesh m = brickgen::Box(Order::Hex8, 1, 1, 2, 1, 1, 2, num);
    fillsolid::Filler f = fillsolid::Make();
    ASSERT_EQ(fillsolid::Load(*f, m), 0);
    SolidElement* lower = f->Elements()[0].get();
    SolidElement* upper = f->Elements()[1].get();
    const int* c = m.conn.data();  // lower brick, local order
    EXPECT_EQ(lower->FindSharedFace(c[0], c[1], nullptr), lower->GetFace(0));
    EXPECT_EQ(lower->FindSharedFace(c[0], c[1], lower->GetFace(0)), lower->GetFace(2));
    EXPECT_EQ(lower->FindSharedFace(c[0], c[6], nullptr), nullptr);  // a body diagonal

    // Renumber the upper brick to match the lower one across their face
    // (the lower brick's face 1): the shared face becomes face 0, and each
    // side face lies against the lower brick's side face of the same index.
    upper->Reorient(lower->GetFace(1));
    EXPECT_EQ(upper->GetFace(0), lower->GetFace(1)->GetTwin());
    for (int k = 2; k < 6; ++k)
        EXPECT_EQ(upper->GetFace(k)->CountSharedNodes(*lower->GetFace(k)), 2) << "face " << k;
    EXPECT_EQ(upper->GetFace(1)->CountSharedNodes(*lower->GetFace(1)), 0);
    std::set<const SolidElementFace*> distinct;
    for (int k = 0; k < 6; ++k) distinct.insert(upper->GetFace(k));
    EXPECT_EQ(distinct.size(), 6u);
}

TEST(FillSolidBricks, MidElementOfATiltedInterface) {
    // Two bricks, 0 to 1 high; their interface rises from z0 at x = 0 to z1
    // at x = 1, so the half-height lies in the upper brick on the left and
    // in the lower one on the right. The mean mid-surface point (z = 0.5)
    // decides: within the lower brick's centroid span it is brick 0, beyond
    // it the upper one.
    auto midElement = [](double z0, double z1) {
        const std::array<double, 24> lower = {0, 0, 0,  1, 0, 0,  1, 1, 0,  0, 1, 0,
                                              0, 0, z0, 1, 0, z1, 1, 1, z1, 0, 1, z0};
        const std::array<double, 24> upper = {0, 0, z0, 1, 0, z1, 1, 1, z1, 0, 1, z0,
                                              0, 0, 1,  1, 0, 1,  1, 1, 1,  0, 1, 1};
        const brickgen::BrickMesh m = FromCorners({lower, upper});
        fillsolid::Filler f = fillsolid::Make();
        EXPECT_EQ(fillsolid::Load(*f, m), 0);
        EXPECT_EQ(f->CreateStackingTubes(1, m.conn.data(), 4), 0);
        return f->Tubes()[0]->GetMidElement();
    };
    EXPECT_EQ(midElement(0.3, 0.7), 0);  // face 1 centroid at 0.5: t = 1
    EXPECT_EQ(midElement(0.2, 0.6), 1);  // centroid at 0.4: t = 1.25
    EXPECT_EQ(midElement(0.6, 0.6), 0);  // every position agrees
}
