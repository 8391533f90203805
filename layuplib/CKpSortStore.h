#ifndef PLYSTRAND_LAYUPLIB_CKPSORTSTORE_H
#define PLYSTRAND_LAYUPLIB_CKPSORTSTORE_H

// CKpSort: one (index, value) pair of a CKpSortStore.
struct CKpSort {
    int index = -1;      // -1 when unset
    double value = 0.0;  // 0.0 when unset
};

// qsort comparison over CKpSort entries: ascending value, equal values by
// ascending index. Compares, never subtracts.
int cmpSort(const void* a, const void* b);

// CKpSortStore: a table of (index, value) pairs, sorted by value on demand,
// e.g. facets by their smallest coordinate along an axis.
//
// The entries are one block from malloc (Create) that Clear and the
// destructor free. Positions i run 0..GetSize()-1.
class CKpSortStore {
  public:
    // Empty: no entries, size 0.
    CKpSortStore() = default;
    // Runs Clear.
    ~CKpSortStore();

    CKpSortStore(const CKpSortStore&) = delete;
    CKpSortStore& operator=(const CKpSortStore&) = delete;

    // Frees the old entries, then makes n unset entries (index -1, value
    // 0.0). 0; 1 for n below 1 (the store stays empty); 2 when the block
    // cannot be allocated (empty store).
    int Create(int n);

    // Set the pair, the index or the value at position i. 0; 1 when i is
    // outside 0..GetSize()-1 (nothing changes).
    int SetIndexValue(int i, int index, double value);
    int SetIndex(int i, int index);
    int SetValue(int i, double value);

    // The index at position i, -1 outside the table; the value at position
    // i, -1.0 outside.
    int GetIndex(int i) const;
    double GetValue(int i) const;
    // Number of entries.
    int GetSize() const { return m_size; }

    // Sorts the n entries from position `start` by cmpSort (qsort). A
    // negative start counts as 0; n below 1 as the whole size (so with
    // start above 0 the range runs past the end). 0; 1 when start + n
    // exceeds the size (nothing changes).
    int Sort(int start, int n);

    // The value of the first / the last entry (the smallest / largest after
    // a full Sort); 0.0 for an empty store.
    double GetMinValue() const;
    double GetMaxValue() const;

    // Frees the entries; size 0.
    void Clear();

  private:
    bool valid(int i) const { return i >= 0 && i < m_size; }

    CKpSort* m_entries = nullptr;
    int m_size = 0;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPSORTSTORE_H
