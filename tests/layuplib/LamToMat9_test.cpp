// Laminate mechanics against references computed here, independently of the
// code under test: classical laminate theory (textbook ply rotation
// formulas, ABD matrices) and a three-dimensional homogenisation that
// averages each ply's partly inverted stiffness, plies rotated as
// fourth-order tensors.

#include "layuplib/LamToMat9.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "layuplib/CKpElem.h"
#include "layuplib/CKpElemLypPly.h"
#include "layuplib/CKpElemLypPlyStore.h"
#include "layuplib/CKpElemStore.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpFacetStore.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/CKpLamStore.h"
#include "layuplib/CKpLayup.h"
#include "layuplib/CKpMatStore.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpNode.h"
#include "layuplib/CKpPhysProp.h"
#include "layuplib/CKpPlyElem.h"
#include "layuplib/CKpPropStore.h"
#include "layuplib/LamsToMats.h"
#include "layuplib/angle_util.h"
#include "layuplib/calculate_thickness.h"
#include "tests/support/RecordingGUI.h"
#include "tests/support/Tolerance.h"

namespace {

using Mat = std::vector<double>;  // row-major

// ---- reference

Mat invert(Mat a, int n) {  // Gauss-Jordan with row pivoting
    Mat x(n * n, 0.0);
    for (int i = 0; i < n; ++i) x[i * n + i] = 1.0;
    for (int k = 0; k < n; ++k) {
        int p = k;
        for (int r = k; r < n; ++r)
            if (std::fabs(a[r * n + k]) > std::fabs(a[p * n + k])) p = r;
        for (int c = 0; c < n; ++c)
            std::swap(a[k * n + c], a[p * n + c]), std::swap(x[k * n + c], x[p * n + c]);
        for (int r = 0; r < n; ++r) {
            const double f = (r == k) ? 1.0 - 1.0 / a[k * n + k] : a[r * n + k] / a[k * n + k];
            for (int c = 0; c < n; ++c)
                a[r * n + c] -= f * a[k * n + c], x[r * n + c] -= f * x[k * n + c];
        }
    }
    return x;
}

Mat mul(const Mat& a, const Mat& b, int n, int m, int p) {
    Mat c(n * p, 0.0);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < p; ++j)
            for (int k = 0; k < m; ++k) c[i * p + j] += a[i * m + k] * b[k * p + j];
    return c;
}

struct Ortho {  // material axes
    double E1, E2, E3, G12, G23, G13, nu12, nu23, nu13, a1, a2, a3, rho;
};
const Ortho kCarbon{140e3, 10e3, 10e3,    5e3,   3.5e3, 5e3,   0.3,
                    0.45,  0.3,  -0.5e-6, 30e-6, 30e-6, 1.6e-9};
const Ortho kGlass{40e3, 12e3, 12e3, 4.5e3, 4e3, 4.5e3, 0.28, 0.4, 0.28, 7e-6, 22e-6, 22e-6, 2e-9};

// Textbook order xx, yy, zz, yz, zx, xy; engineering shear strains.
Mat stiffness(const Ortho& m) {
    Mat S(36, 0.0);
    S[0] = 1 / m.E1, S[7] = 1 / m.E2, S[14] = 1 / m.E3;
    S[1] = S[6] = -m.nu12 / m.E1, S[2] = S[12] = -m.nu13 / m.E1, S[8] = S[13] = -m.nu23 / m.E2;
    S[21] = 1 / m.G23, S[28] = 1 / m.G13, S[35] = 1 / m.G12;
    return invert(S, 6);
}

const int kV[3][3] = {{0, 5, 4}, {5, 1, 3}, {4, 3, 2}};  // Voigt position of (i, j)

// C'_ijkl = R_ip R_jq R_kr R_ls C_pqrs, R holding the material axes as columns.
Mat rotateStiffness(const Mat& C, const Mat& R) {
    Mat out(36, 0.0);
    for (int i = 0; i < 81; ++i)
        for (int j = 0; j < 81; ++j) {
            const int a = i / 27, b = i / 9 % 3, c = i / 3 % 3, d = i % 3;
            const int p = j / 27, q = j / 9 % 3, r = j / 3 % 3, s = j % 3;
            if (b < a || d < c) continue;
            out[kV[a][b] * 6 + kV[c][d]] += R[a * 3 + p] * R[b * 3 + q] * R[c * 3 + r] *
                                            R[d * 3 + s] * C[kV[p][q] * 6 + kV[r][s]];
        }
    return out;
}

