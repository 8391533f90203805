#include "layuplib/CKpDrapePt.h"

#include <cmath>

#include "layuplib/CKpDrape.h"
#include "layuplib/CKpDrapeSim.h"
#include "layuplib/CKpFacet.h"
#include "layuplib/CKpMsg.h"
#include "layuplib/CKpPat.h"
#include "layuplib/angle_util.h"

namespace {

bool validDir(int d) {
    return d >= 0 && d < 4;
}

// Circular mean of the two sides of one fibre; kNoAngle when neither is set.
double meanAngle(double minus, double plus) {
    const bool hasMinus = minus != CKpDrapePt::kNoAngle;
    const bool hasPlus = plus != CKpDrapePt::kNoAngle;
    if (hasMinus && hasPlus) return pi_pi(minus + pi_pi(plus - minus) / 2.0);
    if (hasMinus) return minus;
    if (hasPlus) return plus;
    return CKpDrapePt::kNoAngle;
}
}  // namespace

CKpDrapePt::CKpDrapePt()
    : facet(-1),
      sideFlag(0),
      warpAngMinus(kNoAngle),
      warpAngPlus(kNoAngle),
      weftAngMinus(kNoAngle),
      weftAngPlus(kNoAngle),
      strain(0.0),
      thickness(0.0),
      joined(),
      endFraction{kNoEndFrac, kNoEndFrac, kNoEndFrac, kNoEndFrac},
      endFacet{-1, -1, -1, -1},
      endEdge{-1, -1, -1, -1},
      reserved(0),
      id(0),
      grid(nullptr) {}

double CKpDrapePt::GetSideAng(int d) const {
    switch (d) {
        case 0:
            return warpAngPlus;
        case 1:
            return weftAngPlus;
        case 2:
            return warpAngMinus;
        case 3:
            return weftAngMinus;
        default:
            return kNoAngle;
    }
}

void CKpDrapePt::SetSideAng(int d, double a) {
    switch (d) {
        case 0:
            warpAngPlus = a;
            break;
        case 1:
            weftAngPlus = a;
            break;
        case 2:
            warpAngMinus = a;
            break;
        case 3:
            weftAngMinus = a;
            break;
        default:
            break;
    }
}

void CKpDrapePt::SetWarpAng(double a) {
    warpAngMinus = warpAngPlus = pi_pi(a);
}

void CKpDrapePt::SetWeftAng(double a) {
    weftAngMinus = weftAngPlus = pi_pi(a);
}

int CKpDrapePt::GetJoined(int d) const {
    return validDir(d) ? joined[d] : 0;
}

void CKpDrapePt::SetJoined(int d, int flag) {
    if (validDir(d)) joined[d] = flag;
}

double CKpDrapePt::GetEndFrac(int d) const {
    return validDir(d) ? endFraction[d] : kNoEndFrac;
}

const CKpPoint& CKpDrapePt::GetEndPoint(int d) const {
    static const CKpPoint none;
    return validDir(d) ? endPoint[d] : none;
}

const CKpDirn& CKpDrapePt::GetEndDirn(int d) const {
    static const CKpDirn none;
    return validDir(d) ? endDirn[d] : none;
}

int CKpDrapePt::GetEndFacet(int d) const {
    return validDir(d) ? endFacet[d] : -1;
}

int CKpDrapePt::GetEndEdge(int d) const {
    return validDir(d) ? endEdge[d] : -1;
}

void CKpDrapePt::SetEndFrac(int d, double frac) {
    if (validDir(d)) endFraction[d] = frac;
}

void CKpDrapePt::SetEndPoint(int d, const CKpPoint& p) {
    if (validDir(d)) endPoint[d] = p;
}

void CKpDrapePt::SetEndDirn(int d, const CKpDirn& dirn) {
    if (validDir(d)) endDirn[d] = dirn;
}

void CKpDrapePt::SetEndFacet(int d, int f) {
    if (validDir(d)) endFacet[d] = f;
}

void CKpDrapePt::SetEndEdge(int d, int edge) {
    if (validDir(d)) endEdge[d] = edge;
}

