#ifndef PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H

class CKpFacet;
class CKpLayup;

// CKpFacetStore: the faceted surface of the model, the triangles every ply
// simulation, ray query and boundary search runs on. Facet i has id i and
// sits at position i of one pointer array; neighbour links are indices into
// that array, so the array can be rebuilt without touching them.
//
// Ownership: the store owns the array (from malloc/calloc, see
// alloc_pfacet) and every facet in it, together with the facets' neigha /
// nedgea partner arrays. It holds the model by pointer without owning it.
class CKpFacetStore {
  public:
    // An empty surface of the model `layup` (may be null; see SetLayup).
    explicit CKpFacetStore(CKpLayup* layup = nullptr);

    // Runs reinit.
    ~CKpFacetStore();

    CKpFacetStore(const CKpFacetStore&) = delete;
    CKpFacetStore& operator=(const CKpFacetStore&) = delete;

    // The owning model; null when none was given.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Number of facets (slots of the array).
    int entries() const { return m_count; }

    // The facet pointer array (entries() slots); null when empty. Valid
    // until the next setFacets or reinit.
    CKpFacet** ppFac() const { return m_ppFac; }

    // Replaces the surface by `array` of `count` slots: the old facets and
    // array are released first (as reinit). The store takes ownership of the
    // array, which must come from alloc_pfacet (or malloc/calloc), and of
    // every facet later put into it. A null array or a count below 1 leaves
    // the store empty (a non-null array is then freed).
    void setFacets(CKpFacet** array, int count);

    // Facet i; null when i is outside 0..entries()-1 or the slot is empty.
    CKpFacet* pFac(int i) const;

    // Puts `facet` (may be null) into slot i, taking ownership of it; a
    // facet already in the slot is left to the caller. 0; -1 when i is
    // outside 0..entries()-1 (nothing stored, the caller keeps the facet).
    int pFac(int i, CKpFacet* facet);

    // Whether i is a valid facet index (0..entries()-1).
    bool iOK(int i) const { return i >= 0 && i < m_count; }

    // The id of facet i's element; -1 when the index, the facet or its
    // element is missing.
    int GetElemId(int i) const;

    // Empties the surface: deletes every facet after freeing its neigha and
    // nedgea arrays, frees the array; the count becomes 0. The model link
    // stays.
    void reinit();

  private:
    CKpLayup* m_layup;
    int m_count;
    CKpFacet** m_ppFac;
};

// A zeroed array of n facet pointers from calloc, for
// CKpFacetStore::setFacets; null when n is below 1 or memory runs out.
CKpFacet** alloc_pfacet(int n);

#endif  // PLYSTRAND_LAYUPLIB_CKPFACETSTORE_H
