#ifndef PLYSTRAND_LAYUPLIB_FORTREAL_H
#define PLYSTRAND_LAYUPLIB_FORTREAL_H

// Reals in a fixed mantissa-and-exponent form for file writers: the value as
// a mantissa m with 0.1 <= |m| < 1 and a decimal exponent e, x = m * 10^e,
// written "%W.PlfE%+03d" with 3, 6, 9 or 12 decimals (field widths 6, 9, 12
// and 15 for the mantissa):
//   fortreal03(123.0)  -> " 0.123E+03"      fortreal03(-0.5) -> "-0.500E+00"
//   fortreal06(0.0)    -> " 0.000000E+00"   (zero: mantissa 0, exponent 0)
// When rounding to the printed decimals would give a mantissa of 1, the next
// exponent is used (999.9996 -> " 0.100E+04"). Infinities and NaN are
// written as "inf", "-inf" or "nan", right-aligned in the width a finite
// value takes (10, 13, 16 or 19 characters).
//
// Each function returns its own static buffer of 24 characters, overwritten
// by its next call.
char* fortreal03(double x);
char* fortreal06(double x);
char* fortreal09(double x);
char* fortreal12(double x);

#endif  // PLYSTRAND_LAYUPLIB_FORTREAL_H
