#include "layuplib/CKpView.h"

#include <cmath>

CKpView::CKpView() {
    Identity();
}

void CKpView::Identity() {
    for (int k = 0; k < 9; ++k) m_xfm[k] = (k % 4 == 0) ? 1.0 : 0.0;
}

double CKpView::xfm(int i, int j) const {
    if (i < 0 || i > 2 || j < 0 || j > 2) return 0.0;
    return m_xfm[3 * i + j];
}

void CKpView::rot(double a, double b, double c) {
    const double sa = std::sin(a), ca = std::cos(a);
    const double sb = std::sin(b), cb = std::cos(b);
    const double sc = std::sin(c), cc = std::cos(c);
    m_xfm[0] = cb * cc;
    m_xfm[1] = cb * sc;
    m_xfm[2] = -sb;
    m_xfm[3] = sa * sb * cc - ca * sc;
    m_xfm[4] = sa * sb * sc + ca * cc;
    m_xfm[5] = sa * cb;
    m_xfm[6] = ca * sb * cc + sa * sc;
    m_xfm[7] = ca * sb * sc - sa * cc;
    m_xfm[8] = ca * cb;
}
