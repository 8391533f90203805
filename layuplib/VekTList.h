#ifndef PLYSTRAND_LAYUPLIB_VEKTLIST_H
#define PLYSTRAND_LAYUPLIB_VEKTLIST_H

#include <cassert>
#include <climits>
#include <cstdint>
#include <cstdlib>

// VekTList<T>: a minimal sized array of values (T int or double) in a buffer
// from malloc/realloc/free. New elements start as T() (zero).
template <class T>
class VekTList {
  public:
    // Allocates n elements (size n); size 0 when n is below 1 or the
    // allocation fails.
    explicit VekTList(int n = 0) : m_size(0), m_data(nullptr) {
        if (n > 0) SetSize(n);
    }
    VekTList(const VekTList&) = delete;
    VekTList& operator=(const VekTList&) = delete;
    // Frees the buffer.
    virtual ~VekTList() { std::free(m_data); }

    // 0 frees everything; n not above the size only sets the size (the
    // buffer is kept); otherwise reallocates to n elements, the new ones 0.
    // Returns 0, or 1 for a negative n or when reallocation fails (no change).
    int SetSize(int n) {
        if (n < 0) return 1;
        if (n == 0) {
            Clear();
            return 0;
        }
        if (n <= m_size) {
            m_size = n;
            return 0;
        }
        if (static_cast<unsigned long long>(n) > SIZE_MAX / sizeof(T)) return 1;
        void* p = std::realloc(m_data, sizeof(T) * static_cast<size_t>(n));
        if (!p) return 1;
        m_data = static_cast<T*>(p);
        for (int k = m_size; k < n; ++k) m_data[k] = T();
        m_size = n;
        return 0;
    }

    int GetSize() const { return m_size; }
    // The buffer (null when empty); GetSize() values.
    T* GetData() { return m_data; }
    const T* GetData() const { return m_data; }

    // Element i, for i in 0..size-1 (not checked in release builds).
    T GetAt(int i) const {
        assert(i >= 0 && i < m_size);
        return m_data[i];
    }
    void SetAt(int i, T value) {
        assert(i >= 0 && i < m_size);
        m_data[i] = value;
    }
    T& operator[](int i) {
        assert(i >= 0 && i < m_size);
        return m_data[i];
    }
    const T& operator[](int i) const {
        assert(i >= 0 && i < m_size);
        return m_data[i];
    }

    // Frees the buffer; size 0.
    void Clear() {
        std::free(m_data);
        m_data = nullptr;
        m_size = 0;
    }

  private:
    int m_size;
    T* m_data;
};

#endif  // PLYSTRAND_LAYUPLIB_VEKTLIST_H
