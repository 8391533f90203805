#ifndef PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H

#include "layuplib/IVekResult.h"

class IVekAddinFailureLamina;

// IVekResultStore: the model's layered element results as clients see them.
// The model owns the store and hands it out through ILayup::GetResultStore;
// the store owns its results. The operations keep this slot order.
class IVekResultStore {
  public:
    // Basis of a failure run: 1 stress (strain results are then refused);
    // any other value selects the strain basis.
    enum EBasis : int { eStress = 1, eStrain = 2 };

    // A new result with id = highest id + 1 (1 in an empty store), empty
    // names, codes 0 and no records, inserted and returned. Null when memory
    // runs out or the ids are used up.
    virtual IVekResult* New() = 0;
    // Removes `result` from the store and destroys it: 0. -1 for a null
    // result or one that is not in this store (nothing destroyed).
    virtual int Delete(IVekResult* result) = 0;
    // Destroys every result. 0.
    virtual int DeleteAll() = 0;
    // Number of results.
    virtual int Count() = 0;
    // The index-th result (from 0) in ascending id order; null outside
    // 0..Count()-1.
    virtual IVekResult* Get(int index) = 0;
    // The result with that id, or null.
    virtual IVekResult* GetId(int id) = 0;
    // Failure run over the layer results of one load case and subcase:
    //   nElems, elemIds     the elements to analyse (read);
    //   names[5]            names of the input results (read);
    //   criterion           the criterion to run;
    //   perLayer, worst, criticalLayers   which results to create (flags);
    //   basis               1 stress, other strain;
    //   nMaterials, materialNames, nValues, values   allowable overrides:
    //                       nValues doubles per named material (read);
    //   nResults, resultIndices   criterion result indices to store (read);
    //   description         appended to the theory name (may be null);
    //   reportFile          failure report path (null or "": none);
    //   ids[2]              first new result id and one past the last
    //                       (written).
    // 0 on success, 1 without a model, 2 without a criterion, 3 when the
    // allowables fail, 4 when the selection fails, 5 when the analysis fails.
    virtual int CreateResultsFailureLamina(int nElems, const int* elemIds,
                                           const char* const names[5],
                                           IVekAddinFailureLamina* criterion, int perLayer,
                                           int worst, int criticalLayers, EBasis basis,
                                           int nMaterials, const char* const* materialNames,
                                           int nValues, const double* values, int nResults,
                                           const int* resultIndices, const char* description,
                                           const char* reportFile, int* ids) = 0;
    // Sorting of per-element layer results into one result per layup ply:
    // names[5] select the input results (read), flags[8] and separators[8]
    // compose the layer names, `option` numbers the layers from the other
    // end when nonzero, ids[2] as above (written). 0, or 1 without a model or
    // when the sort fails.
    virtual int CreateResultsSortLayup(const char* const names[5], const int* flags,
                                       const char* const* separators, int option, int* ids) = 0;
    // The same sorting into one result per global ply id of the laminates.
    virtual int CreateResultsSortLaminate(const char* const names[5], int* ids) = 0;

  protected:
    ~IVekResultStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKRESULTSTORE_H
