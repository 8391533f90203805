#ifndef PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H
#define PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H

#include "layuplib/IVekLam.h"

class IVekMaterial;

// IVekLamStore: what outside clients see of the model's laminates. The
// laminate store derives from it first, so a store pointer is also the
// interface pointer. The store belongs to the model and owns its laminates.
//
// Elements belong to the laminate whose id equals their property id. Layer
// positions are 1-based from the bottom. Queries that fill arrays write
// nothing unless they return 0.
class IVekLamStore {
  public:
    // How GetLayerMatsThicksOrients names a layer: by its position (1-based)
    // or by its global ply id.
    enum ELayerType : int { eLayerPosition = 0, eLayerGlobalPly = 1 };

    // A new default laminate with the given id, owned by the store. With
    // id < 1 the id is the largest id in the store + 1. Null when id >= 1 is
    // already taken, when id < 1 and the largest id is INT_MAX, or when
    // memory runs out.
    virtual IVekLam* New(int id) = 0;

    // The number of laminates.
    virtual int Count() = 0;

    // The laminate at `index` (0-based) in ascending id order; null outside
    // 0 .. Count() - 1.
    virtual IVekLam* Get(int index) = 0;

    // The materials used by the laminates of some elements: `nElems` element
    // ids in `elemIds` (read; ids naming no element are skipped), or every
    // element of the model when `nElems` is -1. `mats` has room for `nMats`
    // pointers, and `nMats` must equal the number of materials in the model's
    // material store. Writes the distinct materials referenced by any layer
    // of those elements' laminates, ascending by material id, and their
    // number into `count`. 0 done; 1 without model; 2 without element store;
    // 3 without material store; 4 when `nMats` differs from the material
    // count; -1 when `nElems` is below -1, or `elemIds` is null while
    // `nElems` is above 0. `mats` may be null (only `count` is written).
    virtual int GetReferencedMaterials(int nElems, const int* elemIds, int nMats, int& count,
                                       IVekMaterial** mats) = 0;

    // The number of distinct positive global ply ids over all layers of all
    // laminates; -1 only when memory runs out.
    virtual int GetNumGlobalPlyIDs() = 0;

    // The global plies, ascending by id: `n` must equal GetNumGlobalPlyIDs().
    // The first layer met with an id (laminates in id order, layers bottom
    // first) defines the ply: its layup ply name, its material's external
    // name and its material's nominal thickness (0.0 without material). Each
    // array that is not null receives `n` entries: `ids` the ids, `thicks`
    // the thicknesses, and `names` and `matNames` (n buffers of `len` bytes
    // each) the texts, cut to len - 1 characters and always terminated; with
    // `len` below 1 no text is written. 0 done; 1 when `n` differs; -1 when
    // memory runs out.
    virtual int GetGlobalPlyIDsNamesThicks(int n, int* ids, char** names, char** matNames, int len,
                                           double* thicks) = 0;

    // For each element in ascending id order whose laminate (property id
    // above 0) has a layer with global ply id `gplyId`: appends the element
    // id to `elemIds` and the position of the first such layer to `layers`,
    // at most `capacity` entries (a null array receives nothing). `count`
    // receives the number of entries. 0 done; 1 without model; 2 without
    // element store.
    virtual int GetGlobalPlyLayers(int gplyId, int capacity, int& count, int* elemIds,
                                   int* layers) = 0;

    // The largest layer count over all laminates; 0 for none.
    virtual int GetMaxNumLayers() = 0;

    // Drawing data of one layer on every element: the layer at position `k`
    // (type eLayerPosition, 1 <= k <= layer count) or the first layer with
    // global ply id `k` (eLayerGlobalPly) of each element's laminate, for the
    // elements in ascending id order with a property id above 0 naming an
    // existing laminate; shell elements without such a layer are skipped, and
    // so are elements of another kind. At most `capacity` entries are
    // written; `count` receives their number. For entry e, each array that
    // is not null receives (3-vectors in the basic frame):
    //   mats[e]            the layer's material (null when missing)
    //   nverts[e]          the element's corner count (3 or 4)
    //   bottomSurf, midSurf, topSurf  the corners moved along the element
    //                      normal to the bottom, middle and top of the
    //                      layer: 3 doubles per corner, the corners of all
    //                      entries one after the other (room for 12 doubles
    //                      per entry of `capacity` suffices)
    //   midPts[3e]         the element midpoint moved to the middle
    //   fibreDirs[3e]      the in-plane direction at the layer angle plus the
    //                      element's material angle
    //   transverseDirs[3e] the same turned by a further pi/2
    //   sizes[e]           half the square root of the element area
    // The layer's bottom lies at the laminate offset plus the thicknesses
    // below it. 0 done; 1 without model; 2 without element store; -1 for
    // another type.
    virtual int GetLayerMatsThicksOrients(ELayerType type, int k, int capacity, int& count,
                                          IVekMaterial** mats, int* nverts, double* bottomSurf,
                                          double* midSurf, double* topSurf, double* midPts,
                                          double* fibreDirs, double* transverseDirs,
                                          double* sizes) = 0;

    virtual ~IVekLamStore() = default;
};

#endif  // PLYSTRAND_LAYUPLIB_IVEKLAMSTORE_H
