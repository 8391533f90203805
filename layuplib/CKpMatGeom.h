#ifndef PLYSTRAND_LAYUPLIB_CKPMATGEOM_H
#define PLYSTRAND_LAYUPLIB_CKPMATGEOM_H

// CKpMatGeom: the fabric geometry handed to draping and to flat-pattern
// queries: the angle a between warp and weft (radians), the warp-weft ratio
// r = warp step / weft step and the warp step length s. The weft runs at
// angle a from the warp, so a grid point (fu, fv) lies at
// fu s (1, 0) + fv (s / r) (cos a, sin a) in the fabric's own frame.
class CKpMatGeom {
  public:
    CKpMatGeom(double warpWeftAngle = 0.0, double warpWeftRatio = 1.0, double warpStepLength = 0.0)
        : m_wpwtang(warpWeftAngle), m_ratio(warpWeftRatio), m_step(warpStepLength) {}

    double GetWarpWeftAngle() const { return m_wpwtang; }
    void SetStartWarpWeftAngle(double a) { m_wpwtang = a; }
    double GetWarpWeftRatio() const { return m_ratio; }
    void SetWarpWeftRatio(double r) { m_ratio = r; }
    double GetWarpStepLength() const { return m_step; }
    void SetWarpStepLength(double s) { m_step = s; }

    // Weft step s / r; 0.0 when r is 0.
    double GetWeftStepLength() const;

    // The two bias directions (diagonals of the fabric cell) as angles from
    // the warp, and their lengths expressed as r / |diagonal| with the weft
    // step scaled to r:
    //   bias 1: atan2(sin a, cos a + r), ratio r / |(r + cos a, sin a)|;
    //   bias 2: atan2(-sin a, r - cos a), ratio r / |(r - cos a, -sin a)|.
    // Each gives 0.0 when a or r is 0 (a ratio also when its diagonal has
    // length 0).
    double GetWarpBiasAngle() const;
    double GetWarpBias2Angle() const;
    double GetWarpBiasRatio() const;
    double GetWarpBias2Ratio() const;

    // Snaps `angle` (radians, read and written) to the nearest fabric axis
    // when it lies within the band `fraction` (clamped to 0..1) of the way to
    // either neighbouring axis; the eight axes in circular order are warp 0,
    // bias 1 b1, weft a, b2 + pi, pi, b1 + pi, a + pi, b2. Returns the axis
    // index 0..7 and sets `angle` to the axis; -1 when no axis takes it
    // (`angle` is then only wrapped into [-pi, pi]). Fraction 0 never snaps,
    // 1 always does.
    int SnapToAxis(double& angle, double fraction) const;

    // Lattice coordinates of the point (u, v) (fabric frame, lengths): with
    // the weft step w = s / r, fv = v / (sin a w) and fu = (u - cos a w fv) /
    // s. 0; -1 with nothing written when s <= 0, r = 0, w <= 0, sin a is
    // (nearly) 0 (warp and weft parallel: no lattice), or an output is null.
    int GetFuFv(double u, double v, double* fu, double* fv) const;

  private:
    double m_wpwtang;  // warp-weft angle a
    double m_ratio;    // warp step / weft step r
    double m_step;     // warp step length s
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATGEOM_H
