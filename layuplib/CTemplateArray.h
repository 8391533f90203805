#ifndef PLYSTRAND_LAYUPLIB_CTEMPLATEARRAY_H
#define PLYSTRAND_LAYUPLIB_CTEMPLATEARRAY_H

#include "layuplib/CVekTemplateArray.h"

// CTemplateArray<T>: the portability library's name for the growable pointer
// array. It behaves exactly as CVekTemplateArray<T> (see there): owns its
// elements unless constructed with owns = 0, grows by the grow step.
template <class T>
class CTemplateArray : public CVekTemplateArray<T> {
  public:
    explicit CTemplateArray(int growStep = 10, int owns = 1)
        : CVekTemplateArray<T>(growStep, owns) {}
};

#endif  // PLYSTRAND_LAYUPLIB_CTEMPLATEARRAY_H