Mat rotationZ(double deg) {
    const double c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
    return {c, -s, 0, s, c, 0, 0, 0, 1};
}

// In-plane expansion of a ply turned by deg: x, y, xy (engineering shear).
Mat inPlaneAlpha(const Ortho& m, double deg) {
    const double c = std::cos(deg * kPi / 180), s = std::sin(deg * kPi / 180);
    return {m.a1 * c * c + m.a2 * s * s, m.a1 * s * s + m.a2 * c * c, 2 * (m.a1 - m.a2) * s * c};
}

const int kI[3] = {0, 1, 5}, kT[3] = {2, 3, 4};  // in-plane, transverse textbook slots

// A textbook-order 6x6 as in-plane / transverse blocks, and back.
struct Blocks {
    Mat II, IT, TI, TT;
};
Blocks split(const Mat& C) {
    Blocks b{Mat(9), Mat(9), Mat(9), Mat(9)};
    for (int i = 0; i < 9; ++i) {
        const int r = i / 3, k = i % 3;
        b.II[i] = C[kI[r] * 6 + kI[k]], b.IT[i] = C[kI[r] * 6 + kT[k]];
        b.TI[i] = C[kT[r] * 6 + kI[k]], b.TT[i] = C[kT[r] * 6 + kT[k]];
    }
    return b;
}
Mat join(const Blocks& b) {
    Mat C(36);
    for (int i = 0; i < 9; ++i) {
        const int r = i / 3, k = i % 3;
        C[kI[r] * 6 + kI[k]] = b.II[i], C[kI[r] * 6 + kT[k]] = b.IT[i];
        C[kT[r] * 6 + kI[k]] = b.TI[i], C[kT[r] * 6 + kT[k]] = b.TT[i];
    }
    return C;
}

// In-plane stiffness with the transverse stresses condensed out.
Mat condensed(const Blocks& b) {
    const Mat red = mul(b.IT, mul(invert(b.TT, 3), b.TI, 3, 3, 3), 3, 3, 3);
    Mat out(9);
    for (int i = 0; i < 9; ++i) out[i] = b.II[i] - red[i];
    return out;
}

struct Layer {
    const Ortho* mat;
    double angle, t;  // degrees, thickness
};

// Curvature held at zero: average the mixed form (in-plane strain,
// transverse stress) -> (in-plane stress, transverse strain), turn it back.
struct Homogenised {
    Mat C, alpha;  // textbook order
};
Homogenised homogenise(const std::vector<Layer>& layers) {
    double H = 0;
    for (const Layer& l : layers) H += l.t;
    Mat hII(9), hIT(9), hTI(9), hTT(9), gI(3), gT(3);
    for (const Layer& l : layers) {
        const Blocks c = split(rotateStiffness(stiffness(*l.mat), rotationZ(l.angle)));
        const Mat aI = inPlaneAlpha(*l.mat, l.angle), aT = {l.mat->a3, 0, 0};
        const Mat tt = invert(c.TT, 3), ttTI = mul(tt, c.TI, 3, 3, 3),
                  itTT = mul(c.IT, tt, 3, 3, 3);
        const Mat mII = condensed(c);
        const Mat mIIaI = mul(mII, aI, 3, 3, 1), ttTIaI = mul(ttTI, aI, 3, 3, 1);
        const double w = l.t / H;
        for (int i = 0; i < 9; ++i)
            hII[i] += w * mII[i], hIT[i] += w * itTT[i], hTI[i] -= w * ttTI[i], hTT[i] += w * tt[i];
        for (int i = 0; i < 3; ++i) gI[i] += w * mIIaI[i], gT[i] += w * (aT[i] + ttTIaI[i]);
    }
    Blocks b{Mat(9), {}, mul(invert(hTT, 3), hTI, 3, 3, 3), invert(hTT, 3)};
    for (double& v : b.TI) v = -v;
    b.IT = mul(hIT, b.TT, 3, 3, 3);
    const Mat itTI = mul(hIT, b.TI, 3, 3, 3);
    for (int i = 0; i < 9; ++i) b.II[i] = hII[i] + itTI[i];
    Homogenised h{join(b), Mat(6)};
    const Mat eI = mul(invert(hII, 3), gI, 3, 3, 1), eT = mul(hTI, eI, 3, 3, 1);  // stress free
    for (int i = 0; i < 3; ++i) h.alpha[kI[i]] = eI[i], h.alpha[kT[i]] = eT[i] + gT[i];
    return h;
}

