#ifndef PLYSTRAND_LAYUPLIB_LINALG_H
#define PLYSTRAND_LAYUPLIB_LINALG_H

namespace SolidElements {

// LinAlg: small helpers on 3-vectors of the fill-solid module. Every vector
// is a plain array of three doubles (x, y, z); `out` arguments are written
// and may not alias an input unless stated.
class LinAlg {
  public:
    // out = a x b (out may alias neither a nor b).
    static void CrossProduct(const double* a, const double* b, double* out);
    static double NormSquared(const double* a);
    static double Norm(const double* a);
    static double DotProduct(const double* a, const double* b);
    // acos(a . b) in radians, for unit vectors; the dot product is clamped
    // to [-1, 1] so that rounding cannot give NaN for parallel vectors.
    static double AngleNormalised(const double* a, const double* b);
    // True when |a x b| is below `tol`.
    static bool IsParallel(const double* a, const double* b, double tol);
    // a /= s in place.
    static void VectorDivide(double* a, double s);
    // a /= |a| in place; a zero vector stays zero.
    static void Normalize(double* a);
    // out = b - a.
    static void Vector(const double* a, const double* b, double* out);
    // |a - b|.
    static double Distance(const double* a, const double* b);
    // out = normalised n x (v x n): v projected into the plane of normal n.
    static void ProjectionOntoPlane(const double* v, const double* n, double* out);
    // |n . p + d|: the distance of p from the plane (n unit, d offset).
    static double ProjectionDistancePointPlane(const double* p, const double* n, double d);
    // The parameter t of p's projection on the line a -> b:
    // ((p - a) . (b - a)) / |b - a|^2; when a and b coincide,
    // (p.x - a.x) / (b.x - a.x) (not finite then).
    static double ProjectionPointLine(const double* a, const double* b, const double* p);
    // The plane through a, b, c: n = normalised (b - a) x (c - a),
    // d = -(n . a).
    static void PlaneFromPoints(const double* a, const double* b, const double* c, double* n,
                                double& d);
};

}  // namespace SolidElements

#endif  // PLYSTRAND_LAYUPLIB_LINALG_H
