#include "layuplib/LinAlg.h"

#include <algorithm>
#include <cmath>

namespace SolidElements {

void LinAlg::CrossProduct(const double* a, const double* b, double* out) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double LinAlg::NormSquared(const double* a) {
    return a[0] * a[0] + a[1] * a[1] + a[2] * a[2];
}

double LinAlg::Norm(const double* a) {
    return std::sqrt(NormSquared(a));
}

double LinAlg::DotProduct(const double* a, const double* b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

double LinAlg::AngleNormalised(const double* a, const double* b) {
    return std::acos(std::clamp(DotProduct(a, b), -1.0, 1.0));
}

bool LinAlg::IsParallel(const double* a, const double* b, double tol) {
    double c[3];
    CrossProduct(a, b, c);
    return Norm(c) < tol;
}

void LinAlg::VectorDivide(double* a, double s) {
    a[0] /= s;
    a[1] /= s;
    a[2] /= s;
}

void LinAlg::Normalize(double* a) {
    const double n = Norm(a);
    if (n > 0.0) VectorDivide(a, n);
}

void LinAlg::Vector(const double* a, const double* b, double* out) {
    out[0] = b[0] - a[0];
    out[1] = b[1] - a[1];
    out[2] = b[2] - a[2];
}

double LinAlg::Distance(const double* a, const double* b) {
    double d[3];
    Vector(b, a, d);
    return Norm(d);
}

void LinAlg::ProjectionOntoPlane(const double* v, const double* n, double* out) {
    double vn[3];
    CrossProduct(v, n, vn);
    CrossProduct(n, vn, out);
    Normalize(out);
}

double LinAlg::ProjectionDistancePointPlane(const double* p, const double* n, double d) {
    return std::fabs(DotProduct(n, p) + d);
}

double LinAlg::ProjectionPointLine(const double* a, const double* b, const double* p) {
    double ab[3], ap[3];
    Vector(a, b, ab);
    Vector(a, p, ap);
    const double len2 = NormSquared(ab);
    if (len2 == 0.0) return (p[0] - a[0]) / (b[0] - a[0]);
    return DotProduct(ap, ab) / len2;
}

void LinAlg::PlaneFromPoints(const double* a, const double* b, const double* c, double* n,
                             double& d) {
    double ab[3], ac[3];
    Vector(a, b, ab);
    Vector(a, c, ac);
    CrossProduct(ab, ac, n);
    Normalize(n);
    d = -DotProduct(n, a);
}

}  // namespace SolidElements
