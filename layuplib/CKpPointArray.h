#ifndef PLYSTRAND_LAYUPLIB_CKPPOINTARRAY_H
#define PLYSTRAND_LAYUPLIB_CKPPOINTARRAY_H

#include "layuplib/CKpPoint.h"

// CKpPointArray: a growable array of points, filled by index. Capacity 10
// and no entries after construction; the number of entries is one more
// than the highest index handed out.
class CKpPointArray {
  public:
    CKpPointArray();
    // Frees the array.
    ~CKpPointArray();
    CKpPointArray(const CKpPointArray&) = delete;
    CKpPointArray& operator=(const CKpPointArray&) = delete;

    // The point at index i (i >= 0), for reading and writing. An index at
    // or beyond the capacity grows the array to capacity i + 10, keeping
    // the points held; new points are (0, 0, 0). The number of entries is
    // raised to i + 1 when smaller. Null for a negative index or when
    // memory runs out (nothing changes then).
    CKpPoint* pPoint(int i);

    // Number of entries.
    int entries() const { return m_count; }
    int capacity() const { return m_capacity; }
    // Forgets every entry (the capacity stays).
    void clear() { m_count = 0; }

  private:
    CKpPoint* m_points;
    int m_capacity;
    int m_count;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPPOINTARRAY_H
