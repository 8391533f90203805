#include "layuplib/CKpSbdmnStore.h"

#include <gtest/gtest.h>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/surface_div.h"
#include "tests/support/FacetSurface.h"
#include "tests/support/MessageCapture.h"

namespace {

using meshgen::Kind;

// A 2 x 1 quad4 plate (elements 1, 2; facets 0..3) and, apart from it, a
// unit square (element 3; facets 4, 5). With `flip` element 2 runs the
// other way round, so its shared edge with element 1 has the same sense.
meshgen::Mesh twoPatches(bool flip) {
    meshgen::Mesh a = surfmesh::Plate(Kind::Quad4, 2, 1, 2.0, 1.0);
    if (flip) surfmesh::Flip(a, 1);
    meshgen::Mesh b = surfmesh::Plate(Kind::Quad4, 1, 1, 1.0, 1.0);
    for (size_t k = 0; k < b.xyz.size(); k += 3) b.xyz[k] += 5.0;
    return surfmesh::Join(a, b, 0.0);
}

// Builds the surface and forgets the subdomains the build numbered.
void buildUnnumbered(FacetSurface& s, const meshgen::Mesh& m) {
    ASSERT_GT(s.Build(m), 0);
    for (int i = 0; i < s.facets.entries(); ++i) s.facets.pFac(i)->setSbdmn(0);
}

}  // namespace

TEST(CKpSbdmnStore, NumbersConnectedRegionsByLowestFacet) {
    FacetSurface s;
    buildUnnumbered(s, twoPatches(false));
    MessageCapture cap("sbdmn_two");
    CKpSbdmnStore store;
    ASSERT_EQ(store.Create(&cap.log, &s.facets), 0);
    const int expected[6] = {1, 1, 1, 1, 2, 2};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(s.facets.pFac(i)->getSbdmn(), expected[i]) << i;
        EXPECT_EQ(s.facets.pFac(i)->getSbdmndnfg(), 1) << i;
        EXPECT_EQ(s.facets.pFac(i)->getPntd(), 0) << i;
    }
    EXPECT_DOUBLE_EQ(store.GetArea(1), 2.0);
    EXPECT_EQ(store.GetArea(3), 0.0);
    EXPECT_EQ(cap.body(),
              "$# A total of 2 subdomains were identified.\n"
              "$#  subdomain   1 contains      4 facets of area 2\n"
              "$#  subdomain   2 contains      2 facets of area 1\n");

    // The selection's subdomains: one facet pair from each patch.
    s.elems.find(2)->setSltd(1);
    s.elems.find(3)->setSltd(1);
    ASSERT_EQ(store.GetSelected(nullptr, &s.facets), 0);
    EXPECT_DOUBLE_EQ(store.GetArea(1), 1.0);
    EXPECT_EQ(store.find(2)->NumFacs(), 2);
}

TEST(CKpSbdmnStore, DirectionsFlipAcrossSameSenseEdgesAndDivisionsSplit) {
    FacetSurface s;
    buildUnnumbered(s, twoPatches(true));
    CKpSbdmnStore store;
    ASSERT_EQ(store.Create(nullptr, &s.facets), 0);
    const int dnfg[6] = {1, 1, -1, -1, 1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(s.facets.pFac(i)->getSbdmndnfg(), dnfg[i]) << i;

    FacetSurface d;
    buildUnnumbered(d, twoPatches(false));
    ASSERT_EQ(SurfaceCreateDivision(&d.facets, 0, 1), 0);
    CKpSbdmnStore split;
    ASSERT_EQ(split.Create(nullptr, &d.facets), 0);
    const int number[6] = {1, 1, 2, 2, 3, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(d.facets.pFac(i)->getSbdmn(), number[i]) << i;
}

TEST(CKpSbdmnStore, ClosedTubeIsOneSubdomain) {
    FacetSurface s;
    buildUnnumbered(s, surfmesh::OpenCylinder(Kind::Quad4, 8, 2, 1.0, 1.0));
    CKpSbdmnStore store;
    ASSERT_EQ(store.Create(nullptr, &s.facets), 0);
    ASSERT_EQ(store.entries(), 1);
    EXPECT_EQ(store.find(1)->NumFacs(), 32);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(s.facets.pFac(i)->getSbdmndnfg(), 1) << i;
    EXPECT_EQ(store.Create(nullptr, nullptr), -1);
}
