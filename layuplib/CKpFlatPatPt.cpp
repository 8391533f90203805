#include "layuplib/CKpFlatPatPt.h"

CKpFlatPatPt::CKpFlatPatPt(const CKpFlatPatPt& other)
    : CKpPlotPoint(other.getx(), other.gety(), other.getz()),
      position(other.position),
      shear(other.shear),
      direction(other.direction),
      facet(other.facet),
      edge(other.edge),
      extension(other.extension),
      bdy(nullptr),
      next(nullptr) {
    setPlot(other.getPlot());
}

CKpFlatPatPt::~CKpFlatPatPt() = default;
