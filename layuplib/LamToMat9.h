#ifndef PLYSTRAND_LAYUPLIB_LAMTOMAT9_H
#define PLYSTRAND_LAYUPLIB_LAMTOMAT9_H

class CKpMat;
class CKpMsg;

// Laminate stiffness: small dense-matrix helpers, the three-dimensional
// stiffness of a material, and the homogenisation of a laminate into one
// equivalent three-dimensional anisotropic material.
//
// Matrices are dense arrays of doubles in row-major order; a 6 x 6
// stiffness is 36 doubles. Shear strains are engineering strains. Two orders
// of the six stress and strain components are used:
//   solver order    xx, yy, zz, xy, yz, zx  (material stiffnesses, results)
//   textbook order  xx, yy, zz, yz, zx, xy  (inside the homogenisation)
// In the textbook order the in-plane components are the positions
// I = {0, 1, 5} (xx, yy, xy) and the transverse ones T = {2, 3, 4}
// (zz, yz, zx).

// out = A + B, out = A - B (rows x cols each; out may be A or B). 0; 1 for
// a null pointer or a negative size (nothing written).
int MhMatAdd(const double* A, const double* B, int rows, int cols, double* out);
int MhMatSub(const double* A, const double* B, int rows, int cols, double* out);

// out = A B (rowsA x colsB, written; out must not overlap A or B). 0; 1 when
// rowsB differs from colsA, for a null pointer or a negative size (nothing
// written).
int MhMatMul(const double* A, int rowsA, int colsA, const double* B, int rowsB, int colsB,
             double* out);

// out = factor x A (rows x cols), out = factor x v (n); out may be the input.
// 0; 1 for a null pointer or a negative size (nothing written).
int MhMatMulFac(const double* A, int rows, int cols, double factor, double* out);
int MhVecMulFac(const double* v, int n, double factor, double* out);

// out = the inverse of A (rows x cols, written; out may be A), by Gaussian
// elimination with partial pivoting (the row with the largest magnitude in
// the pivot column, a later row winning only when strictly larger).
// 0; 1 when A is not square (or rows < 1, or a pointer is null); 2 when a
// pivot has a magnitude below 1e-37 (or is not a number); 3 when the last
// diagonal element after elimination has; 4 when memory runs out. Nothing
// is written unless the result is 0.
int MhMatInv(const double* A, int rows, int cols, double* out);

// Three-dimensional stiffness of the base state of `material`, solver order:
// D (36 doubles, written), the expansion vector alpha (6, written) and the
// density (written). By directionality:
//   1 isotropic: the inverse of the compliance of E = ex, nu = nuxy (shear
//     compliances 2 (1 + nu) / E); alpha (alpx, alpx, alpx, 0, 0, 0);
//   2 orthotropic: the inverse of the compliance with diagonal 1/ex, 1/ey,
//     1/ez, 1/gxy, 1/gyz, 1/gzx and S12 = -nuxy/ex, S23 = -nuyz/ey,
//     S13 = -nuzx/ez (symmetric); alpha (alpx, alpy, alpz, 0, 0, 0);
//   3 anisotropic: D taken as stored (diagonal ex ey ez gxy gyz gzx, D12
//     nuxy, D23 nuyz, D13 nuzx, D14..D56 c14..c56, symmetric); alpha
//     (alpx, alpy, alpz, a4, a5, a6).
// 0; -1 with the error (when `log` is given):
//   - a two-dimensional or unset directionality: "The 3D stiffness matrix
//     cannot be calculated for material <name> because it references 2D
//     material properties. Please modify this material so that it references
//     isotropic or 3D material properties.";
//   - directionality 1 or 2 with a modulus that is not positive (for 1 also
//     nuxy <= -1, which makes the shear modulus non-positive): "The 3D
//     stiffness matrix cannot be calculated for material <name> because a
//     Young's or shear modulus is not positive.";
//   - a singular compliance: "The 3D stiffness matrix cannot be calculated
//     for material <name> because its compliance matrix is singular.".
// -1 without a message for a null material or output. Nothing is written
// unless the result is 0.
int material_stiff3d(CKpMsg* log, const CKpMat* material, double D[36], double alpha[6],
                     double* density);

// Reorders the 6 x 6 matrix D in place from the solver order to the
// textbook order: new[i][j] = old[p(i)][p(j)] with p = (0, 1, 2, 4, 5, 3).
void KorbeldToJones(double D[36]);

// Splits the k-th 6 x 6 matrix M of the array `matrices` (36 doubles each)
// into the blocks M[all][I] and M[all][T] (6 x 3 each), M[T][I], M[I][I],
// M[I][T] and M[T][T] (3 x 3 each), each row-major with its indices in the
// listed order. A null output is skipped. 0; 1 for a null array or k < 0.
int ElasMatSplit(int k, const double* matrices, double* allI, double* allT, double* TI, double* II,
                 double* IT, double* TT);

// Splits the k-th 6-vector a of `vectors` into in = (a0, a1, a5) and
// tr = (a2, a3, a4). 0; 1 for a null argument or k < 0.
int ThermMatSplit(int k, const double* vectors, double in[3], double tr[3]);

// Homogenises a laminate into one equivalent three-dimensional material
// (in-plane strains and their curvatures continuous through the stack,
// transverse stresses equal in every layer).
//
// Materials: nMat of them, D (nMat x 36, the stiffness in the textbook
// order), alpha (nMat x 6, the expansion vector in the textbook order, shear
// components yz, zx, xy) and density (nMat). Layers, numbered from the
// bottom: nPly of them, plyMat (the material index 0..nMat-1), plyAngleDeg
// (the angle of the material axes about z, degrees) and plyThick (model
// length units, >= 0). z0 is the position of the bottom of the stack
// relative to the reference plane (-H/2 centres it), kappa a factor on the
// in-plane terms.
//
// Results: outD (36 doubles, written) the equivalent stiffness in the solver
// order; outEng (19 doubles, written) the engineering constants Ex, Ey, Ez,
// Gx (xy), Gy (yz), Gz (zx), NUxy, NUyx, NUxz, NUzx, NUyz, NUzy, ALPx, ALPy,
// ALPz, ALPxy, ALPyz, ALPzx, DENS. The moduli and expansion coefficients
// are those of the laminate free to bend (its curvature unrestrained), the
// stiffness outD that with the curvature held at zero.
//
// 0; 1 when a matrix inversion fails or the results are not finite; -1 for
// invalid input (a null array, nMat or nPly below 1, a material index out of
// range, a thickness that is negative or not finite, a total thickness of
// 0). Nothing is written unless the result is 0.
int LamToMat9(int nMat, const double* D, const double* alpha, const double* density, int nPly,
              const int* plyMat, const double* plyAngleDeg, const double* plyThick, double z0,
              double kappa, double outD[36], double outEng[19]);

#endif  // PLYSTRAND_LAYUPLIB_LAMTOMAT9_H
