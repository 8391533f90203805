#ifndef PLYSTRAND_LAYUPLIB_CVEKTEMPLATELIST_H
#define PLYSTRAND_LAYUPLIB_CVEKTEMPLATELIST_H

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// CVekTemplateList<T>: a growable array of plain values T (int, double,
// CKpPoint, pointers, handles; T must be trivially copyable).
//
// The buffer comes from malloc/realloc/free. Its capacity grows by the grow
// step when an Add finds it full, and to n + grow step when Size(n) needs
// more room. Values at positions the list was stretched over (Size, Add past
// the end) start as T().
template <class T>
class CVekTemplateList {
  public:
    // `growStep`: slots added when the buffer is full (its owner decides; the
    // sorted lists use 10). A step below 1 makes growth by Add fail.
    explicit CVekTemplateList(int growStep = 10)
        : m_growStep(growStep), m_capacity(0), m_data(nullptr), m_size(0) {}
    CVekTemplateList(const CVekTemplateList&) = delete;
    CVekTemplateList& operator=(const CVekTemplateList&) = delete;
    // Frees the buffer.
    ~CVekTemplateList() { std::free(m_data); }

    // The size becomes n. When n is not below the capacity, the capacity
    // becomes n + grow step and the buffer is reallocated. Returns 0, or 1 for
    // a negative n or when the buffer cannot grow (nothing changes).
    int Size(int n) {
        if (n < 0) return 1;
        if (n >= m_capacity) {
            long long capacity = static_cast<long long>(n) + m_growStep;
            if (capacity < n || capacity > INT_MAX) return 1;
            if (capacity > 0 && Reallocate(static_cast<int>(capacity)) != 0) return 1;
        }
        for (int k = m_size; k < n; ++k) m_data[k] = T();
        m_size = n;
        return 0;
    }

    // Number of values.
    int GetSize() const { return m_size; }

    // Stores `value` at `position`: -1 appends; a position above the size
    // first raises the size to it; any other position shifts the later values
    // up. Returns the size before the value went in (an appended value's
    // index); 1 when the buffer cannot grow or `position` is below -1
    // (nothing changes then).
    int Add(T value, int position) {
        if (position < -1) return 1;
        const int oldSize = m_size;
        if (position > m_size && Size(position) != 0) return 1;
        if (m_size >= m_capacity) {
            long long capacity = static_cast<long long>(m_capacity) + m_growStep;
            if (capacity <= m_size || capacity > INT_MAX ||
                Reallocate(static_cast<int>(capacity)) != 0) {
                m_size = oldSize;
                return 1;
            }
        }
        if (position == -1 || position == m_size) {
            m_data[m_size] = value;
        } else {
            std::memmove(static_cast<void*>(m_data + position + 1), m_data + position,
                         sizeof(T) * static_cast<size_t>(m_size - position));
            m_data[position] = value;
        }
        return m_size++;
    }

    // Appends n values (nothing for a null pointer or n below 1, or when the
    // buffer cannot grow). Returns the new size.
    int AddList(const T* values, int n) {
        if (!values || n < 1) return m_size;
        long long needed = static_cast<long long>(m_size) + n;
        if (needed > INT_MAX) return m_size;
        if (needed > m_capacity) {
            long long capacity = needed + (m_growStep > 0 ? m_growStep : 0);
            if (capacity > INT_MAX) capacity = needed;
            if (Reallocate(static_cast<int>(capacity)) != 0) return m_size;
        }
        std::memcpy(static_cast<void*>(m_data + m_size), values,
                    sizeof(T) * static_cast<size_t>(n));
        m_size = static_cast<int>(needed);
        return m_size;
    }

    // Value i, for i in 0..size-1 (not checked in release builds).
    T& operator[](int i) {
        assert(i >= 0 && i < m_size);
        return m_data[i];
    }
    const T& operator[](int i) const {
        assert(i >= 0 && i < m_size);
        return m_data[i];
    }

    // Exchanges values i and j; i = -1 means the last. Returns i (the last
    // index for -1), or -1 when either index is outside the list (no change).
    int Swap(int i, int j) {
        if (i == -1) i = m_size - 1;
        if (i < 0 || i >= m_size || j < 0 || j >= m_size) return -1;
        T value = m_data[i];
        m_data[i] = m_data[j];
        m_data[j] = value;
        return i;
    }

  protected:
    int Reallocate(int capacity) {
        if (static_cast<unsigned long long>(capacity) > SIZE_MAX / sizeof(T)) return 1;
        void* p =
            std::realloc(static_cast<void*>(m_data), sizeof(T) * static_cast<size_t>(capacity));
        if (!p) return 1;
        m_data = static_cast<T*>(p);
        m_capacity = capacity;
        return 0;
    }

    int m_growStep;
    int m_capacity;
    T* m_data;
    int m_size;
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKTEMPLATELIST_H
