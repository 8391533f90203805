#ifndef PLYSTRAND_LAYUPLIB_MERGE_SORT_H
#define PLYSTRAND_LAYUPLIB_MERGE_SORT_H

#include <utility>
#include <vector>

// Stable bottom-up merge sort of `items` by `before(a, b)` (true when a must
// come before b). Unlike std::sort it stays safe for comparisons that are
// not strict weak orders (tolerant comparisons): a merge only ever takes the
// next item of one of its two runs, so whatever `before` answers the result
// is a permutation of the input, and items that compare alike keep their
// input order. May throw std::bad_alloc (the input is then unchanged).
template <typename T, typename Before>
void merge_sort(std::vector<T>& items, Before before) {
    const size_t n = items.size();
    if (n < 2) return;
    std::vector<T> buffer(n);
    std::vector<T>* src = &items;
    std::vector<T>* dst = &buffer;
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo < n; lo += 2 * width) {
            const size_t mid = (n - lo > width) ? lo + width : n;
            const size_t hi = (n - mid > width) ? mid + width : n;
            size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi)
                (*dst)[k++] =
                    before((*src)[j], (*src)[i]) ? std::move((*src)[j++]) : std::move((*src)[i++]);
            while (i < mid) (*dst)[k++] = std::move((*src)[i++]);
            while (j < hi) (*dst)[k++] = std::move((*src)[j++]);
        }
        std::swap(src, dst);
        if (width > n / 2) break;  // the next width would pass n
    }
    if (src != &items) items.swap(buffer);
}

#endif  // PLYSTRAND_LAYUPLIB_MERGE_SORT_H
