#include "host/CMorvek.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/LayupOut.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpNodeStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"

namespace {

class CMorvekTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
    }
    void TearDown() override {
        nodes.eraseAllObjects();
        elems.eraseAllObjects();
        MorvekStubReset();
    }

    static void offerNode(int id) {
        // Exact in float: id / 4 in x, -id in y, 2 id in z.
        ASSERT_EQ(MorvekStubAddNode(id, id * 0.25f, -1.0f * id, 2.0f * id), 0);
    }
    static void offerElem(int id, int topology, std::vector<int> row) {
        ASSERT_EQ(MorvekStubAddElem(id, topology, static_cast<int>(row.size()), row.data()), 0);
    }
    // The element's node ids in stored (perimeter) order.
    std::vector<int> perimeter(int id) {
        std::vector<int> ids;
        CKpElem* e = elems.find(id);
        if (!e) return ids;
        for (int k = 0; k < e->getnnod(); ++k) ids.push_back(e->getunid(k));
        return ids;
    }

    MessageCapture cap{"cmorvek"};
    CKpNodeStore nodes;
    CKpElemStore elems;
};

// The stores' mesh as a text: nodes "id:x,y,z" and elements
// "id/gmtp/eltp:n1,n2,...", ascending.
std::string describe(CKpNodeStore& nodes, CKpElemStore& elems) {
    std::string s;
    for (int k = 0; k < nodes.entries(); ++k) {
        const CKpNode* n = nodes[k];
        s += std::to_string(n->id()) + ":" + std::to_string(static_cast<float>(n->getCKpPointX())) +
             "," + std::to_string(static_cast<float>(n->getCKpPointY())) + "," +
             std::to_string(static_cast<float>(n->getCKpPointZ())) +
             (n->incomplete() ? " incomplete" : "") + "\n";
    }
    for (int k = 0; k < elems.entries(); ++k) {
        const CKpElem* e = elems[k];
        s += std::to_string(e->id()) + "/" + std::to_string(e->getgmtp()) + "/" +
             std::to_string(e->geteltp()) + ":";
        for (int i = 0; i < e->getnnod(); ++i) s += std::to_string(e->getunid(i)) + ",";
        s += "\n";
    }
    return s;
}

}  // namespace

TEST_F(CMorvekTest, NameIsTakenOnceAtConstruction) {
    MorvekStubOpenDatabase("/data/wing.db");
    CMorvek open;
    MorvekStubOpenDatabase("");
    CMorvek closed;
    EXPECT_EQ(open.exists(), 13);
    char name[256] = "untouched";
    EXPECT_EQ(open.getName(name), 0);
    EXPECT_STREQ(name, "/data/wing.db");
    std::strcpy(name, "untouched");
    EXPECT_EQ(closed.exists(), 0);
    EXPECT_EQ(closed.getName(name), -1);
    EXPECT_STREQ(name, "untouched");
    EXPECT_EQ(open.getName(nullptr), -1);

    // A name longer than the host's limit arrives cut to 255 characters.
    MorvekStubOpenDatabase(std::string(300, 'n').c_str());
    CMorvek longName;
    EXPECT_EQ(longName.exists(), 255);
    // A failing DbNameGet leaves no database.
    MorvekStubFail("DbNameGet", 3);
    CMorvek failed;
    EXPECT_EQ(failed.exists(), 0);
}

TEST_F(CMorvekTest, GetMeshReadsShellsInIdOrderAndPerimeterOrder) {
    for (int id = 1; id <= 14; ++id) offerNode(id);
    // Host order: corners first, then midsides. Offered out of id order,
    // with a bar and a solid among the shells.
    offerElem(30, 8, {1, 3, 5, 7, 2, 4, 6, 8});
    offerElem(5, 2, {9, 10});
    offerElem(20, 6, {9, 11, 1, 10, 12, 2});
    offerElem(7, 4, {1, 3, 5, 7});
    offerElem(40, 28, {1, 2, 3, 4, 5, 6, 7, 14});
    offerElem(3, 3, {3, 5, 13});
    CMorvek db;
    EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(), "");  // dropped elements are not reported

    std::string expected;
    for (int id = 1; id <= 13; ++id)  // node 14 is used by the solid only
        expected += std::to_string(id) + ":" + std::to_string(id * 0.25f) + "," +
                    std::to_string(-1.0f * id) + "," + std::to_string(2.0f * id) + "\n";
    expected += "3/11/1:3,5,13,\n";
    expected += "7/1/1:1,3,5,7,\n";
    expected += "20/12/1:9,10,11,12,1,2,\n";
    expected += "30/2/1:1,2,3,4,5,6,7,8,\n";
    EXPECT_EQ(describe(nodes, elems), expected);
}

