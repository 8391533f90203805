#include "layuplib/CKpXLypPly.h"

#include <new>

#include "layuplib/CKpXLypPlyStore.h"

CKpXLypPly::CKpXLypPly(int lypPlyId)
    : m_lypPlyId(lypPlyId), m_ys(), m_split(0), m_butted(nullptr) {}

CKpXLypPly::~CKpXLypPly() {
    delete m_butted;
}

int CKpXLypPly::HasId(int elementId) const {
    if (m_ys.HasId(elementId)) return 1;
    if (m_butted)
        for (const CKpXLypPly* b = m_butted->First(); b; b = m_butted->Next(b))
            if (b->HasId(elementId)) return 1;
    return 0;
}

int CKpXLypPly::HasIds(const CKpXLypPly& other) const {
    for (const CKpXLypPlyY* y = other.m_ys.First(); y; y = other.m_ys.Next(y))
        if (HasId(y->id())) return 1;
    return 0;
}

int CKpXLypPly::GetLypPlyId(int elementId) const {
    if (m_ys.HasId(elementId)) return m_lypPlyId;
    if (m_butted)
        for (const CKpXLypPly* b = m_butted->First(); b; b = m_butted->Next(b))
            if (b->m_ys.HasId(elementId)) return b->m_lypPlyId;
    return m_lypPlyId;
}

double CKpXLypPly::AveThick() const {
    double t = m_ys.AveThick();
    if (m_butted)
        for (const CKpXLypPly* b = m_butted->First(); b; b = m_butted->Next(b)) {
            const double bt = b->AveThick();
            if (bt > t) t = bt;
        }
    return t;
}

double CKpXLypPly::MaxThick() const {
    double t = m_ys.AveThick();
    if (m_butted)
        for (const CKpXLypPly* b = m_butted->First(); b; b = m_butted->Next(b)) {
            const double bt = b->MaxThick();
            if (bt > t) t = bt;
        }
    return t;
}

int CKpXLypPly::GetNumButtedPlys() const {
    return m_butted ? m_butted->entries() : 0;
}

CKpXLypPlyStore* CKpXLypPly::GetButtedPlys() {
    if (!m_butted) m_butted = new (std::nothrow) CKpXLypPlyStore();
    return m_butted;
}
