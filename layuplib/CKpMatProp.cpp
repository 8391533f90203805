#include "layuplib/CKpMatProp.h"

#include <cmath>
#include <cstring>

#include "layuplib/CKpMsg.h"
#include "layuplib/num_util.h"

namespace {

// num / modulus, or 0.0 where the modulus is not positive: an unset or
// meaningless modulus must not turn into an infinite strain.
double overModulus(double num, double modulus) {
    return modulus > 0.0 ? num / modulus : 0.0;
}

// Shear strain per unit shear stress of an isotropic state, 2 (nu + 1) / E,
// or 0.0 where its shear modulus E / (2 (nu + 1)) is not positive.
double isoShearCompliance(double e, double nu) {
    return (e > 0.0 && nu + 1.0 > 0.0) ? 2.0 * (nu + 1.0) / e : 0.0;
}

// Entry indices of GetAllowStrain's output.
enum { kXt, kXc, kYt, kYc, kS12, kS23, kS31, kF12 };

}  // namespace

CKpMatProp::CKpMatProp()
    : m_sttid(0),
      m_strn(0.0),
      m_thckmlt(1.0),
      m_extmtrlid(0),
      m_dir(0),
      m_ex(0.0),
      m_ey(0.0),
      m_ez(0.0),
      m_nuxy(0.0),
      m_nuyz(0.0),
      m_nuzx(0.0),
      m_gxy(0.0),
      m_gyz(0.0),
      m_gzx(0.0),
      m_c14(0.0),
      m_c15(0.0),
      m_c16(0.0),
      m_c24(0.0),
      m_c25(0.0),
      m_c26(0.0),
      m_c34(0.0),
      m_c35(0.0),
      m_c36(0.0),
      m_c45(0.0),
      m_c46(0.0),
      m_c56(0.0),
      m_alpx(0.0),
      m_alpy(0.0),
      m_alpz(0.0),
      m_a4(0.0),
      m_a5(0.0),
      m_a6(0.0),
      m_fxt(0.0),
      m_fyt(0.0),
      m_fzt(0.0),
      m_fxc(0.0),
      m_fyc(0.0),
      m_fzc(0.0),
      m_fs12(0.0),
      m_fs23(0.0),
      m_fs31(0.0),
      m_f12(0.0),
      m_f23(0.0),
      m_f31(0.0),
      m_strnallow(0),
      m_dens(0.0),
      m_tref(0.0),
      m_ge(0.0) {}

CKpMatProp::CKpMatProp(int sttid, double strn, double thckmlt, const char* extName, int extId,
                       int tropy, double ex, double ey, double ez, double nuxy, double nuyz,
                       double nuzx, double gxy, double gyz, double gzx, double c14, double c15,
                       double c16, double c24, double c25, double c26, double c34, double c35,
                       double c36, double c45, double c46, double c56, double alpx, double alpy,
                       double alpz, double a4, double a5, double a6, double fxt, double fyt,
                       double fzt, double fxc, double fyc, double fzc, double fs12, double fs23,
                       double fs31, double f12, double f23, double f31, double dens, double tref,
                       double ge)
    : CKpMatProp() {
    m_sttid = sttid;
    m_strn = strn;
    m_thckmlt = thckmlt;
    setMatPropVal(extName, extId, tropy, ex, ey, ez, nuxy, nuyz, nuzx, gxy, gyz, gzx, c14, c15, c16,
                  c24, c25, c26, c34, c35, c36, c45, c46, c56, alpx, alpy, alpz, a4, a5, a6, fxt,
                  fyt, fzt, fxc, fyc, fzc, fs12, fs23, fs31, f12, f23, f31, dens, tref, ge);
}

