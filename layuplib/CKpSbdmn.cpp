#include "layuplib/CKpSbdmn.h"

CKpSbdmn::CKpSbdmn(int id, int numFacets, double area)
    : CVekObject(id), m_numFacets(numFacets), m_area(area) {}

CKpSbdmn::~CKpSbdmn() = default;
