#include "layuplib/define_offset.h"

#include <gtest/gtest.h>

#include <string>

#include "layuplib/CKpElem.h"
#include "tests/support/SurfaceMeshes.h"

// Writing over a region is tested through CKpOff::Apply; here the refusals:
// no start facet or no stores, reported, with nothing written.
TEST(define_offset, RefusesWithoutARegion) {
    surfmesh::Faceted m("define_offset", surfmesh::Plate(surfmesh::Kind::Quad4, 1, 1, 1.0, 1.0));
    m.cap.reset();
    EXPECT_EQ(define_offset(&m.cap.log, &m.s.elems, &m.s.facets, 2.0, 1, 999, 1), -1);
    EXPECT_EQ(define_offset(&m.cap.log, &m.s.elems, nullptr, 2.0, 1, 0, 1), -1);
    EXPECT_EQ(define_offset(nullptr, nullptr, &m.s.facets, 2.0, 1, 0, 1), -1);
    EXPECT_NE(m.cap.body().find("Cannot create boundary."), std::string::npos);
    EXPECT_EQ(m.s.elems.find(1)->getoff_fg(), 0);
    EXPECT_EQ(m.s.elems.find(1)->getoff_val(), 0.0);
}