// Classical laminate theory about mid-thickness, components x, y, xy.
struct Clt {
    Mat ABD;
    double H, Ex, Ey, Gxy, nuxy, nuyx, alp[3];
};
Clt clt(const std::vector<Layer>& layers) {
    Clt r{Mat(36, 0.0), 0, 0, 0, 0, 0, 0, {}};
    for (const Layer& l : layers) r.H += l.t;
    Mat NT(6, 0.0);
    double z = -r.H / 2;
    for (const Layer& l : layers) {
        const Ortho& m = *l.mat;
        // Plane-stress stiffness: the rotated ply with the transverse stresses condensed out.
        const Mat Q = condensed(split(rotateStiffness(stiffness(m), rotationZ(l.angle))));
        const Mat Qa = mul(Q, inPlaneAlpha(m, l.angle), 3, 3, 1);
        const double z1 = z + l.t,
                     w[3] = {l.t, (z1 * z1 - z * z) / 2, (z1 * z1 * z1 - z * z * z) / 3};
        for (int i = 0; i < 9; ++i) {
            const int a = i / 3, b = i % 3;
            r.ABD[a * 6 + b] += w[0] * Q[i], r.ABD[a * 6 + 3 + b] += w[1] * Q[i];
            r.ABD[(3 + a) * 6 + b] += w[1] * Q[i], r.ABD[(3 + a) * 6 + 3 + b] += w[2] * Q[i];
        }
        for (int i = 0; i < 3; ++i) NT[i] += w[0] * Qa[i], NT[3 + i] += w[1] * Qa[i];
        z = z1;
    }
    const Mat abd = invert(r.ABD, 6), e = mul(abd, NT, 6, 6, 1);
    r.Ex = 1 / (r.H * abd[0]), r.Ey = 1 / (r.H * abd[7]), r.Gxy = 1 / (r.H * abd[14]);
    r.nuxy = -abd[1] / abd[0], r.nuyx = -abd[1] / abd[7];
    r.alp[0] = e[0], r.alp[1] = e[1], r.alp[2] = e[2];
    return r;
}

// ---- code under test

constexpr int EX = 0, EY = 1, EZ = 2, GX = 3, GY = 4, GZ = 5, NUXY = 6, NUYX = 7, NUXZ = 8,
              NUZX = 9, NUYZ = 10, NUZY = 11, ALPX = 12, ALPY = 13, ALPZ = 14, ALPXY = 15,
              ALPYZ = 16, ALPZX = 17, DENS = 18;

struct LamRun {
    int status = -99;
    double D[36] = {}, eng[19] = {};  // solver order; Ex .. DENS
    Mat textbook() const {
        static const int q[6] = {0, 1, 2, 4, 5, 3};
        Mat t(36);
        for (int i = 0; i < 36; ++i) t[i] = D[q[i / 6] * 6 + q[i % 6]];
        return t;
    }
};

LamRun runLam(const std::vector<Layer>& layers, double scale = 1.0) {
    Mat D, alpha, dens, ang, thick;
    std::vector<int> plyMat;
    double H = 0;
    for (const Layer& l : layers) {  // one material entry per layer
        const Mat C = stiffness(*l.mat);
        D.insert(D.end(), C.begin(), C.end());
        alpha.insert(alpha.end(), {l.mat->a1, l.mat->a2, l.mat->a3, 0, 0, 0});
        dens.push_back(l.mat->rho), ang.push_back(l.angle), thick.push_back(l.t * scale);
        plyMat.push_back(static_cast<int>(plyMat.size()));
        H += l.t * scale;
    }
    LamRun r;
    const int n = static_cast<int>(layers.size());
    r.status = LamToMat9(n, D.data(), alpha.data(), dens.data(), n, plyMat.data(), ang.data(),
                         thick.data(), -H / 2, 1.0, r.D, r.eng);
    return r;
}

// Entries equal within `rel` of the largest magnitude expected.
::testing::AssertionResult NearScaled(const Mat& actual, const Mat& expected, double rel) {
    double scale = 0;
    for (double v : expected) scale = std::max(scale, std::fabs(v));
    return NearArray(actual, expected, expected.size(), Tol{rel * scale, 0.0});
}

