#ifndef PLYSTRAND_LAYUPLIB_CKPSET_H
#define PLYSTRAND_LAYUPLIB_CKPSET_H

#include "layuplib/CKpIdStore.h"
#include "layuplib/CKpStr.h"
#include "layuplib/CVekObject.h"
#include "layuplib/IVekSet.h"

// CKpSet: a named set of ids (the elements of a patch or a region), kept as
// a plain sorted list, one CKpId per id. Ids are added without looking for
// ids already present, so an id given twice is held twice. The set store
// owns the set.
//
// Compressed form, in which sets are exchanged (the layup file): the ids in
// ascending order cut into runs of consecutive ids; a run from s to e is
// written as the entry s when e = s, else as the two entries s, -e. Ids
// below 1 are dropped. Ids 3, 5, 6, 7, 9, 10 give 3, 5, -7, 9, -10.
class CKpSet : public IVekSet, public CVekObject {
  public:
    // An empty set with the given id and an empty name.
    explicit CKpSet(int id);
    // Deletes the id entries.
    ~CKpSet() override;

    CKpSet(const CKpSet&) = delete;
    CKpSet& operator=(const CKpSet&) = delete;

    // ---- IVekSet, in slot order (documented there)
    const char* GetName() override;
    int GetNumIds() override;
    int GetIds(int n, int* ids) override;
    int SetName(const char* name) override;

    // ---- Ids

    // Adds the n ids of `ids` (read). 0 (also for n < 1); 1 for a null
    // array with n > 0 (nothing added); -1 when memory runs out (the ids
    // added before stay).
    int AddIds(int n, const int* ids);
    // Replaces the ids by the n ids of `ids`; results as AddIds (a null
    // array with n > 0 changes nothing).
    int SetIds(int n, const int* ids);
    // Deletes every id. 0.
    int ClearIds();

    // The number of entries of the compressed form.
    int GetNumComprIds();
    // The compressed form into `list` (n ints, written). 0; 1 when n differs
    // from GetNumComprIds or `list` is null with n > 0 (nothing written).
    int GetComprIds(int n, int* list);
    // Reads n entries of a compressed form (`list`, read), starting with the
    // previous id `previous`: an entry e > 0 adds the id e and makes it the
    // previous id; an entry e <= 0 adds every id from previous + 1 through
    // -e (none when -e <= previous) and leaves the previous id as it is.
    // Returns the previous id after the last entry, to be handed to the
    // reading of the next piece of the same list (a run may continue there).
    // A null list with n > 0 adds nothing and returns `previous`; when
    // memory runs out the reading stops (the ids added so far stay), and so
    // does it at a run that would take the set past INT_MAX ids.
    int AddComprIds(int previous, int n, const int* list);
    // How many ids the runs among those n entries would add, read as
    // AddComprIds reads them from `previous` (ids the set may hold already
    // included): what a reader weighs before expanding them. 0 for a null
    // list.
    static long long ComprRunIds(int previous, int n, const int* list);

    // ---- Plain accessors

    // The name ("" when unset).
    const char* name() const { return m_name; }
    void setName(const char* name) { m_name = name ? name : ""; }

    // The ids, ascending.
    CKpIdStore& Ids() { return m_ids; }

  private:
    // Adds one id; false when memory runs out.
    bool addId(int id);

    CKpStr m_name;
    CKpIdStore m_ids;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSET_H
