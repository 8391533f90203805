#include "layuplib/CKpSbdmnStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpElem.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CalcBoundary.h"
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

namespace {

// The numbering done the plain way: the facets' own painted flags, the
// boundary code's region walk, then the walked facets numbered in the
// walk's order. Create must leave the facets, the subdomains and the
// messages exactly as this does.
int referenceCreate(CKpMsg* msg, CKpFacetStore* facets, CKpSbdmnStore& store) {
    const int n = facets->entries();
    std::vector<int> list(static_cast<size_t>(n)), dnfg(static_cast<size_t>(n));
    facets->ReinitPntd();
    int k = 0;
    for (int i = 0; i < n; ++i) {
        CKpFacet* start = facets->pFac(i);
        if (!start || start->getSbdmn() != 0) continue;
        ++k;
        start->setSbdmndnfg(1);
        int count = 0;
        CKpBdy* ring = nullptr;
        if (CalcAllBoundary(msg, facets, 0, i, 1, ring, &count, list.data(), dnfg.data()) != 0)
            return -1;
        double area = 0.0;
        for (int q = 0; q < count; ++q) {
            CKpFacet* f = facets->pFac(list[static_cast<size_t>(q)]);
            f->setSbdmn(k);
            f->setSbdmndnfg(dnfg[static_cast<size_t>(q)]);
            f->setPntd(0);
            area += f->Area();
        }
        DeleteBoundary(ring);
        store.insert(new CKpSbdmn(k, count, area));
    }
    store.WriteMsg(msg);
    return 0;
}

// Builds `m` three times, lets `prepare` change the surfaces alike,
// numbers one with Create, one with Create deferring the facets' numbers
// (written afterwards through WriteNumber) and the third with the
// reference, and compares every facet's marks, every subdomain (areas bit
// for bit) and the messages. Returns the reference's messages.
template <class Prepare>
std::string expectSameAsReference(const meshgen::Mesh& m, const char* name, Prepare prepare) {
    FacetSurface a, b, c;
    buildUnnumbered(a, m);
    buildUnnumbered(b, m);
    buildUnnumbered(c, m);
    prepare(a.facets);
    prepare(b.facets);
    prepare(c.facets);
    MessageCapture capA(std::string(name) + "_fast"), capB(std::string(name) + "_ref"),
        capC(std::string(name) + "_deferred");
    CKpSbdmnStore fast, ref, deferred;
    const int status = referenceCreate(&capB.log, &b.facets, ref);
    EXPECT_EQ(fast.Create(&capA.log, &a.facets), status) << name;
    EXPECT_EQ(capA.body(), capB.body()) << name;

    std::vector<int, CKpLargeAllocator<int>> numbers(3, 7);  // emptied first
    EXPECT_EQ(deferred.Create(&capC.log, &c.facets, &numbers), status) << name;
    EXPECT_EQ(capC.body(), capB.body()) << name;
    EXPECT_EQ(deferred.entries(), ref.entries()) << name;
    if (status == 0) {
        EXPECT_EQ(static_cast<int>(numbers.size()), c.facets.entries()) << name;
        for (int i = 0; i < c.facets.entries() && i < static_cast<int>(numbers.size()); ++i)
            CKpSbdmnStore::WriteNumber(c.facets.pFac(i), numbers[static_cast<size_t>(i)]);
    } else {
        EXPECT_TRUE(numbers.empty()) << name;
    }
    for (int i = 0; i < c.facets.entries() && i < b.facets.entries(); ++i) {
        const CKpFacet* fc = c.facets.pFac(i);
        const CKpFacet* fb = b.facets.pFac(i);
        EXPECT_EQ(fc->getSbdmn(), fb->getSbdmn()) << name << " deferred facet " << i;
        EXPECT_EQ(fc->getSbdmndnfg(), fb->getSbdmndnfg()) << name << " deferred facet " << i;
        EXPECT_EQ(fc->getFacetDirection(), fb->getFacetDirection())
            << name << " deferred facet " << i;
        EXPECT_EQ(fc->getPntd(), fb->getPntd()) << name << " deferred facet " << i;
    }
    EXPECT_EQ(fast.entries(), ref.entries()) << name;
    for (int k = 0; k < fast.entries() && k < ref.entries(); ++k) {
        EXPECT_EQ(fast[k]->id(), ref[k]->id()) << name;
        EXPECT_EQ(fast[k]->NumFacs(), ref[k]->NumFacs()) << name << " subdomain " << k + 1;
        const double x = fast[k]->Area(), y = ref[k]->Area();
        EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0) << name << " subdomain " << k + 1;
    }
    EXPECT_EQ(a.facets.entries(), b.facets.entries());
    for (int i = 0; i < a.facets.entries() && i < b.facets.entries(); ++i) {
        const CKpFacet* fa = a.facets.pFac(i);
        const CKpFacet* fb = b.facets.pFac(i);
        EXPECT_EQ(fa->getSbdmn(), fb->getSbdmn()) << name << " facet " << i;
        EXPECT_EQ(fa->getSbdmndnfg(), fb->getSbdmndnfg()) << name << " facet " << i;
        EXPECT_EQ(fa->getFacetDirection(), fb->getFacetDirection()) << name << " facet " << i;
        EXPECT_EQ(fa->getPntd(), fb->getPntd()) << name << " facet " << i;
    }
    return capB.body();
}

