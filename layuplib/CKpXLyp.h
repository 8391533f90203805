#ifndef PLYSTRAND_LAYUPLIB_CKPXLYP_H
#define PLYSTRAND_LAYUPLIB_CKPXLYP_H

#include <vector>

#include "layuplib/CKpXLypPlyStore.h"
#include "layuplib/CKpXLypPlyYStore.h"
#include "layuplib/CVekObject.h"

class CKpMsg;

// CKpXLyp: the cross-section layup at one node (its id is the node id): the
// plies of the elements around the node from the bottom of the stack
// (against the node direction) to the top, each element's total thickness
// at the node, where the reference surface lies, optional snap values
// pinning the faces, and the split positions of split-marker plies.
// Positions are signed distances from the node along its direction.
//
// Ply continuity modes: 0 (none: the stack is as thick as its thickest
// element, no butting, no splits), 1 (the stack is cut at split plies
// element by element), 2 (plies run continuously through the stack).
class CKpXLyp : public CVekObject {
  public:
    enum EPlyContinuity : int { eNone = 0, eSplit = 1, eContinuous = 2 };

    explicit CKpXLyp(int nodeId);
    ~CKpXLyp() override;
    CKpXLyp(const CKpXLyp&) = delete;
    CKpXLyp& operator=(const CKpXLyp&) = delete;

    // The plies, bottom first, and the elements referencing the node (id,
    // the element's total thickness at the node).
    CKpXLypPlyStore& Plies() { return m_plies; }
    CKpXLypPlyYStore& Elems() { return m_elems; }

    int GetPlyContinuity() const { return m_continuity; }
    void SetPlyContinuity(int mode) { m_continuity = mode; }

    // Reference surface: flag -1 top face, 0 middle, 1 bottom face. The
    // first call fixes the flag; a call with another flag returns -1 and
    // changes nothing; otherwise the offset becomes the mean of all values
    // given. 0.
    int SetOffset(int flag, double value);
    int GetOffsetFlag() const { return m_offFlag; }
    double GetOffsetValue() const { return m_offset; }
    int GetOffsetCount() const { return m_offCount; }

    // Total stack thickness T by continuity mode: 2 the sum of the plies'
    // AveThick; 1 the sum over the runs between split plies of the largest
    // per-element thickness of the run (0 without elements); otherwise the
    // largest element thickness.
    double TotThick() const;

    // Bottom (face < 0), middle (0) or top (face > 0) position from the
    // offset flag, the offset and T.
    double GetOffset(int face) const;
    // GetOffset, with snapped faces at their snap values (the middle then
    // halfway between the two faces).
    double GetSnapOffset(int face) const;

    // Assigns up to two snap values to the nearer face (the bottom on a
    // tie) when within `tolerance` of it (negative: relative to T); a second
    // value for one face keeps the closer one with an information. Snap
    // ratio = snapped thickness / T (kept at its value when T is 0). 0; -1
    // with an error for three or more values.
    int SetSnap(CKpMsg* msg, double tolerance, int count, const double* values);
    int GetSnapCount() const { return m_snapCount; }
    double GetSnapRatio() const { return m_snapRatio; }

    // Modes 1 and 2: the relative position (0 bottom .. 1 top) of the top
    // of each split ply. 0; -1 with an error when a split ply does not
    // cover every element of the node.
    int SetSplitRatios(CKpMsg* msg);
    int GetSplitCount() const { return static_cast<int>(m_splitIds.size()); }
    // The ratio of split ply `lypPlyId`, or 1 - ratio for a negative face.
    // 0; -1 with an error when the ply is no split ply of this stack.
    int GetSplitRatio(CKpMsg* msg, int face, int lypPlyId, double& ratio) const;

    // Mode 2: each ply that shares no element with the plies below it down
    // to some ply is moved into the butted plies of the lowest such ply, so
    // that plies side by side over different elements form one layer. 0.
    int CompressButted();

  private:
    // Mode 1 walk: calls `atSplit` with the total so far after each split
    // ply's run has been added; returns the total.
    template <class F>
    double WalkSplitRuns(F atSplit) const;

    CKpXLypPlyStore m_plies;
    CKpXLypPlyYStore m_elems;
    int m_offFlag;
    double m_offset;
    int m_offCount;
    int m_snapCount;
    double m_snapBottom;
    double m_snapTop;
    int m_bottomSnapped;
    int m_topSnapped;
    double m_snapRatio;
    std::vector<int> m_splitIds;
    std::vector<double> m_splitRatios;
    int m_continuity;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYP_H
