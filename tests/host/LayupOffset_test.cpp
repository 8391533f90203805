#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host/LayupApi.h"
#include "host/LayupOut.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "platform/MorvekStub.h"
#include "tests/support/MeshGen.h"

namespace {

class LayupOffsetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(VekApiInit(&MorvekStubGetter), 0);
        MorvekStubReset();
        ASSERT_EQ(LayupConstruct(0, "", ""), 0);
        ASSERT_EQ(LayupOpenMessage(path.c_str()), 0);
        // A 4 x 2 plate of unit quads in z = 0.
        const meshgen::Mesh m = meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 4.0, 2.0);
        std::vector<int> nodeIds = m.nodeIds, elemIds = m.elemIds, tops = m.topologies,
                         rows = m.connectivity, values(m.elemIds.size(), 1);
        std::vector<float> xyz(m.xyz.begin(), m.xyz.end());
        ids = m.elemIds;
        ASSERT_EQ(LayupNewLayupMesh(static_cast<int>(nodeIds.size()), nodeIds.data(), xyz.data(),
                                    static_cast<int>(elemIds.size()), elemIds.data(), values.data(),
                                    tops.data(), m.width, rows.data(), 0.0f, 0.0f),
                  0);
    }
    void TearDown() override {
        LayupCloseMessage();
        LayupDestruct();
        MorvekStubReset();
        std::remove(path.c_str());
    }
    std::string Log() {
        std::ostringstream s;
        s << std::ifstream(path).rdbuf();
        return s.str();
    }

    std::vector<int> ids;
    std::string path = ::testing::TempDir() + "offset_" + std::to_string(::getpid()) + ".msg";
};

}  // namespace

TEST_F(LayupOffsetTest, RegionsReadBackInOrder) {
    int first[2] = {ids[0], ids[1]};
    ASSERT_EQ(LayupSetOffset(0.5f, 1, 0.5f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f, 2, first), 0);
    EXPECT_NE(Log().find("Offset region data set"), std::string::npos);
    int second[3] = {ids[4], ids[5], ids[6]};
    ASSERT_EQ(LayupSetOffset2("top", -0.25f, -1, 1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 1.0f, 3, second), 0);
    int n = 0;
    ASSERT_EQ(LayupGetNoOffRegions(0, &n), 0);
    ASSERT_EQ(n, 2);
    int sizes[2] = {};
    ASSERT_EQ(LayupGetOffRegionsSize(0, sizes), 0);
    EXPECT_EQ(sizes[0], 2);
    EXPECT_EQ(sizes[1], 3);

    char a[16] = "old", b[16] = "old";
    char* names[2] = {a, b};
    float values[2], seeds[6], dirs[6];
    int flags[2], elems[5];
    ASSERT_EQ(LayupGetOffsetDefn2(0, 16, names, values, flags, elems, seeds, dirs), 0);
    EXPECT_STREQ(a, "1");  // named by its id
    EXPECT_STREQ(b, "top");
    EXPECT_FLOAT_EQ(values[0], 0.5f);
    EXPECT_FLOAT_EQ(values[1], -0.25f);
    EXPECT_EQ(flags[0], 1);
    EXPECT_EQ(flags[1], -1);
    EXPECT_EQ(std::vector<int>(elems, elems + 5),
              (std::vector<int>{ids[0], ids[1], ids[4], ids[5], ids[6]}));
    EXPECT_FLOAT_EQ(seeds[3], 1.5f);
    EXPECT_FLOAT_EQ(dirs[5], 1.0f);

    ASSERT_EQ(LayupGetOffsetDefn2(0, 1, names, values, flags, elems, seeds, dirs), 0);
    EXPECT_STREQ(a, "");
    EXPECT_STREQ(b, "");

    ASSERT_EQ(LayupRestoreOffset(), 0);
    EXPECT_NE(Log().find("Offset restored"), std::string::npos);
    LayupGetNoOffRegions(0, &n);
    EXPECT_EQ(n, 0);
}

// The version without names: each region's value, flag, seed point and
// direction at its own position, the element ids one region after the other.
TEST_F(LayupOffsetTest, DefinitionWithoutNamesGivesEveryRegion) {
    int first[2] = {ids[1], ids[0]};
    ASSERT_EQ(LayupSetOffset2("low", 0.5f, 1, 0.5f, 0.25f, 0.0f, 0.0f, 0.0f, 1.0f, 2, first), 0);
    int second[3] = {ids[6], ids[7], ids[5]};
    ASSERT_EQ(LayupSetOffset(-0.125f, -1, 2.5f, 1.75f, 0.0f, 0.0f, 0.0f, -1.0f, 3, second), 0);
    int third[1] = {ids[3]};
    ASSERT_EQ(LayupSetOffset2("mid", 2.0f, 0, 3.5f, 0.5f, 0.0f, 0.0f, 0.0f, 1.0f, 1, third), 0);

    float values[4] = {-9, -9, -9, -9}, seeds[12], dirs[12];
    int flags[4] = {-9, -9, -9, -9}, elems[7] = {-9, -9, -9, -9, -9, -9, -9};
    for (int k = 0; k < 12; ++k) seeds[k] = dirs[k] = -9.0f;
    ASSERT_EQ(LayupGetOffsetDefn(777, values, flags, elems, seeds, dirs), 0);
    EXPECT_EQ(std::vector<float>(values, values + 4), (std::vector<float>{0.5f, -0.125f, 2, -9}));
    EXPECT_EQ(std::vector<int>(flags, flags + 4), (std::vector<int>{1, -1, 0, -9}));
    // Each region's ids as it holds them, then the next region's.
    std::vector<int> got(elems, elems + 7);
    std::vector<int> low(first, first + 2), top(second, second + 3);
    std::sort(low.begin(), low.end());
    std::sort(top.begin(), top.end());
    std::vector<int> a(got.begin(), got.begin() + 2), b(got.begin() + 2, got.begin() + 5);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, low);
    EXPECT_EQ(b, top);
    EXPECT_EQ(got[5], ids[3]);
    EXPECT_EQ(got[6], -9);
    EXPECT_EQ(std::vector<float>(seeds, seeds + 12),
              (std::vector<float>{0.5f, 0.25f, 0, 2.5f, 1.75f, 0, 3.5f, 0.5f, 0, -9, -9, -9}));
    EXPECT_EQ(std::vector<float>(dirs, dirs + 12),
              (std::vector<float>{0, 0, 1, 0, 0, -1, 0, 0, 1, -9, -9, -9}));

    // Entry for entry what the named version gives.
    float v2[3], s2[9], d2[9];
    int f2[3], e2[6];
    ASSERT_EQ(LayupGetOffsetDefn2(0, 0, nullptr, v2, f2, e2, s2, d2), 0);
    EXPECT_EQ(std::vector<int>(e2, e2 + 6), std::vector<int>(elems, elems + 6));

    // No regions: nothing written; no model: 1.
    ASSERT_EQ(LayupRestoreOffset(), 0);
    values[0] = -9;
    elems[0] = -9;
    ASSERT_EQ(LayupGetOffsetDefn(0, values, flags, elems, seeds, dirs), 0);
    EXPECT_EQ(values[0], -9.0f);
    EXPECT_EQ(elems[0], -9);
    LayupCloseMessage();
    LayupDestruct();
    EXPECT_EQ(LayupGetOffsetDefn(0, values, flags, elems, seeds, dirs), 1);
    EXPECT_EQ(values[0], -9.0f);
}

