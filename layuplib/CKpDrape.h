#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPE_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPE_H

class CKpDrapePt;
class CKpDrapeSim;

// CKpDrape: the drape grid, a sparse window of pointers to drape points
// indexed by signed warp and weft step counts (u, v) around the start point
// (0, 0). The window covers u in smin..smax and v in tmin..tmax (initially
// -100..100 both, 201 x 201 cells) and only grows; the used range
// minu..maxu, minv..maxv is the smallest box holding (0, 0) and every index
// ever stored into. The grid owns its points.
class CKpDrape {
  public:
    // An empty grid with the initial window, every cell null, used range and
    // count 0, no owner. When the cell array cannot be allocated all ranges
    // are 0 and the grid holds no cells.
    CKpDrape();

    // Runs reinit and frees the cell array.
    ~CKpDrape();

    CKpDrape(const CKpDrape&) = delete;
    CKpDrape& operator=(const CKpDrape&) = delete;

    // The workspace holding the grid; null until the workspace sets it.
    CKpDrapeSim* GetDrapeSim() const { return owner; }
    void SetDrapeSim(CKpDrapeSim* sim) { owner = sim; }

    // The point at (u, v); null when (u, v) lies outside the used range or
    // the cell is empty.
    CKpDrapePt* pDrapePt(int u, int v) const;

    // Stores `point` (or null, which clears the cell without deleting its
    // point) at (u, v). A window that does not hold (u, v) is first widened
    // on the exceeded sides to 20 beyond the index; when that allocation
    // fails, or when u or v lies beyond +-1,000,000, nothing is stored
    // (and the caller keeps the point). The used range grows to include (u, v). A
    // stored point is owned by the grid and gets id = the new count and its
    // grid pointer.
    void pDrapePt(int u, int v, CKpDrapePt* point);

    // The used range.
    void GetBounds(int& umin, int& umax, int& vmin, int& vmax) const;

    // Number of points stored since the last reinit (the last id given).
    int GetCount() const { return count; }

    // Deletes every point of the used range, empties those cells and sets
    // the used range and the count to 0; the window stays as widened.
    void reinit();

  private:
    // Cell index of (u, v); the caller checks the window.
    long cellIndex(int u, int v) const {
        return static_cast<long>(v - tmin) * (smax - smin + 1) + (u - smin);
    }
    bool inWindow(int u, int v) const {
        return cells && u >= smin && u <= smax && v >= tmin && v <= tmax;
    }
    bool inUsed(int u, int v) const { return u >= minu && u <= maxu && v >= minv && v <= maxv; }

    CKpDrapeSim* owner;
    CKpDrapePt** cells;
    int smin, smax;
    int tmin, tmax;
    int minu, maxu, minv, maxv;
    int count;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPE_H
