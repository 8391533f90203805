#ifndef PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H

#include "layuplib/CKpLam.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekLamStore.h"

class CKpElem;
class CKpLayup;

// CKpLamStore: the model's laminates by id. It derives from its interface
// first, so the store pointer is the interface pointer. It owns its
// laminates and keeps a pointer back to the model, through which laminates
// reach the elements and materials.
class CKpLamStore : public IVekLamStore, public CVekObjectStore<CKpLam> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpLamStore(CKpLayup* layup);
    // Deletes every laminate.
    ~CKpLamStore() override;

    CKpLamStore(const CKpLamStore&) = delete;
    CKpLamStore& operator=(const CKpLamStore&) = delete;

    // ---- IVekLamStore (see there) ----
    CKpLam* New(int id) override;
    int Count() override { return entries(); }
    CKpLam* Get(int index) override { return (*this)[index]; }
    int GetReferencedMaterials(int nElems, const int* elemIds, int nMats, int& count,
                               IVekMaterial** mats) override;
    int GetNumGlobalPlyIDs() override;
    int GetGlobalPlyIDsNamesThicks(int n, int* ids, char** names, char** matNames, int len,
                                   double* thicks) override;
    int GetGlobalPlyLayers(int gplyId, int capacity, int& count, int* elemIds,
                           int* layers) override;
    int GetMaxNumLayers() override;
    int GetLayerMatsThicksOrients(ELayerType type, int k, int capacity, int& count,
                                  IVekMaterial** mats, int* nverts, double* bottomSurf,
                                  double* midSurf, double* topSurf, double* midPts,
                                  double* fibreDirs, double* transverseDirs,
                                  double* sizes) override;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `lam` and inserts it; the store then
    // deletes it. Null is ignored.
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpLam* lam);

    // The first laminate in ascending id order whose name equals `name`
    // exactly (case-sensitive); null when none, and for a null name.
    CKpLam* findByName(const char* name);

    // Deletes every laminate after resetting the property id of every
    // element of the model to 0 (no element refers to a deleted laminate).
    // 1 without model, 2 when the element store cannot be created, 3 when
    // resetting the elements fails (nothing is deleted then), else 0.
    int Clear();

    // The number of laminates having at least one layer of material `mid`.
    int GetReferencesOfMaterial(int mid);

  private:
    CKpLayup* m_layup;  // held, not owned
};

// Appends the drawing data of one layer on one shell element at entry
// `entry` (then incremented) and corner offset `vertexBase` (then grown by
// the element's corner count); see IVekLamStore::GetLayerMatsThicksOrients
// for what each array receives. `zb`, `zm`, `zt` are the bottom, middle and
// top of the layer along the element normal, `angle` the layer angle
// (radians). Null arrays are skipped; the caller sizes the others. Where the
// element's geometry cannot be formed, zeros are written. 0; -1 for a null
// element (nothing written, counters unchanged).
int SetMatsThicksOrients(const CKpElem* elem, IVekMaterial* mat, double zb, double zm, double zt,
                         double angle, int& entry, int& vertexBase, IVekMaterial** mats,
                         int* nverts, double* bottomSurf, double* midSurf, double* topSurf,
                         double* midPts, double* fibreDirs, double* transverseDirs, double* sizes);

#endif  // PLYSTRAND_LAYUPLIB_CKPLAMSTORE_H
