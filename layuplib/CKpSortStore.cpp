#include "layuplib/CKpSortStore.h"

#include <cstdlib>

int cmpSort(const void* a, const void* b) {
    const CKpSort* p = static_cast<const CKpSort*>(a);
    const CKpSort* q = static_cast<const CKpSort*>(b);
    if (p->value < q->value) return -1;
    if (p->value > q->value) return 1;
    if (p->index < q->index) return -1;
    if (p->index > q->index) return 1;
    return 0;
}

CKpSortStore::~CKpSortStore() {
    Clear();
}

int CKpSortStore::Create(int n) {
    Clear();
    if (n < 1) return 1;
    m_entries = static_cast<CKpSort*>(std::malloc(sizeof(CKpSort) * static_cast<size_t>(n)));
    if (!m_entries) return 2;
    for (int i = 0; i < n; ++i) m_entries[i] = CKpSort();
    m_size = n;
    return 0;
}

int CKpSortStore::SetIndexValue(int i, int index, double value) {
    if (!valid(i)) return 1;
    m_entries[i].index = index;
    m_entries[i].value = value;
    return 0;
}

int CKpSortStore::SetIndex(int i, int index) {
    if (!valid(i)) return 1;
    m_entries[i].index = index;
    return 0;
}

int CKpSortStore::SetValue(int i, double value) {
    if (!valid(i)) return 1;
    m_entries[i].value = value;
    return 0;
}

int CKpSortStore::GetIndex(int i) const {
    return valid(i) ? m_entries[i].index : -1;
}

double CKpSortStore::GetValue(int i) const {
    return valid(i) ? m_entries[i].value : -1.0;
}

int CKpSortStore::Sort(int start, int n) {
    if (start < 0) start = 0;
    if (n < 1) n = m_size;
    if (static_cast<long long>(start) + n > m_size) return 1;
    if (n > 0) std::qsort(m_entries + start, static_cast<size_t>(n), sizeof(CKpSort), cmpSort);
    return 0;
}

double CKpSortStore::GetMinValue() const {
    return m_size > 0 ? m_entries[0].value : 0.0;
}

double CKpSortStore::GetMaxValue() const {
    return m_size > 0 ? m_entries[m_size - 1].value : 0.0;
}

void CKpSortStore::Clear() {
    std::free(m_entries);
    m_entries = nullptr;
    m_size = 0;
}