std::vector<Layer> stack(const Ortho& m, std::initializer_list<double> angles) {
    std::vector<Layer> out;
    for (double a : angles) out.push_back({&m, a, 0.125});
    return out;
}

constexpr Tol kRel{0.0, 1e-9};
constexpr Tol kAlp{1e-15, 1e-8};

}  // namespace

TEST(MatrixHelpers, ProductsInversionAndReordering) {
    const double A[6] = {1, 2, 3, 4, 5, 6}, B[6] = {7, 8, 9, 10, 11, 12};
    double out[9] = {-1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(MhMatMul(A, 2, 3, B, 2, 3, out), 1);  // shapes do not fit
    ASSERT_EQ(MhMatMul(A, 2, 3, B, 3, 2, out), 0);
    EXPECT_EQ(out[3], 154);
    const double zeroColumn[9] = {0, 1, 2, 0, 3, 4, 0, 5, 6},
                 rankTwo[9] = {1, 0, 1, 0, 1, 1, 1, 1, 2};
    out[0] = -1;
    EXPECT_EQ(MhMatInv(A, 2, 3, out), 1);
    EXPECT_EQ(MhMatInv(zeroColumn, 3, 3, out), 2);
    EXPECT_EQ(MhMatInv(rankTwo, 3, 3, out), 3);
    EXPECT_EQ(out[0], -1);  // nothing written on failure

    double D[36] = {};
    for (int i = 0; i < 6; ++i) D[i * 7] = i + 1;
    KorbeldToJones(D);
    EXPECT_EQ((Mat{D[0], D[7], D[14], D[21], D[28], D[35]}), (Mat{1, 2, 3, 5, 6, 4}));
}

TEST(MaterialStiffness, ThreeDimensionalStatesAndRefusals) {
    RecordingGUI gui;
    CKpMsg log;
    log.SetGUI(&gui);
    double D[36], a[6], rho = -1;
    Mat S(36);
    CKpMat iso(1);
    iso.setDir(1), iso.setEx(70e3), iso.setNuxy(0.33), iso.setAlpx(23e-6), iso.setDens(2.7e-9);
    ASSERT_EQ(material_stiff3d(&log, &iso, D, a, &rho), 0);
    ASSERT_EQ(MhMatInv(D, 6, 6, S.data()), 0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(S[i * 7], 1 / 70e3, kRel));
    EXPECT_TRUE(Near(S[3 * 7], 2 * 1.33 / 70e3, kRel));
    EXPECT_EQ(a[2] + a[3] + rho, 23e-6 + 2.7e-9);

    D[0] = -5;  // refusals leave the outputs alone
    CKpMat flat(4), soft(5), rubber(6);
    flat.setMtrlnm("Tape"), flat.setDir(4), flat.setEx(1);
    soft.setMtrlnm("Soft"), soft.setDir(2), soft.setEx(1), soft.setEy(1), soft.setGxy(1);
    rubber.setMtrlnm("Rubber"), rubber.setDir(1), rubber.setEx(10), rubber.setNuxy(0.5);
    for (CKpMat* m : {&flat, &soft, &rubber}) EXPECT_EQ(material_stiff3d(&log, m, D, a, &rho), -1);
    EXPECT_EQ(D[0], -5);
    const std::string head = "The 3D stiffness matrix cannot be calculated for material ";
    EXPECT_EQ(gui.texts(4),
              (std::vector<std::string>{
                  head + "Tape because it references 2D material properties. Please modify this "
                         "material so that it references isotropic or 3D material properties.",
                  head + "Soft because a Young's or shear modulus is not positive.",
                  head + "Rubber because its compliance matrix is singular."}));
}

// In-plane constants and expansion of symmetric, unsymmetric, balanced and
// quasi-isotropic laminates; A / H from the stiffness with the transverse
// stresses condensed out.
TEST(LamToMat9, InPlaneConstantsMatchLaminateTheory) {
    const std::vector<std::vector<Layer>> cases = {
        stack(kCarbon, {0, 90}),
        stack(kCarbon, {45, -45, -45, 45}),
        stack(kCarbon, {0, 45, -45, 90, 90, -45, 45, 0}),
        {{&kCarbon, 30, 0.2}, {&kGlass, -60, 0.1}, {&kCarbon, 10, 0.15}}};
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        const LamRun r = runLam(cases[k]);
        ASSERT_EQ(r.status, 0);
        const Clt c = clt(cases[k]);
        const double got[8] = {r.eng[EX],   r.eng[EY],   r.eng[GX],   r.eng[NUXY],
                               r.eng[NUYX], r.eng[ALPX], r.eng[ALPY], r.eng[ALPXY]};
        const double want[8] = {c.Ex, c.Ey, c.Gxy, c.nuxy, c.nuyx, c.alp[0], c.alp[1], c.alp[2]};
        EXPECT_TRUE(NearArray(got, want, 5, kRel));
        EXPECT_TRUE(NearArray(got + 5, want + 5, 3, kAlp));

        Mat AoverH(9);
        for (int i = 0; i < 9; ++i) AoverH[i] = c.ABD[i / 3 * 6 + i % 3] / c.H;
        EXPECT_TRUE(NearScaled(condensed(split(r.textbook())), AoverH, 1e-9));
    }
    // Balanced: no extension-shear coupling. Quasi-isotropic: isotropic in plane.
    const LamRun b = runLam(cases[1]), q = runLam(cases[2]);
    EXPECT_LT(std::fabs(b.D[0 * 6 + 3]) + std::fabs(b.D[1 * 6 + 3]), 1e-12 * b.D[0]);
    EXPECT_TRUE(Near(q.eng[GX], q.eng[EX] / (2 * (1 + q.eng[NUXY])), kRel));
    EXPECT_TRUE(Near(q.eng[ALPX], q.eng[ALPY], kAlp));
}

