#ifndef PLYSTRAND_LAYUPLIB_CKPBDY_H
#define PLYSTRAND_LAYUPLIB_CKPBDY_H

class CKpFlatPatPtBdyStore;

// CKpBdy: one segment of a boundary ring on the faceted surface: a facet
// edge with the sense in which the ring runs along it. A ring is circular
// through `next` / `prev` and is referred to by any of its segments,
// normally the first one traced.
//
// Ownership: a segment owns its list of flat-pattern points; the segments
// of a ring belong to whoever holds the ring (DeleteBoundary frees them).
class CKpBdy {
  public:
    // Every field 0 or null.
    CKpBdy();

    // Deletes the flat-pattern point list (not the linked segments).
    ~CKpBdy();

    CKpBdy(const CKpBdy&) = delete;
    CKpBdy& operator=(const CKpBdy&) = delete;

    // Running number of the segment within its ring, from 1.
    int getSeq() const { return seq; }
    void setSeq(int s) { seq = s; }

    // Index of the facet in the facet store.
    int getFacet() const { return facet; }
    void setFacet(int f) { facet = f; }

    // Local edge of that facet, 0..2 (vertex e to vertex (e + 1) mod 3).
    int getEdge() const { return edge; }
    void setEdge(int e) { edge = e; }

    // +1 when the ring runs from vertex e to vertex (e + 1) mod 3, -1 when
    // it runs the other way.
    int getDirn() const { return dirn; }
    void setDirn(int d) { dirn = d; }

    // Ring links; null while not linked.
    CKpBdy* Prev() const { return prev; }
    CKpBdy* Next() const { return next; }
    void SetPrev(CKpBdy* segment) { prev = segment; }
    void SetNext(CKpBdy* segment) { next = segment; }

    // Start vertex of the segment: (edge + 1) mod 3 when the direction is
    // below 1, else the edge. End vertex: the edge when the direction is
    // below 1, else (edge + 1) mod 3.
    int vx0() const { return dirn < 1 ? (edge + 1) % 3 : edge; }
    int vx1() const { return dirn < 1 ? edge : (edge + 1) % 3; }

    // The flat-pattern points found on this segment, created empty on first
    // call (null only when memory runs out); owned by the segment.
    CKpFlatPatPtBdyStore* pFlatPatPts();

  private:
    int seq;
    int facet;
    int edge;
    int dirn;
    CKpBdy* prev;
    CKpBdy* next;
    CKpFlatPatPtBdyStore* flatPatPts;
};

// Deletes every segment of the ring `ring` (following `next` until it comes
// back to the first segment or ends) with their point lists, and sets the
// caller's pointer to null. A null ring is allowed. 0.
int DeleteBoundary(CKpBdy*& ring);

// Deletes every ring of the hole array `holes` (`count` rings, an array from
// malloc), frees the array, sets the pointer to null and the count to 0. 0.
int DeleteIntrBys(CKpBdy**& holes, int& count);

#endif  // PLYSTRAND_LAYUPLIB_CKPBDY_H