// The list item base is built fresh: a copy must not share the original's
// links.
CKpMatProp::CKpMatProp(const CKpMatProp& o)
    : IVekMaterialState(o),
      CVekListItem(),
      m_sttid(o.m_sttid),
      m_strn(o.m_strn),
      m_thckmlt(o.m_thckmlt),
      m_extmtrlnm(o.m_extmtrlnm),
      m_extmtrlid(o.m_extmtrlid),
      m_dir(o.m_dir),
      m_ex(o.m_ex),
      m_ey(o.m_ey),
      m_ez(o.m_ez),
      m_nuxy(o.m_nuxy),
      m_nuyz(o.m_nuyz),
      m_nuzx(o.m_nuzx),
      m_gxy(o.m_gxy),
      m_gyz(o.m_gyz),
      m_gzx(o.m_gzx),
      m_c14(o.m_c14),
      m_c15(o.m_c15),
      m_c16(o.m_c16),
      m_c24(o.m_c24),
      m_c25(o.m_c25),
      m_c26(o.m_c26),
      m_c34(o.m_c34),
      m_c35(o.m_c35),
      m_c36(o.m_c36),
      m_c45(o.m_c45),
      m_c46(o.m_c46),
      m_c56(o.m_c56),
      m_alpx(o.m_alpx),
      m_alpy(o.m_alpy),
      m_alpz(o.m_alpz),
      m_a4(o.m_a4),
      m_a5(o.m_a5),
      m_a6(o.m_a6),
      m_fxt(o.m_fxt),
      m_fyt(o.m_fyt),
      m_fzt(o.m_fzt),
      m_fxc(o.m_fxc),
      m_fyc(o.m_fyc),
      m_fzc(o.m_fzc),
      m_fs12(o.m_fs12),
      m_fs23(o.m_fs23),
      m_fs31(o.m_fs31),
      m_f12(o.m_f12),
      m_f23(o.m_f23),
      m_f31(o.m_f31),
      m_strnallow(o.m_strnallow),
      m_dens(o.m_dens),
      m_tref(o.m_tref),
      m_ge(o.m_ge) {}

CKpMatProp::~CKpMatProp() = default;

double CKpMatProp::fyt() const {
    if (m_fyt != 0.0) return m_fyt;
    return (m_dir == 1 || m_dir == 5) ? m_fxt : 0.0;
}

double CKpMatProp::fxc() const {
    if (m_fxc != 0.0) return m_fxc;
    return m_dir == 4 ? m_fxt : 0.0;
}

double CKpMatProp::fyc() const {
    if (m_fyc != 0.0) return m_fyc;
    if (m_dir == 1 || m_dir == 5) return m_fxc;
    if (m_dir == 4) return m_fyt;
    return 0.0;
}

EVekMaterialFailureBasis CKpMatProp::GetBasis() {
    return m_strnallow ? EVekMaterialFailureBasisStrain : EVekMaterialFailureBasisStress;
}

void CKpMatProp::SetBasis(EVekMaterialFailureBasis basis) {
    if (basis == EVekMaterialFailureBasisStrain) SetAllowStrain();
}

int CKpMatProp::GetAllowableByLabel(EVekMaterialFailureBasis basis, const char* label,
                                    double* value) {
    if (basis == EVekMaterialFailureBasisStress) {
        if (!label || !value) return 1;
        struct Entry {
            const char* label;
            double (CKpMatProp::*get)();
        };
        static const Entry kStress[] = {
            {"Xt", &CKpMatProp::GetFxt},   {"Yt", &CKpMatProp::GetFyt},
            {"Zt", &CKpMatProp::GetFzt},   {"Xc", &CKpMatProp::GetFxc},
            {"Yc", &CKpMatProp::GetFyc},   {"Zc", &CKpMatProp::GetFzc},
            {"S12", &CKpMatProp::GetFs12}, {"S23", &CKpMatProp::GetFs23},
            {"S31", &CKpMatProp::GetFs31}, {"F12", &CKpMatProp::GetF12},
            {"F23", &CKpMatProp::GetF23},  {"F31", &CKpMatProp::GetF31}};
        for (const Entry& e : kStress) {
            if (std::strcmp(label, e.label) == 0) {
                *value = (this->*e.get)();
                return 0;
            }
        }
        return 1;
    }
    if (basis == EVekMaterialFailureBasisStrain) {
        if (!label || !value) return 2;
        if (std::strcmp(label, "F12") == 0) {
            *value = GetF12();
            return 0;
        }
        static const char* const kStrain[] = {"Xt", "Xc", "Yt", "Yc", "S12", "S23", "S31"};
        for (int i = 0; i < 7; ++i) {
            if (std::strcmp(label, kStrain[i]) == 0) {
                float strains[8] = {0.0f};
                *value = GetAllowStrain(nullptr, strains) == 0 ? strains[i] : 0.0;
                return 0;
            }
        }
        return 2;
    }
    return 3;
}

