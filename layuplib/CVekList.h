#ifndef PLYSTRAND_LAYUPLIB_CVEKLIST_H
#define PLYSTRAND_LAYUPLIB_CVEKLIST_H

#include "layuplib/CVekListItem.h"

// CVekList<T>: an intrusive doubly linked list of items T, where T derives
// from CVekListItem.
//
// The list does not own its items: unlinking an item (Delete, DeleteFirst)
// hands it back to the caller; only eraseAllObjects deletes them (through the
// items' virtual destructor). An item lies in at most one list at a time.
// Operations that take an item which must be in the list (Insert's `before`,
// Delete) check membership by walking the list and do nothing otherwise.
template <class T>
class CVekList {
  public:
    // Empty list.
    CVekList() : m_count(0), m_first(nullptr), m_last(nullptr) {}
    // Copying would link the same items into two lists.
    CVekList(const CVekList&) = delete;
    CVekList& operator=(const CVekList&) = delete;

    // Number of items.
    int entries() const { return m_count; }

    // First / last item, null when empty.
    T* First() const { return m_first; }
    T* Last() const { return m_last; }

    // The neighbour of `item`; null at the ends or for a null item.
    T* Next(const T* item) const { return item ? static_cast<T*>(AsItem(item)->Next()) : nullptr; }
    T* Prev(const T* item) const { return item ? static_cast<T*>(AsItem(item)->Prev()) : nullptr; }

    // The neighbour with wrap-around: after the last comes the first, before
    // the first the last. A null item gives the first (NextLoop) or the last
    // (PrevLoop); null only when the list is empty.
    T* NextLoop(const T* item) const {
        T* next = Next(item);
        return next ? next : m_first;
    }
    T* PrevLoop(const T* item) const {
        T* prev = Prev(item);
        return prev ? prev : m_last;
    }

    // The i-th item from the first; null outside 0..count-1.
    T* GetIndex(int i) const {
        if (i < 0 || i >= m_count) return nullptr;
        T* item = m_first;
        for (; i > 0; --i) item = Next(item);
        return item;
    }

    // Links `item` (not null, in no list) at the end / at the start.
    void InsertLast(T* item) {
        if (!item) return;
        AsItem(item)->SetNext(nullptr);
        AsItem(item)->SetPrev(m_last);
        if (m_last)
            AsItem(m_last)->SetNext(item);
        else
            m_first = item;
        m_last = item;
        ++m_count;
    }
    void InsertFirst(T* item) {
        if (!item) return;
        AsItem(item)->SetPrev(nullptr);
        AsItem(item)->SetNext(m_first);
        if (m_first)
            AsItem(m_first)->SetPrev(item);
        else
            m_last = item;
        m_first = item;
        ++m_count;
    }

    // Links `item` just before `before` (as the new first when `before` is the
    // first). In an empty list the item becomes the only one, whatever
    // `before` is; otherwise nothing happens when `before` is not in the list.
    void Insert(T* before, T* item) {
        if (!item) return;
        if (m_count == 0) {
            InsertLast(item);
            return;
        }
        if (!Contains(before)) return;
        if (before == m_first) {
            InsertFirst(item);
            return;
        }
        CVekListItem* prev = AsItem(before)->Prev();
        AsItem(item)->SetPrev(prev);
        AsItem(item)->SetNext(before);
        prev->SetNext(item);
        AsItem(before)->SetPrev(item);
        ++m_count;
    }

    // Unlinks and returns the first item; null when empty.
    T* DeleteFirst() {
        T* item = m_first;
        if (item) Unlink(item);
        return item;
    }

    // Unlinks `item` (its links become null) and returns the item that
    // followed it; null when it was the last. An item not in the list: null,
    // nothing changes.
    T* Delete(T* item) {
        if (!Contains(item)) return nullptr;
        T* next = Next(item);
        Unlink(item);
        return next;
    }

    // Unlinks and deletes every item from the first on; the list is empty.
    void eraseAllObjects() {
        while (T* item = DeleteFirst()) delete item;
    }

  protected:
    // The item's own links, even when T declares Next/Prev of its own.
    static CVekListItem* AsItem(const T* item) { return const_cast<T*>(item); }

    bool Contains(const T* item) const {
        if (!item) return false;
        const CVekListItem* target = AsItem(item);
        for (const CVekListItem* p = AsItem(m_first); p; p = p->Next())
            if (p == target) return true;
        return false;
    }

    void Unlink(T* item) {
        CVekListItem* link = AsItem(item);
        CVekListItem* prev = link->Prev();
        CVekListItem* next = link->Next();
        if (prev)
            prev->SetNext(next);
        else
            m_first = static_cast<T*>(next);
        if (next)
            next->SetPrev(prev);
        else
            m_last = static_cast<T*>(prev);
        link->SetNext(nullptr);
        link->SetPrev(nullptr);
        --m_count;
    }

    int m_count;
    T* m_first;
    T* m_last;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKLIST_H
