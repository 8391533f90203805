#ifndef PLYSTRAND_LAYUPLIB_CKPSELECT_H
#define PLYSTRAND_LAYUPLIB_CKPSELECT_H

#include "layuplib/CKpBdyStoreGroup.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/IVekSelect.h"

class CKpLayup;

// CKpSelect: the model's element selection for clients: the chosen element
// ids (each once, ascending) and, after a run, one boundary store per
// connected group of them (group index g is the boundary store of id
// g + 1). Holds the model without owning it; owns the ids and the groups.
class CKpSelect : public IVekSelect {
  public:
    // No model, no ids, no groups, results invalid.
    CKpSelect();
    ~CKpSelect() override;

    CKpSelect(const CKpSelect&) = delete;
    CKpSelect& operator=(const CKpSelect&) = delete;

    // Empties the ids and the groups; results invalid. 0.
    int Clear() override;

    // Binds the model: 1 for null (nothing changes); else stores it, marks
    // the model as set, 0.
    int SetLayup(CKpLayup* layup);

    // Empties the groups; results invalid. 0.
    int ClearResults();

    // The bound model; null until SetLayup.
    CKpLayup* GetLayup() const { return m_layup; }

  private:
    CKpLayup* m_layup;
    int m_layupSet;
    int m_resultsValid;
    CKpIdStore m_elemIds;
    CKpBdyStoreGroup m_groups;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSELECT_H
