#include "layuplib/find_nei.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/CKpGra.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/angle_util.h"
#include "layuplib/calculate_offset.h"
#include "layuplib/make_facet.h"
#include "layuplib/surface_div.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/SurfaceMeshes.h"
#include "tests/support/Tolerance.h"

namespace {

using surfmesh::Kind;

using Built = surfmesh::Faceted;

int selectedNeighbour(Built& b, CKpGra* gra = nullptr) {
    b.cap.reset();
    return find_selected_neighbour(&b.cap.log, gra, &b.s.facets, &b.s.elems);
}

int nodeId(const CKpFacet* f, int v) {
    return f->getCKpNode(v)->id();
}

// The links against a brute-force pairing of facet edges by their two node
// ids within one part: partner count, single neighbour or list, the
// partners' edges and senses. Symmetry follows from checking every side.
::testing::AssertionResult LinksMatchReference(CKpFacetStore& fs) {
    std::map<std::pair<int, int>, std::vector<std::pair<int, int>>> byNodes;
    auto key = [&fs](int i, int e) {
        const int a = nodeId(fs.pFac(i), e), b = nodeId(fs.pFac(i), (e + 1) % 3);
        return std::make_pair(std::min(a, b), std::max(a, b));
    };
    for (int i = 0; i < fs.entries(); ++i)
        for (int e = 0; e < 3; ++e) byNodes[key(i, e)].push_back({i, e});
    for (int i = 0; i < fs.entries(); ++i) {
        const CKpFacet* f = fs.pFac(i);
        for (int e = 0; e < 3; ++e) {
            std::set<std::pair<int, int>> expected, got;
            for (auto [g, h] : byNodes[key(i, e)]) {
                const CKpFacet* other = fs.pFac(g);
                if (g == i || other->getElement()->getpart() != f->getElement()->getpart())
                    continue;
                const bool opposite = nodeId(other, h) == nodeId(f, (e + 1) % 3);
                expected.insert({g, opposite ? h + 3 : h});
            }
            const int n = f->getNeighn(e);
            if (n == 1) got.insert({f->getNeigh(e), f->getNedge(e)});
            for (int k = 0; n > 1 && k < n; ++k)
                got.insert({f->getNeigha(e)[k], f->getNedgea(e)[k]});
            if (got != expected || n != static_cast<int>(expected.size()) ||
                (n > 1 && (f->getNeigh(e) != -1 || f->getNedge(e) != -1)))
                return ::testing::AssertionFailure()
                       << "facet " << i << " edge " << e << ": " << n << " partners, "
                       << expected.size() << " expected";
        }
    }
    return ::testing::AssertionSuccess();
}

int countDivided(CKpFacetStore& fs) {
    int n = 0;
    for (int i = 0; i < fs.entries(); ++i)
        for (int e = 0; e < 3; ++e) n += fs.pFac(i)->GetNeighDivided(e);
    return n;
}

std::set<int> subdomains(CKpFacetStore& fs) {
    std::set<int> out;
    for (int i = 0; i < fs.entries(); ++i) out.insert(fs.pFac(i)->getSbdmn());
    return out;
}

// Fins of quad4 (surfmesh::Fins): fin k is element k + 1, cut into facets
// 2k = (s0, o0, o1) and 2k + 1 = (o1, s1, s0), whose edge 1 runs down the
// spine from node 2 to node 1.
int spineFacet(int fin) {
    return 2 * fin + 1;
}

std::vector<int> partnerElems(Built& b, int fin) {
    std::vector<int> out;
    const CKpFacet* f = b.f(spineFacet(fin));
    for (int k = 0; k < f->getNeighn(1); ++k)
        out.push_back(b.s.facets.GetElemId(f->getNeigha(1)[k]));
    return out;
}

}  // namespace

