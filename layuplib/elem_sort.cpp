#include "layuplib/elem_sort.h"

#include "layuplib/CKpElem.h"
#include "layuplib/CKpOrient.h"

namespace {

int cmpInt(int a, int b) {
    return (a > b) - (a < b);
}

const CKpElem* elemOf(const void* slot) {
    return *static_cast<CKpElem* const*>(slot);
}

// Nulls last: sets *result and returns true when either slot is null.
bool cmpNull(const CKpElem* a, const CKpElem* b, int* result) {
    if (a && b) return false;
    *result = a ? -1 : (b ? 1 : 0);
    return true;
}

int cmpPid(const CKpElem* a, const CKpElem* b) {
    return cmpInt(a->pid(), b->pid());
}

int cmpOrient(const CKpElem* a, const CKpElem* b) {
    const CKpOrient* oa = a->pOrient();
    const CKpOrient* ob = b->pOrient();
    if (oa && ob) return cmpInt(oa->id(), ob->id());
    return oa ? -1 : (ob ? 1 : 0);
}

int cmpNodes(const CKpElem* a, const CKpElem* b) {
    const int n = a->getnnod();
    int r = cmpInt(n, b->getnnod());
    for (int i = 0; r == 0 && i < n; ++i) r = cmpInt(a->getunid(i), b->getunid(i));
    return r;
}

int cmpId(const CKpElem* a, const CKpElem* b) {
    return cmpInt(a->id(), b->id());
}

}  // namespace

int cmpElemPid(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    return cmpPid(a, b);
}

int cmpElemPidId(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    r = cmpPid(a, b);
    return r != 0 ? r : cmpId(a, b);
}

int cmpElemPidOrient(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    r = cmpPid(a, b);
    return r != 0 ? r : cmpOrient(a, b);
}

int cmpElemPidOrientId(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    r = cmpPid(a, b);
    if (r == 0) r = cmpOrient(a, b);
    return r != 0 ? r : cmpId(a, b);
}

int cmpElemNodes(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    return cmpNodes(a, b);
}

int cmpElemNodesId(const void* pa, const void* pb) {
    const CKpElem* a = elemOf(pa);
    const CKpElem* b = elemOf(pb);
    int r = 0;
    if (cmpNull(a, b, &r)) return r;
    r = cmpNodes(a, b);
    return r != 0 ? r : cmpId(a, b);
}
