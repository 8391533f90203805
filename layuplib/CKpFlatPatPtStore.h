#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H

class CKpFlatPatPt;

// CKpFlatPatPtStore: the points of one flat pattern, a chain linked through
// the points' next field from the head. Owns every point of the chain.
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

    // Deletes every point of the chain; the chain is empty.
    void eraseAllObjects();

  private:
    CKpFlatPatPt* head;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPATPTSTORE_H
