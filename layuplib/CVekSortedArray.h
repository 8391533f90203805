#ifndef PLYSTRAND_LAYUPLIB_CVEKSORTEDARRAY_H
#define PLYSTRAND_LAYUPLIB_CVEKSORTEDARRAY_H

#include <cstdlib>
#include <cstring>

#include "layuplib/CVekTemplateArray.h"

// CVekSortedArray<T>: a pointer array (see CVekTemplateArray) whose elements
// are kept ordered by a name text.
//
// T provides `const char* GetSortName() const`: the zero-terminated text the
// element sorts by (null counts as ""). Names compare byte-wise as unsigned
// chars, a name that is a prefix of another first. Elements are to be added
// only through InsertUsingCompare; null elements sort as "".
template <class T>
class CVekSortedArray : public CVekTemplateArray<T> {
  public:
    explicit CVekSortedArray(int growStep = 10, int owns = 1)
        : CVekTemplateArray<T>(growStep, owns) {}

    // Compares two elements given as pointers to T* slots (qsort/bsearch
    // style): <0, 0, >0.
    static int Compare(const void* a, const void* b) {
        return std::strcmp(Name(*static_cast<T* const*>(a)), Name(*static_cast<T* const*>(b)));
    }

    // Inserts p where it keeps the order: appended when the array is empty or
    // p sorts after the last element, otherwise before the first element with
    // an equal name or at the position that keeps the order. Returns p's
    // index, or -1 for a null p or when the buffer cannot grow (the caller
    // keeps p).
    int InsertUsingCompare(T* p) {
        if (!p) return -1;
        const int count = this->m_count;
        if (count == 0 || Compare(&p, &this->m_data[count - 1]) > 0) return this->Add(p);
        return this->InsertBefore(LowerBound(p), p);
    }

    // The index of an element with p's name, or minus the insertion position
    // when there is none. 0 is either the first element or "insert at 0";
    // the caller tells them apart by comparing that element. A null p: 0.
    int BinarySearchForIndex(T* p) const {
        if (!p) return 0;
        int position = LowerBound(p);
        if (position < this->m_count && Compare(&p, &this->m_data[position]) == 0) return position;
        return -position;
    }

    // The element with p's name (bsearch); null when absent or p is null.
    T* FindBSearch(T* p) const {
        if (!p || this->m_count < 1) return nullptr;
        void* hit =
            std::bsearch(&p, this->m_data, static_cast<size_t>(this->m_count), sizeof(T*), Compare);
        return hit ? *static_cast<T**>(hit) : nullptr;
    }

  private:
    static const char* Name(const T* element) {
        const char* name = element ? element->GetSortName() : nullptr;
        return name ? name : "";
    }

    // First position whose element does not sort before p.
    int LowerBound(T* p) const {
        int low = 0;
        int high = this->m_count;
        while (low < high) {
            int mid = low + (high - low) / 2;
            if (Compare(&this->m_data[mid], &p) < 0)
                low = mid + 1;
            else
                high = mid;
        }
        return low;
    }
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKSORTEDARRAY_H
