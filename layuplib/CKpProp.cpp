#include "layuplib/CKpProp.h"

CKpProp::CKpProp(int id)
    : CVekObject(id),
      m_propMode(0),
      m_pLam(nullptr),
      m_pCoord(nullptr),
      m_rotn(0.0),
      m_axis(0),
      m_epOpts{0, 0, 0, 0, 0, 0} {}

CKpProp::CKpProp(int id, const char* name, int mode, CKpLam* lam, CKpCoord* coord, double rotn,
                 const CKpDirn& dirn, int axis, const int options[6])
    : CVekObject(id),
      m_name(name ? name : ""),
      m_propMode(mode),
      m_pLam(lam),
      m_pCoord(coord),
      m_rotn(rotn),
      m_pDirn(dirn),
      m_axis(axis),
      m_epOpts{0, 0, 0, 0, 0, 0} {
    if (options)
        for (int i = 0; i < 6; ++i) m_epOpts[i] = options[i];
}

CKpProp::~CKpProp() = default;  // the element store deletes its entries
