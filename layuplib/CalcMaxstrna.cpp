#include "layuplib/CalcMaxstrna.h"

#include <cmath>

int CalcMaxstrna(double a, double limits[3]) {
    if (!limits) return -1;
    const double hardFloor = std::acos(-1.0) * 0.4722222222222222;
    limits[0] = a / 2.0;
    limits[1] = a;
    limits[2] = a > hardFloor ? a : hardFloor;
    return 0;
}
