#ifndef PLYSTRAND_LAYUPLIB_BDY_RING_H
#define PLYSTRAND_LAYUPLIB_BDY_RING_H

// The region walk of the boundary code (CalcBoundary.h) written once over a
// "surface": what the walk reads of the facets and the mark it leaves on
// them. The boundary code walks the facets themselves; the subdomain
// numbering walks compact per-facet copies of the same links, so a step
// reads a few bytes instead of a facet far away in memory. Both get the
// same rings, the same order of painting and the same messages.
//
// A Surface provides (all called on the walk's hot path, keep them inline):
//   int entries() const;
//       number of facet indices (bounds the passes of GrowRing);
//   int neighbour(int facet, int edge, int* code) const;
//       the neighbour across `edge` (any int) of facet `facet` (any int)
//       when the edge joins the surface (neighbour and code both set, code
//       0..5: shared edge code % 3, code >= 3 running the other way), with
//       the code in *code; -1 otherwise, also for a missing facet or an
//       edge outside 0..2 (*code not written);
//   bool painted(int facet) const;
//       whether the walk may not grow into `facet` (painted already, or
//       missing);
//   int paint(int facet, int dirn);
//       marks `facet` as the walk's with direction flag `dirn` (+1/-1);
//       0, or -1 after its own message when it cannot (nothing marked).

#include <new>

#include "layuplib/CKpBdy.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CalcBoundary.h"

