#ifndef PLYSTRAND_LAYUPLIB_CVEKSORTEDNUMBERLIST_H
#define PLYSTRAND_LAYUPLIB_CVEKSORTEDNUMBERLIST_H

#include <cstdlib>
#include <functional>

#include "layuplib/CVekSortedList.h"

// CVekSortedNumberList<T>: a sorted list of numbers (T int) or pointers (T an
// object pointer such as CKpNode*, compared by address). The searches expect
// the list sorted (Sort) first.
template <class T>
class CVekSortedNumberList : public CVekSortedList<T> {
  public:
    // -1, 0 or 1 as *a is below, equal to or above *b (pointers by address).
    static int Compare(const void* a, const void* b) {
        const T& x = *static_cast<const T*>(a);
        const T& y = *static_cast<const T*>(b);
        if (Less(x, y)) return -1;
        if (Less(y, x)) return 1;
        return 0;
    }

    // Sorts ascending (qsort).
    void Sort() override {
        if (this->m_size > 1)
            std::qsort(this->m_data, static_cast<size_t>(this->m_size), sizeof(T), Compare);
    }

    // Index of `value` in the sorted list (bsearch); -1 when absent.
    int FindBSearch(T value) override {
        if (this->m_size < 1) return -1;
        const void* hit = std::bsearch(&value, this->m_data, static_cast<size_t>(this->m_size),
                                       sizeof(T), Compare);
        return hit ? static_cast<int>(static_cast<const T*>(hit) - this->m_data) : -1;
    }

    // In a sorted list, keeps one value of each run of equal values. Returns 0.
    int RemoveDuplicates() {
        if (this->m_size < 2) return 0;
        int kept = 1;
        for (int k = 1; k < this->m_size; ++k)
            if (Compare(&this->m_data[k], &this->m_data[kept - 1]) != 0)
                this->m_data[kept++] = this->m_data[k];
        this->m_size = kept;
        return 0;
    }

    // Binary search in the sorted list: the index of `value`, or
    // -(insertion position) - 1 when absent (so -1 for an empty list).
    int PLBSearch(T value) const {
        int low = 0;
        int high = this->m_size - 1;
        while (low <= high) {
            int mid = low + (high - low) / 2;
            int c = Compare(&this->m_data[mid], &value);
            if (c == 0) return mid;
            if (c < 0)
                low = mid + 1;
            else
                high = mid - 1;
        }
        return -low - 1;
    }

  private:
    // std::less orders pointers totally, also those of unrelated objects.
    static bool Less(const T& x, const T& y) { return std::less<T>()(x, y); }
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKSORTEDNUMBERLIST_H
