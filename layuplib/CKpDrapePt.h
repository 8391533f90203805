#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H

#include "layuplib/CKpDirn.h"
#include "layuplib/CKpPoint.h"

class CKpDrape;
class CKpFacet;
class CKpMsg;

// CKpDrapePt: one fibre crossing of a draped ply, a point of the drape grid
// (CKpDrape) at integer position (u, v).
//
// Direction indices d of the per-direction fields: 0 +u (warp), 1 +v
// (weft), 2 -u, 3 -v. Angles are radians in the angle frame of the point's
// facet (CKpFacet::GetAngle); a warp angle is oriented towards +u and a weft
// angle towards +v on both sides, so a step towards -u or -v uses the stored
// angle + pi. kNoAngle (-1000.0) marks an angle that is not set, kNoEndFrac
// (-0.123456789) an end fraction that is not set; both are compared
// exactly.
class CKpDrapePt {
  public:
    static constexpr double kNoAngle = -1000.0;
    static constexpr double kNoEndFrac = -0.123456789;

    // Every field at its unset value: no facet (-1), side flag 0, the four
    // angles kNoAngle, strain and thickness 0.0, position (0, 0, 0), nothing
    // joined, end fractions kNoEndFrac, end points and directions zero, end
    // facets and edges -1, outline index 0, id 0, no grid.
    CKpDrapePt();

    // ---- Plain fields ----

    // Index of the facet holding the point; -1 when none.
    int GetFacet() const { return facet; }
    void SetFacet(int f) { facet = f; }

    // Side flag, +1 or -1 (0 not set): the sense of the facet normal
    // relative to the drape at this point.
    int GetDnfg() const { return sideFlag; }
    void SetDnfg(int flag) { sideFlag = flag; }

    // The four fibre angles, stored as given (no wrapping): warp towards
    // the -u neighbour and the +u neighbour, weft towards the -v neighbour
    // and the +v neighbour.
    double GetWarpAngMinus() const { return warpAngMinus; }
    double GetWarpAngPlus() const { return warpAngPlus; }
    double GetWeftAngMinus() const { return weftAngMinus; }
    double GetWeftAngPlus() const { return weftAngPlus; }
    void SetWarpAngMinus(double a) { warpAngMinus = a; }
    void SetWarpAngPlus(double a) { warpAngPlus = a; }
    void SetWeftAngMinus(double a) { weftAngMinus = a; }
    void SetWeftAngPlus(double a) { weftAngPlus = a; }

    // The stored angle on the side of direction index d: 0 the +u warp
    // angle, 1 the +v weft angle, 2 the -u warp angle, 3 the -v weft angle
    // (still oriented towards +u / +v). kNoAngle for any other d; the
    // setter ignores any other d.
    double GetSideAng(int d) const;
    void SetSideAng(int d, double a);

    // Both warp (weft) angles = pi_pi(a).
    void SetWarpAng(double a);
    void SetWeftAng(double a);

    // Shear strain angle, radians. SetStrn (value) stores it as given; the
    // computation from the angles is SetStrn (msg, r, s) below.
    double GetStrn() const { return strain; }
    void SetStrn(double value) { strain = value; }

    // Fabric thickness at this shear (model length units); 0.0 means not
    // yet computed (CKpDrape::CalculateThickness fills it).
    double GetThck() const { return thickness; }
    void SetThck(double t) { thickness = t; }

    // Position on the surface.
    const CKpPoint& GetPoint() const { return position; }
    CKpPoint* pPoint() { return &position; }
    void SetPoint(const CKpPoint& p) { position = p; }

    // ---- Per-direction fields (d = 0 +u, 1 +v, 2 -u, 3 -v) ----
    // Getters answer the unset value for d outside 0..3 (0, kNoEndFrac,
    // (0, 0, 0), -1); setters ignore such d.

    // 1 when the neighbour in direction d is joined (the fabric between the
    // two points is continuous), else 0. Joining two grid neighbours is
    // CKpDrape::Join.
    int GetJoined(int d) const;
    void SetJoined(int d, int flag);

    // End of the fibre leaving in direction d when it stopped before the
    // next grid point (at a free edge of the selected area or the grid
    // bound): the end fraction (length reached / step, or the remaining
    // fraction given by the bound; kNoEndFrac when not ended), the end
    // point, the direction of the fibre's last segment, the facet and the
    // facet edge where it ended.
    double GetEndFrac(int d) const;
    int EndFracSet(int d) const { return GetEndFrac(d) != kNoEndFrac; }
    const CKpPoint& GetEndPoint(int d) const;
    const CKpDirn& GetEndDirn(int d) const;
    int GetEndFacet(int d) const;
    int GetEndEdge(int d) const;
    void SetEndFrac(int d, double frac);
    void SetEndPoint(int d, const CKpPoint& p);
    void SetEndDirn(int d, const CKpDirn& dirn);
    void SetEndFacet(int d, int f);
    void SetEndEdge(int d, int edge);
    // All five end fields of direction d at once.
    void SetEnd(int d, double frac, const CKpPoint& p, const CKpDirn& dirn, int f, int edge);

