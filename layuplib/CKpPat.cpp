#include "layuplib/CKpPat.h"

#include <cstring>
#include <new>
#include <string>

#include "layuplib/CKpAxis.h"
#include "layuplib/CKpAxisPt.h"
#include "layuplib/CKpElemEdgeStore.h"
#include "layuplib/CKpPatElemStore.h"
#include "layuplib/CKpPatSplitStore.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/copy_text.h"

namespace {

void copy3(double* to, const double* from) {
    for (int i = 0; i < 3; ++i) to[i] = from ? from[i] : 0.0;
}

// Second point minus first point of a fibre axis; false for fewer than two.
bool axisDirection(const CKpAxis& axis, double* d) {
    if (axis.entries() < 2) return false;
    const CKpAxisPt* a = axis.pAxisPt(0);
    const CKpAxisPt* b = axis.pAxisPt(1);
    if (!a || !b) return false;
    d[0] = b->getPosition().getx() - a->getPosition().getx();
    d[1] = b->getPosition().gety() - a->getPosition().gety();
    d[2] = b->getPosition().getz() - a->getPosition().getz();
    return true;
}

}  // namespace

CKpPat::CKpPat(int id)
    : CVekObject(id),
      m_lyrtp(0),
      m_axstp(0),
      m_exttp(0),
      m_eye{0.0, 0.0, 0.0},
      m_originSet(0),
      m_origin{0.0, 0.0, 0.0},
      m_eyed{0.0, 0.0, 0.0},
      m_refd{0.0, 0.0, 0.0},
      m_refang(0.0),
      m_stwpwtang(0.0),
      m_warpWeftRatio(1.0),
      m_maxstrn(0.0),
      m_step(0.0),
      m_refStep(0.0),
      m_stft(-1),
      m_stdn(0),
      m_st{0.0, 0.0, 0.0},
      m_stwpd{0.0, 0.0, 0.0},
      m_stwtd{0.0, 0.0, 0.0},
      m_mid(0),
      m_minu(0),
      m_maxu(0),
      m_minv(0),
      m_maxv(0),
      m_minstrnc(0.0),
      m_maxstrnc(0.0),
      m_minthck(0.0),
      m_maxthck(0.0),
      m_minwp(0.0),
      m_maxwp(0.0),
      m_minwt(0.0),
      m_maxwt(0.0),
      m_patElems(new (std::nothrow) CKpPatElemStore),
      m_patSplits(new (std::nothrow) CKpPatSplitStore),
      m_seedCurve{new (std::nothrow) CKpElemEdgeStore, new (std::nothrow) CKpElemEdgeStore},
      m_simResult(-1),
      m_inadmMode(0),
      m_inadmTol(0.0) {}

CKpPat::~CKpPat() {
    delete m_patElems;
    m_patElems = nullptr;
    delete m_patSplits;
    m_patSplits = nullptr;
    for (CKpElemEdgeStore*& curve : m_seedCurve) {
        delete curve;
        curve = nullptr;
    }
}

CKpPat::CKpPat(int id, int type, const char* name, int method, int extType, const double* st,
               const double* stwpd, const double* stwtd, const double* eye, const double* eyed,
               const double* refd, double refang, double stwpwtang, double maxstrn, double step,
               int stdn, int mid, int minu, int maxu, int minv, int maxv, double minstrnc,
               double maxstrnc, double minthck, double maxthck, double minwp, double maxwp,
               double minwt, double maxwt)
    : CKpPat(id) {
    m_lyrtp = type;
    m_pttrnnm = name ? name : "";
    m_axstp = method;
    m_exttp = extType;
    copy3(m_st, st);
    copy3(m_stwpd, stwpd);
    copy3(m_stwtd, stwtd);
    copy3(m_eye, eye);
    copy3(m_eyed, eyed);
    copy3(m_refd, refd);
    m_refang = refang;
    m_stwpwtang = stwpwtang;
    m_maxstrn = maxstrn;
    m_step = step;
    m_stdn = stdn;
    setMid(mid, minu, maxu, minv, maxv);
    m_minstrnc = minstrnc;
    m_maxstrnc = maxstrnc;
    m_minthck = minthck;
    m_maxthck = maxthck;
    m_minwp = minwp;
    m_maxwp = maxwp;
    m_minwt = minwt;
    m_maxwt = maxwt;
}

int CKpPat::SetNameByPlyName(const char* plyName) {
    try {
        std::string name(plyName ? plyName : "");
        name += "_pattern";
        CKpStr text(name.c_str());  // built aside, so a failed copy leaves the name
        if (text.Size() != static_cast<int>(name.size())) return -1;
        m_pttrnnm = text;
    } catch (...) {
        return -1;
    }
    return 0;
}

void CKpPat::Clear() {
    m_originSet = 0;
    m_originName.Clear();
    set3(m_origin, 0.0, 0.0, 0.0);
}

int CKpPat::SetCoordOriginName(const double* xyz, const char* name) {
    if (!xyz) return -1;
    ++m_originSet;
    m_originName = name ? name : "";
    copy3(m_origin, xyz);
    return 0;
}

int CKpPat::GetCoordOriginName(double* xyz, char* buffer, int size) const {
    if (m_originSet == 0) return 1;
    if (!buffer) return 2;
    copy_text(buffer, size, m_originName);
    if (xyz) copy3(xyz, m_origin);
    return 0;
}

void CKpPat::SetStartPoint(const CKpPoint& point) {
    set3(m_st, point.getx(), point.gety(), point.getz());
}

int CKpPat::SetStartWarpDirection(const CKpAxis& axis) {
    double d[3];
    if (!axisDirection(axis, d)) return -1;
    copy3(m_stwpd, d);
    return 0;
}

int CKpPat::SetStartWeftDirection(const CKpAxis& axis) {
    if (m_lyrtp != 3) return 1;
    double d[3];
    if (!axisDirection(axis, d)) return -1;
    copy3(m_stwtd, d);
    return 0;
}

void CKpPat::GetEyePoint(double* xyz) const {
    if (xyz) copy3(xyz, m_st);
}

void CKpPat::GetEyeDirn(double* xyz) const {
    if (xyz) copy3(xyz, m_eyed);
}

void CKpPat::setMid(int mid, int minu, int maxu, int minv, int maxv) {
    m_mid = mid;
    m_minu = minu;
    m_maxu = maxu;
    m_minv = minv;
    m_maxv = maxv;
}

int CKpPat::ConvertPaintedToProjected() {
    if (m_lyrtp != 1) return 1;
    m_lyrtp = 2;
    set3(m_refd, 1.0, 0.0, 0.0);
    m_refang = 0.0;
    m_axstp = 7;
    return 0;
}
