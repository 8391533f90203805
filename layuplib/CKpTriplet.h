#ifndef PLYSTRAND_LAYUPLIB_CKPTRIPLET_H
#define PLYSTRAND_LAYUPLIB_CKPTRIPLET_H

// CKpTriplet: three doubles x, y, z, the common layout of a position
// (CKpPoint) and a direction (CKpDirn). It has no base and no virtual
// operations, so an array of triplets is an array of 3 doubles per entry and
// may be handed over as such.
class CKpTriplet {
  public:
    CKpTriplet() : x(0.0), y(0.0), z(0.0) {}

    double getx() const { return x; }
    double gety() const { return y; }
    double getz() const { return z; }
    void setx(double v) { x = v; }
    void sety(double v) { y = v; }
    void setz(double v) { z = v; }

    void Set(double vx, double vy, double vz) {
        x = vx;
        y = vy;
        z = vz;
    }
    // Reads 3 doubles x, y, z from `xyz`; a null pointer changes nothing.
    void Set(const double* xyz);
    void Set(CKpTriplet t) { Set(t.x, t.y, t.z); }
    // Sets component i (0 x, 1 y, 2 z); any other i changes nothing.
    void Set(int i, double v);
    // Writes the 3 doubles x, y, z into `xyz`; a null pointer writes nothing.
    void Get(double* xyz) const {
        if (!xyz) return;
        xyz[0] = x;
        xyz[1] = y;
        xyz[2] = z;
    }
    // Component i (0 x, 1 y, 2 z); 0.0 for any other i.
    double Get(int i) const { return i == 0 ? x : i == 1 ? y : i == 2 ? z : 0.0; }
    // Sets (0, 0, 0).
    void SetNull() { Set(0.0, 0.0, 0.0); }

    // Adds t component by component.
    void Add(CKpTriplet t) { AddXYZ(t.x, t.y, t.z); }
    void AddXYZ(double dx, double dy, double dz) {
        x += dx;
        y += dy;
        z += dz;
    }
    // Multiplies all three components by s.
    void Scale(double s) {
        x *= s;
        y *= s;
        z *= s;
    }

    // Writes x, y, z rounded to single precision into `out` (3 floats) and
    // returns `out`; a null pointer writes nothing.
    float* fvals(float* out) const;

    // Rotates the vector by `angle` (radians, right-hand rule) about the basic
    // x (axis 0), y (1) or z (2) axis. 0; -1 for any other axis, with the
    // triplet unchanged.
    int Rotate(int axis, double angle);

  protected:
    double x;
    double y;
    double z;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPTRIPLET_H
