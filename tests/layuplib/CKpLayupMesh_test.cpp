#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/CVekObjectStoreIterator.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

using meshgen::Kind;

int Load(ILayup* api, const meshgen::Mesh& m, const std::vector<int>& patches) {
    return api->NewLayupMesh(m.numNodes(), m.nodeIds.data(), m.xyz.data(), m.numElems(),
                             m.elemIds.data(), patches.data(), m.topologies.data(), m.width,
                             m.connectivity.data(), 0.0, 0.0);
}

class LayupMesh : public ::testing::Test {
  protected:
    RecordingGUI gui;
    std::unique_ptr<CKpLayup> model{new CKpLayup(nullptr, &gui)};
    ILayup* api() { return model.get(); }

    //  4 --- 3 --- 6        quads 10 (1 2 3 4) and 20 (2 5 6 3),
    //  |  10 |  20 |        triangle 30 (5 7 6) to the right of 20
    //  1 --- 2 --- 5 --- 7
    void SmallMesh() {
        const int ids[] = {1, 2, 3, 4, 5, 6, 7};
        const double xyz[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0, 3, 0, 0};
        const int elems[] = {10, 20, 30}, patches[] = {0, 0, 0}, topo[] = {4, 4, 3};
        const int conn[] = {1, 2, 3, 4, 2, 5, 6, 3, 5, 7, 6, 0};
        ASSERT_EQ(api()->NewLayupMesh(7, ids, xyz, 3, elems, patches, topo, 4, conn, 0.0, 0.0), 0);
    }
};

struct Fetched {
    std::vector<int> nodeIds, elemIds, patchIds, topologies, rows;
    std::vector<double> xyz;
    int width = 0;
};

Fetched Fetch(ILayup* api) {
    Fetched f;
    int nn = 0, ne = 0;
    api->GetMeshSizes(&nn, &ne, &f.width);
    f.nodeIds.resize(nn);
    f.xyz.resize(3 * nn);
    f.elemIds.resize(ne);
    f.patchIds.resize(ne);
    f.topologies.resize(ne);
    f.rows.assign(static_cast<size_t>(ne) * f.width, -7);
    EXPECT_EQ(api->GetMesh(nn, f.nodeIds.data(), f.xyz.data(), ne, f.elemIds.data(),
                           f.patchIds.data(), f.topologies.data(), f.width, f.rows.data()),
              0);
    return f;
}

// NewLayupMesh then GetMesh gives back every node and element, sorted by
// id, with the connectivity in solver order as it went in.
void RoundTrip(ILayup* api, Kind kind, unsigned seed) {
    meshgen::Numbering num;
    num.firstNode = 101;
    num.firstElem = 7;
    num.shuffleSeed = seed;
    const meshgen::Mesh m = meshgen::Plate(kind, 5, 3, 10.0, 6.0, num);
    std::vector<int> patches(m.numElems());
    for (int e = 0; e < m.numElems(); ++e) patches[e] = m.elemIds[e] % 3;
    ASSERT_EQ(Load(api, m, patches), 0);
    const Fetched f = Fetch(api);
    std::vector<int> ids = m.elemIds, nodeIds = m.nodeIds;
    std::sort(ids.begin(), ids.end());
    std::sort(nodeIds.begin(), nodeIds.end());
    ASSERT_TRUE(f.elemIds == ids && f.nodeIds == nodeIds && f.width == m.width);
    for (size_t k = 0; k < f.nodeIds.size(); ++k)
        EXPECT_TRUE(NearArray(&f.xyz[3 * k], m.pos(f.nodeIds[k]), 3, tol::length)) << f.nodeIds[k];
    for (size_t k = 0; k < f.elemIds.size(); ++k) {
        const int e = static_cast<int>(std::find(m.elemIds.begin(), m.elemIds.end(), f.elemIds[k]) -
                                       m.elemIds.begin());
        EXPECT_TRUE(f.topologies[k] == m.topologies[e] && f.patchIds[k] == patches[e]);
        EXPECT_EQ(
            std::vector<int>(f.rows.begin() + k * f.width, f.rows.begin() + (k + 1) * f.width),
            std::vector<int>(m.row(e), m.row(e) + m.width))
            << "element " << f.elemIds[k];
    }
}

}  // namespace

