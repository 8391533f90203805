#ifndef PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H

#include "layuplib/CKpSbdmn.h"
#include "layuplib/CVekObjectStore.h"

class CKpFacetStore;
class CKpMsg;

// CKpSbdmnStore: the subdomains of the faceted surface by number (capacity
// 64). A subdomain is a set of facets connected through their neighbour
// links (a free, divided or branch edge is not crossed). The store owns its
// subdomains; the destructor deletes them.
class CKpSbdmnStore : public CVekObjectStore<CKpSbdmn> {
  public:
    CKpSbdmnStore();
    ~CKpSbdmnStore() override;

    CKpSbdmnStore(const CKpSbdmnStore&) = delete;
    CKpSbdmnStore& operator=(const CKpSbdmnStore&) = delete;

    // Numbers the connected regions of the surface `facets` (read, and its
    // facets written). Every facet whose subdomain number (CKpFacet::
    // getSbdmn) is still 0 opens, in facet-index order, subdomain k = 1,
    // 2, ...: the facets reached from it get number k and a direction flag
    // (getSbdmndnfg) relative to it: +1 for the opening facet; across an
    // edge of opposite sense (code 3..5) a facet keeps its neighbour's flag,
    // across one of the same sense (code 0..2) it gets the opposite. A
    // facet reached from there is renumbered even when it had a number (a
    // second Create on a numbered surface therefore changes nothing). Each
    // region is inserted as CKpSbdmn(k, facet count, area); subdomains
    // already in the store stay. The facets' painted flags (the walk marks)
    // are 0 afterwards and their drape direction flags (FacetDirection)
    // hold the direction found. Finally reports as WriteMsg.
    // Empty facet slots are skipped. Returns 0; -1 for a null facet store,
    // with the error "Facet <f> edge <e> links to facet <g>, which does not
    // exist." for a link into an empty slot or outside the surface, or with
    // the error "Could not allocate memory." (numbers given so far stay).
    int Create(CKpMsg* msg, CKpFacetStore* facets);

    // Empties the store, then for every facet whose element is selected
    // adds the facet (count 1, its area) to the subdomain of the facet's
    // subdomain number, creating the subdomain when absent; then reports as
    // WriteMsg. 0; -1 for a null facet store, or with the error "Could not
    // allocate memory.".
    int GetSelected(CKpMsg* msg, CKpFacetStore* facets);

    // The area of subdomain `id`; 0.0 when there is none.
    double GetArea(int id);

    // Nothing for an empty store; otherwise the information "A total of <n>
    // subdomains were identified." and one line " subdomain <id> contains
    // <facets> facets of area <area>" per subdomain in id order ("%3d",
    // "%6d", "%g"). Nothing without `msg`.
    void WriteMsg(CKpMsg* msg);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H
