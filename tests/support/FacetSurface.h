#ifndef PLYSTRAND_TESTS_SUPPORT_FACETSURFACE_H
#define PLYSTRAND_TESTS_SUPPORT_FACETSURFACE_H

#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpNodeStore.h"
#include "layuplib/make_facet.h"
#include "tests/support/SurfaceMeshes.h"

// Node, element and facet stores of one test mesh with its faceted surface
// (surfmesh::Load, then make_facet, which also finds the neighbours and
// subdomains). The stores delete what they hold.
struct FacetSurface {
    CKpNodeStore nodes;
    CKpElemStore elems;
    CKpFacetStore facets;

    // The facet count (0 when the surface could not be built).
    int Build(const meshgen::Mesh& mesh) {
        surfmesh::Load(mesh, nodes, elems);
        return make_facet(nullptr, &nodes, &elems, &facets) == 1 ? facets.entries() : 0;
    }

    FacetSurface() = default;
    ~FacetSurface() {
        facets.reinit();
        elems.eraseAllObjects();
        nodes.eraseAllObjects();
    }
    FacetSurface(const FacetSurface&) = delete;
    FacetSurface& operator=(const FacetSurface&) = delete;
};

#endif  // PLYSTRAND_TESTS_SUPPORT_FACETSURFACE_H