TEST_F(LayupMesh, RoundTripsEveryShellKind) {
    for (Kind kind : {Kind::Quad4, Kind::Quad8, Kind::Tria3, Kind::Tria6}) {
        SCOPED_TRACE(static_cast<int>(kind));
        RoundTrip(api(), kind, 0);
        RoundTrip(api(), kind, 12345);  // shuffled records
    }
    EXPECT_TRUE(gui.texts(2).empty());  // no warning on clean meshes
}

TEST_F(LayupMesh, DuplicateAndInvalidIds) {
    //  node ids 5, 5, 0, 6, 7, 8: the second 5 is warned about, 0 is skipped
    const int ids[] = {5, 5, 0, 6, 7, 8};
    const double xyz[] = {0, 0, 0, 9, 9, 9, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 1, 0};
    const int elems[] = {3, 3, -1, 4}, patches[] = {1, 2, 3, 4}, topo[] = {4, 4, 4, 3};
    const int conn[] = {5, 6, 7, 8, 5, 6, 7, 8, 5, 6, 7, 8, 5, 6, 7, 0};
    ASSERT_EQ(api()->NewLayupMesh(6, ids, xyz, 4, elems, patches, topo, 4, conn, 0.0, 0.0), 0);
    EXPECT_EQ(gui.texts(2), (std::vector<std::string>{"Duplicate node ID 5 ignored.",
                                                      "Duplicate element ID 3 ignored."}));
    const Fetched f = Fetch(api());
    EXPECT_EQ(f.nodeIds, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(f.xyz[0], 0.0);                         // the first node 5 is kept
    EXPECT_EQ(f.patchIds, (std::vector<int>{1, 4}));  // elements 3 (the first) and 4
}

TEST_F(LayupMesh, UnsupportedTopologyKeepsTheStride) {
    // Element 2 (topology 5) is skipped; element 3 reads row 2.
    const int ids[] = {1, 2, 3, 4, 5, 6};
    const double xyz[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0, 2, 1, 0};
    const int elems[] = {1, 2, 3}, patches[] = {0, 0, 0}, topo[] = {4, 5, 4};
    const int conn[] = {1, 2, 3, 4, 9, 9, 9, 9, 2, 5, 6, 3};
    ASSERT_EQ(api()->NewLayupMesh(6, ids, xyz, 3, elems, patches, topo, 4, conn, 0.0, 0.0), 0);
    EXPECT_TRUE(gui.messages.empty());
    const Fetched f = Fetch(api());
    EXPECT_EQ(f.elemIds, (std::vector<int>{1, 3}));
    EXPECT_EQ(std::vector<int>(f.rows.begin() + 4, f.rows.end()), (std::vector<int>{2, 5, 6, 3}));
}

TEST_F(LayupMesh, BadArraysAreRefusedBeforeEmptying) {
    SmallMesh();
    const int ids[] = {1, 2, 3};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double xyz[] = {0, 0, 0, 1, nan, 0, 1, 1, 0};
    const int elems[] = {1}, patches[] = {0}, topo[] = {3}, conn[] = {1, 2, 3};
    EXPECT_EQ(api()->NewLayupMesh(3, ids, xyz, 1, elems, patches, topo, 3, conn, 0.0, 0.0), -1);
    EXPECT_EQ(api()->NewLayupMesh(3, ids, nullptr, 1, elems, patches, topo, 3, conn, 0.0, 0.0), -1);
    EXPECT_EQ(api()->NewLayupMesh(3, ids, xyz, 1, elems, nullptr, topo, 3, conn, 0.0, 0.0), -1);
    EXPECT_EQ(api()->NewLayupMesh(3, ids, xyz, 1, elems, patches, topo, 2, conn, 0.0, 0.0), -1);
    EXPECT_EQ(api()->NewLayupMesh(-1, ids, xyz, 1, elems, patches, topo, 3, conn, 0.0, 0.0), -1);
    const std::vector<std::string> errors = gui.texts(4);
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[0], "Node 2 has a non-finite coordinate.");
    int nn = 0, ne = 0;
    api()->GetMeshSizes(&nn, &ne, nullptr);
    EXPECT_EQ(nn * 10 + ne, 73);  // the previous mesh is untouched
}