// Every facet edge linked to exactly the facets of its part sharing its two
// nodes, with codes 3..5 where the senses are opposite (consistently
// numbered elements) and 0..2 where an element is turned over.
TEST(find_neigh, LinksMatchABruteForcePairingOverWholeMeshes) {
    for (Kind kind : {Kind::Quad4, Kind::Tria3, Kind::Quad8, Kind::Tria6}) {
        surfmesh::Mesh flipped = surfmesh::Plate(kind, 4, 3, 4.0, 3.0);
        surfmesh::Flip(flipped, 2);
        surfmesh::Flip(flipped, 7);
        std::vector<int> parts;
        const surfmesh::Mesh patches = surfmesh::TwoPatches(kind, 2, 1.0, &parts);
        const std::pair<const char*, surfmesh::Mesh> meshes[] = {
            {"cylinder", surfmesh::OpenCylinder(kind, 6, 2, 1.0, 2.0)},
            {"hemisphere", surfmesh::Hemisphere(kind, 8, 3, 1.0)},
            {"sphere", surfmesh::Sphere(kind, 8, 4, 1.0)},
            {"hole", surfmesh::PlateWithHole(kind, 6, 6.0, 2)},
            {"flipped", flipped},
            {"fins", surfmesh::Fins(kind, {0.0, 1.0, 2.5, 4.0}, {1.0}, 1.0)}};
        for (const auto& [name, mesh] : meshes) {
            Built b("pairs", mesh);
            ASSERT_EQ(b.status, 1) << name;
            EXPECT_TRUE(LinksMatchReference(b.s.facets)) << name << " " << static_cast<int>(kind);
            int turned = 0;  // links to a turned-over neighbour
            for (int i = 0; i < b.s.facets.entries(); ++i)
                for (int e = 0; e < 3; ++e) turned += b.f(i)->GetNeighDnfg(e) == -1;
            EXPECT_EQ(turned > 0, name == std::string("flipped"));
        }
        Built two("pairs", patches, parts);
        EXPECT_TRUE(LinksMatchReference(two.s.facets)) << "patches";
    }
}

// Fins on one spine, seen from above (z up the spine):
//
//            fin 2 (90)
//               |
//               +---- fin 1 (0)
//              /
//     fin 3 (200)
//
// From each fin's spine facet the partners are ordered by the angle at
// which they leave the edge, measured from the facet's own plane continued
// across the edge, toward its normal.
TEST(find_neigh, BranchPartnersOrderedByAngle) {
    const double deg = kPi / 180.0;
    Built b("branch", surfmesh::Fins(Kind::Quad4, {0.0, 90 * deg, 200 * deg}, {1.0}, 1.0));
    EXPECT_EQ(partnerElems(b, 0), (std::vector<int>{2, 3}));  // -90, +20 degrees
    EXPECT_EQ(partnerElems(b, 1), (std::vector<int>{3, 1}));  // -70, +90
    EXPECT_EQ(partnerElems(b, 2), (std::vector<int>{1, 2}));  // -20, +70
}

TEST(find_neigh, SubdomainsAndDirectionFlags) {
    surfmesh::Mesh sphereMesh = surfmesh::Sphere(Kind::Quad4, 12, 6, 1.0);
    surfmesh::Flip(sphereMesh, 30);
    Built sphere("sbdmn", sphereMesh);
    EXPECT_EQ(subdomains(sphere.s.facets), (std::set<int>{1}));
    for (int i = 0; i < sphere.s.facets.entries(); ++i)
        EXPECT_EQ(sphere.f(i)->getSbdmndnfg(), sphere.f(i)->GetElemId() == 31 ? -1 : 1) << i;
    EXPECT_NE(sphere.cap.body().find("$# A total of 1 subdomains were identified.\n"),
              std::string::npos);
    // A branch edge is not crossed: each fin is a region of its own.
    Built fins("sbdmn", surfmesh::Fins(Kind::Quad8, {0.0, 2.0, 4.0}, {1.0}, 1.0));
    EXPECT_EQ(subdomains(fins.s.facets), (std::set<int>{1, 2, 3}));
}

