#ifndef PLYSTRAND_LAYUPLIB_CKPPLYCTY_H
#define PLYSTRAND_LAYUPLIB_CKPPLYCTY_H

#include "layuplib/CVekListItem.h"

// CKpPlyCty: one global ply id that two neighbouring laminates have in
// common (the ply runs on across their border). An item of CKpPlyCtyStore.
class CKpPlyCty : public CVekListItem {
  public:
    // The common global ply id `gplyid`; not linked.
    explicit CKpPlyCty(int gplyid) : m_gplyid(gplyid) {}
    ~CKpPlyCty() override;

    int gplyid() const { return m_gplyid; }
    void setGplyid(int id) { m_gplyid = id; }

  private:
    int m_gplyid;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLYCTY_H
