#ifndef PLYSTRAND_LAYUPLIB_CVEKLISTITEM_H
#define PLYSTRAND_LAYUPLIB_CVEKLISTITEM_H

// CVekListItem: base of every item of an intrusive CVekList.
//
// An item carries its own links to the next and the previous item; an item
// lies in at most one list at a time. Copying an item copies both links as
// they are; the list's insert operations set both links of what they insert.
class CVekListItem {
  public:
    // Both links null.
    CVekListItem() : m_next(nullptr), m_prev(nullptr) {}
    CVekListItem(const CVekListItem&) = default;
    CVekListItem& operator=(const CVekListItem&) = default;
    // Lists delete their items through this destructor (eraseAllObjects).
    virtual ~CVekListItem();

    // The following / preceding item, null at the ends or when not linked.
    CVekListItem* Next() const { return m_next; }
    CVekListItem* Prev() const { return m_prev; }
    void SetNext(CVekListItem* next) { m_next = next; }
    void SetPrev(CVekListItem* prev) { m_prev = prev; }

  private:
    CVekListItem* m_next;
    CVekListItem* m_prev;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKLISTITEM_H
