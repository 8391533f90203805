#include "fileformats/CCDBMat.h"

#include <cstdio>

#include "layuplib/CKpMat.h"

namespace {

void mpdata(CKpStr& lines, const char* label, int id, double value) {
    if (value == 0.0) return;
    char buf[128];
    std::snprintf(buf, sizeof buf, "MPDATA,R5.0, 1,%-4s,%8d, 1,%.8G,\n", label, id, value);
    lines += buf;
}

void fcStrength(CKpStr& lines, const char* label, int id, double value) {
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "FC,%8d,S,%s,%.8G,  0.0000    ,  0.0000    ,  0.0000    ,  0.0000    ,  "
                  "0.0000\n",
                  id, label, value);
    lines += buf;
}

void fcCoupling(CKpStr& lines, const char* label, int id, double value) {
    char buf[160];
    std::snprintf(buf, sizeof buf,
                  "FC,%8d,S,%s,%.8G, -1.0000    , -1.0000    , -1.0000    , -1.0000    , "
                  "-1.0000\n",
                  id, label, value);
    lines += buf;
}

}  // namespace

void CCDBMat::SetGet(CKpMat* mat, CKpStr& lines) {
    lines = "";
    if (!mat) return;
    const int id = mat->id();
    const int dir = mat->dir();
    if (dir == 1) {
        mpdata(lines, "EX", id, mat->ex());
        mpdata(lines, "NUXY", id, mat->nuxy());
    } else if (dir == 2 || dir == 4) {
        mpdata(lines, "EX", id, mat->ex());
        mpdata(lines, "EY", id, mat->ey());
        mpdata(lines, "EZ", id, mat->ez());
        mpdata(lines, "GXY", id, mat->gxy());
        mpdata(lines, "GYZ", id, mat->gyz());
        mpdata(lines, "GXZ", id, mat->gzx());
        mpdata(lines, "ALPX", id, mat->alpx());
        mpdata(lines, "ALPY", id, mat->alpy());
        mpdata(lines, "ALPZ", id, mat->alpz());
        mpdata(lines, "DENS", id, mat->dens());
        mpdata(lines, "PRXY", id, mat->nuxy());
        mpdata(lines, "PRYZ", id, mat->nuyz());
        mpdata(lines, "PRXZ", id, mat->nuzx());
        mpdata(lines, "REFT", id, mat->tref());
    }
}

void CCDBMat::SetGetFC(CKpMat* mat, CKpStr& lines) {
    lines = "";
    if (!mat) return;
    const int id = mat->id();
    if (mat->fxt() > 0) fcStrength(lines, "XTEN", id, mat->fxt());
    if (mat->fxc() > 0) fcStrength(lines, "XCMP", id, -mat->fxc());
    if (mat->fyt() > 0) fcStrength(lines, "YTEN", id, mat->fyt());
    if (mat->fyc() > 0) fcStrength(lines, "YCMP", id, -mat->fyc());
    if (mat->fzt() > 0) fcStrength(lines, "ZTEN", id, mat->fzt());
    if (mat->fzc() > 0) fcStrength(lines, "ZCMP", id, -mat->fzc());
    if (mat->fs12() > 0) fcStrength(lines, "XY", id, mat->fs12());
    if (mat->fs23() > 0) fcStrength(lines, "YZ", id, mat->fs23());
    if (mat->fs31() > 0) fcStrength(lines, "XZ", id, mat->fs31());
    if (mat->f12() != 0) fcCoupling(lines, "XYCP", id, mat->f12());
    if (mat->f23() != 0) fcCoupling(lines, "YZCP", id, mat->f23());
    if (mat->f31() != 0) fcCoupling(lines, "XZCP", id, mat->f31());
}