TEST(LamToMat9, ThreeDimensionalConstantsMatchHomogenisation) {
    const std::vector<std::vector<Layer>> cases = {
        stack(kCarbon, {0, 90, 90, 0}),
        {{&kCarbon, 30, 0.2},
         {&kGlass, -45, 0.1},
         {&kCarbon, 60, 0.3},
         {&kCarbon, 60, 0.3},
         {&kGlass, -45, 0.1},
         {&kCarbon, 30, 0.2}},
        {{&kGlass, 0, 0.3}}};  // one layer gives its own material back
    for (size_t k = 0; k < cases.size(); ++k) {
        SCOPED_TRACE(k);
        const LamRun r = runLam(cases[k]);
        ASSERT_EQ(r.status, 0);
        const Homogenised h = homogenise(cases[k]);
        EXPECT_TRUE(NearScaled(r.textbook(), h.C, 1e-9));
        const Mat S = invert(h.C, 6);  // textbook order
        const double got[7] = {r.eng[EZ],   r.eng[GY],   r.eng[GZ],  r.eng[NUXZ],
                               r.eng[NUZX], r.eng[NUYZ], r.eng[NUZY]};
        const double want[7] = {1 / S[14],     1 / S[21],     1 / S[28],    -S[12] / S[0],
                                -S[2] / S[14], -S[13] / S[7], -S[8] / S[14]};
        EXPECT_TRUE(NearArray(got, want, 7, kRel));
        const double alp[6] = {r.eng[ALPX],  r.eng[ALPY],  r.eng[ALPZ],
                               r.eng[ALPYZ], r.eng[ALPZX], r.eng[ALPXY]};
        EXPECT_TRUE(NearArray(alp, h.alpha, 6, kAlp));
        double mass = 0, H = 0;
        for (const Layer& l : cases[k]) mass += l.t * l.mat->rho, H += l.t;
        EXPECT_TRUE(Near(r.eng[DENS], mass / H, kRel));
        const LamRun micro = runLam(cases[k], 1e-6);  // the length unit does not matter
        EXPECT_TRUE(NearArray(micro.D, r.D, 36, Tol{1e-9 * r.D[0], 0.0}));
        EXPECT_TRUE(NearArray(micro.eng, r.eng, 12, Tol{0, 1e-8}));
    }
    EXPECT_TRUE(Near(runLam(cases[2]).eng[EX], kGlass.E1, kRel));
    EXPECT_TRUE(Near(runLam({{&kGlass, 90, 0.3}}).eng[EY], kGlass.E1, kRel));
}

