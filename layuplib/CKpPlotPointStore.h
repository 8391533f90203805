#ifndef PLYSTRAND_LAYUPLIB_CKPPLOTPOINTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPLOTPOINTSTORE_H

#include "layuplib/CKpPlotPoint.h"
#include "layuplib/CVekList.h"

// CKpPlotPointStore: the points of one plotted polyline (an outline) in
// order, and its thinning by plot flags.
//
// Ownership: as every CVekList, the store links its points but does not own
// them: destroying the store leaves the points alone; eraseAllObjects
// deletes them. A point may be of a derived type (laser or flat-pattern
// points).
class CKpPlotPointStore : public CVekList<CKpPlotPoint> {
  public:
    CKpPlotPointStore() = default;

    // Number of points whose plot flag is not 0; 0 for an empty store.
    int GetNumPlot() const;

    // Sets every point's plot flag to `flag`.
    void SetPlotAll(int flag);

    // Thins the polyline by plot flags only; no point is removed or moved.
    //   angTol   angle tolerance, radians: a point where the outline turns by
    //            more than this is a corner;
    //   distTol  distance tolerance, model units (Euclidean in x, y, z).
    // Every flag is cleared and the first point gets 2 and is the anchor a.
    // From a, candidates c are taken in order (n the point after c):
    //   - the last point is kept with 2;
    //   - a c within distTol of a or of n is never kept (unless last);
    //   - otherwise c is kept with 2 when the turn at c, |pi_pi(pi - angle
    //     at c between n and a)|, exceeds angTol;
    //   - otherwise, unless c follows a directly, c is kept with 1 when a
    //     point from the one after a up to c lies farther than distTol from
    //     the segment a-n (points whose foot falls outside the segment, or a
    //     zero-length segment, are left out).
    // A kept point becomes the next anchor. So the first and last points
    // and every corner carry 2, chord-tolerance points 1, dropped points 0.
    // 0 (also for an empty store, where nothing happens). Cost: for each
    // anchor, quadratic in the number of points skipped after it.
    int Minimize(double angTol, double distTol);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLOTPOINTSTORE_H
