#ifndef PLYSTRAND_LAYUPLIB_CKPXLYPPLY_H
#define PLYSTRAND_LAYUPLIB_CKPXLYPPLY_H

#include "layuplib/CKpXLypPlyYStore.h"
#include "layuplib/CVekListItem.h"

class CKpXLypPlyStore;

// CKpXLypPly: one layer of a through-thickness stack: a layup ply id, one
// contribution per element (or shell node) carrying it, a split-marker flag
// and the plies butted into this layer (side by side over other elements).
// Owns its contributions and its butted plies.
class CKpXLypPly : public CVekListItem {
  public:
    explicit CKpXLypPly(int lypPlyId);
    // Deletes the contributions and the butted plies.
    ~CKpXLypPly() override;
    CKpXLypPly(const CKpXLypPly&) = delete;
    CKpXLypPly& operator=(const CKpXLypPly&) = delete;

    int GetLypPlyId() const { return m_lypPlyId; }
    CKpXLypPlyYStore& Contributions() { return m_ys; }
    const CKpXLypPlyYStore& Contributions() const { return m_ys; }
    int IsSplit() const { return m_split; }
    void SetSplit(int flag) { m_split = flag; }

    // 1 when the contributions of this ply or, recursively, of a butted ply
    // hold `elementId`.
    int HasId(int elementId) const;
    // 1 when HasId holds for an element id of `other`'s own contributions.
    int HasIds(const CKpXLypPly& other) const;
    // This ply's id when its own contributions hold the element; else the id
    // of the first butted ply whose contributions hold it; else this ply's.
    int GetLypPlyId(int elementId) const;
    // Mean of the own contributions (0.0 without any); with butted plies the
    // largest of that and each butted ply's AveThick.
    double AveThick() const;
    // The own mean, or a butted ply's MaxThick when larger.
    double MaxThick() const;
    // Number of butted plies.
    int GetNumButtedPlys() const;
    // The butted plies, created empty on first use; null when that fails.
    CKpXLypPlyStore* GetButtedPlys();

  private:
    int m_lypPlyId;
    CKpXLypPlyYStore m_ys;
    int m_split;
    CKpXLypPlyStore* m_butted;  // owned; null until first use
};

#endif  // PLYSTRAND_LAYUPLIB_CKPXLYPPLY_H
