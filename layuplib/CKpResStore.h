#ifndef PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESSTORE_H

#include "layuplib/CKpRes.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekResultStore.h"

class CKpLayup;

// CKpResStore: the element results of the model by id (each one named
// quantity for one load case, subcase and layer), handed out to clients as
// IVekResultStore (the store pointer is the interface pointer). Owns its
// results; holds the model, which the failure run and the sorting need,
// without owning it. Solver readers insert their own CKpRes objects with
// the store's highest id + 1 onward.
class CKpResStore : public IVekResultStore, public CVekObjectStore<CKpRes> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpResStore(CKpLayup* layup = nullptr);

    // Deletes every result.
    ~CKpResStore() override;

    CKpResStore(const CKpResStore&) = delete;
    CKpResStore& operator=(const CKpResStore&) = delete;

    IVekResult* New() override;
    int Delete(IVekResult* result) override;
    int DeleteAll() override;
    int Count() override { return entries(); }
    IVekResult* Get(int index) override;
    IVekResult* GetId(int id) override;
    // Not available in this build: 1 without a model; otherwise the error
    // "<operation> is not available" and the operation's failure status
    // (5, 1 and 1).
    int CreateResultsFailureLamina(int nElems, const int* elemIds, const char* const names[5],
                                   IVekAddinFailureLamina* criterion, int perLayer, int worst,
                                   int criticalLayers, EBasis basis, int nMaterials,
                                   const char* const* materialNames, int nValues,
                                   const double* values, int nResults, const int* resultIndices,
                                   const char* description, const char* reportFile,
                                   int* ids) override;
    int CreateResultsSortLayup(const char* const names[5], const int* flags,
                               const char* const* separators, int option, int* ids) override;
    int CreateResultsSortLaminate(const char* const names[5], int* ids) override;

    // The first result in ascending id order whose five names all equal
    // `names` (CKpRes::SameName), or null.
    CKpRes* findByName(const char* const names[5]);

    // The model; null until set.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

  private:
    // The error "<operation> is not available" through the model's log.
    void NotAvailable(const char* operation);

    CKpLayup* m_layup;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