TEST(LamToMat9, InvalidInputAndSingularStacksAreRefused) {
    const Mat C = stiffness(kCarbon), Z(36, 0.0);
    const double alpha[6] = {}, dens[1] = {1}, ang[2] = {}, thick[2] = {0.1, 0.1};
    const double negative[2] = {0.2, -0.1};
    const int mat[2] = {0, 1}, same[2] = {0, 0};
    double D[36], eng[19];
    D[0] = 3;
    EXPECT_EQ(LamToMat9(1, C.data(), alpha, dens, 0, mat, ang, thick, 0, 1, D, eng), -1);
    EXPECT_EQ(LamToMat9(1, C.data(), alpha, dens, 2, mat, ang, thick, 0, 1, D, eng), -1);
    EXPECT_EQ(LamToMat9(1, C.data(), alpha, dens, 2, same, ang, negative, 0, 1, D, eng), -1);
    EXPECT_EQ(LamToMat9(1, Z.data(), alpha, dens, 1, mat, ang, thick, 0, 1, D, eng), 1);
    EXPECT_EQ(D[0], 3);  // nothing written
}

TEST(CalculateThickness, ShearAngleAndCoefficients) {
    CKpMat m(1);
    m.setMtrlthck(0.25);
    EXPECT_TRUE(Near(calculate_thickness(&m, kPi / 3), 0.5, tol::length));
    m.setA(0.1, 0, 0), m.setB(0, 0.2, -0.05);
    EXPECT_EQ(calculate_thickness(&m, 0.0), 0.25);
    const double x = 0.4,
                 want = 0.25 / (std::cos(x) * (1 + 0.1 * x) * (1 + 0.2 * x * x - 0.05 * x * x * x));
    EXPECT_TRUE(Near(calculate_thickness(&m, x), want, tol::length));
    EXPECT_EQ(calculate_thickness(nullptr, x), 0.0);
}

namespace {

// A plate of nx x 1 unit-square quad4 elements (two facets each) in the
// xy plane, with one ply of mats[e % size] per element.
struct Plate {
    std::vector<std::unique_ptr<CKpNode>> nodes;
    std::vector<std::unique_ptr<CKpPlyElem>> plies;
    CKpElemStore elems;
    CKpFacetStore facets;
    Plate(int nx, const std::vector<CKpMat*>& mats) {
        for (int k = 0; k < 2 * (nx + 1); ++k) {
            nodes.push_back(std::make_unique<CKpNode>(k + 1));
            nodes.back()->getCKpPoint()->Set(k % (nx + 1), k / (nx + 1), 0.0);
        }
        facets.setFacets(alloc_pfacet(2 * nx), 2 * nx);
        for (int e = 0; e < nx; ++e) {
            CKpElem* elem = elems.NewElem(e + 1, 1);
            elems.insert(elem);
            CKpNode* c[4] = {nodes[e].get(), nodes[e + 1].get(), nodes[nx + 2 + e].get(),
                             nodes[nx + 1 + e].get()};
            for (int k = 0; k < 2; ++k) {
                CKpFacet* f = new CKpFacet(2 * e + k);
                for (int v = 0; v < 3; ++v) f->setCKpNode(v, c[(2 * k + v) % 4]);
                facets.pFac(2 * e + k, f);
                elem->setfacs(k, 2 * e + k);
            }
            plies.push_back(std::make_unique<CKpPlyElem>(mats[e % mats.size()], nullptr));
            elem->getElemLypPlies()->InsertLast(new CKpElemLypPly(nullptr, plies.back().get()));
        }
    }
    ~Plate() { elems.eraseAllObjects(); }
};

}  // namespace

TEST(CKpPhysProp, PlateOfTwoMaterials) {
    CKpMat light(1), heavy(2);
    light.setMtrlthck(1.0), light.setDens(1.0), heavy.setMtrlthck(2.0), heavy.setDens(5.0);
    Plate plate(2, {&light, &heavy});
    CKpPhysProp p;
    ASSERT_EQ(p.Calc(&plate.elems, &plate.facets), 1);
    const double m1 = 1, m2 = 10, M = m1 + m2, cx = (m1 * 0.5 + m2 * 1.5) / M;  // unit squares
    const double Iyy = M / 12 + m1 * (0.5 - cx) * (0.5 - cx) + m2 * (1.5 - cx) * (1.5 - cx);
    const double want[12] = {2, 3, M, cx, 0.5, 0, M / 12, Iyy, M / 12 + Iyy, 0, 0, 0};
    EXPECT_TRUE(NearArray(p.values(), want, 12, Tol{1e-12, 1e-12}));

    CKpElemStore none;
    EXPECT_EQ(p.Calc(&none, &plate.facets), 1);
    EXPECT_EQ(p.mass() + p.cg(0) + p.inertia(0), 0.0);
    EXPECT_EQ(p.Calc(nullptr, &plate.facets), 0);
}

