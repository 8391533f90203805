#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H

// CKpDrapeBound: the index limits of the drape grid for the current pattern,
// in grid index units (warp steps along u, weft steps along v, from the
// start point). An open side is +-1e12.
class CKpDrapeBound {
  public:
    // The value DstBound gives when there is no distance.
    static constexpr double kNoDist = -0.123456789;

    // All four limits 0.0.
    CKpDrapeBound() : umin(0.0), umax(0.0), vmin(0.0), vmax(0.0) {}

    double getumin() const { return umin; }
    double getumax() const { return umax; }
    double getvmin() const { return vmin; }
    double getvmax() const { return vmax; }

    // Limits from lengths along the fabric from the start point (model
    // length units; the warp step is `step`, the weft step step / ratio):
    // umin = -minwp / step when minwp > 0, else -1e12; umax = maxwp / step
    // when maxwp > 0, else 1e12; vmin = -(minwt / step) × ratio when
    // minwt > 0, else -1e12; vmax = maxwt / step × ratio when maxwt > 0,
    // else 1e12. A step that is not positive (or not finite) opens every
    // side (+-1e12) rather than divide by it.
    void Set(double ratio, double step, double minwp, double maxwp, double minwt, double maxwt);

    // 1 when umin <= u <= umax and vmin <= v <= vmax, else 0.
    int InBound(double u, double v) const;

    // Distance (index units) from (u, v) to the bound along grid direction
    // `code`: first d = kNoDist; outside the bound 0; code 0 d = umax - u,
    // 2 d = vmax - v, 4 d = u - umin, 6 d = v - vmin, and 1; any other code
    // 0.
    int DstBound(double u, double v, int code, double& d) const;

  private:
    double umin;
    double umax;
    double vmin;
    double vmax;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H
