#ifndef PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H

#include <vector>

#include "layuplib/CKpFacet.h"
#include "layuplib/CKpLargeAllocator.h"
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
    // facets written). The facets' walk marks (painted flag and drape
    // direction flag, CKpFacetStore::ReinitPntd) are cleared first. Every
    // facet whose subdomain number (CKpFacet::getSbdmn) is still 0 then
    // opens, in facet-index order, subdomain k = 1, 2, ...: the region walk
    // of the boundary code (CalcAllBoundary, direction +1) collects the
    // facets reached from it, which get number k and their direction flag
    // (getSbdmndnfg) relative to the opening facet (+1 for it; a facet
    // reached across an edge of the same sense, code 0..2, gets the
    // opposite of its neighbour's). Their painted flags are cleared again;
    // their drape direction flags keep the walk's values. Each region is
    // inserted as CKpSbdmn(k, facet count, area); subdomains already in the
    // store stay. Finally reports as WriteMsg.
    // Returns 0; -1 for a null facet store, when the walk fails (its
    // messages), or with the error "Could not allocate memory." (numbers
    // given so far stay).
    int Create(CKpMsg* msg, CKpFacetStore* facets);

    // Create for a caller that passes over every facet next and writes the
    // numbering there rather than in a pass of its own. Only a successful
    // Create of fewer than 2^29 facets defers: then each facet's drape
    // direction flag, subdomain number and subdomain direction flag are
    // left unwritten and numbers[i] holds, per facet index i, k or -k for a
    // facet reached by subdomain k with direction flag +1 or -1, or 0 for a
    // facet Create leaves as it is; the caller hands each facet its value
    // through WriteNumber before anything reads those fields. Otherwise the
    // facets are written as Create writes them and `numbers` is left empty.
    // `numbers` must not be null.
    int Create(CKpMsg* msg, CKpFacetStore* facets, std::vector<int, CKpLargeAllocator<int>>* numbers);

    // Writes a deferred number (see above) into `facet` (not null): for k
    // or -k its drape direction flag and subdomain direction flag +1 or -1
    // and subdomain number k; nothing for 0.
    static void WriteNumber(CKpFacet* facet, int number) {
        if (number == 0) return;
        const int dirn = number > 0 ? 1 : -1;
        facet->setFacetDirection(dirn);
        facet->setSbdmn(number > 0 ? number : -number);
        facet->setSbdmndnfg(dirn);
    }

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

  private:
    // Create for facet counts too large for the compact walk: the boundary
    // code's walk on the facets' own painted flags, the same numbering.
    int createPlain(CKpMsg* msg, CKpFacetStore* facets);
    // Create, with `numbers` (may be null) as above.
    int create(CKpMsg* msg, CKpFacetStore* facets, std::vector<int, CKpLargeAllocator<int>>* numbers);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSBDMNSTORE_H
