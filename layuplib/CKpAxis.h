#ifndef PLYSTRAND_LAYUPLIB_CKPAXIS_H
#define PLYSTRAND_LAYUPLIB_CKPAXIS_H

#include "layuplib/CKpAxisPt.h"

class CKpDrape;
class CKpDrapeSim;
class CKpFacetStore;
class CKpGra;
class CKpMatGeom;
class CKpMsg;
class CKpPlane;
class CKpPoint;

// CKpAxis: a fibre axis, the polyline traced over the faceted surface from a
// start point in one fibre direction. It runs straight inside each facet
// and, at a facet edge, continues into the neighbour keeping its angle to
// the shared edge (the neighbour unfolded about the edge): a geodesic of
// the faceted surface. Slots 0..count-1 hold its points in order (see
// CKpAxisPt for their fields); the axis owns them.
//
// Angles are radians, wrapped into [-pi, pi] after sums and differences; a
// facet's local axes are those of CKpFacet::GetAngle (x along vertex 0 ->
// vertex 1 in the facet plane). Lengths are model units.
//
// Tracing ends at a free or divided edge (edge code below 0), at the
// requested length, or, on a closed surface, where the trace repeats an
// earlier edge crossing (same facets, edge and sense, position within 1e-9
// of the edge's length, angle within 1e-9) or has crossed 16 edges per
// facet of the store plus 1024: the axis then ends at the repeated
// crossing (or at the last crossing) with the warning "Fibre axis closes on
// itself at facet %d; the axis ends there." (the facet entered there) or
// "Fibre axis crossed %d facet edges without ending; the axis ends there.".
// The tracing members are defined in make_axis.cpp.
class CKpAxis {
  public:
    // An axis of no points with 512 empty slots (none when the array cannot
    // be allocated; it grows on the first store).
    CKpAxis();

    // Deletes every point and frees the array.
    ~CKpAxis();

    CKpAxis(const CKpAxis&) = delete;
    CKpAxis& operator=(const CKpAxis&) = delete;

    // Number of points.
    int entries() const { return count; }

    // Point i; null when i is negative or not below the count.
    CKpAxisPt* pAxisPt(int i) const { return (i >= 0 && i < count) ? points[i] : nullptr; }

    // Stores `point` in slot i and takes ownership of it. A slot at or beyond
    // the capacity grows the array to i + 128 slots; the count becomes
    // max(count, i + 1). 0; -1 (nothing stored, the caller keeps the point)
    // when i is negative, the slot is already taken or the array cannot
    // grow.
    int pAxisPt(int i, CKpAxisPt* point) {
        // A trace fills its slots in turn, within the capacity.
        if (i >= 0 && i < capacity && i <= kMaxSlot && !points[i]) {
            points[i] = point;
            if (i + 1 > count) count = i + 1;
            return 0;
        }
        return storeGrowing(i, point);
    }

    // Removes every point; the count becomes 0 (the slots stay). The
    // points are kept for the axis' next trace, which takes them instead
    // of allocating new ones; the destructor deletes them.
    void reinit();

    // ---- Tracing (make_axis.cpp) ----

    // Traces the axis afresh: deletes its points, puts point 0 at `start` on
    // facet `startFacet` (from-facet and facet, edge 0, edge code 0, the
    // given sense (+1/-1) and angle in the facet's local axes, length and
    // spare 0), finds point 1 (get_firstaxispt) and adds points
    // (get_nextaxispt) until the last one lies on a free or divided edge or
    // its length is not below `length`; so the last point usually lies past
    // `length` (callers interpolate on the last segment).
    //   last  (out, when given) index of the last point examined.
    // 1 when the last point reaches `length`; 0 when the axis ended earlier
    // (free edge, closed trace, crossing bound); -1 on failure with an
    // error: "No start facet specified." (startFacet below 0, or a null
    // store), "Could not find first axis point." (also for a start facet
    // not in the store), "Could not find next axis point.", "Could not
    // allocate memory.". The points traced stay in the axis. Messages only
    // when `msg` is given.
    int make_axis(CKpMsg* msg, const CKpFacetStore* facets, const CKpPoint& start, int startFacet,
                  int sense, double angle, double length, int* last = nullptr);