TEST_F(LayupOffsetTest, SurfaceIntersectHitsAndFindsNearest) {
    float point[3] = {2.5f, 0.5f, 3.0f}, down[3] = {0.0f, 0.0f, -1.0f};
    float hit[3] = {9, 9, 9}, normal[3] = {9, 9, 9};
    int elem = 0;
    ASSERT_EQ(LayupGetSurfaceIntersect(static_cast<int>(ids.size()), ids.data(), point, down, &elem,
                                       hit, normal),
              0);
    EXPECT_NEAR(hit[0], 2.5f, 1e-3);
    EXPECT_NEAR(hit[1], 0.5f, 1e-3);
    EXPECT_NEAR(hit[2], 0.0f, 1e-5);
    EXPECT_NEAR(std::abs(normal[2]), 1.0f, 1e-5);
    EXPECT_EQ(elem, ids[2]);  // third element of the first row

    float zero[3] = {0, 0, 0};
    float beside[3] = {1.25f, 1.75f, 0.4f};
    ASSERT_EQ(LayupGetSurfaceIntersect(static_cast<int>(ids.size()), ids.data(), beside, zero,
                                       &elem, hit, normal),
              0);
    EXPECT_NEAR(hit[0], 1.25f, 1e-5);
    EXPECT_NEAR(hit[1], 1.75f, 1e-5);
    EXPECT_NEAR(hit[2], 0.0f, 1e-5);
}

TEST_F(LayupOffsetTest, ToleranceRegionsSkipBadIdsAndRestoreClearsThem) {
    int first[4] = {ids[0], 0, -3, 99999};
    ASSERT_EQ(LayupSetTolerance(3.0f, 0.2f, 4, first), 0);
    EXPECT_NE(Log().find("Tolerance region data set"), std::string::npos);
    int second[2] = {ids[3], ids[5]};
    ASSERT_EQ(LayupSetTolerance(7.5f, 0.4f, 2, second), 0);
    ASSERT_EQ(LayupSetTolerance(1.0f, 0.1f, 0, nullptr), 0);  // a region of no element
    int n = 0;
    ASSERT_EQ(LayupGetNoTolRegions(0, &n), 0);
    ASSERT_EQ(n, 3);
    int sizes[3] = {-1, -1, -1};
    ASSERT_EQ(LayupGetTolRegionsSize(0, sizes), 0);
    EXPECT_EQ(std::vector<int>(sizes, sizes + 3), (std::vector<int>{1, 2, 0}));
    float ga = 0, gt = 0, angles[3], thick[3];
    int elems[3] = {};
    ASSERT_EQ(LayupGetTolDefn(0, &ga, &gt, angles, thick, elems), 0);
    EXPECT_FLOAT_EQ(angles[0], 3.0f);
    EXPECT_FLOAT_EQ(angles[1], 7.5f);
    EXPECT_FLOAT_EQ(thick[1], 0.4f);
    EXPECT_EQ(std::vector<int>(elems, elems + 3), (std::vector<int>{ids[0], ids[3], ids[5]}));

    ASSERT_EQ(LayupRestoreTolerance(10.0f, 0.3f), 0);
    EXPECT_NE(Log().find("Tolerance restored"), std::string::npos);
    LayupGetNoTolRegions(0, &n);
    EXPECT_EQ(n, 0);
    ASSERT_EQ(LayupGetTolDefn(0, &ga, &gt, nullptr, nullptr, nullptr), 0);
    EXPECT_FLOAT_EQ(ga, 10.0f);
    EXPECT_FLOAT_EQ(gt, 0.3f);
    CKpLayup* model = static_cast<CKpLayup*>(LayupSlotModel());
    for (int id : ids) {
        CKpElem* e = model->pElems()->find(id);
        ASSERT_NE(e, nullptr);
        EXPECT_NEAR(e->getangtol(), 10.0 * M_PI / 180.0, 1e-7) << id;
        EXPECT_DOUBLE_EQ(e->getthktol(), static_cast<double>(0.3f)) << id;
    }
}
