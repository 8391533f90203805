#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpOrientStore.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"
#include "tests/support/RecordingGUI.h"

namespace {

using Draw = RecordingGUI::DrawCall;

struct Node {
    int id;
    float x, y, z;
};
struct Elem {
    int id;
    std::vector<int> nodes;
};

class LayupMeshCheckTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        static_cast<CKpLayup*>(LayupSlotModel())->pGra()->SetGUI(&gui);
    }
    void TearDown() override {
        LayupDestruct();
        MorvekStubReset();
    }

    void Load(const std::vector<Node>& nodes, const std::vector<Elem>& elems) {
        std::vector<int> nodeIds, elemIds, tops, rows, values;
        std::vector<float> xyz;
        for (const Node& n : nodes) {
            nodeIds.push_back(n.id);
            xyz.insert(xyz.end(), {n.x, n.y, n.z});
        }
        for (const Elem& e : elems) {
            elemIds.push_back(e.id);
            tops.push_back(static_cast<int>(e.nodes.size()));
            std::vector<int> row = e.nodes;
            row.resize(4, 0);
            rows.insert(rows.end(), row.begin(), row.end());
            values.push_back(1);
        }
        ASSERT_EQ(LayupNewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                    static_cast<int>(elemIds.size()), elemIds.data(), values.data(),
                                    tops.data(), 4, rows.data(), 0.0f, 0.0f),
                  0);
        gui.clear();
    }
    void LoadPlate(int nx, int ny) {
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, nx, ny, nx, ny);
        std::vector<Node> nodes;
        for (int i = 0; i < m.numNodes(); ++i)
            nodes.push_back({m.nodeIds[i], float(m.xyz[3 * i]), float(m.xyz[3 * i + 1]),
                             float(m.xyz[3 * i + 2])});
        std::vector<Elem> elems;
        for (int e = 0; e < m.numElems(); ++e)
            elems.push_back({m.elemIds[e], std::vector<int>(m.row(e), m.row(e) + 4)});
        Load(nodes, elems);
    }

    // The draws of one kind, all in `segment` with `colour` and width 0.
    std::vector<Draw> Drawn(const std::string& kind, int segment, int colour) const {
        std::vector<Draw> out = gui.drawsOf(kind);
        for (const Draw& d : out) {
            EXPECT_EQ(d.segment, segment);
            EXPECT_EQ(d.colour, colour);
            EXPECT_EQ(d.width, 0.0f);
        }
        return out;
    }
    static std::vector<int> Ids(const std::vector<Draw>& draws) {
        std::vector<int> ids;
        for (const Draw& d : draws) ids.push_back(d.id);
        return ids;
    }

    RecordingGUI gui;
};

const std::vector<Node> kTriangleNodes = {{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 0, 1, 0}, {4, 1, 1, 0}};

