#ifndef PLYSTRAND_LAYUPLIB_CKPFLATPAT_H
#define PLYSTRAND_LAYUPLIB_CKPFLATPAT_H

#include "layuplib/CKpFlatPatPtStore.h"
#include "layuplib/CVekListItem.h"

// CKpFlatPat: one closed flat pattern (a ring), the shape in which the
// fabric of a draped ply is cut: its points in order around the pattern,
// the last a copy of the first. The outer pattern runs anticlockwise in
// (u, v); a hole's pattern runs the other way.
class CKpFlatPat : public CVekListItem {
  public:
    CKpFlatPat() = default;
    // Deletes the points.
    ~CKpFlatPat() override;

    // The pattern's point chain, owned by the pattern.
    CKpFlatPatPtStore* pPoints() { return &points; }
    const CKpFlatPatPtStore& GetPoints() const { return points; }

  private:
    CKpFlatPatPtStore points;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPFLATPAT_H
