#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H

class CKpFlatPatPt;

// CKpFlatPatPtStore: the points of one flat pattern, a chain linked through
// the points' next field (CKpFlatPatPt::getNext) from the head, in order
// around the pattern. Owns every point of the chain.
//
// Reading a pattern: for (p = First(); p; p = p->getNext()) gives each
// point's u = p->getU(), v = p->getV() (warp steps), its plot flag
// p->getPlot() (0 dropped by thinning, 1 or 2 in use) and its draped
// position p->GetPosition().
class CKpFlatPatPtStore {
  public:
    // An empty chain.
    CKpFlatPatPtStore() : head(nullptr) {}
    // Deletes every point.
    ~CKpFlatPatPtStore();

    CKpFlatPatPtStore(const CKpFlatPatPtStore&) = delete;
    CKpFlatPatPtStore& operator=(const CKpFlatPatPtStore&) = delete;

    // The first point; null when empty.
    CKpFlatPatPt* First() const { return head; }

    // Links `point` (not null, in no chain, its next null) into the chain
    // right after `after`, or as the new head when `after` is null; the
    // store owns it from then on. `after` must be a point of this chain.
    void InsertAfter(CKpFlatPatPt* after, CKpFlatPatPt* point);

    // Number of points of the chain.
    int GetNumPoints() const;

    // Number of points whose plot flag is set (not 0): the points in use.
    int GetNumPlotPoints() const;

    // The smallest and largest u and v over every point (warp steps). 0;
    // -1 for an empty chain (outputs not written).
    int GetBounds(double& umin, double& umax, double& vmin, double& vmax) const;

    // Deletes every point of the chain; the chain is empty.
    void eraseAllObjects();

  private:
    CKpFlatPatPt* head;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H
