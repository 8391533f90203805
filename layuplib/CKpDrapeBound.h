#ifndef PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H
#define PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H

// CKpDrapeBound: the index limits of the drape grid for the current pattern
// (grid index units: warp steps along u, weft steps along v, from the start
// point).
class CKpDrapeBound {
  public:
    // All four limits 0.0.
    CKpDrapeBound() : umin(0.0), umax(0.0), vmin(0.0), vmax(0.0) {}

    double getumin() const { return umin; }
    double getumax() const { return umax; }
    double getvmin() const { return vmin; }
    double getvmax() const { return vmax; }

  private:
    double umin;
    double umax;
    double vmin;
    double vmax;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPDRAPEBOUND_H
