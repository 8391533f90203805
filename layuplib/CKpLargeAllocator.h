#ifndef PLYSTRAND_LAYUPLIB_CKPLARGEALLOCATOR_H
#define PLYSTRAND_LAYUPLIB_CKPLARGEALLOCATOR_H

#include <cstddef>
#include <new>

#include "layuplib/CKpBlockPool.h"

// CKpLargeAllocator<T>: a standard allocator for the scratch arrays of a
// mesh build (a few per million elements, tens of megabytes each). Arrays
// from CKpBlockPool::kLargeBytes on are mapped in huge pages
// (CKpBlockPool::allocateLarge), smaller ones come from the heap. Use it as
// std::vector<T, CKpLargeAllocator<T>>; it throws std::bad_alloc as
// std::allocator does. Stateless: any two compare equal.
template <class T>
class CKpLargeAllocator {
  public:
    using value_type = T;

    CKpLargeAllocator() noexcept = default;
    template <class U>
    CKpLargeAllocator(const CKpLargeAllocator<U>&) noexcept {}

    T* allocate(size_t n) {
        if (n == 0) return nullptr;
        if (n > static_cast<size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        void* p = CKpBlockPool::allocateLarge(n * sizeof(T));
        if (!p) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, size_t n) noexcept { CKpBlockPool::releaseLarge(p, n * sizeof(T)); }

    template <class U>
    bool operator==(const CKpLargeAllocator<U>&) const noexcept {
        return true;
    }
    template <class U>
    bool operator!=(const CKpLargeAllocator<U>&) const noexcept {
        return false;
    }
};

#endif  // PLYSTRAND_LAYUPLIB_CKPLARGEALLOCATOR_H
