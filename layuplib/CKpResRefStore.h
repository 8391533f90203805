#ifndef PLYSTRAND_LAYUPLIB_CKPRESREFSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPRESREFSTORE_H

#include "layuplib/CKpResRef.h"
#include "layuplib/CVekObjectStore.h"

class CKpMsg;
class CKpRes;
class CKpResStore;

// CKpResRefStore: layer number -> the result holding that layer's values,
// for the layer results of one load case and result type. A failure run or
// a sort builds it, uses it and empties it; it owns its references, not the
// results. Capacity 64.
class CKpResRefStore : public CVekObjectStore<CKpResRef> {
  public:
    CKpResRefStore();
    ~CKpResRefStore() override;
    CKpResRefStore(const CKpResRefStore&) = delete;
    CKpResRefStore& operator=(const CKpResRefStore&) = delete;

    // The result of `layer`, or null.
    CKpRes* GetLayerResult(int layer);

    // The highest layer number whose result has a record for the element;
    // 0 when none has.
    int GetMaxLayerOnElement(int elementId);

    // Adds a reference for every result of `store` (ascending id) that
    // matches `names` (read): with `match` nonzero names 0 and 1 must equal
    // names[0] and names[1] and name 2 must be "Stress Tensor", "Strain
    // Tensor" or "Stress"; with `match` 0 names 0 to 3 must equal names[0]
    // to names[3]. The layer number is the decimal number after the first
    // six characters of name 4 ("Layer 3" is layer 3); a name without a
    // number there, or a number below 1, gives no reference. Returns
    //   0 done;
    //   1 a matching strain result while basis is 1 (warning "Calculating
    //     failure criteria for strain results on the basis of stress is not
    //     supported"), or a null store or names;
    //   2 two results for one layer (warning "Duplicate results for Layer
    //     %d");
    //   3 memory ran out ("Cannot allocate memory").
    // `msg` may be null (no messages then).
    int CreateReferencesToLayerResults(CKpMsg* msg, CKpResStore* store, const char* const names[5],
                                       int match, int basis);

    // Compares the references with the layer results built from the
    // laminates (result id = layer number). Warnings and statuses:
    //   1 "There are %d laminate layers and %d result layers.";
    //   2 "Laminate layer %d is missing.";  3 "Result layer %d is missing.";
    //   4 "Element ids differ for Laminate and Result layer %d.";
    //   0 the same layers over the same elements. 1 for a null store.
    int CompareWithLaminateLayers(CKpMsg* msg, CKpResStore* laminateLayers);

    // Whether the layers follow the element-local numbering (every element
    // has layers 1 to its own count): 1 the lowest layer number is above 1;
    // 2 layer numbers are not consecutive; 3 a layer has more records than
    // the layer before it; 4 a layer has an element the layer before lacks;
    // 0 the layers nest (also for an empty map).
    int AreGlobalLayers();
};

#endif  // PLYSTRAND_LAYUPLIB_CKPRESREFSTORE_H