TEST_F(CMorvekTest, GetMeshEmptyOrWithoutShells) {
    CMorvek db;
    EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(), "$# No elements in database\n");
    cap.reset();

    for (int id = 1; id <= 8; ++id) offerNode(id);
    offerElem(1, 2, {1, 2});
    offerElem(2, 28, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(), "");
    EXPECT_EQ(nodes.entries(), 0);
    EXPECT_EQ(elems.entries(), 0);
    EXPECT_EQ(db.getMesh(&cap.log, nullptr, &elems), -1);
}

TEST_F(CMorvekTest, GetMeshWarnsAboutDegenerateSlots) {
    for (int id = 1; id <= 4; ++id) offerNode(id);
    offerElem(8, 4, {1, 2, 0, -4});
    offerElem(9, 3, {2, 3, 4});
    CMorvek db;
    EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(),
              "$# WARNING:  Node 3 of degenerate element id 8 is 0\n"
              "$# WARNING:  Node 4 of degenerate element id 8 is -4\n");
    // The slot values stay in the element but never become nodes.
    EXPECT_EQ(perimeter(8), (std::vector<int>{1, 2, 0, -4}));
    EXPECT_EQ(nodes.entries(), 4);
    EXPECT_EQ(nodes.find(0), nullptr);
}

TEST_F(CMorvekTest, GetMeshCallbackFailuresLeaveTheStoresUnchanged) {
    for (int id = 1; id <= 4; ++id) offerNode(id);
    offerElem(1, 4, {1, 2, 3, 4});
    CMorvek db;
    const std::vector<std::pair<const char*, const char*>> entries = {
        {"mesh.0", "LayupOutCountElems"},
        {"mesh.1", "LayupOutGetElemIds"},
        {"mesh.2", "LayupOutGetElemEtop"},
        {"mesh.4", "LayupOutGetNodesForElems"},
        {"mesh.5", "LayupOutGetNodes"}};
    int status = 11;
    for (const auto& entry : entries) {
        MorvekStubFail(entry.first, status);
        EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), -1) << entry.second;
        EXPECT_EQ(cap.body(), std::string("$# ERROR: ") + entry.second + "() failed with status " +
                                  std::to_string(status) + "\n");
        EXPECT_EQ(nodes.entries() + elems.entries(), 0) << entry.second;
        cap.reset();
        ++status;
    }
    // A node the host does not hold fails the node callback.
    offerElem(2, 3, {2, 3, 77});
    EXPECT_EQ(db.getMesh(&cap.log, &nodes, &elems), -1);
    EXPECT_EQ(cap.body(), "$# ERROR: LayupOutGetNodes() failed with status 1\n");
    EXPECT_EQ(nodes.entries() + elems.entries(), 0);
}

