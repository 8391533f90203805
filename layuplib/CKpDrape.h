#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPE_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPE_H

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

class CKpDrapePt;
class CKpDrapeSim;
class CKpMat;
class CKpOln;

// Grid direction codes 0..7 (anticlockwise in steps of 45 degrees, (du, dv)
// = 0 (1,0), 1 (1,1), 2 (0,1), 3 (-1,1), 4 (-1,0), 5 (-1,-1), 6 (0,-1),
// 7 (1,-1)) against the direction indices of the drape point's fields
// (0 +u, 1 +v, 2 -u, 3 -v).

// The direction index of code 0, 2, 4, 6 (0, 1, 2, 3); -1 for any other
// code.
int dn_0_7_dn03(int code);

// (du, dv) of code 0 and 8 (1, 0), 2 (0, 1), 4 (-1, 0), 6 (0, -1); any
// other code leaves both outputs untouched. 0.
int dn_0_7_uv(int code, int& du, int& dv);

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
    // on the exceeded sides to 20 beyond the index (smin = u - 20 when
    // u < smin, and so on). The used range grows to include (u, v). A
    // stored point is owned by the grid and gets id = the new count and its
    // grid pointer. A point already in the cell is overwritten, not freed:
    // callers store into empty cells, and a point is stored in one cell
    // only. 0 stored; -1 with nothing stored (the caller keeps the point)
    // when the wider window cannot be allocated or u or v lies beyond
    // +-1,000,000.
    int pDrapePt(int u, int v, CKpDrapePt* point);

    // Number of cells of the wider window that pDrapePt (u, v, point)
    // allocates for (u, v), also for indices beyond its reach; 0 when the
    // present window holds (u, v). Lets a caller weigh a far index before
    // the grid allocates for it.
    long long WidenedCells(int u, int v) const;

    // The used range.
    void GetBounds(int& umin, int& umax, int& vmin, int& vmax) const;
    int GetMinV() const { return minv; }
    int GetMaxV() const { return maxv; }

    // Number of points stored since the last reinit (the last id given).
    int GetCount() const { return count; }

    // ---- Rings around the start point ----
    // Ring k holds the indices with max(|u|, |v|) = k.

    // The largest ring in use: max(-minu, maxu, -minv, maxv).
    int GetNumSteps() const;
    // Number of indices of ring k: 0 for k < 0, 1 for k = 0, else 8k.
    static int GetStepNumPoints(int k);
    // The i-th index of ring k, walked anticlockwise from (-k, -k): with
    // side = i / 2k and r = i - 2k side: side 0 (r - k, -k), 1 (k, r - k),
    // 2 (k - r, k), 3 (-k, k - r); ring 0 is (0, 0). 0; -1 (outputs not
    // written) when k < 0, i < 0 or i >= GetStepNumPoints (k).
    static int GetStepPointUV(int k, int i, int& u, int& v);

    // ---- Joins ----

    // Marks the 4-neighbours (ua, va) and (ub, vb) as joined: for ub = ua + 1
    // (same v) joined[+u] of the first and joined[-u] of the second, for
    // ub = ua - 1 the reverse, and likewise with +v / -v for vb = va +- 1
    // (same u). 0; -1 with nothing changed when either point is missing or
    // the two are not 4-neighbours.
    int Join(int ua, int va, int ub, int vb);

    // For diagonal neighbours P1 = (ua, va) and P2 = (ub, vb): the two cells
    // that complete the square, i = 0 and 1, each as (e[i], f[i]) with its
    // warp neighbour (a[i], b[i]) (same v) and its weft neighbour (c[i],
    // d[i]) (same u). P2 = P1 +- (1, 1): first (ub, va) with warp
    // neighbour P1 and weft neighbour P2, then (ua, vb) with warp neighbour
    // P2 and weft neighbour P1. P2 = P1 + (1, -1) or P1 + (-1, 1): first
    // (ua, vb) with warp neighbour P2 and weft neighbour P1, then (ub, va)
    // with warp neighbour P1 and weft neighbour P2. 0; -1 (outputs not
    // written) for any other pair.
    static int GetBiasJoinPoints(int ua, int va, int ub, int vb, int a[2], int b[2], int c[2],
                                 int d[2], int e[2], int f[2]);

    // The first existing point, scanning u upwards from minu and within
    // each u, v upwards from minv. 0; -1 (outputs not written) for an empty
    // grid.
    int GetFirstOl(int& u, int& v) const;

    // ---- Statistics (over the existing points) ----

    // Strain of the point at the outline entry's (u, v); 0.0 for a null
    // entry or no point there.
    double GetStrnOln(const CKpOln* entry) const;

    // Sets the thickness of every point whose thickness is 0.0 to
    // calculate_thickness (material, strain).
    void CalculateThickness(const CKpMat* material);

    // Smallest and largest thickness and strain; a minimum starts at 1e12
    // and a maximum at -1e12, which is what an empty grid gives.
    double GetMinimumThickness() const;
    double GetMaximumThickness() const;
    double GetMinimumStrain() const;
    double GetMaximumStrain() const;
    // Largest absolute strain; -1e12 for an empty grid.
    double GetMaximumAbsoluteStrain() const;

    // Deletes every point of the used range, empties those cells and sets
    // the used range and the count to 0; the window stays as widened. Also
    // empties the memo of open cells (ClearOpenCells).
    void reinit();

    // ---- Memo of open cells ----
    // pattern_2pts keeps here, for a cell it solved without making the
    // point, every input of that call as `n` 64-bit words (bit patterns of
    // its doubles, its integers; the layout is the caller's). A later call
    // that finds the same words answers "not made" without solving again.
    // `key` names the cell with its neighbour pair. The fibre traces behind
    // a result also depend on the facet selection, which the words do not
    // hold: callers empty the memo whenever the selection may have changed
    // (reinit does too). Nothing here throws.

    // 1 when `key` is held with exactly the n words at `inputs` (compared
    // bit for bit); 0 otherwise (also for a null `inputs`).
    int SameOpenCell(std::uint64_t key, const std::uint64_t* inputs, std::size_t n) const;

    // Holds the n words at `inputs` (copied) for `key`, replacing what was
    // held. When memory runs out nothing is held for `key`: the memo only
    // saves work, so losing an entry costs a repeated solve, never a result.
    void KeepOpenCell(std::uint64_t key, const std::uint64_t* inputs, std::size_t n);

    // Forgets every held cell.
    void ClearOpenCells();

  private:
    // Folds pick (best, point) over the existing points, from `start`.
    template <typename Pick>
    double scanPoints(double start, Pick pick) const;

    // Cell index of (u, v); the caller checks the window.
    long cellIndex(int u, int v) const {
        return static_cast<long>(v - tmin) * (smax - smin + 1) + (u - smin);
    }
    bool inWindow(int u, int v) const {
        return cells && u >= smin && u <= smax && v >= tmin && v <= tmax;
    }
    // The window {smin, smax, tmin, tmax} that pDrapePt widens to for
    // (u, v) outside the present one.
    void windowFor(int u, int v, long long window[4]) const;
    bool inUsed(int u, int v) const { return u >= minu && u <= maxu && v >= minv && v <= maxv; }

    CKpDrapeSim* owner;
    CKpDrapePt** cells;
    int smin, smax;
    int tmin, tmax;
    int minu, maxu, minv, maxv;
    int count;
    std::unordered_map<std::uint64_t, std::vector<std::uint64_t>> openCells;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPE_H
