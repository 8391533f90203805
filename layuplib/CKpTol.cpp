#include "layuplib/CKpTol.h"

CKpTol::CKpTol(int id, double angtol, double thktol)
    : CVekObject(id), m_angtol(angtol), m_thktol(thktol), m_elems(new CVekList<CKpTolElem>()) {}

CKpTol::~CKpTol() {
    m_elems->eraseAllObjects();
}
