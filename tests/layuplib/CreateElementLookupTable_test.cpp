#include "layuplib/CreateElementLookupTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemRef.h"
#include "layuplib/CKpElemRefStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpSortStore.h"
#include "layuplib/angle_util.h"
#include "layuplib/surface_div.h"
#include "tests/support/MemoryDB.h"
#include "tests/support/MeshGen.h"
#include "tests/support/MessageCapture.h"
#include "tests/support/RecordingGUI.h"

namespace {

struct Model {
    MemoryDB db;
    RecordingGUI gui;
    CKpLayup layup{&db, &gui};
    explicit Model(const meshgen::Mesh& mesh) {
        EXPECT_EQ(meshgen::LoadModel(layup, mesh), 0);
        surface_select_all(layup.pElems(), layup.pFacs());
    }
    CKpElem* elem(int id) { return layup.pElems()->find(id); }
};

int Lookup(CKpMsg* msg, Model& dst, Model& src, double tol, double angle, int normalCalc,
           double split, int* unmatched) {
    return CreateElementLookupTable(msg, dst.layup.pNodes(), dst.layup.pElems(), dst.layup.pFacs(),
                                    src.layup.pNodes(), src.layup.pElems(), src.layup.pFacs(), tol,
                                    angle, normalCalc, split, unmatched);
}

// A mesh moved by dz, its node order reversed (normals flipped) when asked.
meshgen::Mesh Shifted(meshgen::Mesh m, double dz, bool reverse) {
    for (size_t i = 0; i < m.xyz.size(); i += 3) m.xyz[i + 2] += dz;
    if (reverse)
        for (int e = 0; e < m.numElems(); ++e) {
            int* row = m.connectivity.data() + static_cast<size_t>(e) * m.width;
            std::swap(row[1], row[3]);
        }
    return m;
}

TEST(ElementLookup, IdenticalMeshesMapEveryElement) {
    meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, 4, 3, 2.0, 1.5);
    Model dst(mesh), src(mesh);
    MessageCapture cap("lookup_identical");
    int unmatched = -1;
    EXPECT_EQ(Lookup(&cap.log, dst, src, 2.5, 0.5, 0, 0.0, &unmatched), 0);
    EXPECT_EQ(unmatched, 0);
    for (int id = 1; id <= 12; ++id) {
        CKpElem* s = src.elem(id);
        ASSERT_EQ(s->GetNumElemRefs(), 1) << id;
        CKpElemRef* ref = s->pElemRefs()->find(id);
        ASSERT_NE(ref, nullptr);
        EXPECT_EQ(ref->GetElem(), dst.elem(id));
        EXPECT_EQ(ref->GetAngle(), 0.0);
        EXPECT_EQ(ref->GetFlag(), 1);
        EXPECT_EQ(dst.elem(id)->getSltd(), 0);
    }
    EXPECT_EQ(cap.body().find("piercing"), std::string::npos) << cap.body();
    // A second run finds every element deselected: nothing more happens.
    EXPECT_EQ(Lookup(&cap.log, dst, src, 2.5, 0.5, 0, 0.0, &unmatched), 0);
    EXPECT_EQ(src.elem(1)->GetNumElemRefs(), 1);
}

TEST(ElementLookup, ReversedPlateBelowIsPiercedWithFlagMinusOne) {
    meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, 4, 2, 2.0, 1.0);
    Model dst(mesh), src(Shifted(mesh, -0.05, true));
    for (int normalCalc : {0, 1, 2, 3}) {
        SCOPED_TRACE(normalCalc);
        src.layup.pElems()->DeleteElemRefs();
        surface_select_all(dst.layup.pElems(), dst.layup.pFacs());
        MessageCapture cap("lookup_reversed");
        int unmatched = -1;
        EXPECT_EQ(Lookup(&cap.log, dst, src, -0.1, 0.3, normalCalc, 0.0, &unmatched), 0);
        EXPECT_EQ(unmatched, 8);
        EXPECT_NE(cap.body().find("8 elements are unmatched, creating lookup element table by "
                                  "piercing"),
                  std::string::npos);
        EXPECT_NE(cap.body().find("Piercing distance tolerance is 0.1, angular tolerance is 0.3 "
                                  "radians, normal calculation " +
                                  std::to_string(normalCalc)),
                  std::string::npos);
        EXPECT_NE(cap.body().find("Calculated lookup table by piercing."), std::string::npos);
        for (int id = 1; id <= 8; ++id) {
            CKpElemRef* ref = src.elem(id)->pElemRefs()->find(id);
            ASSERT_NE(ref, nullptr) << id;
            EXPECT_EQ(ref->GetFlag(), -1);
            // Reversing 1-2-3-4 to 1-4-3-2 turns the first edge, the
            // reference direction, from x to y.
            EXPECT_NEAR(std::fabs(ref->GetAngle()), kPi / 2.0, 1e-9);
            EXPECT_EQ(src.elem(id)->GetNumElemRefs(), 1);
        }
    }
    // Out of reach: 0.04 does not get down to 0.05.
    src.layup.pElems()->DeleteElemRefs();
    surface_select_all(dst.layup.pElems(), dst.layup.pFacs());
    int unmatched = 0;
    Lookup(nullptr, dst, src, -0.04, 0.3, 0, 0.0, &unmatched);
    EXPECT_EQ(src.elem(1)->GetNumElemRefs(), 0);
}

