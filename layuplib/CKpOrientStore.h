#ifndef PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H

#include "layuplib/CKpOrient.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekOrientationStore.h"

class CKpCoordStore;
class CKpLayup;
class CKpMsg;

// CKpOrientStore: the model's orientation definitions by id. It derives from
// its interface first, so the store pointer is the interface pointer. The
// store owns its definitions and keeps a pointer back to the model, through
// which a definition reaches the elements and coordinate frames.
//
// Readers create definitions and set element orientation ids, then call
// SetElemReferences and SetDefaultIfNeeded (layup file), or
// SetDirectionsByCoords followed by SetElemTheta (solver files). Theta stays
// on the elements until it is computed again or the store is cleared.
class CKpOrientStore : public IVekOrientationStore, public CVekObjectStore<CKpOrient> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpOrientStore(CKpLayup* layup);
    // Deletes every definition.
    ~CKpOrientStore() override;

    CKpOrientStore(const CKpOrientStore&) = delete;
    CKpOrientStore& operator=(const CKpOrientStore&) = delete;

    // ---- IVekOrientationStore (see there) ----
    int SetOrientationAngles(int n, const int* elemIds, const double* angles) override;

    // The owning model (null when none).
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Makes this store the owner of `orient` and inserts it; the store then
    // deletes it. Null is ignored. When the store cannot grow the definition
    // stays with the caller (entries() does not change).
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpOrient* orient);

    // Clears the orientation link of every element of the model (pointer
    // null, id 0, theta 0), then deletes every orientation definition and
    // every coordinate frame of the model. 1 without model, 2 without
    // element store, 3 without coordinate frame store, 4 when clearing the
    // element links fails (nothing is deleted then), else 0.
    int Clear();

    // Points every element whose orientation id is above 0 at the definition
    // of that id (null when there is none); other elements are left alone.
    // 1 without model, 2 without element store, else 0.
    int SetElemReferences();

    // Sets theta (radians) of every element linked to a definition:
    //   type 3: the definition's angle (value 0);
    //   types 1 and 4: the angle of the definition's direction projected
    //     onto the element, from its reference direction about its normal;
    //     when the projection fails theta becomes 0 and, with a log, the
    //     warning "Could not project vector <x,y,z> from orientation
    //     '<name>' onto element <id>, setting THETA=0" is issued;
    //   other types: theta unchanged.
    // 1 without model, 2 without element store, else 0.
    int SetElemTheta(CKpMsg* log);

    // When some element has no definition, a definition "Default" (id =
    // highest + 1, type 0, values 0) is made and every such element is
    // linked to it (pointer and id); nothing is made otherwise. 1 without
    // model, 2 without element store, -1 when memory runs out or the highest
    // id is INT_MAX (no element is linked then), else 0.
    int SetDefaultIfNeeded();

    // For each type-1 definition in ascending id order: with reference id 0
    // the direction becomes (1, 0, 0); otherwise the unit x axis of the frame
    // of that id in `coords` (basic components as the frame's own points
    // give them; zero for a frame that is not rectangular, whose projection
    // then fails in SetElemTheta). A frame missing from `coords` (or a null
    // `coords`) issues the warning "Could not find Coord <id>" (with a log)
    // and leaves the direction unchanged. 0.
    int SetDirectionsByCoords(CKpMsg* log, CKpCoordStore* coords);

    // The first definition in ascending id order whose name equals `name`
    // exactly (case-sensitive); null when none, and for a null name.
    CKpOrient* findByName(const char* name);

  private:
    CKpLayup* m_layup;  // held, not owned
};

#endif  // PLYSTRAND_LAYUPLIB_CKPORIENTSTORE_H
