#ifndef PLYSTRAND_FILEFORMATS_CESACOMPRESTABLE_H
#define PLYSTRAND_FILEFORMATS_CESACOMPRESTABLE_H

#include <utility>
#include <vector>

#include "fileformats/CESACompResTRow.h"
#include "layuplib/CKpStr.h"

// CESACompResTable: a named table of an ESAComp results document; owns its
// rows, in document order.
class CESACompResTable {
  public:
    explicit CESACompResTable(const char* name) : m_name(name) {}
    const char* GetName() const { return m_name; }
    int GetNumRows() const { return static_cast<int>(m_rows.size()); }
    // Row i, or null outside 0..GetNumRows()-1; valid until the next
    // AddRow.
    const CESACompResTRow* GetRow(int i) const {
        return i >= 0 && i < GetNumRows() ? &m_rows[static_cast<size_t>(i)] : nullptr;
    }
    // Takes ownership; null is ignored. The row's content is kept in the
    // table (and `row` deleted): a table of many rows is one array.
    void AddRow(CESACompResTRow* row) {
        if (!row) return;
        m_rows.push_back(std::move(*row));
        delete row;
    }

  private:
    CKpStr m_name;
    std::vector<CESACompResTRow> m_rows;
};

#endif
