#include "layuplib/LamToMat9.h"

#include <cmath>
#include <new>
#include <utility>
#include <vector>

#include "layuplib/CKpMat.h"
#include "layuplib/CKpMsg.h"

int MhMatAdd(const double* A, const double* B, int rows, int cols, double* out) {
    if (!A || !B || !out || rows < 0 || cols < 0) return 1;
    const int n = rows * cols;
    for (int i = 0; i < n; ++i) out[i] = A[i] + B[i];
    return 0;
}

int MhMatSub(const double* A, const double* B, int rows, int cols, double* out) {
    if (!A || !B || !out || rows < 0 || cols < 0) return 1;
    const int n = rows * cols;
    for (int i = 0; i < n; ++i) out[i] = A[i] - B[i];
    return 0;
}

int MhMatMul(const double* A, int rowsA, int colsA, const double* B, int rowsB, int colsB,
             double* out) {
    if (rowsB != colsA || !A || !B || !out || rowsA < 0 || colsA < 0 || colsB < 0) return 1;
    for (int i = 0; i < rowsA; ++i)
        for (int j = 0; j < colsB; ++j) {
            double sum = 0.0;
            for (int k = 0; k < colsA; ++k) sum += A[i * colsA + k] * B[k * colsB + j];
            out[i * colsB + j] = sum;
        }
    return 0;
}

int MhMatMulFac(const double* A, int rows, int cols, double factor, double* out) {
    if (rows < 0 || cols < 0) return 1;
    return MhVecMulFac(A, rows * cols, factor, out);
}

int MhVecMulFac(const double* v, int n, double factor, double* out) {
    if (!v || !out || n < 0) return 1;
    for (int i = 0; i < n; ++i) out[i] = factor * v[i];
    return 0;
}

namespace {

const double kTiny = 1e-37;

// Pivot test: NaN compares false, so it counts as too small.
bool tooSmall(double pivot) {
    return !(std::fabs(pivot) >= kTiny);
}

// Inverts the n x n matrix a (destroyed) into x, all columns of the
// identity at once: the elimination of a is the same for every column, so
// this gives what solving column by column would.
int invertInPlace(double* a, double* x, int n) {
    for (int i = 0; i < n * n; ++i) x[i] = 0.0;
    for (int i = 0; i < n; ++i) x[i * n + i] = 1.0;

    // 1. Forward elimination with partial pivoting.
    for (int k = 0; k < n - 1; ++k) {
        int p = k;
        double best = std::fabs(a[k * n + k]);
        for (int r = k + 1; r < n; ++r)
            if (std::fabs(a[r * n + k]) > best) {
                best = std::fabs(a[r * n + k]);
                p = r;
            }
        if (tooSmall(a[p * n + k])) return 2;
        if (p != k)
            for (int c = 0; c < n; ++c) {
                std::swap(a[p * n + c], a[k * n + c]);
                std::swap(x[p * n + c], x[k * n + c]);
            }
        const double pivot = a[k * n + k];
        for (int r = k + 1; r < n; ++r) {
            const double f = a[r * n + k] / pivot;
            if (f == 0.0) continue;
            for (int c = k; c < n; ++c) a[r * n + c] -= f * a[k * n + c];
            for (int c = 0; c < n; ++c) x[r * n + c] -= f * x[k * n + c];
        }
    }
    if (tooSmall(a[(n - 1) * n + (n - 1)])) return 3;

    // 2. Back substitution, every column of x.
    for (int r = n - 1; r >= 0; --r) {
        const double d = a[r * n + r];
        for (int c = 0; c < n; ++c) {
            double sum = x[r * n + c];
            for (int k = r + 1; k < n; ++k) sum -= a[r * n + k] * x[k * n + c];
            x[r * n + c] = sum / d;
        }
    }
    return 0;
}

}  // namespace

int MhMatInv(const double* A, int rows, int cols, double* out) {
    if (!A || !out || rows < 1 || rows != cols) return 1;
    const int n = rows;
    const int nn = n * n;
    // The matrices of the laminate code are at most 9 x 9: no allocation.
    double aSmall[144], xSmall[144];
    std::vector<double> aBig, xBig;
    double* a = aSmall;
    double* x = xSmall;
    if (nn > 144) {
        try {
            aBig.resize(nn);
            xBig.resize(nn);
        } catch (const std::bad_alloc&) {
            return 4;
        }
        a = aBig.data();
        x = xBig.data();
    }
    for (int i = 0; i < nn; ++i) a[i] = A[i];
    const int status = invertInPlace(a, x, n);
    if (status != 0) return status;
    for (int i = 0; i < nn; ++i) out[i] = x[i];
    return 0;
}

