#include "layuplib/calculate_thickness.h"

#include <cmath>

#include "layuplib/CKpMat.h"

double calculate_thickness(const CKpMat* mat, double x) {
    if (!mat) return 0.0;
    const double t0 = mat->mtrlthck();
    if (x == 0.0) return t0;
    if (mat->a1() == 0.0 && mat->a2() == 0.0 && mat->a3() == 0.0 && mat->b1() == 0.0 &&
        mat->b2() == 0.0 && mat->b3() == 0.0)
        return t0 / std::cos(x);
    const double a = 1.0 + x * (mat->a1() + x * (mat->a2() + x * mat->a3()));
    const double b = 1.0 + x * (mat->b1() + x * (mat->b2() + x * mat->b3()));
    return t0 / (std::cos(x) * a * b);
}
