#ifndef PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESSTORE_H

#include "layuplib/CKpRes.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekResultStore.h"

class CKpElemStore;
class CKpLamStore;
class CKpLayup;
class CKpMsg;

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
    // The failure run (see IVekResultStore and CreateResultsFailure). The
    // user criterion ("User") is given nValues allowables and the model's
    // host adapter first.
    int CreateResultsFailureLamina(int nElems, const int* elemIds, const char* const names[5],
                                   IVekAddinFailureLamina* criterion, int perLayer, int worst,
                                   int criticalLayers, EBasis basis, int nMaterials,
                                   const char* const* materialNames, int nValues,
                                   const double* values, int nResults, const int* resultIndices,
                                   const char* description, const char* reportFile,
                                   int* ids) override;
    // The sorts by layup ply and by global ply (CreateResultsSort2 with the
    // model's elements, layup and laminates): 0; 1 without a model or when
    // the sort fails.
    int CreateResultsSortLayup(const char* const names[5], const int* flags,
                               const char* const* separators, int option, int* ids) override;
    int CreateResultsSortLaminate(const char* const names[5], int* ids) override;

    // One result per layer number (id = number, name 4 "Layer <n>") in
    // this store, from the laminates of the selected elements of
    // `elements`: each layer gives its element a record of one float, the
    // external material id of its material. The number is the stack
    // position from 1, or the layer's global ply id with `useGlobalPlyIds`
    // (a laminate with invalid global ply ids: error "Laminate '%s' has
    // invalid global ply ids.", 1). 0; 2 or 3 when memory runs out.
    int CreateFromLaminateLayers(CKpMsg* msg, CKpElemStore* elements, CKpLamStore* laminates,
                                 int useGlobalPlyIds);

    // The first result in ascending id order whose five names all equal
    // `names` (CKpRes::SameName), or null.
    CKpRes* findByName(const char* const names[5]);

    // The model; null until set.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

  private:
    CKpLayup* m_layup;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESSTORE_H
