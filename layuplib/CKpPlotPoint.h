#ifndef PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H
#define PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H

#include "layuplib/CVekListItem.h"

// CKpPlotPoint: a point of a plotted polyline: x, y, z and whether it is
// drawn. Plot flag: 0 not drawn (dropped by thinning), 1 drawn (kept to
// hold the distance tolerance), 2 drawn (a corner, or the first or last
// point); CKpPlotPointStore::Minimize sets the flags. A flat-pattern point
// keeps its u in x, its v in y (both in warp steps) and 0 in z.
//
// Copying copies the coordinates, the plot flag and the list links as they
// are (CVekListItem); a copy must be inserted into a list before the list
// walks through it.
class CKpPlotPoint : public CVekListItem {
  public:
    // (0, 0, 0), not drawn.
    CKpPlotPoint() : x(0.0), y(0.0), z(0.0), plot(0) {}
    // (px, py, pz), not drawn.
    CKpPlotPoint(double px, double py, double pz) : x(px), y(py), z(pz), plot(0) {}
    ~CKpPlotPoint() override;

    double getx() const { return x; }
    double gety() const { return y; }
    double getz() const { return z; }
    void setx(double v) { x = v; }
    void sety(double v) { y = v; }
    void setz(double v) { z = v; }
    void Set(double px, double py, double pz) {
        x = px;
        y = py;
        z = pz;
    }

    // The plot flag (0, 1 or 2, see above).
    int getPlot() const { return plot; }
    void setPlot(int flag) { plot = flag; }

  private:
    double x;
    double y;
    double z;
    int plot;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLOTPOINT_H