// Node directions: angle-weighted facet normals turned by their subdomain
// flags, so turned-over elements do not spoil them.
TEST(find_neigh, NodeNormalsFollowTheSurface) {
    surfmesh::Mesh mesh = surfmesh::Hemisphere(Kind::Quad4, 16, 6, 2.0);
    for (int e : {80, 83, 40}) surfmesh::Flip(mesh, e);  // two in the pole fan
    Built b("normals", mesh);
    for (int k = 0; k < b.s.nodes.entries(); ++k) {
        const CKpNode* node = b.s.nodes[k];
        if (node->incomplete()) continue;
        CKpDirn radial;
        radial.Set(node->getCKpPointX(), node->getCKpPointY(), node->getCKpPointZ());
        radial.unitize();
        const CKpDirn* d = node->getCKpDirn();
        EXPECT_TRUE(Near(d->mag(), 1.0, tol::length) && d->DotProduct(&radial) > 0.98)
            << "node " << node->id();
    }

    // Seam nodes of two parts lie in two subdomains and keep their
    // direction, as does a node no element uses.
    std::vector<int> parts;
    surfmesh::Stores s;
    surfmesh::Load(surfmesh::TwoPatches(Kind::Quad4, 2, 1.0, &parts), s.nodes, s.elems, parts);
    CKpNode* lone = s.nodes.NewNode(100);
    lone->setIncompleteFlag(0);
    s.nodes.insert(lone);
    for (int k = 0; k < s.nodes.entries(); ++k) s.nodes[k]->setCKpDirn(0.0, 7.0, 0.0);
    ASSERT_EQ(make_facet(nullptr, &s.nodes, &s.elems, &s.facets), 1);
    for (int k = 0; k < s.nodes.entries(); ++k) {
        const CKpNode* node = s.nodes[k];
        const bool keeps = node->id() == 100 || std::fabs(node->getCKpPointX() - 1.0) < 1e-9;
        EXPECT_EQ(node->getCKpDirnY(), keeps ? 7.0 : 0.0) << node->id();
    }
}

// The node directions and offsets of a build agree bit for bit with the
// facets' own normals and vertex angles summed in facet order, and with a
// separate offset pass, on irregular surfaces (jittered nodes, elements
// turned over, quadratic fans, and two parts meeting at a seam).
TEST(find_neigh, NodeDirectionsAndOffsetsEqualThoseOfTheFacetFunctions) {
    std::vector<int> parts;
    surfmesh::Mesh hemi = surfmesh::Hemisphere(Kind::Quad4, 12, 5, 2.0);
    for (int e : {7, 30, 50}) surfmesh::Flip(hemi, e);
    const std::pair<surfmesh::Mesh, std::vector<int>> meshes[] = {
        {hemi, {}},
        {surfmesh::Sphere(Kind::Quad8, 8, 4, 1.0), {}},
        {surfmesh::OpenCylinder(Kind::Tria6, 7, 3, 1.5, 2.0), {}},
        {surfmesh::TwoPatches(Kind::Tria3, 3, 1.0, &parts), parts}};
    unsigned jitter = 12345;
    for (const auto& [plain, meshParts] : meshes) {
        surfmesh::Mesh mesh = plain;
        for (double& c : mesh.xyz) {  // a fixed pseudo-random wobble
            jitter = (jitter * 1103515245u + 12345u) & 0x7fffffffu;
            c += 0.01 * (static_cast<int>(jitter % 2001) - 1000) / 1000.0;
        }
        Built b("dirs", mesh, meshParts);
        ASSERT_EQ(b.status, 1);
        std::map<const CKpNode*, std::pair<int, std::vector<double>>> sums;
        for (int i = 0; i < b.s.facets.entries(); ++i) {
            const CKpFacet* f = b.f(i);
            CKpDirn normal;
            f->GetNormal(&normal);
            for (int v = 0; v < 3; ++v) {
                auto& [sbdmn, sum] = sums[f->getCKpNode(v)];
                if (sum.empty()) sum.assign(3, 0.0);
                if (sbdmn == 0) sbdmn = f->getSbdmn();
                if (sbdmn != f->getSbdmn()) sbdmn = -1;
                const double w = f->getSbdmndnfg() * f->GetVertexAngle(v);
                for (int k = 0; k < 3; ++k) sum[k] += w * normal.Get(k);
            }
        }
        int checked = 0;
        for (const auto& [node, entry] : sums) {
            if (entry.first <= 0) continue;
            CKpDirn d;
            d.Set(entry.second.data());
            d.unitize();
            EXPECT_TRUE(node->getCKpDirnX() == d.getx() && node->getCKpDirnY() == d.gety() &&
                        node->getCKpDirnZ() == d.getz())
                << node->id();
            ++checked;
        }
        EXPECT_GT(checked, 20);
        // Each element carries the direction flag of its first facet.
        int turned = 0;
        for (int k = 0; k < b.s.elems.entries(); ++k) {
            const CKpElem* elem = b.s.elems[k];
            EXPECT_EQ(elem->getetdnfg(), b.f(elem->getfacs(0))->getSbdmndnfg()) << elem->id();
            turned += elem->getetdnfg() == -1;
        }
        EXPECT_EQ(turned > 0, &plain == &meshes[0].first);
        std::vector<std::pair<double, double>> offsets;
        for (int k = 0; k < b.s.nodes.entries(); ++k)
            offsets.push_back({b.s.nodes[k]->getmin_off(), b.s.nodes[k]->getmax_off()});
        ASSERT_EQ(calculate_offset(nullptr, &b.s.nodes, &b.s.facets, 0, nullptr), 0);
        for (int k = 0; k < b.s.nodes.entries(); ++k) {
            EXPECT_EQ(b.s.nodes[k]->getmin_off(), offsets[k].first) << k;
            EXPECT_EQ(b.s.nodes[k]->getmax_off(), offsets[k].second) << k;
        }
    }
}

// The node-list pairing (find_neigh_init + find_neigh_neigh) finds the
// links of find_neigh (branch partners compared as sets).
TEST(find_neigh, NodeListPairingGivesTheSameLinks) {
    std::vector<int> parts;
    surfmesh::Mesh mesh =
        surfmesh::Join(surfmesh::Sphere(Kind::Quad8, 6, 3, 1.0),
                       surfmesh::Fins(Kind::Quad8, {0.5, 1.5, 3.0}, {0.4}, 0.5), 0.0, &parts);
    surfmesh::Flip(mesh, 4);
    parts[2] = 2;
    Built b("nodelists", mesh, parts);
    CKpFacetStore& fs = b.s.facets;
    auto snapshot = [&fs]() {
        std::vector<std::set<std::pair<int, int>>> out;
        for (int i = 0; i < 3 * fs.entries(); ++i) {
            const CKpFacet* f = fs.pFac(i / 3);
            const int e = i % 3;
            std::set<std::pair<int, int>> row = {{f->getNeigh(e), f->getNedge(e)}};
            for (int k = 0; k < f->getNeighn(e) && f->getNeigha(e); ++k)
                row.insert({f->getNeigha(e)[k], f->getNedgea(e)[k]});
            out.push_back(row);
        }
        return out;
    };
    const auto fast = snapshot();
    // Keep only the links inside elements, as make_facet leaves them.
    for (int i = 0; i < fs.entries(); ++i)
        for (int e = 0; e < 3; ++e) {
            CKpFacet* f = fs.pFac(i);
            if (neigh_same_elem(&fs, i, e)) continue;
            std::free(f->getNeigha(e));
            std::free(f->getNedgea(e));
            f->setNeigha(e, nullptr), f->setNedgea(e, nullptr), f->setNeighn(e, 0);
            f->setNeigh(e, -1), f->setNedge(e, -1);
        }
    ASSERT_EQ(find_neigh_init(&b.s.nodes, &fs), 0);
    ASSERT_EQ(find_neigh_neigh(&b.cap.log, &b.s.nodes, &b.s.elems, &fs), 0);
    b.s.nodes.DelFacRefs();
    EXPECT_EQ(snapshot(), fast);
}