int CKpMatProp::setE(double ex, double ey, double ez) {
    m_ex = ex;
    m_ey = ey;
    m_ez = ez;
    return 0;
}

int CKpMatProp::setNu(double nuxy, double nuyz, double nuzx) {
    m_nuxy = nuxy;
    m_nuyz = nuyz;
    m_nuzx = nuzx;
    return 0;
}

int CKpMatProp::setG(double gxy, double gyz, double gzx) {
    m_gxy = gxy;
    m_gyz = gyz;
    m_gzx = gzx;
    return 0;
}

int CKpMatProp::setC1(double c14, double c15, double c16) {
    m_c14 = c14;
    m_c15 = c15;
    m_c16 = c16;
    return 0;
}

int CKpMatProp::setC2(double c24, double c25, double c26) {
    m_c24 = c24;
    m_c25 = c25;
    m_c26 = c26;
    return 0;
}

int CKpMatProp::setC3(double c34, double c35, double c36) {
    m_c34 = c34;
    m_c35 = c35;
    m_c36 = c36;
    return 0;
}

int CKpMatProp::setC4(double c45, double c46, double c56) {
    m_c45 = c45;
    m_c46 = c46;
    m_c56 = c56;
    return 0;
}

int CKpMatProp::setAlp(double alpx, double alpy, double alpz) {
    m_alpx = alpx;
    m_alpy = alpy;
    m_alpz = alpz;
    return 0;
}

int CKpMatProp::setA456(double a4, double a5, double a6) {
    m_a4 = a4;
    m_a5 = a5;
    m_a6 = a6;
    return 0;
}

int CKpMatProp::setFt(double fxt, double fyt, double fzt) {
    m_fxt = fxt;
    m_fyt = fyt;
    m_fzt = fzt;
    return 0;
}

int CKpMatProp::setFc(double fxc, double fyc, double fzc) {
    m_fxc = fxc;
    m_fyc = fyc;
    m_fzc = fzc;
    return 0;
}

int CKpMatProp::setFs(double fs12, double fs23, double fs31) {
    m_fs12 = fs12;
    m_fs23 = fs23;
    m_fs31 = fs31;
    return 0;
}

int CKpMatProp::setF123(double f12, double f23, double f31) {
    m_f12 = f12;
    m_f23 = f23;
    m_f31 = f31;
    return 0;
}

int CKpMatProp::setPhys(double dens, double tref, double ge) {
    m_dens = dens;
    m_tref = tref;
    m_ge = ge;
    return 0;
}

int CKpMatProp::setFcFt(double fxt, double fxc, double fs12) {
    m_fxt = fxt;
    m_fxc = fxc;
    m_fs12 = fs12;
    return 0;
}

int CKpMatProp::setMatPropVal(const char* extName, int extId, int tropy, double ex, double ey,
                              double ez, double nuxy, double nuyz, double nuzx, double gxy,
                              double gyz, double gzx, double c14, double c15, double c16,
                              double c24, double c25, double c26, double c34, double c35,
                              double c36, double c45, double c46, double c56, double alpx,
                              double alpy, double alpz, double a4, double a5, double a6, double fxt,
                              double fyt, double fzt, double fxc, double fyc, double fzc,
                              double fs12, double fs23, double fs31, double f12, double f23,
                              double f31, double dens, double tref, double ge) {
    setExtmtrlnm(extName);
    m_extmtrlid = extId;
    m_dir = tropy;
    setE(ex, ey, ez);
    setNu(nuxy, nuyz, nuzx);
    setG(gxy, gyz, gzx);
    setC1(c14, c15, c16);
    setC2(c24, c25, c26);
    setC3(c34, c35, c36);
    setC4(c45, c46, c56);
    setAlp(alpx, alpy, alpz);
    setA456(a4, a5, a6);
    setFt(fxt, fyt, fzt);
    setFc(fxc, fyc, fzc);
    setFs(fs12, fs23, fs31);
    setF123(f12, f23, f31);
    setPhys(dens, tref, ge);
    return 0;
}

