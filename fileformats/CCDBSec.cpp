#include "fileformats/CCDBSec.h"

#include <cmath>
#include <cstdio>

#include "fileformats/CDBNumber.h"
#include "layuplib/CKpLam.h"
#include "layuplib/CKpLamLyrStore.h"
#include "layuplib/angle_util.h"

CCDBSec::CCDBSec() : m_thick(10), m_mat(10), m_angle(10), m_intPts(10), m_names(10, 1) {
    init();
}

void CCDBSec::init() {
    m_id = 0;
    m_userOffset = 0.0;
    m_top = 0;
    m_mid = 1;
    m_bot = 0;
    m_numLayers = 0;
    m_thick.Size(0);
    m_mat.Size(0);
    m_angle.Size(0);
    m_intPts.Size(0);
    m_names.DeleteAll();
}

void CCDBSec::Set(CKpLam* lam) {
    init();
    if (!lam) return;
    m_id = lam->id();
    m_mid = lam->IsNodeMid() ? 1 : 0;
    if (!m_mid) {
        if (lam->IsNodeBot())
            m_bot = 1;
        else if (lam->IsNodeTop())
            m_top = 1;
        else
            m_userOffset = -lam->z0() - lam->t() / 2.0;
    }
    CKpLamLyrStore* layers = lam->LamLyrs();
    if (!layers) return;
    for (CKpLamLyr* lyr = layers->First(); lyr; lyr = layers->Next(lyr)) {
        m_thick.Add(lyr->t(), -1);
        m_mat.Add(lyr->mid(), -1);
        m_angle.Add(lyr->theta() * 180.0 / kPi, -1);
        m_intPts.Add(3, -1);
        m_names.Add(new CKpStr("layerName"));
        ++m_numLayers;
    }
}

void CCDBSec::Get(CKpStr& lines) const {
    char buf[160];
    std::snprintf(buf, sizeof buf, "SECTYPE,%7d,SHELL,,        \n", m_id);
    lines = buf;
    if (m_top) {
        lines += "SECOFFSET,TOP\n";
    } else if (m_mid) {
        lines += "SECOFFSET,MID\n";
    } else if (m_bot) {
        lines += "SECOFFSET,BOT\n";
    } else {
        char num[32];
        CdbFormatOffset(num, m_userOffset);
        lines += "SECOFFSET,USER,";
        lines += num;
        lines += "\n";
    }
    std::snprintf(buf, sizeof buf, "SECBLOCK,%7d\n", m_numLayers);
    lines += buf;
    for (int i = 0; i < m_thick.GetSize(); ++i) {
        char t[32], a[32];
        CdbFormatSec(t, m_thick[i]);
        CdbFormatSec(a, m_angle[i]);
        std::snprintf(buf, sizeof buf, "%s,%10d,%s,%10d\n", t, m_mat[i], a, m_intPts[i]);
        lines += buf;
    }
}
