#include "layuplib/CKpDrapePt.h"

CKpDrapePt::CKpDrapePt()
    : facet(-1),
      sideFlag(0),
      warpAngMinus(-1000.0),
      warpAngPlus(-1000.0),
      weftAngMinus(-1000.0),
      weftAngPlus(-1000.0),
      strain(0.0),
      thickness(0.0),
      joined(),
      endFraction(),
      endFacet{-1, -1, -1, -1},
      endEdge{-1, -1, -1, -1},
      reserved(0),
      id(0),
      grid(nullptr) {
    for (double& f : endFraction) f = -0.123456789;
}