namespace {

// Largest deviation of S x D from the identity (6 x 6): near-singular
// compliances pass the pivot test of MhMatInv with a garbage inverse.
double inverseResidual(const double* S, const double* D) {
    double worst = 0.0;
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 6; ++k) sum += S[i * 6 + k] * D[k * 6 + j];
            const double dev = std::fabs(sum - (i == j ? 1.0 : 0.0));
            if (!(dev <= worst)) worst = dev;  // NaN wins
        }
    return worst;
}

const char* matName(const CKpMat* m) {
    return m->mtrlnm();
}

}  // namespace

int material_stiff3d(CKpMsg* log, const CKpMat* material, double D[36], double alpha[6],
                     double* density) {
    if (!material || !D || !alpha || !density) return -1;
    const CKpMat& m = *material;
    double S[36] = {0.0};
    double stiff[36] = {0.0};
    double a[6] = {0.0};

    switch (m.dir()) {
        case 1:
        case 2: {
            double ex = m.ex(), ey, ez, gxy, gyz, gzx, nuxy, nuyz, nuzx;
            if (m.dir() == 1) {
                const double nu = m.nuxy();
                ey = ez = ex;
                nuxy = nuyz = nuzx = nu;
                gxy = gyz = gzx = ex / (2.0 * (nu + 1.0));
                a[0] = a[1] = a[2] = m.alpx();
            } else {
                ey = m.ey();
                ez = m.ez();
                gxy = m.gxy();
                gyz = m.gyz();
                gzx = m.gzx();
                nuxy = m.nuxy();
                nuyz = m.nuyz();
                nuzx = m.nuzx();
                a[0] = m.alpx();
                a[1] = m.alpy();
                a[2] = m.alpz();
            }
            if (!(ex > 0.0 && ey > 0.0 && ez > 0.0 && gxy > 0.0 && gyz > 0.0 && gzx > 0.0)) {
                if (log)
                    log->Create(4,
                                "The 3D stiffness matrix cannot be calculated for material %s "
                                "because a Young's or shear modulus is not positive.",
                                matName(material));
                return -1;
            }
            S[0] = 1.0 / ex;
            S[7] = 1.0 / ey;
            S[14] = 1.0 / ez;
            S[1] = S[6] = -nuxy / ex;
            S[8] = S[13] = -nuyz / ey;
            S[2] = S[12] = -nuzx / ez;
            if (m.dir() == 1) {
                // The isotropic shear compliance as 2 (nu + 1) / E.
                S[21] = S[28] = S[35] = 2.0 * (m.nuxy() + 1.0) / ex;
            } else {
                S[21] = 1.0 / gxy;
                S[28] = 1.0 / gyz;
                S[35] = 1.0 / gzx;
            }
            if (MhMatInv(S, 6, 6, stiff) != 0 || !(inverseResidual(S, stiff) <= 1e-8)) {
                if (log)
                    log->Create(4,
                                "The 3D stiffness matrix cannot be calculated for material %s "
                                "because its compliance matrix is singular.",
                                matName(material));
                return -1;
            }
            break;
        }
        case 3: {
            const double diag[6] = {m.ex(), m.ey(), m.ez(), m.gxy(), m.gyz(), m.gzx()};
            for (int i = 0; i < 6; ++i) stiff[i * 6 + i] = diag[i];
            const struct {
                int i, j;
                double v;
            } off[] = {{0, 1, m.nuxy()}, {1, 2, m.nuyz()}, {0, 2, m.nuzx()}, {0, 3, m.c14()},
                       {0, 4, m.c15()},  {0, 5, m.c16()},  {1, 3, m.c24()},  {1, 4, m.c25()},
                       {1, 5, m.c26()},  {2, 3, m.c34()},  {2, 4, m.c35()},  {2, 5, m.c36()},
                       {3, 4, m.c45()},  {3, 5, m.c46()},  {4, 5, m.c56()}};
            for (const auto& e : off) stiff[e.i * 6 + e.j] = stiff[e.j * 6 + e.i] = e.v;
            a[0] = m.alpx();
            a[1] = m.alpy();
            a[2] = m.alpz();
            a[3] = m.a4();
            a[4] = m.a5();
            a[5] = m.a6();
            break;
        }
        default:
            if (log)
                log->Create(4,
                            "The 3D stiffness matrix cannot be calculated for material %s because "
                            "it references 2D material properties. Please modify this material "
                            "so that it references isotropic or 3D material properties.",
                            matName(material));
            return -1;
    }
    for (int i = 0; i < 36; ++i) D[i] = stiff[i];
    for (int i = 0; i < 6; ++i) alpha[i] = a[i];
    *density = m.dens();
    return 0;
}