TEST_F(LayupMesh, MissingNodeDeletesTheElementAndMergeJoins) {
    // Element 2 names node 99; nodes 3 and 4 coincide within 0.01.
    const int ids[] = {1, 2, 3, 4};
    const double xyz[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 1.001, 1, 0};
    const int elems[] = {1, 2}, patches[] = {0, 0}, topo[] = {3, 3};
    const int conn[] = {1, 2, 4, 1, 2, 99};
    ASSERT_EQ(api()->NewLayupMesh(4, ids, xyz, 2, elems, patches, topo, 3, conn, 0.01, 0.0), 0);
    const Fetched f = Fetch(api());
    EXPECT_EQ(f.nodeIds, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f.elemIds, (std::vector<int>{1}));
    EXPECT_EQ(f.rows, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(gui.texts(2), (std::vector<std::string>{"Missing node 3 id 99 on element id 2.",
                                                      "Deleting element id 2."}));
}

TEST_F(LayupMesh, GetMeshChecksCountsAndWidth) {
    SmallMesh();
    int nn = 0, ne = 0, w = 0;
    ASSERT_EQ(api()->GetMeshSizes(&nn, &ne, &w), 0);
    EXPECT_EQ(nn * 100 + ne * 10 + w, 734);
    std::vector<int> nodeIds(nn, -1), elemIds(ne, -1), patches(ne), topo(ne), rows(ne * w);
    std::vector<double> xyz(3 * nn);
    auto get = [&](int n, int e, int width, int* elemOut) {
        return api()->GetMesh(n, nodeIds.data(), xyz.data(), e, elemOut, patches.data(),
                              topo.data(), width, rows.data());
    };
    EXPECT_EQ(
        (std::vector<int>{get(nn - 1, ne, w, elemIds.data()), get(nn, ne + 1, w, elemIds.data()),
                          get(nn, ne, 3, elemIds.data()), get(nn, ne, w, nullptr)}),
        (std::vector<int>{1, 2, 2, 2}));
    EXPECT_EQ(nodeIds[0] + elemIds[0], -2);  // nothing written by the refusals
    EXPECT_EQ(gui.texts(4).size(), 2u);
    std::vector<int> all(3);
    EXPECT_EQ(api()->GetElemIds(2, all.data()), 1);
}

TEST_F(LayupMesh, SubMeshIsCompact) {
    SmallMesh();
    const int ids[] = {30, 20, 30};
    double xyz[3 * 7];
    int quads[8], trias[9], nx = -1, nq = -1, nt = -1;
    ASSERT_EQ(api()->GetSubMesh(3, ids, xyz, &nx, quads, &nq, trias, &nt), 0);
    // Corner nodes 2, 3, 5, 6, 7 -> indices 0..4.
    EXPECT_EQ((std::vector<int>{nx, nq, nt}), (std::vector<int>{15, 4, 6}));
    EXPECT_EQ(std::vector<int>(quads, quads + 4), (std::vector<int>{0, 2, 3, 1}));
    EXPECT_EQ(std::vector<int>(trias, trias + 6), (std::vector<int>{2, 4, 3, 2, 4, 3}));
    const double node7[] = {3, 0, 0};
    EXPECT_TRUE(NearArray(xyz + 12, node7, 3, tol::length));

    const int missing[] = {10, 99};
    EXPECT_EQ(api()->GetSubMesh(2, missing, xyz, &nx, quads, &nq, trias, &nt), 4);
    EXPECT_EQ(api()->GetSubMesh(1, ids, nullptr, &nx, quads, &nq, trias, &nt), 1);
    model->pElems()->insert(model->pElems()->NewElem(40, 101));  // a solid among the listed
    const int withSolid[] = {10, 40};
    EXPECT_EQ(api()->GetSubMesh(2, withSolid, xyz, &nx, quads, &nq, trias, &nt), 5);
}

TEST_F(LayupMesh, ElementEdgeIdsFromEndPoints) {
    SmallMesh();
    // Element 10: vertex 0 (0,0), 1 (1,0), 2 (1,1), 3 (0,1).
    const int ids[] = {10, 10, 10, 30};
    const double points[] = {0, 0, 0, 1, 0, 0,   // v0 -> v1: edge 1
                             0, 0, 0, 0, 1, 0,   // v0 -> v3: edge 4
                             0, 0, 0, 1, 1, 0,   // v0 -> v2: no edge
                             3, 0, 0, 2, 0, 0};  // triangle v1 -> v0: edge 1
    int edges[] = {-1, -1, -1, -1};
    EXPECT_EQ(api()->GetElementEdgeIDs(4, ids, points, edges), 0);
    EXPECT_EQ(std::vector<int>(edges, edges + 4), (std::vector<int>{1, 4, -1, 1}));
    const int missing[] = {99};
    EXPECT_EQ(api()->GetElementEdgeIDs(1, missing, points, edges), 1);
}

TEST_F(LayupMesh, EdgeCoordsAndNodes) {
    SmallMesh();
    const int ids[] = {10}, edge4[] = {4};
    double p[6];
    ASSERT_EQ(api()->GetEdgeCoords(1, ids, edge4, p), 0);
    const double want[] = {0, 1, 0, 0, 0, 0};  // vertex 3 then vertex 0
    EXPECT_TRUE(NearArray(p, want, 6, tol::length));
    int count = 0, nodes[4];
    ASSERT_EQ(api()->GetEdgeNodes(1, ids, edge4, &count, nodes), 0);
    EXPECT_EQ(std::vector<int>(nodes, nodes + count), (std::vector<int>{1, 4}));
    const int tria[] = {30, 30}, edges12[] = {1, 2};
    ASSERT_EQ(api()->GetEdgeNodes(2, tria, edges12, &count, nodes), 0);
    EXPECT_EQ(std::vector<int>(nodes, nodes + count), (std::vector<int>{5, 6, 7}));

    // Bad edge numbers (a triangle has 3 edges), counts and pointers: 1;
    // an unknown element: 2.
    const int bad[] = {0}, tooBig[] = {5}, missing[] = {99};
    EXPECT_EQ((std::vector<int>{api()->GetEdgeCoords(1, ids, bad, p),
                                api()->GetEdgeNodes(1, ids, tooBig, &count, nodes),
                                api()->GetEdgeCoords(1, tria, tooBig, p),
                                api()->GetEdgeCoords(1, missing, edge4, p),
                                api()->GetEdgeNodes(1, ids, edge4, nullptr, nodes)}),
              (std::vector<int>{1, 1, 1, 2, 1}));

    // A solid has no corners: it is skipped, not divided by.
    model->pElems()->insert(model->pElems()->NewElem(40, 101));
    const int solid[] = {40, 10}, edges[] = {1, 1};
    ASSERT_EQ(api()->GetEdgeNodes(2, solid, edges, &count, nodes), 0);
    EXPECT_EQ(std::vector<int>(nodes, nodes + count), (std::vector<int>{1, 2}));
}

TEST_F(LayupMesh, EdgesFromNodeChains) {
    SmallMesh();
    // Chain 2-5-7 along the bottom and 3-2: edge 1 of element 10 is not
    // covered (node 1 not listed); edge (2,3) is shared by 10 and 20 and
    // recorded once, for 10.
    const int chain[] = {3, 2, 5, 7};
    int count = -1, elems[8], edges[8];
    ASSERT_EQ(api()->GetElementEdgeIDsByNodes(4, chain, &count, elems, edges), 0);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(std::vector<int>(elems, elems + 3), (std::vector<int>{10, 20, 30}));
    EXPECT_EQ(std::vector<int>(edges, edges + 3), (std::vector<int>{2, 1, 1}));

    const int missing[] = {1, 99};
    EXPECT_EQ(api()->GetElementEdgeIDsByNodes(2, missing, &count, elems, edges), 2);
    EXPECT_EQ(api()->GetElementEdgeIDsByNodes(0, missing, &count, elems, edges), 1);
}

namespace {

// The surface of a model as text: per facet its element, vertex node ids,
// neighbour links (branch partners too), subdomain and direction flag; per
// element its direction flag; per node its direction and offset start, as
// bits.
std::string SurfaceDump(CKpLayup& model) {
    std::string out;
    auto add = [&out](long long v) { out += std::to_string(v) + ' '; };
    auto bits = [&out](double v) {
        char text[32];
        std::snprintf(text, sizeof(text), "%a ", v);
        out += text;
    };
    CKpFacetStore* facets = model.pFacs();
    for (int i = 0; i < facets->entries(); ++i) {
        const CKpFacet* f = facets->pFac(i);
        add(f->GetElemId());
        for (int v = 0; v < 3; ++v) add(f->getCKpNode(v) ? f->getCKpNode(v)->id() : -1);
        for (int e = 0; e < 3; ++e) {
            add(f->getNeighn(e));
            add(f->getNeigh(e));
            add(f->getNedge(e));
            for (int k = 0; f->getNeigha(e) && k < f->getNeighn(e); ++k) {
                add(f->getNeigha(e)[k]);
                add(f->getNedgea(e)[k]);
            }
        }
        add(f->getSbdmn());
        add(f->getSbdmndnfg());
        out += '\n';
    }
    CVekObjectStoreIterator<CKpElem> eit(*model.pElems());
    while (++eit) {
        add(eit.key()->id());
        add(eit.key()->getetdnfg());
    }
    out += '\n';
    CVekObjectStoreIterator<CKpNode> nit(*model.pNodes());
    while (++nit) {
        CKpNode* node = nit.key();
        add(node->id());
        for (int k = 0; k < 3; ++k) bits(node->getCKpDirn()->Get(k));
        for (int k = 0; k < 3; ++k) bits(node->getCKpPoint()->Get(k));
    }
    return out;
}

// `mesh` loaded by NewLayupMesh (elements linked, checked and counted as
// they are made) and by NewLayup from a host database (the separate
// passes): the same surface and the same warnings in the same order.
void ExpectSameAsSeparatePasses(const meshgen::Mesh& mesh) {
    RecordingGUI gui, hostGui;
    CKpLayup model(nullptr, &gui);
    std::vector<int> patches(mesh.elemIds.size(), 0);
    ASSERT_EQ(Load(&model, mesh, patches), 0);
    MemoryDB db;
    db.mesh = mesh;
    CKpLayup host(&db, &hostGui);
    ASSERT_EQ(host.NewLayup(0.0, 0.0), 0);
    ASSERT_GT(model.pFacs()->entries(), 0);
    EXPECT_EQ(SurfaceDump(model), SurfaceDump(host));
    EXPECT_EQ(gui.texts(2), hostGui.texts(2));
    EXPECT_EQ(gui.texts(4), hostGui.texts(4));
}

// Appends an element of topology `topology` with node ids `ids`.
void AddElement(meshgen::Mesh& m, int id, int topology, std::vector<int> ids) {
    m.elemIds.push_back(id);
    m.topologies.push_back(topology);
    ids.resize(static_cast<size_t>(m.width), 0);
    m.connectivity.insert(m.connectivity.end(), ids.begin(), ids.end());
}

}  // namespace

TEST(LayupMeshBuild, LinkedAsMadeGivesTheSurfaceOfSeparatePasses) {
    meshgen::Numbering num;
    num.shuffleSeed = 5;
    {
        SCOPED_TRACE("quad4 plate");
        ExpectSameAsSeparatePasses(meshgen::Plate(Kind::Quad4, 6, 4, 6.0, 4.0, num));
    }
    {
        // A missing node in the middle of the elements, then a shape that
        // fails (a node twice): both elements go, with their warnings.
        SCOPED_TRACE("missing node and failed shape");
        meshgen::Mesh m = meshgen::Plate(Kind::Quad4, 6, 4, 6.0, 4.0, num);
        const int last = *std::max_element(m.elemIds.begin(), m.elemIds.end());
        AddElement(m, last + 1, 3, {m.nodeIds[0], m.nodeIds[1], 99999});
        AddElement(m, last + 2, 4, {m.nodeIds[2], m.nodeIds[3], m.nodeIds[2], m.nodeIds[4]});
        std::swap(m.elemIds[3], m.elemIds[m.elemIds.size() - 2]);
        ExpectSameAsSeparatePasses(m);
    }
    {
        // A shape failure alone: the links made ahead stand.
        SCOPED_TRACE("failed shape");
        meshgen::Mesh m = meshgen::Plate(Kind::Tria3, 5, 3, 5.0, 3.0, num);
        AddElement(m, 1000, 3, {m.nodeIds[0], m.nodeIds[1], m.nodeIds[1]});
        ExpectSameAsSeparatePasses(m);
    }
    {
        // Quadratic elements add centre nodes: the edges are not filed
        // ahead, the links still are.
        SCOPED_TRACE("quad8 and tria3");
        meshgen::Mesh m = meshgen::Plate(Kind::Quad8, 4, 3, 4.0, 3.0, num);
        AddElement(m, 1000, 3, {m.nodeIds[0], m.nodeIds[1], m.nodeIds[2]});
        ExpectSameAsSeparatePasses(m);
    }
}
