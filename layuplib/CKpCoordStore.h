#ifndef PLYSTRAND_LAYUPLIB_CKPCOORDSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPCOORDSTORE_H

#include "layuplib/CKpCoord.h"
#include "layuplib/CKpPoint.h"
#include "layuplib/CVekObjectStore.h"
#include "layuplib/IVekCoordStore.h"

class CKpLayup;

// CKpCoordStore: the model's coordinate frames by id, handed out to clients
// as IVekCoordStore (the store pointer is the interface pointer). Resolves
// points given in any frame, through any chain of reference frames, to the
// basic frame. Owns its frames; holds the model without owning it.
class CKpCoordStore : public IVekCoordStore, public CVekObjectStore<CKpCoord> {
  public:
    // An empty store of capacity 64 belonging to `layup` (may be null).
    explicit CKpCoordStore(CKpLayup* layup = nullptr);

    // Deletes every frame.
    ~CKpCoordStore() override;

    CKpCoordStore(const CKpCoordStore&) = delete;
    CKpCoordStore& operator=(const CKpCoordStore&) = delete;

    // The owning model; null when none.
    CKpLayup* GetLayup() const { return m_layup; }
    void SetLayup(CKpLayup* layup) { m_layup = layup; }

    // Takes `coord` into the store (null is ignored) and sets its store
    // pointer to this store. When the store cannot grow the frame stays
    // with the caller and its store pointer is left null.
    // 0 when stored; -1 for null or when the store cannot grow.
    int insert(CKpCoord* coord);

    // Resolves `point`, given in frame `frameId` ((x, y, z), (r, theta, z)
    // or (r, theta, phi) by the frame's type; angles in degrees), to the
    // basic frame in place. The frame's defining points are themselves
    // resolved through its reference frame, and so on down the chain.
    //   0   done (frame 0: the point is already basic, unchanged);
    //  -1   frameId below 0, null point, a frame of the chain missing, or a
    //       chain that loops back on itself (a frame referring to itself,
    //       directly or through others); the point is left unchanged.
    int GetBasicCoords(int frameId, CKpPoint* point);

    // ---- IVekCoordStore ----
    int Count() override;
    IVekCoord* Get(int position) override;

  private:
    CKpLayup* m_layup;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPCOORDSTORE_H
