#ifndef PLYSTRAND_LAYUPLIB_CKPAXIS_H
#define PLYSTRAND_LAYUPLIB_CKPAXIS_H

class CKpAxisPt;

// CKpAxis: a fibre axis, the polyline traced over the faceted surface from a
// start point in one fibre direction. Slots 0..count-1 hold its points in
// order; the axis owns them.
class CKpAxis {
  public:
    // An axis of no points with 512 empty slots (none when the array cannot
    // be allocated; it grows on the first store).
    CKpAxis();

    // Deletes every point and frees the array.
    ~CKpAxis();

    CKpAxis(const CKpAxis&) = delete;
    CKpAxis& operator=(const CKpAxis&) = delete;

    // Number of points.
    int entries() const { return count; }

    // Point i; null when i is negative or not below the count.
    CKpAxisPt* pAxisPt(int i) const;

    // Stores `point` in slot i and takes ownership of it. A slot at or beyond
    // the capacity grows the array to i + 128 slots; the count becomes
    // max(count, i + 1). 0; -1 (nothing stored, the caller keeps the point)
    // when i is negative, the slot is already taken or the array cannot
    // grow.
    int pAxisPt(int i, CKpAxisPt* point);

    // Deletes every point; the count becomes 0 (the slots stay).
    void reinit();

  private:
    CKpAxisPt** points;
    int capacity;
    int count;
};

#endif  // PLYSTRAND_LAYUPLIB_CKPAXIS_H
