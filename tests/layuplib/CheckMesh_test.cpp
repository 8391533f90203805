#include "layuplib/CheckMesh.h"

#include <gtest/gtest.h>

#include <string>

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpNodeStore.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"

namespace {

struct Stores {
    CKpNodeStore nodes;
    CKpElemStore elems;
    explicit Stores(const meshgen::Mesh& m) { meshgen::Load(m, nodes, elems); }
    ~Stores() {
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
};

// 3 x 2 quad4 plate, 1 x 1 cells: nodes 1..4 on y = 0, 5..8 on y = 1, 9..12
// on y = 2; element 4 is 5 6 10 9.
meshgen::Mesh plate(unsigned seed = 0) {
    return meshgen::Plate(meshgen::Kind::Quad4, 3, 2, 3.0, 2.0, {1, 1, seed});
}

const double kTol = 0.001;

}  // namespace

TEST(CheckMesh, IdenticalMeshesMatchSilently) {
    MessageCapture cap("checkmesh_same");
    Stores a(plate()), b(plate(7));  // record order does not matter
    EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 0);
    // Extra nodes in one store are not looked at.
    int next = 13;
    b.nodes.CreateNode(b.nodes.find(12)->getCKpPoint(), &next);
    EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 0);
    EXPECT_EQ(cap.body(), "");
    EXPECT_EQ(CheckMesh(&cap.log, nullptr, &a.elems, &b.nodes, &b.elems, kTol), 1);
}

TEST(CheckMesh, ReportsTheFirstDifference) {
    MessageCapture cap("checkmesh_diff");
    Stores a(plate());

    {  // node 5 moved by twice the tolerance; half of it still matches
        Stores b(plate());
        b.nodes.find(5)->setCKpPoint(0.0005, 1.0, 0.0);
        EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 0);
        b.nodes.find(5)->setCKpPoint(0.002, 1.0, 0.0);
        EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 1);
        EXPECT_EQ(cap.body(),
                  "$# Node position mismatch for tolerance            0.001:\n"
                  " Layup    id      5 xyz                0                1                0\n"
                  " database id      5 xyz            0.002                1                0\n");
        cap.reset();
    }
    {  // a missing element
        Stores b(plate());
        b.elems.eraseObject(b.elems.find(6));
        EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 1);
        EXPECT_EQ(cap.body(), "$# Element number mismatch: Layup      6 database      5\n");
        cap.reset();
    }
    {  // element 4 on node 11 instead of 10
        Stores b(plate());
        b.elems.find(4)->setunid(2, 11);
        EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 1);
        EXPECT_EQ(cap.body(),
                  "$# Element connectivity mismatch: Layup id        4 database id        4\n"
                  "$# Element connectivity mismatch: Layup nid      10 database nid      11 on "
                  "nd 3\n");
        cap.reset();
    }
    {  // element 3 a triangle
        Stores b(plate());
        b.elems.eraseObject(b.elems.find(3));
        CKpElem* tria = b.elems.NewElem(3, 11);
        tria->seteltp(1);
        b.elems.insert(tria);
        EXPECT_EQ(CheckMesh(&cap.log, &a.nodes, &a.elems, &b.nodes, &b.elems, kTol), 1);
        EXPECT_EQ(cap.body(),
                  "$# Element type mismatch: Layup id        3 database id        3\n"
                  "$# Element type mismatch: Layup gmtp      1 database gmtp     11\n"
                  "$# Element type mismatch: Layup eltp      1 database eltp      1\n"
                  "$# Element type mismatch: Layup nnod      4 database nnod      3\n");
        cap.reset();
    }
}