void KorbeldToJones(double D[36]) {
    static const int p[6] = {0, 1, 2, 4, 5, 3};
    double old[36];
    for (int i = 0; i < 36; ++i) old[i] = D[i];
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) D[i * 6 + j] = old[p[i] * 6 + p[j]];
}

namespace {

const int kI[3] = {0, 1, 5};  // in-plane positions, textbook order
const int kT[3] = {2, 3, 4};  // transverse positions

}  // namespace

int ElasMatSplit(int k, const double* matrices, double* allI, double* allT, double* TI, double* II,
                 double* IT, double* TT) {
    if (!matrices || k < 0) return 1;
    const double* M = matrices + 36 * static_cast<long long>(k);
    for (int r = 0; r < 6; ++r)
        for (int j = 0; j < 3; ++j) {
            if (allI) allI[r * 3 + j] = M[r * 6 + kI[j]];
            if (allT) allT[r * 3 + j] = M[r * 6 + kT[j]];
        }
    for (int r = 0; r < 3; ++r)
        for (int j = 0; j < 3; ++j) {
            if (TI) TI[r * 3 + j] = M[kT[r] * 6 + kI[j]];
            if (II) II[r * 3 + j] = M[kI[r] * 6 + kI[j]];
            if (IT) IT[r * 3 + j] = M[kI[r] * 6 + kT[j]];
            if (TT) TT[r * 3 + j] = M[kT[r] * 6 + kT[j]];
        }
    return 0;
}

int ThermMatSplit(int k, const double* vectors, double in[3], double tr[3]) {
    if (!vectors || !in || !tr || k < 0) return 1;
    const double* a = vectors + 6 * static_cast<long long>(k);
    for (int j = 0; j < 3; ++j) {
        in[j] = a[kI[j]];
        tr[j] = a[kT[j]];
    }
    return 0;
}