namespace {

void setOrtho(CKpMat& m, const Ortho& o) {
    m.setDir(2), m.setEx(o.E1), m.setEy(o.E2), m.setEz(o.E3), m.setNuxy(o.nu12), m.setNuyz(o.nu23);
    m.setNuzx(o.nu13 * o.E3 / o.E1), m.setGxy(o.G12), m.setGyz(o.G23), m.setGzx(o.G13);
    m.setAlpx(o.a1), m.setAlpy(o.a2), m.setAlpz(o.a3), m.setDens(o.rho);
}

// The 21 stiffness terms of a directionality-3 material: solver position,
// setter, getter.
using Set = void (CKpMatProp::*)(double);
using Get = double (CKpMatProp::*)() const;
struct Term {
    int i, j;
    Set set;
    Get get;
};
#define TERM(i, j, f, g) \
    { i, j, &CKpMatProp::f, &CKpMatProp::g }
const Term kTerms[21] = {
    TERM(0, 0, setEx, ex),     TERM(1, 1, setEy, ey),     TERM(2, 2, setEz, ez),
    TERM(3, 3, setGxy, gxy),   TERM(4, 4, setGyz, gyz),   TERM(5, 5, setGzx, gzx),
    TERM(0, 1, setNuxy, nuxy), TERM(1, 2, setNuyz, nuyz), TERM(0, 2, setNuzx, nuzx),
    TERM(0, 3, setC14, c14),   TERM(0, 4, setC15, c15),   TERM(0, 5, setC16, c16),
    TERM(1, 3, setC24, c24),   TERM(1, 4, setC25, c25),   TERM(1, 5, setC26, c26),
    TERM(2, 3, setC34, c34),   TERM(2, 4, setC35, c35),   TERM(2, 5, setC36, c36),
    TERM(3, 4, setC45, c45),   TERM(3, 5, setC46, c46),   TERM(4, 5, setC56, c56)};
#undef TERM
const int kTextbookOf[6] = {0, 1, 2, 5, 3, 4};  // textbook position of solver i

// Every stored term against the textbook-order stiffness C.
::testing::AssertionResult SameStiffness(const CKpMat& m, const Mat& C) {
    Mat got, want;
    for (const Term& t : kTerms) {
        got.push_back((m.*t.get)());
        want.push_back(C[kTextbookOf[t.i] * 6 + kTextbookOf[t.j]]);
    }
    return NearScaled(got, want, 1e-9);
}

struct Equivalent : ::testing::Test {
    RecordingGUI gui;
    CKpLayup model{nullptr, &gui};
    CKpLam* addLam(int id, const char* name, int mid, std::initializer_list<double> angles) {
        CKpLam* lam = new CKpLam(id);
        lam->name(name);
        model.pLams()->insert(lam);
        for (double a : angles) {
            CKpLamLyr* lyr = new CKpLamLyr();
            lyr->setMid(mid), lyr->setT(0.125), lyr->setTheta(a * kPi / 180);
            lam->LamLyrs()->InsertLast(lyr);
        }
        return lam;
    }
};

}  // namespace