    // What make_axis with `length` would give from this axis' point 0 (its
    // position, facet, sense and angle), taken from the points of this
    // axis' last make_axis, which must not have failed (answer 0 or 1) and
    // must have been made with the same store as it is now: the points are
    // cut after the first one from point 1 on that lies on a free or
    // divided edge or whose length is not below `length`. make_axis stops
    // there too, and takes the same steps to get there, so points, answer
    // and *last (when given) are exactly those of a new trace; no message
    // (a trace that gets that far has none). -2, with nothing changed, when
    // no held point ends the trace (it would run further: trace afresh).
    int cut_axis(double length, int* last = nullptr);

    // Adds point 1 from point 0 (position, facet, angle in that facet's
    // local axes): the first edge 0, 1, 2 of the facet that the direction
    // meets. 1 found; 0 not found, when the axis does not hold exactly one
    // point, when its facet is missing, or (with the error "Could not
    // allocate memory.") when memory runs out.
    int get_firstaxispt(CKpMsg* msg, const CKpFacetStore* facets);

    // Adds point i from point i-1, the last point (an edge crossing): the
    // axis crosses the facet it entered there, leaving by one of the two
    // edges other than the entry edge. 1 found; 0 not found, when i is not
    // the count or below 1, when point i-1 lies on a free edge or its
    // entered facet is missing, or (with the error "Could not allocate
    // memory.") when memory runs out.
    int get_nextaxispt(CKpMsg* msg, const CKpFacetStore* facets, int i);

    // The point at `length` on segment i-1..i: t = (length - length(i-1)) /
    // (length(i) - length(i-1)) must lie in [0, 1] (a segment of length 0
    // takes t = 0 when `length` equals its length). Writes *point (linear
    // interpolation) and *facet (the facet entered at point i-1), each when
    // given. 0; -1 (nothing written) when i is not in 1..count-1 or the
    // length is off the segment.
    int GetPointFacet(double length, int i, CKpPoint* point, int* facet) const;

    // The point at length L = step × n along the axis, searched up to point
    // i (callers pass the index of the last point):
    //   L above length(i):   *point = point i, *steps = length(i) / step;
    //   L at or below 0:     *point = point 0, *steps = 0;
    //   otherwise            *point interpolated on the segment holding L,
    //                        *steps = n.
    // (steps is length(i) / step only for a non-zero step.) 0; -1 (nothing
    // written) when i is not in 0..count-1 or an output is null.
    int CalcEdgepoint(int i, double step, double n, CKpPoint* point, double* steps) const;

    // Draws the axis: selects graphics segment `segment` and pen `pen`
    // (width 0.0), moves to point 0 and draws a line to each further point.
    // 0; -1 for an axis without points or a null context.
    int PlotAxis(CKpGra* gra, int segment, int pen) const;

    // The fabric's direction tables. `geom` gives a (warp-weft angle), r
    // (ratio), b1, r1 and b2, r2 (bias angles and ratios, CKpMatGeom).
    //   index  angle           du  dv  step length
    //   0      0                1   0  step
    //   1      b1               1   1  step / r1
    //   2      a                0   1  step / r
    //   3      pi_pi(b2 + pi)  -1   1  step / r2
    //   4      pi               -1  0  step
    //   5      pi_pi(b1 + pi)  -1  -1  step / r1
    //   6      pi_pi(a + pi)    0  -1  step / r
    //   7      b2               1  -1  step / r2
    // GetStepSingle takes row k + 2m (k 0 or 1, m 0..3); GetStepDouble row
    // 2k (k 0..3). Writes *angle, *du, *dv, *length. 0; -1 (nothing
    // written) for a row outside the table, a null output, or a ratio of 0
    // in the row.
    static int GetStepSingle(const CKpMatGeom& geom, double step, int k, int m, double* angle,
                             int* du, int* dv, double* length);
    static int GetStepDouble(const CKpMatGeom& geom, double step, int k, double* angle, int* du,
                             int* dv, double* length);

