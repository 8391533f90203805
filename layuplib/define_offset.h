#ifndef PLYSTRAND_LAYUPLIB_DEFINE_OFFSET_H
#define PLYSTRAND_LAYUPLIB_DEFINE_OFFSET_H

class CKpElemStore;
class CKpFacetStore;
class CKpMsg;

// Writes an offset into every element of the connected facet region around
// `startFacet` on the selected surface. The region is traced by
// CalcAllBoundary (facets, clear marks, startFacet, dirn), which marks the
// facets it reaches (Pntd > 0); its boundary ring is freed. For each element
// with a marked facet, the facet direction of its last marked facet
// (CKpFacetStore::FacetDirection) decides the sign: below 1 the element gets
// off_fg = -flag and off_val = -value, otherwise flag and value.
// `value` is a length (model units), `flag` the element offset flag,
// `dirn` the side flag (+1/-1) of the start facet.
// 0; -1 after "Cannot create boundary." (severity 4) when the region cannot
// be traced, or for a null element or facet store. `msg` may be null.
int define_offset(CKpMsg* msg, CKpElemStore* elems, CKpFacetStore* facets, double value, int flag,
                  int startFacet, int dirn);

#endif  // PLYSTRAND_LAYUPLIB_DEFINE_OFFSET_H
