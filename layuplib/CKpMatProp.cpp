#include "layuplib/CKpMatProp.h"

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