TEST_F(CMorvekTest, PutMeshWritesHostRowsAsWideAsTheLargestElement) {
    // quad8, tria3, quad4 and tria6 plates with their own id ranges.
    const std::vector<std::pair<meshgen::Kind, int>> kinds = {{meshgen::Kind::Quad8, 1},
                                                              {meshgen::Kind::Tria3, 100},
                                                              {meshgen::Kind::Quad4, 200},
                                                              {meshgen::Kind::Tria6, 300}};
    std::vector<int> expectedRows, expectedIds;
    for (const auto& kind : kinds) {
        meshgen::Numbering numbering;
        numbering.firstNode = numbering.firstElem = kind.second;
        const meshgen::Mesh m = meshgen::Plate(kind.first, 2, 1, 2.0, 1.5, numbering);
        meshgen::Load(m, nodes, elems);
        for (int e = 0; e < m.numElems(); ++e) {
            expectedIds.push_back(m.elemIds[e]);
            for (int s = 0; s < 8; ++s) expectedRows.push_back(s < m.width ? m.row(e)[s] : 0);
        }
    }
    // A node not yet placed and an element that is no shell stay out.
    nodes.insert(nodes.NewNode(999));
    CKpElem* solid = elems.NewElem(5000, 101);
    elems.insert(solid);
    const std::string before = describe(nodes, elems);

    CMorvek db;
    EXPECT_EQ(db.putMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(),
              "$# Begin putting mesh.\n"
              "$# ERROR: Unsupported element geometry 101.\n"
              "$# End putting mesh.\n");
    const morvekstub::ElemsCall& call = morvekstub::LastElemsCall();
    EXPECT_EQ(call.width, 8);
    EXPECT_EQ(call.ids, expectedIds);
    EXPECT_EQ(call.rows, expectedRows);
    EXPECT_EQ(morvekstub::NodeCount(), nodes.entries() - 1);
    float xyz[3];
    EXPECT_EQ(MorvekStubGetNode(999, xyz), -1);
    EXPECT_EQ(MorvekStubGetNode(5000, xyz), -1);
    EXPECT_EQ(describe(nodes, elems), before);  // the model is not touched

    // Round trip: read back into fresh stores, the same mesh.
    CKpNodeStore nodes2;
    CKpElemStore elems2;
    elems.eraseObject(solid);
    nodes.eraseObject(nodes.find(999));
    EXPECT_EQ(db.getMesh(&cap.log, &nodes2, &elems2), 0);
    EXPECT_EQ(describe(nodes2, elems2), describe(nodes, elems));
    nodes2.eraseAllObjects();
    elems2.eraseAllObjects();
}

TEST_F(CMorvekTest, PutMeshReportsHostFailuresAndGoesOn) {
    meshgen::Load(meshgen::Plate(meshgen::Kind::Quad4, 2, 2, 1.0, 1.0), nodes, elems);
    CMorvek db;
    MorvekStubFail("DbFCreateNodes", 3);
    EXPECT_EQ(db.putMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(),
              "$# Begin putting mesh.\n"
              "$# ERROR:  DbFCreateNodes: status 3\n"
              "$# End putting mesh.\n");
    EXPECT_EQ(morvekstub::NodeCount(), 0);
    EXPECT_EQ(morvekstub::ElemCount(), 4);  // the elements are written all the same
    EXPECT_EQ(morvekstub::LastElemsCall().width, 4);
    cap.reset();

    // Written again: the host refuses ids it holds.
    EXPECT_EQ(db.putMesh(&cap.log, &nodes, &elems), 0);
    EXPECT_EQ(cap.body(),
              "$# Begin putting mesh.\n"
              "$# ERROR:  DbFCreateElems: status 1\n"
              "$# End putting mesh.\n");
    EXPECT_EQ(morvekstub::NodeCount(), 9);
    cap.reset();

    // An empty model still calls both host functions (here made to fail, so
    // that the calls show).
    CKpNodeStore none;
    CKpElemStore noElems;
    MorvekStubFail("DbFCreateNodes", 5);
    MorvekStubFail("DbFCreateElems", 6);
    EXPECT_EQ(db.putMesh(&cap.log, &none, &noElems), 0);
    EXPECT_EQ(cap.body(),
              "$# Begin putting mesh.\n"
              "$# ERROR:  DbFCreateNodes: status 5\n"
              "$# ERROR:  DbFCreateElems: status 6\n"
              "$# End putting mesh.\n");
}

TEST_F(CMorvekTest, NewLayupReadsTheHostMesh) {
    const meshgen::Mesh plate = meshgen::Plate(meshgen::Kind::Quad8, 3, 2, 3.0, 2.0);
    for (int k = 0; k < plate.numNodes(); ++k)
        MorvekStubAddNode(plate.nodeIds[k], static_cast<float>(plate.xyz[3 * k]),
                          static_cast<float>(plate.xyz[3 * k + 1]),
                          static_cast<float>(plate.xyz[3 * k + 2]));
    for (int e = 0; e < plate.numElems(); ++e)
        MorvekStubAddElem(plate.elemIds[e], plate.topologies[e], plate.width, plate.row(e));
    MorvekStubOpenDatabase("plate.db");
    CMorvek db;
    CKpLayup model(&db, nullptr);
    ASSERT_EQ(model.NewLayup(0.0, 0.0), 0);
    int nNodes = 0, nElems = 0, width = 0;
    ASSERT_EQ(model.GetMeshSizes(&nNodes, &nElems, &width), 0);
    EXPECT_EQ(nNodes, plate.numNodes());
    EXPECT_EQ(nElems, 6);
    EXPECT_EQ(width, 8);
}