TEST(ElementLookup, TolerancesAreResolvedAndReported) {
    meshgen::Mesh mesh = meshgen::Plate(meshgen::Kind::Quad4, 2, 1, 4.0, 1.0);
    Model dst(mesh), src(Shifted(mesh, 0.01, false));
    struct Case {
        double tol, angle;
        const char* text;
    } cases[] = {
        // 2.5 percent of the largest extent, 4.
        {2.5, 0.5, "Piercing distance tolerance is 0.1, angular tolerance is 0.5 radians"},
        {-2.5, 0.5, "Piercing distance tolerance is 2.5, angular tolerance is 0.5 radians"},
        {-2.5, -2.0,
         "Angle tolerance is 2 radians, resetting to the maximum allowable value of "
         "1.5708 radians."},
        {-2.5, 0.0,
         "Piercing distance tolerance is 2.5, angular tolerance is 0 radians. As one or "
         "more import tolerances are zero, ignoring piercing"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        src.layup.pElems()->DeleteElemRefs();
        surface_select_all(dst.layup.pElems(), dst.layup.pFacs());
        MessageCapture cap("lookup_tol");
        int unmatched = 0;
        EXPECT_EQ(Lookup(&cap.log, dst, src, c.tol, c.angle, 0, 0.0, &unmatched), 0);
        EXPECT_NE(cap.body().find(c.text), std::string::npos) << cap.body();
        EXPECT_EQ(src.elem(1)->GetNumElemRefs(), c.angle == 0.0 ? 0 : 1);
    }
}

TEST(ElementLookup, SplitWidthBridgesAGap) {
    // Destination: one quad over x 0.75..1.25; source: two quads with a gap
    // of 0.02 under its centre.
    meshgen::Mesh d;
    d.nodeIds = {1, 2, 3, 4};
    d.xyz = {0.75, 0, 0, 1.25, 0, 0, 1.25, 1, 0, 0.75, 1, 0};
    d.elemIds = {1};
    d.topologies = {4};
    d.width = 4;
    d.connectivity = {1, 2, 3, 4};
    meshgen::Mesh s;
    s.nodeIds = {1, 2, 3, 4, 5, 6, 7, 8};
    s.xyz = {0,    0, -0.01, 0.99, 0, -0.01, 0.99, 1, -0.01, 0,    1, -0.01,
             1.01, 0, -0.01, 2,    0, -0.01, 2,    1, -0.01, 1.01, 1, -0.01};
    s.elemIds = {5, 6};
    s.topologies = {4, 4};
    s.width = 4;
    s.connectivity = {1, 2, 3, 4, 5, 6, 7, 8};
    Model dst(d), src(s);
    int unmatched = 0;
    EXPECT_EQ(Lookup(nullptr, dst, src, -0.1, 0.2, 0, 0.0, &unmatched), 0);
    EXPECT_EQ(unmatched, 1);
    EXPECT_EQ(src.elem(5)->GetNumElemRefs() + src.elem(6)->GetNumElemRefs(), 0);
    MessageCapture cap("lookup_split");
    EXPECT_EQ(Lookup(&cap.log, dst, src, -0.1, 0.2, 0, 0.05, &unmatched), 0);
    EXPECT_NE(cap.body().find("Covering splits of width             0.05"), std::string::npos)
        << cap.body();
    EXPECT_EQ(src.elem(5)->GetNumElemRefs() + src.elem(6)->GetNumElemRefs(), 1);
    // A split narrower than the gap's half width finds nothing.
    src.layup.pElems()->DeleteElemRefs();
    surface_select_all(dst.layup.pElems(), dst.layup.pFacs());
    EXPECT_EQ(Lookup(nullptr, dst, src, -0.1, 0.2, 0, 0.005, &unmatched), 0);
    EXPECT_EQ(src.elem(5)->GetNumElemRefs() + src.elem(6)->GetNumElemRefs(), 0);
}

TEST(ElementLookup, OverlappingSourcesBothReferenceTheElement) {
    meshgen::Mesh d = meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0);
    meshgen::Mesh s = meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0, {10, 10, 0});
    meshgen::Mesh below =
        Shifted(meshgen::Plate(meshgen::Kind::Quad4, 1, 1, 1.0, 1.0, {20, 20, 0}), -0.02, false);
    s.nodeIds.insert(s.nodeIds.end(), below.nodeIds.begin(), below.nodeIds.end());
    s.xyz.insert(s.xyz.end(), below.xyz.begin(), below.xyz.end());
    s.elemIds.insert(s.elemIds.end(), below.elemIds.begin(), below.elemIds.end());
    s.topologies.insert(s.topologies.end(), below.topologies.begin(), below.topologies.end());
    s.connectivity.insert(s.connectivity.end(), below.connectivity.begin(),
                          below.connectivity.end());
    Model dst(d), src(s);
    int unmatched = 0;
    EXPECT_EQ(Lookup(nullptr, dst, src, -0.1, 0.2, 0, 0.0, &unmatched), 0);
    EXPECT_EQ(src.elem(10)->GetNumElemRefs(), 1);
    EXPECT_EQ(src.elem(20)->GetNumElemRefs(), 1);
    EXPECT_EQ(src.elem(20)->pElemRefs()->find(1)->GetFlag(), 1);
}

