#include "F06Parser/CF06ParserType.h"

#include <climits>
#include <new>

#include "F06Parser/CF06PageLoop.h"
#include "F06Parser/CF06Parser.h"
#include "layuplib/CKpRes.h"
#include "layuplib/CKpResElem.h"
#include "layuplib/CKpResStore.h"

CF06ParserType::CF06ParserType(CF06Parser* owner, CKpResStore* store, bool removable)
    : m_owner(owner), m_store(store), m_removable(removable), m_current(nullptr) {}

CF06ParserType::~CF06ParserType() {
    delete m_current;
}

std::int64_t CF06ParserType::StartParsing(std::int64_t pos, CF06PageHeader) {
    return pos;
}

int CF06ParserType::AddElem(CKpRes* res, CKpResElem* elem) {
    return m_root.InsertElem(res, elem);
}

void CF06ParserType::RemoveBranch(CKpRes* res) {
    if (!res) return;
    m_root.RemoveBranch(res);
    if (m_store) m_store->erase(res);
    delete res;
}

void CF06ParserType::AddDesCycle(std::string& text) const {
    const char* cycle = m_owner ? m_owner->GetDesignCycle() : "";
    if (cycle[0]) {
        text += ":D ";
        text += cycle;
    }
}

CF06FileBuffer& CF06ParserType::Buffer() {
    return m_owner->GetBuffer();
}

bool CF06ParserType::IsPageStart(std::int64_t pos) {
    return pos > 0 && Buffer()[pos] == '1' && Buffer()[pos - 1] == '\n';
}

std::int64_t CF06ParserType::SkipLines(std::int64_t pos, int n) {
    for (int k = 0; k < n && Buffer()[pos] != 0; ++k) pos = LineAfter(Buffer(), pos);
    return pos;
}

void CF06ParserType::PageNames(CF06PageHeader& header) {
    m_subtitle = header.GetSubTitle();
    m_label = header.GetLabel();
    AddDesCycle(m_label);
}

int CF06ParserType::File(const char* const names[5], int orient, int type, int loc, int eid, int n,
                         const float* values) {
    if (!m_current) m_current = new (std::nothrow) CKpRes(0);
    if (!m_current) return -1;
    m_current->SetNames(names);
    m_current->orient(orient);
    m_current->type(type);
    m_current->loc(loc);
    CKpResElem* elem = new (std::nothrow) CKpResElem(eid, n, values);
    if (!elem) return -1;
    const int added = AddElem(m_current, elem);
    if (added == 1) {
        // New names: the result goes into the store with the next id; with
        // none left above the highest it is dropped like one not stored.
        const int before = m_store->entries();
        if (m_store->maxId() < INT_MAX) {
            m_current->setId(m_store->maxId() + 1);
            m_store->insert(m_current);
        }
        if (m_store->entries() == before) {
            m_root.RemoveBranch(m_current);
            delete m_current;
        }
        m_current = nullptr;
    }
    return added < 0 ? -1 : 0;
}
