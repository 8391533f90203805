#include "layuplib/CKpTriplet.h"

#include <cmath>

void CKpTriplet::Set(const double* xyz) {
    if (!xyz) return;
    Set(xyz[0], xyz[1], xyz[2]);
}

void CKpTriplet::Set(int i, double v) {
    switch (i) {
        case 0:
            x = v;
            break;
        case 1:
            y = v;
            break;
        case 2:
            z = v;
            break;
        default:
            break;
    }
}

float* CKpTriplet::fvals(float* out) const {
    if (!out) return out;
    out[0] = static_cast<float>(x);
    out[1] = static_cast<float>(y);
    out[2] = static_cast<float>(z);
    return out;
}

int CKpTriplet::Rotate(int axis, double angle) {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double ox = x, oy = y, oz = z;
    switch (axis) {
        case 0:
            y = oy * c - oz * s;
            z = oy * s + oz * c;
            return 0;
        case 1:
            x = ox * c + oz * s;
            z = oz * c - ox * s;
            return 0;
        case 2:
            x = ox * c - oy * s;
            y = oy * c + ox * s;
            return 0;
        default:
            return -1;
    }
}