void CKpDrapePt::SetEnd(int d, double frac, const CKpPoint& p, const CKpDirn& dirn, int f,
                        int edge) {
    if (!validDir(d)) return;
    endFraction[d] = frac;
    endPoint[d] = p;
    endDirn[d] = dirn;
    endFacet[d] = f;
    endEdge[d] = edge;
}

double CKpDrapePt::GetAveWarpAng(CKpMsg* msg) const {
    const double a = meanAngle(warpAngMinus, warpAngPlus);
    if (a == kNoAngle && msg) msg->Create(4, "Could not calculate warp angle.");
    return a;
}

double CKpDrapePt::GetAveWeftAng(CKpMsg* msg) const {
    const double a = meanAngle(weftAngMinus, weftAngPlus);
    if (a == kNoAngle && msg) msg->Create(4, "Could not calculate weft angle.");
    return a;
}

int CKpDrapePt::ang(int i, double& a) const {
    switch (i) {
        case 0:
            a = warpAngMinus;
            return 0;
        case 1:
            a = weftAngMinus;
            return 0;
        case 2:
            a = pi_pi(kPi + warpAngPlus);
            return 0;
        case 3:
            a = pi_pi(kPi + weftAngPlus);
            return 0;
        default:
            return -1;
    }
}

double CKpDrapePt::du(int i, double a, double b) {
    if (b == 0.0) return 0.0;
    if (i == 0) return a / b;
    if (i == 2) return -a / b;
    return 0.0;
}

double CKpDrapePt::dv(int i, double a, double b) {
    if (b == 0.0) return 0.0;
    if (i == 1) return a / b;
    if (i == 3) return -a / b;
    return 0.0;
}

int CKpDrapePt::SetStrn(CKpMsg* msg, double r, int s) {
    // 1. Mean angles (each reports its own failure).
    const double w = GetAveWarpAng(msg);
    const double t = GetAveWeftAng(msg);
    if (w == kNoAngle || t == kNoAngle) {
        if (msg) msg->Create(4, "Could not calculate strain.");
        return -1;
    }
    // 2. Shear relative to the reference included angle, folded into
    //    (r - pi, r]: a fibre pair has no sense, so x and x + pi are one
    //    shear state.
    double x = pi_pi(r - pi_pi(t - w) * sideFlag * s);
    if (!std::isfinite(x) || !std::isfinite(r) || std::fabs(r) > 1e3) {
        // Not an angle: the folding below would not end.
        if (msg) msg->Create(4, "Could not calculate strain.");
        return -1;
    }
    while (x > r) x -= kPi;
    while (x < r - kPi) x += kPi;
    strain = x;
    return 0;
}

double CKpDrapePt::GetUpdatedHwt(double h) const {
    if (strain == 0.0 || !grid) return h;
    const CKpDrapeSim* sim = grid->GetDrapeSim();
    const CKpPat* pattern = sim ? sim->pPat() : nullptr;
    if (!pattern || pattern->lyrtp() != 4) return h;
    return h / std::cos(strain);
}

int CKpDrapePt::GetAxisAngleLength(const CKpFacet* f, double a, double b, double& angle,
                                   double& length) const {
    if (!f) return -1;
    CKpDirn warp = f->GetDirn(a >= 0.0 ? warpAngMinus : warpAngPlus);
    CKpDirn weft = f->GetDirn(b >= 0.0 ? weftAngMinus : weftAngPlus);
    warp.Scale(a);
    weft.Scale(b);
    warp.Add(weft);
    angle = f->GetAngle(&warp);
    length = warp.mag();
    return 0;
}

int CKpDrapePt::GetWarpWeftComponents(CKpMsg* msg, double angle, double& cw, double& ct) const {
    const double warp = GetAveWarpAng(msg);
    const double weft = GetAveWeftAng(msg);
    if (warp == kNoAngle || weft == kNoAngle) {
        cw = ct = 0.0;
        return -1;
    }
    const double x2 = pi_pi(angle - warp);
    const double x1 = pi_pi(weft - angle);
    const double s = std::sin(pi_pi(kPi - x2 - x1));
    if (s < 1e-6) {
        cw = std::cos(x2);
        ct = std::cos(x1);
    } else {
        cw = std::sin(x1) / s;
        ct = std::sin(x2) / s;
    }
    return 0;
}