TEST_F(Equivalent, LaminatesBecomeMaterialsAndNothingDangles) {
    const std::string path = ::testing::TempDir() + "lams_to_mats.msg";
    ASSERT_EQ(model.OpenMessage(path.c_str()), 0);
    CKpMat* carbon = new CKpMat(1);
    setOrtho(*carbon, kCarbon);
    model.pMats()->insert(carbon);
    model.pLamMats()->insert(new CKpMat(1));  // from an earlier run: replaced
    CKpLam* lam = addLam(3, "L3", 1, {0, 90, 90, 0});
    CKpElem* elem = model.pElems()->NewElem(1, 11);
    model.pElems()->insert(elem);
    elem->pid(3);
    CKpProp* prop = new CKpProp(1, "L", 118, lam, nullptr, 0.0, CKpDirn(), 0, nullptr);
    model.pProps()->insert(prop);

    ASSERT_EQ(LamsToMats(&model), 0);
    EXPECT_TRUE(gui.texts(4).empty());
    EXPECT_EQ(model.pLams()->entries(), 0);
    EXPECT_EQ(prop->pLam(), nullptr);
    EXPECT_EQ(elem->pid(), 0);
    EXPECT_STREQ(prop->matName(), "L3");
    ASSERT_EQ(model.pLamMats()->entries(), 1);
    const CKpMat* eq = (*model.pLamMats())[0];
    EXPECT_STREQ(eq->mtrlnm(), "L3");
    EXPECT_EQ(eq->dir(), 3);
    const Homogenised h = homogenise(stack(kCarbon, {0, 90, 90, 0}));
    EXPECT_TRUE(SameStiffness(*eq, h.C));
    EXPECT_TRUE(Near(eq->alpz(), h.alpha[2], kAlp));
    EXPECT_TRUE(Near(eq->dens(), kCarbon.rho, kRel));

    ASSERT_EQ(model.CloseMessage(), 0);
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    char ex[64];
    std::snprintf(ex, sizeof ex, "\n$#   Ex:    %16G\n", clt(stack(kCarbon, {0, 90, 90, 0})).Ex);
    for (const char* line :
         {"\n$# Calculating equivalent properties of laminate L3\n",
          "\n$#  Elastic Stiffness Matrix: (Korbeld convention)\n", static_cast<const char*>(ex)})
        EXPECT_NE(text.str().find(line), std::string::npos) << line;
}

// One anisotropic layer comes back as itself, shear expansions in their own
// slots (a4 xy, a5 yz, a6 zx).
TEST_F(Equivalent, ShearExpansionKeepsItsComponents) {
    const Mat Ct = rotateStiffness(
        stiffness(kCarbon), mul(rotationZ(50), Mat{1, 0, 0, 0, 0.8, -0.6, 0, 0.6, 0.8}, 3, 3, 3));
    CKpMat* m = new CKpMat(4);
    m->setDir(3), m->setAlpz(3e-6), m->setA4(4e-6), m->setA5(5e-6), m->setA6(6e-6);
    for (const Term& t : kTerms) (m->*t.set)(Ct[kTextbookOf[t.i] * 6 + kTextbookOf[t.j]]);
    model.pMats()->insert(m);
    addLam(1, "One", 4, {0});
    ASSERT_EQ(LamsToMats(&model), 0);
    const CKpMat* eq = (*model.pLamMats())[0];
    ASSERT_NE(eq, nullptr);
    EXPECT_TRUE(SameStiffness(*eq, Ct));
    const double alp[4] = {eq->alpz(), eq->a4(), eq->a5(), eq->a6()};
    EXPECT_TRUE(NearArray(alp, Mat{3e-6, 4e-6, 5e-6, 6e-6}, 4, kAlp));
}

TEST_F(Equivalent, FailuresStopTheRunAndKeepTheLaminates) {
    model.pLamMats()->insert(new CKpMat(2));
    EXPECT_EQ(LamsToMats(&model), 0);  // no laminates: the store is only emptied
    EXPECT_EQ(model.pLamMats()->entries(), 0);
    EXPECT_EQ(LamsToMats(nullptr), -1);

    CKpMat* carbon = new CKpMat(1);
    setOrtho(*carbon, kCarbon);
    model.pMats()->insert(carbon);
    CKpMat* tape = new CKpMat(2);
    tape->setMtrlnm("Tape"), tape->setDir(4);
    model.pMats()->insert(tape);
    addLam(1, "Good", 1, {0, 90});
    CKpLam* bad = addLam(2, "Bad", 9, {0});
    EXPECT_EQ(LamsToMats(&model), -1);
    EXPECT_EQ(model.pLams()->entries(), 2);
    EXPECT_EQ(model.pLamMats()->entries(), 1);  // the first laminate's material stays
    bad->LamLyrs()->First()->setMid(2);
    EXPECT_EQ(LamsToMats(&model), -1);
    bad->LamLyrs()->eraseAllObjects();
    EXPECT_EQ(LamsToMats(&model), -1);
    EXPECT_EQ(model.pLams()->entries(), 2);
    const std::vector<std::string> errors = gui.texts(4);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0],
              "The equivalent properties of laminate Bad could not be calculated because layer 1 "
              "references material 9, which does not exist.");
    EXPECT_NE(errors[1].find("material Tape because it references 2D"), std::string::npos);
    EXPECT_EQ(
        errors[2],
        "The equivalent properties of laminate Bad could not be calculated, probably because of "
        "incorrect input data. These have been written to the message file for verification.");
}