// Edges filed while the facets are made stand for the search's own pass
// only when every counted edge was filed; otherwise the search collects
// them itself. Either way the links, subdomains and node directions come
// out as make_facet made them.
TEST(FacetEdgeFiling, OnlyACompleteFilingStandsForTheSearchsOwnPass) {
    std::vector<int> parts;
    surfmesh::Mesh mesh = surfmesh::Join(surfmesh::Hemisphere(Kind::Quad4, 8, 3, 1.0),
                                         surfmesh::Fins(Kind::Tria3, {0.5, 1.5, 3.0}, {0.4}, 0.5),
                                         0.0, &parts);
    surfmesh::Flip(mesh, 5);
    Built b("filing", mesh, parts);
    ASSERT_EQ(b.status, 1);
    CKpFacetStore& fs = b.s.facets;
    auto snapshot = [&]() {
        std::vector<double> out;
        for (int i = 0; i < fs.entries(); ++i) {
            const CKpFacet* f = fs.pFac(i);
            out.push_back(f->getSbdmn());
            out.push_back(f->getSbdmndnfg());
            for (int e = 0; e < 3; ++e) {
                out.push_back(f->getNeigh(e));
                out.push_back(f->getNedge(e));
                for (int k = 0; k < f->getNeighn(e) && f->getNeigha(e); ++k) {
                    out.push_back(f->getNeigha(e)[k]);
                    out.push_back(f->getNedgea(e)[k]);
                }
            }
        }
        for (int k = 0; k < b.s.nodes.entries(); ++k) {
            const CKpNode* node = b.s.nodes[k];
            out.push_back(node->getCKpDirnX());
            out.push_back(node->getCKpDirnY());
            out.push_back(node->getCKpDirnZ());
        }
        return out;
    };
    const auto made = snapshot();
    int branchEdges = 0;
    for (int i = 0; i < fs.entries(); ++i)
        for (int e = 0; e < 3; ++e) branchEdges += fs.pFac(i)->getNeighn(e) > 1;
    ASSERT_GT(branchEdges, 0);
    // Back to fresh facets: links inside elements only, no subdomain.
    auto strip = [&]() {
        for (int i = 0; i < fs.entries(); ++i) {
            CKpFacet* f = fs.pFac(i);
            f->setSbdmn(0);
            f->setSbdmndnfg(0);
            for (int e = 0; e < 3; ++e) {
                if (neigh_same_elem(&fs, i, e)) continue;
                std::free(f->getNeigha(e));
                std::free(f->getNedgea(e));
                f->setNeigha(e, nullptr), f->setNedgea(e, nullptr), f->setNeighn(e, 0);
                f->setNeigh(e, -1), f->setNedge(e, -1);
            }
        }
    };
    auto vertices = [&](const FacetEdgeFiling& filing, int i, FacetEdgeFiling::Vertex v[3]) {
        for (int k = 0; k < 3; ++k) v[k] = filing.vertex(fs.pFac(i)->getCKpNode(k));
    };
    for (int last : {fs.entries() - 1, fs.entries()}) {  // one facet short, then all
        strip();
        FacetEdgeFiling filing(b.s.nodes);
        FacetEdgeFiling::Vertex v[3];
        for (int i = 0; i < fs.entries(); ++i) {
            vertices(filing, i, v);
            filing.count(v);
        }
        for (int i = 0; i < last; ++i) {
            vertices(filing, i, v);
            ASSERT_TRUE(filing.file(i, v));
        }
        EXPECT_EQ(filing.complete(), last == fs.entries());
        ASSERT_EQ(find_neigh_offsets(&b.cap.log, &b.s.nodes, &b.s.elems, &fs, nullptr, &filing), 1);
        EXPECT_TRUE(snapshot() == made) << last;
        EXPECT_FALSE(filing.complete());  // spent, or never complete
        // Counting after filing, or filing more than was counted, spoils it.
        vertices(filing, 0, v);
        if (last == fs.entries()) {
            EXPECT_FALSE(filing.file(0, v));
        } else {
            filing.count(v);
        }
        EXPECT_FALSE(filing.complete());
    }
}

