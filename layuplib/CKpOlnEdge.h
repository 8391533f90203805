#ifndef PLYSTRAND_LAYUPLIB_CKPOLNEDGE_H
#define PLYSTRAND_LAYUPLIB_CKPOLNEDGE_H

#include "layuplib/CVekListItem.h"

class CKpDrape;
class CKpOln;

// CKpOlnEdge: one straight edge of a drape outline, from a corner entry to
// the next corner entry of the ring (CKpOln), with the largest absolute
// shear strain of the drape points along it. The entries belong to their
// ring, not to the edge; the edge is stale once the ring changes.
class CKpOlnEdge : public CVekListItem {
  public:
    // Edge from `start` to `end` in grid direction `dir` (0..7), maximum
    // strain 0.0.
    CKpOlnEdge(CKpOln* start, CKpOln* end, int dir)
        : m_start(start), m_end(end), m_direction(dir), m_maxStrain(0.0) {}
    ~CKpOlnEdge() override;

    CKpOln* GetStart() const { return m_start; }
    CKpOln* GetEnd() const { return m_end; }
    // The start entry's leaving direction (a spike: its leaving direction
    // + 6, mod 8).
    int GetDirection() const { return m_direction; }

    // 1 when start and end are the same entry (a spike), else 0.
    int IsSpike() const { return m_start == m_end ? 1 : 0; }

    // 1 when the edge direction turned by k right angles runs along the
    // weft: (2k + direction) mod 8 is 2 or 6; else 0.
    int WeftExtend(int k) const;

    // Recomputes the maximum strain: the largest |strain| of the drape
    // points at the entries from start to end, both included
    // (CKpDrape::GetStrnOln). Nothing changes for a null grid or entry.
    void SetMaxStrain(const CKpDrape* drape);
    // The maximum strain (radians, not negative).
    double GetAbsMaxStrain() const { return m_maxStrain; }

  private:
    CKpOln* m_start;
    CKpOln* m_end;
    int m_direction;
    double m_maxStrain;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPOLNEDGE_H
