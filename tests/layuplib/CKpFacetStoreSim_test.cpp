#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "tests/support/SurfaceMeshes.h"

namespace {

using surfmesh::Kind;

std::uint64_t bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, sizeof b);
    return b;
}

// Facet i with drape data in the forms a reset must not take for "already
// reset": the reset values' look-alikes (-0.0, a NaN) and plain ones.
void dirty(CKpFacet* f, int i) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    switch (i % 4) {
        case 0:  // as after an earlier reset
            break;
        case 1:
            f->setFacetDirection(-1);
            f->setwpang(0.25);
            f->setwtang(-1.5);
            f->setstrn(0.125);
            f->setNrpat(2);
            break;
        case 2:  // equal to the reset values as numbers, not as bits
            f->setstrn(-0.0);
            f->setwpang(nan);
            break;
        default:
            f->setFacetDirection(1);
            f->setwtang(-1000.0 * (1.0 + std::numeric_limits<double>::epsilon()));
            f->setNrpat(-1);
            break;
    }
}

}  // namespace

// Every facet's drape data back to the exact reset bits, whatever it held;
// the projection reset keeps the direction flags.
TEST(CKpFacetStoreSim, ResetsLeaveTheExactResetValuesOnEveryFacet) {
    surfmesh::Faceted b("reset", surfmesh::Plate(Kind::Quad4, 3, 2, 3.0, 2.0));
    ASSERT_EQ(b.status, 1);
    CKpFacetStore& fs = b.s.facets;
    ASSERT_EQ(fs.entries(), 12);
    for (int pass = 0; pass < 2; ++pass) {
        const bool projection = pass == 1;
        for (int i = 0; i < fs.entries(); ++i) dirty(fs.pFac(i), i);
        ASSERT_EQ(projection ? fs.SimulationInitialiseProjection() : fs.SimulationInitialise(), 0);
        for (int i = 0; i < fs.entries(); ++i) {
            const CKpFacet* f = fs.pFac(i);
            const int direction = projection ? (i % 4 == 1 ? -1 : i % 4 == 3 ? 1 : 0) : 0;
            EXPECT_EQ(f->getFacetDirection(), direction) << pass << " " << i;
            EXPECT_EQ(bits(f->getwpang()), bits(-1000.0)) << pass << " " << i;
            EXPECT_EQ(bits(f->getwtang()), bits(-1000.0)) << pass << " " << i;
            EXPECT_EQ(bits(f->getstrn()), bits(0.0)) << pass << " " << i;
            EXPECT_EQ(f->getNrpat(), 0) << pass << " " << i;
        }
    }
}