namespace bdy_ring {

// A new unlinked segment on `edge` of `facet` with direction flag `dirn`;
// null when memory runs out.
inline CKpBdy* NewSegment(int facet, int edge, int dirn) {
    CKpBdy* seg = new (std::nothrow) CKpBdy();
    if (seg) {
        seg->setFacet(facet);
        seg->setEdge(edge);
        seg->setDirn(dirn);
    }
    return seg;
}

// Removes `k` (1..3) segments in ring order from `first`. When they make
// up the whole ring it vanishes (ring and current null). Otherwise the head
// moves past them if it was among them, and `current` becomes `stay` when
// given, else the segment after them (sense +1) or before them (sense -1).
inline void RemoveBlock(CKpBdy*& ring, CKpBdy*& current, CKpBdy* first, int k, int sense,
                        CKpBdy* stay) {
    CKpBdy* block[3] = {nullptr, nullptr, nullptr};
    int n = 0;
    bool whole = false;
    for (CKpBdy* seg = first; n < k; seg = seg->Next()) {
        if (n > 0 && seg == first) {
            whole = true;
            break;
        }
        block[n++] = seg;
    }
    if (!whole) whole = block[n - 1]->Next() == first;
    if (whole) {
        for (int i = 0; i < n; ++i) delete block[i];
        ring = nullptr;
        current = nullptr;
        return;
    }
    CKpBdy* before = first->Prev();
    CKpBdy* after = block[n - 1]->Next();
    before->SetNext(after);
    after->SetPrev(before);
    for (int i = 0; i < n; ++i) {
        if (block[i] == ring) ring = after;
        delete block[i];
    }
    current = stay ? stay : (sense >= 0 ? after : before);
}

// Deletes whatever is reachable from `ring` along next links, each segment
// once, whether or not the links close (the safe way out with a ring whose
// links disagree); `ring` becomes null.
void DeleteReachable(CKpBdy*& ring);

// Number of segments of a ring already verified by UpdateBoundary; 0 for
// a null ring.
int RingSize(const CKpBdy* ring);

// "Could not allocate memory." as an error when `msg` is given.
void OutOfMemory(CKpMsg* msg);

// Whether `edge` of facet `g` is the other side of segment `seg` (null:
// no).
template <class Surface>
inline bool Borders(const Surface& surface, int g, int edge, const CKpBdy* seg) {
    int code = -1;
    return seg && surface.neighbour(g, edge, &code) == seg->getFacet() &&
           code % 3 == seg->getEdge();
}

// One growth step at segment `current` of the ring headed by `ring`, as
// CalcBoundaryEdge describes it (same statuses, messages and positions).
template <class Surface>
int GrowRingEdge(CKpMsg* msg, Surface& surface, CKpBdy*& ring, CKpBdy*& current, int sense) {
    if (!ring || !current) return 0;
    CKpBdy* s = current;
    CKpBdy* p = s->Prev();
    CKpBdy* n = s->Next();
    if (!p || !n) return 0;

    // A missing facet or a bad edge reads as an unlinked edge: no split,
    // no growth.
    int code = -1;
    const int g = surface.neighbour(s->getFacet(), s->getEdge(), &code);
    const int shared = g >= 0 ? code % 3 : -1;

    // 1. Phantom splits: S and a neighbouring segment are the two sides of
    // one edge, so neither bounds anything.
    const bool splitNext = g >= 0 && n != s && n->getFacet() == g && n->getEdge() == shared;
    const bool splitPrev =
        !splitNext && g >= 0 && p != s && p->getFacet() == g && p->getEdge() == shared;
    if (splitNext || splitPrev) {
        CKpBdy* first = splitNext ? s : p;
        if (first->Next()->Next() == first) {
            if (msg) msg->Create(2, "Phantom interior boundary deleted.");
        } else if (msg) {
            msg->Create(1, splitNext ? "Phantom split exists next." : "Phantom split exists prev.");
        }
        RemoveBlock(ring, current, first, 2, sense, nullptr);
        return 1;
    }

    // 2. Growth across S's edge into an unpainted neighbour G.
    if (g < 0 || surface.painted(g)) return 0;
    const int d = s->getDirn() >= 1 ? 1 : -1;
    const int dg = code >= 3 ? d : -d;
    const int a = dg >= 1 ? (shared + 1) % 3 : (shared + 2) % 3;
    const int b = dg >= 1 ? (shared + 2) % 3 : (shared + 1) % 3;

    // The new segment is made before anything changes, so that running out
    // of memory leaves the ring and the marks as they were.
    const bool bN = Borders(surface, g, b, n);
    const bool aP = Borders(surface, g, a, p);
    CKpBdy* added = nullptr;
    if (!bN && !aP) {
        added = NewSegment(g, sense >= 0 ? a : b, dg);
        if (!added) {
            OutOfMemory(msg);
            return -1;
        }
    }
    if (surface.paint(g, dg) != 0) {
        delete added;
        return -1;
    }

    // 3. Mend the ring so that it runs around G instead of across it.
    if (bN && aP) {
        // G fills a notch: P, S and N all lie on G.
        RemoveBlock(ring, current, p, 3, sense, nullptr);
    } else if (bN) {
        if (Borders(surface, g, a, n->Next())) {
            RemoveBlock(ring, current, s, 3, sense, nullptr);
        } else {
            s->setFacet(g);
            s->setEdge(a);
            s->setDirn(dg);
            RemoveBlock(ring, current, n, 1, sense, s);
        }
    } else if (aP) {
        if (Borders(surface, g, b, p->Prev())) {
            RemoveBlock(ring, current, p->Prev(), 3, sense, nullptr);
        } else {
            s->setFacet(g);
            s->setEdge(b);
            s->setDirn(dg);
            RemoveBlock(ring, current, p, 1, sense, s);
        }
    } else {
        // ...P, (G, a), (G, b), N...: the new segment goes behind the walk.
        s->setFacet(g);
        s->setEdge(sense >= 0 ? b : a);
        s->setDirn(dg);
        if (sense >= 0) {
            added->SetPrev(p);
            added->SetNext(s);
            p->SetNext(added);
            s->SetPrev(added);
        } else {
            added->SetPrev(s);
            added->SetNext(n);
            s->SetNext(added);
            n->SetPrev(added);
        }
    }
    return 1;
}

// Growth passes (sense +1) around the ring from its head until one changes
// nothing, as CalcBoundaryAdvance describes them; *changes (when given)
// receives the total number of changes. 0; -1 on failure.
template <class Surface>
int GrowRing(CKpMsg* msg, Surface& surface, CKpBdy*& ring, int* changes) {
    if (changes) *changes = 0;
    if (!ring) return 0;
    if (UpdateBoundary(msg, ring) != 0) return -1;

    int total = 0;
    for (;;) {
        // A pass moves forward at most twice round the ring (once more when
        // the head is replaced) and changes it at most once per facet grown
        // plus once per phantom pair; beyond that the links are corrupt.
        const long cap = 2L * RingSize(ring) + 4L * surface.entries() + 16;
        long steps = 0;
        int passChanges = 0;
        CKpBdy* current = ring;
        while (ring && current) {
            if (++steps > cap) {
                if (msg)
                    msg->Create(4, "Incorrect boundary pointers for byid %d", current->getSeq());
                if (changes) *changes = total + passChanges;
                return -1;
            }
            const int r = GrowRingEdge(msg, surface, ring, current, 1);
            if (r < 0) {
                if (changes) *changes = total + passChanges;
                return -1;
            }
            if (r > 0) {
                passChanges += r;  // the same position is stepped again
                continue;
            }
            current = current->Next();
            if (current == ring) break;
        }
        total += passChanges;
        if (changes) *changes = total;
        if (!ring) return 0;
        if (UpdateBoundary(msg, ring) != 0) return -1;
        if (passChanges == 0) return 0;
    }
}

// The walk from `start` (which exists and may be painted): its three edges
// anticlockwise about its normal taken with `direction` (-1 for a negative
// value, else +1) make the first ring, the start is painted, then GrowRing.
// 0 with the ring in `ring` (null when the region closed on itself); -1 on
// failure (nothing painted when the first ring cannot be made; the ring is
// deleted and `ring` null).
template <class Surface>
int GrowRegion(CKpMsg* msg, Surface& surface, int start, int direction, CKpBdy*& ring) {
    ring = nullptr;
    const int d = direction < 0 ? -1 : 1;
    CKpBdy* segs[3] = {nullptr, nullptr, nullptr};
    for (int k = 0; k < 3; ++k) {
        segs[k] = NewSegment(start, (k * d + 3) % 3, d);
        if (!segs[k]) {
            for (CKpBdy* s : segs) delete s;
            OutOfMemory(msg);
            return -1;
        }
    }
    for (int k = 0; k < 3; ++k) {
        segs[k]->setSeq(k + 1);
        segs[k]->SetNext(segs[(k + 1) % 3]);
        segs[k]->SetPrev(segs[(k + 2) % 3]);
    }
    ring = segs[0];
    if (surface.paint(start, d) != 0 || GrowRing(msg, surface, ring, nullptr) != 0) {
        DeleteReachable(ring);
        return -1;
    }
    return 0;
}

}  // namespace bdy_ring

#endif  // PLYSTRAND_LAYUPLIB_BDY_RING_H