// Two of three fins selected: their edge becomes an ordinary link, without
// a word.
TEST(find_selected_neighbour, TwoOfThreeAtABranch) {
    Built b("select2", surfmesh::Fins(Kind::Quad4, {0.0, 2.0, 4.0}, {1.0}, 1.0));
    b.select({1, 2});
    EXPECT_EQ(selectedNeighbour(b), 0);
    EXPECT_EQ(b.cap.body(), "");
    // Spine facets' edge 1: neighbour, code; the full list stays.
    EXPECT_EQ((std::vector<int>{b.f(spineFacet(0))->getNeigh(1), b.f(spineFacet(0))->getNedge(1),
                                b.f(spineFacet(1))->getNeigh(1), b.f(spineFacet(2))->getNeigh(1),
                                b.f(spineFacet(0))->getNeighn(1), countDivided(b.s.facets)}),
              (std::vector<int>{spineFacet(1), 1, spineFacet(0), -1, 2, 0}));
}

// All fins selected: those of smallest selected subdomain area are
// deselected (ties: lower id first), keeping the two largest.
TEST(find_selected_neighbour, DeselectsTheSmallestBranches) {
    Built b("select3", surfmesh::Fins(Kind::Quad4, {0.0, 2.0, 4.0}, {2.0, 1.0, 3.0}, 1.0));
    b.select({1, 2, 3});
    RecordingGUI gui;
    CKpGra gra;
    gra.SetGUI(&gui);
    EXPECT_EQ(selectedNeighbour(b, &gra), 0);
    EXPECT_EQ(b.warnings(),
              (std::vector<std::string>{
                  "The edge between nodes 2 and 1 borders 3 selected elements with selected "
                  "subdomain areas: ",
                  "        2 1", "        1 2", "        3 3",
                  "Automatically deselecting 1 elements to remove shell branch:", "        2"}));
    EXPECT_EQ(b.s.elems.find(2)->getSltd(), 0);
    EXPECT_EQ(b.f(spineFacet(0))->getNeigh(1) * 10 + b.f(spineFacet(2))->getNeigh(1),
              spineFacet(2) * 10 + spineFacet(0));
    const auto lines = gui.drawsOf("line");  // the branch edge, segment 6, pen 6
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].segment * 10 + lines[0].colour, 66);
    EXPECT_EQ(lines[0].points, (std::vector<float>{0, 0, 1, 0, 0, 0}));
}

// The selection's border ends up divided once, whichever divides it first;
// unselecting takes the divisions away again.
TEST(find_selected_neighbour, DividesTheBorderOfTheSelection) {
    Built b("border", surfmesh::Plate(Kind::Quad4, 4, 4, 4.0, 4.0));
    int block[4] = {6, 7, 10, 11};  // the middle 2 x 2 elements
    auto codes = [&b]() {
        std::vector<int> out;
        for (int i = 0; i < b.s.facets.entries(); ++i)
            for (int e = 0; e < 3; ++e) out.push_back(b.f(i)->getNedge(e));
        return out;
    };
    const std::vector<int> before = codes();

    b.select({6, 7, 10, 11});
    EXPECT_EQ(selectedNeighbour(b), 0);
    EXPECT_EQ(countDivided(b.s.facets), 16);  // 8 edges, both sides
    for (int i = 0; i < b.s.facets.entries(); ++i)
        for (int e = 0; e < 3; ++e) {
            const CKpFacet* g = b.s.facets.pFac(b.f(i)->getNeigh(e));
            const bool border = g && b.f(i)->getElement()->getSltd() != g->getElement()->getSltd();
            EXPECT_EQ(b.f(i)->GetNeighDivided(e), border ? 1 : 0);
        }
    // Selecting through surface_select_elements divides too, not twice.
    ASSERT_EQ(surface_select_elements(&b.s.elems, &b.s.facets, 4, block), 0);
    EXPECT_EQ(countDivided(b.s.facets), 16);
    EXPECT_EQ(selectedNeighbour(b), 0);
    EXPECT_EQ(countDivided(b.s.facets), 16);
    for (int id : block) surface_unselect_elem(b.s.elems.find(id), &b.s.facets);
    EXPECT_EQ(codes(), before);
}
