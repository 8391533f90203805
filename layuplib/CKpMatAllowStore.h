#ifndef PLYSTRAND_LAYUPLIB_CKPMATALLOWSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPMATALLOWSTORE_H

#include "layuplib/CKpMatAllow.h"
#include "layuplib/CVekObjectStore.h"

class CKpLayup;
class CKpMsg;
class IVekAddinFailureLamina;

// CKpMatAllowStore: the allowables of the materials of one failure run by
// material id (capacity 64); owns its records.
class CKpMatAllowStore : public CVekObjectStore<CKpMatAllow> {
  public:
    CKpMatAllowStore();
    ~CKpMatAllowStore() override;
    CKpMatAllowStore(const CKpMatAllowStore&) = delete;
    CKpMatAllowStore& operator=(const CKpMatAllowStore&) = delete;

    // One record for every material the laminates of the given elements
    // use, filled from the material under the criterion's labels, then
    // overridden by name: material j of `materialNames` (exact match, the
    // first counts) gives positions 0..nValues-1 from values[j * nValues].
    // Each record is then checked by the criterion, in ascending material
    // id. Errors and statuses: 1 "No materials in model.", 2 "Laminate
    // references no materials.", 3 "Failure criterion has no allowables.",
    // 4 "Cannot set allowables.", 5 "Unacceptable allowables for material
    // %s:" followed by the criterion's messages; 0 done.
    int CreateMatAllows(CKpLayup* layup, int nElems, const int* elemIds,
                        IVekAddinFailureLamina* criterion, int basis, int nMaterials,
                        const char* const* materialNames, int nValues, const double* values);

    // The record of that material name (exact), or null.
    CKpMatAllow* findByName(const char* name);
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATALLOWSTORE_H
