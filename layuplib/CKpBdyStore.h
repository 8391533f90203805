#ifndef PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/CVekObject.h"

// CKpBdyStore: one connected region of the faceted surface: the closed
// rings of facet edges that bound it (one outer ring and any number of hole
// rings) and the ids of the elements along its boundary and of those it
// encloses. The model keeps one (id 0) for the region of the current ply
// simulation; the selection keeps one per connected group (ids 1, 2, ...).
// Rings count as the outer ring first, then holes 1..hole count.
//
// Ownership: the store owns its rings with their segments and point lists.
class CKpBdyStore : public CVekObject {
  public:
    // Store `id`: start facet -1, option 0, no rings, both id sets empty.
    explicit CKpBdyStore(int id);

    // Does what reinit does.
    ~CKpBdyStore() override;

    CKpBdyStore(const CKpBdyStore&) = delete;
    CKpBdyStore& operator=(const CKpBdyStore&) = delete;

    // Index of the facet from which the region was traced; -1 until set.
    int GetStartFacet() const { return m_startFacet; }
    // The option handed to the boundary calculation; 0 until set.
    int GetOption() const { return m_option; }

    // Number of rings: 0 without an outer ring, else hole count + 1.
    int GetNumBdys() const { return m_outer ? m_numHoles + 1 : 0; }

    // Ring i: 0 the outer ring, i >= 1 hole i; null when i is not in
    // 0..GetNumBdys()-1.
    CKpBdy* GetBdy(int i) const;

    // Hole ring i counted from 0; null outside 0..hole count-1.
    CKpBdy* pIntrBdy(int i) const;

    // Replaces the outer ring by `ring` (null: none); the old ring is
    // deleted unless it is `ring` itself. The store owns `ring` from then on.
    void SetBdy(CKpBdy* ring);

    // Appends `ring` to the holes after those already held; the store owns
    // it from then on. 0 (also for a null ring, which is not added); -1 when
    // the hole array cannot grow (the caller keeps the ring).
    int AddIntrBdy(CKpBdy* ring);

    // Sizes of the boundary and the interior element id sets.
    int GetNumElements() const { return m_elemIds.entries(); }
    int GetNumInteriorElements() const { return m_interiorIds.entries(); }

    // Add an id to the boundary or the interior id set unless it is there.
    void AddElementId(int id) { m_elemIds.findOrCreate(id); }
    void AddInteriorElementId(int id) { m_interiorIds.findOrCreate(id); }

    // Deletes the outer ring and every hole ring (with their segments and
    // point lists), sets the hole count to 0 and empties both id sets. The
    // start facet and the option keep their values.
    void reinit();

  private:
    int m_startFacet;
    int m_option;
    CKpBdy* m_outer;
    int m_numHoles;
    CKpBdy** m_holes;
    CKpIdStore m_elemIds;
    CKpIdStore m_interiorIds;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPBDYSTORE_H