TEST(ElementLookup, GetValidSplitsAscendingRuns) {
    auto table = [](std::initializer_list<double> v) {
        auto t = std::make_unique<CKpSortStore>();
        t->Create(static_cast<int>(v.size()));
        int k = 0;
        for (double x : v) t->SetIndexValue(k, k, x), ++k;
        return t;
    };
    auto a = table({1, 2, 3, 4, 5});
    struct Case {
        double bound;
        int side, vf, vc, of, oc;
    } cases[] = {
        {3, 0, 0, 3, 3, 2},   {3, 1, 2, 3, 0, 2}, {0.5, 0, 0, 0, 0, 5}, {5, 0, 0, 5, 5, 0},
        {5.5, 1, 0, 0, 0, 5}, {1, 1, 0, 5, 5, 0}, {3.5, 0, 0, 3, 3, 2}, {3.5, 1, 3, 2, 0, 3},
    };
    for (const Case& c : cases) {
        int vf, vc, of, oc;
        EXPECT_EQ(GetValid(a.get(), 0, 5, c.bound, c.side, &vf, &vc, &of, &oc), 0);
        EXPECT_EQ(vf, c.vf) << c.bound << " side " << c.side;
        EXPECT_EQ(vc, c.vc) << c.bound << " side " << c.side;
        EXPECT_EQ(of, c.of) << c.bound << " side " << c.side;
        EXPECT_EQ(oc, c.oc) << c.bound << " side " << c.side;
    }
    // Ties: every 2 is kept on either side.
    auto b = table({1, 2, 2, 2, 3});
    int vf, vc, of, oc;
    GetValid(b.get(), 0, 5, 2, 0, &vf, &vc, &of, &oc);
    EXPECT_EQ(vc, 4);
    GetValid(b.get(), 0, 5, 2, 1, &vf, &vc, &of, &oc);
    EXPECT_EQ(vf, 1);
    EXPECT_EQ(vc, 4);
    // A sub-range.
    GetValid(a.get(), 1, 3, 3, 0, &vf, &vc, &of, &oc);
    EXPECT_EQ(vf, 1);
    EXPECT_EQ(vc, 2);
    EXPECT_EQ(of, 3);
    EXPECT_EQ(oc, 1);
}

}  // namespace