TEST_F(LayupMeshCheckTest, EmptySlotAndEmptyModel) {
    const std::vector<std::function<int()>> calls = {
        LayupPlotElemFaces,
        LayupEraseElemFaces,
        LayupPlotElemNodes,
        LayupEraseElemNodes,
        LayupPlotElemFreeEdges,
        LayupEraseElemFreeEdges,
        LayupPlotElemBranches,
        LayupEraseElemBranches,
        LayupPlotElemNormals,
        LayupEraseElemNormals,
        LayupPlotElemNormalBoundaries,
        LayupEraseElemNormalBoundaries,
        LayupPlotElemDuplicates,
        LayupEraseElemDuplicates,
        LayupPlotElemConnectivities,
        LayupEraseElemConnectivities,
        LayupPlotElemMaterialOrients,
        LayupEraseElemMaterialOrients,
        [] { return LayupPlotElemFeatureAngles(0.0f); },
        LayupEraseElemFeatureAngles};
    // A model without elements draws nothing; erasing deletes the segments
    // 11 to 20 in order.
    for (const auto& call : calls) EXPECT_EQ(call(), 0);
    std::vector<int> deleted;
    for (const Draw& d : gui.draws) {
        EXPECT_EQ(d.kind, "deleteSegment");
        deleted.push_back(d.segment);
    }
    EXPECT_EQ(deleted, (std::vector<int>{11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));

    gui.clear();
    LayupDestruct();
    for (const auto& call : calls) EXPECT_EQ(call(), 1);
    EXPECT_TRUE(gui.draws.empty());
}

TEST_F(LayupMeshCheckTest, IsolatedTriangle) {
    Load(kTriangleNodes, {{7, {1, 2, 3}}});

    EXPECT_EQ(LayupPlotElemFreeEdges(), 0);
    const std::vector<Draw> free = Drawn("line", 13, 101);
    ASSERT_EQ(free.size(), 3u);
    EXPECT_EQ(Ids(free), (std::vector<int>{7, 7, 7}));
    EXPECT_EQ(free[0].points, (std::vector<float>{0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(free[1].points, (std::vector<float>{1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(free[2].points, (std::vector<float>{0, 1, 0, 0, 0, 0}));

    gui.clear();
    EXPECT_EQ(LayupPlotElemBranches(), 0);
    EXPECT_EQ(LayupPlotElemNormalBoundaries(), 0);
    EXPECT_EQ(LayupPlotElemDuplicates(), 0);
    EXPECT_EQ(LayupPlotElemFeatureAngles(0.0f), 0);
    EXPECT_TRUE(gui.draws.empty());

    // The barb on the first edge points at the second node.
    EXPECT_EQ(LayupPlotElemConnectivities(), 0);
    const std::vector<Draw> barb = Drawn("line", 18, 1);
    ASSERT_EQ(barb.size(), 2u);
    EXPECT_EQ(Ids(barb), (std::vector<int>{0, 0}));
    EXPECT_EQ(barb[0].points, (std::vector<float>{0.7f, 0, 0, 0.7f, 0.15f, 0}));
    EXPECT_EQ(barb[1].points, (std::vector<float>{0.7f, 0.15f, 0, 1, 0, 0}));

    gui.clear();
    EXPECT_EQ(LayupPlotElemFaces(), 0);
    const std::vector<Draw> faces = Drawn("polygon", 11, 1);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(faces[0].id, 7);
    EXPECT_EQ(faces[0].points, (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0}));

    EXPECT_EQ(LayupPlotElemNormals(), 0);
    const std::vector<Draw> arrows = Drawn("resultArrow", 15, 4);
    ASSERT_EQ(arrows.size(), 1u);
    EXPECT_EQ(arrows[0].id, 7);
    EXPECT_NEAR(arrows[0].points[0], 1.0 / 3, 1e-6);
    EXPECT_NEAR(arrows[0].points[1], 1.0 / 3, 1e-6);
    EXPECT_EQ(std::vector<float>(arrows[0].points.begin() + 3, arrows[0].points.end()),
              (std::vector<float>{0, 0, 1}));
    EXPECT_EQ(arrows[0].extra, (std::vector<double>{0.1f, 1}));
    EXPECT_EQ(arrows[0].label, "n");

    // Every node, the unused one too, in ascending id order.
    EXPECT_EQ(LayupPlotElemNodes(), 0);
    const std::vector<Draw> markers = Drawn("marker", 12, 4);
    EXPECT_EQ(Ids(markers), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(markers[3].points, (std::vector<float>{1, 1, 0}));
    EXPECT_EQ(markers[3].extra, (std::vector<double>{1, 14}));
}

TEST_F(LayupMeshCheckTest, NormalBoundariesOnlyWhereNormalsFlip) {
    // Both elements run the shared edge 2 -> 3: their normals disagree.
    Load(kTriangleNodes, {{1, {1, 2, 3}}, {2, {2, 3, 4}}});
    EXPECT_EQ(LayupPlotElemNormalBoundaries(), 0);
    const std::vector<Draw> flipped = Drawn("line", 16, 4);
    ASSERT_EQ(flipped.size(), 2u);
    EXPECT_EQ(Ids(flipped), (std::vector<int>{1, 2}));
    for (const Draw& d : flipped) EXPECT_EQ(d.points, (std::vector<float>{1, 0, 0, 0, 1, 0}));

    LayupDestruct();
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    static_cast<CKpLayup*>(LayupSlotModel())->pGra()->SetGUI(&gui);
    Load(kTriangleNodes, {{1, {1, 2, 3}}, {2, {3, 2, 4}}});
    EXPECT_EQ(LayupPlotElemNormalBoundaries(), 0);
    EXPECT_TRUE(gui.draws.empty());
    // Each triangle keeps two free edges.
    EXPECT_EQ(LayupPlotElemFreeEdges(), 0);
    EXPECT_EQ(Ids(Drawn("line", 13, 101)), (std::vector<int>{1, 1, 2, 2}));
}

TEST_F(LayupMeshCheckTest, BranchDrawnFromEachElement) {
    // Three quadrilaterals on the edge 1-2: in the xy plane, up and down.
    Load({{1, 0, 0, 0},
          {2, 1, 0, 0},
          {3, 1, 1, 0},
          {4, 0, 1, 0},
          {5, 1, 0, 1},
          {6, 0, 0, 1},
          {7, 1, 0, -1},
          {8, 0, 0, -1}},
         {{10, {1, 2, 3, 4}}, {20, {2, 1, 6, 5}}, {30, {1, 2, 7, 8}}});
    EXPECT_EQ(LayupPlotElemBranches(), 0);
    const std::vector<Draw> branches = Drawn("line", 14, 5);
    ASSERT_EQ(Ids(branches), (std::vector<int>{10, 20, 30}));
    for (const Draw& d : branches) {
        std::vector<float> ends = d.points;
        if (ends[0] != 0) std::swap_ranges(ends.begin(), ends.begin() + 3, ends.begin() + 3);
        EXPECT_EQ(ends, (std::vector<float>{0, 0, 0, 1, 0, 0}));
    }
}

TEST_F(LayupMeshCheckTest, DuplicatesCompareNodeListsAsStored) {
    Load({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}},
         {{9, {1, 2, 3, 4}}, {5, {1, 2, 3, 4}}, {7, {2, 3, 4, 1}}, {3, {1, 2, 3}}});
    EXPECT_EQ(LayupPlotElemDuplicates(), 0);
    std::vector<Draw> dups = Drawn("polygon", 17, 1);
    ASSERT_EQ(dups.size(), 1u);
    EXPECT_EQ(dups[0].id, 9);
    EXPECT_EQ(dups[0].points, (std::vector<float>{0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}));

    // Of three identical elements the two higher ids.
    LayupDestruct();
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    static_cast<CKpLayup*>(LayupSlotModel())->pGra()->SetGUI(&gui);
    Load({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}},
         {{4, {1, 2, 3}}, {2, {1, 2, 3}}, {8, {1, 2, 3}}});
    EXPECT_EQ(LayupPlotElemDuplicates(), 0);
    EXPECT_EQ(Ids(Drawn("polygon", 17, 1)), (std::vector<int>{4, 8}));
}

TEST_F(LayupMeshCheckTest, FeatureAngles) {
    // Flat 2 x 1 plate: two diagonals and the edge between the quads.
    LoadPlate(2, 1);
    EXPECT_EQ(LayupPlotElemFeatureAngles(0.0f), 0);
    EXPECT_EQ(Ids(Drawn("line", 20, 101)), (std::vector<int>{0, 0, 0}));
    gui.clear();
    EXPECT_EQ(LayupPlotElemFeatureAngles(90.0f), 0);
    EXPECT_TRUE(gui.draws.empty());
    EXPECT_EQ(LayupEraseElemFeatureAngles(), 0);
    ASSERT_EQ(gui.draws.size(), 1u);
    EXPECT_EQ(gui.draws[0].kind, "deleteSegment");
    EXPECT_EQ(gui.draws[0].segment, 20);

    // A right-angle fold: at 90 degrees only the fold line.
    LayupDestruct();
    ASSERT_EQ(LayupConstruct(0, "", ""), 0);
    static_cast<CKpLayup*>(LayupSlotModel())->pGra()->SetGUI(&gui);
    Load({{1, 0, 0, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}, {4, 0, 1, 0}, {5, 1, 0, 1}, {6, 0, 0, 1}},
         {{1, {1, 2, 3, 4}}, {2, {2, 1, 6, 5}}});
    EXPECT_EQ(LayupPlotElemFeatureAngles(90.0f), 0);
    const std::vector<Draw> fold = Drawn("line", 20, 101);
    ASSERT_EQ(fold.size(), 1u);
    EXPECT_EQ(fold[0].points[1], 0.0f);
    EXPECT_EQ(fold[0].points[2], 0.0f);
    EXPECT_EQ(fold[0].points[4], 0.0f);
    EXPECT_EQ(fold[0].points[5], 0.0f);
    EXPECT_EQ(fold[0].points[0] + fold[0].points[3], 1.0f);
}

TEST_F(LayupMeshCheckTest, MaterialOrientationsDrawnAndStoreEmptied) {
    LoadPlate(2, 1);
    EXPECT_EQ(LayupPlotElemMaterialOrients(), 0);
    // One line per element through its midpoint, along x (angle 0).
    const std::vector<Draw> lines = Drawn("line", 19, 2);
    ASSERT_EQ(lines.size(), 2u);
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::vector<float>& p = lines[k].points;
        EXPECT_FLOAT_EQ(0.5f * (p[0] + p[3]), 0.5f + k);
        EXPECT_FLOAT_EQ(p[1], 0.5f);
        EXPECT_FLOAT_EQ(p[4], 0.5f);
    }
    EXPECT_EQ(static_cast<CKpLayup*>(LayupSlotModel())->pOrients()->entries(), 0);
}

}  // namespace
