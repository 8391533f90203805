#ifndef PLYSTRAND_LAYUPLIB_CKPPLYCTYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPLYCTYSTORE_H

#include "layuplib/CKpPlyCty.h"
#include "layuplib/CVekList.h"

class CKpLam;
class CKpMsg;

// CKpPlyCtyStore: the global ply ids that two neighbouring laminates have in
// common, in the stacking order of the first laminate (count, first, last),
// and the largest run of plies that a laminate drops between two of them.
// Laminate verification reads both for its ply drop-off rules. The list owns
// its items and deletes them when it is destroyed; eraseAllObjects empties
// it for the next pair.
class CKpPlyCtyStore : public CVekList<CKpPlyCty> {
  public:
    CKpPlyCtyStore() = default;
    // Deletes every item.
    ~CKpPlyCtyStore();

    CKpPlyCtyStore(const CKpPlyCtyStore&) = delete;
    CKpPlyCtyStore& operator=(const CKpPlyCtyStore&) = delete;

    // Appends the global ply ids that `lamA` and `lamB` share, in lamA's
    // order (bottom first). lamB is read bottom first when `direction` is
    // positive and top first when it is negative (the neighbour's normal
    // points the other way). Each of lamB's ids is looked up in lamA from
    // just above the last common layer found; an id that lamA holds below
    // that point means the two laminates stack their common plies in
    // different orders. Refusals, each a warning (severity 2) to `log` when
    // given, with -1:
    //   "Null laminates passed to CKpPlyCtyStore::SetCommonGplyId()."
    //   "Laminate '<name>' does not have uniquely defined global ply ids."
    //     (lamA checked first; every layer needs its own positive id, and a
    //     laminate without layers is refused too)
    //   "Zero direction flag passed to CKpPlyCtyStore::SetCommonGplyId()."
    //   "GPlyIds <id> crossed over between laminates '<A>' and '<B>'."
    // -1 also, silently, when memory runs out. 0 otherwise. A refusal keeps
    // the ids appended before it.
    int SetCommonGplyId(CKpMsg* log, CKpLam* lamA, CKpLam* lamB, int direction);

    // The largest dropped run of `lam` against the stored common ids: lam's
    // layers are walked bottom first; for each common id in order the layers
    // from the cursor up to (not including) the layer of that id form one
    // run, and the cursor moves past that layer. A common id that lam lacks
    // makes the run reach the top of the laminate and ends the walk; the
    // walk also ends when the layers or the common ids run out (layers above
    // the last common ply form no run). maxCount (written) is the largest
    // number of layers in a run and maxThickness (written) the largest
    // summed layer thickness of a run (model length units), each taken on
    // its own; both 0 when no run holds a layer. 0; -1 for a null `lam`
    // (warning "Null laminate passed to CKpPlyCtyStore::GetMaxDropoff()."
    // when `log` is given).
    int GetMaxDropoff(CKpMsg* log, CKpLam* lam, int& maxCount, double& maxThickness);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPLYCTYSTORE_H