    // The first crossing of axes A and B: over A's segments 1..ia (segment i
    // from point i-1 to point i) in ascending order, and within each over
    // B's segments 1..ib, the closest approach of the two segment lines
    // (CKpLine::DistLine); the first pair with both line parameters in
    // [0, 1] and a distance below `tol` is taken.
    //   ia, ib    (in) segment counts to search, 1..count-1 of each axis;
    //             (out) the segments found;
    //   point     the closest point on A's segment;
    //   sA, sB    the line parameters on the two segments;
    //   lA, lB    lengths along A and B to the crossing;
    //   distance  the closest distance;
    //   angle     the angle between the two segments, 0..pi (ang_4pts);
    //   sense     product of the senses of A's point i-1 and B's point j-1.
    // Each output pointer is written only when given. 0 found; -1 not found
    // or a segment count outside 1..count-1 (nothing written).
    static int CalcIntPtAnylength(const CKpAxis& A, const CKpAxis& B, int& ia, int& ib, double tol,
                                  CKpPoint* point, double* sA, double* sB, double* lA, double* lB,
                                  double* distance, double* angle, int* sense);

    // As CalcIntPtAnylength, with a fallback when no crossing is found: the
    // segment of A that holds `lengthA` (else A's segment ia) paired with
    // the segment of B that holds `lengthB` (else B's ib), at their closest
    // approach (parameters not limited to [0, 1]). Found: the crossing, 0.
    // Not found: ia, ib and every output from the fallback, sense 0, -1.
    // Segment counts outside 1..count-1: -1 with nothing written and
    // *distance (when given) 1e12.
    static int CalcIntPt(const CKpAxis& A, const CKpAxis& B, int& ia, int& ib, double lengthA,
                         double lengthB, double tol, CKpPoint* point, double* sA, double* sB,
                         double* lA, double* lB, double* distance, double* angle, int* sense);

    // One trial of a fabric cell corner: traces A from the drape point
    // (ua, va) of `drape` (its position, facet and side flag as the sense)
    // at pi_pi(a + b × c) for 2 × warpStep, and B from the drape point
    // (ub, vb) at pi_pi(d - e × f) for 2 × weftStep (make_axis), then
    // intersects them (CalcIntPt, lengths warpStep and weftStep, tolerance
    // 1e-6). Outputs:
    //   r1, r2  length along A to the crossing / warpStep, along B / weftStep;
    //   found   1 when the axes cross, else 0;
    //   flagA   1 when that length along A does not exceed the length of A's
    //           point at the segment returned, else 0 (the crossing lies
    //           beyond the traced part); flagB likewise;
    //   angle   the angle between the axes there.
    // 0 when found, and when not found with flagA or flagB 0; -1 when not
    // found with both flags 1, when either axis has no segment, when a step
    // is not positive or a drape point is missing, or when tracing fails
    // (error "Could not create axis."). Outputs are written only after both
    // axes were traced.
    static int UpdateAxes(CKpMsg* msg, const CKpFacetStore* facets, const CKpDrape* drape,
                          CKpAxis& A, CKpAxis& B, int ua, int va, double a, double b, double c,
                          double warpStep, int ub, int vb, double d, double e, double f,
                          double weftStep, double& r1, double& r2, int& found, int& flagA,
                          int& flagB, double& angle);

  private:
    // Far beyond any traced axis; keeps i + 128 clear of overflow.
    static constexpr int kMaxSlot = 100000000;

    // pAxisPt(i, point) for any slot: grows the array as needed.
    int storeGrowing(int i, CKpAxisPt* point);

    // Removes the points from index n on (kept for reuse); the count
    // becomes n (0 <= n).
    void truncate(int n);

    // A point in its initial state for the next slot of a trace: a kept
    // one when there is one, else a new one; null when memory runs out.
    // The caller stores it (pAxisPt) or gives it back (keep).
    CKpAxisPt* freshPoint() {
        if (spareCount == 0) return newPoint();
        CKpAxisPt* p = spare[--spareCount];
        *p = CKpAxisPt();
        return p;
    }
    CKpAxisPt* newPoint();
    // Keeps `p` for reuse; deletes it when it cannot be kept.
    void keep(CKpAxisPt* p);

    // Ends traces that would not end on a closed surface, and the tracing
    // steps (make_axis.cpp).
    class Guard;
    class Trace;
    friend int CalcAxes(CKpMsg* msg, CKpGra* gra, const CKpFacetStore* facets, int axisType,
                        int startFacet, const CKpPoint& startPoint, double warpAngle,
                        double weftAngle, const CKpPlane& warpPlane, const CKpPlane& weftPlane,
                        CKpDrapeSim* sim);

    CKpAxisPt** points;
    int capacity;
    int count;
    // Points removed from the axis, kept for its next trace.
    CKpAxisPt** spare = nullptr;
    int spareCount = 0;
    int spareCapacity = 0;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPAXIS_H
