#include "layuplib/CKpPlotPointLaser.h"

CKpPlotPointLaser::CKpPlotPointLaser(const CKpPoint& p, const CKpDirn& n, const CKpFacet* facet,
                                     int side)
    : CKpPlotPoint(p.getx(), p.gety(), p.getz()), m_normal(n), m_facet(facet), m_side(side) {}

CKpPlotPointLaser::CKpPlotPointLaser(const CKpPlotPointLaser& other)
    : CKpPlotPoint(other.getx(), other.gety(), other.getz()),
      m_normal(other.m_normal),
      m_facet(other.m_facet),
      m_side(other.m_side) {
    setPlot(other.getPlot());
}

CKpPlotPointLaser::~CKpPlotPointLaser() = default;
