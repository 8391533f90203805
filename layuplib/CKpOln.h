#ifndef PLYSTRAND_LAYUPLIB_CKPOLN_H
#define PLYSTRAND_LAYUPLIB_CKPOLN_H

class CKpDrape;
class CKpFacetStore;
class CKpMsg;

// CKpOln: one entry of the outline of a drape grid, the closed walk around
// the joined grid points, one entry per visit of a boundary grid point.
// Entries form a circular doubly linked ring owned by whoever asked for it
// (DeleteOutline, clear_pattern.h, frees it).
//
// Directions are the grid directions 0..7 anticlockwise in grid steps
// (du, dv): 0 (1,0), 1 (1,1), 2 (0,1), 3 (-1,1), 4 (-1,0), 5 (-1,-1),
// 6 (0,-1), 7 (1,-1) (calc_dudv); 0, 2, 4, 6 are the drape point's joined
// directions +u, +v, -u, -v. The arriving direction points from an entry
// back to the entry before it, the leaving direction to the entry after it.
// An entry whose arriving and leaving directions are equal is a spike tip
// (the walk goes out to the point and straight back); the turn
// dn_0_7(leaving - arriving) is 4 on a straight run.
class CKpOln {
  public:
    // Entry `num` (1-based position in the walk) at grid point (gridU,
    // gridV), arriving from direction `arrivingDir`, leaving in direction
    // `leavingDir`, linked to nothing.
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
    void SetNumber(int num) { number = num; }
    void SetUV(int gridU, int gridV) {
        u = gridU;
        v = gridV;
    }
    void SetArriving(int dir) { arriving = dir; }
    void SetLeaving(int dir) { leaving = dir; }

    // 1 when arriving and leaving are equal (a spike tip), else 0.
    int IsSpikeTip() const { return arriving == leaving ? 1 : 0; }

    // Ring links; null while not linked.
    CKpOln* Prev() const { return prev; }
    CKpOln* Next() const { return next; }
    void SetPrev(CKpOln* entry) { prev = entry; }
    void SetNext(CKpOln* entry) { next = entry; }

    // Short-cut from this entry A to entry B, a 4-neighbour of A in the
    // grid: B at (u, v + 1) is direction 2, (u, v - 1) 6, (u + 1, v) 0,
    // (u - 1, v) 4. Deletes the entries strictly between A and B along the
    // next links, links A to B, sets A's leaving direction to that direction
    // and B's arriving direction to its opposite. 0; -1 with nothing changed
    // when B is null, not a 4-neighbour, or not reached from A along the
    // ring. Pointers the caller holds to deleted entries dangle.
    int DeleteLoop(CKpOln* B);

    // Joins the drape points of entries A and B, grid neighbours across a
    // gap, along a fibre traced over the surface (CKpFacetStore::JoinPoints).
    // Same row (B at u +- 1): nominal length `wpStep`, starting angles the
    // mean warp angles of both points, turned by pi when B lies on A's -u
    // side; same column (v +- 1): `wtStep` and the mean weft angles, turned
    // by pi for B on A's -v side. The search adjusts both angles and gives
    // the path length L. With the deviation |nominal - L|: above half the
    // nominal length status 7, above `lenTol` status 8; then
    // A->DeleteLoop(B) (status 9 when it fails). Finally the adjusted angles
    // are stored on the sides of the two points that face each other (B on
    // A's +u side: A's +u warp angle = A's angle, B's -u warp angle = B's
    // angle; B on A's -u side: A's -u warp angle = pi + A's angle, B's +u
    // warp angle = pi + B's angle, wrapped; weft likewise), and the points
    // are joined (CKpDrape::Join). Status: 0 joined; 1 a missing facet
    // store, grid or entry; 2 a missing drape point; 3 same row but not
    // adjacent; 4 same column but not adjacent; 5 neither same row nor
    // column; 6 no surface path found (also when a point has no mean
    // angle to start from); 7, 8, 9 as above. `msg` may be null.
    static int JoinPoints(CKpMsg* msg, CKpFacetStore* facets, CKpDrape* drape, double wpStep,
                          double wtStep, double lenTol, CKpOln* A, CKpOln* B);

  private:
    int number;
    int u;
    int v;
    int arriving;
    int leaving;
    CKpOln* prev;
    CKpOln* next;
};

// ---- The outline walk ----

// Grid step (du, dv) of direction `dir` (table above); (0, 0) for a
// direction outside 0..7. 0.
int calc_dudv(int dir, int& du, int& dv);

// 1 when the points at (u, v) and (u + du, v + dv) exist and (du, dv) is a
// grid direction (a 4-neighbour step) whose joined flag is set on the point
// at (u, v); else 0 (also for a null grid).
int pattern_points_joined(const CKpDrape* drape, int u, int v, int du, int dv);

// Leaving direction at the point (u, v) entered from direction `arriving`:
// the first of the directions arriving + 1, ..., arriving + 8 (mod 8) that
// is a grid direction with a neighbour point joined to (u, v). 0; -1 with
// `leaving` = -1 when none qualifies.
int calc_deptdn(const CKpDrape* drape, int u, int v, int arriving, int& leaving);

// Walks the outline of the grid into `outline` (in/out: the ring held there
// is deleted first). The walk starts at the grid's first point in column
// order (CKpDrape::GetFirstOl) as if it came up from below (entry 1,
// arriving 6) and turns anticlockwise around the joined points until it
// comes back to the first entry with its first leaving direction. A first
// point without joined neighbours gives the warning "Single outline point.
// This is probably due to the use of an overlong steplength, and results in
// an inaccurate flat pattern." and a one-entry ring with arriving and
// leaving 4. 0 when a ring was made; -1 with an empty outline (null) after
// the error "Pattern does not exist." (empty or null grid), "Could not
// allocate memory.", or "Outline walk does not close." (joined flags that
// do not agree between neighbours, so that the walk never returns).
int CalcOutline(CKpMsg* msg, CKpDrape* drape, CKpOln*& outline);

// Removes the spike tips of the outline, in passes until one removes
// nothing: at each tip the information "Removing lonely point (%d,%d)."
// (u, v) is given, the tip's drape point gets outline index -1
// (CKpDrapePt::SetIx), the tip and the entry after it are freed and the
// entry before takes the freed entry's leaving direction; the head moves to
// the entry before when it was freed. A ring of one or two entries holding
// a tip is reported and marked entry by entry and freed whole, leaving an
// empty outline (null). 0; -1 for an empty outline. `msg` and `drape` may
// be null (no message, no marking).
int RemoveLonelyPoints(CKpMsg* msg, CKpDrape* drape, CKpOln*& outline);

#endif  // PLYSTRAND_LAYUPLIB_CKPOLN_H
