#ifndef PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H

#include "layuplib/CKpPly.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekPlyStore.h"

class CKpLayup;
class CKpLypPlyStore;
class CKpMatStore;
class CKpMsg;
class CKpPatStore;

// CKpPlyStore: the model's plies by id. It derives from its interface first,
// so the store pointer is the interface pointer. It owns its plies and keeps
// a pointer back to the model, through which a ply reaches the message log,
// the mesh, the pattern store and the drape workspace. The IVekPlyStore
// operations are documented there.
//
// Deleting a ply or a pattern that the model's drape workspace holds first
// empties the workspace, so that it never keeps a pointer to a deleted
// object.
class CKpPlyStore : public IVekPlyStore, public CVekObjectStore<CKpPly> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpPlyStore(CKpLayup* layup);
    // Deletes every ply.
    ~CKpPlyStore() override;

    CKpPlyStore(const CKpPlyStore&) = delete;
    CKpPlyStore& operator=(const CKpPlyStore&) = delete;

    // ---- IVekPlyStore, in slot order
    IVekPly* New() override;
    int Delete(IVekPly* ply) override;
    int Replace(IVekPly* oldPly, IVekPly* newPly, const char* name) override;
    int Count() override;
    IVekPly* Get(const char* name) override;
    IVekPly* Get(int index) override;

    // ---- class operations

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `ply` and inserts it; the store then
    // deletes it. Null is ignored.
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpPly* ply);

    // The first ply in ascending id whose name is exactly `name`
    // (case-sensitive; an unset name counts as ""); null when none or for a
    // null name.
    CKpPly* findByName(const char* name);
    // Delete for a ply of this store (see IVekPlyStore::Delete).
    int Delete(CKpPly* ply);
    // The number of plies whose material id is `materialId`.
    int GetReferencesOfMaterial(int materialId);
    // CKpPly::ConvertPaintedToProjected on every painted ply; the number
    // converted, logged as the information "<n> plies have been converted
    // from 'Painted' to 'Projected' type." when at least 1.
    int ConvertPaintedToProjected();

  private:
    CKpLayup* m_layup;  // held, not owned
};

// Deletes the ply named `name` from `plys` and then its pattern from `pats`.
// 0; -1 after the error "Could not find specified layer." (no such ply) or
// "Layer already used in layup." (a layup ply of `lypPlys` refers to a ply
// of its type and id; nothing deleted); -1 after the warning "Pattern used by
// another layer." when another ply uses the pattern (the ply stays deleted).
// -1 without message for a null store or name. `log` may be null (no
// messages).
int DeleteLayer(CKpMsg* log, CKpLypPlyStore* lypPlys, CKpPlyStore* plys, CKpPatStore* pats,
                const char* name);

// Deletes the material named `name` from `mats` unless a ply of `plys` uses
// it. 1 when deleted; 0 after the error "Could not find specified material."
// or "Material already used in layer.", and without message for a null
// store or name. `log` may be null (no messages).
int DeleteMaterial(CKpMsg* log, CKpPlyStore* plys, CKpMatStore* mats, const char* name);

#endif  // PLYSTRAND_LAYUPLIB_CKPPLYSTORE_H