int CKpMatProp::SetDirAuto() {
    const double anisotropic3d[] = {m_c15, m_c16, m_c25, m_c26, m_c34,
                                    m_c35, m_c36, m_c45, m_c46, m_c56};
    const double orthotropic3d[] = {m_ez, m_nuyz, m_nuzx};
    const double anisotropic2d[] = {m_c14, m_c24};
    const double orthotropic2d[] = {m_ey, m_gyz, m_gzx};
    auto anyNonzero = [](const double* v, int n) {
        for (int i = 0; i < n; ++i)
            if (v[i] != 0.0) return true;
        return false;
    };
    if (anyNonzero(anisotropic3d, 10))
        m_dir = 3;
    else if (anyNonzero(orthotropic3d, 3))
        m_dir = 2;
    else if (anyNonzero(anisotropic2d, 2))
        m_dir = 5;
    else if (anyNonzero(orthotropic2d, 3))
        m_dir = 4;
    else
        m_dir = 1;
    return 0;
}

void CKpMatProp::inPlaneStiffness(double q[3][3]) const {
    q[0][0] = m_ex;
    q[0][1] = m_nuxy;
    q[0][2] = m_c14;
    q[1][0] = m_nuxy;
    q[1][1] = m_ey;
    q[1][2] = m_c24;
    q[2][0] = m_c14;
    q[2][1] = m_c24;
    q[2][2] = m_gxy;
}

int CKpMatProp::SetAllowStrain() {
    if (m_strnallow == 1) return 0;
    m_strnallow = 1;
    switch (m_dir) {
        case 1: {
            const double g = m_nuxy + 1.0 != 0.0 ? (m_ex * 0.5) / (m_nuxy + 1.0) : 0.0;
            m_fxt *= m_ex;
            m_fxc *= m_ex;
            m_fyt *= m_ex;
            m_fyc *= m_ex;
            m_fs12 *= g;
            m_fs23 *= g;
            m_fs31 *= g;
            return 0;
        }
        case 4:
            m_fxt *= m_ex;
            m_fxc *= m_ex;
            m_fyt *= m_ey;
            m_fyc *= m_ey;
            m_fs12 *= m_gxy;
            m_fs23 *= m_gyz;
            m_fs31 *= m_gzx;
            return 0;
        case 5: {
            // Q's diagonal is not the inverse of the compliance diagonal that
            // GetAllowStrain reads, so convert with the compliance itself.
            double q[3][3];
            double s[3][3];
            inPlaneStiffness(q);
            if (matrix_invert(q, s) != 0) return 1;
            if (s[0][0] == 0.0 || s[1][1] == 0.0 || s[2][2] == 0.0) return 1;
            m_fxt /= s[0][0];
            m_fxc /= s[0][0];
            m_fyt /= s[1][1];
            m_fyc /= s[1][1];
            m_fs12 /= s[2][2];
            m_fs23 *= m_gyz;
            m_fs31 *= m_gzx;
            return 0;
        }
        default:
            return 1;
    }
}

int CKpMatProp::GetAllowStrain(CKpMsg* log, float out[8]) const {
    if (!out) return 2;
    double v[8];
    switch (m_dir) {
        case 1: {
            const double shear = isoShearCompliance(m_ex, m_nuxy);
            v[kXt] = overModulus(m_fxt, m_ex);
            v[kXc] = overModulus(fxc(), m_ex);
            v[kYt] = overModulus(fyt(), m_ex);
            v[kYc] = overModulus(fyc(), m_ex);
            v[kS12] = m_fs12 * shear;
            v[kS23] = m_fs23 * shear;
            v[kS31] = m_fs31 * shear;
            break;
        }
        case 4:
            v[kXt] = overModulus(m_fxt, m_ex);
            v[kXc] = overModulus(fxc(), m_ex);
            v[kYt] = overModulus(fyt(), m_ey);
            v[kYc] = overModulus(fyc(), m_ey);
            v[kS12] = overModulus(m_fs12, m_gxy);
            break;
        case 5: {
            double q[3][3];
            double s[3][3];
            inPlaneStiffness(q);
            if (matrix_invert(q, s) != 0) return 1;
            v[kXt] = m_fxt * s[0][0];
            v[kXc] = fxc() * s[0][0];
            v[kYt] = fyt() * s[1][1];
            v[kYc] = fyc() * s[1][1];
            v[kS12] = s[2][2] * m_fs12;
            break;
        }
        default:
            if (log) log->Create(4, "Unsupported material directionality: %d", m_dir);
            return 2;
    }
    if (m_dir == 4 || m_dir == 5) {
        v[kS23] = overModulus(m_fs23, m_gyz);
        v[kS31] = overModulus(m_fs31, m_gzx);
    }
    v[kF12] = m_f12;
    for (int i = 0; i < 8; ++i) out[i] = static_cast<float>(v[i]);
    return 0;
}

