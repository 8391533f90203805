#ifndef PLYSTRAND_LAYUPLIB_CALCMAXSTRNA_H
#define PLYSTRAND_LAYUPLIB_CALCMAXSTRNA_H

// The three shear limits of a drape, from the maximum strain angle a
// (radians), in radians:
//   limits[0] = a / 2              lowest shear band (plots);
//   limits[1] = a                  warning level;
//   limits[2] = max(a, 85 degrees) hard limit: a point sheared beyond it is
//                                  not extended further.
// 85 degrees is pi × 0.4722222222222222. `limits` holds 3 doubles (written).
// 0; -1 for a null `limits`.
int CalcMaxstrna(double a, double limits[3]);

#endif  // PLYSTRAND_LAYUPLIB_CALCMAXSTRNA_H