void nothing(CKpFacetStore&) {}

}  // namespace

// Fronts that meet themselves (around a hole, over a closed surface where
// the ring vanishes), branches, flipped elements, divisions, facets numbered beforehand and a
// one-sided link: the walk with its compact marks gives what the plain
// walk gives.
TEST(CKpSbdmnStore, SameNumberingAsThePlainWalk) {
    expectSameAsReference(surfmesh::PlateWithHole(Kind::Quad4, 10, 1.0, 4), "hole", nothing);
    expectSameAsReference(surfmesh::Sphere(Kind::Tria3, 12, 8, 1.0), "sphere", nothing);
    expectSameAsReference(surfmesh::Hemisphere(Kind::Quad4, 10, 5, 1.0), "hemisphere", nothing);
    expectSameAsReference(surfmesh::Fins(Kind::Quad4, {0.0, 2.0, 4.0}, {1.0}, 1.0), "fins",
                          nothing);
    expectSameAsReference(surfmesh::BoxCorner(Kind::Tria3, 4, 2, 1.0, 0.5), "box", nothing);
    expectSameAsReference(twoPatches(true), "flipped", nothing);
    expectSameAsReference(twoPatches(false), "divided", [](CKpFacetStore& f) {
        ASSERT_EQ(SurfaceCreateDivision(&f, 0, 1), 0);
    });

    // A patch numbered before and left with stale walk marks: never walked,
    // its marks cleared all the same.
    expectSameAsReference(twoPatches(false), "apart", [](CKpFacetStore& f) {
        for (int i : {4, 5}) {
            f.pFac(i)->setSbdmn(5);
            f.pFac(i)->setPntd(1);
            f.pFac(i)->setFacetDirection(-1);
        }
    });

    // Elements turned over: the walk meets facets of both directions on
    // its own front, around the hole too.
    meshgen::Mesh mixed = surfmesh::Plate(Kind::Quad4, 8, 8, 1.0, 1.0);
    for (int e = 8; e < 64; e += 3) surfmesh::Flip(mixed, e);
    expectSameAsReference(mixed, "mixed", nothing);
    meshgen::Mesh turned = surfmesh::PlateWithHole(Kind::Quad4, 10, 1.0, 4);
    for (size_t e = 1; e < turned.elemIds.size(); ++e) surfmesh::Flip(turned, static_cast<int>(e));
    expectSameAsReference(turned, "hole turned", nothing);

    const meshgen::Mesh plate = surfmesh::Plate(Kind::Quad4, 6, 6, 1.0, 1.0);
    // Facets numbered before: they open no subdomain but are walked into.
    expectSameAsReference(plate, "numbered", [](CKpFacetStore& f) {
        for (int i : {0, 7, 30, 71}) f.pFac(i)->setSbdmn(9);
    });
    // Facet 30 keeps its links but its neighbours lose theirs to it: a
    // later walk from it enters the subdomain already numbered.
    expectSameAsReference(plate, "one-sided", [](CKpFacetStore& f) {
        for (int e = 0; e < 3; ++e) {
            const int g = f.pFac(30)->getNeigh(e);
            if (g < 0) continue;
            for (int h = 0; h < 3; ++h)
                if (f.pFac(g)->getNeigh(h) == 30) f.pFac(g)->setNeigh(h, -1);
        }
    });
}
