#ifndef PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H
#define PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H

#include "layuplib/CVekListItem.h"

// CKpPlotPoint: a point of a plotted polyline: x, y, z and whether it is
// drawn (plot flag 0 not drawn, 1 or 2 drawn). A flat-pattern point keeps
// its u in x, its v in y and 0 in z.
class CKpPlotPoint : public CVekListItem {
  public:
    // (0, 0, 0), not drawn.
    CKpPlotPoint() : x(0.0), y(0.0), z(0.0), plot(0) {}
    ~CKpPlotPoint() override;

    double getx() const { return x; }
    double gety() const { return y; }
    double getz() const { return z; }
    int getPlot() const { return plot; }

  private:
    double x;
    double y;
    double z;
    int plot;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H