namespace {

// acc += f x m (n doubles).
void addScaled(double* acc, const double* m, int n, double f) {
    for (int i = 0; i < n; ++i) acc[i] += f * m[i];
}

// The sums over the layers, named as in the derivation: t the layer
// thickness, m1 and m2 its first and second moments about the reference
// plane, Cr the rotated stiffness, Q = inverse of Cr[T][T], P = Q Cr[T][I],
// b the rotated thermal stress vector.
struct LayerSums {
    double S1[18] = {}, S2[18] = {}, S3[18] = {};  // t Cr[:,I], m1 Cr[:,I], t Cr[:,T] Q
    double S4[9] = {}, S5[9] = {}, S6[9] = {};     // t Q, t P, m1 P
    double S7[18] = {}, S8[18] = {};               // t Cr[:,T] P, m1 Cr[:,T] P
    double S9[3] = {}, S10[6] = {}, S11[6] = {};   // t Q bT, t Cr[:,T] Q bT, t b
    double S12[9] = {}, S13[9] = {}, S14[9] = {};  // m1 Cr[I,I], m1 Cr[I,T] Q, m1 Cr[I,T] P
    double S15[9] = {}, S16[9] = {};               // m2 Cr[I,T] P, m2 Cr[I,I]
    double S17[3] = {}, S18[3] = {};               // m1 Cr[I,T] Q bT, m1 bI
    double dens = 0.0;
};

// Adds one layer; false when Cr[T][T] cannot be inverted.
bool addLayer(LayerSums& s, const double* K, const double* alpha, double density, double angleDeg,
              double t, double zb) {
    const double zt = zb + t;
    const double m1 = (zt * zt - zb * zb) / 2.0;
    const double m2 = (zt * zt * zt - zb * zb * zb) / 3.0;

    // 1. Rotation of the stress (T1) and of the engineering strain (T2) in
    // the textbook order.
    const double th = angleDeg * 0.01745329252;
    const double c = std::cos(th), sn = std::sin(th);
    const double cc = c * c, ss = sn * sn, cs = c * sn;
    // clang-format off
    const double T1[36] = {cc,  ss,  0.0, 0.0, 0.0, -2.0 * cs,
                           ss,  cc,  0.0, 0.0, 0.0, 2.0 * cs,
                           0.0, 0.0, 1.0, 0.0, 0.0, 0.0,
                           0.0, 0.0, 0.0, c,   sn,  0.0,
                           0.0, 0.0, 0.0, -sn, c,   0.0,
                           cs,  -cs, 0.0, 0.0, 0.0, cc - ss};
    const double T2[36] = {cc,        ss,       0.0, 0.0, 0.0, cs,
                           ss,        cc,       0.0, 0.0, 0.0, -cs,
                           0.0,       0.0,      1.0, 0.0, 0.0, 0.0,
                           0.0,       0.0,      0.0, c,   -sn, 0.0,
                           0.0,       0.0,      0.0, sn,  c,   0.0,
                           -2.0 * cs, 2.0 * cs, 0.0, 0.0, 0.0, cc - ss};
    // clang-format on

    // 2. Cr = T1 K T2, b = T1 (K alpha).
    double T1K[36], Cr[36], Ka[6], b[6];
    MhMatMul(T1, 6, 6, K, 6, 6, T1K);
    MhMatMul(T1K, 6, 6, T2, 6, 6, Cr);
    MhMatMul(K, 6, 6, alpha, 6, 1, Ka);
    MhMatMul(T1, 6, 6, Ka, 6, 1, b);

    // 3. Blocks, Q and P.
    double CrI[18], CrT[18], CrTI[9], CrII[9], CrIT[9], CrTT[9], bI[3], bT[3];
    ElasMatSplit(0, Cr, CrI, CrT, CrTI, CrII, CrIT, CrTT);
    ThermMatSplit(0, b, bI, bT);
    double Q[9], P[9];
    if (MhMatInv(CrTT, 3, 3, Q) != 0) return false;
    MhMatMul(Q, 3, 3, CrTI, 3, 3, P);

    double CrTQ[18], CrTP[18], CrITQ[9], CrITP[9], QbT[3], CrTQbT[6], CrITQbT[3];
    MhMatMul(CrT, 6, 3, Q, 3, 3, CrTQ);
    MhMatMul(CrT, 6, 3, P, 3, 3, CrTP);
    MhMatMul(CrIT, 3, 3, Q, 3, 3, CrITQ);
    MhMatMul(CrIT, 3, 3, P, 3, 3, CrITP);
    MhMatMul(Q, 3, 3, bT, 3, 1, QbT);
    MhMatMul(CrTQ, 6, 3, bT, 3, 1, CrTQbT);
    MhMatMul(CrITQ, 3, 3, bT, 3, 1, CrITQbT);

    // 4. Accumulate.
    addScaled(s.S1, CrI, 18, t);
    addScaled(s.S2, CrI, 18, m1);
    addScaled(s.S3, CrTQ, 18, t);
    addScaled(s.S4, Q, 9, t);
    addScaled(s.S5, P, 9, t);
    addScaled(s.S6, P, 9, m1);
    addScaled(s.S7, CrTP, 18, t);
    addScaled(s.S8, CrTP, 18, m1);
    addScaled(s.S9, QbT, 3, t);
    addScaled(s.S10, CrTQbT, 6, t);
    addScaled(s.S11, b, 6, t);
    addScaled(s.S12, CrII, 9, m1);
    addScaled(s.S13, CrITQ, 9, m1);
    addScaled(s.S14, CrITP, 9, m1);
    addScaled(s.S15, CrITP, 9, m2);
    addScaled(s.S16, CrII, 9, m2);
    addScaled(s.S17, CrITQbT, 3, m1);
    addScaled(s.S18, bI, 3, m1);
    s.dens += t * density;
    return true;
}

// (A + B C - E) / H into out (rows x 3), with B rows x 3 and C 3 x 3.
void combine(const double* A, const double* B, const double* C, const double* E, int rows, double H,
             double* out) {
    double BC[18];
    MhMatMul(B, rows, 3, C, 3, 3, BC);
    for (int i = 0; i < rows * 3; ++i) out[i] = (A[i] + BC[i] - E[i]) / H;
}

bool allFinite(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

}  // namespace

int LamToMat9(int nMat, const double* D, const double* alpha, const double* density, int nPly,
              const int* plyMat, const double* plyAngleDeg, const double* plyThick, double z0,
              double kappa, double outD[36], double outEng[19]) {
    // 0. Input checks.
    if (!D || !alpha || !density || !plyMat || !plyAngleDeg || !plyThick || !outD || !outEng)
        return -1;
    if (nMat < 1 || nPly < 1) return -1;
    double H = 0.0;
    for (int k = 0; k < nPly; ++k) {
        if (plyMat[k] < 0 || plyMat[k] >= nMat) return -1;
        if (!(plyThick[k] >= 0.0) || !std::isfinite(plyThick[k])) return -1;
        H += plyThick[k];
    }
    if (!(H > 0.0) || !std::isfinite(H)) return -1;

    // 1. The layers, bottom first.
    LayerSums s;
    double zb = z0;
    for (int k = 0; k < nPly; ++k) {
        const int m = plyMat[k];
        if (!addLayer(s, D + 36 * static_cast<long long>(m), alpha + 6 * static_cast<long long>(m),
                      density[m], plyAngleDeg[k], plyThick[k], zb))
            return 1;
        zb += plyThick[k];
    }

    // 2. The 9 x 9 stiffness M of (in-plane strain, mean transverse strain,
    // curvature) against (mean stress, moment / H).
    double R[9];
    if (MhMatInv(s.S4, 3, 3, R) != 0) return 1;
    double S3R[18], S13R[9];
    MhMatMul(s.S3, 6, 3, R, 3, 3, S3R);
    MhMatMul(s.S13, 3, 3, R, 3, 3, S13R);
    double E1[18], E3[18], E4[9], E6[9];
    combine(s.S1, S3R, s.S5, s.S7, 6, H, E1);
    combine(s.S2, S3R, s.S6, s.S8, 6, H, E3);
    combine(s.S12, S13R, s.S5, s.S14, 3, H, E4);
    combine(s.S16, S13R, s.S6, s.S15, 3, H, E6);
    const double* E2 = S3R;
    const double* E5 = S13R;

    double M[81];
    for (int r = 0; r < 6; ++r)
        for (int j = 0; j < 3; ++j) {
            M[r * 9 + kI[j]] = E1[r * 3 + j];
            M[r * 9 + kT[j]] = E2[r * 3 + j];
            M[r * 9 + 6 + j] = E3[r * 3 + j];
        }
    for (int r = 0; r < 3; ++r)
        for (int j = 0; j < 3; ++j) {
            M[(6 + r) * 9 + kI[j]] = E4[r * 3 + j];
            M[(6 + r) * 9 + kT[j]] = E5[r * 3 + j];
            M[(6 + r) * 9 + 6 + j] = E6[r * 3 + j];
        }

    // 3. The stiffness in the solver order.
    static const int p[6] = {0, 1, 2, 5, 3, 4};
    double d[36];
    for (int i = 0; i < 6; ++i)
        for (int j = 0; j < 6; ++j) d[i * 6 + j] = kappa * M[p[i] * 9 + p[j]];

    // 4. The compliance N; the scaling keeps the pivots of stiff laminates
    // in range.
    double Ms[81], N[81];
    MhMatMulFac(M, 9, 9, 0.001, Ms);
    if (MhMatInv(Ms, 9, 9, N) != 0) return 1;
    MhMatMulFac(N, 9, 9, 0.001, N);

    // 5. Engineering constants.
    double eng[19];
    eng[0] = kappa / N[0 * 9 + 0];
    eng[1] = kappa / N[1 * 9 + 1];
    eng[2] = 1.0 / N[2 * 9 + 2];
    eng[3] = kappa / N[5 * 9 + 5];
    eng[4] = 1.0 / N[3 * 9 + 3];
    eng[5] = 1.0 / N[4 * 9 + 4];
    eng[6] = -N[1 * 9 + 0] * eng[0];
    eng[7] = -N[0 * 9 + 1] * eng[1];
    eng[8] = -N[2 * 9 + 0] * eng[0];
    eng[9] = -N[0 * 9 + 2] * eng[2];
    eng[10] = -N[2 * 9 + 1] * eng[1];
    eng[11] = -N[1 * 9 + 2] * eng[2];

    // 6. Thermal expansion: the free strains e = N (w, u) of the mean thermal
    // stresses w and moments u.
    double wu[9], S3RS9[6], S13RS9[3];
    MhMatMul(S3R, 6, 3, s.S9, 3, 1, S3RS9);
    MhMatMul(S13R, 3, 3, s.S9, 3, 1, S13RS9);
    for (int i = 0; i < 6; ++i) wu[i] = (S3RS9[i] - s.S10[i] + s.S11[i]) / H;
    for (int i = 0; i < 3; ++i) wu[6 + i] = (S13RS9[i] - s.S17[i] + s.S18[i]) / H;
    double e[9];
    MhMatMul(N, 9, 9, wu, 9, 1, e);
    eng[12] = e[0];
    eng[13] = e[1];
    eng[14] = e[2];
    // e3, e4, e5 are yz, zx, xy (textbook order); the results are xy, yz, zx.
    eng[15] = e[5];
    eng[16] = e[3];
    eng[17] = e[4];
    eng[18] = s.dens / H;

    if (!allFinite(d, 36) || !allFinite(eng, 19)) return 1;
    for (int i = 0; i < 36; ++i) outD[i] = d[i];
    for (int i = 0; i < 19; ++i) outEng[i] = eng[i];
    return 0;
}
