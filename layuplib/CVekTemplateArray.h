#ifndef PLYSTRAND_LAYUPLIB_CVEKTEMPLATEARRAY_H
#define PLYSTRAND_LAYUPLIB_CVEKTEMPLATEARRAY_H

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// CVekTemplateArray<T>: a growable array of pointers to T objects.
//
// The pointer buffer comes from malloc/realloc/free and grows by the grow step
// whenever it is full. An owning array (owns flag 1, the default) deletes its
// elements through `delete` when they are replaced (SetAt), removed (Delete,
// DeleteAll) or when the array is destroyed; a non-owning one never deletes.
// Indices run from 0 to GetSize() - 1; where noted, -1 means the last element.
// Slots may hold null (after SetSize or when null was added).
template <class T>
class CVekTemplateArray {
  public:
    // `growStep`: how many slots the buffer grows by when full (a step below 1
    // grows by just what is needed). `owns`: 1 the array deletes its elements,
    // 0 it never does.
    explicit CVekTemplateArray(int growStep = 10, int owns = 1)
        : m_owns(owns), m_growStep(growStep), m_capacity(0), m_count(0), m_data(nullptr) {}
    CVekTemplateArray(const CVekTemplateArray&) = delete;
    CVekTemplateArray& operator=(const CVekTemplateArray&) = delete;
    // Deletes the elements when owning; frees the buffer.
    ~CVekTemplateArray() {
        DeleteAll();
        std::free(m_data);
    }

    // Number of elements.
    int GetSize() const { return m_count; }

    // Element i; -1 means the last. Null when i is outside 0..count-1 (also
    // for -1 on an empty array) or when the slot holds null.
    T* operator[](int i) const {
        if (i == -1) i = m_count - 1;
        if (i < 0 || i >= m_count) return nullptr;
        return m_data[i];
    }

    // Element i; null outside 0..count-1.
    T* GetAt(int i) const {
        if (i < 0 || i >= m_count) return nullptr;
        return m_data[i];
    }

    // Appends p (an owning array takes ownership). Returns p's index, or -1
    // when the buffer cannot grow; then nothing changes and the caller keeps p.
    int Add(T* p) {
        if (Reserve(m_count + 1) != 0) return -1;
        m_data[m_count] = p;
        return m_count++;
    }

    // Inserts p before element i, shifting the later elements up; appends when
    // i is outside 0..count-1. Returns p's index, or -1 when the buffer cannot
    // grow (nothing changes, the caller keeps p).
    int InsertBefore(int i, T* p) {
        if (i < 0 || i >= m_count) return Add(p);
        if (Reserve(m_count + 1) != 0) return -1;
        std::memmove(m_data + i + 1, m_data + i, sizeof(T*) * (m_count - i));
        m_data[i] = p;
        ++m_count;
        return i;
    }

    // For i in 0..count-1: deletes the old element when owning (unless it is
    // p itself) and stores p. Other i: nothing.
    void SetAt(int i, T* p) {
        if (i < 0 || i >= m_count) return;
        if (m_owns && m_data[i] != p) delete m_data[i];
        m_data[i] = p;
    }

    // A smaller n cuts the count without deleting the cut elements (the
    // caller takes them over); a larger n makes the capacity n + grow step
    // and fills the new slots with null. Returns 0, or -1 for a negative n or
    // when the buffer cannot grow (nothing changes).
    int SetSize(int n) {
        if (n < 0) return -1;
        if (n > m_count) {
            long long cap = static_cast<long long>(n) + (m_growStep > 0 ? m_growStep : 0);
            if (cap > INT_MAX) cap = n;
            if (Reallocate(static_cast<int>(cap)) != 0) return -1;
        }
        for (int k = m_count; k < n; ++k) m_data[k] = nullptr;
        m_count = n;
        return 0;
    }

    // For i in 0..count-1: deletes element i when owning, moves the later
    // elements down by one; the count drops by one. Other i: nothing.
    void Delete(int i) {
        if (i < 0 || i >= m_count) return;
        if (m_owns) delete m_data[i];
        std::memmove(m_data + i, m_data + i + 1, sizeof(T*) * (m_count - i - 1));
        --m_count;
    }

    // Deletes every element when owning; the count becomes 0 (the buffer is
    // kept).
    void DeleteAll() {
        if (m_owns) {
            for (int k = 0; k < m_count; ++k) delete m_data[k];
        }
        m_count = 0;
    }

  protected:
    // Makes room for `needed` elements: grows by the grow step (or to
    // `needed` when the step is not enough). 0, or -1 when that would pass
    // INT_MAX or realloc fails.
    int Reserve(int needed) {
        if (needed <= m_capacity) return 0;
        long long cap = static_cast<long long>(m_capacity) + m_growStep;
        if (cap < needed) cap = needed;
        if (cap > INT_MAX) return -1;
        return Reallocate(static_cast<int>(cap));
    }

    int Reallocate(int capacity) {
        if (static_cast<unsigned long long>(capacity) > SIZE_MAX / sizeof(T*)) return -1;
        void* p = std::realloc(m_data, sizeof(T*) * static_cast<size_t>(capacity));
        if (!p) return -1;
        m_data = static_cast<T**>(p);
        m_capacity = capacity;
        return 0;
    }

    int m_owns;
    int m_growStep;
    int m_capacity;
    int m_count;
    T** m_data;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKTEMPLATEARRAY_H
