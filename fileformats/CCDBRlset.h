#ifndef PLYSTRAND_FILEFORMATS_CCDBRLSET_H
#define PLYSTRAND_FILEFORMATS_CCDBRLSET_H

#include "layuplib/CVekObject.h"
#include "layuplib/CVekTemplateList.h"

// CCDBRlset: one ANSYS real constant set as a CDB file carries it in an
// RLBLOCK: its id is the set number, its values the set's values in order
// (value 1 first). For a layered SHELL99 set: value 1 the layer count, values
// 13 + 3i, 14 + 3i, 15 + 3i material id, angle (degrees) and thickness of
// layer i (from 0).
class CCDBRlset : public CVekObject {
  public:
    // Set `id` without values (list growth step 10).
    explicit CCDBRlset(int id) : CVekObject(id), m_values(10) {}
    ~CCDBRlset() override;
    CCDBRlset(const CCDBRlset&) = delete;
    CCDBRlset& operator=(const CCDBRlset&) = delete;

    // The values, read and written in place.
    CVekTemplateList<double>& Values() { return m_values; }
    const CVekTemplateList<double>& Values() const { return m_values; }
    // Value i counted from 0; 0.0 when the set has fewer values.
    double Value(int i) const { return (i >= 0 && i < m_values.GetSize()) ? m_values[i] : 0.0; }

  private:
    CVekTemplateList<double> m_values;
};

#endif  // PLYSTRAND_FILEFORMATS_CCDBRLSET_H
