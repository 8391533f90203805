#ifndef PLYSTRAND_TESTS_SUPPORT_FACETLOCATE_H
#define PLYSTRAND_TESTS_SUPPORT_FACETLOCATE_H

#include <cmath>

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"

// The first facet of `facets` that holds p: p within 1e-9 of its plane and
// on the inner side of its three edges (edges and vertices included); -1
// when none does.
inline int FacetAt(const CKpFacetStore& facets, const CKpPoint& p) {
    for (int i = 0; i < facets.entries(); ++i) {
        const CKpFacet* f = facets.pFac(i);
        CKpDirn n, v;
        f->GetNormal(&n);
        v.set2pts(f->getCKpPoint(0), &p);
        bool inside = std::fabs(v.DotProduct(&n)) < 1e-9;
        for (int k = 0; k < 3 && inside; ++k) {
            CKpDirn c;
            c.Set3Points(f->getCKpPoint(k), f->getCKpPoint((k + 1) % 3), &p);
            inside = c.DotProduct(&n) >= -1e-12;
        }
        if (inside) return i;
    }
    return -1;
}

#endif  // PLYSTRAND_TESTS_SUPPORT_FACETLOCATE_H