    // Outline index, kept in the field the drape itself does not use: the
    // outline sets -1 on a point it drops as lonely, and the draped-pattern
    // queries keep their output number here. 0 after construction.
    int GetIx() const { return reserved; }
    void SetIx(int index) { reserved = index; }

    // Order in which the point entered the grid, from 1 (set by
    // CKpDrape::pDrapePt).
    int GetId() const { return id; }
    void SetId(int newId) { id = newId; }

    // The grid holding the point; null when none. Not owned.
    CKpDrape* GetDrape() const { return grid; }
    void SetDrape(CKpDrape* drape) { grid = drape; }

    // ---- Angles and strain ----

    // Mean warp angle: with A the -u side and B the +u side angle, both
    // set: pi_pi(A + pi_pi(B - A) / 2) (the circular mean, so 3.1 and -3.1
    // give about pi); one set: that one; neither: kNoAngle, after the
    // error "Could not calculate warp angle." when `msg` is given.
    // GetAveWeftAng is the same on the weft angles with "Could not
    // calculate weft angle.".
    double GetAveWarpAng(CKpMsg* msg) const;
    double GetAveWeftAng(CKpMsg* msg) const;

    // Angle *a of the fibre leaving in direction index i, pointing away
    // from the point: 0 the -u side warp angle, 1 the -v side weft angle,
    // 2 pi_pi(pi + the +u side warp angle), 3 pi_pi(pi + the +v side weft
    // angle). 0; -1 for any other i (*a not written).
    int ang(int i, double& a) const;

    // Grid step of a length a along direction index i, in units of the
    // step b: du gives a / b for i = 0, -a / b for i = 2, else 0; dv gives
    // a / b for i = 1, -a / b for i = 3, else 0. A zero b gives 0.
    static double du(int i, double a, double b);
    static double dv(int i, double a, double b);

    // Shear strain from the mean angles: w = GetAveWarpAng, t =
    // GetAveWeftAng (with their messages); either unset: error "Could not
    // calculate strain." and -1 (strain unchanged; also for a reference
    // angle that is not finite or beyond 1000 radians). Otherwise
    // x = pi_pi(r - pi_pi(t - w) × side flag × s), brought into (r - pi, r]
    // by steps of pi, is stored as the strain; 0. With side flag +1 and
    // s = +1, an included angle equal to the reference angle r (the fabric's
    // warp/weft angle, radians) gives 0 and a smaller one a positive strain.
    int SetStrn(CKpMsg* msg, double r, int s);

    // h / cos(strain) when the strain is not 0.0 and the grid's workspace
    // holds a pattern of simulation type 4 (warp/weft angle held at 90
    // degrees); otherwise h.
    double GetUpdatedHwt(double h) const;

    // The in-plane vector a × dir(warp) + b × dir(weft) on `f`, with
    // dir(angle) = f->GetDirn(angle), the warp angle of the -u side when
    // a >= 0 (else of the +u side) and the weft angle of the -v side when
    // b >= 0 (else of the +v side): *angle = its facet angle, *length = its
    // length. 0; -1 when f is null (outputs not written).
    int GetAxisAngleLength(const CKpFacet* f, double a, double b, double& angle,
                           double& length) const;

    // Components cw (along the mean warp) and ct (along the mean weft) of
    // the unit vector at `angle`, by the law of sines: x2 = pi_pi(angle -
    // warp), x1 = pi_pi(weft - angle), s = sin(pi_pi(pi - x2 - x1)); s below
    // 1e-6 gives cw = cos(x2), ct = cos(x1), otherwise cw = sin(x1) / s and
    // ct = sin(x2) / s. 0. A missing mean angle is reported as by
    // GetAveWarpAng and GetAveWeftAng and gives cw = ct = 0.0 and -1 (no
    // components are made up from the unset value).
    int GetWarpWeftComponents(CKpMsg* msg, double angle, double& cw, double& ct) const;

  private:
    int facet;
    int sideFlag;
    double warpAngMinus;
    double warpAngPlus;
    double weftAngMinus;
    double weftAngPlus;
    double strain;
    double thickness;
    CKpPoint position;
    int joined[4];
    double endFraction[4];
    CKpPoint endPoint[4];
    CKpDirn endDirn[4];
    int endFacet[4];
    int endEdge[4];
    int reserved;
    int id;
    CKpDrape* grid;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPEPT_H
