#ifndef PLYSTRAND_LAYUPLIB_CVEKSORTEDLIST_H
#define PLYSTRAND_LAYUPLIB_CVEKSORTEDLIST_H

#include "layuplib/CVekTemplateList.h"

// CVekSortedList<T>: a value list (grow step 10) that a derived class can
// sort and search. This base neither sorts nor finds.
template <class T>
class CVekSortedList : public CVekTemplateList<T> {
  public:
    CVekSortedList() : CVekTemplateList<T>(10) {}

    // Sorts the values; here nothing happens.
    virtual void Sort() {}
    // Index of `value`, -1 when absent; here always -1.
    virtual int FindBSearch(T /*value*/) { return -1; }
};

#endif  // PLYSTRAND_LAYUPLIB_CVEKSORTEDLIST_H
