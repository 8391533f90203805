#ifndef PLYSTRAND_LAYUPLIB_CKPMATSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPMATSTORE_H

#include "layuplib/CKpMat.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekMaterialStore.h"

class CKpLayup;

// CKpMatStore: materials by id, in ascending id order. The model holds two:
// the layup's materials and the laminate materials (equivalent materials
// made from laminates). It derives from its interface first, so the store
// pointer is the interface pointer. It owns its materials and keeps a
// pointer back to the model, through which it reaches the message log and
// the ply and laminate stores. Names are compared exactly (case-sensitive).
class CKpMatStore : public IVekMaterialStore, public CVekObjectStore<CKpMat> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpMatStore(CKpLayup* layup);
    // Deletes every material.
    ~CKpMatStore() override;

    CKpMatStore(const CKpMatStore&) = delete;
    CKpMatStore& operator=(const CKpMatStore&) = delete;

    // ---- IVekMaterialStore (see there)
    CKpMat* New(int id) override;
    // -1 for null, else Delete(CKpMat*) of the material.
    int Delete(IVekMaterial* material) override;
    int Count() override { return entries(); }
    CKpMat* Get(const char* name) override { return findByName(name); }
    CKpMat* Get(int index) override { return (*this)[index]; }

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `mat` and inserts it; the store then
    // deletes it. Null is ignored.
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpMat* mat);

    // The first material in ascending id order whose name equals `name`
    // exactly; null when none does or `name` is null.
    CKpMat* findByName(const char* name);

    // Removes `mat` from the store and deletes it unless the model's plies
    // or laminates use its id. Results, checked in this order:
    //   1 `mat` is null or not a material of this store;
    //   2 the store has no model;
    //   3 the model has no ply store;
    //   4 n >= 1 plies use it: error "Material '%s' is referenced by %d plies
    //     and cannot be deleted.";
    //   5 the model has no laminate store;
    //   6 n >= 1 laminates have a layer of it: error "Material '%s' is
    //     referenced by %d laminates and cannot be deleted.";
    //   0 deleted (the pointer is then invalid).
    // Anything but 0 leaves the material in the store.
    int Delete(CKpMat* mat);

    // SetDirAuto on the base state and every further state of every
    // material. 0.
    int SetDirAuto();

    // For every material: an empty external name of the base state becomes
    // the material name, an external id below 1 becomes the material id. 0.
    int SetDefaultExternalNameAndId();

    // Converts every painted material to projected (each logs its own
    // information) and, when at least one was converted and a model exists,
    // logs "%d materials have been converted from 'Painted' to 'Projected'
    // type.". Returns the number converted.
    int ConvertPaintedToProjected();

  private:
    // True when `mat` is one of the objects this store holds (pointer
    // equality; the pointer is not dereferenced).
    bool holds(const CKpMat* mat);

    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPMATSTORE_H
