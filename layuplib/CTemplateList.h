#ifndef PLYSTRAND_LAYUPLIB_CTEMPLATELIST_H
#define PLYSTRAND_LAYUPLIB_CTEMPLATELIST_H

#include "layuplib/CVekTemplateList.h"

// CTemplateList<T>: the portability library's value list. It is
// CVekTemplateList<T> (see there) with two differences: Add reports failures
// as negative codes, and RemoveAll frees the buffer.
template <class T>
class CTemplateList : public CVekTemplateList<T> {
  public:
    // `growStep`: slots added when the buffer is full. A step below 1 makes
    // growth by Add fail.
    explicit CTemplateList(int growStep = 10) : CVekTemplateList<T>(growStep) {}

    // As CVekTemplateList<T>::Add, returning the size before the value went
    // in; -2 when the grown capacity would be 0 or less (grow step below 1 on
    // an empty buffer); -1 when the buffer cannot grow otherwise or
    // `position` is below -1 (nothing changes then).
    int Add(T value, int position) {
        if (position < -1) return -1;
        const bool full = this->m_size >= this->m_capacity && position <= this->m_size;
        if (full && static_cast<long long>(this->m_capacity) + this->m_growStep <= 0) return -2;
        const int before = this->m_size;
        const int result = CVekTemplateList<T>::Add(value, position);
        return this->m_size == before ? -1 : result;
    }

    // Frees the buffer; size and capacity 0.
    void RemoveAll() {
        std::free(this->m_data);
        this->m_data = nullptr;
        this->m_capacity = 0;
        this->m_size = 0;
    }
};

#endif  // PLYSTRAND_LAYUPLIB_CTEMPLATELIST_H
