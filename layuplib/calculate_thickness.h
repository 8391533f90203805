#ifndef PLYSTRAND_LAYUPLIB_CALCULATE_THICKNESS_H
#define PLYSTRAND_LAYUPLIB_CALCULATE_THICKNESS_H

class CKpMat;

// Thickness of `mat` draped at the fabric shear angle x (radians), in model
// length units. With t0 the material's nominal thickness and a1..a3, b1..b3
// its thickness coefficients:
//   x = 0                          t0 (whatever the coefficients);
//   all six coefficients 0         t0 / cos x;
//   otherwise                      t0 / (cos x (1 + a1 x + a2 x^2 + a3 x^3)
//                                              (1 + b1 x + b2 x^2 + b3 x^3)).
// 0.0 for a null material.
double calculate_thickness(const CKpMat* mat, double x);

#endif  // PLYSTRAND_LAYUPLIB_CALCULATE_THICKNESS_H
