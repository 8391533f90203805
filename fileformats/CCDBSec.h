#ifndef PLYSTRAND_FILEFORMATS_CCDBSEC_H
#define PLYSTRAND_FILEFORMATS_CCDBSEC_H

#include "layuplib/CKpStr.h"
#include "layuplib/CVekTemplateArray.h"
#include "layuplib/CVekTemplateList.h"

class CKpLam;

// CCDBSec: one shell section (SECTYPE, SECOFFSET, SECBLOCK) built from a
// laminate. Thicknesses in model length units, angles in degrees.
class CCDBSec {
  public:
    CCDBSec();
    CCDBSec(const CCDBSec&) = delete;
    CCDBSec& operator=(const CCDBSec&) = delete;

    // Every number 0 except the mid flag (1); the lists and names emptied.
    void init();

    // Fills the section from `lam`: id the laminate id; mid flag from
    // IsNodeMid; else the bottom flag from IsNodeBot, else the top flag from
    // IsNodeTop, else user offset -z0 - t / 2; per layer (bottom first) its
    // thickness, material id, angle in degrees, 3 integration points and the
    // name "layerName".
    void Set(CKpLam* lam);

    // Replaces `lines` by
    //   "SECTYPE,%7d,SHELL,,        \n"
    //   "SECOFFSET,TOP\n" | "SECOFFSET,MID\n" | "SECOFFSET,BOT\n" |
    //   "SECOFFSET,USER,%8.5f\n"
    //   "SECBLOCK,%7d\n" (layer count)
    //   per layer "%13.6f,%10d,%13.6f,%10d\n" (thickness, material, angle,
    //   integration points).
    // The offset, thicknesses and angles take a longer form where the fixed
    // decimals would not hold them within 1e-6 relative (see CDBNumber.h).
    void Get(CKpStr& lines) const;

    int m_id;
    double m_userOffset;
    int m_top;
    int m_mid;
    int m_bot;
    int m_numLayers;
    CVekTemplateList<double> m_thick;
    CVekTemplateList<int> m_mat;
    CVekTemplateList<double> m_angle;
    CVekTemplateList<int> m_intPts;
    CVekTemplateArray<CKpStr> m_names;
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBSEC_H
