#ifndef PLYSTRAND_LAYUPLIB_CKPOLN_H
#define PLYSTRAND_LAYUPLIB_CKPOLN_H

// CKpOln: one entry of the outline of a drape grid, the closed walk around
// the joined grid points. Entries form a circular doubly linked ring owned
// by whoever asked for it. Directions are 0..7 anticlockwise in grid steps.
class CKpOln {
  public:
    // Entry `number` (1-based position in the walk) at grid point (u, v),
    // arriving from direction `arriving`, leaving in direction `leaving`,
    // linked to nothing.
    CKpOln(int num, int gridU, int gridV, int arrivingDir, int leavingDir)
        : number(num),
          u(gridU),
          v(gridV),
          arriving(arrivingDir),
          leaving(leavingDir),
          prev(nullptr),
          next(nullptr) {}

    int getNumber() const { return number; }
    int getU() const { return u; }
    int getV() const { return v; }
    int getArriving() const { return arriving; }
    int getLeaving() const { return leaving; }

    // Ring links; null while not linked.
    CKpOln* Prev() const { return prev; }
    CKpOln* Next() const { return next; }
    void SetPrev(CKpOln* entry) { prev = entry; }
    void SetNext(CKpOln* entry) { next = entry; }

  private:
    int number;
    int u;
    int v;
    int arriving;
    int leaving;
    CKpOln* prev;
    CKpOln* next;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOLN_H
