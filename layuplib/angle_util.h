#ifndef PLYSTRAND_LAYUPLIB_ANGLE_UTIL_H
#define PLYSTRAND_LAYUPLIB_ANGLE_UTIL_H

// Angle normalisation, degree/radian conversion and the modular index
// helpers of drape and facet directions. Angles are radians unless a
// function says degrees; pi is acos(-1).
//
// Non-finite input (NaN, +-infinity) to the normalisers is returned
// unchanged: it is not an angle, and wrapping it would either never end or
// hide the fault behind a plausible value.

// pi: the double nearest it, which is what acos(-1) gives. A constant
// rather than acos(-1) keeps it usable in constant expressions and keeps
// initialisation out of library load.
constexpr double kPi = 3.14159265358979323846;

// When |a / 2pi| is above 2, the fractional part of a / 2pi times 2pi (the
// whole turns removed, the sign kept); otherwise a unchanged. Keeps the
// wrapping loops of the normalisers below short.
double angbound(double a);

// a wrapped into [-pi, pi].
double pi_pi(double a);

// a wrapped into [-pi/2, pi/2]: an axis without sense (a and a + pi are the
// same axis).
double piby2_piby2(double a);

// a wrapped into [0, 2pi).
double ang0_lt2pi(double a);

// Degrees to radians: pi·deg/180.
double radians(double deg);
// Radians to degrees: rad·180/pi.
double degrees(double rad);
// The two factors, for a conversion written as one product: x·kRadPerDeg
// may differ from radians(x) in the last bit.
constexpr double kRadPerDeg = kPi / 180.0;
constexpr double kDegPerRad = 180.0 / kPi;
// Conversions of reals that cross the host interface as floats: the double
// result rounded to single precision. radians_as_float gives the rounded
// value back as a double, as the host would have passed it.
float degrees_as_float(double rad);
double radians_as_float(float deg);

// Degrees cut toward zero to 0.001 and wrapped into [-180, 180]:
// simplify_degrees(370.0009) = 10.0, simplify_degrees(-190.5) = 169.5.
// Inputs of 1e6 degrees or more in magnitude have their whole turns removed
// first (exactly, by fmod), so every finite input gives a result.
double simplify_degrees(double deg);

// i modulo 4, 8 and 3, in 0..3, 0..7 and 0..2, negative i included
// (-1 gives 3, 7 and 2): drape directions, grid directions, facet edges.
int dn_0_3(int i);
int dn_0_7(int i);
int ed_0_2(int i);

#endif  // PLYSTRAND_LAYUPLIB_ANGLE_UTIL_H
