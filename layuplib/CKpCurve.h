#ifndef PLYSTRAND_LAYUPLIB_CKPCURVE_H
#define PLYSTRAND_LAYUPLIB_CKPCURVE_H

#include <vector>

#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"

// CKpCurve: a named polyline kept with the model (ply outlines and
// boundaries brought in by ply import). Points are x, y, z in model length
// units, basic frame.
class CKpCurve : public CVekObject {
  public:
    // A curve `id` called `name` (null: empty) of `type` (kept, not
    // interpreted) with room for `count` points, all coordinates 0.0. A count
    // below 1 gives a curve of no points; so does a count whose coordinate
    // array cannot be allocated.
    CKpCurve(int id, const char* name, int type, int count);

    // Frees the coordinates and the name.
    ~CKpCurve() override;

    CKpCurve(const CKpCurve&) = delete;
    CKpCurve& operator=(const CKpCurve&) = delete;

    const char* name() const { return m_name; }
    int type() const { return m_type; }

    // Number of points.
    int count() const { return m_count; }

    // Sets coordinate i of the flat array (point i / 3, component i % 3:
    // 0 x, 1 y, 2 z). An index outside 0..3·count()-1 changes nothing.
    void coord(int i, double value);

    // Coordinate i as above; 0.0 outside 0..3·count()-1.
    double coord(int i) const;

    // The 3·count() coordinates, point after point; null for no points.
    const double* coords() const { return m_count > 0 ? m_coords.data() : nullptr; }

  private:
    CKpStr m_name;
    int m_type;
    int m_count;
    std::vector<double> m_coords;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPCURVE_H
