#ifndef PLYSTRAND_LAYUPLIB_CKPSELECT_H
#define PLYSTRAND_LAYUPLIB_CKPSELECT_H

#include "layuplib/CKpBdyStoreGroup.h"
#include "layuplib/CKpIdStore.h"
#include "layuplib/IVekSelect.h"

class CKpBdyStore;
class CKpLayup;

// CKpSelect: the model's element selection for clients: the chosen element
// ids (each once, ascending) and, after a run, one boundary store per
// connected group of them (group index g is the boundary store of id
// g + 1). Holds the model without owning it; owns the ids and the groups.
// Statuses and arguments of the IVekSelect operations: IVekSelect.h.
// Messages go to the model's message log.
class CKpSelect : public IVekSelect {
  public:
    // No model, no ids, no groups, results invalid.
    CKpSelect();
    ~CKpSelect() override;

    CKpSelect(const CKpSelect&) = delete;
    CKpSelect& operator=(const CKpSelect&) = delete;

    // ---- IVekSelect, in slot order
    int Clear() override;
    int SetElementIds(int n, int* ids) override;
    int GetNumSelectionGroups(int* numGroups) override;
    int GetNumElements(int group, int* numBoundary, int* numInterior) override;
    int GetElementIds(int group, int numBoundary, int* boundaryIds, int numInterior,
                      int* interiorIds) override;
    int GetBoundarySizes(int group, int* numRings, int* numPoints) override;
    int GetBoundary(int group, int numRings, int numPoints, int* perRing, double* xyz,
                    int* ids) override;
    int Run() override;

    // Binds the model: 1 for null (nothing changes); else stores it, marks
    // the model as set, 0.
    int SetLayup(CKpLayup* layup);

    // Empties the groups; results invalid. 0.
    int ClearResults();

    // The bound model; null until SetLayup.
    CKpLayup* GetLayup() const { return m_layup; }

  private:
    // The common start of the queries: the model, valid results (running
    // when needed) and the boundary store of `group`. 0 with *store set;
    // else the query's status (1, 2, 3).
    int Group(int group, CKpBdyStore** store);

    // Issues the error `text` (when there is a model) and returns 4.
    int BadArguments(const char* text);

    CKpLayup* m_layup;
    int m_layupSet;
    int m_resultsValid;
    CKpIdStore m_elemIds;
    CKpBdyStoreGroup m_groups;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSELECT_H