double CKpMatProp::fxtStrain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kXt] : 0.0;
}

double CKpMatProp::fytStrain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kYt] : 0.0;
}

double CKpMatProp::fxcStrain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kXc] : 0.0;
}

double CKpMatProp::fycStrain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kYc] : 0.0;
}

double CKpMatProp::fs12Strain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kS12] : 0.0;
}

double CKpMatProp::fs23Strain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kS23] : 0.0;
}

double CKpMatProp::fs31Strain() const {
    float s[8];
    return GetAllowStrain(nullptr, s) == 0 ? s[kS31] : 0.0;
}

int CKpMatProp::GetFlexMatrix(double out[3][3]) const {
    if (m_dir != 5) return 1;
    if (!out) return 2;
    double q[3][3];
    inPlaneStiffness(q);
    return matrix_invert(q, out) == 0 ? 0 : 2;
}

int CKpMatProp::Stress2Strain(CKpMsg* log, const float stress[6], float strain[6]) const {
    if (!stress || !strain) return -1;
    double s[6];
    for (int i = 0; i < 6; ++i) s[i] = stress[i];
    double e[6];
    switch (m_dir) {
        case 1: {
            const double nu = m_nuxy;
            const double shear = isoShearCompliance(m_ex, nu);
            e[0] = overModulus(s[0] - nu * s[1] - nu * s[2], m_ex);
            e[1] = overModulus(s[1] - nu * s[2] - nu * s[0], m_ex);
            e[2] = overModulus(s[2] - nu * s[0] - nu * s[1], m_ex);
            for (int i = 3; i < 6; ++i) e[i] = s[i] * shear;
            break;
        }
        case 4:
            e[0] = overModulus(s[0] - m_nuxy * s[1], m_ex);
            e[1] = overModulus(s[1], m_ey) - overModulus(m_nuxy * s[0], m_ex);
            e[3] = overModulus(s[3], m_gxy);
            break;
        case 5: {
            double q[3][3];
            double c[3][3];
            inPlaneStiffness(q);
            if (matrix_invert(q, c) != 0) {
                if (log)
                    log->Create(4,
                                "Error inverting matrix:\n %16g %16g %16g\n %16g %16g %16g\n "
                                "%16g %16g %16g",
                                q[0][0], q[0][1], q[0][2], q[1][0], q[1][1], q[1][2], q[2][0],
                                q[2][1], q[2][2]);
                return -1;
            }
            const double in[3] = {s[0], s[1], s[3]};
            double r[3];
            for (int i = 0; i < 3; ++i) r[i] = c[i][0] * in[0] + c[i][1] * in[1] + c[i][2] * in[2];
            e[0] = r[0];
            e[1] = r[1];
            e[3] = r[2];
            break;
        }
        default:
            if (log) log->Create(4, "Unsupported material directionality: %d", m_dir);
            return -1;
    }
    if (m_dir == 4 || m_dir == 5) {
        e[2] = 0.0;  // plane stress: the through-thickness stress is not read
        e[4] = overModulus(s[4], m_gyz);
        e[5] = overModulus(s[5], m_gzx);
    }
    for (int i = 0; i < 6; ++i) strain[i] = static_cast<float>(e[i]);
    return 0;
}

int CKpMatProp::SetF12Dimensionless() {
    const double product = GetFxc() * GetFxt() * GetFyt() * GetFyc();
    if (!(product > 0.0) || !std::isfinite(product)) return 1;
    m_f12 = GetF12() * std::sqrt(product);
    return 0;
}
