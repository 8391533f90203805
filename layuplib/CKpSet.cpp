#include "layuplib/CKpSet.h"

#include <algorithm>
#include <climits>
#include <new>

CKpSet::CKpSet(int id) : CVekObject(id) {}

CKpSet::~CKpSet() = default;  // the id store deletes its entries

const char* CKpSet::GetName() {
    return m_name;
}

int CKpSet::GetNumIds() {
    return m_ids.entries();
}

int CKpSet::GetIds(int n, int* ids) {
    if (n != m_ids.entries()) return 1;
    if (n == 0) return 0;
    if (!ids) return 1;
    m_ids.GetAllIds(n, ids);
    return 0;
}

int CKpSet::SetName(const char* name) {
    m_name = name ? name : "";
    return 0;
}

bool CKpSet::addId(int id) {
    CKpId* entry = new (std::nothrow) CKpId(id);
    if (!entry) return false;
    if (m_ids.insert(entry) != 0) {  // the store could not grow
        delete entry;
        return false;
    }
    return true;
}

int CKpSet::AddIds(int n, const int* ids) {
    if (n < 1) return 0;
    if (!ids) return 1;
    for (int i = 0; i < n; ++i)
        if (!addId(ids[i])) return -1;
    return 0;
}

int CKpSet::SetIds(int n, const int* ids) {
    if (n > 0 && !ids) return 1;
    ClearIds();
    return AddIds(n, ids);
}

int CKpSet::ClearIds() {
    m_ids.eraseAllObjects();
    return 0;
}

namespace {

// Walks the runs of consecutive positive ids of `ids` in ascending order and
// hands each run (first, last) to `emit`.
template <class Emit>
void forEachRun(CKpIdStore& ids, Emit emit) {
    const int n = ids.entries();
    bool open = false;
    int first = 0, last = 0;
    for (int i = 0; i < n; ++i) {
        const CKpId* entry = ids[i];
        if (!entry || entry->id() < 1) continue;
        const int id = entry->id();
        if (open && last < id && id - last == 1) {
            last = id;
            continue;
        }
        if (open) emit(first, last);
        open = true;
        first = last = id;
    }
    if (open) emit(first, last);
}

}  // namespace

int CKpSet::GetNumComprIds() {
    int count = 0;
    forEachRun(m_ids, [&count](int first, int last) { count += (first == last) ? 1 : 2; });
    return count;
}

int CKpSet::GetComprIds(int n, int* list) {
    if (n != GetNumComprIds()) return 1;
    if (n == 0) return 0;
    if (!list) return 1;
    int k = 0;
    forEachRun(m_ids, [&](int first, int last) {
        list[k++] = first;
        if (last != first) list[k++] = -last;
    });
    return 0;
}

namespace {

// The last id of the run entry e (< 1): -e, in wide arithmetic, since -e of
// INT_MIN does not fit an int; ids stay within the int range.
long long runEnd(int e) {
    return std::min<long long>(-static_cast<long long>(e), INT_MAX);
}

}  // namespace

long long CKpSet::ComprRunIds(int previous, int n, const int* list) {
    long long ids = 0;
    for (int i = 0; list && i < n; ++i) {
        const int e = list[i];
        if (e > 0) {
            previous = e;
            continue;
        }
        const long long last = runEnd(e);
        if (last > previous) ids += last - previous;
    }
    return ids;
}

int CKpSet::AddComprIds(int previous, int n, const int* list) {
    if (n < 1 || !list) return previous;
    for (int i = 0; i < n; ++i) {
        const int e = list[i];
        if (e > 0) {
            if (!addId(e)) return previous;
            previous = e;
            continue;
        }
        // previous + 1 of INT_MAX does not fit an int either.
        const long long last = runEnd(e);
        // The store counts its entries in an int: a run it cannot hold is
        // refused whole, as one memory cannot hold.
        if (last - previous > static_cast<long long>(INT_MAX) - m_ids.entries()) return previous;
        for (long long id = static_cast<long long>(previous) + 1; id <= last; ++id)
            if (!addId(static_cast<int>(id))) return previous;
    }
    return previous;
}
