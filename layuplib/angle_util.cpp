#include "layuplib/angle_util.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kTwoPi = 2.0 * kPi;

int modPositive(int i, int n) {
    const int r = i % n;
    return r < 0 ? r + n : r;
}

}  // namespace

double angbound(double a) {
    if (!std::isfinite(a)) return a;
    const double turns = a / kTwoPi;
    if (std::fabs(turns) <= 2.0) return a;
    double whole;
    return std::modf(turns, &whole) * kTwoPi;
}

// After angbound |a| is below 4pi (or 2pi after the reduction), so each
// loop below runs at most a few times.
double pi_pi(double a) {
    if (!std::isfinite(a)) return a;
    a = angbound(a);
    while (a > kPi) a -= kTwoPi;
    while (a < -kPi) a += kTwoPi;
    return a;
}

double piby2_piby2(double a) {
    if (!std::isfinite(a)) return a;
    a = pi_pi(a);
    const double halfPi = 0.5 * kPi;
    while (a > halfPi) a -= kPi;
    while (a < -halfPi) a += kPi;
    return a;
}

double ang0_lt2pi(double a) {
    if (!std::isfinite(a)) return a;
    a = angbound(a);
    // One loop for both bounds: a tiny negative angle plus 2pi rounds to
    // 2pi itself, which must come back down to 0.
    while (a < 0.0 || a >= kTwoPi) a += (a < 0.0) ? kTwoPi : -kTwoPi;
    return a;
}

double radians(double deg) {
    return kPi * deg / 180.0;
}

double degrees(double rad) {
    return rad * 180.0 / kPi;
}

float degrees_as_float(double rad) {
    return static_cast<float>(degrees(rad));
}

double radians_as_float(float deg) {
    return static_cast<float>(radians(deg));
}

double simplify_degrees(double deg) {
    if (!std::isfinite(deg)) return deg;
    // Beyond this the thousandths no longer fit a 32-bit integer; below it
    // the result is exactly that of cutting the unreduced input.
    if (std::fabs(deg) >= 1e6) deg = std::fmod(deg, 360.0);
    // Cut to thousandths toward zero, but let a value that lies within
    // rounding noise below a whole thousandth (30 degrees that went through
    // radians comes back as 29.999999999999996) keep that thousandth.
    const double milli = deg * 1000.0;
    double d = static_cast<std::int32_t>(milli + std::copysign(1e-6, milli)) / 1000.0;
    while (d > 180.0) d -= 360.0;
    while (d < -180.0) d += 360.0;
    return d;
}

int dn_0_3(int i) {
    return modPositive(i, 4);
}

int dn_0_7(int i) {
    return modPositive(i, 8);
}

int ed_0_2(int i) {
    return modPositive(i, 3);
}
